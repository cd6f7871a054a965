// A local cube copied from the server's cube: built by our side from the
// server's members and leaf cells, it reopens with the server's cells.
#include "app/core/cube/CubeConnection.h"
#include "app/core/cube/LocalCubeCreate.h"
#include "olap/adomd/Adomd.h"
#include "olap/adomd/CellsetText.h"
#include "olap/adomd/ConnectionString.h"
#include "tests/app/MDXTestSupport.h"
#include "tests/xmla/XmlaTestServers.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace cb::app;
using namespace cb::olap;
using cbtest::xmla::ShopServer;
namespace fs = std::filesystem;

namespace {

std::string ServerString() {
    return "Data Source=" + QuoteConnectionStringValue(ShopServer().Address) + ";Initial Catalog=\"Shop\";";
}

std::string Query(const std::string& connectionString, const std::string& mdx) {
    Cellset cellset;
    cellset.SetActiveConnection(connectionString);
    cellset.Open(mdx);
    return CellsetToText(cellset);
}

// The server's answer with its All members named as a local cube names them.
std::string AsLocal(std::string text) {
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"[Customer].[All Customers]", "[Customer].[All]"},
          {"[Product].[All Products]", "[Product].[All]"},
          {"[Time].[All Times]", "[Time].[All]"}})
        for (size_t p; (p = text.find(from)) != std::string::npos;) text.replace(p, from.size(), to);
    return text;
}

struct TCopy {
    cbtest::TRecordingUI UI;
    bool Ok = false;
    std::string File;
};

// The copy wizard's builder over the server's cube, with the lists it reads.
std::unique_ptr<TCopy> CopyServerCube(const std::string& file, const std::vector<std::string>& dimensions = {}) {
    auto copy = std::make_unique<TCopy>();
    copy->File = file;
    const TAppContext context{nullptr, nullptr, &copy->UI};
    TCreateLocalCubeUsingGlobalCreate builder(context);
    auto description = std::make_unique<TCubeConnectionString>();
    description->ConnectionType = TConnectionType::ctAnalysisServer;
    description->ServerName = ShopServer().Address;
    description->Catalog = "Shop";
    EXPECT_TRUE(builder.Connection().Connect(std::move(description)));
    EXPECT_TRUE(builder.Connection().SelectCube("Sales"));
    EXPECT_TRUE(builder.LoadDimensionNames());
    EXPECT_TRUE(builder.LoadMeasureNames());
    // The calculated Profit is not a stored measure.
    EXPECT_EQ(builder.MeasureNames, (std::vector<std::string>{"[Revenue]", "[Cost]", "[Orders]"}));
    EXPECT_EQ(builder.DimensionNames, (std::vector<std::string>{"[Customer]", "[Product]", "[Time]"}));
    if (!dimensions.empty()) builder.DimensionNames = dimensions;
    builder.CubeName = "Shop Copy";
    auto location = std::make_unique<TCreateLocalCubeUsingGlobalCreateStorageLocation>();
    location->FileName = file;
    builder.SetStorageLocation(std::move(location));
    copy->Ok = builder.Execute();
    return copy;
}

}  // namespace

