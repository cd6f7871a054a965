// Every editor kind with a control of its own, driven like the text kinds:
// start, type, validate, Escape and commit, with the grid's events in
// order; the number editors once more under a comma-decimal locale; the
// custom editor link's protocol.
#include "grid/ExtStringGrid.h"
#include "grid/controls/UnitEdit.h"
#include "grid/edit/EditLink.h"
#include "grid/edit/GridEditPart.h"
#include "grid/util/TextUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "tests/common/TestSupport.h"
#include "tests/grid/EditingTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <cstdlib>
#include <string>
#include <vector>

using namespace cb::grid;
using cb::grid::test::EditingFixture;
using cb::grid::test::TCheck;
using cb::grid::test::TOpen;

namespace {

// Wider cells for the controls.
class ControlEditing : public EditingFixture {
public:
    ControlEditing() : EditingFixture(90, 24, {480, 220}) {}
};

// Keys typed into the editor: letters as they are, these stand for keys.
constexpr char kDown = '\x01';
constexpr char kUp = '\x02';
constexpr char kSpace = '\x03';
constexpr char kClear = '\x04';  // select all and delete

struct TKindCase {
    const char* Name;
    TEditorType Kind;
    const char* Before;
    const char* Keys;
    int EndKey;
    std::string After;
    std::vector<std::string> Events;
    // How the edit opens; Typed: the first key is typed on the grid.
    std::optional<TOpen> Open = TOpen::F2;
};

constexpr std::nullopt_t Typed = std::nullopt;

const std::string kChanged = "changed 2,2";

std::vector<TKindCase> KindCases() {
    return {
        {"spin typed", edSpinEdit, "5", "\x04" "42", Qt::Key_Return, "42", {"validate 2,2 42", kChanged, "done"}},
        {"spin Escape", edSpinEdit, "5", "\x04" "9", Qt::Key_Escape, "5", {"done"}},
        {"spin unreadable unchanged", edSpinEdit, "abc", "", Qt::Key_Return, "abc", {"done"}},
        {"date spin unreadable unchanged", edDateSpinEdit, "soon", "", Qt::Key_Tab, "soon", {"done"}},
        {"float spin", edFloatSpinEdit, "1.00", "\x04" "2.5", Qt::Key_Return, "2.50",
         {"validate 2,2 2.50", kChanged, "done"}},
        {"list combo down", edComboList, "Green", "\x01", Qt::Key_Return, "Blue",
         {"validate 2,2 Blue", kChanged, "done"}},
        {"list combo unknown opens on first", edComboList, "Grey", "\x01", Qt::Key_Tab, "Green",
         {"validate 2,2 Green", kChanged, "done"}},
        {"edit combo typed", edComboEdit, "Red", "\x04" "Teal", Qt::Key_Return, "Teal",
         {"validate 2,2 Teal", kChanged, "done"}, TOpen::DoubleClick},
        {"wide combo validates on Tab", edUniComboEdit, "Red", "\x04" "Navy", Qt::Key_Tab, "Navy",
         {"validate 2,2 Navy", kChanged, "done"}},
        {"edit with button", edEditBtn, "a", "\x04" "zz", Qt::Key_Tab, "zz", {"validate 2,2 zz", kChanged, "done"}},
        {"numeric edit with button", edNumericEditBtn, "", "1a2", Qt::Key_Return, "12",
         {"validate 2,2 12", kChanged, "done"}, TOpen::DirectEdit},
        {"float edit with button", edFloatEditBtn, "", "1x.5.", Qt::Key_Return, "1.5",
         {"validate 2,2 1.5", kChanged, "done"}},
        {"unit edit keeps its unit", edUnitEditBtn, "12.5 kg", "\x04" "7", Qt::Key_Return, "7 kg",
         {"validate 2,2 7 kg", kChanged, "done"}},
        {"check box writes nothing", edCheckBox, "label", "\x03", Qt::Key_Return, "label", {"done"}},
        {"button writes nothing", edButton, "press", "", Qt::Key_Down, "press", {"done"}},
        {"date picker validates", edDateEdit, "01/02/2024", "\x02", Qt::Key_Return, "02/02/2024",
         {"validate 2,2 02/02/2024", kChanged, "done"}, TOpen::DoubleClick},
        {"date picker unreadable unchanged", edDateEditUpDown, "someday", "", Qt::Key_Return, "someday", {"done"}},
        {"date picker Escape", edDateEdit, "01/02/2024", "\x02", Qt::Key_Escape, "01/02/2024", {"done"}},
        {"wide edit", edUniEdit, "", "wide", Qt::Key_Return, EncodeWideText(u"wide"),
         {"validate 2,2 " + EncodeWideText(u"wide"), kChanged, "done"}, TOpen::DirectEdit},
        {"spin started by typing", edSpinEdit, "5", "42", Qt::Key_Return, "42", {"validate 2,2 42", kChanged, "done"},
         Typed},
        {"edit with button started by typing", edEditBtn, "a", "zz", Qt::Key_Tab, "zz",
         {"validate 2,2 zz", kChanged, "done"}, Typed},
        {"edit combo started by typing, refused Escape", edComboEdit, "Red", "Te", Qt::Key_Escape, "Red", {"done"},
         Typed},
    };
}

void Press(QWidget* w, const char* keys) {
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
        case kDown:
            QTest::keyClick(w, Qt::Key_Down);
            break;
        case kUp:
            QTest::keyClick(w, Qt::Key_Up);
            break;
        case kSpace:
            QTest::keyClick(w, Qt::Key_Space);
            break;
        case kClear:
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(w, Qt::Key_Delete);
            break;
        default:
            QTest::keyClick(w, *k);
        }
        w = QApplication::focusWidget();
    }
}

