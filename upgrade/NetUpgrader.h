#pragma once
// TNetUpgrader: checks a web server for a newer version of the program,
// downloads the files its information file lists next to the executable
// (as NAME.uTMP) and hands over to a separate upgrade program.
//
// The information file is plain text with keys "#name=value": url, url0,
// url1, ... (the files), version, date (m/d/yyyy), message ({...}, may span
// lines), method (0 self upgrade, 1 external setup, 2 open the address), and
// for each listed file an optional sha256 with the url key's suffix
// ("#sha256=" for "url", "#sha2560=" for "url0", ...). A file is used only
// when it came over https or its SHA-256 matches; the hand-over runs only
// when HandOverEnabled is set, from a private folder, with an argument list.
#include "upgrade/NetHTTP.h"
#include "upgrade/UpgradeInfoFile.h"
#include "upgrade/UpgraderMessages.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTimer;

namespace cb::upgrade {

enum class TNetUpgradeMethod {
    umSelfUpgrade,
    umUseExternalSetup,
    umRedirectToURL
};
enum class TNetMiscFilesUpgradeBehavior {
    mfuAlwaysDownload,
    mfuOnlyIfSizeDifferent
};
enum class TNetUpgraderVersionControl {
    byDate,
    byNumber
};
enum TNetUpgraderShowMessage : unsigned {
    mAskUpgrade = 1 << 0,
    mConnLost = 1 << 1,
    mHostUnreachable = 1 << 2,
    mLostFile = 1 << 3,
    mNoInfoFile = 1 << 4,
    mNoUpdateAvailable = 1 << 5,
    mPasswordRequest = 1 << 6,
};

struct TNetUpgraderInfo {
    std::vector<std::string> Files;
    TNetUpgradeMethod UpgradeMethod = TNetUpgradeMethod::umSelfUpgrade;
    std::string UpgradeMsg;
};

struct TNetUpgraderWizard {
    bool Enabled = true;
    std::string Pic118x218;  // picture file shown on the wizard's left; empty: the default one
    TNetUpgraderLanguage Language = TNetUpgraderLanguage::wlAuto;
    bool StayOnTop = true;
};

class TNetUpgrader;

// The windows of an upgrade; the default shows Qt dialogs, tests give their own.
class TNetUpgraderUI {
public:
    virtual ~TNetUpgraderUI() = default;
    virtual bool AskUpgrade(TNetUpgrader& Upgrader, const std::string& UpgradeMsg) = 0;
    virtual void ShowWizard(TNetUpgrader& Upgrader) = 0;
    virtual void WizardFile(const std::string& URL, const std::string& Counter) = 0;
    virtual void WizardSize(const std::string& Text) = 0;
    virtual void WizardProgress(int Current, int Total, const std::string& Rate, const std::string& TimeLeft) = 0;
    // Switches the wizard to its last page and waits until it is closed;
    // false when the user cancelled the upgrade there.
    virtual bool WizardFinished(TNetUpgrader& Upgrader) = 0;
    virtual void CloseWindows() = 0;
    virtual bool AskPassword(TNetUpgrader& Upgrader, const std::string& FileName) = 0;
    virtual void ShowError(const std::string& Text) = 0;
    virtual bool AskYesNo(const std::string& Caption, const std::string& Text) = 0;
};

// The Qt dialogs (created on first use).
std::unique_ptr<TNetUpgraderUI> MakeUpgraderDialogs();

class TNetUpgrader : public TNetLoginComponent {
public:
    TNetUpgrader();
    ~TNetUpgrader() override;

    void CheckForUpdate();
    bool IsBusy() const;
    void Abort();
    void StopTransfer();

    // The inherited user name and password also go to the HTTP client.
    void SetUsername(const std::string& Value) override;
    void SetPassword(const std::string& Value) override;
    std::string HTTPUsername() const { return GetUsername(); }
    void SetHTTPUsername(const std::string& Value) { SetUsername(Value); }
    std::string HTTPPassword() const { return GetPassword(); }
    void SetHTTPPassword(const std::string& Value) { SetPassword(Value); }

    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value);
    const std::string& RestartParams() const { return FRestartParams; }
    void SetRestartParams(const std::string& Value) { FRestartParams = Value.empty() ? " " : Value; }
    TNetHTTPProxy& Proxy() { return FHttp.Proxy; }
    TThreadPriority ThreadPriority() const { return FHttp.ThreadPriority(); }
    void SetThreadPriority(TThreadPriority Value) { FHttp.SetThreadPriority(Value); }
    void SetLanguage(TNetUpgraderLanguage Value);

