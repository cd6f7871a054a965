#include "grid/GridAxis.h"

#include <algorithm>

namespace cb::grid {

const std::vector<int>& TGridAxis::Positions() const {
    if (!FValid) {
        FPositions.resize(Sizes.size() + 1);
        int x = 0;
        for (size_t i = 0; i < Sizes.size(); ++i) {
            FPositions[i] = x;
            x += Sizes[i];
        }
        FPositions[Sizes.size()] = x;
        FValid = true;
    }
    return FPositions;
}

int TGridAxis::Pos(int i) const {
    return Positions()[size_t(std::clamp(i, 0, Count()))];
}

int TGridAxis::IndexAt(int v, int from, int to) const {
    const auto& pos = Positions();
    if (from >= to || v < pos[size_t(from)] || v >= pos[size_t(to)]) return -1;
    auto it = std::upper_bound(pos.begin() + from, pos.begin() + to + 1, v);
    return int(it - pos.begin()) - 1;
}

int TGridAxis::VisibleCount(int first, int avail) const {
    if (first >= Count()) return 0;
    const auto& pos = Positions();
    int limit = pos[size_t(first)] + avail;
    auto it = std::upper_bound(pos.begin() + first, pos.end(), limit);
    int lastEdge = int(it - pos.begin()) - 1;  // pos[lastEdge] <= limit
    return std::clamp(lastEdge - first, 1, Count() - first);
}

int TGridAxis::MaxFirst(int fixed, int avail) const {
    if (fixed >= Count()) return fixed;
    const auto& pos = Positions();
    int need = pos[size_t(Count())] - avail;
    auto it = std::lower_bound(pos.begin() + fixed, pos.end(), need);
    return std::clamp(int(it - pos.begin()), fixed, Count() - 1);
}

int TGridAxis::FirstShowing(int first, int index, int avail) const {
    if (index < first) return index;
    const auto& pos = Positions();
    int need = pos[size_t(index) + 1] - avail;
    if (pos[size_t(first)] >= need) return first;
    auto it = std::lower_bound(pos.begin() + first, pos.begin() + index, need);
    return int(it - pos.begin());
}

int TGridAxis::EndBefore(int from, int origin, int limit) const {
    const auto& pos = Positions();
    auto it = std::lower_bound(pos.begin() + from, pos.begin() + Count(), limit + origin);
    return int(it - pos.begin());
}

}  // namespace cb::grid
