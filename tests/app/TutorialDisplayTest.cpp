// The tutorial window: walking the steps, its place beside the main window,
// dragging, "Don't show again" saved at once, and an empty steps file.
#include "app/ui/dialogs/TutorialDisplay.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/dialogs/Features.h"
#include "app/ui/main/MainWindow.h"
#include "extras/KitGIFAnimator.h"
#include "grid/markup/MarkupLabel.h"
#include "tests/app/SmallWindowsSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace cb::app;

namespace {

const char* const ThreeSteps = "[Setup]\nTutorialSteps=3\n"
                               "[Step1]\nTitle=Welcome\nDisplayText=<b>Hello</b> there\n"
                               "HelpFileLocation=introduction.htm\nXLocation=30\nYLocation=40\n"
                               "[Step2]\nTitle=Grid\nDisplayText=The grid\nHelpFileLocation=  \n"
                               "[Step3]\nTitle=End\nDisplayText=Bye\nHelpFileLocation=grid view.htm\n"
                               "XLocation=200\nYLocation=10\n";

struct TVisible {
    bool back, next, more;
    bool operator==(const TVisible&) const = default;
};

TVisible Buttons(const TfrmTutorialDisplay& t) {
    EXPECT_EQ(t.imgBack->isVisibleTo(&t), t.lblBack->isVisibleTo(&t));
    EXPECT_EQ(t.imgNext->isVisibleTo(&t), t.lblNext->isVisibleTo(&t));
    return {t.lblBack->isVisibleTo(&t), t.lblNext->isVisibleTo(&t), t.lblDisplayHelp->isVisibleTo(&t)};
}

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

void SendMouse(QWidget* w, QEvent::Type type, QPoint local) {
    QMouseEvent e(type, local, w->mapToGlobal(local), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class TutorialTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setGeometry(100, 80, 760, 550);
        owner.show();
    }
    cbtest::TSmallWindowsEnv env;
    QWidget owner;
};

}  // namespace

TEST_F(TutorialTest, WalksItsStepsBesideTheMainWindow) {
    const std::string file = env.Dir.file("tutorial_steps.ini");
    cbtest::writeFile(file, ThreeSteps);
    TfrmTutorialDisplay t(env.Context(), &owner, file);
    std::vector<std::string> topics;
    t.OnShowHelp = [&](const std::string& topic) { topics.push_back(topic); };
    t.show();
    EXPECT_EQ(t.size(), QSize(434, 248));
    EXPECT_TRUE(t.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(t.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(t.mask().isEmpty());  // shaped
    EXPECT_FALSE(t.mask().contains(QPoint(433, 0)));
    EXPECT_FALSE(t.chkDontShowAgain->isChecked());

    struct Step {
        const char* title;
        const char* text;
        QPoint at;
        TVisible buttons;
    } steps[] = {
        {"Welcome", "<b>Hello</b> there", {30, 40}, {false, true, true}},
        {"Grid", "The grid", {30, 40}, {true, true, false}},  // stepping keeps the window under the pointer
        {"End", "Bye", {30, 40}, {true, false, true}},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(t.CurrentStep(), i);
        EXPECT_EQ(t.lblTitle->text().toStdString(), steps[i].title);
        EXPECT_EQ(t.lblContent->HTMLText(), steps[i].text);
        EXPECT_EQ(t.pos(), owner.pos() + steps[i].at);
        EXPECT_EQ(Buttons(t), steps[i].buttons);
        if (i == 0) cbtest::SaveScreenshot(t, "tutorial_first_step.png");
        if (i == 1) cbtest::SaveScreenshot(t, "tutorial_middle_step.png");
        if (steps[i].buttons.more) Click(t.lblDisplayHelp);
        if (i < 2) Click(i == 0 ? static_cast<QWidget*>(t.lblNext) : t.imgNext);
    }
    EXPECT_EQ(topics, (std::vector<std::string>{"introduction.htm", "grid view.htm"}));
    Click(t.imgBack);
    EXPECT_EQ(t.CurrentStep(), 1);
    // The main window moving puts the step at its own place: no offsets are
    // one pixel left of and above the main window.
    owner.move(owner.pos() + QPoint(1, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.pos() == owner.pos() + QPoint(-1, -1); }, 1000)) << t.pos().x();
    Click(t.lblBack);
    EXPECT_EQ(t.CurrentStep(), 0);
    EXPECT_EQ(t.pos(), owner.pos() + QPoint(-1, -1));
    owner.move(owner.pos() - QPoint(1, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.pos() == owner.pos() + QPoint(30, 40); }, 1000)) << t.pos().x();

    // Dragging moves it; the main window moving brings it back to its place.
    SendMouse(t.imgBackground, QEvent::MouseButtonPress, QPoint(20, 120));
    SendMouse(&t, QEvent::MouseMove, QPoint(20 + 50, 120 + 30));
    SendMouse(&t, QEvent::MouseButtonRelease, QPoint(20 + 50, 120 + 30));
    EXPECT_EQ(t.pos(), owner.pos() + QPoint(30 + 50, 40 + 30));
    owner.move(150, 90);
    EXPECT_TRUE(QTest::qWaitFor([&] { return t.pos() == owner.pos() + QPoint(30, 40); }, 1000)) << t.pos().x();

    Click(t.lblClose);
    EXPECT_FALSE(t.isVisible());
}

