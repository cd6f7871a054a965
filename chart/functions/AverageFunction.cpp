#include "chart/functions/AverageFunction.h"

#include "chart/series/ChartSeries.h"

namespace cb::chart {

void TAveragePlotFunction::SetIncludeNulls(bool on) {
    if (FIncludeNulls == on) return;
    FIncludeNulls = on;
    Recalculate();
}

void TAveragePlotFunction::Assign(const TPlotFunction& source) {
    TPlotFunction::Assign(source);
    if (auto* s = dynamic_cast<const TAveragePlotFunction*>(&source)) FIncludeNulls = s->FIncludeNulls;
}

double TAveragePlotFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    TChartValueList& values = SourceValues(source);
    if (first < 0) {
        if (FIncludeNulls) return values.ValueCount() > 0 ? values.Sum() / values.ValueCount() : 0;
        first = 0;
        last = values.ValueCount() - 1;
    }
    double sum = 0;
    int count = 0;
    const double* v = values.Data();
    for (int i = first; i <= last; ++i)
        if (FIncludeNulls || !source.IsEmptyPoint(i)) {
            sum += v[i];
            ++count;
        }
    return count > 0 ? sum / count : 0;
}

double TAveragePlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    double sum = 0;
    int count = 0;
    for (TChartSeries* s : sources)
        if (index < s->PointCount() && (FIncludeNulls || !s->IsEmptyPoint(index))) {
            sum += SourceValues(*s).Value(index);
            ++count;
        }
    return count > 0 ? sum / count : 0;
}

}  // namespace cb::chart
