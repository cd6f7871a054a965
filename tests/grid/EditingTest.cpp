// Editing cells in place: starting an edit, typing through the editor
// kind's filter, validating, Escape and commit, with the grid's events in
// order; advancing; edits that meet row and column changes, scrolling and
// the focus leaving.
#include "grid/ExtStringGrid.h"
#include "grid/edit/CharFilter.h"
#include "grid/edit/GridEditPart.h"
#include "grid/edit/InplaceEdit.h"
#include "grid/edit/LookupCompletion.h"
#include "platform/rtl/FormatSettings.h"
#include "tests/grid/EditingTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace cb::grid;
using cb::grid::test::EditingFixture;
using cb::grid::test::TCheck;
using cb::grid::test::TOpen;

namespace {

enum class TStart { Type, F2, DoubleClick, DirectEdit, Enter };
enum class TEnd { Enter, Tab, Escape, ClickCell };

class EditingGrid : public EditingFixture {
public:
    void Type(const QString& text) {
        for (QChar ch : text) QTest::keyClick(Focus(), ch.toLatin1());
    }
    void Start(TStart how, const QString& typed) {
        switch (how) {
        case TStart::Type:
            QTest::keyClicks(&Grid, typed.left(1));
            Type(typed.mid(1));
            return;
        case TStart::F2:
            Open(TOpen::F2);
            break;
        case TStart::Enter:
            QTest::keyClick(&Grid, Qt::Key_Return);
            break;
        case TStart::DoubleClick:
            Open(TOpen::DoubleClick);
            break;
        case TStart::DirectEdit:
            Open(TOpen::DirectEdit);
            break;
        }
        // Started without a typed character: replace what the editor shows.
        if (QWidget* w = Focus()) {
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_Delete);
        }
        Type(typed);
    }
    void End(TEnd how) {
        switch (how) {
        case TEnd::Enter:
            QTest::keyClick(Focus(), Qt::Key_Return);
            break;
        case TEnd::Tab:
            QTest::keyClick(Focus(), Qt::Key_Tab);
            break;
        case TEnd::Escape:
            QTest::keyClick(Focus(), Qt::Key_Escape);
            break;
        case TEnd::ClickCell:
            QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(4, 4));
            break;
        }
    }
};

struct TEditCase {
    const char* Name;
    TEditorType Kind;
    TStart Start;
    const char* Typed;
    TEnd End;
    TCheck Check;
    const char* Cell;  // the cell afterwards
    std::vector<std::string> Events;
    bool EditorOpen = false;  // still editing afterwards
};

