#include "gif/GIFDIB.h"

#include "gif/GIFException.h"
#include "gif/GIFImage.h"

#include <cstring>

namespace cb::gif {

TDIBReader::TDIBReader(const QImage& picture, int bitsPerPixel)
    : FImage(bitsPerPixel == 8 ? picture.convertToFormat(QImage::Format_Indexed8)
                               : picture.convertToFormat(QImage::Format_BGR888)) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24) throw GIFException("Unsupported PixelFormat");
}

const std::uint8_t* TDIBReader::ScanLine(int row) const {
    if (row < 0 || row >= FImage.height()) throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage.constScanLine(row);
}

TDIBWriter::TDIBWriter(QImage& target, int bitsPerPixel, int width, int height, const std::vector<TGIFColor>& palette)
    : FTarget(target), FBits(bitsPerPixel), FWidth(width), FHeight(height), FPalette(palette) {
    if (bitsPerPixel != 8 && bitsPerPixel != 24) throw GIFException("Unsupported PixelFormat");
    if (width <= 0 || height <= 0) throw GIFException("Invalid image dimensions");
    if (std::uint64_t(width) * std::uint64_t(height) > GIFPixelLimit()) throw GIFException("GIF image too large");
}

std::uint8_t* TDIBWriter::ScanLine(int row) {
    if (row < 0 || row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    if (FBitsBlock.empty()) FBitsBlock.assign(std::size_t(RowBytes()) * std::size_t(FHeight), 0);
    return FBitsBlock.data() + std::size_t(RowBytes()) * std::size_t(FHeight - 1 - row);
}

TDIBWriter::~TDIBWriter() {
    if (FBitsBlock.empty()) return;
    QImage img(FWidth, FHeight, FBits == 8 ? QImage::Format_Indexed8 : QImage::Format_BGR888);
    if (img.isNull()) return;
    if (FBits == 8) {
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (std::size_t i = 0; i < FPalette.size() && i < 256; ++i)
            table[qsizetype(i)] = qRgb(FPalette[i][0], FPalette[i][1], FPalette[i][2]);
        img.setColorTable(table);
    }
    const std::size_t used = std::size_t(FWidth) * std::size_t(FBits / 8);
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(img.scanLine(y), FBitsBlock.data() + std::size_t(RowBytes()) * std::size_t(FHeight - 1 - y), used);
    FTarget = std::move(img);
}

}  // namespace cb::gif
