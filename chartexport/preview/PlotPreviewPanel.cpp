#include "chartexport/preview/PlotPreviewPanel.h"

#include "chart/canvas/Metafile.h"
#include "chart/core/PlotResources.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/core/PlotExportFormat.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace cb::chartexport {

using cb::gfx::TRect;

namespace {

constexpr int kNear = 4;  // pixels around an edge that grab it

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}

// Nearest integer, halves to even.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

bool Near(int a, int b) {
    return std::abs(a - b) <= kNear;
}

}  // namespace

TPlotPreviewPanel::TPlotPreviewPanel(QWidget* parent) : QWidget(parent) {
    resize(432, 312);
    setMouseTracking(true);
}

TPlotPreviewPanel::~TPlotPreviewPanel() = default;

void TPlotPreviewPanel::SetAsBitmap(bool on) {
    if (FAsBitmap == on) return;
    FAsBitmap = on;
    update();
}

void TPlotPreviewPanel::SetOrientation(TPlotPreviewPanelOrientation o) {
    if (FOrientation == o) return;
    FOrientation = o;
    update();
}

void TPlotPreviewPanel::SetPaperColor(cb::gfx::TColor c) {
    if (FPaperColor == c) return;
    FPaperColor = c;
    update();
}

cb::chart::TCustomPlotPanel* TPlotPreviewPanel::Panel() const {
    return FPanels.First();
}

void TPlotPreviewPanel::SetPanel(cb::chart::TCustomPlotPanel* panel) {
    if (panel == Panel() || static_cast<QWidget*>(panel) == this) return;
    if (!panel)
        FPanels.Delete(0);
    else
        FPanels.MakeFirst(panel);
    update();
}

void TPlotPreviewPanel::AddPanel(cb::chart::TCustomPlotPanel* panel) {
    if (static_cast<QWidget*>(panel) == this || !FPanels.Add(panel)) return;
    update();
}

void TPlotPreviewPanel::SetPrinter(QPrinter* printer) {
    FPrinter = printer;
    update();
}

QPrinter& TPlotPreviewPanel::Printer() {
    if (FPrinter) return *FPrinter;
    if (!FOwnPrinter) FOwnPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *FOwnPrinter;
}

bool TPlotPreviewPanel::HasPrinter() {
    if (FPrinter && (!FPrinter->outputFileName().isEmpty() || FPrinter->outputFormat() == QPrinter::PdfFormat))
        return true;
    return !QPrinterInfo::availablePrinters().isEmpty();
}

void TPlotPreviewPanel::ApplyOrientation() {
    if (!HasPrinter() || FOrientation == ppoDefault) return;
    Printer().setPageOrientation(FOrientation == ppoPortrait ? QPageLayout::Portrait : QPageLayout::Landscape);
}

TRect TPlotPreviewPanel::PaperRectFor(int w, int h, int cw, int ch) {
    TRect r;
    if (static_cast<long long>(w) * ch < static_cast<long long>(h) * cw) {
        r.Top = RoundEven(ch / 10.0);
        const int height = ch - RoundEven(ch / 5.0);
        const int width = h <= 0 ? cw : MulDiv(height, w, h);
        r.Left = (cw - width) / 2;
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
    } else {
        r.Left = RoundEven(cw / 10.0);
        const int width = cw - RoundEven(cw / 5.0);
        const int height = w <= 0 ? ch : MulDiv(width, h, w);
        r.Top = (ch - height) / 2;
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
    }
    return r;
}

TRect TPlotPreviewPanel::CalcPaperRect() {
    ApplyOrientation();
    int w = 0, h = 0;
    if (HasPrinter()) {
        const QRect page = Printer().pageLayout().paintRectPixels(Printer().resolution());
        w = page.width();
        h = page.height();
    } else {
        const QSize s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
        w = s.width();
        h = s.height();
    }
    return PaperRectFor(w, h, width(), height());
}

TRect TPlotPreviewPanel::CalcImageRect(const TRect& paper, cb::chart::TCustomPlotPanel* panel) {
    TRect m{15, 15, 15, 15};
    if (panel) {
        if (panel->PrintProportional() && HasPrinter())
            panel->SetPrintMargins(panel->ProportionalPrintMargins(&Printer()));
        m = panel->PrintMargins();
    }
    const int pw = paper.Width();
    const int ph = paper.Height();
    return TRect{paper.Left + MulDiv(m.Left, pw, 100), paper.Top + MulDiv(m.Top, ph, 100),
                 paper.Right - MulDiv(m.Right, pw, 100), paper.Bottom - MulDiv(m.Bottom, ph, 100)};
}