    TNetUpgraderInfo InfoFile;
    std::string InfoFileURL = "http://";
    TNetMiscFilesUpgradeBehavior MiscFilesUpgrade = TNetMiscFilesUpgradeBehavior::mfuAlwaysDownload;
    TNetUpgraderVersionControl VersionControl = TNetUpgraderVersionControl::byDate;
    std::string VersionDate;  // m/d/yyyy; today by default
    bool VersionDateAutoSet = true;
    std::string VersionNumber;
    unsigned ShowMessages = mAskUpgrade | mConnLost | mLostFile | mPasswordRequest;
    TNetUpgraderWizard Wizard;
    std::string ApplicationTitle = "Cube Browser";

    // Hand-over: off unless turned on; the upgrade program is copied from
    // UpgraderProgram into a private folder and started with an argument
    // list by Launcher (default: a process of its own).
    bool HandOverEnabled = false;
    std::string UpgraderProgram;
    std::function<bool(const std::string& Program, const std::vector<std::string>& Args)> Launcher;
    // The folder downloads go to and the executable's path (default: the program's own).
    std::string ExecutableFolder;
    std::string ExecutablePath;
    // The windows; the Qt dialogs unless replaced.
    std::unique_ptr<TNetUpgraderUI> UI;

    // Events, on the user-interface thread.
    std::function<void(TNetUpgrader&, const std::string& UpgradeMsg, TNetUpgradeMethod Method,
                       const std::vector<std::string>& Files, bool& CanUpgrade)>
        OnBeginUpgrade;
    std::function<void(TNetUpgrader&)> OnEndUpgrade, OnLaterUpgrade, OnDoOwnCloseAppMethod, OnAfterRestart, OnAborted,
        OnConnLost, OnNoUpdateAvailable, OnNoInfoFile;
    std::function<void(TNetUpgrader&, const std::string& FileURL, std::int64_t FileSize, std::int64_t BytesRead,
                       int ElapsedTime, int EstimatedTimeLeft, std::uint8_t PercentsDone,
                       std::uint8_t TotalPercentsDone, float TransferRate)>
        OnProgress;
    std::function<void(TNetUpgrader&, const std::string& FileURL, std::int64_t FileSize, cb::rtl::TDateTime FileTime,
                       bool& CanUpgrade)>
        OnFileStart;
    std::function<void(TNetUpgrader&, const std::string& FileName)> OnFileDone;
    std::function<void(TNetUpgrader&, const std::string& URL, const std::string& Hostname)> OnHostUnreachable;
    std::function<void(TNetUpgrader&, const std::string& FileURL, int ErrorCode, bool& ContinueUpgrade)> OnLostFile;
    std::function<void(TNetUpgrader&, const std::string& Realm, bool& TryAgain)> OnPasswordRequest;
    // A hand-over that could not run (the program keeps running).
    std::function<void(TNetUpgrader&, const std::string& Reason)> OnHandOverFailed;

    // Call once the program has started: OnAfterRestart when the first
    // argument is RestartParams.
    void Loaded(const std::vector<std::string>& Arguments);

    // What the information file said (for callers and tests).
    const std::vector<std::string>& Files() const { return FFiles; }
    TNetUpgradeMethod Method() const { return FMethod; }
    const std::string& HandOverFolder() const { return FHandOverFolder; }
    // Expires when the component is freed (for windows that call back later).
    std::weak_ptr<bool> AliveToken() const { return FAlive; }

    // The information file's rules, usable on their own.
    static std::string InfoValue(const std::string& Text, const std::string& Key);
    static std::vector<std::string> InfoFiles(const std::string& Text);
    bool IsNewer(const std::string& InfoText) const;
    bool IsNewer(const TUpgradeInfoFile& Info) const;
    static cb::rtl::TDateTime ParseVersionDate(const std::string& Text, bool& Valid);
    static std::string FormatVersionDate(cb::rtl::TDateTime Date);

private:
    void SetCheckingPhase(bool InfoPhase);
    void ParseInfoFile(const std::string& Text);
    void DownloadNext(bool First);
    void HandOver(const std::string& Arguments);
    void UpdateCheckTimer();
    void TimerTick();
    bool Verified(const std::string& LocalPath, int Index, std::string& Why) const;
    void LostFile(int ErrorCode);
    std::string LocalPathOf(const std::string& URL) const;
    void Error(int Message, const std::string& Arg = {});

    TNetHTTP FHttp;
    std::unique_ptr<QTimer> FTimer;
    bool FAutoCheck = false;
    bool FAborted = false;
    bool FTimerSuspended = false;
    bool FQuiet = false;
    bool FInfoPhase = false;
    TNetUpgradeMethod FMethod = TNetUpgradeMethod::umSelfUpgrade;
    std::vector<std::string> FFiles;
    std::vector<std::string> FChecksums;
    std::string FCurrentURL;
    std::string FCurrentPath;
    int FIndex = 0;
    cb::rtl::TDateTime FLastModified = 0;
    std::string FRestartParams = "/afterupgrade";
    std::string FHandOverFolder;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace cb::upgrade
