// Opening a cube file beside its floors, interleaved in one run: each round
// times, each in a fresh process, `cat FILE > /dev/null`, SQLite reading
// every fact blob of the file (one thread, the way any reader of the file
// must at least go), and ReadCubeFile on all engine threads and on one.
// Prints every round and the medians with their ratios.
//
//   bench_open [FILE.cub] [--rounds N]
// Without FILE, a 10,000,000-fact sample cube is built in a temporary folder
// (cubebuild --sample OUT.cub --facts 10000000 makes the same file).
#include "olap/engine/CubeFile.h"
#include "olap/engine/SampleCube.h"
#include "olap/engine/WorkerPool.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace cb::olap;
using Clock = std::chrono::steady_clock;

namespace {

struct Figure {
    double ms = 0;
    long faults = 0;  // minor page faults
};

// Runs in the child: one measurement, printed as "ms faults".
int Measure(const std::string& mode, const std::string& file) {
    const auto t = Clock::now();
    if (mode == "open") {
        auto cube = ReadCubeFile(file);
        if (!cube->factCount) return 1;
    } else if (mode == "sqlite") {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(SqliteFileUri(file, true).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                            nullptr) != SQLITE_OK)
            return 1;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "SELECT data FROM fact_columns", -1, &st, nullptr);
        uint64_t bytes = 0, sink = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(st, 0));
            const int n = sqlite3_column_bytes(st, 0);
            bytes += uint64_t(n);
            if (n) sink += p[n - 1];
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        if (bytes == 0 || sink == 1) return 1;
    } else {
        return 2;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    std::printf("%.3f %ld\n", ms, ru.ru_minflt);
    return 0;
}

// Runs argv in a child with its output read back; threads sets CB_ENGINE_THREADS ("" leaves it).
Figure Child(const std::vector<std::string>& argv, const std::string& threads, bool timeItHere) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(1);
    const auto t = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        if (!threads.empty()) setenv("CB_ENGINE_THREADS", threads.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
    close(fds[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    Figure f;
    if (timeItHere) {
        f.ms = std::chrono::duration<double, std::milli>(Clock::now() - t).count();
        f.faults = ru.ru_minflt;
    } else if (std::sscanf(out.c_str(), "%lf %ld", &f.ms, &f.faults) != 2) {
        std::fprintf(stderr, "bench_open: %s failed (%s)\n", argv[1].c_str(), out.c_str());
        std::exit(1);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_open: %s failed\n", argv[0].c_str());
        std::exit(1);
    }
    return f;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--measure") return Measure(argv[2], argv[3]);
    std::string file;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            file = a;
    }
    std::filesystem::path temp;
    if (file.empty()) {
        temp = std::filesystem::temp_directory_path() / ("bench_open-" + std::to_string(getpid()));
        std::filesystem::create_directories(temp);
        file = (temp / "sample-10M.cub").string();
        WriteCubeFile(*MakeSampleCube(10'000'000, 1), file);
    }
    const std::string self = "/proc/self/exe";
    const std::string cores = std::to_string(EngineThreadCount());
    std::printf("file %s: %.1f MB; engine threads %s; %d rounds, each in fresh processes\n", file.c_str(),
                double(std::filesystem::file_size(file)) / 1e6, cores.c_str(), rounds);
    std::printf("%-6s %14s %22s %28s %28s\n", "round", "cat", "SQLite blob read", "open, all threads",
                "open, 1 thread");
    // Warm the page cache once.
    Child({"cat", file}, "", true);
    std::vector<double> cat, sql, open, open1;
    std::vector<long> faults, faults1;
    for (int r = 0; r < rounds; ++r) {
        const Figure c = Child({"sh", "-c", "cat \"$0\" > /dev/null", file}, "", true);
        const Figure s = Child({self, "--measure", "sqlite", file}, "", false);
        const Figure o = Child({self, "--measure", "open", file}, cores, false);
        const Figure o1 = Child({self, "--measure", "open", file}, "1", false);
        cat.push_back(c.ms);
        sql.push_back(s.ms);
        open.push_back(o.ms);
        open1.push_back(o1.ms);
        faults.push_back(o.faults);
        faults1.push_back(o1.faults);
        std::printf("%-6d %11.1f ms %19.1f ms %14.1f ms %7ld faults %14.1f ms %7ld faults\n", r + 1, c.ms, s.ms,
                    o.ms, o.faults, o1.ms, o1.faults);
        std::fflush(stdout);
    }
    const double mc = Median(cat), ms = Median(sql), mo = Median(open), mo1 = Median(open1);
    std::printf("median %11.1f ms %19.1f ms %14.1f ms %14s %14.1f ms\n", mc, ms, mo, "", mo1);
    std::printf("open, all threads = %.2f x SQLite's blob read (target 2), %.2f x cat\n", mo / ms, mo / mc);
    std::printf("open, 1 thread    = %.2f x SQLite's blob read (target 3), %.2f x cat\n", mo1 / ms, mo1 / mc);
    if (!temp.empty()) std::filesystem::remove_all(temp);
    return 0;
}