void RunKindCase(ControlEditing& t, const TKindCase& c) {
    SCOPED_TRACE(c.Name);
    t.Events.clear();
    t.Grid.SetCells(2, 2, c.Before);
    t.Grid.FocusCell(2, 2, true);
    t.Grid.setFocus();
    t.Kind = c.Kind;
    const char* keys = c.Keys;
    if (c.Open) {
        t.Open(*c.Open);
    } else {
        QTest::keyClick(&t.Grid, *keys);
        ++keys;
    }
    ASSERT_TRUE(t.Grid.EditorShown());
    EXPECT_EQ(t.Grid.EditorKind(), c.Kind);
    QWidget* editor = t.Grid.EditPart()->EditorWidget();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor == t.Focus() || editor->isAncestorOf(t.Focus()));
    Press(t.Focus(), keys);
    QTest::keyClick(t.Focus(), Qt::Key(c.EndKey));
    EXPECT_FALSE(t.Grid.EditorShown());
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(t.Grid.Cells(2, 2), c.After);
    EXPECT_EQ(t.Events, c.Events);
}

TEST_F(ControlEditing, EveryControlKindThroughStartTypeValidateAndEnd) {
    for (const TKindCase& c : KindCases()) RunKindCase(*this, c);
}

TEST_F(ControlEditing, RefusedValuesKeepEveryControlOnTheCell) {
    Check = TCheck::Refuse;
    for (TEditorType kind : {edSpinEdit, edComboEdit, edEditBtn, edUnitEditBtn, edUniEdit, edUniComboEdit}) {
        SCOPED_TRACE(int(kind));
        Kind = kind;
        Events.clear();
        Grid.SetCells(2, 2, "1");
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        QTest::keyClick(&Grid, Qt::Key_F2);
        Press(Focus(), "\x04" "3");
        QTest::keyClick(Focus(), Qt::Key_Tab);
        EXPECT_TRUE(Grid.EditorShown());
        EXPECT_EQ(Grid.Col(), 2);
        EXPECT_EQ(Grid.Cells(2, 2), "1");
        ASSERT_EQ(Events.size(), 1u);
        QTest::keyClick(Focus(), Qt::Key_Escape);
        EXPECT_FALSE(Grid.EditorShown());
    }
}

TEST_F(ControlEditing, TypingStartsTheControlWithTheCharacter) {
    Kind = edSpinEdit;
    Grid.SetCells(2, 2, "5");
    Grid.FocusCell(2, 2, true);
    QTest::keyClicks(&Grid, "7");
    ASSERT_TRUE(Grid.EditorShown());
    auto* spin = qobject_cast<QLineEdit*>(Grid.EditPart()->EditorWidget());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->text(), "7");
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "7");
}

TEST_F(ControlEditing, ListComboLeavesOnLeftAndRightButNotOnUpDown) {
    Kind = edComboList;
    Grid.SetCells(2, 2, "Red");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_TRUE(Grid.EditorShown());
    QTest::keyClick(Focus(), Qt::Key_Right);
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_EQ(Grid.Col(), 3);
    EXPECT_EQ(Grid.Cells(2, 2), "Green");
}

TEST_F(ControlEditing, UnitEditSplitsNumberAndUnit) {
    Kind = edUnitEditBtn;
    Grid.SetCells(2, 2, "12.5 kg");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    auto* unit = dynamic_cast<TExtGridUnitEditBtn*>(Grid.EditPart()->EditorWidget());
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->text(), "12.5");
    EXPECT_EQ(unit->UnitID(), " kg");
    QTest::keyClick(Focus(), Qt::Key_Escape);
}

