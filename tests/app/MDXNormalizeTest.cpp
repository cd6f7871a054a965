// Normalising the query model's lists against the sample cube, and what a
// failing query does.
#include "MDXTestSupport.h"
#include "app/core/settings/Config.h"
#include "app/core/cube/CubeModel.h"
#include "app/core/query/MDXBuilder.h"

#include <gtest/gtest.h>

using namespace cb::app;
using cbtest::AxisTuples;

namespace {

class MDXNormalize : public ::testing::Test {
protected:
    void SetUp() override {
        connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), app.Context());
        ASSERT_TRUE(connection->Active) << (app.UI.Errors.empty() ? "" : app.UI.Errors[0]);
        cube = connection->GetCurrentCubeDef();
        ASSERT_TRUE(cube);
        builder.OnQuery = [this](const std::string& mdx) { queries.push_back(mdx); };
        builder.OnOpenWebPage = [this](const std::string& url) {
            pages.push_back(url);
            return true;
        };
        builder.ConnectionString = connection->GetConnectionString();
        builder.SetCubeName("[" + cube->Name() + "]");
    }

    // Children of a member, from the cube's own metadata.
    std::vector<std::string> ChildrenOf(const std::string& dimension, int depth) {
        std::vector<std::string> names;
        for (const auto& d : cube->Dimensions())
            if (d->Name() == dimension)
                for (const auto& m : d->Hierarchies().Item(0)->Levels().Item(depth)->Members())
                    names.push_back(m->UniqueName());
        return names;
    }

    int LogLines() const {
        const std::string log = app.LogText();
        int n = 0;
        for (size_t p = 0; (p = log.find("Error building requested data display with error:", p)) != std::string::npos;
             ++p)
            ++n;
        return n;
    }

    // Settings that name a support page.
    static TCubeBrowserConfig* WithSupportPage(cbtest::TTestContext& app, std::unique_ptr<TCubeBrowserConfig>& own) {
        own = TCubeBrowserConfig::CreateDefault(app.Dir().file("app.ini"), app.Dir().path().string() + "/");
        own->SupportAddress = "https://forum.invalid/cube";
        app.Config = own.get();
        return own.get();
    }

    cbtest::TTestContext app;
    std::unique_ptr<TCubeBrowserConfig> config;
    TCubeBrowserConfig* configSet = WithSupportPage(app, config);
    std::unique_ptr<TMSOLAPConnection> connection;
    std::shared_ptr<cb::olap::CubeDef> cube;
    TMDXBuilder builder{app.Context()};
    std::vector<std::string> queries, pages;
};

}  // namespace

TEST_F(MDXNormalize, DefaultQueryShowsTheFirstDimensionsTopMembers) {
    builder.SetCubeDef(cube);
    ASSERT_EQ(queries.size(), 1u);
    std::string first;
    for (const auto& d : cube->Dimensions())
        if (GetDimensionType(d.get()) != 2 && first.empty()) first = d->UniqueName();
    EXPECT_EQ(queries[0], "SELECT {[Measures].members(0)} ON COLUMNS, {AddCalculatedMembers({" + first +
                              ".levels(0).members})} ON ROWS FROM [" + cube->Name() + "]");
    EXPECT_EQ(builder.Rows, TTextList{first + ".[All]"});
    EXPECT_TRUE(builder.Columns.empty());
    EXPECT_EQ(builder.Measures, TTextList{"[Measures].[Revenue]"});
    EXPECT_FALSE(builder.Changed);
    EXPECT_FALSE(builder.CanUndo());
    // Composing the normalised lists needs no further query, and the result
    // of the default query answers the composed text.
    const std::string mdx = builder.GetMDX();
    EXPECT_EQ(mdx, " SELECT {" + first + ".[All]} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Tavo_sample]");
    EXPECT_EQ(queries.size(), 1u);
    EXPECT_TRUE(builder.TakeResult(mdx));
    // Resetting an unchanged default view runs nothing and adds no step.
    EXPECT_TRUE(builder.ResetToDefaultQuery());
    EXPECT_EQ(queries.size(), 1u);
    EXPECT_FALSE(builder.CanUndo());
}

