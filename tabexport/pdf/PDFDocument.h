#pragma once
// TPDFDocument: writes a PDF 1.3 file into a stream: a content stream per
// page with text, lines, rectangles and colours, the standard Type1 fonts
// the text uses (each with its own width table), and the closing objects,
// cross-reference table and trailer. It knows nothing about tables.
//
// Numbers are written with "." whatever the locale. Text is given as UTF-8
// and written as escaped WinAnsi strings.
#include "platform/gfx/Color.h"
#include "platform/rtl/PdfText.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cb::tabexport {

enum TPDFFontName {
    poHelvetica,
    poHelveticaBold,
    poHelveticaOblique,
    poHelveticaBoldOblique,
    poCourier,
    poCourierBold,
    poCourierOblique,
    poCourierBoldOblique,
    poTimesRoman,
    poTimesBold,
    poTimesItalic,
    poTimesBoldItalic,
    poSymbol,
    poZapfDingbats
};

enum TPDFFontEncoding {
    poStandardEncoding,
    poWinAnsiEncoding,
    poMacRomanEncoding,
    poPDFDocEncoding
};

struct TPDFFont {
    std::string Name;  // resource name in the document
    TPDFFontName BaseFont = poHelvetica;
    int FontSize = 10;
    TPDFFontEncoding FontEncoding = poWinAnsiEncoding;
    cb::gfx::TColor FontColor = 0;
};

struct TPDFBox {
    int Left = 0, Bottom = 0, Right = 0, Top = 0;
};

std::string PDFBaseFontName(TPDFFontName Font);
std::string PDFEncodingName(TPDFFontEncoding Encoding);
// Widths of the font's 256 codes in thousandths of the font size.
const std::array<int, 256>& PDFFontWidths(TPDFFontName Font);

// Width of a UTF-8 text in points: the widths summed, truncated once.
int PDFTextWidth(const std::string& Utf8, double Size, TPDFFontName Font = poHelvetica);
// Width of N average characters of the font (N may have a fraction).
int PDFCharsWidth(double Size, double N, TPDFFontName Font = poHelvetica);

class EPDFError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPDFDocument {
public:
    explicit TPDFDocument(cb::rtl::TStream* Stream) : FStream(Stream) {}

    void BeginDocument();
    int NewObject();
    void NewPage();
    void EndPageStream();
    // Registers a font under its resource name; the font belongs to the caller.
    void AddFont(const TPDFFont* Font);
    void SelectFont(const TPDFFont& Font) { FFont = Font; }
    cb::gfx::TColor SetStrokeColor(cb::gfx::TColor Color);
    cb::gfx::TColor SetFillColor(cb::gfx::TColor Color);
    void TextOut(int X, int Y, const std::string& Utf8, cb::gfx::TColor Color);
    void DrawLine(cb::gfx::TColor Color, double X1, double Y1, double X2, double Y2);
    void FillRect(cb::gfx::TColor Color, double X, double Y, double W, double H);
    void EndDocument();

    int ObjNumber() const { return static_cast<int>(FOffsets.size()); }
    int PageCount() const { return static_cast<int>(FPages.size()); }
    const TPDFFont& Font() const { return FFont; }
    double LineWidth = 1.0;
    double LineSpacing = 1.0;
    cb::gfx::TColor LineColor() const { return FLineColor; }
    cb::gfx::TColor FillColor() const { return FFillColor; }
    TPDFBox MediaBox{0, 0, 612, 792};
    TPDFBox TrimBox{50, 50, 562, 742};

private:
    void Write(const std::string& S);
    std::int64_t Position();

    cb::rtl::TStream* FStream;
    std::vector<std::string> FPages;
    std::vector<std::int64_t> FOffsets;
    std::vector<const TPDFFont*> FFonts;
    TPDFFont FFont;
    cb::gfx::TColor FLineColor = 0;
    cb::gfx::TColor FFillColor = 0;
    std::int64_t FStreamStart = -1;
    std::int64_t FEnd = -1;  // end of the stream, -1: not known yet
};

}  // namespace cb::tabexport
