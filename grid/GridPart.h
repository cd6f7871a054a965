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
#include <memory>
#include <string>

class QDragMoveEvent;
class QDropEvent;
class QFocusEvent;
class QKeyEvent;
class QMouseEvent;

namespace cb::grid {

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

// The parts a grid makes for itself; nullptr: the grid has none of that
// kind. Each is defined beside its part.
std::unique_ptr<TGridPart> MakeGridEditPart(TExtStringGrid& grid);
std::unique_ptr<TGridPart> MakeGridDataPart(TExtStringGrid& grid);

}  // namespace cb::grid
