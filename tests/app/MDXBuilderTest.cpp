// The query model's list operations, composing and history, without a cube.
#include "app/core/query/MDXBuilder.h"
#include "MDXTestSupport.h"
#include "app/core/cube/CubeModel.h"

#include <functional>
#include <gtest/gtest.h>

using namespace cb::app;

namespace {

struct Lists {
    TTextList rows, columns, measures;
};

void Load(TMDXBuilder& b, const Lists& l) {
    b.Rows = l.rows;
    b.Columns = l.columns;
    b.Measures = l.measures;
    b.Changed = false;
}

void ExpectLists(const TMDXBuilder& b, const Lists& l) {
    EXPECT_EQ(b.Rows, l.rows);
    EXPECT_EQ(b.Columns, l.columns);
    EXPECT_EQ(b.Measures, l.measures);
}

const std::string m = "[Measures].[m]", n = "[Measures].[n]";

}  // namespace

TEST(MDXBuilderCompose, ComposesTheQueryText) {
    struct Case {
        Lists lists;
        std::vector<std::string> selectedCalculated;
        std::string rowsSet, columnsSet;
    } cases[] = {
        {{{}, {}, {m}}, {}, "{}", "{[Measures].[m]}"},
        {{{}, {}, {m, n}}, {}, "{}", "{[Measures].[m],[Measures].[n]}"},
        {{{"[D].[a]", "[D].[b]", "[E].[x]"}, {}, {}}, {}, "{{[D].[a], [D].[b]}*{[E].[x]}}", "{}"},
        {{{"[D].[a]"}, {}, {m}}, {}, "{[D].[a]}", "{[Measures].[m]}"},
        {{{}, {"[D].[a]"}, {m}}, {}, "{}", "{{[D].[a]}*{[Measures].[m]}}"},
        {{{}, {"[D].[a]", "[E].[x]"}, {}}, {}, "{}", "{{[D].[a]}*{[E].[x]}}"},
        {{{}, {"[D].[a]", "[D].[b]"}, {}}, {}, "{}", "{[D].[a], [D].[b]}"},
        // a dimension that comes back after another is a group of its own
        {{{"[D].[a]", "[E].[x]", "[D].[b]"}, {}, {m}}, {}, "{{[D].[a]}*{[E].[x]}*{[D].[b]}}", "{[Measures].[m]}"},
        {{{}, {}, {m}}, {"c"}, "{}", "{[Measures].[m], [Measures].[c]}"},
        {{{}, {}, {m, "[Measures].[c]"}}, {"c"}, "{}", "{[Measures].[m],[Measures].[c]}"},
        {{{}, {}, {}}, {"c"}, "{}", "{}"},
    };
    for (const auto& c : cases) {
        TMDXBuilder b;
        b.CubeName = "[C]";
        Load(b, c.lists);
        for (const auto& name : c.selectedCalculated) b.CalculatedMeasures().Add({name, true});
        b.CalculatedMeasures().Add({"unselected", false});
        EXPECT_EQ(b.BuildRowsSet(), c.rowsSet);
        EXPECT_EQ(b.BuildColumnsSet(), c.columnsSet);
        // Unchanged lists compose without running anything.
        EXPECT_EQ(b.GetMDX(), " SELECT " + c.rowsSet + " ON ROWS, " + c.columnsSet + " ON COLUMNS FROM [C]");
    }
}

