#include "extras/KitImageControl.h"
#include "platform/rtl/ErrorLog.h"

#include <QPainter>

namespace cb::extras {

TKitImageControl::TKitImageControl(QWidget* parent) : QWidget(parent) {
    resize(105, 105);
}

void TKitImageControl::PaintNow() {
    if (isVisible()) repaint();
}

void TKitImageControl::PictureChanged() {
    if (FDestroying) return;
    FitToImage();
    update();
}

void TKitImageControl::paintEvent(QPaintEvent*) {
    std::lock_guard<std::recursive_mutex> guard(FLock);
    QPainter p(this);
    if (!SeeThrough()) p.fillRect(rect(), palette().window());
    cb::gfx::TCanvas canvas(&p);
    FDrawing = true;
    try {
        PaintImage(canvas);
    } catch (...) {
        // A picture that cannot be drawn leaves the background.
        cb::rtl::LogCurrentException("Drawing a picture");
    }
    FDrawing = false;
}

}  // namespace cb::extras
