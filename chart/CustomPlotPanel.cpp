#include "chart/CustomPlotPanel.h"

#include "chart/ChartBrush.h"
#include "chart/PlotCanvas3D.h"
#include "chart/PlotGeometry.h"
#include "chart/PlotMetafile.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace cb::chart {

namespace {
int MulDiv(int a, int b, int c) { return c == 0 ? 0 : int(std::lround(double(a) * b / c)); }

TPlotMouseButton ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

unsigned ShiftOf(const QMouseEvent* e)
{
    unsigned s = 0;
    const Qt::KeyboardModifiers m = e->modifiers();
    if (m & Qt::ShiftModifier)
        s |= ssShift;
    if (m & Qt::AltModifier)
        s |= ssAlt;
    if (m & Qt::ControlModifier)
        s |= ssCtrl;
    if (e->buttons() & Qt::LeftButton)
        s |= ssLeft;
    if (e->buttons() & Qt::RightButton)
        s |= ssRight;
    if (e->buttons() & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}
} // namespace

TPlotPanelOptions& PlotPanelOptions()
{
    static TPlotPanelOptions options;
    return options;
}

TCustomPlotPanel::TCustomPlotPanel(QWidget* parent) : QWidget(parent)
{
    resize(400, 250);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    fToolkitCanvas = std::make_unique<cb::gfx::TCanvas>();
    fView3DOptions = std::make_unique<TView3DOptions>([this] { SettingChanged(); });
    auto canvas = std::make_unique<TPlotCanvas3D>();
    canvas->OnRepaintRequest = [this] { Invalidate(); };
    canvas->AttachCanvas(fToolkitCanvas.get());
    fCanvas = std::move(canvas);
    fShadow = std::make_unique<TPlotShadow>([this] { SettingChanged(); });
    fBorder = std::make_unique<TChartHiddenPen>([this] { SettingChanged(); });
    WithoutChangeEvent(*fBorder, [this] { fBorder->SetEndStyle(cb::gfx::esFlat); });
    fSavedCursor = cursor();
}

TCustomPlotPanel::~TCustomPlotPanel()
{
    fDestroying = true;
    fCanvas.reset();
}

void TCustomPlotPanel::SetBorderRound(int v)
{
    if (fBorderRound != v) {
        fBorderRound = v;
        if (!fLoading)
            ApplyRoundRegion();
        Invalidate();
    }
}

void TCustomPlotPanel::SetMargin(int index, int value) { StoreIntegerAndInvalidate(fMargins[index & 3], value); }

void TCustomPlotPanel::SetMarginUnits(TPlotUnits u) { StoreAndInvalidate(fMarginUnits, u); }

void TCustomPlotPanel::SetMonochrome(bool on)
{
    if (fCanvas)
        fCanvas->SetMonochromeMode(on);
}

void TCustomPlotPanel::SetShadow(const TPlotShadow& s)
{
    fShadow->Assign(s);
    Invalidate();
}

void TCustomPlotPanel::SetView3D(bool on)
{
    if (fView3D == on)
        return;
    fView3D = on;
    Invalidate();
    TPlotView3DEvent event;
    BroadcastEvent(event);
}

void TCustomPlotPanel::SetView3DOptions(const TView3DOptions& o)
{
    fView3DOptions->Assign(o);
    Invalidate();
}

void TCustomPlotPanel::SetColor(TColor c)
{
    if (fColor == c)
        return;
    // Without a colour the window is transparent: what lies below shows.
    const bool none = c == clNone;
    if (none != (fColor == clNone)) {
        setAttribute(Qt::WA_OpaquePaintEvent, !none);
        setAttribute(Qt::WA_TranslucentBackground, none);
    }
    fColor = c;
    Invalidate();
}
void TCustomPlotPanel::SetBevelInner(TPanelBevel b) { StoreAndInvalidate(fBevelInner, b); }
void TCustomPlotPanel::SetBevelOuter(TPanelBevel b) { StoreAndInvalidate(fBevelOuter, b); }
void TCustomPlotPanel::SetBevelWidth(int w) { StoreAndInvalidate(fBevelWidth, w); }
void TCustomPlotPanel::SetBorderWidth(int w) { StoreAndInvalidate(fBorderWidth, w); }

void TCustomPlotPanel::ReplaceCanvas(std::unique_ptr<TCanvas3D> canvas)
{
    if (!canvas)
        return;
    canvas->AttachCanvas(fToolkitCanvas.get());
    if (fCanvas) {
        const bool keep = fAutoRepaint;
        fAutoRepaint = false;
        canvas->AssignSettings(*fCanvas);
        fAutoRepaint = keep;
    }
    if (auto* screen = dynamic_cast<TPlotCanvas3D*>(canvas.get()))
        screen->OnRepaintRequest = [this] { Invalidate(); };
    fCanvas = std::move(canvas);
    if (fAutoRepaint)
        Invalidate();
}

void TCustomPlotPanel::SetBuffered(bool on)
{
    if (fCanvas)
        fCanvas->SetBuffered(on);
}

void TCustomPlotPanel::DrawContents(const TRect&) {}

void TCustomPlotPanel::SettingChanged() { Invalidate(); }

TRect TCustomPlotPanel::PanelRect() const
{
    if (!parentWidget())
        return {0, 0, width(), height()};
    const QRect r = rect();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TCustomPlotPanel::Invalidate()
{
    if (!fAutoRepaint)
        return;
    if (fCanvas)
        fCanvas->MarkDirty();
    update();
}

void TCustomPlotPanel::DrawOnCanvas(cb::gfx::TCanvas* canvas, const TRect& r)
{
    // An empty panel has nothing to draw (and nothing to divide by).
    if (!fCanvas || !canvas || r.Width() <= 0 || r.Height() <= 0)
        return;
    fChartBounds = fCanvas->BeginDraw(canvas, fView3DOptions.get(), fColor, fView3D, r);
    int frame = fBorderWidth;
    if (fBevelInner != bvNone)
        frame += fBevelWidth;
    if (fBevelOuter != bvNone)
        frame += fBevelWidth;
    if (fBorder->Visible())
        frame += std::max(1, fBorder->Width()); // width 0 still covers a pixel
    const int w = fChartBounds.Width();
    const int h = fChartBounds.Height();
    auto margin = [&](int index, int extent) {
        return fMarginUnits == muPixels ? fMargins[index] : fMargins[index] * extent / 100;
    };
    fChartRect.Left = fChartBounds.Left + margin(0, w) + frame;
    fChartRect.Top = fChartBounds.Top + margin(1, h) + frame;
    fChartRect.Right = fChartBounds.Right - margin(2, w) - frame;
    fChartRect.Bottom = fChartBounds.Bottom - margin(3, h) - frame;
    NormalizeChartRect();
    DrawContents(fChartBounds);
    fCanvas->EndDraw(canvas, fToolkitCanvas.get(), r);
}

void TCustomPlotPanel::NormalizeChartRect()
{
    fChartRect.Left = std::max(fChartRect.Left, fChartBounds.Left);
    fChartRect.Top = std::max(fChartRect.Top, fChartBounds.Top);
    if (fChartRect.Right < fChartRect.Left)
        fChartRect.Right = fChartRect.Left + 1;
    else if (fChartRect.Right == fChartRect.Left)
        fChartRect.Right = fChartRect.Left + width();
    if (fChartRect.Bottom < fChartRect.Top)
        fChartRect.Bottom = fChartRect.Top + 1;
    else if (fChartRect.Bottom == fChartRect.Top)
        fChartRect.Bottom = fChartRect.Top + height();
    fChartWidth = fChartRect.Width();
    fChartHeight = fChartRect.Height();
    fChartXCenter = (fChartRect.Left + fChartRect.Right) / 2;
    fChartYCenter = (fChartRect.Top + fChartRect.Bottom) / 2;
}

bool TCustomPlotPanel::ClippingAllowed()
{
    if (!fCanvas || fCanvas->IsFull3D())
        return false;
    if (fPrinting)
        return PlotPanelOptions().ClipWhenPrinting;
    if (fCanvas->Metafiling())
        return PlotPanelOptions().ClipWhenMetafiling;
    return true;
}

TPoint TCustomPlotPanel::CursorClientPos() const
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

void TCustomPlotPanel::SelectBrushOverBackground(TColor color, const TChartBrush& brush, TColor background)
{
    if (!fCanvas)
        return;
    if (brush.Style() != cb::gfx::bsSolid && color == background)
        color = background == clBlack ? clWhite : clBlack;
    fCanvas->AssignBrushColor(brush, color, background);
}

void TCustomPlotPanel::BroadcastEvent(TPlotEvent& event)
{
    if (fDestroying)
        return;
    event.Sender = this;
    const bool isMouse = dynamic_cast<TPlotMouseEvent*>(&event) != nullptr;
    // Listeners may remove themselves: walk a copy.
    const std::vector<TPlotEventListener*> items = fListeners.Items();
    for (TPlotEventListener* l : items) {
        l->HandleEvent(event);
        if (isMouse && fCancelMouse)
            break;
    }
}

void TCustomPlotPanel::BroadcastMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y)
{
    if (fListeners.Empty())
        return;
    TPlotMouseEvent e;
    e.Kind = kind;
    e.Button = button;
    e.Shift = shift;
    e.X = x;
    e.Y = y;
    BroadcastEvent(e);
}

// --- frame ---

void TCustomPlotPanel::DrawPanelBevel(TPanelBevel kind, TRect& r, int cornerSize, int width)
{
    if (kind == bvNone || !fCanvas)
        return;
    const TColor colors[2] = {clBtnHighlight, clBtnShadow};
    const TColor tl = colors[kind == bvLowered ? 1 : 0];
    const TColor br = colors[kind == bvRaised ? 1 : 0];
    if (cornerSize <= 0) {
        fCanvas->DrawBevelFrame(r, tl, br, width);
    } else {
        fCanvas->Pen().SetColor(tl);
        fCanvas->DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, cornerSize, cornerSize);
        cb::gfx::InflateRect(r, -width, -width);
    }
}

