// Member look-up by name: the index the binder uses for member paths.
#include "olap/engine/CubeBuilder.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Binder.h"
#include "olap/mdx/Mdx.h"

#include <gtest/gtest.h>

namespace {

using namespace cb::olap;

std::vector<mdx::NamePart> Parts(std::initializer_list<const char*> names) {
    std::vector<mdx::NamePart> parts;
    for (const char* n : names) parts.push_back({n});
    return parts;
}

// Geo: Country > City. "Wide" holds 5000 cities.
std::unique_ptr<CubeData> GeoCube() {
    CubeBuilder b("Geo");
    b.AddDimension("Geo", {"Country", "City"});
    b.AddMeasure("M", Aggregation::Sum);
    const double one = 1;
    for (const char* city : {"Paris", "Zürich", "Lyon"}) {
        uint32_t leaf = b.Leaf(0, {"France", city});
        b.AddFact(&leaf, &one);
    }
    uint32_t leaf = b.Leaf(0, {"Spain", "Lyon"});
    b.AddFact(&leaf, &one);
    for (int i = 0; i < 5000; ++i) {
        uint32_t l = b.Leaf(0, {"Wide", "City " + std::to_string(i)});
        b.AddFact(&l, &one);
    }
    return b.Finish();
}

TEST(MemberNameIndexTest, PathsResolveAsWritten) {
    auto cube = GeoCube();
    const DimensionData& geo = cube->dimensions[0];
    mdx::Binder binder(*cube);
    struct Case {
        std::initializer_list<const char*> path;
        const char* uniqueName;  // nullptr: unknown member
    } cases[] = {
        {{"Geo", "All", "France", "Paris"}, "[Geo].[All].[France].[Paris]"},
        {{"geo", "ALL", "france", "paris"}, "[Geo].[All].[France].[Paris]"},
        {{"Geo", "France", "PARIS"}, "[Geo].[All].[France].[Paris]"},  // (All) left out
        {{"Geo", "Spain", "LYON"}, "[Geo].[All].[Spain].[Lyon]"},      // the parent decides
        {{"Geo", "France", "Zürich"}, "[Geo].[All].[France].[Zürich]"},
        {{"Geo", "France", "zürich"}, "[Geo].[All].[France].[Zürich]"},
        {{"Geo", "France", "ZÜRICH"}, "[Geo].[All].[France].[Zürich]"},  // not ASCII alone
        {{"Geo", "Spain", "Paris"}, nullptr},
        {{"Geo", "France", "Paris", "Paris"}, nullptr},
        {{"Geo", "Wide", "City 4999"}, "[Geo].[All].[Wide].[City 4999]"},
        {{"Geo", "Wide", "City 5000"}, nullptr},
        {{"Geo", "City 7"}, nullptr},  // not a child of (All)
        {{"Geo", "All", "France", "Paris "}, nullptr},
    };
    for (const Case& c : cases) {
        const auto parts = Parts(c.path);
        const std::string text = mdx::NameText(parts);
        if (!c.uniqueName) {
            EXPECT_THROW(binder.Resolve(parts, {}), EOlapError) << text;
            continue;
        }
        const mdx::BoundName b = binder.Resolve(parts, {});
        ASSERT_EQ(b.kind, mdx::BoundName::Kind::Member) << text;
        EXPECT_EQ(geo.members[b.id].uniqueName, c.uniqueName) << text;
    }
    // Every city of the wide country finds itself.
    const MemberId wide = binder.Resolve(Parts({"Geo", "Wide"}), {}).id;
    ASSERT_EQ(geo.members[wide].children.size(), 5000u);
    for (MemberId id : geo.members[wide].children)
        ASSERT_EQ(binder.Resolve({{"Geo"}, {"Wide"}, {geo.members[id].name}}, {}).id, id) << geo.members[id].name;
}

TEST(MemberNameIndexTest, CopiedAndChangedCubesAreNotAnsweredFromAnOldIndex) {
    auto cube = GeoCube();
    const char* query = "SELECT {[Geo].[France].[Lille]} ON COLUMNS FROM [Geo]";
    mdx::QueryResult r;
    EXPECT_THROW(mdx::Execute(query, *cube, r), EOlapError);  // builds the index

    CubeData copy = *cube;
    for (MemberData& m : copy.dimensions[0].members)
        if (m.name == "Lyon" && copy.dimensions[0].members[m.parent].name == "France") m.name = m.caption = "Lille";
    ASSERT_TRUE(mdx::Execute(query, copy, r));
    ASSERT_EQ(r.values.size(), 1u);
    EXPECT_EQ(r.values[0], 1);
    EXPECT_THROW(mdx::Execute(query, *cube, r), EOlapError);

    // A dimension given a new member array gets a new index.
    cube->dimensions[0].members = std::vector<MemberData>(copy.dimensions[0].members);
    EXPECT_TRUE(mdx::Execute(query, *cube, r));
}

}  // namespace
