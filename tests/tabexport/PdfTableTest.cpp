// The PDF table export and its page options, read back by qpdf, pdfinfo,
// pdffonts, pdftotext and pdftoppm.
#include "tabexport/pdf/TabExportPDF.h"
#include "tests/tabexport/TabExportTestSupport.h"

#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <unistd.h>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

const char* kTitle = "Q1 (draft \\ caf\xC3\xA9";

// A caption row and Rows data rows of Cols columns ("r<row>c<col>").
TTable Numbered(int Rows, int Cols) {
    TTable t(size_t(Rows) + 1);
    for (int c = 0; c < Cols; ++c) t[0].push_back("Head" + std::to_string(c));
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < Cols; ++c) t[size_t(r)].push_back("r" + std::to_string(r) + "c" + std::to_string(c));
    return t;
}

// The application's page: landscape Letter, header font 12, wide columns.
void ApplicationPage(TTabExportPDF& x) {
    auto& p = x.Options.PageOptions;
    p.SetFormat(pfUser);
    p.SetWidth(8.5);
    p.SetHeight(11);
    p.SetOrientation(poLandscape);
    p.SetMarginLeft(0.78);
    p.SetMarginRight(0.78);
    p.SetMarginTop(1.17);
    p.SetMarginBottom(0.57);
    x.Options.HeaderFont.FontSize = 12;
    x.Options.ColSpacing = 5;
    x.Options.GridLineWidth = 2;
}

void Prepare(TTabExportPDF& x, cb::grid::TBaseGrid& grid) {
    x.ExportSource = esStringGrid;
    x.StringGrid = &grid;
    x.CaptionRow = 0;
    x.ColumnsWidth.Add("0=10");
}

int Count(const std::string& Text, const std::string& What) {
    int n = 0;
    for (size_t at = Text.find(What); at != std::string::npos; at = Text.find(What, at + 1)) ++n;
    return n;
}

std::string Export(TTabExportPDF& x) {
    cb::rtl::TStringStream out;
    x.ExportToStream(out);
    return out.DataString();
}

// One pixel of a page rendered at 72 dpi (PPM), top-left origin.
struct TPage {
    int Width = 0, Height = 0;
    std::string Pixels;
    unsigned Rgb(int x, int y) const {
        size_t at = (size_t(y) * size_t(Width) + size_t(x)) * 3;
        return unsigned(uint8_t(Pixels[at])) << 16 | unsigned(uint8_t(Pixels[at + 1])) << 8 | uint8_t(Pixels[at + 2]);
    }
};

TPage Render(const std::string& File, int Page) {
    std::string ppm =
        RunProgram("/usr/bin/pdftoppm", {"-r", "72", "-f", std::to_string(Page), "-l", std::to_string(Page), File});
    TPage p;
    std::smatch m;
    EXPECT_TRUE(std::regex_search(ppm, m, std::regex(R"(^P6\s+(\d+)\s+(\d+)\s+255\s)")));
    p.Width = std::stoi(m[1]);
    p.Height = std::stoi(m[2]);
    p.Pixels = ppm.substr(size_t(m.length(0)));
    EXPECT_EQ(p.Pixels.size(), size_t(p.Width) * size_t(p.Height) * 3);
    return p;
}

}  // namespace

TEST(PdfPageOptions, FormatsUnitsAndOrientation) {
    TTabExportPDFPageOptions p;
    EXPECT_EQ(p.Format(), pfA4);
    auto box = p.GetPrintBox();
    EXPECT_EQ((std::vector<int>{box.Left, box.Bottom, box.Right, box.Top}), (std::vector<int>{84, 56, 552, 784}));

    TTabExportPDF x;
    ApplicationPage(x);
    const auto& a = x.Options.PageOptions;
    EXPECT_EQ(a.WidthPoints(), 792);
    EXPECT_EQ(a.HeightPoints(), 612);
    box = a.GetPrintBox();
    EXPECT_EQ((std::vector<int>{box.Left, box.Bottom, box.Right, box.Top}), (std::vector<int>{56, 41, 735, 527}));

    struct TCase {
        TTabExportUnits Units;
        double Set, Read;
        int Points;
    };
    for (const TCase& c :
         {TCase{unMillimeter, 210, 210, 595}, TCase{unInch, 8.27, 8.26, 595}, TCase{unDot, 300.7, 300, 300}}) {
        TTabExportPDFPageOptions q;
        q.Units = c.Units;
        q.SetWidth(c.Set);
        EXPECT_EQ(q.Format(), pfUser);
        EXPECT_EQ(q.WidthPoints(), c.Points);
        EXPECT_DOUBLE_EQ(q.Width(), c.Read);
    }
    // a format sets its portrait size whatever the orientation; turning
    // swaps the size and turns the margins
    TTabExportPDFPageOptions q;
    q.SetOrientation(poLandscape);
    q.SetFormat(pfLegal);
    EXPECT_EQ(q.WidthPoints(), 612);
    box = q.GetPrintBox();
    EXPECT_EQ((std::vector<int>{box.Left, box.Bottom, box.Right, box.Top}),
              (std::vector<int>{56, 42, 611 - 56, 1007 - 84}));
    q.SetOrientation(poPortrait);
    box = q.GetPrintBox();
    EXPECT_EQ((std::vector<int>{box.Left, box.Bottom, box.Right, box.Top}),
              (std::vector<int>{84, 56, 1007 - 42, 611 - 56}));
}

