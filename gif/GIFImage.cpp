#include "gif/GIFImage.h"

#include "gif/GIFException.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/GIFLzwEncoder.h"
#include "gif/GIFPainter.h"
#include "gif/GIFReduction.h"
#include "gif/GIFRleEncoder.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace cb::gif {

using cb::rtl::TSeekOrigin;
using cb::rtl::TStream;

bool TGIFImage::RenderWhileLoading = false;
bool TGIFImage::OptimizeWhenStreamed = false;

namespace {
std::uint64_t gPixelLimit = std::uint64_t(1) << 25;
}

std::uint64_t GIFPixelLimit() {
    return gPixelLimit;
}

void SetGIFPixelLimit(std::uint64_t pixels) {
    gPixelLimit = pixels;
}
bool TGIFImage::PalettedDisplay = false;

namespace {

bool readByte(TStream& s, std::uint8_t& b) {
    return s.Read(&b, 1) == 1;
}

void readExact(TStream& s, void* buffer, std::size_t n) {
    if (s.Read(buffer, n) != n) throw GIFException("Premature end of data");
}

std::uint16_t le16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}

void putLe16(std::uint8_t* p, int v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

// Skips zero bytes; false at the end of the stream, else `b` is the first other byte.
bool skipZeros(TStream& s, std::uint8_t& b) {
    while (readByte(s, b))
        if (b != 0) return true;
    return false;
}

}  // namespace

// Header.

void TGIFHeader::Clear() {
    FColorMap.Clear();
    Width = Height = 0;
    Packed = BackgroundIndex = AspectRatio = 0;
}

cb::gfx::TColor TGIFHeader::BackgroundColor() const {
    return FColorMap.Count() > 0 ? FColorMap.ColorAt(BackgroundIndex) : cb::gfx::clNone;
}

// Colour maps that know their owners.

bool TGIFGlobalColorMap::Optimize() {
    if (!FHeader->Image() || FHeader->Image()->FrameCount() == 0) return false;
    return DoOptimize();
}

void TGIFGlobalColorMap::Warning(int severity, const std::string& message) const {
    if (FHeader->Image()) FHeader->Image()->Warning(this, severity, message);
}

void TGIFGlobalColorMap::BuildHistogram(std::array<int, 256>& uses) const {
    const TGIFImage* image = FHeader->Image();
    for (int i = 0; i < image->FrameCount(); ++i) {
        const TGIFSubImage& f = image->Frame(i);
        if (&f.ActiveColorMap() != this) continue;
        for (std::uint8_t p : f.Pixels()) ++uses[p];
    }
}

void TGIFGlobalColorMap::MapImages(const std::array<std::uint8_t, 256>& map) {
    TGIFImage* image = FHeader->Image();
    for (int i = 0; i < image->FrameCount(); ++i) {
        TGIFSubImage& f = image->Frame(i);
        if (&f.ActiveColorMap() != this) continue;
        for (std::uint8_t& p : f.Pixels()) p = map[p];
        if (f.Transparent() && f.GraphicControlExtension())
            f.GraphicControlExtension()->SetTransparentColorIndex(
                map[std::size_t(f.GraphicControlExtension()->TransparentColorIndex())]);
        f.FreeBitmap();
    }
}

void TGIFGlobalColorMap::Changed() {
    if (FHeader->Image()) FHeader->Image()->FreeBitmap();
}

void TGIFLocalColorMap::Warning(int severity, const std::string& message) const {
    if (FFrame->Image()) FFrame->Image()->Warning(this, severity, message);
}

void TGIFLocalColorMap::BuildHistogram(std::array<int, 256>& uses) const {
    if (&FFrame->ActiveColorMap() != this) return;
    for (std::uint8_t p : FFrame->Pixels()) ++uses[p];
}

void TGIFLocalColorMap::MapImages(const std::array<std::uint8_t, 256>& map) {
    for (std::uint8_t& p : FFrame->Pixels()) p = map[p];
    if (FFrame->Transparent() && FFrame->GraphicControlExtension())
        FFrame->GraphicControlExtension()->SetTransparentColorIndex(
            map[std::size_t(FFrame->GraphicControlExtension()->TransparentColorIndex())]);
}

void TGIFLocalColorMap::Changed() {
    FFrame->FreeBitmap();
}

// Frame.

