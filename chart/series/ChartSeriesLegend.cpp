// A series' items in the legend: the symbol in the item's colour over the
// legend's background.
#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/ScopeGuard.h"

namespace cb::chart {

void TChartSeries::DrawLegendItem(int index, const TRect& r, TColor legendColor, const TChartPen* legendPen) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas() || (index == -1 && ColorEachPoint())) return;
    const bool keep = c->AutoRepaint();
    c->SetAutoRepaint(false);
    auto restore = cb::rtl::OnScopeExit([&] {
        c->SetAutoRepaint(keep);
        FLegendColor = clDefault;
    });
    TCanvas3D& canvas = *c->Canvas();
    const TColor colour = index == -1 ? SeriesColor() : LegendItemColor(index);
    canvas.Brush().SetColor(colour);
    if (colour == clNone) return;
    TColor background = legendColor;
    TBrushStyle style = Brush().Style();
    canvas.SelectPen(Pen());
    if (!Pen().Visible()) canvas.Pen().SetStyle(cb::gfx::psClear);
    AdjustLegendBrush(index, background, style);
    if (legendPen) canvas.SelectPen(*legendPen);
    if (background == clDefault) background = legendColor != clDefault ? legendColor : c->Color();
    FLegendColor = legendColor != clDefault ? legendColor : c->Color();
    const TBrushStyle old = Brush().Style();
    const bool picture = Brush().HasImage() && !Brush().Image().Empty();
    const bool change = style != old && !picture;
    if (change) WithoutChangeEvent(Brush(), [&] { Brush().SetStyle(style); });
    c->SelectBrushOverBackground(colour, Brush(), background);
    PaintLegendSymbol(index, r);
    if (change) WithoutChangeEvent(Brush(), [&] { Brush().SetStyle(old); });
}

void TChartSeries::PaintLegendSymbol(int index, const TRect& r) {
    (void)index;
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    TCanvas3D& canvas = *c->Canvas();
    canvas.DrawRectangle(r);
    const TColor fill = canvas.Brush().Color();
    if (fill != FLegendColor) return;
    // A symbol in the legend's own colour keeps an outline.
    const TColor pen = canvas.Pen().Color();
    const cb::gfx::TBrushStyle brush = canvas.Brush().Style();
    canvas.Brush().SetStyle(cb::gfx::bsClear);
    canvas.Pen().SetColor(fill == clBlack ? clWhite : pen);
    canvas.DrawRectangle(r);
    canvas.Pen().SetColor(pen);
    canvas.Brush().SetStyle(brush);
}

}  // namespace cb::chart
