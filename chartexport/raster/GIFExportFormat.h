#pragma once
// The GIF export format: the chart through the GIF image.
#include "chartexport/core/PlotExportFormat.h"
#include "gif/GIFTypes.h"

#include <memory>
#include <string>

namespace cb::gif {
class TGIFImage;
}

namespace cb::chartexport {

class TGIFExportFormat : public TPlotExportFormat {
public:
    // The choices of the format's options.
    cb::gif::TGIFCompressionMethod Compression = cb::gif::cmLZW;
    cb::gif::TGIFDitherKind Dither = cb::gif::dkNearest;
    cb::gif::TGIFReductionKind Reduction = cb::gif::rkNone;

    std::string Description() const override { return "as &GIF"; }
    std::string FileExtension() const override { return "gif"; }
    std::string FileFilter() const override { return "GIF files (*.gif)|*.gif"; }
    void SaveToStream(cb::rtl::TStream& stream) override;
    QWidget* Options(bool create) override;
    // The picture at Width x Height. Without reduction, a chart of more than
    // 256 colours is quantised rather than refused.
    std::unique_ptr<cb::gif::TGIFImage> MakeImage();

protected:
    void DoCopyToClipboard() override;
};

}  // namespace cb::chartexport
