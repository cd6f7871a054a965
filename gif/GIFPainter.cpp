#include "gif/GIFPainter.h"

#include "gif/GIFImage.h"
#include "platform/gfx/Canvas.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace cb::gif {

using cb::gfx::TRect;

namespace {

QRgb rgbOf(cb::gfx::TColor c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QRect qrect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

}  // namespace

TGIFPainter::TGIFPainter(TGIFImage* image, QImage* target, const TRect& r, TGIFPaintOptions options,
                         TGIFPainter** owner)
    : FImage(image), FTarget(target), FRect(r), FOptions(options), FOwner(owner), FSpeed(image->SpeedPercent) {
    if (image->FrameCount() <= 1) FOptions &= TGIFPaintOptions(~(gpAsync | gpAnimate));
    OnPaintStart = image->OnPaintStart;
    OnFramePaint = image->OnFramePaint;
    OnFramePainted = image->OnFramePainted;
    OnLoopStart = image->OnLoopStart;
    OnPaintEnd = image->OnPaintEnd;
    image->FPainters.push_back(this);
    // Background colour and the buffers the disposal methods need.
    cb::gfx::TColor bg = image->PaintBackground;
    if (bg == cb::gfx::clNone) bg = image->GlobalColorMap().Count() > 0 ? image->Header().BackgroundColor() : 0xFFFFFF;
    bool restoreBackground = FOptions & gpClearOnLoop, restorePrevious = false;
    for (int i = 0; i < image->FrameCount(); ++i)
        if (const auto* g = image->Frame(i).GraphicControlExtension()) {
            restoreBackground |= g->Disposal() == 2;
            restorePrevious |= g->Disposal() == 3;
        }
    const QRect qr = qrect(r);
    if (restoreBackground || restorePrevious) {
        if (restoreBackground && (FOptions & gpTransparent))
            FBackground = std::make_unique<QImage>(target->copy(qr));
        else {
            FBackground = std::make_unique<QImage>(qr.size(), QImage::Format_ARGB32);
            FBackground->fill(rgbOf(bg));
        }
        FBackup = std::make_unique<QImage>(target->copy(qr));
        FFrameBuffer = std::make_unique<QImage>(qr.size(), QImage::Format_ARGB32);
    }
}

TGIFPainter::~TGIFPainter() {
    if (!FFinished) Finish();
}

void TGIFPainter::Detach() {
    FImage = nullptr;
    FTerminated = true;
    if (FTimer) FTimer->stop();
}

void TGIFPainter::Stop() {
    FTerminated = true;
    if (FTimer) FTimer->stop();
    if (FOptions & gpAsync) {
        Finish();
        ScheduleDelete();
    }
}

void TGIFPainter::ScheduleDelete() {
    if (FDeleteScheduled) return;
    FDeleteScheduled = true;
    // Frees itself once the current event has returned.
    QTimer::singleShot(0, QCoreApplication::instance(), [this]() { delete this; });
}

int TGIFPainter::WaitFor(int delayUnits) {
    if (FSpeed < 1) return -1;
    return int(std::lround(delayUnits * 12.0 * 100.0 / FSpeed));
}

void TGIFPainter::BeginPainting() {
    ActiveFrame = 0;
    if (OnPaintStart) OnPaintStart(this);
    FLoopCount = 1;
    FLoopPoint = 0;
    FLoopSeen = false;
    FPendingDelay = (FOptions & gpAsync) ? 0 : 1;
    FPrevDisposal = 1;
}

void TGIFPainter::BeginPass() {
    ActiveFrame = FLoopPoint;
    if (FPaintedSome && OnLoopStart) OnLoopStart(this);
}

bool TGIFPainter::Advance() {
    for (int guard = 0; guard < 2; ++guard) {
        if (FTerminated || !FImage) return false;
        if (ActiveFrame >= 0 && ActiveFrame < FImage->FrameCount() && !FImage->Frame(ActiveFrame).Empty()) return true;
        // End of a pass.
        if (FLoopCount > 0) --FLoopCount;
        const bool again = (FOptions & gpAnimate) && (FOptions & gpLoop) &&
                           (FLoopCount != 0 || (FOptions & gpLoopForever)) && FPaintedSome;
        if (!again) return false;
        BeginPass();
    }
    return false;
}

void TGIFPainter::Step() {
    TGIFSubImage& frame = FImage->Frame(ActiveFrame);
    frame.Bitmap();
    if (OnFramePaint) OnFramePaint(this);
    if (FTerminated || !FImage) return;
    FDisposal = 1;
    int delay = 0;
    for (const auto& e : frame.Extensions()) {
        if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(e.get()); loop && !FLoopSeen) {
            FLoopSeen = true;
            FLoopCount = loop->Loops;
            if ((loop->Loops == 0 || (FOptions & gpLoopForever)) && (FOptions & gpAsync)) FLoopCount = -1;
            FLoopPoint = ActiveFrame;
        } else if (auto* g = dynamic_cast<TGIFGraphicControlExtension*>(e.get())) {
            FDisposal = g->Disposal();
            delay = g->Delay();
        }
    }
    PaintFrame(ActiveFrame);
    FPaintedSome = true;
    FPrevDisposal = FDisposal;
    FPendingDelay = delay == 0 ? 10 : std::max(delay, 3);
    if (!(FOptions & gpAsync)) FPendingDelay = std::min(FPendingDelay, 1000);
    const int before = ActiveFrame;
    if (OnFramePainted) OnFramePainted(this);
    if (FTerminated || !FImage) return;
    if (ActiveFrame == before) ++ActiveFrame;
    if (!(FOptions & gpAnimate)) {
        ActiveFrame = FImage->FrameCount();  // one frame only
        FLoopCount = 0;
    }
}

