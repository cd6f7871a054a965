// The grid's in-place editing part: editor choice, showing, key routing,
// validation and write-back, advancing. See GridEditPart.h.
#include "grid/edit/GridEditPart.h"

#include "grid/CellProperties.h"
#include "grid/ExtStringGrid.h"
#include "grid/edit/InplaceEdit.h"
#include "grid/markup/MarkupText.h"
#include "grid/markup/RichText.h"
#include "grid/util/TextUtils.h"
#include "platform/rtl/ScopeGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBlock>

namespace cb::grid {

std::unique_ptr<TGridPart> MakeGridEditPart(TExtStringGrid& grid) {
    return std::make_unique<TGridEditPart>(grid);
}

TGridEditPart* TExtStringGrid::EditPart() const {
    return dynamic_cast<TGridEditPart*>(Part(TGridPartKind::Edit));
}

void TCellEditor::Place(const QRect& cell) {
    Widget()->setGeometry(cell);
}

namespace {

bool IsTextKind(TEditorType kind) {
    return kind == edNormal || (kind >= edNumeric && kind <= edMixedCase) || kind == edLowerCase ||
           kind == edUpperCase;
}

// The default in-place edit.
class TInplaceEditor : public TCellEditor {
public:
    TInplaceEditor(TExtStringGrid& grid) : FEdit(new TExtInplaceEdit(grid, &grid)), FGrid(grid) {}
    ~TInplaceEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::Inplace; }
    void Fill(TEditorType kind, const std::string& editText) override {
        FEdit->Kind = kind;
        FEdit->LengthLimit = FGrid.MaxEditLength;
        FEdit->setLineWrapMode(FGrid.WordWrap() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        FEdit->SetText(QString::fromStdString(editText));
    }
    std::optional<std::string> Value() override { return FEdit->Text().toStdString(); }
    void Reset(const std::string& cellText) override {
        FEdit->SetText(QString::fromStdString(cellText));
        FEdit->CaretToEnd(false);
    }
    void DescribeKeyState(TEditorKeyState& s) override {
        const QTextCursor c = FEdit->textCursor();
        const QTextDocument* doc = FEdit->document();
        s.CaretOnFirstLine = c.block() == doc->firstBlock() && c.block().layout()->lineForTextPosition(
                                                                   c.positionInBlock()).lineNumber() <= 0;
        const QTextBlock last = doc->lastBlock();
        s.CaretOnLastLine = c.block() == last && (!last.layout() || last.layout()->lineCount() <= 1 ||
                                                  last.layout()->lineForTextPosition(c.positionInBlock())
                                                          .lineNumber() >= last.layout()->lineCount() - 1);
        s.CaretAtStart = c.position() == 0;
        s.CaretAtEnd = c.position() == doc->characterCount() - 1;
        s.HasSelection = c.hasSelection();
    }
    void Shown() override {
        FEdit->CaretToEnd(FGrid.Navigation.EditSelectAll);
    }
    void Hidden() override { FEdit->Hidden(); }

private:
    TExtInplaceEdit* FEdit;  // owned here (parent: the grid, for placing)
    TExtStringGrid& FGrid;
};

// The password edit: a single line that shows the grid's password character.
class TPasswordEditor : public TCellEditor {
public:
    TPasswordEditor(TExtStringGrid& grid) : FEdit(new QLineEdit(&grid)), FGrid(grid) {
        FEdit->setFrame(false);
        FEdit->setEchoMode(QLineEdit::Password);
        FEdit->hide();
    }
    ~TPasswordEditor() override { delete FEdit; }
    QWidget* Widget() override { return FEdit; }
    TEditorFamily Family() const override { return TEditorFamily::Inplace; }
    void Fill(TEditorType, const std::string& editText) override {
        FEdit->setMaxLength(FGrid.MaxEditLength > 0 ? FGrid.MaxEditLength : 32767 * 1024);
        FEdit->setText(QString::fromStdString(editText));
    }
    std::optional<std::string> Value() override { return FEdit->text().toStdString(); }
    void Reset(const std::string& cellText) override { FEdit->setText(QString::fromStdString(cellText)); }
    void DescribeKeyState(TEditorKeyState& s) override {
        s.CaretAtStart = FEdit->cursorPosition() == 0;
        s.CaretAtEnd = FEdit->cursorPosition() == FEdit->text().size();
        s.HasSelection = FEdit->hasSelectedText();
    }
    void Shown() override {
        if (FGrid.Navigation.EditSelectAll) FEdit->selectAll();
        else FEdit->end(false);
    }

private:
    QLineEdit* FEdit;  // owned here
    TExtStringGrid& FGrid;
};

// The slot of a kind's control: the text kinds share the in-place edit.
int EditorSlot(TEditorType kind) {
    return IsTextKind(kind) ? int(edNormal) : int(kind);
}

}  // namespace

// Control kinds other than the in-place edits (GridEditors.cpp).
std::unique_ptr<TCellEditor> MakeControlEditor(TGridEditPart& part, TEditorType kind);

TGridEditPart::TGridEditPart(TExtStringGrid& grid) : FGrid(grid) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
}

