#include "gif/KitGIFImage.h"

#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFLzwDecoder.h"
#include "gif/GIFLzwEncoder.h"
#include "gif/GIFReduction.h"
#include "gif/GIFSubBlocks.h"
#include "platform/gfx/Canvas.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace cb::gif {

const char* const kGIFImageMime = "application/x-cb-gif-image";
const char* const kGIFFileMime = "image/gif";

bool TKitGIFImage::TolerateDamage = true;

namespace {

using EGIF = EInvalidGraphicOperation;

TKitGIFImage::TReducer& reducerSlot() {
    static TKitGIFImage::TReducer r = [](const QImage& rgb, bool grey) {
        return Reduce(rgb, grey ? rkGrayScale : rkQuantize, dkNearest, 8);
    };
    return r;
}

int bitsForCount(int n) {
    int b = 1;
    while ((1 << b) < n) ++b;
    return b;
}

// Table bits of a table whose count is a power of two from 2 to 256.
int exactBits(int count) {
    for (int b = 1; b <= 8; ++b)
        if ((1 << b) == count) return b;
    throw EGIF("Wrong number of colors; must be a power of 2");
}

bool isLoopBlock(const std::array<std::uint8_t, 13>& fixed, const std::vector<std::string>& blocks) {
    // Block size 11 and all 11 identifier bytes.
    if (fixed[0] != 11) return false;
    const char* id = reinterpret_cast<const char*>(fixed.data() + 1);
    if (std::memcmp(id, "NETSCAPE2.0", 11) != 0 && std::memcmp(id, "ANIMEXTS1.0", 11) != 0) return false;
    return !blocks.empty() && blocks[0].size() >= 3 && std::uint8_t(blocks[0][0]) == 1;
}

// Reads sub-blocks into strings; false when the data ends inside them.
bool readSubBlocks(const std::uint8_t* d, std::size_t size, std::size_t& pos, std::vector<std::string>& out) {
    while (pos < size) {
        const std::size_t n = d[pos++];
        if (n == 0) return true;
        if (n > size - pos) {
            pos = size;
            return false;
        }
        out.emplace_back(reinterpret_cast<const char*>(d + pos), n);
        pos += n;
    }
    return false;
}

QList<QRgb> tableOf(const TRgbTable& t, int entries) {
    QList<QRgb> q(256, qRgb(128, 128, 128));
    for (int i = 0; i < std::min(t.Count, entries); ++i)
        q[i] = qRgb(t.Entries[std::size_t(i)][0], t.Entries[std::size_t(i)][1], t.Entries[std::size_t(i)][2]);
    return q;
}

}  // namespace

void TKitGIFImage::SetReducer(TReducer reducer) {
    reducerSlot() = std::move(reducer);
}

const TKitGIFImage::TReducer& TKitGIFImage::Reducer() {
    return reducerSlot();
}

// Frame.

TKitGIFFrame::TKitGIFFrame(TKitGIFImage* owner) : FOwner(owner), FItem(std::make_shared<TGIFItem>()) {}

TKitGIFFrame::~TKitGIFFrame() = default;

void TKitGIFFrame::ResetData() {
    FItem = std::make_shared<TGIFItem>();
    FBitmap.reset();
    FExtensions.clear();
    Origin = {0, 0};
    Interlaced = Damaged = Grey = false;
    ClearColor = cb::gfx::clNone;
    TransparentIndex = -1;
    DelayMs = 0;
    DisposalCode = 0;
    OwnColorTable = false;
}

TGIFItem& TKitGIFFrame::MutableItem() {
    if (FItem.use_count() > 1) FItem = std::make_shared<TGIFItem>(*FItem);
    return *FItem;
}

int TKitGIFFrame::Width() const {
    if (FBitmap) return FBitmap->width();
    return FItem->CodeStream.empty() ? 0 : FItem->Width;
}

int TKitGIFFrame::Height() const {
    if (FBitmap) return FBitmap->height();
    return FItem->CodeStream.empty() ? 0 : FItem->Height;
}

std::vector<std::string>* TKitGIFFrame::FrameComment(bool create) {
    for (TExtension& e : FExtensions)
        if (e.Kind == 3) return &e.SubBlocks;
    if (!create) return nullptr;
    FExtensions.push_back({3, {}, {}});
    return &FExtensions.back().SubBlocks;
}

