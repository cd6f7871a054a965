// The PDF document writer and the RTF writer's tables, read back by
// qpdf, pdffonts, pdftotext and unrtf.
#include "tabexport/pdf/PDFDocument.h"
#include "tabexport/rtf/RTFWriter.h"
#include "tests/tabexport/TabExportTestSupport.h"

#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <regex>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

// A one-page document with the exporter's four fonts and a text of each.
std::string FourFontDocument(const std::string& title) {
    cb::rtl::TStringStream out;
    TPDFDocument doc(&out);
    TPDFFont fonts[4];
    const TPDFFontName bases[4] = {poHelvetica, poHelveticaBold, poTimesRoman, poCourier};
    doc.BeginDocument();
    for (int i = 0; i < 4; ++i) {
        fonts[i].Name = "F" + std::to_string(i + 1);
        fonts[i].BaseFont = bases[i];
        doc.AddFont(&fonts[i]);
    }
    doc.NewPage();
    doc.SelectFont(fonts[1]);
    doc.TextOut(50, 740, title, 0);
    doc.SelectFont(fonts[0]);
    doc.TextOut(50, 700, "Caf\xC3\xA9 \xE2\x82\xAC 5", 0);
    doc.SelectFont(fonts[2]);
    doc.TextOut(50, 680, "Times line", 0);
    doc.SelectFont(fonts[3]);
    doc.TextOut(50, 660, "Courier line", 0);
    doc.FillRect(0xCCCCCC, 50.25, 600, 200, 20);
    doc.DrawLine(0x0000FF, 50, 590, 250, 590);
    doc.EndDocument();
    return out.DataString();
}

}  // namespace

TEST(PdfDocument, ObjectsFontsAndTextReadBack) {
    std::string pdf = FourFontDocument("Q1 (draft \\ {x}");
    // object numbering of a one-page document with four fonts
    EXPECT_NE(pdf.find("\rxref\r0 12\r"), std::string::npos);
    EXPECT_NE(pdf.find("/Size 12\r/Root 11 0 R"), std::string::npos);
    EXPECT_NE(pdf.find("stream\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("0.80 0.80 0.80 rg"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 612 792]"), std::string::npos);
    std::smatch m;
    std::string xref = pdf.substr(pdf.find("xref\r0 12\r") + 10);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(xref.substr(i * 20 + 18, 2), " \r") << "xref line " << i << " is 20 bytes";

    std::string dir = TempDir();
    std::string file = dir + "/four.pdf";
    WriteFile(file, pdf);
    RunProgram("/usr/bin/qpdf", {"--check", file});
    std::string fonts = RunProgram("/usr/bin/pdffonts", {file});
    for (const char* f : {"Helvetica ", "Helvetica-Bold", "Times-Roman", "Courier"})
        EXPECT_NE(fonts.find(f), std::string::npos) << fonts;
    std::string text = RunProgram("/usr/bin/pdftotext", {"-layout", file, "-"});
    EXPECT_NE(text.find("Q1 (draft \\ {x}"), std::string::npos) << text;
    EXPECT_NE(text.find("Caf\xC3\xA9 \xE2\x82\xAC 5"), std::string::npos) << text;
}

