#include "app/core/settings/Config.h"
#include "app/core/base/LogFile.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

using namespace cb::app;

namespace {

const char* const ThreeThemes = "[Themes]\r\nThemeCount=3\r\n[Theme1]\r\nName=Default\r\n"
                                "[Theme2]\r\nName=Ocean\r\n[Theme3]\r\nName=Sand\r\n";

class Config : public ::testing::Test {
protected:
    void SetUp() override { cbtest::writeFile(dir.file("themes.ini"), ThreeThemes); }
    std::unique_ptr<TCubeBrowserConfig> Make() {
        return std::make_unique<TCubeBrowserConfig>(ini, dir.path().string());
    }
    std::string Read(const std::string& key) {
        return cb::rtl::TMemIniFile(ini).ReadString("AppSettings", key, "<missing>");
    }

    cbtest::TempDir dir;
    std::string ini = dir.file("app.ini");
};

}  // namespace

TEST(ConfigPath, ApplicationPathIsTheExecutablesFolder) {
    const std::string p = TBaseConfig::GetApplicationPath();
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(p + "test_app"));
}

TEST_F(Config, MissingFileReadsTheReadingDefaults) {
    auto c = Make();
    EXPECT_FALSE(c->ReopenLastCube);
    EXPECT_EQ(c->LastCubeConnectionLocation, "");
    EXPECT_EQ(c->LastCubeConnectionType, 0);
    EXPECT_FALSE(c->ShowInstructionsOnOpen);
    EXPECT_FALSE(c->StartMaxed);
    EXPECT_EQ(c->CurrentTheme, "Default");
    EXPECT_FALSE(c->DontDisplayTutorialOnStartup);  // a fresh install shows the tutorial
    EXPECT_EQ(c->CommentHost, "");
    EXPECT_EQ(c->UpgradeInfoURL, "");
    EXPECT_EQ(c->WebSite, "");
    EXPECT_EQ(c->SupportMail, "");
    EXPECT_FALSE(c->UpgradeHandOver);
    ASSERT_NE(c->GetCurrentTheme(), nullptr);
    EXPECT_EQ(c->GetCurrentTheme()->Name, "Default");
    EXPECT_EQ(c->GetThemeList()->GetCount(), 3);
    EXPECT_FALSE(std::filesystem::exists(ini));  // reading writes nothing
}

TEST_F(Config, ReadsKeysAndCutsTheTypeToEightBits) {
    struct Case {
        const char* text;
        int type;
        const char* theme;
        bool maxed;
    };
    const Case cases[] = {
        {"LastCubeConnectionType=300\r\n", 44, "Default", false},
        {"LastCubeConnectionType=2\r\nCurrentTheme=Ocean\r\nStartMaxed=1\r\n", 2, "Ocean", true},
        {"CurrentTheme=Sand\r\nStartMaxed=0\r\n", 0, "Sand", false},
        {"CurrentTheme=ocean\r\n", 0, "Default", false},  // names match exactly
        {"LastCubeConnectionType=-1\r\n", 255, "Default", false},
    };
    for (const Case& k : cases) {
        cbtest::writeFile(ini, std::string("[AppSettings]\r\n") + k.text);
        auto c = Make();
        EXPECT_EQ(c->LastCubeConnectionType, k.type) << k.text;
        ASSERT_NE(c->GetCurrentTheme(), nullptr);
        EXPECT_EQ(c->GetCurrentTheme()->Name, k.theme) << k.text;
        EXPECT_EQ(c->StartMaxed, k.maxed) << k.text;
        EXPECT_FALSE(c->DontDisplayTutorialOnStartup) << k.text;
    }
}

