#include "extras/HelpHook.h"
#include "platform/rtl/Strings.h"

#include "extras/HelpWindow.h"
#include "platform/desktop/Shell.h"
#include "platform/os/Files.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

namespace cb::extras {

namespace {

QPointer<THelpWindow>& WindowSlot() {
    static QPointer<THelpWindow> window;
    return window;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
        s.replace(at, from.size(), to);
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string DirOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return path.substr(0, slash);
}

std::string StripTrailingSlashes(std::string s) {
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}

std::string NowText(const char* format) {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    return std::strftime(buf, sizeof buf, format, &tm) ? buf : "";
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// The help file and topic of a help path: prefix dropped, "::" divides the
// file from the topic, ">" starts the window definition.
void SplitHelpPath(std::string path, std::string& file, std::string& topic) {
    for (const char* prefix : {"mk:@MSITStore:", "ms-its:"})
        if (path.rfind(prefix, 0) == 0) path.erase(0, std::char_traits<char>::length(prefix));
    if (auto gt = path.find('>'); gt != std::string::npos) path.erase(gt);
    const auto sep = path.find("::");
    file = sep == std::string::npos ? path : path.substr(0, sep);
    topic = sep == std::string::npos ? std::string() : path.substr(sep + 2);
}

// The display entry: our help window, available once a widget application
// runs.
bool DisplayEntryBound() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// A new help window goes on the screen that holds the program's window,
// centred on that window and wholly inside the screen's free area.
void PlaceBesideProgram(QWidget* window) {
    QWidget* host = QApplication::activeWindow();
    if (!host || host == window)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != window && w->isVisible() && w->inherits("QMainWindow")) host = w;
    QScreen* screen = host && host->screen() ? host->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window->resize(window->size().boundedTo(area.size() * 9 / 10));
    QRect frame(QPoint(), window->size());
    frame.moveCenter(host ? host->frameGeometry().center() : area.center());
    frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())));
    frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height())));
    window->move(frame.topLeft());
}

void DisplayEntry(unsigned command, const std::string& path, std::intptr_t /*data*/) {
    if (command == HH_CLOSE_ALL) {
        delete WindowSlot().data();
        return;
    }
    std::string file, topic;
    SplitHelpPath(path, file, topic);
    if (!WindowSlot()) {
        auto* w = new THelpWindow;
        w->setAttribute(Qt::WA_DeleteOnClose);
        PlaceBesideProgram(w);
        WindowSlot() = w;
    }
    // A context number shows the file's default topic: the help files of
    // this program carry no context map.
    WindowSlot()->ShowTopic(file, command == HH_HELP_CONTEXT ? std::string() : topic);
}

int ViewerMissingCode(int host) {
    return host == hhkKeyHH ? HH_CODE_NO_KEYHH : HH_CODE_NO_HH;
}
const char* ViewerName(int host) {
    return host == hhkKeyHH ? "KeyHH.EXE" : "HH.EXE";
}

int Display(const std::string& path, int host, bool context, int number) {
    if (!HHState().hhInstalled) return HH_CODE_NOT_INSTALLED;
    switch (host) {
    case hhkApi:
        if (!DisplayEntryBound()) return HH_CODE_NOT_INSTALLED;
        DisplayEntry(context ? HH_HELP_CONTEXT : HH_DISPLAY_TOPIC, path, number);
        return HH_CODE_OK;
    case hhkKeyHH:
    case hhkHH: {
        const std::string program = StripTrailingSlashes(HHState().ViewerDir) + "/" + ViewerName(host);
        if (!cb::os::FileExists(program)) return ViewerMissingCode(host);
        std::vector<std::string> params;
        if (host == hhkKeyHH) params = {"-win"};
        if (context) {
            if (host == hhkKeyHH)
                params.push_back("-#mapid");
            else
                params.push_back("-mapid");
            params.push_back(std::to_string(number));
        }
        params.push_back(path);
        HHShellOpen(program, params);
        return HH_CODE_OK;
    }
    default:
        return HH_CODE_OK;
    }
}

}  // namespace

THHState& HHState() {
    static THHState state;
    return state;
}

bool HHDirWritable(std::string Dir) {
    Dir = StripTrailingSlashes(Dir);
    const std::string probe = Dir + "/$_Temp_$.$$$";
    std::FILE* f = std::fopen(probe.c_str(), "w");
    if (!f) return false;
    std::fclose(f);
    std::remove(probe.c_str());
    return true;
}

