#include "olap/xmla/ServerCube.h"

#include "olap/mdx/Parser.h"
#include "olap/xmla/ServerCubeCopy.h"
#include "olap/xmla/ServerMdx.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <charconv>

namespace cb::olap::xmla {

namespace {

long long ToNumber(const std::string& text, long long fallback) {
    long long v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size() && !text.empty() ? v : fallback;
}

int ToInt(const std::string& text, int fallback) {
    const long long v = ToNumber(text, fallback);
    return v < 0 || v > 1000000000 ? fallback : static_cast<int>(v);
}

bool IsFalse(const std::string& text) {
    return cb::rtl::SameText(text, "false");
}

// What a calculated member's "EXPRESSION" holds when the server keeps its formula to itself.
const char* const kServerExpression = "(calculated by the analysis server)";

class ServerMember : public Member {
public:
    ServerMember(std::shared_ptr<CubeContext> context, MemberInfo info)
        : FContext(std::move(context)), FInfo(std::move(info)) {}

    std::string Name() const override { return FInfo.name; }
    std::string UniqueName() const override { return FInfo.uniqueName; }
    std::string Caption() const override { return FInfo.caption.empty() ? FInfo.name : FInfo.caption; }
    int LevelDepth() const override { return FInfo.depth; }
    std::string LevelName() const override { return FInfo.levelUniqueName; }
    int ChildCount() const override { return FInfo.childCount; }
    Collection<Member> Children() const override {
        std::lock_guard guard(FLock);
        if (!FChildrenRead) {
            std::vector<std::shared_ptr<Member>> items;
            for (const MemberInfo& c : FContext->ChildrenOf(FInfo)) items.push_back(FContext->MemberFor(c));
            FChildren = Collection<Member>(std::move(items));
            FChildrenRead = true;
        }
        return FChildren;
    }
    Collection<Property> Properties() const override {
        if (!FInfo.calculated) return Collection<Property>();
        const std::string expression = FInfo.expression.empty() ? kServerExpression : FInfo.expression;
        return Collection<Property>({std::make_shared<Property>("EXPRESSION", Variant(expression))});
    }

private:
    std::shared_ptr<CubeContext> FContext;
    MemberInfo FInfo;
    mutable std::mutex FLock;
    mutable bool FChildrenRead = false;
    mutable Collection<Member> FChildren;
};

class ServerLevel : public Level {
public:
    // A level of a hierarchy, whose members are read when first asked for.
    ServerLevel(std::shared_ptr<CubeContext> context, const LevelInfo& info)
        : Level(info.name, info.uniqueName, info.caption.empty() ? info.name : info.caption, info.depth),
          FContext(std::move(context)), FInfo(info) {}
    // The measures' level, whose members are known.
    ServerLevel(std::shared_ptr<CubeContext> context, const LevelInfo& info, const std::vector<MemberInfo>& members)
        : ServerLevel(std::move(context), info) {
        std::vector<std::shared_ptr<Member>> items;
        for (const MemberInfo& m : members) items.push_back(FContext->MemberFor(m));
        FMembers = Collection<Member>(std::move(items));
        FRead = true;
    }

    Collection<Member> Members() const override {
        std::lock_guard guard(FLock);
        if (!FRead) {
            std::vector<std::shared_ptr<Member>> items;
            for (const MemberInfo& m : FContext->LevelMembers(FInfo)) items.push_back(FContext->MemberFor(m));
            FMembers = Collection<Member>(std::move(items));
            FRead = true;
        }
        return FMembers;
    }

private:
    std::shared_ptr<CubeContext> FContext;
    LevelInfo FInfo;
    mutable std::mutex FLock;
    mutable bool FRead = false;
    mutable Collection<Member> FMembers;
};

class ServerCellsetResult : public CellsetResult {
public:
    ServerCellsetResult(const std::shared_ptr<CubeContext>& context, const ServerSelect& select, DataSet data)
        : FSelect(select), FData(std::move(data)) {
        FMembers.reserve(FData.memberTable.size());
        for (const TupleMember& t : FData.memberTable) FMembers.push_back(context->MemberFor(t));
    }

