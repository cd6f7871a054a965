#include "upgrade/NetUpgrader.h"
#include "platform/rtl/Strings.h"

#include "platform/desktop/Shell.h"
#include "platform/os/Files.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "upgrade/NetUtils.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QTimer>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::upgrade {

namespace {

// Empty when the file cannot be read; read through the runtime's checked
// open, so a FIFO in the file's place does not hang the check.
std::string FileSha256(const std::string& path) {
    int fd = -1;
    try {
        fd = cb::rtl::OpenFileForReading(path);
    } catch (const cb::rtl::EInOutError&) {
        return {};
    }
    if (fd < 0) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return {};
        }
        if (n == 0) break;
        hash.addData(QByteArrayView(buffer, static_cast<qsizetype>(n)));
    }
    ::close(fd);
    return hash.result().toHex().toStdString();
}

std::string FileNameOf(const std::string& path) {
    auto p = path.find_last_of('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace

TNetUpgrader::TNetUpgrader() {
    FHttp.Agent = "CubeBrowser upgrade component";
    FHttp.HideOutputFile = true;
    VersionDate = FormatVersionDate(cb::rtl::Date());
    ExecutablePath = cb::os::GetApplicationFileName();
    ExecutableFolder = cb::os::GetApplicationPath();
    Launcher = [](const std::string& program, const std::vector<std::string>& args) {
        return cb::os::StartProcess(program, args);
    };
    SetUpgraderLanguage(Wizard.Language);
    UI = MakeUpgraderDialogs();

    // Every next step runs after the HTTP client has finished its event, so
    // that a new request can start.
    auto later = [this](std::function<void()> step) {
        std::weak_ptr<bool> alive = FAlive;
        QTimer::singleShot(0, [alive, step] {
            if (auto a = alive.lock(); a && *a) step();
        });
    };

    FHttp.OnHeaderInfo = [this](TNetCustomHTTP&, const std::string&, const std::string&, const std::string&,
                                const std::string&, std::int64_t length, cb::rtl::TDateTime,
                                cb::rtl::TDateTime modified, cb::rtl::TDateTime, bool& cont) {
        if (FInfoPhase) return;
        FLastModified = modified;
        if (UI) UI->WizardSize(FormatMessage(6, static_cast<double>(length) / 1024.0));
        if (MiscFilesUpgrade == TNetMiscFilesUpgradeBehavior::mfuOnlyIfSizeDifferent && length != 0 &&
            FFiles.size() > 1) {
            std::string local = FCurrentPath.substr(0, FCurrentPath.size() - 5);  // without ".uTMP"
            if (cb::rtl::UpperCase(FileNameOf(local)) != cb::rtl::UpperCase(FileNameOf(ExecutablePath)) &&
                GetFileSize64(local) >= 0)
                cont = length != GetFileSize64(local);
        }
        if (OnFileStart) OnFileStart(*this, FCurrentURL, length, modified, cont);
    };
    FHttp.OnDone = [this, later](TNetCustomHTTP&, const std::string&, std::int64_t, cb::rtl::TStream* stream) {
        if (FInfoPhase) {
            std::string text;
            if (stream) {
                text.resize(static_cast<size_t>(stream->Size()));
                stream->SetPosition(0);
                if (!text.empty()) stream->ReadBuffer(text.data(), text.size());
            }
            later([this, text] { ParseInfoFile(text); });
            return;
        }
        std::string why;
        if (!Verified(FCurrentPath, FIndex, why)) {
            std::remove(FCurrentPath.c_str());
            later([this] { LostFile(0); });
            return;
        }
        if (FLastModified != 0) SetFileTimes(FCurrentPath, FLastModified, FLastModified, -1);
        if (OnFileDone) OnFileDone(*this, FCurrentPath);
        later([this] { DownloadNext(false); });
    };
    FHttp.OnDoneInterrupted = [this, later](TNetCustomHTTP&) { later([this] { DownloadNext(false); }); };
    FHttp.OnProgress = [this](TNetCustomHTTP&, const std::string&, std::int64_t size, std::int64_t read, int elapsed,
                              int left, std::uint8_t percent, float rate, cb::rtl::TStream*) {
        if (FInfoPhase || FFiles.empty()) return;
        auto count = static_cast<int>(FFiles.size());
        auto total = static_cast<std::uint8_t>(percent / count +
                                               PercentOf(static_cast<double>(FIndex), static_cast<double>(count)));
        if (OnProgress) OnProgress(*this, FCurrentURL, size, read, elapsed, left, percent, total, rate);
        if (UI) {
            int s = std::max(0, left);
            UI->WizardProgress(percent, total, FormatMessage(7, static_cast<double>(rate)),
                               FormatMessage(8, s / 3600, s / 60 % 60, s % 60));
        }
    };
    FHttp.OnConnLost = [this](TNetCustomHTTP&, const std::string&, std::int64_t, std::int64_t, cb::rtl::TStream*) {
        if (OnConnLost) OnConnLost(*this);
        if (ShowMessages & mConnLost) Error(31);
        StopTransfer();
    };
    FHttp.OnHTTPError = [this, later](TNetCustomHTTP&, int code, cb::rtl::TStream*) {
        if (FInfoPhase) {
            if (OnNoInfoFile) OnNoInfoFile(*this);
            if (ShowMessages & mNoInfoFile) Error(25);
            return;
        }
        later([this, code] { LostFile(code); });
    };
    FHttp.OnHostUnreachable = [this](TNetCustomHTTP& http) {
        std::string host = GetURLHost(http.URL);
        if (OnHostUnreachable) OnHostUnreachable(*this, http.URL, host);
        if (FQuiet) {
            FTimerSuspended = false;
            UpdateCheckTimer();
        } else if (ShowMessages & mHostUnreachable) {
            Error(26, "'http://" + host + "'");
        }
        StopTransfer();
    };
    FHttp.OnAnyError = [this, later](TNetCustomHTTP& http) {
        // A download that could not be stored has no other event.
        if (!http.LastOutputFailed() || FInfoPhase) return;
        later([this] {
            bool cont = UI && UI->AskYesNo(LoadMessage(0), LoadMessage(30));
            if (cont)
                DownloadNext(false);
            else
                Abort();
        });
    };
    FHttp.OnPasswordRequest = [this](TNetCustomHTTP& http, const std::string& realm, bool& again) {
        if (OnPasswordRequest) OnPasswordRequest(*this, realm, again);
        if (!again && (ShowMessages & mPasswordRequest) && UI) {
            again = UI->AskPassword(*this, GetURLFileName(http.URL));
            if (!again) Abort();
        }
    };
}

TNetUpgrader::~TNetUpgrader() {
    *FAlive = false;
    SetAutoCheck(false);
    if (UI) UI->CloseWindows();
}

void TNetUpgrader::SetUsername(const std::string& Value) {
    TNetLoginComponent::SetUsername(Value);
    FHttp.SetUsername(Value);
}

void TNetUpgrader::SetPassword(const std::string& Value) {
    TNetLoginComponent::SetPassword(Value);
    FHttp.SetPassword(Value);
}

void TNetUpgrader::SetLanguage(TNetUpgraderLanguage Value) {
    Wizard.Language = Value;
    SetUpgraderLanguage(Value);
}

bool TNetUpgrader::IsBusy() const {
    return FHttp.IsBusy();
}

void TNetUpgrader::Error(int Message, const std::string& Arg) {
    if (!UI) return;
    UI->ShowError(Arg.empty() ? LoadMessage(Message) : FormatMessage(Message, Arg.c_str()));
}

void TNetUpgrader::Abort() {
    FAborted = true;
    StopTransfer();
    if (OnAborted) OnAborted(*this);
}

void TNetUpgrader::StopTransfer() {
    FHttp.Abort();
    if (UI) UI->CloseWindows();
}

namespace {
constexpr std::int64_t kFileMemoryLimit = 256ll * 1024 * 1024;
}  // namespace

void TNetUpgrader::SetCheckingPhase(bool InfoPhase) {
    FInfoPhase = InfoPhase;
    FHttp.UseCache = !InfoPhase;
    // The information file comes into memory: no more of it than it may hold.
    // Listed files go to disk.
    FHttp.MaxMemorySize = InfoPhase ? std::int64_t(TUpgradeInfoFile::MaxSize) : kFileMemoryLimit;
}

void TNetUpgrader::CheckForUpdate() {
    FAborted = false;
    FQuiet = false;
    if (FHttp.IsBusy()) return;
    SetCheckingPhase(true);
    FHttp.URL = InfoFileURL;
    FHttp.OutputFileName.clear();
    FHttp.StartRequest();
}

std::string TNetUpgrader::InfoValue(const std::string& Text, const std::string& Key) {
    return TUpgradeInfoFile(Text).Value(Key);
}

std::vector<std::string> TNetUpgrader::InfoFiles(const std::string& Text) {
    return TUpgradeInfoFile(Text).Files();
}

cb::rtl::TDateTime TNetUpgrader::ParseVersionDate(const std::string& Text, bool& Valid) {
    Valid = false;
    auto s1 = Text.find('/');
    auto s2 = s1 == std::string::npos ? std::string::npos : Text.find('/', s1 + 1);
    if (s2 != std::string::npos) {
        try {
            int m = std::stoi(Text.substr(0, s1)), d = std::stoi(Text.substr(s1 + 1, s2 - s1 - 1)),
                y = std::stoi(Text.substr(s2 + 1));
            cb::rtl::TDateTime result;
            if (cb::rtl::TryEncodeDate(y, m, d, result)) {
                Valid = true;
                return result;
            }
        } catch (...) {}
    }
    return cb::rtl::Date();
}

std::string TNetUpgrader::FormatVersionDate(cb::rtl::TDateTime Date) {
    int y, m, d;
    cb::rtl::DecodeDate(Date, y, m, d);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", m, d, y);
    return text;
}

bool TNetUpgrader::IsNewer(const std::string& InfoText) const {
    return IsNewer(TUpgradeInfoFile(InfoText));
}

bool TNetUpgrader::IsNewer(const TUpgradeInfoFile& Info) const {
    if (VersionControl == TNetUpgraderVersionControl::byNumber)
        return CompareVersions(Info.Value("version"), VersionNumber) > 0;
    bool mineValid, theirsValid;
    auto mine = ParseVersionDate(VersionDate, mineValid);
    auto theirs = ParseVersionDate(Info.Value("date"), theirsValid);
    // a missing or malformed date on the server never counts as newer
    return theirsValid && mine < theirs;
}

void TNetUpgrader::ParseInfoFile(const std::string& Text) {
    FFiles.clear();
    FChecksums.clear();
    std::optional<TUpgradeInfoFile> parsed;
    try {
        parsed.emplace(Text);
    } catch (const EUpgradeInfoFile& e) {
        // Past the limits: no information file the program can use.
        if (OnNoInfoFile) OnNoInfoFile(*this);
        if (UI && (ShowMessages & mNoInfoFile)) UI->ShowError(e.what());
        return;
    }
    const TUpgradeInfoFile& info = *parsed;
    for (const auto& k : info.UrlKeys()) {
        std::string v = info.Value(k);
        if (v.empty()) continue;
        FFiles.push_back(v);
        FChecksums.push_back(cb::rtl::LowerCase(info.Value("sha256" + k.substr(3))));
    }
    if (FFiles.empty() || !IsNewer(info)) {
        if (OnNoUpdateAvailable) OnNoUpdateAvailable(*this);
        if (!FQuiet && (ShowMessages & mNoUpdateAvailable)) Error(24);
        return;
    }
    bool canUpgrade = true;
    std::string message = info.Value("message");
    std::string method = info.Value("method");
    FMethod = method.rfind('1', 0) == 0   ? TNetUpgradeMethod::umUseExternalSetup
              : method.rfind('2', 0) == 0 ? TNetUpgradeMethod::umRedirectToURL
                                          : TNetUpgradeMethod::umSelfUpgrade;
    if (OnBeginUpgrade) OnBeginUpgrade(*this, message, FMethod, FFiles, canUpgrade);
    if (!canUpgrade || ((ShowMessages & mAskUpgrade) && !(UI && UI->AskUpgrade(*this, message)))) {
        if (OnLaterUpgrade) OnLaterUpgrade(*this);
        return;
    }
    if (FMethod == TNetUpgradeMethod::umRedirectToURL) {
        OpenURL(FFiles.front(), true);
        return;
    }
    DownloadNext(true);
}

std::string TNetUpgrader::LocalPathOf(const std::string& URL) const {
    std::string folder = ExecutableFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    std::string name = GetURLFileName(URL);
    auto query = name.find_first_of("?#");
    if (query != std::string::npos) name.erase(query);
    if (name.empty() || name == "." || name == "..") return {};
    return folder + name + ".uTMP";
}

void TNetUpgrader::DownloadNext(bool First) {
    if (FAborted) return;
    if (First) {
        SetCheckingPhase(false);
        FIndex = 0;
        if (Wizard.Enabled && UI) UI->ShowWizard(*this);
    } else {
        ++FIndex;
    }
    auto count = static_cast<int>(FFiles.size());
    if (FIndex < count) {
        FCurrentURL = FFiles[static_cast<size_t>(FIndex)];
        if (UI) UI->WizardFile(FCurrentURL, FormatMessage(9, FIndex + 1, count));
        FCurrentPath = LocalPathOf(FCurrentURL);
        if (FCurrentPath.empty()) {
            LostFile(0);
            return;
        }
        FLastModified = 0;
        FHttp.URL = FCurrentURL;
        FHttp.OutputFileName = FCurrentPath;
        FHttp.StartRequest();
        return;
    }
    if (Wizard.Enabled && UI) {
        auto alive = FAlive;
        bool finished = UI->WizardFinished(*this);
        if (!*alive) return;
        if (!finished) Abort();
    }
    if (FAborted) return;
    if (OnEndUpgrade) OnEndUpgrade(*this);
    HandOver("+" + FRestartParams + std::to_string(static_cast<int>(FMethod)));
}

bool TNetUpgrader::Verified(const std::string& LocalPath, int Index, std::string& Why) const {
    const std::string& expected = FChecksums[static_cast<size_t>(Index)];
    if (!expected.empty()) {
        if (FileSha256(LocalPath) == expected) return true;
        Why = "checksum mismatch";
        return false;
    }
    TURLParts listed, effective;
    bool https = CrackURL(FFiles[static_cast<size_t>(Index)], listed) && cb::rtl::LowerCase(listed.Scheme) == "https" &&
                 (FHttp.EffectiveURL().empty() ||
                  (CrackURL(FHttp.EffectiveURL(), effective) && cb::rtl::LowerCase(effective.Scheme) == "https"));
    if (!https) Why = "neither https nor a checksum";
    return https;
}

void TNetUpgrader::LostFile(int ErrorCode) {
    bool cont = false;
    if (OnLostFile) OnLostFile(*this, FCurrentURL, ErrorCode, cont);
    if ((ShowMessages & mLostFile) && UI)
        cont = UI->AskYesNo(LoadMessage(21) + " #" + std::to_string(ErrorCode),
                            FormatMessage(28, GetURLFileName(FCurrentURL).c_str()));
    if (cont)
        DownloadNext(false);
    else
        Abort();
}

void TNetUpgrader::HandOver(const std::string& Arguments) {
    auto fail = [this](const std::string& reason) {
        if (OnHandOverFailed) OnHandOverFailed(*this, reason);
    };
    if (!HandOverEnabled) return fail("The hand-over to the upgrade program is turned off");
    struct stat st {};
    if (UpgraderProgram.empty() || ::stat(UpgraderProgram.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return fail("The upgrade program \"" + UpgraderProgram + "\" is missing");
    std::string dirTemplate = GetTempDir() + "cb-upgrade-XXXXXX";
    if (!::mkdtemp(dirTemplate.data())) return fail("Cannot create a private folder for the upgrade program");
    FHandOverFolder = dirTemplate;
    std::string program = FHandOverFolder + "/Upgrader3";
    std::error_code ec;
    std::filesystem::copy_file(UpgraderProgram, program, ec);
    if (ec || ::chmod(program.c_str(), 0700) != 0) return fail("Cannot write the upgrade program to " + program);
    if (!Launcher || !Launcher(program, {ExecutablePath, Arguments}))
        return fail("Cannot start the upgrade program " + program);
    if (OnDoOwnCloseAppMethod)
        OnDoOwnCloseAppMethod(*this);
    else if (QCoreApplication::instance())
        QCoreApplication::quit();
}

void TNetUpgrader::SetAutoCheck(bool Value) {
    if (FAutoCheck == Value) return;
    FAutoCheck = Value;
    UpdateCheckTimer();
}

void TNetUpgrader::UpdateCheckTimer() {
    if (FTimer) FTimer->stop();
    if (!FAutoCheck || FTimerSuspended) return;
    if (!FTimer) {
        FTimer = std::make_unique<QTimer>();
        QObject::connect(FTimer.get(), &QTimer::timeout, [this] { TimerTick(); });
    }
    FTimer->start(10000);
}

void TNetUpgrader::TimerTick() {
    if (!IsOnline() || !FAutoCheck) return;
    FTimerSuspended = true;
    UpdateCheckTimer();
    CheckForUpdate();
    FQuiet = true;
}

void TNetUpgrader::Loaded(const std::vector<std::string>& Arguments) {
    if (OnAfterRestart && !Arguments.empty() && Arguments[0] == FRestartParams) OnAfterRestart(*this);
}

}  // namespace cb::upgrade
