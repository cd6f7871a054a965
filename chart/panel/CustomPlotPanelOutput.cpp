// Output of the plot panel: bitmaps, metafiles, the clipboard and printing.
#include "chart/panel/CustomPlotPanel.h"

#include "chart/canvas/Metafile.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace cb::chart {

namespace {
int MulDiv(int a, int b, int c) {
    return c == 0 ? 0 : int(std::lround(double(a) * b / c));
}
}  // namespace

// --- output ---

void TCustomPlotPanel::DrawUnbuffered(cb::gfx::TCanvas* canvas, const TRect& r) {
    if (!FCanvas) return;
    const bool buffered = FCanvas->IsBuffered();
    FCanvas->SetBuffered(false);
    auto restore = cb::rtl::OnScopeExit([&] { FCanvas->SetBuffered(buffered); });
    DrawOnCanvas(canvas, r);
}

void TCustomPlotPanel::DrawMetafiling(cb::gfx::TCanvas* canvas, const TRect& r) {
    if (!FCanvas) return;
    FCanvas->SetMetafiling(true);
    auto restore = cb::rtl::OnScopeExit([&] { FCanvas->SetMetafiling(false); });
    DrawUnbuffered(canvas, r);
}

std::unique_ptr<cb::gfx::TBitmap> TCustomPlotPanel::DrawToBitmap(TColor background, const TRect& r,
                                                                 cb::gfx::TPixelFormat format) {
    const int w = std::max(0, r.Width());
    const int h = std::max(0, r.Height());
    auto bitmap = std::make_unique<cb::gfx::TBitmap>(w, h, FCanvas && FCanvas->IsFull3D() ? cb::gfx::pf24bit : format);
    if (w == 0 || h == 0) return bitmap;
    cb::gfx::TCanvas& c = bitmap->Canvas();
    if (background != clWhite) {
        c.Brush().SetColor(background);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.FillRect({0, 0, w, h});
    }
    {
        const bool keep = FAutoRepaint;
        FAutoRepaint = false;
        auto restore = cb::rtl::OnScopeExit([&] { FAutoRepaint = keep; });
        DrawUnbuffered(&c, {0, 0, w, h});
    }
    c.ReleasePainter();
    return bitmap;
}

std::unique_ptr<TMetafile> TCustomPlotPanel::DrawToMetafile(bool enhanced, const TRect& r) {
    auto metafile = std::make_unique<TMetafile>(std::abs(r.Width()), std::abs(r.Height()), enhanced);
    const TRect n = NormalizeRect(r);
    if (n.Width() <= 0 || n.Height() <= 0) return metafile;
    const bool keep = FAutoRepaint;
    FAutoRepaint = false;
    auto restore = cb::rtl::OnScopeExit([&] { FAutoRepaint = keep; });
    {
        TMetafileCanvas recorder(*metafile);  // finishes the recording when it goes
        if (QPainter* p = recorder.Canvas().Painter()) p->translate(-n.Left, -n.Top);
        DrawMetafiling(&recorder.Canvas(), n);
    }
    return metafile;
}

void TCustomPlotPanel::AssignTo(cb::gfx::TBitmap& destination) {
    auto bitmap = DrawToBitmap(FSettings.Color, PanelRect(), cb::gfx::pfDevice);
    destination.Assign(*bitmap);
}

void TCustomPlotPanel::SaveBitmapFile(const std::string& fileName) {
    auto bitmap = DrawToBitmap(clWhite, PanelRect());
    bitmap->SetPixelFormat(cb::gfx::pf24bit);
    bitmap->SaveToFile(fileName);
}

void TCustomPlotPanel::CopyBitmapToClipboard() {
    CopyRectToClipboard(PanelRect());
}

void TCustomPlotPanel::CopyRectToClipboard(const TRect& r) {
    auto bitmap = DrawToBitmap(clWhite, r);
    if (QClipboard* clip = QGuiApplication::clipboard()) clip->setImage(bitmap->Image());
}

// --- printing ---