TEST(PdfTable, SixtyRowsSpreadOverPagesWithTheCaptionOnEach) {
    auto grid = MakeGrid(Numbered(60, 4), 1);
    TTabExportPDF x;
    Prepare(x, *grid);
    ApplicationPage(x);
    x.Header.Add(kTitle);
    x.Header.Add("Sales (by region");
    x.Footer.Add("Total) \\ end");
    std::string dir = TempDir();
    x.FileName = dir + "/table.pdf";
    x.Execute();
    std::string pdf = ReadFile(x.FileName);

    RunProgram("/usr/bin/qpdf", {"--check", x.FileName});
    std::string info = RunProgram("/usr/bin/pdfinfo", {x.FileName});
    // 21 rows below the header, 23 on the next page, 16 on the last
    EXPECT_TRUE(std::regex_search(info, std::regex(R"(Pages:\s+3\n)"))) << info;
    EXPECT_TRUE(std::regex_search(info, std::regex(R"(Page size:\s+792 x 612 pts)"))) << info;
    std::string fonts = RunProgram("/usr/bin/pdffonts", {x.FileName});
    EXPECT_NE(fonts.find("Helvetica"), std::string::npos) << fonts;

    // the header lines at 509 and 491, the table from 485
    EXPECT_NE(pdf.find("56 509 Td (Q1 \\(draft \\\\ caf\xE9) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("56 491 Td (Sales \\(by region) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("56.0 485.0 m"), std::string::npos);

    std::string text = RunProgram("/usr/bin/pdftotext", {"-layout", x.FileName, "-"});
    EXPECT_NE(text.find(kTitle), std::string::npos) << text;
    EXPECT_NE(text.find("Total) \\ end"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "Head0"), 3) << "the caption row on every page";
    std::regex rowLine(R"(r(\d+)c0\s+r\1c1\s+r\1c2\s+r\1c3)");
    int expected = 1;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), rowLine); it != std::sregex_iterator(); ++it)
        EXPECT_EQ(std::stoi((*it)[1]), expected++);
    EXPECT_EQ(expected, 61);
    // page breaks fall after rows 21 and 44
    std::vector<std::string> pages;
    for (size_t at = 0, next; at < text.size(); at = next + 1) {
        next = text.find('\f', at);
        if (next == std::string::npos) next = text.size();
        pages.push_back(text.substr(at, next - at));
    }
    ASSERT_GE(pages.size(), 3u);
    EXPECT_NE(pages[0].find("r21c3"), std::string::npos);
    EXPECT_EQ(pages[0].find("r22c0"), std::string::npos);
    EXPECT_NE(pages[1].find("r44c3"), std::string::npos);
    EXPECT_NE(pages[2].find("r60c3"), std::string::npos);
}

TEST(PdfTable, WideTableContinuesItsColumnsOnFurtherPages) {
    const int cols = 14;
    auto grid = MakeGrid(Numbered(50, cols), 1);
    TTabExportPDF x;
    Prepare(x, *grid);
    for (int c = 0; c < cols; ++c) x.ColumnsWidth.Add(std::to_string(c) + "=12");
    x.Header.Add("Wide");
    std::string file = TempDir() + "/wide.pdf";
    x.FileName = file;
    x.Execute();
    RunProgram("/usr/bin/qpdf", {"--check", file});
    ASSERT_GT(x.Bands().size(), 1u);
    std::string text = RunProgram("/usr/bin/pdftotext", {"-layout", file, "-"});
    for (int c = 0; c < cols; ++c) {
        EXPECT_NE(text.find("Head" + std::to_string(c)), std::string::npos) << c;
        EXPECT_NE(text.find("r50c" + std::to_string(c)), std::string::npos) << c;
    }
    // every column lies inside the page
    const int right = x.Options.PageOptions.GetPrintBox().Right;
    std::string pdf = ReadFile(file);
    const std::regex placed(R"(\r(\d+) -?\d+ Td)");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), placed); it != std::sregex_iterator(); ++it)
        EXPECT_LT(std::stoi((*it)[1]), right);
    std::string info = RunProgram("/usr/bin/pdfinfo", {file});
    std::smatch m;
    ASSERT_TRUE(std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")));
    EXPECT_EQ(std::stoi(m[1]), int(x.Bands().size()) * 2) << "50 rows take two pages per band";
}