TGIFSubImage::TGIFSubImage(TGIFImage* image) : FImage(image), FColorMap(this) {}

TGIFSubImage::~TGIFSubImage() {
    FExtensions.clear();
}

void TGIFSubImage::Warning(int severity, const std::string& message) const {
    if (FImage) FImage->Warning(this, severity, message);
}

int TGIFSubImage::Version() const {
    return (FColorMap.Optimized() || !FExtensions.empty()) ? 2 : 1;
}

void TGIFSubImage::Clear() {
    FExtensions.clear();
    FColorMap.Clear();
    FPixels.clear();
    FPixels.shrink_to_fit();
    FWidth = FHeight = 0;
    FTransparent = false;
    FGraphicControl = nullptr;
    FreeBitmap();
    FMaskNeeded = true;
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const {
    if (FColorMap.Count() > 0) return FColorMap;
    if (FImage && FImage->GlobalColorMap().Count() > 0) return FImage->GlobalColorMap();
    return FColorMap;
}

TGIFColorMap& TGIFSubImage::ActiveColorMap() {
    return const_cast<TGIFColorMap&>(std::as_const(*this).ActiveColorMap());
}

void TGIFSubImage::ResizePixels() {
    FreeBitmap();
    FMaskNeeded = true;
    const std::uint64_t n = std::uint64_t(FWidth) * std::uint64_t(FHeight);
    if (n > GIFPixelLimit()) throw GIFException("GIF image too large");
    FPixels.assign(std::size_t(n), 0);
}

void TGIFSubImage::SetBounds(int left, int top, int width, int height) {
    left = std::clamp(left, 0, 65535);
    top = std::clamp(top, 0, 65535);
    width = std::clamp(width, 0, 65535);
    height = std::clamp(height, 0, 65535);
    const bool resized = width != FWidth || height != FHeight;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (resized) ResizePixels();
    if (!FImage) return;
    TGIFHeader& h = FImage->Header();
    const bool tooWide = h.Width != 0 && FLeft + FWidth > h.Width;
    const bool tooHigh = h.Height != 0 && FTop + FHeight > h.Height;
    if (tooWide) Warning(1, "Image width too small for contained frames");
    if (tooHigh) Warning(1, "Image height too small for contained frames");
    if (tooWide || tooHigh) Warning(1, "Image exceeds Logical Screen size");
    h.Width = std::min(65535, std::max(h.Width, FLeft + FWidth));
    h.Height = std::min(65535, std::max(h.Height, FTop + FHeight));
}

void TGIFSubImage::SetLeft(int v) {
    SetBounds(v, FTop, FWidth, FHeight);
}
void TGIFSubImage::SetTop(int v) {
    SetBounds(FLeft, v, FWidth, FHeight);
}
void TGIFSubImage::SetWidth(int v) {
    SetBounds(FLeft, FTop, v, FHeight);
}
void TGIFSubImage::SetHeight(int v) {
    SetBounds(FLeft, FTop, FWidth, v);
}

void TGIFSubImage::SetInterlaced(bool on) {
    FPacked = std::uint8_t(on ? (FPacked | 0x40) : (FPacked & ~0x40));
}

std::uint8_t TGIFSubImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) throw GIFException("Invalid pixel coordinates");
    if (FPixels.empty()) throw GIFException("Image is empty");
    return FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)];
}

const std::uint8_t* TGIFSubImage::ScanLine(int y) const {
    if (y < 0 || y >= FHeight) throw GIFException("Invalid pixel coordinates");
    if (FPixels.empty()) throw GIFException("Image is empty");
    return FPixels.data() + std::size_t(y) * std::size_t(FWidth);
}

std::uint8_t* TGIFSubImage::ScanLine(int y) {
    return const_cast<std::uint8_t*>(std::as_const(*this).ScanLine(y));
}

TGIFExtension* TGIFSubImage::AddExtension(std::unique_ptr<TGIFExtension> e) {
    FExtensions.push_back(std::move(e));
    return FExtensions.back().get();
}

void TGIFSubImage::DeleteExtension(TGIFExtension* e) {
    const auto it = std::find_if(FExtensions.begin(), FExtensions.end(), [e](const auto& p) { return p.get() == e; });
    if (it != FExtensions.end()) FExtensions.erase(it);
}

