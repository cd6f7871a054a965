#pragma once
// The chart view's annotation: a note beside the point nearest the mouse,
// whose callout, a small grey circle, marks that point and whose text is
// the point's mark text. It follows the chart: every paint picks the point
// again from the chart's current series, so a new query or a flip never
// leaves a note on a value the chart no longer shows.
#include "app/core/theme/Color.h"

#include <string>

namespace cb::chart {
class TCustomAxisPanel;
class TChartSeries;
}  // namespace cb::chart

namespace cb::app {

class TChartAnnotationTool;

class TChartAnnotation {
public:
    // Adds the annotation tool to the chart, whose tool list owns it; the
    // chart must outlive this object.
    explicit TChartAnnotation(cb::chart::TCustomAxisPanel& chart);
    ~TChartAnnotation();
    TChartAnnotation(const TChartAnnotation&) = delete;
    TChartAnnotation& operator=(const TChartAnnotation&) = delete;

    void SetActive(bool on);
    bool Active() const;
    // Drawn on the chart: active and with a point to tell of.
    bool Shown() const;
    // Points the callout at the point of the active series nearest to
    // (x, y) in the chart's pixels, and keeps (x, y) for later paints;
    // nothing to tell without points.
    void PlaceNear(int x, int y);

    std::string Text() const;
    bool CalloutVisible() const;
    int CalloutX() const;
    int CalloutY() const;
    TColor CalloutColor() const;
    // The note's box as last drawn, in the chart's pixels.
    int BoxLeft() const;
    int BoxTop() const;
    int BoxRight() const;
    int BoxBottom() const;

private:
    friend class TChartAnnotationTool;
    // Picks the point nearest the kept position from the chart's series.
    void Follow();
    // Puts the box beside the callout's point, inside the chart.
    void PlaceBox();

    cb::chart::TCustomAxisPanel& FChart;
    TChartAnnotationTool* FTool;  // owned by the chart's tool list
    bool FOn = false;
    bool FHasPoint = false;
    int FMouseX = 0, FMouseY = 0;
    int FBox[4] = {0, 0, 0, 0};
};

}  // namespace cb::app