TEST(PdfTable, ShadedCellsAndGridLinesOnThePage) {
    auto grid = MakeGrid(Numbered(3, 2), 1);
    TTabExportPDF x;
    Prepare(x, *grid);
    ApplicationPage(x);
    x.ColumnsWidth.Add("1=10");
    x.OnGetCellParams = [](TTabExportPDF&, int RecNo, int ColNo, const std::string&, TTabExportColAlign& Align,
                           cb::gfx::TFont& Font, cb::gfx::TColor& Background) {
        if (ColNo == 0) {
            Background = 0xCCCCCC;
            Align = ecaLeft;
        } else {
            Align = ecaRight;
            if (RecNo == 1) Font.SetColor(cb::gfx::clNone);  // no own colour: the data font's
        }
    };
    std::string file = TempDir() + "/shade.pdf";
    x.FileName = file;
    x.Execute();
    std::string pdf = ReadFile(file);
    RunProgram("/usr/bin/qpdf", {"--check", file});
    // the fill before the text, the text colour again after it
    EXPECT_NE(pdf.find("0.80 0.80 0.80 rg\r56.0"), std::string::npos);
    EXPECT_NE(pdf.find(" re f\r0.00 0.00 0.00 rg\rBT"), std::string::npos);

    TPage page = Render(file, 1);
    ASSERT_EQ(page.Width, 792);
    // caption from y 527 to 507 (top 85..105), first data row 507..487 (105..125)
    const int col0 = 56, col1 = 56 + PDFCharsWidth(10, 15);
    EXPECT_EQ(page.Rgb(col0 + 4, 612 - 490), 0xCCCCCCu) << "shaded first column";
    EXPECT_EQ(page.Rgb(col1 + 20, 612 - 490), 0xFFFFFFu) << "no fill in the second";
    unsigned line = page.Rgb(col0 + 20, 612 - 507);
    EXPECT_LT(line & 0xFF, 0x80u) << "a black grid line below the caption";
    unsigned vertical = page.Rgb(col1, 612 - 515);
    EXPECT_LT(vertical & 0xFF, 0x80u) << "a column line at " << col1 << ": " << std::hex << vertical;
    std::string text = RunProgram("/usr/bin/pdftotext", {"-layout", file, "-"});
    EXPECT_NE(text.find("r1c1"), std::string::npos);
}

TEST(PdfTable, SameBytesUnderACommaDecimalLocale) {
    auto grid = MakeGrid(Numbered(5, 3), 1);
    auto run = [&] {
        TTabExportPDF x;
        Prepare(x, *grid);
        x.Options.RowSpacing = 1.5;
        x.Options.GridLineWidth = 3;
        x.OnGetCellParams = [](TTabExportPDF&, int, int, const std::string&, TTabExportColAlign&, cb::gfx::TFont&,
                               cb::gfx::TColor& Background) { Background = 0x336699; };
        return Export(x);
    };
    std::string plain = run();
    // a comma-decimal locale, built for the test
    std::string dir = TempDir();
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (libc-bin, locales) is needed";
    ASSERT_EQ(setenv("LOCPATH", dir.c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::strtod("1.5", nullptr), 1.0);  // the locale is in force
    std::string comma = run();
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(plain, comma);
    EXPECT_NE(plain.find("3.0 w"), std::string::npos);
    EXPECT_EQ(plain.find(','), std::string::npos);
}

TEST(PdfTable, EmptyTableDrawsNoLines) {
    auto grid = MakeGrid(Numbered(2, 2), 1);
    TTabExportPDF x;
    Prepare(x, *grid);
    x.AllowCaptions = false;
    x.OnBeforeExportRow = [](TTabExport&, TTabExportRow&, bool& Accept) { Accept = false; };
    std::string pdf = Export(x);
    EXPECT_EQ(pdf.find(" l \r"), std::string::npos) << pdf.substr(0, 400);
    std::string file = TempDir() + "/empty.pdf";
    WriteFile(file, pdf);
    RunProgram("/usr/bin/qpdf", {"--check", file});
}

TEST(PdfTable, FileNameWithoutFolderIsWrittenInTheWorkingFolder) {
    auto grid = MakeGrid(Numbered(3, 2), 1);
    std::string dir = TempDir();
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    TTabExportPDF x;
    Prepare(x, *grid);
    x.FileName = "plain.pdf";
    x.Execute();
    ASSERT_EQ(chdir(old), 0);
    free(old);
    RunProgram("/usr/bin/qpdf", {"--check", dir + "/plain.pdf"});
}
