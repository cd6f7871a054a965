#pragma once

namespace cb::grid {

// Mouse behaviour. The three disjunct modes may be combined at run time.
struct TMouseActions {
    bool ColSelect = false;
    bool RowSelect = false;
    bool AllSelect = false;
    bool DirectEdit = false;
    bool DirectComboDrop = false;
    bool DisjunctRowSelect = false;
    bool DisjunctColSelect = false;
    bool DisjunctCellSelect = false;
    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool CaretPositioning = false;
    bool SizeFixedCol = false;
    bool RangeSelectAndEdit = false;
    bool NoAutoRangeScroll = false;
};

}  // namespace cb::grid
