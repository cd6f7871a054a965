#pragma once
// A see-through control that shows a picture: it fills its area with its
// colour unless it is transparent, then lets a descendant paint the picture
// (PaintImage). Painting is double-buffered by the toolkit; a lock guards
// the picture's state between a change and a paint.
#include "platform/gfx/Canvas.h"

#include <QWidget>

#include <mutex>

namespace cb::extras {

class TKitImageControl : public QWidget {
public:
    explicit TKitImageControl(QWidget* parent = nullptr);

    void Lock() { FLock.lock(); }
    void Unlock() { FLock.unlock(); }
    // Repaints at once.
    void PaintNow();
    // The picture changed: fit the size and repaint.
    void PictureChanged();
    bool Drawing() const { return FDrawing; }

protected:
    virtual void PaintImage(cb::gfx::TCanvas& canvas) = 0;
    // Whether the area beneath shows through (no fill).
    virtual bool SeeThrough() const { return false; }
    virtual void FitToImage() {}
    void paintEvent(QPaintEvent* event) override;
    std::recursive_mutex FLock;
    bool FDestroying = false;

private:
    bool FDrawing = false;
};

}  // namespace cb::extras
