#pragma once
// Vertical bars: values along the vertical axis.
#include "chart/series/bar/CustomBarSeries.h"

namespace cb::chart {

class TBarSeries : public TCustomBarSeries {
public:
    TBarSeries();
    int CustomBarWidth() const { return CustomBarSize(); }
    void SetCustomBarWidth(int v) { SetCustomBarSize(v); }

    int ScreenX(int index) override { return BarStart(index); }
    int ScreenY(int index) override { return ValueEnd(index); }
    int OriginY(int index) { return OriginEnd(index); }
    double HighestX() override { return positionHighest(TChartSeries::HighestX()); }
    double LowestX() override { return positionLowest(TChartSeries::LowestX()); }
    double HighestY() override { return valueHighest(TChartSeries::HighestY()); }
    double LowestY() override { return valueLowest(TChartSeries::LowestY()); }
    void HorizontalMargins(int& left, int& right) override;
    void VerticalMargins(int& top, int& bottom) override;
    bool SharesZOrder() override;
    bool GroupDrawsForward(int index) override;
    int MarkExtent(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;

protected:
    void DrawTickLine(int pixel, TBarStyle style) override;
};

}  // namespace cb::chart
