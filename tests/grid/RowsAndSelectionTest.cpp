#include "grid/ExtStringGrid.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace cb::grid;

namespace {

TEST(DisjunctSelection, RangeChecksAndGrowth) {
    TExtStringGrid grid;
    grid.SetRowCount(10);
    EXPECT_FALSE(grid.IsRowSelected(5));
    EXPECT_EQ(grid.RowSelectListSize(), 6);
    try {
        grid.IsRowSelected(10);
        FAIL();
    } catch (const EExtGridError& e) {
        EXPECT_STREQ(e.what(), "Invalid row accessed");
    }
    try {
        grid.SetColumnSelected(-1, true);
        FAIL();
    } catch (const EExtGridError& e) {
        EXPECT_STREQ(e.what(), "Invalid column accessed");
    }
    grid.SetColumnSelected(2, true);
    grid.SetColumnSelected(3, true);
    EXPECT_EQ(grid.GetSelectedColumnCount(), 2);
    grid.ClearColumnSelection();
    EXPECT_EQ(grid.GetSelectedColumnCount(), 0);
}

TEST(DisjunctSelection, SelectColumnRangeWithAndWithoutDisjunctColumns) {
    TExtStringGrid grid;
    grid.SetRowCount(8);
    grid.SelectColumnRange(3, 1);
    EXPECT_EQ(grid.Selection(), (TGridRect{3, 1, 3, 7}));
    grid.MouseActions.DisjunctColSelect = true;
    grid.SelectColumnRange(2, 10);
    EXPECT_TRUE(grid.IsColumnSelected(2));
    EXPECT_TRUE(grid.IsColumnSelected(4));
    EXPECT_EQ(grid.GetSelectedColumnCount(), 3);  // columns beyond the count are skipped
}

TEST(DisjunctSelection, SelectionToRows) {
    TExtStringGrid grid;
    grid.SetRowCount(10);
    grid.SetRowSelected(8, true);
    grid.SetSelection({1, 2, 1, 4});
    grid.SelectionToRows(false);
    EXPECT_TRUE(grid.IsRowSelected(3));
    EXPECT_TRUE(grid.IsRowSelected(8));
    grid.SelectionToRows(true);
    EXPECT_FALSE(grid.IsRowSelected(8));
    EXPECT_EQ(grid.GetSelectedRowCount(), 3);
}

// Marks keep full row and column numbers and move with their rows and
// columns when others are inserted or removed.
TEST(DisjunctSelection, MarksFollowInsertedAndRemovedRowsAndColumns) {
    TExtStringGrid grid;
    grid.SetColCount(5);
    grid.SetRowCount(100000);
    grid.SetCellSelected(70000, 99999, true);  // beyond 16 bits in both
    EXPECT_TRUE(grid.IsCellSelectedDisjunct(70000, 99999));
    EXPECT_FALSE(grid.IsCellSelectedDisjunct(70000 & 0xFFFF, 99999 & 0xFFFF));

    TExtStringGrid g;
    g.SetColCount(6);
    g.SetRowCount(10);
    g.SetRowSelected(5, true);
    g.SetColumnSelected(4, true);
    g.SetCellSelected(3, 6, true);
    g.SetCellSelected(2, 2, true);

    g.InsertRows(3, 2);
    EXPECT_TRUE(g.IsRowSelected(7));
    EXPECT_FALSE(g.IsRowSelected(5));
    EXPECT_TRUE(g.IsCellSelectedDisjunct(3, 8));
    EXPECT_TRUE(g.IsCellSelectedDisjunct(2, 2));

    g.RemoveRows(1, 2);  // row 2 goes with its cell mark
    EXPECT_TRUE(g.IsRowSelected(5));
    EXPECT_TRUE(g.IsCellSelectedDisjunct(3, 6));
    EXPECT_EQ(g.SelectedCells().size(), 1u);

    g.InsertCols(1, 1);
    EXPECT_TRUE(g.IsColumnSelected(5));
    EXPECT_TRUE(g.IsCellSelectedDisjunct(4, 6));
    g.RemoveCols(0, 2);
    EXPECT_TRUE(g.IsColumnSelected(3));
    EXPECT_TRUE(g.IsCellSelectedDisjunct(2, 6));
}

// --- inserting and removing with cell objects ---------------------------------

struct StyledRows : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.SetColCount(4);
        grid.SetRowCount(8);
        for (int r = 0; r < 8; ++r) {
            std::string text = "r";
            text += std::to_string(r);
            grid.SetCellText(1, r, text);
            grid.SetCellBrushColor(2, r, TColor(r));
        }
    }
};

TEST_F(StyledRows, InsertMovesObjectsDownAndLeavesNewRowsPlain) {
    auto* moved = grid.GetCellObject(2, 2);
    grid.InsertRows(2, 3);
    EXPECT_EQ(grid.RowCount(), 11);
    EXPECT_EQ(grid.GetCellObject(2, 5), moved);
    EXPECT_EQ(moved->OwnerRow, 5);
    for (int r = 2; r < 5; ++r) {
        EXPECT_FALSE(grid.CellHasProperties(2, r));
        EXPECT_EQ(grid.GetCellText(1, r), "");
        EXPECT_EQ(grid.RowHeights(r), grid.DefaultRowHeight());
    }
    EXPECT_EQ(grid.GetCellText(1, 5), "r2");
}

