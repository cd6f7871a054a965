// libFuzzer target: upgrade information files. Any text is read or refused
// with EUpgradeInfoFile, within its limits; a key found reads back the value
// a plain search of the lower-cased text finds. Build with fuzz/build.sh, then:
//   ./fuzz_upgradeinfo corpus_upgradeinfo /work/main/fuzz/seeds/upgradeinfo -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "platform/rtl/Strings.h"
#include "upgrade/UpgradeInfoFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using cb::upgrade::EUpgradeInfoFile;
using cb::upgrade::TUpgradeInfoFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const TUpgradeInfoFile info(text);
        if (text.size() > TUpgradeInfoFile::MaxSize) std::abort();  // past the cap yet read
        if (info.UrlKeys().size() > TUpgradeInfoFile::MaxFiles) std::abort();
        const std::string lower = cb::rtl::LowerCase(text);
        for (const char* key : {"url", "url0", "url1", "url2", "date", "version", "method", "message", "sha256"}) {
            const std::string value = info.Value(key);
            // The first "#key=" of the text is where the value starts.
            const auto at = lower.find("#" + std::string(key) + "=");
            if (at == std::string::npos && !value.empty()) std::abort();
            if (at != std::string::npos && std::string(key) != "message") {
                const size_t start = at + std::string(key).size() + 2;
                if (text.compare(start, value.size(), value) != 0) std::abort();
            }
        }
        for (const std::string& file : info.Files())
            if (file.empty()) std::abort();
    } catch (const EUpgradeInfoFile&) {
    }
    return 0;
}
