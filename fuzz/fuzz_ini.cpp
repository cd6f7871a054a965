// libFuzzer target: INI text and connection strings. Any text parses; what
// TMemIniFile writes reads back the same. Build with fuzz/build.sh, then:
//   ./fuzz_ini corpus_ini /work/main/fuzz/seeds/ini -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/adomd/ConnectionString.h"
#include "olap/engine/OlapError.h"
#include "platform/rtl/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        auto pairs = cb::olap::ParseConnectionString(text);
        for (const auto& [key, value] : pairs.pairs) (void)pairs.Get(key);
    } catch (const cb::olap::EOlapError&) {}

    cb::rtl::TMemIniFile ini("/nonexistent/cb-fuzz.ini");
    ini.SetText(text);
    for (const std::string& section : ini.ReadSections()) {
        for (const std::string& key : ini.ReadSection(section)) {
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadFloat(section, key, 0);
            (void)ini.ReadBool(section, key, false);
            ini.WriteString(section, key + "x", ini.ReadString(section, key, ""));
        }
        (void)ini.ReadSectionValues(section);
    }
    const std::string written = ini.GetText();
    cb::rtl::TMemIniFile again("/nonexistent/cb-fuzz2.ini");
    again.SetText(written);
    if (again.GetText() != written) std::abort();  // what was written does not read back
    return 0;
}