// Every case edits cell (2, 2), which holds "old".
const std::vector<TEditCase>& TextCases() {
    static const std::vector<TEditCase> cases = {
        {"typed and Enter", edNormal, TStart::Type, "new", TEnd::Enter, TCheck::Accept, "new",
         {"validate 2,2 new", "changed 2,2", "done"}},
        {"F2 and Tab", edNormal, TStart::F2, "xy", TEnd::Tab, TCheck::Accept, "xy",
         {"validate 2,2 xy", "changed 2,2", "done"}},
        {"Enter starts", edNormal, TStart::Enter, "ab", TEnd::Enter, TCheck::Accept, "ab",
         {"validate 2,2 ab", "changed 2,2", "done"}},
        {"double click", edNormal, TStart::DoubleClick, "dc", TEnd::Enter, TCheck::Accept, "dc",
         {"validate 2,2 dc", "changed 2,2", "done"}},
        {"direct edit", edNormal, TStart::DirectEdit, "de", TEnd::Enter, TCheck::Accept, "de",
         {"validate 2,2 de", "changed 2,2", "done"}},
        {"click elsewhere commits", edNormal, TStart::Type, "moved", TEnd::ClickCell, TCheck::Accept, "moved",
         {"validate 2,2 moved", "changed 2,2", "done"}},
        {"Escape restores", edNormal, TStart::Type, "gone", TEnd::Escape, TCheck::Accept, "old", {"done"}},
        {"refused stays", edNormal, TStart::Type, "bad", TEnd::Enter, TCheck::Refuse, "old", {"validate 2,2 bad"},
         true},
        {"refused click stays", edNormal, TStart::Type, "bad", TEnd::ClickCell, TCheck::Refuse, "old",
         {"validate 2,2 bad"}, true},
        {"corrected", edNormal, TStart::Type, "raw", TEnd::Enter, TCheck::Correct, "fixed",
         {"validate 2,2 raw", "changed 2,2", "done"}},
        {"numeric drops letters", edNumeric, TStart::Type, "-1x2", TEnd::Enter, TCheck::Accept, "-12",
         {"validate 2,2 -12", "changed 2,2", "done"}},
        {"positive refuses sign", edPositiveNumeric, TStart::Type, "-34", TEnd::Enter, TCheck::Accept, "34",
         {"validate 2,2 34", "changed 2,2", "done"}},
        {"float one point", edFloat, TStart::Type, "1.5.2,0", TEnd::Enter, TCheck::Accept, "1.520",
         {"validate 2,2 1.520", "changed 2,2", "done"}},
        {"upper case", edUpperCase, TStart::Type, "abc", TEnd::Enter, TCheck::Accept, "ABC",
         {"validate 2,2 ABC", "changed 2,2", "done"}},
        {"lower case", edLowerCase, TStart::Type, "AbC", TEnd::Tab, TCheck::Accept, "abc",
         {"validate 2,2 abc", "changed 2,2", "done"}},
        {"mixed case", edMixedCase, TStart::Type, "john smith", TEnd::Enter, TCheck::Accept, "John Smith",
         {"validate 2,2 John Smith", "changed 2,2", "done"}},
        {"password", edPassword, TStart::Type, "s3cret", TEnd::Enter, TCheck::Accept, "s3cret",
         {"validate 2,2 s3cret", "changed 2,2", "done"}},
        {"password Escape", edPassword, TStart::F2, "zz", TEnd::Escape, TCheck::Accept, "old", {"done"}},
    };
    return cases;
}

void RunCase(EditingGrid& t, const TEditCase& c) {
    SCOPED_TRACE(c.Name);
    t.Events.clear();
    t.Grid.SetCells(2, 2, "old");
    t.Grid.FocusCell(2, 2, true);
    t.Grid.setFocus();
    t.Kind = c.Kind;
    t.Check = c.Check;
    t.Start(c.Start, QString::fromLatin1(c.Typed));
    ASSERT_TRUE(t.Grid.EditorShown());
    EXPECT_EQ(t.Grid.EditorKind(), c.Kind);
    t.End(c.End);
    EXPECT_EQ(t.Grid.Cells(2, 2), c.Cell);
    EXPECT_EQ(t.Events, c.Events);
    EXPECT_EQ(t.Grid.EditorShown(), c.EditorOpen);
    if (c.EditorOpen) {
        EXPECT_EQ(t.Grid.Col(), 2);
        EXPECT_EQ(t.Grid.Row(), 2);
        t.Check = TCheck::Accept;
        t.End(TEnd::Escape);
        EXPECT_FALSE(t.Grid.EditorShown());
    }
    t.Grid.MouseActions.DirectEdit = false;
}

TEST_F(EditingGrid, EveryTextKindThroughStartTypeValidateAndEnd) {
    for (const TEditCase& c : TextCases()) RunCase(*this, c);
}

TEST_F(EditingGrid, EndingWithoutAChangeFiresNoValidation) {
    Grid.SetCells(2, 2, "same");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid.EditorShown());
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Events, (std::vector<std::string>{"done"}));
}

TEST_F(EditingGrid, MarkupCellEditsAsPlainTextAndKeepsItsTagsWhenUnchanged) {
    Grid.SetCells(2, 2, "<B>bold</B>");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    auto* edit = Grid.EditPart()->InplaceEdit();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "bold");
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "<B>bold</B>");
    EXPECT_EQ(Events, (std::vector<std::string>{"done"}));
}

