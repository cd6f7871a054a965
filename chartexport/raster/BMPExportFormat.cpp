#include "chartexport/raster/BMPExportFormat.h"

#include "chartexport/raster/RasterOptions.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chartexport/raster/ChartRaster.h"
#include "extras/BmpImage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>

namespace cb::chartexport {

int TBMPExportFormat::BitsPerPixel(bool canvasNeeds24) const {
    if (canvasNeeds24) return 24;
    if (Monochrome) return 1;
    switch (Colors) {
    case bcDefault: {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int depth = screen ? screen->depth() : 32;
        return depth == 16 || depth == 24 ? depth : 32;
    }
    case bc1bit:
        return 1;
    case bc4bit:
        return 4;
    case bc8bit:
        return 8;
    case bc15bit:
        return 15;
    case bc16bit:
        return 16;
    case bc24bit:
        return 24;
    case bc32bit:
        break;
    }
    return 32;
}

void TBMPExportFormat::SaveToStream(cb::rtl::TStream& stream) {
    CheckPanel();
    CheckSize();
    if (Width <= 0 || Height <= 0 || Width > 32767 || Height > 32767)
        throw EExportError("Invalid picture size " + std::to_string(Width) + " x " + std::to_string(Height));
    auto bitmap = Panel->DrawToBitmap(Panel->Color(), {0, 0, Width, Height}, cb::gfx::pf32bit);
    // A canvas that renders a full 3D scene asks for 24-bit bitmaps.
    const int bits = BitsPerPixel(bitmap->PixelFormat() == cb::gfx::pf24bit);
    auto file = cb::extras::BitmapToReducedStream(*bitmap, cb::extras::TKitPixelFormat(bits), cb::extras::rdMedianCut);
    stream.WriteBuffer(file->View());
}

void TBMPExportFormat::DoCopyToClipboard() {
    QGuiApplication::clipboard()->setImage(DrawChartImage(*Panel, 0, 0, Width, Height));
}

QWidget* TBMPExportFormat::Options(bool create) {
    if (!OptionsForm() && create) KeepOptions(std::make_unique<TBMPOptions>(*this));
    return OptionsForm();
}

}  // namespace cb::chartexport
