#include "grid/paint/GridScrollBar.h"

#include "platform/gfx/Color.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

namespace cb::grid {

TGridScrollBar::TGridScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

void TGridScrollBar::SetLook(TScrollBarLook look) {
    if (look == FLook) return;
    FLook = look;
    setMouseTracking(look == sblEncarta);
    update();
}

void TGridScrollBar::SetBarColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    update();
}

void TGridScrollBar::SetThickness(int pixels) {
    if (pixels == FThickness) return;
    FThickness = std::max(pixels, 0);
    updateGeometry();
}

QSize TGridScrollBar::sizeHint() const {
    QSize s = QScrollBar::sizeHint();
    if (FThickness > 0) {
        if (orientation() == Qt::Vertical)
            s.setWidth(FThickness);
        else
            s.setHeight(FThickness);
    }
    return s;
}

QRect TGridScrollBar::ThumbRect() const {
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    return style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this);
}

void TGridScrollBar::enterEvent(QEnterEvent* event) {
    QScrollBar::enterEvent(event);
    if (FLook == sblEncarta) update();
}

void TGridScrollBar::leaveEvent(QEvent* event) {
    QScrollBar::leaveEvent(event);
    FHover = {-1, -1};
    if (FLook == sblEncarta) update();
}

void TGridScrollBar::mouseMoveEvent(QMouseEvent* event) {
    QScrollBar::mouseMoveEvent(event);
    if (FLook == sblEncarta) {
        FHover = event->position().toPoint();
        update();
    }
}

void TGridScrollBar::paintEvent(QPaintEvent* event) {
    if (FLook == sblNormal) {
        QScrollBar::paintEvent(event);
        return;
    }
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    auto rectOf = [&](QStyle::SubControl sc) { return style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, this); };
    const QColor face = palette().color(QPalette::Button);
    const QColor shadow = palette().color(QPalette::Mid);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QColor groove = FColor == clNone ? face.lighter(108) : cb::gfx::ToQColor(FColor);
    QPainter p(this);
    p.fillRect(rect(), groove);

    const bool vertical = orientation() == Qt::Vertical;
    const bool enabled = isEnabled() && maximum() > minimum();
    auto lit = [&](const QRect& r) { return FLook == sblEncarta && r.contains(FHover); };
    auto flatBox = [&](const QRect& r, bool hot) {
        if (r.isEmpty()) return;
        p.fillRect(r, hot ? light : face);
        p.setPen(hot ? dark : shadow);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    auto arrow = [&](const QRect& r, int direction) {
        flatBox(r, lit(r));
        const QPoint c = r.center();
        const int s = std::max(std::min(r.width(), r.height()) / 4, 2);
        QPolygon tri;
        switch (direction) {
        case 0:  // up
            tri << QPoint(c.x() - s, c.y() + s / 2) << QPoint(c.x() + s, c.y() + s / 2) << QPoint(c.x(), c.y() - s / 2);
            break;
        case 1:  // down
            tri << QPoint(c.x() - s, c.y() - s / 2) << QPoint(c.x() + s, c.y() - s / 2) << QPoint(c.x(), c.y() + s / 2);
            break;
        case 2:  // left
            tri << QPoint(c.x() + s / 2, c.y() - s) << QPoint(c.x() + s / 2, c.y() + s) << QPoint(c.x() - s / 2, c.y());
            break;
        default:  // right
            tri << QPoint(c.x() - s / 2, c.y() - s) << QPoint(c.x() - s / 2, c.y() + s) << QPoint(c.x() + s / 2, c.y());
            break;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(enabled ? palette().color(QPalette::ButtonText) : shadow);
        p.drawPolygon(tri);
        p.setBrush(Qt::NoBrush);
    };
    arrow(rectOf(QStyle::SC_ScrollBarSubLine), vertical ? 0 : 2);
    arrow(rectOf(QStyle::SC_ScrollBarAddLine), vertical ? 1 : 3);
    if (enabled) {
        const QRect thumb = rectOf(QStyle::SC_ScrollBarSlider);
        flatBox(thumb, lit(thumb) || isSliderDown());
    }
}

}  // namespace cb::grid
