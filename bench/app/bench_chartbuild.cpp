// Time of one chart build on the sample cube: the builder fills the chart's
// series from a cellset that is already open (the query runs outside the
// timing). Every city by one measure, and a cross join of 100 cities by 20
// months.
#include "app/core/cube/CubeConnection.h"
#include "app/core/query/GraphDisplayManager.h"
#include "chart/component/Chart.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace cb::app;

namespace {

std::unique_ptr<TMSOLAPConnection> gConnection;

std::vector<std::string> LevelMembers(const std::string& dimension, int depth, size_t limit) {
    std::vector<std::string> names;
    for (const auto& d : gConnection->GetCurrentCubeDef()->Dimensions())
        if (d->Name() == dimension)
            for (const auto& m : d->Hierarchies().Item(0)->Levels().Item(depth)->Members()) {
                if (names.size() == limit) break;
                names.push_back(m->UniqueName());
            }
    return names;
}

std::string SetOf(const std::vector<std::string>& names) {
    std::string set = "{";
    for (size_t i = 0; i < names.size(); ++i) set += (i ? "," : "") + names[i];
    return set + "}";
}

void BuildChart(benchmark::State& state, const std::string& rows) {
    auto cellset = std::make_shared<cb::olap::Cellset>();
    cellset->SetActiveConnection(gConnection->GetConnectionString());
    cellset->Open("SELECT {[Measures].[Revenue]} ON COLUMNS, " + rows + " ON ROWS FROM [Tavo_sample]");
    cb::chart::TChart chart;
    TGraphDisplayManager builder;
    builder.SetChart(&chart);
    builder.SetEnabled(true);
    builder.SetCellset(cellset);
    for (auto _ : state) benchmark::DoNotOptimize(builder.Render());
    state.counters["points"] = builder.GetTotalPointCount();
    state.counters["series"] = chart.NumberOfSeries();
}

void BM_ChartOfAllCities(benchmark::State& state) {
    BuildChart(state, SetOf(LevelMembers("Customer", 3, 100000)));
}

void BM_ChartOfCrossJoin100x20(benchmark::State& state) {
    BuildChart(state, "CROSSJOIN(" + SetOf(LevelMembers("Customer", 3, 100)) + ", " +
                          SetOf(LevelMembers("Time", 3, 20)) + ")");
}

BENCHMARK(BM_ChartOfAllCities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartOfCrossJoin100x20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto description = std::make_unique<TCubeConnectionString>();
    description->ConnectionType = TConnectionType::ctLocalCubeFile;
    description->FileName = std::string(CB_BIN_DIR) + "/Local Cubes/Tavo_sample.cub";
    gConnection = std::make_unique<TMSOLAPConnection>(std::move(description));
    if (!gConnection->GetCurrentCubeDef()) {
        std::fprintf(stderr, "bench_chartbuild: the sample cube could not be opened\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gConnection.reset();
    return 0;
}
