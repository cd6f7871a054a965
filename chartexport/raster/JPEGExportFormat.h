#pragma once
// The JPEG export format and the routines that save a chart as JPEG.
#include "chartexport/core/PlotExportFormat.h"
#include "chartexport/raster/JPEGImage.h"

#include <memory>
#include <string>

namespace cb::chartexport {

class TJPEGExportFormat : public TPlotExportFormat {
public:
    // The choices of the format's options.
    int Quality = 95;
    bool GrayScale = false;
    TJPEGPerformance Performance = jpBestQuality;

    std::string Description() const override { return "as &JPEG"; }
    std::string FileExtension() const override { return "jpg"; }
    std::string FileFilter() const override { return "JPEG files (*.jpg)|*.jpg"; }
    void SaveToStream(cb::rtl::TStream& stream) override;
    QWidget* Options(bool create) override;
    // The picture at Width x Height with the options.
    std::unique_ptr<TJPEGImage> MakeImage();

protected:
    void DoCopyToClipboard() override;
};

// The panel drawn into (left, top, left + width, top + height) on its colour
// and compressed with settings.
std::unique_ptr<TJPEGImage> CreateChartJPEGImage(cb::chart::TCustomPlotPanel& panel, const TJPEGSettings& settings,
                                                 int left, int top, int width, int height);
// ".jpg" is appended to a name without extension; a width or height of 0 or
// less is the panel's.
void SaveChartToJPEGFileWithOptions(cb::chart::TCustomPlotPanel& panel, const std::string& fileName, bool grayScale,
                                    TJPEGPerformance performance, int quality, int width, int height);
// Colour, best quality, quality 100.
void SaveChartToJPEGFile(cb::chart::TCustomPlotPanel& panel, const std::string& fileName, int width, int height);

}  // namespace cb::chartexport
