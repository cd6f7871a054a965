#pragma once
// The grid's data part: header clicks sort, the clipboard keys copy, cut
// and paste, the selection's resize handle copies on the press and fills
// on the release, and the grid's CSV import (a dropped ".csv" file) reads
// the file. It reaches the grid through its public interface and keeps the
// clipboard's state.
#include "grid/GridPart.h"
#include "grid/data/GridClipboard.h"
#include "grid/data/GridSort.h"

namespace cb::grid {

class TGridDataPart : public TGridPart {
public:
    explicit TGridDataPart(TExtStringGrid& grid);

    TGridClipboard& Clipboard() { return FClipboard; }
    // The events the grid publishes for sorting.
    TSortHooks SortHooks() const;

    // The steps of a header-click sort on a column (Shift: index mode adds
    // or toggles the column).
    void ClickSort(int col, bool shift);
    bool ImportCSVFile(const std::string& fileName) override;

    bool KeyPress(QKeyEvent& event) override;
    bool MousePress(QMouseEvent& event) override;
    bool MouseMove(QMouseEvent& event) override;
    bool MouseRelease(QMouseEvent& event) override;

private:
    TExtStringGrid& FGrid;
    TGridClipboard FClipboard;
    TGridCoord FPress{-1, -1};
    // Dragging the selection's resize handle: the block copied and its
    // top-left cell.
    bool FFilling = false;
    TGridCoord FFillFrom{-1, -1};
};

}  // namespace cb::grid
