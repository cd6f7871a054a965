#pragma once
// y = f(x): points from a handler, without sources.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

class TCustomPlotFunction : public TPlotFunction {
public:
    TCustomPlotFunction();
    int NumPoints() const { return FNumPoints; }
    void SetNumPoints(int n);
    double StartX() const { return FStartX; }
    void SetStartX(double x);
    // Sender, x, and y to set (0 until the handler sets it).
    std::function<void(TCustomPlotFunction*, double, double&)> OnCalculate;
    // NumPoints points from StartX, Period apart; nothing without a handler.
    void AddPointsFromSource(TChartSeries* source) override;
    void Assign(const TPlotFunction& source) override;
    std::string EditorClassName() const override { return "TCustomFunctionEditor"; }
    std::unique_ptr<TPlotFunction> Clone() const override;

private:
    int FNumPoints = 100;
    double FStartX = 0;
};

}  // namespace cb::chart
