// Connection descriptions, connecting, and the cube name check.
#include "app/core/cube/CubeConnection.h"
#include "MDXTestSupport.h"
#include "app/core/cube/CubeModel.h"
#include "olap/adomd/ConnectionString.h"

#include <gtest/gtest.h>

using namespace cb::app;

TEST(CubeConnectionString, StringsAndDescriptionsByType) {
    struct Case {
        TConnectionType type;
        std::string server, catalog, file;
        std::string connectionString, description;
    } cases[] = {
        {TConnectionType::ctLocalCubeFile, "", "", "/data/My Cubes/sales 2024.cub",
         "Data Source=\"/data/My Cubes/sales 2024.cub\";Provider=MSOLAP.2;",
         "Local Cube File: /data/My Cubes/sales 2024.cub"},
        {TConnectionType::ctAnalysisServer, "olap01", "Sales", "",
         "Data Source=\"olap01\";Initial Catalog=\"Sales\";Provider=MSOLAP.2;", "Analysis Server: olap01"},
        {TConnectionType::ctAnalysisServer, "  ", "Sales", "",
         "Data Source=\"  \";Initial Catalog=\"Sales\";Provider=MSOLAP.2;", "Analysis Server: localhost"},
        {TConnectionType::ctAnalysisServer, "", "Sales", "",
         "Data Source=\"\";Initial Catalog=\"Sales\";Provider=MSOLAP.2;", "Analysis Server: localhost"},
        {TConnectionType::ctAnalysisServer, " olap01 ", "", "",
         "Data Source=\" olap01 \";Initial Catalog=\"\";Provider=MSOLAP.2;", "Analysis Server:  olap01 "},
        // A double quote inside a value is written twice, so any name reads back.
        {TConnectionType::ctLocalCubeFile, "", "", "/data/we\"ird; x=1.cub",
         "Data Source=\"/data/we\"\"ird; x=1.cub\";Provider=MSOLAP.2;", "Local Cube File: /data/we\"ird; x=1.cub"},
        {TConnectionType::ctAnalysisServer, "a\"b", "c\"", "",
         "Data Source=\"a\"\"b\";Initial Catalog=\"c\"\"\";Provider=MSOLAP.2;", "Analysis Server: a\"b"},
        {TConnectionType::ctNone, "olap01", "Sales", "x.cub", "", "Unknown connection information"},
        {static_cast<TConnectionType>(7), "olap01", "Sales", "x.cub", "", "Unknown connection information"},
    };
    for (const auto& c : cases) {
        TCubeConnectionString s;
        s.ConnectionType = c.type;
        s.ServerName = c.server;
        s.Catalog = c.catalog;
        s.FileName = c.file;
        s.LastConnectionString = "stale";
        EXPECT_EQ(s.GetConnectionString(), c.connectionString);
        EXPECT_EQ(s.LastConnectionString, c.connectionString);
        EXPECT_EQ(s.GetDescription(), c.description);
        if (c.type == TConnectionType::ctLocalCubeFile) {
            EXPECT_EQ(cb::olap::ParseConnectionString(c.connectionString).Get("Data Source"), c.file);
        }
        if (c.type == TConnectionType::ctAnalysisServer) {
            EXPECT_EQ(cb::olap::ParseConnectionString(c.connectionString).Get("Data Source"), c.server);
            EXPECT_EQ(cb::olap::ParseConnectionString(c.connectionString).Get("Initial Catalog"), c.catalog);
        }
    }

    TCubeConnectionString s;
    s.SetFileName("  /a/b.cub ");
    EXPECT_EQ(s.FileName, "/a/b.cub");
    s.SetFileName(" /a/b.cub");
    EXPECT_EQ(s.FileName, "/a/b.cub");
}

TEST(CubeConnection, FailedConnectIsShownOnceAndLeavesItInactive) {
    cbtest::TTestContext app;
    auto description = std::make_unique<TCubeConnectionString>();  // type 0: empty string
    TMSOLAPConnection connection(std::move(description), app.Context());
    EXPECT_FALSE(connection.Active);
    EXPECT_FALSE(connection.DisplayErrors);
    ASSERT_EQ(app.UI.Errors.size(), 1u);
    EXPECT_EQ(app.UI.Errors[0].rfind("Unable to connect using connection string with error: ", 0), 0u)
        << app.UI.Errors[0];
    EXPECT_FALSE(connection.GetCubeDefs());
    EXPECT_EQ(connection.GetCurrentCubeDef(), nullptr);
    EXPECT_EQ(connection.GetActiveConnection(), nullptr);
    EXPECT_FALSE(connection.SelectCubeByName("x"));

    auto missing = std::make_unique<TCubeConnectionString>();
    missing->ConnectionType = TConnectionType::ctLocalCubeFile;
    missing->FileName = app.Dir().file("missing.cub");
    EXPECT_FALSE(connection.Connect(std::move(missing)));
    ASSERT_EQ(app.UI.Errors.size(), 2u);
    EXPECT_NE(app.UI.Errors[1].find("string" + std::string("Data Source=\"") + app.Dir().file("missing.cub")),
              std::string::npos);
    EXPECT_EQ(connection.GetFileName(), app.Dir().file("missing.cub"));
}