TEST_F(MDXNormalize, ListsBecomeTheMembersTheEngineReturned) {
    const auto channels = ChildrenOf("Channel", 1);
    const auto years = ChildrenOf("Time", 1);
    ASSERT_GE(channels.size(), 2u);
    ASSERT_GE(years.size(), 2u);
    struct Case {
        const char* what;
        TTextList rows, columns, measures;
        TTextList expectedRows, expectedColumns, expectedMeasures;
    } cases[] = {
        {"children expand",
         {"[Channel].[All].Children"},
         {},
         {"[Measures].[Revenue]"},
         channels,
         {},
         {"[Measures].[Revenue]"}},
        // crossed rows repeat each channel for every year; each is kept once
        {"crossed members once each",
         {"[Channel].[All].Children", "[Time].[All].Children"},
         {},
         {"[Measures].[Units]"},
         [&] {
             TTextList l = channels;
             l.insert(l.end(), years.begin(), years.end());
             return l;
         }(),
         {},
         {"[Measures].[Units]"}},
        {"drilled member keeps its place",
         {"[Channel].[All]", "[Channel].[All].Children"},
         {"[Time].[All]"},
         {"[Measures].[Revenue]", "[Measures].[Cost]"},
         [&] {
             TTextList l{"[Channel].[All]"};
             l.insert(l.end(), channels.begin(), channels.end());
             return l;
         }(),
         {"[Time].[All]"},
         {"[Measures].[Revenue]", "[Measures].[Cost]"}},
        {"a union becomes its members",
         {"HIERARCHIZE(UNION({" + channels[1] + "},{" + channels[0] + "}))"},
         {},
         {"[Measures].[Revenue]"},
         {channels[0], channels[1]},
         {},
         {"[Measures].[Revenue]"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        builder.Rows = c.rows;
        builder.Columns = c.columns;
        builder.Measures = c.measures;
        builder.Changed = true;
        queries.clear();
        const std::string mdx = builder.GetMDX();
        EXPECT_EQ(queries.size(), 1u);
        EXPECT_EQ(builder.Rows, c.expectedRows);
        EXPECT_EQ(builder.Columns, c.expectedColumns);
        EXPECT_EQ(builder.Measures, c.expectedMeasures);
        EXPECT_FALSE(builder.Changed);

        // Running the composed text gives the same axes as the result kept
        // from normalising.
        auto kept = builder.TakeResult(mdx);
        ASSERT_TRUE(kept);
        cb::olap::Cellset fresh;
        fresh.SetActiveConnection(connection->GetActiveConnection());
        fresh.Open(mdx);
        EXPECT_EQ(AxisTuples(*kept, 0), AxisTuples(fresh, 0));
        EXPECT_EQ(AxisTuples(*kept, 1), AxisTuples(fresh, 1));
        EXPECT_FALSE(builder.TakeResult(mdx));  // handed over once
    }
}

TEST_F(MDXNormalize, ResultThatDiffersFromTheComposedTextIsNotKept) {
    // A member listed twice shows twice; normalised it is listed once, so the
    // composed text gives other axes and must run itself.
    const auto channels = ChildrenOf("Channel", 1);
    builder.Rows = {channels[0], channels[0]};
    builder.Measures = {"[Measures].[Revenue]"};
    builder.Changed = true;
    const std::string mdx = builder.GetMDX();
    EXPECT_EQ(builder.Rows, TTextList{channels[0]});
    EXPECT_FALSE(builder.TakeResult(mdx));

    // An empty set of children normalises to no rows at all, which the
    // kept result answers as well.
    builder.Rows = {channels.back() + ".Children"};
    builder.Changed = true;
    const std::string empty = builder.GetMDX();
    EXPECT_TRUE(builder.Rows.empty());
    EXPECT_EQ(empty, " SELECT {} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Tavo_sample]");
    auto kept = builder.TakeResult(empty);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Axes().Item(1)->DimensionCount(), 0);
}

TEST_F(MDXNormalize, DrillingALeafChangesNothing) {
    builder.SetCubeDef(cube);
    const auto channels = ChildrenOf("Channel", 1);
    builder.Rows = {"[Time].[All]"};
    builder.Columns = channels;
    builder.Changed = false;
    builder.SaveUndoState();
    ASSERT_TRUE(builder.Undo());  // one state to redo
    queries.clear();

    EXPECT_FALSE(builder.ToggleDrillDown(channels[0]));  // a channel has no children
    EXPECT_EQ(builder.Columns, channels);
    EXPECT_FALSE(builder.CanUndo());
    EXPECT_TRUE(builder.CanRedo());
    EXPECT_FALSE(builder.Changed);

    EXPECT_TRUE(builder.ToggleDrillDown("[Time].[All]"));
    EXPECT_EQ(builder.Rows, (TTextList{"[Time].[All]", "[Time].[All].Children"}));
    EXPECT_TRUE(builder.CanUndo());
    EXPECT_FALSE(builder.CanRedo());
    EXPECT_TRUE(queries.empty());  // finding out needs no query
}

TEST_F(MDXNormalize, FailingQueryIsLoggedToldAndAnsweredByTheDefaultView) {
    builder.SetCubeDef(cube);
    const TTextList defaultRows = builder.Rows;
    builder.AddToAxis("[Nowhere].[x]", axColumns, true);
    queries.clear();
    const std::string mdx = builder.GetMDX();
    EXPECT_EQ(queries.size(), 2u);  // the failing one, then the default
    EXPECT_EQ(builder.Rows, defaultRows);
    EXPECT_TRUE(builder.Columns.empty());
    EXPECT_EQ(mdx, " SELECT {" + defaultRows[0] + "} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Tavo_sample]");
    EXPECT_TRUE(builder.TakeResult(mdx));
    EXPECT_FALSE(builder.Changed);

    EXPECT_EQ(LogLines(), 1);
    const std::string log = app.LogText();
    EXPECT_NE(log.find("Current MDX was: \r\r SELECT {" + defaultRows[0] + "} ON ROWS, {{[Nowhere].[x]}*"),
              std::string::npos)
        << log;
    ASSERT_EQ(app.UI.Informations.size(), 1u);
    EXPECT_EQ(app.UI.Informations[0].rfind("Error building requested data display with error:", 0), 0u);
    EXPECT_NE(app.UI.Informations[0].find("\r\rThe display will be reset.\r\rProbable cause"), std::string::npos);
    EXPECT_EQ(pages, std::vector<std::string>{"https://forum.invalid/cube"});

    // The reset is a step: undo returns to the failing lists.
    EXPECT_EQ(builder.UndoList().Count(), 2);
    builder.Undo();
    EXPECT_EQ(builder.Columns, TTextList{"[Nowhere].[x]"});
}

TEST_F(MDXNormalize, FailingDefaultQueryIsNotResetAgain) {
    builder.SetCubeDef(cube);
    builder.AddToAxis("[Time].[All].Children", axColumns, true);
    // The cube file goes away: every query, the default one too, fails.
    builder.ConnectionString = cbtest::LocalCubeConnectionString(app.Dir().file("gone.cub"));
    builder.GetMDX();
    EXPECT_EQ(LogLines(), 2);                   // both failures are logged
    EXPECT_EQ(app.UI.Informations.size(), 2u);  // and told
    EXPECT_EQ(pages.size(), 1u);                // the support page opens once

    // Opening a cube whose default query fails: one failure, no reset.
    TMDXBuilder other(app.Context());
    other.OnOpenWebPage = builder.OnOpenWebPage;
    other.ConnectionString = builder.ConnectionString;
    other.SetCubeDef(cube);
    EXPECT_EQ(LogLines(), 3);
    EXPECT_EQ(pages.size(), 2u);
    EXPECT_FALSE(other.ResetToDefaultQuery());
    EXPECT_EQ(LogLines(), 4);
    EXPECT_EQ(app.UI.Informations.size(), 4u);
    EXPECT_EQ(pages.size(), 3u);
}

TEST_F(MDXNormalize, FailingQueryOpensNoPageWithoutASupportAddress) {
    config->SupportAddress.clear();
    builder.SetCubeDef(cube);
    builder.AddToAxis("[Nowhere].[x]", axColumns, true);
    builder.GetMDX();
    EXPECT_EQ(LogLines(), 1);
    EXPECT_TRUE(pages.empty());
}