TEST_F(StyledRows, RemoveKeepsTheCursorRowNumber) {
    grid.SetRow(3);
    TGridRect reported{};
    grid.OnCellsChanged = [&](QObject*, const TGridRect& r) { reported = r; };
    grid.RemoveRows(3, 2);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.GetCellText(1, 3), "r5");
    EXPECT_EQ(grid.GetCellBrushColor(2, 3), TColor(5));
    EXPECT_EQ(reported, (TGridRect{0, 3, 3, 5}));

    grid.SetRow(5);
    grid.RemoveRows(4, 2);
    EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
}

TEST_F(StyledRows, ColumnsMoveWithTheirObjects) {
    grid.InsertCols(1, 1);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.GetCellText(2, 4), "r4");
    EXPECT_EQ(grid.GetCellBrushColor(3, 4), TColor(4));
    EXPECT_FALSE(grid.CellHasProperties(1, 4));
    grid.RemoveCols(2, 1);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.GetCellBrushColor(2, 4), TColor(4));
    EXPECT_EQ(grid.GetCellText(2, 4), "");
}

TEST_F(StyledRows, ClearRectFreesMergedRangeAndReportsTheRectangle) {
    grid.SetCellText(1, 1, "merged");
    grid.MergeCellRange(1, 1, 2, 2);
    TGridRect reported{};
    grid.OnCellsChanged = [&](QObject*, const TGridRect& r) { reported = r; };
    grid.ClearRect(1, 1, 2, 2);
    for (int c = 1; c <= 2; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_FALSE(grid.CellHasProperties(c, r));
            EXPECT_EQ(grid.GetCellText(c, r), "");
        }
    EXPECT_EQ(reported, (TGridRect{1, 1, 2, 2}));
}

TEST_F(StyledRows, RemoveSelectedRowsRemovesExactlyTheMarkedOnes) {
    grid.MouseActions.DisjunctRowSelect = true;
    grid.SetRowSelected(2, true);
    grid.SetRowSelected(4, true);
    grid.SetRowSelected(7, true);
    grid.RemoveSelectedRows();
    EXPECT_EQ(grid.RowCount(), 5);
    std::vector<std::string> left;
    for (int r = 0; r < grid.RowCount(); ++r) left.push_back(grid.GetCellText(1, r));
    EXPECT_EQ(left, (std::vector<std::string>{"r0", "r1", "r3", "r5", "r6"}));
}

TEST_F(StyledRows, AppendRowStaysAboveAVisibleFooter) {
    grid.FloatingFooter.SetVisible(true);
    EXPECT_EQ(grid.FixedFooters(), 1);
    EXPECT_TRUE(grid.FooterRowFixed());
    grid.AppendRow();
    EXPECT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.GetCellText(1, 8), "r7");
    EXPECT_EQ(grid.GetCellText(1, 7), "");
    grid.FloatingFooter.SetVisible(false);
    EXPECT_EQ(grid.FixedFooters(), 0);
}

// --- geometry -------------------------------------------------------------------

TEST(Geometry, HitTestsAndScrolledRectangles) {
    TExtStringGrid grid;
    grid.resize(400, 300);
    grid.SetColCount(50);
    grid.SetRowCount(200);
    grid.SetColWidths(3, 100);
    struct Probe {
        int x, y, col, row;
    } probes[] = {
        {5, 5, 0, 0}, {64, 21, 1, 1}, {63, 20, 0, 0}, {64 * 3 + 99, 25, 3, 1}, {64 * 3 + 100, 25, 4, 1},
    };
    for (const auto& p : probes) {
        TGridCoord c = grid.MouseCoord(p.x, p.y);
        EXPECT_EQ(c, (TGridCoord{p.col, p.row})) << p.x << "," << p.y;
    }
    grid.SetTopRow(50);
    grid.SetLeftCol(10);
    EXPECT_EQ(grid.MouseCoord(70, 25), (TGridCoord{10, 50}));
    EXPECT_EQ(grid.MouseCoord(10, 25), (TGridCoord{0, 50}));
    // a cell scrolled out lies above the visible area
    TRect r = grid.GetPlainCellRect(5, 40);
    EXPECT_LT(r.Bottom, 21);
    EXPECT_TRUE(grid.CellRect(5, 40).IsEmpty());
    grid.GotoCell(30, 150);
    EXPECT_EQ(grid.Col(), 30);
    EXPECT_EQ(grid.Row(), 150);
    EXPECT_FALSE(grid.CellRect(30, 150).IsEmpty());
}

TEST(Geometry, RefusesMovesOutsideTheGrid) {
    TExtStringGrid grid;
    EXPECT_THROW(grid.SetRow(99), EExtGridError);
}

// A grid freed before its form: resizing the form afterwards must not reach it.
struct WatchingGrid : TExtStringGrid {
    int* count = nullptr;
    using TExtStringGrid::TExtStringGrid;
    void FormResized(int, int, int, int) override { ++*count; }
};

TEST(FormResize, FreedGridIsNotCalledByItsForm) {
    auto* form = new QWidget;
    form->resize(300, 200);
    int count = 0;
    auto* grid = new WatchingGrid(form);
    grid->count = &count;
    form->show();
    form->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(count, 1);
    delete grid;
    form->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(count, 1);
    delete form;
}

}  // namespace
