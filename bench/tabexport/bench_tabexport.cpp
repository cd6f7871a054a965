// Exports a 100,000-row by 20-column grid of mixed text and numbers as an
// XLS workbook (two sheets: a sheet holds at most 65,536 rows) and prints
// the time, the peak memory the export added and the same cells written by
// Python's xlwt.
#include "grid/BaseGrid.h"
#include "platform/os/Files.h"
#include "tabexport/xls/TabExportXLS.h"

#include <QApplication>
#include <QProcess>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

long RssKb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

long PeakKb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const int rows = 100000, cols = 20, perSheet = 60000;
    cb::grid::TBaseGrid grid;
    grid.SetColCount(cols);
    grid.SetRowCount(rows);
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    std::size_t textBytes = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            char buf[64];
            if (c % 2 == 0)
                std::snprintf(buf, sizeof buf, "member %d-%d", r % 5000, c);
            else
                std::snprintf(buf, sizeof buf, "%d.25", (r * 31 + c) % 100000);
            grid.SetRawCellText(c, r, buf);
            textBytes += std::strlen(buf);
        }
    std::string dir = cb::os::CreateTempDirectory("cb-bench-xls-");
    cb::tabexport::TTabExportXLS x;
    x.FileName = dir + "bench.xls";
    for (int part = 0; part * perSheet < rows; ++part) {
        auto& s = x.Sheets().Add();
        s.Title = "Part " + std::to_string(part + 1);
        s.ExportSource = cb::tabexport::esStringGrid;
        s.StringGrid = &grid;
        s.AllowCaptions = false;
        s.AutoCalcColWidth = true;
        s.AutoCalcStrType = true;
        s.SkipRecCount = part * perSheet;
        s.ExportRecCount = perSheet;
    }
    long before = RssKb();
    ResetPeak();
    auto cpu = [] {
        rusage u{};
        getrusage(RUSAGE_SELF, &u);
        return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    double cpu0 = cpu();
    auto t0 = std::chrono::steady_clock::now();
    x.Execute();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    double cpuSeconds = cpu() - cpu0;
    long added = PeakKb() - before;

    bool withXlwt = !(argc > 1 && std::string(argv[1]) == "--no-xlwt");
    QProcess py;
    if (withXlwt)
        py.start("/usr/bin/python3", {CB_SOURCE_DIR "/bench/tabexport/xlwt_same_cells.py", QString::number(rows),
                                      QString::number(cols), QString::fromStdString(dir + "xlwt.xls")});
    if (withXlwt) py.waitForFinished(600000);
    std::string xlwt = py.readAllStandardOutput().trimmed().toStdString();

    std::printf("cells                 %d x %d\n", rows, cols);
    std::printf("grid text             %.1f MB\n", textBytes / 1e6);
    std::printf("export time           %.3f s (%.3f s of processor time)\n", seconds, cpuSeconds);
    std::printf("export peak memory    %.1f MB added (%.2f x the grid's text)\n", added / 1024.0,
                added * 1024.0 / double(textBytes));
    std::printf("xlwt, same cells      %s s\n", xlwt.c_str());
    cb::os::RemoveDirectoryTree(dir);
    return 0;
}
