#pragma once
// What the display manager asks of the grid layout manager, which writes a
// cellset into the pivot grid.
#include "olap/adomd/Adomd.h"

#include <memory>
#include <string>

namespace cb::grid {
class TExtStringGrid;
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

}  // namespace cb::app
