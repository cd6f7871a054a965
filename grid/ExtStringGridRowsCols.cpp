// TExtStringGrid: clearing, inserting, removing and cutting rows and
// columns, keeping cell objects and selection marks with their cells.
#include "grid/ExtStringGridPrivate.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace cb::grid {

// ---------------------------------------------------------------------------
// Rows and columns

void TExtStringGrid::CellsChanged(const TGridRect& cells) {
    if (OnCellsChanged) OnCellsChanged(this, cells);
    RecalcFooter();
}

void TExtStringGrid::ClearRect(int c1, int r1, int c2, int r2) {
    BeforeStorageChange();
    for (int row = r1; row <= r2; ++row)
        for (int d = c1; d <= c2; ++d) {
            int k = RealColIndex(d);
            if (CellHasProperties(k, row) && !KeepCellObjects) ReplaceCellObject(k, row, nullptr);
            if (!Destroying() && !GetRawCellText(k, row).empty()) {
                SetCellText(k, row, std::string());
                if (k != d) InvalidateCellArea(d, row);
            }
        }
    if (!Destroying()) CellsChanged({c1, r1, c2, r2});
}

void TExtStringGrid::ClearRowRange(int row, int count) {
    if (RowCount() > 0 && ColCount() > 0 && count > 0)
        ClearRect(0, row, ColCount() - 1 + HiddenColumnCount(), row + count - 1);
}

void TExtStringGrid::ClearColumnRange(int col, int count) {
    if (RowCount() > 0 && ColCount() > 0 && count > 0) ClearRect(col, 0, col + count - 1, RowCount() - 1);
}

void TExtStringGrid::ClearAllCells() {
    if (RowCount() > 0 && ColCount() > 0) ClearRect(0, 0, ColCount() - 1 + HiddenColumnCount(), RowCount() - 1);
    // Hidden rows too: they come back empty.
    FD->HiddenRows.ForEach([this](THiddenRow& item) {
        for (TCell& cell : item.Items) {
            cell.Text.clear();
            if (!KeepCellObjects) cell.Props.reset();
        }
    });
}

void TExtStringGrid::RemoveRows(int row, int count) {
    BeforeStorageChange();
    if (count <= 0 || row < 0) return;
    FreeCellObjects(0, row, ColCount() - 1, row + count - 1);
    if (row >= RowCount()) return;
    count = std::min(count, RowCount() - row);
    bool keepOne = count == RowCount();  // a grid keeps at least one row
    int removeCount = keepOne ? count - 1 : count;

    SuspendRepaint();
    int oldTop = TopRow();
    int oldRow = Row();
    auto& rows = RowStore();
    auto& heights = RowHeightStore();
    rows.erase(rows.begin() + row, rows.begin() + row + removeCount);
    heights.erase(heights.begin() + row, heights.begin() + row + removeCount);
    if (keepOne)
        for (auto& c : rows[0]) c.Text.clear();
    // The marks follow their rows.
    FD->Selection.RowsRemoved(row, removeCount);
    RowsRemoved(oldRow, oldTop);
    ResumeRepaint();
    CellsChanged({0, row, ColCount() - 1, row + count});
    if (TopRow() >= RowCount() - 1) SetTopRow(RowCount() - 1);
}

void TExtStringGrid::RowsRemoved(int oldRow, int oldTop) {
    StorageMoved();
    SetDisplayTextRowLimit(RowCount());
    const int lastNormal = RowCount() - FD->FFixedFooters - 1;
    if (oldRow < RowCount() - FD->FFixedFooters && oldRow >= FixedRows()) {
        SetSelection({Col(), oldRow, Col(), oldRow});
        SetTopRow(oldTop);
    } else if (lastNormal >= FixedRows()) {
        SetSelection({Col(), lastNormal, Col(), lastNormal});
    } else {
        HideSelection();
    }
}

void TExtStringGrid::InsertRows(int row, int count) {
    BeforeStorageChange();
    if (count <= 0) return;
    row = std::clamp(row, 0, RowCount());
    auto& rows = RowStore();
    auto& heights = RowHeightStore();
    std::vector<TRowCells> fresh(static_cast<size_t>(count));
    {
        std::optional<TRowBulkScope> bulk;
        if (count >= BulkRowCount) bulk.emplace();
        for (auto& r : fresh) r.resize(size_t(ColCount()));
    }
    rows.insert(rows.begin() + row, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    heights.insert(heights.begin() + row, size_t(count), DefaultRowHeight());
    FD->Selection.RowsInserted(row, count);
    StorageMoved();
    SetDisplayTextRowLimit(RowCount());
    UpdateScrollBars();
    InvalidateGrid();
}

void TExtStringGrid::RemoveCols(int col, int count) {
    BeforeStorageChange();
    if (count <= 0 || col < 0 || col >= ColCount()) return;
    count = std::min(count, ColCount() - col);
    ClearColumnRange(col, count);
    bool keepOne = count == ColCount();
    int removeCount = keepOne ? count - 1 : count;
    for (auto& r : RowStore()) r.erase(r.begin() + col, r.begin() + col + removeCount);
    auto& widths = ColWidthStore();
    widths.erase(widths.begin() + col, widths.begin() + col + removeCount);
    FD->Selection.ColsRemoved(col, removeCount);
    StorageMoved();
    SizeChanged(ColCount(), RowCount());
    CellsChanged({col, 0, col + count, RowCount() - 1});
}

void TExtStringGrid::InsertCols(int col, int count) {
    BeforeStorageChange();
    if (count <= 0) return;
    col = std::clamp(col, 0, ColCount());
    for (auto& r : RowStore()) {
        std::vector<TCell> fresh(static_cast<size_t>(count));
        r.insert(r.begin() + col, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    }
    auto& widths = ColWidthStore();
    widths.insert(widths.begin() + col, size_t(count), DefaultColWidth());
    FD->Selection.ColsInserted(col, count);
    StorageMoved();
    SizeChanged(ColCount(), RowCount());
}

void TExtStringGrid::CutRows(int row, int count) {
    if (count <= 0 || row < 0 || row >= RowCount()) return;
    auto& rows = RowStore();
    for (int r = row; r < RowCount(); ++r) {
        if (r + count < RowCount())
            rows[size_t(r)] = std::move(rows[size_t(r + count)]);
        else
            rows[size_t(r)] = TRowCells(size_t(ColCount()));
    }
    StorageMoved();
    int oldRow = Row();
    int oldTop = TopRow();
    RemoveRows(row, count);
    if (oldRow < RowCount()) {
        SetSelection({Col(), oldRow, Col(), oldRow});
        SetTopRow(oldTop);
    } else if (FixedRows() < RowCount()) {
        SetSelection({Col(), FixedRows(), Col(), FixedRows()});
        SetTopRow(FixedRows());
    }
}

void TExtStringGrid::RemoveSelectedRows() {
    SuspendRepaint();
    if (!MouseActions.DisjunctRowSelect) SelectionToRows(true);
    int row = FixedRows();
    while (row < RowCount() - FD->FFixedFooters && RowCount() > 1) {
        if (IsRowSelected(row))
            RemoveRows(row, 1);
        else
            ++row;
    }
    ResumeRepaint();
}

void TExtStringGrid::AppendRow() {
    InsertRows(FloatingFooter.Visible() ? RowCount() - 1 : RowCount(), 1);
}

}  // namespace cb::grid
