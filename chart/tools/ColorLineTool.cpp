#include "chart/tools/ColorLineTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>
#include <cstdlib>

namespace cb::chart {

std::string TColorLineTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolColorLine);
}

void TColorLineTool::SetValue(double v) {
    if (!(TargetChart() && TargetChart()->Loading())) FSettings.Style = clCustom;
    StoreDoubleAndRepaint(FSettings.Value, v);
}

void TColorLineTool::Assign(const TColorLineTool& source) {
    FSettings = source.FSettings;
    TCustomChartElement::Assign(source);
}

double TColorLineTool::EffectiveValue() const {
    const TChartAxis* a = Axis();
    if (!a) return FSettings.Value;
    switch (FSettings.Style) {
    case clMaximum:
        return a->Maximum();
    case clCenter:
        return (a->Maximum() + a->Minimum()) * 0.5;
    case clMinimum:
        return a->Minimum();
    case clCustom:
    default:
        return FSettings.Value;
    }
}

double TColorLineTool::limited(double v) const {
    const TChartAxis* a = Axis();
    if (!a || FSettings.NoLimitDrag) return v;
    const double v0 = a->ValueAtPixel(a->StartPixel()), v1 = a->ValueAtPixel(a->EndPixel());
    return std::clamp(v, std::min(v0, v1), std::max(v0, v1));
}

double TColorLineTool::DrawnValue() const {
    return FSettings.AllowDrag ? limited(EffectiveValue()) : EffectiveValue();
}

int TColorLineTool::Pixel() const {
    return Axis() ? Axis()->PixelOfValue(DrawnValue()) : 0;
}

bool TColorLineTool::chartIs3D() const {
    return TargetChart() && TargetChart()->View3D();
}

bool TColorLineTool::Clicked(int x, int y) const {
    const TCustomAxisPanel* chart = TargetChart();
    if (!Axis() || !chart) return false;
    const TRect& r = const_cast<TCustomAxisPanel*>(chart)->ChartRect();
    if (Axis()->Horizontal()) return std::abs(x - Pixel()) <= 2 && y >= r.Top && y <= r.Bottom;
    return std::abs(y - Pixel()) <= 2 && x >= r.Left && x <= r.Right;
}

TCustomAxisPanel* TColorLineTool::penChart() {
    TCustomAxisPanel* chart = TargetChart();
    if (!Axis() || !chart || !chart->Canvas()) return nullptr;
    TCanvas3D& c = *chart->Canvas();
    c.SelectPen(Pen());
    if (!Pen().Visible()) return nullptr;
    c.SetBackgroundMode(1);
    return chart;
}

void TColorLineTool::DrawBehindPass() {
    drawPass(false);
}

void TColorLineTool::DrawFrontPass() {
    drawPass(true);
}

// Behind: the depth edge at the bottom (or left) and the line on the back
// plane; in front: the depth edge at the top (or right) and the line at 0.
void TColorLineTool::drawPass(bool front) {
    TCustomAxisPanel* chart = penChart();
    if (!chart) return;
    TCanvas3D& c = *chart->Canvas();
    const TRect& r = chart->ChartRect();
    const int p = Pixel(), w = chart->Width3D();
    const bool edge = FSettings.Draw3D && (!front || chartIs3D());
    const bool line = front ? !FSettings.DrawBehind : FSettings.DrawBehind || FSettings.Draw3D;
    const int z = front ? 0 : w;
    if (Axis()->Horizontal()) {
        if (edge) c.DrawDepthLine(p, front ? r.Top : r.Bottom, 0, w);
        if (line) c.DrawVerticalLineAtDepth(p, r.Top, r.Bottom, z);
    } else {
        if (edge) c.DrawDepthLine(front ? r.Right : r.Left, p, 0, w);
        if (line) c.DrawHorizontalLineAtDepth(r.Left, r.Right, p, z);
    }
}

void TColorLineTool::HandleChartStage(TChartStage code) {
    // While a drag without repaints runs, the line is an overlay.
    const bool overlay = FDragging && !FSettings.DragRepaint;
    if ((code == csBeforeSeries && !overlay) || (code == csOverlay && overlay)) DrawBehindPass();
    if ((code == csEndOfPaint && !overlay) || (code == csOverlay && overlay)) DrawFrontPass();
}

void TColorLineTool::NotifyEndDrag() {
    if (OnEndDragInternal) OnEndDragInternal(this);
    if (OnEndDragLine) OnEndDragLine(this);
}

void TColorLineTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned, int x, int y) {
    TCustomAxisPanel* chart = TargetChart();
    if (!FSettings.AllowDrag || !Axis() || !chart) return;
    switch (kind) {
    case meDown:
        if (button != mbLeft) return;
        FDragging = Clicked(x, y);
        if (FDragging) {
            cancelMouse();
            // The picture is drawn once without the line, which then moves
            // as an overlay.
            if (!FSettings.DragRepaint) chart->Invalidate();
            if (OnBeginDragLine) OnBeginDragLine(this);
        }
        break;
    case meMove:
        if (FDragging) {
            const double v = limited(Axis()->ValueAtPixel(Axis()->Horizontal() ? x : y));
            if (FSettings.DragRepaint)
                SetValue(v);
            else if (v != EffectiveValue()) {
                FSettings.Style = clCustom;
                FSettings.Value = v;
                repaintOverlay();
            }
            cancelMouse();
            if (OnDragLine) OnDragLine(this);
        } else if (Clicked(x, y)) {
            setChartCursor(Axis()->Horizontal() ? crHSplit : crVSplit);
            cancelMouse();
        }
        break;
    case meUp:
        if (!FDragging) return;
        FDragging = false;
        if (!FSettings.DragRepaint) chart->Invalidate();
        NotifyEndDrag();
        break;
    }
}

}  // namespace cb::chart
