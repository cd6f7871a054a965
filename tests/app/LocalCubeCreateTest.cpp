// Local cube creation: the statement, the summary, plain and zipped copies
// read back by our engine and by unzip.
#include "app/core/cube/LocalCubeCreate.h"
#include "MDXTestSupport.h"
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeFile.h"
#include "olap/mdx/Parser.h"
#include "tests/common/TestCubes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace cb::app;
using TLocation = TCreateLocalCubeUsingGlobalCreateStorageLocation;

namespace {

// Every cell of measures by countries, formatted, row by row.
std::vector<std::string> Cells(const std::string& file, const std::string& cube) {
    cb::olap::Cellset cellset;
    TCubeConnectionString description;
    description.ConnectionType = TConnectionType::ctLocalCubeFile;
    description.FileName = file;
    cellset.SetActiveConnection(description.GetConnectionString());
    cellset.Open("SELECT {[Measures].[Sales], [Measures].[Quantity], [Measures].[Orders]} ON COLUMNS, "
                 "{[Geography].[Country].Members} ON ROWS FROM [" +
                 cube + "]");
    std::vector<std::string> cells;
    const int cols = cellset.Axes().Item(0)->Positions().Count();
    const int rows = cellset.Axes().Item(1)->Positions().Count();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) cells.push_back(cellset.Item(c, r)->FormattedValue());
    return cells;
}

struct TFixture {
    cbtest::TTestContext Context;
    std::string Source = Context.Dir().file("tiny source.cub");
    std::unique_ptr<TCreateLocalCubeUsingGlobalCreate> Builder;

    TFixture() {
        cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), Source);
        Builder = std::make_unique<TCreateLocalCubeUsingGlobalCreate>(Context.Context());
        auto description = std::make_unique<TCubeConnectionString>();
        description->ConnectionType = TConnectionType::ctLocalCubeFile;
        description->FileName = Source;
        EXPECT_TRUE(Builder->Connection().Connect(std::move(description)));
        EXPECT_TRUE(Builder->Connection().SelectCubeByName("Tiny"));
        EXPECT_TRUE(Builder->LoadMeasureNames());
        EXPECT_TRUE(Builder->LoadDimensionNames());
        Builder->CubeName = "Copy";
    }
    void Target(int kind, const std::string& file, const std::string& password = {}) {
        auto location = std::make_unique<TLocation>();
        location->Kind = kind;
        location->FileName = file;
        location->ZipPassword = password;
        Builder->SetStorageLocation(std::move(location));
    }
};