TEST_F(EditingGrid, TabWalksCellsWithTheEditorShownAtEach) {
    Grid.SetOptions(Grid.Options() | goAlwaysShowEditor);
    Grid.FocusCell(1, 1, true);
    QTest::keyClicks(&Grid, "a");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    ASSERT_TRUE(Grid.EditorShown());
    EXPECT_EQ(Grid.Col(), 2);
    Type("b");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    QTest::keyClick(Focus(), Qt::Key_Backtab);
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Cells(1, 1), "a");
    EXPECT_EQ(Grid.Cells(2, 1), "b");
}

TEST_F(EditingGrid, ArrowsLeaveASingleLineEditAndMove) {
    Grid.FocusCell(2, 2, true);
    QTest::keyClicks(&Grid, "v");
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_EQ(Grid.Row(), 3);
    EXPECT_EQ(Grid.Cells(2, 2), "v");
}

TEST_F(EditingGrid, UpAndDownStayInsideAMultiLineText) {
    Grid.Navigation.LineFeedOnEnter = true;
    Grid.SetCells(2, 2, "one\ntwo\nthree");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    Grid.EditPart()->InplaceEdit()->moveCursor(QTextCursor::Start);
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_TRUE(Grid.EditorShown());
    Grid.EditPart()->InplaceEdit()->moveCursor(QTextCursor::End);
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_EQ(Grid.Row(), 3);
}

TEST_F(EditingGrid, CursorWalkMovesAtTheEndsOfTheText) {
    Grid.Navigation.CursorWalkEditor = true;
    Grid.SetCells(2, 2, "ab");
    Grid.FocusCell(2, 2, true);
    Grid.Navigation.EditSelectAll = false;
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClick(Focus(), Qt::Key_Right);
    EXPECT_EQ(Grid.Col(), 3);
    EXPECT_FALSE(Grid.EditorShown());
}

TEST_F(EditingGrid, RefusedTabInTheInplaceEditMovesOnWithTheOldText) {
    Check = TCheck::Refuse;
    Grid.SetCells(2, 2, "old");
    Grid.FocusCell(2, 2, true);
    QTest::keyClicks(&Grid, "x");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(Grid.Col(), 3);
    EXPECT_EQ(Grid.Cells(2, 2), "old");
}

TEST_F(EditingGrid, FocusLeavingForAnotherWidgetCommitsOnce) {
    QLineEdit other(&Grid);
    other.setGeometry(300, 150, 80, 20);
    other.show();
    Grid.FocusCell(2, 2, true);
    QTest::keyClicks(&Grid, "k");
    Type("ept");
    other.setFocus();
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_EQ(Grid.Cells(2, 2), "kept");
    EXPECT_EQ(Events, (std::vector<std::string>{"validate 2,2 kept", "changed 2,2", "done"}));
}

TEST_F(EditingGrid, RowAndColumnChangesNeverWriteIntoAnotherCell) {
    struct TChange {
        const char* Name;
        std::function<void(TExtStringGrid&)> Apply;
        int Col, Row;  // where the edited value ends up (-1: gone)
    };
    const std::vector<TChange> changes = {
        {"row removed above", [](TExtStringGrid& g) { g.RemoveRows(1, 1); }, 2, 1},
        {"row inserted above", [](TExtStringGrid& g) { g.InsertRows(1, 1); }, 2, 3},
        {"column removed left", [](TExtStringGrid& g) { g.RemoveCols(1, 1); }, 1, 2},
        {"rows exchanged", [](TExtStringGrid& g) { g.ExchangeRows(2, 4); }, 2, 4},
        {"cells cleared", [](TExtStringGrid& g) { g.ClearRect(1, 1, 4, 5); }, -1, -1},
        {"edited row removed", [](TExtStringGrid& g) { g.RemoveRows(2, 1); }, -1, -1},
    };
    for (const TChange& c : changes) {
        SCOPED_TRACE(c.Name);
        Grid.SetColCount(5);
        Grid.SetRowCount(6);
        for (int r = 1; r < 6; ++r)
            for (int col = 1; col < 5; ++col) Grid.SetCells(col, r, "c" + std::to_string(col) + std::to_string(r));
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClicks(&Grid, "t");
        Type("yped");
        ASSERT_TRUE(Grid.EditorShown());
        c.Apply(Grid);
        EXPECT_FALSE(Grid.EditorShown());
        int found = 0;
        for (int r = 0; r < Grid.RowCount(); ++r)
            for (int col = 0; col < Grid.ColCount(); ++col)
                if (Grid.Cells(col, r) == "typed") {
                    ++found;
                    EXPECT_EQ(col, c.Col);
                    EXPECT_EQ(r, c.Row);
                }
        EXPECT_EQ(found, c.Col < 0 ? 0 : 1);
        // Nothing is written when the editor's cell is gone.
        QTest::keyClick(&Grid, Qt::Key_Escape);
    }
}

