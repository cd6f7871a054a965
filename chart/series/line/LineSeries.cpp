#include "chart/series/line/LineSeries.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"

#include <typeinfo>

namespace cb::chart {

TLineSeries::TLineSeries() {
    SetDrawLine(true);
    FAllowSinglePoint = false;
    Pointer().PutVisible(false);
}

void TLineSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TCustomSeries::ListSubGalleryStyles(add);
    for (const char* s : {"Stairs", "Points", "Height", "Hollow", "Colors", "Marks", "No Border", "Outline"}) add(s);
}

void TLineSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TLineSeries*>(series);
    if (!s) return;
    switch (style) {
    case 1:
        s->SetStairs(true);
        break;
    case 2:
        s->Pointer().Show();
        break;
    case 3:
        s->SetLineHeight(5);
        break;
    case 4:
        s->LineBrush().SetStyle(cb::gfx::bsClear);
        break;
    case 5:
        s->SetColorEachPoint(true);
        break;
    case 6:
        s->Marks().SetVisible(true);
        break;
    case 7:
        s->LinePen().Hide();
        break;
    case 8:
        s->OutLine().Show();
        break;
    default:
        break;
    }
}

void TLineSeries::AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
    (void)index;
    (void)background;
    if (TCustomAxisPanel* c = ParentChart(); c && c->Canvas()) c->Canvas()->SelectPen(LinePen());
    style = LineBrush().Style();
}

void TLineSeries::AssignSeries(const TChartSeries& source) {
    TCustomSeries::AssignSeries(source);
    if (typeid(source) != typeid(*this)) Pointer().PutVisible(false);
    SetDrawArea(false);
    SetDrawLine(true);
}

THorizLineSeries::THorizLineSeries() {
    MakeXMandatory();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    FCalcVisiblePoints = false;
}

void THorizLineSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& p) {
    int n = Marks().Callout().Length() + Marks().Callout().Distance();
    const bool left = p.ArrowFrom.X < OriginPixel(index);
    if (left) n = -n - p.Width;
    p.LeftTop.X += n + p.Width / 2;
    p.LeftTop.Y += p.Height / 2;
    p.ArrowTo.X += n;
    p.ArrowFrom.X += left ? -Marks().Callout().Distance() : Marks().Callout().Distance();
    Marks().SetZPosition(StartZ());
    TChartSeries::DrawPointMark(index, text, p);
}

}  // namespace cb::chart
