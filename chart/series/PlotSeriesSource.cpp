#include "chart/series/PlotSeriesSource.h"

#include "chart/series/ChartSeries.h"

#include <typeinfo>

namespace cb::chart {

TPlotSeriesSource::~TPlotSeriesSource() {
    FDestroying = true;
    Deactivate();
    if (FSeries) FSeries->SetSeriesSource(nullptr);
}

void TPlotSeriesSource::SetSeries(TChartSeries* series) {
    if (series == FSeries) return;
    Deactivate();
    TChartSeries* old = FSeries;
    FSeries = series;
    if (old && old->SeriesSource() == this) old->SetSeriesSource(nullptr);
    if (series) series->SetSeriesSource(this);
}

void TPlotSeriesSource::SetOpen(bool on) {
    if (on == FOpen) return;
    if (FSeries) {
        if (on) {
            if (!FLoading) FillSeries();
        } else if (!FDestroying && !FSeries->Destroying()) {
            FSeries->RemoveAllPoints();
        }
    }
    FOpen = on;
}

bool TPlotSeriesSource::MatchesSeriesSource(const TChartSeries& series) const {
    const TPlotSeriesSource* source = series.SeriesSource();
    return source && typeid(*source) == typeid(*this);
}

void TPlotSeriesSource::Deactivate() {
    if (!FLoading) SetOpen(false);
}

void TPlotSeriesSource::Reload() {
    if (FOpen && !FLoading) FillSeries();
}

void TPlotSeriesSource::Loaded() {
    FLoading = false;
    Reload();
}

std::vector<TSeriesSourceFactory>& DataSourceStyleList() {
    static std::vector<TSeriesSourceFactory> list;
    return list;
}

}  // namespace cb::chart
