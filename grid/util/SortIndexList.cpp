#include "grid/util/SortIndexList.h"

namespace cb::grid {

int TSortIndexList::FindColumn(int col) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (Column(FItems[i]) == col) return int(i);
    return -1;
}

}  // namespace cb::grid
