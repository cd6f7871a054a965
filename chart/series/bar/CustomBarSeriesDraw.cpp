// Drawing and hit-testing one bar, for vertical and horizontal bars alike:
// coordinates run along the position axis (the bar's thickness) and the
// value axis (its length), and turn into screen points by orientation.
#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/bar/CustomBarSeries.h"
#include "chart/canvas/PlotBlend.h"

#include <algorithm>
#include <vector>

namespace cb::chart {

TPoint TCustomBarSeries::screenPoint(int position, int value) const {
    return vertical() ? TPoint{position, value} : TPoint{value, position};
}

TRect TCustomBarSeries::screenRect(int position0, int value0, int position1, int value1) const {
    return vertical() ? TRect{position0, value0, position1, value1} : TRect{value0, position0, value1, position1};
}

void TCustomBarSeries::DrawPoint(int i) {
    FBarColor = PointColor(i);
    if (FBarColor == clNone) return;
    // A 100 % stack without a total has nothing to show.
    if (MultiBar() == mbStacked100 && StackBase(i, true) == 0) return;
    const int start = BarStart(i);
    int end = start + BarSize() + 1;
    if (BarWidthPercent() == 100 && CustomBarSize() == 0) {
        // Full width: the bar reaches the next bar along the pixels.
        TChartAxis* axis = positionAxis();
        const bool pixelsGrow = vertical() != (axis && axis->Inverted());
        if (pixelsGrow && i < PointCount() - 1)
            end = BarStart(i + 1);
        else if (!pixelsGrow && i > 0)
            end = BarStart(i - 1);
    }
    int value = ValueEnd(i), origin = OriginEnd(i);
    if (!BarPen().Visible()) {
        // Without a pen the excluded right and bottom edges are filled too.
        if (origin > value)
            ++origin;
        else
            ++value;
        ++end;
    }
    // From the value end to the origin, as the solids expect.
    FBarBounds = screenRect(start, value, end, origin);
    auto blend = beginBarTransparency(FBarBounds);
    DrawBar(i, std::min(value, origin), std::max(value, origin));
    if (blend) ParentChart()->Canvas()->EndTransparency(std::move(blend));
}

void TCustomBarSeries::DrawBar(int i, int low, int high) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    prepareBar();
    const TBarStyle style = StyleOfPoint(i);
    const bool v = vertical();
    const int p0 = v ? FBarBounds.Left : FBarBounds.Top, p1 = v ? FBarBounds.Right : FBarBounds.Bottom;
    const int pc = (p0 + p1) / 2, vc = (low + high) / 2;
    // Pixels of the high and the low value end (up for vertical bars, right for horizontal ones).
    const int top = v ? low : high, base = v ? high : low;
    const TRect sorted = screenRect(p0, low, p1, high);
    const TRect& b = FBarBounds;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const bool is3D = chart->View3D();
    auto polygon = [&](std::initializer_list<TPoint> pts) {
        const std::vector<TPoint> p(pts);
        if (is3D)
            c.DrawPolygonAtDepth(p, zm);
        else
            c.DrawPolygon(p);
    };
    auto pyramid = [&](int apex, int foot) {
        if (v)
            c.DrawPyramid(true, p0, apex, p1, foot, z0, z1, Dark3D());
        else
            c.DrawPyramid(false, foot, p0, apex, p1, z0, z1, Dark3D());
    };
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (is3D)
            c.DrawBoxRect(sorted, z0, z1, Dark3D());
        else
            drawBarRectangle(b.Left, b.Top, b.Right, b.Bottom);
        break;
    case bsPyramid:
    case bsCone:
        if (is3D && style == bsPyramid)
            pyramid(top, base);
        else if (is3D)
            c.DrawCone(v, b.Left, b.Top, b.Right, b.Bottom, z0, z1, Dark3D(), conePercent());
        else {
            const TPoint p[3] = {screenPoint(p0, base), screenPoint(pc, top), screenPoint(p1, base)};
            c.DrawPolygon(p);
        }
        break;
    case bsInvPyramid:
        if (is3D)
            pyramid(base, top);
        else {
            const TPoint p[3] = {screenPoint(p0, top), screenPoint(pc, base), screenPoint(p1, top)};
            c.DrawPolygon(p);
        }
        break;
    case bsCilinder:
        if (is3D)
            c.DrawCylinder(v, b.Left, b.Top, b.Right, b.Bottom, z0, z1, Dark3D());
        else
            drawBarRectangle(b.Left, b.Top, b.Right, b.Bottom);
        break;
    case bsEllipse:
        if (is3D)
            c.DrawEllipseAtDepth(b.Left, b.Top, b.Right, b.Bottom, zm);
        else
            c.DrawEllipse(b.Left, b.Top, b.Right, b.Bottom);
        break;
    case bsArrow:
        c.DrawArrow(true, screenPoint(pc, base), screenPoint(pc, top), p1 - p0, (p1 - p0) / 2, zm);
        break;
    case bsSlantCube:
        if (is3D) {
            const int keep = c.FacetCount();
            c.SetFacetCount(4);
            c.DrawCylinder(v, b.Left, b.Top, b.Right, b.Bottom, z0, z1, Dark3D());
            c.SetFacetCount(keep);
        } else {
            drawBarRectangle(b.Left, b.Top, b.Right, b.Bottom);
            const TPoint a = screenPoint(pc, v ? b.Top : b.Left), e = screenPoint(pc, v ? b.Bottom : b.Right);
            c.DrawLine(a.X, a.Y, e.X, e.Y);
        }
        break;
    case bsDiamond:
        polygon({screenPoint(pc, top), screenPoint(p1, vc), screenPoint(pc, base), screenPoint(p0, vc)});
        break;
    }
    if (style == bsRectGradient)
        drawGradient(i, sorted);
    else if (style == bsBevel)
        drawBevel(FBarBounds);
    drawTickLines(low, high, style);
}

