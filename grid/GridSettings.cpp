#include "grid/GridSettings.h"

#include "grid/ExtStringGrid.h"

namespace cb::grid {

void TCellNode::SetNodeType(TNodeType value) {
    if (value == FNodeType) return;
    FNodeType = value;
    if (FGrid) FGrid->InvalidateGrid();
}

void TCellNode::SetShowTree(bool value) {
    if (value == FShowTree) return;
    FShowTree = value;
    if (FGrid) FGrid->InvalidateGrid();
}

void TBands::Repaint(bool always) {
    if (FGrid && (always || FActive)) FGrid->InvalidateGrid();
}

void TBands::SetActive(bool value) {
    FActive = value;
    Repaint(true);
}

void TBands::SetPrimaryColor(TColor value) {
    FPrimaryColor = value;
    Repaint(false);
}

void TBands::SetSecondaryColor(TColor value) {
    FSecondaryColor = value;
    Repaint(false);
}

void TBands::SetPrimaryLength(int value) {
    FPrimaryLength = value;
    FPeriod = FPrimaryLength + FSecondaryLength;
    Repaint(false);
}

void TBands::SetSecondaryLength(int value) {
    FSecondaryLength = value;
    FPeriod = FPrimaryLength + FSecondaryLength;
    Repaint(false);
}

void TBackGround::Repaint() {
    if (FGrid) FGrid->InvalidateGrid();
}

void TBackGround::SetTop(int v) {
    FTop = v;
    Repaint();
}

void TBackGround::SetLeft(int v) {
    FLeft = v;
    Repaint();
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
    FDisplay = v;
    Repaint();
}

void TBackGround::SetBitmap(const cb::gfx::TBitmap& b) {
    FBitmap.Assign(b);
    Repaint();
}

void TBackGround::SetCells(TBackGroundCells v) {
    FCells = v;
    Repaint();
}

void TBackGround::Assign(const TBackGround& s) {
    FTop = s.FTop;
    FLeft = s.FLeft;
    FDisplay = s.FDisplay;
    FBitmap.Assign(s.FBitmap);
    FCells = s.FCells;
    Repaint();
}

void TControlLook::Repaint() {
    if (FGrid) FGrid->InvalidateGrid();
}

void TControlLook::SetCheckSize(int v) {
    FCheckSize = v;
    Repaint();
}
void TControlLook::SetRadioSize(int v) {
    FRadioSize = v;
    Repaint();
}
void TControlLook::SetControlStyle(TControlStyle v) {
    FControlStyle = v;
    Repaint();
}
void TControlLook::SetColor(TColor v) {
    FColor = v;
    Repaint();
}
void TControlLook::SetFlatButton(bool v) {
    FFlatButton = v;
    Repaint();
}
void TControlLook::SetCheckedGlyph(const cb::gfx::TBitmap& b) {
    FCheckedGlyph.Assign(b);
    Repaint();
}
void TControlLook::SetUnCheckedGlyph(const cb::gfx::TBitmap& b) {
    FUnCheckedGlyph.Assign(b);
    Repaint();
}
void TControlLook::SetRadioOnGlyph(const cb::gfx::TBitmap& b) {
    FRadioOnGlyph.Assign(b);
    Repaint();
}
void TControlLook::SetRadioOffGlyph(const cb::gfx::TBitmap& b) {
    FRadioOffGlyph.Assign(b);
    Repaint();
}

void TFloatingFooter::Apply() {
    if (!FGrid) return;
    FGrid->SetFooterRowFixed(FVisible && FFooterStyle == fsFixedLastRow);
}

void TFloatingFooter::RepaintPanel() {
    if (FGrid) FGrid->RepaintFooterPanel();
}

void TFloatingFooter::SetVisible(bool value) {
    FVisible = value;
    if (!FGrid) return;
    if (TFooterPanel* panel = FGrid->FooterPanel()) {
        panel->setVisible(FVisible);
        FGrid->SetBottomReserve(FVisible ? FFooterHeight - 1 : 0);
    }
    FGrid->SetFixedFooters(FVisible ? 1 : 0);
    Apply();
    FGrid->InvalidateGrid();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle value) {
    FFooterStyle = value;
    Apply();
    if (FGrid) FGrid->InvalidateGrid();
    RepaintPanel();
}

void TFloatingFooter::SetColor(TColor value) {
    FColor = value;
    RepaintPanel();
}

void TFloatingFooter::SetColumn(int value) {
    FColumn = value;
    RepaintPanel();
}

void TFloatingFooter::SetCustomTemplate(const std::string& value) {
    FCustomTemplate = value;
    RepaintPanel();
}

void TFloatingFooter::SetFooterHeight(int value) {
    FFooterHeight = value;
    if (FVisible && FGrid) FGrid->SetBottomReserve(FFooterHeight - 1);
}

}  // namespace cb::grid