void TCustomPlotPanel::DrawPanelFrame(TRect& r)
{
    if (!fCanvas)
        return;
    fCanvas->DisableRotation();
    fCanvas->Brush().SetStyle(cb::gfx::bsClear);
    if (fBorder->Visible()) {
        fCanvas->SelectPen(*fBorder);
        int n;
        if (fBorder->SmallDots())
            n = 1;
        else {
            const int w = std::max(1, fBorder->Width());
            const int h = (w - 1) / 2;
            if (w >= 2) {
                r.Left += h + ((w - 1) % 2);
                r.Top += h + ((w - 1) % 2);
                r.Right -= h - (h % 2);
                r.Bottom -= h - (h % 2);
                n = h - (h % 2);
            } else {
                n = w - 1;
            }
        }
        if (fBorderRound <= 0) {
            fCanvas->DrawRect(r.Left, r.Top, r.Right, r.Bottom);
            if (!fBorder->SmallDots())
                ++n;
        } else {
            --r.Right;
            --r.Bottom;
            fCanvas->DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, fBorderRound, fBorderRound);
        }
        cb::gfx::InflateRect(r, -n, -n);
    }
    if (!(fPrinting && !PlotPanelOptions().PrintPanelBackground)) {
        cb::gfx::TPen& pen = fCanvas->Pen();
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetWidth(1);
        pen.SetMode(cb::gfx::pmCopy);
        DrawPanelBevel(fBevelOuter, r, fBorderRound, fBevelWidth);
        if (fBorderWidth != 0)
            fCanvas->DrawBevelFrame(r, fColor, fColor, fBorderWidth);
        DrawPanelBevel(fBevelInner, r, fBorderRound, fBevelWidth);
    }
    fCanvas->EnableRotation();
}

