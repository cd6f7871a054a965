// libFuzzer target: any MDX statement against the tiny test cube ends in a
// result or an EOlapError. CREATE GLOBAL CUBE only builds the cube in memory
// (no file is written). Build with fuzz/build.sh, then:
//   ./fuzz_mdx corpus_mdx /work/main/fuzz/seeds/mdx -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "olap/mdx/CreateGlobalCube.h"
#include "olap/mdx/Parser.h"
#include "olap/mdx/SelectQuery.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto cube = cb::olap::MakeTinyCube();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        auto statement = cb::olap::mdx::ParseStatement(text);
        if (auto* select = std::get_if<cb::olap::mdx::SelectStatement>(&statement))
            cb::olap::mdx::RunSelect(*select, *cube);
        else
            cb::olap::mdx::BuildGlobalCube(std::get<cb::olap::mdx::CreateCubeStatement>(statement), *cube);
    } catch (const cb::olap::EOlapError&) {}
    return 0;
}