void TGIFSubImage::SaveToStream(TStream& s) const {
    for (const auto& e : FExtensions) e->SaveToStream(s);
    if (Empty()) return;
    std::uint8_t d[10];
    d[0] = 0x2C;
    putLe16(d + 1, FLeft);
    putLe16(d + 3, FTop);
    putLe16(d + 5, FWidth);
    putLe16(d + 7, FHeight);
    std::uint8_t packed;
    if (FColorMap.Count() == 0) {
        packed = std::uint8_t(FPacked & ~(0x80 | 0x20 | 0x07));
    } else {
        packed = std::uint8_t(0x80 | ((FColorMap.BitsPerPixel() - 1) & 7));
        if (FColorMap.Optimized()) packed |= 0x20;
    }
    d[9] = packed;
    s.WriteBuffer(d, 10);
    FColorMap.SaveToStream(s);
    int bits, colours;
    if (FColorMap.Count() > 0) {
        bits = FColorMap.BitsPerPixel();
        colours = FColorMap.Count();
    } else {
        bits = FImage ? FImage->BitsPerPixel() : 8;
        if (bits < 1) bits = 1;
        colours = 1 << bits;
    }
    std::vector<std::uint8_t> data;
    data.reserve(FPixels.size() / 2 + 64);
    const bool interlaced = packed & 0x40;
    if (FImage && FImage->CompressionMethod == cmRLE)
        RLEEncode(FPixels.data(), FWidth, FHeight, interlaced, colours, bits, data);
    else
        LZWEncode(FPixels.data(), FWidth, FHeight, interlaced, colours,
                  {LZWMinCodeSizeForBits(bits), TLZWClearTiming::OnNextMiss, false}, data);
    s.WriteBuffer(data.data(), data.size());
}

void TGIFSubImage::LoadFromStream(TStream& s) {
    // Extensions.
    std::uint8_t b;
    if (!readByte(s, b)) return;
    while (b != 0x2C && b != 0x3B) {
        if (b != 0x21) {
            Warning(1, "Invalid extension introducer");
            break;
        }
        const TGIFExtensionFactory factory = FindExtensionClass(s);
        if (!factory) throw GIFException("Unknown extension type");
        s.Seek(-1, TSeekOrigin::soCurrent);
        AddExtension(factory(this))->LoadFromStream(s);
        if (!readByte(s, b)) return;
    }
    s.Seek(-1, TSeekOrigin::soCurrent);
    if (b != 0x2C) return;
    // Descriptor, local table, image data.
    std::uint8_t d[10];
    readExact(s, d, 10);
    FLeft = le16(d + 1);
    FTop = le16(d + 3);
    int w = le16(d + 5), h = le16(d + 7);
    FPacked = d[9];
    if (w == 0 || h == 0) {
        if (FImage) {
            w = FImage->Header().Width;
            h = FImage->Header().Height;
        }
        Warning(1, "Image exceeds Logical Screen size");
    }
    FWidth = w;
    FHeight = h;
    ResizePixels();
    if (FPacked & 0x80)
        FColorMap.LoadFromStream(s, 2 << (FPacked & 7));
    else
        FColorMap.Clear();
    if (FTransparent && FGraphicControl)
        std::fill(FPixels.begin(), FPixels.end(), std::uint8_t(FGraphicControl->TransparentColorIndex()));
    std::uint8_t m;
    if (!readByte(s, m)) return;
    std::vector<std::uint8_t> codes;
    bool terminated = false, cut = false;
    std::uint8_t n;
    while (readByte(s, n)) {
        if (n == 0) {
            terminated = true;
            break;
        }
        const std::size_t at = codes.size();
        codes.resize(at + n);
        const std::size_t got = s.Read(codes.data() + at, n);
        if (got < n) {
            codes.resize(at + got);
            cut = true;
            break;
        }
    }
    if (cut) Warning(1, "Premature end of data");
    if (FPixels.empty()) return;
    const TLZWDecodeResult r = LZWDecode(m, codes.data(), codes.size(), FPixels.data(), FWidth, FHeight, Interlaced());
    if (r.Stop == TLZWStop::OutOfData && !cut)
        Warning(1, terminated ? "Decoder bit buffer under-run" : "Premature end of data");
    else if (r.Stop == TLZWStop::BadCode)
        Warning(1, "GIF encoded data is corrupt");
}

