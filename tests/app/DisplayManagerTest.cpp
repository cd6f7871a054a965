// The display manager over the sample cube, with recording stand-ins for the
// grid layout manager and the chart builder.
#include "app/core/query/DisplayManager.h"
#include "MDXTestSupport.h"
#include "app/core/cube/CubeModel.h"

#include <gtest/gtest.h>
#include <map>

using namespace cb::app;
using cbtest::AxisTuples;
using Tuples = std::vector<std::vector<std::string>>;

namespace {

// Stand-in pointers: the display manager only hands them on.
alignas(16) char gGridTag, gOtherGridTag, gChartTag;
auto* const kGrid = reinterpret_cast<cb::grid::TExtStringGrid*>(&gGridTag);
auto* const kOtherGrid = reinterpret_cast<cb::grid::TExtStringGrid*>(&gOtherGridTag);
auto* const kChart = reinterpret_cast<cb::chart::TChart*>(&gChartTag);

struct LayoutLog {
    std::vector<cb::grid::TExtStringGrid*> rendered;  // grid at each Render
    std::shared_ptr<cb::olap::Cellset> cellset;
    std::map<std::pair<int, int>, std::string> keys;
};

class TRecordingGridLayout : public IGridLayout {
public:
    explicit TRecordingGridLayout(LayoutLog& log) : FLog(log) {}
    void SetGrid(cb::grid::TExtStringGrid* grid) override { FGrid = grid; }
    cb::grid::TExtStringGrid* GetGrid() const override { return FGrid; }
    void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) override { FLog.cellset = std::move(cellset); }
    bool Render() override {
        FLog.rendered.push_back(FGrid);
        return true;
    }
    std::string GetCellKey(int column, int row) const override {
        auto it = FLog.keys.find({column, row});
        return it == FLog.keys.end() ? "-1" : it->second;
    }
    int GridColumnToPosition(int column) const override { return column - 2; }
    int GridRowToPosition(int row) const override { return row - 3; }

private:
    LayoutLog& FLog;
    cb::grid::TExtStringGrid* FGrid = nullptr;
};

struct ChartLog {
    int renders = 0;
    int points = 0;            // total points of a build
    int pointsWithoutAll = 0;  // after the (All) members are hidden
    int column = -1, row = -1, groupBy = -1;
    bool enabled = false, showAll = true;
    cb::chart::TChart* chart = nullptr;
};

class TRecordingChartBuilder : public IChartBuilder {
public:
    explicit TRecordingChartBuilder(ChartLog& log) : FLog(log) {}
    void SetChart(cb::chart::TChart* chart) override { FLog.chart = chart; }
    cb::chart::TChart* GetChart() const override { return FLog.chart; }
    void SetEnabled(bool enabled) override { FLog.enabled = enabled; }
    bool GetEnabled() const override { return FLog.enabled; }
    void SetCellset(std::shared_ptr<cb::olap::Cellset>) override {
        FLog.column = FLog.row = -1;
        Render();
    }
    bool Render() override {
        ++FLog.renders;
        return true;
    }
    int GetTotalPointCount() const override { return FLog.showAll ? FLog.points : FLog.pointsWithoutAll; }
    void SetColumn(int position) override { FLog.column = position; }
    int GetColumn() const override { return FLog.column; }
    void SetRow(int position) override { FLog.row = position; }
    int GetRow() const override { return FLog.row; }
    void SetGroupBy(int level) override { FLog.groupBy = level; }
    int GetGroupBy() const override { return FLog.groupBy; }
    void SetMarksStyle(int) override {}
    int GetMarksStyle() const override { return -1; }
    void SetDataMode(TChartDataMode) override {}
    TChartDataMode GetDataMode() const override { return cdmAllCells; }
    void SetShowAllMembers(bool show) override { FLog.showAll = show; }
    bool GetShowAllMembers() const override { return FLog.showAll; }
    void SetChartType(int) override {}
    int GetChartType() const override { return 0; }
    void SetMeasureName(const std::string&) override {}
    std::string GetMeasureName() const override { return {}; }
    void SetMeasureFilter(bool) override {}
    bool GetMeasureFilter() const override { return false; }

private:
    ChartLog& FLog;
};

class DisplayManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), app.Context());
        ASSERT_TRUE(connection->Active);
        dm = std::make_unique<TDisplayManager>(app.Context(), std::make_unique<TRecordingGridLayout>(layout),
                                               std::make_unique<TRecordingChartBuilder>(chart));
        dm->OnQuery = [this](const std::string& mdx) { queries.push_back(mdx); };
        for (auto [event, name] : {std::pair{&dm->OnBeforeRefresh, "before"},
                                   {&dm->OnAfterRefresh, "after"},
                                   {&dm->OnStateChanged, "state"},
                                   {&dm->OnToggleChartRequest, "toggle"},
                                   {&dm->OnAxesChanged, "axes"},
                                   {&dm->OnMeasuresChanged, "measures"},
                                   {&dm->OnAllMembersHidden, "hidden"},
                                   {&dm->OnCubeReset, "reset"}})
            *event = [this, name = std::string(name)] { events.push_back(name); };
    }

    // Children of a member from the cube's metadata.
    std::vector<std::string> Level(const std::string& dimension, int depth) {
        std::vector<std::string> names;
        for (const auto& d : connection->GetCurrentCubeDef()->Dimensions())
            if (d->Name() == dimension)
                for (const auto& m : d->Hierarchies().Item(0)->Levels().Item(depth)->Members())
                    names.push_back(m->UniqueName());
        return names;
    }

    // Runs one user action and checks it ran exactly one query and one layout.
    template <class F>
    void Action(const char* what, F&& f) {
        SCOPED_TRACE(what);
        queries.clear();
        layout.rendered.clear();
        f();
        EXPECT_EQ(queries.size(), 1u) << what;
        EXPECT_EQ(layout.rendered.size(), 1u) << what;
        // What was laid out is the display cellset.
        EXPECT_EQ(layout.cellset, dm->GetCellset());
    }

    void ExpectView(const std::string& mdx, const Tuples& columns, const Tuples& rows) {
        EXPECT_EQ(dm->GetMDX(), mdx);
        ASSERT_TRUE(layout.cellset);
        EXPECT_EQ(AxisTuples(*layout.cellset, 0), columns);
        EXPECT_EQ(AxisTuples(*layout.cellset, 1), rows);
    }

    cbtest::TTestContext app;
    std::unique_ptr<TMSOLAPConnection> connection;
    LayoutLog layout;
    ChartLog chart;
    std::vector<std::string> queries, events;  // outlive the display manager's last events
    std::unique_ptr<TDisplayManager> dm;
};

const std::string kFrom = " ON COLUMNS FROM [Tavo_sample]";
const std::string kRevenue = "[Measures].[Revenue]";

}  // namespace

