// Grid benchmarks: filling 200 x 5,000 cells that each carry their own
// colours and font, painting a full-HD viewport after a scroll, fitting all
// columns to their content, folding a node over 100,000 rows, filtering
// them, and the memory a styled cell costs beyond its text.
#include "grid/ExtStringGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace cb::grid;

namespace {

constexpr int kCols = 200;
constexpr int kRows = 5000;
const char* const kFaces[] = {"Tahoma", "Arial", "Verdana"};

void Fill(TExtStringGrid& g, bool markup = false) {
    g.BeginUpdate();
    g.SetColCount(kCols);
    g.SetRowCount(kRows);
    char buf[32];
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            std::snprintf(buf, sizeof buf, "%d.%02d", r * 7 + c, c % 100);
            if (markup && (r * kCols + c) % 10 == 0)
                g.SetCellText(c, r,
                              std::string("<b>") + buf +
                                  "</b> <font color=\"clRed\">x</font> <a href=\"http://example.com\">go</a>");
            else
                g.SetCellText(c, r, buf);
            g.SetCellBrushColor(c, r, cb::gfx::RGB(200 + (r % 50), 220 + (c % 30), 240));
            g.SetCellFontColor(c, r, cb::gfx::RGB(r % 128, 0, c % 128));
            g.SetCellFontName(c, r, kFaces[(r + c) % 3]);
            g.SetCellFontSize(c, r, 8 + (c % 3));
            g.SetCellFontStyle(c, r, (r % 5 == 0) ? unsigned(cb::gfx::fsBold) : 0u);
            g.SetCellAlignment(c, r, c % 2 ? taRightJustify : taLeftJustify);
        }
    g.EndUpdate();
}

