#pragma once
// The legend of a pie's other slice: a chart legend that lists the points
// grouped into the other slice, drawn after the pie. It is made hidden on
// first use and lives with the pie (copied with it, remade when the pie
// moves to another chart).
#include "chart/component/ChartLegend.h"

namespace cb::chart {

class TPieSeries;

// The pie's other-slice legend, made on first use.
TChartLegend& OtherSliceLegend(TPieSeries& pie);

}  // namespace cb::chart
