// Sorting checked as tables: a column of texts, a style, a direction, and
// the order expected.
#include "grid/ExtStringGrid.h"
#include "grid/data/GridSort.h"
#include "platform/rtl/ScopeGuard.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace cb::grid;

namespace {

// A grid with one fixed row and the texts in column 1 (column 2 holds the
// original position, so rows can be followed).
void Fill(TExtStringGrid& grid, const std::vector<std::string>& texts) {
    grid.SetColCount(3);
    grid.SetRowCount(int(texts.size()) + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    for (int i = 0; i < int(texts.size()); ++i) {
        grid.SetCells(1, i + 1, texts[size_t(i)]);
        grid.SetCells(2, i + 1, std::to_string(i));
    }
}

std::vector<std::string> Column(const TExtStringGrid& grid, int col, int first = 1) {
    std::vector<std::string> out;
    for (int r = first; r < grid.RowCount(); ++r) out.push_back(grid.Cells(col, r));
    return out;
}

struct SortCase {
    const char* name;
    std::vector<std::string> texts;
    TSortStyle style;  // ssAutomatic: no OnGetFormat
    const char* prefix;
    const char* suffix;
    TSortDirection direction;
    std::vector<std::string> expected;
};

}  // namespace

TEST(SortTest, ColumnsByStyle) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto locale = cb::rtl::OnScopeExit([] { QLocale::setDefault(QLocale::c()); });
    const SortCase cases[] = {
        {"numbers", {"10", "9", "100", "-3"}, ssAutomatic, "", "", sdAscending, {"-3", "9", "10", "100"}},
        {"numbers descending", {"10", "9", "100"}, ssAutomatic, "", "", sdDescending, {"100", "10", "9"}},
        {"thousand separators",
         {"1,200", "950", "12,000.5"},
         ssAutomatic,
         "",
         "",
         sdAscending,
         {"950", "1,200", "12,000.5"}},
        {"suffixed",
         {"40 kg", "5 kg", "12.5kg", "abc"},
         ssNumeric,
         "",
         " kg",
         sdAscending,
         {"5 kg", "40 kg", "12.5kg", "abc"}},
        {"prefixed", {"$30", "$4", "-7x", "$-2"}, ssNumeric, "$", "", sdAscending, {"$-2", "$4", "$30", "-7x"}},
        {"financial", {"1,000", "200", "3,000,000"}, ssFinancial, "", "", sdAscending, {"200", "1,000", "3,000,000"}},
        {"dates day first",
         {"02/01/2024", "01/02/2024", "31/12/2023", "45/45/2024"},
         ssShortDateEU,
         "",
         "",
         sdAscending,
         {"45/45/2024", "31/12/2023", "02/01/2024", "01/02/2024"}},
        {"dates month first",
         {"02/01/2024", "01/02/2024", "12/31/2023"},
         ssShortDateUS,
         "",
         "",
         sdAscending,
         {"12/31/2023", "01/02/2024", "02/01/2024"}},
        {"automatic dates",
         {"15/03/2024", "01/12/2023", "02/03/2024"},
         ssAutomatic,
         "",
         "",
         sdAscending,
         {"01/12/2023", "02/03/2024", "15/03/2024"}},
        {"bytes", {"b", "A", "a", "B"}, ssAlphabetic, "", "", sdAscending, {"A", "B", "a", "b"}},
        {"no case", {"b", "A", "a", "B"}, ssAlphaNoCase, "", "", sdAscending, {"A", "a", "b", "B"}},
        {"locale",
         {"f", "\xC3\xA9t\xC3\xA9", "e", "Ezra"},
         ssAnsiAlphaNoCase,
         "",
         "",
         sdAscending,
         {"e", "\xC3\xA9t\xC3\xA9", "Ezra", "f"}},
        {"locale with case", {"b", "B", "a"}, ssAnsiAlphaCase, "", "", sdAscending, {"a", "b", "B"}},
        {"mixed column",
         {"b", "10", "", "2", "a", "9/1/2020"},
         ssAutomatic,
         "",
         "",
         sdAscending,
         {"", "2", "10", "9/1/2020", "a", "b"}},
        {"text that only starts like a number",
         {"10/x", "123/4", "2"},
         ssAutomatic,
         "",
         "",
         sdAscending,
         {"2", "10/x", "123/4"}},
        {"html", {"<b>b</b>", "a", "<i>c</i>"}, ssHTML, "", "", sdAscending, {"a", "<b>b</b>", "<i>c</i>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid grid;
        Fill(grid, c.texts);
        if (c.style != ssAutomatic) {
            grid.OnGetFormat = [&](QObject*, int, TSortStyle& style, std::string& prefix, std::string& suffix) {
                style = c.style;
                prefix = c.prefix;
                suffix = c.suffix;
            };
        }
        grid.SortSettings.Column = 1;
        grid.SortSettings.Direction = c.direction;
        SortByColumn(grid);
        EXPECT_EQ(Column(grid, 1), c.expected);
    }
}

TEST(SortTest, TiesFooterBlanksAndFixedColumn) {
    TExtStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(6);
    grid.SetFixedRows(1);
    grid.SetFixedCols(1);
    grid.SetFixedFooters(1);
    const char* rows[][3] = {{"b", "2", "x"}, {"a", "9", "y"}, {"b", "1", "z"}, {"a", "9", "w"}};
    for (int r = 0; r < 4; ++r) {
        grid.SetCells(0, r + 1, std::to_string(r + 1));
        for (int c = 0; c < 3; ++c) grid.SetCells(c + 1, r + 1, rows[r][c]);
    }
    grid.SetCells(1, 5, "Total");
    grid.SortSettings.NormalCellsOnly = true;
    grid.SortSettings.Column = 1;
    SortByColumn(grid);
    // Ties go to the columns on the right, never the left.
    EXPECT_EQ(Column(grid, 3), (std::vector<std::string>{"w", "y", "z", "x", ""}));
    EXPECT_EQ(Column(grid, 1).back(), "Total") << "the footer row stays last";
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"1", "2", "3", "4", ""})) << "row numbers stay";

    grid.SortSettings.Full = false;
    grid.SortSettings.Direction = sdDescending;
    SortByColumn(grid);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"b", "b", "a", "a", "Total"}));
    EXPECT_EQ(Column(grid, 3), (std::vector<std::string>{"z", "x", "w", "y", ""})) << "equal rows keep their order";

    // Blanks last in both directions.
    grid.SetCells(2, 2, "");
    grid.SortSettings.Column = 2;
    grid.SortSettings.IgnoreBlanks = true;
    grid.SortSettings.BlankPos = blLast;
    for (auto dir : {sdAscending, sdDescending}) {
        grid.SortSettings.Direction = dir;
        SortByColumn(grid);
        EXPECT_EQ(grid.Cells(2, 4), "") << "direction " << dir;
    }
}

