#include "gif/GIFRleEncoder.h"

#include "gif/GIFCodeWriter.h"
#include "gif/GIFException.h"
#include "gif/GIFInterlace.h"

namespace cb::gif {

namespace {

class TRLEEncoder {
public:
    TRLEEncoder(std::vector<std::uint8_t>& out, int bitsPerPixel)
        : FWriter(out), FInitWidth(bitsPerPixel + 1), FWidth(bitsPerPixel + 1), FClearCode(1 << bitsPerPixel),
          FEndCode(FClearCode + 1), FBaseCode(FClearCode + 2), FBumpInit(FClearCode - 1),
          FClearInit(bitsPerPixel > 3 ? FClearCode - 2 : 9), FMaxRunCodes(4095 - FBaseCode) {}

    void Start() { Clear(); }
    void Pixel(int p) {
        if (FRun > 0 && p != FPixel) Flush(FRun);
        if (p == FPixel && FRun > 0) {
            ++FRun;
        } else {
            FPixel = p;
            FRun = 1;
        }
    }
    void Finish() {
        if (FRun > 0) Flush(FRun);
        FWriter.Put(FEndCode, FWidth);
        FWriter.Finish();
    }
    void EndOnly() {
        FWriter.Put(FEndCode, FWidth);
        FWriter.Finish();
    }

private:
    void Clear() {
        FBump = FBumpInit;
        FClearPoint = FClearInit;
        FOutCount = 0;
        FTableMax = 0;
        FJustCleared = true;
        FWriter.Put(FClearCode, FWidth);
        FWidth = FInitWidth;
    }
    void Plain(int code) {
        FJustCleared = false;
        FWriter.Put(code, FWidth);
        ++FOutCount;
        if (FOutCount >= FBump) {
            FBump += 1 << FWidth;
            ++FWidth;
        }
        if (FOutCount >= FClearPoint) Clear();
    }
    void ResetClearPoint() {
        FClearPoint = FClearInit;
        if (FOutCount >= FClearPoint) Clear();
    }
    static long long Cost(long long count, long long r) {
        const long long t = r * (r + 1) / 2;
        const long long q = count / t;
        const long long rest = count - q * t;
        long long n = 0;
        if (rest > 0)
            while (n * (n + 1) < 2 * rest) ++n;
        return q * r + n;
    }
    void FlushFromClear(int count) {
        FClearPoint = FMaxRunCodes;
        FTablePixel = FPixel;
        int n = 1;
        while (count > 0) {
            if (n == 1) {
                FTableMax = 1;
                Plain(FPixel);
                --count;
            } else if (count >= n) {
                FTableMax = n;
                Plain(FBaseCode + n - 2);
                count -= n;
            } else {
                ++FTableMax;
                Plain(count == 1 ? FPixel : FBaseCode + count - 2);
                count = 0;
            }
            n = FOutCount == 0 ? 1 : n + 1;
        }
        ResetClearPoint();
    }
    void FlushClearOrRepeat(int count) {
        if (1 + Cost(count, FMaxRunCodes) < count) {
            Clear();
            FlushFromClear(count);
        } else {
            for (int i = 0; i < count; ++i) Plain(FPixel);
        }
    }
    void FlushWithTable(int count) {
        long long repeats = count / FTableMax;
        long long rest = count % FTableMax;
        long long restCodes = rest > 0 ? 1 : 0;
        if (FOutCount + repeats + restCodes > FMaxRunCodes) {
            repeats = FMaxRunCodes - FOutCount;
            rest = count - repeats * FTableMax;
            restCodes = 1 + Cost(rest, FMaxRunCodes);
        }
        if (1 + Cost(count, FMaxRunCodes) < repeats + restCodes) {
            Clear();
            FlushFromClear(count);
            return;
        }
        FClearPoint = FMaxRunCodes;
        for (long long i = 0; i < repeats; ++i) Plain(FBaseCode + FTableMax - 2);
        if (rest > 0) {
            if (FJustCleared)
                FlushFromClear(int(rest));
            else if (rest == 1)
                Plain(FPixel);
            else
                Plain(FBaseCode + int(rest) - 2);
        }
        ResetClearPoint();
    }
    void Flush(int count) {
        if (count == 1)
            Plain(FPixel);
        else if (FJustCleared)
            FlushFromClear(count);
        else if (FTableMax > 1 && FTablePixel == FPixel)
            FlushWithTable(count);
        else
            FlushClearOrRepeat(count);
        FRun = 0;
    }

    TGIFCodeWriter FWriter;
    const int FInitWidth;
    int FWidth;
    const int FClearCode, FEndCode, FBaseCode;
    const int FBumpInit, FClearInit, FMaxRunCodes;
    int FBump = 0, FClearPoint = 0, FOutCount = 0;
    int FTableMax = 0, FTablePixel = -1;
    bool FJustCleared = false;
    int FPixel = -1, FRun = 0;
};

}  // namespace

void RLEEncode(const std::uint8_t* pixels, int width, int height, bool interlaced, int colours, int bitsPerPixel,
               std::vector<std::uint8_t>& out) {
    const int m = bitsPerPixel < 2 ? 2 : bitsPerPixel;
    if (m > 8) throw GIFException("Invalid LZW code size");
    const int limit = (colours > 0 && colours < (1 << m)) ? colours : (1 << m);
    const std::size_t start = out.size();
    out.push_back(std::uint8_t(m));
    TRLEEncoder e(out, m);
    if (width <= 0 || height <= 0) {
        e.EndOnly();
        return;
    }
    std::vector<int> rows;
    if (interlaced) rows = InterlacedRowOrder(height);
    try {
        e.Start();
        for (int i = 0; i < height; ++i) {
            const std::uint8_t* row = pixels + std::size_t(interlaced ? rows[i] : i) * std::size_t(width);
            for (int x = 0; x < width; ++x) {
                if (row[x] >= limit) throw GIFException("Color not in color table");
                e.Pixel(row[x]);
            }
        }
    } catch (...) {
        out.resize(start);
        throw;
    }
    e.Finish();
}

}  // namespace cb::gif
