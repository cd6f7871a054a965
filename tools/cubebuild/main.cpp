// cubebuild: writes a local cube file from a cube description and its facts
// (a CSV file or an SQLite table), or the seeded sample cube.
//
//   cubebuild [--replace] DESCRIPTION OUT.cub
//   cubebuild [--replace] --sample OUT.cub [--facts N] [--seed S]
//
// OUT.cub is never one of the inputs; an existing OUT.cub that is not a cube
// file is replaced only with --replace. The temporary file is removed when
// the build is stopped by a signal, and stale ones of OUT.cub (left by a
// build that was killed) are removed on the next run.
#include "olap/description/CubeDescription.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/SampleCube.h"
#include "platform/rtl/AtomicFile.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: cubebuild [--replace] DESCRIPTION OUT.cub\n"
                         "       cubebuild [--replace] --sample OUT.cub [--facts N] [--seed S]\n"
                         "  --replace  replace OUT.cub even when it is not a cube file\n");
    return 2;
}

bool ParseNumber(const std::string& s, uint64_t& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool replace = false;
    if (!args.empty() && args[0] == "--replace") {
        replace = true;
        args.erase(args.begin());
    }
    cb::rtl::InstallTempFileCleanupOnSignals();
    try {
        std::unique_ptr<cb::olap::CubeData> cube;
        std::vector<std::string> inputs;
        std::string out;
        if (!args.empty() && args[0] == "--sample") {
            if (args.size() < 2 || args.size() % 2 != 0) return Usage();
            out = args[1];
            uint64_t facts = cb::olap::kSampleFactCount, seed = 1;
            for (size_t i = 2; i + 1 < args.size(); i += 2) {
                uint64_t* target = args[i] == "--facts" ? &facts : args[i] == "--seed" ? &seed : nullptr;
                if (!target) return Usage();
                if (!ParseNumber(args[i + 1], *target) || (target == &facts && facts > 500'000'000)) {
                    std::fprintf(stderr, "cubebuild: %s is not a valid value for %s\n", args[i + 1].c_str(),
                                 args[i].c_str());
                    return 2;
                }
            }
            cb::olap::CheckCubeTarget(out, {}, replace);
            cube = cb::olap::MakeSampleCube(size_t(facts), seed);
        } else if (args.size() == 2 && args[0].rfind("--", 0) != 0) {
            out = args[1];
            // The description is refused before the (long) build; the facts
            // file and files that are not cubes once the facts file is known.
            cb::olap::CheckCubeTarget(out, {args[0]}, true);
            cube = cb::olap::BuildCubeFromDescription(args[0], {}, &inputs);
        } else {
            return Usage();
        }
        cb::olap::CheckCubeTarget(out, inputs, replace);
        const auto parent = std::filesystem::path(out).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent);
        cb::rtl::RemoveStaleTempFiles(out);
        cb::olap::WriteCubeFile(*cube, out);
        std::printf("cubebuild: wrote %s (cube \"%s\", %zu facts)\n", out.c_str(), cube->name.c_str(), cube->factCount);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cubebuild: %s\n", e.what());
        return 1;
    }
}
