#pragma once
// Pixel probes shared by the grid painting tests.
#include "grid/ExtStringGrid.h"

#include <QImage>

namespace cb::grid::test {

inline cb::gfx::TColor Px(const QImage& img, int x, int y) {
    QRgb p = img.pixel(x, y);
    return cb::gfx::RGB(qRed(p), qGreen(p), qBlue(p));
}

inline bool IsDark(cb::gfx::TColor c) {
    return cb::gfx::GetRValue(c) + cb::gfx::GetGValue(c) + cb::gfx::GetBValue(c) < 3 * 128;
}

}  // namespace cb::grid::test
