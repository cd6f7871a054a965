#include "chart/panel/CustomPlotPanel.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/style/ChartBrush.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>

namespace cb::chart {

TPlotMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

unsigned ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons buttons) {
    unsigned s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

TPlotPanelOptions& PlotPanelOptions() {
    static TPlotPanelOptions options;
    return options;
}

TCustomPlotPanel::TCustomPlotPanel(QWidget* parent) : QWidget(parent) {
    resize(400, 250);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    FToolkitCanvas = std::make_unique<cb::gfx::TCanvas>();
    FView3DOptions = std::make_unique<TView3DOptions>([this] { SettingChanged(); });
    auto canvas = std::make_unique<TPlotCanvas3D>();
    canvas->OnRepaintRequest = [this] { Invalidate(); };
    canvas->AttachCanvas(FToolkitCanvas.get());
    FCanvas = std::move(canvas);
    FShadow = std::make_unique<TPlotShadow>([this] { SettingChanged(); });
    FBorder = std::make_unique<TChartHiddenPen>([this] { SettingChanged(); });
    WithoutChangeEvent(*FBorder, [this] { FBorder->SetEndStyle(cb::gfx::esFlat); });
    FSavedCursor = cursor();
}

TCustomPlotPanel::~TCustomPlotPanel() {
    FDestroying = true;
    FCanvas.reset();
}

void TCustomPlotPanel::SetBorderRound(int v) {
    if (FSettings.BorderRound != v) {
        FSettings.BorderRound = v;
        if (!FLoading) ApplyRoundRegion();
        Invalidate();
    }
}

void TCustomPlotPanel::SetMargin(int index, int value) {
    StoreIntegerAndInvalidate(FSettings.Margins[index & 3], value);
}

void TCustomPlotPanel::SetMarginUnits(TPlotUnits u) {
    StoreAndInvalidate(FSettings.MarginUnits, u);
}

void TCustomPlotPanel::SetMonochrome(bool on) {
    if (FCanvas) FCanvas->SetMonochromeMode(on);
}

void TCustomPlotPanel::SetShadow(const TPlotShadow& s) {
    FShadow->Assign(s);
    Invalidate();
}

void TCustomPlotPanel::SetView3D(bool on) {
    if (FSettings.View3D == on) return;
    FSettings.View3D = on;
    Invalidate();
    TPlotView3DEvent event;
    BroadcastEvent(event);
}

void TCustomPlotPanel::SetView3DOptions(const TView3DOptions& o) {
    FView3DOptions->Assign(o);
    Invalidate();
}

void TCustomPlotPanel::SetColor(TColor c) {
    if (FSettings.Color == c) return;
    // Without a colour the window is transparent: what lies below shows.
    const bool none = c == clNone;
    if (none != (FSettings.Color == clNone)) {
        setAttribute(Qt::WA_OpaquePaintEvent, !none);
        setAttribute(Qt::WA_TranslucentBackground, none);
    }
    FSettings.Color = c;
    Invalidate();
}
void TCustomPlotPanel::SetBevelInner(TPanelBevel b) {
    StoreAndInvalidate(FSettings.BevelInner, b);
}
void TCustomPlotPanel::SetBevelOuter(TPanelBevel b) {
    StoreAndInvalidate(FSettings.BevelOuter, b);
}
void TCustomPlotPanel::SetBevelWidth(int w) {
    StoreAndInvalidate(FSettings.BevelWidth, w);
}
void TCustomPlotPanel::SetBorderWidth(int w) {
    StoreAndInvalidate(FSettings.BorderWidth, w);
}

void TCustomPlotPanel::ReplaceCanvas(std::unique_ptr<TCanvas3D> canvas) {
    if (!canvas) return;
    canvas->AttachCanvas(FToolkitCanvas.get());
    if (FCanvas) {
        const bool keep = FAutoRepaint;
        FAutoRepaint = false;
        canvas->AssignSettings(*FCanvas);
        FAutoRepaint = keep;
    }
    if (auto* screen = dynamic_cast<TPlotCanvas3D*>(canvas.get())) screen->OnRepaintRequest = [this] { Invalidate(); };
    FCanvas = std::move(canvas);
    if (FAutoRepaint) Invalidate();
}

void TCustomPlotPanel::SetBuffered(bool on) {
    if (FCanvas) FCanvas->SetBuffered(on);
}

void TCustomPlotPanel::DrawContents(const TRect&) {}

void TCustomPlotPanel::SettingChanged() {
    Invalidate();
}

TRect TCustomPlotPanel::PanelRect() const {
    if (!parentWidget()) return {0, 0, width(), height()};
    const QRect r = rect();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TCustomPlotPanel::Invalidate() {
    if (!FAutoRepaint) return;
    if (FCanvas) FCanvas->MarkDirty();
    update();
}

void TCustomPlotPanel::DrawOnCanvas(cb::gfx::TCanvas* canvas, const TRect& r) {
    // An empty panel has nothing to draw (and nothing to divide by).
    if (!FCanvas || !canvas || r.Width() <= 0 || r.Height() <= 0) return;
    FChartBounds = FCanvas->BeginDraw(canvas, FView3DOptions.get(), FSettings.Color, FSettings.View3D, r);
    int frame = FSettings.BorderWidth;
    if (FSettings.BevelInner != bvNone) frame += FSettings.BevelWidth;
    if (FSettings.BevelOuter != bvNone) frame += FSettings.BevelWidth;
    if (FBorder->Visible()) frame += std::max(1, FBorder->Width());  // width 0 still covers a pixel
    const int w = FChartBounds.Width();
    const int h = FChartBounds.Height();
    auto margin = [&](int index, int extent) {
        return FSettings.MarginUnits == muPixels ? FSettings.Margins[index] : FSettings.Margins[index] * extent / 100;
    };
    FChartRect.Left = FChartBounds.Left + margin(0, w) + frame;
    FChartRect.Top = FChartBounds.Top + margin(1, h) + frame;
    FChartRect.Right = FChartBounds.Right - margin(2, w) - frame;
    FChartRect.Bottom = FChartBounds.Bottom - margin(3, h) - frame;
    NormalizeChartRect();
    DrawContents(FChartBounds);
    FCanvas->EndDraw(canvas, FToolkitCanvas.get(), r);
}

void TCustomPlotPanel::NormalizeChartRect() {
    FChartRect.Left = std::max(FChartRect.Left, FChartBounds.Left);
    FChartRect.Top = std::max(FChartRect.Top, FChartBounds.Top);
    if (FChartRect.Right < FChartRect.Left)
        FChartRect.Right = FChartRect.Left + 1;
    else if (FChartRect.Right == FChartRect.Left)
        FChartRect.Right = FChartRect.Left + width();
    if (FChartRect.Bottom < FChartRect.Top)
        FChartRect.Bottom = FChartRect.Top + 1;
    else if (FChartRect.Bottom == FChartRect.Top)
        FChartRect.Bottom = FChartRect.Top + height();
    FChartWidth = FChartRect.Width();
    FChartHeight = FChartRect.Height();
    FChartXCenter = (FChartRect.Left + FChartRect.Right) / 2;
    FChartYCenter = (FChartRect.Top + FChartRect.Bottom) / 2;
}

bool TCustomPlotPanel::ClippingAllowed() {
    if (!FCanvas || FCanvas->IsFull3D()) return false;
    if (FPrinting) return PlotPanelOptions().ClipWhenPrinting;
    if (FCanvas->Metafiling()) return PlotPanelOptions().ClipWhenMetafiling;
    return true;
}

TPoint TCustomPlotPanel::CursorClientPos() const {
    const QPoint p = mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

void TCustomPlotPanel::SelectBrushOverBackground(TColor color, const TChartBrush& brush, TColor background) {
    if (!FCanvas) return;
    if (brush.Style() != cb::gfx::bsSolid && color == background) color = background == clBlack ? clWhite : clBlack;
    FCanvas->AssignBrushColor(brush, color, background);
}

void TCustomPlotPanel::BroadcastEvent(TPlotEvent& event) {
    if (FDestroying) return;
    event.Sender = this;
    const bool isMouse = dynamic_cast<TPlotMouseEvent*>(&event) != nullptr;
    // Listeners may remove themselves, or others (a listener that frees
    // another): walk a copy and skip those no longer listed.
    const std::vector<TPlotEventListener*> items = FListeners.Items();
    for (TPlotEventListener* l : items) {
        const auto& now = FListeners.Items();
        if (std::find(now.begin(), now.end(), l) == now.end()) continue;
        l->HandleEvent(event);
        if (isMouse && FCancelMouse) break;
    }
}

void TCustomPlotPanel::BroadcastMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) {
    if (FListeners.Empty()) return;
    TPlotMouseEvent e;
    e.Kind = kind;
    e.Button = button;
    e.Shift = shift;
    e.X = x;
    e.Y = y;
    BroadcastEvent(e);
}

// --- frame ---

void TCustomPlotPanel::DrawPanelBevel(TPanelBevel kind, TRect& r, int cornerSize, int width) {
    if (kind == bvNone || !FCanvas) return;
    const TColor colors[2] = {clBtnHighlight, clBtnShadow};
    const TColor tl = colors[kind == bvLowered ? 1 : 0];
    const TColor br = colors[kind == bvRaised ? 1 : 0];
    if (cornerSize <= 0) {
        FCanvas->DrawBevelFrame(r, tl, br, width);
    } else {
        FCanvas->Pen().SetColor(tl);
        FCanvas->DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, cornerSize, cornerSize);
        cb::gfx::InflateRect(r, -width, -width);
    }
}

void TCustomPlotPanel::DrawPanelFrame(TRect& r) {
    if (!FCanvas) return;
    FCanvas->DisableRotation();
    FCanvas->Brush().SetStyle(cb::gfx::bsClear);
    if (FBorder->Visible()) {
        FCanvas->SelectPen(*FBorder);
        int n;
        if (FBorder->SmallDots())
            n = 1;
        else {
            const int w = std::max(1, FBorder->Width());
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
        if (FSettings.BorderRound <= 0) {
            FCanvas->DrawRect(r.Left, r.Top, r.Right, r.Bottom);
            if (!FBorder->SmallDots()) ++n;
        } else {
            --r.Right;
            --r.Bottom;
            FCanvas->DrawRoundedRect(r.Left, r.Top, r.Right, r.Bottom, FSettings.BorderRound, FSettings.BorderRound);
        }
        cb::gfx::InflateRect(r, -n, -n);
    }
    if (!(FPrinting && !PlotPanelOptions().PrintPanelBackground)) {
        cb::gfx::TPen& pen = FCanvas->Pen();
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetWidth(1);
        pen.SetMode(cb::gfx::pmCopy);
        DrawPanelBevel(FSettings.BevelOuter, r, FSettings.BorderRound, FSettings.BevelWidth);
        if (FSettings.BorderWidth != 0)
            FCanvas->DrawBevelFrame(r, FSettings.Color, FSettings.Color, FSettings.BorderWidth);
        DrawPanelBevel(FSettings.BevelInner, r, FSettings.BorderRound, FSettings.BevelWidth);
    }
    FCanvas->EnableRotation();
}

void TCustomPlotPanel::ApplyRoundRegion() {
    if (!parentWidget() || FRounding) return;
    FRounding = true;
    if (FSettings.BorderRound > 0) {
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, width(), height()), FSettings.BorderRound / 2.0, FSettings.BorderRound / 2.0);
        setMask(QRegion(path.toFillPolygon().toPolygon()));
    } else {
        clearMask();
    }
    update();
    FRounding = false;
}

