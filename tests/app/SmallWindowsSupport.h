#pragma once
// Shared by the tests of the small windows: settings read from a temporary
// folder with two themes of unlike colours, a context with a recording user
// interface, and screenshots kept beside the build.
#include "app/core/settings/Config.h"
#include "app/core/theme/GridTheme.h"
#include "tests/app/MDXTestSupport.h"
#include "tests/common/ModalSupport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace cbtest {

// The colours of the two themes: every colour of one differs from every
// colour of the other.
inline std::set<cb::app::TColor> ThemeColours(int which) {
    std::set<cb::app::TColor> colours;
    const unsigned base = which == 1 ? 0xC08040u : 0x40A0E0u;
    colours.insert(base);         // dimension
    colours.insert(base + 0x10);  // data
    for (int k = 0; k < 10; ++k) colours.insert(base + 0x0100u * unsigned(k + 1));
    return colours;
}

inline std::string ThemeSection(int which, const std::string& name) {
    const unsigned base = which == 1 ? 0xC08040u : 0x40A0E0u;
    auto hex = [](unsigned bgr) { return cb::app::ColorToHex(bgr); };
    std::string s = "[Theme" + std::to_string(which) + "]\r\nName=" + name + "\r\nDimensionColor=" + hex(base) +
                    "\r\nDataColor=" + hex(base + 0x10) + "\r\nDimensionFontName=Tahoma\r\nDataFontName=Tahoma\r\n";
    for (int k = 0; k < 10; ++k)
        s += "Depth" + std::to_string(k + 1) + "=" + hex(base + 0x0100u * unsigned(k + 1)) + "\r\nDepthFontName" +
             std::to_string(k + 1) + "=Tahoma\r\n";
    return s;
}

class TSmallWindowsEnv {
public:
    TSmallWindowsEnv() {
        writeFile(Dir.file("themes.ini"),
                  "[Themes]\r\nThemeCount=2\r\n" + ThemeSection(1, "Warm") + ThemeSection(2, "Cool"));
        Config = std::make_unique<cb::app::TCubeBrowserConfig>(Ini(), Dir.path().string());
        Config->SetLog(Log.get());
    }
    std::string Ini() const { return Dir.file("app.ini"); }
    cb::app::TAppContext Context() { return cb::app::TAppContext{Log.get(), Config.get(), &UI}; }
    std::string ReadSetting(const std::string& key) const;

    TempDir Dir;
    std::unique_ptr<cb::app::TLogFile> Log = std::make_unique<cb::app::TLogFile>(Dir.file("cube_browser.log"));
    std::unique_ptr<cb::app::TCubeBrowserConfig> Config;
    TRecordingUI UI;
};

// Enter, move and drop on the widget at the point, as the desktop delivers
// a drag; true when the drop was taken.
inline bool SendDrop(QWidget* target, const QMimeData* data, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// Keeps a picture of the window in the build's "screenshots" folder.
inline void SaveScreenshot(QWidget& window, const std::string& name) {
    const std::string folder = std::string(CB_BIN_DIR) + "/../screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window.grab().save(QString::fromStdString(folder + "/" + name))) << name;
}

}  // namespace cbtest

#include "platform/rtl/IniFile.h"

inline std::string cbtest::TSmallWindowsEnv::ReadSetting(const std::string& key) const {
    return cb::rtl::TMemIniFile(Ini()).ReadString("AppSettings", key, "<missing>");
}