void TCustomPlotPanel::ApplyRoundRegion()
{
    if (!parentWidget() || fRounding)
        return;
    fRounding = true;
    if (fBorderRound > 0) {
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, width(), height()), fBorderRound / 2.0, fBorderRound / 2.0);
        setMask(QRegion(path.toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
    update();
    fRounding = false;
}

// --- painting and events ---

void TCustomPlotPanel::paintEvent(QPaintEvent*)
{
    if (fPrinting || !fCanvas)
        return;
    QPainter painter(this);
    fToolkitCanvas->Attach(&painter);
    fCanvas->AttachCanvas(fToolkitCanvas.get());
    if (!fCanvas->ShowBufferIfValid()) {
        const QRect c = rect();
        DrawOnCanvas(fToolkitCanvas.get(), {0, 0, c.width(), c.height()});
    }
    fCanvas->AttachCanvas(fToolkitCanvas.get());
    fToolkitCanvas->Attach(nullptr);
}

void TCustomPlotPanel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (fBorderRound > 0 && !fLoading)
        ApplyRoundRegion();
    Invalidate();
}

void TCustomPlotPanel::NotifyMouseDown(QMouseEvent* e, unsigned extraShift)
{
    fCancelMouse = false;
    QWidget::mousePressEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meDown, ButtonOf(e->button()), ShiftOf(e) | extraShift, p.x(), p.y());
}

