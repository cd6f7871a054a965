#pragma once
// Drawing shared by the editors' buttons: the face of a speed button in its
// three looks and the built-in arrow glyphs.
#include "grid/util/GridTypes.h"
#include "grid/paint/VisualStyles.h"
#include "platform/gfx/Bitmap.h"

#include <QWidget>

namespace cb::gfx {
class TCanvas;
class TBitmap;
}  // namespace cb::gfx

namespace cb::grid {

// What the editors' small buttons share: a glyph, the flat look, the down
// state and whether the mouse is inside (repainted on enter and leave).
class TControlButton : public QWidget {
public:
    explicit TControlButton(QWidget* parent = nullptr);

    bool Flat = false;
    cb::gfx::TBitmap Glyph;
    int NumGlyphs = 1;
    bool Down() const { return FDown; }
    bool MouseInside() const { return FMouseInside; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool FDown = false;
    bool FMouseInside = false;
};

enum class TButtonLook {
    Push,  // a push-button frame
    Flat,  // raised-inner edge up, sunken-outer edge down
    XP     // the visual style's part
};

// The state a themed part is drawn in: pressed, hot (mouse inside) or normal.
TThemePartState ButtonThemeState(bool down, bool mouseInside, bool enabled);

// Draws a button face into r and gives the rectangle left for its content.
TRect DrawButtonFace(cb::gfx::TCanvas& canvas, TRect r, TButtonLook look, TThemePart part, bool down, bool mouseInside,
                     bool enabled);

// A small filled triangle pointing up, down, left or right, centred in r.
void DrawArrowGlyph(cb::gfx::TCanvas& canvas, const TRect& r, int direction, bool enabled);

// A glyph drawn transparent and centred in r, one pixel right and down
// while pressed (offset 0 on an axis where it does not fit).
void DrawCentredGlyph(cb::gfx::TCanvas& canvas, const cb::gfx::TBitmap& glyph, const TRect& r, bool down);

}  // namespace cb::grid
