#include "chart/tools/AxisArrowTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <cstdlib>

namespace cb::chart {

std::string TAxisArrowTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolAxisArrows);
}

bool TAxisArrowTool::usable() const {
    return Axis() && Axis()->Visible() && ParentChart() && ParentChart()->Canvas();
}

void TAxisArrowTool::HandleChartStage(TChartStage code) {
    if (code != csEndOfPaint || !usable()) return;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    TChartAxis& a = *Axis();
    c.AssignBrush(Brush(), Brush().Color());
    c.SelectPen(Pen());
    if (!Pen().Visible()) c.Pen().SetStyle(cb::gfx::psClear);
    const int z = chart->View3D() && a.OtherSide() ? chart->Width3D() : 0;
    const int line = a.AxisLinePosition();
    const auto at = [&](int along) { return a.Horizontal() ? TPoint{along, line} : TPoint{line, along}; };
    if (FPosition != aaEnd) c.DrawArrow(true, at(a.StartPixel() + FLength), at(a.StartPixel()), 8, 8, z);
    if (FPosition != aaStart) c.DrawArrow(true, at(a.EndPixel() - FLength), at(a.EndPixel()), 8, 8, z);
}

int TAxisArrowTool::ArrowAt(int x, int y) const {
    if (!usable()) return 0;
    const TChartAxis& a = *Axis();
    const int across = a.Horizontal() ? y : x, along = a.Horizontal() ? x : y;
    if (std::abs(across - a.AxisLinePosition()) >= 3) return 0;
    if (FPosition != aaEnd && along > a.StartPixel() && along < a.StartPixel() + FLength) return 1;
    if (FPosition != aaStart && along > a.EndPixel() - FLength && along < a.EndPixel()) return 2;
    return 0;
}

void ScrollAxisAndTwin(TChartAxis& axis, double delta) {
    TCustomAxisPanel* chart = axis.ParentChart();
    axis.ScrollRange(delta, false);
    if (!chart) return;
    TChartAxis* twin = nullptr;
    if (&axis == &chart->BottomAxis()) twin = &chart->TopAxis();
    else if (&axis == &chart->TopAxis()) twin = &chart->BottomAxis();
    else if (&axis == &chart->LeftAxis()) twin = &chart->RightAxis();
    else if (&axis == &chart->RightAxis()) twin = &chart->LeftAxis();
    if (!twin) return;
    for (int i = 0; i < chart->NumberOfSeries(); ++i) {
        TChartSeries* s = chart->SeriesAt(i);
        const bool both = axis.Horizontal() ? s->HorizAxis() == aBothHorizAxis : s->VertAxis() == aBothVertAxis;
        if (both && s->IsLinkedToAxis(&axis)) {
            twin->ScrollRange(delta, false);
            return;
        }
    }
}

void TAxisArrowTool::ScrollAxis(double delta) {
    TChartAxis* a = Axis();
    TCustomAxisPanel* chart = ParentChart();
    if (!a || !chart) return;
    if (!chart->AllowAxisScroll(a, a->Minimum() + delta, a->Maximum() + delta)) return;
    ScrollAxisAndTwin(*a, delta);
    if (chart->OnScroll) chart->OnScroll(chart);
}

void TAxisArrowTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    const int arrow = ArrowAt(x, y);
    if (arrow == 0) return;
    if (kind == meDown) {
        if (FScrollPercent == 0) return;
        double delta = (Axis()->Maximum() - Axis()->Minimum()) * FScrollPercent / 100.0;
        if (FScrollInverted) delta = -delta;
        ScrollAxis(arrow == 1 ? delta : -delta);
        cancelMouse();
        if (OnClick) OnClick(this, arrow == 1);
    } else if (kind == meMove) {
        setChartCursor(crHandPoint);
        cancelMouse();
    }
}

}  // namespace cb::chart