    int DimensionCount(int axis) const override {
        const AxisData* a = ServerAxis(axis);
        return a ? a->dims : 0;
    }
    size_t PositionCount(int axis) const override {
        if (!FSelect.present[axis]) return 1;  // columns alone: one row without members
        const AxisData* a = ServerAxis(axis);
        return a ? a->positions : 0;
    }
    std::shared_ptr<Member> MemberAt(int axis, size_t position, int k) const override {
        const AxisData* a = ServerAxis(axis);
        return FMembers[a->members[position * static_cast<size_t>(a->dims) + static_cast<size_t>(k)]];
    }
    Cell CellAt(size_t column, size_t row) const override {
        // Only asked for when both of our axes have positions: the columns
        // are the server's first axis and the rows, when present, its second.
        std::uint64_t ordinal = column;
        if (FSelect.present[1]) ordinal += static_cast<std::uint64_t>(row) * PositionCount(0);
        auto it = std::lower_bound(FData.cells.begin(), FData.cells.end(), ordinal,
                                   [](const CellData& c, std::uint64_t o) { return c.ordinal < o; });
        if (it == FData.cells.end() || it->ordinal != ordinal) return Cell(Variant(), std::string());
        std::string formatted = it->formatted;
        if (formatted.empty() && !it->value.IsEmpty()) formatted = it->value.ToString();
        return Cell(it->value, formatted);
    }

private:
    const AxisData* ServerAxis(int axis) const {
        const int s = FSelect.serverAxis[axis];
        return s >= 0 && static_cast<size_t>(s) < FData.axes.size() ? &FData.axes[static_cast<size_t>(s)] : nullptr;
    }

