// A 1920 x 1080 chart of 40 bars with labels to JPEG (quality 95), PNG, GIF
// and PDF; prints the median time of each. With a folder argument the files
// are kept there.
#include "chart/canvas/PlotCanvas.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/GIFExportFormat.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/Streams.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace cb::chart;
using namespace cb::chartexport;

namespace {

class Bars : public TCustomPlotPanel {
public:
    Bars() {
        SetBevelOuter(bvNone);
        SetColor(clWhite);
        resize(1920, 1080);
    }
    void DrawContents(const TRect& b) override {
        TPlotCanvas& c = *Canvas();
        const int n = 40, w = b.Width() / n;
        c.Pen().SetStyle(cb::gfx::psSolid);
        c.DrawLine(0, b.Height() - 60, b.Width(), b.Height() - 60);
        for (int i = 0; i < n; ++i) {
            c.Brush().SetColor(cb::gfx::RGB(40 + i * 5, 200 - i * 4, (i * 37) % 255));
            const int h = 100 + (i * 97) % 800;
            c.DrawRect(i * w + 4, b.Height() - 60 - h, (i + 1) * w - 4, b.Height() - 60);
            c.OutputText(i * w + 4, b.Height() - 50, "Item " + std::to_string(i));
        }
        c.OutputText(800, 10, "Revenue by item");
    }
};

double Median(const std::function<void()>& f) {
    std::vector<double> ms;
    for (int i = 0; i < 15; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bars panel;
    const std::string keep = argc > 1 ? argv[1] : "";
    auto run = [&](TPlotExportFormat& f, const char* name, const char* file) {
        f.Panel = &panel;
        const double ms = Median([&] {
            cb::rtl::TMemoryStream s;
            f.SaveToStream(s);
        });
        std::printf("%-5s 1920x1080: %.1f ms\n", name, ms);
        if (!keep.empty()) f.SaveToFile(keep + "/" + file);
    };
    std::printf("draw  1920x1080: %.1f ms\n", Median([&] { DrawChartImage(panel, 0, 0, 1920, 1080); }));
    const QImage image = DrawChartImage(panel, 0, 0, 1920, 1080);
    std::printf("JPEG encode only: %.1f ms\n", Median([&] {
                    TJPEGSettings s;
                    s.Quality = 95;
                    TJPEGImage jpeg(image, s);
                }));
    std::printf("PNG encode only: %.1f ms\n", Median([&] { EncodePNG(image, 9); }));
    TJPEGExportFormat jpeg;
    run(jpeg, "JPEG", "chart.jpg");
    TPNGExportFormat png;
    run(png, "PNG", "chart.png");
    TPNGExportFormat fastPng;
    fastPng.CompressionLevel = 6;
    run(fastPng, "PNG6", "chart6.png");
    TGIFExportFormat gif;
    run(gif, "GIF", "chart.gif");
    TPDFExportFormat pdf;
    run(pdf, "PDF", "chart.pdf");
    return 0;
}
