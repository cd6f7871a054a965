// The navigator button bar: layout, hints, keyboard, repeat and its panel.
#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/navigator/PlotNavigator.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace cb::chartexport;

namespace {

// Enables every visible button and counts the clicks.
class CountingNavigator : public TCustomPlotNavigator {
public:
    void EnableButtons() override {
        for (int i = 0; i < PlotNavButtonCount; ++i) Button(TPlotNavigateBtn(i))->setEnabled(true);
    }
    void BtnClick(TPlotNavigateBtn index) override {
        ++clicks[index];
        TCustomPlotNavigator::BtnClick(index);
    }
    int clicks[PlotNavButtonCount] = {};
};

TEST(Navigator, NewBarShowsFourDisabledButtonsWithHints) {
    TCustomPlotNavigator nav;
    const char* hints[] = {"First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Post", "Cancel"};
    for (int i = 0; i < PlotNavButtonCount; ++i) {
        auto* b = nav.Button(TPlotNavigateBtn(i));
        EXPECT_EQ(b->isVisibleTo(&nav), i < 4) << i;
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->toolTip().toStdString(), hints[i]);
    }
    nav.SetHints({"Go to the first page", "", "Next page"});
    EXPECT_EQ(nav.Button(nbFirst)->toolTip(), "Go to the first page");
    EXPECT_EQ(nav.Button(nbPrior)->toolTip(), "Prior");  // empty line keeps the default
    EXPECT_EQ(nav.Button(nbNext)->toolTip(), "Next page");
}

TEST(Navigator, LayoutSpreadsTheRemainderOrShrinks) {
    struct Case {
        bool aligned;
        int expectWidth;
        std::vector<int> widths;
    } cases[] = {{true, 103, {26, 25, 26, 26}}, {false, 100, {25, 25, 25, 25}}};
    for (const Case& c : cases) {
        TCustomPlotNavigator nav;
        nav.SetAligned(c.aligned);
        const QSize s = nav.AdjustButtons(103, 25);
        EXPECT_EQ(s.width(), c.expectWidth);
        std::vector<int> widths;
        int x = 0;
        for (int i = 0; i < 4; ++i) {
            const QRect g = nav.Button(TPlotNavigateBtn(i))->geometry();
            EXPECT_EQ(g.x(), x);
            x += g.width();
            widths.push_back(g.width());
        }
        EXPECT_EQ(widths, c.widths);
    }
    TCustomPlotNavigator nav;
    EXPECT_EQ(nav.AdjustButtons(10, 5), QSize(80, 18));  // never below the smallest buttons
}

TEST(Navigator, ArrowsMoveTheFocusOverVisibleButtonsAndSpaceClicks) {
    CountingNavigator nav;
    nav.EnableButtons();
    nav.Button(nbInsert)->setVisible(true);
    nav.Button(nbLast)->setVisible(false);
    nav.show();
    QTest::keyClick(&nav, Qt::Key_Left);
    EXPECT_EQ(nav.FocusedButton(), nbFirst);  // none to the left: stays
    for (int i = 0; i < 3; ++i) QTest::keyClick(&nav, Qt::Key_Right);
    EXPECT_EQ(nav.FocusedButton(), nbInsert);  // the hidden last button is skipped
    QTest::keyClick(&nav, Qt::Key_Right);
    EXPECT_EQ(nav.FocusedButton(), nbInsert);
    QTest::keyClick(&nav, Qt::Key_Space);
    EXPECT_EQ(nav.clicks[nbInsert], 1);
}

TEST(Navigator, HeldButtonRepeatsAfter400ThenEvery100Ms) {
    CountingNavigator nav;
    nav.EnableButtons();
    nav.show();
    auto* next = nav.Button(nbNext);
    QTest::mousePress(next, Qt::LeftButton, {}, next->rect().center());
    ASSERT_NE(next->RepeatTimer(), nullptr);
    EXPECT_EQ(next->RepeatTimer()->interval(), 400);
    EXPECT_EQ(nav.clicks[nbNext], 0);
    QTRY_VERIFY_WITH_TIMEOUT(nav.clicks[nbNext] >= 3, 5000);
    EXPECT_EQ(next->RepeatTimer()->interval(), 100);
    QTest::mouseRelease(next, Qt::LeftButton, {}, next->rect().center());
    EXPECT_FALSE(next->RepeatTimer()->isActive());
    EXPECT_EQ(nav.FocusedButton(), nbNext);
}

TEST(Navigator, ListensToItsPanelUntilThePanelGoes) {
    TCustomPlotNavigator nav;
    auto panel = std::make_unique<cb::chart::TCustomPlotPanel>();
    nav.SetPanel(panel.get());
    EXPECT_EQ(panel->Listeners().Count(), 1);
    nav.SetPanel(nullptr);
    EXPECT_EQ(panel->Listeners().Count(), 0);
    nav.SetPanel(panel.get());
    panel.reset();
    EXPECT_EQ(nav.Panel(), nullptr);
}

}  // namespace