void TCustomPlotPanel::mousePressEvent(QMouseEvent* e) { NotifyMouseDown(e, 0); }

void TCustomPlotPanel::mouseReleaseEvent(QMouseEvent* e)
{
    QWidget::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meUp, ButtonOf(e->button()), ShiftOf(e), p.x(), p.y());
}

void TCustomPlotPanel::mouseMoveEvent(QMouseEvent* e)
{
    fCancelMouse = false;
    QWidget::mouseMoveEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meMove, mbLeft, ShiftOf(e), p.x(), p.y());
}

void TCustomPlotPanel::mouseDoubleClickEvent(QMouseEvent* e)
{
    fCancelMouse = false;
    if (OnDblClick)
        OnDblClick();
    // A handler that took the double click ends it quietly.
    if (fCancelMouse) {
        e->accept();
        return;
    }
    NotifyMouseDown(e, ssDouble);
}

void TCustomPlotPanel::leaveEvent(QEvent* e)
{
    setCursor(fSavedCursor);
    QWidget::leaveEvent(e);
}

void TCustomPlotPanel::Loaded()
{
    fLoading = false;
    fSavedCursor = cursor();
    if (fBorderRound > 0)
        ApplyRoundRegion();
}

bool TCustomPlotPanel::ReadLegacyProperty(const std::string& name, const std::string& value)
{
    if (name == "BorderStyle") {
        fBorder->SetVisible(value == "bsSingle");
        return true;
    }
    return false;
}

void TCustomPlotPanel::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange)
        Invalidate();
}

// --- output ---

void TCustomPlotPanel::DrawUnbuffered(cb::gfx::TCanvas* canvas, const TRect& r)
{
    if (!fCanvas)
        return;
    const bool buffered = fCanvas->IsBuffered();
    fCanvas->SetBuffered(false);
    try {
        DrawOnCanvas(canvas, r);
    } catch (...) {
        fCanvas->SetBuffered(buffered);
        throw;
    }
    fCanvas->SetBuffered(buffered);
}

void TCustomPlotPanel::DrawMetafiling(cb::gfx::TCanvas* canvas, const TRect& r)
{
    if (!fCanvas)
        return;
    fCanvas->SetMetafiling(true);
    try {
        DrawUnbuffered(canvas, r);
    } catch (...) {
        fCanvas->SetMetafiling(false);
        throw;
    }
    fCanvas->SetMetafiling(false);
}

