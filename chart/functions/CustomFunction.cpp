#include "chart/functions/CustomFunction.h"

#include "chart/series/ChartSeries.h"

namespace cb::chart {

TCustomPlotFunction::TCustomPlotFunction() {
    SetPeriod(1);
    FNeedsNoSource = true;
}

void TCustomPlotFunction::SetNumPoints(int n) {
    if (FSettings.NumPoints == n) return;
    FSettings.NumPoints = n;
    Recalculate();
}

void TCustomPlotFunction::SetStartX(double x) {
    if (FSettings.StartX == x) return;
    FSettings.StartX = x;
    Recalculate();
}

void TCustomPlotFunction::Assign(const TPlotFunction& source) {
    TPlotFunction::Assign(source);
    if (auto* s = dynamic_cast<const TCustomPlotFunction*>(&source)) FSettings = s->FSettings;
}

std::unique_ptr<TPlotFunction> TCustomPlotFunction::Clone() const {
    auto copy = CloneFunction(*this);
    static_cast<TCustomPlotFunction&>(*copy).OnCalculate = OnCalculate;
    return copy;
}

void TCustomPlotFunction::AddPointsFromSource(TChartSeries* source) {
    (void)source;
    TChartSeries* out = ParentSeries();
    if (!OnCalculate || !out || Updating()) return;
    out->RemoveAllPoints();
    double x = FSettings.StartX;
    for (int i = 0; i < FSettings.NumPoints; ++i) {
        double y = 0;
        OnCalculate(this, x, y);
        if (out->YMandatory())
            out->AddPoint(x, y);
        else
            out->AddPoint(y, x);
        x += Period();
    }
}

}  // namespace cb::chart
