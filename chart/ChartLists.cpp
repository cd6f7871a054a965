#include "chart/ChartLists.h"

#include "chart/ChartAxis.h"
#include "chart/CustomAxisPanel.h"
#include "chart/PlotExceptions.h"

#include <algorithm>

namespace cb::chart {

// --- TChartSeriesList ---

void TChartSeriesList::PutSeries(int index, TChartSeries* series)
{
    SeriesAt(index);
    fItems[std::size_t(index)] = series;
}

void TChartSeriesList::EmptyAllSeries()
{
    for (TChartSeries* s : std::vector<TChartSeries*>(fItems))
        s->RemoveAllPoints();
}

bool TChartSeriesList::EverySeriesActive() const
{
    return std::all_of(fItems.begin(), fItems.end(), [](const TChartSeries* s) { return s->Active(); });
}

void TChartSeriesList::SetEverySeriesActive(bool on)
{
    for (TChartSeries* s : std::vector<TChartSeries*>(fItems))
        s->SetActive(on);
}

TSeriesGroup* TChartSeriesList::NewSeriesGroup(const std::string& name)
{
    fGroups.push_back(std::make_unique<TSeriesGroup>());
    fGroups.back()->Name = name;
    return fGroups.back().get();
}

// --- TChartAxes ---

TChartAxis* TChartAxes::AxisAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Axis index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)];
}

int TChartAxes::IndexOf(const TChartAxis* axis) const
{
    auto it = std::find(fItems.begin(), fItems.end(), axis);
    return it == fItems.end() ? -1 : int(it - fItems.begin());
}

void TChartAxes::Remove(const TChartAxis* axis)
{
    fItems.erase(std::remove(fItems.begin(), fItems.end(), axis), fItems.end());
}

void TChartAxes::Clear()
{
    while (!fItems.empty())
        delete fItems.front();  // the axis leaves the list
}

TChartAxis* TChartAxes::GetBottomAxis() const { return &fChart->BottomAxis(); }
TChartAxis* TChartAxes::GetTopAxis() const { return &fChart->TopAxis(); }
TChartAxis* TChartAxes::GetLeftAxis() const { return &fChart->LeftAxis(); }
TChartAxis* TChartAxes::GetRightAxis() const { return &fChart->RightAxis(); }
TChartAxis* TChartAxes::GetDepthAxis() const { return &fChart->DepthAxis(); }
TChartAxis* TChartAxes::GetDepthTopAxis() const { return &fChart->DepthTopAxis(); }
bool TChartAxes::GetAxisBehind() const { return fChart->AxisBehind(); }
bool TChartAxes::GetAxisVisible() const { return fChart->AxisVisible(); }
void TChartAxes::SetAxisBehind(bool on) { fChart->SetAxisBehind(on); }
void TChartAxes::SetAxisVisible(bool on) { fChart->SetAxisVisible(on); }

// --- TChartCustomAxes ---

TChartAxis* TChartCustomAxes::AxisAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Custom axis index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)];
}

TChartAxis* TChartCustomAxes::Add() { return new TChartAxis(fChart); }

void TChartCustomAxes::Delete(int index) { delete AxisAt(index); }

void TChartCustomAxes::Clear()
{
    while (!fItems.empty())
        delete fItems.back();
}

void TChartCustomAxes::Leave(const TChartAxis* axis)
{
    fItems.erase(std::remove(fItems.begin(), fItems.end(), axis), fItems.end());
}

// --- TChartTools ---

TPlotCustomTool* TChartTools::ToolAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Tool index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)];
}

TPlotCustomTool* TChartTools::AddTool(TPlotCustomTool* tool)
{
    if (tool)
        tool->SetParentChart(fChart);
    return tool;
}

void TChartTools::Clear()
{
    while (!fItems.empty())
        delete fItems.front();  // the tool leaves the list
}

void TChartTools::Remove(const TPlotCustomTool* tool)
{
    fItems.erase(std::remove(fItems.begin(), fItems.end(), tool), fItems.end());
}

// --- tools ---

TPlotCustomTool::~TPlotCustomTool() { SetParentChart(nullptr); }

void TPlotCustomTool::SetParentChart(TCustomAxisPanel* chart)
{
    TCustomAxisPanel* old = ParentChart();
    if (chart == old)
        return;
    if (old) {
        old->Tools().Remove(this);
        if (!chart)
            old->Invalidate();
    }
    SetParentChartField(chart);
    if (chart)
        chart->Tools().Add(this);
}

void TPlotCustomToolSeries::SetSeries(TChartSeries* series)
{
    if (series == fSeries)
        return;
    if (fSeries)
        fSeries->RemoveFreeNotification(this);
    fSeries = series;
    if (fSeries)
        fSeries->FreeNotification(this);
}

void TPlotCustomToolSeries::Notification(TCustomChartElement* gone)
{
    if (gone == fSeries)
        fSeries = nullptr;
}

TChartAxis* TPlotCustomToolSeries::HorizontalAxis() const
{
    if (fSeries)
        return fSeries->GetHorizAxis();
    return ParentChart() ? &ParentChart()->BottomAxis() : nullptr;
}

TChartAxis* TPlotCustomToolSeries::VerticalAxis() const
{
    if (fSeries)
        return fSeries->GetVertAxis();
    return ParentChart() ? &ParentChart()->LeftAxis() : nullptr;
}

void TPlotCustomToolAxis::SetAxis(TChartAxis* axis)
{
    if (axis == fAxis)
        return;
    fAxis = axis;
    SetParentChart(axis ? axis->ParentChart() : nullptr);
    InvalidateChart();
}

int TPlotCustomToolAxis::WriteAxisID() const
{
    return fAxis && ParentChart() ? ParentChart()->Axes().IndexOf(fAxis) : -1;
}

void TPlotCustomToolAxis::ReadAxisID(int id)
{
    if (!ParentChart())
        throw ChartException("Axis tool: no chart to find axis " + std::to_string(id) + " in.");
    TChartAxes& axes = ParentChart()->Axes();
    if (id >= 0 && id < axes.Count())
        SetAxis(axes[id]);
}

} // namespace cb::chart
