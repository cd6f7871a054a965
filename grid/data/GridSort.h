#pragma once
// Sorting a grid's normal rows (FixedRows up to the footer rows) by one
// column, by the columns of its sort index list, or within the groups
// under its node rows. The order is found first, comparing the rows where
// they stand; the rows are then moved by exchanging them (so objects,
// heights and marks travel with their rows). A comparison that fails
// leaves the grid as it was. Equal rows keep their order.
#include "grid/util/GridTypes.h"

#include <functional>
#include <string>

class QObject;

namespace cb::grid {

class TExtStringGrid;

// Compare events (Res arrives 0; > 0 means the first sorts after).
struct TSortHooks {
    std::function<void(QObject*, const std::string& str1, const std::string& str2, int& res)> OnCustomCompare;
    std::function<void(QObject*, int col, int row1, int row2, int& res)> OnRawCompare;
};

// -1, 0 or +1; +1 when row1 sorts after row2 ascending. The style comes
// from GetCellFormat (ssAutomatic reads the two cells: empty cells, then
// check boxes, numbers, dates, texts).
int CompareCells(TExtStringGrid& grid, const TSortHooks& hooks, int col, int row1, int row2);
// With SortSettings.Full, ties go to the columns right of col.
int CompareRows(TExtStringGrid& grid, const TSortHooks& hooks, int col, int row1, int row2);
// Entry by entry of SortIndexes from position k, each with its direction.
int CompareRowsIndexed(TExtStringGrid& grid, const TSortHooks& hooks, int k, int row1, int row2);

// By SortSettings.Column in SortSettings.Direction (SortIndexes emptied).
void SortByColumn(TExtStringGrid& grid, const TSortHooks& hooks = {});
// By SortIndexes; EExtGridError "No indexes specified for indexed sort"
// when it is empty.
void SortByIndex(TExtStringGrid& grid, const TSortHooks& hooks = {});
// The rows under each node row, by SortSettings.Column; the footer rows
// stay out.
void SortNodeGroups(TExtStringGrid& grid, const TSortHooks& hooks = {});

}  // namespace cb::grid
