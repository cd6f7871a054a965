// Rendering frames to 8-bit images, drawing them, and the image's composed
// picture and Draw.
#include "gif/GIFDither.h"
#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFPainter.h"
#include "gif/GIFReduction.h"
#include "platform/gfx/Canvas.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace cb::gif {

using cb::gfx::TRect;

namespace {

QList<QRgb> colorTableOf(const TGIFColorMap& map) {
    QList<QRgb> t(256, qRgb(0, 0, 0));
    for (int i = 0; i < map.Count() && i < 256; ++i) {
        const TGIFColor& e = map.Entry(i);
        t[i] = qRgb(e[0], e[1], e[2]);
    }
    return t;
}

QImage opaque(const QImage& img) {
    if (img.format() != QImage::Format_Indexed8) return img;
    QImage o = img;
    QList<QRgb> t = o.colorTable();
    for (QRgb& c : t) c |= 0xFF000000u;
    o.setColorTable(t);
    return o;
}

}  // namespace

void TGIFSubImage::FreeBitmap() {
    FBitmap.reset();
}

void TGIFSubImage::Render() {
    auto img = std::make_unique<QImage>(std::max(FWidth, 1), std::max(FHeight, 1), QImage::Format_Indexed8);
    QList<QRgb> table = colorTableOf(ActiveColorMap());
    const bool makeMask = FMaskNeeded && FTransparent && FGraphicControl;
    FMaskNeeded = false;
    FHasMask = false;
    int transparent = -1;
    if (makeMask) {
        transparent = FGraphicControl->TransparentColorIndex();
        for (std::uint8_t p : FPixels)
            if (p == transparent) {
                FHasMask = true;
                break;
            }
        if (FHasMask) table[transparent] = qRgba(0, 0, 0, 0);
    }
    img->setColorTable(table);
    if (Empty()) {
        img->fill(0);
    } else {
        for (int y = 0; y < FHeight; ++y) {
            if (FImage && y % 32 == 0)
                FImage->Progress(this, TProgressStage::psRunning, y * 100 / FHeight, false, "Rendering...");
            std::memcpy(img->scanLine(y), FPixels.data() + std::size_t(y) * std::size_t(FWidth), std::size_t(FWidth));
        }
    }
    FBitmap = std::move(img);
}

void TGIFSubImage::RenderDithered() {
    auto img = std::make_unique<QImage>(std::max(FWidth, 1), std::max(FHeight, 1), QImage::Format_Indexed8);
    QList<QRgb> table(256, qRgb(0, 0, 0));
    for (int r = 0, k = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) table[k++] = qRgb(51 * r, 51 * g, 51 * b);
    const bool makeMask = FMaskNeeded && FTransparent && FGraphicControl;
    FMaskNeeded = false;
    FHasMask = false;
    const int transparent = makeMask ? FGraphicControl->TransparentColorIndex() : -1;
    // Transparent pixels get an index of their own beyond the cube.
    constexpr int kClearIndex = 255;
    img->fill(0);
    if (!Empty()) {
        const TGIFColorMap& map = ActiveColorMap();
        TNetscapeColorLookup lookup;
        auto engine = CreateDitherer(dkFloydSteinberg, FWidth, lookup);
        int pr, pg, pb;
        for (int y = 0; y < FHeight; ++y) {
            if (FImage && y % 32 == 0)
                FImage->Progress(this, TProgressStage::psRunning, y * 100 / FHeight, false, "Rendering...");
            const std::uint8_t* in = FPixels.data() + std::size_t(y) * std::size_t(FWidth);
            std::uint8_t* out = img->scanLine(y);
            while (engine->Column() >= 0 && engine->Column() < FWidth) {
                const int x = engine->Column();
                if (in[x] == transparent) {
                    out[x] = kClearIndex;
                    FHasMask = true;
                    engine->Skip();
                    continue;
                }
                const TGIFColor e = in[x] < map.Count() ? map.Entry(in[x]) : TGIFColor{0, 0, 0};
                out[x] = std::uint8_t(engine->Dither(e[0], e[1], e[2], pr, pg, pb));
            }
            engine->NextLine();
        }
    }
    if (FHasMask) table[kClearIndex] = qRgba(0, 0, 0, 0);
    img->setColorTable(table);
    FBitmap = std::move(img);
}

const QImage& TGIFSubImage::Bitmap() {
    if (FBitmap) return *FBitmap;
    if (FImage) FImage->Progress(this, TProgressStage::psStarting, 0, false, "Rendering...");
    try {
        if (FImage && FImage->DitheringInEffect())
            RenderDithered();
        else
            Render();
    } catch (...) {
        if (FImage) FImage->Progress(this, TProgressStage::psEnding, 0, false, "Rendering...");
        throw;
    }
    if (FImage) FImage->Progress(this, TProgressStage::psEnding, 100, false, "Rendering...");
    return *FBitmap;
}