TGridEditPart::~TGridEditPart() = default;

std::unique_ptr<TCellEditor> TGridEditPart::MakeEditor(TEditorType kind) {
    if (IsTextKind(kind)) {
        auto editor = std::make_unique<TInplaceEditor>(FGrid);
        FInplace = static_cast<TExtInplaceEdit*>(editor->Widget());
        return editor;
    }
    if (kind == edPassword) return std::make_unique<TPasswordEditor>(FGrid);
    return MakeControlEditor(*this, kind);
}

TCellEditor* TGridEditPart::Editor(TEditorType kind) {
    const int slot = EditorSlot(kind);
    if (slot < 0 || slot >= int(FEditors.size())) return nullptr;
    if (!FEditors[size_t(slot)]) {
        FEditors[size_t(slot)] = MakeEditor(kind);
        if (!FEditors[size_t(slot)]) return nullptr;
        QWidget* w = FEditors[size_t(slot)]->Widget();
        w->hide();
        w->installEventFilter(this);
        for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
    }
    return FEditors[size_t(slot)].get();
}

QWidget* TGridEditPart::EditorWidget() const {
    return FEditor ? FEditor->Widget() : nullptr;
}

bool TGridEditPart::OwnsWidget(const QWidget* w) const {
    const QWidget* editor = EditorWidget();
    for (; w && editor; w = w->parentWidget())
        if (w == editor) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Which cells may be edited

bool TGridEditPart::IsCellEditable(int col, int row) const {
    if (!(FGrid.Options() & goEditing) && !FGrid.MouseActions.RangeSelectAndEdit && !FEditingSwitchedOff) return false;
    if (col < 0 || row < 0 || col >= FGrid.ColCount() || row >= FGrid.RowCount()) return false;
    int bc = col, br = row;
    if (!FGrid.ResolveBaseCell(col, row, bc, br)) return false;
    bool fixed = false;
    FGrid.IsFixedCell(col, row, fixed);
    if (fixed || row >= FGrid.RowCount() - FGrid.FixedFooters() ||
        col >= FGrid.ColCount() - FGrid.FixedRightCols())
        return false;
    bool can = true;
    FGrid.CanEditCell(col, row, can);
    return can;
}

// ---------------------------------------------------------------------------
// Starting an edit

bool TGridEditPart::ShowEditor(const QString& pending) {
    if (FValidating || FEditor) return FEditor != nullptr;
    const int col = FGrid.Col();
    const int row = FGrid.Row();
    if (col < 0 || row < 0 || col >= FGrid.ColCount() || row >= FGrid.RowCount()) return false;
    const int realCol = FGrid.RealColIndex(col);
    const TGridCoord base = FGrid.FindBaseCell(realCol, row);
    if (!IsCellEditable(base.X, base.Y)) return false;
    // Check boxes and radio groups are toggled, not edited.
    if (FGrid.IsCheckOrRadioCell(base.X, base.Y)) return false;
    TEditorType kind = edNormal;
    FGrid.GetCellEditor(base.X, base.Y, kind);
    if (kind == edDataCheckBox || (kind == edCustom && !EditLink)) return false;
    TCellEditor* editor = Editor(kind);
    if (!editor) return false;
    FKind = kind;
    FEditStartText = FGrid.GetCellText(base.X, base.Y);
    RememberEditCell(FGrid.DisplColIndex(base.X), base.Y);
    editor->Fill(kind, FGrid.GetEditText(FGrid.DisplColIndex(base.X), base.Y));
    FFilled = editor->Value().value_or(std::string());
    FEditor = editor;
    FGrid.EditInProgress = true;
    PlaceEditor();
    QWidget* w = editor->Widget();
    QPalette pal = w->palette();
    TBrush brush;
    TFont font;
    font.Assign(FGrid.Font());
    brush.SetColor(FGrid.Color());
    FGrid.GetEditorLook(realCol, row, brush, font);
    pal.setColor(QPalette::Base, cb::gfx::ToQColor(brush.Color()));
    pal.setColor(QPalette::Window, cb::gfx::ToQColor(brush.Color()));
    w->setPalette(pal);
    w->setFont(RichTextFont(font));
    w->show();
    w->raise();
    editor->FocusWidget()->setFocus(Qt::OtherFocusReason);
    editor->Shown();
    if (!pending.isEmpty()) DeliverPending(pending);
    return true;
}

void TGridEditPart::DeliverPending(const QString& text) {
    if (!FEditor) return;
    QWidget* target = FEditor->FocusWidget();
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(target, &press);
    }
}