std::unique_ptr<cb::gfx::TBitmap> TCustomPlotPanel::DrawToBitmap(TColor background, const TRect& r,
                                                                cb::gfx::TPixelFormat format)
{
    const int w = std::max(0, r.Width());
    const int h = std::max(0, r.Height());
    auto bitmap = std::make_unique<cb::gfx::TBitmap>(w, h, fCanvas && fCanvas->IsFull3D() ? cb::gfx::pf24bit : format);
    if (w == 0 || h == 0)
        return bitmap;
    cb::gfx::TCanvas& c = bitmap->Canvas();
    if (background != clWhite) {
        c.Brush().SetColor(background);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.FillRect({0, 0, w, h});
    }
    const bool keep = fAutoRepaint;
    fAutoRepaint = false;
    try {
        DrawUnbuffered(&c, {0, 0, w, h});
    } catch (...) {
        fAutoRepaint = keep;
        throw;
    }
    fAutoRepaint = keep;
    c.ReleasePainter();
    return bitmap;
}

std::unique_ptr<TMetafile> TCustomPlotPanel::DrawToMetafile(bool enhanced, const TRect& r)
{
    auto metafile = std::make_unique<TMetafile>(std::abs(r.Width()), std::abs(r.Height()), enhanced);
    const TRect n = NormalizeRect(r);
    if (n.Width() <= 0 || n.Height() <= 0)
        return metafile;
    const bool keep = fAutoRepaint;
    fAutoRepaint = false;
    try {
        TMetafileCanvas recorder(*metafile);
        if (QPainter* p = recorder.Canvas().Painter())
            p->translate(-n.Left, -n.Top);
        DrawMetafiling(&recorder.Canvas(), n);
    } catch (...) {
        fAutoRepaint = keep;
        throw;
    }
    fAutoRepaint = keep;
    return metafile;
}

void TCustomPlotPanel::AssignTo(cb::gfx::TBitmap& destination)
{
    auto bitmap = DrawToBitmap(fColor, PanelRect(), cb::gfx::pfDevice);
    destination.Assign(*bitmap);
}

void TCustomPlotPanel::SaveBitmapFile(const std::string& fileName)
{
    auto bitmap = DrawToBitmap(clWhite, PanelRect());
    bitmap->SetPixelFormat(cb::gfx::pf24bit);
    bitmap->SaveToFile(fileName);
}

void TCustomPlotPanel::CopyBitmapToClipboard() { CopyRectToClipboard(PanelRect()); }

void TCustomPlotPanel::CopyRectToClipboard(const TRect& r)
{
    auto bitmap = DrawToBitmap(clWhite, r);
    if (QClipboard* clip = QGuiApplication::clipboard())
        clip->setImage(bitmap->Image());
}

// --- printing ---

void TCustomPlotPanel::CalcPrintExtents(TRect& r, const TRect& panelRect, int& windowWidth, int& windowHeight) const
{
    const int pw = panelRect.Width();
    const int ph = panelRect.Height();
    windowWidth = pw - MulDiv(pw, fPrintResolution, 100);
    windowHeight = ph - MulDiv(ph, fPrintResolution, 100);
    const int rw = r.Width();
    const int rh = r.Height();
    r.Left = MulDiv(r.Left, windowWidth, rw);
    r.Right = MulDiv(r.Right, windowWidth, rw);
    r.Top = MulDiv(r.Top, windowHeight, rh);
    r.Bottom = MulDiv(r.Bottom, windowHeight, rh);
}

void TCustomPlotPanel::DrawOnPrinterCanvas(cb::gfx::TCanvas* canvas, const TRect& rect)
{
    if (!canvas)
        return;
    TRect r = rect;
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    const int viewW = r.Width();
    const int viewH = r.Height();
    if (viewW <= 0 || viewH <= 0)
        return;
    int winW = 0, winH = 0;
    CalcPrintExtents(r, PanelRect(), winW, winH);
    if (winW <= 0 || winH <= 0)
        return;
    QPainter* p = canvas->Painter();
    if (p) {
        p->save();
        p->scale(double(viewW) / winW, double(viewH) / winH);
    }
    fPrinting = true;
    const bool clip = ClippingAllowed();
    try {
        if (clip)
            canvas->PushClipRect(r);
        DrawMetafiling(canvas, r);
        if (clip)
            canvas->PopClip();
    } catch (...) {
        fPrinting = false;
        if (p)
            p->restore();
        throw;
    }
    fPrinting = false;
    if (p)
        p->restore();
}

