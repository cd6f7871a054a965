#include "gif/GIFReduction.h"

#include "gif/GIFDither.h"

#include <QImage>

#include <cstdlib>

namespace cb::gif {

TFastColorLookup::TFastColorLookup(const std::vector<TGIFColor>& palette)
    : FPalette(palette.begin(), palette.begin() + std::min<std::size_t>(palette.size(), 256)), FCache(32768, -1) {
    FCount = int(FPalette.size());
    for (int i = 0; i < FCount; ++i) {
        const TGIFColor& e = FPalette[std::size_t(i)];
        const int key = (e[0] >> 3) + ((e[1] >> 3) << 5) + ((e[2] >> 3) << 10);
        if (FCache[std::size_t(key)] < 0) FCache[std::size_t(key)] = std::int16_t(i);
    }
}

int TFastColorLookup::Lookup(int r, int g, int b, int& pr, int& pg, int& pb) {
    const int key = (r >> 3) + ((g >> 3) << 5) + ((b >> 3) << 10);
    int index = FCache[std::size_t(key)];
    if (index < 0) {
        int best = 196608;
        index = 0;
        for (int i = 0; i < FCount; ++i) {
            const TGIFColor& e = FPalette[std::size_t(i)];
            const int d = std::abs(e[0] - r) + std::abs(e[1] - g) + std::abs(e[2] - b);
            if (d < best) {
                best = d;
                index = i;
            }
        }
        FCache[std::size_t(key)] = std::int16_t(index);
    }
    const TGIFColor& e = FPalette[std::size_t(index)];
    pr = e[0];
    pg = e[1];
    pb = e[2];
    return index;
}

int TNetscapeColorLookup::Lookup(int r, int g, int b, int& pr, int& pg, int& pb) {
    const int rr = (r + 3) / 51, gg = (g + 3) / 51, bb = (b + 3) / 51;
    pr = 51 * rr;
    pg = 51 * gg;
    pb = 51 * bb;
    return 36 * rr + 6 * gg + bb;
}

int TGrayScaleLookup::Lookup(int r, int g, int b, int& pr, int& pg, int& pb) {
    const int grey = (77 * r + 150 * g + 29 * b) >> 8;
    pr = pg = pb = grey;
    return grey;
}

int TMonochromeLookup::Lookup(int r, int g, int b, int& pr, int& pg, int& pb) {
    const bool white = 77 * r + 150 * g + 29 * b >= 32513;
    pr = pg = pb = white ? 255 : 0;
    return white ? 1 : 0;
}

const std::vector<TGIFColor>& SystemColors20() {
    static const std::vector<TGIFColor> colours{{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                                {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                                {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                                {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                                {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    return colours;
}

namespace {

struct TOctreeNode {
    bool Leaf = false;
    std::uint32_t Pixels = 0;
    std::uint64_t Red = 0, Green = 0, Blue = 0;
    TOctreeNode* NextReducible = nullptr;
    std::unique_ptr<TOctreeNode> Children[8];
};

class TColorQuantizer {
public:
    TColorQuantizer(int colours, int colourBits) : FMaxColours(colours), FColourBits(std::min(colourBits, 8)) {}
    void Add(int r, int g, int b) {
        insert(FRoot, r, g, b, 0);
        while (FLeaves > FMaxColours) reduce();
    }
    std::vector<TGIFColor> Table() const {
        std::vector<TGIFColor> out;
        walk(FRoot.get(), out);
        return out;
    }

private:
    void insert(std::unique_ptr<TOctreeNode>& node, int r, int g, int b, int level) {
        if (!node) {
            node = std::make_unique<TOctreeNode>();
            if (level == FColourBits) {
                node->Leaf = true;
                ++FLeaves;
            } else {
                node->NextReducible = FReducible[level];
                FReducible[level] = node.get();
            }
        }
        if (node->Leaf) {
            ++node->Pixels;
            node->Red += std::uint64_t(r);
            node->Green += std::uint64_t(g);
            node->Blue += std::uint64_t(b);
            return;
        }
        const int shift = 7 - level;
        const int i = (((r >> shift) & 1) << 2) | (((g >> shift) & 1) << 1) | ((b >> shift) & 1);
        insert(node->Children[i], r, g, b, level + 1);
    }
    void reduce() {
        int level = FColourBits - 1;
        while (level > 0 && !FReducible[level]) --level;
        TOctreeNode* node = FReducible[level];
        if (!node) {
            FLeaves = 0;  // nothing left to fold
            return;
        }
        FReducible[level] = node->NextReducible;
        int children = 0;
        for (auto& c : node->Children)
            if (c) {
                node->Pixels += c->Pixels;
                node->Red += c->Red;
                node->Green += c->Green;
                node->Blue += c->Blue;
                c.reset();
                ++children;
            }
        node->Leaf = true;
        FLeaves -= children - 1;
    }
    static void walk(const TOctreeNode* node, std::vector<TGIFColor>& out) {
        if (!node) return;
        if (node->Leaf) {
            if (node->Pixels == 0) {
                out.push_back({0, 0, 0});
            } else {
                out.push_back({std::uint8_t(node->Red / node->Pixels), std::uint8_t(node->Green / node->Pixels),
                               std::uint8_t(node->Blue / node->Pixels)});
            }
            return;
        }
        for (const auto& c : node->Children) walk(c.get(), out);
    }
    std::unique_ptr<TOctreeNode> FRoot;
    int FLeaves = 0;
    int FMaxColours;
    int FColourBits;
    TOctreeNode* FReducible[8] = {};
};

QImage asRgb32(const QImage& source) {
    return source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
               ? source
               : source.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

std::vector<TGIFColor> OptimizedPalette(const QImage& rgb, int colours, int colourBits, bool withSystemColours) {
    const QImage src = asRgb32(rgb);
    TColorQuantizer q(withSystemColours ? 236 : colours, colourBits);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x) q.Add(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
    }
    std::vector<TGIFColor> table = q.Table();
    if (!withSystemColours) {
        table.resize(std::size_t(colours), TGIFColor{0, 0, 0});
        return table;
    }
    std::vector<TGIFColor> out(256, TGIFColor{0, 0, 0});
    const auto& sys = SystemColors20();
    for (int i = 0; i < 10; ++i) {
        out[std::size_t(i)] = sys[std::size_t(i)];
        out[std::size_t(246 + i)] = sys[std::size_t(10 + i)];
    }
    for (std::size_t i = 0; i < table.size() && i < 236; ++i) out[10 + i] = table[i];
    return out;
}

std::vector<TGIFColor> ReductionPalette(TGIFReductionKind kind, const QImage& rgb, int quantizeBits,
                                        const std::vector<TGIFColor>& custom) {
    std::vector<TGIFColor> p;
    switch (kind) {
    case rkNone:
        break;
    case rkWindows20:
        p = SystemColors20();
        break;
    case rkWindows256: {
        // The halftone palette: system colours around the 216-colour cube and a grey ramp.
        p = OptimizedPalette(QImage(), 0, 8, true);
        int k = 10;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p[std::size_t(k++)] = {std::uint8_t(51 * r), std::uint8_t(51 * g), std::uint8_t(51 * b)};
        for (int i = 0; i < 20; ++i) {
            const std::uint8_t v = std::uint8_t(12 * (i + 1));
            p[std::size_t(k++)] = {v, v, v};
        }
        break;
    }
    case rkWindowsGray:
        p = {{0, 0, 0}, {128, 128, 128}, {192, 192, 192}, {255, 255, 255}};
        break;
    case rkMonochrome:
        p = {{0, 0, 0}, {255, 255, 255}};
        break;
    case rkGrayScale:
        for (int i = 0; i < 256; ++i) p.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
        break;
    case rkNetscape:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back({std::uint8_t(51 * r), std::uint8_t(51 * g), std::uint8_t(51 * b)});
        break;
    case rkQuantize: {
        const int bits = std::clamp(quantizeBits, 1, 8);
        p = OptimizedPalette(rgb, 1 << bits, 8, false);
        break;
    }
    case rkQuantize256:
        p = OptimizedPalette(rgb, 256, 8, true);
        break;
    case rkCustomPalette:
        p.assign(custom.begin(), custom.begin() + std::min<std::size_t>(custom.size(), 256));
        break;
    }
    return p;
}

QImage Reduce(const QImage& source, TGIFReductionKind kind, TGIFDitherKind dither, int quantizeBits,
              const std::vector<TGIFColor>& custom) {
    if (kind == rkNone) return source.convertToFormat(QImage::Format_RGB32);
    if (kind > rkCustomPalette) return {};
    const QImage src = asRgb32(source);
    const std::vector<TGIFColor> palette = ReductionPalette(kind, src, quantizeBits, custom);
    std::unique_ptr<TColorLookup> lookup;
    if (kind == rkMonochrome)
        lookup = std::make_unique<TMonochromeLookup>();
    else if (kind == rkGrayScale)
        lookup = std::make_unique<TGrayScaleLookup>();
    else if (kind == rkNetscape)
        lookup = std::make_unique<TNetscapeColorLookup>();
    else
        lookup = std::make_unique<TFastColorLookup>(palette);
    if (lookup->Count() == 0) return {};
    const int w = src.width(), h = src.height();
    std::unique_ptr<TDitherEngine> engine = CreateDitherer(dither, w, *lookup);
    if (!engine || w <= 0 || h <= 0) return {};
    QImage out(w, h, QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < palette.size(); ++i)
        table[qsizetype(i)] = qRgb(palette[i][0], palette[i][1], palette[i][2]);
    out.setColorTable(table);
    int pr, pg, pb;
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        std::uint8_t* dst = out.scanLine(y);
        while (engine->Column() >= 0 && engine->Column() < w) {
            const int x = engine->Column();
            dst[x] = std::uint8_t(engine->Dither(qRed(in[x]), qGreen(in[x]), qBlue(in[x]), pr, pg, pb));
        }
        engine->NextLine();
    }
    return out;
}

}  // namespace cb::gif
