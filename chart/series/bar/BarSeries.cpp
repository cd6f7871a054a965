#include "chart/series/bar/BarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/style/PlotBlend.h"

#include <algorithm>

namespace cb::chart {

TBarSeries::TBarSeries() {
    Gradient().OnChange = nullptr;
    Gradient().SetDirection(gdTopBottom);
    Gradient().OnChange = [this] { InvalidateChart(); };
    YValues().SetName("Bar");
}

void TBarSeries::HorizontalMargins(int& left, int& right) {
    TChartSeries::HorizontalMargins(left, right);
    positionMargins(left, right);
}

void TBarSeries::VerticalMargins(int& top, int& bottom) {
    TChartSeries::VerticalMargins(top, bottom);
    const int room = markRoom();
    if (room <= 0) return;
    const double low = TChartSeries::LowestY(), high = TChartSeries::HighestY();
    if (UseYOrigin() && low < YOrigin()) bottom += room;
    if (!UseYOrigin() || high > YOrigin()) top += room;
}

bool TBarSeries::SharesZOrder() {
    return MultiBar() == mbSideAll ? false : TChartSeries::SharesZOrder();
}

bool TBarSeries::GroupDrawsForward(int index) {
    const bool inverted = GetVertAxis() && GetVertAxis()->Inverted();
    switch (MultiBar()) {
    case mbStacked:
    case mbSelfStack:
        return (YValues().Value(index) >= YOrigin()) != inverted;
    case mbStacked100:
        return !inverted;
    default:
        return TChartSeries::GroupDrawsForward(index);
    }
}

int TBarSeries::MarkExtent(int index) {
    (void)index;
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return 0;
    c->Canvas()->AssignFont(Marks().Font());
    return c->Canvas()->FontHeight();
}

void TBarSeries::DrawPoint(int i) {
    FBarColor = PointColor(i);
    if (FBarColor == clNone) return;
    // A 100 % stack without a total has nothing to show.
    if (MultiBar() == mbStacked100 && StackBase(i, true) == 0) return;
    const int left = ScreenX(i);
    int right = left + BarSize() + 1;
    if (BarWidthPercent() == 100 && CustomBarWidth() == 0) {
        const bool inverted = GetHorizAxis() && GetHorizAxis()->Inverted();
        if (inverted && i > 0)
            right = ScreenX(i - 1);
        else if (!inverted && i < PointCount() - 1)
            right = ScreenX(i + 1);
    }
    int top = ScreenY(i), bottom = OriginY(i);
    if (!BarPen().Visible()) {
        if (bottom > top)
            ++bottom;
        else
            ++top;
        ++right;
    }
    FBarBounds = {left, top, right, bottom};
    auto blend = beginBarTransparency(FBarBounds);
    DrawBar(i, std::min(top, bottom), std::max(top, bottom));
    if (blend) ParentChart()->Canvas()->EndTransparency(std::move(blend));
}

void TBarSeries::DrawBar(int i, int T, int B) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    prepareBar();
    const TBarStyle style = StyleOfPoint(i);
    const int L = FBarBounds.Left, R = FBarBounds.Right;
    const int Top = FBarBounds.Top, Bottom = FBarBounds.Bottom;
    const int XC = (L + R) / 2, yM = (T + B) / 2;
    const int z0 = StartZ(), z1 = EndZ(), zm = MiddleZ();
    const bool is3D = chart->View3D();
    const TPoint diamond[4] = {{XC, T}, {R, yM}, {XC, B}, {L, yM}};
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (is3D)
            c.DrawBox(L, R, T, B, z0, z1, Dark3D());
        else
            drawBarRectangle(L, Top, R, Bottom);
        break;
    case bsPyramid:
    case bsCone:
        if (is3D && style == bsPyramid)
            c.DrawPyramid(true, L, T, R, B, z0, z1, Dark3D());
        else if (is3D)
            c.DrawCone(true, L, Top, R, Bottom, z0, z1, Dark3D(), conePercent());
        else {
            const TPoint p[3] = {{L, B}, {XC, T}, {R, B}};
            c.DrawPolygon(p);
        }
        break;
    case bsInvPyramid:
        if (is3D)
            c.DrawPyramid(true, L, B, R, T, z0, z1, Dark3D());
        else {
            const TPoint p[3] = {{L, T}, {XC, B}, {R, T}};
            c.DrawPolygon(p);
        }
        break;
    case bsCilinder:
        if (is3D)
            c.DrawCylinder(true, L, Top, R, Bottom, z0, z1, Dark3D());
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
        c.DrawArrow(true, {XC, B}, {XC, T}, R - L, (R - L) / 2, zm);
        break;
    case bsSlantCube:
        if (is3D) {
            const int keep = c.FacetCount();
            c.SetFacetCount(4);
            c.DrawCylinder(true, L, Top, R, Bottom, z0, z1, Dark3D());
            c.SetFacetCount(keep);
        } else {
            drawBarRectangle(L, Top, R, Bottom);
            c.DrawVerticalLine(XC, Top, Bottom);
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
        drawGradient(i, {L, T, R, B});
    else if (style == bsBevel)
        drawBevel(FBarBounds);
    drawTickLines(T, B, style);
}

void TBarSeries::DrawTickLine(int d, TBarStyle style) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    const int L = FBarBounds.Left, R = FBarBounds.Right;
    const int Top = FBarBounds.Top, Bottom = FBarBounds.Bottom;
    const int z0 = StartZ(), z1 = EndZ();
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        c.DrawHorizontalLineAtDepth(L, R, d, z0);
        if (chart->View3D()) {
            const TPoint a = c.ProjectToPoint(R, Bottom, z0), b = c.ProjectToPoint(R, Bottom, z1),
                         e = c.ProjectToPoint(R, Top, z1);
            if (!IsBackFace(a, b, e))
                c.DrawDepthLine(R, d, z0, z1);
            else if (IsBackFace(c.ProjectToPoint(L, Bottom, z0), c.ProjectToPoint(L, Bottom, z1),
                                c.ProjectToPoint(L, Top, z1)))
                c.DrawDepthLine(L, d, z0, z1);
        }
        break;
    case bsArrow: {
        const int q = (R - L) / 4;
        c.DrawHorizontalLineAtDepth(L + q, R - q, d, MiddleZ());
        break;
    }
    default:
        break;
    }
}

