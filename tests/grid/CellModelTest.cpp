#include "grid/CellGraphic.h"
#include "grid/ExtStringGrid.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace cb::grid;

namespace {

struct MergedGrid : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.SetColCount(6);
        grid.SetRowCount(6);
        grid.SetCellText(1, 1, "base");
        grid.MergeCellRange(1, 1, 3, 2);  // columns 1..3, rows 1..2
    }
};

TEST_F(MergedGrid, BaseAndCoveredCellsRecordTheRange) {
    auto* base = grid.GetCellObject(1, 1);
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->IsBaseCell);
    EXPECT_EQ(base->CellSpanX, 2);
    EXPECT_EQ(base->CellSpanY, 1);
    auto* last = grid.GetCellObject(3, 2);
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(last->IsBaseCell);
    EXPECT_EQ(last->CellSpanX, 2);
    EXPECT_EQ(last->CellSpanY, 1);
    EXPECT_EQ(grid.GetMergedCellRect(3, 2), grid.GetMergedCellRect(1, 1));
    EXPECT_EQ(grid.FindBaseCell(2, 2), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.GetMergedSpan(3, 2), (TGridCoord{2, 1}));
    EXPECT_TRUE(grid.IsMergedAcross(2, 1));
    EXPECT_TRUE(grid.IsMergedDown(3, 2));
    EXPECT_FALSE(grid.IsInMergedRange(4, 1));
    EXPECT_EQ(grid.GetMergedCellSize(1, 1).cx, 3 * grid.DefaultColWidth());
    EXPECT_EQ(grid.GetMergedCellSize(1, 1).cy, 2 * grid.DefaultRowHeight());
}

TEST_F(MergedGrid, ReadsAndWritesOfAnyCellGoToTheBase) {
    EXPECT_EQ(grid.GetCellText(3, 2), "base");
    grid.SetCellText(2, 2, "changed");
    EXPECT_EQ(grid.GetRawCellText(1, 1), "changed");
    EXPECT_EQ(grid.GetRawCellText(2, 2), "");
    EXPECT_EQ(grid.GetCellText(3, 1), "changed");
    grid.SetCellInt(3, 2, 42);
    EXPECT_EQ(grid.GetCellInt(1, 1), 42);
}

TEST_F(MergedGrid, SplittingAnyCellDissolvesTheWholeRange) {
    grid.SplitMergedRange(3, 2);
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 2; ++y) {
            auto* p = grid.GetCellObject(x, y);
            ASSERT_NE(p, nullptr);
            EXPECT_TRUE(p->IsBaseCell);
            EXPECT_EQ(p->CellSpanX, -1);
            EXPECT_EQ(p->CellSpanY, -1);
        }
    EXPECT_EQ(grid.GetCellText(3, 2), "");
    EXPECT_EQ(grid.GetCellText(1, 1), "base");
}

TEST(CellModel, ReadingStylesCreatesNoPropertyObject) {
    TExtStringGrid grid;
    EXPECT_EQ(grid.GetCellBrushColor(2, 2), clNone);
    EXPECT_EQ(grid.GetCellFontColor(2, 2), clNone);
    EXPECT_EQ(grid.GetCellAlignment(2, 2), taLeftJustify);
    EXPECT_FALSE(grid.CellHasProperties(2, 2));
    grid.SetCellFontName(2, 2, "Arial");
    grid.SetCellFontName(3, 2, "Arial");
    EXPECT_TRUE(grid.CellHasProperties(2, 2));
    EXPECT_EQ(grid.GetCellObject(2, 2)->FontNameRef(), grid.GetCellObject(3, 2)->FontNameRef());
    EXPECT_EQ(grid.GetCellFontName(2, 2), "Arial");
}

TEST(CellModel, DisplayTextHookAppliesBelowTheRowLimitOnly) {
    TExtStringGrid grid;
    int calls = 0;
    grid.OnGetDisplText = [&](QObject*, int, int, std::string& v) {
        ++calls;
        v += "!";
    };
    EXPECT_EQ(grid.GetCellText(1, 1), "");  // limit 0 before the row count is set
    EXPECT_EQ(calls, 0);
    grid.SetRowCount(4);
    grid.SetCellText(1, 3, "x");
    EXPECT_EQ(grid.GetCellText(1, 3), "x!");
    EXPECT_EQ(grid.Cells(1, 3), "x");
}

