#include "grid/GridSettings.h"

namespace cb::grid {

using cb::rtl::SetProperty;

void TCellNode::SetNodeType(TNodeType value) {
    SetProperty(FNodeType, value, OnChange);
}

void TCellNode::SetShowTree(bool value) {
    SetProperty(FShowTree, value, OnChange);
}

void TBands::ActiveChanged() {
    if (FActive && OnChange) OnChange();
}

void TBands::SetActive(bool value) {
    SetProperty(FActive, value, OnChange);
}

void TBands::SetPrimaryColor(TColor value) {
    SetProperty(FPrimaryColor, value, [this] { ActiveChanged(); });
}

void TBands::SetSecondaryColor(TColor value) {
    SetProperty(FSecondaryColor, value, [this] { ActiveChanged(); });
}

void TBands::SetPrimaryLength(int value) {
    SetProperty(FPrimaryLength, value, [this] {
        FPeriod = FPrimaryLength + FSecondaryLength;
        ActiveChanged();
    });
}

void TBands::SetSecondaryLength(int value) {
    SetProperty(FSecondaryLength, value, [this] {
        FPeriod = FPrimaryLength + FSecondaryLength;
        ActiveChanged();
    });
}

void TBackGround::SetTop(int v) {
    SetProperty(FTop, v, OnChange);
}

void TBackGround::SetLeft(int v) {
    SetProperty(FLeft, v, OnChange);
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
    SetProperty(FDisplay, v, OnChange);
}

void TBackGround::SetBitmap(const cb::gfx::TBitmap& b) {
    FBitmap.Assign(b);
    if (OnChange) OnChange();
}

void TBackGround::SetCells(TBackGroundCells v) {
    SetProperty(FCells, v, OnChange);
}

void TBackGround::Assign(const TBackGround& s) {
    FTop = s.FTop;
    FLeft = s.FLeft;
    FDisplay = s.FDisplay;
    FBitmap.Assign(s.FBitmap);
    FCells = s.FCells;
    if (OnChange) OnChange();
}

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

void TFloatingFooter::SetVisible(bool value) {
    SetProperty(FVisible, value, OnLayoutChange);
}

void TFloatingFooter::SetFooterStyle(TFooterStyle value) {
    SetProperty(FFooterStyle, value, OnLayoutChange);
}

void TFloatingFooter::SetColor(TColor value) {
    SetProperty(FColor, value, OnChange);
}

void TFloatingFooter::SetColumn(int value) {
    SetProperty(FColumn, value, OnChange);
}

void TFloatingFooter::SetCustomTemplate(const std::string& value) {
    SetProperty(FCustomTemplate, value, OnChange);
}

void TFloatingFooter::SetFooterHeight(int value) {
    SetProperty(FFooterHeight, value, OnLayoutChange);
}

}  // namespace cb::grid
