#include "chart/series/bar/HorizBarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/style/PlotBlend.h"

#include <algorithm>

namespace cb::chart {

THorizBarSeries::THorizBarSeries() {
    MakeXMandatory();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    Gradient().OnChange = nullptr;
    Gradient().SetDirection(gdLeftRight);
    Gradient().OnChange = [this] { InvalidateChart(); };
    XValues().SetName("Bar");
}

void THorizBarSeries::VerticalMargins(int& top, int& bottom) {
    TChartSeries::VerticalMargins(top, bottom);
    positionMargins(bottom, top);
}

void THorizBarSeries::HorizontalMargins(int& left, int& right) {
    TChartSeries::HorizontalMargins(left, right);
    const int room = markRoom();
    if (room <= 0) return;
    const double low = TChartSeries::LowestX(), high = TChartSeries::HighestX();
    if (UseYOrigin() && low < YOrigin()) left += room;
    if (!UseYOrigin() || high > YOrigin()) right += room;
}

bool THorizBarSeries::GroupDrawsForward(int index) {
    const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
    switch (MultiBar()) {
    case mbNone:
        return TChartSeries::GroupDrawsForward(index);
    case mbSide:
    case mbSideAll:
        return false;
    case mbStacked:
    case mbSelfStack:
        return (XValues().Value(index) >= 0) != inverted;
    case mbStacked100:
        return !inverted;
    }
    return true;
}

int THorizBarSeries::MarkExtent(int index) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return 0;
    c->Canvas()->AssignFont(Marks().Font());
    if (index >= 0) return Marks().MarkTextWidth(index);
    return WidestMarkText();
}

void THorizBarSeries::DrawPoint(int i) {
    FBarColor = PointColor(i);
    if (FBarColor == clNone) return;
    if (MultiBar() == mbStacked100 && StackBase(i, true) == 0) return;
    const int top = ScreenY(i);
    int bottom = top + BarSize() + 1;
    if (BarWidthPercent() == 100 && CustomBarHeight() == 0) {
        const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
        if (!inverted && i > 0)
            bottom = ScreenY(i - 1);
        else if (inverted && i < PointCount() - 1)
            bottom = ScreenY(i + 1);
    }
    int right = ScreenX(i), left = OriginX(i);
    if (!BarPen().Visible()) {
        if (right > left)
            ++right;
        else {
            ++left;
            --right;
        }
        ++bottom;
    }
    FBarBounds = {left, top, right, bottom};
    auto blend = beginBarTransparency(FBarBounds);
    DrawBar(i, std::min(left, right), std::max(left, right));
    if (blend) ParentChart()->Canvas()->EndTransparency(std::move(blend));
}

void THorizBarSeries::DrawBar(int i, int L, int R) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    prepareBar();
    const TBarStyle style = StyleOfPoint(i);
    const int Top = FBarBounds.Top, Bottom = FBarBounds.Bottom;
    const int YC = (Top + Bottom) / 2, xM = (L + R) / 2;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const bool is3D = chart->View3D();
    const TPoint diamond[4] = {{L, YC}, {xM, Top}, {R, YC}, {xM, Bottom}};
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (is3D)
            c.DrawBox(L, R, Top, Bottom, z0, z1, Dark3D());
        else
            drawBarRectangle(L, Top, R, Bottom);
        break;
    case bsPyramid:
    case bsCone:
        if (is3D && style == bsPyramid)
            c.DrawPyramid(false, L, Top, R, Bottom, z0, z1, Dark3D());
        else if (is3D)
            c.DrawCone(false, L, Top, R, Bottom, z0, z1, Dark3D(), conePercent());
        else {
            const TPoint p[3] = {{L, Top}, {R, YC}, {L, Bottom}};
            c.DrawPolygon(p);
        }
        break;
    case bsInvPyramid:
        if (is3D)
            c.DrawPyramid(false, R, Top, L, Bottom, z0, z1, Dark3D());
        else {
            const TPoint p[3] = {{R, Top}, {L, YC}, {R, Bottom}};
            c.DrawPolygon(p);
        }
        break;
    case bsCilinder:
        if (is3D)
            c.DrawCylinder(false, L, Top, R, Bottom, z0, z1, Dark3D());
        else
            drawBarRectangle(L, Top, R, Bottom);
        break;
    case bsEllipse:
        if (is3D)
            c.DrawEllipseAtDepth(L, Top, R, Bottom, zm);
        else
            c.DrawEllipse(L, Top, R, Bottom);
        break;
    case bsArrow:
        c.DrawArrow(true, {L, YC}, {R, YC}, Bottom - Top, (Bottom - Top) / 2, zm);
        break;
    case bsSlantCube:
        if (is3D) {
            const int keep = c.FacetCount();
            c.SetFacetCount(4);
            c.DrawCylinder(false, L, Top, R, Bottom, z0, z1, Dark3D());
            c.SetFacetCount(keep);
        } else {
            drawBarRectangle(L, Top, R, Bottom);
            c.DrawHorizontalLine(L, R, YC);
        }
        break;
    case bsDiamond:
        if (is3D)
            c.DrawPolygonAtDepth(diamond, zm);
        else
            c.DrawPolygon(diamond);
        break;
    }
    if (style == bsRectGradient)
        drawGradient(i, {L, Top, R, Bottom});
    else if (style == bsBevel)
        drawBevel(FBarBounds);
    drawTickLines(L, R, style);
}