void HHSetupState(const std::vector<std::string>& Args) {
    HHSetupState(Args, cb::os::GetApplicationFileName());
}

void HHSetupState(const std::vector<std::string>& Args, const std::string& module) {
    auto& s = HHState();
    s.ModuleDir = DirOf(module);
    s.ModuleName = module.substr(module.find_last_of('/') + 1);
    s.ExePath = Args.empty() ? module : Args.front();
    s.Params.assign(Args.empty() ? Args.end() : Args.begin() + 1, Args.end());
    s.RunDir = DirOf(s.ExePath);
    if (HHDirWritable(s.ModuleDir)) {
        s.LogDir = s.ModuleDir;
    } else {
        const std::string temp = StripTrailingSlashes(cb::os::GetTempDirectory());
        s.LogDir = cb::os::DirectoryExists(temp) ? temp : "/tmp";
    }
    s.ViewerDir = s.ModuleDir;
    s.Debug = cb::os::FileExists(s.ModuleDir + "/debug.debug") ||
              std::any_of(s.Params.begin(), s.Params.end(), [](const std::string& a) {
                  const std::string l = cb::rtl::LowerCase(a);
                  return l == "/debug" || l == "-debug";
              });
    s.hhVerStr = std::string(qVersion()) + ".0";
    s.hhInstalled = !s.hhVerStr.empty();
    HHLogHeader();
}

void HHCleanupState() {
    auto& s = HHState();
    s = THHState{};
}

std::string HHLogFileName() {
    return HHState().LogDir + "/HHDebug.txt";
}

void HHLogLine(const std::string& Line) {
    if (!HHState().Debug) return;
    std::ofstream out(HHLogFileName(), std::ios::app | std::ios::binary);
    if (!out) return;
    std::string line = Line;
    if (line == "-") line.assign(80, '-');
    if (line == "=") line.assign(80, '=');
    if (!line.empty() && (line[0] == '!' || line[0] == '-' || line[0] == '='))
        line.erase(0, 1);
    else
        line = NowText("%X") + "   " + line;
    out << line << '\n';
    out.flush();
}

void HHLogHeader() {
    std::remove(HHLogFileName().c_str());
    const auto& s = HHState();
    if (!s.Debug) return;
    utsname u{};
    ::uname(&u);
    int major = 0, minor = 0, build = 0;
    std::sscanf(u.release, "%d.%d.%d", &major, &minor, &build);
    std::string params;
    for (const auto& p : s.Params) params += (params.empty() ? "" : " | ") + p;
    const char* lang = std::getenv("LANG");
    HHLogLine("!Filename:             \t" + HHLogFileName());
    HHLogLine("!Date:                 \t" + NowText("%Y-%m-%d %X"));
    HHLogLine("!Operating System:      \t" + std::string(u.sysname) + " " + std::to_string(major) + "." +
              std::to_string(minor) + "." + std::to_string(build));
    HHLogLine("!Locale:               \t" + std::string(lang ? lang : "C"));
    HHLogLine("-");
    HHLogLine("!EXE Path =          \t" + s.ExePath);
    HHLogLine("!Cmdline Param(s) =  \t" + params);
    HHLogLine("!_RunDir =           \t" + s.RunDir);
    HHLogLine("!_ModuleName =       \t" + s.ModuleName);
    HHLogLine("!_ModuleDir =        \t" + s.ModuleDir);
    HHLogLine("-");
    HHLogLine(std::string("!_hhInstalled =      \t") + (s.hhInstalled ? "YES" : "NO"));
    HHLogLine("!_hhVerStr =         \t" + s.hhVerStr);
    HHLogLine("=");
}

std::string HHLastErrorText(int Error) {
    std::string text;
    switch (Error) {
    case 2:
        text = "File Not Found";
        break;
    case 3:
        text = "Path Not Found";
        break;
    case 5:
        text = "Access Denied";
        break;
    case 8:
        text = "Insufficient Memory";
        break;
    case 19:
        text = "Media Is Write Protected";
        break;
    case 21:
        text = "Device Not Ready";
        break;
    case 32:
    case 33:
        text = "File In Use";
        break;
    case 39:
    case 112:
        text = "Disk Full";
        break;
    case 276:
    case 1005:
    case 1392:
    case 1393:
        text = "Corrupt File Or Disk";
        break;
    case 1009:
    case 1358:
        text = "Corrupt Registry";
        break;
    case 1150:
        text = "Windows Version Incorrect";
        break;
    case 1151:
        text = "Not A Windows Or MSDos Program";
        break;
    default:
        text = "General Failure";
        break;
    }
    return "[Error:" + std::to_string(Error) + "] " + text;
}

