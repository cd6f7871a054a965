#include "chart/series/bubble/BubbleSeries.h"

#include "chart/core/PlotTexts.h"
#include "chart/axis/ChartAxis.h"

#include <algorithm>

namespace cb::chart {

TBubbleSeries::TBubbleSeries() {
    FRadius = ValueLists().Make(this, PlotText(TPlotText::txtValueRadius));
    Pointer().SetInflateMargins(false);
    Pointer().SetStyle(psCircle);
    Pointer().SetSizeEditable(false);
    Marks().Frame().Hide();
    Marks().SetTransparent(true);
    TChartSeries::SetColorEachPoint(true);
}

int TBubbleSeries::AddBubblePoint(double x, double y, double radius, const std::optional<std::string>& label,
                                  TColor color) {
    FRadius->SetParkedValue(radius);
    return AddPoint(x, y, label, color);
}

void TBubbleSeries::PreparePointer(int i) {
    TChartAxis* v = GetVertAxis();
    TChartAxis* h = GetHorizAxis();
    const double r = FRadius->Value(i);
    const int vs = v ? v->PixelSpanOfValue(r) : 0;
    Pointer().PutVertSize(vs);
    Pointer().PutHorizSize(FSquared || !h ? vs : h->PixelSpanOfValue(r));
}

void TBubbleSeries::DrawPoint(int i) {
    PreparePointer(i);
    DrawPointer(ScreenX(i), ScreenY(i), PointColor(i), i);
}

void TBubbleSeries::PaintLegendSymbol(int item, const TRect& r) {
    const int s = std::min(r.Width(), r.Height());
    Pointer().PutHorizSize(s);
    Pointer().PutVertSize(s);
    TPointSeries::PaintLegendSymbol(item, r);
}

double TBubbleSeries::HighestY() {
    double v = TCustomSeries::HighestY();
    for (int i = 0; i < PointCount(); ++i) v = std::max(v, YValues().Value(i) + FRadius->Value(i));
    return v;
}

double TBubbleSeries::LowestY() {
    double v = TCustomSeries::LowestY();
    for (int i = 0; i < PointCount(); ++i) v = std::min(v, YValues().Value(i) - FRadius->Value(i));
    return v;
}

double TBubbleSeries::HighestZ() {
    return Pointer().Draw3D() ? FRadius->Highest() : TPointSeries::HighestZ();
}

double TBubbleSeries::LowestZ() {
    return Pointer().Draw3D() ? -FRadius->Highest() : TPointSeries::LowestZ();
}

void TBubbleSeries::AssignSeries(const TChartSeries& source) {
    if (auto* b = dynamic_cast<const TBubbleSeries*>(&source); b && b != this) FSquared = b->FSquared;
    TPointSeries::AssignSeries(source);
}

}  // namespace cb::chart
