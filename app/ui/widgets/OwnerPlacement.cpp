#include "app/ui/widgets/OwnerPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace cb::app {

void CenterOnOwner(QWidget* window, const QWidget* owner) {
    if (!window) return;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QPoint centre = owner && owner->isVisible() ? owner->frameGeometry().center() : area.center();
    QPoint topLeft = centre - QPoint(window->width() / 2, window->height() / 2);
    if (area.isValid()) {
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() - window->width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() - window->height())));
    }
    window->move(topLeft);
}

}  // namespace cb::app
