#include "grid/util/CellList.h"

#include <algorithm>

namespace cb::grid {

bool TCellList::Add(TGridCoord cell) {
    if (!FIndex.insert(Key(cell)).second) return false;
    FItems.push_back(cell);
    return true;
}

bool TCellList::Remove(TGridCoord cell) {
    if (FIndex.erase(Key(cell)) == 0) return false;
    FItems.erase(std::find(FItems.begin(), FItems.end(), cell));
    return true;
}

void TCellList::Clear() {
    FItems.clear();
    FIndex.clear();
}

void TCellList::Update(const std::function<bool(TGridCoord&)>& update) {
    std::vector<TGridCoord> items;
    items.reserve(FItems.size());
    FIndex.clear();
    for (TGridCoord c : FItems)
        if (update(c) && FIndex.insert(Key(c)).second) items.push_back(c);
    FItems = std::move(items);
}

}  // namespace cb::grid
