#pragma once
// Point series: a pointer at each point and no line.
#include "chart/series/line/CustomSeries.h"

namespace cb::chart {

class TPointSeries : public TCustomSeries {
public:
    TPointSeries();
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TPointSeries*>(s); }
    // The pointer's transparency.
    int GetTransparency() const override;
    void SetTransparency(int percent) override;
    void SetColorEachPoint(bool on) override;
    virtual bool OffersPointerStyles() const { return true; }
    std::string EditorClassName() const override { return "TSeriesPointerEditor"; }
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    void AssignSeries(const TChartSeries& source) override;
};

}  // namespace cb::chart