TEST_F(EditingGrid, EditorFollowsScrollingAndHidesWhileItsCellIsOutOfView) {
    // Each case types "s" into (2, 2), scrolls the cell out of view, then
    // does something; the typed value is never lost.
    struct TScrollCase {
        const char* Name;
        std::function<void(EditingGrid&)> Then;
        const char* Cell;
        std::vector<std::string> Events;
        bool StillEditing;
    };
    const std::vector<TScrollCase> cases = {
        {"scrolled back, typed on, Enter",
         [](EditingGrid& t) {
             t.Grid.SetTopRow(1);
             QTest::keyClicks(t.Focus(), "t");
             QTest::keyClick(t.Focus(), Qt::Key_Return);
         },
         "st",
         {"validate 2,2 st", "changed 2,2", "done"},
         false},
        {"typing on the grid brings the cell back",
         [](EditingGrid& t) { QTest::keyClicks(&t.Grid, "t"); },
         "old",
         {},
         true},
        {"a move commits",
         [](EditingGrid& t) { QTest::keyClick(&t.Grid, Qt::Key_Down); },
         "s",
         {"validate 2,2 s", "changed 2,2", "done"},
         false},
        {"Escape puts the old text back",
         [](EditingGrid& t) { QTest::keyClick(&t.Grid, Qt::Key_Escape); },
         "old",
         {"done"},
         false},
        {"the focus leaving commits once",
         [](EditingGrid& t) {
             QLineEdit other(&t.Grid);
             other.show();
             other.setFocus();
             QCoreApplication::processEvents();
         },
         "s",
         {"validate 2,2 s", "changed 2,2", "done"},
         false},
    };
    Grid.SetRowCount(40);
    for (int r = 1; r < 40; ++r) Grid.SetRowHeights(r, 22);
    for (const TScrollCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid.SetTopRow(1);
        Grid.SetLeftCol(1);
        Grid.SetCells(2, 2, "old");
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClicks(&Grid, "s");
        QWidget* editor = Grid.EditPart()->EditorWidget();
        ASSERT_NE(editor, nullptr);
        // Scrolled sideways with the cell still in view: the editor follows.
        Grid.SetLeftCol(2);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->x(), Grid.CellRect(2, 2).Left);
        Grid.SetTopRow(20);
        EXPECT_TRUE(Grid.EditorShown());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(Grid.hasFocus());
        EXPECT_EQ(Grid.Cells(2, 2), "old");
        Events.clear();
        c.Then(*this);
        EXPECT_EQ(Grid.Cells(2, 2), c.Cell);
        EXPECT_EQ(Events, c.Events);
        EXPECT_EQ(Grid.EditorShown(), c.StillEditing);
        if (c.StillEditing) {
            EXPECT_TRUE(editor->isVisible());
            EXPECT_EQ(editor->y(), Grid.CellRect(2, 2).Top);
            EXPECT_EQ(Grid.EditPart()->InplaceEdit()->Text(), "st");
            QTest::keyClick(Focus(), Qt::Key_Escape);
        }
    }
}