void TGIFSubImage::Assign(const TGIFSubImage& source) {
    if (&source == this) return;
    Clear();
    if (source.Empty()) return;
    FLeft = source.FLeft;
    FTop = source.FTop;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
    FPacked = source.FPacked;
    FPixels = source.FPixels;
    FColorMap.Assign(source.FColorMap);
    cb::rtl::TMemoryStream m;
    for (const auto& e : source.FExtensions) e->SaveToStream(m);
    m.SetPosition(0);
    std::uint8_t b;
    while (readByte(m, b)) {
        const TGIFExtensionFactory factory = FindExtensionClass(m);
        m.Seek(-1, TSeekOrigin::soCurrent);
        if (!factory) break;
        AddExtension(factory(this))->LoadFromStream(m);
    }
    FTransparent = source.FTransparent;
    if (source.FBitmap) FBitmap = std::make_unique<QImage>(*source.FBitmap);
    if (FImage) {
        TGIFHeader& h = FImage->Header();
        h.Width = std::max(h.Width, FLeft + FWidth);
        h.Height = std::max(h.Height, FTop + FHeight);
    }
}

void TGIFSubImage::Assign(const cb::gfx::TBitmap& source) {
    if (source.Empty()) {
        Clear();
        return;
    }
    QImage img = source.Image().convertToFormat(QImage::Format_ARGB32);
    if (source.Transparent()) {
        const cb::gfx::TColor tc = source.TransparentColor();
        const QRgb key = qRgb(int(tc & 0xFF), int((tc >> 8) & 0xFF), int((tc >> 16) & 0xFF));
        for (int y = 0; y < img.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = 0;
        }
    }
    Assign(img);
}

void TGIFSubImage::ApplyMask(const std::vector<std::uint8_t>& mask) {
    if (FColorMap.Count() > 0) FColorMap.Optimize();
    const int n = FColorMap.Count();
    if (n < 1 || n > 255) return;
    const int index = FColorMap.AppendColor(0);
    bool any = false;
    for (std::size_t i = 0; i < FPixels.size(); ++i)
        if (mask[i]) {
            FPixels[i] = std::uint8_t(index);
            any = true;
        }
    if (!any) {
        FColorMap.RemoveColor(index);
        return;
    }
    auto* gce =
        static_cast<TGIFGraphicControlExtension*>(AddExtension(std::make_unique<TGIFGraphicControlExtension>(this)));
    gce->SetTransparentColorIndex(index);
    gce->SetTransparent(true);
}

void TGIFSubImage::ImportTrueColor(const QImage& rgb) {
    // Colours in order of first appearance; an 8-slot ring of recent colours
    // spares the table search for runs.
    struct TSlot {
        QRgb Colour;
        int Index;
    };
    TSlot ring[8];
    int used = 0, last = 0;
    std::vector<TGIFColor> table;
    table.reserve(256);
    for (int y = 0; y < FHeight; ++y) {
        if (FImage && y % 32 == 0)
            FImage->Progress(this, TProgressStage::psRunning, y * 100 / FHeight, false, "Converting...");
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = FPixels.data() + std::size_t(y) * std::size_t(FWidth);
        for (int x = 0; x < FWidth; ++x) {
            const QRgb c = in[x] & 0xFFFFFF;
            int index = -1;
            for (int k = 0, slot = last; k < used; ++k, slot = (slot + 7) & 7)
                if (ring[slot].Colour == c) {
                    index = ring[slot].Index;
                    last = slot;
                    break;
                }
            if (index < 0) {
                const TGIFColor e{std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))};
                const auto it = std::find(table.begin(), table.end(), e);
                if (it != table.end()) {
                    index = int(it - table.begin());
                } else {
                    if (table.size() >= 256) throw GIFException("Color table overflow");
                    table.push_back(e);
                    index = int(table.size()) - 1;
                }
                last = used == 0 ? 0 : (last + 1) & 7;
                ring[last] = {c, index};
                if (used < 8) ++used;
            }
            out[x] = std::uint8_t(index);
        }
    }
    FColorMap.FromColorTable(table.data(), int(table.size()));
}

