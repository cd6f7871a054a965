#pragma once
// The drag marks tool: the user drags series marks to new places, which
// they keep (their positions become custom).
#include "chart/tools/PlotCustomTool.h"

namespace cb::chart {

struct TSeriesMarkPosition;

class TDragMarksTool : public TPlotCustomToolSeries {
public:
    // The mark under the point: of Series, or of the chart's active series
    // from the last to the first; -1 (and no series) for none.
    int MarkAt(int x, int y, TChartSeries** series) const;
    bool Dragging() const { return FPosition != nullptr; }

    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TDragMarksToolEditor"; }

protected:
    void Notification(TCustomChartElement* gone) override;

private:
    TSeriesMarkPosition* FPosition = nullptr;  // in FDragSeries' marks
    TChartSeries* FDragSeries = nullptr;
    int FLastX = 0, FLastY = 0;
};

}  // namespace cb::chart
