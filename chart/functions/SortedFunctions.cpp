#include "chart/functions/SortedFunctions.h"

#include "chart/series/ChartSeries.h"

#include <algorithm>

namespace cb::chart {

void TCustomSortedFunction::SetIncludeNulls(bool on) {
    if (FIncludeNulls == on) return;
    FIncludeNulls = on;
    Recalculate();
}

void TCustomSortedFunction::Assign(const TPlotFunction& source) {
    TPlotFunction::Assign(source);
    if (auto* s = dynamic_cast<const TCustomSortedFunction*>(&source)) FIncludeNulls = s->FIncludeNulls;
}

double TCustomSortedFunction::ofCollected(std::vector<double>& values) const {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return ValueOfSortedList(values);
}

double TCustomSortedFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    TChartValueList& list = source.MandatoryList();
    if (first < 0) first = 0, last = list.ValueCount() - 1;
    std::vector<double> values;
    if (last >= first) values.reserve(std::size_t(last - first + 1));
    const double* v = list.Data();
    for (int i = first; i <= last; ++i)
        if (FIncludeNulls || !source.IsEmptyPoint(i)) values.push_back(v[i]);
    return ofCollected(values);
}

double TCustomSortedFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    std::vector<double> values;
    for (TChartSeries* s : sources)
        if (index < s->PointCount() && (FIncludeNulls || !s->IsEmptyPoint(index)))
            values.push_back(s->MandatoryList().Value(index));
    return ofCollected(values);
}

double TMedianPlotFunction::ValueOfSortedList(const std::vector<double>& values) const {
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) * 0.5;
}

double TModePlotFunction::ValueOfSortedList(const std::vector<double>& values) const {
    double best = values[0];
    std::size_t bestRun = 0;
    for (std::size_t i = 0; i < values.size();) {
        std::size_t j = i;
        while (j < values.size() && values[j] == values[i]) ++j;
        if (j - i > bestRun) {
            bestRun = j - i;
            best = values[i];
        }
        i = j == i ? i + 1 : j;
    }
    return best;
}

}  // namespace cb::chart