void TGIFSubImage::Assign(const QImage& source) {
    Clear();
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) return;
    SetBounds(FLeft, FTop, source.width(), source.height());
    if (FImage) FImage->Progress(this, TProgressStage::psStarting, 0, false, "Converting...");
    try {
        std::vector<std::uint8_t> mask;
        QImage indexed;
        const QImage::Format f = source.format();
        if (f == QImage::Format_Indexed8 || f == QImage::Format_Mono || f == QImage::Format_MonoLSB) {
            indexed = f == QImage::Format_Indexed8 ? source : source.convertToFormat(QImage::Format_Indexed8);
        } else {
            const QImage rgb = source.convertToFormat(QImage::Format_ARGB32);
            if (source.hasAlphaChannel()) {
                mask.assign(FPixels.size(), 0);
                for (int y = 0; y < FHeight; ++y) {
                    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
                    for (int x = 0; x < FWidth; ++x)
                        mask[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] = qAlpha(in[x]) < 128;
                }
            }
            const TGIFReductionKind kind = FImage ? FImage->ReductionKind : rkNone;
            if (kind == rkNone) {
                try {
                    ImportTrueColor(rgb);
                } catch (const GIFException&) {
                    // More than 256 colours: quantise rather than fail.
                    const int bits = FImage ? FImage->QuantizeBits : 8;
                    const TGIFDitherKind dither = FImage ? FImage->DitherKind : dkNearest;
                    indexed = Reduce(rgb, rkQuantize, dither, bits);
                }
            } else {
                indexed = Reduce(rgb, kind, FImage ? FImage->DitherKind : dkNearest, FImage ? FImage->QuantizeBits : 8,
                                 FImage ? FImage->CustomPalette : std::vector<TGIFColor>{});
                if (indexed.isNull()) throw GIFException("Invalid reduction method");
            }
        }
        if (!indexed.isNull()) {
            const QList<QRgb> ct = indexed.colorTable();
            std::vector<TGIFColor> table;
            for (QRgb c : ct) table.push_back({std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c))});
            if (table.empty()) table.push_back({0, 0, 0});
            FColorMap.FromColorTable(table.data(), int(table.size()));
            bool alphaInTable = false;
            for (QRgb c : ct) alphaInTable |= qAlpha(c) < 128;
            if (alphaInTable && mask.empty()) mask.assign(FPixels.size(), 0);
            for (int y = 0; y < FHeight; ++y) {
                const std::uint8_t* in = indexed.constScanLine(y);
                std::uint8_t* out = FPixels.data() + std::size_t(y) * std::size_t(FWidth);
                for (int x = 0; x < FWidth; ++x) {
                    const int v = in[x] < table.size() ? in[x] : 0;
                    out[x] = std::uint8_t(v);
                    if (alphaInTable && v < ct.size() && qAlpha(ct[v]) < 128)
                        mask[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] = 1;
                }
            }
        }
        if (!mask.empty()) ApplyMask(mask);
    } catch (...) {
        if (FImage) FImage->Progress(this, TProgressStage::psEnding, 0, false, "Converting...");
        throw;
    }
    if (FImage) FImage->Progress(this, TProgressStage::psEnding, 100, false, "Converting...");
}

// Image.

TGIFImage::TGIFImage() : FHeader(this) {
    Reset();
}

TGIFImage::~TGIFImage() {
    StopAllPainters();
    for (TGIFPainter* p : FPainters) p->Detach();
    FPainters.clear();
    FFrames.clear();
}

void TGIFImage::Warning(const void* sender, int severity, const std::string& message) const {
    if (OnBlockWarning) OnBlockWarning(sender, severity, message);
}

void TGIFImage::Progress(const void* sender, TProgressStage stage, int percent, bool redraw,
                         const std::string& message) const {
    if (OnProgress) OnProgress(sender, stage, percent, redraw, message);
}

void TGIFImage::Changed(const void* sender) {
    if (OnChange) OnChange(sender);
}

void TGIFImage::Reset() {
    StopAllPainters();
    FreeBitmap();
    FFrames.clear();
    FHeader.Clear();
}

int TGIFImage::AddFrame(std::unique_ptr<TGIFSubImage> frame) {
    frame->FImage = this;
    FFrames.push_back(std::move(frame));
    FreeBitmap();
    Changed(this);
    return int(FFrames.size()) - 1;
}

int TGIFImage::AddFrame(const QImage& source) {
    auto f = std::make_unique<TGIFSubImage>(this);
    f->Assign(source);
    return AddFrame(std::move(f));
}

