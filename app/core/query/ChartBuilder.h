#pragma once
// What the display manager asks of the chart builder, which fills the
// chart's series from a cellset. TGraphDisplayManager is the builder; tests
// of the display manager put a recording one in its place.
#include "olap/adomd/Adomd.h"

#include <memory>
#include <string>

namespace cb::chart {
class TChart;
}

namespace cb::app {

// Which cells the chart shows.
enum TChartDataMode : int {
    cdmSelectedColumn = 0,
    cdmSelectedRow = 1,
    cdmAllCells = 2
};

// The group-by level of no grouping.
inline constexpr int kNoGroupBy = -1;

// Chart type codes.
enum TChartTypeCode : int {
    ctcBar = 0,
    ctcPie = 1,
    ctcBarDepth = 2,
    ctcStackedBar = 3,
    ctcDoughnut = 4,
    ctcSideBySideBar = 5,
    ctcPyramid = 6,
    ctcLine = 7
};

// The chart builder.
class IChartBuilder {
public:
    virtual ~IChartBuilder() = default;
    virtual void SetChart(cb::chart::TChart* chart) = 0;
    virtual cb::chart::TChart* GetChart() const = 0;
    // Whether the chart is switched on; the display manager builds only then.
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool GetEnabled() const = 0;
    // Keeps the cellset, forgets the selected column and row, and builds.
    virtual void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) = 0;
    // Builds the series; false without chart or open cellset.
    virtual bool Render() = 0;
    // Points of all series together.
    virtual int GetTotalPointCount() const = 0;
    // A changed column or row position builds again unless all cells show.
    virtual void SetColumn(int position) = 0;
    virtual int GetColumn() const = 0;
    virtual void SetRow(int position) = 0;
    virtual int GetRow() const = 0;
    // The setters below store only (the marks style is applied at once).
    virtual void SetGroupBy(int level) = 0;
    virtual int GetGroupBy() const = 0;
    virtual void SetMarksStyle(int style) = 0;
    virtual int GetMarksStyle() const = 0;
    virtual void SetDataMode(TChartDataMode mode) = 0;
    virtual TChartDataMode GetDataMode() const = 0;
    virtual void SetShowAllMembers(bool show) = 0;
    virtual bool GetShowAllMembers() const = 0;
    virtual void SetChartType(int type) = 0;
    virtual int GetChartType() const = 0;
    // The measure kept by the measure filter, and the filter itself.
    virtual void SetMeasureName(const std::string& uniqueName) = 0;
    virtual std::string GetMeasureName() const = 0;
    virtual void SetMeasureFilter(bool on) = 0;
    virtual bool GetMeasureFilter() const = 0;
};

}  // namespace cb::app
