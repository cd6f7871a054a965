#include "chartexport/raster/JPEGExportFormat.h"

#include "chartexport/raster/RasterOptions.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/raster/ChartRaster.h"

#include <QClipboard>
#include <QGuiApplication>

#include <filesystem>

namespace cb::chartexport {

std::unique_ptr<TJPEGImage> CreateChartJPEGImage(cb::chart::TCustomPlotPanel& panel, const TJPEGSettings& settings,
                                                 int left, int top, int width, int height) {
    return std::make_unique<TJPEGImage>(DrawChartImage(panel, left, top, width, height), settings);
}

void SaveChartToJPEGFileWithOptions(cb::chart::TCustomPlotPanel& panel, const std::string& fileName, bool grayScale,
                                    TJPEGPerformance performance, int quality, int width, int height) {
    std::string name = fileName;
    if (!std::filesystem::path(name).has_extension()) name += ".jpg";
    TJPEGSettings settings;
    settings.GrayScale = grayScale;
    settings.Quality = quality;
    settings.Performance = performance;
    const cb::chart::TRect r = panel.PanelRect();
    if (width <= 0) width = r.Width();
    if (height <= 0) height = r.Height();
    CreateChartJPEGImage(panel, settings, 0, 0, width, height)->SaveToFile(name);
}

void SaveChartToJPEGFile(cb::chart::TCustomPlotPanel& panel, const std::string& fileName, int width, int height) {
    SaveChartToJPEGFileWithOptions(panel, fileName, false, jpBestQuality, 100, width, height);
}

std::unique_ptr<TJPEGImage> TJPEGExportFormat::MakeImage() {
    CheckPanel();
    TJPEGSettings settings;
    settings.GrayScale = GrayScale;
    settings.Quality = Quality;
    settings.Performance = Performance;
    CheckSize();
    return CreateChartJPEGImage(*Panel, settings, 0, 0, Width, Height);
}

void TJPEGExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    MakeImage()->SaveToStream(stream);
}

void TJPEGExportFormat::DoCopyToClipboard() {
    const auto image = MakeImage();
    QImage decoded;
    decoded.loadFromData(reinterpret_cast<const uchar*>(image->Data().data()), int(image->Data().size()), "JPEG");
    QGuiApplication::clipboard()->setImage(decoded);
}

QWidget* TJPEGExportFormat::Options(bool create) {
    if (!OptionsForm() && create) KeepOptions(std::make_unique<TPlotJPEGOptions>(*this));
    return OptionsForm();
}

}  // namespace cb::chartexport
