#pragma once
// Mean of the source values over a range or across the sources.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

class TAveragePlotFunction : public TPlotFunction {
public:
    // Empty (null) points count unless this is off.
    bool IncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool on);
    double ValueOfRange(TChartSeries& source, int first, int last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;
    void Assign(const TPlotFunction& source) override;
    std::string EditorClassName() const override { return "TAverageFuncEditor"; }
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

private:
    bool FIncludeNulls = true;
};

}  // namespace cb::chart