void TKitGIFFrame::ReadFrame(const std::uint8_t* d, std::size_t size, std::size_t& pos,
                             std::vector<TExtension>&& kept) {
    TGIFItem& item = MutableItem();
    try {
        if (size - pos < 9) {
            pos = size;
            throw EGIF("Stream read error");
        }
        const std::uint8_t* desc = d + pos;
        pos += 9;
        Origin = {desc[0] | (desc[1] << 8), desc[2] | (desc[3] << 8)};
        int w = desc[4] | (desc[5] << 8), h = desc[6] | (desc[7] << 8);
        item.Packed = desc[8];
        Interlaced = desc[8] & 0x40;
        if (desc[8] & 0x80) {
            item.BitsPerPixel = (desc[8] & 7) + 1;
            const int n = 1 << item.BitsPerPixel;
            if (size - pos < std::size_t(n) * 3) {
                pos = size;
                throw EGIF("Stream read error");
            }
            item.ColorTable.Count = n;
            std::memcpy(item.ColorTable.Entries.data(), d + pos, std::size_t(n) * 3);
            pos += std::size_t(n) * 3;
            OwnColorTable = true;
        } else {
            item.ColorTable.Count = 0;
        }
        // The code stream, verbatim.
        const std::size_t start = pos;
        if (pos < size) ++pos;  // minimum code size
        while (pos < size) {
            const std::size_t n = d[pos];
            if (n > size - pos - 1) {
                Damaged = true;
                pos = size;
                break;
            }
            pos += 1 + n;
            if (n == 0) break;
        }
        item.CodeStream.assign(d + start, d + std::min(pos, size));
        if (Damaged && !TKitGIFImage::TolerateDamage) throw EGIF("Stream read error");
        if (w == 0) w = FOwner->FCanvasWidth;
        if (h == 0) h = FOwner->FCanvasHeight;
        if (std::uint64_t(w) * std::uint64_t(h) > GIFPixelLimit()) throw EGIF("GIF image too large");
        item.Width = w;
        item.Height = h;
        if (!OwnColorTable) {
            item.ColorTable = FOwner->FData->ColorTable;
            item.BitsPerPixel = FOwner->FData->BitsPerPixel;
        }
        DelayMs = 0;
        FExtensions = std::move(kept);
        for (const TExtension& e : FExtensions) {
            if (e.Kind != 0) continue;
            const std::uint8_t packed = e.Fixed[1];
            if (packed & 1) {
                const int index = e.Fixed[4];
                if (index < item.ColorTable.Count) {
                    ClearColor = item.ColorTable.ColorAt(index);
                    TransparentIndex = index;
                }
            } else {
                ClearColor = cb::gfx::clNone;
                TransparentIndex = -1;
            }
            DelayMs = std::uint16_t(std::max<int>(10 * (e.Fixed[2] | (e.Fixed[3] << 8)), DelayMs) & 0xFFFF);
            DisposalCode = (packed >> 2) & 7;
        }
    } catch (...) {
        FItem->CodeStream.clear();
        throw;
    }
}

const QImage& TKitGIFFrame::FrameBitmap() {
    if (FBitmap && !FBitmap->isNull()) return *FBitmap;
    FBitmap = std::make_unique<QImage>();
    const TGIFItem& item = *FItem;
    if (item.CodeStream.empty()) return *FBitmap;
    const int bits = item.BitsPerPixel;
    if (bits < 1 || bits > 8) throw EGIF("Wrong number of colors; must be a power of 2");
    const int depth = bits == 1 ? 1 : (bits <= 4 ? 4 : 8);
    if (item.Width <= 0 || item.Height <= 0)
        throw EGIF("GIF image has no pixels (" + std::to_string(item.Width) + " x " + std::to_string(item.Height) + ")");
    QImage img(item.Width, item.Height, QImage::Format_Indexed8);
    if (img.isNull()) throw EGIF("GIF image too large");
    img.fill(0);
    QList<QRgb> table = tableOf(item.ColorTable, 1 << depth);
    if (TransparentIndex >= 0) table[TransparentIndex] = qRgba(0, 0, 0, 0);
    img.setColorTable(table);
    FOwner->ReportProgress(TProgressStage::psStarting, 0, "");
    try {
        int m = item.CodeStream[0];
        if (m < 2 || m > 9) {
            if (!TKitGIFImage::TolerateDamage) throw EGIF("GIF code size not in range 2 to 9");
            Damaged = true;
            m = std::clamp(m, 2, 9);
        }
        std::vector<std::uint8_t> codes;
        JoinSubBlocks(item.CodeStream.data(), item.CodeStream.size(), 1, codes);
        std::vector<std::uint8_t> px(std::size_t(item.Width) * std::size_t(item.Height), 0);
        const TLZWDecodeResult r =
            LZWDecode(m, codes.data(), codes.size(), px.data(), item.Width, item.Height, Interlaced);
        if (r.Damaged()) {
            if (!TKitGIFImage::TolerateDamage)
                throw EGIF(r.Stop == TLZWStop::OutOfData ? "Stream read error" : "GIF encoded data is corrupt");
            Damaged = true;
        }
        const std::uint8_t mask = std::uint8_t((1 << depth) - 1);
        for (int y = 0; y < item.Height; ++y) {
            std::uint8_t* row = img.scanLine(y);
            const std::uint8_t* in = px.data() + std::size_t(y) * std::size_t(item.Width);
            for (int x = 0; x < item.Width; ++x) row[x] = in[x] & mask;
        }
    } catch (const std::exception& e) {
        FBitmap.reset();
        FOwner->ReportProgress(TProgressStage::psEnding, 0, e.what());
        throw;
    }
    if (Damaged) FOwner->FDamaged = true;
    *FBitmap = std::move(img);
    FOwner->ReportProgress(TProgressStage::psEnding, 100, "");
    return *FBitmap;
}

