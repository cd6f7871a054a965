// Times laying a query result of about 50,000 cells out into the pivot grid
// (the query runs once, outside the timing). Two shapes: a tall result with
// one row dimension and a wide one with nested headers on both axes.
#include "app/core/theme/GridTheme.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/dialogs/MDXProgressScreen.h"
#include "bench/QtBenchMain.h"
#include "grid/ExtStringGrid.h"
#include "olap/adomd/Adomd.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char* const kTall =
    "SELECT CROSSJOIN({[Time].[Year].MEMBERS}, {[Measures].[Revenue], [Measures].[Cost], [Measures].[Units], "
    "[Measures].[Orders], [Measures].[Profit], [Measures].[Margin]}) ON COLUMNS, "
    "{[Customer].[City].MEMBERS} ON ROWS FROM [Tavo_sample]";
const char* const kNested =
    "SELECT CROSSJOIN(CROSSJOIN({[Time].[Quarter].MEMBERS}, {[Customer].[Region].MEMBERS}), "
    "{[Measures].[Revenue], [Measures].[Units], [Measures].[Orders], [Measures].[Profit]}) ON COLUMNS, "
    "CROSSJOIN({[Product].[Product].MEMBERS}, {[Channel].[Channel].MEMBERS}) ON ROWS FROM [Tavo_sample]";

void Layout(benchmark::State& state, const char* mdx) {
    auto cellset = std::make_shared<cb::olap::Cellset>();
    cellset->SetActiveConnection("Data Source=\"" + std::string(CB_BIN_DIR) +
                                 "/Local Cubes/Tavo_sample.cub\";Provider=MSOLAP.2;");
    cellset->Open(mdx);
    const auto axes = cellset->Axes();
    const double cells = double(axes.Item(0)->Positions().Count()) * double(axes.Item(1)->Positions().Count());

    cb::grid::TExtStringGrid grid;
    grid.SetFixedCols(0);
    grid.SetFixedRows(0);
    grid.resize(1200, 800);
    grid.show();
    cb::app::TGridDisplayTheme theme;
    theme.DataColor = 0xFFFFFF;
    cb::app::TMDXDisplayManager layout;
    layout.SetGrid(&grid);
    layout.SetTheme(&theme);
    layout.OnProgress = cb::app::MakeLayoutProgressWindow();  // as in the program
    layout.SetCellset(cellset);

    for (auto _ : state) {
        if (!layout.Render()) state.SkipWithError("layout failed");
    }
    state.counters["cells"] = cells;
    state.counters["grid_cells"] = double(grid.ColCount()) * double(grid.RowCount());
    state.counters["cells_per_s"] = benchmark::Counter(cells, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK_CAPTURE(Layout, tall_54k, kTall)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(Layout, nested_45k, kNested)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    return cbbench::RunWithQApplication(argc, argv);
}
