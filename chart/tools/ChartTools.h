#pragma once
// The chart's tools list.
#include "chart/core/OwnedList.h"
#include "chart/panel/PlotEvents.h"

#include <vector>

namespace cb::chart {

class TCustomAxisPanel;
class TPlotCustomTool;

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
