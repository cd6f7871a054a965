// libFuzzer target: the zip reader. The first byte picks the mode for a
// missing end record (0 incomplete, 1 rebuild from local headers, 2 not an
// archive) and bit 2 a name ending in ".exe"; the rest is the archive. A
// directory that reads is then walked, sorted and updated with one small
// file, which must fail with nothing but the library's own errors.
// Build with fuzz/build.sh, then:
//   ./fuzz_zipreader corpus_zip -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "platform/rtl/Exception.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

const std::string& Dir() {
    static const std::string dir = [] {
        char tmpl[] = "/tmp/fuzz_zipXXXXXX";
        return std::string(mkdtemp(tmpl)) + "/";
    }();
    return dir;
}

void Write(const std::string& name, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t mode = data[0];
    const std::string archive = Dir() + ((mode & 4) ? "input.exe" : "input.zip");
    Write(archive, data + 1, size - 1);
    static const std::uint8_t extra[] = "added";
    Write(Dir() + "added.txt", extra, sizeof extra - 1);
    try {
        cb::zip::TZipReader r;
        r.IncompleteZipMode = static_cast<cb::zip::TIncompleteZipMode>((mode & 3) % 3);
        r.SetZipName(archive);
        r.OpenArchive();
        for (int i = 0; i < r.Count(); ++i) {
            r.EntryComment(i);
            r.EntryDateTime(i);
        }
        r.ZipComment();
        r.Sort(cb::zip::TZipSortMode::ByDate);
        r.Sort(cb::zip::TZipSortMode::ByRate);
        r.CloseArchive();
        cb::zip::TZipWriter w;
        w.IncompleteZipMode = r.IncompleteZipMode;
        w.SetZipName(archive);
        w.AddFile(Dir() + "added.txt");
        w.ZipFiles();
    } catch (const cb::rtl::Exception&) {}
    unlink(archive.c_str());
    return 0;
}