TEST_F(EditingGrid, CellControlsFollowTheirCellsWhenScrolling) {
    Grid.SetRowCount(40);
    for (int r = 1; r < 40; ++r) Grid.SetRowHeights(r, 22);
    QLineEdit control(&Grid);
    control.show();
    Grid.EnsureCellProperties(2, 4)->Control = &control;
    EXPECT_EQ(Grid.EditPart()->CellControl(2, 4), &control);
    const auto placed = [&] {
        const TRect r = Grid.CellRect(2, 4);
        return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    };
    Grid.SetTopRow(2);
    EXPECT_EQ(control.geometry(), placed());
    const QPoint corner = control.pos();
    Grid.SetTopRow(10);
    EXPECT_EQ(control.size(), QSize(0, 0));
    EXPECT_EQ(control.pos(), corner);
    Grid.SetTopRow(3);
    EXPECT_EQ(control.geometry(), placed());
    Grid.SetLeftCol(2);
    EXPECT_EQ(control.geometry(), placed());
}

TEST_F(EditingGrid, EditorSitsOverItsCellInEitherLayoutDirection) {
    // The grid lays its columns out left to right in both directions, so
    // its editors sit over the cell rectangle as drawn.
    Grid.MergeCellRange(2, 2, 2, 1);
    for (Qt::LayoutDirection dir : {Qt::LeftToRight, Qt::RightToLeft}) {
        SCOPED_TRACE(int(dir));
        Grid.setLayoutDirection(dir);
        Grid.FocusCell(2, 2, true);
        QTest::keyClick(&Grid, Qt::Key_F2);
        QWidget* editor = Grid.EditPart()->EditorWidget();
        ASSERT_NE(editor, nullptr);
        const TRect r = Grid.GetMergedCellRect(2, 2);
        EXPECT_EQ(editor->geometry(), QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
        QTest::keyClick(Focus(), Qt::Key_Escape);
    }
}

TEST_F(EditingGrid, InplaceEditGrowsItsRowOnCtrlEnterAndTyping) {
    int sized = -1;
    Grid.OnEndRowSize = [&](QObject*, int row) { sized = row; };
    struct TGrowCase {
        const char* Name;
        bool Multiline, Height, Wrap;
        bool CtrlEnter;
        const char* Typed;
        const char* Cell;
        bool Grows;
    };
    const std::vector<TGrowCase> cases = {
        {"Ctrl+Enter breaks the line and grows", true, true, false, true, "b", "a\nb", true},
        {"Ctrl+Enter breaks the line, no sizing", true, false, false, true, "b", "a\nb", false},
        {"single-line cells take no break", false, true, false, true, "b", "ab", false},
        {"wrapped typing grows", false, true, true, false, " wraps over the narrow column width",
         "a wraps over the narrow column width", true},
        {"wrapped typing without sizing", false, false, true, false, " wraps over the narrow column width",
         "a wraps over the narrow column width", false},
    };
    for (const TGrowCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid.SetRowHeights(2, 22);
        Grid.SetMultilinecells(c.Multiline);
        Grid.SetWordWrap(c.Wrap);
        Grid.SizeWhileTyping.Height = c.Height;
        sized = -1;
        Grid.SetCells(2, 2, "");
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClicks(&Grid, "a");
        if (c.CtrlEnter) QTest::keyClick(Focus(), Qt::Key_Return, Qt::ControlModifier);
        ASSERT_TRUE(Grid.EditorShown());
        QTest::keyClicks(Focus(), c.Typed);
        QWidget* editor = Grid.EditPart()->EditorWidget();
        EXPECT_EQ(Grid.RowHeights(2) > 22, c.Grows);
        EXPECT_EQ(sized, c.Grows ? 2 : -1);
        EXPECT_EQ(editor->height(), std::min(Grid.RowHeights(2) - 1, Grid.CellArea().Bottom - editor->y()));
        QTest::keyClick(Focus(), Qt::Key_Return);
        EXPECT_FALSE(Grid.EditorShown());
        EXPECT_EQ(Grid.Cells(2, 2), c.Cell);
    }
}

TEST_F(EditingGrid, AdvanceAutoMovesOnWhenTheEditIsFull) {
    Grid.MaxEditLength = 3;
    Grid.Navigation.AdvanceOnEnter = true;
    struct TFullCase {
        const char* Name;
        bool Auto;
        const char* Typed;
        const char* Cell;  // (2, 2) afterwards
        int Col;           // current column afterwards
    };
    const std::vector<TFullCase> cases = {
        {"full edit moves on", true, "abc", "abc", 3},
        {"a blank keeps it", true, "a b", "old", 2},
        {"not full", true, "ab", "old", 2},
        {"off", false, "abc", "old", 2},
    };
    for (const TFullCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Grid.Navigation.AdvanceAuto = c.Auto;
        Grid.SetCells(2, 2, "old");
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClicks(&Grid, QString(c.Typed).left(1));
        QTest::keyClicks(Focus(), QString(c.Typed).mid(1));
        EXPECT_EQ(Grid.Cells(2, 2), c.Cell);
        EXPECT_EQ(Grid.Col(), c.Col);
        EXPECT_EQ(Grid.EditorShown(), c.Col == 2);
        if (Grid.EditorShown()) QTest::keyClick(Focus(), Qt::Key_Escape);
    }
}

TEST_F(EditingGrid, LookupHistoryKeepsWhatWasTyped) {
    Grid.Lookup = true;
    for (bool history : {true, false}) {
        SCOPED_TRACE(history);
        Grid.LookupHistory = history;
        Grid.LookupItems = {"Pear"};
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClicks(&Grid, "A");
        QTest::keyClicks(Focus(), "pple");
        QTest::keyClick(Focus(), Qt::Key_Return);
        // Typed twice: listed once.
        QTest::keyClicks(&Grid, "A");
        QTest::keyClicks(Focus(), "pple");
        QTest::keyClick(Focus(), Qt::Key_Escape);
        EXPECT_EQ(Grid.LookupItems,
                  history ? std::vector<std::string>({"Pear", "Apple"}) : std::vector<std::string>({"Pear"}));
        Grid.FocusCell(3, 3, true);
        QTest::keyClicks(&Grid, "a");
        QTest::keyClicks(Focus(), "p");
        EXPECT_EQ(Grid.EditPart()->InplaceEdit()->Text(), history ? "apple" : "ap");
        QTest::keyClick(Focus(), Qt::Key_Escape);
    }
}

TEST_F(EditingGrid, RefusedCellsSwitchEditingOffAndEditableOnesBackOn) {
    Grid.OnCanEditCell = [](QObject*, int row, int col, bool& can) { can = !(col == 3 && row == 3); };
    Grid.FocusCell(3, 3, true);
    EXPECT_FALSE(Grid.Options() & goEditing);
    QTest::keyClicks(&Grid, "z");
    EXPECT_FALSE(Grid.EditorShown());
    Grid.FocusCell(2, 3, true);
    EXPECT_TRUE(Grid.Options() & goEditing);
}

TEST_F(EditingGrid, VersionText) {
    EXPECT_EQ(Grid.GetVersionText(), "2.4.0.3 Jan, 2003");
    EXPECT_EQ(Grid.GetVersionNumber(), 0x02040003u);
}

// ---------------------------------------------------------------------------
// Advancing

TEST_F(EditingGrid, AdvanceFollowsReadingOrderAndItsEnds) {
    // A 3 x 3 normal area: columns 1..3, rows 1..3.
    Grid.SetColCount(4);
    Grid.SetRowCount(4);
    Grid.Navigation.AdvanceOnEnter = true;
    struct TStep {
        const char* Name;
        int FromCol, FromRow;
        bool Forward;
        TAdvanceDirection Direction;
        int Col, Row;
    };
    const std::vector<TStep> steps = {
        {"next column", 1, 1, true, adLeftRight, 2, 1},
        {"wraps to next row", 3, 1, true, adLeftRight, 1, 2},
        {"last cell wraps to first", 3, 3, true, adLeftRight, 1, 1},
        {"back from first to last", 1, 1, false, adLeftRight, 3, 3},
        {"down", 2, 1, true, adTopBottom, 2, 2},
        {"bottom to next column top", 2, 3, true, adTopBottom, 3, 1},
        {"up wraps to previous column", 2, 1, false, adTopBottom, 1, 3},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Name);
        Grid.Navigation.AdvanceDirection = s.Direction;
        Grid.FocusCell(s.FromCol, s.FromRow, true);
        Grid.AdvanceCell(s.FromCol, s.FromRow, false, false, s.Forward);
        EXPECT_EQ(Grid.Col(), s.Col);
        EXPECT_EQ(Grid.Row(), s.Row);
    }
}

