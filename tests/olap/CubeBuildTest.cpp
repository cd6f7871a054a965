#include "olap/engine/Aggregator.h"
#include "olap/description/CubeDescription.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "olap/engine/SampleCube.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cb::olap;

namespace {

const char* kDescription = R"(# sales by place and product
cube Shop
updated 2024-06-30 12:00:00
dimension Place: Country, City
dimension Product: Name
measure Revenue: sum "#,##0.00"
measure Orders: count
measure Top: max 0.0
calculated Per Order: "#,##0.00" [Measures].[Revenue] / [Measures].[Orders]
facts facts.csv
)";

const char* kFacts = "City,Country,Name,Revenue,Orders,Top\r\n"
                     "Boston,USA,\"Bike, red\",100.5,1,3\r\n"
                     "Paris,France,Helmet,,1,\r\n"
                     "\n"
                     "Boston,USA,Helmet,20,1,+4.25\n"
                     "\"Lyon\",France,\"Bike, red\",1e2,1,-1\n";

std::string BuildError(const std::string& description, const std::string& facts) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("cube.txt"), description);
    cbtest::writeFile(dir.file("facts.csv"), facts);
    try {
        BuildCubeFromDescription(dir.file("cube.txt"));
        return {};
    } catch (const EOlapError& e) {
        return e.what();
    }
}

}  // namespace

TEST(CubeBuildTest, BuildsFromDescriptionAndCsv) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("cube.txt"), kDescription);
    cbtest::writeFile(dir.file("facts.csv"), kFacts);
    auto cube = BuildCubeFromDescription(dir.file("cube.txt"));
    EXPECT_EQ(cube->name, "Shop");
    EXPECT_EQ(cube->lastDataUpdate, "2024-06-30 12:00:00");
    const auto& place = cube->dimensions[0];
    ASSERT_EQ(place.members.size(), 6u);
    EXPECT_EQ(place.members[1].uniqueName, "[Place].[All].[USA]");
    EXPECT_EQ(place.members[2].uniqueName, "[Place].[All].[USA].[Boston]");
    EXPECT_EQ(place.members[5].uniqueName, "[Place].[All].[France].[Lyon]");
    EXPECT_EQ(cube->dimensions[1].members[1].name, "Bike, red");
    EXPECT_EQ(cube->measures[0].formatString, "#,##0.00");
    EXPECT_EQ(cube->measures[2].formatString, "0.0");
    EXPECT_EQ(cube->measures[2].aggregation, Aggregation::Max);
    ASSERT_EQ(cube->calculatedMembers.size(), 1u);
    EXPECT_EQ(cube->calculatedMembers[0].uniqueName, "[Measures].[Per Order]");
    EXPECT_EQ(cube->calculatedMembers[0].formatString, "#,##0.00");
    EXPECT_EQ(cube->calculatedMembers[0].expression, "[Measures].[Revenue] / [Measures].[Orders]");
    ASSERT_EQ(cube->factCount, 4u);
    EXPECT_TRUE(std::isnan(cube->factValues[0][1]));
    EXPECT_EQ(cube->factValues[2][2], 4.25);

    // Countries by all three measures.
    AxisTuples rows{{0}, place.levels[1].members, 2};
    auto r = Aggregate(*cube, AxisTuples{}, rows, {0, 1, 2});
    EXPECT_EQ(r.value(0, 0, 0), 120.5);
    EXPECT_EQ(r.value(0, 0, 1), 2);
    EXPECT_EQ(r.value(0, 0, 2), 4.25);
    EXPECT_EQ(r.value(0, 1, 0), 100);
    EXPECT_EQ(r.value(0, 1, 2), -1);

    const std::string out = dir.file("shop.cub");
    WriteCubeFile(*cube, out);
    EXPECT_EQ(ReadCubeFile(out)->factCount, 4u);
}