void TGridEditPart::PlaceEditor() {
    if (!FEditor) return;
    const TRect r = FGrid.GetMergedCellRect(FMemoryCol, FMemoryRow);
    const TRect area = FGrid.CellArea();
    const QRect cell(r.Left, r.Top, std::max(r.Right - r.Left - 1, 1), std::max(r.Bottom - r.Top - 1, 1));
    FEditor->Place(cell.intersected(QRect(area.Left, area.Top, area.Right - area.Left, area.Bottom - area.Top)));
}

// ---------------------------------------------------------------------------
// Ending an edit

std::string TGridEditPart::EditorValue() {
    const std::optional<std::string> value = FEditor->Value();
    // Nothing written back, or nothing changed by the user: the cell keeps
    // the text it had (a date or number the editor could not read is not
    // rewritten, a mark-up cell keeps its tags).
    if (!value || *value == FFilled) return FMemoryText;
    return *value;
}

void TGridEditPart::HideEditorControl() {
    TCellEditor* editor = FEditor;
    FEditor = nullptr;
    FScrolledOut = false;
    if (!editor) return;
    QWidget* w = editor->Widget();
    const bool hadFocus = w->isAncestorOf(QApplication::focusWidget()) || w->hasFocus();
    FLeaving = true;
    auto done = cb::rtl::OnScopeExit([this] { FLeaving = false; });
    if (hadFocus) FGrid.setFocus(Qt::OtherFocusReason);
    w->hide();
    editor->Hidden();
}