std::string HHComposeHelpPath(std::string HelpFile, std::string Topic, std::string Window, int PrefixKind) {
    for (std::string* part : {&HelpFile, &Topic, &Window}) {
        ReplaceAll(*part, "%20", " ");
        *part = Trim(*part);
    }
    std::string path;
    if (!Topic.empty()) {
        std::replace(Topic.begin(), Topic.end(), '\\', '/');
        if (Topic[0] != '/') Topic.insert(Topic.begin(), '/');
        path = HelpFile.empty() ? Topic : HelpFile + "::" + Topic;
    } else {
        path = HelpFile;
    }
    if (!Window.empty()) path += ">" + Window;
    if (PrefixKind == 1) path = "mk:@MSITStore:" + path;
    if (PrefixKind == 2) path = "ms-its:" + path;
    return path;
}

int ShowTopic(const std::string& Path, int HostKind) {
    HHLogLine("ShowTopic(" + Quoted(Path) + ", " + std::to_string(HostKind) + ")");
    const int code = Display(Path, HostKind, false, 0);
    HHLogLine("  returned - " + std::to_string(code));
    return code;
}

int ShowContext(const std::string& Path, int Context, int HostKind) {
    HHLogLine("ShowContext(" + Quoted(Path) + ", " + std::to_string(HostKind) + ")");
    const int code = Display(Path, HostKind, true, Context);
    HHLogLine("  returned - " + std::to_string(code));
    return code;
}

int HHHelpTopic(const std::string& HelpFile, const std::string& Topic, const std::string& Window, int HostKind) {
    HHLogLine("HHHelpContext(" + Quoted(HelpFile) + ", " + Topic + ", " + Quoted(Window) + ", " +
              std::to_string(HostKind) + ")");
    return ShowTopic(HHComposeHelpPath(HelpFile, Topic, Window, HostKind == hhkHH ? 1 : 0), HostKind);
}

int HHHelpContext(const std::string& HelpFile, int Context, const std::string& Window, int HostKind) {
    HHLogLine("HHHelpContext(" + Quoted(HelpFile) + ", " + std::to_string(Context) + ", " + Quoted(Window) + ", " +
              std::to_string(HostKind) + ")");
    return ShowContext(HHComposeHelpPath(HelpFile, "", Window, HostKind == hhkHH ? 1 : 0), Context, HostKind);
}

std::string HHErrorText(int Code) {
    switch (Code) {
    case HH_CODE_NOT_INSTALLED:
        return "MS Html Help is not installed on this PC.";
    case HH_CODE_NO_KEYHH:
        return "System file KeyHH.EXE was not found in the Windows folder.";
    case HH_CODE_NO_HH:
        return "System file HH.EXE was not found in the Windows folder.";
    default:
        return "Unknown error returned by HHHelpContext";
    }
}

void HHShowError(int Code) {
    if (Code == HH_CODE_OK) return;
    const std::string text = HHErrorText(Code);
    HHWarningBox()(text);
    HHLogLine("HHShowError(" + std::to_string(Code) + "), " + Quoted(text));
}

void HHCloseAll() {
    if (!DisplayEntryBound()) return;
    DisplayEntry(HH_CLOSE_ALL, {}, 0);
    std::this_thread::yield();
}

bool HHShellOpen(const std::string& Program, const std::vector<std::string>& Params) {
    errno = 0;
    if (cb::os::StartProcess(Program, Params)) return true;
    int error = errno;
    switch (error) {  // system error numbers as the failure texts know them
    case ENOENT:
        error = 2;
        break;
    case ENOTDIR:
        error = 3;
        break;
    case EACCES:
    case EPERM:
        error = 5;
        break;
    case ENOMEM:
        error = 8;
        break;
    case EROFS:
        error = 19;
        break;
    case ETXTBSY:
        error = 32;
        break;
    case ENOSPC:
        error = 39;
        break;
    case ENOEXEC:
        error = 1151;
        break;
    default:
        break;
    }
    std::string params;
    for (const auto& p : Params) params += (params.empty() ? "" : " ") + p;
    HHWarningBox()("Function ShellExecute(" + Program + ", " + params + ")\nReturned: " + HHLastErrorText(error));
    return false;
}

