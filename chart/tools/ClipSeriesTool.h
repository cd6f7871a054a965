#pragma once
// The clip series tool: clips the drawing of one series to its axes. It
// writes the series' BeforeDrawValues and AfterDrawValues and clears them
// again when it gets another series or goes.
#include "chart/tools/PlotCustomTool.h"

namespace cb::chart {

class TClipSeriesTool : public TPlotCustomToolSeries {
public:
    ~TClipSeriesTool() override;
    void SetSeries(TChartSeries* series) override;
    std::string DescriptionText() const override;

private:
    void unhook();
    bool FClipped = false;
};

}  // namespace cb::chart
