#include "extras/KitGIFAnimator.h"

#include "extras/ColorReduction.h"

#include <QPainter>

#include <algorithm>

namespace cb::extras {

using cb::gif::TKitGIFFrame;

void InstallColorReduction() {
    cb::gif::TKitGIFImage::SetReducer([](const QImage& rgb, bool grey) {
        TPixelBlock24 block;
        block.Width = rgb.width();
        block.Height = rgb.height();
        block.Bits.assign(std::size_t(block.Stride()) * std::size_t(block.Height), 0);
        const QImage src = rgb.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < block.Height; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
            std::uint8_t* out = block.Row(block.Height - 1 - y);
            for (int x = 0; x < block.Width; ++x) {
                out[3 * x] = std::uint8_t(qBlue(in[x]));
                out[3 * x + 1] = std::uint8_t(qGreen(in[x]));
                out[3 * x + 2] = std::uint8_t(qRed(in[x]));
            }
        }
        const TReducedImage r = ReduceColors(block, grey ? rdGrayscale : rdPopularity);
        QImage img(r.Width, r.Height, QImage::Format_Indexed8);
        QList<QRgb> table;
        for (const TRGBQuad& q : r.Table) table.push_back(qRgb(q.Red, q.Green, q.Blue));
        img.setColorTable(table);
        for (int y = 0; y < r.Height; ++y) {
            std::uint8_t* row = img.scanLine(y);
            for (int x = 0; x < r.Width; ++x) row[x] = r.Index(r.Height - 1 - y, x);
        }
        return img;
    });
}

TKitGIFAnimator::TKitGIFAnimator(QWidget* parent)
    : TKitImageControl(parent), FTimer(std::make_unique<TKitTimer>()),
      FImage(std::make_unique<cb::gif::TKitGIFImage>()) {
    static const bool installed = (InstallColorReduction(), true);
    (void)installed;
    FImage->OnChange = [this] { ImageChanged(); };
}

TKitGIFAnimator::~TKitGIFAnimator() {
    FDestroying = true;
    OnChange = OnFrameChanged = OnStart = OnStop = nullptr;
    SetKitAnimate(false);
    FTimer.reset();  // before the image: no event can reach a freed part
    FImage->OnChange = nullptr;
}

int TKitGIFAnimator::FrameDelay(int index) const {
    if (index < 0 || index >= FImage->FrameCount() || FImage->FrameCount() < 2) return 0;
    return std::clamp(int(FImage->FrameAt(index).DelayMs), 50, 10000);
}

QRgb TKitGIFAnimator::BrushColor() const {
    // Cleared areas show what lies beneath the control, as the frames' clear colour does.
    if (FTransparent || FImage->Transparent()) return qRgba(0, 0, 0, 0);
    const cb::gfx::TColor c = FImage->BackdropColor();
    if (c != cb::gfx::clNone) return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    return palette().window().color().rgb();
}

void TKitGIFAnimator::DropCache() {
    FCache = QImage();
    FCacheIndex = -1;
}

const QImage& TKitGIFAnimator::ComposeFrame(int index) {
    std::lock_guard<std::recursive_mutex> guard(FLock);
    const int count = FImage->FrameCount();
    const int target = std::min(index, count - 1);
    if (target < 0) {
        DropCache();
        return FCache;
    }
    const int w = std::max(FImage->CanvasWidth(), 1), h = std::max(FImage->CanvasHeight(), 1);
    const QRgb brush = BrushColor();
    const auto disposal = [&](int i) { return FImage->FrameAt(i).DisposalCode; };
    const auto rectOf = [&](int i) {
        const TKitGIFFrame& f = FImage->FrameAt(i);
        return QRect(f.Origin.X, f.Origin.Y, f.Width(), f.Height());
    };
    const bool reuse = !FCache.isNull() && FCacheIndex >= 0 && FCacheIndex == target - 1 && disposal(FCacheIndex) != 3;
    QImage pic = reuse ? FCache : QImage(w, h, QImage::Format_ARGB32);
    {
        QPainter p(&pic);
        const auto draw = [&](int i) {
            TKitGIFFrame& f = FImage->FrameAt(i);
            const QImage& bmp = f.FrameBitmap();
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.drawImage(f.Origin.X, f.Origin.Y, bmp);
        };
        const auto clear = [&](const QRect& r) {
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(r, QColor::fromRgba(brush));
        };
        if (reuse) {
            if (disposal(target - 1) == 2) clear(rectOf(target - 1));
        } else {
            clear(pic.rect());
            // Start at the latest frame that covers the screen opaquely (or is
            // cleared to the background); a frame that restores what lay
            // beneath it cannot be a start, since earlier frames show again.
            int start = 0;
            for (int i = target; i >= 1; --i) {
                const TKitGIFFrame& f = FImage->FrameAt(i);
                const bool full = f.Origin.X == 0 && f.Origin.Y == 0 && f.Width() == w && f.Height() == h;
                const bool opaque = f.TransparentIndex < 0 && f.ClearColor == cb::gfx::clNone;
                if (full && (opaque || (disposal(i) == 2 && i < target)) && (i == target || disposal(i) != 3)) {
                    start = i;
                    break;
                }
            }
            for (int i = start; i < target; ++i) {
                const int d = disposal(i);
                if (d == 0 || d == 1)
                    draw(i);
                else if (d == 2 && i != start)
                    clear(rectOf(i));
            }
        }
        draw(target);
    }
    FCache = pic;
    FCacheIndex = target;
    return FCache;
}

