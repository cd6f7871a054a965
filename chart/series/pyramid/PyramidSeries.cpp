#include "chart/series/pyramid/PyramidSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"

#include <cmath>

namespace cb::chart {

TPyramidSeries::TPyramidSeries() {
    SetColorEachPoint(true);
    FCalcVisiblePoints = false;
}

double TPyramidSeries::positionInChart() const {
    TCustomAxisPanel* c = ParentChart();
    return c ? std::max(0, c->SeriesList().IndexOf(this)) : 0;
}

void TPyramidSeries::HorizontalMargins(int& left, int& right) {
    TChartSeries::HorizontalMargins(left, right);
    left += 20;
    right += 20;
}

bool TPyramidSeries::DrawsAscending() {
    TChartAxis* v = GetVertAxis();
    return !(v && v->Inverted());
}

// Slices stack by magnitude, as the vertical axis (0 to the sum of
// magnitudes) counts them: mixed signs stay inside the axis.
double TPyramidSeries::SumBelow(int index) {
    double s = 0;
    for (int i = 0; i < index && i < PointCount(); ++i) s += std::fabs(YValues().Value(i));
    return s;
}

double TPyramidSeries::Total() {
    return YValues().SumOfMagnitudes();
}

int TPyramidSeries::ScreenX(int index) {
    (void)index;
    return XToPixel(positionInChart());
}

void TPyramidSeries::DrawPoint(int i) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas() || IsEmptyPoint(i)) return;
    const double T = Total();
    if (T == 0) return;  // no total: no slice has a width
    TCanvas3D& c = *chart->Canvas();
    chart->SelectBrushOverBackground(PointColor(i), Brush(), Brush().Color());
    if (Pen().Visible())
        c.SelectPen(Pen());
    else
        c.Pen().SetStyle(cb::gfx::psClear);
    const double B = SumBelow(i), A = B + std::fabs(YValues().Value(i));
    const double pb = 100 - B * 100 / T, pt = 100 - A * 100 / T;
    TChartAxis* h = GetHorizAxis();
    const int L = h ? h->PixelSize() : 0;
    const int H = Round(L * FSizePercent * 0.005);
    const int hb = Round(H * pb * 0.01), ht = Round(H * pt * 0.01);
    const int cx = ScreenX(i), yb = YToPixel(B), yt = YToPixel(A);
    const int D = EndZ() - StartZ();
    const int zb = 100 - pb > 0 ? Round(D * (100 - pb) * 0.005) : 0;
    const int zt = pt < 100 ? Round(D * pt * 0.005) : 0;
    c.DrawFrustum({cx - hb, yt, cx + hb, yb}, StartZ() + zb, EndZ() - zb, ht, zt);
}

void TPyramidSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
    position.LeftTop.Y = YToPixel(SumBelow(index) + std::fabs(YValues().Value(index)));
    TChartSeries::DrawPointMark(index, text, position);
}

}  // namespace cb::chart
