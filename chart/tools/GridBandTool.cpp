#include "chart/tools/GridBandTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

void TGridBandBrush::SetBackColor(TColor c) {
    if (c == FBackColor) return;
    FBackColor = c;
    if (OnChange) OnChange(*this);
}

void TGridBandBrush::SetTransparency(int percent) {
    if (percent == FTransparency) return;
    FTransparency = percent;
    if (OnChange) OnChange(*this);
}

TGridBandTool::TGridBandTool()
    : FBand1(std::make_unique<TGridBandBrush>([this] { InvalidateChart(); })),
      FBand2(std::make_unique<TGridBandBrush>([this] { InvalidateChart(); })) {}

TGridBandTool::~TGridBandTool() {
    if (Axis()) Axis()->GridHook = nullptr;
}

std::string TGridBandTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolGridBand);
}

void TGridBandTool::SetAxis(TChartAxis* axis) {
    if (Axis() && Axis() != axis) Axis()->GridHook = nullptr;
    TPlotCustomToolAxis::SetAxis(axis);
    if (axis) axis->GridHook = [this](TChartAxis* a) { DrawBands(*a); };
}

void TGridBandTool::AxisDestroyed(const TChartAxis* axis) {
    TPlotCustomToolAxis::AxisDestroyed(axis);
}

void TGridBandTool::band(TChartAxis& axis, TGridBandBrush& brush, int a, int b) {
    if (brush.Style() == cb::gfx::bsClear) return;
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    if (a > b) std::swap(a, b);
    const TRect& cr = chart->ChartRect();
    const bool is3D = chart->View3D();
    TRect r = axis.Horizontal() ? TRect{a, cr.Top + 1, b, cr.Bottom} : TRect{cr.Left + 1, a, cr.Right, b + 1};
    if (!is3D && axis.Horizontal()) ++r.Right;
    const TColor back = brush.BackColor() == clNone ? chart->BackWallColor() : brush.BackColor();
    c.AssignBrushColor(brush, brush.Color(), back);
    c.Pen().SetStyle(cb::gfx::psClear);
    std::unique_ptr<TPlotBlend> blend;
    const int z = chart->Width3D();
    if (brush.Transparency() > 0) blend = c.BeginTransparency(is3D ? c.ProjectedBounds(r, z) : r, brush.Transparency());
    if (is3D)
        c.DrawRectAtDepth(r, z);
    else
        c.DrawRectangle(r);
    if (blend) c.EndTransparency(std::move(blend));
}

void TGridBandTool::DrawBands(TChartAxis& axis) {
    TCustomAxisPanel* chart = ParentChart();
    if (!Active() || !chart || !chart->Canvas()) return;
    const std::vector<int>& ticks = axis.TickPositions();
    const bool clear1 = FBand1->Style() == cb::gfx::bsClear, clear2 = FBand2->Style() == cb::gfx::bsClear;
    // Nothing to band without grid positions.
    if (ticks.empty() || !((!clear1 && ticks.size() >= 2) || !clear2)) return;
    bool first = true;
    const auto next = [&]() -> TGridBandBrush& {
        TGridBandBrush& b = first ? *FBand1 : *FBand2;
        first = !first;
        return b;
    };
    const bool horizontal = axis.Horizontal();
    const int lo = std::min(axis.StartPixel(), axis.EndPixel()), hi = std::max(axis.StartPixel(), axis.EndPixel());
    if (horizontal ? ticks.front() < axis.EndPixel() - 1 : ticks.front() > axis.StartPixel() + 1) {
        TGridBandBrush& b = next();
        band(axis, b, horizontal ? axis.EndPixel() - 1 : axis.StartPixel() + 1, ticks.front());
    }
    for (std::size_t i = 1; i < ticks.size(); ++i) band(axis, next(), ticks[i - 1], ticks[i]);
    const int last = ticks.back();
    if (last > lo && last < hi) band(axis, next(), last, horizontal ? axis.StartPixel() : axis.EndPixel());
}

}  // namespace cb::chart