void TKitGIFFrame::DrawFrame(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r, bool transparent) {
    const QImage& bmp = FrameBitmap();
    if (bmp.isNull()) return;
    const cb::gfx::TRect src{0, 0, bmp.width(), bmp.height()};
    if (transparent || bmp.format() != QImage::Format_Indexed8 || TransparentIndex < 0) {
        if (!transparent && bmp.hasAlphaChannel()) {
            canvas.DrawImage(r, bmp.convertToFormat(QImage::Format_RGB32), src);
            return;
        }
        canvas.DrawImage(r, bmp, src);
        return;
    }
    QImage opaque = bmp;
    QList<QRgb> t = opaque.colorTable();
    for (QRgb& c : t) c |= 0xFF000000u;
    opaque.setColorTable(t);
    canvas.DrawImage(r, opaque, src);
}

void TKitGIFFrame::AssignNothing() {
    FItem = std::make_shared<TGIFItem>();
    FBitmap.reset();
    if (FOwner) FOwner->RecalcCanvasSize();
}

void TKitGIFFrame::Assign(const TKitGIFFrame& source) {
    if (&source == this) return;
    FItem = source.FItem;
    OwnColorTable = source.FOwner == FOwner ? source.OwnColorTable : true;
    Origin = source.Origin;
    Interlaced = source.Interlaced;
    FBitmap = source.FBitmap ? std::make_unique<QImage>(*source.FBitmap) : nullptr;
    ClearColor = source.ClearColor;
    TransparentIndex = source.TransparentIndex;
    DelayMs = source.DelayMs;
    DisposalCode = source.DisposalCode;
    Grey = source.Grey;
    Damaged = source.Damaged;
    FExtensions.clear();
    for (const TExtension& e : source.FExtensions)
        if (e.Kind == 3 && !e.SubBlocks.empty()) FExtensions.push_back(e);
    if (FOwner) FOwner->RecalcCanvasSize();
}

void TKitGIFFrame::Assign(const QImage& source) {
    if (source.isNull()) {
        AssignNothing();
        return;
    }
    FItem = std::make_shared<TGIFItem>();
    FBitmap = std::make_unique<QImage>(source);
    TransparentIndex = -1;
    ClearColor = cb::gfx::clNone;
    if (FOwner) FOwner->RecalcCanvasSize();
}

void TKitGIFFrame::Assign(const cb::gfx::TBitmap& source) {
    if (source.Empty()) {
        AssignNothing();
        return;
    }
    Assign(source.Image());
    if (source.Transparent()) ClearColor = source.TransparentColor() & 0xFFFFFF;
}

