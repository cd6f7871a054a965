#include "gif/GIFLzwDecoder.h"

#include "gif/GIFInterlace.h"

#include <cstring>
#include <memory>
#include <vector>

namespace cb::gif {

namespace {

// Codes are read least-significant bit first through a 64-bit buffer.
class TBitReader {
public:
    TBitReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    // -1 when the data ends before a whole code.
    int Read(int bits) {
        if (FCount < bits) {
            Refill();
            if (FCount < bits) return -1;
        }
        const int code = int(FBuffer & ((1u << bits) - 1));
        FBuffer >>= bits;
        FCount -= bits;
        return code;
    }

private:
    void Refill() {
        if (FPos + 8 <= FSize && FCount <= 8) {
            std::uint64_t v;
            std::memcpy(&v, FData + FPos, 8);  // little-endian hosts only
            const int take = (63 - FCount) / 8;
            v &= (take == 8) ? ~std::uint64_t(0) : ((std::uint64_t(1) << (8 * take)) - 1);
            FBuffer |= v << FCount;
            FCount += 8 * take;
            FPos += std::size_t(take);
            return;
        }
        while (FCount <= 56 && FPos < FSize) {
            FBuffer |= std::uint64_t(FData[FPos++]) << FCount;
            FCount += 8;
        }
    }
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
    std::uint64_t FBuffer = 0;
    int FCount = 0;
};

struct TTables {
    std::uint16_t Prefix[4096];
    std::uint16_t Length[4096];
    std::uint8_t Suffix[4096];
    std::uint8_t First[4096];
};

// Writes the string of `code` at out[pos..], dropping what lies past `total`.
inline void putString(const TTables& t, int code, std::uint8_t* out, std::size_t pos, std::size_t total) {
    const std::size_t len = t.Length[code];
    if (pos + len <= total) {
        std::uint8_t* p = out + pos + len - 1;
        for (;;) {
            *p = t.Suffix[code];
            if (p == out + pos) return;
            --p;
            code = t.Prefix[code];
        }
    }
    std::size_t k = len;
    while (k > 0) {
        --k;
        if (pos + k < total) out[pos + k] = t.Suffix[code];
        code = t.Prefix[code];
    }
}

TLZWDecodeResult decodeLinear(int m, const std::uint8_t* codes, std::size_t size, std::uint8_t* out,
                              std::size_t total) {
    TLZWDecodeResult r;
    if (m < kLZWMinCodeSizeLow || m > kLZWMinCodeSizeHigh) {
        r.Stop = TLZWStop::BadCode;
        return r;
    }
    auto tables = std::make_unique<TTables>();
    TTables& t = *tables;
    const int clear = 1 << m;
    const int end = clear + 1;
    for (int c = 0; c < clear; ++c) {
        t.Prefix[c] = 0;
        t.Length[c] = 1;
        t.Suffix[c] = std::uint8_t(c);
        t.First[c] = std::uint8_t(c);
    }
    TBitReader bits(codes, size);
    int next = clear + 2;
    int codeSize = m + 1;
    int limit = 1 << codeSize;
    int old = -1;
    std::size_t pos = 0;
    while (pos < total) {
        const int c = bits.Read(codeSize);
        if (c < 0) {
            r.Stop = TLZWStop::OutOfData;
            break;
        }
        if (c == clear) {
            next = clear + 2;
            codeSize = m + 1;
            limit = 1 << codeSize;
            old = -1;
            continue;
        }
        if (c == end) {
            r.Stop = TLZWStop::EndCode;
            break;
        }
        if (old < 0) {
            if (c > clear) {
                r.Stop = TLZWStop::BadCode;
                break;
            }
            out[pos++] = std::uint8_t(c);
            old = c;
            continue;
        }
        std::size_t len;
        std::uint8_t first;
        const bool defined = c < next;
        if (defined) {
            len = t.Length[c];
            first = t.First[c];
            putString(t, c, out, pos, total);
        } else {
            // A code not yet defined: the previous string and its own first pixel.
            len = std::size_t(t.Length[old]) + 1;
            first = t.First[old];
            putString(t, old, out, pos, total);
            if (pos + len - 1 < total) out[pos + len - 1] = first;
        }
        int newest = old;
        if (next < 4096) {
            t.Prefix[next] = std::uint16_t(old);
            t.Suffix[next] = first;
            t.First[next] = t.First[old];
            t.Length[next] = std::uint16_t(t.Length[old] + 1);
            newest = next;
            ++next;
            if (next >= limit && codeSize < 12) {
                ++codeSize;
                limit <<= 1;
            }
        }
        pos += len;
        old = defined ? c : newest;
    }
    r.Pixels = pos < total ? pos : total;
    if (r.Pixels == total && r.Stop != TLZWStop::BadCode) r.Stop = TLZWStop::Complete;
    return r;
}

}  // namespace

TLZWDecodeResult LZWDecode(int minCodeSize, const std::uint8_t* codes, std::size_t size, std::uint8_t* pixels,
                           int width, int height, bool interlaced) {
    const std::size_t total = (width > 0 && height > 0) ? std::size_t(width) * std::size_t(height) : 0;
    if (total == 0) return {};
    if (!interlaced || height == 1) return decodeLinear(minCodeSize, codes, size, pixels, total);
    std::vector<std::uint8_t> linear(pixels, pixels + total);  // keeps the fill for rows not reached
    const std::vector<int> order = InterlacedRowOrder(height);
    // Rows in file order start from the caller's fill.
    for (std::size_t i = 0; i < order.size(); ++i)
        std::memcpy(linear.data() + i * width, pixels + std::size_t(order[i]) * width, width);
    const TLZWDecodeResult r = decodeLinear(minCodeSize, codes, size, linear.data(), total);
    for (std::size_t i = 0; i < order.size(); ++i)
        std::memcpy(pixels + std::size_t(order[i]) * width, linear.data() + i * width, width);
    return r;
}

}  // namespace cb::gif
