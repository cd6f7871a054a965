// libFuzzer target: cube descriptions and their CSV facts. The input is the
// description, a line "%%", then the CSV text, written as "f.csv" beside it.
// Build with fuzz/build.sh, then:
//   ./fuzz_description corpus_desc /work/main/fuzz/seeds/desc -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/description/CubeDescription.h"
#include "olap/engine/OlapError.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/cb-fuzz-desc-XXXXXX";
        return std::string(mkdtemp(tmpl));
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find("\n%%\n");
    const std::string description = input.substr(0, split);
    const std::string csv = split == std::string::npos ? std::string() : input.substr(split + 4);
    std::ofstream(dir + "/f.csv", std::ios::binary | std::ios::trunc)
        .write(csv.data(), static_cast<std::streamsize>(csv.size()));
    try {
        cb::olap::BuildCubeFromDescriptionText(description, "fuzz", dir);
    } catch (const cb::olap::EOlapError&) {}
    return 0;
}
