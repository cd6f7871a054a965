#include "grid/paint/PopupButton.h"

#include "platform/gfx/Canvas.h"

#include <QPainter>

namespace cb::grid {

TPopupButton::TPopupButton(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setEnabled(false);
    hide();
}

void TPopupButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    cb::gfx::TCanvas canvas(&painter);
    TRect r{0, 0, width(), height()};
    canvas.Brush().SetColor(cb::gfx::clBtnFace);
    canvas.FillRect(r);
    if (!Flat) {
        canvas.Pen().SetColor(cb::gfx::clWhite);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right - 1, r.Top);
        canvas.Pen().SetColor(cb::gfx::clGray);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Bottom - 1);
    }
    canvas.SetBkMode(cb::gfx::TRANSPARENT);
    canvas.DrawText(Caption, r,
                    cb::gfx::DT_CENTER | cb::gfx::DT_VCENTER | cb::gfx::DT_SINGLELINE | cb::gfx::DT_END_ELLIPSIS);
}

}  // namespace cb::grid