bool TGridEditPart::CommitEditor() {
    if (!FEditor) return true;
    const std::string value = EditorValue();
    if (!FGrid.ValidateEditedCell(value)) {
        // Refused: the editor shows what the cell holds now.
        if (FEditor) {
            FEditor->Reset(FGrid.GetEditText(FMemoryCol, FMemoryRow));
            FFilled = FEditor->Value().value_or(std::string());
            FEditor->FocusWidget()->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    HideEditorControl();
    FGrid.DoEditingDone();
    return true;
}

void TGridEditPart::CancelEditor() {
    if (!FEditor) return;
    FGrid.EditInProgress = false;
    HideEditorControl();
    FGrid.DoEditingDone();
}

void TGridEditPart::EscapeEditor() {
    if (!FEditor) return;
    FEditor->Reset(FEditStartText);
    FGrid.EditInProgress = false;
    HideEditorControl();
    RestoreEditText();
    FGrid.DoEditingDone();
}

void TGridEditPart::RememberEditCell(int col, int row) {
    FMemoryCol = col;
    FMemoryRow = row;
    const int real = FGrid.RealColIndex(col);
    FMemoryText = real >= 0 && row >= 0 && real < FGrid.ColCount() && row < FGrid.RowCount()
                      ? FGrid.GetCellText(real, row)
                      : std::string();
}

bool TGridEditPart::ValidateEditedCell(const std::string& newText) {
    if (!FGrid.EditInProgress || FValidating) return true;
    FGrid.EditInProgress = false;
    FValidating = true;
    auto release = cb::rtl::OnScopeExit([this] { FValidating = false; });
    bool valid = true;
    const int col = FGrid.RealColIndex(FMemoryCol);
    const int row = FMemoryRow;
    if (col < 0 || row < 0 || col >= FGrid.ColCount() || row >= FGrid.RowCount()) return true;
    if (newText != FMemoryText) {
        std::string value = newText;
        TExtStringGridCheck* checker = FGrid.CellChecker;
        if (checker && checker->AutoCorrect) value = checker->Correct(col, row, value);
        if (FGrid.OnCellValidate) FGrid.OnCellValidate(&FGrid, col, row, value, valid);
        if (checker && checker->AutoMarkError) value = checker->MarkError(col, row, value);
        // A refused value leaves the old text, unless the validator gave
        // another value to correct.
        const std::string written = valid || value != newText ? value : FMemoryText;
        const bool changed = written != FMemoryText;
        FGrid.SetCellText(col, row, written);
        if (changed) FGrid.CellsChanged({col, row, col, row});
        FMemoryText = FGrid.GetCellText(col, row);
        if (!valid) {
            // The user stays in the cell with the editor open.
            FGrid.EditInProgress = true;
            MoveBackToEditedCell();
        }
    }
    return valid;
}

bool TGridEditPart::MoveBackToEditedCell() {
    if (FGrid.Col() == FMemoryCol && FGrid.Row() == FMemoryRow) return true;
    FAdvancing = true;
    auto clear = cb::rtl::OnScopeExit([this] { FAdvancing = false; });
    FGrid.FocusCell(FMemoryCol, FMemoryRow, true);
    return FGrid.Col() == FMemoryCol && FGrid.Row() == FMemoryRow;
}

void TGridEditPart::RestoreEditText() {
    const int col = FGrid.RealColIndex(FMemoryCol);
    if (col < 0 || FMemoryRow < 0 || col >= FGrid.ColCount() || FMemoryRow >= FGrid.RowCount()) return;
    FGrid.SetCellText(col, FMemoryRow, FEditStartText);
    FMemoryText = FEditStartText;
}

// ---------------------------------------------------------------------------
// Keys

bool TGridEditPart::KeyPress(QKeyEvent& event) {
    if (FEditor && FScrolledOut) return KeyWhileScrolledOut(event);
    // A key the editor left unhandled travels up to the grid: it stays
    // with the editor, it does not move the grid's current cell.
    if (FEditor) return !FGrid.hasFocus();
    // A grid that edits nothing keeps all of its keys.
    if (!(FGrid.Options() & goEditing) && !FGrid.MouseActions.RangeSelectAndEdit && !FEditingSwitchedOff) return false;
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (key == Qt::Key_Escape) {
        if ((FGrid.Options() & goEditing) && FGrid.EditInProgress) RestoreEditText();
        return false;
    }
    if (key == Qt::Key_F2 && !(mods & (Qt::ControlModifier | Qt::AltModifier))) return ShowEditor();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        if (FGrid.Navigation.AdvanceOnEnter) {
            AdvanceCell(FGrid.Col(), FGrid.Row(), false, false, !(mods & Qt::ShiftModifier));
            return true;
        }
        return ShowEditor();
    }
    const QString text = event.text();
    if (text.size() == 1 && text.front().isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier)) &&
        key != Qt::Key_Space)
        return ShowEditor(text);
    if (key == Qt::Key_Space && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        const int rc = FGrid.RealColIndex(FGrid.Col());
        if (FGrid.Col() >= 0 && FGrid.Row() >= 0 && !FGrid.IsCheckOrRadioCell(rc, FGrid.Row()) &&
            !FGrid.MouseActions.DisjunctRowSelect && !FGrid.MouseActions.DisjunctColSelect)
            return ShowEditor(text);
    }
    return false;
}

bool TGridEditPart::KeyWhileScrolledOut(QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (key == Qt::Key_Escape) {
        EscapeEditor();
        return true;
    }
    const QString text = event.text();
    const bool typed = text.size() == 1 && text.front().isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier));
    if (!typed && key != Qt::Key_F2) return false;  // moves commit through CellChanging
    // Typing or F2 brings the edited cell back into view and goes on there.
    FGrid.FocusCell(FMemoryCol, FMemoryRow, false);
    if (FScrolledOut || !FEditor) return true;
    if (typed) DeliverPending(text);
    return true;
}

