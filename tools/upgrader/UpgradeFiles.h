#pragma once
// The upgrade program's steps: waiting for the program to end, putting the
// downloaded files (NAME.uTMP beside the program) in place as one change,
// running a downloaded setup, starting the program again. Each step throws
// EUpgradeError with a message that names the file and the reason.
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

namespace cb::upgrader {

class EUpgradeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Waits until no process runs the executable; false when one still does
// after the timeout.
bool WaitForProgramEnd(const std::string& executable, std::chrono::milliseconds timeout);

// The downloaded files in the folder, NAME.uTMP, by name.
std::vector<std::string> DownloadedFiles(const std::string& folder);

// Renames every NAME.uTMP of the folder over NAME, each rename atomic. The
// old files are kept (hard-linked as NAME.uOLD) until all are in place; on a
// failure every file already moved is put back, the old files are whole and
// the downloads stay as NAME.uTMP. A new file takes the old one's mode;
// the executable's name gets an executable mode when it had no old file.
void PutFilesInPlace(const std::string& folder, const std::string& executableName);

// Runs the setup (the one downloaded file) and waits for it; returns its
// exit status.
int RunSetup(const std::string& folder);

// Starts the program on its own (a new session, the folder as working
// directory) with the arguments; does not wait.
void StartProgram(const std::string& executable, const std::vector<std::string>& args);

}  // namespace cb::upgrader
