// The grid's data operations, each figure beside its peer from the same
// run: sorting 100,000 rows x 8 columns (peer: std::stable_sort of the same
// texts held in plain vectors), pasting 100,000 cells (peer: the same cells
// set directly once the grid has its size; and growing the grid one row at
// a time, as a paste used to), and importing a 100 MB CSV file (peer:
// Python's csv.reader over the same file, and writing the cells' bytes into
// memory once more; memory: the peak the import adds to the process, against
// the file's size).
#include "grid/ExtStringGrid.h"
#include "grid/data/CsvImport.h"
#include "grid/data/CsvReader.h"
#include "grid/data/GridClipboard.h"
#include "grid/data/GridSort.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace cb::grid;

namespace {

double Seconds(const std::function<void()>& fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

long StatusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
    return 0;
}

std::string Cell(std::mt19937& rng, int col) {
    switch (col % 4) {
    case 0:
        return std::to_string(rng() % 1000000);
    case 1: {
        char b[32];
        std::snprintf(b, sizeof b, "%.2f", double(rng() % 10000000) / 100);
        return b;
    }
    case 2: {
        std::string s;
        for (int i = 0; i < 8; ++i) s += char('a' + rng() % 26);
        return s;
    }
    default:
        std::string s = "item ";
        s += std::to_string(rng() % 500);
        return s;
    }
}

void CsvImportFigures() {
    const std::string file = "/tmp/bench_griddata_" + std::to_string(getpid()) + ".csv";
    {
        std::mt19937 rng(7);
        std::ofstream out(file, std::ios::binary);
        std::size_t bytes = 0;
        const std::size_t target = std::size_t(100) << 20;
        std::string line;
        for (long row = 0; bytes < target; ++row) {
            line.clear();
            for (int c = 0; c < 8; ++c) {
                if (c) line += ',';
                if (c == 7 && row % 10 == 0)
                    line += "\"quoted, with \"\"quotes\"\"\"";
                else
                    line += Cell(rng, c);
            }
            line += "\r\n";
            out << line;
            bytes += line.size();
        }
    }
    const double fileMb = double(std::ifstream(file, std::ios::binary | std::ios::ate).tellg()) / (1 << 20);
    const long before = StatusKb("VmHWM:");
    long rows = 0;
    auto grid = std::make_unique<TExtStringGrid>();
    const double ours = Seconds([&] {
        ImportCSV(*grid, file, false);
        rows = grid->RowCount();
    });
    const long after = StatusKb("VmHWM:");
    const double freeing = Seconds([&] { grid.reset(); });
    // The import's two passes over the mapped file, each alone: sizing the
    // grid, and reading the fields.
    double onePass = 0, readerPass = 0;
    if (FILE* f = std::fopen(file.c_str(), "rb")) {
        const std::size_t size = std::size_t(fileMb * (1 << 20));
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fileno(f), 0);
        if (map != MAP_FAILED) {
            const std::string_view text(static_cast<const char*>(map), size);
            (void)MeasureCsv(text, ',');  // the file's pages in the process's tables
            onePass = Seconds([&] { (void)MeasureCsv(text, ','); });
            readerPass = Seconds([&] {
                TCsvReader reader(text, ',');
                std::string_view field;
                std::size_t bytes = 0;
                while (reader.NextRecord())
                    while (reader.NextField(field)) bytes += field.size();
                if (bytes == 0) std::puts("");
            });
            ::munmap(map, size);
        }
        std::fclose(f);
    }
    // Beside it: writing the cells' bytes once into a new mapping, with the
    // huge-page advice the row store gives, just after the import gave its
    // memory back. On a virtual machine the first touches of memory the
    // process never used cost more than all the parsing: the import, which
    // comes first, pays them and this figure does not.
    const std::size_t cellBytes = std::size_t(rows) * 8 * sizeof(TGridCell);
    const double floor = Seconds([&] {
        void* p = ::mmap(nullptr, cellBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return;
        ::madvise(p, cellBytes, MADV_HUGEPAGE);
        std::memset(p, 1, cellBytes);
        ::munmap(p, cellBytes);
    });
    // Python's reader twice: rows read and dropped (the peer of the target),
    // and rows kept in a list, as an import keeps them.
    const auto python = [&](const char* loop, long& pyRows) {
        const std::string py = std::string("/usr/bin/python3 -c \"import csv,sys,time; t=time.perf_counter(); ") + loop +
                               "; print(time.perf_counter()-t, n)\" " + file;
        double seconds = 0;
        if (FILE* p = popen(py.c_str(), "r")) {
            if (std::fscanf(p, "%lf %ld", &seconds, &pyRows) != 2) seconds = 0;
            pclose(p);
        }
        return seconds;
    };
    long pyRows = 0, pyKeptRows = 0;
    const double streamed =
        python("n=sum(1 for _ in csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))", pyRows);
    const double kept =
        python("rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8'))); n=len(rows)", pyKeptRows);
    std::remove(file.c_str());
    std::printf("CSV import of %.0f MB (%ld rows): %.2f s; Python csv.reader over the same file: %.2f s (%ld rows); "
                "ratio %.2f (target <= 3)\n",
                fileMb, rows, ours, streamed, pyRows, streamed > 0 ? ours / streamed : 0.0);
    std::printf("Python csv.reader keeping the rows in a list: %.2f s (%ld rows); ratio %.2f\n", kept, pyKeptRows,
                kept > 0 ? ours / kept : 0.0);
    std::printf("of the import: sizing pass over the file %.2f s, reading its fields %.2f s; freeing the grid "
                "afterwards %.2f s (not in the import's figure)\n",
                onePass, readerPass, freeing);
    std::printf("writing the %.0f MB of cells once into memory the import gave back: %.2f s\n", cellBytes / 1048576.0,
                floor);
    std::printf("CSV import peak memory added: %.0f MB = %.1f x the file (target <= 8)\n", (after - before) / 1024.0,
                (after - before) / 1024.0 / fileMb);
}

void SortFigures() {
    constexpr int rows = 100000, cols = 8;
    std::mt19937 rng(11);
    std::vector<std::vector<std::string>> data(rows, std::vector<std::string>(cols));
    for (auto& row : data)
        for (int c = 0; c < cols; ++c) row[size_t(c)] = Cell(rng, c);
    TExtStringGrid grid;
    grid.BeginUpdate();
    grid.SetColCount(cols);
    grid.SetRowCount(rows + 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) grid.SetRawCellText(c, r + 1, data[size_t(r)][size_t(c)]);
    grid.EndUpdate();
    for (int col : {1, 2}) {
        grid.SortSettings.Column = col;
        const double ours = Seconds([&] { SortByColumn(grid); });
        std::vector<int> order(rows);
        std::iota(order.begin(), order.end(), 0);
        const double floor = Seconds([&] {
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return data[size_t(a)][size_t(col)] < data[size_t(b)][size_t(col)]; });
        });
        std::printf("sort 100,000 rows x 8 columns by a %s column: %.3f s (target <= 1 s); std::stable_sort of the "
                    "same texts in plain vectors: %.3f s\n",
                    col == 1 ? "number" : "text", ours, floor);
    }
}

