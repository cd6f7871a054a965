#include "tabexport/pdf/PDFDocument.h"

#include "tabexport/core/Utf.h"

#include <charconv>
#include <cmath>

namespace cb::tabexport {

namespace {

// Generated at build time from the standard fonts' metrics (gen_pdf_font_widths.py).
const std::array<int, 256> kWidths[] = {
#include "tabexport/PdfFontWidths.inc"
};
static_assert(sizeof(kWidths) / sizeof(kWidths[0]) == poZapfDingbats + 1);

std::string Color3(cb::gfx::TColor c) {
    return cb::rtl::PdfNumber((c & 0xFF) / 255.0, 2) + " " + cb::rtl::PdfNumber(((c >> 8) & 0xFF) / 255.0, 2) + " " +
           cb::rtl::PdfNumber(((c >> 16) & 0xFF) / 255.0, 2);
}

std::string Box(const TPDFBox& b) {
    return std::to_string(b.Left) + " " + std::to_string(b.Bottom) + " " + std::to_string(b.Right) + " " +
           std::to_string(b.Top);
}

std::string Ref(int n) {
    return std::to_string(n) + " 0 R";
}

}  // namespace

std::string PDFBaseFontName(TPDFFontName Font) {
    static const char* names[] = {"Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
                                  "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
                                  "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
                                  "Symbol",      "ZapfDingbats"};
    return names[Font];
}

std::string PDFEncodingName(TPDFFontEncoding Encoding) {
    static const char* names[] = {"StandardEncoding", "WinAnsiEncoding", "MacRomanEncoding", "PDFDocEncoding"};
    return names[Encoding];
}

const std::array<int, 256>& PDFFontWidths(TPDFFontName Font) {
    return kWidths[Font];
}

int PDFTextWidth(const std::string& Utf8, double Size, TPDFFontName Font) {
    const auto& w = kWidths[Font];
    double sum = 0;
    for (unsigned char c : cb::rtl::Utf8ToWinAnsi(Utf8)) sum += Size * w[c] / 1000.0;
    return static_cast<int>(std::trunc(sum));
}

int PDFCharsWidth(double Size, double N, TPDFFontName Font) {
    // the average of the printable codes
    const auto& w = kWidths[Font];
    double total = 0;
    int count = 0;
    for (int c = 32; c < 256; ++c)
        if (w[c] > 0) {
            total += w[c];
            ++count;
        }
    double average = count ? total / count : 500;
    return static_cast<int>(std::trunc(Size * N * average / 1000.0));
}

// The document appends only: the end of the stream is kept here rather
// than asked of the stream on every write.
void TPDFDocument::Write(const std::string& S) {
    if (FEnd < 0) FEnd = FStream->Seek(0, cb::rtl::TSeekOrigin::soEnd);
    FStream->WriteBuffer(S);
    FEnd += static_cast<std::int64_t>(S.size());
}

std::int64_t TPDFDocument::Position() {
    if (FEnd < 0) FEnd = FStream->Seek(0, cb::rtl::TSeekOrigin::soEnd);
    return FEnd;
}

void TPDFDocument::BeginDocument() {
    FPages.clear();
    FOffsets.clear();
    FFonts.clear();
    LineWidth = 1.0;
    LineSpacing = 1.0;
    FLineColor = 0;
    FFillColor = 0;
    FStreamStart = -1;
    FEnd = -1;
    Write("%PDF-1.3\r");
}

int TPDFDocument::NewObject() {
    FOffsets.push_back(Position());
    return static_cast<int>(FOffsets.size());
}

void TPDFDocument::NewPage() {
    EndPageStream();
    int n = NewObject();
    FPages.push_back(Ref(n));
    Write(std::to_string(n) + " 0 obj\r<< /Length " + Ref(n + 1) + " >>\rstream\r\n");
    FStreamStart = Position();
    // every page begins with the colours of a fresh graphics state
    FLineColor = 0;
    FFillColor = 0;
}

void TPDFDocument::EndPageStream() {
    if (FStreamStart < 0) return;
    std::int64_t length = Position() - FStreamStart;
    FStreamStart = -1;
    Write("\rendstream\rendobj\r");
    int m = NewObject();
    Write(std::to_string(m) + " 0 obj\r" + std::to_string(length) + " \rendobj\r");
}

void TPDFDocument::AddFont(const TPDFFont* Font) {
    for (const auto* f : FFonts)
        if (f->Name == Font->Name) throw EPDFError("Font " + Font->Name + " already exists");
    FFonts.push_back(Font);
}

cb::gfx::TColor TPDFDocument::SetStrokeColor(cb::gfx::TColor Color) {
    Write(Color3(Color) + " RG\r");
    auto old = FLineColor;
    FLineColor = Color;
    return old;
}

cb::gfx::TColor TPDFDocument::SetFillColor(cb::gfx::TColor Color) {
    Write(Color3(Color) + " rg\r");
    auto old = FFillColor;
    FFillColor = Color;
    return old;
}

void TPDFDocument::TextOut(int X, int Y, const std::string& Utf8, cb::gfx::TColor Color) {
    if (Color != FFillColor) SetFillColor(Color);
    Write("BT\r/" + FFont.Name + " " + std::to_string(FFont.FontSize) + " Tf\r" + std::to_string(X) + " " +
          std::to_string(Y) + " Td (" + cb::rtl::PdfEscapeString(cb::rtl::Utf8ToWinAnsi(Utf8)) + ") Tj\rET\r");
}

void TPDFDocument::DrawLine(cb::gfx::TColor Color, double X1, double Y1, double X2, double Y2) {
    if (Color != FLineColor) SetStrokeColor(Color);
    Write(cb::rtl::PdfNumber(X1, 1) + " " + cb::rtl::PdfNumber(Y1, 1) + " m \r" + cb::rtl::PdfNumber(X2, 1) + " " +
          cb::rtl::PdfNumber(Y2, 1) + " l \r" + cb::rtl::PdfNumber(LineWidth, 1) + " w \rS\r");
}

void TPDFDocument::FillRect(cb::gfx::TColor Color, double X, double Y, double W, double H) {
    if (Color != FFillColor) SetFillColor(Color);
    Write(cb::rtl::PdfNumber(X, 1) + " " + cb::rtl::PdfNumber(Y, 1) + " " + cb::rtl::PdfNumber(W, 1) + " " +
          cb::rtl::PdfNumber(H, 1) + " re f\r");
}

void TPDFDocument::EndDocument() {
    EndPageStream();
    int outlines = NewObject();
    Write(std::to_string(outlines) + " 0 obj\r<< /Type /Outlines\r/Count 0\r>>\rendobj\r");
    std::string fontRefs;
    for (const auto* f : FFonts) {
        int n = NewObject();
        std::string widths;
        for (int w : kWidths[f->BaseFont]) widths += std::to_string(w) + " ";
        Write(std::to_string(n) + " 0 obj\r<< /Type /Font\r/Subtype /Type1\r/Name /" + f->Name + "\r/BaseFont /" +
              PDFBaseFontName(f->BaseFont) + "\r/Encoding /" + PDFEncodingName(f->FontEncoding) +
              "\r/FirstChar 0\r/LastChar 255\r/Widths [" + widths + "]\r>>\rendobj\r");
        fontRefs += "/" + f->Name + " " + Ref(n) + " ";
    }
    int resources = NewObject();
    Write(std::to_string(resources) + " 0 obj\r<< /Font <<" + fontRefs + ">> /ProcSet [ /PDF /Text ] >>\rendobj\r");
    int pages = NewObject();
    std::string kids;
    for (size_t k = 0; k < FPages.size(); ++k) kids += Ref(pages + 1 + static_cast<int>(k)) + " ";
    Write(std::to_string(pages) + " 0 obj\r<< /Type /Pages\r/Count " + std::to_string(FPages.size()) + "\r/Kids [" +
          kids + "]\r>>\rendobj\r");
    for (const auto& contents : FPages) {
        int n = NewObject();
        Write(std::to_string(n) + " 0 obj\r<< /Type /Page\r/Parent " + Ref(pages) + "\r/Resources " + Ref(resources) +
              "\r/MediaBox [" + Box(MediaBox) + "]\r/TrimBox [" + Box(TrimBox) + "]\r/Contents " + contents +
              "\r>>\rendobj\r");
    }
    int catalog = NewObject();
    Write(std::to_string(catalog) + " 0 obj\r<< /Type /Catalog \r/Pages " + Ref(pages) + " \r/Outlines " +
          Ref(outlines) + " \r>>\rendobj\r");
    std::int64_t xref = Position();
    std::string table = "xref\r0 " + std::to_string(FOffsets.size() + 1) + "\r0000000000 65535 f \r";
    for (auto offset : FOffsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010lld 00000 n \r", static_cast<long long>(offset));
        table += line;
    }
    Write(table);
    Write("trailer\r<< /Size " + std::to_string(FOffsets.size() + 1) + "\r/Root " + Ref(catalog) + "\r>>\rstartxref\r" +
          std::to_string(xref) + "\r%%EOF");
}

}  // namespace cb::tabexport
