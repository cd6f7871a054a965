#pragma once
// Runs a parsed SELECT: evaluates both axes, then every cell.
#include "olap/mdx/Ast.h"
#include "olap/mdx/QueryResult.h"

namespace cb::olap::mdx {

QueryResult RunSelect(const SelectStatement& statement, const CubeData& cube);

} // namespace cb::olap::mdx
