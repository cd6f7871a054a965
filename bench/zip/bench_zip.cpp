// Deflate speed against gzip on a cube-like file, and the compression ratio
// against zlib on a small corpus. Prints figures; takes the size in MB as an
// optional argument (default 100).
#include "platform/os/Files.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/Deflater.h"
#include "zip/ZipWriter.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>
#include <zlib.h>

namespace {

using Clock = std::chrono::steady_clock;

std::string Text(std::size_t Size, unsigned Seed) {
    static const char* words[] = {"cube", "member", "level", "measure", "revenue", "Europe", "France", "the",
                                  "and",  "of",     "2024",  "sales",   "total",   "row",    "column", "drill"};
    std::mt19937 rng(Seed);
    std::string s;
    while (s.size() < Size) {
        s += words[rng() % 16];
        s += rng() % 9 == 0 ? "\n" : " ";
    }
    s.resize(Size);
    return s;
}

std::uint64_t OurSize(const std::string& Data, int Level) {
    cb::zip::TDeflater d;
    std::size_t pos = 0;
    return d.Compress(
        Level,
        [&](std::uint8_t* b, std::size_t n) {
            n = std::min(n, Data.size() - pos);
            std::memcpy(b, Data.data() + pos, n);
            pos += n;
            return n;
        },
        [](const std::uint8_t*, std::size_t) {}, false);
}

std::uint64_t ZlibSize(const std::string& Data, int Level) {
    z_stream z{};
    deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(deflateBound(&z, Data.size()) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    z.avail_in = static_cast<uInt>(Data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    const std::uint64_t n = z.total_out;
    deflateEnd(&z);
    return n;
}

double Seconds(Clock::time_point Start) {
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

// Processor time (user and system) of this process or of its finished children.
double CpuSeconds(int Who) {
    rusage u{};
    getrusage(Who, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t mb = argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 100;
    const std::string dir = cb::os::CreateTempDirectory("bench_zip");
    const std::string cube = dir + "facts.cub";
    {
        std::ofstream f(cube, std::ios::binary);
        const std::string data = ziptest::MakeCubeLike(mb * 1000000, 7);
        f.write(data.data(), static_cast<std::streamsize>(data.size()));
    }
    std::printf("Speed on a %zu MB cube-like file, best of 3 runs each, alternating. The writer also computes\n"
                "the CRC; \"synced\" rows flush the written file to disk in both (the writer by default,\n"
                "gzip followed by sync on its output):\n",
                mb);
    struct TRow {
        int Level;
        bool Synced;
    };
    for (const TRow row : {TRow{1, false}, TRow{6, false}, TRow{9, false}, TRow{6, true}}) {
        double ours = 1e9, gz = 1e9, oursCpu = 1e9, gzCpu = 1e9;
        std::uintmax_t ourSize = 0, gzSize = 0;
        for (int run = 0; run < 3; ++run) {
            const std::string archive = dir + "facts.zip";
            std::filesystem::remove(archive);
            auto t = Clock::now();
            double cpu = CpuSeconds(RUSAGE_SELF);
            cb::zip::TZipWriter zip;
            zip.PackLevel = row.Level;
            zip.FlushFilesOnClose = row.Synced;
            zip.SetZipName(archive);
            zip.AddFile(cube);
            zip.ZipFiles();
            ours = std::min(ours, Seconds(t));
            oursCpu = std::min(oursCpu, CpuSeconds(RUSAGE_SELF) - cpu);
            ourSize = std::filesystem::file_size(archive);
            t = Clock::now();
            cpu = CpuSeconds(RUSAGE_CHILDREN);
            const std::string out = dir + "facts.gz";
            std::string cmd = "gzip -n -c -" + std::to_string(row.Level) + " '" + cube + "' > '" + out + "'";
            if (row.Synced) cmd += " && sync '" + out + "'";
            if (std::system(cmd.c_str()) != 0) return 1;
            gz = std::min(gz, Seconds(t));
            gzCpu = std::min(gzCpu, CpuSeconds(RUSAGE_CHILDREN) - cpu);
            gzSize = std::filesystem::file_size(out);
        }
        std::printf("  level %d%s: writer %.2f s wall, %.2f s cpu (%.1f MB/s, %ju bytes); gzip %.2f s wall, %.2f s cpu "
                    "(%.1f MB/s, %ju bytes); writer/gzip wall %.2f, cpu %.2f\n",
                    row.Level, row.Synced ? " synced" : "", ours, oursCpu, mb / ours, ourSize, gz, gzCpu, mb / gz,
                    gzSize, ours / gz, oursCpu / gzCpu);
    }
    std::printf("Ratio against zlib (raw deflate, same level):\n");
    struct TItem {
        const char* Name;
        std::string Data;
    };
    const TItem corpus[] = {{"text 4 MB", Text(4000000, 1)},
                            {"cube 8 MB", ziptest::MakeCubeLike(8000000, 2)},
                            {"random 1 MB", ziptest::MakeRandom(1000000, 3)}};
    for (const auto& item : corpus) {
        for (int level : {1, 6, 9}) {
            const std::uint64_t a = OurSize(item.Data, level), b = ZlibSize(item.Data, level);
            std::printf("  %-12s level %d: ours %10llu, zlib %10llu, difference %+.2f %%\n", item.Name, level,
                        static_cast<unsigned long long>(a), static_cast<unsigned long long>(b),
                        100.0 * (static_cast<double>(a) - static_cast<double>(b)) / static_cast<double>(b));
        }
    }
    std::filesystem::remove_all(dir);
    return 0;
}
