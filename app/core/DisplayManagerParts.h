#pragma once
// What the display manager asks of the two parts it owns: the grid layout
// manager, which writes a cellset into the pivot grid, and the chart
// builder, which fills the chart's series from it.
#include "olap/adomd/Adomd.h"

#include <memory>
#include <string>

namespace cb::grid {
class TExtStringGrid;
}
namespace cb::chart {
class TChart;
}

namespace cb::app {

// The grid layout manager. Cells are (column, row), counted from 0.
class IGridLayout {
public:
    virtual ~IGridLayout() = default;
    // The grid to fill (not owned); none detaches it.
    virtual void SetGrid(cb::grid::TExtStringGrid* grid) = 0;
    virtual cb::grid::TExtStringGrid* GetGrid() const = 0;
    // The display cellset, handed over right before every Render.
    virtual void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) = 0;
    // Lays the cellset out into the grid; false when the layout stopped on
    // an error (what was written stays).
    virtual bool Render() = 0;
    // The cell's key: "[name]" for a dimension-name cell, a member's unique
    // name for a member caption, "d" for a data cell, "" for a cell without
    // a role, "-1" outside the table.
    virtual std::string GetCellKey(int column, int row) const = 0;
    // The data position (column or row of the result) of a grid column or row.
    virtual int GridColumnToPosition(int column) const = 0;
    virtual int GridRowToPosition(int row) const = 0;
};

// The chart builder. Codes and values are those of its settings:
// data mode 0 selected column, 1 selected row, 2 all cells; group-by -1 none.
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
    // A changed column or row position builds again unless the data mode is 2.
    virtual void SetColumn(int position) = 0;
    virtual int GetColumn() const = 0;
    virtual void SetRow(int position) = 0;
    virtual int GetRow() const = 0;
    // The setters below store only (the marks style is applied at once).
    virtual void SetGroupBy(int level) = 0;
    virtual int GetGroupBy() const = 0;
    virtual void SetMarksStyle(int style) = 0;
    virtual int GetMarksStyle() const = 0;
    virtual void SetDataMode(int mode) = 0;
    virtual int GetDataMode() const = 0;
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
