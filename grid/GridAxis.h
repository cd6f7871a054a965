#pragma once
// One direction of the grid's layout: the sizes of its columns (or rows)
// and their prefix sums, so positions, hit tests and visible ranges cost
// O(log n). The grid keeps one for columns and one for rows and runs the
// same code on both.
#include <vector>

namespace cb::grid {

enum class TGridAxisKind {
    Cols,
    Rows
};

class TGridAxis {
public:
    std::vector<int> Sizes;  // width of each column (height of each row)

    int Count() const { return int(Sizes.size()); }
    // Call after Sizes changed.
    void Invalidate() { FValid = false; }
    // Left edge of each index, and the far edge at [Count()].
    const std::vector<int>& Positions() const;
    // Edge of index i (clamped to 0 .. Count()).
    int Pos(int i) const;
    // The index in [from, to) whose span holds v, or -1.
    int IndexAt(int v, int from, int to) const;
    // Indexes from first that fit fully into avail pixels; at least 1 while
    // first is an index.
    int VisibleCount(int first, int avail) const;
    // The largest first scrollable index that still fills avail pixels
    // (fixed .. Count() - 1).
    int MaxFirst(int fixed, int avail) const;
    // The first index, from first on, that shows all of index within avail
    // pixels; index itself when it is larger than avail.
    int FirstShowing(int first, int index, int avail) const;
    // The first index from from on whose edge lies at or beyond limit, with
    // from's edge at origin (exclusive end of what reaches limit).
    int EndBefore(int from, int origin, int limit) const;

private:
    mutable std::vector<int> FPositions;
    mutable bool FValid = false;
};

}  // namespace cb::grid