    ServerSelect FSelect;
    DataSet FData;
    std::vector<std::shared_ptr<Member>> FMembers;  // by DataSet::memberTable index
};

MemberInfo InfoFromRow(const Row& row, const NameMap& names) {
    MemberInfo m;
    m.name = row.Get("MEMBER_NAME");
    m.uniqueName = names.ToClient(row.Get("MEMBER_UNIQUE_NAME"));
    m.caption = row.Get("MEMBER_CAPTION");
    m.levelUniqueName = row.Get("LEVEL_UNIQUE_NAME");
    m.depth = ToInt(row.Get("LEVEL_NUMBER"), 0);
    m.childCount = ToInt(row.Get("CHILDREN_CARDINALITY"), 0);
    const std::string& parent = row.Get("PARENT_UNIQUE_NAME");
    if (!parent.empty()) m.parentUniqueName = names.ToClient(parent);
    m.calculated = row.Get("MEMBER_TYPE") == "4";  // a formula
    m.expression = row.Get("EXPRESSION");
    if (m.name.empty()) m.name = LastNamePart(row.Get("MEMBER_UNIQUE_NAME"));
    return m;
}

}  // namespace

// ---- CubeContext

CubeContext::CubeContext(std::shared_ptr<Session> session, std::string cubeName)
    : FSession(std::move(session)), FCubeName(std::move(cubeName)) {}

std::string CubeContext::CubeReference() const {
    return mdx::NameText({{FCubeName, true}});
}

void CubeContext::SetStructure(NameMap names, std::vector<LevelInfo> levels, std::vector<MemberInfo> measures,
                               std::vector<MeasureInfo> measureDetails) {
    std::lock_guard guard(FLock);
    FNames = std::move(names);
    FLevels = std::move(levels);
    FMeasureDetails = std::move(measureDetails);
    for (MemberInfo& m : measures) FInfos[m.uniqueName] = std::move(m);
}

const LevelInfo* CubeContext::LevelBelow(const std::string& levelUniqueName) const {
    const LevelInfo* level = nullptr;
    for (const LevelInfo& l : FLevels)
        if (l.uniqueName == levelUniqueName) level = &l;
    if (!level) return nullptr;
    for (const LevelInfo& l : FLevels)
        if (l.hierarchy == level->hierarchy && l.depth == level->depth + 1) return &l;
    return nullptr;
}

std::vector<MemberInfo> CubeContext::ReadMembers(const Pairs& restrictions) {
    Pairs r = {{"CATALOG_NAME", FSession->Catalog()}, {"CUBE_NAME", FCubeName}};
    r.insert(r.end(), restrictions.begin(), restrictions.end());
    std::vector<MemberInfo> infos;
    for (const Row& row : FSession->Discover("MDSCHEMA_MEMBERS", r)) infos.push_back(InfoFromRow(row, FNames));
    return infos;
}

void CubeContext::Remember(const std::vector<MemberInfo>& infos) {
    for (const MemberInfo& m : infos) FInfos[m.uniqueName] = m;
}

std::vector<MemberInfo> CubeContext::InfosOf(const std::vector<std::string>& names) const {
    std::vector<MemberInfo> out;
    out.reserve(names.size());
    for (const std::string& n : names) {
        auto it = FInfos.find(n);
        if (it != FInfos.end()) out.push_back(it->second);
    }
    return out;
}

std::vector<MemberInfo> CubeContext::LevelMembers(const LevelInfo& level) {
    std::lock_guard guard(FLock);
    auto known = FLevelMembers.find(level.uniqueName);
    if (known != FLevelMembers.end()) return InfosOf(known->second);
    std::vector<MemberInfo> infos =
        ReadMembers({{"HIERARCHY_UNIQUE_NAME", level.hierarchy}, {"LEVEL_UNIQUE_NAME", level.uniqueName}});
    Remember(infos);
    std::vector<std::string>& names = FLevelMembers[level.uniqueName];
    // The whole level gives every parent's children at once.
    std::map<std::string, std::vector<std::string>> byParent;
    for (const MemberInfo& m : infos) {
        names.push_back(m.uniqueName);
        if (!m.parentUniqueName.empty()) byParent[m.parentUniqueName].push_back(m.uniqueName);
    }
    for (auto& [parent, children] : byParent) FChildren.try_emplace(parent, std::move(children));
    return infos;
}

std::vector<MemberInfo> CubeContext::ChildrenOf(const MemberInfo& member) {
    {
        std::lock_guard guard(FLock);
        auto known = FChildren.find(member.uniqueName);
        if (known != FChildren.end()) return InfosOf(known->second);
    }
    if (member.childCount <= 0) return {};
    const LevelInfo* below = LevelBelow(member.levelUniqueName);
    if (below && below->cardinality >= 0 && below->cardinality <= kWholeLevelLimit) {
        LevelMembers(*below);
        std::lock_guard guard(FLock);
        auto known = FChildren.find(member.uniqueName);
        if (known != FChildren.end()) return InfosOf(known->second);
    }
    std::lock_guard guard(FLock);
    std::vector<MemberInfo> infos =
        ReadMembers({{"MEMBER_UNIQUE_NAME", FNames.ToServer(member.uniqueName)}, {"TREE_OP", "1"}});
    Remember(infos);
    std::vector<std::string>& names = FChildren[member.uniqueName];
    names.clear();
    for (const MemberInfo& m : infos) names.push_back(m.uniqueName);
    return infos;
}

std::shared_ptr<Member> CubeContext::MemberFor(const MemberInfo& info) {
    std::lock_guard guard(FLock);
    auto& slot = FRegistry[info.uniqueName];
    if (auto live = slot.lock()) return live;
    auto member = std::make_shared<ServerMember>(shared_from_this(), info);
    slot = member;
    if (FRegistry.size() > FRegistryPruneAt) {
        for (auto it = FRegistry.begin(); it != FRegistry.end();)
            it = it->second.expired() ? FRegistry.erase(it) : ++it;
        FRegistryPruneAt = std::max<size_t>(4096, FRegistry.size() * 2);
    }
    return member;
}

std::shared_ptr<Member> CubeContext::MemberFor(const TupleMember& tuple) {
    MemberInfo info;
    {
        std::lock_guard guard(FLock);
        const std::string name = FNames.ToClient(tuple.uniqueName);
        auto it = FInfos.find(name);
        if (it != FInfos.end()) {
            info = it->second;
        } else {
            info.name = LastNamePart(tuple.uniqueName);
            info.uniqueName = name;
            info.caption = tuple.caption;
            info.levelUniqueName = tuple.levelName;
            info.depth = tuple.levelNumber;
            info.childCount = static_cast<int>(tuple.displayInfo & 0xFFFF);
            FInfos[name] = info;
        }
    }
    return MemberFor(info);
}

// ---- ServerCubeDef

ServerCubeDef::ServerCubeDef(std::shared_ptr<Session> session, const Row& cubeRow) : FName(cubeRow.Get("CUBE_NAME")) {
    FLastUpdate = cubeRow.Get("LAST_DATA_UPDATE");
    if (FLastUpdate.empty()) FLastUpdate = cubeRow.Get("LAST_SCHEMA_UPDATE");
    // "2024-06-30T12:00:00" as the program shows times: "2024-06-30 12:00:00".
    if (FLastUpdate.size() > 10 && FLastUpdate[10] == 'T') FLastUpdate[10] = ' ';
    FContext = std::make_shared<CubeContext>(std::move(session), FName);
}

Collection<Property> ServerCubeDef::Properties() const {
    return Collection<Property>({std::make_shared<Property>("LAST_DATA_UPDATE", Variant(FLastUpdate))});
}

Collection<Dimension> ServerCubeDef::Dimensions() const {
    std::lock_guard guard(FLock);
    if (!FLoaded) Load();
    return FDimensions;
}

const std::shared_ptr<CubeContext>& ServerCubeDef::Context() const {
    std::lock_guard guard(FLock);
    if (!FLoaded) Load();
    return FContext;
}

void ServerCubeDef::Load() const {
    Session& session = FContext->GetSession();
    const Pairs cube = {{"CATALOG_NAME", session.Catalog()}, {"CUBE_NAME", FName}};
    Rowset dims = session.Discover("MDSCHEMA_DIMENSIONS", cube);
    Rowset hierarchies = session.Discover("MDSCHEMA_HIERARCHIES", cube);
    Rowset levels = session.Discover("MDSCHEMA_LEVELS", cube);
    Rowset measureDetails = session.Discover("MDSCHEMA_MEASURES", cube);
    if (dims.empty()) session.Fail("has no dimensions for the cube [" + FName + "]");

    // Dimensions in their ordinal order (servers list them by name).
    std::stable_sort(dims.begin(), dims.end(), [](const Row& a, const Row& b) {
        return ToNumber(a.Get("DIMENSION_ORDINAL"), 0) < ToNumber(b.Get("DIMENSION_ORDINAL"), 0);
    });
    std::stable_sort(hierarchies.begin(), hierarchies.end(), [](const Row& a, const Row& b) {
        return ToNumber(a.Get("HIERARCHY_ORDINAL"), 0) < ToNumber(b.Get("HIERARCHY_ORDINAL"), 0);
    });
    std::stable_sort(levels.begin(), levels.end(), [](const Row& a, const Row& b) {
        return ToNumber(a.Get("LEVEL_NUMBER"), 0) < ToNumber(b.Get("LEVEL_NUMBER"), 0);
    });

    NameMap names;
    std::vector<LevelInfo> levelInfos;
    for (const Row& h : hierarchies) names.AddHierarchy(h.Get("HIERARCHY_UNIQUE_NAME"), h.Get("ALL_MEMBER"));
    for (const Row& l : levels) {
        LevelInfo info;
        info.hierarchy = l.Get("HIERARCHY_UNIQUE_NAME");
        info.uniqueName = l.Get("LEVEL_UNIQUE_NAME");
        info.name = l.Get("LEVEL_NAME");
        info.caption = l.Get("LEVEL_CAPTION");
        info.depth = ToInt(l.Get("LEVEL_NUMBER"), 0);
        info.cardinality = ToNumber(l.Get("LEVEL_CARDINALITY"), -1);
        info.isAll = (ToNumber(l.Get("LEVEL_TYPE"), 0) & 1) != 0;
        levelInfos.push_back(std::move(info));
    }

    // The measures, in the cube's order, with what the measures rowset adds.
    std::string measuresHierarchy = "[Measures]";
    for (const Row& d : dims)
        if (d.Get("DIMENSION_TYPE") == "2" && !d.Get("DEFAULT_HIERARCHY").empty())
            measuresHierarchy = d.Get("DEFAULT_HIERARCHY");
    std::vector<MeasureInfo> details;
    std::vector<std::string> hidden;
    for (const Row& m : measureDetails) {
        details.push_back(
            {m.Get("MEASURE_UNIQUE_NAME"), ToInt(m.Get("MEASURE_AGGREGATOR"), 0), m.Get("DEFAULT_FORMAT_STRING")});
        if (IsFalse(m.Get("MEASURE_IS_VISIBLE"))) hidden.push_back(m.Get("MEASURE_UNIQUE_NAME"));
    }
    std::vector<MemberInfo> measures;
    for (const Row& row :
         session.Discover("MDSCHEMA_MEMBERS", {cube[0], cube[1], {"HIERARCHY_UNIQUE_NAME", measuresHierarchy}})) {
        MemberInfo m = InfoFromRow(row, names);
        if (std::find(hidden.begin(), hidden.end(), m.uniqueName) != hidden.end()) continue;
        for (const MeasureInfo& d : details)
            if (d.uniqueName == m.uniqueName && d.aggregator == 127) m.calculated = true;
        m.childCount = 0;
        measures.push_back(std::move(m));
    }
    // A cube whose data the server cannot read still lists its structure: a
    // first query finds out.
    session.Execute("SELECT {" + measuresHierarchy + ".DefaultMember} ON COLUMNS FROM " + FContext->CubeReference());

    FContext->SetStructure(names, levelInfos, measures, details);

    std::vector<std::shared_ptr<Dimension>> out;
    LevelInfo measuresLevel{measuresHierarchy,
                            measuresHierarchy + ".[MeasuresLevel]",
                            "MeasuresLevel",
                            "MeasuresLevel",
                            0,
                            static_cast<long long>(measures.size()),
                            false};
    for (const LevelInfo& l : levelInfos)
        if (l.hierarchy == measuresHierarchy) measuresLevel = l;
    auto measuresLevelObject = std::make_shared<ServerLevel>(FContext, measuresLevel, measures);
    out.push_back(std::make_shared<Dimension>(
        "Measures", measuresHierarchy, Collection<Property>({std::make_shared<Property>("DIMENSION_TYPE", Variant(2))}),
        Collection<Hierarchy>(
            {std::make_shared<Hierarchy>("Measures", measuresHierarchy, Collection<Level>({measuresLevelObject}))})));
    for (const Row& d : dims) {
        const std::string type = d.Get("DIMENSION_TYPE");
        if (type == "2" || IsFalse(d.Get("DIMENSION_IS_VISIBLE"))) continue;
        const std::string& dimension = d.Get("DIMENSION_UNIQUE_NAME");
        // Each hierarchy is a dimension of its own to the program, named as
        // its members begin.
        for (const Row& h : hierarchies) {
            if (h.Get("DIMENSION_UNIQUE_NAME") != dimension || IsFalse(h.Get("HIERARCHY_IS_VISIBLE"))) continue;
            const std::string& unique = h.Get("HIERARCHY_UNIQUE_NAME");
            std::vector<std::shared_ptr<Level>> levelObjects;
            for (const LevelInfo& l : levelInfos)
                if (l.hierarchy == unique) levelObjects.push_back(std::make_shared<ServerLevel>(FContext, l));
            if (levelObjects.empty()) continue;
            std::string name = LastNamePart(unique);
            if (name == unique) name = h.Get("HIERARCHY_NAME");
            auto hierarchy = std::make_shared<Hierarchy>(name, unique, Collection<Level>(std::move(levelObjects)));
            Collection<Property> props({std::make_shared<Property>("DIMENSION_TYPE", Variant(ToInt(type, 3)))});
            out.push_back(
                std::make_shared<Dimension>(name, unique, std::move(props), Collection<Hierarchy>({hierarchy})));
        }
    }
    FDimensions = Collection<Dimension>(std::move(out));
    FLoaded = true;
}

// ---- ServerProvider

ServerProvider::ServerProvider(const std::string& server, const std::string& catalog)
    : FSession(std::make_shared<Session>(server, catalog)) {
    if (catalog.empty()) FSession->ResolveCatalog();
    Rowset cubes;
    try {
        cubes = FSession->Discover("MDSCHEMA_CUBES", {{"CATALOG_NAME", FSession->Catalog()}});
    } catch (const EOlapError&) {
        FSession->ResolveCatalog();  // says so when the catalog is missing
        throw;
    }
    if (cubes.empty()) FSession->ResolveCatalog();  // a missing catalog is an error; an empty one is not
    std::vector<std::shared_ptr<CubeDef>> defs;
    for (const Row& c : cubes) {
        const std::string& type = c.Get("CUBE_TYPE");
        if (!type.empty() && !cb::rtl::SameText(type, "CUBE")) continue;
        if (c.Get("CUBE_NAME").empty()) continue;
        defs.push_back(std::make_shared<ServerCubeDef>(FSession, c));
    }
    FCubeDefs = Collection<CubeDef>(std::move(defs));
}

std::shared_ptr<ServerCubeDef> ServerProvider::FindCube(const std::string& name) const {
    for (const auto& c : FCubeDefs)
        if (cb::rtl::SameText(c->Name(), name)) return std::static_pointer_cast<ServerCubeDef>(c);
    FSession->Fail("has no cube [" + name + "] in the catalog \"" + FSession->Catalog() + "\"");
}

std::shared_ptr<const CellsetResult> ServerProvider::Execute(const std::string& statement) {
    mdx::Statement parsed = mdx::ParseStatement(statement);
    if (auto* create = std::get_if<mdx::CreateCubeStatement>(&parsed)) {
        if (create->source.size() != 1)
            throw EOlapError("Unknown cube " + mdx::NameText(create->source) + " at " + create->sourcePos.Text());
        CopyServerCube(*FindCube(create->source[0].text)->Context(), *create);
        return nullptr;
    }
    const auto& select = std::get<mdx::SelectStatement>(parsed);
    if (select.cube.size() != 1)
        throw EOlapError("Unknown cube " + mdx::NameText(select.cube) + " at " + select.cubePos.Text());
    const std::shared_ptr<CubeContext>& context = FindCube(select.cube[0].text)->Context();
    ServerSelect translated = TranslateSelect(select, context->Names());
    DataSet data;
    if (!translated.text.empty()) {
        data = FSession->Execute(translated.text);
        size_t asked = 0;
        for (int a = 0; a < 2; ++a)
            if (translated.serverAxis[a] >= 0) ++asked;
        if (data.axes.size() != asked)
            FSession->Fail("sent " + std::to_string(data.axes.size()) + " axes for a query of " +
                           std::to_string(asked));
    }
    return std::make_shared<ServerCellsetResult>(context, translated, std::move(data));
}

}  // namespace cb::olap::xmla
