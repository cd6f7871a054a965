#pragma once
// Computes stored-measure cells for every (column tuple, row tuple) pair in
// one pass over the fact columns.
#include "olap/engine/CubeData.h"

#include <cstddef>
#include <vector>

namespace cb::olap {

// The tuples of one result axis, without the measures dimension.
struct AxisTuples {
    std::vector<int> dims;          // dimension indexes, outermost first
    std::vector<MemberId> members;  // tuple t, dimension k at [t * dims.size() + k]
    size_t tupleCount = 1;          // 1 and no dims: the axis does not slice
};

struct AggregateResult {
    size_t columns = 0;         // column tuple count
    size_t rows = 0;            // row tuple count
    std::vector<int> measures;  // stored measure indexes, in request order
    // values[(row * columns + col) * measures.size() + m]; NaN when no fact
    // with a non-null value contributed.
    std::vector<double> values;

    double value(size_t col, size_t row, size_t m) const { return values[(row * columns + col) * measures.size() + m]; }
};

// Every dimension not on either axis stands at its (All) member.
AggregateResult Aggregate(const CubeData& cube, const AxisTuples& columns, const AxisTuples& rows,
                          const std::vector<int>& measures);

}  // namespace cb::olap