int TPlotPreviewPanel::ZoneAt(int x, int y) const {
    const TRect& r = FImageRect;
    int zone = pdzNone;
    if (Near(x, r.Left) && Near(y, r.Top))
        zone = pdzTopLeft;
    else if (Near(x, r.Left) && Near(y, r.Bottom))
        zone = pdzBottomLeft;
    else if (Near(x, r.Right) && Near(y, r.Top))
        zone = pdzTopRight;
    else if (Near(x, r.Right) && Near(y, r.Bottom))
        zone = pdzBottomRight;
    else if (Near(x, r.Left))
        zone = pdzLeft;
    else if (Near(x, r.Right))
        zone = pdzRight;
    else if (Near(y, r.Top))
        zone = pdzTop;
    else if (Near(y, r.Bottom))
        zone = pdzBottom;
    else if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom && AllowMove)
        zone = pdzMove;
    if (zone != pdzNone && zone != pdzMove && !AllowResize) zone = pdzNone;
    return zone;
}

void TPlotPreviewPanel::DrawPanelInto(QPainter& painter, cb::chart::TCustomPlotPanel* panel, const TRect& image) {
    TRect size = image;
    int w = 0, h = 0;
    panel->CalcPrintExtents(size, panel->PanelRect(), w, h);
    if (w <= 0 || h <= 0) return;
    const QRect target(image.Left, image.Top, image.Width(), image.Height());
    painter.save();
    const auto restore = cb::rtl::OnScopeExit([&] { painter.restore(); });
    if (FAsBitmap) {
        auto bitmap = panel->DrawToBitmap(FPaperColor, TRect{0, 0, w, h}, cb::gfx::pf32bit);
        if (SmoothBitmap)
            painter.drawImage(target.topLeft(),
                              bitmap->Image().scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        else
            painter.drawImage(target, bitmap->Image());
    } else {
        // The panel's drawing recorded at its print size, stretched onto the image.
        auto metafile = panel->DrawToMetafile(true, TRect{0, 0, w, h});
        // Replaying a picture scales it by the device's resolution over the
        // picture's: that is taken out again.
        const QPicture& picture = metafile->Picture();
        const QPaintDevice* device = painter.device();
        const double rx = device ? double(picture.logicalDpiX()) / device->logicalDpiX() : 1.0;
        const double ry = device ? double(picture.logicalDpiY()) / device->logicalDpiY() : 1.0;
        painter.translate(target.topLeft());
        painter.scale(rx * target.width() / metafile->Width(), ry * target.height() / metafile->Height());
        painter.drawPicture(0, 0, picture);
    }
}

void TPlotPreviewPanel::DrawPanel(QPainter& painter, cb::chart::TCustomPlotPanel* panel) {
    const TRect image = CalcImageRect(FPaperRect, panel);
    if (!ShowImage || image.Width() <= 0 || image.Height() <= 0) return;
    painter.save();
    const auto restore = cb::rtl::OnScopeExit([&] { painter.restore(); });
    painter.setClipRect(QRect(FPaperRect.Left, FPaperRect.Top, FPaperRect.Width(), FPaperRect.Height()));
    DrawPanelInto(painter, panel, image);
}

void TPlotPreviewPanel::UpdateLayout() {
    FPaperRect = CalcPaperRect();
    if (OnGetPaperRect) OnGetPaperRect(this, FPaperRect);
    // While dragging, the image follows the mouse, not the margins.
    if (FDragging == pdzNone) FImageRect = CalcImageRect(FPaperRect, Panel());
}

void TPlotPreviewPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    UpdateLayout();
    const QRect paper(FPaperRect.Left, FPaperRect.Top, FPaperRect.Width(), FPaperRect.Height());
    painter.fillRect(paper.translated(PaperShadow.Size, PaperShadow.Size), cb::gfx::ToQColor(PaperShadow.Color));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(cb::gfx::ToQColor(FPaperColor));
    painter.drawRect(paper.adjusted(0, 0, -1, -1));
    for (cb::chart::TCustomPlotPanel* p : FPanels.Panels()) {
        try {
            DrawPanel(painter, p);
        } catch (const std::exception&) {
            // A panel that cannot draw leaves its place empty.
        }
    }
    if (Margins.Visible) {
        QPen pen(cb::gfx::ToQColor(Margins.Color), 1, Margins.SmallDots ? Qt::DotLine : Qt::DashLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawLine(FImageRect.Left - 1, FPaperRect.Top + 1, FImageRect.Left - 1, FPaperRect.Bottom);
        painter.drawLine(FImageRect.Right, FPaperRect.Top + 1, FImageRect.Right, FPaperRect.Bottom);
        painter.drawLine(FPaperRect.Left + 1, FImageRect.Top - 1, FPaperRect.Right, FImageRect.Top - 1);
        painter.drawLine(FPaperRect.Left + 1, FImageRect.Bottom, FPaperRect.Right, FImageRect.Bottom);
    }
    if (OnAfterDraw) OnAfterDraw(this);
}

void TPlotPreviewPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    FDragging = pdzNone;
    UpdateLayout();
    FDragging = ZoneAt(p.x(), p.y());
    if (FDragging == pdzMove) {
        FOldMouse = p;
        FOldImage = FImageRect;
    }
    QWidget::mousePressEvent(event);
}

