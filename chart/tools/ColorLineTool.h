#pragma once
// The colour line tool: a line across the chart at one value of an axis,
// which the user can drag along the axis.
#include "chart/tools/PlotCustomTool.h"

#include <functional>

namespace cb::chart {

enum TColorLineStyle {
    clCustom,
    clMaximum,
    clCenter,
    clMinimum
};

class TColorLineTool;
using TColorLineToolOnDrag = std::function<void(TColorLineTool* sender)>;

class TColorLineTool : public TPlotCustomToolAxis {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        double Value = 0;
        TColorLineStyle Style = clCustom;
        bool AllowDrag = true;
        bool NoLimitDrag = false;
        bool DragRepaint = false;
        bool Draw3D = true;
        bool DrawBehind = false;
        bool operator==(const TSettings&) const = default;
    };

    double Value() const { return FSettings.Value; }
    // Switches Style to clCustom (unless the chart is being loaded).
    void SetValue(double v);
    TColorLineStyle Style() const { return FSettings.Style; }
    void SetStyle(TColorLineStyle s) { StoreAndRepaint(FSettings.Style, s); }
    bool AllowDrag() const { return FSettings.AllowDrag; }
    void SetAllowDrag(bool on) { FSettings.AllowDrag = on; }
    bool NoLimitDrag() const { return FSettings.NoLimitDrag; }
    void SetNoLimitDrag(bool on) { FSettings.NoLimitDrag = on; }
    bool DragRepaint() const { return FSettings.DragRepaint; }
    void SetDragRepaint(bool on) { FSettings.DragRepaint = on; }
    bool Draw3D() const { return FSettings.Draw3D; }
    void SetDraw3D(bool on) { StoreBooleanAndRepaint(FSettings.Draw3D, on); }
    bool DrawBehind() const { return FSettings.DrawBehind; }
    void SetDrawBehind(bool on) { StoreBooleanAndRepaint(FSettings.DrawBehind, on); }
    TColorLineToolOnDrag OnBeginDragLine, OnDragLine, OnEndDragLine;
    bool Dragging() const { return FDragging; }

    // The value by Style.
    double EffectiveValue() const;
    // Where the line is drawn: the effective value kept inside the axis'
    // range when dragging is limited. Value itself is never changed by
    // drawing, so zooming in and out leaves the line where it was.
    double DrawnValue() const;
    int Pixel() const;
    bool Clicked(int x, int y) const;
    // The passes: behind (before the series) and in front (end of paint).
    void DrawBehindPass();
    void DrawFrontPass();

    // For a line drawn by another tool on that tool's chart.
    void SetDrawChart(TCustomAxisPanel* chart) { FDrawChart = chart; }
    TCustomAxisPanel* TargetChart() const override { return FDrawChart ? FDrawChart : ParentChart(); }
    std::function<void(TColorLineTool*)> OnEndDragInternal;
    virtual void NotifyEndDrag();

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TColorLineToolEditor"; }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TColorLineTool& source);

private:
    double limited(double v) const;
    bool chartIs3D() const;
    // The chart to draw on with the pen selected; none when nothing shows.
    TCustomAxisPanel* penChart();
    void drawPass(bool front);

    TSettings FSettings;
    bool FDragging = false;
    TCustomAxisPanel* FDrawChart = nullptr;
};

}  // namespace cb::chart