TEST_F(Config, SaveRoundTripsAndUnknownThemeIsSavedAsTheFirst) {
    cbtest::writeFile(ini, "; mine\r\n[AppSettings]\r\nCurrentTheme=Gone\r\n[Other]\r\nKeep=1\r\n");
    {
        auto c = Make();
        EXPECT_EQ(c->GetCurrentTheme()->Name, "Default");
        c->ReopenLastCube = true;
        c->LastCubeConnectionLocation = "/cubes/a b.cub";
        c->LastCubeConnectionType = 1;
        c->ShowInstructionsOnOpen = true;
        c->StartMaxed = true;
        c->DontDisplayTutorialOnStartup = false;
        ASSERT_TRUE(c->SaveSettings());
    }
    EXPECT_EQ(Read("CurrentTheme"), "Default");
    EXPECT_EQ(Read("StartMaxed"), "1");
    EXPECT_EQ(Read("DontDisplayTutorialOnStartup"), "0");
    EXPECT_EQ(cb::rtl::TMemIniFile(ini).ReadString("Other", "Keep", ""), "1");

    auto c = Make();
    EXPECT_TRUE(c->ReopenLastCube);
    EXPECT_EQ(c->LastCubeConnectionLocation, "/cubes/a b.cub");
    EXPECT_EQ(c->LastCubeConnectionType, 1);
    EXPECT_TRUE(c->ShowInstructionsOnOpen);
    EXPECT_TRUE(c->StartMaxed);
    EXPECT_FALSE(c->DontDisplayTutorialOnStartup);

    // A chosen theme is used by the next start.
    c->SetCurrentTheme(c->GetThemeList()->FindByName("Sand"));
    ASSERT_TRUE(c->SaveSettings());
    EXPECT_EQ(Make()->GetCurrentTheme()->Name, "Sand");

    // An independent reader sees the seven keys in their order, then the addresses.
    std::string out;
    ASSERT_EQ(cbtest::runCommand("python3 -c \"import configparser,sys;p=configparser.ConfigParser();"
                                 "p.optionxform=str;p.read(sys.argv[1]);print(','.join(p['AppSettings']))\" '" +
                                     ini + "'",
                                 &out),
              0);
    EXPECT_EQ(out, "CurrentTheme,ReopenLastCube,LastCubeConnectionLocation,LastCubeConnectionType,"
                   "ShowInstructionsOnOpen,StartMaxed,DontDisplayTutorialOnStartup,CommentHost,UpgradeInfoURL,"
                   "WebSite,SupportMail,UpgradeHandOver\n");
}

TEST_F(Config, SaveAfterTheFileWasDeletedWritesBesideTheData) {
    const std::string elsewhere = dir.file("sub/app.ini");
    TCubeBrowserConfig c(elsewhere, dir.path().string());
    ASSERT_TRUE(c.SaveSettings());
    EXPECT_EQ(Read("CurrentTheme"), "Default");
    EXPECT_TRUE(std::filesystem::exists(dir.file("tavo_browser_connection_list.con")));
}

TEST_F(Config, FailedSaveIsLoggedAndReportedFalse) {
    cbtest::TempDir other;
    TLogFile log(other.file("cube_browser.log"));
    TCubeBrowserConfig c(dir.file("none/app.ini"), dir.file("none"));
    c.SetLog(&log);
    const bool saved = c.SaveSettings();
    EXPECT_FALSE(saved);
    EXPECT_EQ(cbtest::readFile(other.file("cube_browser.log")).rfind("Unable to save config settings. With error: ", 0),
              0u);
}

TEST_F(Config, UnreadableSettingsApplyTheDefaults) {
    std::filesystem::create_directory(ini);  // a folder where the file should be
    auto c = Make();
    EXPECT_TRUE(c->StartMaxed);
    EXPECT_FALSE(c->DontDisplayTutorialOnStartup);
    EXPECT_EQ(c->GetCurrentTheme()->Name, "Default");

    // The default configuration still carries the saved connections, so
    // its save does not wipe them.
    const std::string connections = dir.file("tavo_browser_connection_list.con");
    cbtest::writeFile(connections, "[Connections]\r\nNumConnections=1\r\n[Connection1]\r\nConnectionName=Main\r\n"
                                   "ConnectionHost=olap1\r\nConnectionPort=2725\r\n");
    cbtest::writeFile(dir.file("x.ini"), "");
    auto d = TCubeBrowserConfig::CreateDefault(dir.file("x.ini"), dir.path().string());
    EXPECT_TRUE(d->StartMaxed);
    EXPECT_FALSE(d->DontDisplayTutorialOnStartup);
    EXPECT_FALSE(d->ShowInstructionsOnOpen);
    EXPECT_EQ(d->GetCurrentTheme(), d->GetThemeList()->GetTheme(0));
    ASSERT_TRUE(d->SaveSettings());
    cb::rtl::TMemIniFile saved(connections);
    EXPECT_EQ(saved.ReadInteger("Connections", "NumConnections", 0), 1);
    EXPECT_EQ(saved.ReadString("Connection1", "ConnectionHost", ""), "olap1");
}

