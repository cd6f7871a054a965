#include "extras/ColorReduction.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace cb::extras {

// ---- level tables ----------------------------------------------------------

namespace {

struct LevelTables {
    std::vector<std::uint8_t> levels[4];
    std::uint8_t nearest[4][256];
    LevelTables() {
        const int sizes[4] = {4, 6, 7, 8};
        for (int t = 0; t < 4; ++t) {
            const int n = sizes[t];
            for (int i = 0; i < n; ++i)
                levels[t].push_back(std::uint8_t((255 * i * 2 + (n - 1)) / (2 * (n - 1))));  // halves up
            for (int v = 0; v < 256; ++v) {
                int best = 0;
                for (int i = 1; i < n; ++i)
                    if (std::abs(levels[t][i] - v) < std::abs(levels[t][best] - v)) best = i;
                nearest[t][v] = std::uint8_t(best);
            }
        }
    }
};

const LevelTables& tables() {
    static const LevelTables t;
    return t;
}

int tableOf(int n) {
    switch (n) {
    case 4:
        return 0;
    case 6:
        return 1;
    case 7:
        return 2;
    case 8:
        return 3;
    }
    throw cb::rtl::EListError("No level table of " + std::to_string(n) + " levels");
}

TReducedImage emptyResult(const TPixelBlock24& b) {
    TReducedImage r;
    r.Width = b.Width;
    r.Height = b.Height;
    r.Indices.assign(std::size_t(r.Stride()) * std::max(0, b.Height), 0);
    return r;
}

void checkBlock(const TPixelBlock24& b) {
    if (b.Width < 0 || b.Height < 0 || b.Bits.size() < std::size_t(b.Stride()) * b.Height)
        throw EInvalidGraphic("Bitmap image is not valid");
}

// Calls f(storedRow, x, blue, green, red) and stores the index it answers.
template <typename F>
void mapPixels(const TPixelBlock24& b, TReducedImage& r, F f) {
    for (int y = 0; y < b.Height; ++y) {
        const std::uint8_t* p = b.Row(y);
        std::uint8_t* out = r.Indices.data() + std::size_t(y) * r.Stride();
        for (int x = 0; x < b.Width; ++x, p += 3) out[x] = f(y, x, p[0], p[1], p[2]);
    }
}

}  // namespace

const std::vector<std::uint8_t>& LevelTable(int n) {
    return tables().levels[tableOf(n)];
}

int NearestLevel(int n, std::uint8_t value) {
    return tables().nearest[tableOf(n)][value];
}

// ---- popularity ------------------------------------------------------------

TReducedImage ReducePopularity(const TPixelBlock24& b, TPopularityStats* stats) {
    checkBlock(b);
    constexpr int kSlots = 5191;
    constexpr int kMaxEntries = 2049;
    constexpr int kWanted = 256;
    constexpr std::uint16_t kEmpty = 0xFFFF;
    struct Entry {
        std::uint8_t r, g, b;
        std::uint32_t count;
        int paletteIndex;
    };
    std::vector<std::uint16_t> hashSlots(kSlots, kEmpty);
    std::vector<Entry> entries;
    entries.reserve(kMaxEntries);
    std::uint8_t rm = 0xFF, gm = 0xFF, bm = 0xFF;

    // Slot of the masked colour; -1 when a new entry would overflow.
    auto find = [&](std::uint8_t r, std::uint8_t g, std::uint8_t bl, bool add) -> int {
        const unsigned h = unsigned((r + g) * (bl + g) * (r + bl)) % kSlots;
        for (unsigned s = h;; s = s + 1 == kSlots ? 0 : s + 1) {
            if (hashSlots[s] == kEmpty) {
                if (!add) return -1;
                if (int(entries.size()) >= kMaxEntries) return -2;
                hashSlots[s] = std::uint16_t(entries.size());
                entries.push_back({r, g, bl, 0, -1});
                return hashSlots[s];
            }
            const Entry& e = entries[hashSlots[s]];
            if (e.r == r && e.g == g && e.b == bl) return hashSlots[s];
        }
    };

    for (bool done = false; !done;) {
        done = true;
        for (int y = 0; y < b.Height && done; ++y) {
            const std::uint8_t* p = b.Row(y);
            for (int x = 0; x < b.Width; ++x, p += 3) {
                const int e = find(p[2] & rm, p[1] & gm, p[0] & bm, true);
                if (e == -2) {
                    std::fill(hashSlots.begin(), hashSlots.end(), kEmpty);
                    entries.clear();
                    if (rm < gm)
                        gm &= std::uint8_t(gm - 1);
                    else if (rm > bm)
                        rm &= std::uint8_t(rm - 1);
                    else
                        bm &= std::uint8_t(bm - 1);
                    done = false;
                    break;
                }
                ++entries[e].count;
            }
        }
    }

    TReducedImage r = emptyResult(b);
    for (auto& q : r.Table) q = {128, 128, 128, 0};
    const int chosen = std::min<int>(kWanted, int(entries.size()));
    std::vector<std::uint32_t> counts(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) counts[i] = entries[i].count;
    for (int k = 0; k < chosen; ++k) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < counts.size(); ++i)
            if (counts[i] > counts[best]) best = i;
        counts[best] = 0;
        entries[best].paletteIndex = k;
        r.Table[k] = {entries[best].b, entries[best].g, entries[best].r, 0};
    }
    for (Entry& e : entries) {
        if (e.paletteIndex >= 0) continue;
        long bestDist = -1;
        for (int k = 0; k < kWanted; ++k) {
            const long dr = long(e.r) - r.Table[k].Red, dg = long(e.g) - r.Table[k].Green,
                       db = long(e.b) - r.Table[k].Blue;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDist < 0 || d < bestDist) {
                bestDist = d;
                e.paletteIndex = k;
            }
        }
    }
    mapPixels(b, r, [&](int, int, std::uint8_t bl, std::uint8_t g, std::uint8_t rd) {
        return std::uint8_t(entries[find(rd & rm, g & gm, bl & bm, false)].paletteIndex);
    });
    if (stats) *stats = {rm, gm, bm, int(entries.size())};
    return r;
}