bool TGridEditPart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && FEditor && !FLeaving) {
        auto* key = static_cast<QKeyEvent*>(event);
        TEditorKeyState state;
        state.Family = FEditor->Family();
        state.GoTabs = FGrid.Options() & goTabs;
        state.LineFeedOnEnter = FGrid.Navigation.LineFeedOnEnter;
        state.CursorWalkEditor = FGrid.Navigation.CursorWalkEditor;
        state.WordWrapOrMultiline = FGrid.WordWrap() || FGrid.Multilinecells();
        FEditor->DescribeKeyState(state);
        const TKeyRoute route = RouteEditorKey(state, key->key(), key->modifiers());
        if (route.Action == TKeyAction::Editor) return QObject::eventFilter(watched, event);
        try {
            if (route.Action == TKeyAction::Escape) {
                EscapeEditor();
                LeaveEditorByKey(Qt::Key_Escape, key->modifiers());
                return true;
            }
            const bool accepted = CommitEditor();
            if (!accepted && !route.MoveOnRefusal) return true;
            if (!accepted) CancelEditor();
            const Qt::KeyboardModifiers shift = key->modifiers() & Qt::ShiftModifier;
            if (route.Walk) {
                const TAdvanceDirection kept = FGrid.Navigation.AdvanceDirection;
                FGrid.Navigation.AdvanceDirection = adLeftRight;
                auto restore = cb::rtl::OnScopeExit([this, kept] { FGrid.Navigation.AdvanceDirection = kept; });
                AdvanceCell(FGrid.Col(), FGrid.Row(), true, false, route.WalkForward);
            } else if (route.Advance) {
                LeaveEditorByKey(Qt::Key_Return, shift);
            } else {
                LeaveEditorByKey(route.GridKey, key->key() == Qt::Key_Backtab ? shift | Qt::ShiftModifier : shift);
            }
            if ((FGrid.Options() & goAlwaysShowEditor) || FGrid.Navigation.AlwaysEdit) ShowEditor();
        } catch (const std::exception& e) {
            // None escapes the editor's event.
            FGrid.ReportEditError(e);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TGridEditPart::LeaveEditorByKey(int key, Qt::KeyboardModifiers shift) {
    if (FEditor) CancelEditor();
    if (!FGrid.hasFocus()) FGrid.setFocus(Qt::OtherFocusReason);
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        FGrid.TabToNextCell(key == Qt::Key_Backtab || (shift & Qt::ShiftModifier));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (FGrid.Navigation.AdvanceOnEnter)
            AdvanceCell(FGrid.Col(), FGrid.Row(), false, false, !(shift & Qt::ShiftModifier));
        break;
    case Qt::Key_Escape:
    case 0:
        break;
    default: {
        QKeyEvent press(QEvent::KeyPress, key, shift);
        QCoreApplication::sendEvent(&FGrid, &press);
        break;
    }
    }
}

// ---------------------------------------------------------------------------
// Mouse and focus

bool TGridEditPart::MouseDoubleClick(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || FEditor) return false;
    const TGridCoord c = FGrid.MouseCoord(int(event.position().x()), int(event.position().y()));
    if (c.X != FGrid.Col() || c.Y != FGrid.Row()) return false;
    ShowEditor();
    return false;
}

bool TGridEditPart::MouseRelease(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || FEditor) return false;
    if (!FGrid.MouseActions.DirectEdit && !(FGrid.Options() & goAlwaysShowEditor)) return false;
    const TGridCoord c = FGrid.MouseCoord(int(event.position().x()), int(event.position().y()));
    // A plain click: the part sees its release while the grid is still
    // selecting; a release that ends a sizing or moving opens nothing.
    const bool click = FGrid.GridState() == gsNormal || FGrid.GridState() == gsSelecting;
    if (!click || c.X != FGrid.Col() || c.Y != FGrid.Row()) return false;
    // The grid finishes the click first; the editor then opens on the cell.
    QMetaObject::invokeMethod(
        this, [this, c] {
            if (!FEditor && FGrid.Col() == c.X && FGrid.Row() == c.Y) ShowEditor();
        },
        Qt::QueuedConnection);
    return false;
}

void TGridEditPart::FocusChanged(QWidget* old, QWidget* now) {
    if (!FEditor || FLeaving || !old || !now) return;
    if (FScrolledOut && old == &FGrid && !OwnsWidget(now)) {
        // The editor is out of view and the focus leaves the grid: the
        // value is committed, as from a shown editor.
        try {
            if (!CommitEditor()) CancelEditor();
        } catch (const std::exception& e) {
            FGrid.ReportEditError(e);
        }
        return;
    }
    if (!OwnsWidget(old) || OwnsWidget(now)) return;
    // A popup of the editor itself (a combo's list, a calendar) keeps it.
    if (now->window() != FGrid.window() && now->window()->windowType() == Qt::Popup) return;
    // To the grid: a click on a cell moves through CellChanging, which
    // commits; any other widget commits now.
    if (now == &FGrid) return;
    try {
        if (!CommitEditor()) CancelEditor();
    } catch (const std::exception& e) {
        FGrid.ReportEditError(e);
    }
}

