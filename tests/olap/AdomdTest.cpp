// The object model over a cube file: connection strings, catalog, cube
// definition, members, cellsets and the cache of open cubes.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/ConnectionString.h"
#include "olap/engine/CubeFile.h"
#include "tests/common/TestSupport.h"
#include "tests/olap/MdxTestCube.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace {

using namespace cb::olap;

std::string LocalString(const std::string& path) {
    return "Data Source=\"" + path + "\";Provider=MSOLAP.2;";
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EOlapError& e) {
        return e.Message();
    }
    return "(no error)";
}

class AdomdTest : public ::testing::Test {
protected:
    void SetUp() override {
        FPath = FDir.file("sales cube.cub");  // a blank in the path
        WriteCubeFile(*cbtest::MakeSalesCube(), FPath);
    }
    cbtest::TempDir FDir;
    std::string FPath;
};

TEST(ConnectionStringTest, ParsesPairs) {
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    } cases[] = {
        {"Data Source=\"/a b/c;d.cub\";Provider=MSOLAP.2;", "data source", "/a b/c;d.cub"},
        {"Data Source=\"/a b/c;d.cub\";Provider=MSOLAP.2;", "PROVIDER", "MSOLAP.2"},
        {" Data Source = plain.cub ; Provider=MSOLAP", "Data Source", "plain.cub"},
        {"Data Source='x.cub'", "Data Source", "x.cub"},
        {"Provider=MSOLAP.2", "Data Source", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseConnectionString(c.text).Get(c.key), c.value) << c.text;
}

TEST(ConnectionStringTest, OpeningFailsClearly) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"", "The connection string is empty"},
        {"Data Source", "Connection string part \"Data Source\" has no \"=\""},
        {"Data Source=\"x.cub;Provider=MSOLAP.2;",
         "Connection string value of \"Data Source\" lacks its closing quote"},
        {"Provider=MSOLAP.2;", "The connection string names no data source: \"Provider=MSOLAP.2;\""},
        {"Data Source=\"http://server\";Initial Catalog=\"cat\";Provider=MSOLAP.2;",
         "This program cannot reach analysis servers (\"http://server\")"},
        {"Data Source=\"\";Initial Catalog=\"cat\";",
         "The connection string names no analysis server: \"Data Source=\"\";Initial Catalog=\"cat\";\""},
        {LocalString("/nonexistent/none.cub"), "Cube file \"/nonexistent/none.cub\" does not exist"},
        {"Data Source=x.cub;Provider=SQLOLEDB;", "Provider \"SQLOLEDB\" is not supported"},
    };
    for (const Case& c : cases) {
        Catalog catalog;
        EXPECT_EQ(ErrorOf([&] { catalog.SetActiveConnection(c.text); }), c.message);
        EXPECT_EQ(ErrorOf([&] { catalog.ActiveConnection(); }), "The catalog has no open connection");
    }
}

TEST_F(AdomdTest, CorruptFileIsRefused) {
    std::string bad = FDir.file("bad.cub");
    cbtest::writeFile(bad, "this is not a cube file");
    Catalog catalog;
    EXPECT_THROW(catalog.SetActiveConnection(LocalString(bad)), EOlapError);
}

