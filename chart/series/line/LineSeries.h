#pragma once
// Line series: the points joined by lines; the horizontal variant takes
// its values along the horizontal axis.
#include "chart/series/line/CustomSeries.h"

namespace cb::chart {

class TLineSeries : public TCustomSeries {
public:
    TLineSeries();
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TLineSeries*>(s); }
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) override;
    // Hides the pointer unless copied from this class; line on, area off.
    void AssignSeries(const TChartSeries& source) override;
};

class THorizLineSeries : public TLineSeries {
public:
    THorizLineSeries();
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const THorizLineSeries*>(s); }
    int MarkExtent() override { return WidestMarkText(); }
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
};

}  // namespace cb::chart
