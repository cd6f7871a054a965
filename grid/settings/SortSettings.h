#pragma once
// How the sort column is shown.
#include "grid/util/GridTypes.h"

#include "platform/gfx/Bitmap.h"

namespace cb::grid {

enum TSortDirection {
    sdAscending,
    sdDescending
};

enum TSortBlankPosition {
    blFirst,
    blLast
};
// How the grid sorts and shows its sort column.
struct TSortSettings {
    bool Show = false;
    int Row = 0;
    int Column = 0;
    TSortDirection Direction = sdAscending;
    bool FixedCols = false;
    bool IndexShow = false;
    // Sorts move only the cells of Column.
    bool SingleColumn = false;
    // Merged cells are split before a header-click sort and equal runs of
    // MergeColumnList merged again after it.
    bool AutoColumnMerge = false;
    // A tie is broken by the next column (the next index entry).
    bool Full = true;
    // Empty cells go first (BlankPos blFirst) or last whatever the direction.
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    // The style of a column starts as ssAutomatic (read from the cells),
    // else as ssAlphabetic.
    bool AutoFormat = true;
    // With fixed columns, column 0 keeps its order.
    bool NormalCellsOnly = false;
    TColor IndexColor = cb::gfx::clYellow;
    cb::gfx::TBitmap UpGlyph, DownGlyph, IndexUpGlyph, IndexDownGlyph;
};

}  // namespace cb::grid
