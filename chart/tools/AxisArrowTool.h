#pragma once
// The axis arrow tool: an arrow at one or both ends of an axis; a click on
// one scrolls the axis by a share of its range.
#include "chart/tools/PlotCustomTool.h"

#include <functional>

namespace cb::chart {

enum TAxisArrowToolPosition {
    aaStart,
    aaEnd,
    aaBoth
};

class TAxisArrowTool;
using TAxisArrowClickEvent = std::function<void(TAxisArrowTool* sender, bool atStart)>;

class TAxisArrowTool : public TPlotCustomToolAxis {
public:
    int Length() const { return FLength; }
    void SetLength(int v) { StoreIntegerAndRepaint(FLength, v); }
    TAxisArrowToolPosition Position() const { return FPosition; }
    void SetPosition(TAxisArrowToolPosition p) { StoreAndRepaint(FPosition, p); }
    int ScrollPercent() const { return FScrollPercent; }
    void SetScrollPercent(int v) { StoreIntegerAndRepaint(FScrollPercent, v); }
    bool ScrollInverted() const { return FScrollInverted; }
    void SetScrollInverted(bool on) { StoreBooleanAndRepaint(FScrollInverted, on); }
    TAxisArrowClickEvent OnClick;

    // 0 none, 1 the start arrow, 2 the end arrow.
    int ArrowAt(int x, int y) const;
    // Shifts the axis (and its twin when a series spans both) by delta.
    void ScrollAxis(double delta);

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TAxisArrowToolEditor"; }

private:
    bool usable() const;
    int FLength = 16;
    TAxisArrowToolPosition FPosition = aaBoth;
    int FScrollPercent = 10;
    bool FScrollInverted = false;
};

// Scrolls the axis by delta without limit checks, and its twin on the
// other side (top for bottom, right for left and back) when a series of
// the axis is drawn against both.
void ScrollAxisAndTwin(TChartAxis& axis, double delta);

}  // namespace cb::chart