void TKitGIFFrame::EncodeFromBitmap() {
    if (!FBitmap || FBitmap->isNull()) throw EGIF("No GIF Data to write");
    QImage img = *FBitmap;
    if (img.format() == QImage::Format_Mono || img.format() == QImage::Format_MonoLSB)
        img = img.convertToFormat(QImage::Format_Indexed8);
    int transparent = -1;
    if (img.format() != QImage::Format_Indexed8) {
        // Pixels left out (alpha, or the clear colour) keep an index of their own.
        const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
        std::vector<bool> clear(std::size_t(argb.width()) * std::size_t(argb.height()), false);
        bool anyClear = false;
        const QRgb key =
            qRgb(int(ClearColor & 0xFF), int((ClearColor >> 8) & 0xFF), int((ClearColor >> 16) & 0xFF)) & 0xFFFFFF;
        for (int y = 0; y < argb.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < argb.width(); ++x) {
                const bool c = qAlpha(row[x]) < 128 || (ClearColor != cb::gfx::clNone && (row[x] & 0xFFFFFF) == key);
                clear[std::size_t(y) * std::size_t(argb.width()) + std::size_t(x)] = c;
                anyClear |= c;
            }
        }
        img = TKitGIFImage::Reducer()(argb.convertToFormat(QImage::Format_RGB32), Grey);
        if (img.isNull() || img.format() != QImage::Format_Indexed8) throw EGIF("GIF image encoding error");
        if (anyClear) {
            // Free the last entry for the left-out pixels, mapping its users to their nearest other colour.
            QList<QRgb> t = img.colorTable();
            t.resize(256, qRgb(0, 0, 0));
            transparent = 255;
            int best = 0, bestD = 1 << 30;
            for (int i = 0; i < 255; ++i) {
                const int d = std::abs(qRed(t[i]) - qRed(t[255])) + std::abs(qGreen(t[i]) - qGreen(t[255])) +
                              std::abs(qBlue(t[i]) - qBlue(t[255]));
                if (d < bestD) bestD = d, best = i;
            }
            for (int y = 0; y < img.height(); ++y) {
                std::uint8_t* row = img.scanLine(y);
                for (int x = 0; x < img.width(); ++x) {
                    if (row[x] == 255) row[x] = std::uint8_t(best);
                    if (clear[std::size_t(y) * std::size_t(img.width()) + std::size_t(x)]) row[x] = 255;
                }
            }
            t[255] = qRgb(0, 0, 0);
            img.setColorTable(t);
        }
    } else if (TransparentIndex >= 0) {
        transparent = TransparentIndex;
    }
    const QList<QRgb> ct = img.colorTable();
    const int count = ct.size() <= 2 ? 2 : (ct.size() <= 16 ? 16 : 256);
    const int depth = count == 2 ? 1 : (count == 16 ? 4 : 8);
    TGIFItem& item = MutableItem();
    item = TGIFItem{};
    item.ColorTable.Count = count;
    for (int i = 0; i < count; ++i) {
        const QRgb c = i < ct.size() ? ct[i] : qRgb(0, 0, 0);
        item.ColorTable.Entries[std::size_t(i)] = {std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)),
                                                   std::uint8_t(qBlue(c))};
    }
    Interlaced = false;
    const int w = img.width(), h = img.height();
    std::vector<std::uint8_t> px(std::size_t(w) * std::size_t(h));
    const std::uint8_t mask = std::uint8_t((1 << depth) - 1);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = img.constScanLine(y);
        for (int x = 0; x < w; ++x) px[std::size_t(y) * std::size_t(w) + std::size_t(x)] = row[x] & mask;
    }
    try {
        LZWEncode(px.data(), w, h, false, 0, {depth == 1 ? 2 : depth, TLZWClearTiming::AfterLastCode, true},
                  item.CodeStream);
    } catch (...) {
        FItem = std::make_shared<TGIFItem>();
        throw;
    }
    item.BitsPerPixel = bitsForCount(count);
    TGIFData& data = FOwner->MutableData();
    if (data.ColorTable.Count == 0) {
        data.ColorTable = item.ColorTable;
        data.BitsPerPixel = item.BitsPerPixel;
        OwnColorTable = false;
    } else {
        OwnColorTable = true;
    }
    item.Width = w;
    item.Height = h;
    if (transparent >= 0) {
        TransparentIndex = transparent;
        ClearColor = item.ColorTable.ColorAt(transparent);
    }
    FOwner->FCanvasWidth = std::max(FOwner->FCanvasWidth, Origin.X + w);
    FOwner->FCanvasHeight = std::max(FOwner->FCanvasHeight, Origin.Y + h);
}

void TKitGIFFrame::SyncExtensions() {
    TExtension* gce = nullptr;
    for (TExtension& e : FExtensions)
        if (e.Kind == 0) gce = &e;
    if (!gce && (DelayMs != 0 || ClearColor != cb::gfx::clNone || DisposalCode != 0)) {
        TExtension e;
        e.Kind = 0;
        e.Fixed[0] = 4;
        FExtensions.push_back(e);
        gce = &FExtensions.back();
    }
    if (gce) {
        const int delay = DelayMs / 10;
        gce->Fixed[2] = std::uint8_t(delay);
        gce->Fixed[3] = std::uint8_t(delay >> 8);
        int index = -1;
        if (ClearColor != cb::gfx::clNone) {
            if (TransparentIndex >= 0 && TransparentIndex < FItem->ColorTable.Count &&
                FItem->ColorTable.ColorAt(TransparentIndex) == ClearColor)
                index = TransparentIndex;
            for (int i = 0; index < 0 && i < FItem->ColorTable.Count; ++i)
                if (FItem->ColorTable.ColorAt(i) == ClearColor) index = i;
        }
        gce->Fixed[1] = std::uint8_t((gce->Fixed[1] & ~0x1D) | ((DisposalCode & 7) << 2) | (index >= 0 ? 1 : 0));
        gce->Fixed[4] = std::uint8_t(index >= 0 ? index : 0);
    }
    FExtensions.erase(std::remove_if(FExtensions.begin(), FExtensions.end(),
                                     [](const TExtension& e) { return e.Kind == 3 && e.SubBlocks.empty(); }),
                      FExtensions.end());
    if (!FExtensions.empty()) FOwner->FVersion = 2;
}

// Image.

TKitGIFImage::TKitGIFImage() {
    ResetImage();
    SetTransparent(true);
}

