#include "app/ui/widgets/WidgetColor.h"

#include "platform/gfx/Color.h"

#include <QWidget>

namespace cb::app {

void SetWidgetColor(QWidget* widget, QPalette::ColorRole role, TColor color) {
    if (!widget) return;
    QPalette p = widget->palette();
    p.setColor(role, cb::gfx::ToQColor(color));
    widget->setPalette(p);
}

}  // namespace cb::app
