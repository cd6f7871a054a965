#pragma once
// TGridPart: a piece of the grid's behaviour kept in an object of its own
// rather than in more members of the grid class: editing cells in place
// (grid/edit) and the data operations (grid/data: sorting, the clipboard,
// smart fill, CSV). The grid owns one object per kind (TGridPartKind), made
// when the grid is made, and offers each key, mouse and drop event to its
// parts, editing first, before its own handling; a part that returns true
// has handled the event and the grid does nothing more with it.
//
// A part reaches the grid through the grid's public interface. An exception
// that leaves a part's handler is caught by the grid and reported like a
// failed drop (OnDropError, else a message box): none escapes the event.
//
// To add a part: derive from TGridPart in its own folder and define its
// factory below there (MakeGridEditPart in grid/edit, MakeGridDataPart in
// grid/data); tests and programs may also put one in place with
// TExtStringGrid::SetPart.
//
// The edit part offers more than events: TGridEditing below is what the
// grid itself asks of it (the grid sees the edit part only through it).
#include "grid/util/GridTypes.h"

#include <QString>
#include <Qt>

#include <memory>
#include <string>
#include <vector>

class QDragMoveEvent;
class QDropEvent;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;

namespace cb::grid {

class TEditLink;
class TExtStringGrid;

enum class TGridPartKind {
    Edit,  // in-place editing (grid/edit)
    Data   // sorting, clipboard, smart fill, CSV (grid/data)
};

class TGridPart {
public:
    virtual ~TGridPart() = default;
    virtual bool KeyPress(QKeyEvent&) { return false; }
    virtual bool KeyRelease(QKeyEvent&) { return false; }
    virtual bool MousePress(QMouseEvent&) { return false; }
    virtual bool MouseMove(QMouseEvent&) { return false; }
    virtual bool MouseRelease(QMouseEvent&) { return false; }
    virtual bool MouseDoubleClick(QMouseEvent&) { return false; }
    // A drag over the grid (the enter and each move): true when the part
    // accepted or ignored the event itself.
    virtual bool DragMove(QDragMoveEvent&) { return false; }
    virtual bool Drop(QDropEvent&) { return false; }
    // The grid lost the focus (nothing to answer: every part hears it).
    virtual void FocusOut(QFocusEvent&) {}
    // The grid's default CSV import (a dropped ".csv" file) asks its parts:
    // true when the part imported the file.
    virtual bool ImportCSVFile(const std::string&) { return false; }
};

// In-place editing as the grid sees it (the part: grid/edit/GridEditPart.h).
class TGridEditing : public TGridPart {
public:
    // An editor is shown for the current cell.
    virtual bool Editing() const = 0;
    virtual TEditorType EditorKind() const = 0;
    // Starts an edit of the current cell; false when it may not be edited.
    virtual bool ShowEditor(const QString& pending = {}) = 0;
    // Ends the edit committing the editor's value; false when refused.
    virtual bool CommitEditor() = 0;
    virtual void RememberEditCell(int col, int row) = 0;
    virtual bool ValidateEditedCell(const std::string& newText) = 0;
    virtual void RestoreEditText() = 0;
    virtual bool IsCellEditable(int col, int row) const = 0;
    virtual void AdvanceCell(int col, int row, bool force, bool showEditor, bool forward) = 0;
    virtual void LeaveEditorByKey(int key, Qt::KeyboardModifiers shift) = 0;
    // The edit is moving on to the next cell (no OnCellChanging then).
    virtual bool Advancing() const = 0;
    // The current cell is about to move to (col, row): an open edit is
    // committed first; false keeps the cell where it is.
    virtual bool CellChanging(int col, int row) = 0;
    // The grid scrolled: the editor follows its cell or commits.
    virtual void Scrolled() = 0;
    // Rows, columns or their order are about to change.
    virtual void BeforeStorageChange() = 0;

    // Items of the combo editors (set them in OnGetEditorType).
    std::vector<std::string> ComboItems;
    int DefaultComboIndex = -1;
    // The custom editor link (not owned).
    TEditLink* EditLink = nullptr;
};

// The parts a grid makes for itself; nullptr: the grid has none of that
// kind. Each is defined beside its part.
std::unique_ptr<TGridPart> MakeGridEditPart(TExtStringGrid& grid);
std::unique_ptr<TGridPart> MakeGridDataPart(TExtStringGrid& grid);

}  // namespace cb::grid
