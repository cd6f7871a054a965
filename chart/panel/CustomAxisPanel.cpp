#include "chart/panel/CustomAxisPanel.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/core/ColorPalettes.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace cb::chart {

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomPlotPanelExtended(parent) {}

TCustomAxisPanel::~TCustomAxisPanel() = default;

void TCustomAxisPanel::SetChart3DPercent(int v) {
    if (v < 1 || v > 100) throw cb::rtl::Exception(FormatPlotText(TPlotText::msg3DPercent, {"1", "100"}));
    StoreIntegerAndInvalidate(FSettings.Chart3DPercent, v);
}

TColor TCustomAxisPanel::PaletteColor(int index) const {
    if (FSettings.Palette.empty()) return DefaultPaletteColor(index);
    return FSettings.Palette[std::size_t(index % int(FSettings.Palette.size()))];
}

int TCustomAxisPanel::MultiLineTextWidth(const std::string& text, int* lines) {
    int widest = 0, n = 0;
    TCanvas3D* c = Canvas();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\r', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos && line.empty() && n > 0) break;
        ++n;
        if (c && c->ReferenceCanvas()) widest = std::max(widest, c->TextWidth(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (lines) *lines = text.empty() ? 0 : n;
    return widest;
}

void TCustomAxisPanel::PrintPageRange(QPrinter& printer, int from, int to) {
    // Pages past the last would print the last one again.
    const int pages = NumPages();
    if (to <= 0 || to > pages) to = pages;
    if (from < 1) from = 1;
    if (from > to) return;
    if (!objectName().isEmpty()) printer.setDocName(objectName());
    const int keep = FSettings.Page;
    const TRect r = PrintPageRect(&printer);
    QPainter painter;
    if (!painter.begin(&printer)) throw ChartException("The printer could not be started.");
    auto restorePage = cb::rtl::OnScopeExit([&] { SetPage(keep); });
    auto abortJob = cb::rtl::OnScopeExit([&] {
        printer.abort();
        if (painter.isActive()) painter.end();
    });
    for (int p = from; p <= to; ++p) {
        SetPage(p);
        cb::gfx::TCanvas canvas(&painter);
        DrawOnPrinterCanvas(&canvas, r);
        if (p < to) printer.newPage();
    }
    abortJob.Dismiss();
    painter.end();
}

void TCustomAxisPanel::FireAfterDraw() {
    if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::FireBeforeDrawAxes() {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::FireBeforeDrawChart() {
    if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}

void TCustomAxisPanel::FireBeforeDrawSeries() {
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

void TCustomAxisPanel::leaveEvent(QEvent* e) {
    TCustomPlotPanelExtended::leaveEvent(e);
    NotifyTools(csMouseLeave);
}

bool TCustomAxisPanel::DepthPlaneFacesViewer(int depth) {
    TPoint p[4];
    Canvas()->ProjectRectCorners(ChartRect(), depth, p);
    // Corners clockwise on the screen (y down): the plane shows its back.
    const long long cross =
        (long long)(p[1].X - p[0].X) * (p[2].Y - p[1].Y) - (long long)(p[1].Y - p[0].Y) * (p[2].X - p[1].X);
    return cross < 0;
}

void TCustomAxisPanel::ComputeInvertedRotation() {
    FInvertedRotation = false;
    if (View3D()) {
        const TView3DOptions& o = View3DOptions();
        FInvertedRotation = o.Orthogonal() ? o.OrthoAngle() > 90 : o.Rotation() < 180;
    }
}

void TCustomAxisPanel::Compute3DSizes() {
    if (!View3D()) {
        FDepthPerSeries = FHeightPerSeries = 0;
        SetWidth3D(0);
        SetHeight3D(0);
        return;
    }
    const double a = FSettings.Chart3DPercent * 0.001;
    const TView3DOptions& o = View3DOptions();
    FDepthPerSeries = Round(ChartWidth() * (o.Orthogonal() ? a : 2 * a));
    const double r = o.OrthoRatio();
    if (r > 1) FDepthPerSeries = Round(FDepthPerSeries / r);
    FHeightPerSeries = Round(FDepthPerSeries * r);
    const int n = ApplyZOrder() ? std::max(1, FHighestZ + 1) : 1;
    SetHeight3D(n * FHeightPerSeries);
    SetWidth3D(n * FDepthPerSeries);
}

bool TCustomAxisPanel::ClipToChartBox() {
    if (!ClippingAllowed()) return false;
    TRect r = ChartRect();
    r.Bottom += 1;
    Canvas()->ClipToBox(r, 0, Width3D());
    return true;
}

void TCustomAxisPanel::Assign(const TCustomAxisPanel& source) {
    FSettings = source.FSettings;
    TCustomPlotPanelExtended::Assign(source);
}

void ApplyColorPalette(TCustomAxisPanel& chart, int index) {
    chart.ColorPalette() = ColorPaletteColors(index);
    chart.ReassignAutomaticColors();
    chart.Invalidate();
}

}  // namespace cb::chart
