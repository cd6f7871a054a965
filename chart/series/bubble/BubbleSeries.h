#pragma once
// Bubble series: a circle (or, unless Squared, an ellipse) per point whose
// radius is a value in axis units.
#include "chart/series/line/PointSeries.h"

namespace cb::chart {

class TBubbleSeries : public TPointSeries {
public:
    TBubbleSeries();

    TChartValueList& RadiusValues() { return *FRadius; }
    // Circles sized by the vertical axis alone; False: ellipses.
    bool Squared() const { return FSquared; }
    void SetSquared(bool on) { StoreBooleanAndRepaint(FSquared, on); }

    int AddBubblePoint(double x, double y, double radius, const std::optional<std::string>& label = std::nullopt,
                       TColor color = clDefault);

    std::string EditorClassName() const override { return "TBubbleSeriesEditor"; }
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TBubbleSeries*>(s); }
    void PaintLegendSymbol(int item, const TRect& r) override;
    void DrawPoint(int index) override;
    double HighestY() override;
    double LowestY() override;
    double HighestZ() override;
    double LowestZ() override;
    TPlotGradient& GetGradient() override { return Pointer().Gradient(); }
    void PreparePointer(int index) override;
    bool CanCopyFrom(const TChartSeries* source) const override {
        return source != this && dynamic_cast<const TBubbleSeries*>(source);
    }
    void AssignSeries(const TChartSeries& source) override;

private:
    TChartValueList* FRadius;
    bool FSquared = true;
};

}  // namespace cb::chart