TEST(PdfDocument, WidthsPerFontAndLocaleFreeNumbers) {
    // each font has its own widths
    EXPECT_EQ(PDFTextWidth("AB", 10, poHelvetica), 13);  // 6.67 + 6.67
    EXPECT_EQ(PDFTextWidth("iiii", 10, poCourier), 24);  // monospaced 600
    EXPECT_LT(PDFTextWidth("iiii", 10, poHelvetica), 24);
    EXPECT_NE(PDFTextWidth("Wide Text", 12, poTimesRoman), PDFTextWidth("Wide Text", 12, poHelvetica));
    EXPECT_EQ(PDFCharsWidth(10, 3, poCourier), 18);
    EXPECT_EQ(cb::rtl::PdfNumber(-0.001, 1), "0.0");
    // the same bytes under a comma-decimal locale, built for the test
    std::string before = FourFontDocument("Title");
    std::string dir = TempDir();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (libc-bin, locales) is needed";
    ASSERT_EQ(setenv("LOCPATH", dir.c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);  // the locale is in force
    EXPECT_EQ(FourFontDocument("Title"), before);
    std::setlocale(LC_NUMERIC, "C");
}

TEST(PdfDocument, ColoursAreWrittenOnlyWhenTheyChange) {
    cb::rtl::TStringStream out;
    TPDFDocument doc(&out);
    TPDFFont font;
    font.Name = "F1";
    doc.BeginDocument();
    doc.AddFont(&font);
    EXPECT_THROW(doc.AddFont(&font), EPDFError);
    doc.NewPage();
    doc.SelectFont(font);
    doc.TextOut(1, 1, "a", 0x0000FF);
    doc.TextOut(1, 2, "b", 0x0000FF);
    doc.FillRect(0x00FF00, 0, 0, 1, 1);
    doc.TextOut(1, 3, "c", 0x0000FF);
    doc.EndDocument();
    std::string pdf = out.DataString();
    size_t reds = 0;
    for (size_t p = pdf.find("1.00 0.00 0.00 rg"); p != std::string::npos; p = pdf.find("1.00 0.00 0.00 rg", p + 1))
        ++reds;
    EXPECT_EQ(reds, 2u);
}

namespace {

// A small document through the RTF writer: tables first, fonts and colours
// added as they are met.
std::string RtfDocument(TTabRTFWriter& w, const std::vector<std::pair<cb::gfx::TColor, std::string>>& cells) {
    w.AddFont("Arial");
    w.AddFont("Arial");
    w.AddColor(0);
    w.WriteGroupBegin();
    w.WriteHeader();
    w.WriteFontTable();
    w.WriteColorTable();
    for (const auto& [bg, text] : cells) {
        w.FontToRTF("Times New Roman", 11, true);
        w.WriteLine(w.ColorToRTF(bg, 1) + w.ColorToRTF(cb::gfx::clNone, 0) + " " + RTFEscape(text));
        w.WritePar();
    }
    w.WriteGroupEnd();
    auto* s = static_cast<cb::rtl::TStringStream*>(w.Stream());
    return s->DataString();
}

}  // namespace

TEST(RtfWriter, TablesGrowInPlaceAndTheDocumentParses) {
    cb::rtl::TStringStream out;
    TTabRTFWriter w(nullptr, &out);
    std::string rtf = RtfDocument(w, {{0xFFFFFF, "white {x} \\ caf\xC3\xA9"},
                                      {0xFFFFFF, "white again"},
                                      {cb::gfx::clNone, "no colour"},
                                      {0x00FF00, "green \xE2\x82\xAC \xE4\xB8\xAD"}});
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\deff0\\deftab720\r\n", 0), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial;}{\\f2\\fnil Times New Roman;}}\r\n"),
              std::string::npos);
    // each colour once; no colour adds nothing and prints in the default
    EXPECT_NE(rtf.find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green255\\blue0;}\r\n"),
              std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\f2\\fs22"), std::string::npos);
    EXPECT_NE(rtf.find("\\cbpat1\\cf0 white \\{x\\} \\\\ caf\\'e9"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\cbpat1\\cf0 white again"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf0 no colour"), std::string::npos);
    EXPECT_NE(rtf.find("\\cbpat2\\cf0 green \\'80 \\u20013?"), std::string::npos) << rtf;
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    std::string file = TempDir() + "/doc.rtf";
    WriteFile(file, rtf);
    std::string text = RunProgram("/usr/bin/unrtf", {"--text", file});
    EXPECT_NE(text.find("white {x} \\ caf"), std::string::npos) << text;
    EXPECT_NE(text.find("no colour"), std::string::npos);
}
