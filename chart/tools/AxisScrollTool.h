#pragma once
// The axis scroll tool: the user drags an axis to scroll it; the data
// moves with the mouse.
#include "chart/tools/PlotCustomTool.h"

namespace cb::chart {

class TAxisScrollTool : public TPlotCustomToolAxis {
public:
    bool ScrollInverted() const { return FScrollInverted; }
    void SetScrollInverted(bool on) { FScrollInverted = on; }
    // The tool's axis when hit, or without one the first visible axis hit.
    TChartAxis* AxisAt(int x, int y) const;

    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    void AxisDestroyed(const TChartAxis* axis) override;

private:
    bool FScrollInverted = false;
    TChartAxis* FDragged = nullptr;
    int FLastX = 0, FLastY = 0;
};

}  // namespace cb::chart
