#pragma once
// Functions over the sorted source values: median and mode.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

// Collects the accepted values of the source's mandatory list (over the
// range, or at the index of every source that has it), sorts them once and
// asks the class for one value of the ascending list; 0 without values.
class TCustomSortedFunction : public TPlotFunction {
public:
    bool IncludeNulls() const { return FIncludeNulls; }
    void SetIncludeNulls(bool on);
    double ValueOfRange(TChartSeries& source, int first, int last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;
    void Assign(const TPlotFunction& source) override;

protected:
    // values is not empty and ascending.
    virtual double ValueOfSortedList(const std::vector<double>& values) const = 0;

private:
    double ofCollected(std::vector<double>& values) const;
    bool FIncludeNulls = true;
};

// The middle value; for an even count the mean of the two middle ones.
class TMedianPlotFunction : public TCustomSortedFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

protected:
    double ValueOfSortedList(const std::vector<double>& values) const override;
};

// The value of the longest run of equal values; the smallest among equal runs.
class TModePlotFunction : public TCustomSortedFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

protected:
    double ValueOfSortedList(const std::vector<double>& values) const override;
};

}  // namespace cb::chart
