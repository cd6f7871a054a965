#include "gif/GIFLzwEncoder.h"

#include "gif/GIFCodeWriter.h"
#include "gif/GIFException.h"
#include "gif/GIFInterlace.h"

#include <cstring>
#include <memory>

namespace cb::gif {

namespace {

// (prefix, pixel) -> code, open addressing over 8192 slots. A slot holds a
// generation in its top 12 bits, so clearing the table is one increment.
class TCodeTable {
public:
    TCodeTable() { std::memset(FSlots, 0, sizeof(FSlots)); }
    void Clear() {
        if (++FGeneration == 4096) {
            std::memset(FSlots, 0, sizeof(FSlots));
            FGeneration = 1;
        }
    }
    // The code of key, or -1; `slot` is where the key would go.
    int Find(std::uint32_t key, std::uint32_t& slot) const {
        const std::uint32_t tag = (FGeneration << 20) | key;
        std::uint32_t h = ((key >> 12) ^ key) & (kSlots - 1);
        for (;;) {
            const std::uint32_t v = FSlots[h];
            if (v == tag) {
                slot = h;
                return FCodes[h];
            }
            if ((v >> 20) != FGeneration) {
                slot = h;
                return -1;
            }
            h = (h + 1) & (kSlots - 1);
        }
    }
    void Store(std::uint32_t slot, std::uint32_t key, int code) {
        FSlots[slot] = (FGeneration << 20) | key;
        FCodes[slot] = std::uint16_t(code);
    }

private:
    static constexpr std::uint32_t kSlots = 8192;
    std::uint32_t FSlots[kSlots];
    std::uint16_t FCodes[kSlots];
    std::uint32_t FGeneration = 1;
};

}  // namespace

void LZWEncode(const std::uint8_t* pixels, int width, int height, bool interlaced, int colours,
               const TLZWEncodeParams& params, std::vector<std::uint8_t>& out) {
    const int m = params.MinCodeSize;
    if (m < 2 || m > 8) throw GIFException("Invalid LZW code size");
    const int clear = 1 << m;
    const int end = clear + 1;
    const int limitColours = (colours > 0 && colours < clear) ? colours : clear;
    const std::size_t start = out.size();
    out.push_back(std::uint8_t(m));
    TGIFCodeWriter w(out);
    int codeWidth = m + 1;
    int next = clear + 2;
    const auto emit = [&](int code) {
        w.Put(code, codeWidth);
        if (next >= (1 << codeWidth) && codeWidth < 12) ++codeWidth;
    };
    const auto emitClear = [&](TCodeTable& table) {
        w.Put(clear, codeWidth);
        codeWidth = m + 1;
        next = clear + 2;
        table.Clear();
    };
    if (width <= 0 || height <= 0) {
        if (params.ClearWhenEmpty) w.Put(clear, codeWidth);
        w.Put(end, codeWidth);
        w.Finish();
        return;
    }
    auto table = std::make_unique<TCodeTable>();
    std::vector<int> rows;
    if (interlaced) rows = InterlacedRowOrder(height);
    w.Put(clear, codeWidth);
    int prefix = -1;
    const bool afterLast = params.Clear == TLZWClearTiming::AfterLastCode;
    try {
        for (int i = 0; i < height; ++i) {
            const std::uint8_t* row = pixels + std::size_t(interlaced ? rows[i] : i) * std::size_t(width);
            for (int x = 0; x < width; ++x) {
                const int p = row[x];
                if (p >= limitColours) throw GIFException("Color not in color table");
                if (prefix < 0) {
                    prefix = p;
                    continue;
                }
                const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(p);
                std::uint32_t slot;
                const int code = table->Find(key, slot);
                if (code >= 0) {
                    prefix = code;
                    continue;
                }
                emit(prefix);
                if (afterLast) {
                    table->Store(slot, key, next);
                    const int assigned = next++;
                    if (assigned >= 4094) {
                        emit(p);
                        emitClear(*table);
                        prefix = -1;
                    } else {
                        prefix = p;
                    }
                } else {
                    prefix = p;
                    if (next >= 4095) {
                        emitClear(*table);
                    } else {
                        table->Store(slot, key, next);
                        ++next;
                    }
                }
            }
        }
    } catch (...) {
        out.resize(start);
        throw;
    }
    if (prefix >= 0) emit(prefix);
    w.Put(end, codeWidth);
    w.Finish();
}

}  // namespace cb::gif
