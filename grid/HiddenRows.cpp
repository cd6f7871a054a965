// THiddenRows: records of rows out of view and their numbering.
#include "grid/HiddenRows.h"

#include <algorithm>
#include <iterator>

namespace cb::grid {

std::vector<int> THiddenRows::Sorted() const {
    std::vector<int> rows;
    rows.reserve(FRows.size());
    for (const THiddenRow& item : FRows) rows.push_back(item.Idx);
    std::sort(rows.begin(), rows.end());
    return rows;
}

int THiddenRows::DisplayToReal(int displayRow) const {
    if (FRows.empty()) return displayRow;
    int real = displayRow;
    for (int hidden : Sorted()) {
        if (hidden > real) break;
        ++real;
    }
    return real;
}

int THiddenRows::RealToDisplay(int realRow) const {
    int below = 0;
    for (const THiddenRow& item : FRows)
        if (item.Idx < realRow) ++below;
    return realRow - below;
}

bool THiddenRows::IsHidden(int realRow) const {
    return std::any_of(FRows.begin(), FRows.end(), [realRow](const THiddenRow& item) { return item.Idx == realRow; });
}

std::vector<THiddenRow> THiddenRows::Take(int firstReal, int lastReal) {
    auto keep = std::stable_partition(FRows.begin(), FRows.end(), [&](const THiddenRow& item) {
        return item.Idx < firstReal || item.Idx > lastReal;
    });
    std::vector<THiddenRow> taken(std::make_move_iterator(keep), std::make_move_iterator(FRows.end()));
    FRows.erase(keep, FRows.end());
    return taken;
}

std::vector<THiddenRow> THiddenRows::TakeAll() {
    std::vector<THiddenRow> taken = std::move(FRows);
    FRows.clear();
    return taken;
}

void THiddenRows::ForEach(const std::function<void(THiddenRow&)>& visit) {
    for (THiddenRow& item : FRows) visit(item);
}

}  // namespace cb::grid
