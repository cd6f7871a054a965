#include "chart/functions/HighLowFunctions.h"

#include "chart/series/ChartSeries.h"

namespace cb::chart {

namespace {

template <class Better>
double extremeOfRange(TChartValueList& values, int first, int last, Better better) {
    if (first < 0) first = 0, last = values.ValueCount() - 1;
    if (last < first) return 0;
    const double* v = values.Data();
    double result = v[first];
    for (int i = first + 1; i <= last; ++i)
        if (better(v[i], result)) result = v[i];
    return result;
}

}  // namespace

double THighPlotFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    if (first < 0 && SourceValues(source).ValueCount() > 0) return SourceValues(source).Highest();
    return extremeOfRange(SourceValues(source), first, last, [](double a, double b) { return a > b; });
}

double THighPlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    double result = 0;
    bool started = false;
    for (TChartSeries* s : sources) {
        if (index >= s->PointCount()) continue;
        const double v = SourceValues(*s).Value(index);
        if (!started || v > result) result = v;
        started = true;
    }
    return result;
}

double TLowPlotFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    if (first < 0 && SourceValues(source).ValueCount() > 0) return SourceValues(source).Lowest();
    return extremeOfRange(SourceValues(source), first, last, [](double a, double b) { return a < b; });
}

double TLowPlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    double result = 0;
    bool started = false;
    for (TChartSeries* s : sources) {
        if (index >= s->PointCount()) continue;
        const double v = SourceValues(*s).Value(index);
        if (!started || v < result) result = v;
        started = true;
    }
    return result;
}

}  // namespace cb::chart
