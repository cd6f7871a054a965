#pragma once
// Pixel probes shared by the canvas tests.
#include "platform/gfx/Bitmap.h"

#include <QImage>

namespace gfxtest {

using namespace cb::gfx;

inline TColor px(const TBitmap& b, int x, int y) {
    const QRgb v = b.Image().pixel(x, y);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

// Does any pixel in the rectangle differ from the colour?
inline bool inkIn(const TBitmap& b, const TRect& r, TColor background = clWhite) {
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
            if (px(b, x, y) != background) return true;
    return false;
}

// Bounding box of the pixels that differ from the background (empty: none).
inline TRect inkBounds(const TBitmap& b, TColor background = clWhite) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (px(b, x, y) != background) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    return r.IsEmpty() ? TRect{} : r;
}

inline bool hasColor(const TBitmap& b, const TRect& r, TColor c) {
    for (int y = std::max(0, r.Top); y < std::min(b.Height(), r.Bottom); ++y)
        for (int x = std::max(0, r.Left); x < std::min(b.Width(), r.Right); ++x)
            if (px(b, x, y) == c) return true;
    return false;
}

}  // namespace gfxtest
