#pragma once
// Help for the program's windows: help paths ("file.chm::/topic>window"),
// topics and context numbers shown through one of three hosts (our own help
// window, or the viewer programs "KeyHH.EXE" and "HH.EXE" where present),
// fixed failure texts, a diagnostic log, and THookHelpSystem, which takes
// over the application's help event.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cb::extras {

class THelpWindow;

// 0: our help window; 1: "KeyHH.EXE"; 2: "HH.EXE" (both looked for in the
// viewer folder).
enum THelpHostKind : std::uint8_t {
    hhkApi = 0,
    hhkKeyHH = 1,
    hhkHH = 2
};

// Codes of the display functions.
enum : int {
    HH_CODE_OK = 0,
    HH_CODE_NOT_INSTALLED = 1,
    HH_CODE_NO_KEYHH = 2,
    HH_CODE_NO_HH = 3
};

// Help commands of the application's help event.
enum : unsigned {
    HELP_CONTEXT = 1,
    HELP_QUIT = 2,
    HELP_INDEX = 3,
    HELP_CONTENTS = 3,
    HELP_HELPONHELP = 4,
    HELP_SETINDEX = 5,
    HELP_SETCONTENTS = 5,
    HELP_CONTEXTPOPUP = 8,
    HELP_FORCEFILE = 9,
    HELP_CONTEXTMENU = 10,
    HELP_FINDER = 11,
    HELP_WM_HELP = 12,
    HELP_SETPOPUP_POS = 13,
    HELP_KEY = 257,
    HELP_COMMAND = 258,
    HELP_PARTIALKEY = 261,
    HELP_MULTIKEY = 513,
    HELP_SETWINPOS = 515
};

// Commands of the display entry.
enum : unsigned {
    HH_DISPLAY_TOPIC = 0,
    HH_HELP_CONTEXT = 15,
    HH_CLOSE_ALL = 18
};

// Process-wide state, filled by HHSetupState.
struct THHState {
    std::string ModuleDir;   // the program's folder, no trailing "/"
    std::string ModuleName;  // the program's file name
    std::string RunDir;      // folder of the command line's program path
    std::string LogDir;      // where "HHDebug.txt" goes, no trailing "/"
    std::string ViewerDir;   // where the viewer programs are looked for
    std::string ExePath;
    std::vector<std::string> Params;
    bool Debug = false;
    std::string hhVerStr;  // version of the help window ("" when unavailable)
    bool hhInstalled = false;
};

THHState& HHState();
// Computes the state: program folder and name, log folder, debug switch
// ("debug.debug" beside the program, or an argument "/debug" or "-debug" in
// any case), the help window's availability; then deletes an old log and
// writes the log header when debugging. Args are the command line
// (program path first).
void HHSetupState(const std::vector<std::string>& Args);
// The same for a program file other than the running one.
void HHSetupState(const std::vector<std::string>& Args, const std::string& ModuleFile);
// Empties the state's texts.
void HHCleanupState();

// True when a scratch file can be created in Dir.
bool HHDirWritable(std::string Dir);
// Log file: LogDir + "/HHDebug.txt".
std::string HHLogFileName();
// Appends one line to the log while the debug switch is on. "-" and "="
// become rules; a line starting with "!", "-" or "=" loses that character
// and gets no time stamp; every other line gets the time and three blanks.
void HHLogLine(const std::string& Line);
void HHLogHeader();

// "[Error:N] text" for a system error number.
std::string HHLastErrorText(int Error);

// Help path of a file, a topic and a window definition; PrefixKind 1 puts
// "mk:@MSITStore:" in front, 2 "ms-its:".
std::string HHComposeHelpPath(std::string HelpFile, std::string Topic, std::string Window, int PrefixKind);

int ShowTopic(const std::string& Path, int HostKind);
int ShowContext(const std::string& Path, int Context, int HostKind);
int HHHelpTopic(const std::string& HelpFile, const std::string& Topic, const std::string& Window, int HostKind);
int HHHelpContext(const std::string& HelpFile, int Context, const std::string& Window, int HostKind);
// A warning box with the text of a non-zero code.
void HHShowError(int Code);
std::string HHErrorText(int Code);
// Closes every help window.
void HHCloseAll();
// Starts a viewer program; a failure is told in a warning box (false).
bool HHShellOpen(const std::string& Program, const std::vector<std::string>& Params);

// The help window of the process (nullptr while none is open).
THelpWindow* HHHelpWindow();
// The warning box; tests put their own in its place.
std::function<void(const std::string&)>& HHWarningBox();

// The application's help event: command, data and an in-out flag that says
// whether the default help handling should still run.
using THelpEvent = std::function<bool(unsigned Command, std::intptr_t Data, bool& CallHelp)>;
THelpEvent& ApplicationHelpEvent();
// Hands a help request to the application's help event.
bool ApplicationHelpCommand(unsigned Command, std::intptr_t Data);
// "1 (HELP_CONTEXT)" and the like.
std::string HelpCommandText(unsigned Command);

class THookHelpSystem {
public:
    THookHelpSystem(const std::string& HelpFile, const std::string& WindowDefinition, THelpHostKind HostKind);
    ~THookHelpSystem();
    THookHelpSystem(const THookHelpSystem&) = delete;
    THookHelpSystem& operator=(const THookHelpSystem&) = delete;

    bool HelpHook(unsigned Command, std::intptr_t Data, bool& CallHelp);

    std::function<void(int Context)> ContextProc;
    std::function<void(int Context, int X, int Y)> PopupContextProc;

    int PopupX() const { return FPopupX; }
    int PopupY() const { return FPopupY; }

private:
    void ShowContextNumber(int Context);

    THelpEvent FSavedHelpEvent;
    std::string FHelpFile;
    std::string FWindowDefinition;
    THelpHostKind FHostKind;
    int FPopupX = 0;
    int FPopupY = 0;
};

}  // namespace cb::extras
