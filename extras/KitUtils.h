#pragma once
// Small bitmap helpers: cutting a tile out of a glyph sheet, drawing a
// bitmap stretched with one colour left out, painting what lies beneath a
// control, and rectangle sizes.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

class QWidget;

namespace cb::extras {

// Copies tile number `tile` of a sheet of columns x rows equal tiles into
// dest, which takes the tile's size and the source's transparency settings.
// Columns and rows below 1 count as 1, a tile below 0 as 0.
void CutGlyphTile(const cb::gfx::TGraphic& source, cb::gfx::TBitmap& dest, int columns, int rows, int tile);

// Draws the source rectangle of the bitmap stretched into the destination
// rectangle, leaving out the pixels of `transparent` (clDefault: the
// bitmap's bottom-left pixel; clNone: nothing left out). A destination size
// below 1 takes the bitmap's; a source size below 1 takes the whole bitmap.
void StretchTransparentBitmap(cb::gfx::TCanvas& canvas, int destLeft, int destTop, int destWidth, int destHeight,
                              const cb::gfx::TBitmap& bitmap, int srcLeft, int srcTop, int srcWidth, int srcHeight,
                              cb::gfx::TColor transparent);
void StretchTransparentRect(cb::gfx::TCanvas& canvas, int destLeft, int destTop, int destWidth, int destHeight,
                            const cb::gfx::TRect& source, const cb::gfx::TBitmap& bitmap, cb::gfx::TColor transparent);

// Paints the parent's background and the siblings below the control into
// the canvas, in the control's coordinates (for see-through controls).
void PaintParentBackground(QWidget* control, cb::gfx::TCanvas& canvas);

// The colour as RGB marked palette-relative (0x02000000 added).
cb::gfx::TColor PaletteRGB(cb::gfx::TColor color);

inline int RectWidth(const cb::gfx::TRect& r) {
    return r.Right - r.Left;
}
inline int RectHeight(const cb::gfx::TRect& r) {
    return r.Bottom - r.Top;
}

}  // namespace cb::extras
