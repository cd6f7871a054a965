#include "platform/gfx/Bitmap.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <QImage>
#include <QPainter>

#include <cstring>

namespace cb::gfx {

namespace {

QImage::Format qtFormat(TPixelFormat f) {
    return f == pf24bit ? QImage::Format_BGR888 : QImage::Format_RGB32;
}

// Largest bitmap we make or read: 32768 pixels a side, 256 MB of pixels.
constexpr long long kMaxPixels = 64ll * 1024 * 1024;
constexpr int kMaxSide = 32768;

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

}  // namespace

TBitmap::TBitmap() : FImage(std::make_unique<QImage>()) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
    FFormat = format == pfDevice ? pf32bit : format;
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    FCanvas.reset();
}

int TBitmap::Width() const {
    return FImage->width();
}
int TBitmap::Height() const {
    return FImage->height();
}
void TBitmap::SetWidth(int w) {
    SetSize(w, Height());
}
void TBitmap::SetHeight(int h) {
    SetSize(Width(), h);
}

void TBitmap::releasePainter() const {
    if (FCanvas) FCanvas->ReleasePainter();
}

void TBitmap::SetSize(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w > kMaxSide || h > kMaxSide || (long long)w * h > kMaxPixels)
        throw rtl::Exception("Bitmap of " + std::to_string(w) + " x " + std::to_string(h) + " pixels is too large");
    if (w == Width() && h == Height() && !FImage->isNull()) return;
    releasePainter();
    if (w == 0 || h == 0) {
        *FImage = QImage();
        return;
    }
    QImage img(w, h, qtFormat(FFormat));
    img.fill(Qt::white);
    if (!FImage->isNull()) {
        QPainter p(&img);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *FImage);
    }
    *FImage = std::move(img);
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
    if (f == pfDevice) f = pf32bit;
    if (f == FFormat) return;
    releasePainter();
    FFormat = f;
    if (!FImage->isNull()) *FImage = FImage->convertToFormat(qtFormat(f));
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TCanvas>(static_cast<QPaintDevice*>(FImage.get()));
    return *FCanvas;
}

std::uint8_t* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height()) throw rtl::Exception("Scan line index out of range (" + std::to_string(row) + ")");
    releasePainter();
    return FImage->scanLine(row);
}

const std::uint8_t* TBitmap::ScanLine(int row) const {
    if (row < 0 || row >= Height()) throw rtl::Exception("Scan line index out of range (" + std::to_string(row) + ")");
    releasePainter();
    return FImage->constScanLine(row);
}

int TBitmap::BytesPerLine() const {
    return int(FImage->bytesPerLine());
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (FImage->isNull()) return clNone;
    releasePainter();
    const QRgb v = FImage->pixel(0, Height() - 1);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TBitmap::SetTransparentColor(TColor c) {
    FTransparentColor = c;
    FTransparentMode = tmFixed;
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    releasePainter();
    source.releasePainter();
    FFormat = source.FFormat;
    *FImage = source.FImage->copy();
    SetTransparent(source.Transparent());
    FTransparentColor = source.FTransparentColor;
    FTransparentMode = source.FTransparentMode;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const {
    if (Empty()) return;
    if (&canvas == FCanvas.get()) {
        // Drawing a bitmap onto itself: from a copy of what the canvas has
        // drawn so far.
        const QImage* drawn = canvas.RasterImage();
        const QImage copy = (drawn ? *drawn : *FImage).copy();
        canvas.DrawImage(r, copy, Rect(0, 0, Width(), Height()));
        return;
    }
    releasePainter();
    if (Transparent())
        canvas.StretchDrawTransparent(r, *this, TransparentColor());
    else
        canvas.DrawImage(r, *FImage, Rect(0, 0, Width(), Height()));
}

const QImage& TBitmap::Image() const {
    releasePainter();
    return *FImage;
}

QImage& TBitmap::Image() {
    releasePainter();
    return *FImage;
}

void TBitmap::SetImage(const QImage& image) {
    releasePainter();
    if ((long long)image.width() * image.height() > kMaxPixels) throw rtl::Exception("Image is too large");
    *FImage = image.isNull() ? QImage() : image.convertToFormat(qtFormat(FFormat));
}

// ---- BMP files ----------------------------------------------------------------

std::vector<std::uint8_t> TBitmap::SaveToBmpBytes() const {
    releasePainter();
    const int w = Width(), h = Height();
    const int bpp = FFormat == pf24bit ? 24 : 32;
    const int stride = ((w * bpp / 8) + 3) & ~3;
    const std::uint32_t imageSize = std::uint32_t(stride) * std::uint32_t(h);
    std::vector<std::uint8_t> b;
    b.reserve(54 + imageSize);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + imageSize);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, std::uint32_t(w));
    put32(b, std::uint32_t(h));  // positive: bottom-up
    put16(b, 1);
    put16(b, unsigned(bpp));
    put32(b, 0);  // BI_RGB
    put32(b, imageSize);
    put32(b, 3780);  // 96 dpi
    put32(b, 3780);
    put32(b, 0);
    put32(b, 0);
    const int rowBytes = w * bpp / 8;
    for (int y = h - 1; y >= 0; --y) {
        const std::uint8_t* row = FImage->constScanLine(y);
        const size_t at = b.size();
        b.insert(b.end(), row, row + rowBytes);
        if (bpp == 32)
            for (int x = 0; x < w; ++x) b[at + size_t(x) * 4 + 3] = 0;
        b.insert(b.end(), size_t(stride - rowBytes), 0);
    }
    return b;
}

void TBitmap::LoadFromBmpBytes(const std::uint8_t* data, std::size_t size) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') throw rtl::EInOutError("Bitmap image is not valid");
    // Check the declared size before Qt allocates anything.
    auto rd32 = [&](size_t at) {
        return std::int32_t(std::uint32_t(data[at]) | (std::uint32_t(data[at + 1]) << 8) |
                            (std::uint32_t(data[at + 2]) << 16) | (std::uint32_t(data[at + 3]) << 24));
    };
    const std::int32_t headerSize = rd32(14);
    int bitCount = 24;
    if (headerSize >= 40) {
        bitCount = data[28] | (data[29] << 8);
        const long long w = rd32(18);
        long long h = rd32(22);
        if (h < 0) h = -h;
        if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || w * h > kMaxPixels)
            throw rtl::EInOutError("Bitmap image is not valid");
    }
    QImage img;
    if (!img.loadFromData(data, int(size), "BMP") || img.isNull()) throw rtl::EInOutError("Bitmap image is not valid");
    releasePainter();
    FFormat = bitCount == 32 ? pf32bit : pf24bit;
    *FImage = img.convertToFormat(qtFormat(FFormat));
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    std::string data;
    if (!rtl::ReadFileBytes(fileName, data, 512u * 1024u * 1024u))
        throw rtl::EInOutError("Cannot open file \"" + fileName + "\"");
    try {
        LoadFromBmpBytes(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    } catch (const rtl::EInOutError& e) {
        throw rtl::EInOutError(e.Message() + ": \"" + fileName + "\"");
    }
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    const auto bytes = SaveToBmpBytes();
    rtl::WriteFileAtomic(fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace cb::gfx