TKitGIFImage::~TKitGIFImage() = default;

void TKitGIFImage::ResetImage() {
    FData = std::make_shared<TGIFData>();
    FFrames.clear();
    FActiveFrame = -1;
    FBackdropColor = cb::gfx::clNone;
    FLoopCount = 1;
    FLoopEnabled = false;
    FVersion = 0;
    FDamaged = false;
    FCanvasWidth = FCanvasHeight = 0;
}

TGIFData& TKitGIFImage::MutableData() {
    if (FData.use_count() > 1) FData = std::make_shared<TGIFData>(*FData);
    return *FData;
}

std::vector<std::string>& TKitGIFImage::MutableComment() {
    return MutableData().Comment;
}

void TKitGIFImage::Changed() {
    if (OnChange) OnChange();
}

void TKitGIFImage::ReportProgress(TProgressStage stage, int percent, const std::string& message) {
    if (OnProgress) OnProgress(this, stage, percent, false, message);
}

void TKitGIFImage::SetActiveFrame(int index) {
    if (index >= -1 && index < FrameCount()) FActiveFrame = index;
}

void TKitGIFImage::RecalcCanvasSize() {
    int w = 0, h = 0;
    for (const auto& f : FFrames) {
        w = std::max(w, f->Origin.X + f->Width());
        h = std::max(h, f->Origin.Y + f->Height());
    }
    FCanvasWidth = std::max(FCanvasWidth, std::min(w, 65535));
    FCanvasHeight = std::max(FCanvasHeight, std::min(h, 65535));
}

const QImage* TKitGIFImage::CurrentBitmap() {
    if (FFrames.empty()) return nullptr;
    return &FFrames[std::size_t(std::max(FActiveFrame, 0))]->FrameBitmap();
}

int TKitGIFImage::Width() const {
    if (FFrames.empty() || FActiveFrame < 0 || FActiveFrame >= FrameCount()) return 0;
    return FFrames[std::size_t(FActiveFrame)]->FrameBitmap().width();
}

int TKitGIFImage::Height() const {
    if (FFrames.empty() || FActiveFrame < 0 || FActiveFrame >= FrameCount()) return 0;
    return FFrames[std::size_t(FActiveFrame)]->FrameBitmap().height();
}

void TKitGIFImage::SetWidth(int) {
    throw EGIF("Cannot change the Size of a GIF image");
}

void TKitGIFImage::SetHeight(int) {
    throw EGIF("Cannot change the Size of a GIF image");
}

bool TKitGIFImage::Empty() const {
    if (FFrames.empty()) return true;
    const TKitGIFFrame& f = *FFrames[std::size_t(std::max(FActiveFrame, 0))];
    if (f.FBitmap && !f.FBitmap->isNull()) return false;
    return f.FItem->CodeStream.empty();
}

bool TKitGIFImage::Transparent() const {
    if (!TGraphic::Transparent()) return false;
    for (const auto& f : FFrames)
        if (f->ClearColor != cb::gfx::clNone) return true;
    return false;
}

void TKitGIFImage::Draw(cb::gfx::TCanvas& canvas, const cb::gfx::TRect& r) const {
    if (FActiveFrame >= 0 && FActiveFrame < FrameCount())
        FFrames[std::size_t(FActiveFrame)]->DrawFrame(canvas, r, Transparent());
}

int TKitGIFImage::AppendFrame(const QImage& picture) {
    auto f = std::make_unique<TKitGIFFrame>(this);
    TKitGIFFrame* frame = f.get();
    FFrames.push_back(std::move(f));
    FActiveFrame = FrameCount() - 1;
    frame->Assign(picture);
    FVersion = std::max<std::uint8_t>(FVersion, FrameCount() >= 2 ? 2 : 1);
    return FActiveFrame;
}

int TKitGIFImage::AppendFrame(const cb::gfx::TBitmap& picture) {
    const int i = AppendFrame(picture.Image());
    if (picture.Transparent()) FFrames[std::size_t(i)]->ClearColor = picture.TransparentColor() & 0xFFFFFF;
    return i;
}

void TKitGIFImage::EncodeAllFrames(bool redecode) {
    for (auto& f : FFrames) {
        if (f->FItem->CodeStream.empty()) {
            f->EncodeFromBitmap();
            if (redecode) {
                f->FBitmap.reset();
                f->FrameBitmap();
            }
        }
        f->SyncExtensions();
    }
}

