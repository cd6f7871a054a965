#include "chart/series/line/AreaSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/canvas/StylePaint.h"

#include <algorithm>

namespace cb::chart {

TAreaSeries::TAreaSeries() {
    SetDrawArea(true);
    FAllowSinglePoint = false;
    Pointer().PutVisible(false);
}

TMultiArea TAreaSeries::MultiArea() const {
    switch (Stacked()) {
    case cssStack:
        return maStacked;
    case cssStack100:
        return maStacked100;
    default:
        return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea m) {
    if (m == MultiArea()) return;
    SetStacked(m == maStacked ? cssStack : m == maStacked100 ? cssStack100 : cssNone);
}

int TAreaSeries::OriginPixel(int index) {
    if (FUseYOrigin) return MandatoryToPixel(FYOrigin);
    return TCustomSeries::OriginPixel(index);
}

double TAreaSeries::HighestY() {
    const double v = TCustomSeries::HighestY();
    return FUseYOrigin && YMandatory() ? std::max(v, FYOrigin) : v;
}
double TAreaSeries::LowestY() {
    const double v = TCustomSeries::LowestY();
    return FUseYOrigin && YMandatory() ? std::min(v, FYOrigin) : v;
}
double TAreaSeries::HighestX() {
    const double v = TCustomSeries::HighestX();
    return FUseYOrigin && !YMandatory() ? std::max(v, FYOrigin) : v;
}
double TAreaSeries::LowestX() {
    const double v = TCustomSeries::LowestX();
    return FUseYOrigin && !YMandatory() ? std::min(v, FYOrigin) : v;
}

bool TAreaSeries::GroupDrawsForward(int index) {
    if (MultiArea() != maNone) {
        TChartAxis* a = MandatoryAxis();
        return !(a && a->Inverted());
    }
    return TCustomSeries::GroupDrawsForward(index);
}

void TAreaSeries::PaintLegendSymbol(int item, const TRect& r) {
    TCustomAxisPanel* chart = ParentChart();
    if (Gradient().Visible() && chart && chart->Canvas()) {
        PaintGradient(*chart->Canvas(), Gradient(), r);
        return;
    }
    TCustomSeries::PaintLegendSymbol(item, r);
}

void TAreaSeries::AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
    (void)index;
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    TCanvas3D& canvas = *c->Canvas();
    background = areaColorOf(canvas.Brush().Color());
    if (AreaLinesPen().Visible())
        canvas.SelectPen(AreaLinesPen());
    else
        canvas.Pen().SetStyle(cb::gfx::psClear);
    style = AreaChartBrush().Style();
}

void TAreaSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TCustomSeries::ListSubGalleryStyles(add);
    for (const char* s :
         {"Stairs", "Marks", "Colors", "Hollow", "No Lines", "Stack", "Stack 100%", "Points", "Gradient"})
        add(s);
}

void TAreaSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TAreaSeries*>(series);
    if (!s) return;
    switch (style) {
    case 1:
        s->SetStairs(true);
        break;
    case 2:
        s->Marks().SetVisible(true);
        break;
    case 3:
        s->SetColorEachPoint(true);
        break;
    case 4:
        s->AreaBrush().SetStyle(cb::gfx::bsClear);
        break;
    case 5:
        s->AreaLinesPen().Hide();
        break;
    case 6:
        s->SetMultiArea(maStacked);
        break;
    case 7:
        s->SetMultiArea(maStacked100);
        break;
    case 8:
        s->Pointer().Show();
        break;
    case 9:
        s->Gradient().SetVisible(true);
        break;
    default:
        break;
    }
}

void TAreaSeries::AssignSeries(const TChartSeries& source) {
    TCustomSeries::AssignSeries(source);
    SetDrawArea(true);
    SetDrawLine(true);
    auto* a = dynamic_cast<const TAreaSeries*>(&source);
    if (a && (HasInstance(a) || a->HasInstance(this))) {
        FUseYOrigin = a->FUseYOrigin;
        FYOrigin = a->FYOrigin;
    } else
        Pointer().PutVisible(false);
}

THorizAreaSeries::THorizAreaSeries() {
    MakeXMandatory();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    Gradient().SetDirection(gdRightLeft);
}

void THorizAreaSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& p) {
    const int n = Marks().Callout().Length() + Marks().Callout().Distance();
    p.LeftTop.Y = p.ArrowTo.Y - p.Height / 2;
    p.LeftTop.X += n + p.Width / 2;
    p.ArrowTo.X += n;
    p.ArrowFrom.Y = p.ArrowTo.Y;
    p.ArrowFrom.X += Marks().Callout().Distance();
    Marks().SetZPosition(StartZ());
    TChartSeries::DrawPointMark(index, text, p);
}

}  // namespace cb::chart