void TCustomPlotPanel::DrawOnPrinter(QPrinter& printer, const TRect& r)
{
    QPainter painter(&printer);
    cb::gfx::TCanvas canvas(&painter);
    DrawOnPrinterCanvas(&canvas, r);
}

TRect TCustomPlotPanel::PageRectFromMargins(const TRect& m, int pw, int ph, int dx, int dy)
{
    if (dx <= 0 || dy <= 0)
        return {0, 0, pw, ph};
    return {Round(dx * (m.Left * (pw * 0.01 / dx))), Round(dy * (m.Top * (ph * 0.01 / dy))),
            pw - Round(dx * (m.Right * (pw * 0.01 / dx))), ph - Round(dy * (m.Bottom * (ph * 0.01 / dy)))};
}

TRect TCustomPlotPanel::PrintPageRect(QPrinter* printer)
{
    if (fPrintProportional)
        fPrintMargins = ProportionalPrintMargins(printer);
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
    return PageRectFromMargins(fPrintMargins, pw, ph, dx, dy);
}

TRect TCustomPlotPanel::ProportionalPrintMargins(int pageWidth, int pageHeight, double k) const
{
    const TRect pr = PanelRect();
    const int w = pr.Width();
    const int h = pr.Height();
    // An empty panel or page has no proportion to keep.
    if (w <= 0 || h <= 0 || pageWidth <= 0 || pageHeight <= 0)
        return {15, 15, 15, 15};
    auto m = [k](double a, double b, double x) { return Round((b - (a - a * 30 * 0.01) * x * k) * 100 / b) / 2; };
    if (w > h) {
        const int tb = m(pageWidth, pageHeight, double(h) / w);
        return {15, tb, 15, tb};
    }
    const int lr = m(pageHeight, pageWidth, double(w) / h);
    return {lr, 15, lr, 15};
}

TRect TCustomPlotPanel::ProportionalPrintMargins(QPrinter* printer) const
{
    if (printer) {
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        const int dy = printer->logicalDpiY();
        return ProportionalPrintMargins(page.width(), page.height(), dy > 0 ? double(printer->logicalDpiX()) / dy : 1.0);
    }
    const QSize s = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(1024, 768);
    return ProportionalPrintMargins(s.width(), s.height(), 1.0);
}

void TCustomPlotPanel::AdjustPenForPrinting(cb::gfx::TPen& pen)
{
    // Width 0 is the printer's thinnest line, so dots stay fine on paper.
    if (fPrinting && PlotPanelOptions().PensOnPrinters && pen.Style() != cb::gfx::psSolid && pen.Width() == 1)
        pen.SetWidth(0);
}

void TCustomPlotPanel::Assign(const TCustomPlotPanel& s)
{
    if (this == &s)
        return;
    fBorder->Assign(*s.fBorder);
    fBorderRound = s.fBorderRound;
    SetBuffered(s.GetBuffered());
    fPrintMargins = s.fPrintMargins;
    fPrintProportional = s.fPrintProportional;
    fPrintResolution = s.fPrintResolution;
    std::copy(std::begin(s.fMargins), std::end(s.fMargins), std::begin(fMargins));
    fMarginUnits = s.fMarginUnits;
    SetMonochrome(s.Monochrome());
    fShadow->Assign(*s.fShadow);
    fView3D = s.fView3D;
    fView3DOptions->Assign(*s.fView3DOptions);
    fColor = s.fColor;
    Invalidate();
}

} // namespace cb::chart
