#pragma once
// Resolves names written in a query against the cube: dimensions, levels,
// members and measures. Names compare without regard to case.
#include "olap/engine/CubeData.h"
#include "olap/mdx/Ast.h"
#include "olap/mdx/QueryResult.h"

#include <string>
#include <vector>

namespace cb::olap::mdx {

struct BoundName {
    enum class Kind {
        Dimension,
        Level,
        Member
    } kind = Kind::Dimension;
    int dim = 0;      // kMeasuresDim for the measures
    int depth = 0;    // Level
    MemberId id = 0;  // Member: member id, or measure index for the measures
};

class Binder {
public:
    explicit Binder(const CubeData& cube) : FCube(cube) {}

    // Throws EOlapError "Unknown dimension|level|member|measure <name> at line L, column C".
    BoundName Resolve(const std::vector<NamePart>& parts, const SourcePos& pos) const;

    const CubeData& Cube() const { return FCube; }
    size_t MeasureCount() const { return FCube.measures.size() + FCube.calculatedMembers.size(); }
    bool IsCalculated(MemberId measure) const { return measure >= FCube.measures.size(); }
    std::string DimensionName(int dim) const;
    std::string MemberName(int dim, MemberId id) const;
    std::string LevelName(int dim, int depth) const;
    // The members of a level, or every member of a dimension in pre-order;
    // for the measures the stored measures (and the calculated ones when asked).
    std::vector<MemberId> LevelMembers(int dim, int depth) const;
    std::vector<MemberId> DimensionMembers(int dim, bool withCalculated) const;
    int LevelCount(int dim) const;

private:
    const CubeData& FCube;
};

// Without regard to letter case, as names are matched (see NameFold.h).
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace cb::olap::mdx
