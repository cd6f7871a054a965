// Times opening sample cubes of 1M and 10M facts and query shapes through
// Aggregate on all threads and on one, against a read-only pass over the same
// key and value columns (the memory floor), DuckDB in memory grouping by
// precomputed parent-key columns (when scripts/bench installed its Node
// package: CB_DUCKDB_NODE_MODULES names the node_modules folder), SQLite
// GROUP BY over the same facts, and (when it answers) the MDX cellset, also
// for a set written out as 3000 member unique names. Then the "totals beside
// details" union against its two halves. Times are medians of 7 runs.
//
//   bench_olap [--facts N,N,...] [--no-sql] [--no-duckdb]
// Each cube is measured in a child process (bench_olap --run FILE) so that
// its peak memory is that of opening and querying alone.
#include "olap/adomd/Adomd.h"
#include "olap/engine/Aggregator.h"
#include "olap/engine/CubeBuilder.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/SampleCube.h"
#include "olap/engine/WorkerPool.h"
#include "olap/mdx/Binder.h"
#include "olap/mdx/Mdx.h"
#include "olap/mdx/Parser.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

using namespace cb::olap;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Best of n runs, in milliseconds.
double Best(int n, const std::function<void()>& fn) {
    double best = 1e300;
    for (int i = 0; i < n; ++i) {
        auto t = Clock::now();
        fn();
        best = std::min(best, Ms(Clock::now() - t));
    }
    return best;
}

// Median of n runs, in milliseconds.
double Median(int n, const std::function<void()>& fn) {
    std::vector<double> times;
    for (int i = 0; i < n; ++i) {
        auto t = Clock::now();
        fn();
        times.push_back(Ms(Clock::now() - t));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A read-only pass over the key columns of dims and the value columns of
// measures, one thread: what any aggregation of them must at least read.
uint64_t FloorPass(const CubeData& cube, const std::vector<int>& dims, const std::vector<int>& measures) {
    std::vector<const uint32_t*> keys;
    std::vector<const uint64_t*> values;
    for (int d : dims) keys.push_back(cube.factKeys[size_t(d)].data());
    for (int m : measures) values.push_back(reinterpret_cast<const uint64_t*>(cube.factValues[size_t(m)].data()));
    uint64_t x = 0;
    for (size_t f = 0; f < cube.factCount; ++f) {
        for (const uint32_t* k : keys) x += k[f];
        for (const uint64_t* v : values) x ^= v[f];
    }
    return x;
}

// Id of the ancestor at depth of every member of a dimension.
std::vector<MemberId> AncestorAt(const DimensionData& dim, uint16_t depth) {
    std::vector<MemberId> up(dim.members.size(), 0);
    for (size_t i = 0; i < dim.members.size(); ++i) {
        MemberId id = MemberId(i);
        while (id != kNoMember && dim.members[id].depth > depth) id = dim.members[id].parent;
        up[i] = id == kNoMember ? 0 : id;
    }
    return up;
}

struct DuckFigure {
    double ms = 0;
    double checksum = 0;
};

// DuckDB's medians per query name and thread count, or nothing when its
// package is not installed. The facts go over as CSV with parent-key columns.
std::map<std::pair<std::string, size_t>, DuckFigure>
RunDuckDb(const CubeData& cube, const std::string& csv, const std::vector<std::pair<std::string, std::string>>& qs,
          const std::vector<size_t>& threads) {
    std::map<std::pair<std::string, size_t>, DuckFigure> out;
    const char* modules = std::getenv("CB_DUCKDB_NODE_MODULES");
    if (!modules || !std::filesystem::exists(std::string(modules) + "/@duckdb/node-api")) {
        std::printf("  DuckDB: not measured (run through scripts/bench, which installs @duckdb/node-api)\n");
        return out;
    }
    {
        const auto country = AncestorAt(cube.dimensions[0], 2), city = AncestorAt(cube.dimensions[0], 3),
                   month = AncestorAt(cube.dimensions[2], 3);
        FILE* f = std::fopen(csv.c_str(), "w");
        std::fprintf(f, "l0_2,l0_3,l2_3,m0,m2\n");
        for (size_t i = 0; i < cube.factCount; ++i) {
            const MemberId c = cube.factKeys[0][i], m = cube.factKeys[2][i];
            const double v0 = cube.factValues[0][i], v2 = cube.factValues[2][i];
            std::fprintf(f, "%u,%u,%u,", country[c], city[c], month[m]);
            if (!std::isnan(v0)) std::fprintf(f, "%.17g", v0);
            std::fputc(',', f);
            if (!std::isnan(v2)) std::fprintf(f, "%.17g", v2);
            std::fputc('\n', f);
        }
        std::fclose(f);
    }
    std::string cmd =
        "NODE_PATH='" + std::string(modules) + "' node '" + CB_BENCH_SOURCE_DIR + "/duckdb_bench.cjs' '" + csv + "' ";
    for (size_t i = 0; i < threads.size(); ++i) cmd += (i ? "," : "") + std::to_string(threads[i]);
    cmd += " 7";
    for (const auto& [name, sql] : qs) cmd += " '" + name + "=" + sql + "'";
    FILE* p = popen(cmd.c_str(), "r");
    char line[1024];
    while (p && std::fgets(line, sizeof line, p)) {
        char name[256];
        size_t t = 0;
        DuckFigure fig;
        if (std::sscanf(line, "%255[^\t]\t%zu\t%lf\t%lf", name, &t, &fig.ms, &fig.checksum) == 4) out[{name, t}] = fig;
    }
    if (!p || pclose(p) != 0) std::printf("  DuckDB: the comparison failed (%s)\n", cmd.c_str());
    std::filesystem::remove(csv);
    return out;
}

long PeakRssKb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

void Exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
        std::exit(1);
    }
}

