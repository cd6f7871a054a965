// Series data on 1,000,000 points: storing and reading the points, the
// average, high, median and mode functions, and the delimited text export,
// each beside Python's csv writer on the same number of points (a whole
// process, started from here). Prints one line per figure.
#include "chart/component/AxisPanel.h"
#include "chart/functions/AverageFunction.h"
#include "chart/functions/HighLowFunctions.h"
#include "chart/functions/SortedFunctions.h"
#include "chart/series/line/LineSeries.h"
#include "chartexport/native/SeriesData.h"
#include "platform/rtl/Streams.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace cb::chart;

namespace {

template <class F>
double Seconds(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int n = 1'000'000;
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    std::mt19937 random(7);
    s->HoldUpdates();
    for (int i = 0; i < n; ++i) s->AddPoint(i * 0.5, double(random() % 100000) / 10);
    s->ReleaseUpdates();

    cb::rtl::TMemoryStream stream;
    auto* back = chart.CreateSeries<TLineSeries>();
    const double store = Seconds([&] {
        s->WriteData(stream);
        stream.SetPosition(0);
        back->ReadData(stream);
    });
    std::printf("save + load          %7.3f s  (%lld bytes)\n", store, (long long)stream.Size());

    auto run = [&](const char* name, std::unique_ptr<TPlotFunction> f, double period) {
        auto* out = chart.CreateSeries<TLineSeries>();
        f->SetPeriod(period);
        out->AttachFunction(std::move(f));
        const double t = Seconds([&] { out->SetDataSource(s); });
        std::printf("%-20s %7.3f s  (%d results)\n", name, t, out->PointCount());
    };
    run("average, whole", std::make_unique<TAveragePlotFunction>(), 0);
    run("average, period 10", std::make_unique<TAveragePlotFunction>(), 10);
    run("high, period 10", std::make_unique<THighPlotFunction>(), 10);
    run("median, whole", std::make_unique<TMedianPlotFunction>(), 0);
    run("mode, whole", std::make_unique<TModePlotFunction>(), 0);

    cb::chartexport::TSeriesDataText text(&chart, s);
    text.Delimiter = ',';
    text.IncludeHeader = true;
    std::string csv;
    const double exportTime = Seconds([&] { csv = text.BuildText(); });
    std::printf("text export          %7.3f s  (%zu bytes)\n", exportTime, csv.size());

    const double python = Seconds([] {
        const int rc = std::system(
            "python3 -c \"import csv,io,random\n"
            "random.seed(7)\n"
            "rows=[(i*0.5, random.randrange(100000)/10) for i in range(1000000)]\n"
            "w=csv.writer(io.StringIO()); w.writerow(('X','Y')); w.writerows(rows)\"");
        (void)rc;
    });
    std::printf("python csv writer    %7.3f s  (whole process, points made in Python)\n", python);
    return 0;
}
