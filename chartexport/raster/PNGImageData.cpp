#include "chartexport/raster/PNGImageData.h"

#include "chartexport/core/PlotExportFormat.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

#include <zlib.h>

namespace cb::chartexport {

namespace {

constexpr int kMinStripRows = 64;
constexpr int kMaxThreads = 8;
constexpr std::size_t kWindow = 32768;
constexpr unsigned char kFilterUp = 2;

// Runs part(k) for every k below n, all but the last on threads of their
// own; the first failure is raised once all have ended.
template <class Part>
void RunParts(int n, const Part& part) {
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(n));
    auto guarded = [&](int k) {
        try {
            part(k);
        } catch (...) {
            errors[static_cast<std::size_t>(k)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    for (int k = 0; k + 1 < n; ++k) {
        try {
            threads.emplace_back(guarded, k);
        } catch (const std::system_error&) {
            guarded(k);  // no thread to be had: this one does it
        }
    }
    guarded(n - 1);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
}

// Row y as the filter type and the differences to the row above, RGB.
void FilterRow(const QImage& image, int y, unsigned char* out) {
    const int w = image.width();
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const QRgb* above = y > 0 ? reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) : nullptr;
    *out++ = kFilterUp;
    for (int x = 0; x < w; ++x) {
        const QRgb c = row[x], p = above ? above[x] : 0;
        *out++ = static_cast<unsigned char>(qRed(c) - qRed(p));
        *out++ = static_cast<unsigned char>(qGreen(c) - qGreen(p));
        *out++ = static_cast<unsigned char>(qBlue(c) - qBlue(p));
    }
}

struct TStrip {
    std::size_t Begin = 0, Length = 0;
    std::string Deflated;
    uLong Adler = 1;
};

// Raw deflate of one strip, primed with the window before it; the last one
// finishes the stream, the others end on a byte boundary (sync flush).
void DeflateStrip(const unsigned char* data, TStrip& strip, int level, bool last) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw EExportError("cannot start the compression");
    struct TEnd {
        z_stream* Z;
        ~TEnd() { deflateEnd(Z); }
    } end{&z};
    if (strip.Begin > 0) {
        const std::size_t n = std::min(kWindow, strip.Begin);
        deflateSetDictionary(&z, data + strip.Begin - n, static_cast<uInt>(n));
    }
    z.next_in = const_cast<unsigned char*>(data + strip.Begin);
    z.avail_in = static_cast<uInt>(strip.Length);
    std::string& out = strip.Deflated;
    out.resize(deflateBound(&z, static_cast<uLong>(strip.Length)) + 64);
    std::size_t produced = 0;
    const int flush = last ? Z_FINISH : Z_SYNC_FLUSH;
    for (;;) {
        z.next_out = reinterpret_cast<unsigned char*>(out.data()) + produced;
        z.avail_out = static_cast<uInt>(out.size() - produced);
        const int rc = deflate(&z, flush);
        if (rc == Z_STREAM_ERROR) throw EExportError("the compression failed");
        produced = out.size() - z.avail_out;
        const bool done = last ? rc == Z_STREAM_END : z.avail_in == 0 && z.avail_out > 0;
        if (done) break;
        if (z.avail_out == 0) out.resize(out.size() * 2);
    }
    out.resize(produced);
    strip.Adler = adler32(1, data + strip.Begin, static_cast<uInt>(strip.Length));
}

}  // namespace

std::string CompressPNGImageData(const QImage& rgb32, int level, int threads) {
    const int w = rgb32.width(), h = rgb32.height();
    const std::size_t rowBytes = std::size_t(w) * 3 + 1;
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    const int parts = std::clamp(std::min(threads, h / kMinStripRows), 1, kMaxThreads);

    std::vector<unsigned char> filtered(rowBytes * std::size_t(h));
    std::vector<TStrip> strips(static_cast<std::size_t>(parts));
    for (int k = 0; k < parts; ++k) {
        const std::size_t y0 = std::size_t(h) * std::size_t(k) / std::size_t(parts);
        const std::size_t y1 = std::size_t(h) * std::size_t(k + 1) / std::size_t(parts);
        strips[std::size_t(k)].Begin = y0 * rowBytes;
        strips[std::size_t(k)].Length = (y1 - y0) * rowBytes;
    }
    // A strip's dictionary is the filtered rows before it: filter all first.
    RunParts(parts, [&](int k) {
        const TStrip& s = strips[std::size_t(k)];
        for (std::size_t y = s.Begin / rowBytes; y < (s.Begin + s.Length) / rowBytes; ++y)
            FilterRow(rgb32, static_cast<int>(y), filtered.data() + y * rowBytes);
    });
    RunParts(parts, [&](int k) { DeflateStrip(filtered.data(), strips[std::size_t(k)], level, k + 1 == parts); });

    // zlib header: deflate with a 32 KiB window, the level's class, checked.
    const unsigned cmf = 0x78;
    const unsigned levelClass = level <= 1 ? 0 : level <= 5 ? 1 : level == 6 ? 2 : 3;
    unsigned flg = levelClass << 6;
    flg += 31 - (cmf * 256 + flg) % 31;
    std::size_t total = 6;
    for (const TStrip& s : strips) total += s.Deflated.size();
    std::string data;
    data.reserve(total);
    data += static_cast<char>(cmf);
    data += static_cast<char>(flg);
    uLong adler = strips.front().Adler;
    for (std::size_t k = 0; k < strips.size(); ++k) {
        data += strips[k].Deflated;
        if (k > 0) adler = adler32_combine(adler, strips[k].Adler, static_cast<z_off_t>(strips[k].Length));
    }
    for (int shift = 24; shift >= 0; shift -= 8) data += static_cast<char>((adler >> shift) & 0xFF);
    return data;
}

}  // namespace cb::chartexport
