#pragma once
// Themed control parts drawn through the application's QStyle into a
// rectangle of a canvas.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Geometry.h"

#include <string>

namespace cb::gfx {

enum class TThemeState {
    Normal,
    Hot,
    Pressed,
    Disabled
};
enum class TCheckState {
    Unchecked,
    Checked,
    Mixed
};
enum class TScrollDirection {
    Up,
    Down,
    Left,
    Right
};

// Always true here: parts are drawn by the style.
bool IsThemeActive();

void DrawThemedCheckBox(TCanvas& canvas, const TRect& r, TCheckState check, TThemeState state);
void DrawThemedRadioButton(TCanvas& canvas, const TRect& r, bool checked, TThemeState state);
void DrawThemedPushButton(TCanvas& canvas, const TRect& r, TThemeState state, const std::string& caption = {});
// The drop-down button of a combo box (its frame and arrow).
void DrawThemedComboButton(TCanvas& canvas, const TRect& r, TThemeState state);
void DrawThemedScrollArrow(TCanvas& canvas, const TRect& r, TScrollDirection direction, TThemeState state);

// The size of a check box or radio button glyph in pixels.
TSize ThemedCheckBoxSize();

}  // namespace cb::gfx
