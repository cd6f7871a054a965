#pragma once
// Loads a CSV file into a grid. The file is read and checked whole before
// the grid changes (a bad file leaves it as it was); the grid grows once.
#include <functional>
#include <string>

namespace cb::grid {

class TExtStringGrid;

// Files larger than this are refused.
inline constexpr std::size_t MaxCsvFileBytes = std::size_t(1) << 30;
// Records and fields beyond these are refused.
inline constexpr long long MaxCsvRows = 50'000'000;
inline constexpr int MaxCsvCols = 16384;

// Replace: the grid's cells are emptied and the records fill it from cell
// (0, 0), fixed cells included; the row count becomes the records plus the
// fixed footer rows. Append: the records go below the last normal row,
// above the fixed footer rows, and earlier cells stay. progress receives
// whole percentages, each once. Throws EExtGridError ("Cannot open file "
// and the name; an unclosed quote names its line).
void ImportCSV(TExtStringGrid& grid, const std::string& fileName, bool append,
               const std::function<void(int percent)>& progress = {});

}  // namespace cb::grid
