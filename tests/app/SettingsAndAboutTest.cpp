// The settings dialog (the theme preview follows the chosen theme, Cancel
// puts the old theme back, Done saves) and the about box, driven as a person
// would, with screenshots.
#include "app/core/query/DisplayManager.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/dialogs/AboutBox.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/dialogs/SettingsDialog.h"
#include "grid/ExtStringGrid.h"
#include "grid/markup/MarkupLabel.h"
#include "tests/app/SmallWindowsSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace cb::app;
using cb::grid::TExtStringGrid;

namespace {

// How many cells of the grid are painted in colours of each theme.
std::pair<int, int> CellsByTheme(const TExtStringGrid& grid) {
    const auto warm = cbtest::ThemeColours(1), cool = cbtest::ThemeColours(2);
    int inWarm = 0, inCool = 0;
    for (int c = 0; c < grid.ColCount(); ++c)
        for (int r = 0; r < grid.RowCount(); ++r)
            if (const auto* p = grid.GetCellObject(c, r)) {
                inWarm += warm.count(p->BrushColor()) ? 1 : 0;
                inCool += cool.count(p->BrushColor()) ? 1 : 0;
            }
    return {inWarm, inCool};
}

// Runs fn on the modal dialog once it is up.
template <class TForm>
void WhenModal(std::function<void(TForm&)> fn) {
    QTimer::singleShot(0, [fn] {
        auto* form = qobject_cast<TForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        fn(*form);
    });
}

}  // namespace

TEST(SettingsDialog, PreviewFollowsTheThemeAndCancelPutsTheOldOneBack) {
    cbtest::TSmallWindowsEnv env;
    ASSERT_EQ(env.Config->GetCurrentTheme()->Name, "Warm");
    TfrmSettings form(env.Context(), nullptr);
    EXPECT_EQ(form.windowTitle(), "Tavo Browser Settings");
    EXPECT_EQ(form.pcSettings->currentWidget(), form.tsGeneral);
    EXPECT_EQ(form.size(), QSize(455, 317));
    EXPECT_FALSE(form.chkStartMaximized->isChecked());
    ASSERT_EQ(form.cboActiveTheme->count(), 2);
    EXPECT_EQ(form.cboActiveTheme->currentText(), "Warm");
    EXPECT_FALSE(form.ThemeChanged());  // loading is no change

    // Without a cube the preview is a sample in the current theme.
    const TExtStringGrid& preview = *form.gridCurrentTheme;
    EXPECT_EQ(preview.ColCount(), 5);
    EXPECT_EQ(preview.RowCount(), 5);
    EXPECT_EQ(preview.DefaultRowHeight(), 21);
    EXPECT_EQ(CellsByTheme(preview), std::make_pair(25, 0));

    form.show();
    form.pcSettings->setCurrentWidget(form.tsGridDisplay);
    cbtest::SaveScreenshot(form, "settings_grid_warm.png");
    form.cboActiveTheme->setCurrentIndex(1);
    EXPECT_EQ(CellsByTheme(preview), std::make_pair(0, 25));
    EXPECT_EQ(env.Config->GetCurrentTheme()->Name, "Cool");
    EXPECT_TRUE(form.ThemeChanged());
    cbtest::SaveScreenshot(form, "settings_grid_cool.png");

    QTest::keyClick(&form, Qt::Key_Escape);  // Cancel
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(env.Config->GetCurrentTheme()->Name, "Warm");
    EXPECT_FALSE(form.ThemeChanged());
    EXPECT_EQ(env.ReadSetting("CurrentTheme"), "<missing>");  // nothing saved
}

TEST(SettingsDialog, DoneSavesTheThemeAndStartMaximized) {
    cbtest::TSmallWindowsEnv env;
    QWidget owner;
    owner.resize(760, 550);
    owner.show();
    TFeatureContext context{&owner, nullptr, nullptr, env.Context()};
    WhenModal<TfrmSettings>([](TfrmSettings& form) {
        cbtest::SaveScreenshot(form, "settings_general.png");
        QTest::mouseClick(form.chkStartMaximized, Qt::LeftButton);
        form.pcSettings->setCurrentWidget(form.tsGridDisplay);
        form.cboActiveTheme->setCurrentIndex(1);
        QTest::mouseClick(form.btnDone, Qt::LeftButton);
    });
    EXPECT_TRUE(ShowSettingsDialog(context));
    EXPECT_TRUE(env.Config->StartMaxed);
    EXPECT_EQ(env.Config->GetCurrentTheme()->Name, "Cool");
    EXPECT_EQ(env.ReadSetting("CurrentTheme"), "Cool");
    EXPECT_EQ(env.ReadSetting("StartMaxed"), "1");

    // OK without a change of theme: nothing to refresh. Closing by the
    // window is Cancel.
    WhenModal<TfrmSettings>([](TfrmSettings& form) { QTest::mouseClick(form.btnDone, Qt::LeftButton); });
    EXPECT_FALSE(ShowSettingsDialog(context));
    WhenModal<TfrmSettings>([](TfrmSettings& form) {
        form.cboActiveTheme->setCurrentIndex(0);
        form.close();
    });
    EXPECT_FALSE(ShowSettingsDialog(context));
    EXPECT_EQ(env.Config->GetCurrentTheme()->Name, "Cool");
}