// ---------------------------------------------------------------------------
// The grid moves, scrolls and changes

bool TGridEditPart::CellChanging(int col, int row) {
    if (FAdvancing) return true;
    if (FEditor && !(col == FGrid.Col() && row == FGrid.Row())) {
        if (!CommitEditor()) return false;
    }
    // Editing follows the cell: switched off where the cell may not be
    // edited, back on where it may.
    if (col >= 0 && row >= 0 && col < FGrid.ColCount() && row < FGrid.RowCount()) {
        const int rc = FGrid.RealColIndex(col);
        if (!FGrid.IsCheckOrRadioCell(rc, row)) {
            const bool mayEdit = (FGrid.Options() & goEditing) || FEditingSwitchedOff;
            if (mayEdit) {
                bool can = true;
                FGrid.CanEditCell(rc, row, can);
                if (can && FEditingSwitchedOff) {
                    FEditingSwitchedOff = false;
                    FGrid.SetOptions(FGrid.Options() | goEditing);
                } else if (!can && (FGrid.Options() & goEditing)) {
                    FEditingSwitchedOff = true;
                    FGrid.SetOptions(FGrid.Options() & ~goEditing);
                }
            }
        }
    }
    FEditStartText = col >= 0 && row >= 0 && col < FGrid.ColCount() && row < FGrid.RowCount()
                         ? FGrid.GetCellText(FGrid.RealColIndex(col), row)
                         : std::string();
    return true;
}

bool TGridEditPart::EditedCellInView() const {
    const TRect r = FGrid.GetMergedCellRect(FMemoryCol, FMemoryRow);
    const TRect area = FGrid.CellArea();
    return r.Right > r.Left && r.Bottom > r.Top && r.Left >= area.Left && r.Top >= area.Top && r.Left < area.Right &&
           r.Top < area.Bottom;
}

