// Chart benchmarks: a bar chart of 10 series x 1,000 points drawn into a
// 1920 x 1080 image in 2D and in 3D, and the marks of 1,000 bars placed
// with overlap avoidance.
#include "bench/QtBenchMain.h"
#include "chart/component/AxisPanel.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>

using namespace cb::chart;

namespace {

void FillBars(TCustomAxisPanel& chart, int seriesCount, int points, bool marks) {
    chart.resize(1920, 1080);
    for (int s = 0; s < seriesCount; ++s) {
        auto* bar = chart.CreateSeries<TBarSeries>();
        bar->SetDepth(30);
        bar->Marks().SetVisible(marks);
        bar->Marks().SetStyle(smsValue);
        for (int i = 0; i < points; ++i) bar->AddValue(100 + 50 * std::sin(i * 0.05 + s), "", clDefault);
    }
}

void BM_Bars(benchmark::State& state, bool is3D) {
    TAxisPanel chart;
    chart.SetView3D(is3D);
    FillBars(chart, 10, 1000, false);
    cb::gfx::TBitmap target(1920, 1080);
    for (auto _ : state) {
        chart.DrawUnbuffered(&target.Canvas(), chart.PanelRect());
        benchmark::ClobberMemory();
    }
}

void BM_Bars2D(benchmark::State& state) {
    BM_Bars(state, false);
}
void BM_Bars3D(benchmark::State& state) {
    BM_Bars(state, true);
}

// One series of 1,000 bars with their marks, each mark kept clear of the
// earlier ones; the whole chart is drawn, so the figure bounds the marks.
void BM_Marks(benchmark::State& state, bool avoid) {
    TAxisPanel chart;
    chart.SetView3D(false);
    FillBars(chart, 1, 1000, true);
    static_cast<TBarSeries*>(chart.SeriesAt(0))->SetAutoMarkPosition(avoid);
    cb::gfx::TBitmap target(1920, 1080);
    for (auto _ : state) {
        chart.DrawUnbuffered(&target.Canvas(), chart.PanelRect());
        benchmark::ClobberMemory();
    }
}

void BM_MarksOverlap(benchmark::State& state) {
    BM_Marks(state, true);
}
// The same without overlap avoidance, for comparison.
void BM_MarksPlain(benchmark::State& state) {
    BM_Marks(state, false);
}

}  // namespace

BENCHMARK(BM_Bars2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bars3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarksOverlap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarksPlain)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return cbbench::RunWithQApplication(argc, argv);
}
