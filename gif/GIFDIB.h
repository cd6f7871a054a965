#pragma once
// Row access to pictures at a known depth for the GIF code: a reader that
// converts a picture once and hands out its rows, and a writer that fills
// one block of rows (bottom-up, 4-byte aligned, as a DIB) and hands the
// finished picture over in one step when it goes.
#include "gif/GIFColorMap.h"

#include <cstdint>
#include <vector>

#include <QImage>

namespace cb::gif {

// Bytes per row: width x bits rounded up to the alignment (in bits).
inline int RowSize(int width, int bits, int alignment = 32) {
    return int(((std::int64_t(width) * bits + alignment - 1) / alignment) * alignment / 8);
}

class TDIBReader {
public:
    // bitsPerPixel 8 (indexes) or 24 (blue, green, red).
    TDIBReader(const QImage& picture, int bitsPerPixel);
    const std::uint8_t* ScanLine(int row) const;
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }

private:
    QImage FImage;
};

class TDIBWriter {
public:
    // Only 8 and 24 bits ("Unsupported PixelFormat"); width and height above
    // 0 ("Invalid image dimensions"). No memory is taken yet.
    TDIBWriter(QImage& target, int bitsPerPixel, int width, int height, const std::vector<TGIFColor>& palette = {});
    // Hands the picture to the target when rows were asked for.
    ~TDIBWriter();
    TDIBWriter(const TDIBWriter&) = delete;
    TDIBWriter& operator=(const TDIBWriter&) = delete;
    // Row 0 is the top row; stored last (bottom-up).
    std::uint8_t* ScanLine(int row);
    int RowBytes() const { return RowSize(FWidth, FBits); }
    // The block of rows (for tests).
    const std::vector<std::uint8_t>& Bits() const { return FBitsBlock; }

private:
    QImage& FTarget;
    int FBits, FWidth, FHeight;
    std::vector<TGIFColor> FPalette;
    std::vector<std::uint8_t> FBitsBlock;
};

}  // namespace cb::gif