THelpWindow* HHHelpWindow() {
    return WindowSlot().data();
}

std::function<void(const std::string&)>& HHWarningBox() {
    static std::function<void(const std::string&)> box = [](const std::string& text) {
        QMessageBox::warning(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
    };
    return box;
}

THelpEvent& ApplicationHelpEvent() {
    static THelpEvent event;
    return event;
}

bool ApplicationHelpCommand(unsigned Command, std::intptr_t Data) {
    bool callHelp = true;
    auto& event = ApplicationHelpEvent();
    return event ? event(Command, Data, callHelp) : false;
}

std::string HelpCommandText(unsigned Command) {
    const char* name = "??";
    switch (Command) {
    case HELP_CONTEXT:
        name = "HELP_CONTEXT";
        break;
    case HELP_QUIT:
        name = "HELP_QUIT";
        break;
    case HELP_INDEX:
        name = "HELP_INDEX or HELP_CONTENTS";
        break;
    case HELP_HELPONHELP:
        name = "HELP_HELPONHELP";
        break;
    case HELP_SETINDEX:
        name = "HELP_SETINDEX or HELP_SETCONTENTS";
        break;
    case HELP_CONTEXTPOPUP:
        name = "HELP_CONTEXTPOPUP";
        break;
    case HELP_FORCEFILE:
        name = "HELP_FORCEFILE";
        break;
    case HELP_CONTEXTMENU:
        name = "HELP_CONTEXTMENU";
        break;
    case HELP_FINDER:
        name = "HELP_FINDER";
        break;
    case HELP_WM_HELP:
        name = "HELP_WM_HELP";
        break;
    case HELP_SETPOPUP_POS:
        name = "HELP_SETPOPUP_POS";
        break;
    case HELP_KEY:
        name = "HELP_KEY";
        break;
    case HELP_COMMAND:
        name = "HELP_COMMAND";
        break;
    case HELP_PARTIALKEY:
        name = "HELP_PARTIALKEY";
        break;
    case HELP_MULTIKEY:
        name = "HELP_MULTIKEY";
        break;
    case HELP_SETWINPOS:
        name = "HELP_SETWINPOS";
        break;
    default:
        break;
    }
    return std::to_string(Command) + " (" + name + ")";
}

THookHelpSystem::THookHelpSystem(const std::string& HelpFile, const std::string& WindowDefinition,
                                 THelpHostKind HostKind)
    : FSavedHelpEvent(ApplicationHelpEvent()), FHelpFile(HelpFile), FWindowDefinition(WindowDefinition),
      FHostKind(HostKind) {
    ApplicationHelpEvent() = [this](unsigned c, std::intptr_t d, bool& callHelp) { return HelpHook(c, d, callHelp); };
    HHLogLine("THookHelpSystem.Create(" + Quoted(HelpFile) + "," + Quoted(WindowDefinition) + ", " +
              std::to_string(int(HostKind)) + ")");
}

THookHelpSystem::~THookHelpSystem() {
    if (FHostKind == hhkApi) HHCloseAll();
    ApplicationHelpEvent() = std::move(FSavedHelpEvent);
    HHLogLine("THookHelpSystem.Destroy");
}

bool THookHelpSystem::HelpHook(unsigned Command, std::intptr_t Data, bool& CallHelp) {
    HHLogLine("THookHelpSystem.HelpHook(" + HelpCommandText(Command) + ", " + std::to_string(Data) + ")");
    CallHelp = false;
    switch (Command) {
    case HELP_CONTEXT:
        if (ContextProc)
            ContextProc(int(Data));
        else
            ShowContextNumber(int(Data));
        break;
    case HELP_CONTEXTPOPUP:
        if (PopupContextProc)
            PopupContextProc(int(Data), FPopupX, FPopupY);
        else
            ShowContextNumber(int(Data));
        break;
    case HELP_SETPOPUP_POS:
        FPopupX = std::int16_t(std::uint16_t(std::uintptr_t(Data) & 0xFFFF));
        FPopupY = std::int16_t(std::uint16_t((std::uintptr_t(Data) >> 16) & 0xFFFF));
        break;
    default:
        CallHelp = true;
        break;
    }
    return true;
}

void THookHelpSystem::ShowContextNumber(int Context) {
    HHShowError(HHHelpContext(FHelpFile, Context, FWindowDefinition, FHostKind));
}

}  // namespace cb::extras
