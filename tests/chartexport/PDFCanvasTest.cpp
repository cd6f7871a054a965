// Operators the PDF canvas writes for each drawing operation.
#include "chartexport/pdf/PDFCanvas.h"
#include "chart/canvas/View3DOptions.h"
#include "chartexport/pdf/PDFChartObject.h"
#include "platform/gfx/Canvas.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using cb::chart::TPoint;

namespace {

// A canvas on a page of width x height with a black solid pen of width 1
// and a solid white brush.
struct Page {
    TPDFChartObject object;
    TPDFCanvas canvas{object};
    cb::chart::TView3DOptions options;
    explicit Page(int width = 400, int height = 300) {
        canvas.BeginDraw(nullptr, &options, cb::chart::clWhite, false, {0, 0, width, height});
        canvas.RestoreDefaults();
    }
    std::string Text() { return std::string(object.Content.View()); }
    std::size_t Count(const std::string& what) {
        const std::string t = Text();
        std::size_t n = 0;
        for (auto p = t.find(what); p != std::string::npos; p = t.find(what, p + 1)) ++n;
        return n;
    }
};

TEST(PDFCanvas, OperatorsOfTheBasicShapes) {
    struct Case {
        const char* name;
        int height;
        std::function<void(TPDFCanvas&)> draw;
        std::string expected;
    } cases[] = {
        {"line", 300, [](TPDFCanvas& c) { c.DrawLine(10, 20, 30, 40); },
         "0.00 0.00 0.00 RG 1 w [ ] 0 d 10.000 280.000 m 30.000 260.000 l S\r\n"},
        {"rectangle without pen", 300,
         [](TPDFCanvas& c) {
             c.Pen().SetStyle(cb::gfx::psClear);
             c.Brush().SetColor(0x0000FF);
             c.DrawRect(10, 10, 110, 60);
         },
         "0.00 0.00 0.00 RG 1 w [ ] 0 d 1.00 0.00 0.00 rg 10.000 240.000 100.000 50.000 re f\r\n"},
        {"fill never strokes", 300,
         [](TPDFCanvas& c) {
             c.Brush().SetColor(0x00FF00);
             c.FillRectangle({10, 10, 110, 60});
         },
         "0.00 1.00 0.00 rg 10.000 240.000 100.000 50.000 re f\r\n"},
        {"dashed pen", 100,
         [](TPDFCanvas& c) {
             c.Pen().SetStyle(cb::gfx::psDash);
             c.Pen().SetWidth(2);
             c.DrawLine(0, 0, 5, 0);
         },
         "0.00 0.00 0.00 RG 2 w [3 3] 0 d 0.000 100.000 m 5.000 100.000 l S\r\n"},
        {"clip rectangle", 300,
         [](TPDFCanvas& c) {
             c.ClipToRect({0, 0, 400, 300});
         },
         "q\r\n0.00 0.00 400.00 300.00 re W n\r\n"},
        {"polygon with brush only", 100,
         [](TPDFCanvas& c) {
             c.Pen().SetStyle(cb::gfx::psClear);
             const TPoint p[3] = {{0, 0}, {10, 0}, {0, 10}};
             c.DrawPolygon(p);
         },
         "0.000 100.000 m\r\n10.000 100.000 l\r\n0.000 90.000 l\r\nh 1.00 1.00 1.00 rg f\r\n"},
        {"text escaped", 300, [](TPDFCanvas& c) { c.OutputText(0, 0, "a(b)c\\"); }, "(a\\(b\\)c\\\\) Tj "},
        {"everything clear", 300,
         [](TPDFCanvas& c) {
             c.Pen().SetStyle(cb::gfx::psClear);
             c.Brush().SetStyle(cb::gfx::bsClear);
             c.DrawRect(0, 0, 10, 10);
             const TPoint p[3] = {{0, 0}, {10, 0}, {0, 10}};
             c.DrawPolygon(p);
             c.DrawEllipse(0, 0, 10, 20);
             c.DrawArc(0, 0, 10, 20, 10, 10, 0, 10);
             c.DrawPie(0, 0, 10, 20, 10, 10, 0, 10);
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Page page(400, c.height);
        c.draw(page.canvas);
        if (std::string(c.name) == "text escaped")
            EXPECT_NE(page.Text().find(c.expected), std::string::npos) << page.Text();
        else
            EXPECT_EQ(page.Text(), c.expected);
    }
}

// The vertical place of text written at y = 100 on a page 300 high: the
// sixth number of its text matrix.
double TextMatrixY(unsigned align, double angle = 0) {
    Page page(400, 300);
    page.canvas.SetTextAlignment(align);
    page.canvas.OutputRotatedText(50, 100, "Revenue", angle);
    const std::string t = page.Text();
    const auto tm = t.find(" Tm ");
    std::vector<double> numbers;
    std::size_t at = t.rfind("Tc", tm) + 2;
    for (int i = 0; i < 6; ++i) {
        std::size_t used = 0;
        numbers.push_back(std::stod(t.substr(at), &used));
        at += used;
    }
    return angle == 0 ? numbers[5] : numbers[4];
}

TEST(PDFCanvas, TextSitsOnItsAnchorAsOnScreen) {
    // A top anchor puts the baseline the text's height below it, a baseline
    // anchor on it, a bottom anchor the descent above it: also turned.
    const double top = TextMatrixY(cb::gfx::TA_TOP), base = TextMatrixY(cb::gfx::TA_BASELINE),
                 bottom = TextMatrixY(cb::gfx::TA_BOTTOM);
    EXPECT_DOUBLE_EQ(base, 200.0);
    EXPECT_LT(top, base - 5);
    EXPECT_GT(bottom, base);
    EXPECT_LT(bottom, base + 5);
    // Turned by 90 degrees the offsets run along x: a bottom anchor keeps the
    // text left of it, as the screen draws a vertical axis title.
    EXPECT_DOUBLE_EQ(TextMatrixY(cb::gfx::TA_BASELINE, 90), 50.0);
    EXPECT_LT(TextMatrixY(cb::gfx::TA_BOTTOM | cb::gfx::TA_CENTER, 90), 50.0);
    EXPECT_GT(TextMatrixY(cb::gfx::TA_TOP | cb::gfx::TA_CENTER, 90), 55.0);
}

TEST(PDFCanvas, CirclesEllipticalPiesAndSegments) {
    {
        Page page;
        page.canvas.DrawEllipse(0, 0, 100, 100);
        EXPECT_EQ(page.Count("q\r\n"), 0u);
        EXPECT_EQ(page.Count(" c\r\n"), 4u);
    }
    {
        Page page;
        page.canvas.DrawPie(0, 0, 200, 100, 200, 50, 100, 0);  // quarter of an ellipse
        EXPECT_EQ(page.Count("q\r\n"), 1u);
        EXPECT_EQ(page.Count(" cm\r\n"), 1u);
        EXPECT_EQ(page.Count("Q\r\n"), 1u);
        EXPECT_EQ(page.Text().rfind("Q\r\n"), page.Text().size() - 3);
    }
    struct Seg {
        int x3, y3, x4, y4;
        std::size_t segments;
    } segs[] = {
        {200, 100, 100, 0, 1},    // quarter
        {200, 100, 0, 100, 2},    // half
        {200, 100, 200, 100, 4},  // both to the right: full turn
        {100, 0, 200, 0, 1},      // end angle below the start: clockwise
    };
    for (const Seg& s : segs) {
        Page page;
        page.canvas.DrawPie(0, 0, 200, 200, s.x3, s.y3, s.x4, s.y4);
        EXPECT_EQ(page.Count(" c\r\n"), s.segments) << page.Text();
        EXPECT_EQ(page.Count(" l\r\n"), 1u);  // the edge from the centre
    }
}

TEST(PDFCanvas, ClipsBalanceEvenWhenLeftOpen) {
    Page page;
    page.canvas.ClipToRect({0, 0, 100, 100});
    page.canvas.ClipToRect({10, 10, 50, 50});  // nested
    page.canvas.RemoveClip();
    page.canvas.ClipToEllipse({0, 0, 40, 40});
    page.canvas.RemoveClip();
    page.canvas.RemoveClip();
    page.canvas.RemoveClip();                // one too many: nothing
    page.canvas.ClipToRect({0, 0, 10, 10});  // left open
    page.canvas.EndDraw(nullptr, nullptr, {0, 0, 400, 300});
    EXPECT_EQ(page.Count("q\r\n"), 4u);
    EXPECT_EQ(page.Count("Q\r\n"), 4u);
}

TEST(PDFCanvas, ShapesTheScreenDrawsOnItsDeviceReachThePage) {
    Page page;
    const TPoint line[3] = {{0, 0}, {10, 10}, {20, 0}};
    page.canvas.DrawPolyline(line);
    EXPECT_EQ(page.Count(" l\r\n"), 2u);
    page.canvas.Brush().SetColor(0x0000FF);
    page.canvas.DrawDonutSlice(100, 100, 50, 50, 0, 1.5, 50);
    EXPECT_NE(page.Text().find("1.00 0.00 0.00 rg B\r\n"), std::string::npos);
    cb::chart::TRect r{0, 0, 20, 20};
    const std::size_t before = page.Text().size();
    page.canvas.DrawBevelFrame(r, cb::chart::clWhite, cb::chart::clBlack, 2);
    EXPECT_GT(page.Text().size(), before);
    page.canvas.FillGradient({0, 0, 100, 64}, 0x0000FF, 0xFF0000, cb::chart::gdTopBottom, 0);
    EXPECT_NE(page.Text().find(" re f\r\n"), std::string::npos);
}

TEST(PDFCanvas, SameBytesUnderACommaLocale) {
    auto draw = [] {
        Page page;
        page.canvas.Pen().SetStyle(cb::gfx::psDot);
        page.canvas.DrawPie(3, 7, 211, 97, 200, 11, 13, 90);
        page.canvas.DrawEllipse(1, 2, 33, 17);
        page.canvas.OutputRotatedText(50, 60, "x", 33);
        return page.Text();
    };
    const std::string dot = draw();
    cbtest::TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << "localedef (libc-bin, locales) is needed";
    ASSERT_EQ(setenv("LOCPATH", dir.path().c_str(), 1), 0);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    const std::string commaText = draw();
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(commaText, dot);
    EXPECT_EQ(dot.find(','), std::string::npos);
}

}  // namespace
