#include "gif/GIFDither.h"

#include <algorithm>
#include <array>

namespace cb::gif {

int TDitherEngine::Dither(int r, int g, int b, int& pr, int& pg, int& pb) {
    const int i = Nearest(r, g, b, pr, pg, pb);
    FColumn += FDirection;
    return i;
}

void TDitherEngine::NextLine() {
    FDirection = -FDirection;
    FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

namespace {

inline int clampByte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Integer division truncating toward zero, after adding half the divisor.
inline int scaled(int error, int divisor) {
    return (error + divisor / 2) / divisor;
}

class TFloydSteinbergDitherer : public TDitherEngine {
public:
    TFloydSteinbergDitherer(int width, TColorLookup& lookup) : TDitherEngine(width, lookup) {
        for (auto& a : FErrors) a.assign(std::size_t(width) + 2, 0);
        FCursor = 0;
    }
    int Dither(int r, int g, int b, int& pr, int& pg, int& pb) override {
        const int in[3] = {r, g, b};
        int want[3];
        for (int c = 0; c < 3; ++c)
            want[c] = clampByte(in[c] + (FErrors[c][std::size_t(FCursor)] + FCurrent[c] + 8) / 16);
        const int index = Nearest(want[0], want[1], want[2], pr, pg, pb);
        const int got[3] = {pr, pg, pb};
        for (int c = 0; c < 3; ++c) {
            const int e = want[c] - got[c];
            if (e != 0) {
                FErrors[c][std::size_t(FCursor)] = FBelowPrev[c] + 3 * e;
                FBelowPrev[c] = FBelow[c] + 5 * e;
                FBelow[c] = e;
                FCurrent[c] = 7 * e;
            } else {
                FCurrent[c] = 0;
            }
        }
        FCursor += FDirection;
        FColumn += FDirection;
        return index;
    }
    void Skip() override {
        FCursor += FDirection;
        FColumn += FDirection;
    }
    void NextLine() override {
        for (int c = 0; c < 3; ++c) {
            FErrors[c][std::size_t(FCursor)] = FBelowPrev[c];
            FCurrent[c] = FBelow[c] = FBelowPrev[c] = 0;
        }
        TDitherEngine::NextLine();
        FCursor = FDirection > 0 ? 0 : FWidth + 1;
    }

private:
    std::array<std::vector<int>, 3> FErrors;
    int FCurrent[3] = {}, FBelow[3] = {}, FBelowPrev[3] = {};
    int FCursor;
};

// One tap of a kernel: row, offset in walking direction, weight.
struct TTap {
    int Row, Offset, Weight;
};

// Error rows per channel; row 0 is the current row.
class TKernelDitherer : public TDitherEngine {
public:
    TKernelDitherer(int width, TColorLookup& lookup, int rows, int margin, int divisor, std::vector<TTap> taps)
        : TDitherEngine(width, lookup), FMargin(margin), FDivisor(divisor), FTaps(std::move(taps)) {
        for (auto& ch : FRows) {
            ch.resize(std::size_t(rows));
            for (auto& row : ch) row.assign(std::size_t(width) + 2 * std::size_t(margin), 0);
        }
    }
    int Dither(int r, int g, int b, int& pr, int& pg, int& pb) override {
        const std::size_t cur = std::size_t(FColumn + FMargin);
        const int in[3] = {r, g, b};
        int want[3];
        for (int c = 0; c < 3; ++c) want[c] = clampByte(in[c] + scaled(FRows[c][0][cur], FDivisor));
        const int index = Nearest(want[0], want[1], want[2], pr, pg, pb);
        const int got[3] = {pr, pg, pb};
        for (int c = 0; c < 3; ++c) {
            const int e = want[c] - got[c];
            if (e == 0) continue;
            for (const TTap& t : FTaps)
                FRows[c][std::size_t(t.Row)][std::size_t(int(cur) + t.Offset * FDirection)] += t.Weight * e;
        }
        FColumn += FDirection;
        return index;
    }
    void NextLine() override {
        for (auto& ch : FRows) {
            std::fill(ch[0].begin(), ch[0].end(), 0);
            std::rotate(ch.begin(), ch.begin() + 1, ch.end());
        }
        TDitherEngine::NextLine();
    }

private:
    int FMargin;
    int FDivisor;
    std::vector<TTap> FTaps;
    std::array<std::vector<std::vector<int>>, 3> FRows;
};

}  // namespace

std::unique_ptr<TDitherEngine> CreateDitherer(TGIFDitherKind kind, int width, TColorLookup& lookup) {
    switch (kind) {
    case dkNearest:
        return std::make_unique<TDitherEngine>(width, lookup);
    case dkFloydSteinberg:
        return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case dkStucki:
        return std::make_unique<TKernelDitherer>(width, lookup, 3, 2, 42,
                                                 std::vector<TTap>{{0, 1, 8},
                                                                   {0, 2, 4},
                                                                   {1, -2, 2},
                                                                   {1, -1, 4},
                                                                   {1, 0, 8},
                                                                   {1, 1, 4},
                                                                   {1, 2, 2},
                                                                   {2, -2, 1},
                                                                   {2, -1, 2},
                                                                   {2, 0, 4},
                                                                   {2, 1, 2},
                                                                   {2, 2, 1}});
    case dkSierra:
        return std::make_unique<TKernelDitherer>(width, lookup, 3, 2, 32,
                                                 std::vector<TTap>{{0, 1, 5},
                                                                   {0, 2, 3},
                                                                   {1, -2, 2},
                                                                   {1, -1, 4},
                                                                   {1, 0, 5},
                                                                   {1, 1, 4},
                                                                   {1, 2, 2},
                                                                   {2, -1, 2},
                                                                   {2, 0, 3},
                                                                   {2, 1, 2}});
    case dkJaJuNI:
        return std::make_unique<TKernelDitherer>(width, lookup, 3, 2, 48,
                                                 std::vector<TTap>{{0, 1, 7},
                                                                   {0, 2, 5},
                                                                   {1, -2, 3},
                                                                   {1, -1, 5},
                                                                   {1, 0, 7},
                                                                   {1, 1, 5},
                                                                   {1, 2, 3},
                                                                   {2, -2, 1},
                                                                   {2, -1, 3},
                                                                   {2, 0, 5},
                                                                   {2, 1, 3},
                                                                   {2, 2, 1}});
    case dkSteveArche:
        return std::make_unique<TKernelDitherer>(width, lookup, 4, 3, 200,
                                                 std::vector<TTap>{{0, 2, 32},
                                                                   {1, -3, 12},
                                                                   {1, -1, 26},
                                                                   {1, 1, 30},
                                                                   {1, 3, 16},
                                                                   {2, -2, 12},
                                                                   {2, 0, 26},
                                                                   {2, 2, 12},
                                                                   {3, -3, 5},
                                                                   {3, -1, 12},
                                                                   {3, 1, 12},
                                                                   {3, 3, 5}});
    case dkBurkes:
        return std::make_unique<TKernelDitherer>(
            width, lookup, 2, 2, 32,
            std::vector<TTap>{{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}});
    }
    return nullptr;
}

}  // namespace cb::gif
