#include "tests/zip/ZipTestSupport.h"

#include "zip/Deflater.h"

#include <cstring>
#include <random>
#include <stdexcept>
#include <zlib.h>

namespace ziptest {

std::string MakeText(std::size_t Size, unsigned Seed) {
    static const char* words[] = {"cube",  "member", "level", "measure", "revenue", "Europe", "France", "the",
                                  "and",   "of",     "2024",  "sales",   "total",   "row",    "column", "drill",
                                  "chart", "grid",   "view",  "filter",  "time",    "month",  "year",   "a"};
    std::mt19937 rng(Seed);
    std::string s;
    s.reserve(Size + 16);
    int col = 0;
    while (s.size() < Size) {
        const char* w = words[rng() % (sizeof(words) / sizeof(*words))];
        s += w;
        col += static_cast<int>(std::strlen(w)) + 1;
        if (col > 70) {
            s += "\n";
            col = 0;
        } else {
            s += (rng() % 11 == 0) ? ", " : " ";
        }
    }
    s.resize(Size);
    return s;
}

std::string MakeCubeLike(std::size_t Size, unsigned Seed) {
    std::mt19937 rng(Seed);
    std::string s;
    s.reserve(Size + 16);
    std::uint32_t id = 0;
    while (s.size() < Size) {
        if (rng() % 4 == 0) id = rng() % 5000;
        char b[12];
        std::memcpy(b, &id, 4);
        const double v = static_cast<double>(rng() % 100000) / 100.0;
        std::memcpy(b + 4, &v, 8);
        s.append(b, 12);
        if (rng() % 7 == 0) ++id;
    }
    s.resize(Size);
    return s;
}

std::string MakeRandom(std::size_t Size, unsigned Seed) {
    std::mt19937 rng(Seed);
    std::string s(Size, '\0');
    for (auto& c : s) c = static_cast<char>(rng());
    return s;
}

std::string Inflate(const std::string& Raw, std::size_t ExpectedSize) {
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) throw std::runtime_error("inflateInit2");
    std::string out(ExpectedSize + 1, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Raw.data()));
    z.avail_in = static_cast<uInt>(Raw.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const auto produced = out.size() - z.avail_out;
    const bool allUsed = z.avail_in == 0;
    inflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::runtime_error("inflate failed: " + std::to_string(rc));
    if (!allUsed) throw std::runtime_error("bytes after the deflate stream");
    out.resize(produced);
    return out;
}

std::string Deflate(const std::string& Data, int Level, bool AllowWholeFileStore, bool* Stored, bool* Text) {
    cb::zip::TDeflater d;
    std::size_t pos = 0;
    std::string out;
    d.Compress(
        Level,
        [&](std::uint8_t* buf, std::size_t n) {
            n = std::min(n, Data.size() - pos);
            std::memcpy(buf, Data.data() + pos, n);
            pos += n;
            return n;
        },
        [&](const std::uint8_t* buf, std::size_t n) { out.append(reinterpret_cast<const char*>(buf), n); },
        AllowWholeFileStore);
    if (Stored) *Stored = d.WholeFileStored();
    if (Text) *Text = d.IsText();
    return out;
}

std::string Quote(const std::string& S) {
    std::string q = "'";
    for (char c : S) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

}  // namespace ziptest

#include "tests/common/TestSupport.h"

namespace ziptest {

int RunPython(const std::string& Script, std::string* Out) {
    cbtest::TempDir dir;
    const std::string file = dir.file("script.py");
    cbtest::writeFile(file, Script);
    return cbtest::runCommand("/usr/bin/python3 " + Quote(file) + " 2>&1", Out);
}

}  // namespace ziptest
