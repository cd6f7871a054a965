// libFuzzer target: the cube file reader. The first byte picks the mode:
//   even: the rest of the input is the file itself;
//   odd:  the rest is SQL run on a copy of a valid file (the tiny test cube)
//         before it is read, to reach the reader's consistency checks.
// A cube that reads without error is then queried and copied, which must not
// fail other than with an EOlapError. Build with fuzz/build.sh, then:
//   ./fuzz_cubefile corpus_cube /work/main/fuzz/seeds/cube -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "olap/mdx/CreateGlobalCube.h"
#include "olap/mdx/Mdx.h"
#include "olap/mdx/Parser.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void Spill(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int Progress(void* steps) {
    return ++*static_cast<int*>(steps) > 20000;  // stop runaway SQL
}

const char* const kQueries[] = {
    "SELECT AddCalculatedMembers([Measures].Members) ON COLUMNS, [Geography].Members ON ROWS FROM [Tiny]",
    "SELECT [Measures].Members ON COLUMNS, Hierarchize([Product].Members * [Geography].Levels(1).Members) ON ROWS FROM "
    "[Tiny]",
    "SELECT [Geography].[All].Children ON COLUMNS, [Product].AllMembers ON ROWS FROM [Tiny]",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/cb-fuzz-cube-XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    static const std::string valid = [] {
        cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), dir + "/valid.cub");
        sqlite3* db = nullptr;  // small pages: a small file to copy and mutate
        if (sqlite3_open((dir + "/valid.cub").c_str(), &db) == SQLITE_OK)
            sqlite3_exec(db, "PRAGMA page_size=512; VACUUM;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return Slurp(dir + "/valid.cub");
    }();
    if (size == 0) return 0;
    const std::string path = dir + "/work.cub";
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if ((data[0] & 1) == 0) {
        Spill(path, rest);
    } else {
        std::string lower = rest;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (lower.find("attach") != std::string::npos || lower.find("vacuum") != std::string::npos ||
            lower.find("load_extension") != std::string::npos || lower.find("pragma") != std::string::npos)
            return 0;  // stay inside the one file
        Spill(path, valid);
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            int steps = 0;
            sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
            sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
            sqlite3_progress_handler(db, 100, Progress, &steps);
            sqlite3_exec(db, rest.c_str(), nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
    }
    try {
        auto cube = cb::olap::ReadCubeFile(path);
        for (const char* q : kQueries) {
            try {
                cb::olap::mdx::QueryResult r;
                cb::olap::mdx::Execute(q, *cube, r);
            } catch (const cb::olap::EOlapError&) {}
        }
        auto statement = cb::olap::mdx::ParseStatement("CREATE GLOBAL CUBE [C] STORAGE 'x.cub' FROM [Tiny] (MEASURE "
                                                       "[Tiny].[Sales], DIMENSION [Tiny].[Geography])");
        try {
            cb::olap::mdx::BuildGlobalCube(std::get<cb::olap::mdx::CreateCubeStatement>(statement), *cube);
        } catch (const cb::olap::EOlapError&) {}
    } catch (const cb::olap::EOlapError&) {}
    return 0;
}
