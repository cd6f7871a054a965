#pragma once
// The grid's own mouse cursors: arrows that point at what a press selects.
#include <QCursor>

namespace cb::grid {

// Codes of the grid's cursors, above every Qt::CursorShape value: the input
// code passes them where it passes a Qt::CursorShape.
enum TGridCursor : int {
    gcColumnHeader = 100,  // a whole column (points down)
    gcRowHeader,           // a whole row (points right)
    gcSelectAll            // everything, or the selection's resize handle
};

// The cursor of a code: a Qt::CursorShape or a TGridCursor.
QCursor GridCursor(int code);

}  // namespace cb::grid
