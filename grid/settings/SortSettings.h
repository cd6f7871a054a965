#pragma once
// How the sort column is shown.
#include "grid/GridTypes.h"

#include "platform/gfx/Bitmap.h"

namespace cb::grid {

enum TSortDirection {
    sdAscending,
    sdDescending
};

// What the painter needs of the sort settings.
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
    TColor IndexColor = cb::gfx::clYellow;
    cb::gfx::TBitmap UpGlyph, DownGlyph, IndexUpGlyph, IndexDownGlyph;
};

}  // namespace cb::grid
