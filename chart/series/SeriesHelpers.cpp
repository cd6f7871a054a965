#include "chart/series/SeriesHelpers.h"

#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"

namespace cb::chart {

std::string NewSeriesName(const TCustomAxisPanel* chart) {
    return MakeUniqueComponentName(
        [chart](const std::string& name) {
            if (!chart) return false;
            for (const TChartSeries* s : const_cast<TCustomAxisPanel*>(chart)->SeriesList().Items())
                if (s->Name() == name) return true;
            return false;
        },
        "Series");
}

TChartSeries* CreateSeriesOfClass(TCustomAxisPanel& chart, const TSeriesClass& seriesClass) {
    std::unique_ptr<TChartSeries> series = seriesClass.Create();
    series->SetName(NewSeriesName(&chart));
    return chart.AdoptSeries(std::move(series));
}

TChartSeries* DuplicateSeries(TChartSeries& series) {
    TCustomAxisPanel* chart = series.ParentChart();
    if (!chart) return nullptr;
    const TSeriesClass* c = FindSeriesClassByName(SeriesClassName(series));
    if (!c || !c->IsClassOf(series)) return nullptr;
    TChartSeries* copy = CreateSeriesOfClass(*chart, *c);
    copy->AssignSeries(series);
    return copy;
}

void ReplaceSeries(TChartSeries*& oldSeries, TChartSeries& newSeries) {
    if (!oldSeries || oldSeries == &newSeries) return;
    TChartSeries& old = *oldSeries;
    newSeries.AssignSeries(old);
    newSeries.AfterDrawValues = old.AfterDrawValues;
    newSeries.BeforeDrawValues = old.BeforeDrawValues;
    newSeries.OnAfterAdd = old.OnAfterAdd;
    newSeries.OnBeforeAdd = old.OnBeforeAdd;
    newSeries.OnClearValues = old.OnClearValues;
    newSeries.OnGetMarkText = old.OnGetMarkText;
    const std::string name = old.Name();
    while (!old.Dependents().Items().empty()) {
        TChartSeries* d = old.Dependents().Items().front();
        d->AddDataSource(&newSeries);
        d->RemoveDataSource(&old);
    }
    TCustomAxisPanel* chart = old.ParentChart();
    if (chart) {
        chart->RetargetSeriesTools(&old, &newSeries);
        chart->SwapSeries(&old, &newSeries);
        chart->FreeSeriesOfClass([&old](const TChartSeries* s) { return s == &old; });
    } else
        delete oldSeries;
    oldSeries = nullptr;
    newSeries.SetName(name);
    if (chart) chart->BroadcastSeriesEvent(&newSeries, seChangeTitle);
    newSeries.RequestDataRefresh();
    if (newSeries.DataSources().empty()) newSeries.NotifyDataChanged();
}

void ChangeSeriesClass(TChartSeries*& series, const TSeriesClass& newClass) {
    if (!series || newClass.IsClassOf(*series)) return;
    TCustomAxisPanel* chart = series->ParentChart();
    if (!chart) return;
    TChartSeries* created = CreateSeriesOfClass(*chart, newClass);
    ReplaceSeries(series, *created);
    series = created;
}

}  // namespace cb::chart
