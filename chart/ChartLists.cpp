#include "chart/ChartLists.h"

#include "chart/ChartAxis.h"
#include "chart/CustomAxisPanel.h"
#include "chart/PlotExceptions.h"

#include <algorithm>

namespace cb::chart {

// --- TChartSeriesList ---

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

// --- TChartAxes ---

TChartAxis* TChartAxes::AxisAt(int index) const {
    if (index < 0 || index >= Count()) throw ChartException("Axis index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

int TChartAxes::IndexOf(const TChartAxis* axis) const {
    auto it = std::find(FItems.begin(), FItems.end(), axis);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TChartAxes::Remove(const TChartAxis* axis) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), axis), FItems.end());
}

void TChartAxes::Clear() {
    while (!FItems.empty()) delete FItems.front();  // the axis leaves the list
}

TChartAxis* TChartAxes::GetBottomAxis() const {
    return &FChart->BottomAxis();
}
TChartAxis* TChartAxes::GetTopAxis() const {
    return &FChart->TopAxis();
}
TChartAxis* TChartAxes::GetLeftAxis() const {
    return &FChart->LeftAxis();
}
TChartAxis* TChartAxes::GetRightAxis() const {
    return &FChart->RightAxis();
}
TChartAxis* TChartAxes::GetDepthAxis() const {
    return &FChart->DepthAxis();
}
TChartAxis* TChartAxes::GetDepthTopAxis() const {
    return &FChart->DepthTopAxis();
}
bool TChartAxes::GetAxisBehind() const {
    return FChart->AxisBehind();
}
bool TChartAxes::GetAxisVisible() const {
    return FChart->AxisVisible();
}
void TChartAxes::SetAxisBehind(bool on) {
    FChart->SetAxisBehind(on);
}
void TChartAxes::SetAxisVisible(bool on) {
    FChart->SetAxisVisible(on);
}

// --- TChartCustomAxes ---

TChartAxis* TChartCustomAxes::AxisAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Custom axis index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

TChartAxis* TChartCustomAxes::Add() {
    return new TChartAxis(FChart);
}

void TChartCustomAxes::Delete(int index) {
    delete AxisAt(index);
}

void TChartCustomAxes::Clear() {
    while (!FItems.empty()) delete FItems.back();
}

void TChartCustomAxes::Leave(const TChartAxis* axis) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), axis), FItems.end());
}

// --- TChartTools ---

TPlotCustomTool* TChartTools::ToolAt(int index) const {
    if (index < 0 || index >= Count()) throw ChartException("Tool index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

TPlotCustomTool* TChartTools::AddTool(TPlotCustomTool* tool) {
    if (tool) tool->SetParentChart(FChart);
    return tool;
}

void TChartTools::Clear() {
    while (!FItems.empty()) delete FItems.front();  // the tool leaves the list
}

void TChartTools::Remove(const TPlotCustomTool* tool) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), tool), FItems.end());
}

// --- tools ---

TPlotCustomTool::~TPlotCustomTool() {
    SetParentChart(nullptr);
}

void TPlotCustomTool::SetParentChart(TCustomAxisPanel* chart) {
    TCustomAxisPanel* old = ParentChart();
    if (chart == old) return;
    if (old) {
        old->Tools().Remove(this);
        if (!chart) old->Invalidate();
    }
    SetParentChartField(chart);
    if (chart) chart->Tools().Add(this);
}

void TPlotCustomToolSeries::SetSeries(TChartSeries* series) {
    if (series == FSeries) return;
    if (FSeries) FSeries->RemoveFreeNotification(this);
    FSeries = series;
    if (FSeries) FSeries->FreeNotification(this);
}

void TPlotCustomToolSeries::Notification(TCustomChartElement* gone) {
    if (gone == FSeries) FSeries = nullptr;
}

TChartAxis* TPlotCustomToolSeries::HorizontalAxis() const {
    if (FSeries) return FSeries->GetHorizAxis();
    return ParentChart() ? &ParentChart()->BottomAxis() : nullptr;
}

TChartAxis* TPlotCustomToolSeries::VerticalAxis() const {
    if (FSeries) return FSeries->GetVertAxis();
    return ParentChart() ? &ParentChart()->LeftAxis() : nullptr;
}

void TPlotCustomToolAxis::SetAxis(TChartAxis* axis) {
    if (axis == FAxis) return;
    FAxis = axis;
    SetParentChart(axis ? axis->ParentChart() : nullptr);
    InvalidateChart();
}

int TPlotCustomToolAxis::WriteAxisID() const {
    return FAxis && ParentChart() ? ParentChart()->Axes().IndexOf(FAxis) : -1;
}

void TPlotCustomToolAxis::ReadAxisID(int id) {
    if (!ParentChart()) throw ChartException("Axis tool: no chart to find axis " + std::to_string(id) + " in.");
    TChartAxes& axes = ParentChart()->Axes();
    if (id >= 0 && id < axes.Count()) SetAxis(axes[id]);
}

}  // namespace cb::chart
