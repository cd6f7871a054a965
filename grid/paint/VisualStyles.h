#pragma once
// Themed drawing for the grid and its editors: ask whether a theme is
// active, open the theme of a control class, draw one of its parts in a
// state into a rectangle. Drawing goes through the platform's
// style painter.
#include "grid/util/GridTypes.h"

#include <memory>
#include <string>

namespace cb::gfx {
class TCanvas;
}

namespace cb::grid {

// Control classes and parts the grid draws.
enum class TThemePart {
    CheckBox,
    RadioButton,
    PushButton,
    ComboButton,
    SpinUp,
    SpinDown,
    ScrollLeft,
    ScrollRight
};
enum class TThemePartState {
    Normal,
    Hot,
    Pressed,
    Disabled,
    Checked,
    CheckedHot,
    CheckedPressed,
    CheckedDisabled
};

struct TThemeData {
    std::string ClassName;  // "BUTTON", "COMBOBOX", "SPIN", "SCROLLBAR"
};

bool IsThemeActive();
// The theme of a control class; null for a class name the painter does not
// know. Dropping it closes it.
std::unique_ptr<TThemeData> OpenThemeData(const std::string& className);
// Draws nothing for a null theme.
void DrawThemeBackground(const TThemeData* theme, cb::gfx::TCanvas& canvas, TThemePart part, TThemePartState state,
                         const TRect& rect);

}  // namespace cb::grid
