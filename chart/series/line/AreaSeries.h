#pragma once
// Area series: the region between the line and an origin filled; the
// horizontal variant takes its values along the horizontal axis.
#include "chart/series/line/CustomSeries.h"

namespace cb::chart {

enum TMultiArea {
    maNone,
    maStacked,
    maStacked100
};

class TAreaSeries : public TCustomSeries {
public:
    TAreaSeries();
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TAreaSeries*>(s); }
    TChartBrush& AreaBrush() { return AreaChartBrush(); }
    TMultiArea MultiArea() const;
    void SetMultiArea(TMultiArea m);
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool on) { StoreBooleanAndRepaint(FUseYOrigin, on); }
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double v) { StoreDoubleAndRepaint(FYOrigin, v); }

    int OriginPixel(int index) override;
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    bool GroupDrawsForward(int index) override;
    void PaintLegendSymbol(int item, const TRect& r) override;
    void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) override;
    std::string EditorClassName() const override { return "TAreaSeriesEditor"; }
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    void AssignSeries(const TChartSeries& source) override;

private:
    bool FUseYOrigin = false;
    double FYOrigin = 0;
};

class THorizAreaSeries : public TAreaSeries {
public:
    THorizAreaSeries();
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const THorizAreaSeries*>(s); }
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    int DefaultSampleCount() const override { return 10; }
};

}  // namespace cb::chart
