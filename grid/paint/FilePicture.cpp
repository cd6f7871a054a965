#include "grid/paint/FilePicture.h"

#include "platform/gfx/Canvas.h"
#include "platform/rtl/Exception.h"

#include <QImage>
#include <QImageReader>

namespace cb::grid {

void TFilePicture::SetFilename(const std::string& name) {
    FFilename = name;
    QImageReader reader(QString::fromStdString(name));
    QSize size = reader.size();
    if (!size.isValid()) {
        QImage img;
        if (!img.load(QString::fromStdString(name))) throw cb::rtl::EInOutError("Cannot read picture \"" + name + "\"");
        size = img.size();
    }
    FWidth = size.width();
    FHeight = size.height();
}

void TFilePicture::Assign(const TFilePicture& source) {
    FFilename = source.FFilename;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
}

void TFilePicture::DrawStretched(cb::gfx::TCanvas& canvas, const TRect& rect) const {
    if (FFilename.empty()) return;
    QImage img;
    if (!img.load(QString::fromStdString(FFilename))) return;
    canvas.DrawImage(rect, img, {0, 0, img.width(), img.height()});
}

}  // namespace cb::grid
