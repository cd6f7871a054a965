#pragma once
// The tool bases: tools, tools bound to one series and tools bound to one
// axis.
#include "chart/panel/ChartElement.h"
#include "chart/panel/PlotEvents.h"
#include "chart/tools/ChartTools.h"

#include <string>
#include <vector>

namespace cb::chart {

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;

class TPlotCustomTool : public TCustomChartElement {
public:
    ~TPlotCustomTool() override;
    virtual void HandleChartStage(TChartStage code) { (void)code; }
    virtual void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) {
        (void)kind;
        (void)button;
        (void)shift;
        (void)x;
        (void)y;
    }
    virtual std::string DescriptionText() const { return {}; }
    // The chart the tool draws on and reacts for: its parent chart unless
    // a tool draws for another (the colour band's own lines).
    virtual TCustomAxisPanel* TargetChart() const { return ParentChart(); }
    // Leaves the old chart's tools (repainting it when going to none) and
    // joins the new chart's, repainting it.
    void SetParentChart(TCustomAxisPanel* chart) override;

protected:
    void setChartCursor(int cursor);
    void cancelMouse();
    // The chart shows its picture again with the overlays drawn anew.
    void repaintOverlay();
};

class TPlotCustomToolSeries : public TPlotCustomTool {
public:
    TChartSeries* Series() const { return FSeries; }
    virtual void SetSeries(TChartSeries* series);
    std::string EditorClassName() const override { return "TSeriesToolEditor"; }
    // The series' axes, or BottomAxis and LeftAxis without a series.
    TChartAxis* HorizontalAxis() const;
    TChartAxis* VerticalAxis() const;

protected:
    void Notification(TCustomChartElement* gone) override;

private:
    TChartSeries* FSeries = nullptr;
};

class TPlotCustomToolAxis : public TPlotCustomTool {
public:
    TChartAxis* Axis() const { return FAxis; }
    // The tool joins the axis' chart.
    virtual void SetAxis(TChartAxis* axis);
    std::string EditorClassName() const override { return "TAxisToolEditor"; }
    // Index of Axis in the chart's axes list; -1 without an axis.
    int WriteAxisID() const;
    // Needs the chart; an index outside the list changes nothing.
    void ReadAxisID(int id);
    // Called by an axis that goes away.
    virtual void AxisDestroyed(const TChartAxis* axis) {
        if (FAxis == axis) FAxis = nullptr;
    }

protected:
    // The axis without joining its chart.
    void StoreAxis(TChartAxis* axis) { FAxis = axis; }

private:
    TChartAxis* FAxis = nullptr;
};

}  // namespace cb::chart