TEST(CubeModel, CubeNameCheck) {
    struct Case {
        std::string name;
        const char* message;  // none: valid
    } cases[] = {
        {std::string(50, 'a'), nullptr},
        {std::string(51, 'a'), "Cube name cannot be longer than 50 characters."},
        // Characters are counted, not bytes: "\xC3\xA9" is one character.
        {[] {
             std::string s = "S";
             for (int i = 0; i < 49; ++i) s += "\xC3\xA9";
             return s;
         }(),
         nullptr},
        {[] {
             std::string s = "S";
             for (int i = 0; i < 50; ++i) s += "\xC3\xA9";
             return s;
         }(),
         "Cube name cannot be longer than 50 characters."},
        {"", "Cube name connot be empty."},
        {" \t ", "Cube name connot be empty."},
        {" Sales", "Cube name must begin with a letter."},
        {"_Sales", "Cube name must begin with a letter."},
        {"1Sales", "Cube name must begin with a letter."},
        {"Sales 2024", nullptr},
        {"Sales-2024", "Invalid character \"-\" within cube name."},
        {"S#,@\\_|9", nullptr},
        {"Sales.old", "Invalid character \".\" within cube name."},
        {"a!b\"", "Invalid character \"!\" within cube name."},
        {"a~", "Invalid character \"~\" within cube name."},
        {"a[b]", "Invalid character \"[\" within cube name."},
        {"a{b", "Invalid character \"{\" within cube name."},
        {"a`b", "Invalid character \"`\" within cube name."},
    };
    cbtest::TTestContext app;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app.UI.Errors.clear();
        EXPECT_EQ(IsValidCubeName(c.name), c.message == nullptr);
        EXPECT_TRUE(app.UI.Errors.empty());
        EXPECT_EQ(IsValidCubeName(c.name, &app.UI), c.message == nullptr);
        if (c.message) {
            ASSERT_EQ(app.UI.Errors.size(), 1u);
            EXPECT_EQ(app.UI.Errors[0], c.message);
        } else {
            EXPECT_TRUE(app.UI.Errors.empty());
        }
    }
}

TEST(CubeModel, ValueTypesAndTextHelpers) {
    TDimension d;
    EXPECT_EQ(d.DimensionType, 4);
    auto a = std::make_unique<TDimensionMember>();
    a->Caption = "A";
    a->UniqueName = "[D].[a]";
    a->Depth = 1;
    d.AddMember(std::move(a));
    d.Name = "D";
    TDimension copy;
    copy.Assign(d);
    ASSERT_EQ(copy.GetMemberCount(), 1);
    EXPECT_NE(copy.GetMember(0), d.GetMember(0));  // members are copied, not shared
    EXPECT_EQ(copy.FindMember("[D].[a]")->Caption, "A");
    EXPECT_EQ(copy.FindMember("[D].[A]"), nullptr);
    EXPECT_EQ(copy.Name, "D");

    EXPECT_EQ(GetLastBracketedPart("[D].[L1].[L2]"), "[L2]");
    EXPECT_EQ(GetLastBracketedPart("plain"), "plain");
    EXPECT_EQ(GetDimensionType(nullptr), 4);
}

TEST(CubeConnection, SampleCubeFacts) {
    cbtest::TTestContext app;
    auto connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), app.Context());
    ASSERT_TRUE(connection->Active);
    EXPECT_TRUE(app.UI.Errors.empty());
    EXPECT_TRUE(connection->GetActiveConnection());
    EXPECT_EQ(connection->GetConnectionString(), cbtest::LocalCubeConnectionString(cbtest::SampleCubePath()));
    EXPECT_FALSE(connection->SelectCubeByName("tavo_sample"));  // case matters
    EXPECT_TRUE(connection->SelectCube("Tavo_sample"));
    EXPECT_EQ(connection->CubeIndex, 0);
    auto cube = connection->GetCurrentCubeDef();
    ASSERT_TRUE(cube);

    auto dimensions = GetCubeDimensionNames(cube.get());
    ASSERT_TRUE(dimensions);
    EXPECT_EQ(*dimensions, (std::vector<std::string>{"[Customer]", "[Product]", "[Time]", "[Channel]"}));
    auto measures = GetCubeMeasureNames(cube.get());
    ASSERT_TRUE(measures);
    EXPECT_EQ(*measures, (std::vector<std::string>{"[Revenue]", "[Cost]", "[Units]", "[Orders]"}));
    EXPECT_FALSE(GetCubeLastDataUpdate(cube.get()).empty());

    int calculated = 0;
    for (const auto& d : cube->Dimensions()) {
        EXPECT_EQ(GetDimensionType(d.get()), d->UniqueName() == "[Measures]" ? 2 : 3);
        if (d->UniqueName() == "[Measures]")
            for (const auto& m : d->Hierarchies().Item(0)->Levels().Item(0)->Members())
                calculated += IsCalculatedMember(m.get()) ? 1 : 0;
    }
    EXPECT_EQ(calculated, 2);  // Profit and Margin
}
