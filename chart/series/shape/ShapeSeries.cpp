#include "chart/series/shape/ShapeSeries.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

namespace {
int Trunc(double v) {
    return int(std::trunc(v));
}
}  // namespace

TChartShape::TChartShape() {
    const auto repaint = [this] { InvalidateChart(); };
    FFont = std::make_unique<TPlotFont>(repaint);
    FGradient = std::make_unique<TPlotGradient>(repaint);
    Brush().SetColor(clWhite);
    TChartSeries::SetSeriesColor(clWhite);
    FCalcVisiblePoints = false;
    AddPoint(0, 0);
    AddPoint(100, 100);
}

TChartShape::~TChartShape() = default;

double TChartShape::pointValue(int index, bool x) const {
    auto* self = const_cast<TChartShape*>(this);
    if (self->PointCount() < 2)
        throw ChartException("Shape series has " + std::to_string(self->PointCount()) +
                             " points; point " + std::to_string(index) + " is not there.");
    return x ? self->XValues().Value(index) : self->YValues().Value(index);
}

void TChartShape::setPointValue(int index, bool x, double v) {
    pointValue(index, x);  // refuses a shape without its two points
    TChartValueList& list = x ? XValues() : YValues();
    if (list.Value(index) == v) return;
    list.SetValue(index, v);
    NotifyDataChanged();
    InvalidateChart();
}

void TChartShape::SetText(const std::vector<std::string>& lines) {
    FText = lines;
    InvalidateChart();
}

void TChartShape::SetSeriesColor(TColor c) {
    TChartSeries::SetSeriesColor(c);
    Brush().SetColor(c);
}

void TChartShape::AssignZOrder() {
    if (UsesAxes()) TChartSeries::AssignZOrder();
}

TRect TChartShape::GetShapeBounds() {
    switch (FXYStyle) {
    case xysPixels:
        return {Trunc(X0()), Trunc(Y0()), Trunc(X1()), Trunc(Y1())};
    case xysAxis:
        return {ScreenX(0), ScreenY(0), ScreenX(1), ScreenY(1)};
    case xysAxisOrigin:
    default: {
        const int l = ScreenX(0), t = ScreenY(0);
        return {l, t, l + Trunc(X1()), t + Trunc(Y1())};
    }
    }
}