TEST_F(AdomdTest, CubeDefinitionInProviderOrder) {
    Catalog catalog;
    catalog.SetActiveConnection(LocalString(FPath));
    ASSERT_EQ(catalog.CubeDefs().Count(), 1);
    auto cube = catalog.CubeDefs().Item(0);
    EXPECT_EQ(cube->Name(), "Sales");
    EXPECT_EQ(cube->Properties().Item(0)->Name(), "LAST_DATA_UPDATE");
    EXPECT_EQ(cube->Properties().Item(0)->Value().ToString(), "2024-03-01 12:00:00");

    auto dims = cube->Dimensions();
    const char* names[] = {"[Measures]", "[Customer]", "[Product]", "[Time]"};
    ASSERT_EQ(dims.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        auto d = dims.Item(i);
        EXPECT_EQ(d->UniqueName(), names[i]);
        EXPECT_EQ(d->Properties().Item(0)->Name(), "DIMENSION_TYPE");
        EXPECT_EQ(d->Properties().Item(0)->Value().ToInt(), i == 0 ? 2 : 3);
        EXPECT_EQ(d->Hierarchies().Count(), 1);
        EXPECT_EQ(d->Hierarchies().Item(0)->UniqueName(), names[i]);
    }
    EXPECT_THROW(dims.Item(4), EOlapError);
    EXPECT_THROW(dims.Item(-1), EOlapError);

    // Measures: one level, stored then calculated members.
    auto level = dims.Item(0)->Hierarchies().Item(0)->Levels().Item(0);
    EXPECT_EQ(level->Name(), "MeasuresLevel");
    auto measures = level->Members();
    const char* measureNames[] = {"Revenue", "Cost", "Units", "Margin", "Avg Price", "Margin Share"};
    ASSERT_EQ(measures.Count(), 6);
    for (int i = 0; i < 6; ++i) {
        auto m = measures.Item(i);
        EXPECT_EQ(m->Name(), measureNames[i]);
        EXPECT_EQ(m->UniqueName(), std::string("[Measures].[") + measureNames[i] + "]");
        auto props = m->Properties();
        if (i < 3) {
            EXPECT_EQ(props.Count(), 0);
        } else {
            ASSERT_EQ(props.Count(), 1);
            EXPECT_EQ(props.Item(0)->Name(), "EXPRESSION");
            EXPECT_FALSE(props.Item(0)->Value().ToString().empty());
        }
    }
    EXPECT_EQ(measures.Item(3)->Properties().Item(0)->Value().ToString(), "[Measures].[Revenue] - [Measures].[Cost]");

    // Customer: (All) > Country > City.
    auto levels = dims.Item(1)->Hierarchies().Item(0)->Levels();
    ASSERT_EQ(levels.Count(), 3);
    EXPECT_EQ(levels.Item(0)->Depth(), 0);
    EXPECT_EQ(levels.Item(1)->UniqueName(), "[Customer].[Country]");
    EXPECT_EQ(levels.Item(2)->Depth(), 2);
    auto all = levels.Item(0)->Members().Item(0);
    EXPECT_EQ(all->UniqueName(), "[Customer].[All]");
    EXPECT_EQ(all->LevelDepth(), 0);
    ASSERT_EQ(all->ChildCount(), 3);
    auto usa = all->Children().Item(2);
    EXPECT_EQ(usa->UniqueName(), "[Customer].[All].[USA]");
    EXPECT_EQ(usa->Caption(), "USA");
    EXPECT_EQ(usa->LevelName(), "[Customer].[Country]");
    EXPECT_EQ(usa->LevelDepth(), 1);
    EXPECT_EQ(usa->Children().Item(1)->UniqueName(), "[Customer].[All].[USA].[Denver]");
    EXPECT_EQ(usa->Children().Item(1)->ChildCount(), 0);
    EXPECT_EQ(levels.Item(2)->Members().Count(), 5);
}

TEST_F(AdomdTest, CellsetLifecycle) {
    Cellset cs;
    EXPECT_EQ(cs.State(), Cellset::adStateClosed);
    EXPECT_EQ(ErrorOf([&] { cs.Axes(); }), "The cellset is not open");
    EXPECT_EQ(ErrorOf([&] { cs.Open("SELECT {} ON ROWS, {} ON COLUMNS FROM [Sales]"); }),
              "The cellset has no active connection");
    cs.SetActiveConnection(LocalString(FPath));
    cs.Open(" SELECT {[Customer].[Country].members} ON ROWS, {{[Time].[All].[2024]}*{[Measures].[Units]}} ON COLUMNS "
            "FROM [Sales]",
            cs.ActiveConnection());
    ASSERT_EQ(cs.State(), Cellset::adStateOpen);
    auto cols = cs.Axes().Item(0);
    auto rows = cs.Axes().Item(1);
    EXPECT_EQ(cols->DimensionCount(), 2);
    EXPECT_EQ(rows->DimensionCount(), 1);
    ASSERT_EQ(rows->Positions().Count(), 3);
    auto pos = cols->Positions().Item(0)->Members();
    EXPECT_EQ(pos.Item(0)->UniqueName(), "[Time].[All].[2024]");
    EXPECT_EQ(pos.Item(1)->LevelName(), "[Measures].[MeasuresLevel]");
    // Germany 2024: Berlin's bread, 4 units.
    EXPECT_EQ(cs.Item(0, 1)->FormattedValue(), "4");
    EXPECT_EQ(cs.Item(0, 1)->Value().ToDouble(), 4);
    EXPECT_THROW(cs.Item(1, 0), EOlapError);
    EXPECT_THROW(cs.Item(0, 3), EOlapError);

    // A failing statement leaves the cellset closed.
    EXPECT_THROW(cs.Open("SELECT nonsense"), EOlapError);
    EXPECT_EQ(cs.State(), Cellset::adStateClosed);

    cs.Open("SELECT {} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Sales]");
    EXPECT_EQ(cs.Axes().Item(1)->DimensionCount(), 0);
    EXPECT_EQ(cs.Axes().Item(1)->Positions().Count(), 0);
    EXPECT_THROW(cs.Item(0, 0), EOlapError);
    cs.Close();
    EXPECT_EQ(cs.State(), Cellset::adStateClosed);
}

