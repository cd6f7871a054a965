// Pointer tools following the mouse over a line series of 100,000 points
// on a 1280 x 800 chart, drawing included: the nearest point tool and the
// cursor tool (following the mouse, snapping to the series). Each move is
// a real mouse event and a synchronous repaint of the widget. The peer is
// the same move with the whole chart drawn again each time, which is what
// the tools avoid by drawing their overlays over the kept picture. The
// floor is 60 moves a second.
#include "bench/QtBenchMain.h"
#include "chart/component/Chart.h"
#include "chart/series/line/LineSeries.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/NearestTool.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace cb::chart;

namespace {

struct BigChart {
    TChart chart;
    TLineSeries* series;
    BigChart() {
        chart.resize(1280, 800);
        chart.SetView3D(false);
        chart.setMouseTracking(true);
        series = chart.CreateSeries<TLineSeries>();
        series->Marks().SetVisible(false);
        for (int i = 0; i < 100000; ++i) series->AddPoint(i, 100 + 50 * std::sin(i * 0.001) + (i * 7919 % 13));
        chart.show();
        chart.repaint();
    }
    // One move across the chart rectangle, then the paint it causes.
    void Move(int step, bool redrawAll) {
        const TRect& r = chart.ChartRect();
        const int x = r.Left + (step * 7) % std::max(1, r.Width());
        const int y = r.Top + (step * 3) % std::max(1, r.Height());
        QMouseEvent e(QEvent::MouseMove, QPointF(x, y), chart.mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&chart, &e);
        if (redrawAll) chart.Invalidate();
        chart.repaint();
    }
};

void Follow(benchmark::State& state, bool nearest, bool redrawAll) {
    BigChart b;
    if (nearest) {
        auto* n = new TNearestTool();
        n->SetSeries(b.series);
        b.chart.Tools().AddTool(n);
    } else {
        auto* c = new TCursorTool();
        c->SetSeries(b.series);
        c->SetSnap(true);
        c->SetFollowMouse(true);
        b.chart.Tools().AddTool(c);
    }
    b.chart.repaint();
    int step = 0;
    for (auto _ : state) b.Move(step++, redrawAll);
    state.counters["moves_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["floor_moves_per_s"] = 60;
}

void BM_NearestFollowsMouse(benchmark::State& state) {
    Follow(state, true, false);
}
void BM_NearestFollowsMouse_RedrawAll(benchmark::State& state) {
    Follow(state, true, true);
}
void BM_CursorFollowsMouse(benchmark::State& state) {
    Follow(state, false, false);
}
void BM_CursorFollowsMouse_RedrawAll(benchmark::State& state) {
    Follow(state, false, true);
}

}  // namespace

BENCHMARK(BM_NearestFollowsMouse)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NearestFollowsMouse_RedrawAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CursorFollowsMouse)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CursorFollowsMouse_RedrawAll)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return cbbench::RunWithQApplication(argc, argv);
}
