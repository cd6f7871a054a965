#pragma once
// The result of an MDX SELECT: the tuples of both axes and the cells.
#include "olap/engine/CubeData.h"

#include <cstddef>
#include <string>
#include <vector>

namespace cb::olap::mdx {

// Dimension index of the measures in tuples; a measures member id is the
// measure's index, calculated members following the stored measures.
constexpr int kMeasuresDim = -1;

struct ResultAxis {
    std::vector<int> dims;          // outermost first; empty for an empty set
    std::vector<MemberId> members;  // position p, dimension k at [p * dims.size() + k]
    size_t positionCount = 0;

    MemberId member(size_t position, size_t k) const { return members[position * dims.size() + k]; }
};

struct QueryResult {
    ResultAxis axes[2];  // 0 columns, 1 rows
    // Cell (col, row) at [row * columns + col]; NaN for an empty cell.
    std::vector<double> values;
    std::vector<std::string> formatted;

    size_t columns() const { return axes[0].positionCount; }
    size_t rows() const { return axes[1].positionCount; }
};

}  // namespace cb::olap::mdx