void TPlotPreviewPanel::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const int x = event->position().toPoint().x();
    const int y = event->position().toPoint().y();
    const TRect& paper = FPaperRect;
    if (x < paper.Left || x > paper.Right || y < paper.Top || y > paper.Bottom) return;
    if (FDragging == pdzNone) {
        switch (ZoneAt(x, y)) {
        case pdzLeft:
        case pdzRight:
            setCursor(Qt::SplitHCursor);
            break;
        case pdzTop:
        case pdzBottom:
            setCursor(Qt::SplitVCursor);
            break;
        case pdzMove:
            setCursor(cb::chart::ScreenCursor(cb::chart::crPlotHand));
            break;
        case pdzTopLeft:
        case pdzBottomRight:
            setCursor(Qt::SizeFDiagCursor);
            break;
        case pdzTopRight:
        case pdzBottomLeft:
            setCursor(Qt::SizeBDiagCursor);
            break;
        default:
            unsetCursor();
        }
        return;
    }
    TRect& r = FImageRect;
    const bool left = paper.Left <= x && x < r.Right;
    const bool top = paper.Top <= y && y < r.Bottom;
    const bool right = r.Left < x && x <= paper.Right;
    const bool bottom = r.Top < y && y <= paper.Bottom;
    switch (FDragging) {
    case pdzLeft:
        if (left) r.Left = x;
        break;
    case pdzTop:
        if (top) r.Top = y;
        break;
    case pdzRight:
        if (right) r.Right = x;
        break;
    case pdzBottom:
        if (bottom) r.Bottom = y;
        break;
    case pdzTopLeft:
        if (left && top) r.Left = x, r.Top = y;
        break;
    case pdzTopRight:
        if (right && top) r.Right = x, r.Top = y;
        break;
    case pdzBottomLeft:
        if (left && bottom) r.Left = x, r.Bottom = y;
        break;
    case pdzBottomRight:
        if (right && bottom) r.Right = x, r.Bottom = y;
        break;
    case pdzMove: {
        const int newLeft = std::max(paper.Left, x + FOldImage.Left - FOldMouse.x());
        const int newTop = std::max(paper.Top, y + FOldImage.Top - FOldMouse.y());
        const int newRight = std::min(paper.Right, FOldImage.Right + newLeft - FOldImage.Left);
        const int newBottom = std::min(paper.Bottom, FOldImage.Bottom + newTop - FOldImage.Top);
        const auto inside = [&](int px, int py) {
            return px >= paper.Left && px <= paper.Right && py >= paper.Top && py <= paper.Bottom;
        };
        if (inside(newLeft, newTop) && inside(newRight, newBottom)) r = TRect{newLeft, newTop, newRight, newBottom};
        break;
    }
    default:
        break;
    }
    UpdateMargins();
    update();
}

void TPlotPreviewPanel::UpdateMargins() {
    auto* panel = Panel();
    if (!panel) return;
    const int pw = FPaperRect.Width();
    const int ph = FPaperRect.Height();
    if (pw <= 0 || ph <= 0) return;
    panel->SetPrintProportional(false);
    const TRect m{MulDiv(FImageRect.Left - FPaperRect.Left, 100, pw), MulDiv(FImageRect.Top - FPaperRect.Top, 100, ph),
                  MulDiv(FPaperRect.Right - FImageRect.Right, 100, pw),
                  MulDiv(FPaperRect.Bottom - FImageRect.Bottom, 100, ph)};
    panel->SetPrintMargins(m);
    if (OnChangeMargins) OnChangeMargins(this, true, m);
}

void TPlotPreviewPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (auto* panel = Panel()) panel->SetCancelMouse(false);
    QWidget::mouseReleaseEvent(event);
    if (FDragging != pdzNone) {
        FDragging = pdzNone;
        update();
    }
}

void TPlotPreviewPanel::Print() {
    if (FPanels.Count() == 0) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto cursor = cb::rtl::OnScopeExit([] { QGuiApplication::restoreOverrideCursor(); });
    ApplyOrientation();
    QPrinter& printer = Printer();
    std::string title = Title;
    if (title.empty() && Panel()) title = Panel()->objectName().toStdString();
    printer.setDocName(QString::fromStdString(title));
    QPainter painter;
    if (!painter.begin(&printer))
        throw EExportError("The printer \"" + printer.printerName().toStdString() +
                           "\" could not start the print job \"" + title + "\"");
    try {
        for (cb::chart::TCustomPlotPanel* p : FPanels.Panels()) DrawPanelInto(painter, p, p->PrintPageRect(&printer));
    } catch (...) {
        printer.abort();
        if (painter.isActive()) painter.end();
        throw;
    }
    if (OnAfterDraw) OnAfterDraw(this);
    painter.end();
}

}  // namespace cb::chartexport
