#pragma once
// The product's name and addresses.

namespace cb::app {

inline constexpr const char* ProductName = "Tavo Browser";
// Placeholder addresses until the product's own are settled.
inline constexpr const char* ProductWebSite = "http://www.example.com/";

}  // namespace cb::app
