#include "app/core/settings/Config.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/base/LogFile.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/main/AppGlobals.h"
#include "app/ui/dialogs/CubeBrowserInterface.h"
#include "app/ui/dialogs/LoadingScreen.h"
#include "app/ui/main/MainWindow.h"
#include "platform/rtl/IniFile.h"
#include "tests/common/TestSupport.h"

#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::app;
namespace fs = std::filesystem;

TEST(Startup, GlobalsAreMadeFromTheFolderAndHandedOn) {
    cbtest::TempDir dir;
    const std::string folder = dir.path().string() + "/";
    cbtest::writeFile(dir.file("themes.ini"), "[Themes]\r\nThemeCount=1\r\n[Theme1]\r\nName=Default\r\n");
    TAppGlobals globals(folder);
    EXPECT_EQ(globals.Log().Path(), folder + "cube_browser.log");
    EXPECT_TRUE(globals.Log().IsOpen());
    EXPECT_EQ(globals.Config().GetSettingsPath(), folder + "app.ini");
    ASSERT_NE(globals.Config().GetCurrentTheme(), nullptr);  // the folder's themes
    EXPECT_EQ(globals.Config().GetCurrentTheme()->Name, "Default");
    EXPECT_NE(dynamic_cast<TCubeBrowserInterface*>(&globals.UserInterface()), nullptr);
    const TAppContext context = globals.Context();
    EXPECT_EQ(context.Log, &globals.Log());
    EXPECT_EQ(context.Config, &globals.Config());
    EXPECT_EQ(context.UserInterface, &globals.UserInterface());
    // The display manager lays out into the grid with the real layout.
    EXPECT_NE(dynamic_cast<TMDXDisplayManager*>(&globals.DisplayManager().GetGridLayout()), nullptr);
}

TEST(Startup, LoadingScreen) {
    TfrmLoadingScreen screen;
    EXPECT_EQ(screen.size(), QSize(279, 185));
    EXPECT_TRUE(screen.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(screen.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(screen.pbStatus->geometry(), QRect(13, 144, 252, 16));
    EXPECT_EQ(screen.pbStatus->maximum(), 20);
    EXPECT_EQ(screen.Status(), TfrmLoadingScreen::lsStarting);
    screen.SetStatus(TfrmLoadingScreen::lsLoading);
    EXPECT_EQ(screen.lblStatus->text().toStdString(), "Is Loading...");
    for (int i = 0; i < 25; ++i) screen.StepProgress();
    EXPECT_EQ(screen.pbStatus->value(), 20);
    screen.ResetProgress();
    EXPECT_EQ(screen.pbStatus->value(), 0);
}

TEST(Startup, MainWindowDrivesTheLoadingScreenAndSavesOnClose) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("themes.ini"), "[Themes]\r\nThemeCount=1\r\n[Theme1]\r\nName=Default\r\n");
    TCubeBrowserConfig config(dir.file("app.ini"), dir.path().string());
    TfrmLoadingScreen screen;
    frmLoadingScreen = &screen;
    {
        TfrmMain main(TAppContext{nullptr, &config, nullptr});
        EXPECT_EQ(screen.pbStatus->value(), 10);
        EXPECT_FALSE(screen.isVisible());
        EXPECT_EQ(main.windowTitle().toStdString(), "Tavo Browser");
        main.show();
        EXPECT_FALSE(fs::exists(dir.file("app.ini")));
        main.close();
    }
    frmLoadingScreen = nullptr;
    EXPECT_EQ(cb::rtl::TMemIniFile(dir.file("app.ini")).ReadString("AppSettings", "CurrentTheme", ""), "Default");
}

namespace {

// Runs the built program from its own copy in a fresh folder, so that what
// it writes beside itself lands there.
class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path bin(CB_BIN_DIR);
        ASSERT_TRUE(fs::exists(bin / "cubebrowser")) << "build the cubebrowser target first";
        fs::copy_file(bin / "cubebrowser", dir.path() / "cubebrowser");
        fs::copy_file(fs::path(CB_SOURCE_DIR) / "data" / "themes.ini", dir.path() / "themes.ini");
        // The start-up cube, as an installed program has it beside itself.
        fs::copy(bin / "Local Cubes", dir.path() / "Local Cubes", fs::copy_options::recursive);
    }
    int Run() {
        return cbtest::runCommand("cd '" + dir.path().string() +
                                  "' && CB_QUIT_AFTER_MS=300 QT_QPA_PLATFORM=offscreen ./cubebrowser 2>/dev/null");
    }
    std::string Log() const {
        return fs::exists(dir.file("cube_browser.log")) ? cbtest::readFile(dir.file("cube_browser.log")) : "";
    }
    cbtest::TempDir dir;
};

}  // namespace

TEST_F(ProgramRun, StartsWithoutSettingsAndWritesThemOnClose) {
    ASSERT_EQ(Run(), 0);
    const std::string ini = dir.file("app.ini");
    ASSERT_TRUE(fs::exists(ini));
    cb::rtl::TMemIniFile settings(ini);
    EXPECT_EQ(settings.ReadString("AppSettings", "CurrentTheme", ""), "Default");
    EXPECT_EQ(settings.ReadString("AppSettings", "StartMaxed", ""), "0");
    EXPECT_EQ(settings.ReadString("AppSettings", "DontDisplayTutorialOnStartup", ""), "0");
    EXPECT_TRUE(fs::exists(dir.file("tavo_browser_connection_list.con")));
    EXPECT_EQ(Log(), "");

    // A second run keeps the chosen theme and the other settings.
    cbtest::writeFile(ini, "[AppSettings]\r\nCurrentTheme=Ocean\r\nStartMaxed=1\r\nReopenLastCube=1\r\n");
    ASSERT_EQ(Run(), 0);
    cb::rtl::TMemIniFile again(ini);
    EXPECT_EQ(again.ReadString("AppSettings", "CurrentTheme", ""), "Ocean");
    EXPECT_EQ(again.ReadString("AppSettings", "StartMaxed", ""), "1");
    EXPECT_EQ(again.ReadString("AppSettings", "ReopenLastCube", ""), "1");
}

TEST_F(ProgramRun, MissingThemesStopStartUpWithAMessageAndALogLine) {
    for (const char* themes : {"", "[Themes]\r\nThemeCount=0\r\n"}) {
        fs::remove(dir.file("themes.ini"));
        if (*themes) cbtest::writeFile(dir.file("themes.ini"), themes);
        EXPECT_EQ(Run(), 1);  // a clean stop, not a crash
        EXPECT_FALSE(fs::exists(dir.file("app.ini")));
    }
    EXPECT_EQ(Log(), std::string(TCubeBrowserConfig::MissingFilesMessage) + "\r\n" +
                         TCubeBrowserConfig::MissingFilesMessage + "\r\n");
}
