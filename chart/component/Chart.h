#pragma once
// The chart control as placed on a window.
#include "chart/component/CustomChart.h"

namespace cb::chart {

class TChart : public TCustomChart {
public:
    using TCustomChart::TCustomChart;
};

}  // namespace cb::chart