TEST_F(DisplayManagerFixture, ViewChangesEndToEnd) {
    const auto years = Level("Time", 1);
    ASSERT_GE(years.size(), 2u);
    std::string yearList;
    for (const auto& y : years) yearList += ", " + y;

    Action("open", [&] { dm->OpenCube(connection.get(), kGrid, nullptr); });
    EXPECT_TRUE(dm->IsCubeOpen());
    EXPECT_EQ(layout.rendered, std::vector<cb::grid::TExtStringGrid*>{kGrid});
    ExpectView(" SELECT {[Customer].[All]} ON ROWS, {" + kRevenue + "}" + kFrom, {{kRevenue}}, {{"[Customer].[All]"}});
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after", "state"}));
    EXPECT_FALSE(dm->CanUndo());

    const std::string afterSend = " SELECT {{[Customer].[All]}*{[Time].[All]}} ON ROWS, {" + kRevenue + "}" + kFrom;
    const Tuples sendRows{{"[Customer].[All]", "[Time].[All]"}};
    Action("send a dimension to the rows",
           [&] { EXPECT_TRUE(dm->AddToAxis("[Time].Levels(0).members", axRows, true)); });
    ExpectView(afterSend, {{kRevenue}}, sendRows);

    const std::string afterDrill =
        " SELECT {{[Customer].[All]}*{[Time].[All]" + yearList + "}} ON ROWS, {" + kRevenue + "}" + kFrom;
    Tuples drillRows{{"[Customer].[All]", "[Time].[All]"}};
    for (const auto& y : years) drillRows.push_back({"[Customer].[All]", y});
    Action("drill", [&] { EXPECT_TRUE(dm->ToggleDrillDown("[Time].[All]")); });
    ExpectView(afterDrill, {{kRevenue}}, drillRows);

    app.UI.Answer = true;
    Action("swap", [&] { EXPECT_TRUE(dm->SwapRowsAndColumns()); });
    EXPECT_EQ(app.UI.Questions.size(), 1u);  // no columns: asked first
    Tuples swapColumns;
    for (const auto& r : drillRows) swapColumns.push_back({r[0], r[1], kRevenue});
    ExpectView(" SELECT {} ON ROWS, {{[Customer].[All]}*{[Time].[All]" + yearList + "}*{" + kRevenue + "}}" + kFrom,
               swapColumns, {});

    Action("undo", [&] { EXPECT_TRUE(dm->Undo()); });
    ExpectView(afterDrill, {{kRevenue}}, drillRows);
    Action("undo again", [&] { EXPECT_TRUE(dm->Undo()); });
    ExpectView(afterSend, {{kRevenue}}, sendRows);
    Action("redo", [&] { EXPECT_TRUE(dm->Redo()); });
    ExpectView(afterDrill, {{kRevenue}}, drillRows);
    EXPECT_TRUE(dm->CanUndo());
    EXPECT_TRUE(dm->CanRedo());

    Action("tick a measure", [&] { dm->AddToAxis("[Measures].[Units]", axMeasures, true); });
    EXPECT_EQ(AxisTuples(*layout.cellset, 0), (Tuples{{kRevenue}, {"[Measures].[Units]"}}));
    EXPECT_FALSE(dm->CanRedo());

    Action("collapse", [&] { EXPECT_TRUE(dm->ToggleDrillDown("[Time].[All]")); });
    EXPECT_EQ(AxisTuples(*layout.cellset, 1), sendRows);

    Action("remove", [&] { dm->RemoveFromAxes("[Time].[All]", true); });
    EXPECT_EQ(AxisTuples(*layout.cellset, 1), (Tuples{{"[Customer].[All]"}}));

    Action("empty", [&] { dm->EmptyCube(); });
    EXPECT_EQ(dm->GetMDX(), " SELECT {} ON ROWS, {" + kRevenue + ",[Measures].[Units]}" + kFrom);

    events.clear();
    Action("reset", [&] { dm->ResetCube(); });
    ExpectView(" SELECT {[Customer].[All]} ON ROWS, {" + kRevenue + "}" + kFrom, {{kRevenue}}, {{"[Customer].[All]"}});
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after", "reset", "axes", "measures"}));

    // Nothing changes, nothing runs: drilling a measure.
    queries.clear();
    EXPECT_FALSE(dm->ToggleDrillDown(kRevenue));
    EXPECT_TRUE(queries.empty());
}

TEST_F(DisplayManagerFixture, FailingQueriesAtTheDisplayStillBalanceTheRefreshEvents) {
    dm->OpenCube(connection.get(), kGrid, nullptr);
    // A failing change is answered by the default view...
    dm->AddToAxis("[Nowhere].[x]", axRows, true);
    EXPECT_EQ(app.UI.Informations.size(), 1u);
    EXPECT_EQ(AxisTuples(*layout.cellset, 1), (Tuples{{"[Customer].[All]"}}));
    // ...and undoing the reset brings the failing lists back: the display's
    // own query fails and the failure reaches the caller.
    events.clear();
    EXPECT_THROW(dm->Undo(), cb::olap::EOlapError);
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(app.UI.Informations.size(), 1u);
}

TEST_F(DisplayManagerFixture, OpeningWithoutAGridShowsNothing) {
    dm->OpenCube(connection.get(), nullptr, nullptr);
    EXPECT_FALSE(dm->IsCubeOpen());
    EXPECT_TRUE(layout.rendered.empty());
    EXPECT_EQ(dm->GetCubeCaption(), "Tavo sample");

    // A preview grid is filled once and the attached one comes back.
    dm->OpenCube(connection.get(), kGrid, nullptr);
    layout.rendered.clear();
    dm->RenderToGrid(kOtherGrid);
    EXPECT_EQ(layout.rendered, std::vector<cb::grid::TExtStringGrid*>{kOtherGrid});
    EXPECT_EQ(dm->GetGrid(), kGrid);

    dm->CloseCube();
    EXPECT_FALSE(dm->IsCubeOpen());
    EXPECT_FALSE(dm->OnMeasuresChanged);
}

