#pragma once
// TGridSelection: the grid's disjunct selections (marked rows, marked
// columns, marked cells) and the range put aside while the selection is
// hidden. It keeps the marks in step with rows and columns that are
// inserted, removed, exchanged or taken out of view; the grid checks the
// indexes it is given and repaints what changed.
#include "grid/util/GridTypes.h"
#include "grid/util/CellList.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace cb::grid {

class TGridSelection {
public:
    // --- marked rows and columns ------------------------------------------------
    bool RowMarked(int row) const { return Marked(FRows, row); }
    bool ColMarked(int col) const { return Marked(FCols, col); }
    // True when the mark changed.
    bool MarkRow(int row, bool marked) { return Mark(FRows, row, marked); }
    bool MarkCol(int col, bool marked) { return Mark(FCols, col, marked); }
    // Clears every mark; cleared is called with each index that was marked.
    void ClearRowMarks(const std::function<void(int)>& cleared) { ClearMarks(FRows, cleared); }
    void ClearColMarks(const std::function<void(int)>& cleared) { ClearMarks(FCols, cleared); }
    int MarkedRowCount() const;
    int MarkedColCount() const;
    // The length of the row mark list (rows past it are unmarked).
    int RowMarkListSize() const { return int(FRows.size()); }
    // Grows the row (column) mark list to hold index.
    void GrowRowMarks(int row) { Grow(FRows, row); }
    void GrowColMarks(int col) { Grow(FCols, col); }

    // --- marked cells --------------------------------------------------------------
    const TCellList& Cells() const { return FCells; }
    bool CellMarked(int col, int row) const { return FCells.Contains({col, row}); }
    // True when the mark changed.
    bool MarkCell(int col, int row, bool marked) { return marked ? FCells.Add({col, row}) : FCells.Remove({col, row}); }
    void ClearCellMarks() { FCells.Clear(); }

    // --- rows and columns moving in storage ----------------------------------------
    void RowsInserted(int row, int count);
    void RowsRemoved(int row, int count);
    void ColsInserted(int col, int count);
    void ColsRemoved(int col, int count);
    void ExchangeRows(int a, int b);
    // Rows took new places: map holds the new index of each old row (-1:
    // the row went). Row marks follow only when some are kept; with
    // newCount >= 0 the row list is rebuilt at that length (rows without
    // an old row unmarked), else it ends at the last row that stayed.
    void RemapRows(const std::vector<int>& map, int newCount);
    // Moves the cell marks to new rows (-1: the row went).
    void RemapCellRows(const std::vector<int>& map);

    // --- the hidden selection and dragging ------------------------------------------
    const TGridRect& Saved() const { return FSaved; }
    void Hide(const TGridRect& current) {
        FSaved = current;
        FHidden = true;
    }
    void Unhide() { FHidden = false; }
    bool Hidden() const { return FHidden; }
    // A disjunct selection being extended by a mouse drag.
    bool Dragging() const { return FDragging; }
    void SetDragging(bool value) { FDragging = value; }

private:
    using TMarks = std::vector<std::uint8_t>;
    static bool Marked(const TMarks& marks, int i) { return i >= 0 && i < int(marks.size()) && marks[size_t(i)]; }
    static bool Mark(TMarks& marks, int i, bool marked);
    static void Grow(TMarks& marks, int i) {
        if (int(marks.size()) <= i) marks.resize(size_t(i) + 1, 0);
    }
    static void ClearMarks(TMarks& marks, const std::function<void(int)>& cleared);
    static void Insert(TMarks& marks, int at, int count);
    static void Erase(TMarks& marks, int at, int count);

    TMarks FRows;
    TMarks FCols;
    TCellList FCells;
    TGridRect FSaved{};
    bool FHidden = false;
    bool FDragging = false;
};

}  // namespace cb::grid
