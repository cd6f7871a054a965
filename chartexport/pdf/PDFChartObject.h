#pragma once
// What one drawing of a chart leaves for its PDF page: the content stream
// the PDF canvas writes, and the fonts its texts use.
#include "platform/rtl/PdfText.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace cb::gfx {
class TFont;
}

namespace cb::chartexport {

// One font of the page; metrics in thousandths of the em, measured on a
// 96 dpi device without bold or italic.
struct TPlotPDFFontListEntry {
    int BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;
    int FirstChar = 32, LastChar = 255;
    int CapHeight = 0, Ascent = 0, Descent = 0, MaxWidth = 0, AvgWidth = 0, ItalicAngle = 0;
    int DigitizedAspectX = 96, DigitizedAspectY = 96;
    std::array<int, 256> Widths{};
    std::string PDFFontName;
    int ObjectNumber = 0;
};

// Typeface, then ",Bold" and ",Italic" by style, spaces removed.
std::string PDFFontNameOf(const cb::gfx::TFont& font);
// Measures the font's typeface.
std::unique_ptr<TPlotPDFFontListEntry> MeasurePDFFont(const cb::gfx::TFont& font);

class TPlotPDFFontList {
public:
    // Position of the entry named like font, or -1.
    int Find(const cb::gfx::TFont& font) const;
    // Measures and appends; returns the new position.
    int Add(const cb::gfx::TFont& font);
    int Count() const { return int(FItems.size()); }
    TPlotPDFFontListEntry& Item(int index) { return *FItems.at(std::size_t(index)); }

private:
    std::vector<std::unique_ptr<TPlotPDFFontListEntry>> FItems;
};

struct TPDFChartObject {
    cb::rtl::TMemoryStream Content;
    TPlotPDFFontList Fonts;
};

}  // namespace cb::chartexport