TEST(ServerCubeCopy, ReopensWithTheServersCells) {
    const std::string file = cbtest::xmla::ScratchFolder() + "/copy.cub";
    auto copy = CopyServerCube(file);
    ASSERT_TRUE(copy->Ok) << (copy->UI.Errors.empty() ? "" : copy->UI.Errors[0]);
    const std::string local = "Data Source=" + QuoteConnectionStringValue(file) + ";";

    Catalog catalog;
    catalog.SetActiveConnection(local);
    EXPECT_EQ(catalog.CubeDefs().Item(0)->Name(), "Shop Copy");
    // Members keep the server's order and captions.
    const char* const queries[] = {
        "SELECT {[Measures].[Revenue], [Measures].[Cost], [Measures].[Orders]} ON COLUMNS, {@C, @C.Children, "
        "@C.[Europe].Children, @C.[Europe].[Switzerland].Children} ON ROWS FROM [@Cube]",
        "SELECT {{@T.Children}*{[Measures].[Orders]}} ON COLUMNS, {{@C.Children}*{@P.[Clothing].Children}} ON ROWS "
        "FROM [@Cube]",
        "SELECT {[Measures].[Cost]} ON COLUMNS, {[Time].Levels(2).members} ON ROWS FROM [@Cube]",
    };
    for (std::string query : queries) {
        std::string serverQuery = query, localQuery = query;
        const std::pair<const char*, std::pair<const char*, const char*>> tokens[] = {
            {"@C", {"[Customer].[All Customers]", "[Customer].[All]"}},
            {"@P", {"[Product].[All Products]", "[Product].[All]"}},
            {"@T", {"[Time].[All Times]", "[Time].[All]"}},
            {"@Cube", {"Sales", "Shop Copy"}}};
        for (auto it = std::rbegin(tokens); it != std::rend(tokens); ++it) {
            const std::string token = it->first;
            for (size_t p; (p = serverQuery.find(token)) != std::string::npos;)
                serverQuery.replace(p, token.size(), it->second.first);
            for (size_t p; (p = localQuery.find(token)) != std::string::npos;)
                localQuery.replace(p, token.size(), it->second.second);
        }
        EXPECT_EQ(Query(local, localQuery), AsLocal(Query(ServerString(), serverQuery))) << query;
    }
    const std::string captions = Query(local, "SELECT {[Measures].[Revenue]} ON COLUMNS, {[Product].[All].[Clothing]."
                                              "Children} ON ROWS FROM [Shop Copy]");
    EXPECT_NE(captions.find("[Product].[All].[Clothing].[Caps & Hats] | "), std::string::npos) << captions;
}

TEST(ServerCubeCopy, ADimensionLeftOutAddsUpOverIt) {
    const std::string file = cbtest::xmla::ScratchFolder() + "/customers.cub";
    auto copy = CopyServerCube(file, {"[Customer]"});
    ASSERT_TRUE(copy->Ok) << (copy->UI.Errors.empty() ? "" : copy->UI.Errors[0]);
    const std::string local = "Data Source=" + QuoteConnectionStringValue(file) + ";";
    EXPECT_EQ(Query(local, "SELECT {[Measures].[Revenue], [Measures].[Orders]} ON COLUMNS, "
                           "{[Customer].[City].members} ON ROWS FROM [Shop Copy]"),
              AsLocal(Query(ServerString(), "SELECT {[Measures].[Revenue], [Measures].[Orders]} ON COLUMNS, "
                                            "{[Customer].[City].members} ON ROWS FROM [Sales]")));
}

TEST(ServerCubeCopy, WhatCannotBeCopiedIsRefusedAndNoFileIsLeft) {
    const std::string folder = cbtest::xmla::ScratchFolder();
    struct Case {
        std::string items;
        std::string error;
    } cases[] = {
        {"MEASURE [Sales].[Profit]", "The calculated member [Measures].[Profit] cannot be copied as a stored measure"},
        {"MEASURE [Sales].[Margin]", "Unknown measure [Measures].[Margin]"},
        {"MEASURE [Sales].[Revenue], DIMENSION [Sales].[Region]", "Unknown dimension [Region]"},
        {"DIMENSION [Sales].[Customer]", "The new cube needs at least one measure"},
    };
    for (const Case& c : cases) {
        const std::string file = folder + "/refused.cub";
        Cellset cellset;
        cellset.SetActiveConnection(ServerString());
        try {
            cellset.Open("CREATE GLOBAL CUBE [X] STORAGE '" + file + "' FROM [Sales] (" + c.items + ")");
            ADD_FAILURE() << "no error for " << c.items;
        } catch (const EOlapError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.error + " at line 1", 0), 0u) << e.what();
        }
        EXPECT_FALSE(fs::exists(file)) << c.items;
    }
    // A file there that is not a cube is not replaced.
    const std::string other = folder + "/notes.cub";
    cbtest::writeFile(other, "my notes");
    Cellset cellset;
    cellset.SetActiveConnection(ServerString());
    EXPECT_THROW(cellset.Open("CREATE GLOBAL CUBE [X] STORAGE '" + other + "' FROM [Sales] (MEASURE [Sales].[Cost])"),
                 EOlapError);
    EXPECT_EQ(cbtest::readFile(other), "my notes");
    EXPECT_EQ(fs::directory_iterator(folder) == fs::directory_iterator(), false);
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename(), "notes.cub") << "left behind: " << entry.path();
}

