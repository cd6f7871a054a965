#pragma once
// Private parts of the object model shared by its source files.
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeData.h"
#include "olap/mdx/QueryResult.h"

#include <memory>

namespace cb::olap {

// What a Member object stands for: a member of a dimension, or (dim ==
// mdx::kMeasuresDim) a stored or calculated measure by index.
class MemberRef {
public:
    MemberRef(std::shared_ptr<const CubeData> c, int d, MemberId i) : cube(std::move(c)), dim(d), id(i) {}
    std::shared_ptr<const CubeData> cube;
    int dim;
    MemberId id;
};

class CellsetResult {
public:
    std::shared_ptr<const CubeData> cube;
    mdx::QueryResult result;
};

std::shared_ptr<Member> MakeMember(const std::shared_ptr<const CubeData>& cube, int dim, MemberId id);

}  // namespace cb::olap