int TGIFImage::AddFrame(const cb::gfx::TBitmap& source) {
    auto f = std::make_unique<TGIFSubImage>(this);
    f->Assign(source);
    return AddFrame(std::move(f));
}

void TGIFImage::DeleteFrame(int index) {
    if (index < 0 || index >= FrameCount()) return;
    StopAllPainters();
    FFrames.erase(FFrames.begin() + index);
    FreeBitmap();
}

void TGIFImage::Assign(const TGIFImage& source) {
    if (&source == this) return;
    Reset();
    // The source's handlers report while copying; our own stay ours.
    Progress(this, TProgressStage::psStarting, 0, false, "Copying...");
    FHeader.ColorMap().Assign(source.FHeader.ColorMap());
    FHeader.Width = source.FHeader.Width;
    FHeader.Height = source.FHeader.Height;
    FHeader.Packed = source.FHeader.Packed;
    FHeader.BackgroundIndex = source.FHeader.BackgroundIndex;
    FHeader.AspectRatio = source.FHeader.AspectRatio;
    PaintBackground = source.PaintBackground;
    PaintOptions = source.PaintOptions;
    ReductionKind = source.ReductionKind;
    DitherKind = source.DitherKind;
    for (int i = 0; i < source.FrameCount(); ++i) {
        auto f = std::make_unique<TGIFSubImage>(this);
        f->Assign(source.Frame(i));
        AddFrame(std::move(f));
        Progress(this, TProgressStage::psRunning, (i + 1) * 100 / source.FrameCount(), false, "Copying...");
    }
    Progress(this, TProgressStage::psEnding, 100, false, "Copying...");
}

void TGIFImage::Assign(const QImage& source) {
    Reset();
    if (source.isNull()) return;
    AddFrame(source);
}

void TGIFImage::Assign(const cb::gfx::TBitmap& source) {
    Reset();
    if (source.Empty()) return;
    AddFrame(source);
}

int TGIFImage::BitsPerPixel() const {
    int b = FHeader.ColorMap().BitsPerPixel();
    for (const auto& f : FFrames) b = std::max(b, f->ColorMap().BitsPerPixel());
    return b;
}

int TGIFImage::ColorResolution() const {
    int r = FHeader.ColorMap().BitsPerPixel() - 1;
    for (const auto& f : FFrames) r = std::max(r, f->ColorMap().BitsPerPixel() - 1);
    return std::max(r, 0);
}

int TGIFImage::Version() const {
    int v = FFrames.empty() ? 0 : FHeader.Version();
    for (const auto& f : FFrames) {
        v = std::max(v, f->Version());
        if (v == 2) break;
    }
    return v;
}

void TGIFImage::SetWidth(int w) {
    for (const auto& f : FFrames)
        if (f->Left() + f->Width() > w) throw GIFException("Image width too small for contained frames");
    if (w == FHeader.Width) return;
    FHeader.Width = w;
    FreeBitmap();
    Changed(this);
}

void TGIFImage::SetHeight(int h) {
    for (const auto& f : FFrames)
        if (f->Top() + f->Height() > h) throw GIFException("Image height too small for contained frames");
    if (h == FHeader.Height) return;
    FHeader.Height = h;
    FreeBitmap();
    Changed(this);
}

bool TGIFImage::DitheringInEffect() const {
    return (PaintOptions & gpDither) && (!(PaintOptions & gpAutoDither) || PalettedDisplay);
}