// ---- median cut ------------------------------------------------------------

namespace {

struct Box {
    std::uint8_t lower[3] = {0, 0, 0};
    std::uint8_t extent[3] = {255, 255, 255};
    int start = 0;  // first cell in the shared cell array
    int cells = 0;  // number of cells
    long pixels = 0;
};

int cellKey(int cell, int channel) {
    return channel == 0 ? (cell >> 8) & 15 : channel == 1 ? (cell >> 4) & 15 : cell & 15;
}

void sortCells(int* a, int n, int ch) {
    if (n < 8) {
        for (int j = 1; j < n; ++j) {
            const int x = a[j];
            int i = j;
            while (i > 0 && cellKey(a[i - 1], ch) >= cellKey(x, ch)) {
                a[i] = a[i - 1];
                --i;
            }
            a[i] = x;
        }
        return;
    }
    const int pivot = cellKey(a[n / 2], ch);
    int i = 0, j = n - 1;
    do {
        while (cellKey(a[i], ch) < pivot) ++i;
        while (cellKey(a[j], ch) > pivot) --j;
        if (i <= j) {
            std::swap(a[i], a[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (i <= 0 || i >= n) {  // cannot happen with a pivot taken from the list
        sortCells(a, 7, ch);
        return;
    }
    sortCells(a, i, ch);
    sortCells(a + i, n - i, ch);
}

}  // namespace

TReducedImage ReduceMedianCut(const TPixelBlock24& b) {
    checkBlock(b);
    constexpr int kWanted = 256;
    std::vector<long> cellCount(4096, 0);
    std::vector<std::uint16_t> pixelCell(std::size_t(b.Width) * std::max(0, b.Height));
    for (int y = 0; y < b.Height; ++y) {
        const std::uint8_t* p = b.Row(y);
        for (int x = 0; x < b.Width; ++x, p += 3) {
            const int cell = (p[2] >> 4) * 256 + (p[1] >> 4) * 16 + (p[0] >> 4);
            ++cellCount[cell];
            pixelCell[std::size_t(y) * b.Width + x] = std::uint16_t(cell);
        }
    }
    std::vector<int> cells;
    for (int c = 0; c < 4096; ++c)
        if (cellCount[c]) cells.push_back(c);
    std::vector<Box> boxes(1);
    boxes[0].cells = int(cells.size());
    boxes[0].pixels = long(b.Width) * b.Height;

    while (int(boxes.size()) < kWanted) {
        int bestBox = -1, bestCh = 0, bestExtent = -1;
        for (int k = 0; k < int(boxes.size()); ++k) {
            if (boxes[k].cells <= 1) continue;
            for (int ch = 0; ch < 3; ++ch)
                if (boxes[k].extent[ch] > bestExtent) {
                    bestExtent = boxes[k].extent[ch];
                    bestBox = k;
                    bestCh = ch;
                }
        }
        if (bestBox < 0) break;
        Box& box = boxes[bestBox];
        int* a = cells.data() + box.start;
        sortCells(a, box.cells, bestCh);
        const long half = box.pixels / 2;
        int lowerCells = 1;
        long lowerPixels = cellCount[a[0]];
        while (lowerCells + 1 < box.cells && half - lowerPixels - cellCount[a[lowerCells]] >= 0) {
            lowerPixels += cellCount[a[lowerCells]];
            ++lowerCells;
        }
        Box upper = box;
        upper.start = box.start + lowerCells;
        upper.cells = box.cells - lowerCells;
        upper.pixels = box.pixels - lowerPixels;
        upper.lower[bestCh] = std::uint8_t(16 * cellKey(a[lowerCells], bestCh));
        upper.extent[bestCh] = std::uint8_t(box.lower[bestCh] + box.extent[bestCh] - upper.lower[bestCh]);
        box.extent[bestCh] = std::uint8_t(16 * cellKey(a[lowerCells - 1], bestCh) - box.lower[bestCh]);
        box.cells = lowerCells;
        box.pixels = lowerPixels;
        boxes.push_back(upper);
    }

    TReducedImage r = emptyResult(b);
    std::vector<std::uint8_t> boxOfCell(4096, 0);
    for (int k = 0; k < int(boxes.size()); ++k) {
        const Box& box = boxes[k];
        if (box.cells == 0) continue;
        int sum[3] = {0, 0, 0};
        for (int i = 0; i < box.cells; ++i) {
            const int c = cells[box.start + i];
            boxOfCell[c] = std::uint8_t(k);
            for (int ch = 0; ch < 3; ++ch) sum[ch] += cellKey(c, ch);
        }
        std::uint8_t avg[3];
        for (int ch = 0; ch < 3; ++ch) avg[ch] = std::uint8_t((16 * sum[ch] + 15) / box.cells);
        if (avg[0] <= 16 && avg[1] <= 16 && avg[2] <= 16) avg[0] = avg[1] = avg[2] = 0;
        r.Table[k] = {avg[2], avg[1], avg[0], 0};
    }
    r.ImportantColors = cells.empty() ? 0 : int(boxes.size());
    mapPixels(b, r, [&](int y, int x, std::uint8_t, std::uint8_t, std::uint8_t) {
        return boxOfCell[pixelCell[std::size_t(y) * b.Width + x]];
    });
    return r;
}

// ---- fixed palettes --------------------------------------------------------

namespace {

// Each pixel to the nearest entry of a colour cube with the given numbers
// of red, green and blue levels (blue varying fastest in the palette).
TReducedImage reduceToCube(const TPixelBlock24& b, int reds, int greens, int blues) {
    checkBlock(b);
    TReducedImage r = emptyResult(b);
    const auto& lr = LevelTable(reds);
    const auto& lg = LevelTable(greens);
    const auto& lb = LevelTable(blues);
    for (auto& q : r.Table) q = {128, 128, 128, 128};
    const int colours = reds * greens * blues;
    for (int i = 0; i < colours; ++i)
        r.Table[i] = {lb[i % blues], lg[(i / blues) % greens], lr[i / (blues * greens)], 0};
    mapPixels(b, r, [=](int, int, std::uint8_t bl, std::uint8_t g, std::uint8_t rd) {
        return std::uint8_t(NearestLevel(reds, rd) * greens * blues + NearestLevel(greens, g) * blues +
                            NearestLevel(blues, bl));
    });
    r.ImportantColors = colours;
    return r;
}

}  // namespace

TReducedImage ReduceCube666(const TPixelBlock24& b) {
    return reduceToCube(b, 6, 6, 6);
}

TReducedImage ReduceCube784(const TPixelBlock24& b) {
    return reduceToCube(b, 7, 8, 4);
}

TReducedImage ReduceChannelCycle(const TPixelBlock24& b) {
    checkBlock(b);
    TReducedImage r = emptyResult(b);
    for (int i = 0; i < 64; ++i) {
        r.Table[i] = {0, 0, std::uint8_t(4 * i), 0};
        r.Table[64 + i] = {0, std::uint8_t(4 * i), 0, 0};
        r.Table[128 + i] = {std::uint8_t(4 * i), 0, 0, 0};
    }
    mapPixels(b, r, [](int y, int x, std::uint8_t bl, std::uint8_t g, std::uint8_t rd) {
        switch ((y + x) % 3) {
        case 0:
            return std::uint8_t(rd >> 2);
        case 1:
            return std::uint8_t((g >> 2) + 64);
        default:
            return std::uint8_t((bl >> 2) + 128);
        }
    });
    return r;
}

TReducedImage ReduceGrayscale(const TPixelBlock24& b) {
    checkBlock(b);
    TReducedImage r = emptyResult(b);
    for (int i = 0; i < 256; ++i) r.Table[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), 0};
    mapPixels(b, r, [](int, int, std::uint8_t bl, std::uint8_t g, std::uint8_t rd) {
        return std::uint8_t((77 * rd + 150 * g + 29 * bl) >> 8);
    });
    return r;
}

TReducedImage ReduceColors(const TPixelBlock24& block, TColorReduction method) {
    switch (method) {
    case rdPopularity:
        return ReducePopularity(block);
    case rdMedianCut:
        return ReduceMedianCut(block);
    case rdCube784:
        return ReduceCube784(block);
    case rdCube666:
        return ReduceCube666(block);
    case rdChannelCycle:
        return ReduceChannelCycle(block);
    case rdGrayscale:
        return ReduceGrayscale(block);
    }
    throw cb::rtl::EConvertError("Unknown colour reduction " + std::to_string(int(method)));
}

}  // namespace cb::extras
