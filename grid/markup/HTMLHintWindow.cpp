// The mark-up hint window.
#include "grid/markup/HTMLHintWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace cb::grid {

using namespace cb::gfx;

THTMLHintWindow::THTMLHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    FFont.SetName("Tahoma");
    FFont.SetSize(8);
}

THTMLHintWindow::~THTMLHintWindow() = default;

THTMLRenderInput THTMLHintWindow::renderInput() const {
    THTMLRenderInput in;
    in.Point = {0, 0};
    in.HoverLink = 0;
    in.ShadowOffset = 1;
    in.BlinkPhase = false;
    in.LinkColor = clBlue;
    in.ShadowColor = clGray;
    in.WordWrap = true;
    return in;
}

TRect THTMLHintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    TCanvas canvas;
    canvas.Font().Assign(FFont);
    THTMLRenderInput in = renderInput();
    in.Rect = {0, 0, maxWidth, 0};
    in.MeasureOnly = true;
    THTMLRenderResult out;
    RenderHTML(canvas, hint, in, out);
    return {0, 0, out.Width, out.Height};
}

TRect THTMLHintWindow::PlaceHint(const TRect& rect, int w, int h, const TRect& screen) {
    TRect r{rect.Left, rect.Top, rect.Left + w + 16, rect.Top + h + 4};
    const int width = r.Right - r.Left, height = r.Bottom - r.Top;
    if (r.Right > screen.Right) r.Left = screen.Right - width - 2;
    if (r.Left < screen.Left) r.Left = screen.Left;
    if (r.Bottom > screen.Bottom) r.Top = screen.Bottom - height - 2;
    if (r.Top < screen.Top) r.Top = screen.Top;
    r.Right = r.Left + width;
    r.Bottom = r.Top + height;
    return r;
}

void THTMLHintWindow::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    update();
}

void THTMLHintWindow::SetCaption(const std::string& text) {
    if (text == FCaption) return;
    FCaption = text;
    update();
}

void THTMLHintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    SetCaption(hint);
    const TRect m = CalcHintRect(MaxHintWidth, hint);
    FTextWidth = m.Right;
    FTextHeight = m.Bottom;
    QScreen* screen = QGuiApplication::screenAt(QPoint(rect.Left, rect.Top));
    if (!screen) screen = QGuiApplication::primaryScreen();
    TRect area{0, 0, 1 << 20, 1 << 20};
    if (screen) {
        const QRect g = screen->geometry();
        area = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    }
    const TRect r = PlaceHint(rect, FTextWidth, FTextHeight, area);
    setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    show();
    update();
}

void THTMLHintWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(&painter);
    const int w = width(), h = height();
    canvas.Brush().SetColor(FColor);
    canvas.FillRect({0, 0, w, h});
    canvas.Pen().SetColor(cl3DLight);
    canvas.MoveTo(0, h - 2);
    canvas.LineTo(0, 0);
    canvas.LineTo(w - 1, 0);
    canvas.Pen().SetColor(cl3DDkShadow);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(w - 1, 0);
    canvas.Font().Assign(FFont);
    canvas.SetBkColor(FColor);
    THTMLRenderInput in = renderInput();
    const int top = (h - FTextHeight) / 2;
    // Painted with the wrapping it was measured with.
    in.Rect = {4, top, w - 1, top + FTextHeight + 8};
    THTMLRenderResult out;
    RenderHTML(canvas, FCaption, in, out);
}

}  // namespace cb::grid
