#pragma once
// The cursor tool: a crosshair (or one of its lines) over the chart that
// the user drags or that follows the mouse, optionally snapping to the
// points of a series. The lines are an overlay drawn from the cursor's
// values, so moving them repaints no series.
#include "chart/tools/PlotCustomTool.h"

#include <functional>

namespace cb::chart {

enum TCursorToolStyle {
    cssHorizontal,
    cssVertical,
    cssBoth
};

class TCursorTool;
using TCursorToolChangeEvent = std::function<void(TCursorTool* sender, int x, int y, double xValue, double yValue,
                                                  TChartSeries* series, int valueIndex)>;

class TCursorTool : public TPlotCustomToolSeries {
public:
    TCursorTool();

    TCursorToolStyle Style() const { return FStyle; }
    // Snaps again.
    void SetStyle(TCursorToolStyle s);
    bool Snap() const { return FSnap; }
    void SetSnap(bool on) { StoreBooleanAndRepaint(FSnap, on); }
    bool FollowMouse() const { return FFollowMouse; }
    void SetFollowMouse(bool on) { FFollowMouse = on; }
    bool UseSeriesZ() const { return FUseSeriesZ; }
    void SetUseSeriesZ(bool on) { StoreBooleanAndRepaint(FUseSeriesZ, on); }
    // Snaps again and repaints when a series is given.
    void SetSeries(TChartSeries* series) override;

    // The cursor in axis values and in pixels (-1 until first placed).
    double XValue() const { return FXValue; }
    double YValue() const { return FYValue; }
    int X() const { return FX; }
    int Y() const { return FY; }
    // Moves the cursor to these values (pixels follow at once).
    void SetValues(double x, double y);
    // Index of the point last snapped to; -1 for none.
    int SnappedIndex() const { return FSnapIndex; }

    TCursorToolChangeEvent OnChange, OnSnapChange;
    virtual void NotifyChange(int valueIndex);

    // The area the cursor lives in: the pixel ranges of the two axes.
    TRect Area() const;
    // Nearest point by Style (only with Snap and a Series); -1 for none.
    int SnapToPoint();

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TCursorToolEditor"; }

private:
    enum TPart {
        partNone,
        partHorizontal,
        partVertical,
        partBoth
    };
    void unproject(int& x, int& y) const;
    TPart partAt(int x, int y) const;
    void valuesFromPixels(int x, int y, TPart part);
    void pixelsFromValues();
    void draw();

    TCursorToolStyle FStyle = cssBoth;
    bool FSnap = false;
    bool FFollowMouse = false;
    bool FUseSeriesZ = false;
    double FXValue = 0, FYValue = 0;
    int FX = -1, FY = -1;
    TPart FDragging = partNone;
    int FSnapIndex = -1;
};

}  // namespace cb::chart