// The facts with one column per level (ancestor ids), as friendly to
// GROUP BY as a table can be.
void FillSql(sqlite3* db, const CubeData& cube) {
    std::string create = "CREATE TABLE facts(", insert = "INSERT INTO facts VALUES(";
    size_t cols = 0;
    for (size_t d = 0; d < cube.dimensions.size(); ++d)
        for (size_t l = 1; l < cube.dimensions[d].levels.size(); ++l, ++cols) {
            create += 'l';
            create += std::to_string(d);
            create += '_';
            create += std::to_string(l);
            create += " INTEGER,";
            insert += cols ? ",?" : "?";
        }
    for (size_t m = 0; m < cube.measures.size(); ++m, ++cols) {
        create += 'm';
        create += std::to_string(m);
        create += m + 1 < cube.measures.size() ? " REAL," : " REAL)";
        insert += ",?";
    }
    insert += ")";
    Exec(db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    Exec(db, create);
    Exec(db, "BEGIN");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, insert.c_str(), -1, &st, nullptr);
    std::vector<MemberId> path;
    for (size_t f = 0; f < cube.factCount; ++f) {
        int c = 1;
        for (size_t d = 0; d < cube.dimensions.size(); ++d) {
            const auto& dim = cube.dimensions[d];
            path.assign(dim.levels.size(), 0);
            for (MemberId id = cube.factKeys[d][f]; id != kNoMember; id = dim.members[id].parent)
                path[dim.members[id].depth] = id;
            for (size_t l = 1; l < path.size(); ++l) sqlite3_bind_int64(st, c++, path[l]);
        }
        for (size_t m = 0; m < cube.measures.size(); ++m) {
            double v = cube.factValues[m][f];
            if (std::isnan(v))
                sqlite3_bind_null(st, c++);
            else
                sqlite3_bind_double(st, c++, v);
        }
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    Exec(db, "COMMIT");
}

double SqlChecksum(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    double sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(st); ++c) sum += sqlite3_column_double(st, c);
    sqlite3_finalize(st);
    return sum;
}

AxisTuples Level(const CubeData& cube, int dim, int depth) {
    AxisTuples a;
    a.dims = {dim};
    a.members = cube.dimensions[size_t(dim)].levels[size_t(depth)].members;
    a.tupleCount = a.members.size();
    return a;
}

AxisTuples CrossJoin(const AxisTuples& x, const AxisTuples& y) {
    AxisTuples a;
    a.dims = {x.dims[0], y.dims[0]};
    for (MemberId p : x.members)
        for (MemberId q : y.members) {
            a.members.push_back(p);
            a.members.push_back(q);
        }
    a.tupleCount = a.members.size() / 2;
    return a;
}

