#pragma once
// The product's name.

namespace cb::app {

inline constexpr const char* ProductName = "Tavo Browser";

}  // namespace cb::app
