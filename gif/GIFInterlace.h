#pragma once
// The GIF interlace walk: rows 0, 8, 16, ...; then 4, 12, ...; then 2, 6,
// ...; then 1, 3, 5, ... A pass whose first row lies at or beyond the height
// is skipped.
#include <vector>

namespace cb::gif {

// The display rows in the order the file stores them.
inline std::vector<int> InterlacedRowOrder(int height) {
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    std::vector<int> rows;
    rows.reserve(height > 0 ? height : 0);
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

}  // namespace cb::gif
