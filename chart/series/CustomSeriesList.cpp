#include "chart/series/CustomSeriesList.h"

#include "chart/core/PlotExceptions.h"

#include <algorithm>
#include <string>
#include <utility>

namespace cb::chart {

TChartSeries* TCustomSeriesList::SeriesAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Series index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

int TCustomSeriesList::IndexOf(const TChartSeries* s) const {
    auto it = std::find(FItems.begin(), FItems.end(), s);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TCustomSeriesList::Insert(int index, TChartSeries* s) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, s);
}

void TCustomSeriesList::Remove(const TChartSeries* s) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), s), FItems.end());
}

void TCustomSeriesList::Delete(int index) {
    SeriesAt(index);
    FItems.erase(FItems.begin() + index);
}

void TCustomSeriesList::Exchange(int i, int j) {
    SeriesAt(i);
    SeriesAt(j);
    std::swap(FItems[std::size_t(i)], FItems[std::size_t(j)]);
}

}  // namespace cb::chart
