// Hidden rows with display and real numbering, tree nodes, the row filter,
// the footer row's calculations and merged columns.
#include "grid/ExtStringGrid.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::grid;

namespace {

// 10 rows, one fixed; column 1 holds "r<row>".
void Fill(TExtStringGrid& grid) {
    grid.SetColCount(3);
    grid.SetRowCount(10);
    for (int r = 0; r < 10; ++r) grid.SetCellText(1, r, "r" + std::to_string(r));
}

// Column 1 of the shown rows.
std::vector<std::string> Shown(const TExtStringGrid& grid) {
    std::vector<std::string> out;
    for (int r = 0; r < grid.RowCount(); ++r) out.push_back(grid.Cells(1, r));
    return out;
}

TCellGraphic* Node(TExtStringGrid& grid, int row, int span) {
    TCellGraphic* g = grid.CreateCellGraphic(0, row);
    g->CellType = ctNode;
    g->CellIndex = span;
    return g;
}

struct Rows : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override { Fill(grid); }
    std::vector<std::string> Shown() const { return ::Shown(grid); }
    TCellGraphic* Node(int row, int span) { return ::Node(grid, row, span); }
};

TEST_F(Rows, NumberingAroundHiddenRows) {
    grid.HideRows(3, 4);
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(grid.HiddenRowCount(), 2);
    const struct { int real, display; } realToDisplay[] = {{2, 2}, {3, 3}, {4, 3}, {5, 3}, {9, 7}, {10, 8}};
    for (const auto& c : realToDisplay) EXPECT_EQ(grid.RealToDisplayRow(c.real), c.display) << c.real;
    const struct { int display, real; } displayToReal[] = {{2, 2}, {3, 5}, {7, 9}, {8, 10}};
    for (const auto& c : displayToReal) EXPECT_EQ(grid.DisplayToRealRow(c.display), c.real) << c.display;
    EXPECT_TRUE(grid.IsRowHidden(4));
    EXPECT_FALSE(grid.IsRowHidden(5));

    // A range whose first row is hidden already does nothing.
    grid.HideRows(4, 6);
    EXPECT_EQ(grid.RowCount(), 8);
}

TEST_F(Rows, HiddenRowsComeBackWithTheirObjectsAndHeights) {
    grid.SetCellBrushColor(2, 3, 0x00FF00);
    TCellGraphic* check = grid.CreateCellGraphic(2, 4);
    check->CellType = ctCheckBox;
    const TCellProperties* props = grid.GetCellObject(2, 3);
    grid.SetRowHeights(4, 40);
    grid.HideRows(3, 4);
    EXPECT_EQ(grid.Cells(1, 3), "r5");
    grid.UnhideRows(3, 4);
    EXPECT_EQ(grid.HiddenRowCount(), 0);
    EXPECT_EQ(grid.Cells(1, 3), "r3");
    EXPECT_EQ(grid.Cells(1, 4), "r4");
    EXPECT_EQ(grid.GetCellObject(2, 3), props);
    EXPECT_EQ(grid.GetCellBrushColor(2, 3), 0x00FF00u);
    EXPECT_EQ(grid.GetCellGraphic(2, 4), check);
    EXPECT_EQ(grid.RowHeights(4), 40);
    EXPECT_EQ(props->OwnerRow, 3);
}

