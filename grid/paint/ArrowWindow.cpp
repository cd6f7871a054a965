#include "grid/paint/ArrowWindow.h"

#include <QPainter>
#include <QPolygon>
#include <QRegion>

namespace cb::grid {

std::vector<TPoint> TArrowWindow::ArrowPoints(TArrowDirection direction) {
    switch (direction) {
    case TArrowDirection::Up:
        return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case TArrowDirection::Down:
        return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case TArrowDirection::Right:
        return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case TArrowDirection::Left:
        break;
    }
    return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
}

namespace {
QPolygon ArrowPolygon(TArrowDirection dir) {
    QPolygon poly;
    for (const TPoint& p : TArrowWindow::ArrowPoints(dir)) poly << QPoint(p.X, p.Y);
    return poly;
}
}  // namespace

TArrowWindow::TArrowWindow(QWidget* owner, TArrowDirection direction)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), FDir(direction) {
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    resize(11, 11);
    setMask(QRegion(ArrowPolygon(direction), Qt::WindingFill));
    hide();
}

void TArrowWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 255, 0));  // lime
}

}  // namespace cb::grid