// --- painting and events ---

void TCustomPlotPanel::paintEvent(QPaintEvent*) {
    if (FPrinting || !FCanvas) return;
    QPainter painter(this);
    FToolkitCanvas->Attach(&painter);
    FCanvas->AttachCanvas(FToolkitCanvas.get());
    if (!FCanvas->ShowBufferIfValid()) {
        const QRect c = rect();
        DrawOnCanvas(FToolkitCanvas.get(), {0, 0, c.width(), c.height()});
    }
    FCanvas->AttachCanvas(FToolkitCanvas.get());
    FToolkitCanvas->Attach(nullptr);
}

void TCustomPlotPanel::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (FSettings.BorderRound > 0 && !FLoading) ApplyRoundRegion();
    Invalidate();
}

void TCustomPlotPanel::NotifyMouseDown(QMouseEvent* e, unsigned extraShift) {
    FCancelMouse = false;
    QWidget::mousePressEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meDown, ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()) | extraShift, p.x(), p.y());
}

void TCustomPlotPanel::mousePressEvent(QMouseEvent* e) {
    NotifyMouseDown(e, 0);
}

void TCustomPlotPanel::mouseReleaseEvent(QMouseEvent* e) {
    QWidget::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meUp, ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TCustomPlotPanel::mouseMoveEvent(QMouseEvent* e) {
    FCancelMouse = false;
    QWidget::mouseMoveEvent(e);
    const QPoint p = e->position().toPoint();
    BroadcastMouse(meMove, mbLeft, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void TCustomPlotPanel::mouseDoubleClickEvent(QMouseEvent* e) {
    FCancelMouse = false;
    if (OnDblClick) OnDblClick();
    // A handler that took the double click ends it quietly.
    if (FCancelMouse) {
        e->accept();
        return;
    }
    NotifyMouseDown(e, ssDouble);
}

void TCustomPlotPanel::leaveEvent(QEvent* e) {
    setCursor(FSavedCursor);
    QWidget::leaveEvent(e);
}

void TCustomPlotPanel::Loaded() {
    FLoading = false;
    FSavedCursor = cursor();
    if (FSettings.BorderRound > 0) ApplyRoundRegion();
}

bool TCustomPlotPanel::ReadLegacyProperty(const std::string& name, const std::string& value) {
    if (name == "BorderStyle") {
        FBorder->SetVisible(value == "bsSingle");
        return true;
    }
    return false;
}

void TCustomPlotPanel::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange) Invalidate();
}

void TCustomPlotPanel::AdjustPenForPrinting(cb::gfx::TPen& pen) {
    // Width 0 is the printer's thinnest line, so dots stay fine on paper.
    if (FPrinting && PlotPanelOptions().PensOnPrinters && pen.Style() != cb::gfx::psSolid && pen.Width() == 1)
        pen.SetWidth(0);
}

void TCustomPlotPanel::Assign(const TCustomPlotPanel& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FBorder->Assign(*s.FBorder);
    SetBuffered(s.GetBuffered());
    SetMonochrome(s.Monochrome());
    FShadow->Assign(*s.FShadow);
    FView3DOptions->Assign(*s.FView3DOptions);
    Invalidate();
}

}  // namespace cb::chart
