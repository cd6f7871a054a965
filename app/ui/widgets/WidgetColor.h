#pragma once
// Colouring one part of a widget (its background or its text) without
// touching the rest of its palette.
#include "app/core/theme/Color.h"

#include <QPalette>

class QWidget;

namespace cb::app {

void SetWidgetColor(QWidget* widget, QPalette::ColorRole role, TColor color);

inline void SetTextColor(QWidget* widget, TColor color) {
    SetWidgetColor(widget, QPalette::WindowText, color);
}

}  // namespace cb::app
