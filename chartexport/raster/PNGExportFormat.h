#pragma once
// The PNG export format: the chart as 8-bit RGB through libpng.
#include "chartexport/core/PlotExportFormat.h"

#include <QImage>

#include <string>

namespace cb::chartexport {

// image (any format; read as RGB32) as an 8-bit RGB PNG at zlib level 0..9,
// compressed on at most threads threads (0: one per processor); libpng
// failures raise EExportError.
std::string EncodePNG(const QImage& image, int compressionLevel, int threads = 0);

class TPNGExportFormat : public TPlotExportFormat {
public:
    // 0..9.
    int CompressionLevel = 9;

    std::string Description() const override { return "as &PNG"; }
    std::string FileExtension() const override { return "PNG"; }
    std::string FileFilter() const override { return "PNG files (*.png)|*.png"; }
    void SaveToStream(cb::rtl::TStream& stream) override;
    QWidget* Options(bool create) override;

protected:
    // The chart bitmap itself, not a PNG.
    void DoCopyToClipboard() override;
};

}  // namespace cb::chartexport
