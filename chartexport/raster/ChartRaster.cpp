#include "chartexport/raster/ChartRaster.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/core/PlotExportFormat.h"

namespace cb::chartexport {

QImage DrawChartImage(cb::chart::TCustomPlotPanel& panel, int left, int top, int width, int height) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        throw EExportError("Invalid picture size " + std::to_string(width) + " x " + std::to_string(height));
    auto bitmap = panel.DrawToBitmap(panel.Color(), {left, top, left + width, top + height}, cb::gfx::pf32bit);
    return bitmap->Image().convertToFormat(QImage::Format_RGB32);
}

}  // namespace cb::chartexport
