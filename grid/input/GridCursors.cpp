#include "grid/input/GridCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

#include <array>

namespace cb::grid {

namespace {

// A black arrow with a white rim pointing down, turned by angle degrees
// (clockwise); the hot spot is its tip.
QCursor ArrowCursor(qreal angle) {
    constexpr int size = 24;
    const QPointF centre(size / 2.0, size / 2.0);
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    turn.rotate(angle);
    QPolygonF arrow;
    for (QPointF p :
         {QPointF(-2, -8), QPointF(2, -8), QPointF(2, 0), QPointF(6, 0), QPointF(0, 7), QPointF(-6, 0), QPointF(-2, 0)})
        arrow << turn.map(p);
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    painter.end();
    const QPointF tip = turn.map(QPointF(0, 7));
    return QCursor(pixmap, qRound(tip.x()), qRound(tip.y()));
}

}  // namespace

QCursor GridCursor(int code) {
    switch (code) {
    case gcColumnHeader:
        return ArrowCursor(0);
    case gcRowHeader:
        return ArrowCursor(-90);
    case gcSelectAll:
        return ArrowCursor(-45);
    default:
        return QCursor(Qt::CursorShape(code));
    }
}

}  // namespace cb::grid
