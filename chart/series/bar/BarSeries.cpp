#include "chart/series/bar/BarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/canvas/PlotBlend.h"

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

}  // namespace cb::chart
