// Time of one view change on the sample cube: the display manager takes the
// user's action, runs the query and hands the result to a grid layout that
// reads every header caption and formatted cell (what a layout reads), but
// paints nothing.
#include "app/core/cube/CubeConnection.h"
#include "app/core/query/DisplayManager.h"

#include <benchmark/benchmark.h>

using namespace cb::app;

namespace {

class TReadingLayout : public IGridLayout {
public:
    void SetGrid(cb::grid::TExtStringGrid* grid) override { FGrid = grid; }
    cb::grid::TExtStringGrid* GetGrid() const override { return FGrid; }
    void SetCellset(std::shared_ptr<cb::olap::Cellset> cellset) override { FCellset = std::move(cellset); }
    bool Render() override {
        size_t bytes = 0;
        auto axes = FCellset->Axes();
        for (int a = 0; a < 2; ++a)
            for (const auto& p : axes.Item(a)->Positions())
                for (const auto& m : p->Members()) bytes += m->Caption().size() + m->UniqueName().size();
        const int columns = axes.Item(0)->Positions().Count();
        const int rows = axes.Item(1)->Positions().Count();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) bytes += FCellset->Item(c, r)->FormattedValue().size();
        Cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
        benchmark::DoNotOptimize(bytes);
        return true;
    }
    std::string GetCellKey(int, int) const override { return "-1"; }
    int GridColumnToPosition(int column) const override { return column; }
    int GridRowToPosition(int row) const override { return row; }

    size_t Cells = 0;

private:
    cb::grid::TExtStringGrid* FGrid = nullptr;
    std::shared_ptr<cb::olap::Cellset> FCellset;
};

alignas(16) char gGridTag;

struct Session {
    std::unique_ptr<TMSOLAPConnection> connection;
    std::unique_ptr<TDisplayManager> dm;
    TReadingLayout* layout = nullptr;
    int queries = 0;

    Session() {
        auto description = std::make_unique<TCubeConnectionString>();
        description->ConnectionType = TConnectionType::ctLocalCubeFile;
        description->FileName = std::string(CB_BIN_DIR) + "/Local Cubes/Tavo_sample.cub";
        connection = std::make_unique<TMSOLAPConnection>(std::move(description));
        auto reading = std::make_unique<TReadingLayout>();
        layout = reading.get();
        dm = std::make_unique<TDisplayManager>(cb::app::TAppContext{}, std::move(reading));
        dm->OnQuery = [this](const std::string&) { ++queries; };
        dm->OpenCube(connection.get(), reinterpret_cast<cb::grid::TExtStringGrid*>(&gGridTag), nullptr);
    }
};

// Drilling into the years of the time dimension and collapsing them again,
// with the customers' regions on the rows.
void BM_DrillAndCollapse(benchmark::State& state) {
    Session s;
    s.dm->AddToAxis("[Customer].[All].Children", axRows, true);
    s.dm->AddToAxis("[Time].[All]", axColumns, true);
    s.queries = 0;
    for (auto _ : state) s.dm->ToggleDrillDown("[Time].[All]");
    state.counters["queries_per_change"] = static_cast<double>(s.queries) / static_cast<double>(state.iterations());
    state.counters["cells"] = static_cast<double>(s.layout->Cells);
}
BENCHMARK(BM_DrillAndCollapse)->Unit(benchmark::kMillisecond);

// Ticking a measure on and off with every city against the years and
// two measures: a large result.
void BM_TickMeasureOnLargeView(benchmark::State& state) {
    Session s;
    s.dm->AddToAxis("AddCalculatedMembers([Customer].[City].members)", axRows, true);
    s.dm->AddToAxis("[Time].[All].Children", axColumns, true);
    s.dm->AddToAxis("[Measures].[Units]", axMeasures, true);
    s.queries = 0;
    bool on = false;
    for (auto _ : state) {
        if (on)
            s.dm->RemoveMeasure("[Measures].[Cost]", true);
        else
            s.dm->AddToAxis("[Measures].[Cost]", axMeasures, true);
        on = !on;
    }
    state.counters["queries_per_change"] = static_cast<double>(s.queries) / static_cast<double>(state.iterations());
    state.counters["cells"] = static_cast<double>(s.layout->Cells);
}
BENCHMARK(BM_TickMeasureOnLargeView)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