bool TKitGIFAnimator::SeeThrough() const {
    return FImage->FrameCount() == 0 || FTransparent;
}

void TKitGIFAnimator::PaintImage(cb::gfx::TCanvas& canvas) {
    if (FImage->FrameCount() == 0 || FImage->CanvasWidth() < 1 || FImage->CanvasHeight() < 1) return;
    const int index = FFrameIndex;
    QImage pic;
    try {
        pic = ComposeFrame(index);
    } catch (const std::exception& e) {
        DropCache();
        if (FReported.insert(index).second && OnFrameError) OnFrameError(index, e.what());
        return;
    }
    cb::gfx::TRect dest;
    if (FStretch) {
        dest = {0, 0, width(), height()};
    } else if (FCenter) {
        const int x = (width() - pic.width()) / 2, y = (height() - pic.height()) / 2;
        dest = {x, y, x + pic.width(), y + pic.height()};
    } else {
        dest = {0, 0, pic.width(), pic.height()};
    }
    if (!FTransparent) {
        QImage flat(pic.size(), QImage::Format_RGB32);
        flat.fill(palette().window().color());
        QPainter(&flat).drawImage(0, 0, pic);
        pic = flat;
    }
    canvas.DrawImage(dest, pic, {0, 0, pic.width(), pic.height()});
}

void TKitGIFAnimator::FitToImage() {
    if (FAutoSize && !FImage->Empty() && FImage->CanvasWidth() > 0 && FImage->CanvasHeight() > 0)
        resize(FImage->CanvasWidth(), FImage->CanvasHeight());
}

void TKitGIFAnimator::TimerTick() {
    if (FDestroying || FImage->FrameCount() < 2 || !isVisible() || !parentWidget()) return;
    int index;
    {
        std::lock_guard<std::recursive_mutex> guard(FLock);
        FFrameIndex = FFrameIndex + 1 >= FImage->FrameCount() ? 0 : FFrameIndex + 1;
        index = FFrameIndex;
    }
    try {
        if (OnFrameChanged) OnFrameChanged();
        PaintNow();
    } catch (...) {
        FTimer->SetInterval(std::uint32_t(FrameDelay(index)));
        throw;
    }
    FTimer->SetInterval(std::uint32_t(FrameDelay(index)));
    if (!FLoop && index == 0) StopAtEnd();
}

void TKitGIFAnimator::StopAtEnd() {
    SetKitAnimate(false);
}

void TKitGIFAnimator::SetKitAnimate(bool v) {
    if (v == FAnimate) return;
    if (v) {
        FTimer->SetOnTimer([this] { TimerTick(); });
        FTimer->SetEnabled(true);
        FAnimate = FTimer->Enabled();
        if (OnStart) OnStart();
    } else {
        FTimer->SetEnabled(false);
        FTimer->SetOnTimer(nullptr);
        FAnimate = false;
        if (OnStop) OnStop();
        PictureChanged();
    }
}

void TKitGIFAnimator::SetAsyncDrawing(bool v) {
    if (v == FAsyncDrawing) return;
    std::lock_guard<std::recursive_mutex> guard(FLock);
    FAsyncDrawing = v;
    FTimer->SetSyncEvent(!v);
}

void TKitGIFAnimator::SetAutoSize(bool v) {
    FAutoSize = v;
    FitToImage();
}

void TKitGIFAnimator::SetCenter(bool v) {
    if (v == FCenter) return;
    FCenter = v;
    PictureChanged();
}

void TKitGIFAnimator::SetStretch(bool v) {
    if (v == FStretch) return;
    FStretch = v;
    PictureChanged();
}

void TKitGIFAnimator::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    PictureChanged();
}

void TKitGIFAnimator::SetFrameIndex(int v) {
    if (v == FFrameIndex || v < 0 || v >= FImage->FrameCount()) return;
    {
        std::lock_guard<std::recursive_mutex> guard(FLock);
        FFrameIndex = v;
        FTimer->SetInterval(std::uint32_t(FrameDelay(v)));
    }
    if (OnFrameChanged) OnFrameChanged();
    PictureChanged();
}

void TKitGIFAnimator::SetImage(const cb::gif::TKitGIFImage& image) {
    std::lock_guard<std::recursive_mutex> guard(FLock);
    FImage->Assign(image);
}

void TKitGIFAnimator::ImageChanged() {
    {
        std::lock_guard<std::recursive_mutex> guard(FLock);
        DropCache();
        FReported.clear();
        FFrameIndex = std::max(FImage->ActiveFrame(), 0);
        if (FImage->ActiveFrame() >= 0 && FImage->FrameCount() > 0)
            FTimer->SetInterval(std::uint32_t(FrameDelay(FImage->ActiveFrame())));
    }
    PictureChanged();
    if (OnChange) OnChange();
}

}  // namespace cb::extras
