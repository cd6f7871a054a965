#pragma once
// Arrow series: one arrow per point from (X, Y) to (EndX, EndY); outlines
// in 2D, filled in 3D. The pointer's sizes are the head's width and length.
#include "chart/series/line/PointSeries.h"

namespace cb::chart {

class TArrowSeries : public TPointSeries {
public:
    TArrowSeries();

    TChartValueList& StartXValues() { return XValues(); }
    TChartValueList& StartYValues() { return YValues(); }
    TChartValueList& EndXValues() { return *FEndX; }
    TChartValueList& EndYValues() { return *FEndY; }
    // The pointer's sizes, through its checked setters.
    int ArrowWidth() { return Pointer().HorizSize(); }
    void SetArrowWidth(int v) { Pointer().SetHorizSize(v); }
    int ArrowHeight() { return Pointer().VertSize(); }
    void SetArrowHeight(int v) { Pointer().SetVertSize(v); }

    int AddArrowPoint(double x0, double y0, double x1, double y1,
                      const std::optional<std::string>& label = std::nullopt, TColor color = clDefault);

    std::string EditorClassName() const override { return "TArrowSeriesEditor"; }
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TArrowSeries*>(s); }
    bool OffersPointerStyles() const override { return false; }
    void DrawPoint(int index) override;
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override;
    bool CanCopyFrom(const TChartSeries* source) const override {
        return source != this && dynamic_cast<const TArrowSeries*>(source);
    }

private:
    TChartValueList* FEndX;
    TChartValueList* FEndY;
};

}  // namespace cb::chart
