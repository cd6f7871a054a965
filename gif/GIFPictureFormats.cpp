#include "gif/GIFPictureFormats.h"

#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/KitGIFImage.h"

#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <cctype>

namespace cb::gif {

const std::vector<TGIFPictureFormat>& GIFPictureFormats() {
    static const std::vector<TGIFPictureFormat> formats{
        {"gif", "CompuServe GIF Image", [] { return std::make_unique<TKitGIFImage>(); }},
        {"gif", "GIF Image", [] { return std::make_unique<TGIFImage>(); }},
    };
    return formats;
}

const TGIFPictureFormat* GIFPictureFormatForFile(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return nullptr;
    std::string ext = fileName.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const TGIFPictureFormat& f : GIFPictureFormats())
        if (f.Extension == ext) return &f;
    return nullptr;
}

void SaveToMimeData(TGIFImage& image, QMimeData& mime) {
    if (image.Empty()) return;
    if (const QImage* bmp = image.Bitmap()) mime.setImageData(*bmp);
    cb::rtl::TMemoryStream s;
    image.SaveToStream(s);
    mime.setData(kGIFFileMime, QByteArray(reinterpret_cast<const char*>(s.Memory()), qsizetype(s.DataSize())));
}

void LoadFromMimeData(TGIFImage& image, const QMimeData& mime) {
    if (mime.hasFormat(kGIFImageMime)) {
        const QByteArray bytes = mime.data(kGIFImageMime);
        if (bytes.size() < 4) throw GIFException("Premature end of data");
        const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        const std::uint32_t n = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                                (std::uint32_t(p[3]) << 24);
        if (n > std::uint32_t(bytes.size() - 4)) throw GIFException("Premature end of data");
        cb::rtl::TStringStream s(std::string_view(bytes.constData() + 4, n));
        image.LoadFromStream(s);
        return;
    }
    if (mime.hasFormat(kGIFFileMime)) {
        const QByteArray bytes = mime.data(kGIFFileMime);
        cb::rtl::TStringStream s(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        image.LoadFromStream(s);
        return;
    }
    if (mime.hasImage()) {
        image.Assign(qvariant_cast<QImage>(mime.imageData()));
        return;
    }
    throw GIFException("Unsupported clipboard format");
}

}  // namespace cb::gif