void TGIFPainter::ClearFrameArea(int index) {
    const TRect fr = FImage->Frame(index).ScaledRect({0, 0, FRect.Right - FRect.Left, FRect.Bottom - FRect.Top});
    const QRect q = qrect(fr);
    QPainter p(FBackup.get());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(q, *FBackground, q);
}

void TGIFPainter::PaintFrame(int index) {
    TGIFSubImage& frame = FImage->Frame(index);
    const bool tile = FOptions & gpTile, transparent = FOptions & gpTransparent;
    const QRect qr = qrect(FRect);
    const TRect local{0, 0, qr.width(), qr.height()};
    const auto drawInto = [&](QImage& img, const TRect& r) {
        QPainter p(&img);
        cb::gfx::TCanvas c(&p);
        frame.Draw(c, r, tile, transparent);
    };
    const auto copyToTarget = [&](const QImage& img) {
        QPainter p(FTarget);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(qr.topLeft(), img);
    };
    if (!FBackup) {
        drawInto(*FTarget, FRect);
        FStarted = true;
        return;
    }
    if ((FOptions & gpClearOnLoop) && index == 0) {
        QPainter p(FBackup.get());
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, *FBackground);
    }
    switch (FDisposal) {
    case 0:
    case 1:
    case 2:
        drawInto(*FBackup, local);
        copyToTarget(*FBackup);
        if (FDisposal == 2) ClearFrameArea(index);
        break;
    case 3:
        if (FPrevDisposal <= 1) {
            drawInto(*FTarget, FRect);
        } else {
            *FFrameBuffer = FBackup->copy();
            drawInto(*FFrameBuffer, local);
            copyToTarget(*FFrameBuffer);
        }
        break;
    default:
        break;
    }
    FStarted = true;
}

void TGIFPainter::Finish() {
    if (FFinished) return;
    FFinished = true;
    ActiveFrame = -1;
    if (FImage && OnPaintEnd) OnPaintEnd(this);
    if (FOwner && *FOwner == this) *FOwner = nullptr;
    if (FImage) {
        auto& list = FImage->FPainters;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        FImage = nullptr;
    }
    FBackground.reset();
    FBackup.reset();
    FFrameBuffer.reset();
    if (FTimer) FTimer->stop();
}

void TGIFPainter::Start() {
    if (FStarted || FFinished) return;
    BeginPainting();
    if (FOptions & gpAsync) {
        FTimer = std::make_unique<QTimer>();
        FTimer->setSingleShot(true);
        QObject::connect(FTimer.get(), &QTimer::timeout, [this]() {
            Step();
            if (!Advance()) {
                Finish();
                ScheduleDelete();
                return;
            }
            FLastWait = WaitFor(FPendingDelay);
            if (FLastWait >= 0) FTimer->start(FLastWait);
        });
        if (Advance())
            FTimer->start(0);
        else
            Stop();

        return;
    }
    // Synchronous: paint to the end, handling events while waiting.
    bool first = true;
    while (Advance()) {
        if (!first) {
            FLastWait = WaitFor(FPendingDelay);
            if (FLastWait < 0) FLastWait = 12000;
            QEventLoop loop;
            QTimer::singleShot(std::max(FLastWait, 1), &loop, &QEventLoop::quit);
            loop.exec();
            if (FTerminated || !FImage) break;
        }
        first = false;
        Step();
    }
    Finish();
    delete this;
}

}  // namespace cb::gif
