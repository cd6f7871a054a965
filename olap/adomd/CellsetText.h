#pragma once
// A plain-text picture of an open cellset, for tools and tests:
//
//   COLUMNS 1
//   [Measures].[Revenue]
//   ROWS 1
//   [Customer].[All] | 1,234.00
//
// The number after COLUMNS and ROWS is the axis's dimension count; a tuple
// of several members is written "(a, b)"; each row line ends with that row's
// formatted cells, one per column position, each after " |" and a blank
// (no blank for an empty cell).
#include "olap/adomd/Adomd.h"

#include <string>

namespace cb::olap {

std::string CellsetToText(const Cellset& cellset);

}  // namespace cb::olap
