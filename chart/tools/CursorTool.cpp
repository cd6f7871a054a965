#include "chart/tools/CursorTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <cmath>
#include <cstdlib>

namespace cb::chart {

TCursorTool::TCursorTool() = default;

std::string TCursorTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolCursor);
}

void TCursorTool::SetStyle(TCursorToolStyle s) {
    if (s == FStyle) return;
    FStyle = s;
    SnapToPoint();
    InvalidateChart();
}

void TCursorTool::SetSeries(TChartSeries* series) {
    TPlotCustomToolSeries::SetSeries(series);
    if (series && !(ParentChart() && ParentChart()->Loading())) {
        SnapToPoint();
        repaintOverlay();
    }
}

void TCursorTool::SetValues(double x, double y) {
    FXValue = x;
    FYValue = y;
    pixelsFromValues();
    repaintOverlay();
}

TRect TCursorTool::Area() const {
    const TChartAxis* h = HorizontalAxis();
    const TChartAxis* v = VerticalAxis();
    if (!h || !v) return {0, 0, 0, 0};
    return NormalizeRect({h->StartPixel(), v->StartPixel(), h->EndPixel(), v->EndPixel()});
}

void TCursorTool::unproject(int& x, int& y) const {
    TCustomAxisPanel* chart = ParentChart();
    if (FUseSeriesZ && chart && chart->Canvas()) chart->Canvas()->UnprojectPoint(x, y, Series() ? Series()->StartZ() : 0);
}

void TCursorTool::valuesFromPixels(int x, int y, TPart part) {
    unproject(x, y);
    if (part != partVertical) FYValue = VerticalAxis()->ValueAtPixel(y);
    if (part != partHorizontal) FXValue = HorizontalAxis()->ValueAtPixel(x);
}

void TCursorTool::pixelsFromValues() {
    const TChartAxis* h = HorizontalAxis();
    const TChartAxis* v = VerticalAxis();
    if (!h || !v) return;
    FX = h->PixelOfValue(FXValue);
    FY = v->PixelOfValue(FYValue);
}

int TCursorTool::SnapToPoint() {
    TChartSeries* s = Series();
    if (!FSnap || !s || s->PointCount() == 0) return -1;
    int first = 0, last = s->PointCount() - 1;
    if (s->CalculatesVisiblePoints() && s->FirstVisible() >= 0) {
        first = s->FirstVisible();
        last = std::min(s->LastVisible(), last);
    }
    const double* xs = s->XValues().Data();
    const double* ys = s->YValues().Data();
    int best = -1;
    double bestDistance = 0;
    for (int i = first; i <= last; ++i) {
        const double dx = FXValue - xs[i], dy = FYValue - ys[i];
        const double d = FStyle == cssHorizontal ? std::abs(dy) : FStyle == cssVertical ? std::abs(dx) : std::hypot(dx, dy);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    if (best >= 0) {
        if (FStyle != cssHorizontal) FXValue = xs[best];
        if (FStyle != cssVertical) FYValue = ys[best];
    }
    return best;
}

void TCursorTool::NotifyChange(int valueIndex) {
    if (OnChange) OnChange(this, FX, FY, FXValue, FYValue, Series(), valueIndex);
}

TCursorTool::TPart TCursorTool::partAt(int x, int y) const {
    unproject(x, y);
    if (!RectContainsPoint(Area(), x, y)) return partNone;
    const bool nearH = std::abs(y - FY) < 3, nearV = std::abs(x - FX) < 3;
    if (FStyle == cssBoth && nearH && nearV) return partBoth;
    if (FStyle != cssVertical && nearH) return partHorizontal;
    if (FStyle != cssHorizontal && nearV) return partVertical;
    return partNone;
}

void TCursorTool::draw() {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas() || FX < 0 || FY < 0) return;
    TCanvas3D& c = *chart->Canvas();
    const TRect a = Area();
    c.SelectPen(Pen());
    if (!Pen().Visible()) return;
    c.Brush().SetStyle(cb::gfx::bsClear);
    const bool is3D = chart->View3D();
    const int z = FUseSeriesZ && Series() ? Series()->StartZ() : 0;
    if (FStyle != cssVertical) {
        if (is3D)
            c.DrawHorizontalLineAtDepth(a.Left, a.Right, FY, z);
        else
            c.DrawHorizontalLine(a.Left, a.Right, FY);
    }
    if (FStyle != cssHorizontal) {
        if (is3D)
            c.DrawVerticalLineAtDepth(FX, a.Top, a.Bottom, z);
        else
            c.DrawVerticalLine(FX, a.Top, a.Bottom);
    }
}

void TCursorTool::HandleChartStage(TChartStage code) {
    if (code == csEndOfPaint) {
        if (!HorizontalAxis() || !VerticalAxis()) return;
        if (FX == -1 || FY == -1) {
            const TRect a = Area();
            FX = (a.Left + a.Right) / 2;
            FY = (a.Top + a.Bottom) / 2;
            valuesFromPixels(FX, FY, partBoth);
            const int index = SnapToPoint();
            pixelsFromValues();
            FSnapIndex = index;
            NotifyChange(index);
        } else
            pixelsFromValues();
    } else if (code == csOverlay)
        draw();
}

void TCursorTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !HorizontalAxis() || !VerticalAxis()) return;
    switch (kind) {
    case meDown:
        if (FFollowMouse) return;
        FDragging = partAt(x, y);
        if (FDragging != partNone) cancelMouse();
        break;
    case meMove: {
        int ux = x, uy = y;
        unproject(ux, uy);
        if ((FDragging != partNone || FFollowMouse) && RectContainsPoint(Area(), ux, uy)) {
            valuesFromPixels(x, y, FFollowMouse && FDragging == partNone ? partBoth : FDragging);
            const int index = SnapToPoint();
            pixelsFromValues();
            repaintOverlay();
            NotifyChange(index);
            if (index != FSnapIndex) {
                FSnapIndex = index;
                if (OnSnapChange) OnSnapChange(this, FX, FY, FXValue, FYValue, Series(), index);
            }
        } else if (FDragging == partNone) {
            const TPart p = partAt(x, y);
            if (p != partNone) {
                setChartCursor(p == partHorizontal ? crVSplit : p == partVertical ? crHSplit : crSizeAll);
                cancelMouse();
            }
        }
        break;
    }
    case meUp:
        FDragging = partNone;
        break;
    }
}

}  // namespace cb::chart