void PasteFigures() {
    constexpr int rows = 10000, cols = 10;
    std::string text;
    std::mt19937 rng(3);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            text += Cell(rng, c);
            text += c + 1 < cols ? "\t" : "\r\n";
        }
    TExtStringGrid grid;
    grid.SetOptions(grid.Options() | goEditing);
    TGridClipboard clip(grid);
    int cells = 0;
    const double ours = Seconds([&] { cells = clip.PasteTabText(1, 1, text); });
    TExtStringGrid direct;
    const double floor = Seconds([&] {
        direct.BeginUpdate();
        direct.SetColCount(cols + 1);
        direct.SetRowCount(rows + 1);
        std::istringstream in(text);
        std::string line;
        for (int r = 1; std::getline(in, line); ++r) {
            std::size_t start = 0;
            for (int c = 1; c <= cols; ++c) {
                std::size_t end = line.find_first_of("\t\r", start);
                direct.SetCellText(c, r, line.substr(start, end - start));
                start = end + 1;
            }
        }
        direct.EndUpdate();
    });
    TExtStringGrid grown;
    const double oneByOne = Seconds([&] {
        grown.BeginUpdate();
        for (int r = 2; r <= 100001; ++r) grown.SetRowCount(r);
        grown.EndUpdate();
    });
    TExtStringGrid once;
    const double atOnce = Seconds([&] { once.SetRowCount(100001); });
    std::printf("paste of %d cells (%d x %d, growing the grid): %.3f s (target <= 0.5 s); the same cells set "
                "directly into a grid of that size: %.3f s\n",
                cells, cols, rows, ours, floor);
    std::printf("growing a grid to 100,000 rows one row at a time: %.3f s; at once: %.4f s\n", oneByOne, atOnce);
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Parts named on the command line ("csv", "sort", "paste"), else all.
    auto wanted = [&](const char* part) {
        if (argc < 2) return true;
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], part) == 0) return true;
        return false;
    };
    if (wanted("csv")) CsvImportFigures();
    if (wanted("sort")) SortFigures();
    if (wanted("paste")) PasteFigures();
    return 0;
}
