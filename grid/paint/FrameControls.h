#pragma once
// The classic controls drawn in cells: check box, radio button and push
// button frames with 3D edges (or flat), and the grid's small glyph bitmaps
// ("GRIDCHK01".."GRIDCHK08", "GRIDRAD01".."GRIDRAD08", "GRIDLEAFOPEN",
// "GRIDLEAFCLOSE"), each with its key colour in pixel (0, 0).
#include "grid/util/GridTypes.h"

#include <string_view>

namespace cb::gfx {
class TCanvas;
class TBitmap;
}  // namespace cb::gfx

namespace cb::grid {

// A check box square filling r.
void DrawFrameCheck(cb::gfx::TCanvas& canvas, const TRect& r, bool checked, bool flat, bool enabled);
// A radio button circle filling r.
void DrawFrameRadio(cb::gfx::TCanvas& canvas, const TRect& r, bool checked, bool flat, bool enabled);
// A push button face filling r.
void DrawFrameButton(cb::gfx::TCanvas& canvas, const TRect& r, bool pushed, bool flat);

// The named glyph; an empty bitmap for an unknown name.
const cb::gfx::TBitmap& GridGlyph(std::string_view name);

}  // namespace cb::grid
