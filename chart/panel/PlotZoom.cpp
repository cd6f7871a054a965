#include "chart/panel/PlotZoom.h"

#include <utility>

namespace cb::chart {

void TZoomPanning::Normalize() {
    if (X1 < X0) std::swap(X0, X1);
    if (Y1 < Y0) std::swap(Y0, Y1);
}

TPlotZoomPen::TPlotZoomPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] { SetColor(clWhite); });
}

TPlotZoomBrush::TPlotZoomBrush(TChangeEvent onChange) : TChartBrush(std::move(onChange)) {
    WithoutChangeEvent(*this, [this] {
        SetColor(clWhite);
        SetStyle(cb::gfx::bsClear);
    });
}

TPlotZoom::TPlotZoom() = default;
TPlotZoom::~TPlotZoom() = default;

TPlotZoomPen& TPlotZoom::Pen() {
    if (!FPen) FPen = std::make_unique<TPlotZoomPen>();
    return *FPen;
}

TPlotZoomBrush& TPlotZoom::Brush() {
    if (!FBrush) FBrush = std::make_unique<TPlotZoomBrush>();
    return *FBrush;
}

void TPlotZoom::SetPen(const TChartPen* pen) {
    if (!pen)
        FPen.reset();
    else if (pen != FPen.get())
        Pen().Assign(*pen);
}

void TPlotZoom::SetBrush(const TChartBrush* brush) {
    if (!brush)
        FBrush.reset();
    else if (brush != FBrush.get())
        Brush().Assign(*brush);
}

void TPlotZoom::Assign(const TPlotZoom& s) {
    if (this == &s) return;
    Allow = s.Allow;
    Animated = s.Animated;
    AnimatedSteps = s.AnimatedSteps;
    SetBrush(s.FBrush.get());
    Direction = s.Direction;
    KeyShift = s.KeyShift;
    MouseButton = s.MouseButton;
    SetPen(s.FPen.get());
}

}  // namespace cb::chart
