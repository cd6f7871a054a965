#pragma once
// The colour and pen buttons of the editors.
//
// TColorButton is linked to one colour property of an object; a click (mouse
// or keyboard) opens the colour dialog on the current colour and, only when
// the colour changed, writes it, repaints and runs OnClick. A cancelled or
// unchanged dialog runs nothing.
//
// TButtonPen is linked to a pen (a chart pen or a plain one) held through a
// guard; a click opens the pen dialog and, on OK, repaints and runs OnClick.
// It paints a sample line of the pen at its right end (at most 6 wide).
#include "chart/panel/PlotButtons.h"
#include "charteditors/common/EditedObject.h"

#include <functional>

namespace cb::gfx {
class TPen;
}

namespace cb::charteditors {

class TColorButton : public cb::chart::TButtonColor {
public:
    explicit TColorButton(QWidget* parent = nullptr);
    // Links a getter and setter of the object's colour (empty: unlinked).
    void LinkColor(void* instance, std::function<cb::gfx::TColor()> get, std::function<void(cb::gfx::TColor)> set);
    void Unlink();
    // Runs after the colour was changed through the dialog.
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Edit();
};

class TButtonPen : public cb::chart::TPlotButton {
public:
    explicit TButtonPen(QWidget* parent = nullptr);
    // A TChartPen or plain gfx::TPen, bound as its own type.
    void LinkPen(const TEditedObject& pen);
    cb::gfx::TPen* Pen() const;
    // Hides the pen dialog's colour button (off by default).
    bool HideColor = false;
    // Runs after the pen dialog was closed with OK.
    std::function<void()> OnClick;

protected:
    void DrawSymbol(cb::chart::TPlotCanvas3D& canvas) override;

private:
    void Edit();
    TObjectGuard FPen;
};

// The pen of a pen part, whichever of the two pen types it was bound as.
cb::gfx::TPen* PenOf(const TEditedObject& pen);

}  // namespace cb::charteditors
