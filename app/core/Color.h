#pragma once
// Colour values of the application: 32 bits, 0x00BBGGRR (red in the low
// byte), the same type the graphics layer uses.
#include <cstdint>
#if __has_include("platform/gfx/Color.h")
#include "platform/gfx/Color.h"
#endif

namespace cb::app {

using TColor = std::uint32_t;

} // namespace cb::app
