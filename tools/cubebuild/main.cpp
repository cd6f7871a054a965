// cubebuild: writes a local cube file from a cube description and its facts
// (a CSV file or an SQLite table), or the seeded sample cube.
//
//   cubebuild DESCRIPTION OUT.cub
//   cubebuild --sample OUT.cub [--facts N] [--seed S]
#include "olap/engine/CubeDescription.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/SampleCube.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: cubebuild DESCRIPTION OUT.cub\n"
                         "       cubebuild --sample OUT.cub [--facts N] [--seed S]\n");
    return 2;
}

bool ParseNumber(const std::string& s, uint64_t& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        std::unique_ptr<cb::olap::CubeData> cube;
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
            cube = cb::olap::MakeSampleCube(size_t(facts), seed);
        } else if (args.size() == 2 && args[0].rfind("--", 0) != 0) {
            out = args[1];
            cube = cb::olap::BuildCubeFromDescription(args[0]);
        } else {
            return Usage();
        }
        const auto parent = std::filesystem::path(out).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent);
        cb::olap::WriteCubeFile(*cube, out);
        std::printf("cubebuild: wrote %s (cube \"%s\", %zu facts)\n", out.c_str(), cube->name.c_str(), cube->factCount);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cubebuild: %s\n", e.what());
        return 1;
    }
}
