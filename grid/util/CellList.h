#pragma once
// A list of cells without repeats, kept in the order they were added, that
// answers membership in constant time (the disjunct cell selection: a
// dragged range may add a million cells and every painted cell asks).
#include "grid/util/GridTypes.h"

#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

namespace cb::grid {

class TCellList {
public:
    bool Contains(TGridCoord cell) const { return FIndex.count(Key(cell)) != 0; }
    // False when the cell was already listed (Add) or not listed (Remove).
    bool Add(TGridCoord cell);
    bool Remove(TGridCoord cell);
    void Clear();
    bool Empty() const { return FItems.empty(); }
    size_t Size() const { return FItems.size(); }
    const std::vector<TGridCoord>& Items() const { return FItems; }
    // Rows or columns were inserted or removed: each cell is handed to
    // update, which may move it and returns false to drop it.
    void Update(const std::function<bool(TGridCoord&)>& update);

private:
    static std::uint64_t Key(TGridCoord c) { return (std::uint64_t(std::uint32_t(c.X)) << 32) | std::uint32_t(c.Y); }
    std::vector<TGridCoord> FItems;
    std::unordered_set<std::uint64_t> FIndex;
};

}  // namespace cb::grid
