// TExtStringGrid: disjunct row, column and cell selections.
#include "grid/ExtStringGrid.h"
#include "grid/util/NumberUtils.h"

#include <algorithm>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Disjunct selection

void TExtStringGrid::GrowRowList(int row) {
    if (int(FRowSelect.size()) <= row) FRowSelect.resize(size_t(row) + 1, 0);
}

void TExtStringGrid::GrowColList(int col) {
    if (int(FColSelect.size()) <= col) FColSelect.resize(size_t(col) + 1, 0);
}

bool TExtStringGrid::IsRowSelected(int row) {
    if (row < 0 || row >= RowCount()) throw EExtGridError("Invalid row accessed");
    GrowRowList(row);
    return FRowSelect[size_t(row)] != 0;
}

bool TExtStringGrid::IsColumnSelected(int col) {
    if (col < 0 || col >= ColCount()) throw EExtGridError("Invalid column accessed");
    GrowColList(col);
    return FColSelect[size_t(col)] != 0;
}

void TExtStringGrid::SetRowSelected(int row, bool marked) {
    if (row < 0 || row >= RowCount()) throw EExtGridError("Invalid row accessed");
    GrowRowList(row);
    if ((FRowSelect[size_t(row)] != 0) != marked) InvalidateRow(row);
    FRowSelect[size_t(row)] = marked ? 1 : 0;
}

void TExtStringGrid::SetColumnSelected(int col, bool marked) {
    if (col < 0 || col >= ColCount()) throw EExtGridError("Invalid column accessed");
    GrowColList(col);
    if ((FColSelect[size_t(col)] != 0) != marked) InvalidateCol(col);
    FColSelect[size_t(col)] = marked ? 1 : 0;
}

void TExtStringGrid::ClearRowSelection() {
    for (size_t i = 0; i < FRowSelect.size(); ++i)
        if (FRowSelect[i]) {
            InvalidateRow(int(i));
            FRowSelect[i] = 0;
        }
}

void TExtStringGrid::ClearColumnSelection() {
    for (size_t i = 0; i < FColSelect.size(); ++i)
        if (FColSelect[i]) {
            InvalidateCol(int(i));
            FColSelect[i] = 0;
        }
}

int TExtStringGrid::GetSelectedColumnCount() const {
    return int(std::count(FColSelect.begin(), FColSelect.end(), 1));
}

int TExtStringGrid::GetSelectedRowCount() const {
    return int(std::count(FRowSelect.begin(), FRowSelect.end(), 1));
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
    return FCellSelect.Contains({col, row});
}

void TExtStringGrid::SetCellSelected(int col, int row, bool selected) {
    if (selected ? FCellSelect.Add({col, row}) : FCellSelect.Remove({col, row})) InvalidateCellArea(col, row);
}

void TExtStringGrid::ClearCellSelection() {
    FCellSelect.Clear();
    InvalidateGrid();
}

bool TExtStringGrid::IsCellSelected(int col, int row) const {
    if (col < FixedCols() || row < FixedRows()) return false;
    if (MouseActions.DisjunctRowSelect) return row < int(FRowSelect.size()) && FRowSelect[size_t(row)] != 0;
    if (MouseActions.DisjunctColSelect) return col < int(FColSelect.size()) && FColSelect[size_t(col)] != 0;
    return CellInGridRect(Selection(), col, row);
}

void TExtStringGrid::HideSelection() {
    FSavedSelection = Selection();
    SetSelection({ColCount(), RowCount(), ColCount(), RowCount()});
    FSelectionHidden = true;
}

void TExtStringGrid::RestoreSelection() {
    FSelectionHidden = false;
    SetSelection(FSavedSelection);
}

}  // namespace cb::grid
