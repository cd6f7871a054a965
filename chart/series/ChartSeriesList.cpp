#include "chart/series/ChartSeriesList.h"

#include "chart/core/PlotExceptions.h"

#include <algorithm>
#include <string>

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

TSeriesGroupActive TSeriesGroup::Active() const {
    const auto& items = Series.Items();
    const auto active = std::count_if(items.begin(), items.end(), [](const TChartSeries* s) { return s->Active(); });
    if (active == std::ptrdiff_t(items.size())) return gaYes;
    return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive value) {
    if (value == gaSome || value == Active()) return;
    for (TChartSeries* s : std::vector<TChartSeries*>(Series.Items())) s->SetActive(value == gaYes);
}

int TChartSeriesList::GroupIndexOfSeries(const TChartSeries* series) const {
    for (std::size_t g = 0; g < FGroups.size(); ++g)
        if (FGroups[g]->Series.IndexOf(series) >= 0) return int(g);
    return -1;
}

TSeriesGroup* TChartSeriesList::NewSeriesGroup(const std::string& name) {
    FGroups.push_back(std::make_unique<TSeriesGroup>());
    FGroups.back()->Name = name;
    return FGroups.back().get();
}

void TChartSeriesList::DeleteSeriesGroup(int index) {
    if (index < 0 || std::size_t(index) >= FGroups.size())
        throw ChartException("no series group " + std::to_string(index));
    FGroups.erase(FGroups.begin() + index);
}

}  // namespace cb::chart