TEST_F(ControlEditing, SpinPageKeysStepWithinTheRangeAndReport) {
    Kind = edSpinEdit;
    Grid.EditPart()->SpinIncrement = 5;
    std::vector<int> clicks;
    Grid.OnSpinClick = [&](QObject*, int, int, int value, bool) { clicks.push_back(value); };
    Grid.SetCells(2, 2, "99");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClick(Focus(), Qt::Key_PageUp);
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "99");
    Grid.SetCells(2, 2, "95");
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClick(Focus(), Qt::Key_PageUp);
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "100");
    EXPECT_EQ(clicks, (std::vector<int>{99, 100}));
}

TEST_F(ControlEditing, EllipsisButtonTakesTheEventsText) {
    Kind = edEditBtn;
    Grid.OnEllipsClick = [](QObject*, int col, int row, std::string& s) {
        s += " at " + std::to_string(col) + "," + std::to_string(row);
    };
    Grid.SetCells(2, 2, "pick");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClick(Focus(), Qt::Key_F4);
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "pick at 2,2");
}

TEST_F(ControlEditing, ComboWheelStepsOneItemAndReportsTheChoice) {
    Kind = edComboList;
    int objects[3] = {10, 20, 30};
    Grid.EditPart()->ComboObjects = {&objects[0], &objects[1], &objects[2]};
    std::vector<std::string> chosen;
    Grid.OnComboChange = [&](QObject* sender, int col, int row, int index, const std::string& text) {
        EXPECT_NE(qobject_cast<QComboBox*>(sender), nullptr);
        chosen.push_back("change " + std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(index) +
                         " " + text);
    };
    Grid.EditPart()->OnComboObjectChange = [&](QObject*, int, int, int index, const std::string& text, void* object) {
        chosen.push_back("object " + std::to_string(index) + " " + text + " " +
                         std::to_string(object ? *static_cast<int*>(object) : -1));
    };
    Grid.SetCells(2, 2, "Green");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    auto* combo = qobject_cast<QComboBox*>(Grid.EditPart()->EditorWidget());
    ASSERT_NE(combo, nullptr);
    const auto wheel = [&](int delta) {
        const QPointF at(combo->width() / 2.0, combo->height() / 2.0);
        QWheelEvent event(at, combo->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QCoreApplication::sendEvent(combo, &event);
    };
    wheel(-120);  // down: Blue
    wheel(-120);  // at the last item: nothing
    wheel(120);   // up: Green
    wheel(120);   // Red
    wheel(120);   // at the first: nothing
    EXPECT_EQ(chosen, (std::vector<std::string>{"change 2,2 2 Blue", "object 2 Blue 30", "change 2,2 1 Green",
                                                "object 1 Green 20", "change 2,2 0 Red", "object 0 Red 10"}));
    EXPECT_TRUE(Grid.EditorShown());
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_EQ(Grid.Cells(2, 2), "Red");
}

TEST_F(ControlEditing, DatePickerCheckBoxEmptiesTheCellWhenUnticked) {
    struct TCheckCase {
        const char* Name;
        TEditorType Kind;
        bool WithBox;
        bool Untick;
        const char* After;
        std::vector<std::string> Events;
    };
    const std::vector<TCheckCase> cases = {
        {"unticked empties", edDateEdit, true, true, "", {"validate 2,2 ", "changed 2,2", "done"}},
        {"ticked and unchanged", edDateEditUpDown, true, false, "01/02/2024", {"done"}},
        {"no box: the date stands", edDateEdit, false, false, "01/02/2024", {"done"}},
    };
    for (const TCheckCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Kind = c.Kind;
        Grid.EditPart()->DateCheckBox = c.WithBox;
        Grid.SetCells(2, 2, "01/02/2024");
        Grid.FocusCell(2, 2, true);
        Grid.setFocus();
        Events.clear();
        QTest::keyClick(&Grid, Qt::Key_F2);
        QWidget* editor = Grid.EditPart()->EditorWidget();
        ASSERT_NE(editor, nullptr);
        auto* box = editor->findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->isVisible(), c.WithBox);
        if (c.WithBox) {
            EXPECT_TRUE(box->isChecked());
        }
        if (c.Untick) {
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
            QDir().mkpath(QString(CB_BIN_DIR) + "/../screenshots");
            Grid.grab().save(QString(CB_BIN_DIR) + "/../screenshots/date_picker_unticked.png");
        }
        EXPECT_TRUE(Grid.EditorShown());
        QTest::keyClick(Focus(), Qt::Key_Return);
        EXPECT_FALSE(Grid.EditorShown());
        EXPECT_EQ(Grid.Cells(2, 2), c.After);
        EXPECT_EQ(Events, c.Events);
    }
    // A time picker has no box.
    Kind = edTimeEdit;
    Grid.SetCells(2, 2, "10:30:00");
    QTest::keyClick(&Grid, Qt::Key_F2);
    EXPECT_FALSE(Grid.EditPart()->EditorWidget()->findChild<QCheckBox*>()->isVisible());
    QTest::keyClick(Focus(), Qt::Key_Escape);
}

