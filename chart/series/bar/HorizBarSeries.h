#pragma once
// Horizontal bars: values along the horizontal axis; every rule of the
// vertical bars turned a quarter.
#include "chart/series/bar/CustomBarSeries.h"

namespace cb::chart {

class THorizBarSeries : public TCustomBarSeries {
public:
    THorizBarSeries();
    int CustomBarHeight() const { return CustomBarSize(); }
    void SetCustomBarHeight(int v) { SetCustomBarSize(v); }

    int ScreenX(int index) override { return ValueEnd(index); }
    int ScreenY(int index) override { return BarStart(index); }
    int OriginX(int index) { return OriginEnd(index); }
    double HighestX() override { return valueHighest(TChartSeries::HighestX()); }
    double LowestX() override { return valueLowest(TChartSeries::LowestX()); }
    double HighestY() override { return positionHighest(TChartSeries::HighestY()); }
    double LowestY() override { return positionLowest(TChartSeries::LowestY()); }
    void HorizontalMargins(int& left, int& right) override;
    void VerticalMargins(int& top, int& bottom) override;
    bool GroupDrawsForward(int index) override;
    int MarkExtent(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;

protected:
    void DrawTickLine(int pixel, TBarStyle style) override;
};

}  // namespace cb::chart
