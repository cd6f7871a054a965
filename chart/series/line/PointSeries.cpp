#include "chart/series/line/PointSeries.h"

namespace cb::chart {

TPointSeries::TPointSeries() {
    Pointer().PutVisible(true);
    SetDrawArea(false);
    SetDrawLine(false);
    SetClickableLine(false);
    Marks().Callout().SetLength(0);
}

int TPointSeries::GetTransparency() const {
    return const_cast<TPointSeries*>(this)->Pointer().Transparency();
}

void TPointSeries::SetTransparency(int percent) {
    Pointer().SetTransparency(percent);
}

void TPointSeries::SetColorEachPoint(bool on) {
    TCustomSeries::SetColorEachPoint(on);
    if (on) Pointer().Brush().SetColor(clDefault);
}

void TPointSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TCustomSeries::ListSubGalleryStyles(add);
    for (const char* s : {"Colors", "Marks", "Hollow", "No Border", "Gradient"}) add(s);
    if (OffersPointerStyles())
        for (const char* s : {"Point 2D", "Triangle", "Star", "Circle", "Down Tri.", "Cross", "Diamond"}) add(s);
}

void TPointSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TPointSeries*>(series);
    if (!s) return;
    TSeriesPointer& p = s->Pointer();
    switch (style) {
    case 1:
        s->SetColorEachPoint(true);
        break;
    case 2:
        s->Marks().SetVisible(true);
        break;
    case 3:
        p.Brush().SetStyle(cb::gfx::bsClear);
        break;
    case 4:
        p.Pen().Hide();
        break;
    case 5:
        p.Gradient().SetVisible(true);
        break;
    case 6:
        p.SetDraw3D(false);
        break;
    case 7:
        p.SetStyle(psTriangle);
        break;
    case 8:
        p.SetStyle(psStar);
        break;
    case 9:
        p.SetStyle(psCircle);
        p.SetHorizSize(8);
        p.SetVertSize(8);
        break;
    case 10:
        p.SetStyle(psDownTriangle);
        break;
    case 11:
        p.SetStyle(psCross);
        break;
    case 12:
        p.SetStyle(psDiamond);
        break;
    default:
        break;
    }
}

void TPointSeries::AssignSeries(const TChartSeries& source) {
    TCustomSeries::AssignSeries(source);
    Pointer().PutVisible(true);
    SetDrawArea(false);
    SetDrawLine(false);
    SetClickableLine(false);
}

}  // namespace cb::chart
