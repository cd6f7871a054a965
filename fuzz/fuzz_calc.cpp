// libFuzzer target: calculated member expressions. Each input line becomes
// the expression of a calculated measure [C0], [C1], ... of the tiny test
// cube (so they may refer to one another and form cycles); then every
// measure is queried by city. Build with fuzz/build.sh, then:
//   ./fuzz_calc corpus_calc /work/main/fuzz/seeds/calc -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "olap/mdx/Mdx.h"

#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto base = cb::olap::MakeTinyCube();
    cb::olap::CubeData cube = *base;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (std::getline(in, line) && cube.calculatedMembers.size() < 16) {
        const std::string name = "C" + std::to_string(cube.calculatedMembers.size());
        cube.calculatedMembers.push_back({name, "[Measures].[" + name + "]", line, "0.00"});
    }
    try {
        cb::olap::mdx::QueryResult r;
        cb::olap::mdx::Execute("SELECT AddCalculatedMembers([Measures].Members) ON COLUMNS,"
                               " [Geography].Members ON ROWS FROM [Tiny]",
                               cube, r);
    } catch (const cb::olap::EOlapError&) {}
    return 0;
}
