#include "extras/BmpImage.h"

#include <QImage>

#include <algorithm>

namespace cb::extras {

using namespace cb::gfx;

// ---- BMP file images -------------------------------------------------------

int BytesPerScanLine(int pixels, int bitsPerPixel, int alignment) {
    alignment = std::max(alignment, 1);
    const long long bits = (long long)pixels * bitsPerPixel + alignment - 1;
    return int((bits - bits % alignment) / 8);
}

TPixelBlock24 BitmapToBlock24(const TBitmap& bitmap) {
    TPixelBlock24 b;
    b.Width = bitmap.Width();
    b.Height = bitmap.Height();
    b.Bits.assign(std::size_t(b.Stride()) * b.Height, 0);
    const QImage img = bitmap.Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < b.Height; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = b.Row(b.Height - 1 - y);
        for (int x = 0; x < b.Width; ++x) {
            dst[3 * x] = std::uint8_t(qBlue(src[x]));
            dst[3 * x + 1] = std::uint8_t(qGreen(src[x]));
            dst[3 * x + 2] = std::uint8_t(qRed(src[x]));
        }
    }
    return b;
}

namespace {

void put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(std::uint8_t(x));
    v.push_back(std::uint8_t(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// File header, info header, colour table (or the three channel masks of a
// 16-bit image) and rows.
std::vector<std::uint8_t> bmpImage(int width, int height, int bits, const std::vector<TRGBQuad>& table,
                                   const std::vector<std::uint8_t>& rows, int important,
                                   const std::vector<std::uint32_t>& masks = {}) {
    const std::uint32_t headerSize = 14 + 40 + 4 * std::uint32_t(table.size() + masks.size());
    std::vector<std::uint8_t> v;
    v.reserve(headerSize + rows.size());
    v.push_back('B');
    v.push_back('M');
    put32(v, headerSize + std::uint32_t(rows.size()));
    put32(v, 0);
    put32(v, headerSize);
    put32(v, 40);
    put32(v, std::uint32_t(width));
    put32(v, std::uint32_t(height));
    put16(v, 1);
    put16(v, unsigned(bits));
    put32(v, masks.empty() ? 0 : 3);  // BI_RGB or BI_BITFIELDS
    put32(v, std::uint32_t(rows.size()));
    put32(v, 3780);  // 96 dpi in pixels per metre
    put32(v, 3780);
    put32(v, std::uint32_t(table.size()));
    put32(v, std::uint32_t(important));
    for (std::uint32_t m : masks) put32(v, m);
    for (const TRGBQuad& q : table) {
        v.push_back(q.Blue);
        v.push_back(q.Green);
        v.push_back(q.Red);
        v.push_back(q.Reserved);
    }
    v.insert(v.end(), rows.begin(), rows.end());
    return v;
}

// The standard palettes of 1- and 4-bit images.
std::vector<TRGBQuad> standardPalette(int bits) {
    if (bits == 1) return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    const std::uint8_t vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                     {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                     {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                     {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<TRGBQuad> t;
    for (const auto& c : vga) t.push_back({c[2], c[1], c[0], 0});
    return t;
}

std::vector<std::uint8_t> packedRows(const TPixelBlock24& b, int bits, const std::vector<TRGBQuad>& table) {
    const int stride = BytesPerScanLine(b.Width, bits, 32);
    std::vector<std::uint8_t> rows(std::size_t(stride) * b.Height, 0);
    for (int y = 0; y < b.Height; ++y) {
        const std::uint8_t* p = b.Row(y);
        std::uint8_t* out = rows.data() + std::size_t(y) * stride;
        for (int x = 0; x < b.Width; ++x, p += 3) {
            int best = 0;
            long bestDist = -1;
            for (int k = 0; k < int(table.size()); ++k) {
                const long dr = long(p[2]) - table[k].Red, dg = long(p[1]) - table[k].Green,
                           db = long(p[0]) - table[k].Blue;
                const long d = dr * dr + dg * dg + db * db;
                if (bestDist < 0 || d < bestDist) {
                    bestDist = d;
                    best = k;
                }
            }
            if (bits == 1)
                out[x / 8] |= std::uint8_t(best << (7 - x % 8));
            else
                out[x / 2] |= std::uint8_t(x % 2 ? best : best << 4);
        }
    }
    return rows;
}

// 16 bits a pixel: five bits a channel, or five, six and five.
std::vector<std::uint8_t> rows16(const TPixelBlock24& b, bool sixGreen) {
    const int stride = BytesPerScanLine(b.Width, 16, 32);
    std::vector<std::uint8_t> rows(std::size_t(stride) * b.Height, 0);
    for (int y = 0; y < b.Height; ++y) {
        const std::uint8_t* p = b.Row(y);
        std::uint8_t* out = rows.data() + std::size_t(stride) * y;
        for (int x = 0; x < b.Width; ++x, p += 3) {
            const unsigned v = sixGreen ? ((p[2] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[0] >> 3)
                                        : ((p[2] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[0] >> 3);
            out[2 * x] = std::uint8_t(v);
            out[2 * x + 1] = std::uint8_t(v >> 8);
        }
    }
    return rows;
}

std::unique_ptr<cb::rtl::TMemoryStream> toStream(const std::vector<std::uint8_t>& bytes) {
    auto s = std::make_unique<cb::rtl::TMemoryStream>();
    if (!bytes.empty()) s->WriteBuffer(bytes.data(), bytes.size());
    s->SetPosition(0);
    return s;
}

}  // namespace

std::unique_ptr<cb::rtl::TMemoryStream> BitmapToReducedStream(const TBitmap& bitmap, TKitPixelFormat format,
                                                              TColorReduction method) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) throw EInvalidGraphic("Bitmap image is not valid");
    const int have = bitmap.PixelFormat() == pf24bit ? 24 : 32;
    if (int(format) == have && method != rdGrayscale) return toStream(bitmap.SaveToBmpBytes());
    if (format == kpf32bit) NotImplementedStop();
    const TPixelBlock24 block = BitmapToBlock24(bitmap);
    if (format == kpf15bit) return toStream(bmpImage(block.Width, block.Height, 16, {}, rows16(block, false), 0));
    if (format == kpf16bit)
        return toStream(bmpImage(block.Width, block.Height, 16, {}, rows16(block, true), 0, {0xF800, 0x07E0, 0x001F}));
    if (format == kpf24bit) return toStream(bmpImage(block.Width, block.Height, 24, {}, block.Bits, 0));
    if (format != kpf8bit) {
        const auto table = standardPalette(int(format));
        return toStream(
            bmpImage(block.Width, block.Height, int(format), table, packedRows(block, int(format), table), 0));
    }
    const TReducedImage r = ReduceColors(block, method);
    return toStream(bmpImage(r.Width, r.Height, 8, std::vector<TRGBQuad>(r.Table.begin(), r.Table.end()), r.Indices,
                             r.ImportantColors));
}

}  // namespace cb::extras