TEST_F(AdomdTest, OpenCubesAreSharedUntilTheFileChanges) {
    auto a = Connection::Open(LocalString(FPath));
    auto b = Connection::Open("data source=" + FPath);
    EXPECT_EQ(a->Cube().get(), b->Cube().get());

    // Rewrite the file with another cube and a later time stamp.
    auto other = *cbtest::MakeSalesCube();
    other.name = "Other";
    WriteCubeFile(other, FPath);
    std::filesystem::last_write_time(FPath, std::filesystem::last_write_time(FPath) + std::chrono::seconds(5));
    auto c = Connection::Open(LocalString(FPath));
    EXPECT_NE(c->Cube().get(), a->Cube().get());
    EXPECT_EQ(c->Cube()->name, "Other");
    EXPECT_EQ(a->Cube()->name, "Sales");  // the old connection keeps its cube
}

// A cube read ahead is what the next open gets, unless the file changed
// after the read began; a failed read ahead gives the open its error.
TEST_F(AdomdTest, ReadAheadServesTheOpenOfTheUnchangedFileOnly) {
    {
        CubeFileReadAhead ahead(FPath);
        auto a = Connection::Open(LocalString(FPath));
        EXPECT_EQ(a->Cube()->name, "Sales");
        EXPECT_EQ(Connection::Open(LocalString(FPath))->Cube().get(), a->Cube().get());  // shared as usual
    }
    {
        CubeFileReadAhead ahead(FPath);
        auto other = *cbtest::MakeSalesCube();
        other.name = "Other";
        WriteCubeFile(other, FPath);
        std::filesystem::last_write_time(FPath, std::filesystem::last_write_time(FPath) + std::chrono::seconds(5));
        EXPECT_EQ(Connection::Open(LocalString(FPath))->Cube()->name, "Other");
    }
    {
        const std::string bad = FDir.file("bad.cub");
        std::ofstream(bad) << "not a cube";
        std::string direct = ErrorOf([&] { Connection::Open(LocalString(bad)); });
        CubeFileReadAhead ahead(bad);
        EXPECT_EQ(ErrorOf([&] { Connection::Open(LocalString(bad)); }), direct);
    }
    // One no open took is dropped when it goes.
    { CubeFileReadAhead ahead(FDir.file("missing.cub")); }
}

TEST_F(AdomdTest, VariantConversions) {
    EXPECT_TRUE(Variant().IsEmpty());
    EXPECT_EQ(Variant().ToString(), "");
    EXPECT_EQ(Variant().ToDouble(), 0);
    EXPECT_EQ(Variant(2.5).ToString(), "2.5");
    EXPECT_EQ(Variant(3).ToString(), "3");
    EXPECT_THROW(Variant("x").ToDouble(), EOlapError);

    struct {
        Variant value;
        int expected;  // 0 with thrown: EOlapError
        bool thrown;
    } const ints[] = {
        {Variant("2"), 2, false},
        {Variant(), 0, false},
        {Variant(2.5), 3, false},
        {Variant(-2.5), -3, false},
        {Variant(2147483647.0), 2147483647, false},
        {Variant(2147483647.4), 2147483647, false},
        {Variant(-2147483648.0), -2147483647 - 1, false},
        {Variant(2147483647.5), 0, true},
        {Variant(-2147483648.5), 0, true},
        {Variant(1e300), 0, true},
        {Variant("-3e9"), 0, true},
        {Variant(std::numeric_limits<double>::infinity()), 0, true},
        {Variant(std::nan("")), 0, true},
        {Variant("x"), 0, true},
    };
    for (const auto& c : ints) {
        if (c.thrown)
            EXPECT_THROW(c.value.ToInt(), EOlapError) << c.value.ToString();
        else
            EXPECT_EQ(c.value.ToInt(), c.expected) << c.value.ToString();
    }
}

}  // namespace
