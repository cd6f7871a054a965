#pragma once
// The named colour palettes a chart can take.
#include "chart/core/PlotTypes.h"

#include <string>
#include <vector>

namespace cb::chart {

// "DezAvoze", "Excel", "Victorian", "Pastels", "Solid", "Classic", "Web",
// "Modern", "Rainbow", "Win. XP", by index.
const std::vector<std::string>& ColorPaletteNames();
// The colours of palette 1 to 9; empty for 0 (the default table) and any
// other index.
const std::vector<TColor>& ColorPaletteColors(int index);

}  // namespace cb::chart
