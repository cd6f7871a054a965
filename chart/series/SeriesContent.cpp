#include "chart/series/SeriesContent.h"

#include "chart/series/ChartSeries.h"
#include "chart/series/CustomSeriesList.h"

#include <algorithm>

namespace cb::chart {

bool SeriesNeedsXValues(TChartSeries& s) {
    const int n = s.PointCount();
    if (!s.UsesOtherList() || n == 0) return false;
    TChartValueList& x = s.OtherList();
    if (x.Value(0) != 0 || x.Value(n - 1) != n - 1) return true;
    const int m = std::min(10001, n);
    for (int i = 0; i < m; ++i)
        if (x.Value(i) != i) return true;
    return false;
}

bool SeriesHasPointColors(TChartSeries& s) {
    if (!s.HasColorList()) return false;
    const int m = std::min(10001, s.PointCount());
    for (int i = 0; i < m; ++i) {
        const TColor c = s.StoredPointColor(i);
        if (c != clDefault && c != s.SeriesColor()) return true;
    }
    return false;
}

bool SeriesHasLabels(TChartSeries& s) {
    if (s.Labels().Empty()) return false;
    const int m = std::min(101, s.PointCount());
    for (int i = 0; i < m; ++i)
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
