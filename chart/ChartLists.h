#pragma once
// The chart's series list, axes list and tools list, and the tool bases:
// tools, tools bound to one series and tools bound to one axis.
#include "chart/ChartElement.h"
#include "chart/ChartSeries.h"

#include <string>
#include <vector>

namespace cb::chart {

class TChartAxis;
class TCustomAxisPanel;

// A named group of series.
class TSeriesGroup {
public:
    std::string Name;
    TCustomSeriesList Series;
};

// The chart's series in drawing order, with the series groups. Does not own
// the series.
class TChartSeriesList : public TCustomSeriesList {
public:
    explicit TChartSeriesList(TCustomAxisPanel* chart) : FChart(chart) {}
    TCustomAxisPanel* Chart() const { return FChart; }
    void PutSeries(int index, TChartSeries* series);
    void EmptyAllSeries();
    // True for an empty list.
    bool EverySeriesActive() const;
    void SetEverySeriesActive(bool on);
    TSeriesGroup* NewSeriesGroup(const std::string& name);
    int GroupCount() const { return int(FGroups.size()); }
    TSeriesGroup* GroupAt(int index) const { return FGroups.at(std::size_t(index)).get(); }

private:
    TCustomAxisPanel* FChart;
    std::vector<std::unique_ptr<TSeriesGroup>> FGroups;
};

// Every axis of a chart: the six built-in ones, then the custom ones.
// Owns them; an axis that is destroyed leaves the list.
class TChartAxes {
public:
    explicit TChartAxes(TCustomAxisPanel* chart) : FChart(chart) {}
    ~TChartAxes() { Clear(); }
    int Count() const { return int(FItems.size()); }
    TChartAxis* AxisAt(int index) const;
    TChartAxis* operator[](int index) const { return AxisAt(index); }
    int IndexOf(const TChartAxis* axis) const;
    void Add(TChartAxis* axis) { FItems.push_back(axis); }
    void Remove(const TChartAxis* axis);
    // Frees the axes from the front.
    void Clear();
    TChartAxis* GetLeftAxis() const;
    TChartAxis* GetTopAxis() const;
    TChartAxis* GetRightAxis() const;
    TChartAxis* GetBottomAxis() const;
    TChartAxis* GetDepthAxis() const;
    TChartAxis* GetDepthTopAxis() const;
    bool GetAxisBehind() const;
    bool GetAxisVisible() const;
    void SetAxisBehind(bool on);
    void SetAxisVisible(bool on);

private:
    TCustomAxisPanel* FChart;
    std::vector<TChartAxis*> FItems;
};

// The custom axes, in creation order (not owned: the axes list owns them).
class TChartCustomAxes {
public:
    explicit TChartCustomAxes(TCustomAxisPanel* chart) : FChart(chart) {}
    int Count() const { return int(FItems.size()); }
    TChartAxis* AxisAt(int index) const;
    // A new custom axis of the chart.
    TChartAxis* Add();
    // Frees the axis.
    void Delete(int index);
    void Clear();
    void Join(TChartAxis* axis) { FItems.push_back(axis); }
    void Leave(const TChartAxis* axis);

private:
    TCustomAxisPanel* FChart;
    std::vector<TChartAxis*> FItems;
};

class TPlotCustomTool;

// The chart's tools in notification order; owns them.
class TChartTools {
public:
    explicit TChartTools(TCustomAxisPanel* chart) : FChart(chart) {}
    ~TChartTools() { Clear(); }
    int Count() const { return int(FItems.size()); }
    TPlotCustomTool* ToolAt(int index) const;
    TPlotCustomTool* operator[](int index) const { return ToolAt(index); }
    // The tool joins the chart (and this list); returned.
    TPlotCustomTool* AddTool(TPlotCustomTool* tool);
    // Frees every tool from the front.
    void Clear();
    void Add(TPlotCustomTool* tool) { FItems.push_back(tool); }
    void Remove(const TPlotCustomTool* tool);
    const std::vector<TPlotCustomTool*>& Items() const { return FItems; }

private:
    TCustomAxisPanel* FChart;
    std::vector<TPlotCustomTool*> FItems;
};

enum TChartStage {
    csEndOfPaint = 0,
    csBeforeSeries = 1,
    csStartOfPaint = 2,
    csBeforeAxes = 3,
    csAfterSeries = 4,
    csMouseLeave = 5
};

class TPlotCustomTool : public TCustomChartElement {
public:
    ~TPlotCustomTool() override;
    virtual void HandleChartStage(int code) { (void)code; }
    virtual void HandleChartMouse(int kind, int button, unsigned shift, int x, int y) {
        (void)kind;
        (void)button;
        (void)shift;
        (void)x;
        (void)y;
    }
    virtual std::string DescriptionText() const { return {}; }
    // Leaves the old chart's tools (repainting it when going to none) and
    // joins the new chart's.
    void SetParentChart(TCustomAxisPanel* chart) override;
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
    void AxisDestroyed(const TChartAxis* axis) {
        if (FAxis == axis) FAxis = nullptr;
    }

private:
    TChartAxis* FAxis = nullptr;
};

}  // namespace cb::chart
