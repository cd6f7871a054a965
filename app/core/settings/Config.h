#pragma once
// Application settings: section "AppSettings" of "app.ini", the grid themes
// of "themes.ini" and the saved server connections, all beside the
// executable.
#include "app/core/theme/GridTheme.h"
#include "app/core/settings/OLAPConnectionList.h"

#include <cstdint>
#include <memory>
#include <string>

namespace cb::app {

class TLogFile;

class TBaseConfig {
public:
    virtual ~TBaseConfig() = default;
    virtual void SetDefaults() = 0;
    // The executable's folder with a trailing "/". Needs no instance and
    // no application object.
    static std::string GetApplicationPath();
    // Where the files the program writes live (app.ini, the connection list,
    // the log): programFolder (the executable's folder when empty) unless it
    // exists and no file can be created there; then the folder "cubebrowser"
    // of the user's configuration folder, created when missing. fellBack
    // tells which.
    static std::string GetSettingsFolder(const std::string& programFolder = {}, bool* fellBack = nullptr);
};

class TCubeBrowserConfig : public TBaseConfig {
public:
    // Reads the themes and the connection list from dataFolder (the
    // executable's folder when empty), then the settings from the given
    // "app.ini" path, and picks the current theme. When dataFolder cannot be
    // written, the connection list and a missing "app.ini" are written to
    // the user's configuration folder instead (GetSettingsFolder), and read
    // from there once they exist. When no theme could be
    // read, GetCurrentTheme() stays none: the caller tells the user and
    // stops (see MissingFilesMessage).
    explicit TCubeBrowserConfig(const std::string& settingsPath, const std::string& dataFolder = {});

    // A configuration holding the defaults of SetDefaults, with the themes
    // and the saved connections but no settings read (for when reading the
    // settings failed outright).
    static std::unique_ptr<TCubeBrowserConfig> CreateDefault(const std::string& settingsPath,
                                                             const std::string& dataFolder = {});

    // Reads the seven keys and the addresses (missing ones take their reading defaults);
    // on an error the SetDefaults values apply. Always true.
    bool LoadSettings(const std::string& path);
    // Writes the seven keys, the addresses and the connection list; false (and a log line)
    // when writing failed.
    bool SaveSettings();
    void SetDefaults() override;

    TThemeList* GetThemeList() { return FThemeParser.GetThemeList(); }
    TGridDisplayTheme* GetCurrentTheme() const { return FCurrentTheme; }
    // Makes a theme current (no check, no saving).
    void SetCurrentTheme(TGridDisplayTheme* theme) { FCurrentTheme = theme; }
    TOLAPConnectionList* GetConnectionList() { return &FConnectionList; }
    const std::string& GetSettingsPath() const { return FSettingsPath; }
    const std::string& GetDataFolder() const { return FDataFolder; }
    // The log that failed saves are written to (not owned; none logs nothing).
    void SetLog(TLogFile* log) { FLog = log; }

    // What the user is told when "themes.ini" held no theme.
    static const char* const MissingFilesMessage;

    // False by default, so that a fresh install shows the tutorial.
    bool DontDisplayTutorialOnStartup = false;
    std::string CurrentTheme = "Default";
    std::string LastCubeConnectionLocation;
    std::uint8_t LastCubeConnectionType = 0;
    bool ReopenLastCube = false;
    bool ShowInstructionsOnOpen = false;
    bool StartMaxed = false;
    // The support forum's address (key "SupportAddress"); empty: none is
    // opened.
    std::string SupportAddress;

    // Addresses of the deployment, empty unless app.ini sets them: the host
    // the comment form is posted to ("/cb/send_comments.php" on it), the
    // upgrade information file, and the product web site. A command whose
    // address is empty says so instead of using a placeholder.
    std::string CommentHost;
    std::string UpgradeInfoURL;
    std::string WebSite;
    // The mail address the comment dialog offers beside its form; empty: no
    // mail link.
    std::string SupportMail;
    // The upgrade check may start the downloaded upgrade program only when
    // this is set.
    bool UpgradeHandOver = false;

private:
    struct NoRead {};

public:
    // CreateDefault's constructor: only this class can name NoRead.
    TCubeBrowserConfig(const std::string& settingsPath, const std::string& dataFolder, NoRead);

private:
    void LoadData(bool readConnections);
    void ChooseCurrentTheme();

    TLogFile* FLog = nullptr;
    TGridDisplayTheme* FCurrentTheme = nullptr;
    std::string FSettingsPath;
    std::string FDataFolder;
    std::string FSettingsFolder;  // where the connection list is written
    TOLAPConnectionList FConnectionList;
    TThemeParser FThemeParser;
};

}  // namespace cb::app