void TGIFImage::SaveToStream(TStream& s) {
    Progress(this, TProgressStage::psStarting, 0, false, "Saving...");
    try {
        const int version = Version();
        if (version == 0) throw GIFException("Unsupported GIF version");
        std::uint8_t h[13];
        std::memcpy(h, version == 2 ? "GIF89a" : "GIF87a", 6);
        const TGIFGlobalColorMap& gct = FHeader.ColorMap();
        std::uint8_t packed = 0;
        if (gct.Count() > 0) {
            packed |= 0x80;
            if (gct.Optimized()) packed |= 0x08;
        }
        packed |= std::uint8_t((ColorResolution() & 7) << 4);
        packed |= std::uint8_t(((gct.Count() > 0 ? gct.BitsPerPixel() : BitsPerPixel()) - 1) & 7);
        FHeader.Packed = packed;
        putLe16(h + 6, FHeader.Width);
        putLe16(h + 8, FHeader.Height);
        h[10] = packed;
        h[11] = FHeader.BackgroundIndex;
        h[12] = FHeader.AspectRatio;
        s.WriteBuffer(h, 13);
        if (packed & 0x80) gct.SaveToStream(s);
        for (int i = 0; i < FrameCount(); ++i) {
            FFrames[std::size_t(i)]->SaveToStream(s);
            Progress(this, TProgressStage::psRunning, (i + 1) * 100 / FrameCount(), false, "Saving...");
        }
        s.WriteU8(0x3B);
    } catch (...) {
        Progress(this, TProgressStage::psEnding, 0, true, "Saving...");
        throw;
    }
    Progress(this, TProgressStage::psEnding, 100, true, "Saving...");
}

void TGIFImage::LoadFromStream(TStream& s) {
    Progress(this, TProgressStage::psStarting, 0, false, "Loading...");
    Reset();
    const std::int64_t start = s.Position();
    try {
        std::uint8_t sig[6];
        const auto isGif = [&]() {
            return s.Read(sig, 6) == 6 && std::toupper(sig[0]) == 'G' && std::toupper(sig[1]) == 'I' &&
                   std::toupper(sig[2]) == 'F';
        };
        if (!isGif()) {
            s.SetPosition(start + 4);
            if (!isGif()) throw GIFException("Invalid GIF signature");
        }
        std::uint8_t d[7];
        readExact(s, d, 7);
        FHeader.Width = le16(d);
        FHeader.Height = le16(d + 2);
        FHeader.Packed = d[4];
        FHeader.BackgroundIndex = d[5];
        FHeader.AspectRatio = d[6];
        if (d[4] & 0x80)
            FHeader.ColorMap().LoadFromStream(s, 2 << (d[4] & 7));
        else
            FHeader.ColorMap().Clear();
        const std::int64_t size = s.Size();
        std::uint64_t pixels = 0;
        std::uint8_t b;
        bool more = skipZeros(s, b);
        while (more && b != 0x3B) {
            if (b != 0x21 && b != 0x2C) {
                // A last stray byte stands where the trailer belongs.
                if (s.Position() < size) Warning(this, 1, "Unknown GIF block type");
                s.Seek(-1, TSeekOrigin::soCurrent);
                break;
            }
            s.Seek(-1, TSeekOrigin::soCurrent);
            auto f = std::make_unique<TGIFSubImage>(this);
            f->LoadFromStream(s);
            pixels += f->Pixels().size();
            if (pixels > GIFPixelLimit()) throw GIFException("GIF image too large");
            TGIFSubImage* frame = f.get();
            FFrames.push_back(std::move(f));
            if (RenderWhileLoading && !frame->Empty()) frame->Bitmap();
            Progress(this, TProgressStage::psRunning, size > 0 ? int(s.Position() * 100 / size) : 0, RenderWhileLoading,
                     "Loading...");
            more = skipZeros(s, b);
        }
        if (more && b == 0x3B) s.Seek(-1, TSeekOrigin::soCurrent);
        if (readByte(s, b) && b != 0x3B) Warning(this, 1, "Invalid Image trailer");
    } catch (...) {
        s.SetPosition(start);
        Progress(this, TProgressStage::psEnding, 0, true, "Loading...");
        throw;
    }
    Progress(this, TProgressStage::psEnding, 100, true, "Loading...");
    Changed(this);
}

void TGIFImage::WriteData(TStream& s) {
    if (OptimizeWhenStreamed)
        OptimizeFrames(ofCropFrames | ofMergeFrames | ofCleanUp | ofSortColors | ofReduceColors, rkNone, 8, dkNearest);
    SaveToStream(s);
}

void TGIFImage::LoadFromFile(const std::string& fileName) {
    cb::rtl::TMemoryStream m;
    m.LoadFromFile(fileName, 64u * 1024u * 1024u);
    LoadFromStream(m);
}

void TGIFImage::SaveToFile(const std::string& fileName) const {
    cb::rtl::TAtomicFileStream f(fileName);
    const_cast<TGIFImage*>(this)->SaveToStream(f);
    f.Commit();
}

}  // namespace cb::gif
