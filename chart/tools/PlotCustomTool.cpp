#include "chart/tools/PlotCustomTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotResources.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/axis/ChartAxes.h"

namespace cb::chart {

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
    if (chart) {
        chart->Tools().Add(this);
        chart->Invalidate();
    }
}

void TPlotCustomTool::setChartCursor(int cursor) {
    if (TCustomAxisPanel* c = TargetChart()) c->setCursor(ScreenCursor(cursor));
}

void TPlotCustomTool::cancelMouse() {
    if (TCustomAxisPanel* c = TargetChart()) c->SetCancelMouse(true);
}

void TPlotCustomTool::repaintOverlay() {
    if (TCustomAxisPanel* c = TargetChart()) c->RepaintOverlays();
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
