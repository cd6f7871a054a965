#pragma once
// Transparency: a copy of the background under a rectangle, mixed back
// over what was drawn since; plus bitmap blending and smooth resampling.
#include "chart/core/PlotTypes.h"

#include <memory>

namespace cb::gfx {
class TBitmap;
}

namespace cb::chart {

class TPlotCanvas;

class TPlotBlend {
public:
    // Copies the background under r (cut to the canvas bounds).
    TPlotBlend(TPlotCanvas& canvas, const TRect& r);
    ~TPlotBlend();
    TPlotBlend(const TPlotBlend&) = delete;
    TPlotBlend& operator=(const TPlotBlend&) = delete;

    void SetRectangle(const TRect& r);
    // Mixes the copy back at the given transparency percentage.
    void DoBlend(int transparency);
    bool Valid() const { return FValid; }
    const TRect& Rectangle() const { return FRect; }

private:
    TPlotCanvas& FCanvas;
    TRect FRect;
    std::unique_ptr<cb::gfx::TBitmap> FCopy;
    bool FValid = false;
};

// Mixes copy into target at (x, y): amount is the percentage of the new
// drawing (the target) kept, 100 leaves the target, 0 restores the copy.
void BlendBitmaps(cb::gfx::TBitmap& copy, cb::gfx::TBitmap& target, int x, int y, double amount);

// Filtered two-pass resampling of source into destination's size; fast
// uses the triangle filter, otherwise Lanczos 3. Throws cb::rtl::Exception
// for an empty source or destination.
void SmoothStretch(cb::gfx::TBitmap& source, cb::gfx::TBitmap& destination, bool fast);

}  // namespace cb::chart