void TCustomPlotPanel::CalcPrintExtents(TRect& r, const TRect& panelRect, int& windowWidth, int& windowHeight) const {
    const int pw = panelRect.Width();
    const int ph = panelRect.Height();
    windowWidth = pw - MulDiv(pw, FSettings.PrintResolution, 100);
    windowHeight = ph - MulDiv(ph, FSettings.PrintResolution, 100);
    const int rw = r.Width();
    const int rh = r.Height();
    r.Left = MulDiv(r.Left, windowWidth, rw);
    r.Right = MulDiv(r.Right, windowWidth, rw);
    r.Top = MulDiv(r.Top, windowHeight, rh);
    r.Bottom = MulDiv(r.Bottom, windowHeight, rh);
}

void TCustomPlotPanel::DrawOnPrinterCanvas(cb::gfx::TCanvas* canvas, const TRect& rect) {
    if (!canvas) return;
    TRect r = rect;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    const int viewW = r.Width();
    const int viewH = r.Height();
    if (viewW <= 0 || viewH <= 0) return;
    int winW = 0, winH = 0;
    CalcPrintExtents(r, PanelRect(), winW, winH);
    if (winW <= 0 || winH <= 0) return;
    QPainter* p = canvas->Painter();
    if (p) {
        p->save();
        p->scale(double(viewW) / winW, double(viewH) / winH);
    }
    FPrinting = true;
    auto restore = cb::rtl::OnScopeExit([&] {
        FPrinting = false;
        if (p) p->restore();
    });
    const bool clip = ClippingAllowed();
    if (clip) canvas->PushClipRect(r);
    DrawMetafiling(canvas, r);
    if (clip) canvas->PopClip();
}

void TCustomPlotPanel::DrawOnPrinter(QPrinter& printer, const TRect& r) {
    QPainter painter(&printer);
    cb::gfx::TCanvas canvas(&painter);
    DrawOnPrinterCanvas(&canvas, r);
}

TRect TCustomPlotPanel::PageRectFromMargins(const TRect& m, int pw, int ph, int dx, int dy) {
    if (dx <= 0 || dy <= 0) return {0, 0, pw, ph};
    return {Round(dx * (m.Left * (pw * 0.01 / dx))), Round(dy * (m.Top * (ph * 0.01 / dy))),
            pw - Round(dx * (m.Right * (pw * 0.01 / dx))), ph - Round(dy * (m.Bottom * (ph * 0.01 / dy)))};
}

TRect TCustomPlotPanel::PrintPageRect(QPrinter* printer) {
    if (FSettings.PrintProportional) FSettings.PrintMargins = ProportionalPrintMargins(printer);
    int pw, ph, dx, dy;
    if (printer) {
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        pw = page.width();
        ph = page.height();
        dx = dy = printer->resolution();
    } else {
        const QSize s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
        pw = s.width();
        ph = s.height();
        dx = dy = 96;
    }
    return PageRectFromMargins(FSettings.PrintMargins, pw, ph, dx, dy);
}

TRect TCustomPlotPanel::ProportionalPrintMargins(int pageWidth, int pageHeight, double k) const {
    const TRect pr = PanelRect();
    const int w = pr.Width();
    const int h = pr.Height();
    // An empty panel or page has no proportion to keep.
    if (w <= 0 || h <= 0 || pageWidth <= 0 || pageHeight <= 0) return {15, 15, 15, 15};
    auto m = [k](double a, double b, double x) { return Round((b - (a - a * 30 * 0.01) * x * k) * 100 / b) / 2; };
    if (w > h) {
        const int tb = m(pageWidth, pageHeight, double(h) / w);
        return {15, tb, 15, tb};
    }
    const int lr = m(pageHeight, pageWidth, double(w) / h);
    return {lr, 15, lr, 15};
}

TRect TCustomPlotPanel::ProportionalPrintMargins(QPrinter* printer) const {
    if (printer) {
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        const int dy = printer->logicalDpiY();
        return ProportionalPrintMargins(page.width(), page.height(),
                                        dy > 0 ? double(printer->logicalDpiX()) / dy : 1.0);
    }
    const QSize s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
    return ProportionalPrintMargins(s.width(), s.height(), 1.0);
}

}  // namespace cb::chart
