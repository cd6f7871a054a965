#include "grid/util/SortIndexList.h"

namespace cb::grid {

int TSortIndexList::FindColumn(int col) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (Column(FItems[i]) == col) return int(i);
    return -1;
}

void TSortIndexList::ToggleIndex(int col) {
    int i = FindColumn(col);
    if (i >= 0) SetItem(i, int(unsigned(FItems[size_t(i)]) ^ kDescending));
}

}  // namespace cb::grid
