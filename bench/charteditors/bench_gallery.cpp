// Opening the series gallery (every standard type drawn as its sample
// chart) beside opening the print preview of a chart holding one series of
// every one of those types, in the same run. Each is opened modally, drawn
// once whole and closed; the medians of 15 openings are printed, and their
// ratio. Target: the gallery opens in at most 300 ms.
#include "bench/BenchTiming.h"
#include "chart/component/Chart.h"
#include "chart/component/StandardSeries.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/series/SeriesTypes.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "charteditors/gallery/SeriesGallery.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

using cbbench::Median;
using cbbench::TimeMs;

// Drawn once whole, then closed, once the dialog runs its loop.
void DrawAndClose(QDialog* d, const char* saveTo = nullptr) {
    QTimer::singleShot(0, d, [d, saveTo] {
        const QPixmap shot = d->grab();
        if (saveTo) shot.save(saveTo);
        d->reject();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    RegisterStandardSeriesTypes();

    TChart chart;
    chart.resize(520, 400);
    TPlotSeriesTypes& registry = SeriesTypes();
    int types = 0;
    for (int i = 0; i < registry.Count(); ++i) {
        const TPlotSeriesType* t = registry.GetItem(i);
        if (t->FunctionClass || !t->SeriesClass || t->GalleryPageText() != "Standard") continue;
        PrepareGallerySample(*CreateSeriesOfClass(chart, *t->SeriesClass), true);
        ++types;
    }

    // A picture of each, to see that both draw what is timed.
    if (const char* dir = std::getenv("CB_BENCH_SHOTS")) {
        static std::string g = std::string(dir) + "/bench-gallery.png", p = std::string(dir) + "/bench-preview.png";
        TPlotGallery d;
        d.resize(520, 400);
        DrawAndClose(&d, g.c_str());
        d.exec();
        cb::chartexport::TChartPreviewer previewer;
        previewer.SetChart(&chart);
        previewer.OnShow = [](QDialog* d) { DrawAndClose(d, p.c_str()); };
        previewer.Execute();
    }

    constexpr int runs = 15;
    std::vector<double> gallery, preview;
    for (int k = 0; k < runs; ++k) {
        gallery.push_back(TimeMs([] {
            TPlotGallery d;
            d.resize(520, 400);
            DrawAndClose(&d);
            d.exec();
        }));
        preview.push_back(TimeMs([&chart] {
            cb::chartexport::TChartPreviewer previewer;
            previewer.SetChart(&chart);
            previewer.OnShow = [](QDialog* d) { DrawAndClose(d); };
            previewer.Execute();
        }));
    }
    const double g = Median(gallery), p = Median(preview);
    std::printf("gallery with %d types drawn, opened and closed: median %.1f ms (target <= 300 ms)\n", types, g);
    std::printf("print preview of the same chart, opened and closed: median %.1f ms\n", p);
    std::printf("ratio gallery / print preview: %.2f\n", g / p);
    return g <= 300 ? 0 : 1;
}
