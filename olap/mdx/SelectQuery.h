#pragma once
// Runs a parsed SELECT: evaluates both axes, then every cell.
#include "olap/mdx/Ast.h"
#include "olap/mdx/QueryResult.h"

namespace cb::olap::mdx {

// Most cells one result may hold.
constexpr size_t kMaxResultCells = 4'000'000;

// Throws EOlapError for a bad query or a result of more than kMaxResultCells.
QueryResult RunSelect(const SelectStatement& statement, const CubeData& cube);

}  // namespace cb::olap::mdx