TEST_F(ControlEditing, DataCheckBoxShowsNoEditor) {
    Kind = edDataCheckBox;
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    QTest::keyClicks(&Grid, "x");
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_EQ(Grid.Cells(2, 2), "");
}

// ---------------------------------------------------------------------------
// Under a comma-decimal locale

TEST_F(ControlEditing, NumberEditorsUnderACommaDecimalLocale) {
    cbtest::TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (libc-bin, locales) is needed";
    ASSERT_EQ(setenv("LOCPATH", dir.path().c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const std::lconv* lc = std::localeconv();
    ASSERT_EQ(std::string(lc->decimal_point), ",");
    cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings();
    const cb::rtl::TFormatSettings saved = fs;
    fs.DecimalSeparator = lc->decimal_point[0];
    fs.ThousandSeparator = lc->thousands_sep[0] ? lc->thousands_sep[0] : '.';
    const std::string floatFormat = Grid.FloatFormat;
    struct TRestore {
        cb::rtl::TFormatSettings& Fs;
        cb::rtl::TFormatSettings Saved;
        ~TRestore() {
            Fs = Saved;
            std::setlocale(LC_ALL, "C");
        }
    } restore{fs, saved};
    const std::vector<TKindCase> cases = {
        {"float edit", edFloat, "", "1,5.2,", Qt::Key_Return, "1,52", {"validate 2,2 1,52", kChanged, "done"}},
        {"float edit with button", edFloatEditBtn, "", "3.4,5", Qt::Key_Return, "34,5",
         {"validate 2,2 34,5", kChanged, "done"}},
        {"float spin", edFloatSpinEdit, "1,00", "\x04" "2,5", Qt::Key_Return, "2,50",
         {"validate 2,2 2,50", kChanged, "done"}},
        {"float spin unchanged", edFloatSpinEdit, "7,25", "", Qt::Key_Return, "7,25", {"done"}},
        {"numeric", edNumeric, "", "-1,2", Qt::Key_Return, "-12", {"validate 2,2 -12", kChanged, "done"}},
    };
    for (const TKindCase& c : cases) RunKindCase(*this, c);
}

// ---------------------------------------------------------------------------
// The custom editor link

class TLineLink : public TEditLink {
public:
    std::vector<std::string> Calls;
    QLineEdit* Edit = nullptr;
    QWidget* EditorControl() override { return Edit; }
    void BuildEditor(QWidget* parent) override {
        Calls.push_back("build");
        if (!Edit) Edit = new QLineEdit(parent);
        else Edit->setParent(parent);
    }
    void ApplyCellLook(cb::gfx::TColor, const cb::gfx::TFont&) override { Calls.push_back("look"); }
    void ApplyEditorSettings() override { Calls.push_back("settings"); }
    std::string ReadEditorValue() override { return Edit->text().toStdString(); }
    void WriteEditorValue(const std::string& v) override {
        Calls.push_back("write " + v);
        Edit->setText(QString::fromStdString(v));
    }
    ~TLineLink() override { delete Edit; }
};

TEST_F(ControlEditing, EditLinkFollowsItsProtocolAndKeyWishes) {
    Kind = edCustom;
    TLineLink link;
    Grid.SetEditLink(&link);
    Grid.OnGetEditorProp = [&](QObject*, int col, int row, TEditLink* l) {
        EXPECT_EQ(l, &link);
        link.Calls.push_back("prop " + std::to_string(col) + "," + std::to_string(row));
    };
    Grid.SetCells(2, 2, "linked");
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid.EditorShown());
    EXPECT_EQ(link.Calls, (std::vector<std::string>{"build", "look", "settings", "prop 2,2", "write linked"}));
    EXPECT_EQ(Focus(), link.Edit);
    // Up and Down leave unless the link wants them.
    link.WantKeyUpDown = true;
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_TRUE(Grid.EditorShown());
    link.WantKeyUpDown = false;
    link.Edit->setText("changed");
    QTest::keyClick(Focus(), Qt::Key_Down);
    EXPECT_FALSE(Grid.EditorShown());
    EXPECT_FALSE(link.Edit->isVisible());
    EXPECT_EQ(Grid.Cells(2, 2), "changed");
    EXPECT_EQ(Grid.Row(), 3);
    // Escape restores the text from before the edit.
    Grid.FocusCell(2, 2, true);
    Grid.setFocus();
    QTest::keyClick(&Grid, Qt::Key_F2);
    link.Edit->setText("thrown away");
    QTest::keyClick(Focus(), Qt::Key_Escape);
    EXPECT_EQ(Grid.Cells(2, 2), "changed");
    Grid.SetEditLink(nullptr);
}

TEST_F(ControlEditing, CustomCellWithoutALinkShowsNothing) {
    Kind = edCustom;
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_F2);
    EXPECT_FALSE(Grid.EditorShown());
}

}  // namespace
