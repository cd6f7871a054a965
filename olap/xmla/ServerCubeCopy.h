#pragma once
// CREATE GLOBAL CUBE with a server's cube as the source, carried out here:
// the members of the chosen dimensions are read level by level, the
// leaf-level cells of the chosen measures in pages, and the local cube file
// is written complete or not at all.
#include "olap/mdx/Ast.h"

namespace cb::olap::xmla {

class CubeContext;

// Throws EOlapError naming what could not be copied. A measure that the
// server sums, counts, or takes the least or greatest of is copied (a count
// becomes the sum of the leaf counts); calculated members and measures the
// server adds up otherwise (averages, distinct counts) are refused.
void CopyServerCube(CubeContext& source, const mdx::CreateCubeStatement& statement);

}  // namespace cb::olap::xmla
