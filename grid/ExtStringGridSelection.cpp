// TExtStringGrid: disjunct row, column and cell selections (the marks are
// kept by TGridSelection; the grid checks indexes and repaints).
#include "grid/ExtStringGridPrivate.h"
#include "grid/util/NumberUtils.h"

namespace cb::grid {

// ---------------------------------------------------------------------------
// Disjunct selection

bool TExtStringGrid::IsRowSelected(int row) {
    if (row < 0 || row >= RowCount()) throw EExtGridError("Invalid row accessed");
    FD->Selection.GrowRowMarks(row);
    return FD->Selection.RowMarked(row);
}

bool TExtStringGrid::IsColumnSelected(int col) {
    if (col < 0 || col >= ColCount()) throw EExtGridError("Invalid column accessed");
    FD->Selection.GrowColMarks(col);
    return FD->Selection.ColMarked(col);
}

void TExtStringGrid::SetRowSelected(int row, bool marked) {
    if (row < 0 || row >= RowCount()) throw EExtGridError("Invalid row accessed");
    if (FD->Selection.MarkRow(row, marked)) InvalidateRow(row);
}

void TExtStringGrid::SetColumnSelected(int col, bool marked) {
    if (col < 0 || col >= ColCount()) throw EExtGridError("Invalid column accessed");
    if (FD->Selection.MarkCol(col, marked)) InvalidateCol(col);
}

void TExtStringGrid::ClearRowSelection() {
    FD->Selection.ClearRowMarks([this](int row) { InvalidateRow(row); });
}

void TExtStringGrid::ClearColumnSelection() {
    FD->Selection.ClearColMarks([this](int col) { InvalidateCol(col); });
}

int TExtStringGrid::GetSelectedColumnCount() const {
    return FD->Selection.MarkedColCount();
}

int TExtStringGrid::GetSelectedRowCount() const {
    return FD->Selection.MarkedRowCount();
}

void TExtStringGrid::SelectionToRows(bool all) {
    TGridRect s = Selection();
    for (int r = FixedRows(); r < RowCount(); ++r) {
        bool inside = r >= s.Top && r <= s.Bottom;
        if (all || inside) SetRowSelected(r, inside);
    }
}

void TExtStringGrid::SelectionToColumns(bool all) {
    TGridRect s = Selection();
    for (int c = FixedCols(); c < ColCount(); ++c) {
        bool inside = c >= s.Left && c <= s.Right;
        if (all || inside) SetColumnSelected(c, inside);
    }
}

void TExtStringGrid::SelectColumnRange(int firstCol, int count) {
    if (!MouseActions.DisjunctColSelect) {
        SetSelection({firstCol, FixedRows(), firstCol + count - 1, RowCount() - 1});
        return;
    }
    for (int c = firstCol; c < firstCol + count; ++c)
        if (c >= 0 && c < ColCount()) SetColumnSelected(c, true);
}

bool TExtStringGrid::IsCellSelectedDisjunct(int col, int row) const {
    return FD->Selection.CellMarked(col, row);
}

void TExtStringGrid::SetCellSelected(int col, int row, bool selected) {
    if (FD->Selection.MarkCell(col, row, selected)) InvalidateCellArea(col, row);
}

void TExtStringGrid::ClearCellSelection() {
    FD->Selection.ClearCellMarks();
    InvalidateGrid();
}

bool TExtStringGrid::IsCellSelected(int col, int row) const {
    if (col < FixedCols() || row < FixedRows()) return false;
    if (MouseActions.DisjunctRowSelect) return FD->Selection.RowMarked(row);
    if (MouseActions.DisjunctColSelect) return FD->Selection.ColMarked(col);
    return CellInGridRect(Selection(), col, row);
}

void TExtStringGrid::HideSelection() {
    const TGridRect current = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    FD->Selection.Hide(current);
}

void TExtStringGrid::RestoreSelection() {
    FD->Selection.Unhide();
    SetSelection(FD->Selection.Saved());
}

}  // namespace cb::grid
