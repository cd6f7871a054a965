#pragma once
// The chart's tools list and the paint stages tools hear of.
#include "chart/core/OwnedList.h"

#include <vector>

namespace cb::chart {

class TCustomAxisPanel;
class TPlotCustomTool;

// The points of a chart's paint (and the mouse leaving it) told to tools.
enum TChartStage : int {
    csEndOfPaint = 0,
    csBeforeSeries = 1,
    csStartOfPaint = 2,
    csBeforeAxes = 3,
    csAfterSeries = 4,
    csMouseLeave = 5
};

// The chart's tools in notification order; owns them. A tool that is
// destroyed leaves the list.
class TChartTools {
public:
    explicit TChartTools(TCustomAxisPanel* chart) : FChart(chart) {}
    ~TChartTools();
    int Count() const { return FItems.Count(); }
    TPlotCustomTool* ToolAt(int index) const;
    TPlotCustomTool* operator[](int index) const { return ToolAt(index); }
    // The tool joins the chart (and this list, which owns it); returned.
    TPlotCustomTool* AddTool(TPlotCustomTool* tool);
    // Frees every tool from the front.
    void Clear();
    // Called by a tool that joins the chart: the list owns it from now on.
    void Add(TPlotCustomTool* tool);
    // Called by a tool that leaves the chart or is destroyed; the list no
    // longer owns it.
    void Remove(const TPlotCustomTool* tool);
    // The tools in order (a copy).
    std::vector<TPlotCustomTool*> Items() const { return FItems.Items(); }

private:
    TCustomAxisPanel* FChart;
    TOwnedList<TPlotCustomTool> FItems;
};

}  // namespace cb::chart
