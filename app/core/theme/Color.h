#pragma once
// Colour values of the application: the graphics layer's 32-bit 0x00BBGGRR
// (red in the low byte).
#include "platform/gfx/Color.h"

namespace cb::app {

using TColor = cb::gfx::TColor;

}  // namespace cb::app
