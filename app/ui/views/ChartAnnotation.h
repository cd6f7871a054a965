#pragma once
// The chart view's annotation: a note in the chart's top right corner whose
// callout, a small grey circle, points at the point nearest the mouse and
// whose text is that point's mark text.
#include "app/core/theme/Color.h"

#include <string>

namespace cb::chart {
class TCustomAxisPanel;
class TAnnotationTool;
}  // namespace cb::chart

namespace cb::app {

class TChartAnnotation {
public:
    // Adds the annotation tool to the chart, whose tool list owns it; the
    // chart must outlive this object.
    explicit TChartAnnotation(cb::chart::TCustomAxisPanel& chart);

    void SetActive(bool on);
    bool Active() const;
    // Drawn on the chart: active and with a point to tell of.
    bool Shown() const;
    // Points the callout at the point of the active series nearest to
    // (x, y) in the chart's pixels; nothing without points.
    void PlaceNear(int x, int y);

    std::string Text() const;
    bool CalloutVisible() const;
    int CalloutX() const;
    int CalloutY() const;
    TColor CalloutColor() const;

private:
    cb::chart::TCustomAxisPanel& FChart;
    cb::chart::TAnnotationTool* FTool;  // owned by the chart's tool list
    bool FOn = false;
};

}  // namespace cb::app
