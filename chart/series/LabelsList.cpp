#include "chart/series/LabelsList.h"

#include "chart/core/PlotExceptions.h"

#include <algorithm>
#include <string>
#include <utility>

namespace cb::chart {

std::string TLabelsList::Label(int index) const {
    return index >= 0 && index < Count() ? FItems[std::size_t(index)] : std::string();
}

void TLabelsList::SetLabel(int index, const std::string& text) {
    if (index < 0) return;
    if (index >= Count()) FItems.resize(std::size_t(index) + 1);
    FItems[std::size_t(index)] = text;
}

void TLabelsList::Insert(int index, const std::string& text) {
    if (index > Count()) FItems.resize(std::size_t(index));
    FItems.insert(FItems.begin() + std::max(0, index), text);
}

void TLabelsList::Delete(int index, int n) {
    if (index < 0 || index >= Count()) return;
    n = std::min(n, Count() - index);
    FItems.erase(FItems.begin() + index, FItems.begin() + index + n);
}

void TLabelsList::Exchange(int i, int j) {
    if (i < 0 || j < 0) return;
    if (std::max(i, j) >= Count()) FItems.resize(std::size_t(std::max(i, j)) + 1);
    std::swap(FItems[std::size_t(i)], FItems[std::size_t(j)]);
}

}  // namespace cb::chart
