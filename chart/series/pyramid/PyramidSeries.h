#pragma once
// Pyramid series: the points as stacked slices of one pyramid, the first
// the widest at the bottom, narrowing linearly to the apex at the total.
#include "chart/series/ChartSeries.h"

namespace cb::chart {

class TPyramidSeries : public TChartSeries {
public:
    TPyramidSeries();
    // Width of the base in percent of the horizontal axis' length.
    int SizePercent() const { return FSizePercent; }
    void SetSizePercent(int v) { StoreIntegerAndRepaint(FSizePercent, v); }

    // Magnitudes below the point, and up to and including it.
    double SumBelow(int index);
    double Total();

    std::string EditorClassName() const override { return "TPyramidSeriesEditor"; }
    void HorizontalMargins(int& left, int& right) override;
    void DrawPoint(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    double HighestX() override { return positionInChart(); }
    double LowestX() override { return positionInChart(); }
    double HighestY() override { return YValues().SumOfMagnitudes(); }
    double LowestY() override { return 0; }
    int ScreenX(int index) override;
    bool DrawsAscending() override;

private:
    double positionInChart() const;
    int FSizePercent = 50;
};

}  // namespace cb::chart
