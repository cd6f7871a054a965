#pragma once
// TGridEditPart: in-place editing of the grid's cells, a part the grid owns
// (GridPart.h). It decides per cell which editor kind to show (the grid's
// OnGetEditorType), shows that editor over the cell, routes the editor's
// keys (KeyRouter.h), validates the value when the edit ends and writes it
// back, and advances to the next editable cell.
//
// An edit starts from typing on the current cell, F2, Enter, a double
// click, a click with MouseActions.DirectEdit, or a move with
// goAlwaysShowEditor. It ends by a leave key (committed through the grid's
// ValidateEditedCell: OnCellValidate, OnCellsChanged, then OnEditingDone),
// Escape (the old text back, OnEditingDone only), the focus going to
// another widget (committed), a move of the current cell (committed; a
// refused value keeps the cell current), or a change of the grid's rows,
// columns or order (committed first, so the value never lands in another
// cell). A value is written back only when the user changed the editor.
#include "grid/GridPart.h"
#include "grid/util/GridTypes.h"
#include "grid/edit/CellEditor.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::grid {

class TEditLink;
class TExtInplaceEdit;
class TExtStringGrid;

class TGridEditPart : public QObject, public TGridEditing {
public:
    explicit TGridEditPart(TExtStringGrid& grid);
    ~TGridEditPart() override;

    // --- input offered by the grid ---------------------------------------------
    bool KeyPress(QKeyEvent& event) override;
    bool MouseDoubleClick(QMouseEvent& event) override;
    bool MouseRelease(QMouseEvent& event) override;

    // --- the edit ------------------------------------------------------------------
    // An editor is shown for the current cell.
    bool Editing() const override { return FEditor != nullptr; }
    TEditorType EditorKind() const override { return FKind; }
    // The shown editor's control (nullptr when none).
    QWidget* EditorWidget() const;
    // The in-place edit (made at the first edit that needs it).
    TExtInplaceEdit* InplaceEdit() const { return FInplace; }
    // Starts an edit of the current cell; pending: a typed text delivered
    // to the editor. False when the cell may not be edited.
    bool ShowEditor(const QString& pending = {}) override;
    // Ends the edit committing the editor's value; false when the value was
    // refused (the editor stays open on the cell's text).
    bool CommitEditor() override;
    // Ends the edit writing nothing (the cell keeps its text).
    void CancelEditor();
    // Escape: the text from before the edit goes back, the edit ends.
    void EscapeEditor();

    // --- the grid's editing operations (the grid forwards to these) ---------
    void RememberEditCell(int col, int row) override;
    bool ValidateEditedCell(const std::string& newText) override;
    void RestoreEditText() override;
    bool IsCellEditable(int col, int row) const override;
    void AdvanceCell(int col, int row, bool force, bool showEditor, bool forward) override;
    void LeaveEditorByKey(int key, Qt::KeyboardModifiers shift) override;
    bool Validating() const { return FValidating; }
    bool Advancing() const override { return FAdvancing; }
    const std::string& EditStartText() const { return FEditStartText; }
    // The current cell is about to move to (col, row): an open edit is
    // committed first; false keeps the cell where it is.
    bool CellChanging(int col, int row) override;
    // The grid scrolled: the editor follows its cell, hides (keeping its
    // value) while the cell is out of view and shows again when it is back;
    // the cells' own controls follow their cells.
    void Scrolled() override;
    // The control a cell carries in its properties (none: nullptr).
    QWidget* CellControl(int col, int row) const;
    // The edit is open but its cell is scrolled out of view.
    bool ScrolledOut() const { return FScrolledOut; }
    // Rows, columns or their order are about to change.
    void BeforeStorageChange() override;
    // Places the shown editor over its cell again (the cell changed size).
    void PlaceEditor();

    // --- settings of the editors ----------------------------------------------------
    // The objects of the combo items, by index (not owned; may be shorter).
    std::vector<void*> ComboObjects;
    // A combo item was chosen (clicked or stepped to with the wheel); fired
    // after the grid's OnComboChange, with the item's object.
    std::function<void(QObject* sender, int col, int row, int index, const std::string& text, void* object)>
        OnComboObjectChange;
    // Spin editor ranges.
    int SpinMin = 0, SpinMax = 100, SpinIncrement = 1;
    double SpinFloatMin = 0, SpinFloatMax = 100, SpinFloatIncrement = 0.1;
    // The date pickers show a check box; unticked, the cell is emptied.
    bool DateCheckBox = false;
    // The editor kinds' controls, made when first used (nullptr before).
    TCellEditor* Editor(TEditorType kind);

    TExtStringGrid& Grid() { return FGrid; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RouteKey(QKeyEvent& event);
    void FocusChanged(QWidget* old, QWidget* now);
    void HideEditorControl();
    bool OwnsWidget(const QWidget* w) const;
    // The text the editor writes back: its value, or the text from before
    // the edit when the user changed nothing.
    std::string EditorValue();
    void DeliverPending(const QString& text);
    bool MoveBackToEditedCell();
    bool EditedCellInView() const;
    void FollowCellControls();
    // A key on the grid while the editor is scrolled out of view.
    bool KeyWhileScrolledOut(QKeyEvent& event);
    // An editor of a kind's family, made on first use.
    std::unique_ptr<TCellEditor> MakeEditor(TEditorType kind);

    TExtStringGrid& FGrid;
    TEditorType FKind = edNormal;
    TCellEditor* FEditor = nullptr;  // the shown one, owned by FEditors
    std::array<std::unique_ptr<TCellEditor>, 40> FEditors;
    TExtInplaceEdit* FInplace = nullptr;  // owned by its slot in FEditors
    std::string FEditStartText;
    std::string FFilled;  // the editor's value right after filling
    int FMemoryCol = -1, FMemoryRow = -1;
    std::string FMemoryText;
    bool FValidating = false;
    bool FAdvancing = false;
    bool FEditingSwitchedOff = false;
    bool FLeaving = false;
    bool FScrolledOut = false;
    // The cells whose controls were placed at the last scroll.
    int FControlsLeft = -1, FControlsTop = -1, FControlsCols = 0, FControlsRows = 0;
};

}  // namespace cb::grid
