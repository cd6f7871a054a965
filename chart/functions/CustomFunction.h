#pragma once
// y = f(x): points from a handler, without sources.
#include "chart/series/PlotFunction.h"

namespace cb::chart {

class TCustomPlotFunction : public TPlotFunction {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        int NumPoints = 100;
        double StartX = 0;
        bool operator==(const TSettings&) const = default;
    };

    TCustomPlotFunction();
    int NumPoints() const { return FSettings.NumPoints; }
    void SetNumPoints(int n);
    double StartX() const { return FSettings.StartX; }
    void SetStartX(double x);
    // Sender, x, and y to set (0 until the handler sets it).
    std::function<void(TCustomPlotFunction*, double, double&)> OnCalculate;
    // NumPoints points from StartX, Period apart; nothing without a handler.
    void AddPointsFromSource(TChartSeries* source) override;
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TPlotFunction& source) override;
    std::string EditorClassName() const override { return "TCustomFunctionEditor"; }
    std::unique_ptr<TPlotFunction> Clone() const override;

private:
    TSettings FSettings;
};

}  // namespace cb::chart
