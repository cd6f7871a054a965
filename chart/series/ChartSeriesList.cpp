#include "chart/series/ChartSeriesList.h"

#include <algorithm>

namespace cb::chart {

void TChartSeriesList::PutSeries(int index, TChartSeries* series) {
    SeriesAt(index);
    FItems[std::size_t(index)] = series;
}

void TChartSeriesList::EmptyAllSeries() {
    for (TChartSeries* s : std::vector<TChartSeries*>(FItems)) s->RemoveAllPoints();
}

bool TChartSeriesList::EverySeriesActive() const {
    return std::all_of(FItems.begin(), FItems.end(), [](const TChartSeries* s) { return s->Active(); });
}

void TChartSeriesList::SetEverySeriesActive(bool on) {
    for (TChartSeries* s : std::vector<TChartSeries*>(FItems)) s->SetActive(on);
}

TSeriesGroup* TChartSeriesList::NewSeriesGroup(const std::string& name) {
    FGroups.push_back(std::make_unique<TSeriesGroup>());
    FGroups.back()->Name = name;
    return FGroups.back().get();
}

}  // namespace cb::chart
