#include "app/core/settings/Config.h"

#include "app/core/base/Helpers.h"
#include "app/core/base/LogFile.h"
#include "platform/os/Files.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Strings.h"

#include <filesystem>

namespace cb::app {

namespace {
const char* const Section = "AppSettings";
const char* const ConnectionListFile = "tavo_browser_connection_list.con";
const char* const ThemesFile = "themes.ini";
}  // namespace

const char* const TCubeBrowserConfig::MissingFilesMessage =
    "Required files appear to have been deleted or modified. Please reinstall Tavo Browser.";

std::string TBaseConfig::GetApplicationPath() {
    return EnsureTrailingBackslash(os::GetApplicationPath());
}

std::string TBaseConfig::GetSettingsFolder(const std::string& programFolder, bool* fellBack) {
    const std::string folder = EnsureTrailingBackslash(programFolder.empty() ? GetApplicationPath() : programFolder);
    if (fellBack) *fellBack = false;
    // A missing folder is kept: saving there fails and says so.
    if (!os::DirectoryExists(folder) || os::IsDirectoryWritable(folder)) return folder;
    const std::string user = os::GetUserConfigDirectory() + "cubebrowser/";
    if (!os::ForceDirectories(user)) return folder;  // nowhere better: saving reports the failure
    if (fellBack) *fellBack = true;
    return user;
}

TCubeBrowserConfig::TCubeBrowserConfig(const std::string& settingsPath, const std::string& dataFolder)
    : FDataFolder(EnsureTrailingBackslash(dataFolder.empty() ? GetApplicationPath() : dataFolder)),
      FSettingsFolder(GetSettingsFolder(FDataFolder)) {
    LoadData(true);
    // Settings kept apart from the program start from the program's own
    // until they are first saved.
    std::error_code ec;
    const bool own = FSettingsFolder == FDataFolder || std::filesystem::exists(settingsPath, ec);
    LoadSettings(own ? settingsPath : FDataFolder + "app.ini");
    ChooseCurrentTheme();
    FSettingsPath = settingsPath;
}

TCubeBrowserConfig::TCubeBrowserConfig(const std::string& settingsPath, const std::string& dataFolder, NoRead)
    : FDataFolder(EnsureTrailingBackslash(dataFolder.empty() ? GetApplicationPath() : dataFolder)),
      FSettingsFolder(GetSettingsFolder(FDataFolder)) {
    // The saved connections are read all the same: the next save writes
    // them back instead of an empty list.
    LoadData(true);
    SetDefaults();
    ChooseCurrentTheme();
    FSettingsPath = settingsPath;
}

std::unique_ptr<TCubeBrowserConfig> TCubeBrowserConfig::CreateDefault(const std::string& settingsPath,
                                                                      const std::string& dataFolder) {
    return std::make_unique<TCubeBrowserConfig>(settingsPath, dataFolder, NoRead{});
}

void TCubeBrowserConfig::LoadData(bool readConnections) {
    // Failures here leave what was read; they are not reported.
    if (readConnections) {
        // The list beside the settings; the one beside the program until
        // the settings folder has its own.
        const std::string own = FSettingsFolder + ConnectionListFile;
        FConnectionList.LoadFromFile(os::FileExists(own) ? own : FDataFolder + ConnectionListFile);
    }
    FThemeParser.LoadFromFile(FDataFolder + ThemesFile);
}

void TCubeBrowserConfig::ChooseCurrentTheme() {
    FCurrentTheme = GetThemeList()->FindByName(CurrentTheme);
    if (!FCurrentTheme) FCurrentTheme = GetThemeList()->GetTheme(0);
}

bool TCubeBrowserConfig::LoadSettings(const std::string& path) {
    try {
        rtl::TMemIniFile ini(path);
        ReopenLastCube = ini.ReadBool(Section, "ReopenLastCube", false);
        LastCubeConnectionLocation = ini.ReadString(Section, "LastCubeConnectionLocation", "");
        LastCubeConnectionType = static_cast<std::uint8_t>(ini.ReadInteger(Section, "LastCubeConnectionType", 0));
        ShowInstructionsOnOpen = ini.ReadBool(Section, "ShowInstructionsOnOpen", false);
        StartMaxed = ini.ReadBool(Section, "StartMaxed", false);
        CurrentTheme = ini.ReadString(Section, "CurrentTheme", "Default");
        DontDisplayTutorialOnStartup = ini.ReadBool(Section, "DontDisplayTutorialOnStartup", false);
        CommentHost = rtl::Trim(ini.ReadString(Section, "CommentHost", ""));
        UpgradeInfoURL = rtl::Trim(ini.ReadString(Section, "UpgradeInfoURL", ""));
        WebSite = rtl::Trim(ini.ReadString(Section, "WebSite", ""));
        SupportMail = rtl::Trim(ini.ReadString(Section, "SupportMail", ""));
        UpgradeHandOver = ini.ReadBool(Section, "UpgradeHandOver", false);
        // Read only: a saved file keeps the user's key as it stands.
        SupportAddress = rtl::Trim(ini.ReadString(Section, "SupportAddress", ""));
    } catch (const std::exception&) {
        SetDefaults();
    }
    return true;
}

void TCubeBrowserConfig::SetDefaults() {
    ReopenLastCube = false;
    LastCubeConnectionLocation.clear();
    LastCubeConnectionType = 0;
    SupportAddress.clear();
    StartMaxed = true;
    DontDisplayTutorialOnStartup = false;
    FCurrentTheme = GetThemeList()->GetTheme(0);
    if (FCurrentTheme) CurrentTheme = FCurrentTheme->Name;
}

bool TCubeBrowserConfig::SaveSettings() {
    try {
        std::error_code ec;
        const std::string path =
            std::filesystem::exists(FSettingsPath, ec) ? FSettingsPath : FSettingsFolder + "app.ini";
        if (FCurrentTheme) CurrentTheme = FCurrentTheme->Name;
        rtl::TMemIniFile ini(path);
        ini.WriteBool(Section, "ReopenLastCube", ReopenLastCube);
        ini.WriteString(Section, "LastCubeConnectionLocation", LastCubeConnectionLocation);
        ini.WriteInteger(Section, "LastCubeConnectionType", LastCubeConnectionType);
        ini.WriteBool(Section, "ShowInstructionsOnOpen", ShowInstructionsOnOpen);
        ini.WriteBool(Section, "StartMaxed", StartMaxed);
        ini.WriteString(Section, "CurrentTheme", CurrentTheme);
        ini.WriteBool(Section, "DontDisplayTutorialOnStartup", DontDisplayTutorialOnStartup);
        // Kept so that settings moved to the user's folder still have them.
        ini.WriteString(Section, "CommentHost", CommentHost);
        ini.WriteString(Section, "UpgradeInfoURL", UpgradeInfoURL);
        ini.WriteString(Section, "WebSite", WebSite);
        ini.WriteString(Section, "SupportMail", SupportMail);
        ini.WriteBool(Section, "UpgradeHandOver", UpgradeHandOver);
        ini.UpdateFile();
        FConnectionList.SaveToFile(FSettingsFolder + ConnectionListFile);
        return true;
    } catch (const std::exception& e) {
        if (FLog) FLog->WriteLine(std::string("Unable to save config settings. With error: ") + e.what());
        return false;
    }
}

}  // namespace cb::app
