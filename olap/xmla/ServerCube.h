#pragma once
// The object model over an analysis server: cube definitions read when first
// used, members read by level or by parent when first asked for, and
// cellsets from Execute. Unique names are the application's (NameMap).
//
// Ownership: the objects of a cube share its CubeContext (session, names,
// the members read so far); the context holds no object of the model, so
// nothing forms a cycle. Everything here may be used from several threads.
#include "olap/adomd/Provider.h"
#include "olap/xmla/NameMap.h"
#include "olap/xmla/XmlaSession.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace cb::olap::xmla {

struct MemberInfo {
    std::string name;
    std::string uniqueName;  // the application's form
    std::string caption;
    std::string levelUniqueName;
    std::string parentUniqueName;  // the application's form; empty at the top or when not known
    int depth = 0;
    int childCount = 0;
    bool calculated = false;
    std::string expression;  // of a calculated member, when the server tells it
};

struct LevelInfo {
    std::string hierarchy;  // the hierarchy's unique name
    std::string uniqueName;
    std::string name;
    std::string caption;
    int depth = 0;
    long long cardinality = -1;  // -1: not known
    bool isAll = false;          // the level of the All member
};

struct MeasureInfo {
    std::string uniqueName;
    int aggregator = 0;  // the server's MEASURE_AGGREGATOR: 1 sum, 2 count, 3 min, 4 max, 127 calculated, ...
    std::string formatString;
};

class CubeContext : public std::enable_shared_from_this<CubeContext> {
public:
    CubeContext(std::shared_ptr<Session> session, std::string cubeName);

    Session& GetSession() const { return *FSession; }
    const std::string& CubeName() const { return FCubeName; }
    // "[Cube]" for statements.
    std::string CubeReference() const;

    // Set once, when the cube definition is read.
    void SetStructure(NameMap names, std::vector<LevelInfo> levels, std::vector<MemberInfo> measures,
                      std::vector<MeasureInfo> measureDetails);
    const NameMap& Names() const { return FNames; }
    const std::vector<LevelInfo>& Levels() const { return FLevels; }
    const std::vector<MeasureInfo>& MeasureDetails() const { return FMeasureDetails; }
    // The level below, in the same hierarchy; null when it is the last.
    const LevelInfo* LevelBelow(const std::string& levelUniqueName) const;

    std::vector<MemberInfo> LevelMembers(const LevelInfo& level);
    std::vector<MemberInfo> ChildrenOf(const MemberInfo& member);
    std::shared_ptr<Member> MemberFor(const MemberInfo& info);
    std::shared_ptr<Member> MemberFor(const TupleMember& tuple);

    // Levels up to this many members are read whole the first time a member
    // of the level above is opened (one request instead of one per parent).
    static constexpr long long kWholeLevelLimit = 2000;

private:
    std::vector<MemberInfo> ReadMembers(const Pairs& restrictions);
    void Remember(const std::vector<MemberInfo>& infos);
    std::vector<MemberInfo> InfosOf(const std::vector<std::string>& names) const;

    std::shared_ptr<Session> FSession;
    std::string FCubeName;
    NameMap FNames;
    std::vector<LevelInfo> FLevels;
    std::vector<MeasureInfo> FMeasureDetails;

    mutable std::mutex FLock;
    std::unordered_map<std::string, MemberInfo> FInfos;                // by unique name
    std::map<std::string, std::vector<std::string>> FLevelMembers;     // level -> members, in order
    std::map<std::string, std::vector<std::string>> FChildren;         // parent -> children, in order
    std::unordered_map<std::string, std::weak_ptr<Member>> FRegistry;  // live member objects
    size_t FRegistryPruneAt = 4096;
};

class ServerCubeDef : public CubeDef {
public:
    ServerCubeDef(std::shared_ptr<Session> session, const Row& cubeRow);
    std::string Name() const override { return FName; }
    Collection<Dimension> Dimensions() const override;
    Collection<Property> Properties() const override;

    // Reads the cube's structure when not done yet; throws EOlapError.
    const std::shared_ptr<CubeContext>& Context() const;

private:
    void Load() const;

    std::string FName;
    std::string FLastUpdate;
    mutable std::mutex FLock;
    mutable bool FLoaded = false;
    mutable std::shared_ptr<CubeContext> FContext;
    mutable Collection<Dimension> FDimensions;
};

class ServerProvider : public Provider {
public:
    // Reads the catalog's cubes; throws EOlapError naming the server.
    ServerProvider(const std::string& server, const std::string& catalog);

    Collection<CubeDef> CubeDefs() override { return FCubeDefs; }
    std::shared_ptr<const CellsetResult> Execute(const std::string& statement) override;

    const std::shared_ptr<Session>& GetSession() const { return FSession; }
    // The cube of that name (case ignored, as MDX does); throws EOlapError.
    std::shared_ptr<ServerCubeDef> FindCube(const std::string& name) const;

private:
    std::shared_ptr<Session> FSession;
    Collection<CubeDef> FCubeDefs;
};

}  // namespace cb::olap::xmla