void TKitGIFImage::ReadGIF(const std::uint8_t* bytes, std::size_t count, bool decodeNow) {
    ResetImage();
    if (count == 0) return;
    const std::vector<std::uint8_t> copy(bytes, bytes + count);
    const std::uint8_t* d = copy.data();
    const std::size_t size = copy.size();
    std::size_t pos = 0;
    const auto ci = [](const std::uint8_t* a, const char* b) {
        for (int i = 0; i < 3; ++i)
            if (std::tolower(a[i]) != b[i]) return false;
        return true;
    };
    if (size < 13 || !ci(d, "gif")) throw EGIF("Unknown GIF version");
    if (ci(d + 3, "87a"))
        FVersion = 1;
    else if (ci(d + 3, "89a"))
        FVersion = 2;
    else
        throw EGIF("Unknown GIF version");
    pos = 6;
    FCanvasWidth = d[pos] | (d[pos + 1] << 8);
    FCanvasHeight = d[pos + 2] | (d[pos + 3] << 8);
    const std::uint8_t packed = d[pos + 4];
    const int background = d[pos + 5];
    TGIFData& data = MutableData();
    data.AspectRatio = d[pos + 6];
    data.BitsPerPixel = (packed & 7) + 1;
    data.ColorResolution = ((packed >> 4) & 7) + 1;
    pos += 7;
    if (packed & 0x80) {
        const int n = 1 << data.BitsPerPixel;
        if (size - pos < std::size_t(n) * 3) throw EGIF("Stream read error");
        data.ColorTable.Count = n;
        std::memcpy(data.ColorTable.Entries.data(), d + pos, std::size_t(n) * 3);
        pos += std::size_t(n) * 3;
        if (background < n) FBackdropColor = data.ColorTable.ColorAt(background);
    }
    const auto search = [&]() -> std::uint8_t {
        while (pos < size) {
            const std::uint8_t b = d[pos++];
            if (b != 0) return b;
        }
        return 0;
    };
    std::uint8_t sep = search();
    std::vector<TExtension> kept;
    std::uint64_t totalPixels = 0;
    while (sep != 0 && sep != ';' && pos <= size) {
        while (sep == '!') {
            if (pos >= size) {
                sep = ';';
                break;
            }
            const std::uint8_t label = d[pos++];
            TExtension e;
            std::size_t fixed = 0;
            bool blocks = true;
            switch (label) {
            case 0xF9:
                e.Kind = 0;
                fixed = 6;
                blocks = false;
                break;
            case 0xFE:
                e.Kind = 3;
                break;
            case 0x01:
                e.Kind = 1;
                fixed = 13;
                break;
            case 0xFF:
                e.Kind = 2;
                fixed = 12;
                break;
            default: {
                char text[64];
                std::snprintf(text, sizeof text, "Unrecognized extension block: %.2x", label);
                throw EGIF(text);
            }
            }
            bool complete = size - pos >= fixed;
            std::memcpy(e.Fixed.data(), d + pos, std::min(fixed, size - pos));
            pos = std::min(size, pos + fixed);
            if (complete && blocks) complete = readSubBlocks(d, size, pos, e.SubBlocks);
            if (!complete && !TolerateDamage) throw EGIF("Stream read error");
            if (e.Kind == 1) {
                kept.clear();
            } else if (e.Kind == 2) {
                if (isLoopBlock(e.Fixed, e.SubBlocks)) {
                    FLoopEnabled = true;
                    const std::string& b = e.SubBlocks[0];
                    FLoopCount = std::min(std::uint8_t(b[1]) | (std::uint8_t(b[2]) << 8), 30000);
                }
            } else {
                kept.push_back(std::move(e));
            }
            sep = pos >= size ? ';' : search();
        }
        if (sep == ',') {
            auto f = std::make_unique<TKitGIFFrame>(this);
            if (FData->ColorTable.Count > 0) f->MutableItem().BitsPerPixel = exactBits(FData->ColorTable.Count);
            TKitGIFFrame* frame = f.get();
            frame->ReadFrame(d, size, pos, std::move(kept));
            kept.clear();
            totalPixels += std::uint64_t(frame->Item().Width) * std::uint64_t(frame->Item().Height);
            if (totalPixels > GIFPixelLimit()) throw EGIF("GIF image too large");
            FFrames.push_back(std::move(f));
            if (frame->Damaged) FDamaged = true;
            if (pos >= size) {
                sep = ';';
            } else {
                sep = search();
                if (sep != '!' && sep != ',' && sep != ';') sep = 0;
            }
        } else {
            if (FData->Comment.empty() && !kept.empty()) {
                for (const TExtension& e : kept) {
                    if (e.Kind != 3) continue;
                    if (!FData->Comment.empty()) data.Comment.push_back("\r\n\r\n");
                    for (const std::string& line : e.SubBlocks) MutableData().Comment.push_back(line);
                }
                kept.clear();
            } else {
                kept.clear();
                if (sep != 0 && sep != ';') throw EGIF("Stream read error");
            }
        }
    }
    if (!FFrames.empty()) {
        FActiveFrame = 0;
        if (decodeNow) {
            try {
                FFrames[0]->FrameBitmap();
            } catch (...) {
                FFrames.erase(FFrames.begin());
                FActiveFrame = FFrames.empty() ? -1 : 0;
                throw;
            }
        }
    }
    Changed();
}

