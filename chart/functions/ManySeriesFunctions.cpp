#include "chart/functions/ManySeriesFunctions.h"

#include "chart/series/ChartSeries.h"

namespace cb::chart {

double TAddPlotFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    TChartValueList& values = SourceValues(source);
    if (first < 0) return values.Sum();
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += values.Data()[i];
    return sum;
}

double TAddPlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    double sum = 0;
    for (TChartSeries* s : sources)
        if (index < s->PointCount()) sum += SourceValues(*s).Value(index);
    return sum;
}

double TManySeriesPlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    bool started = false;
    double running = 0;
    for (TChartSeries* s : sources) {
        if (index >= s->PointCount()) continue;
        const double v = SourceValues(*s).Value(index);
        running = started ? CombineValues(running, v) : v;
        started = true;
    }
    return sources.size() > 1 ? running : 0;
}

}  // namespace cb::chart
