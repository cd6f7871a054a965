// libFuzzer target: number pictures and measure format strings, which cube
// files carry. The first 8 bytes are the value (a double), the rest the
// format. Build with fuzz/build.sh, then:
//   ./fuzz_format corpus_format /work/main/fuzz/seeds/format -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "platform/rtl/FormatFloat.h"

#include <cstdint>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const std::string_view format(reinterpret_cast<const char*>(data) + sizeof value, size - sizeof value);
    (void)cb::rtl::FormatFloat(format, value);
    (void)cb::rtl::FormatMeasureValue(format, value);
    return 0;
}
