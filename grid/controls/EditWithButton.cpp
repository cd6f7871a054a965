#include "grid/controls/EditWithButton.h"

#include "grid/controls/ControlPaint.h"
#include "platform/gfx/Canvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QtDebug>

#include <algorithm>

namespace cb::grid {

// --- TExtSpeedButton ---------------------------------------------------------------

TExtSpeedButton::TExtSpeedButton(QWidget* parent) : TControlButton(parent) {
    setCursor(Qt::ArrowCursor);
}

void TExtSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    cb::gfx::TCanvas canvas(&painter);
    TRect r{0, 0, width(), height()};
    TButtonLook look = IsWinXP ? TButtonLook::XP : Flat ? TButtonLook::Flat : TButtonLook::Push;
    TRect inner = DrawButtonFace(canvas, r, look, TThemePart::PushButton, FDown, FMouseInside, isEnabled());
    DrawCentredGlyph(canvas, Glyph, inner, FDown);
    if (!Caption.empty()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        int at = FDown ? 3 : 2;
        QRect textRect(at, at, width() - at, height() - at);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(Caption));
    }
}

void TExtSpeedButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    FDown = true;
    update();
    try {
        if (OnMouseDown) OnMouseDown(this);
    } catch (const std::exception& e) {
        qWarning("edit button: %s", e.what());
    }
}

void TExtSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    FDown = false;
    update();
}

// --- TExtGridEditButton -------------------------------------------------------------

TExtGridEditButton::TExtGridEditButton(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    FButton = new TExtSpeedButton(this);
    FButton->OnMouseDown = [this](QObject*) { Pressed(); };
    resize(20, 25);
}

void TExtGridEditButton::SetGlyph(const cb::gfx::TBitmap& glyph) {
    FButton->Glyph.Assign(glyph);
    FButton->update();
}

void TExtGridEditButton::SetButtonCaption(const std::string& caption) {
    FButton->Caption = caption;
    FButton->update();
}

void TExtGridEditButton::SetFlat(bool value) {
    FButton->Flat = value;
    FButton->update();
}

void TExtGridEditButton::Pressed() {
    if (OnClick) OnClick(this);
    auto canFocus = [](QWidget* w) {
        return w && w->focusPolicy() != Qt::NoFocus && w->isEnabled() && w->isVisible() && !w->hasFocus();
    };
    if (canFocus(FFocusControl))
        FFocusControl->setFocus(Qt::MouseFocusReason);
    else if (!FFocusControl && canFocus(this))
        setFocus(Qt::MouseFocusReason);
}

void TExtGridEditButton::resizeEvent(QResizeEvent*) {
    if (width() < 15) {
        resize(15, height());
        return;
    }
    FButton->setGeometry(0, 0, width(), height());
}

// --- TExtGridEditBtn -----------------------------------------------------------------

TExtGridEditBtn::TExtGridEditBtn(QWidget* parent) : QLineEdit(parent) {
    FButton = new TExtGridEditButton(this);
    FButton->resize(18, 18);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](QObject* sender) { FireButton(sender); };
    setText("0");
    LayoutButton();
}

TExtGridEditBtn::~TExtGridEditBtn() = default;

void TExtGridEditBtn::FireButton(QObject* sender) {
    if (OnClickBtn) OnClickBtn(sender);
}

void TExtGridEditBtn::SetButtonWidth(int value) {
    FButtonWidth = value;
    FButton->resize(value, FButton->height());
    LayoutButton();
}

void TExtGridEditBtn::ApplyEditable() {
    QLineEdit::setReadOnly(FReadOnly || !FEditorEnabled);
}

void TExtGridEditBtn::SetEditorEnabled(bool value) {
    FEditorEnabled = value;
    ApplyEditable();
}

void TExtGridEditBtn::SetReadOnly(bool value) {
    FReadOnly = value;
    ApplyEditable();
}

void TExtGridEditBtn::SetRightAlign(bool value) {
    FRightAlign = value;
    setAlignment(value ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
}

void TExtGridEditBtn::SetIsWinXP(bool value) {
    FButton->Button().IsWinXP = value;
    FButton->Button().update();
}

int TExtGridEditBtn::MinHeight() const {
    int own = fontMetrics().height();
    int system = QFontMetrics(QApplication::font()).height();
    return own + std::min(own, system) / 4;
}

void TExtGridEditBtn::LayoutButton() {
    int bw = FButton->width();
    if (hasFrame())
        FButton->setGeometry(width() - bw - 3, 2, bw, std::max(0, height() - 5));
    else
        FButton->setGeometry(width() - bw - 1, 0, bw, std::max(0, height() - 1));
    setTextMargins(hasFrame() ? 0 : 1, 0, bw + FUnitSpace + 3, 0);
}

void TExtGridEditBtn::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    if (height() < MinHeight()) {
        resize(width(), MinHeight());
        return;
    }
    LayoutButton();
}

void TExtGridEditBtn::keyPressEvent(QKeyEvent* event) {
    try {
        QLineEdit::keyPressEvent(event);
        if (event->key() == Qt::Key_F4 && !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
            FireButton(this);
    } catch (const std::exception& e) {
        qWarning("edit with button: %s", e.what());
    }
}

void TExtGridEditBtn::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (AutoSelect && event->reason() != Qt::MouseFocusReason) selectAll();
}

}  // namespace cb::grid