void THorizBarSeries::DrawTickLine(int d, TBarStyle style) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    const int Top = FBarBounds.Top, Bottom = FBarBounds.Bottom;
    const int z0 = StartZ(), z1 = EndZ();
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        c.DrawVerticalLineAtDepth(d, Top, Bottom, z0);
        if (chart->View3D()) {
            // Along the depth on the top face when it shows, else the bottom.
            const int y =
                IsBackFace(c.ProjectToPoint(FBarBounds.Left, Top, z0), c.ProjectToPoint(FBarBounds.Right, Top, z0),
                           c.ProjectToPoint(FBarBounds.Right, Top, z1))
                    ? Top
                    : Bottom;
            c.DrawDepthLine(d, y, z0, z1);
        }
        break;
    case bsArrow: {
        const int q = (Bottom - Top) / 4;
        c.DrawVerticalLineAtDepth(d, Top + q, Bottom - q, MiddleZ());
        break;
    }
    default:
        break;
    }
}

void THorizBarSeries::DrawPointMark(int i, const std::string& text, TSeriesMarkPosition& p) {
    const int h = BarSize() / 2;
    TMarksCallout& callout = Marks().Callout();
    const int d = callout.Distance();
    int n = callout.Length() + d;
    const bool leftOfOrigin = p.ArrowFrom.X < OriginX(i);
    if (leftOfOrigin) n = -n - p.Width;
    p.LeftTop.X += n + p.Width / 2;
    p.LeftTop.Y += h + p.Height / 2;
    p.ArrowTo.X += n;
    p.ArrowTo.Y += h;
    p.ArrowFrom.Y += h;
    p.ArrowFrom.X += leftOfOrigin ? -d : d;
    TChartSeries::DrawPointMark(i, text, p);
}

bool THorizBarSeries::BarContainsPoint(int i, const TPoint& p) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const bool is3D = chart->View3D() && chart->Canvas();
    const int y0 = ScreenY(i);
    if (!is3D && (p.Y < y0 || p.Y > y0 + BarSize())) return false;
    int x1 = ScreenX(i), x2 = OriginX(i);
    if (x1 > x2) std::swap(x1, x2);
    const TBarStyle style = StyleOfPoint(i);
    if (style == bsPyramid || style == bsCone || style == bsInvPyramid) {
        const bool inv = style == bsInvPyramid;
        const int base = inv ? x2 : x1, apex = inv ? x1 : x2;
        std::vector<TPoint> t = {{base, y0}, {apex, y0 + BarSize() / 2}, {base, y0 + BarSize()}};
        if (is3D) {
            TCanvas3D& c = *chart->Canvas();
            t = {c.ProjectToPoint(t[0].X, t[0].Y, StartZ()), c.ProjectToPoint(t[1].X, t[1].Y, MiddleZ()),
                 c.ProjectToPoint(t[2].X, t[2].Y, StartZ())};
        }
        return PolygonContainsPoint(p, t);
    }
    TPoint q = p;
    if (is3D) {
        chart->Canvas()->UnprojectPoint(q.X, q.Y, StartZ());
        if (q.Y < y0 || q.Y > y0 + BarSize()) return false;
    }
    if (style == bsEllipse) return EllipseContainsPoint(q, x1, y0, x2, y0 + BarSize());
    return x1 <= q.X && q.X <= x2;
}

}  // namespace cb::chart
