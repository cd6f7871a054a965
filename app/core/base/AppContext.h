#pragma once
// The services model objects report through, handed to them by whoever
// makes them: the error log, the settings and the user interface. None is
// owned; any may be empty, and then nothing is logged, the defaults apply
// and nobody is asked.
#include <string>

namespace cb::app {

class TLogFile;
class TCubeBrowserConfig;
class TBaseUserInterface;

struct TAppContext {
    TLogFile* Log = nullptr;
    TCubeBrowserConfig* Config = nullptr;
    TBaseUserInterface* UserInterface = nullptr;

    // Each does nothing without its service; ConfirmYesNo then answers no.
    void WriteLog(const std::string& line) const;
    void ShowError(const std::string& text) const;
    void ShowInformation(const std::string& text) const;
    bool ConfirmYesNo(const std::string& text) const;
    void SetBusy(bool busy) const;
};

}  // namespace cb::app
