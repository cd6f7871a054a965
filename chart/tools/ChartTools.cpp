#include "chart/tools/ChartTools.h"

#include "chart/core/PlotExceptions.h"
#include "chart/tools/PlotCustomTool.h"

#include <string>

namespace cb::chart {

TChartTools::~TChartTools() {
    Clear();
}

TPlotCustomTool* TChartTools::ToolAt(int index) const {
    if (index < 0 || index >= Count()) throw ChartException("Tool index " + std::to_string(index) + " out of bounds.");
    return FItems.At(index);
}

TPlotCustomTool* TChartTools::AddTool(TPlotCustomTool* tool) {
    if (tool) tool->SetParentChart(FChart);
    return tool;
}

void TChartTools::Clear() {
    FItems.Clear();
}

void TChartTools::Add(TPlotCustomTool* tool) {
    FItems.Adopt(tool);
}

void TChartTools::Remove(const TPlotCustomTool* tool) {
    (void)FItems.Release(tool).release();  // the tool leaves or is on its way out
}

}  // namespace cb::chart
