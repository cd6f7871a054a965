#pragma once
// Basic value types of the chart engine: colours, points, rectangles,
// rounding and change events. Colours, points and rectangles are the
// platform canvas's own.
#include "platform/gfx/Color.h"
#include "platform/gfx/GdiObjects.h"
#include "platform/gfx/Geometry.h"
#include "platform/rtl/Property.h"

#include <cmath>
#include <cstdint>
#include <functional>

namespace cb::chart {

using cb::gfx::TColor;
using cb::gfx::TPoint;
using cb::gfx::TRect;

using cb::gfx::clBlack;
using cb::gfx::clBlue;
using cb::gfx::clBtnFace;
using cb::gfx::clBtnHighlight;
using cb::gfx::clBtnShadow;
using cb::gfx::clDefault;  // 0x20000000, the engine's automatic colour
using cb::gfx::clGray;
using cb::gfx::clGreen;
using cb::gfx::clHighlight;
using cb::gfx::clNone;  // 0x1FFFFFFF, no colour
using cb::gfx::clRed;
using cb::gfx::clSilver;
using cb::gfx::clWhite;
using cb::gfx::clYellow;
using cb::gfx::ColorToRGB;
using cb::gfx::GetBValue;
using cb::gfx::GetGValue;
using cb::gfx::GetRValue;

using cb::gfx::TBrushStyle;
using cb::gfx::TFontStyles;
using cb::gfx::TPenEndStyle;
using cb::gfx::TPenMode;
using cb::gfx::TPenStyle;

constexpr TColor RGBColor(int r, int g, int b) {
    return cb::gfx::RGB(r, g, b);
}

struct TPoint3D {
    int X = 0;
    int Y = 0;
    int Z = 0;
};

struct TFloatPoint {
    double X = 0;
    double Y = 0;
};

// Real to integer: nearest, halves to the even neighbour.
inline int Round(double x) {
    return int(std::lrint(x));
}

constexpr double PiDiv180 = 0.017453292519943295;

// Horizontal alignment of a text block: titles, annotations.
enum TAlignment {
    taLeftJustify,
    taRightJustify,
    taCenter
};

// Change notification handed to an attribute object by its owner.
using TChangeEvent = cb::rtl::TChangeEvent;

}  // namespace cb::chart