bool TCustomBarSeries::BarContainsPoint(int i, const TPoint& p) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const bool is3D = chart->View3D() && chart->Canvas();
    const bool v = vertical();
    const int p0 = BarStart(i), p1 = p0 + BarSize();
    auto positionOf = [v](const TPoint& q) { return v ? q.X : q.Y; };
    auto valueOf = [v](const TPoint& q) { return v ? q.Y : q.X; };
    if (!is3D && (positionOf(p) < p0 || positionOf(p) > p1)) return false;
    const int low = std::min(ValueEnd(i), OriginEnd(i)), high = std::max(ValueEnd(i), OriginEnd(i));
    const TBarStyle style = StyleOfPoint(i);
    if (style == bsPyramid || style == bsCone || style == bsInvPyramid) {
        // The base lies at the low value end: the bottom, or the left.
        const bool inv = style == bsInvPyramid;
        const int lowEnd = v ? high : low, highEnd = v ? low : high;
        const int base = inv ? highEnd : lowEnd, apex = inv ? lowEnd : highEnd;
        std::vector<TPoint> t = {screenPoint(p0, base), screenPoint(p0 + BarSize() / 2, apex), screenPoint(p1, base)};
        if (is3D) {
            TCanvas3D& c = *chart->Canvas();
            t = {c.ProjectTPoint(t[0], StartZ()), c.ProjectTPoint(t[1], MiddleZ()), c.ProjectTPoint(t[2], StartZ())};
        }
        return PolygonContainsPoint(p, t);
    }
    TPoint q = p;
    if (is3D) {
        chart->Canvas()->UnprojectPoint(q.X, q.Y, StartZ());
        if (positionOf(q) < p0 || positionOf(q) > p1) return false;
    }
    if (style == bsEllipse) return EllipseRectContainsPoint(q, screenRect(p0, low, p1, high));
    return low <= valueOf(q) && valueOf(q) <= high;
}

}  // namespace cb::chart
