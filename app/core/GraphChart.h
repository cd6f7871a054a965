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
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle s) { FTextStyle = s; }

private:
    bool FVisible = true;
    bool FCheckBoxes = false;
    TLegendTextStyle FTextStyle = ltsLeftValue;
};

// Stand-in title: keeps its lines and visibility.
class TStandInTitle {
public:
    bool Visible() const { return FVisible; }
    void SetVisible(bool on) { FVisible = on; }
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& lines) { FText = lines; }
    void SetCaption(const std::string& line) { SetText(line.empty() ? std::vector<std::string>{} : std::vector{line}); }

private:
    bool FVisible = true;
    std::vector<std::string> FText;
};

// Stand-in chart: an axis panel with a legend and a title.
class TChart : public TCustomAxisPanel {
public:
    using TCustomAxisPanel::TCustomAxisPanel;
    TStandInLegend& Legend() { return FLegend; }
    TStandInTitle& Title() { return FTitle; }

private:
    TStandInLegend FLegend;
    TStandInTitle FTitle;
};

}  // namespace cb::chart
#endif