TEST(CubeBuildTest, ErrorsNameTheLine) {
    const std::string d = kDescription;
    const std::string f = kFacts;
    auto replace = [](std::string s, const std::string& from, const std::string& to) {
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    struct Case {
        std::string description, facts, message;
    };
    const Case cases[] = {
        {replace(d, "cube Shop", "cube Sh.op"), f, "line 2: cube name \"Sh.op\" must not contain"},
        {replace(d, "Country, City", "Country, [City]"), f,
         "line 4: dimension \"Place\": level name \"[City]\" must not contain"},
        {replace(d, "dimension Product: Name", "dimension Pro]duct: Name"), f, "line 5: dimension name"},
        {replace(d, "measure Orders: count", "measure Orders: average"), f, "line 7: unknown aggregation \"average\""},
        {replace(d, "measure Top: max", "measure T.op: max"), f, "line 8: measure name \"T.op\""},
        {replace(d, "calculated Per Order", "calculated Per.Order"), f, "line 9: calculated member name"},
        {replace(d, "measure Orders", "measur Orders"), f, "line 7: unknown keyword \"measur\""},
        {replace(d, "dimension Product: Name", "dimension Product Name"), f, "line 5: expected"},
        {replace(d, "facts facts.csv", "facts missing.csv"), f, "Cannot open facts file"},
        {replace(d, "facts facts.csv", "facts ."), f, "Is a directory"},
        {replace(d, "facts facts.csv\n", ""), f, "no \"facts\" or \"facts-sqlite\" line"},
        {d + "facts-sqlite x.db t\n", f, "line 11: the facts are named twice"},
        {replace(d, "measure Top: max 0.0", "measure Revenue: max"), f, "appears twice"},
        {d, replace(f, "Boston,USA,Helmet", "Bos.ton,USA,Helmet"),
         "line 5: Dimension \"Place\", level \"City\": member name \"Bos.ton\""},
        {d, replace(f, "1e2", "1,2"), "line 6: 7 fields where the header has 6"},
        {d, replace(f, "100.5", "1OO"), "line 2: \"1OO\" is not a number (measure \"Revenue\")"},
        {d, replace(f, "+4.25", "inf"), "line 5: \"inf\" is not a number"},
        {d, replace(f, "City,Country", "Town,Country"), "line 1: column \"Town\" is neither a level nor a measure"},
        {d, replace(f, ",Top\r\n", ",Revenue\r\n"), "line 1: column \"Revenue\" appears twice"},
        {d, replace(f, ",-1\n", ",\"-1\n"), "line 6: a quoted field is not closed"},
        {d, replace(f, "\"Lyon\"", "\"Lyon\"x"), "line 6: unexpected text after a quoted field"},
        {d, replace(f, "Boston,USA,\"Bike, red\"", ",USA,\"Bike, red\""),
         "line 2: Dimension \"Place\", level \"City\": a member name is empty"},
        {d, "", "the file is empty"},
        {replace(d, "max 0.0", "max \"" + std::string(256, '0') + "\""), f,
         "line 8: the format string is longer than 255 characters"},
        {replace(d, "Per Order: \"#,##0.00\"", "Per Order: \"" + std::string(256, '#') + "\""), f,
         "line 9: the format string is longer than 255 characters"},
        {replace(d, "2024-06-30 12:00:00", "yesterday"), f,
         "line 3: \"updated\" takes a date as 2024-06-30, with a time as 2024-06-30 12:00:00 when wanted, not "
         "\"yesterday\""},
        {replace(d, "2024-06-30 12:00:00", "2023-02-29"), f, "line 3: \"updated\" takes a date"},
        {replace(d, "2024-06-30 12:00:00", "2024-06-30 24:00"), f, "line 3: \"updated\" takes a date"},
        // Text that is not UTF-8 (Latin-1 here, an overlong form) is refused with its line.
        {d, replace(f, "Boston,USA,Helmet", "Z\xFCrich,USA,Helmet"),
         "facts.csv\", line 5: the text is not UTF-8 (byte 0xFC); save the file as UTF-8"},
        {replace(d, "cube Shop", "cube Z\xFCrich"), f, "cube.txt\", line 2: the text is not UTF-8 (byte 0xFC)"},
        {d, replace(f, "Helmet", "Helm\xC0\xAFt"), "line 3: the text is not UTF-8 (byte 0xC0)"},
        // A NUL is shown, and the message goes on after it.
        {d, replace(f, "100.5", std::string("1\0" "5", 3)), "line 2: \"1\\x005\" is not a number (measure \"Revenue\")"},
        {d, replace(f, "Boston,USA,Helmet", std::string("Bo\0ston", 7) + ",USA,Helmet"),
         "level \"City\": member name \"Bo\\x00ston\" must not contain control characters"},
    };
    for (const Case& c : cases) {
        const std::string err = BuildError(c.description, c.facts);
        EXPECT_NE(err.find(c.message), std::string::npos) << "expected: " << c.message << "\n  got: " << err;
    }
}

TEST(CubeBuildTest, LevelNamesSharedByTwoDimensions) {
    const std::string d = "cube C\ndimension From: City\ndimension To: City\nmeasure N: count\nfacts facts.csv\n";
    EXPECT_NE(BuildError(d, "City,City,N\na,b,1\n").find("names a level of several dimensions"), std::string::npos);
    EXPECT_EQ(BuildError(d, "From:City,To:City,N\na,b,1\n"), "");
}

TEST(CubeBuildTest, SampleCubeShapeAndDeterminism) {
    auto a = MakeSampleCube(20000, 5);
    auto b = MakeSampleCube(20000, 5);
    auto c = MakeSampleCube(20000, 6);
    EXPECT_EQ(a->name, "Tavo_sample");
    EXPECT_EQ(a->factKeys, b->factKeys);
    EXPECT_EQ(a->factValues[0], b->factValues[0]);
    EXPECT_NE(a->factKeys, c->factKeys);
    ASSERT_EQ(a->dimensions.size(), 4u);
    size_t largest = 0;
    for (const auto& d : a->dimensions) {
        EXPECT_GE(d.levels.size(), 2u);
        EXPECT_LE(d.levels.size(), 4u);
        for (const auto& l : d.levels) largest = std::max(largest, l.members.size());
    }
    EXPECT_GT(largest, 2500u);
    EXPECT_EQ(a->dimensions[2].members[3].uniqueName, "[Time].[All].[2022].[Q1].[January]");
    ASSERT_EQ(a->measures.size(), 4u);
    EXPECT_EQ(a->measures[3].aggregation, Aggregation::Count);
    ASSERT_EQ(a->calculatedMembers.size(), 2u);
    EXPECT_EQ(a->calculatedMembers[1].formatString, "0.0%");
}
