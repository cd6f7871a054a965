// What a person waits for in the program: the start to the first painted
// grid (the program's own --startup-time switch, as a separate process), a
// double click that drills into a member (query, layout, chart, paint) and a
// measure ticked in the left menu on a view of every city (query, layout,
// paint). The last two drive the real main window over the sample cube.
#include "app/core/settings/Config.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/main/AppGlobals.h"
#include "app/ui/main/HomeContainer.h"
#include "app/ui/main/MainBottomContainer.h"
#include "app/ui/views/MainGraphDisplay.h"
#include "app/ui/main/MainLeftMenu.h"
#include "app/ui/main/MainMenuContainer.h"
#include "app/ui/main/MainWindow.h"
#include "bench/QtBenchMain.h"
#include "chart/component/Chart.h"
#include "extras/KitCheckListBox.h"
#include "grid/ExtStringGrid.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace cb::app;

namespace {

const std::string kBin = CB_BIN_DIR;

// The program's folder in a temporary place, without the tutorial at start.
struct TProgramFolder {
    TProgramFolder() {
        Path = fs::temp_directory_path() / ("cb_bench_" + std::to_string(::getpid()));
        fs::create_directories(Path / "Local Cubes");
        fs::create_directories(Path / "help");
        fs::copy_file(kBin + "/themes.ini", Path / "themes.ini", fs::copy_options::overwrite_existing);
        fs::copy_file(kBin + "/help/Tavo.chm", Path / "help/Tavo.chm", fs::copy_options::overwrite_existing);
        fs::copy_file(kBin + "/Local Cubes/Tavo_sample.cub", Path / "Local Cubes/Tavo_sample.cub",
                      fs::copy_options::overwrite_existing);
        std::ofstream(Path / "app.ini") << "[AppSettings]\nDontDisplayTutorialOnStartup=1\n";
    }
    ~TProgramFolder() {
        std::error_code ignored;
        fs::remove_all(Path, ignored);
    }
    std::string Folder() const { return Path.string() + "/"; }
    fs::path Path;
};

// The main window of the program over the sample cube, shown.
struct TSession {
    TSession() : Globals(Folder.Folder()) {
        Window = std::make_unique<TfrmMain>(Globals.Context(), &Globals.DisplayManager(), Folder.Folder());
        Window->resize(1280, 900);
        Window->show();
        (void)QTest::qWaitForWindowExposed(Window.get());
    }
    ~TSession() {
        Window->close();
        Window.reset();
    }
    TDisplayManager& DM() { return Globals.DisplayManager(); }
    cb::grid::TExtStringGrid& Grid() { return *Window->HomeContainer()->GetGrid(); }
    std::pair<int, int> Cell(const std::string& key) {
        for (int r = 0; r < Grid().RowCount(); ++r)
            for (int c = 0; c < Grid().ColCount(); ++c)
                if (DM().GetCellKey(c, r) == key) return {c, r};
        return {-1, -1};
    }
    QPoint Centre(std::pair<int, int> cell) {
        const auto r = Grid().CellRect(cell.first, cell.second);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    TProgramFolder Folder;
    TAppGlobals Globals;
    std::unique_ptr<TfrmMain> Window;
};

// Starts argv[0] with its standard output on a pipe and waits for a line
// starting with prefix: the milliseconds from the start to that line (-1
// when it never came), the line in line.
double MillisecondsToLine(const std::vector<std::string>& args, const std::string& prefix, std::string& line) {
    int out[2];
    if (::pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    double ms = -1;
    if (rc == 0) {
        FILE* in = ::fdopen(out[0], "r");
        char text[256] = {};
        while (std::fgets(text, sizeof text, in)) {
            if (std::string(text).rfind(prefix, 0) == 0) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                line = text;
                break;
            }
        }
        std::fclose(in);
        int status = 0;
        ::waitpid(pid, &status, 0);
    } else {
        ::close(out[0]);
    }
    return ms;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Process start to the first painted grid, beside its floor: a bare Qt
// window painting as many texts as the grid shows, started in turn with the
// program in the same run (the order swapped each round). Both are timed
// from the spawn to their line; the program's own figure is given too.
void BM_StartToFirstPaintedGrid(benchmark::State& state) {
    TProgramFolder folder;
    const std::string program = kBin + "/cubebrowser";
    // The program looks for its files beside itself: run a copy there.
    fs::copy_file(program, folder.Path / "cubebrowser", fs::copy_options::overwrite_existing);
    const std::vector<std::string> command = {folder.Folder() + "cubebrowser", "--startup-time"};
    const std::string grid = "Start to first painted grid: ";
    std::string line;
    // A first run warms the page cache and gives the number of texts.
    if (MillisecondsToLine(command, grid, line) < 0) return state.SkipWithError("the program did not report its start");
    int texts = 0;
    double own = 0;
    std::sscanf(line.c_str(), "Start to first painted grid: %lf ms (%d texts)", &own, &texts);
    const std::vector<std::string> floor = {CB_STARTUP_FLOOR, std::to_string(texts)};
    MillisecondsToLine(floor, "First paint", line);
    std::vector<double> programMs, floorMs, ownMs;
    bool floorFirst = false;
    for (auto _ : state) {
        double p = -1, f = -1;
        std::string programLine;
        if (floorFirst) f = MillisecondsToLine(floor, "First paint", line);
        p = MillisecondsToLine(command, grid, programLine);
        if (!floorFirst) f = MillisecondsToLine(floor, "First paint", line);
        floorFirst = !floorFirst;
        if (p < 0 || f < 0) return state.SkipWithError("the program or the bare window did not report its paint");
        std::sscanf(programLine.c_str(), "Start to first painted grid: %lf", &own);
        programMs.push_back(p);
        floorMs.push_back(f);
        ownMs.push_back(own);
        state.SetIterationTime(p / 1000.0);
    }
    state.counters["texts"] = texts;
    state.counters["program_ms"] = Median(programMs);
    state.counters["program_own_ms"] = Median(ownMs);
    state.counters["bare_window_ms"] = Median(floorMs);
    state.counters["ratio"] = Median(programMs) / Median(floorMs);
}
BENCHMARK(BM_StartToFirstPaintedGrid)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

// A double click on the (All) customer drills into the regions, the next
// one collapses them; each with the query, the grid's layout, the chart
// and the paint of both.
void BM_DoubleClickDrill(benchmark::State& state) {
    TSession s;
    s.DM().AddToAxis("[Time].[All].Children", axColumns, true);
    s.Window->acShowHideGraph->trigger();
    cb::chart::TChart* chart = s.Window->BottomContainer()->GetChart();
    const QPoint at = s.Centre(s.Cell("[Customer].[All]"));
    QApplication::processEvents();
    int rows = 0;
    for (auto _ : state) {
        QTest::mouseDClick(&s.Grid(), Qt::LeftButton, {}, at);
        s.Grid().repaint();
        chart->repaint();
        rows = std::max(rows, s.Grid().RowCount());
    }
    state.counters["grid_rows_drilled"] = rows;
    state.counters["chart_series"] = chart->NumberOfSeries();
}
BENCHMARK(BM_DoubleClickDrill)->Unit(benchmark::kMillisecond)->Iterations(40);

// Ticking and unticking a second measure in the left menu with every city
// on the rows and the years on the columns; the grid is painted each time.
void BM_TickMeasureOn3000Cities(benchmark::State& state) {
    TSession s;
    s.DM().RemoveFromAxes("[Customer]", false);
    s.DM().AddToAxis("AddCalculatedMembers([Customer].[City].members)", axRows, true);
    s.DM().AddToAxis("[Time].[All].Children", axColumns, true);
    TfrmMainLeftMenu& menu = *s.Window->MenuContainer()->LeftMenu();
    QApplication::processEvents();
    bool on = false;
    for (auto _ : state) {
        on = !on;
        menu.cblMeasures->SetChecked(1, on);
        s.Grid().repaint();
    }
    if (on) menu.cblMeasures->SetChecked(1, false);
    state.counters["grid_rows"] = s.Grid().RowCount();
    state.counters["grid_cells"] = double(s.Grid().RowCount()) * double(s.Grid().ColCount());
}
BENCHMARK(BM_TickMeasureOn3000Cities)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return cbbench::RunWithQApplication(argc, argv);
}