TEST(MDXBuilderLists, OperationsChangeTheListsAndPushOneStepOnlyWhenSomethingChanged) {
    using Op = std::function<bool(TMDXBuilder&)>;
    struct Case {
        const char* what;
        Lists before;
        Op op;
        Lists after;
        bool result;
        bool pushed;
    } cases[] = {
        {"add moves a dimension off the other axis",
         {{"[D].[a]", "[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxis("[D].[b]", axColumns, true); },
         {{"[E].[x]"}, {"[D].[b]"}, {m}},
         true,
         true},
        {"add appends at the end of the axis",
         {{"[D].[a]", "[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxis("[D].[b]", axRows, true); },
         {{"[D].[a]", "[E].[x]", "[D].[b]"}, {}, {m}},
         true,
         true},
        {"add a level expression",
         {{}, {"[D].[a]"}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxis("AddCalculatedMembers([E].[L].members)", axRows, true); },
         {{"AddCalculatedMembers([E].[L].members)"}, {"[D].[a]"}, {m}},
         true,
         true},
        {"ticking a listed measure moves it to the end",
         {{}, {}, {m, n}},
         [](TMDXBuilder& b) { return b.AddToAxis(m, axMeasures, true); },
         {{}, {}, {n, m}},
         true,
         true},
        {"ticking the last measure again changes nothing",
         {{}, {}, {m, n}},
         [](TMDXBuilder& b) { return b.AddToAxis(n, axMeasures, true); },
         {{}, {}, {m, n}},
         true,
         false},
        {"invalid axis",
         {{"[D].[a]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxis("[E].[x]", 3, true); },
         {{"[D].[a]"}, {}, {m}},
         false,
         false},
        {"union widens the dimension's set",
         {{"[D].[a]", "[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxisWithUnion("[D].[b]", axRows, true); },
         {{"HIERARCHIZE(UNION({[D].[a]},{[D].[b]}))", "[E].[x]"}, {}, {m}},
         true,
         true},
        {"union takes the whole run",
         {{"[E].[x]", "[D].[a]", "[D].[b]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxisWithUnion("[D].[c]", axRows, true); },
         {{"[E].[x]", "HIERARCHIZE(UNION({[D].[a],[D].[b]},{[D].[c]}))"}, {}, {m}},
         true,
         true},
        {"union of a new dimension appends",
         {{"[E].[x]"}, {"[D].[a]"}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxisWithUnion("[D].[b]", axRows, true); },
         {{"[E].[x]", "[D].[b]"}, {}, {m}},
         true,
         true},
        {"union with an invalid axis",
         {{"[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxisWithUnion("[D].[b]", 8, true); },
         {{"[E].[x]"}, {}, {m}},
         false,
         false},
        {"add without a step",
         {{}, {}, {m}},
         [](TMDXBuilder& b) { return b.AddToAxis("[D].[a]", axRows, false); },
         {{"[D].[a]"}, {}, {m}},
         true,
         false},
        {"append",
         {{"[D].[a]"}, {}, {m}},
         [](TMDXBuilder& b) {
             return b.AppendToAxis({"[D].[b]", "[D].[c]"}, axRows);
         },
         {{"[D].[a]", "[D].[b]", "[D].[c]"}, {}, {m}},
         true,
         false},
        {"remove a set and what was drilled below it",
         {{"[D].[a]", "[D].[a].Children", "[D].[ab]", "[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) {
             b.RemoveSet("[D].[a]", true);
             return true;
         },
         {{"[D].[ab]", "[E].[x]"}, {}, {m}},
         true,
         true},
        {"remove a measure",
         {{}, {}, {m, n}},
         [](TMDXBuilder& b) { return b.RemoveMeasure(m, true); },
         {{}, {}, {n}},
         true,
         true},
        {"remove a measure that is not there",
         {{}, {}, {m}},
         [](TMDXBuilder& b) { return b.RemoveMeasure(n, true); },
         {{}, {}, {m}},
         false,
         false},
        {"drill inserts the children after the member",
         {{"[D].[a]", "[D].[b]", "[E].[x]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.ToggleDrillDown("[D].[a]"); },
         {{"[D].[a]", "[D].[a].Children", "[D].[b]", "[E].[x]"}, {}, {m}},
         true,
         true},
        {"drill on the columns",
         {{}, {"[D].[a]"}, {m}},
         [](TMDXBuilder& b) { return b.ToggleDrillDown("[D].[a]"); },
         {{}, {"[D].[a]", "[D].[a].Children"}, {m}},
         true,
         true},
        {"drill again collapses",
         {{"[D].[a]", "[D].[a].[p]", "[D].[a].[q]", "[D].[b]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.ToggleDrillDown("[D].[a]"); },
         {{"[D].[a]", "[D].[b]"}, {}, {m}},
         true,
         true},
        {"drill a measure",
         {{"[D].[a]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.ToggleDrillDown(m); },
         {{"[D].[a]"}, {}, {m}},
         false,
         false},
        {"drill a member on no axis",
         {{"[D].[a]"}, {}, {m}},
         [](TMDXBuilder& b) { return b.ToggleDrillDown("[E].[x]"); },
         {{"[D].[a]"}, {}, {m}},
         false,
         false},
        {"clear keeps the measures",
         {{"[D].[a]"}, {"[E].[x]"}, {m}},
         [](TMDXBuilder& b) {
             b.ClearRowsAndColumns();
             return true;
         },
         {{}, {}, {m}},
         true,
         true},
        {"clear of empty axes",
         {{}, {}, {m}},
         [](TMDXBuilder& b) {
             b.ClearRowsAndColumns();
             return true;
         },
         {{}, {}, {m}},
         true,
         false},
        {"swap",
         {{"[D].[a]"}, {"[E].[x]"}, {m}},
         [](TMDXBuilder& b) { return b.SwapRowsAndColumns(); },
         {{"[E].[x]"}, {"[D].[a]"}, {m}},
         true,
         true},
    };
    cbtest::TTestContext app;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TMDXBuilder b(app.Context());
        Load(b, {{"[Z].[old]"}, {}, {m}});
        b.SaveUndoState();
        Load(b, {{"[Z].[new]"}, {}, {m}});
        ASSERT_TRUE(b.Undo());  // leaves one state to redo
        Load(b, c.before);
        EXPECT_EQ(c.op(b), c.result);
        ExpectLists(b, c.after);
        EXPECT_EQ(b.UndoList().Count(), c.pushed ? 1 : 0);
        // A step forgets what could be redone; no step keeps it.
        EXPECT_EQ(b.CanRedo(), !c.pushed);
        const bool changed = c.before.rows != c.after.rows || c.before.columns != c.after.columns ||
                             c.before.measures != c.after.measures;
        EXPECT_EQ(b.Changed, changed && std::string(c.what) != "swap");
        if (c.pushed) {
            ASSERT_TRUE(b.Undo());
            ExpectLists(b, c.before);
        }
    }
}

TEST(MDXBuilderLists, SwapWithEmptyColumnsAsksFirst) {
    cbtest::TTestContext app;
    for (bool answer : {false, true}) {
        TMDXBuilder b(app.Context());
        Load(b, {{"[D].[a]"}, {}, {m}});
        app.UI.Answer = answer;
        app.UI.Questions.clear();
        EXPECT_EQ(b.SwapRowsAndColumns(), answer);
        ASSERT_EQ(app.UI.Questions.size(), 1u);
        EXPECT_EQ(app.UI.Questions[0], "This option swaps the row and column data.  With no column data this "
                                       "request will result in an empty display.\rDo you wish to continue?");
        if (answer)
            ExpectLists(b, {{}, {"[D].[a]"}, {m}});
        else
            ExpectLists(b, {{"[D].[a]"}, {}, {m}});
        EXPECT_EQ(b.CanUndo(), answer);
    }
}

TEST(MDXBuilderLists, AxisOfSelectionAndViewText) {
    TMDXBuilder b;
    Load(b, {{"[D].[b]", "[E].[x]", "[D].[c]"}, {"[D].[a]"}, {m, n}});
    EXPECT_EQ(b.GetAxisOf("[D]"), axColumns);
    EXPECT_EQ(b.GetAxisOf("[E]"), axRows);
    EXPECT_EQ(b.GetAxisOf("[Measures]"), axMeasures);
    EXPECT_EQ(b.GetAxisOf("[F]"), axNone);

    auto selection = b.GetDimensionSelection("E");
    ASSERT_TRUE(selection);
    ASSERT_EQ(selection->GetMemberCount(), 1);
    EXPECT_EQ(selection->GetMember(0)->UniqueName, "[E].[x]");
    EXPECT_TRUE(selection->GetMember(0)->Selected);
    EXPECT_EQ(b.GetDimensionSelection("F"), nullptr);

    Load(b, {{"[D].[b]"}, {"[E].[x]"}, {m}});
    EXPECT_EQ(b.GetCurrentViewText(), "For Measures you are currently viewing: \r -   [Measures].[m]\r"
                                      "\rIn Columns you are currently viewing:\r[E].[x]\r"
                                      "\rIn Rows you are currently viewing:\r[D].[b]\r");

    EXPECT_EQ(TMDXBuilder::FirstBracketedPart("AddCalculatedMembers([D].[L].members)"), "[D]");
    EXPECT_EQ(TMDXBuilder::FirstBracketedPart("no brackets"), "");
    EXPECT_EQ(TMDXBuilder::EntryHead("HIERARCHIZE(UNION({[D].[a]},{[D].[b]}))"), "HIERARCHIZE(UNION({[D]");
}

TEST(MDXBuilderHistory, UndoAndRedoSequences) {
    const Lists start{{"[D].[a]"}, {}, {m}};
    const auto changeA = [](TMDXBuilder& b) { b.AddToAxis("[E].[x]", axColumns, true); };
    const Lists afterA{{"[D].[a]"}, {"[E].[x]"}, {m}};
    const auto changeB = [](TMDXBuilder& b) { b.ToggleDrillDown("[D].[a]"); };
    const Lists afterB{{"[D].[a]", "[D].[a].Children"}, {"[E].[x]"}, {m}};

    {  // A, B, undo, undo, redo, redo
        TMDXBuilder b;
        Load(b, start);
        changeA(b);
        changeB(b);
        ExpectLists(b, afterB);
        b.Undo();
        ExpectLists(b, afterA);
        b.Undo();
        ExpectLists(b, start);
        EXPECT_FALSE(b.CanUndo());
        EXPECT_EQ(b.RedoList().Count(), 2);
        b.Redo();
        ExpectLists(b, afterA);
        b.Redo();
        ExpectLists(b, afterB);
        EXPECT_FALSE(b.CanRedo());
        EXPECT_EQ(b.UndoList().Count(), 2);
    }
    {  // A, undo, C: nothing to redo
        TMDXBuilder b;
        Load(b, start);
        changeA(b);
        b.Undo();
        b.RemoveMeasure(m, true);
        EXPECT_FALSE(b.CanRedo());
        EXPECT_EQ(b.UndoList().Count(), 1);
    }
    {  // undo, redo, undo keeps returning to the same lists
        TMDXBuilder b;
        Load(b, start);
        changeA(b);
        b.Undo();
        ExpectLists(b, start);
        b.Redo();
        ExpectLists(b, afterA);
        b.Undo();
        ExpectLists(b, start);
        EXPECT_EQ(b.RedoList().Count(), 1);
        EXPECT_EQ(b.UndoList().Count(), 0);
        EXPECT_FALSE(b.Undo());  // an empty stack does nothing
        ExpectLists(b, start);
    }
    {  // neither undo nor redo asks for normalising
        TMDXBuilder b;
        Load(b, start);
        changeA(b);
        b.Changed = false;
        b.Undo();
        b.Redo();
        EXPECT_FALSE(b.Changed);
        b.ClearUndoRedo();
        EXPECT_FALSE(b.CanUndo());
        EXPECT_FALSE(b.CanRedo());
    }
}

TEST(MDXBuilderHistory, PlainMeasuresLeaveOutCalculatedOnes) {
    TMDXBuilder b;
    Load(b, {{}, {}, {m, n, "[Measures].[c]"}});
    EXPECT_EQ(b.CountPlainMeasures(), 3);
    b.CalculatedMeasures().Add({"c", false});
    EXPECT_EQ(b.CountPlainMeasures(), 2);
    EXPECT_EQ(b.CalculatedMeasures().SelectedCount(), 0);
}

TEST(MDXBuilderCompose, InsertIndexKeepsDimensionsTogether) {
    const TTextList list{"[D].[a]", "[E].[x]", "[D].[b]", "[Measures].[m]"};
    struct Case {
        std::string name;
        int index;
    } cases[] = {
        {"[D].[a]", -2}, {"[D].[b]", -2}, {"[D].[c]", 2}, {"[E].[y]", 1}, {"[F].[z]", -1}, {"[Measures].[n]", 3},
    };
    for (const auto& c : cases) EXPECT_EQ(TMDXBuilder::FindInsertIndex(c.name, list), c.index) << c.name;
}
