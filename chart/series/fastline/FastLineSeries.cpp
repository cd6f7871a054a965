#include "chart/series/fastline/FastLineSeries.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"

namespace cb::chart {

TFastLineSeries::TFastLineSeries() {
    FAllowSinglePoint = false;
    FDrawBetweenPoints = true;
}

void TFastLineSeries::SetPen(const TChartPen& pen) {
    TCustomLineSeries::SetPen(pen);
    TChartSeries::SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(TColor c) {
    TChartSeries::SetSeriesColor(c);
    LinePen().SetColor(c);
}

TPoint TFastLineSeries::PointPixel(int index) {
    return {XToPixel(PointX(index)), YToPixel(PointY(index))};
}

void TFastLineSeries::PrepareCanvas() {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    c.SelectPen(LinePen());
    if (!LinePen().Visible()) c.Pen().SetStyle(cb::gfx::psClear);
    chart->AdjustPenForPrinting(c.Pen());
    c.Brush().SetStyle(cb::gfx::bsClear);
    c.SetBackgroundMode(1);
}

void TFastLineSeries::moveTo(int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart->View3D())
        chart->Canvas()->MoveToAtDepth(x, y, MiddleZ());
    else
        chart->Canvas()->MoveToPoint(x, y);
}

void TFastLineSeries::lineTo(int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart->View3D())
        chart->Canvas()->LineToAtDepth(x, y, MiddleZ());
    else
        chart->Canvas()->LineToPoint(x, y);
}

int TFastLineSeries::margin() const {
    const int w = const_cast<TFastLineSeries*>(this)->LinePen().Width();
    return w - (w - 2) / 2;
}

void TFastLineSeries::HorizontalMargins(int& left, int& right) {
    TCustomLineSeries::HorizontalMargins(left, right);
    left += margin();
    right += margin();
}

void TFastLineSeries::VerticalMargins(int& top, int& bottom) {
    TCustomLineSeries::VerticalMargins(top, bottom);
    top += margin();
    bottom += margin();
}

void TFastLineSeries::DrawVisiblePoints() {
    TCustomAxisPanel* chart = ParentChart();
    const int f = FirstVisible(), l = LastVisible();
    if (!chart || !chart->Canvas() || f < 0) return;
    PrepareCanvas();
    const TPoint start = PointPixel(f > 0 ? f - 1 : f);
    FOldX = start.X;
    FOldY = start.Y;
    moveTo(FOldX, FOldY);
    if (f > 0) DrawPoint(f);
    for (int i = f + 1; i <= l; ++i) DrawPoint(i);
}

void TFastLineSeries::DrawPoint(int index) {
    const TPoint p = PointPixel(index);
    if (p.X == FOldX && (!FSettings.DrawAllPoints || p.Y == FOldY)) return;
    if (!FSettings.IgnoreNulls && IsEmptyPoint(index))
        moveTo(p.X, p.Y);
    else if (!FSettings.IgnoreNulls && index > 0 && IsEmptyPoint(index - 1))
        moveTo(p.X, p.Y);  // the line resumes at the point after the gap
    else {
        if (FSettings.Stairs) {
            if (FSettings.InvertedStairs)
                lineTo(FOldX, p.Y);
            else
                lineTo(p.X, FOldY);
        }
        lineTo(p.X, p.Y);
    }
    FOldX = p.X;
    FOldY = p.Y;
}

void TFastLineSeries::PointAdded(TChartSeries* sender, int index) {
    if (FSettings.AutoRepaint) {
        TCustomLineSeries::PointAdded(sender, index);
        return;
    }
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas() || !chart->Canvas()->ReferenceCanvas()) return;
    const TPoint p = PointPixel(index > 0 ? index - 1 : 0);
    FOldX = p.X;
    FOldY = p.Y;
    chart->Canvas()->SelectPen(LinePen());
    moveTo(FOldX, FOldY);
    DrawPoint(index);
}

int TFastLineSeries::PointAtPixel(int x, int y) {
    if (FirstVisible() < 0 || LastVisible() < 0) return -1;
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->Canvas()) chart->Canvas()->UnprojectPoint(x, y, MiddleZ());
    TPoint prev{0, 0};
    for (int i = FirstVisible(); i <= LastVisible(); ++i) {
        const TPoint p{ScreenX(i), ScreenY(i)};
        if (p.X == x && p.Y == y) return i;
        if (i > FirstVisible() && PointOnSegmentExact({x, y}, p.X, p.Y, prev.X, prev.Y)) return i - 1;
        prev = p;
    }
    return -1;
}

void TFastLineSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
    Marks().ApplyCallout(position);
    TCustomLineSeries::DrawPointMark(index, text, position);
}

void TFastLineSeries::AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
    (void)index;
    (void)background;
    (void)style;
    if (ParentChart() && ParentChart()->Canvas()) PrepareCanvas();
}

void TFastLineSeries::PaintLegendSymbol(int item, const TRect& r) {
    (void)item;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    chart->Canvas()->DrawHorizontalLine(r.Left, r.Right, (r.Top + r.Bottom) / 2);
}

void TFastLineSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TCustomLineSeries::ListSubGalleryStyles(add);
    for (const char* s : {"Marks", "Dotted", "Stairs"}) add(s);
}

void TFastLineSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TFastLineSeries*>(series);
    if (!s) return;
    switch (style) {
    case 1:
        s->Marks().SetVisible(true);
        break;
    case 2:
        s->LinePen().SetSmallDots(true);
        break;
    case 3:
        s->SetStairs(true);
        break;
    default:
        break;
    }
}

void TFastLineSeries::AssignSeries(const TChartSeries& source) {
    if (this == &source) return;
    auto* from = dynamic_cast<const TFastLineSeries*>(&source);
    if (!from) {
        TChartSeries::Assign(source);
        return;
    }
    const TFastLineSeries& s = *from;
    FSettings = s.FSettings;
    TChartSeries::Assign(s);
}

}  // namespace cb::chart