TEST(LocalCubeCreate, StatementTextQuotesNamesAndSeparatesItems) {
    const std::string CR = "\r";
    struct Case {
        const char* what;
        std::string cube, file, source;
        std::vector<std::string> measures, dims;
        std::string expected;
    } cases[] = {
        {"measures and dimensions",
         "Copy",
         "/d/c.cub",
         "Tiny",
         {"[Sales]", "[Orders]"},
         {"[Geography]", "[Product]"},
         "CREATE GLOBAL CUBE [Copy] STORAGE '/d/c.cub' FROM [Tiny]" + CR + "(" + CR + "MEASURE [Tiny].[Sales]," + CR +
             "MEASURE [Tiny].[Orders]," + CR + "DIMENSION [Tiny].[Geography]," + CR + "DIMENSION [Tiny].[Product])"},
        {"no dimensions: no trailing comma",
         "Copy",
         "/d/c.cub",
         "Tiny",
         {"[Sales]", "[Orders]"},
         {},
         "CREATE GLOBAL CUBE [Copy] STORAGE '/d/c.cub' FROM [Tiny]" + CR + "(" + CR + "MEASURE [Tiny].[Sales]," + CR +
             "MEASURE [Tiny].[Orders])"},
        {"hostile names and path",
         "a]] FROM [x",
         "/d/o'brien's'; DROP.cub",
         "S]x",
         {"[Sales]"},
         {"[Geography]"},
         "CREATE GLOBAL CUBE [a]]]] FROM [x] STORAGE '/d/o''brien''s''; DROP.cub' FROM [S]]x]" + CR + "(" + CR +
             "MEASURE [S]]x].[Sales]," + CR + "DIMENSION [S]]x].[Geography])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = ComposeCreateGlobalCube(c.cube, c.file, c.source, c.measures, c.dims);
        EXPECT_EQ(text, c.expected);
        // Our parser reads the names and the path back as they were given.
        const auto parsed = cb::olap::mdx::ParseStatement(text);
        const auto* create = std::get_if<cb::olap::mdx::CreateCubeStatement>(&parsed);
        ASSERT_TRUE(create);
        EXPECT_EQ(create->cubeName, c.cube);
        EXPECT_EQ(create->storage, c.file);
        ASSERT_EQ(create->source.size(), 1u);
        EXPECT_EQ(create->source[0].text, c.source);
        EXPECT_EQ(create->items.size(), c.measures.size() + c.dims.size());
    }
}

TEST(LocalCubeCreate, SummaryAndStorageDescriptions) {
    TFixture f;
    f.Target(TLocation::slZippedLocalCube, "/data/copy.zip", "pw");
    const std::string summary = f.Builder->GetSummary();
    EXPECT_EQ(summary,
              "Cube Source: Local Cube File: " + f.Source +
                  "\rCube Name: Copy\rCube Destination: \rZipped Local Cube File: /data/copy.zip\r"
                  "Measures To Take: \r     - [Sales]\r     - [Quantity]\r     - [Orders]\r     - [Low Price]\r"
                  "     - [High Price]\r\rDimensions To Take: \r     - [Geography]\r     - [Product]\r\r");
    TLocation plain;
    plain.FileName = "/x.cub";
    EXPECT_EQ(plain.GetDescription(), "Local Cube File: /x.cub");
}

TEST(LocalCubeCreate, PlainCopyReopensWithTheSameCells) {
    TFixture f;
    const std::string target = f.Context.Dir().file("my copy, \"new\" ü.cub");
    f.Target(TLocation::slLocalCube, target);
    ASSERT_TRUE(f.Builder->Execute()) << (f.Context.UI.Errors.empty() ? "" : f.Context.UI.Errors[0]);
    EXPECT_TRUE(f.Context.UI.Errors.empty());
    EXPECT_EQ(Cells(target, "Copy"), Cells(f.Source, "Tiny"));
}

TEST(LocalCubeCreate, ZippedCopyWithPasswordLeavesFilesBesideItAlone) {
    TFixture f;
    const std::string archive = f.Context.Dir().file("copy.zip");
    const std::string beside = f.Context.Dir().file("copy.cub");
    cbtest::writeFile(beside, "my own notes, not a cube");
    cbtest::writeFile(archive, "an old archive that is replaced");
    f.Target(TLocation::slZippedLocalCube, archive, "s3cret pw");
    ASSERT_TRUE(f.Builder->Execute()) << (f.Context.UI.Errors.empty() ? "" : f.Context.UI.Errors[0]);

    // The file of the same name beside the archive is untouched; nothing else is left.
    EXPECT_EQ(cbtest::readFile(beside), "my own notes, not a cube");
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(f.Context.Dir().path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 4u);  // source, log, copy.cub (ours), copy.zip

    std::string out;
    EXPECT_EQ(cbtest::runCommand("unzip -t -P 's3cret pw' '" + archive + "'", &out), 0) << out;
    EXPECT_NE(out.find("copy.cub"), std::string::npos) << out;
    EXPECT_NE(out.find("No errors detected"), std::string::npos) << out;
    EXPECT_NE(cbtest::runCommand("unzip -t -P wrong '" + archive + "' >/dev/null 2>&1"), 0);

    cbtest::TempDir unpacked;
    ASSERT_EQ(cbtest::runCommand("cd '" + unpacked.path().string() + "' && unzip -q -P 's3cret pw' '" + archive + "'"),
              0);
    EXPECT_EQ(Cells(unpacked.file("copy.cub"), "Copy"), Cells(f.Source, "Tiny"));
}

TEST(LocalCubeCreate, AWaitPastItsBoundIsGivenUp) {
    TFixture f;
    const std::string target = f.Context.Dir().file("slow.cub");
    f.Target(TLocation::slLocalCube, target);
    f.Builder->BuildTimeout = std::chrono::milliseconds(-1);
    EXPECT_FALSE(f.Builder->Execute());
    EXPECT_EQ(f.Context.UI.Errors,
              std::vector<std::string>{"Error building cube with error:the build did not finish in time"});
    // The build goes on by itself and writes its file whole.
    for (int i = 0; i < 1000 && !std::filesystem::exists(target); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(Cells(target, "Copy"), Cells(f.Source, "Tiny"));
}

TEST(LocalCubeCreate, FailuresAreShownAndKeepTheUsersFiles) {
    {
        // The statement fails: the engine refuses to replace a file that is not a cube.
        TFixture f;
        const std::string target = f.Context.Dir().file("notes.cub");
        cbtest::writeFile(target, "precious");
        f.Target(TLocation::slLocalCube, target);
        EXPECT_FALSE(f.Builder->Execute());
        ASSERT_EQ(f.Context.UI.Errors.size(), 1u);
        EXPECT_EQ(f.Context.UI.Errors[0].rfind("Error building cube with error:", 0), 0u) << f.Context.UI.Errors[0];
        EXPECT_EQ(cbtest::readFile(target), "precious");
    }
    {
        // The archive cannot be written (a folder of that name): the plain cube is kept beside it.
        TFixture f;
        const std::string archive = f.Context.Dir().file("box.zip");
        std::filesystem::create_directory(archive);
        f.Target(TLocation::slZippedLocalCube, archive);
        EXPECT_FALSE(f.Builder->Execute());
        ASSERT_EQ(f.Context.UI.Errors.size(), 1u);
        EXPECT_EQ(f.Context.UI.Errors[0].rfind("Error occured during zipping with message: ", 0), 0u);
        EXPECT_EQ(Cells(f.Context.Dir().file("box.cub"), "Copy"), Cells(f.Source, "Tiny"));
    }
    {
        // A source cube that is no longer open.
        cbtest::TTestContext context;
        TCreateLocalCubeUsingGlobalCreate builder(context.Context());
        builder.CubeName = "Copy";
        EXPECT_FALSE(builder.Execute());
        EXPECT_EQ(context.UI.Errors.size(), 1u);
    }
}

}  // namespace
