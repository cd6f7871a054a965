// The PDF export checked with qpdf and poppler, and against the PNG export
// of the same chart.
#include "ChartExportTestSupport.h"

#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"
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

// Pixels within 40 of colour in every channel.
int CountColour(const QImage& image, TColor colour) {
    int hit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - cb::gfx::GetRValue(colour)) < 40 &&
                std::abs(c.green() - cb::gfx::GetGValue(colour)) < 40 &&
                std::abs(c.blue() - cb::gfx::GetBValue(colour)) < 40)
                ++hit;
        }
    return hit;
}

TEST(PDFExport, TheChartComponentAsOnScreen) {
    // A bar chart as the chart view draws one, flat and in 3D: the readers
    // see its texts, and each series covers as much of the page as of the
    // picture.
    const TColor colours[] = {0x3040C0, 0x30A040, 0xC07020};
    for (bool is3D : {false, true}) {
        SCOPED_TRACE(is3D ? "3D" : "2D");
        cb::chart::TChart chart;
        chart.resize(640, 400);
        chart.SetView3D(is3D);
        chart.Title().SetCaption("Revenue by region");
        chart.LeftAxis().Title().SetCaption("Revenue");
        const char* years[] = {"Year 2023", "Year 2024", "Year 2025"};
        for (int s = 0; s < 3; ++s) {
            auto* series = chart.CreateSeries<cb::chart::TBarSeries>();
            series->SetTitle(years[s]);
            series->SetSeriesColor(colours[s]);
            series->Marks().SetVisible(false);
            const char* regions[] = {"North", "South", "West", "East"};
            for (int i = 0; i < 4; ++i) series->AddValue(100 + 60 * ((i + s) % 4), regions[i]);
        }
        cbtest::TempDir dir;
        const std::string file = dir.file("chart.pdf");
        SaveChartToPDFFile(chart, file, 0, 0);
        const ToolRun check = RunProgram("/usr/bin/qpdf", {"--check", file});
        EXPECT_EQ(check.code, 0) << check.out << check.err;
        const ToolRun text = RunProgram("/usr/bin/pdftotext", {file, "-"});
        for (const char* s : {"Revenue by region", "Revenue", "North", "East", "Year 2024", "280"})
            EXPECT_NE(text.out.find(s), std::string::npos) << s << " in " << text.out;

        const ToolRun ppm =
            RunProgram("/usr/bin/pdftoppm", {"-r", "72", "-png", "-singlefile", file, dir.file("page")});
        ASSERT_EQ(ppm.code, 0) << ppm.err;
        const QImage page(QString::fromStdString(dir.file("page.png")));
        ASSERT_EQ(page.size(), QSize(640, 400));
        const QImage picture = DrawChartImage(chart, 0, 0, 640, 400);
        for (TColor c : colours) {
            const int onPage = CountColour(page, c), inPicture = CountColour(picture, c);
            EXPECT_GT(inPicture, 3000);
            EXPECT_NEAR(onPage, inPicture, inPicture * 0.1) << std::hex << c;
        }
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