void TGridEditPart::Scrolled() {
    FollowCellControls();
    if (!FEditor) return;
    QWidget* w = FEditor->Widget();
    if (EditedCellInView()) {
        PlaceEditor();
        if (FScrolledOut) {
            // Back in view: the editor shows again with what was typed.
            FScrolledOut = false;
            const bool gridFocused = FGrid.hasFocus();
            w->show();
            w->raise();
            if (gridFocused) FEditor->FocusWidget()->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    if (FScrolledOut) return;
    // Out of view: the editor hides and keeps its value; the edit stays
    // open until the cell moves, the focus leaves the grid or the cell
    // comes back into view.
    FScrolledOut = true;
    const bool hadFocus = w->isAncestorOf(QApplication::focusWidget()) || w->hasFocus();
    FLeaving = true;
    auto done = cb::rtl::OnScopeExit([this] { FLeaving = false; });
    if (hadFocus) FGrid.setFocus(Qt::OtherFocusReason);
    w->hide();
}

QWidget* TGridEditPart::CellControl(int col, int row) const {
    if (col < 0 || row < 0 || col >= FGrid.ColCount() || row >= FGrid.RowCount()) return nullptr;
    const TCellProperties* p = FGrid.GetCellObject(col, row);
    return p ? p->Control : nullptr;
}

void TGridEditPart::FollowCellControls() {
    const int left = FGrid.LeftCol(), top = FGrid.TopRow();
    const int cols = FGrid.VisibleColCount() + 1, rows = FGrid.VisibleRowCount() + 1;
    const auto inView = [&](int c, int r) { return c >= left && c < left + cols && r >= top && r < top + rows; };
    // Controls of cells that left the view keep their corner at zero size.
    if (FControlsLeft >= 0) {
        for (int r = FControlsTop; r < FControlsTop + FControlsRows; ++r)
            for (int c = FControlsLeft; c < FControlsLeft + FControlsCols; ++c) {
                if (inView(c, r)) continue;
                if (QWidget* control = CellControl(c, r)) control->setGeometry(control->x(), control->y(), 0, 0);
            }
    }
    for (int r = top; r < top + rows; ++r)
        for (int c = left; c < left + cols; ++c)
            if (QWidget* control = CellControl(c, r)) {
                const TRect cell = FGrid.CellRect(c, r);
                control->setGeometry(cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top);
            }
    FControlsLeft = left;
    FControlsTop = top;
    FControlsCols = cols;
    FControlsRows = rows;
}

void TGridEditPart::BeforeStorageChange() {
    if (!FEditor || FValidating) return;
    if (!CommitEditor()) CancelEditor();
}

// ---------------------------------------------------------------------------
// Advancing

void TGridEditPart::AdvanceCell(int col, int row, bool force, bool showEditor, bool forward) {
    TNavigation& nav = FGrid.Navigation;
    if (!nav.AdvanceOnEnter && !force) return;
    if (FGrid.MouseActions.RangeSelectAndEdit && !(FGrid.Options() & goEditing))
        FGrid.SetOptions(FGrid.Options() | goEditing);
    const int firstCol = FGrid.FixedCols();
    const int firstRow = FGrid.FixedRows();
    int lastCol = FGrid.ColCount() - FGrid.FixedRightCols() - 1;
    int lastRow = FGrid.RowCount() - FGrid.FixedFooters() - 1;
    if (lastCol < firstCol || lastRow < firstRow) return;
    const int oldCol = col;
    const int oldRow = row;
    // One pass over the normal area at most: with no editable cell ahead
    // the current cell stays.
    const long long bound = (long long)(lastCol - firstCol + 1) * (lastRow - firstRow + 1) + 1;
    for (long long step = 0; step < bound; ++step) {
        const TGridCoord span = FGrid.GetMergedSpan(col, row);
        int nc = col, nr = row;
        bool stay = false;
        if (forward && nav.AdvanceDirection == adLeftRight) {
            if (col + span.X >= lastCol) {
                if (row < lastRow) {
                    nc = firstCol;
                    nr = row + 1;
                } else if (nav.AdvanceInsert) {
                    bool allow = true;
                    if (FGrid.OnCanAddRow) FGrid.OnCanAddRow(&FGrid, allow);
                    if (allow) {
                        FGrid.AppendRow();
                        lastRow = FGrid.RowCount() - FGrid.FixedFooters() - 1;
                        nc = firstCol;
                        nr = row + 1;
                        if (FGrid.OnAutoAddRow) FGrid.OnAutoAddRow(&FGrid, lastRow);
                    } else {
                        stay = true;
                    }
                } else {
                    nc = firstCol;
                    nr = firstRow;
                }
            } else {
                nc = col + span.X + 1;
            }
        } else if (forward) {
            if (row + span.Y >= lastRow) {
                if (col < lastCol) {
                    nc = col + span.X + 1;
                    nr = firstRow;
                    if (nc >= FGrid.ColCount()) nc = firstCol;
                } else if (nav.AdvanceInsert) {
                    FGrid.SetColCount(FGrid.ColCount() + 1);
                    lastCol = FGrid.ColCount() - FGrid.FixedRightCols() - 1;
                    nc = col + span.X + 1;
                    nr = firstRow;
                    if (FGrid.OnAutoInsertCol) FGrid.OnAutoInsertCol(&FGrid, lastCol);
                } else {
                    nc = firstCol;
                    nr = firstRow;
                }
            } else {
                nr = row + span.Y + 1;
            }
        } else if (nav.AdvanceDirection == adLeftRight) {
            if (col > firstCol) {
                nc = col - 1;
            } else {
                nc = lastCol;
                nr = row > firstRow ? row - 1 : lastRow;
            }
        } else {
            if (row > firstRow) {
                nr = row - 1;
            } else {
                nr = lastRow;
                nc = col > firstCol ? col - 1 : lastCol;
            }
        }
        if (stay) return;
        // Backwards onto a covered cell: its base cell.
        const TGridCoord base = FGrid.FindBaseCell(FGrid.RealColIndex(nc), nr);
        if (!forward) {
            nc = FGrid.DisplColIndex(base.X);
            nr = base.Y;
        }
        col = nc;
        row = nr;
        if (col == oldCol && row == oldRow) return;
        if (!IsCellEditable(base.X, base.Y)) continue;
        bool allow = true;
        if (FGrid.OnCellChanging) FGrid.OnCellChanging(&FGrid, oldRow, oldCol, row, col, allow);
        if (!allow) return;
        {
            FAdvancing = true;
            auto clear = cb::rtl::OnScopeExit([this] { FAdvancing = false; });
            if (FEditor && !CommitEditor()) return;
            FGrid.FocusCell(col, row, true);
        }
        if (showEditor) ShowEditor();
        return;
    }
}

}  // namespace cb::grid
