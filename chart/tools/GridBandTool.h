#pragma once
// The grid band tool: alternate bands between the grid lines of an axis,
// drawn when the axis draws its grid.
#include "chart/tools/PlotCustomTool.h"

#include <memory>

namespace cb::chart {

// A band's brush: a colour over a background (none: the back wall's
// colour) with a transparency.
class TGridBandBrush : public TChartBrush {
public:
    explicit TGridBandBrush(TChangeEvent onChange = {}) : TChartBrush(std::move(onChange)) {}
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor c);
    int Transparency() const { return FTransparency; }
    void SetTransparency(int percent);

private:
    TColor FBackColor = clNone;
    int FTransparency = 0;
};

class TGridBandTool : public TPlotCustomToolAxis {
public:
    TGridBandTool();
    ~TGridBandTool() override;
    TGridBandBrush& Band1() { return *FBand1; }
    TGridBandBrush& Band2() { return *FBand2; }
    // Hooks the band drawing into the axis' grid drawing.
    void SetAxis(TChartAxis* axis) override;
    void AxisDestroyed(const TChartAxis* axis) override;
    // Called by the axis as its grid drawing starts.
    void DrawBands(TChartAxis& axis);
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TGridBandToolEdit"; }

private:
    void band(TChartAxis& axis, TGridBandBrush& brush, int a, int b);
    std::unique_ptr<TGridBandBrush> FBand1, FBand2;
};

}  // namespace cb::chart
