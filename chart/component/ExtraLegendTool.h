#pragma once
// The extra legend tool: a second legend bound to one series, listing its
// points, painted at a place of its own at the end of every chart paint.
// (It lives beside the legend it owns, not with the other tools.)
#include "chart/component/ChartLegend.h"
#include "chart/tools/PlotCustomTool.h"

#include <memory>

namespace cb::chart {

class TExtraLegendTool : public TPlotCustomToolSeries {
public:
    ~TExtraLegendTool() override;
    // Made on first use: a values legend at a custom position.
    TChartLegend& Legend();
    void SetLegend(const TCustomChartLegend& legend) { Legend().Assign(legend); }
    bool HasLegend() const { return FLegend != nullptr; }

    void SetParentChart(TCustomAxisPanel* chart) override;
    void SetSeries(TChartSeries* series) override;
    void HandleChartStage(TChartStage code) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TExtraLegendEditor"; }

private:
    std::unique_ptr<TChartLegend> makeLegend(TCustomAxisPanel* chart) const;
    std::unique_ptr<TChartLegend> FLegend;
};

}  // namespace cb::chart
