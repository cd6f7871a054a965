#pragma once
// The in-memory form of an open cube: dimensions with their levels and
// members, measures, calculated members, and the facts as contiguous columns.
//
// Members of a dimension are stored in hierarchy pre-order, so the members
// below any member m are exactly the ids m.id+1 .. m.subtreeEnd-1. Member 0 of
// every dimension is its (All) member at depth 0. Facts reference leaf
// members (the deepest level) by id; a fact belongs to member m when
// m.id <= key < m.subtreeEnd.
//
// Naming: a dimension's unique name is "[Dim]"; a member's unique name is its
// parent's unique name + ".[" + name + "]"; the (All) member is named "All"
// with the unique name "[Dim].[All]", so a city is "[Dim].[All].[USA].[Boston]".
// Measures are "[Measures].[name]".
#include "olap/engine/FactColumn.h"
#include "olap/engine/MemberNameIndex.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace cb::olap {

constexpr MemberId kNoMember = std::numeric_limits<MemberId>::max();

struct MemberData {
    std::string name;                // as stored, no brackets or dots
    std::string caption;             // what people see (usually the name)
    std::string uniqueName;          // bracketed path, see above
    MemberId parent = kNoMember;     // kNoMember for the (All) member
    uint16_t depth = 0;              // level depth, 0 for (All)
    MemberId subtreeEnd = 0;         // one past the last descendant (pre-order)
    std::vector<MemberId> children;  // in member order
};

struct LevelData {
    std::string name;        // "(All)" at depth 0
    std::string uniqueName;  // "[Dim].[Level]"
    std::string caption;
    uint16_t depth = 0;
    std::vector<MemberId> members;  // in member (pre-)order
};

struct DimensionData {
    std::string name;                 // without brackets
    std::string uniqueName;           // "[name]"
    std::vector<LevelData> levels;    // levels[0] is (All)
    std::vector<MemberData> members;  // pre-order; members[0] is the (All) member
};

enum class Aggregation : uint8_t {
    Sum,
    Count,
    Min,
    Max
};

struct MeasureData {
    std::string name;        // without brackets
    std::string uniqueName;  // "[Measures].[name]"
    Aggregation aggregation = Aggregation::Sum;
    std::string formatString;  // e.g. "#,##0.00"; empty means general
};

struct CalculatedMemberData {
    std::string name;        // without brackets
    std::string uniqueName;  // "[Measures].[name]"
    std::string expression;  // e.g. "[Measures].[Revenue] - [Measures].[Cost]"
    std::string formatString;
};

struct CubeData {
    std::string name;
    std::string lastDataUpdate;             // text as stored, e.g. "2026-12-10 12:00:00"
    std::vector<DimensionData> dimensions;  // provider order; measures are separate
    std::vector<MeasureData> measures;
    std::vector<CalculatedMemberData> calculatedMembers;

    size_t factCount = 0;
    // factKeys[d][f]: leaf member id of fact f in dimension d.
    std::vector<FactKeyColumn> factKeys;
    // factValues[m][f]: value of stored measure m for fact f; NaN means null.
    std::vector<FactValueColumn> factValues;

    // Member look-up by name, built when first needed (see MemberNameIndex).
    MemberNameIndexCache nameIndex;
};

}  // namespace cb::olap
