#include "charteditors/common/ArrowBitmaps.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace cb::charteditors {

namespace {

QPixmap Arrow(bool up) {
    QPixmap p(24, 14);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPolygon triangle = up ? QPolygon({QPoint(12, 2), QPoint(19, 10), QPoint(5, 10)})
                                 : QPolygon({QPoint(5, 3), QPoint(19, 3), QPoint(12, 11)});
    painter.drawPolygon(triangle);
    return p;
}

}  // namespace

void LoadArrowBitmaps(QPixmap& up, QPixmap& down) {
    up = Arrow(true);
    down = Arrow(false);
}

}  // namespace cb::charteditors