void TBarSeries::DrawPointMark(int i, const std::string& text, TSeriesMarkPosition& p) {
    const int h = BarSize() / 2;
    TMarksCallout& callout = Marks().Callout();
    const int d = callout.Distance();
    int n = callout.Length() + d;
    if (OriginY(i) < p.ArrowFrom.Y) {
        n = -n - p.Height;
        p.ArrowFrom.Y += d;
    } else
        p.ArrowFrom.Y -= d;
    p.LeftTop.X += h;
    p.LeftTop.Y -= n;
    p.ArrowTo.X += h;
    p.ArrowTo.Y -= n;
    p.ArrowFrom.X += h;
    if (AutoMarkPosition()) Marks().AvoidOverlap(FirstVisible(), i, p);
    TChartSeries::DrawPointMark(i, text, p);
}

bool TBarSeries::BarContainsPoint(int i, const TPoint& p) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return false;
    const bool is3D = chart->View3D() && chart->Canvas();
    const int x0 = ScreenX(i);
    if (!is3D && (p.X < x0 || p.X > x0 + BarSize())) return false;
    int y1 = ScreenY(i), y2 = OriginY(i);
    if (y1 > y2) std::swap(y1, y2);
    const TBarStyle style = StyleOfPoint(i);
    if (style == bsPyramid || style == bsCone || style == bsInvPyramid) {
        const bool inv = style == bsInvPyramid;
        const int base = inv ? y1 : y2, apex = inv ? y2 : y1;
        std::vector<TPoint> t = {{x0, base}, {x0 + BarSize() / 2, apex}, {x0 + BarSize(), base}};
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
        if (q.X < x0 || q.X > x0 + BarSize()) return false;
    }
    if (style == bsEllipse) return EllipseContainsPoint(q, x0, y1, x0 + BarSize(), y2);
    return y1 <= q.Y && q.Y <= y2;
}

}  // namespace cb::chart