TEST(SortTest, IndexedSortWithDirections) {
    TExtStringGrid grid;
    Fill(grid, {"b", "a", "b", "a"});
    for (int r = 1; r <= 4; ++r) grid.SetCells(2, r, std::to_string(r));
    grid.SortIndexes.AddIndex(1, true);
    grid.SortIndexes.AddIndex(2, false);
    SortByIndex(grid);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"a", "a", "b", "b"}));
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"4", "2", "3", "1"}));
    grid.SortIndexes.ToggleIndex(1);
    EXPECT_TRUE(TSortIndexList::Descending(grid.SortIndexes.Item(0)));

    grid.SortIndexes.Clear();
    try {
        SortByIndex(grid);
        FAIL();
    } catch (const EExtGridError& e) {
        EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
    }
}

TEST(SortTest, CheckBoxesAndNodeGroups) {
    TExtStringGrid boxes;
    Fill(boxes, {"", "", ""});
    for (int r = 1; r <= 3; ++r) {
        TCellGraphic* g = boxes.CreateCellGraphic(1, r);
        g->CellType = ctCheckBox;
        g->CellBoolean = r != 2;
    }
    boxes.SortSettings.Column = 1;
    SortByColumn(boxes);
    EXPECT_EQ(Column(boxes, 2), (std::vector<std::string>{"1", "0", "2"})) << "unticked first, objects travel";

    // Two groups under node rows and a footer row below the last group.
    TExtStringGrid tree;
    Fill(tree, {"Group A", "c", "a", "b", "Group B", "z", "y", "Sum"});
    tree.SetFixedFooters(1);
    for (int r : {1, 5}) {
        TCellGraphic* g = tree.CreateCellGraphic(0, r);
        g->CellType = ctNode;
        g->CellIndex = r == 1 ? 4 : 3;
    }
    tree.SortSettings.Column = 1;
    SortNodeGroups(tree);
    EXPECT_EQ(Column(tree, 1), (std::vector<std::string>{"Group A", "a", "b", "c", "Group B", "y", "z", "Sum"}));
}

TEST(SortTest, AFailingCompareLeavesTheGridAsItWas) {
    TExtStringGrid grid;
    Fill(grid, {"c", "a", "b", "d"});
    grid.SetRowHeights(2, 40);
    grid.FocusCell(1, 3, true);
    grid.Navigation.MoveRowOnSort = true;
    int calls = 0;
    grid.OnGetFormat = [](QObject*, int, TSortStyle& style, std::string&, std::string&) { style = ssCustom; };
    TSortHooks hooks;
    hooks.OnCustomCompare = [&](QObject*, const std::string& a, const std::string& b, int& res) {
        if (++calls == 4) throw std::runtime_error("compare failed");
        res = a.compare(b);
    };
    grid.SortSettings.Column = 1;
    EXPECT_THROW(SortByColumn(grid, hooks), std::runtime_error);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"c", "a", "b", "d"}));
    EXPECT_EQ(grid.RowCount(), 5) << "no scratch rows left behind";
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.RepaintSuspendCount(), 0);

    // The same sort without the failure: the cursor and the height follow.
    calls = -1000;
    SortByColumn(grid, hooks);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(grid.Row(), 2) << "the cursor follows its row (b)";
    EXPECT_EQ(grid.RowHeights(1), 40) << "the height travels with a";
}
