#include "grid/paint/VisualStyles.h"

#include "platform/gfx/StylePainter.h"

#include <set>

namespace cb::grid {

using namespace cb::gfx;

bool IsThemeActive() {
    return cb::gfx::IsThemeActive();
}

std::unique_ptr<TThemeData> OpenThemeData(const std::string& className) {
    static const std::set<std::string> known = {"BUTTON", "COMBOBOX", "SPIN", "SCROLLBAR"};
    if (!known.count(className)) return nullptr;
    return std::make_unique<TThemeData>(TThemeData{className});
}

void DrawThemeBackground(const TThemeData* theme, TCanvas& canvas, TThemePart part, TThemePartState state,
                         const TRect& rect) {
    if (!theme) return;
    bool checked = state >= TThemePartState::Checked;
    TThemeState s;
    switch (state) {
    case TThemePartState::Hot:
    case TThemePartState::CheckedHot:
        s = TThemeState::Hot;
        break;
    case TThemePartState::Pressed:
    case TThemePartState::CheckedPressed:
        s = TThemeState::Pressed;
        break;
    case TThemePartState::Disabled:
    case TThemePartState::CheckedDisabled:
        s = TThemeState::Disabled;
        break;
    default:
        s = TThemeState::Normal;
        break;
    }
    switch (part) {
    case TThemePart::CheckBox:
        DrawThemedCheckBox(canvas, rect, checked ? TCheckState::Checked : TCheckState::Unchecked, s);
        break;
    case TThemePart::RadioButton:
        DrawThemedRadioButton(canvas, rect, checked, s);
        break;
    case TThemePart::PushButton:
        DrawThemedPushButton(canvas, rect, s);
        break;
    case TThemePart::ComboButton:
        DrawThemedComboButton(canvas, rect, s);
        break;
    case TThemePart::SpinUp:
        DrawThemedScrollArrow(canvas, rect, TScrollDirection::Up, s);
        break;
    case TThemePart::SpinDown:
        DrawThemedScrollArrow(canvas, rect, TScrollDirection::Down, s);
        break;
    case TThemePart::ScrollLeft:
        DrawThemedScrollArrow(canvas, rect, TScrollDirection::Left, s);
        break;
    case TThemePart::ScrollRight:
        DrawThemedScrollArrow(canvas, rect, TScrollDirection::Right, s);
        break;
    }
}

}  // namespace cb::grid
