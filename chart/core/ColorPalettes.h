#pragma once
// The named colour palettes a chart can take.
#include "chart/core/PlotTypes.h"

#include <string>
#include <vector>

namespace cb::chart {

class TCustomAxisPanel;

// "DezAvoze", "Excel", "Victorian", "Pastels", "Solid", "Classic", "Web",
// "Modern", "Rainbow", "Win. XP", by index.
const std::vector<std::string>& ColorPaletteNames();
// The colours of palette 1 to 9; empty for 0 (the default table) and any
// other index.
const std::vector<TColor>& ColorPaletteColors(int index);
// The chart's palette becomes palette index (empty: the default table);
// series with automatic colours get new ones.
void ApplyColorPalette(TCustomAxisPanel& chart, int index);

}  // namespace cb::chart