TEST(CellModel, NewGridDefaults) {
    TExtStringGrid grid;
    EXPECT_EQ(grid.Font().Name(), "Tahoma");
    EXPECT_EQ(grid.DefaultRowHeight(), 21);
    EXPECT_EQ(grid.FixedRowHeight(), 21);
    EXPECT_EQ(grid.SelectionColor(), cb::gfx::clHighlight);
    EXPECT_EQ(grid.SelectionTextColor(), cb::gfx::clHighlightText);
    EXPECT_EQ(grid.Look(), glSoft);
    EXPECT_EQ(grid.FloatFormat, "%.2f");
    EXPECT_TRUE(grid.EnableHTML);
    EXPECT_EQ(grid.GridLineWidth(), 1);
    EXPECT_EQ(grid.GridLineColor(), cb::gfx::clSilver);
    EXPECT_TRUE(grid.Options() & goDrawFocusSelected);
    std::string t, f;
    grid.GetCheckTrue(1, 1, t);
    grid.GetCheckFalse(1, 1, f);
    EXPECT_EQ(t, "Y");
    EXPECT_EQ(f, "N");
    // exactly four navigation settings start on
    const TNavigation& n = grid.Navigation;
    int on = n.AllowInsertRow + n.AllowDeleteRow + n.AdvanceOnEnter + n.AdvanceInsert + n.AutoGotoWhenSorted +
             n.AutoGotoIncremental + n.AutoComboDropSize + n.AllowClipboardShortCuts + n.AllowRTFClipboard +
             n.AllowSmartClipboard + n.AllowClipboardAlways + n.AllowClipboardColGrow + n.AllowClipboardRowGrow +
             n.CopyHTMLTagsToClipboard + n.AdvanceAuto + n.CursorWalkEditor + n.MoveRowOnSort + n.ImproveMaskSel +
             n.AlwaysEdit + n.LineFeedOnEnter + n.KeepHorizScroll + n.AllowFmtClipboard + n.TabToNextAtEnd +
             n.EditSelectAll;
    EXPECT_EQ(on, 4);
    EXPECT_TRUE(TFilterData{}.CaseSensitive);
}

TEST(CellModel, FixedRowAlwaysAndFixedCellEvent) {
    TExtStringGrid grid;
    grid.SetFixedRows(0);
    grid.SetFixedRowAlways(true);
    EXPECT_EQ(grid.FixedRows(), 1);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.TBaseGrid::FixedRows(), 1);

    int asked = 0;
    grid.OnIsFixedCell = [&](QObject*, int, int, bool&) { ++asked; };
    bool fixed = false;
    grid.IsFixedCell(0, 0, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_EQ(asked, 0);
    fixed = false;
    grid.IsFixedCell(2, 1, fixed);
    EXPECT_EQ(asked, 1);
}

TEST(CellModel, CanEditEventSeesTheBaseCell) {
    TExtStringGrid grid;
    grid.MergeCellRange(1, 1, 2, 2);
    int seenRow = -1, seenCol = -1;
    grid.OnCanEditCell = [&](QObject*, int row, int col, bool&) {
        seenRow = row;
        seenCol = col;
    };
    bool can = true;
    grid.CanEditCell(2, 2, can);
    EXPECT_EQ(seenRow, 1);
    EXPECT_EQ(seenCol, 1);
}

// --- typed access ----------------------------------------------------------

TEST(TypedAccess, IntegersFloatsAndTheirErrors) {
    TExtStringGrid grid;
    EXPECT_EQ(grid.GetCellInt(1, 1), 0);
    EXPECT_DOUBLE_EQ(grid.GetCellFloat(1, 1), 0.0);
    grid.SetCellText(1, 1, "12a");
    try {
        grid.GetCellInt(1, 1);
        FAIL();
    } catch (const EExtGridError& e) {
        EXPECT_STREQ(e.what(), "Cell does not contain integer value");
    }
    grid.SetCellText(1, 1, "1.2.3");
    try {
        grid.GetCellFloat(1, 1);
        FAIL();
    } catch (const EExtGridError& e) {
        EXPECT_STREQ(e.what(), "Cell does not contain a float value");
    }
    grid.SetCellFloat(1, 1, 1.5);
    EXPECT_EQ(grid.GetCellText(1, 1), "1.50");
    grid.SetCellText(1, 2, "(1,234.50)");
    EXPECT_DOUBLE_EQ(grid.GetCellFloat(1, 2), -1234.5);
    grid.SetCellDate(2, 2, EncodeDate(2004, 12, 31));
    EXPECT_EQ(grid.GetCellText(2, 2), "31/12/2004");
    grid.FloatFormat = "%s";
    EXPECT_THROW(grid.SetCellFloat(1, 1, 2.0), cb::rtl::Exception);
}

TEST(TypedAccess, WideTextCells) {
    TExtStringGrid grid;
    grid.SetWideCellText(1, 1, u"\u00e9");
    EXPECT_EQ(grid.GetRawCellText(1, 1), std::string("|\\\0\xE9", 4));
    EXPECT_EQ(grid.GetWideCellText(1, 1), u"\u00e9");
    grid.SetCellText(1, 2, std::string("|\\\x01\x02\x03", 5));
    EXPECT_EQ(grid.GetWideCellText(1, 2), std::u16string(1, char16_t(0x0102)));
    grid.SetCellText(1, 3, "abc");
    EXPECT_EQ(grid.GetWideCellText(1, 3), u"abc");
    grid.SetWideCellText(1, 4, u"");
    EXPECT_EQ(grid.GetRawCellText(1, 4), "|\\");
}

