#pragma once
// Shows the frames of a TGIFImage: once, or as an animation with the
// frames' delays, disposal methods and the loop block's count. It runs on
// the user-interface thread: an asynchronous painter (gpAsync) steps from a
// single-shot Qt timer; a synchronous one paints to the end inside the
// caller, handling the caller's events while it waits.
//
// Timing: a delay unit counts as 12 ms; a frame without a delay waits 10
// units, delays below 3 units count as 3; a synchronous painter caps delays
// at 1000 units. SpeedPercent scales the waits.
#include "gif/GIFTypes.h"
#include "platform/gfx/Geometry.h"

#include <functional>
#include <memory>

class QImage;
class QTimer;

namespace cb::gif {

class TGIFImage;

class TGIFPainter {
public:
    // Paints into `target` (not owned) inside rectangle r. `owner` (may be
    // null) is cleared when the painter ends while it still names it.
    TGIFPainter(TGIFImage* image, QImage* target, const cb::gfx::TRect& r, TGIFPaintOptions options,
                TGIFPainter** owner);
    ~TGIFPainter();
    TGIFPainter(const TGIFPainter&) = delete;
    TGIFPainter& operator=(const TGIFPainter&) = delete;

    // Asynchronous: starts the timer; synchronous: paints to the end.
    void Start();
    void Stop();
    // The image goes away: the painter ends without touching it.
    void Detach();

    int ActiveFrame = -1;
    bool Started() const { return FStarted; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    TGIFPaintOptions Options() const { return FOptions; }
    const cb::gfx::TRect& Rect() const { return FRect; }
    QImage* Target() const { return FTarget; }
    // Milliseconds of the wait before the current frame (for tests).
    int LastWait() const { return FLastWait; }

    std::function<void(TGIFPainter*)> OnPaintStart, OnFramePaint, OnFramePainted, OnLoopStart, OnPaintEnd;

private:
    void BeginPainting();
    void BeginPass();
    // Moves to the next frame to paint (ending passes, looping); false when done.
    bool Advance();
    // Paints the active frame and moves past it.
    void Step();
    void PaintFrame(int index);
    void ClearFrameArea(int index);
    void Finish();
    void ScheduleDelete();
    int WaitFor(int delayUnits);

    TGIFImage* FImage;
    QImage* FTarget;
    cb::gfx::TRect FRect;
    TGIFPaintOptions FOptions;
    TGIFPainter** FOwner;
    int FSpeed;
    bool FStarted = false, FTerminated = false, FFinished = false, FPaintedSome = false;
    int FLoopCount = 1, FLoopPoint = 0;
    bool FLoopSeen = false;
    bool FDeleteScheduled = false;
    int FDisposal = 1, FPrevDisposal = 1;
    int FPendingDelay = 0;
    int FLastWait = 0;
    std::unique_ptr<QImage> FBackground, FBackup, FFrameBuffer;
    std::unique_ptr<QTimer> FTimer;
};

}  // namespace cb::gif
