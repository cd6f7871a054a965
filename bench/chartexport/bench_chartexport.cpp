// A 1920 x 1080 bar chart as the chart view shows one (three series of 40
// labelled bars, title, legend below, bottom labels turned) to JPEG (quality
// 95), PNG (level 9), GIF and PDF. Prints the median wall and CPU time of
// each, with the drawing and the encoding apart, and the file sizes. With a folder argument
// the files are kept there.
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"
#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"
#include "platform/rtl/Streams.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

using namespace cb::chart;
using namespace cb::chartexport;

namespace {

void BuildChart(TChart& chart) {
    chart.resize(1920, 1080);
    chart.SetView3D(false);
    chart.Title().SetCaption("Tavo_sample - Revenue");
    chart.Legend().SetVisible(true);
    chart.BottomAxis().SetLabelsAngle(270);
    chart.BottomAxis().LabelsFont().SetHeight(-9);
    const TColor colours[] = {0x3040C0, 0x30A040, 0xC07020};
    const char* names[] = {"2023", "2024", "2025"};
    for (int s = 0; s < 3; ++s) {
        auto* series = chart.CreateSeries<TBarSeries>();
        series->SetTitle(names[s]);
        series->SetSeriesColor(colours[s]);
        series->Marks().SetVisible(false);
        for (int i = 0; i < 40; ++i) series->AddValue(100 + (i * 97 + s * 131) % 800, "City " + std::to_string(i));
    }
}

double Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Median wall and process CPU time of 15 runs (after one to warm up): the
// CPU time counts less of what else runs on a busy machine.
struct TTimes {
    double Wall, Cpu;
};
TTimes Median(const std::function<void()>& f) {
    f();
    std::vector<double> wall, cpu;
    for (int i = 0; i < 15; ++i) {
        const double w0 = Now(CLOCK_MONOTONIC), c0 = Now(CLOCK_PROCESS_CPUTIME_ID);
        f();
        wall.push_back(Now(CLOCK_MONOTONIC) - w0);
        cpu.push_back(Now(CLOCK_PROCESS_CPUTIME_ID) - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Print(const char* what, TTimes t, std::size_t bytes = 0) {
    std::printf("%-22s %7.1f ms wall %7.1f ms cpu", what, t.Wall, t.Cpu);
    if (bytes) std::printf("  %8zu bytes", bytes);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TChart chart;
    BuildChart(chart);
    const std::string keep = argc > 1 ? argv[1] : "";

    Print("draw", Median([&] { DrawChartImage(chart, 0, 0, 1920, 1080); }));
    const QImage image = DrawChartImage(chart, 0, 0, 1920, 1080);
    Print("JPEG q95 encode", Median([&] {
              TJPEGSettings s;
              s.Quality = 95;
              TJPEGImage jpeg(image, s);
          }));
    for (int threads : {1, 0}) {
        const std::string name = std::string("PNG 9 encode, ") + (threads ? "1 thread" : "all cores");
        Print(name.c_str(), Median([&] { EncodePNG(image, 9, threads); }));
    }
    Print("PNG 6 encode", Median([&] { EncodePNG(image, 6); }));

    auto run = [&](TPlotExportFormat& f, const char* name, const char* file) {
        f.Panel = &chart;
        std::size_t size = 0;
        const TTimes t = Median([&] {
            cb::rtl::TMemoryStream s;
            f.SaveToStream(s);
            size = static_cast<std::size_t>(s.Size());
        });
        Print(name, t, size);
        if (!keep.empty()) f.SaveToFile(keep + "/" + file);
    };
    TJPEGExportFormat jpeg;
    run(jpeg, "chart to JPEG q95", "chart.jpg");
    TPNGExportFormat png;
    run(png, "chart to PNG level 9", "chart.png");
    TGIFExportFormat gif;
    run(gif, "chart to GIF", "chart.gif");
    TPDFExportFormat pdf;
    run(pdf, "chart to PDF", "chart.pdf");
    return 0;
}