TEST(TypedAccess, ColumnCalculations) {
    TExtStringGrid grid;
    grid.SetRowCount(5);
    grid.SetCellText(1, 1, "3");
    grid.SetCellText(1, 2, "1");
    grid.SetCellText(1, 3, "2");
    EXPECT_DOUBLE_EQ(grid.MinColumnRange(1, 1, 3), 1);
    EXPECT_DOUBLE_EQ(grid.MaxColumnRange(1, 1, 3), 3);
    EXPECT_DOUBLE_EQ(grid.SumColumnRange(1, 1, 3), 6);
    EXPECT_DOUBLE_EQ(grid.AverageColumnRange(1, 1, 3), 2);
    EXPECT_DOUBLE_EQ(grid.SumColumnRange(1, 3, 1), 0);
}

TEST(TypedAccess, FooterTemplate) {
    TExtStringGrid grid;
    grid.SetRowCount(6);
    grid.SetCellText(1, 4, "one");
    grid.SetCellText(3, 4, "three");
    grid.SetRow(4);
    EXPECT_EQ(grid.ExpandFooterTemplate("a<#1>b<#3>c"), "aonebthreec");
    EXPECT_EQ(grid.ExpandFooterTemplate("x<#q>y"), "xy");
    EXPECT_EQ(grid.ExpandFooterTemplate("x<#1>y<#3"), "xoney<#3");
}

TEST(TypedAccess, HeadersAreWrittenUpToTheColumnCount) {
    TExtStringGrid grid;
    grid.SetColCount(2);
    grid.SetColumnHeaders({"A\\nB", "C", "D"});
    EXPECT_EQ(grid.GetCellText(0, 0), "A\rB");
    EXPECT_EQ(grid.GetCellText(1, 0), "C");
    EXPECT_EQ(grid.ColCount(), 2);
}

// A graphic that counts how many of its kind are alive.
struct CountedGraphic : TCellGraphic {
    static inline int Alive = 0;
    CountedGraphic() { ++Alive; }
    ~CountedGraphic() override { --Alive; }
};

TEST(CellGraphics, EveryWayACellLosesItsGraphicFreesIt) {
    struct Case {
        const char* name;
        std::function<void(TExtStringGrid&)> drop;  // drops the graphic of cell (3, 3)
        int aliveAfter;
    };
    const Case cases[] = {
        {"grid shrinks", [](TExtStringGrid& g) { g.SetRowCount(2); }, 0},
        {"columns shrink", [](TExtStringGrid& g) { g.SetColCount(3); }, 0},
        {"object taken", [](TExtStringGrid& g) { (void)g.TakeCellObject(3, 3); }, 0},
        {"object replaced", [](TExtStringGrid& g) { g.SetCellObject(3, 3, nullptr); }, 0},
        {"graphic replaced",
         [](TExtStringGrid& g) { g.SetCellGraphicObject(3, 3, std::make_unique<CountedGraphic>()); }, 1},
        {"cell cleared", [](TExtStringGrid& g) { g.ClearCell(3, 3); }, 0},
        {"row removed", [](TExtStringGrid& g) { g.RemoveRows(3, 1); }, 0},
        {"grid destroyed", [](TExtStringGrid&) {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CountedGraphic::Alive = 0;
        {
            TExtStringGrid grid;
            grid.SetColCount(5);
            grid.SetRowCount(5);
            grid.SetCellGraphicObject(3, 3, std::make_unique<CountedGraphic>());
            ASSERT_EQ(CountedGraphic::Alive, 1);
            c.drop(grid);
            EXPECT_EQ(CountedGraphic::Alive, c.aliveAfter);
        }
        EXPECT_EQ(CountedGraphic::Alive, 0);
    }
}

TEST(CellGraphics, SettingTheHeldGraphicAgainKeepsIt) {
    CountedGraphic::Alive = 0;
    TExtStringGrid grid;
    auto* graphic = new CountedGraphic;
    grid.SetCellGraphicObject(2, 2, graphic);
    grid.SetCellGraphicObject(2, 2, graphic);
    EXPECT_EQ(grid.GetCellGraphicObject(2, 2), graphic);
    EXPECT_EQ(CountedGraphic::Alive, 1);
    grid.SetCellGraphicObject(9, 9, new CountedGraphic);  // outside the grid: freed at once
    EXPECT_EQ(CountedGraphic::Alive, 1);
}

}  // namespace