TEST_F(EditingGrid, AdvanceInsertAddsARowUnlessRefused) {
    Grid.SetColCount(4);
    Grid.SetRowCount(4);
    Grid.Navigation.AdvanceOnEnter = true;
    Grid.Navigation.AdvanceInsert = true;
    int added = -1;
    Grid.OnAutoAddRow = [&](QObject*, int row) { added = row; };
    bool allow = false;
    Grid.OnCanAddRow = [&](QObject*, bool& a) { a = allow; };
    Grid.FocusCell(3, 3, true);
    Grid.AdvanceCell(3, 3, false, false, true);
    EXPECT_EQ(Grid.RowCount(), 4);
    EXPECT_EQ(Grid.Col(), 3);
    allow = true;
    Grid.AdvanceCell(3, 3, false, false, true);
    EXPECT_EQ(Grid.RowCount(), 5);
    EXPECT_EQ(added, 4);
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 4);
}

TEST_F(EditingGrid, AdvanceSkipsCoveredAndUneditableCellsAndStopsAfterOnePass) {
    Grid.Navigation.AdvanceOnEnter = true;
    Grid.MergeCellRange(1, 1, 2, 1);
    Grid.FocusCell(1, 1, true);
    Grid.AdvanceCell(1, 1, false, false, true);
    EXPECT_EQ(Grid.Col(), 3);
    // Nothing editable ahead: one pass, then the cell stays.
    Grid.OnCanEditCell = [](QObject*, int, int, bool& can) { can = false; };
    Grid.FocusCell(3, 2, true);
    Grid.AdvanceCell(3, 2, false, false, true);
    EXPECT_EQ(Grid.Col(), 3);
    EXPECT_EQ(Grid.Row(), 2);
}