void TKitGIFImage::WriteGIF(cb::rtl::TStream& s, bool writeLength) {
    if (FFrames.empty()) throw EGIF("No GIF Data to write");
    EncodeAllFrames(false);
    if (!FData->Comment.empty()) FVersion = 2;
    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'G', 'I', 'F'});
    const char* v = FVersion == 2 ? "89a" : "87a";
    out.insert(out.end(), v, v + 3);
    RecalcCanvasSize();
    const auto put16 = [&](int x) {
        out.push_back(std::uint8_t(x));
        out.push_back(std::uint8_t(x >> 8));
    };
    put16(FCanvasWidth);
    put16(FCanvasHeight);
    const TRgbTable& gt = FData->ColorTable;
    if (gt.Count > 0) {
        const int tb = bitsForCount(gt.Count);
        const int bpp = std::clamp(FData->BitsPerPixel, 1, 8);
        out.push_back(std::uint8_t(128 + (tb - 1) * 16 + (bpp - 1)));
        int bg = 0;
        for (int i = 0; i < gt.Count; ++i)
            if (gt.ColorAt(i) == FBackdropColor) {
                bg = i;
                break;
            }
        out.push_back(std::uint8_t(bg));
    } else {
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(FData->AspectRatio);
    if (gt.Count > 0) {
        const std::uint8_t* p = gt.Entries[0].data();
        out.insert(out.end(), p, p + std::size_t(gt.Count) * 3);
    }
    if (FLoopEnabled && FrameCount() > 1) {
        const std::uint8_t loop[] = {'!',
                                     0xFF,
                                     11,
                                     'N',
                                     'E',
                                     'T',
                                     'S',
                                     'C',
                                     'A',
                                     'P',
                                     'E',
                                     '2',
                                     '.',
                                     '0',
                                     3,
                                     1,
                                     std::uint8_t(FLoopCount),
                                     std::uint8_t(FLoopCount >> 8),
                                     0};
        out.insert(out.end(), loop, loop + sizeof loop);
    }
    static constexpr std::uint8_t kLabels[4] = {0xF9, 0x01, 0xFF, 0xFE};
    static constexpr std::size_t kFixed[4] = {6, 13, 12, 0};
    for (const auto& f : FFrames) {
        for (const TExtension& e : f->FExtensions) {
            out.push_back('!');
            out.push_back(kLabels[e.Kind & 3]);
            out.insert(out.end(), e.Fixed.begin(), e.Fixed.begin() + std::ptrdiff_t(kFixed[e.Kind & 3]));
            if (e.Kind != 0) {
                for (const std::string& b : e.SubBlocks) {
                    if (b.empty()) continue;
                    const std::size_t n = std::min<std::size_t>(b.size(), 255);
                    out.push_back(std::uint8_t(n));
                    out.insert(out.end(), b.begin(), b.begin() + std::ptrdiff_t(n));
                }
                out.push_back(0);
            }
        }
        const TGIFItem& item = *f->FItem;
        out.push_back(',');
        put16(f->Origin.X);
        put16(f->Origin.Y);
        put16(item.Width);
        put16(item.Height);
        std::uint8_t packed = 0;
        if (f->OwnColorTable && item.ColorTable.Count > 0)
            packed = std::uint8_t(128 + bitsForCount(item.ColorTable.Count) - 1);
        if (f->Interlaced) packed |= 64;
        out.push_back(packed);
        if (packed & 128) {
            const std::uint8_t* p = item.ColorTable.Entries[0].data();
            out.insert(out.end(), p, p + std::size_t(item.ColorTable.Count) * 3);
        }
        out.insert(out.end(), item.CodeStream.begin(), item.CodeStream.end());
    }
    if (!FData->Comment.empty()) {
        out.push_back('!');
        out.push_back(0xFE);
        for (const std::string& line : FData->Comment) {
            for (std::size_t p = 0; p < line.size(); p += 255) {
                const std::size_t n = std::min<std::size_t>(255, line.size() - p);
                out.push_back(std::uint8_t(n));
                out.insert(out.end(), line.begin() + std::ptrdiff_t(p), line.begin() + std::ptrdiff_t(p + n));
            }
        }
        out.push_back(0);
    }
    out.push_back(';');
    if (writeLength) s.WriteU32(std::uint32_t(out.size()));
    s.WriteBuffer(out.data(), out.size());
}

void TKitGIFImage::ReadData(cb::rtl::TStream& s) {
    const std::uint32_t n = s.ReadU32();
    const std::int64_t left = s.Size() - s.Position();
    if (std::int64_t(n) > left) throw EGIF("Stream read error");
    std::vector<std::uint8_t> bytes(n);
    s.ReadBuffer(bytes.data(), n);
    ReadGIF(bytes.data(), bytes.size(), true);
}

