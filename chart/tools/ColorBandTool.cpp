#include "chart/tools/ColorBandTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

TColorBandTool::TColorBandTool()
    : FGradient(std::make_unique<TPlotGradient>([this] { InvalidateChart(); })),
      FStartLine(std::make_unique<TColorLineTool>()), FEndLine(std::make_unique<TColorLineTool>()) {
    for (TColorLineTool* l : {FStartLine.get(), FEndLine.get()}) {
        l->SetActive(false);
        l->SetDragRepaint(true);
        l->OnDragLine = [this](TColorLineTool* line) { lineDragged(line); };
        l->OnEndDragInternal = [this](TColorLineTool* line) { lineDragged(line); };
        l->Pen().OnChange = [this](cb::gfx::TGraphicsObject&) { InvalidateChart(); };
    }
}

TColorBandTool::~TColorBandTool() = default;

std::string TColorBandTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolColorBand);
}

void TColorBandTool::SetStartValue(double v) {
    StoreDoubleAndRepaint(FStartValue, v);
    FStartLine->SetValue(FStartValue);
    FEndLine->SetValue(FEndValue);
}

void TColorBandTool::SetEndValue(double v) {
    StoreDoubleAndRepaint(FEndValue, v);
    FStartLine->SetValue(FStartValue);
    FEndLine->SetValue(FEndValue);
}

void TColorBandTool::SetResizeStart(bool on) {
    FStartLine->SetActive(on);
    InvalidateChart();
}

void TColorBandTool::SetResizeEnd(bool on) {
    FEndLine->SetActive(on);
    InvalidateChart();
}

void TColorBandTool::SetAxis(TChartAxis* axis) {
    TPlotCustomToolAxis::SetAxis(axis);
    for (TColorLineTool* l : {FStartLine.get(), FEndLine.get()}) {
        l->SetAxis(axis);
        l->SetParentChart(nullptr);
        l->SetDrawChart(ParentChart());
    }
}

void TColorBandTool::AxisDestroyed(const TChartAxis* axis) {
    TPlotCustomToolAxis::AxisDestroyed(axis);
    FStartLine->AxisDestroyed(axis);
    FEndLine->AxisDestroyed(axis);
}

void TColorBandTool::SetParentChart(TCustomAxisPanel* chart) {
    TPlotCustomToolAxis::SetParentChart(chart);
    FStartLine->SetDrawChart(chart);
    FEndLine->SetDrawChart(chart);
}

void TColorBandTool::lineDragged(TColorLineTool* line) {
    if (line == FStartLine.get())
        SetStartValue(line->Value());
    else
        SetEndValue(line->Value());
}

int TColorBandTool::depth() const {
    return FDrawBehind && ParentChart() ? ParentChart()->Width3D() : 0;
}

TRect TColorBandTool::BoundsRect() const {
    const TChartAxis* a = Axis();
    TCustomAxisPanel* chart = ParentChart();
    if (!a || !chart) return {0, 0, 0, 0};
    double lo = std::min(FStartValue, FEndValue), hi = std::max(FStartValue, FEndValue);
    if (a->Inverted()) std::swap(lo, hi);
    const bool outside = a->Inverted() ? (hi > a->Maximum() || lo < a->Minimum())
                                       : (lo > a->Maximum() || hi < a->Minimum());
    if (outside) return {0, 0, 0, 0};
    TRect r = chart->ChartRect();
    const bool pen = const_cast<TColorBandTool*>(this)->Pen().Visible();
    const int first = a->PixelOfValue(lo), second = a->PixelOfValue(hi);
    if (a->Horizontal()) {
        r.Left = std::max(a->StartPixel(), first);
        r.Right = std::min(a->EndPixel(), second);
        if (pen) ++r.Right;
    } else {
        r.Top = std::max(a->StartPixel(), second);
        r.Bottom = std::min(a->EndPixel(), first) + 1;
        ++r.Left;
        if (!pen) {
            ++r.Bottom;
            ++r.Right;
        }
    }
    return r;
}

bool TColorBandTool::Clicked(int x, int y) const {
    TCustomAxisPanel* chart = ParentChart();
    const TRect r = BoundsRect();
    if (!chart || !chart->Canvas() || r.Width() <= 0 || r.Height() <= 0) return false;
    TPoint p[4];
    chart->Canvas()->ProjectRectCorners(r, depth(), p);
    return PolygonContainsPoint({x, y}, p, 3) || RectContainsPoint(NormalizeRect({p[0].X, p[0].Y, p[2].X, p[2].Y}), x, y);
}

void TColorBandTool::paintBand() {
    TCustomAxisPanel* chart = ParentChart();
    const TRect r = BoundsRect();
    if (!chart || !chart->Canvas() || r.Width() <= 0 || r.Height() <= 0) return;
    TCanvas3D& c = *chart->Canvas();
    const int z = depth();
    const bool is3D = chart->View3D();
    // Filled in Color; the brush's own colour is the ground of hatched styles.
    c.AssignBrush(Brush(), FColor);
    c.SelectPen(Pen());
    if (!Pen().Visible()) c.Pen().SetStyle(cb::gfx::psClear);
    std::unique_ptr<TPlotBlend> blend;
    if (FTransparency > 0) blend = c.BeginTransparency(is3D ? c.ProjectedBounds(r, z) : r, FTransparency);
    if (FGradient->Visible() && (!is3D || c.IsOrthogonal())) {
        const TRect g{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
        PaintGradient(c, *FGradient, is3D ? NormalizeRect(c.ProjectRect(g, z)) : g);
        c.Brush().SetStyle(cb::gfx::bsClear);
    }
    if (is3D)
        c.DrawRectAtDepth(r, z);
    else
        c.DrawRectangle(r);
    if (blend) c.EndTransparency(std::move(blend));
    for (TColorLineTool* l : {FEndLine.get(), FStartLine.get()}) {
        if (!l->Active()) continue;
        if (FDrawBehind)
            l->DrawBehindPass();
        else
            l->DrawFrontPass();
    }
}

void TColorBandTool::HandleChartStage(TChartStage code) {
    const bool now = FDrawBehindAxes  ? code == csBeforeAxes
                     : FDrawBehind    ? code == csBeforeSeries
                                      : code == csEndOfPaint;
    if (now) paintBand();
}

void TColorBandTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    if (FStartLine->Active()) FStartLine->HandleChartMouse(kind, button, shift, x, y);
    if (FEndLine->Active() && !chart->CancelMouse()) FEndLine->HandleChartMouse(kind, button, shift, x, y);
    if (kind == meDown) {
        if (OnClick && Clicked(x, y)) OnClick(this, button, shift, x, y);
    } else if (kind == meMove && FCursor != 0 && !chart->CancelMouse() && Clicked(x, y)) {
        setChartCursor(FCursor);
        if (!chart->Zoom().Active && !chart->Panning().Active) cancelMouse();
    }
}

}  // namespace cb::chart
