// Flat scroll bars with proportional thumbs and scroll hints, and clicks on
// the graphics of cells (nodes, check boxes, radio items, buttons).
#include "grid/ExtStringGrid.h"
#include "grid/paint/GridScrollBar.h"
#include "tests/grid/GridTestSupport.h"

#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::grid;
using namespace cb::grid::test;

namespace {

// 100 rows of 50 pixels, one fixed: 10 scrolled rows fit below the header
// (a tall bar, so that no thumb needs the style's smallest length).
struct Bars : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.SetColCount(3);
        grid.SetRowCount(100);
        grid.SetDefaultRowHeight(50);
        grid.SetScrollBars(ssVertical);
        grid.resize(200, 50 * 11 + 5);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        ASSERT_EQ(grid.VisibleRowCount(), 10);
    }
};

TEST_F(Bars, ProportionalThumbIsThirteenOf128Steps) {
    grid.SetScrollProportional(true);
    TGridScrollBar* bar = grid.VertScrollBar();
    EXPECT_EQ(bar->pageStep(), 13);
    EXPECT_EQ(bar->maximum(), 128 - 13);
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = Qt::Vertical;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.pageStep = bar->pageStep();
    const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarGroove, bar);
    EXPECT_NEAR(double(bar->ThumbRect().height()) / groove.height(), 13.0 / 128, 0.02);

    // Positions map to rows across the whole range.
    bar->setValue(bar->maximum());
    EXPECT_EQ(grid.TopRow(), 90);
    bar->setValue(0);
    EXPECT_EQ(grid.TopRow(), 1);
    grid.SetTopRow(50);
    EXPECT_NEAR(bar->value(), (50 - 1) * 115 / 89, 1);

    grid.SetScrollProportional(false);
    EXPECT_EQ(bar->maximum(), 90);
}

TEST_F(Bars, FlatBarsDrawTheirColourAndThumb) {
    grid.SetScrollType(ssFlat);
    grid.SetScrollColor(0x00FFFF);  // yellow
    grid.SetScrollWidth(20);
    grid.SetScrollProportional(true);
    TGridScrollBar* bar = grid.VertScrollBar();
    EXPECT_EQ(bar->width(), 20);
    const QImage img = bar->grab().toImage();
    const QRect thumb = bar->ThumbRect();
    const int x = bar->width() / 2;
    EXPECT_NE(Px(img, x, thumb.center().y()), 0x00FFFFu);  // the thumb
    // The groove below the thumb shows the bar colour, and the thumb's ink
    // spans its 13 steps.
    int thumbPixels = 0;
    for (int y = 0; y < img.height(); ++y)
        if (Px(img, x, y) != 0x00FFFFu) ++thumbPixels;
    EXPECT_EQ(Px(img, x, thumb.bottom() + 5), 0x00FFFFu);
    EXPECT_GE(thumbPixels, thumb.height());

    grid.SetScrollType(ssNormal);
    grid.SetScrollProportional(false);
    EXPECT_FALSE(grid.FlatScrollActive());
    EXPECT_EQ(bar->Look(), sblNormal);
}

TEST_F(Bars, HintShowsTheRowTheThumbBringsToTheTop) {
    grid.ScrollHints = shVertical;
    std::vector<int> asked;
    grid.OnScrollHint = [&](QObject*, int n, std::string& hint) {
        asked.push_back(n);
        hint += "!";
    };
    TGridScrollBar* bar = grid.VertScrollBar();
    emit bar->sliderMoved(bar->maximum());
    ASSERT_EQ(asked, std::vector<int>{90});
    grid.SetScrollProportional(true);
    emit bar->sliderMoved(bar->maximum());
    EXPECT_EQ(asked.back(), 90);
    emit bar->sliderReleased();

    grid.ScrollHints = shHorizontal;
    emit bar->sliderMoved(0);
    EXPECT_EQ(asked.size(), 2u);  // not for this bar
}

// ---------------------------------------------------------------------------
// Clicks

struct Clicks : ::testing::Test {
    TExtStringGrid grid;
    std::vector<std::string> log;
    void SetUp() override {
        grid.SetColCount(4);
        grid.SetRowCount(8);
        for (int r = 0; r < 8; ++r) grid.SetCellText(1, r, "r" + std::to_string(r));
        grid.resize(400, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.OnClick = [this](QObject*) { log.push_back("Click"); };
    }
    QPoint At(int col, int row, int dx = -1, int dy = -1) const {
        const TRect r = grid.CellRect(col, row);
        return {dx < 0 ? (r.Left + r.Right) / 2 : r.Left + dx, dy < 0 ? (r.Top + r.Bottom) / 2 : r.Top + dy};
    }
};

TEST_F(Clicks, NodesFoldAndUnfold) {
    TCellGraphic* node = grid.CreateCellGraphic(0, 2);
    node->CellType = ctNode;
    node->CellIndex = 3;
    grid.OnContractNode = [&](QObject*, int row, int real) {
        log.push_back("contract " + std::to_string(row) + " " + std::to_string(real));
    };
    grid.OnExpandNode = [&](QObject*, int row, int real) {
        log.push_back("expand " + std::to_string(row) + " " + std::to_string(real));
    };
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(0, 2));
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Cells(1, 3), "r5");
    EXPECT_EQ(grid.Row(), 2);
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(0, 2));
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(log, (std::vector<std::string>{"contract 2 2", "Click", "expand 2 2", "Click"}));
}

