#include "grid/GridAxis.h"
#include "grid/ExtStringGrid.h"

#include <gtest/gtest.h>

using namespace cb::grid;

namespace {

TEST(GridAxis, PositionsHitsAndVisibleRuns) {
    TGridAxis axis;
    axis.Sizes = {10, 20, 30, 40, 50};  // edges 0 10 30 60 100 150
    EXPECT_EQ(axis.Pos(3), 60);
    EXPECT_EQ(axis.Pos(99), 150);  // clamped
    EXPECT_EQ(axis.IndexAt(29, 0, 5), 1);
    EXPECT_EQ(axis.IndexAt(30, 0, 5), 2);
    EXPECT_EQ(axis.IndexAt(150, 0, 5), -1);
    EXPECT_EQ(axis.IndexAt(5, 1, 5), -1);  // before the range
    EXPECT_EQ(axis.VisibleCount(1, 50), 2);
    EXPECT_EQ(axis.VisibleCount(4, 10), 1);  // never less than one
    EXPECT_EQ(axis.MaxFirst(1, 90), 3);
    EXPECT_EQ(axis.FirstShowing(1, 4, 95), 3);
    EXPECT_EQ(axis.FirstShowing(3, 1, 95), 1);  // before first: the index itself
    axis.Sizes[0] = 15;
    axis.Invalidate();
    EXPECT_EQ(axis.Pos(5), 155);
}

// A row taller than the area stays the top row when it gets the focus.
TEST(GridAxis, FocusOnACellLargerThanTheAreaShowsItsStart) {
    TExtStringGrid grid;
    grid.resize(200, 120);
    grid.SetScrollBars(ssNone);
    grid.SetColCount(6);
    grid.SetRowCount(8);
    grid.SetRowHeights(5, 500);
    grid.SetColWidths(4, 900);
    grid.FocusCell(4, 5, true);
    EXPECT_EQ(grid.TopRow(), 5);
    EXPECT_EQ(grid.LeftCol(), 4);
    EXPECT_FALSE(grid.CellRect(4, 5).IsEmpty());
}

}  // namespace
