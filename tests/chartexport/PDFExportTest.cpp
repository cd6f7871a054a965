// The PDF export checked with qpdf and poppler, and against the PNG export
// of the same chart.
#include "ChartExportTestSupport.h"

#include "chartexport/pdf/PDFExportFormat.h"
#include "chartexport/raster/ChartRaster.h"

#include <QImage>

#include <gtest/gtest.h>

#include <regex>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// Share of the rectangle's pixels within 40 of colour in every channel.
double Coverage(const QImage& image, const TRect& r, TColor colour) {
    int hit = 0, all = 0;
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
        for (int x = r.Left + 2; x < r.Right - 2; ++x) {
            const QColor c = image.pixelColor(x, y);
            ++all;
            if (std::abs(c.red() - cb::gfx::GetRValue(colour)) < 40 &&
                std::abs(c.green() - cb::gfx::GetGValue(colour)) < 40 &&
                std::abs(c.blue() - cb::gfx::GetBValue(colour)) < 40)
                ++hit;
        }
    return all ? double(hit) / all : 0;
}

TEST(PDFExport, ReadersAcceptTheFileAndSeeTheChart) {
    BarPanel panel(400, 250);
    cbtest::TempDir dir;
    const std::string file = dir.file("chart.pdf");
    SaveChartToPDFFile(panel, file, 0, 0);

    const ToolRun check = RunProgram("/usr/bin/qpdf", {"--check", file});
    EXPECT_EQ(check.code, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("No syntax or stream encoding errors"), std::string::npos) << check.out;

    const ToolRun fonts = RunProgram("/usr/bin/pdffonts", {file});
    EXPECT_EQ(fonts.code, 0) << fonts.err;
    EXPECT_NE(fonts.out.find("TrueType"), std::string::npos) << fonts.out;
    EXPECT_NE(fonts.out.find("WinAnsi"), std::string::npos) << fonts.out;

    const ToolRun text = RunProgram("/usr/bin/pdftotext", {"-layout", file, "-"});
    EXPECT_EQ(text.code, 0) << text.err;
    for (const char* s : {"Revenue by region", "North", "South", "West"})
        EXPECT_NE(text.out.find(s), std::string::npos) << s << " in " << text.out;

    // Rendered at 72 dpi one PDF unit is one pixel: each bar covers the same
    // place as in the picture export.
    const ToolRun ppm = RunProgram("/usr/bin/pdftoppm", {"-r", "72", "-png", "-singlefile", file, dir.file("page")});
    ASSERT_EQ(ppm.code, 0) << ppm.err;
    const QImage page(QString::fromStdString(dir.file("page.png")));
    ASSERT_EQ(page.width(), 400);
    ASSERT_EQ(page.height(), 250);
    const QImage png = DrawChartImage(panel, 0, 0, 400, 250);
    for (const Bar& bar : panel.bars) {
        const TRect r = panel.BarRect(bar, 400, 250);
        EXPECT_GT(Coverage(png, r, bar.color), 0.95);
        EXPECT_GT(Coverage(page, r, bar.color), 0.95);
    }
}

TEST(PDFExport, StructureOffsetsAndSizes) {
    BarPanel panel(400, 250);
    cbtest::TempDir dir;
    struct Case {
        int w, h;
        const char* box;
    } cases[] = {{0, 0, "/MediaBox [ 0 0 400 250 ]"}, {800, 500, "/MediaBox [ 0 0 800 500 ]"}};
    for (const Case& c : cases) {
        SaveChartToPDFFile(panel, dir.file("s.pdf"), c.w, c.h);
        const std::string pdf = cbtest::readFile(dir.file("s.pdf"));
        EXPECT_NE(pdf.find(c.box), std::string::npos);
        // /Length counts the bytes between "stream" CR LF and "endstream".
        std::smatch m;
        ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/Length (\\d+) >>\r\nstream\r\n")));
        const std::size_t start = std::size_t(m.position(0) + m.length(0));
        EXPECT_EQ(pdf.compare(start + std::stoul(m[1]), 9, "endstream"), 0);
        // Every offset points at its object; startxref at "xref".
        const std::size_t xref = pdf.rfind("\r\nxref\r\n") + 2;
        ASSERT_TRUE(std::regex_search(pdf, m, std::regex("startxref\r\n(\\d+)\r\n%%EOF\r\n$")));
        EXPECT_EQ(std::stoul(m[1]), xref);
        std::regex entry("(\\d{10}) 00000 n\r\n");
        int object = 0;
        for (auto it = std::sregex_iterator(pdf.begin() + long(xref), pdf.end(), entry); it != std::sregex_iterator();
             ++it) {
            ++object;
            const std::string head = std::to_string(object) + " 0 obj\r\n";
            EXPECT_EQ(pdf.compare(std::stoul((*it)[1]), head.size(), head), 0) << "object " << object;
        }
        EXPECT_GE(object, 9);  // one font at least: 1 info ... 9 catalogue
    }
}

TEST(PDFExport, ChartWithoutTextHasNoFontObjects) {
    BarPanel panel(300, 200);
    panel.title.clear();
    panel.labels.clear();
    cbtest::TempDir dir;
    SaveChartToPDFFile(panel, dir.file("n.pdf"), 0, 0);
    const std::string pdf = cbtest::readFile(dir.file("n.pdf"));
    EXPECT_NE(pdf.find("/Font << \r\n>>\r\n"), std::string::npos);
    EXPECT_NE(pdf.find("xref\r\n0 7\r\n"), std::string::npos);
    EXPECT_EQ(RunProgram("/usr/bin/qpdf", {"--check", dir.file("n.pdf")}).code, 0);
}

TEST(PDFExport, ThePanelGetsItsOwnCanvasBackAfterAFailure) {
    BarPanel panel;
    auto* before = panel.Canvas();
    panel.fail = true;
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("old.pdf"), "old");
    EXPECT_ANY_THROW(SaveChartToPDFFile(panel, dir.file("old.pdf"), 0, 0));
    EXPECT_EQ(panel.Canvas(), before);
    EXPECT_TRUE(panel.AutoRepaint());
    EXPECT_EQ(cbtest::readFile(dir.file("old.pdf")), "old");
}

}  // namespace