TEST_F(EditingGrid, EnterAdvancesAndAdvancingFiresCellChangingOnce) {
    Grid.Navigation.AdvanceOnEnter = true;
    int changing = 0;
    Grid.OnCellChanging = [&](QObject*, int, int, int, int, bool&) { ++changing; };
    Grid.FocusCell(2, 2, true);
    changing = 0;
    QTest::keyClicks(&Grid, "q");
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "q");
    EXPECT_EQ(Grid.Col(), 3);
    EXPECT_EQ(changing, 1);
}

// ---------------------------------------------------------------------------
// The character filter, paste and completion

TEST(CharFilter, TypedCharactersByKind) {
    struct TCase {
        TEditorType Kind;
        const char* Text;
        int SelStart, SelLength;
        char Ch;
        TCharVerdict Verdict;
    };
    const TCase cases[] = {
        {edNumeric, "12", 0, 0, '-', TCharVerdict::Accept},   {edNumeric, "12", 1, 0, '-', TCharVerdict::Beep},
        {edNumeric, "-12", 0, 0, '-', TCharVerdict::Beep},    {edNumeric, "-12", 0, 1, '-', TCharVerdict::Accept},
        {edNumeric, "12", 2, 0, 'a', TCharVerdict::Beep},     {edPositiveNumeric, "", 0, 0, '-', TCharVerdict::Beep},
        {edPositiveNumeric, "", 0, 0, '7', TCharVerdict::Accept},
        {edFloat, "1.5", 3, 0, '.', TCharVerdict::Drop},      {edFloat, "1.5", 1, 1, '.', TCharVerdict::Accept},
        {edFloat, "15", 2, 0, ',', TCharVerdict::Drop},       {edFloat, "15", 2, 0, 'x', TCharVerdict::Drop},
        {edFloat, "15", 1, 0, '-', TCharVerdict::Beep},       {edFloat, "-15", 0, 2, '-', TCharVerdict::Accept},
        {edNormal, "", 0, 0, '\x08', TCharVerdict::Accept},   {edSpinEdit, "1", 1, 0, 'z', TCharVerdict::Beep},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " + " + c.Ch);
        QChar ch(c.Ch);
        EXPECT_EQ(FilterTypedChar(c.Kind, {QString::fromLatin1(c.Text), c.SelStart, c.SelLength}, ch), c.Verdict);
    }
}

