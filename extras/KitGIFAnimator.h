#pragma once
// Plays an animated GIF: composes each frame with its predecessors by the
// frames' disposal methods and transparency into a picture of the logical
// screen, and advances frames on a timer with each frame's delay (clamped
// to 50..10000 ms). The GIF's own loop count is not consulted: Loop on
// plays for ever, off stops on reaching frame 0 again.
#include "extras/KitImageControl.h"
#include "extras/KitTimer.h"
#include "gif/KitGIFImage.h"

#include <QImage>

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace cb::extras {

class TKitGIFAnimator : public TKitImageControl {
public:
    explicit TKitGIFAnimator(QWidget* parent = nullptr);
    ~TKitGIFAnimator() override;

    bool AsyncDrawing() const { return FAsyncDrawing; }
    void SetAsyncDrawing(bool v);
    bool KitAnimate() const { return FAnimate; }
    void SetKitAnimate(bool v);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    int FrameIndex() const { return FFrameIndex; }
    void SetFrameIndex(int v);
    // The picture (owned); setting copies into it.
    cb::gif::TKitGIFImage& Image() { return *FImage; }
    void SetImage(const cb::gif::TKitGIFImage& image);
    bool Loop() const { return FLoop; }
    void SetLoop(bool v) { FLoop = v; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);

    std::function<void()> OnChange, OnFrameChanged, OnStart, OnStop;
    // A frame that cannot be shown, reported once per frame.
    std::function<void(int frame, const std::string& message)> OnFrameError;

    // Display time of a frame: 0 for an index out of range or an image of
    // fewer than two frames, else its delay clamped to 50..10000 ms.
    int FrameDelay(int index) const;
    // The frame composed onto the logical screen (pixels left out have alpha 0).
    const QImage& ComposeFrame(int index);
    // One animation step (the timer's event).
    void TimerTick();
    TKitTimer& Timer() { return *FTimer; }

protected:
    void PaintImage(cb::gfx::TCanvas& canvas) override;
    bool SeeThrough() const override;
    void FitToImage() override;

private:
    void ImageChanged();
    void DropCache();
    void StopAtEnd();
    QRgb BrushColor() const;

    std::unique_ptr<TKitTimer> FTimer;
    std::unique_ptr<cb::gif::TKitGIFImage> FImage;
    bool FAsyncDrawing = false, FAnimate = false, FAutoSize = true, FCenter = false, FLoop = true, FStretch = false,
         FTransparent = true;
    int FFrameIndex = 0;
    QImage FCache;
    int FCacheIndex = -1;
    std::set<int> FReported;
};

// Makes the GIF image classes reduce true-colour pictures by the colour
// reduction's popularity method (grey levels when asked).
void InstallColorReduction();

}  // namespace cb::extras
