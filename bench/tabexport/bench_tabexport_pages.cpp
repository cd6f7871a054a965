// Exports a 10,000-row by 12-column grid of mixed text and numbers as an
// RTF document and as a PDF table, set up as the application publishes
// them, and prints the best and median time of five runs of each.
#include "grid/BaseGrid.h"
#include "platform/os/Files.h"
#include "tabexport/pdf/TabExportPDF.h"
#include "tabexport/rtf/TabExportRTF.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

template <class F>
void Measure(const char* Name, const std::string& File, F Run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        Run();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-5s best %.3f s, median %.3f s, %.1f MB\n", Name, times.front(), times[2],
                double(std::filesystem::file_size(File)) / 1e6);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rows = 10000, cols = 12;
    cb::grid::TBaseGrid grid;
    grid.SetColCount(cols);
    grid.SetRowCount(rows + 1);
    grid.SetFixedRows(1);
    grid.SetFixedCols(0);
    for (int c = 0; c < cols; ++c) grid.SetRawCellText(c, 0, "Measure " + std::to_string(c));
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < cols; ++c) {
            char buf[64];
            if (c == 0)
                std::snprintf(buf, sizeof buf, "member %d", r % 5000);
            else
                std::snprintf(buf, sizeof buf, "%d.25", (r * 31 + c) % 100000);
            grid.SetRawCellText(c, r, buf);
        }
    std::string dir = cb::os::CreateTempDirectory("cb-bench-pages-");
    std::printf("cells %d x %d\n", rows, cols);

    using namespace cb::tabexport;
    Measure("RTF", dir + "bench.rtf", [&] {
        TTabExportRTF x;
        x.ExportSource = esStringGrid;
        x.StringGrid = &grid;
        x.CaptionRow = 0;
        x.FileName = dir + "bench.rtf";
        x.Header.Add("Benchmark report");
        x.OnGetDataStyle = [](TTabExportRTF&, int Row, int Col, TrtfStyle& Style) {
            Style.BackgroundColor = Col == 0 ? 0xCCCCCC : cb::gfx::clNone;
            Style.Font.SetColor(Row % 7 == 0 ? 0x0000FF : cb::gfx::clNone);
        };
        x.Execute();
    });
    Measure("PDF", dir + "bench.pdf", [&] {
        TTabExportPDF x;
        x.ExportSource = esStringGrid;
        x.StringGrid = &grid;
        x.CaptionRow = 0;
        x.FileName = dir + "bench.pdf";
        auto& p = x.Options.PageOptions;
        p.SetWidth(8.5);
        p.SetHeight(11);
        p.SetOrientation(poLandscape);
        x.Options.ColSpacing = 5;
        x.Header.Add("Benchmark report");
        x.OnGetCellParams = [](TTabExportPDF&, int, int ColNo, const std::string&, TTabExportColAlign& Align,
                               cb::gfx::TFont&, cb::gfx::TColor& Background) {
            if (ColNo == 0)
                Background = 0xCCCCCC;
            else
                Align = ecaRight;
        };
        x.Execute();
    });
    cb::os::RemoveDirectoryTree(dir);
    return 0;
}
