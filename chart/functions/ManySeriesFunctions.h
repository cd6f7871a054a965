#pragma once
// Functions that combine the sources point by point: add, subtract,
// multiply and divide.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

// Sum over a range (the list's total over the whole source); across
// sources the sum of the values at the index.
class TAddPlotFunction : public TPlotFunction {
public:
    double ValueOfRange(TChartSeries& source, int first, int last) override;
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }
};

// Folds the sources in data-source order: the first source with the point
// starts, every later one is combined with the running value. A range
// gives 0; so does a single source.
class TManySeriesPlotFunction : public TPlotFunction {
public:
    double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) override;

protected:
    virtual double CombineValues(double running, double next) const = 0;
};

class TSubtractPlotFunction : public TManySeriesPlotFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

protected:
    double CombineValues(double running, double next) const override { return running - next; }
};

class TMultiplyPlotFunction : public TManySeriesPlotFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

protected:
    double CombineValues(double running, double next) const override { return running * next; }
};

// A later value of 0 is skipped.
class TDividePlotFunction : public TManySeriesPlotFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }

protected:
    double CombineValues(double running, double next) const override { return next == 0 ? running : running / next; }
};

}  // namespace cb::chart
