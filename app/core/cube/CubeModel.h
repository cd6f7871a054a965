#pragma once
// Small value types that hold pieces of a cube outside the object model,
// and helpers that read facts about a cube from it.
#include "olap/adomd/Adomd.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace cb::app {

class TBaseUserInterface;

class TDimensionMember {
public:
    std::string Caption;
    int32_t Depth = 0;
    bool Selected = false;
    std::string UniqueName;

    void Assign(const TDimensionMember& source) { *this = source; }
};

struct TCubeDimensionLevel {
    std::string UniqueName;
    bool Selected = false;
};

class TCubeDimensionLevelList {
public:
    void Add(TCubeDimensionLevel level) { FLevels.push_back(std::move(level)); }
    int Count() const { return static_cast<int>(FLevels.size()); }
    const TCubeDimensionLevel& GetLevel(int index) const { return FLevels.at(static_cast<size_t>(index)); }

private:
    std::vector<TCubeDimensionLevel> FLevels;
};

// A dimension with its members in reading order. The measures' type is 2;
// a dimension that does not say its type has 4.
class TDimension {
public:
    std::string Name;
    int32_t DimensionType = 4;
    bool IsMeasures = false;
    std::string UniqueName;

    // Copies name, type and unique name and replaces the members by copies.
    void Assign(const TDimension& source);
    void AddMember(std::unique_ptr<TDimensionMember> member);
    // The first member with exactly this unique name, or none.
    TDimensionMember* FindMember(const std::string& uniqueName) const;
    TDimensionMember* GetMember(int index) const;
    int GetMemberCount() const { return static_cast<int>(FMembers.size()); }
    TCubeDimensionLevelList& GetLevels() { return FLevels; }

private:
    std::vector<std::unique_ptr<TDimensionMember>> FMembers;
    TCubeDimensionLevelList FLevels;
};

std::unique_ptr<TDimensionMember> CloneDimensionMember(const TDimensionMember& member);

// Kinds of TDimensionObject.
enum : uint8_t {
    dokDimension = 0,
    dokLevel = 1,
    dokMember = 2,
    dokGridHeader = 3
};

// The item behind a dimension, level, measure or grid header in lists,
// menus and drag and drop. AdoObject is empty for a grid header.
class TDimensionObject {
public:
    using TAdoObject =
        std::variant<std::monostate, std::shared_ptr<cb::olap::Dimension>, std::shared_ptr<cb::olap::Hierarchy>,
                     std::shared_ptr<cb::olap::Level>, std::shared_ptr<cb::olap::Member>>;
    TAdoObject AdoObject;
    uint8_t Kind = dokDimension;
    std::string UniqueName;
};

// The set expression that puts the item on an axis: a dimension's top
// level members, a level's members with the calculated ones, or (any other
// kind) the unique name itself.
std::string AxisSetOf(const TDimensionObject& item);

// "DIMENSION_TYPE" of the dimension (the last such property wins); 4 when
// there is no dimension or no such property. Object model errors pass.
int GetDimensionType(const cb::olap::Dimension* dimension);
// Unique names of every dimension but "[Measures]"; none on an error.
std::unique_ptr<std::vector<std::string>> GetCubeDimensionNames(const cb::olap::CubeDef* cube);
// The stored (not calculated) measures as bracketed names such as "[M]";
// none on an error.
std::unique_ptr<std::vector<std::string>> GetCubeMeasureNames(const cb::olap::CubeDef* cube);
// True when the member's "EXPRESSION" property is not blank.
bool IsCalculatedMember(const cb::olap::Member* member);
// "LAST_DATA_UPDATE" of the cube as text; empty when there is none.
std::string GetCubeLastDataUpdate(const cb::olap::CubeDef* cube);
// The text from its last "[" on; the whole text when it holds none.
std::string GetLastBracketedPart(const std::string& text);
// Checks a name for a new cube; the first failure is shown as an error
// through messagesTo when one is given.
bool IsValidCubeName(const std::string& name, TBaseUserInterface* messagesTo = nullptr);

}  // namespace cb::app