void TKitGIFImage::WriteData(cb::rtl::TStream& s) {
    WriteGIF(s, true);
}

void TKitGIFImage::LoadFromStream(cb::rtl::TStream& s) {
    const std::int64_t left = s.Size() - s.Position();
    if (left > std::int64_t(256) * 1024 * 1024) throw EGIF("GIF image too large");
    std::vector<std::uint8_t> bytes(std::size_t(std::max<std::int64_t>(left, 0)));
    if (!bytes.empty()) s.ReadBuffer(bytes.data(), bytes.size());
    ReadGIF(bytes.data(), bytes.size(), true);
}

void TKitGIFImage::LoadFromFile(const std::string& fileName) {
    cb::rtl::TMemoryStream m;
    m.LoadFromFile(fileName, 64u * 1024u * 1024u);
    LoadFromStream(m);
}

void TKitGIFImage::SaveToFile(const std::string& fileName) const {
    cb::rtl::TAtomicFileStream f(fileName);
    const_cast<TKitGIFImage*>(this)->WriteGIF(f, false);
    f.Commit();
}

void TKitGIFImage::SaveToMimeData(QMimeData& mime) {
    if (FFrames.empty()) return;
    mime.setImageData(FFrames[0]->FrameBitmap().convertToFormat(QImage::Format_ARGB32));
    for (const auto& f : FFrames)
        if (f->FItem->CodeStream.empty()) return;
    cb::rtl::TMemoryStream m;
    WriteGIF(m, true);
    mime.setData(kGIFImageMime, QByteArray(reinterpret_cast<const char*>(m.Memory()), qsizetype(m.DataSize())));
}

void TKitGIFImage::LoadFromMimeData(const QMimeData& mime) {
    if (mime.hasFormat(kGIFImageMime)) {
        const QByteArray bytes = mime.data(kGIFImageMime);
        if (bytes.size() < 4) throw EGIF("Stream read error");
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const std::uint32_t n = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                (std::uint32_t(p[3]) << 24);
        if (n > std::uint32_t(bytes.size() - 4)) throw EGIF("Stream read error");
        ReadGIF(p + 4, n, false);
        FActiveFrame = FFrames.empty() ? -1 : 0;
        if (!FFrames.empty() && mime.hasImage()) {
            const QImage img = qvariant_cast<QImage>(mime.imageData());
            if (!img.isNull()) FFrames[0]->FBitmap = std::make_unique<QImage>(img);
        }
        Changed();
        return;
    }
    if (mime.hasFormat(kGIFFileMime)) {
        const QByteArray bytes = mime.data(kGIFFileMime);
        ReadGIF(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()), true);
        return;
    }
    if (mime.hasImage()) {
        Assign(qvariant_cast<QImage>(mime.imageData()));
        return;
    }
    throw EGIF("Unsupported clipboard format");
}

void TKitGIFImage::AssignNothing() {
    ResetImage();
    Changed();
}

void TKitGIFImage::Assign(const TKitGIFImage& source) {
    if (&source == this) return;
    FData = source.FData;
    FVersion = source.FVersion;
    FBackdropColor = source.FBackdropColor;
    FLoopCount = source.FLoopCount;
    FLoopEnabled = source.FLoopEnabled;
    FDamaged = source.FDamaged;
    FFrames.clear();
    for (const auto& sf : source.FFrames) {
        auto f = std::make_unique<TKitGIFFrame>(this);
        f->Assign(*sf);
        f->OwnColorTable = sf->OwnColorTable;
        FFrames.push_back(std::move(f));
    }
    FCanvasWidth = source.FCanvasWidth;
    FCanvasHeight = source.FCanvasHeight;
    FActiveFrame = source.FActiveFrame;
    Changed();
}

void TKitGIFImage::Assign(const TKitGIFFrame& source) {
    const std::shared_ptr<TGIFData> screen = source.FOwner ? source.FOwner->FData : nullptr;
    ResetImage();
    if (screen) {
        TGIFData& d = MutableData();
        d.AspectRatio = screen->AspectRatio;
        d.BitsPerPixel = screen->BitsPerPixel;
        d.ColorResolution = screen->ColorResolution;
        d.ColorTable = screen->ColorTable;
    }
    auto f = std::make_unique<TKitGIFFrame>(this);
    FFrames.push_back(std::move(f));
    FFrames.back()->Assign(source);
    FActiveFrame = 0;
    FVersion = std::max<std::uint8_t>(FVersion, 1);
    Changed();
}

void TKitGIFImage::Assign(const QImage& source) {
    ResetImage();
    if (!source.isNull()) AppendFrame(source);
    Changed();
}

}  // namespace cb::gif
