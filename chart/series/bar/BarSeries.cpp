#include "chart/series/bar/BarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/SeriesTypes.h"

#include <algorithm>

namespace cb::chart {

TBarSeries::TBarSeries(TBarOrientation orientation) {
    if (orientation == boHorizontal) MakeXMandatory();
    applyOrientation();
}

void TBarSeries::SetOrientation(TBarOrientation orientation) {
    if (orientation == Orientation()) return;
    if (orientation == boHorizontal)
        MakeXMandatory();
    else
        MakeYMandatory();
    XValues().SwapValues(YValues());
    applyOrientation();
    InvalidateChart();
}

void TBarSeries::applyOrientation() {
    const bool v = vertical();
    XValues().SetOrder(v ? loAscending : loNone);
    YValues().SetOrder(v ? loNone : loAscending);
    XValues().SetName(v ? "X" : "Bar");
    YValues().SetName(v ? "Bar" : "Y");
    Gradient().OnChange = nullptr;
    Gradient().SetDirection(v ? gdTopBottom : gdLeftRight);
    Gradient().OnChange = [this] { InvalidateChart(); };
}

double TBarSeries::HighestX() {
    const double e = TChartSeries::HighestX();
    return vertical() ? positionHighest(e) : valueHighest(e);
}

double TBarSeries::LowestX() {
    const double e = TChartSeries::LowestX();
    return vertical() ? positionLowest(e) : valueLowest(e);
}

double TBarSeries::HighestY() {
    const double e = TChartSeries::HighestY();
    return vertical() ? valueHighest(e) : positionHighest(e);
}

double TBarSeries::LowestY() {
    const double e = TChartSeries::LowestY();
    return vertical() ? valueLowest(e) : positionLowest(e);
}

void TBarSeries::HorizontalMargins(int& left, int& right) {
    TChartSeries::HorizontalMargins(left, right);
    if (vertical()) {
        positionMargins(left, right);
        return;
    }
    const int room = markRoom();
    if (room <= 0) return;
    const double low = TChartSeries::LowestX(), high = TChartSeries::HighestX();
    if (UseYOrigin() && low < YOrigin()) left += room;
    if (!UseYOrigin() || high > YOrigin()) right += room;
}

void TBarSeries::VerticalMargins(int& top, int& bottom) {
    TChartSeries::VerticalMargins(top, bottom);
    if (!vertical()) {
        positionMargins(bottom, top);
        return;
    }
    const int room = markRoom();
    if (room <= 0) return;
    const double low = TChartSeries::LowestY(), high = TChartSeries::HighestY();
    if (UseYOrigin() && low < YOrigin()) bottom += room;
    if (!UseYOrigin() || high > YOrigin()) top += room;
}

bool TBarSeries::SharesZOrder() {
    return vertical() && MultiBar() == mbSideAll ? false : TChartSeries::SharesZOrder();
}

bool TBarSeries::GroupDrawsForward(int index) {
    return vertical() ? verticalGroupDrawsForward(index) : horizontalGroupDrawsForward(index);
}

bool TBarSeries::verticalGroupDrawsForward(int index) {
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

bool TBarSeries::horizontalGroupDrawsForward(int index) {
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

int TBarSeries::MarkExtent(int index) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return 0;
    c->Canvas()->AssignFont(Marks().Font());
    if (vertical()) return c->Canvas()->FontHeight();
    if (index >= 0) return Marks().MarkTextWidth(index);
    return WidestMarkText();
}

void TBarSeries::DrawTickLine(int d, TBarStyle style) {
    if (vertical())
        drawVerticalTickLine(d, style);
    else
        drawHorizontalTickLine(d, style);
}

void TBarSeries::drawVerticalTickLine(int d, TBarStyle style) {
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

void TBarSeries::drawHorizontalTickLine(int d, TBarStyle style) {
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

void TBarSeries::DrawPointMark(int i, const std::string& text, TSeriesMarkPosition& p) {
    if (vertical())
        placeVerticalMark(i, p);
    else
        placeHorizontalMark(i, p);
    TChartSeries::DrawPointMark(i, text, p);
}

void TBarSeries::placeVerticalMark(int i, TSeriesMarkPosition& p) {
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
}

void TBarSeries::placeHorizontalMark(int i, TSeriesMarkPosition& p) {
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
}

namespace {

template <TBarOrientation O>
const TSeriesClass& barClass(const char* name) {
    static const TSeriesClass c{name, typeid(TBarSeries), [] { return std::make_unique<TBarSeries>(O); },
                                [](const TChartSeries& s) {
                                    return static_cast<const TBarSeries&>(s).Orientation() == O;
                                }};
    return c;
}

}  // namespace

const TSeriesClass& BarSeriesClass() {
    return barClass<boVertical>("TBarSeries");
}

const TSeriesClass& HorizBarSeriesClass() {
    return barClass<boHorizontal>("THorizBarSeries");
}

}  // namespace cb::chart