void TChartShape::DrawPoint(int index) {
    TCustomAxisPanel* chart = ParentChart();
    if (index != 0 || PointCount() != 2 || !chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    const TRect given = GetShapeBounds();
    TRect r = NormalizeRect(given);
    if (r.Right == r.Left) ++r.Right;
    if (r.Bottom == r.Top) ++r.Bottom;
    const TRect& area = chart->ChartRect();
    if (r.Right < area.Left || r.Left > area.Right || r.Bottom < area.Top || r.Top > area.Bottom) return;
    const bool is3D = FXYStyle != xysPixels && chart->View3D();
    c.SelectPen(Pen());
    if (FTransparent)
        c.Brush().SetStyle(cb::gfx::bsClear);
    else
        c.AssignBrush(Brush(), SeriesColor());
    c.SetBackgroundMode(Brush().Color() == clNone ? 1 : 2);
    drawFigure(c, FStyle == chasLine ? given : r, is3D, false);
    if (!FText.empty()) drawText(c, r);
}

void TChartShape::drawFigure(TCanvas3D& c, const TRect& b, bool is3D, bool flat) {
    const TRect r = b;
    const int cx = Trunc((r.Left + r.Right) / 2.0), cy = Trunc((r.Top + r.Bottom) / 2.0);
    const int zm = MiddleZ();
    const bool gradient = !flat && !FTransparent && FGradient->Visible() &&
                          (FStyle == chasRectangle || FStyle == chasCircle);
    if (gradient && !(FStyle == chasRectangle && FRoundRectangle && !is3D)) {
        const TRect g = is3D ? NormalizeRect(c.ProjectRect(r, zm)) : r;
        if (FStyle == chasCircle) c.ClipToEllipse(g);
        PaintGradient(c, *FGradient, g);
        if (FStyle == chasCircle) c.RemoveClip();
        c.Brush().SetStyle(cb::gfx::bsClear);
    }
    const auto line = [&](int x0, int y0, int x1, int y1) {
        if (is3D)
            c.DrawLineAtDepth(x0, y0, x1, y1, zm);
        else
            c.DrawLine(x0, y0, x1, y1);
    };
    const auto polygon = [&](std::vector<TPoint> p) {
        if (is3D)
            c.DrawPolygonAtDepth(p, zm);
        else
            c.DrawPolygon(p);
    };
    switch (FStyle) {
    case chasRectangle:
        if (is3D)
            c.DrawRectAtDepth(r, zm);
        else if (FRoundRectangle)
            c.DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, 12, 12);
        else
            c.DrawRect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
        break;
    case chasCircle:
        if (is3D)
            c.DrawEllipseAtDepth(r.Left, r.Top, r.Right, r.Bottom, zm);
        else
            c.DrawEllipse(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case chasVertLine:
        line(cx, r.Top, cx, r.Bottom);
        break;
    case chasHorizLine:
        line(r.Left, cy, is3D ? r.Right : r.Right + 1, cy);
        break;
    case chasTriangle:
        polygon({{r.Left, r.Bottom}, {cx, r.Top}, {r.Right, r.Bottom}});
        break;
    case chasInvertTriangle:
        polygon({{r.Left, r.Top}, {cx, r.Bottom}, {r.Right, r.Top}});
        break;
    case chasPyramid:
    case chasInvertPyramid:
        if (is3D)
            c.DrawPyramid(FStyle == chasPyramid, r.Left, r.Top, r.Right, r.Bottom, StartZ(), EndZ(), !FTransparent);
        else if (FStyle == chasPyramid)
            polygon({{r.Left, r.Bottom}, {cx, r.Top}, {r.Right, r.Bottom}});
        else
            polygon({{r.Left, r.Top}, {cx, r.Bottom}, {r.Right, r.Top}});
        break;
    case chasLine:
        line(r.Left, r.Top, r.Right, r.Bottom);
        break;
    case chasDiamond:
        polygon({{r.Left, cy}, {cx, r.Top}, {r.Right, cy}, {cx, r.Bottom}});
        break;
    case chasCube:
        if (is3D)
            c.DrawBoxRect(r, StartZ(), EndZ(), !FTransparent);
        else
            c.DrawRectangle(r);
        break;
    case chasCross:
    case chasDiagCross:
    case chasStar:
        if (FStyle != chasDiagCross) {
            line(cx, r.Top, cx, is3D ? r.Bottom : r.Bottom + 1);
            line(r.Left, cy, is3D ? r.Right : r.Right + 1, cy);
        }
        if (FStyle != chasCross) {
            if (is3D) {
                line(r.Left, r.Top, r.Right, r.Bottom);
                line(r.Left, r.Bottom, r.Right, r.Top);
            } else {
                line(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
                line(r.Left, r.Bottom, r.Right + 1, r.Top - 1);
            }
        }
        break;
    }
}

void TChartShape::drawText(TCanvas3D& c, const TRect& r) {
    c.AssignFont(*FFont);
    if (Brush().Color() == FFont->Color()) c.Font().SetColor(FFont->Color() == clBlack ? clWhite : clBlack);
    const int h = c.FontHeight();
    const int n = int(FText.size());
    const int cx = Trunc((r.Left + r.Right) / 2.0), cy = Trunc((r.Top + r.Bottom) / 2.0);
    int y = FVertAlign == vaTop ? r.Top
            : FVertAlign == vaCenter ? cy - int(std::nearbyint(n * h / 2.0))
                                     : r.Bottom - n * h;
    const int penWidth = Pen().Visible() ? Pen().Width() : 0;
    c.SetTextAlignment(0);
    c.SetBackgroundMode(1);
    const bool atDepth = FXYStyle != xysPixels && ParentChart()->View3D();
    for (const std::string& line : FText) {
        const int w = c.TextWidth(line);
        const int x = FAlignment == taLeftJustify ? r.Left + penWidth + 4
                      : FAlignment == taCenter    ? cx - Trunc(w / 2.0)
                                                  : r.Right - penWidth - w - 4;
        if (atDepth)
            c.OutputTextAtDepth(x, y, StartZ(), line);
        else
            c.OutputText(x, y, line);
        y += h;
    }
}

int TChartShape::PointAtPixel(int x, int y) {
    if (PointCount() != 2) return -1;
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->Canvas() && UsesAxes()) chart->Canvas()->UnprojectPoint(x, y, StartZ());
    const TRect b = GetShapeBounds();
    const TPoint p{x, y};
    const int cx = Trunc((b.Left + b.Right) / 2.0), cy = Trunc((b.Top + b.Bottom) / 2.0);
    const TRect r = NormalizeRect(b);
    bool hit = false;
    switch (FStyle) {
    case chasCircle:
        hit = EllipseRectContainsPoint(p, r);
        break;
    case chasVertLine:
        hit = PointOnSegmentExact(p, cx, b.Top, cx, b.Bottom);
        break;
    case chasHorizLine:
        hit = PointOnSegmentExact(p, b.Left, cy, b.Right, cy);
        break;
    case chasTriangle:
    case chasPyramid:
        hit = TriangleContainsPoint(p, r.Left, r.Right, r.Bottom, r.Top);
        break;
    case chasInvertTriangle:
    case chasInvertPyramid:
        hit = TriangleContainsPoint(p, r.Left, r.Right, r.Top, r.Bottom);
        break;
    case chasLine:
        hit = PointOnSegmentBetween(p, {b.Left, b.Top}, {b.Right, b.Bottom});
        break;
    case chasDiamond:
        hit = PolygonContainsPoint(p, std::vector<TPoint>{{r.Left, cy}, {cx, r.Top}, {r.Right, cy}, {cx, r.Bottom}});
        break;
    default:
        hit = RectContainsPoint(r, x, y);
        break;
    }
    return hit ? 0 : -1;
}

void TChartShape::PaintLegendSymbol(int index, const TRect& r) {
    (void)index;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    drawFigure(*chart->Canvas(), r, false, true);
}

void TChartShape::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TChartSeries::ListSubGalleryStyles(add);
    for (const char* s : {"Rectangle", "Vert.Line", "Horiz.Line", "Ellipse", "Down Tri.", "Line", "Diamond", "Cube",
                          "Cross", "Diag.Cross", "Star", "Pyramid", "Inv. Pyramid", "Hollow"})
        add(s);
}

void TChartShape::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TChartShape*>(series);
    if (!s) return;
    static const TChartShapeStyle styles[] = {chasRectangle, chasVertLine,  chasHorizLine, chasCircle, chasInvertTriangle,
                                              chasLine,      chasDiamond,   chasCube,      chasCross,  chasDiagCross,
                                              chasStar,      chasPyramid,   chasInvertPyramid};
    if (style >= 1 && style <= 13)
        s->SetShapeStyle(styles[style - 1]);
    else if (style == 14)
        s->SetTransparent(!s->Transparent());
}

void TChartShape::AssignSeries(const TChartSeries& source) {
    if (auto* s = dynamic_cast<const TChartShape*>(&source); s && s != this) {
        FAlignment = s->FAlignment;
        FFont->Assign(*s->FFont);
        FGradient->Assign(*s->FGradient);
        FRoundRectangle = s->FRoundRectangle;
        FStyle = s->FStyle;
        FText = s->FText;
        FTransparent = s->FTransparent;
        FVertAlign = s->FVertAlign;
        FXYStyle = s->FXYStyle;
    }
    TChartSeries::AssignSeries(source);
}

}  // namespace cb::chart