TEST_F(Config, NoThemesLeavesNoCurrentTheme) {
    for (const char* text : {"", "[Themes]\r\nThemeCount=0\r\n"}) {
        cbtest::writeFile(dir.file("themes.ini"), text);
        EXPECT_EQ(Make()->GetCurrentTheme(), nullptr);
    }
    std::filesystem::remove(dir.file("themes.ini"));
    EXPECT_EQ(Make()->GetCurrentTheme(), nullptr);
}

// FIFOs in place of "app.ini" and the connection list do not hang start-up:
// the settings take the defaults and the list stays empty.
TEST_F(Config, FifosInPlaceOfTheSettingsDoNotHang) {
    const std::string list = dir.file("tavo_browser_connection_list.con");
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    auto c = Make();
    EXPECT_TRUE(c->StartMaxed);  // the defaults of SetDefaults
    EXPECT_EQ(c->GetConnectionList()->GetCount(), 0);
}

// When the program's folder cannot be written (an installed program), the
// settings and the connection list go to the user's configuration folder:
// read first from the program's folder, then kept and read there. Run as
// an unprivileged user, since root may write anywhere.
TEST_F(Config, UnwritableProgramFolderFallsBackToTheUserConfigFolder) {
    cbtest::writeFile(ini, "[AppSettings]\r\nCurrentTheme=Ocean\r\n");
    cbtest::writeFile(dir.file("tavo_browser_connection_list.con"),
                      "[Connections]\r\nNumConnections=1\r\n[Connection1]\r\nConnectionName=Main\r\n");
    cbtest::TempDir home;
    cbtest::giveToNobody(home.path());
    const std::string program = dir.path().string() + "/", user = home.file("cubebrowser") + "/";
    const std::string before = cbtest::readFile(ini);
    bool fellBack = true;
    EXPECT_EQ(TBaseConfig::GetSettingsFolder(program, &fellBack), program);  // writable here
    EXPECT_FALSE(fellBack);

    ::chmod(dir.path().c_str(), 0555);  // for a test run without root as well
    const int rc = cbtest::runAsNobody([&] {
        ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
        bool fell = false;
        if (TBaseConfig::GetSettingsFolder(program, &fell) != user || !fell) return 1;
        {
            TCubeBrowserConfig c(user + "app.ini", program);
            if (c.GetCurrentTheme()->Name != "Ocean" || c.GetConnectionList()->GetCount() != 1) return 2;
            c.SetCurrentTheme(c.GetThemeList()->GetTheme(2));
            c.GetConnectionList()->Add({"Second", "h2", 2});
            if (!c.SaveSettings()) return 3;
        }
        TCubeBrowserConfig again(user + "app.ini", program);
        if (again.GetCurrentTheme()->Name != "Sand" || again.GetConnectionList()->GetCount() != 2) return 4;
        return 0;
    });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(cbtest::readFile(ini), before);
    EXPECT_EQ(cb::rtl::TMemIniFile(user + "app.ini").ReadString("AppSettings", "CurrentTheme", ""), "Sand");
    EXPECT_EQ(
        cb::rtl::TMemIniFile(user + "tavo_browser_connection_list.con").ReadInteger("Connections", "NumConnections", 0),
        2);
}