bool TGIFSubImage::HasMask() {
    if (FMaskNeeded && FTransparent) {
        FreeBitmap();
        Bitmap();
    } else if (!FBitmap) {
        Bitmap();
    }
    return FHasMask;
}

TRect TGIFSubImage::ScaledRect(const TRect& r) const {
    const int w = FImage && FImage->Width() > 0 ? FImage->Width() : std::max(FWidth, 1);
    const int h = FImage && FImage->Height() > 0 ? FImage->Height() : std::max(FHeight, 1);
    const double sx = double(r.Right - r.Left) / w, sy = double(r.Bottom - r.Top) / h;
    return {r.Left + int(std::lround(FLeft * sx)), r.Top + int(std::lround(FTop * sy)),
            r.Left + int(std::lround((FLeft + FWidth) * sx)), r.Top + int(std::lround((FTop + FHeight) * sy))};
}

void TGIFSubImage::Draw(cb::gfx::TCanvas& canvas, const TRect& r, bool tile, bool transparent) {
    StretchDraw(canvas, tile ? r : ScaledRect(r), tile, transparent);
}

void TGIFSubImage::StretchDraw(cb::gfx::TCanvas& canvas, const TRect& r, bool tile, bool transparent) {
    if (Empty()) return;
    const QImage& bmp = Bitmap();
    const QImage img = (transparent && FHasMask) ? bmp : opaque(bmp);
    const TRect src{0, 0, FWidth, FHeight};
    if (!tile) {
        canvas.DrawImage(r, img, src);
        return;
    }
    const int w = FImage ? std::max(FImage->Width(), 1) : FWidth;
    const int h = FImage ? std::max(FImage->Height(), 1) : FHeight;
    for (int y = r.Top + FTop; y < r.Bottom; y += h)
        for (int x = r.Left + FLeft; x < r.Right; x += w) canvas.DrawImage({x, y, x + FWidth, y + FHeight}, img, src);
}

// Image.

const QImage* TGIFImage::Bitmap() {
    if (FFrames.empty()) return nullptr;
    if (FBitmap) return FBitmap.get();
    TGIFSubImage& first = *FFrames.front();
    auto bmp = std::make_unique<QImage>(std::max(Width(), 1), std::max(Height(), 1), QImage::Format_ARGB32);
    if (first.Left() == 0 && first.Top() == 0 && first.Width() == Width() && first.Height() == Height()) {
        *bmp = opaque(first.Bitmap()).convertToFormat(QImage::Format_ARGB32);
    } else {
        bmp->fill(Qt::white);
        QPainter p(bmp.get());
        cb::gfx::TCanvas c(&p);
        first.Draw(c, {0, 0, bmp->width(), bmp->height()}, false, false);
    }
    FBitmap = std::move(bmp);
    return FBitmap.get();
}

void TGIFImage::FreeBitmap() {
    if (FDrawPainter) FDrawPainter->Stop();
    FBitmap.reset();
}

void TGIFImage::StopPainting() {
    if (FDrawPainter) FDrawPainter->Stop();
    FBitmap.reset();
}

void TGIFImage::StopAllPainters() {
    const std::vector<TGIFPainter*> painters = FPainters;
    for (auto it = painters.rbegin(); it != painters.rend(); ++it) (*it)->Stop();
    FBitmap.reset();
}

void TGIFImage::Draw(cb::gfx::TCanvas& canvas, const TRect& r) const {
    auto* self = const_cast<TGIFImage*>(this);
    if (FDrawing || FFrames.empty()) return;
    self->FDrawing = true;
    struct TGuard {
        TGIFImage* I;
        ~TGuard() { I->FDrawing = false; }
    } guard{self};
    if (FFrames.size() == 1 || !(PaintOptions & gpAnimate)) {
        FFrames.front()->Draw(canvas, r, PaintOptions & gpTile, PaintOptions & gpTransparent);
        return;
    }
    // Animated: a painter composes into our picture; the canvas shows it.
    const TRect whole{0, 0, std::max(Width(), 1), std::max(Height(), 1)};
    if (!FDrawPainter || FDrawPainter->Finished()) {
        if (!FBitmap) {
            self->FBitmap = std::make_unique<QImage>(whole.Right, whole.Bottom, QImage::Format_ARGB32);
            self->FBitmap->fill(Qt::white);
        }
        auto* painter = new TGIFPainter(self, self->FBitmap.get(), whole, PaintOptions, &self->FDrawPainter);
        self->FDrawPainter = painter;
        painter->Start();
    }
    if (FBitmap) canvas.DrawImage(r, *FBitmap, whole);
}

}  // namespace cb::gif
