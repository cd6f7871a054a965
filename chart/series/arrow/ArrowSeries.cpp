#include "chart/series/arrow/ArrowSeries.h"

#include "chart/core/PlotTexts.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

TArrowSeries::TArrowSeries() {
    FCalcVisiblePoints = false;
    XValues().SetDefaultDateTime(true);
    FEndX = ValueLists().Make(this, PlotText(TPlotText::txtValueEndX));
    FEndX->SetDefaultDateTime(true);
    FEndY = ValueLists().Make(this, PlotText(TPlotText::txtValueEndY));
    Pointer().SetInflateMargins(false);
    Marks().Frame().Hide();
    Marks().SetTransparent(true);
}

int TArrowSeries::AddArrowPoint(double x0, double y0, double x1, double y1, const std::optional<std::string>& label,
                                TColor color) {
    FEndX->SetParkedValue(x1);
    FEndY->SetParkedValue(y1);
    return AddPoint(x0, y0, label, color);
}

void TArrowSeries::DrawPoint(int i) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    const TPoint from{ScreenX(i), ScreenY(i)};
    const TPoint to{XToPixel(FEndX->Value(i)), YToPixel(FEndY->Value(i))};
    const TColor col = PointColor(i);
    const bool is3D = chart->View3D();
    if (is3D)
        Pointer().ApplyPenAndBrush(c, col);
    else
        c.SelectPenWithColor(Pointer().Pen(), col);
    c.DrawArrow(is3D, from, to, Pointer().HorizSize(), Pointer().VertSize(), MiddleZ());
}

double TArrowSeries::HighestX() {
    return std::max(TCustomSeries::HighestX(), FEndX->Highest());
}
double TArrowSeries::LowestX() {
    return std::min(TCustomSeries::LowestX(), FEndX->Lowest());
}
double TArrowSeries::HighestY() {
    return std::max(TCustomSeries::HighestY(), FEndY->Highest());
}
double TArrowSeries::LowestY() {
    return std::min(TCustomSeries::LowestY(), FEndY->Lowest());
}

}  // namespace cb::chart
