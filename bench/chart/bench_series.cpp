// Series benchmarks on a 1920 x 1080 image: line charts of 10 series x
// 1,000 points in 2D and 3D (with pointers), stacked areas, a fast line of
// 100,000 points, pies of 100 slices flat and in 3D, and a pyramid.
#include "bench/QtBenchMain.h"
#include "chart/component/AxisPanel.h"
#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

using namespace cb::chart;

namespace {

double Wave(int i, int s) {
    return 100 + 50 * std::sin(i * 0.05 + s);
}

void Run(benchmark::State& state, TCustomAxisPanel& chart) {
    chart.resize(1920, 1080);
    cb::gfx::TBitmap target(1920, 1080);
    for (auto _ : state) {
        chart.DrawUnbuffered(&target.Canvas(), chart.PanelRect());
        benchmark::ClobberMemory();
    }
}

template <class T>
void Lines(benchmark::State& state, bool is3D, bool pointers, TCustomSeriesStack stack) {
    TAxisPanel chart;
    chart.SetView3D(is3D);
    for (int s = 0; s < 10; ++s) {
        auto* line = chart.CreateSeries<T>();
        line->Marks().SetVisible(false);
        line->LinePen().SetWidth(3);
        if (pointers) line->Pointer().Show();
        for (int i = 0; i < 1000; ++i) line->AddValue(Wave(i, s));
    }
    static_cast<TCustomSeries*>(chart.SeriesAt(0))->SetStacked(stack);
    Run(state, chart);
}

void BM_Lines2D(benchmark::State& state) {
    Lines<TLineSeries>(state, false, true, cssNone);
}
void BM_Lines3D(benchmark::State& state) {
    Lines<TLineSeries>(state, true, true, cssNone);
}
void BM_StackedAreas2D(benchmark::State& state) {
    Lines<TAreaSeries>(state, false, false, cssStack);
}

void BM_FastLine100k(benchmark::State& state) {
    TAxisPanel chart;
    chart.SetView3D(false);
    auto* line = chart.CreateSeries<TFastLineSeries>();
    line->Marks().SetVisible(false);
    line->SetDrawAllPoints(state.range(0) != 0);
    for (int i = 0; i < 100000; ++i) line->AddValue(Wave(i, 0) + (i % 7));
    Run(state, chart);
}

void Pie(benchmark::State& state, bool is3D) {
    TAxisPanel chart;
    chart.SetView3D(is3D);
    auto* pie = chart.CreateSeries<TPieSeries>();
    pie->SetDonutHolePercent(is3D ? 40 : 0);
    for (int i = 0; i < 100; ++i) pie->AddValue(1 + (i * 37) % 100, "Slice " + std::to_string(i), clDefault);
    Run(state, chart);
}

void BM_Pie2D(benchmark::State& state) {
    Pie(state, false);
}
void BM_Donut3D(benchmark::State& state) {
    Pie(state, true);
}

void BM_Pyramid3D(benchmark::State& state) {
    TAxisPanel chart;
    chart.SetView3D(true);
    auto* p = chart.CreateSeries<TPyramidSeries>();
    p->Marks().SetVisible(false);
    for (int i = 0; i < 20; ++i) p->AddValue(10 + i);
    Run(state, chart);
}

}  // namespace

BENCHMARK(BM_Lines2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lines3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StackedAreas2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastLine100k)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pie2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Donut3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pyramid3D)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return cbbench::RunWithQApplication(argc, argv);
}