TEST_F(Rows, UnhideAllPutsEveryRowBackInPlace) {
    grid.HideRows(7, 8);
    grid.HideRows(2, 3);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r4", "r5", "r6", "r9"}));
    grid.UnhideAllRows();
    EXPECT_EQ(grid.HiddenRowCount(), 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(Rows, NodesFoldTheirGroups) {
    // node row, span (0: up to the next node), a later node, rows shown after
    // contracting, display to real map after contracting.
    const struct {
        const char* name;
        int node, span, nextNode;
        std::vector<std::string> contracted;
        std::vector<std::pair<int, int>> displayToReal;
    } cases[] = {
        {"span 3", 2, 3, -1, {"r0", "r1", "r2", "r5", "r6", "r7", "r8", "r9"}, {{2, 2}, {3, 5}, {7, 9}}},
        {"to the next node", 2, 0, 6, {"r0", "r1", "r2", "r6", "r7", "r8", "r9"}, {{2, 2}, {3, 6}}},
        {"to the end", 2, 0, -1, {"r0", "r1", "r2"}, {{2, 2}, {3, 10}}},
        {"one row", 2, 1, -1, {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}, {{3, 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid g;
        Fill(g);
        TCellGraphic* node = ::Node(g, c.node, c.span);
        if (c.nextNode >= 0) ::Node(g, c.nextNode, 0);
        g.ContractNode(c.node);
        EXPECT_TRUE(node->CellBoolean);
        EXPECT_TRUE(g.IsNodeContracted(c.node));
        EXPECT_EQ(::Shown(g), c.contracted);
        for (const auto& [display, real] : c.displayToReal) EXPECT_EQ(g.DisplayToRealRow(display), real);
        g.ExpandNode(c.node);
        EXPECT_FALSE(node->CellBoolean);
        EXPECT_EQ(g.HiddenRowCount(), 0);
        EXPECT_EQ(::Shown(g), ::Shown(grid));
    }
}

TEST_F(Rows, NodeOperationsThatDoNothing) {
    Node(2, 3);
    grid.ExpandNode(2);  // not contracted
    EXPECT_EQ(grid.RowCount(), 10);
    grid.ContractNode(5);  // no node
    EXPECT_EQ(grid.RowCount(), 10);
    grid.ContractNode(2);
    grid.ContractNode(2);  // already contracted
    EXPECT_EQ(grid.RowCount(), 8);
}

TEST_F(Rows, FoldingKeepsTheFooterRowInView) {
    grid.FloatingFooter.SetVisible(true);
    Node(2, 0);
    grid.ContractNode(2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r2", "r9"}));
}

TEST_F(Rows, TreeLinePositions) {
    Node(1, 3);
    Node(4, 0);
    EXPECT_EQ(grid.NodeCount(), 2);
    EXPECT_EQ(grid.GetTreeLinePosition(1), 0);  // a node
    EXPECT_EQ(grid.GetTreeLinePosition(2), 2);  // inside the group
    EXPECT_EQ(grid.GetTreeLinePosition(3), 1);  // its last row
    EXPECT_EQ(grid.GetTreeLinePosition(5), 2);
    EXPECT_EQ(grid.GetTreeLinePosition(9), 1);  // the last normal row
}

TEST_F(Rows, ClearingAllCellsClearsHiddenRowsToo) {
    grid.SetCellBrushColor(2, 3, 0x00FF00);
    grid.HideRows(3, 4);
    grid.ClearAllCells();
    grid.UnhideAllRows();
    EXPECT_EQ(grid.Cells(1, 3), "");
    EXPECT_EQ(grid.Cells(1, 4), "");
    EXPECT_FALSE(grid.CellHasProperties(2, 3));
}

// ---------------------------------------------------------------------------
// Filter

struct FilterRows : Rows {
    std::vector<int> progress;
    void SetUp() override {
        Rows::SetUp();
        grid.OnFilterProgress = [this](QObject*, int p) { progress.push_back(p); };
    }
};

TEST_F(FilterRows, FailingRowsAreHiddenAndComeBack) {
    TFilterData& f = grid.Filter.Add();
    f.Column = 1;
    f.Condition = "!r4";
    grid.SetFilterActive(true);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r5", "r6", "r7", "r8", "r9"}));
    EXPECT_EQ(grid.DisplayToRealRow(4), 5);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    grid.SetFilterActive(false);
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(grid.Cells(1, 4), "r4");
}

TEST_F(FilterRows, FilterOverRowsAlreadyHidden) {
    // Rows 2 to 3 are folded away; the filter hides the odd rows it sees.
    grid.HideRows(2, 3);
    TFilterData& f = grid.Filter.Add();
    f.Column = 1;
    f.Condition = "!*1&!*3&!*5&!*7&!*9";
    grid.SetFilterActive(true);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r4", "r6", "r8"}));
    for (int real : {1, 2, 3, 5, 7, 9}) EXPECT_TRUE(grid.IsRowHidden(real)) << real;
    grid.SetFilterActive(false);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(FilterRows, NoRowPassesLeavesAnEmptyRowBelowTheFixedOne) {
    TFilterData& f = grid.Filter.Add();
    f.Column = 1;
    f.Condition = "nothing";
    grid.SetFilterActive(true);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Cells(1, 0), "r0");
    EXPECT_EQ(grid.Cells(1, 1), "");
    grid.SetFilterActive(false);
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
}

TEST_F(FilterRows, EmptyFilterAndNoNormalRowsReportDone) {
    grid.SetFilterActive(true);
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(progress.back(), 100);
    grid.SetFilterActive(false);

    // Only the fixed row: nothing to examine, no division by zero.
    progress.clear();
    grid.SetRowCount(1);
    grid.SetFixedRows(0);
    grid.ApplyFilter();
    EXPECT_EQ(progress, std::vector<int>{100});
}

// ---------------------------------------------------------------------------
// Footer row

struct Footer : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.SetColCount(3);
        grid.SetRowCount(5);  // header, three values, footer
        const char* values[] = {"3", "1", "2"};
        for (int r = 1; r <= 3; ++r) grid.SetCellText(1, r, values[r - 1]);
        grid.FloatingFooter.SetVisible(true);
    }
    void Kind(int col, int kind) { grid.EnsureCellProperties(col, grid.RowCount() - 1)->FooterCalcKind = kind; }
};

TEST_F(Footer, CalculationsByKind) {
    const struct {
        int kind;
        const char* text;
    } cases[] = {{1, "6.00"}, {2, "2.00"}, {3, "3.00"}, {4, "1.00"}, {5, "3.00"}, {0, ""}, {0x81, "6.00"}, {9, "keep"}};
    for (const auto& c : cases) {
        grid.SetCellText(1, 4, "keep");
        Kind(1, c.kind);
        grid.UpdateFooter(1);
        EXPECT_EQ(grid.Cells(1, 4), c.text) << c.kind;
    }
}

TEST_F(Footer, FollowsChangesAndSkipsCellsWithoutKind) {
    Kind(1, 1);
    grid.SetCellText(2, 4, "mine");
    grid.RemoveRows(1, 1);  // a change of cells recomputes it
    EXPECT_EQ(grid.Cells(1, grid.RowCount() - 1), "3.00");
    EXPECT_EQ(grid.Cells(2, grid.RowCount() - 1), "mine");
}

TEST_F(Footer, RowsInsertedByKeyAreCounted) {
    Kind(1, 3);
    grid.Navigation.AllowInsertRow = true;
    grid.SetSelection({1, 2, 1, 2});
    QTest::keyClick(&grid, Qt::Key_Insert);
    EXPECT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Cells(1, 5), "4.00");
}

TEST_F(Footer, EmptyRangeAndOtherStyles) {
    grid.SetRowCount(2);  // header and footer only
    for (int kind : {2, 4, 5}) {
        grid.SetCellText(1, 1, "x");
        Kind(1, kind);
        grid.UpdateFooter(1);
        EXPECT_EQ(grid.Cells(1, 1), "") << kind;  // no value, no division by zero
    }
    Kind(1, 1);
    grid.UpdateFooter(1);
    EXPECT_EQ(grid.Cells(1, 1), "0.00");
    EXPECT_EQ(grid.MinColumnRange(1, 3, 2), 0);
    EXPECT_EQ(grid.MaxColumnRange(1, 3, 2), 0);

    grid.FloatingFooter.SetFooterStyle(fsColumnPreview);
    grid.SetCellText(1, 1, "keep");
    grid.UpdateFooter(-1);
    EXPECT_EQ(grid.Cells(1, 1), "keep");
}

TEST_F(Footer, TextInASummedColumnRaisesButChangesGoOn) {
    Kind(1, 1);
    grid.SetCellText(1, 2, "1.2.3");
    EXPECT_THROW(grid.UpdateFooter(1), EExtGridError);
    EXPECT_NO_THROW(grid.ClearRowRange(3, 1));  // the change itself is not refused
}

// ---------------------------------------------------------------------------
// Merged columns

TEST(MergedColumns, ListedColumnsMergeEqualRunsInsideEarlierOnes) {
    TExtStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(6);
    const char* a[] = {"", "x", "x", "x", "y", "y"};
    const char* b[] = {"", "p", "p", "q", "q", "q"};
    for (int r = 0; r < 6; ++r) {
        grid.SetCellText(1, r, a[r]);
        grid.SetCellText(2, r, b[r]);
    }
    grid.MergeColumnList.AddValue(1);
    grid.MergeColumnList.AddValue(2);
    EXPECT_EQ(grid.GetMergedSpan(1, 1).Y, 2);
    EXPECT_EQ(grid.GetMergedSpan(1, 4).Y, 1);
    // Column 2 merges only inside column 1's blocks: q of row 3 stays apart.
    EXPECT_EQ(grid.GetMergedSpan(2, 1).Y, 1);
    EXPECT_FALSE(grid.IsInMergedRange(2, 3));
    EXPECT_EQ(grid.GetMergedSpan(2, 4).Y, 1);

    grid.SplitAllColumnMerges();
    for (int r = 1; r < 6; ++r) {
        EXPECT_FALSE(grid.IsInMergedRange(1, r));
        EXPECT_FALSE(grid.IsInMergedRange(2, r));
    }
}

}  // namespace
