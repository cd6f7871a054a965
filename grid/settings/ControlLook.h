#pragma once
// The look of check boxes, radio buttons and buttons drawn in cells.
#include "grid/util/GridTypes.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Property.h"

namespace cb::grid {

using cb::rtl::TChangeEvent;

enum TControlStyle {
    csClassic,
    csFlat,
    csWinXP,
    csQuintar,
    csExt,
    csGlyph,
    csTheme
};

class TControlLook {
public:
    TChangeEvent OnChange;
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int v);
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int v);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool v);
    const cb::gfx::TBitmap& CheckedGlyph() const { return FCheckedGlyph; }
    const cb::gfx::TBitmap& UnCheckedGlyph() const { return FUnCheckedGlyph; }
    const cb::gfx::TBitmap& RadioOnGlyph() const { return FRadioOnGlyph; }
    const cb::gfx::TBitmap& RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetCheckedGlyph(const cb::gfx::TBitmap& b);
    void SetUnCheckedGlyph(const cb::gfx::TBitmap& b);
    void SetRadioOnGlyph(const cb::gfx::TBitmap& b);
    void SetRadioOffGlyph(const cb::gfx::TBitmap& b);

private:
    int FCheckSize = 15;
    int FRadioSize = 10;
    TControlStyle FControlStyle = csClassic;
    TColor FColor = cb::gfx::clBlack;
    bool FFlatButton = false;
    cb::gfx::TBitmap FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
};

}  // namespace cb::grid