TEST_F(Clicks, CheckBoxesToggleWhenEditable) {
    TCellGraphic* box = grid.CreateCellGraphic(2, 3);
    box->CellType = ctCheckBox;
    grid.OnCheckBoxClick = [&](QObject*, int col, int row, bool state) {
        log.push_back("check " + std::to_string(col) + "," + std::to_string(row) + (state ? " on" : " off"));
    };
    grid.OnCheckBoxMouseUp = [&](QObject*, int, int, bool) { log.push_back("up"); };
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(2, 3));
    EXPECT_FALSE(box->CellBoolean);  // not editable
    log.clear();
    grid.SetOptions(grid.Options() | goEditing);
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(2, 3));
    EXPECT_TRUE(box->CellBoolean);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"check 2,3 on", "Click", "up"}));
}

TEST_F(Clicks, RadioItemsArePicked) {
    grid.SetRowHeights(3, 60);
    TCellGraphic* radio = grid.CreateCellGraphic(2, 3);
    radio->CellType = ctRadio;
    radio->RadioItems = {"a", "b", "c"};
    int picked = -1;
    grid.OnRadioClick = [&](QObject*, int, int, int index) { picked = index; };
    cb::gfx::TCanvas measure;
    measure.Font().Assign(grid.Font());
    const int line = std::max(grid.ControlLook.RadioSize(), measure.TextHeight("gh"));
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(2, 3, 5, line * 2 + 2));
    EXPECT_EQ(picked, 2);
    EXPECT_EQ(radio->CellIndex, 2);
    radio->CellIndex = -1;  // the text names the item
    QTest::mouseClick(&grid, Qt::LeftButton, {}, At(2, 3, 5, line + 2));
    EXPECT_EQ(grid.Cells(2, 3), "b");
    EXPECT_EQ(radio->CellIndex, -1);
}

TEST_F(Clicks, SpaceTogglesEditableCheckBoxesAndCyclesRadioGroups) {
    TCellGraphic* box = grid.CreateCellGraphic(2, 3);
    box->CellType = ctCheckBox;
    TCellGraphic* radio = grid.CreateCellGraphic(3, 3);
    radio->CellType = ctRadio;
    radio->RadioItems = {"a", "b"};
    radio->CellIndex = 1;
    grid.OnCheckBoxClick = [&](QObject*, int col, int row, bool state) {
        log.push_back("check " + std::to_string(col) + "," + std::to_string(row) + (state ? " on" : " off"));
    };
    grid.OnRadioClick = [&](QObject*, int, int, int index) { log.push_back("radio " + std::to_string(index)); };
    grid.setFocus();
    grid.FocusCell(2, 3, true);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_FALSE(box->CellBoolean) << "a read-only grid keeps its boxes";

    grid.SetOptions(grid.Options() | goEditing);
    bool editable = false;
    grid.OnCanEditCell = [&](QObject*, int, int, bool& can) { can = editable; };
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_FALSE(box->CellBoolean) << "refused by OnCanEditCell";
    editable = true;
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_TRUE(box->CellBoolean);
    grid.FocusCell(3, 3, true);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(radio->CellIndex, 0) << "wraps to the first item";
    EXPECT_EQ(log, (std::vector<std::string>{"check 2,3 on", "radio 0"}));
}

TEST_F(Clicks, ACommentIsTheHintAtTheCellsTopRightCorner) {
    TCellGraphic* note = grid.CreateCellGraphic(2, 3);
    note->CellType = ctComment;
    note->CellText = "checked <by> Ann";
    TPoint where;
    const QPoint p = At(2, 3);
    EXPECT_EQ(grid.GetCellHint(p.x(), p.y(), where), "checked &lt;by&gt; Ann");
    const TRect r = grid.CellRect(2, 3);
    EXPECT_EQ(where.X, r.Right);
    EXPECT_EQ(where.Y, r.Top);
    EXPECT_EQ(grid.GetCellHint(At(2, 4).x(), At(2, 4).y(), where), "");
}

TEST_F(Clicks, ButtonsClickOnRelease) {
    TCellGraphic* button = grid.CreateCellGraphic(2, 4);
    button->CellType = ctButton;
    button->CellIndex = (14 << 16) | 40;
    button->CellText = "Go";
    grid.RenderToImage();  // the button learns where it is drawn
    grid.OnButtonClick = [&](QObject*, int col, int row) {
        log.push_back("button " + std::to_string(col) + "," + std::to_string(row));
    };
    TRect r;
    ASSERT_TRUE(grid.GetButtonRect(2, 4, r));
    const QPoint inside((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    QTest::mousePress(&grid, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(button->CellBoolean);  // drawn pressed
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(button->CellBoolean);
    EXPECT_EQ(log, (std::vector<std::string>{"button 2,4"}));
}

}  // namespace
