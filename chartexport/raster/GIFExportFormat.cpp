#include "chartexport/raster/GIFExportFormat.h"

#include "chartexport/raster/RasterOptions.h"

#include "chartexport/raster/ChartRaster.h"
#include "gif/GIFImage.h"

#include <QClipboard>
#include <QGuiApplication>

#include <unordered_set>

namespace cb::chartexport {

namespace {
// picture is RGB32.
bool MoreThan256Colours(const QImage& picture) {
    std::unordered_set<QRgb> seen;
    for (int y = 0; y < picture.height(); ++y) {
        const QRgb* p = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QRgb last = ~0u;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = p[x] & 0xFFFFFFu;
            if (c == last) continue;
            last = c;
            seen.insert(c);
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

QWidget* TGIFExportFormat::Options(bool create) {
    if (!OptionsForm() && create) KeepOptions(std::make_unique<TPlotGIFOptions>(*this));
    return OptionsForm();
}

}  // namespace cb::chartexport
