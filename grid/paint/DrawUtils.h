#pragma once
// Small drawing tasks of the grid's cells.
#include "grid/util/GridTypes.h"

#include <string_view>

namespace cb::gfx {
class TCanvas;
class TBitmap;
}  // namespace cb::gfx

namespace cb::grid {

TColor HalveColor(TColor color);
void DrawBitmapTransparent(cb::gfx::TCanvas& canvas, const cb::gfx::TBitmap& bitmap, TColor background,
                           const TRect& rect);
void DrawPieProgress(cb::gfx::TCanvas& canvas, const TRect& rect, TColor fill, int percent);
// Zigzag under characters start .. start + length - 1 (0-based) of a text
// drawn left-aligned at the rectangle's left edge in the canvas font.
void DrawErrorUnderline(cb::gfx::TCanvas& canvas, std::string_view text, int length, int start, int offset,
                        const TRect& rect);

}  // namespace cb::grid