void BM_Fill(benchmark::State& state) {
    for (auto _ : state) {
        auto g = std::make_unique<TExtStringGrid>();
        Fill(*g);
        benchmark::DoNotOptimize(g.get());
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["cells"] = double(kCols) * kRows;
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintAfterScroll(benchmark::State& state) {
    TExtStringGrid g;
    g.resize(1920, 1080);
    Fill(g);
    QImage image(g.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        g.SetTopRow(100 + (step * 37) % 4000);
        g.SetLeftCol(1 + (step * 13) % 150);
        ++step;
        QPainter painter(&image);
        cb::gfx::TCanvas canvas(&painter);
        g.PaintCells(canvas);
    }
    state.counters["visibleCells"] = double(g.VisibleColCount() + 1) * (g.VisibleRowCount() + 1);
}
BENCHMARK(BM_PaintAfterScroll)->Unit(benchmark::kMillisecond);

// The same view with one cell in ten holding mark-up (bold, colour, a link).
void BM_PaintMarkupAfterScroll(benchmark::State& state) {
    TExtStringGrid g;
    g.resize(1920, 1080);
    Fill(g, true);
    QImage image(g.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        g.SetTopRow(100 + (step * 37) % 4000);
        g.SetLeftCol(1 + (step * 13) % 150);
        ++step;
        QPainter painter(&image);
        cb::gfx::TCanvas canvas(&painter);
        g.PaintCells(canvas);
    }
    state.counters["visibleCells"] = double(g.VisibleColCount() + 1) * (g.VisibleRowCount() + 1);
}
BENCHMARK(BM_PaintMarkupAfterScroll)->Unit(benchmark::kMillisecond);

// Measuring the same mark-up again comes from the cache.
void BM_MeasureMarkupCached(benchmark::State& state) {
    cb::grid::THTMLMeasureCache cache;
    cb::gfx::TCanvas canvas;
    const std::string text = "<b>12.34</b> <font color=\"clRed\">x</font> <a href=\"http://example.com\">go</a>";
    for (auto _ : state) benchmark::DoNotOptimize(cache.Measure(canvas, text, 64, false));
}
BENCHMARK(BM_MeasureMarkupCached);

void BM_MeasureMarkupUncached(benchmark::State& state) {
    cb::gfx::TCanvas canvas;
    const std::string text = "<b>12.34</b> <font color=\"clRed\">x</font> <a href=\"http://example.com\">go</a>";
    cb::grid::THTMLRenderInput in;
    in.Rect = {0, 0, 64, 0};
    in.MeasureOnly = true;
    in.WordWrap = false;
    cb::grid::THTMLRenderResult out;
    for (auto _ : state) benchmark::DoNotOptimize(cb::grid::RenderHTML(canvas, text, in, out));
}
BENCHMARK(BM_MeasureMarkupUncached);

// Fitting every column of the filled 200 x 5,000 grid to its content.
void BM_AutoSizeAllColumns(benchmark::State& state) {
    TExtStringGrid g;
    Fill(g);
    for (auto _ : state) {
        state.PauseTiming();
        for (int c = 0; c < kCols; ++c) g.SetColWidths(c, 20);
        state.ResumeTiming();
        g.FitColumnWidths(true, 0);
    }
    state.counters["cells"] = double(kCols) * kRows;
}
BENCHMARK(BM_AutoSizeAllColumns)->Unit(benchmark::kMillisecond);

constexpr int kTreeRows = 100000;

// 100,000 rows of five columns with a few styled cells.
void FillRows(TExtStringGrid& g) {
    g.BeginUpdate();
    g.SetColCount(5);
    g.SetRowCount(kTreeRows + 1);
    char buf[32];
    for (int r = 1; r <= kTreeRows; ++r) {
        std::snprintf(buf, sizeof buf, "%d", r);
        g.SetCellText(1, r, buf);
        g.SetCellText(2, r, r % 2 ? "odd" : "even");
        if (r % 100 == 0) g.SetCellBrushColor(3, r, 0x00FFEEDD);
    }
    g.EndUpdate();
}

// A node over every row folded and unfolded again.
void BM_NodeCollapseExpand(benchmark::State& state) {
    TExtStringGrid g;
    FillRows(g);
    TCellGraphic* node = g.CreateCellGraphic(0, 1);
    node->CellType = ctNode;
    for (auto _ : state) {
        g.ContractNode(1);
        g.ExpandNode(1);
    }
    state.counters["rows"] = kTreeRows;
}
BENCHMARK(BM_NodeCollapseExpand)->Unit(benchmark::kMillisecond);

// Half of 100,000 rows (every other one) filtered away, and shown again.
void BM_Filter(benchmark::State& state) {
    TExtStringGrid g;
    FillRows(g);
    TFilterData& f = g.Filter.Add();
    f.Column = 2;
    f.Condition = "odd";
    const bool on = state.range(0) != 0;
    for (auto _ : state) {
        if (on) {
            g.SetFilterActive(true);
            state.PauseTiming();
            g.SetFilterActive(false);
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            g.SetFilterActive(true);
            state.ResumeTiming();
            g.SetFilterActive(false);
        }
    }
    state.counters["rows"] = kTreeRows;
}
BENCHMARK(BM_Filter)->Arg(1)->Arg(0)->ArgNames({"on"})->Unit(benchmark::kMillisecond);

void ReportMemory() {
    struct mallinfo2 before = mallinfo2();
    auto g = std::make_unique<TExtStringGrid>();
    g->SetColCount(kCols);
    g->SetRowCount(kRows);
    struct mallinfo2 sized = mallinfo2();
    g->BeginUpdate();
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            g->SetCellBrushColor(c, r, 0x00FFEEDD);
            g->SetCellFontColor(c, r, 0x00112233);
            g->SetCellFontName(c, r, kFaces[(r + c) % 3]);
            g->SetCellFontSize(c, r, 9);
        }
    g->EndUpdate();
    struct mallinfo2 styled = mallinfo2();
    const double cells = double(kCols) * kRows;
    double storage = double(sized.uordblks - before.uordblks) / cells;
    double props = double(styled.uordblks - sized.uordblks) / cells;
    std::printf("memory per cell: %.1f bytes storage (cell slot incl. its %zu-byte string object) + %.1f bytes "
                "properties = %.1f bytes beyond the text's own string object\n",
                storage, sizeof(std::string), props, storage - double(sizeof(std::string)) + props);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ReportMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
