#include "chart/series/SeriesContent.h"

#include "chart/series/ChartSeries.h"
#include "chart/series/CustomSeriesList.h"

#include <algorithm>

namespace cb::chart {

bool SeriesNeedsXValues(TChartSeries& s) {
    const int n = s.PointCount();
    if (!s.UsesOtherList() || n == 0) return false;
    const double* x = s.OtherList().Data();
    for (int i = 0; i < n; ++i)
        if (x[i] != i) return true;
    return false;
}

bool SeriesHasPointColors(TChartSeries& s) {
    if (!s.HasColorList()) return false;
    const int n = s.PointCount();
    for (int i = 0; i < n; ++i) {
        const TColor c = s.StoredPointColor(i);
        if (c != clDefault && c != s.SeriesColor()) return true;
    }
    return false;
}

bool SeriesHasLabels(TChartSeries& s) {
    if (s.Labels().Empty()) return false;
    const int n = std::min(s.Labels().Count(), s.PointCount());
    for (int i = 0; i < n; ++i)
        if (!s.PointLabel(i).empty()) return true;
    return false;
}

unsigned ComputeSeriesContentFlags(TChartSeries& s) {
    unsigned flags = 0;
    if (SeriesNeedsXValues(s)) flags |= scfXValues;
    if (SeriesHasPointColors(s)) flags |= scfPointColors;
    if (SeriesHasLabels(s)) flags |= scfLabels;
    if (s.Marks().Positions().HasCustom()) flags |= scfCustomMarks;
    return flags;
}

void ListSeriesInStrings(std::vector<std::pair<std::string, TChartSeries*>>& strings, const TCustomSeriesList& list,
                         bool byTitle) {
    for (TChartSeries* s : list.Items())
        if (!s->Internal()) strings.emplace_back(byTitle ? GetSeriesDisplayTitle(*s) : s->Name(), s);
}

}  // namespace cb::chart