TEST(SettingsDialog, WithoutThemesNothingIsSelectedAndDoneKeepsWorking) {
    cbtest::TempDir dir;  // no themes.ini
    TCubeBrowserConfig config(dir.file("app.ini"), dir.path().string());
    ASSERT_EQ(config.GetCurrentTheme(), nullptr);
    cbtest::TRecordingUI ui;
    TfrmSettings form(TAppContext{nullptr, &config, &ui}, nullptr);
    EXPECT_EQ(form.cboActiveTheme->count(), 0);
    EXPECT_EQ(form.SelectedTheme(), nullptr);
    EXPECT_EQ(form.gridCurrentTheme->Cells(0, 0), "Time");  // the sample in built-in colours
    form.chkStartMaximized->setChecked(true);
    form.btnDoneClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(config.GetCurrentTheme(), nullptr);
    EXPECT_TRUE(ui.Errors.empty());
    EXPECT_EQ(cb::rtl::TMemIniFile(dir.file("app.ini")).ReadString("AppSettings", "StartMaxed", ""), "1");
}

TEST(SettingsDialog, PreviewOfTheOpenViewLeavesTheMainGridAlone) {
    cbtest::TSmallWindowsEnv env;
    TAppContext context = env.Context();
    TDisplayManager dm(context, std::make_unique<TMDXDisplayManager>(context));
    auto connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), context);
    TExtStringGrid mainGrid;
    dm.OpenCube(connection.get(), &mainGrid, nullptr);
    ASSERT_TRUE(dm.IsCubeOpen());
    const auto before = CellsByTheme(mainGrid);
    ASSERT_GT(before.first, 0);
    ASSERT_EQ(before.second, 0);
    const std::string mainText = mainGrid.Cells(0, 0) + "|" + mainGrid.Cells(1, 2);

    TfrmSettings form(context, &dm);
    EXPECT_GT(CellsByTheme(*form.gridCurrentTheme).first, 0);
    form.cboActiveTheme->setCurrentIndex(1);
    const auto preview = CellsByTheme(*form.gridCurrentTheme);
    EXPECT_EQ(preview.first, 0);
    EXPECT_EQ(preview.second, before.first);  // the same view, in the other theme
    EXPECT_EQ(form.gridCurrentTheme->Cells(0, 0) + "|" + form.gridCurrentTheme->Cells(1, 2), mainText);
    EXPECT_EQ(CellsByTheme(mainGrid), before);
    EXPECT_EQ(dm.GetGrid(), &mainGrid);
    form.show();
    form.pcSettings->setCurrentWidget(form.tsGridDisplay);
    cbtest::SaveScreenshot(form, "settings_grid_view.png");
    form.reject();
    EXPECT_EQ(env.Config->GetCurrentTheme()->Name, "Warm");
}

TEST(AboutBox, ShowsTheVersionAndClosesOnAnyClick) {
    cbtest::TSmallWindowsEnv env;
    TFeatureContext context{nullptr, nullptr, nullptr, env.Context()};
    struct Case {
        const char* name;
        std::function<QWidget*(TfrmAbout&)> target;
    } cases[] = {
        {"picture", [](TfrmAbout& f) { return f.imgBackground; }},
        {"version", [](TfrmAbout& f) { return f.lblVersion; }},
        {"site line", [](TfrmAbout& f) { return f.lblLinktoWebsite; }},
        {"Close", [](TfrmAbout& f) { return f.lblClose; }},
    };
    for (const Case& c : cases) {
        bool seen = false;
        WhenModal<TfrmAbout>([&](TfrmAbout& form) {
            seen = true;
            EXPECT_EQ(form.size(), QSize(441, 250));
            EXPECT_EQ(form.lblVersion->text(), "Version:  2.1");
            EXPECT_NE(form.lblLinktoWebsite->HTMLText().find("not set"), std::string::npos);
            if (std::string(c.name) == "picture") cbtest::SaveScreenshot(form, "about_no_site.png");
            QWidget* w = c.target(form);
            QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() - 3, w->height() / 2));
        });
        ShowAboutBox(context);  // returns once closed
        EXPECT_TRUE(seen) << c.name;
    }
    // With a site set, the line links to it.
    env.Config->WebSite = "https://cubes.example.org/";
    TfrmAbout about(env.Config->WebSite);
    EXPECT_NE(about.lblLinktoWebsite->HTMLText().find("<a href=\"https://cubes.example.org/\">"), std::string::npos);
    about.show();
    cbtest::SaveScreenshot(about, "about.png");
}
