#include "app/core/theme/GridViewImages.h"

#include <QPainter>
#include <QPainterPath>

namespace cb::app {

namespace {

QImage Blank() {
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage Box(bool plus) {
    QImage img = Blank();
    QPainter p(&img);
    p.fillRect(3, 3, 9, 9, Qt::white);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(3, 3, 9, 9);
    p.setPen(Qt::black);
    p.drawLine(5, 8, 10, 8);
    if (plus) p.drawLine(8, 5, 8, 10);
    return img;
}

QImage DownArrow() {
    QImage img = Blank();
    QPainter p(&img);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawPolygon(QPolygon({QPoint(4, 6), QPoint(12, 6), QPoint(8, 10)}));
    return img;
}

QImage CurvedArrow() {
    QImage img = Blank();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x20, 0x50, 0xA0), 2));
    QPainterPath curve;
    curve.moveTo(3, 12);
    curve.cubicTo(3, 4, 10, 3, 12, 7);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x50, 0xA0));
    p.drawPolygon(QPolygon({QPoint(9, 8), QPoint(14, 9), QPoint(13, 4)}));
    return img;
}

}  // namespace

const cb::grid::TGridImageList& GridViewImages() {
    static const cb::grid::TGridImageList images = [] {
        cb::grid::TGridImageList list(16, 16);
        list.Add(Box(true));
        list.Add(Box(false));
        list.Add(DownArrow());
        list.Add(CurvedArrow());
        return list;
    }();
    return images;
}

}  // namespace cb::app
