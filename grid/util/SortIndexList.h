#pragma once
// The columns a grid is sorted by, most significant first.
#include "grid/util/IntList.h"

namespace cb::grid {

// Column numbers; bit 31 marks a descending entry.
class TSortIndexList : public TIntList {
public:
    static constexpr unsigned kDescending = 0x80000000u;
    static int Column(int entry) { return int(unsigned(entry) & ~kDescending); }
    static bool Descending(int entry) { return unsigned(entry) & kDescending; }
    // Position of a column in the list, -1 when absent.
    int FindColumn(int col) const;
    void AddIndex(int col, bool ascending) { AddValue(ascending ? col : int(unsigned(col) | kDescending)); }
    // Flips the direction of the column's first entry; nothing when absent.
    void ToggleIndex(int col);
};

}  // namespace cb::grid