// Resident memory now, from /proc/self/statm.
long RssKb() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int Run(const std::string& file, bool withSql, bool withDuck) {
    const long baseKb = RssKb();
    const auto size = std::filesystem::file_size(file);
    auto t0 = Clock::now();
    auto cube = ReadCubeFile(file);
    const double firstOpen = Ms(Clock::now() - t0);
    cube.reset();
    const double open = Best(3, [&] {
        cube.reset();
        cube = ReadCubeFile(file);
    });
    const size_t raw =
        cube->factCount * (cube->dimensions.size() * sizeof(MemberId) + cube->measures.size() * sizeof(double));
    std::printf("facts %zu, file %.1f MB, raw fact data %.1f MB\n", cube->factCount, double(size) / 1e6,
                double(raw) / 1e6);
    std::printf("  open: first %.1f ms, best of 3 %.1f ms\n", firstOpen, open);

    struct Query {
        const char* name;
        AxisTuples rows;
        const char* sql;
        std::string mdx;
    };
    // The application's normalised form: every city by its unique name.
    std::string cityNames;
    for (MemberId id : cube->dimensions[0].levels[3].members)
        cityNames += (cityNames.empty() ? "" : ", ") + cube->dimensions[0].members[id].uniqueName;
    // Dimensions: 0 Customer (Region, Country, City), 1 Product, 2 Time (Year, Quarter, Month), 3 Channel.
    const std::vector<Query> queries = {
        {"Country x 2 measures", Level(*cube, 0, 2), "SELECT l0_2, SUM(m0), SUM(m2) FROM facts GROUP BY l0_2",
         "SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, [Customer].[Country].Members ON ROWS FROM "
         "[Tavo_sample]"},
        {"Country x Month cross join x 2 measures", CrossJoin(Level(*cube, 0, 2), Level(*cube, 2, 3)),
         "SELECT l0_2, l2_3, SUM(m0), SUM(m2) FROM facts GROUP BY l0_2, l2_3",
         "SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, "
         "CROSSJOIN([Customer].[Country].Members, [Time].[Month].Members) ON ROWS FROM [Tavo_sample]"},
        {"all 3000 cities x 2 measures", Level(*cube, 0, 3), "SELECT l0_3, SUM(m0), SUM(m2) FROM facts GROUP BY l0_3",
         "SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, [Customer].[City].Members ON ROWS FROM "
         "[Tavo_sample]"},
        {"3000 city unique names x 2 measures", Level(*cube, 0, 3),
         "SELECT l0_3, SUM(m0), SUM(m2) FROM facts GROUP BY l0_3",
         "SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, {" + cityNames +
             "} ON ROWS FROM [Tavo_sample]"},
    };
    const size_t allThreads = EngineThreadCount();
    const std::vector<size_t> threadCounts =
        allThreads > 1 ? std::vector<size_t>{allThreads, 1} : std::vector<size_t>{1};
    std::vector<std::pair<std::string, std::string>> duckQueries;
    for (size_t i = 0; i < 3; ++i) duckQueries.emplace_back("q" + std::to_string(i), queries[i].sql);
    const auto duck = withDuck ? RunDuckDb(*cube, file + ".duck.csv", duckQueries, threadCounts)
                               : std::map<std::pair<std::string, size_t>, DuckFigure>{};
    std::vector<double> engine;
    for (size_t qi = 0; qi < queries.size(); ++qi) {
        const Query& q = queries[qi];
        std::printf("  %s (%zu cells)\n", q.name, q.rows.tupleCount * 2);
        for (size_t threads : threadCounts) {
            SetEngineThreadCount(threads);
            double check = 0;
            const double ms = Median(7, [&] {
                auto r = Aggregate(*cube, AxisTuples{}, q.rows, {0, 2});
                check = 0;
                for (double v : r.values)
                    if (!std::isnan(v)) check += v;
            });
            if (threads == allThreads) engine.push_back(ms);
            std::printf("    Aggregate, %2zu threads %8.2f ms  (total %.6g)", threads, ms, check);
            if (auto it = duck.find({"q" + std::to_string(qi), threads}); it != duck.end())
                std::printf("   DuckDB %8.2f ms = %.2f x the engine's time", it->second.ms, it->second.ms / ms);
            std::printf("\n");
        }
        SetEngineThreadCount(0);
        if (qi < 3) {
            uint64_t sink = 0;
            const double floor = Median(7, [&] { sink += FloorPass(*cube, q.rows.dims, {0, 2}); });
            std::printf("    read-only pass over its columns, 1 thread %8.2f ms  (%s)\n", floor,
                        sink == 42 ? "!" : "memory floor");
        }
    }
    SetEngineThreadCount(0);
    const long rssKb = PeakRssKb();
    std::printf("  peak RSS after open and queries: %.1f MB = %.2f x raw fact data; above the %.1f MB before "
                "opening: %.2f x\n",
                double(rssKb) / 1e3, double(rssKb) * 1e3 / double(raw), double(baseKb) / 1e3,
                double(rssKb - baseKb) * 1e3 / double(raw));

    // Name look-up alone: every city's unique name resolved to its member.
    {
        std::vector<std::vector<mdx::NamePart>> paths;
        for (MemberId id : cube->dimensions[0].levels[3].members) {
            // "[a].[b].[c]" -> a, b, c (sample names hold no brackets).
            std::string_view u = cube->dimensions[0].members[id].uniqueName;
            u = u.substr(1, u.size() - 2);
            auto& parts = paths.emplace_back();
            for (;;) {
                const size_t q = u.find("].[");
                parts.push_back({std::string(u.substr(0, q))});
                if (q == std::string_view::npos) break;
                u.remove_prefix(q + 3);
            }
        }
        mdx::Binder binder(*cube);
        size_t found = 0;
        const double ms = Best(20, [&] {
            found = 0;
            for (const auto& parts : paths) found += binder.Resolve(parts, mdx::SourcePos{}).id != 0;
        });
        std::printf("  Binder     resolve 3000 city unique names             %8.3f ms  (%zu found)\n", ms, found);
    }

    // The MDX path, when the evaluator answers these queries.
    try {
        auto conn = Connection::Open("Data Source=\"" + file + "\";Provider=MSOLAP.2;");
        for (size_t i = 0; i < queries.size(); ++i) {
            const double ms = Best(7, [&] {
                Cellset cs;
                cs.Open(queries[i].mdx, conn);
            });
            std::printf("  MDX cellset %-41s %8.1f ms\n", queries[i].name, ms);
        }
    } catch (const std::exception& e) {
        std::printf("  MDX cellset: not measured (%s)\n", e.what());
    }

    if (withSql) {
        const std::string dbPath = file + ".sql.db";
        std::filesystem::remove(dbPath);
        sqlite3* db = nullptr;
        sqlite3_open(dbPath.c_str(), &db);
        auto t = Clock::now();
        FillSql(db, *cube);
        std::printf("  SQLite table filled in %.1f s\n", Ms(Clock::now() - t) / 1e3);
        cube.reset();
        for (size_t i = 0; i < queries.size(); ++i) {
            double check = 0;
            const double ms = Best(2, [&] { check = SqlChecksum(db, queries[i].sql); });
            std::printf("  SQLite     %-42s %8.1f ms  (%.1f x slower than Aggregate; total incl. keys %.6g)\n",
                        queries[i].name, ms, ms / engine[i], check);
        }
        sqlite3_close(db);
        std::filesystem::remove(dbPath);
    }
    return 0;
}

