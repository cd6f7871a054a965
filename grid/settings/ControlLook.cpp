#include "grid/settings/ControlLook.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TControlLook::SetCheckSize(int v) {
    SetProperty(FCheckSize, v, OnChange);
}

void TControlLook::SetRadioSize(int v) {
    SetProperty(FRadioSize, v, OnChange);
}

void TControlLook::SetControlStyle(TControlStyle v) {
    SetProperty(FControlStyle, v, OnChange);
}

void TControlLook::SetColor(TColor v) {
    SetProperty(FColor, v, OnChange);
}

void TControlLook::SetFlatButton(bool v) {
    SetProperty(FFlatButton, v, OnChange);
}

namespace {
// A glyph is replaced whole: no comparison, always announced.
void SetGlyph(cb::gfx::TBitmap& glyph, const cb::gfx::TBitmap& b, const TChangeEvent& changed) {
    glyph.Assign(b);
    if (changed) changed();
}
}  // namespace

void TControlLook::SetCheckedGlyph(const cb::gfx::TBitmap& b) {
    SetGlyph(FCheckedGlyph, b, OnChange);
}

void TControlLook::SetUnCheckedGlyph(const cb::gfx::TBitmap& b) {
    SetGlyph(FUnCheckedGlyph, b, OnChange);
}

void TControlLook::SetRadioOnGlyph(const cb::gfx::TBitmap& b) {
    SetGlyph(FRadioOnGlyph, b, OnChange);
}

void TControlLook::SetRadioOffGlyph(const cb::gfx::TBitmap& b) {
    SetGlyph(FRadioOffGlyph, b, OnChange);
}

}  // namespace cb::grid
