#include "chart/series/bar/HorizBarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/canvas/PlotBlend.h"

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

}  // namespace cb::chart