// The application's "totals beside details" rows on a 200,000-fact cube with
// a 3000-member and a 2400-member level: the union of both cross joins
// against each half alone.
int RunUnion() {
    CubeBuilder b("U");
    const int x = b.AddDimension("X", {"XG", "XL"});
    const int y = b.AddDimension("Y", {"YG", "YL"});
    b.AddMeasure("S", Aggregation::Sum);
    uint64_t state = 99;
    auto rnd = [&](uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    };
    for (size_t i = 0; i < 200'000; ++i) {
        const uint64_t xi = i < 3000 ? i : rnd(3000), yi = i < 2400 ? i : rnd(2400);
        uint32_t leaves[] = {b.Leaf(x, {"g" + std::to_string(xi % 50), "x" + std::to_string(xi)}),
                             b.Leaf(y, {"h" + std::to_string(yi % 40), "y" + std::to_string(yi)})};
        const double v = double(rnd(1000));
        b.AddFact(leaves, &v);
    }
    auto cube = b.Finish();
    AxisTuples left = CrossJoin(Level(*cube, 0, 2), AxisTuples{{1}, {0}, 1});
    AxisTuples right = CrossJoin(AxisTuples{{0}, {0}, 1}, Level(*cube, 1, 2));
    AxisTuples both = left;
    both.members.insert(both.members.end(), right.members.begin(), right.members.end());
    both.tupleCount += right.tupleCount;
    std::string xs, ys;
    for (MemberId id : cube->dimensions[0].levels[2].members)
        xs += (xs.empty() ? "" : ", ") + cube->dimensions[0].members[id].uniqueName;
    for (MemberId id : cube->dimensions[1].levels[2].members)
        ys += (ys.empty() ? "" : ", ") + cube->dimensions[1].members[id].uniqueName;
    const std::string mdxLeft = "SELECT {[Measures].[S]} ON COLUMNS, {" + xs + "} * {[Y].[All]} ON ROWS FROM [U]";
    const std::string mdxRight = "SELECT {[Measures].[S]} ON COLUMNS, {[X].[All]} * {" + ys + "} ON ROWS FROM [U]";
    const std::string mdxBoth = "SELECT {[Measures].[S]} ON COLUMNS, Hierarchize(Union({" + xs +
                                "} * {[Y].[All]}, "
                                "{[X].[All]} * {" +
                                ys + "})) ON ROWS FROM [U]";
    const long before = PeakRssKb();
    std::printf("== totals beside details: 200000 facts, 3000 x 2400 leaves\n");
    for (size_t threads : {EngineThreadCount(), size_t(1)}) {
        SetEngineThreadCount(threads);
        const double l = Median(7, [&] { Aggregate(*cube, AxisTuples{}, left, {0}); });
        const double r = Median(7, [&] { Aggregate(*cube, AxisTuples{}, right, {0}); });
        const double u = Median(7, [&] { Aggregate(*cube, AxisTuples{}, both, {0}); });
        std::printf("  Aggregate, %2zu threads: halves %.2f + %.2f ms, union %.2f ms = %.2f x their sum\n", threads, l,
                    r, u, u / (l + r));
        auto run = [&](const std::string& q) {
            mdx::QueryResult res;
            mdx::Execute(q, *cube, res);
        };
        const double ml = Median(7, [&] { run(mdxLeft); });
        const double mr = Median(7, [&] { run(mdxRight); });
        const double mu = Median(7, [&] { run(mdxBoth); });
        std::printf("  MDX,       %2zu threads: halves %.2f + %.2f ms, union %.2f ms = %.2f x their sum\n", threads, ml,
                    mr, mu, mu / (ml + mr));
        const double pl = Median(7, [&] { mdx::ParseStatement(mdxLeft); });
        const double pr = Median(7, [&] { mdx::ParseStatement(mdxRight); });
        const double pu = Median(7, [&] { mdx::ParseStatement(mdxBoth); });
        std::printf("    of which parsing: halves %.2f + %.2f ms, union %.2f ms\n", pl, pr, pu);
    }
    SetEngineThreadCount(0);
    std::printf("  peak RSS %.1f MB (%.1f MB before the queries)\n", double(PeakRssKb()) / 1e3, double(before) / 1e3);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--run")
        return Run(args[1], std::find(args.begin(), args.end(), "--no-sql") == args.end(),
                   std::find(args.begin(), args.end(), "--no-duckdb") == args.end());
    if (!args.empty() && args[0] == "--union") return RunUnion();

    std::vector<size_t> sizes = {1'000'000, 10'000'000};
    bool sql = true, duck = true;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--facts" && i + 1 < args.size()) {
            sizes.clear();
            std::string s = args[++i];
            for (size_t p = 0; p < s.size();) {
                size_t q = s.find(',', p);
                sizes.push_back(std::stoull(s.substr(p, q - p)));
                p = q == std::string::npos ? s.size() : q + 1;
            }
        } else if (args[i] == "--no-sql") {
            sql = false;
        } else if (args[i] == "--no-duckdb") {
            duck = false;
        }
    }
    const auto dir = std::filesystem::temp_directory_path() / ("bench_olap-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (size_t n : sizes) {
        const std::string file = (dir / ("sample-" + std::to_string(n) + ".cub")).string();
        {
            auto t = Clock::now();
            auto cube = MakeSampleCube(n, 1);
            WriteCubeFile(*cube, file);
            std::printf("== built and wrote %zu facts in %.1f s\n", n, Ms(Clock::now() - t) / 1e3);
        }
        std::fflush(stdout);
        pid_t pid = fork();
        if (pid == 0) {
            execl("/proc/self/exe", argv[0], "--run", file.c_str(), sql ? "--sql" : "--no-sql",
                  duck ? "--duckdb" : "--no-duckdb", (char*)nullptr);
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        std::filesystem::remove(file);
    }
    std::filesystem::remove_all(dir);
    std::fflush(stdout);
    if (pid_t pid = fork(); pid == 0) {
        execl("/proc/self/exe", argv[0], "--union", (char*)nullptr);
        _exit(127);
    } else {
        int status = 0;
        waitpid(pid, &status, 0);
    }
    return 0;
}
