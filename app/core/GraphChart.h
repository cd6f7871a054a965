#pragma once
// The chart control the chart view shows and the chart builder fills.
//
// STAND-IN: until the chart component (chart/component/Chart.h) is on main,
// a plain axis panel with a legend flag takes its place here. The real one
// is used as soon as its header exists.
#if __has_include("chart/component/Chart.h")
#include "chart/component/Chart.h"
#define CB_APP_HAVE_CHART_COMPONENT 1
#else
#include "chart/panel/CustomAxisPanel.h"

namespace cb::chart {

// Stand-in legend: keeps what the application sets.
class TStandInLegend {
public:
    bool Visible() const { return FVisible; }
    void SetVisible(bool on) { FVisible = on; }
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool on) { FCheckBoxes = on; }

private:
    bool FVisible = true;
    bool FCheckBoxes = false;
};

// Stand-in chart: an axis panel with a legend.
class TChart : public TCustomAxisPanel {
public:
    using TCustomAxisPanel::TCustomAxisPanel;
    TStandInLegend& Legend() { return FLegend; }

private:
    TStandInLegend FLegend;
};

}  // namespace cb::chart
#endif