TEST_F(TutorialTest, DontShowAgainIsSavedAtOnce) {
    TFeatureContext context{&owner, nullptr, nullptr, env.Context()};
    // The steps file the program ships, in the data folder.
    cbtest::writeFile(env.Dir.file("tutorial_steps.ini"),
                      cbtest::readFile(std::string(CB_SOURCE_DIR) + "/data/tutorial_steps.ini"));
    ShowTutorial(context);
    auto* t = owner.findChild<TfrmTutorialDisplay*>();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->isVisible());
    EXPECT_GT(t->Steps().Count(), 1);
    Click(t->chkDontShowAgain);
    EXPECT_TRUE(env.Config->DontDisplayTutorialOnStartup);
    EXPECT_EQ(env.ReadSetting("DontDisplayTutorialOnStartup"), "1");
    Click(t->chkDontShowAgain);
    EXPECT_EQ(env.ReadSetting("DontDisplayTutorialOnStartup"), "0");

    // Closing only hides it; showing it again starts from the first step.
    Click(t->lblNext);
    Click(t->lblNext);
    EXPECT_EQ(t->CurrentStep(), 2);
    Click(t->imgClose);
    EXPECT_FALSE(t->isVisible());
    ShowTutorial(context);
    EXPECT_EQ(owner.findChild<TfrmTutorialDisplay*>(), t);
    EXPECT_TRUE(t->isVisible());
    EXPECT_EQ(t->CurrentStep(), 0);
    EXPECT_EQ(t->lblTitle->text(), "Welcome to Tavo Browser");
}

TEST_F(TutorialTest, EmptyOrMissingStepsDoNotCrash) {
    const std::string empty = env.Dir.file("empty.ini");
    cbtest::writeFile(empty, "[Setup]\nTutorialSteps=0\n");
    for (const std::string& file : {empty, env.Dir.file("missing.ini")}) {
        TfrmTutorialDisplay t(env.Context(), &owner, file);
        t.show();
        EXPECT_EQ(t.Steps().Count(), 0);
        EXPECT_EQ(t.lblTitle->text(), "Tutorial");
        EXPECT_NE(t.lblContent->HTMLText().find("No tutorial steps"), std::string::npos);
        EXPECT_EQ(Buttons(t), (TVisible{false, false, false}));
        t.Next();
        t.Back();
        t.DisplayHelp();
        EXPECT_EQ(t.CurrentStep(), 0);
        EXPECT_EQ(t.pos(), owner.pos() - QPoint(1, 1));
        EXPECT_TRUE(env.UI.Errors.empty());
    }
}

TEST(TutorialAtStart, AFreshInstallShowsItOnceAndTheSettingKeepsItAway) {
    for (bool dontShow : {false, true}) {
        SCOPED_TRACE(dontShow);
        cbtest::TempDir dir;
        cbtest::writeFile(dir.file("themes.ini"), "[Themes]\r\nThemeCount=1\r\n[Theme1]\r\nName=Default\r\n");
        cbtest::writeFile(dir.file("tutorial_steps.ini"), ThreeSteps);
        cb::app::TCubeBrowserConfig config(dir.file("app.ini"), dir.path().string());
        EXPECT_FALSE(config.DontDisplayTutorialOnStartup);  // the default of a fresh install
        config.DontDisplayTutorialOnStartup = dontShow;
        TfrmMain main(TAppContext{nullptr, &config, nullptr});
        main.show();
        auto shown = [&] {
            int n = 0;
            for (auto* t : main.findChildren<TfrmTutorialDisplay*>()) n += t->isVisible();
            return n;
        };
        EXPECT_EQ(shown(), dontShow ? 0 : 1);
        if (!dontShow) {
            auto* tutorial = main.findChild<TfrmTutorialDisplay*>();
            EXPECT_EQ(tutorial->lblTitle->text(), "Welcome");
            cbtest::SaveScreenshot(*tutorial, "tutorial_at_start.png");
            Click(tutorial->lblClose);
            // Showing the main window again does not bring it back.
            main.hide();
            main.show();
            EXPECT_EQ(shown(), 0);
        }
        main.close();
    }
}
