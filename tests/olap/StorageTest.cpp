#include "olap/engine/CubeCheck.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "olap/engine/SampleCube.h"
#include "olap/engine/TestCubes.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

using namespace cb::olap;

namespace {

void ExpectSameCube(const CubeData& a, const CubeData& b)
{
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.lastDataUpdate, b.lastDataUpdate);
    ASSERT_EQ(a.dimensions.size(), b.dimensions.size());
    for (size_t d = 0; d < a.dimensions.size(); ++d) {
        const auto& da = a.dimensions[d];
        const auto& db = b.dimensions[d];
        EXPECT_EQ(da.uniqueName, db.uniqueName);
        ASSERT_EQ(da.levels.size(), db.levels.size());
        for (size_t l = 0; l < da.levels.size(); ++l) {
            EXPECT_EQ(da.levels[l].uniqueName, db.levels[l].uniqueName);
            EXPECT_EQ(da.levels[l].members, db.levels[l].members);
        }
        ASSERT_EQ(da.members.size(), db.members.size());
        for (size_t i = 0; i < da.members.size(); ++i) {
            EXPECT_EQ(da.members[i].uniqueName, db.members[i].uniqueName);
            EXPECT_EQ(da.members[i].caption, db.members[i].caption);
            EXPECT_EQ(da.members[i].parent, db.members[i].parent);
            EXPECT_EQ(da.members[i].subtreeEnd, db.members[i].subtreeEnd);
            EXPECT_EQ(da.members[i].children, db.members[i].children);
        }
    }
    ASSERT_EQ(a.measures.size(), b.measures.size());
    for (size_t m = 0; m < a.measures.size(); ++m) {
        EXPECT_EQ(a.measures[m].uniqueName, b.measures[m].uniqueName);
        EXPECT_EQ(a.measures[m].aggregation, b.measures[m].aggregation);
        EXPECT_EQ(a.measures[m].formatString, b.measures[m].formatString);
    }
    ASSERT_EQ(a.calculatedMembers.size(), b.calculatedMembers.size());
    for (size_t c = 0; c < a.calculatedMembers.size(); ++c) {
        EXPECT_EQ(a.calculatedMembers[c].uniqueName, b.calculatedMembers[c].uniqueName);
        EXPECT_EQ(a.calculatedMembers[c].expression, b.calculatedMembers[c].expression);
        EXPECT_EQ(a.calculatedMembers[c].formatString, b.calculatedMembers[c].formatString);
    }
    ASSERT_EQ(a.factCount, b.factCount);
    EXPECT_EQ(a.factKeys, b.factKeys);
    ASSERT_EQ(a.factValues.size(), b.factValues.size());
    for (size_t m = 0; m < a.factValues.size(); ++m)
        for (size_t f = 0; f < a.factCount; ++f) {
            double x = a.factValues[m][f], y = b.factValues[m][f];
            ASSERT_TRUE((std::isnan(x) && std::isnan(y)) || x == y) << "measure " << m << " fact " << f;
        }
}

} // namespace

TEST(StorageTest, TinyCubeRoundTripAndLayout)
{
    cbtest::TempDir dir;
    auto cube = MakeTinyCube();
    const auto& geo = cube->dimensions[0];
    EXPECT_EQ(geo.members[0].uniqueName, "[Geography].[All]");
    EXPECT_EQ(geo.members[1].uniqueName, "[Geography].[All].[USA]");
    EXPECT_EQ(geo.members[2].uniqueName, "[Geography].[All].[USA].[Boston]");
    EXPECT_EQ(geo.levels[2].uniqueName, "[Geography].[City]");
    EXPECT_EQ(geo.members[1].subtreeEnd, 4u);
    EXPECT_EQ(cube->measures[3].uniqueName, "[Measures].[Low Price]");

    const std::string path = dir.file("tiny.cub");
    WriteCubeFile(*cube, path);
    ExpectSameCube(*cube, *ReadCubeFile(path));
}
