#include "grid/controls/FlatCombo.h"

#include "grid/controls/ControlPaint.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

namespace cb::grid {

using namespace cb::gfx;

TExtGridCustomCombo::TExtGridCustomCombo(QWidget* parent) : QComboBox(parent) {
    setAttribute(Qt::WA_Hover);
    FButtonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    FButtonWidth = std::clamp(FButtonWidth, 14, 32);
}

void TExtGridCustomCombo::SetFlat(bool value) {
    FFlat = value;
    PlaceLineEdit();
    update();
}

void TExtGridCustomCombo::SetEtched(bool value) {
    FEtched = value;
    update();
}

void TExtGridCustomCombo::SetFocusBorder(bool value) {
    FFocusBorder = value;
    update();
}

void TExtGridCustomCombo::SetButtonWidth(int value) {
    if (value < 14 || value > 32) return;
    FButtonWidth = value;
    PlaceLineEdit();
    update();
}

void TExtGridCustomCombo::SetDropWidth(int value) {
    FDropWidth = value;
}

void TExtGridCustomCombo::SetXPLook(bool value) {
    FXPLook = value;
    update();
}

bool TExtGridCustomCombo::Hot() const {
    return FMouseInside || hasFocus();
}

bool TExtGridCustomCombo::ShowsFocusBorder() const {
    return FFocusBorder && Hot();
}

QRect TExtGridCustomCombo::ButtonRect() const {
    return QRect(QPoint(width() - FButtonWidth, 2), QPoint(width() - 3, height() - 3));
}

void TExtGridCustomCombo::showPopup() {
    if (FDropWidth > 0) view()->setMinimumWidth(FDropWidth);
    FDroppedDown = true;
    update(ButtonRect());
    QComboBox::showPopup();
    if (FDropWidth > 0) {
        // The list is at least the control's width.
        QWidget* popup = view()->window();
        int w = std::max(FDropWidth, width());
        if (popup->width() < w) popup->resize(w, popup->height());
    }
}

void TExtGridCustomCombo::hidePopup() {
    QComboBox::hidePopup();
    FDroppedDown = false;
    update();
}

void TExtGridCustomCombo::PlaceLineEdit() {
    if (!lineEdit()) return;
    if (FFlat) lineEdit()->setGeometry(3, 3, std::max(0, width() - FButtonWidth - 5), std::max(0, height() - 6));
}

void TExtGridCustomCombo::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    PlaceLineEdit();
}

void TExtGridCustomCombo::paintEvent(QPaintEvent* event) {
    if (!FFlat) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    TCanvas canvas(&painter);
    int w = width(), h = height();
    TColor own = FromQColor(palette().color(QPalette::Base));
    TColor parentColor = FromQColor(parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                                   : palette().color(QPalette::Window));

    canvas.Brush().SetColor(own);
    canvas.FillRect(TRect{0, 0, w, h});

    if (!isEditable()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        painter.setFont(font());
        painter.drawText(QRect(4, 2, std::max(0, w - FButtonWidth - 6), h - 4),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, currentText());
    }

    // The border.
    TRect r{0, 0, w, h};
    TColor frame = ShowsFocusBorder() ? clBtnFace : parentColor;
    canvas.Brush().SetColor(frame);
    if (ShowsFocusBorder()) {
        canvas.DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else {
        canvas.FrameRect(r);
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    canvas.Brush().SetColor(frame);
    canvas.FrameRect(r);
    r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    canvas.Brush().SetColor(own);
    canvas.FrameRect(r);
    // The drop-down button.
    TRect button{w - FButtonWidth, 2, w - 2, h - 2};
    if (FXPLook) {
        bool pressed = QApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton);
        auto theme = OpenThemeData("COMBOBOX");
        TThemePartState state = !isEnabled()              ? TThemePartState::Disabled
                                : pressed && FMouseInside ? TThemePartState::Pressed
                                : FMouseInside            ? TThemePartState::Hot
                                                          : TThemePartState::Normal;
        DrawThemeBackground(theme.get(), canvas, TThemePart::ComboButton, state, button);
    } else {
        TRect face = button;
        if (Hot()) {
            canvas.Brush().SetColor(clBtnFace);
            canvas.DrawEdge(face, FEtched ? EDGE_ETCHED : EDGE_RAISED,
                            BF_RECT | BF_MIDDLE | (FDroppedDown ? unsigned(BF_FLAT) : 0u));
        } else {
            canvas.Brush().SetColor(clBtnFace);
            canvas.FillRect(TRect{face.Left, face.Top + 1, face.Right - 1, face.Bottom - 1});
        }
        TRect arrow{button.Left + 2, button.Top + 2, button.Right - 2, button.Bottom - 2};
        if (FDroppedDown) arrow = TRect{arrow.Left + 1, arrow.Top + 1, arrow.Right + 1, arrow.Bottom + 1};
        DrawArrowGlyph(canvas, arrow, 3, isEnabled());
    }
}

void TExtGridCustomCombo::enterEvent(QEnterEvent* event) {
    QComboBox::enterEvent(event);
    if (FMouseInside || !isEnabled()) return;
    FMouseInside = true;
    if (AutoFocus) setFocus(Qt::MouseFocusReason);
    update();
}

void TExtGridCustomCombo::leaveEvent(QEvent* event) {
    QComboBox::leaveEvent(event);
    if (!FMouseInside || !isEnabled()) return;
    FMouseInside = false;
    update();
}

void TExtGridCustomCombo::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    update();
}

void TExtGridCustomCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    update();
}

void TExtGridCustomCombo::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || !FFlat) return;
    QPalette p = palette();
    if (!isEnabled() && !FColorSaved) {
        FSavedColor = p.color(QPalette::Active, QPalette::Base);
        FColorSaved = true;
        QColor parentColor =
            parentWidget() ? parentWidget()->palette().color(QPalette::Window) : p.color(QPalette::Window);
        p.setColor(QPalette::Base, parentColor);
        setPalette(p);
    } else if (isEnabled() && FColorSaved) {
        p.setColor(QPalette::Base, FSavedColor);
        FColorSaved = false;
        setPalette(p);
    }
    FMouseInside = false;
    update();
}

}  // namespace cb::grid