namespace {

// CREATE GLOBAL CUBE of the stub's small cube "/copy/<variant>"; the error's
// text, or "" when the copy was made.
std::string CopyStubCube(const std::string& variant, const std::string& file) {
    Cellset cellset;
    cellset.SetActiveConnection("Data Source=" + QuoteConnectionStringValue(cbtest::xmla::StubAddress("/copy/" + variant)) +
                                ";Initial Catalog=\"Shop\";");
    try {
        cellset.Open("CREATE GLOBAL CUBE [Copy] STORAGE '" + file +
                     "' FROM [Sales] (MEASURE [Sales].[Revenue], DIMENSION [Sales].[Product])");
    } catch (const EOlapError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(ServerCubeCopy, EveryNumericTypeIsCopied) {
    const std::string file = cbtest::xmla::ScratchFolder() + "/numbers.cub";
    ASSERT_EQ(CopyStubCube("numbers", file), "");
    const std::string cells = Query("Data Source=" + QuoteConnectionStringValue(file) + ";",
                                    "SELECT {[Measures].[Revenue]} ON COLUMNS, {[Product].[Item].Members} ON ROWS "
                                    "FROM [Copy]");
    // A number typed as a text, "+7.25" with blanks around, an unsigned long,
    // a float with an exponent; an empty value is no fact (the member stays).
    for (const char* expected :
         {"[Tea] | 12.5\n", "[Coffee] | 7.25\n", "[Bread] | 40\n", "[Rice] | -150\n", "[Salt] |\n"})
        EXPECT_NE(cells.find(expected), std::string::npos) << expected << "\n" << cells;
}

TEST(ServerCubeCopy, WhatIsNoNumberOrWouldMergeMembersIsRefusedNamingIt) {
    const std::string server = cbtest::xmla::StubAddress("/copy/");
    struct Case {
        const char* variant;
        std::string error;
    } cases[] = {
        {"renamed", "The members [Product].[All Products].[Drinks].[Cof.fee] and "
                    "[Product].[All Products].[Drinks].[Cof_fee] of the server would both be named \"Cof_fee\""},
        {"renamed-case", "The members [Product].[All Products].[Drinks].[Cof.fee] and "
                         "[Product].[All Products].[Drinks].[COF_FEE] of the server would both be named \"COF_FEE\""},
        {"nan", "The analysis server " + server + "nan sent for the cell ([Product].[Food].[Bread], "
                "[Measures].[Revenue]) \"NaN\", which is not a number; the copy is not made"},
        {"inf", "The analysis server " + server + "inf sent for the cell ([Product].[Drinks].[Tea], "
                "[Measures].[Revenue]) \"-INF\", which is not a number; the copy is not made"},
        {"error", "The analysis server " + server + "error sent for the cell ([Product].[Drinks].[Tea], "
                  "[Measures].[Revenue]) an error (code 3238658057): Division by zero; the copy is not made"},
        {"text", "The analysis server " + server + "text sent for the cell ([Product].[Drinks].[Tea], "
                 "[Measures].[Revenue]) the text \"n/a\", which is not a number; the copy is not made"},
        {"big", "The analysis server " + server + "big sent for the cell ([Product].[Drinks].[Tea], "
                "[Measures].[Revenue]) the value 2e+15, beyond the 1e15 in magnitude a local cube "
                "holds; the copy is not made"},
    };
    const std::string folder = cbtest::xmla::ScratchFolder();
    for (const Case& c : cases) {
        const std::string file = folder + "/" + c.variant + ".cub";
        const std::string error = CopyStubCube(c.variant, file);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.variant << ": " << error;
        EXPECT_FALSE(fs::exists(file)) << c.variant;
    }
    EXPECT_EQ(fs::directory_iterator(folder), fs::directory_iterator()) << "a file was left behind";
}