TEST_F(DisplayManagerFixture, ChartPointLimit) {
    struct Case {
        int points, pointsWithoutAll;
        bool showAll, answer;
        std::vector<std::string> events;
        size_t questions, informations;
    } cases[] = {
        {70, 70, true, true, {"axes"}, 0, 0},    {71, 10, true, false, {"toggle"}, 1, 0},
        {71, 70, true, true, {"hidden"}, 1, 0},  {71, 71, true, true, {"hidden", "toggle"}, 1, 1},
        {71, 71, false, true, {"toggle"}, 0, 1},
    };
    dm->OpenCube(connection.get(), kGrid, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.points);
        // Attaching the chart builds it from the view at once.
        chart.points = chart.pointsWithoutAll = 0;
        const int renders = chart.renders;
        dm->SetChart(kChart);
        EXPECT_TRUE(dm->GetChartEnabled());
        EXPECT_GT(chart.renders, renders);
        chart.points = c.points;
        chart.pointsWithoutAll = c.pointsWithoutAll;
        chart.showAll = c.showAll;
        app.UI.Answer = c.answer;
        app.UI.Questions.clear();
        app.UI.Informations.clear();
        events.clear();
        dm->RefreshChart();
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(app.UI.Questions.size(), c.questions);
        EXPECT_EQ(app.UI.Informations.size(), c.informations);
    }
    // A chart switched off is not built.
    dm->SetChartEnabled(false);
    const int renders = chart.renders;
    dm->RefreshChart();
    EXPECT_EQ(chart.renders, renders);
}

TEST_F(DisplayManagerFixture, GridKeysChartSelectionAndDimensions) {
    dm->OpenCube(connection.get(), kGrid, nullptr);
    layout.keys[{0, 2}] = "[Customer]";
    layout.keys[{0, 3}] = "[Customer].[All]";
    EXPECT_EQ(dm->GetCellKey(0, 2), "[Customer]");
    EXPECT_EQ(dm->GetCellKey(9, 9), "-1");
    for (auto [key, isDimension] : {std::pair{"[D]", true}, {"[D].[a]", false}, {"d", false}, {"", false}})
        EXPECT_EQ(TDisplayManager::IsDimensionKey(key), isDimension) << key;
    EXPECT_EQ(TDisplayManager::ExtractFirstBracketedName("[D].[a].[b]"), "D");
    EXPECT_EQ(TDisplayManager::ExtractLastBracketedName("[D].[a].[b]"), "b");
    EXPECT_EQ(TDisplayManager::ExtractFirstBracketedName("[D"), "");

    dm->SelectChartColumn(5);
    dm->SelectChartRow(7);
    EXPECT_EQ(dm->GetChartColumn(), 3);
    EXPECT_EQ(dm->GetChartRow(), 4);

    // The channels on the rows come back selected in the dimension's members.
    dm->AddToAxis("[Channel].[All].Children", axRows, true);
    const auto channels = Level("Channel", 1);
    EXPECT_EQ(dm->GetAxisOfDimension("Channel"), axRows);
    auto dimension = dm->BuildDimension("[Channel].[All]");
    ASSERT_TRUE(dimension);
    EXPECT_EQ(dimension->UniqueName, "[Channel]");
    EXPECT_EQ(dimension->DimensionType, 3);
    EXPECT_FALSE(dimension->IsMeasures);
    ASSERT_EQ(dimension->GetMemberCount(), static_cast<int>(channels.size()) + 2);  // level, (All), channels
    EXPECT_EQ(dimension->GetMember(1)->UniqueName, "[Channel].[All]");
    EXPECT_FALSE(dimension->GetMember(1)->Selected);
    for (size_t i = 0; i < channels.size(); ++i) {
        EXPECT_EQ(dimension->GetMember(static_cast<int>(i) + 2)->UniqueName, channels[i]);
        EXPECT_TRUE(dimension->GetMember(static_cast<int>(i) + 2)->Selected);
    }
    auto measures = dm->BuildDimension("[Measures]");
    ASSERT_TRUE(measures);
    EXPECT_TRUE(measures->IsMeasures);
    EXPECT_TRUE(measures->FindMember(kRevenue)->Selected);
    EXPECT_FALSE(measures->FindMember("[Measures].[Cost]")->Selected);
    EXPECT_EQ(dm->BuildDimension("[Nowhere]"), nullptr);
}