TEST(CharFilter, PastesPassTheRulesOfTyping) {
    struct TCase {
        TEditorType Kind;
        const char* Text;
        int Caret;
        const char* Pasted;
        const char* Result;  // nullptr: refused
    };
    const TCase cases[] = {
        {edPositiveNumeric, "", 0, "-5", nullptr},
        {edNumeric, "", 0, "-5", "-5"},
        {edNumeric, "3", 1, "-5", nullptr},
        {edFloat, "", 0, "1,5x", nullptr},
        {edFloat, "", 0, "2.25", "2.25"},
        {edFloat, "1.5", 3, "0.1", nullptr},
        {edUpperCase, "a", 1, "bc", "aBC"},
        {edNumeric, "1", 1, "2\n", nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " <- " + c.Pasted);
        const auto out = FilterPaste(c.Kind, {QString::fromLatin1(c.Text), c.Caret, 0}, QString::fromLatin1(c.Pasted), 0);
        if (!c.Result) {
            EXPECT_FALSE(out.has_value());
        } else {
            ASSERT_TRUE(out.has_value());
            EXPECT_EQ(out->Text, QString::fromLatin1(c.Result));
        }
    }
    // A limit of 32768 or more is a limit, not a wrap to "none" or a negative.
    const QString big(40000, QChar('1'));
    EXPECT_TRUE(FilterPaste(edNumeric, {}, big, 40000).has_value());
    EXPECT_FALSE(FilterPaste(edNumeric, {}, big + "1", 40000).has_value());
}

TEST_F(EditingGrid, PasteIntoTheEditorTakesTheGridsEventsAndLimits) {
    Kind = edPositiveNumeric;
    Grid.MaxEditLength = 40000;
    std::vector<std::string> log;
    Grid.OnClipboardPaste = [&](QObject* sender, bool&) {
        log.push_back(sender == Grid.EditPart()->InplaceEdit() ? "paste from edit" : "paste from elsewhere");
    };
    Grid.SetCells(2, 2, "");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    TExtInplaceEdit* edit = Grid.EditPart()->InplaceEdit();
    edit->PasteText("-5");
    EXPECT_EQ(edit->Text(), "");
    edit->PasteText(QString(33000, QChar('9')));
    EXPECT_EQ(edit->Text().size(), 33000);
    EXPECT_EQ(log, (std::vector<std::string>{"paste from edit"}));
    QTest::keyClick(Focus(), Qt::Key_Escape);
}

TEST(LookupCompletion, FirstItemStartingWithThePrefix) {
    const QStringList items{"Apple", "Apricot", "banana"};
    int index = -1;
    EXPECT_EQ(CompleteFromItems("ap", items, false, &index), "apple");
    EXPECT_EQ(index, 0);
    EXPECT_EQ(CompleteFromItems("apr", items, false), "apricot");
    EXPECT_EQ(CompleteFromItems("ap", items, true), "");
    EXPECT_EQ(CompleteFromItems("", items, false), "");
    EXPECT_EQ(CompleteFromItems("B", items, false), "Banana");
}

TEST_F(EditingGrid, TypingCompletesFromLookupItemsAndBackspaceStopsIt) {
    Grid.Lookup = true;
    Grid.LookupItems = {"Apple", "Apricot"};
    Grid.SetCells(2, 2, "");
    Grid.FocusCell(2, 2, true);
    QTest::keyClicks(&Grid, "a");
    QTest::keyClicks(Focus(), "p");
    TExtInplaceEdit* edit = Grid.EditPart()->InplaceEdit();
    EXPECT_EQ(edit->Text(), "apple");
    EXPECT_EQ(edit->textCursor().selectedText(), "ple");
    QTest::keyClick(Focus(), Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "ap");
}

}  // namespace
