#include "app/ui/widgets/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace cb::app {

namespace {

struct TPalette {
    QColor Ink, Fill, Accent, Paper;
};

TPalette PaletteOf(TToolbarLook look) {
    switch (look) {
    case TToolbarLook::Disabled:
        return {QColor(0x9A, 0x9A, 0x9A), QColor(0xD8, 0xD8, 0xD8), QColor(0xB4, 0xB4, 0xB4), QColor(0xF2, 0xF2, 0xF2)};
    case TToolbarLook::Hot:
        return {QColor(0x10, 0x30, 0x70), QColor(0xFF, 0xD8, 0x60), QColor(0x20, 0x80, 0xF0), QColor(0xFF, 0xFF, 0xFF)};
    default:
        return {QColor(0x30, 0x30, 0x40), QColor(0xF0, 0xC0, 0x40), QColor(0x30, 0x70, 0xC0), QColor(0xFA, 0xFA, 0xFA)};
    }
}

// Draws on a 24 x 24 design grid.
void Draw(QPainter& p, TToolbarImage image, const TPalette& c) {
    QPen ink(c.Ink, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    switch (image) {
    case tiOpenCube: {
        // A cube.
        QPolygonF top({{12, 3}, {21, 7.5}, {12, 12}, {3, 7.5}});
        QPolygonF left({{3, 7.5}, {12, 12}, {12, 21}, {3, 16.5}});
        QPolygonF right({{12, 12}, {21, 7.5}, {21, 16.5}, {12, 21}});
        p.setBrush(c.Fill);
        p.drawPolygon(top);
        p.setBrush(c.Accent);
        p.drawPolygon(left);
        p.setBrush(c.Fill.darker(120));
        p.drawPolygon(right);
        break;
    }
    case tiExport: {
        // A page with an arrow leaving it.
        p.setBrush(c.Paper);
        p.drawRect(QRectF(4, 3, 12, 17));
        for (double y : {7.0, 10.0, 13.0}) p.drawLine(QPointF(6.5, y), QPointF(13.5, y));
        QPen arrow(c.Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(arrow);
        p.drawLine(QPointF(11, 17), QPointF(20, 17));
        p.drawPolyline(QPolygonF({{17, 14}, {20.5, 17}, {17, 20}}));
        break;
    }
    case tiUndo:
    case tiRedo: {
        QPen arrow(c.Accent, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(arrow);
        p.setBrush(Qt::NoBrush);
        p.save();
        if (image == tiRedo) {
            p.translate(24, 0);
            p.scale(-1, 1);
        }
        QPainterPath path;
        path.moveTo(6, 9);
        path.lineTo(14, 9);
        path.cubicTo(22, 9, 22, 20, 14, 20);
        path.lineTo(9, 20);
        p.drawPath(path);
        p.drawPolyline(QPolygonF({{10, 5}, {6, 9}, {10, 13}}));
        p.restore();
        break;
    }
    case tiResetCube: {
        // A circular arrow around a small cube.
        QPen arrow(c.Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(arrow);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 18, 18), 30 * 16, 290 * 16);
        p.drawPolyline(QPolygonF({{20, 3.5}, {20, 8.5}, {15, 8.5}}));
        p.setPen(ink);
        p.setBrush(c.Fill);
        p.drawRect(QRectF(9, 9, 6, 6));
        break;
    }
    case tiChart: {
        // Bars on an axis.
        p.drawLine(QPointF(3, 3), QPointF(3, 21));
        p.drawLine(QPointF(3, 21), QPointF(21, 21));
        const double heights[] = {7, 13, 10, 16};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i % 2 ? c.Accent : c.Fill);
            p.drawRect(QRectF(5 + i * 4, 21 - heights[i], 3, heights[i]));
        }
        break;
    }
    case tiCopyCube: {
        // Two overlapping cubes drawn as squares.
        p.setBrush(c.Fill.lighter(110));
        p.drawRect(QRectF(3, 3, 11, 11));
        p.setBrush(c.Accent);
        p.drawRect(QRectF(10, 10, 11, 11));
        break;
    }
    case tiSettings: {
        // A cog.
        p.setBrush(c.Fill);
        QPainterPath cog;
        const int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            const double a = i * M_PI / teeth;
            const double r = (i % 2) ? 6.5 : 9.5;
            const QPointF pt(12 + r * std::cos(a), 12 + r * std::sin(a));
            if (i == 0)
                cog.moveTo(pt);
            else
                cog.lineTo(pt);
        }
        cog.closeSubpath();
        p.drawPath(cog);
        p.setBrush(c.Paper);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        break;
    }
    case tiSendComment: {
        // A speech bubble.
        p.setBrush(c.Paper);
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(3, 4, 18, 12), 3, 3);
        bubble.moveTo(7, 16);
        bubble.lineTo(6, 21);
        bubble.lineTo(12, 16);
        p.drawPath(bubble.simplified());
        p.setPen(QPen(c.Accent, 1.5));
        for (double y : {8.0, 11.5}) p.drawLine(QPointF(6.5, y), QPointF(17.5, y));
        break;
    }
    case tiWebsite: {
        // A globe.
        p.setBrush(c.Paper);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setPen(QPen(c.Accent, 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(8, 3, 8, 18));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        break;
    }
    case tiHelp: {
        p.setBrush(c.Accent);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        QFont f("DejaVu Sans");
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.setPen(c.Paper);
        p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "?");
        break;
    }
    default:
        break;
    }
}

}  // namespace

std::vector<QPixmap> MakeToolbarImageList(TToolbarLook look, int size) {
    std::vector<QPixmap> list;
    const TPalette palette = PaletteOf(look);
    for (int i = 0; i < tiCount; ++i) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        Draw(p, static_cast<TToolbarImage>(i), palette);
        p.end();
        list.push_back(pm);
    }
    return list;
}

}  // namespace cb::app
