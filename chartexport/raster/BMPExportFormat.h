#pragma once
// The bitmap export format: the chart as a BMP file of a chosen colour
// depth.
#include "chartexport/core/PlotExportFormat.h"

#include <string>

namespace cb::chartexport {

// The colour choices, in the order the options offer them.
enum TBMPColors {
    bcDefault,  // the screen's depth
    bc1bit,
    bc4bit,
    bc8bit,
    bc15bit,
    bc16bit,
    bc24bit,
    bc32bit
};

class TBMPExportFormat : public TPlotExportFormat {
public:
    TBMPColors Colors = bcDefault;
    // One bit per pixel whatever Colors says.
    bool Monochrome = false;

    std::string Description() const override { return "as &Bitmap"; }
    std::string FileExtension() const override { return "bmp"; }
    std::string FileFilter() const override { return "Bitmaps (*.bmp)|*.bmp"; }
    void SaveToStream(cb::rtl::TStream& stream) override;
    QWidget* Options(bool create) override;
    // Bits per pixel of the file, after the canvas had its say.
    int BitsPerPixel(bool canvasNeeds24) const;

protected:
    void DoCopyToClipboard() override;
};

}  // namespace cb::chartexport
