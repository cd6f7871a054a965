#include "grid/paint/FilePicture.h"

#include "platform/gfx/Canvas.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

namespace cb::grid {

namespace {

// Pictures are read through the runtime's checked open (no hang on a FIFO)
// with a size cap; false when the file does not exist.
constexpr std::size_t kMaxPictureFileSize = 64u * 1024u * 1024u;

bool ReadPictureBytes(const std::string& name, QByteArray& bytes) {
    std::string data;
    if (!cb::rtl::ReadFileBytes(name, data, kMaxPictureFileSize)) return false;
    bytes = QByteArray(data.data(), qsizetype(data.size()));
    return true;
}

}  // namespace

void TFilePicture::SetFilename(const std::string& name) {
    FSettings.Filename = name;
    QByteArray bytes;
    if (!ReadPictureBytes(name, bytes)) throw cb::rtl::EInOutError("Cannot read picture \"" + name + "\"");
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    QSize size = reader.size();
    if (!size.isValid()) {
        QImage img;
        if (!img.loadFromData(bytes)) throw cb::rtl::EInOutError("Cannot read picture \"" + name + "\"");
        size = img.size();
    }
    FSettings.Width = size.width();
    FSettings.Height = size.height();
}

void TFilePicture::Assign(const TFilePicture& source) {
    FSettings = source.FSettings;
}

void TFilePicture::DrawStretched(cb::gfx::TCanvas& canvas, const TRect& rect) const {
    if (FSettings.Filename.empty()) return;
    QByteArray bytes;
    QImage img;
    try {
        if (!ReadPictureBytes(FSettings.Filename, bytes) || !img.loadFromData(bytes)) return;
    } catch (const cb::rtl::EInOutError&) {
        return;
    }
    canvas.DrawImage(rect, img, {0, 0, img.width(), img.height()});
}

}  // namespace cb::grid
