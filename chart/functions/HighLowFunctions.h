#pragma once
// Highest and lowest value over a range or across the sources.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

// Across sources the first source that has the point starts (a source
// past its end takes no part); ties keep the earlier value.
class THighPlotFunction : public TPlotFunction {
public:
    double ValueOfRange(TChartSeries& source, int first, int last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }
};

class TLowPlotFunction : public TPlotFunction {
public:
    double ValueOfRange(TChartSeries& source, int first, int last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }
};

}  // namespace cb::chart
