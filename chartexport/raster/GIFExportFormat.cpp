#include "chartexport/raster/GIFExportFormat.h"

#include "chartexport/raster/ChartRaster.h"
#include "gif/GIFImage.h"

#include <QClipboard>
#include <QGuiApplication>

#include <unordered_set>

namespace cb::chartexport {

namespace {
bool MoreThan256Colours(const QImage& rgb) {
    std::unordered_set<std::uint32_t> seen;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* p = rgb.constScanLine(y);
        for (int x = 0; x < rgb.width(); ++x, p += 3) {
            seen.insert(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16);
            if (seen.size() > 256) return true;
        }
    }
    return false;
}
}  // namespace

std::unique_ptr<cb::gif::TGIFImage> TGIFExportFormat::MakeImage() {
    CheckPanel();
    CheckSize();
    const QImage picture = DrawChartImage(*Panel, 0, 0, Width, Height);
    auto image = std::make_unique<cb::gif::TGIFImage>();
    image->CompressionMethod = Compression;
    image->DitherKind = Dither;
    image->ReductionKind = Reduction;
    if (Reduction == cb::gif::rkNone && MoreThan256Colours(picture)) image->ReductionKind = cb::gif::rkQuantize;
    image->Assign(picture);
    return image;
}

void TGIFExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    MakeImage()->SaveToStream(stream);
}

void TGIFExportFormat::DoCopyToClipboard() {
    QGuiApplication::clipboard()->setImage(DrawChartImage(*Panel, 0, 0, Width, Height));
}

}  // namespace cb::chartexport
