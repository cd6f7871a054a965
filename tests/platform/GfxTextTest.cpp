#include "GfxSupport.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <memory>

using namespace cb::gfx;
using gfxtest::hasColor;
using gfxtest::inkBounds;
using gfxtest::inkIn;

namespace {

std::unique_ptr<TBitmap> canvasWithText(unsigned align, int x, int y, const char* text = "Hello") {
    auto b = std::make_unique<TBitmap>(200, 100);
    TCanvas& c = b->Canvas();
    c.Font().SetName("Arial");
    c.Font().SetSize(12);
    c.Font().SetColor(clBlack);
    c.SetBkMode(TRANSPARENT);
    c.SetTextAlign(align);
    c.TextOut(x, y, text);
    return b;
}

}  // namespace

TEST(GfxText, AlignmentFlagsPlaceText) {
    struct Case {
        unsigned align;
        bool left, right, above, below;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, false, true, false, true},      {TA_RIGHT | TA_TOP, true, false, false, true},
        {TA_CENTER | TA_TOP, true, true, false, true},     {TA_LEFT | TA_BOTTOM, false, true, true, false},
        {TA_LEFT | TA_BASELINE, false, true, true, false},
    };
    for (const auto& cs : cases) {
        const auto bp = canvasWithText(cs.align, 100, 50);
        const TBitmap& b = *bp;
        EXPECT_EQ(inkIn(b, Rect(0, 0, 100, 100)), cs.left) << cs.align;
        EXPECT_EQ(inkIn(b, Rect(100, 0, 200, 100)), cs.right) << cs.align;
        EXPECT_EQ(inkIn(b, Rect(0, 0, 200, 50)), cs.above) << cs.align;
        EXPECT_EQ(inkIn(b, Rect(0, 50, 200, 100)), cs.below) << cs.align;
    }
    // Baseline: descenders reach below the reference line, capitals do not.
    EXPECT_TRUE(inkIn(*canvasWithText(TA_BASELINE, 10, 50, "gjpq"), Rect(0, 51, 200, 100)));
    EXPECT_FALSE(inkIn(*canvasWithText(TA_BASELINE, 10, 50, "HELLO"), Rect(0, 51, 200, 100)));
}

TEST(GfxText, ExtentMatchesDrawing) {
    TBitmap b(300, 60);
    TCanvas& c = b.Canvas();
    c.Font().SetName("Arial");
    c.Font().SetSize(14);
    c.SetBkMode(TRANSPARENT);
    const std::string text = "Sales WWW 12,345.67";
    c.TextOut(10, 5, text);
    const TSize ext = c.TextExtent(text);
    const TRect ink = inkBounds(b);
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 10 + ext.cx + 1);
    EXPECT_GT(ink.Right, 10 + ext.cx - 4);
    EXPECT_GE(ink.Top, 5);
    EXPECT_LE(ink.Bottom, 5 + ext.cy);
    const TTextMetric tm = c.TextMetrics();
    EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
    EXPECT_EQ(ext.cy, tm.Height);
    EXPECT_GT(tm.AveCharWidth, 3);
    EXPECT_GE(tm.InternalLeading, 0);
    // Bold is wider; a bigger font is taller.
    const int plain = c.TextWidth(text);
    c.Font().SetStyle(fsBold);
    EXPECT_GT(c.TextWidth(text), plain);
    c.Font().SetSize(28);
    EXPECT_GT(c.TextHeight(text), ext.cy * 3 / 2);
    // A positive height is the cell height.
    c.Font().SetHeight(20);
    EXPECT_LE(c.TextHeight("X"), 20);
    EXPECT_GE(c.TextHeight("X"), 17);
}

TEST(GfxText, OpaqueBackgroundFillsTextCell) {
    TBitmap b(200, 40);
    TCanvas& c = b.Canvas();
    c.SetBkColor(clYellow);
    c.SetBkMode(OPAQUE);
    c.TextOut(5, 5, "Text");
    EXPECT_TRUE(hasColor(b, Rect(0, 0, 200, 40), clYellow));
    TBitmap t(200, 40);
    t.Canvas().SetBkColor(clYellow);
    t.Canvas().SetBkMode(TRANSPARENT);
    t.Canvas().TextOut(5, 5, "Text");
    EXPECT_FALSE(hasColor(t, Rect(0, 0, 200, 40), clYellow));
    EXPECT_TRUE(inkIn(t, Rect(0, 0, 200, 40)));
}

TEST(GfxText, DrawTextHorizontalAndVerticalPlacement) {
    struct Case {
        unsigned flags;
        TRect leftOut, rightOut;
    };
    // Box (20, 10)-(180, 90); text much narrower than the box.
    const Case cases[] = {
        {DT_LEFT | DT_TOP | DT_SINGLELINE, Rect(100, 0, 200, 100), Rect(0, 50, 200, 100)},
        {DT_RIGHT | DT_TOP | DT_SINGLELINE, Rect(0, 0, 100, 100), Rect(0, 50, 200, 100)},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, Rect(0, 0, 60, 100), Rect(0, 0, 200, 30)},
        {DT_LEFT | DT_BOTTOM | DT_SINGLELINE, Rect(100, 0, 200, 100), Rect(0, 0, 200, 60)},
    };
    for (const auto& cs : cases) {
        TBitmap b(200, 100);
        b.Canvas().SetBkMode(TRANSPARENT);
        TRect r = Rect(20, 10, 180, 90);
        b.Canvas().DrawText("Abc", r, cs.flags);
        EXPECT_TRUE(inkIn(b, Rect(0, 0, 200, 100))) << cs.flags;
        EXPECT_FALSE(inkIn(b, cs.leftOut)) << cs.flags;
        EXPECT_FALSE(inkIn(b, cs.rightOut)) << cs.flags;
        const TRect ink = inkBounds(b);
        EXPECT_GE(ink.Left, 20);
        EXPECT_LE(ink.Right, 180);
    }
}

TEST(GfxText, EndEllipsisShortensAndClips) {
    TBitmap b(300, 40);
    TCanvas& c = b.Canvas();
    c.SetBkMode(TRANSPARENT);
    const std::string text = "A rather long caption that cannot fit";
    TRect calc = Rect(10, 5, 80, 30);
    c.DrawText(text, calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.Right, 80);
    EXPECT_GT(calc.Right, 40);
    TRect r = Rect(10, 5, 80, 30);
    c.DrawText(text, r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_FALSE(inkIn(b, Rect(80, 0, 300, 40)));
    // Without the ellipsis the text is clipped to the box, and without
    // clipping it runs on.
    TBitmap n(300, 40);
    n.Canvas().SetBkMode(TRANSPARENT);
    TRect r2 = Rect(10, 5, 80, 30);
    n.Canvas().DrawText(text, r2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_TRUE(inkIn(n, Rect(80, 0, 300, 40)));
}

TEST(GfxText, CalcRectMeasuresWrappedText) {
    TCanvas c;  // no device: measuring only
    const int lh = c.TextMetrics().Height;
    const int wordWidth = c.TextWidth("wwwwww");
    struct Case {
        const char* text;
        unsigned flags;
        int width;
        int lines;
    };
    const Case cases[] = {
        {"wwwwww wwwwww wwwwww", DT_WORDBREAK, wordWidth + 5, 3},
        {"wwwwww wwwwww wwwwww", DT_WORDBREAK, 3 * wordWidth + 50, 1},
        {"wwwwww wwwwww wwwwww", DT_SINGLELINE, wordWidth, 1},
        {"one\r\ntwo\nthree", 0, 1000, 3},
        {"wwwwwwwwwwww", DT_WORDBREAK | DT_EDITCONTROL, wordWidth + 2, 2},
        {"wwwwwwwwwwww", DT_WORDBREAK, wordWidth + 2, 1},
    };
    for (const auto& cs : cases) {
        TRect r = Rect(0, 0, cs.width, 0);
        const int h = c.DrawText(cs.text, r, cs.flags | DT_CALCRECT);
        EXPECT_EQ(h, cs.lines * lh) << cs.text << " " << cs.flags;
        EXPECT_EQ(r.Bottom, cs.lines * lh);
        if ((cs.flags & DT_WORDBREAK) && cs.lines > 1 && !(cs.flags & DT_EDITCONTROL)) {
            EXPECT_LE(r.Right, cs.width) << cs.text;
        }
    }
    // Prefix: "&&" counts as one ampersand, "&x" as x.
    TRect a = Rect(0, 0, 1000, 0), b = Rect(0, 0, 1000, 0);
    c.DrawText("&File", a, DT_CALCRECT);
    c.DrawText("File", b, DT_CALCRECT);
    EXPECT_EQ(a.Right, b.Right);
    TRect e = Rect(0, 0, 1000, 0);
    c.DrawText("&File", e, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_GT(e.Right, b.Right);
    // Tabs expand to stops of eight average characters.
    TRect t = Rect(0, 0, 1000, 0);
    c.DrawText("a\tb", t, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
    EXPECT_GE(t.Right, 8 * c.TextMetrics().AveCharWidth);
}

TEST(GfxText, RotatedText) {
    TBitmap b(100, 100);
    TCanvas& c = b.Canvas();
    c.SetBkMode(TRANSPARENT);
    c.Font().SetOrientation(900);  // up the page
    c.TextOut(50, 90, "Rotated");
    const TRect ink = inkBounds(b);
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_LE(ink.Bottom, 91);
    EXPECT_GE(ink.Left, 50);
}

TEST(GfxText, UnderlineAndCharacterExtra) {
    TBitmap plain(200, 40), under(200, 40);
    for (TBitmap* b : {&plain, &under}) {
        TCanvas& c = b->Canvas();
        c.SetBkMode(TRANSPARENT);
        c.SetTextAlign(TA_BASELINE);
        c.Font().SetSize(14);
        if (b == &under) c.Font().SetStyle(fsUnderline);
        c.TextOut(10, 25, "HHHH");
    }
    EXPECT_FALSE(inkIn(plain, Rect(0, 26, 200, 40)));
    EXPECT_TRUE(inkIn(under, Rect(0, 26, 200, 40)));
    TCanvas c;
    const int w = c.TextWidth("abcd");
    c.SetTextCharacterExtra(3);
    EXPECT_EQ(c.TextWidth("abcd"), w + 12);
}

// A single line of plain text takes a shortcut; it must draw what the
// general layout draws for the same line (the multi-line path, top-aligned),
// whether the rectangle clips it or not.
TEST(GfxText, SingleLineShortcutMatchesGeneralLayout) {
    struct Case {
        const char* text;
        TRect r;
        unsigned align;
        bool opaque;
        TFontStyles style;
    };
    const Case cases[] = {
        {"12345.67", Rect(10, 10, 120, 40), DT_LEFT, false, 0},
        {"12345.67", Rect(10, 10, 40, 40), DT_RIGHT, false, fsBold},
        {"Wide text here", Rect(30, 5, 70, 14), DT_CENTER, true, fsUnderline},
        {"jagged Qy", Rect(50, 20, 150, 31), DT_LEFT, false, fsItalic},
        {"overflow on the right", Rect(60, 40, 100, 80), DT_LEFT, true, 0},
    };
    for (const auto& cs : cases)
        for (const bool translated : {false, true}) {
            QImage images[2];
            for (int way = 0; way < 2; ++way) {
                images[way] = QImage(200, 100, QImage::Format_ARGB32_Premultiplied);
                images[way].fill(Qt::white);
                QPainter painter(&images[way]);
                if (translated) painter.translate(7, -3);
                TCanvas c(&painter);
                c.Font().SetName("Verdana");
                c.Font().SetSize(10);
                c.Font().SetStyle(cs.style);
                c.Font().SetColor(clMaroon);
                c.SetBkColor(clYellow);
                c.SetBkMode(cs.opaque ? OPAQUE : TRANSPARENT);
                TRect r = cs.r;
                c.DrawText(cs.text, r, DT_NOPREFIX | cs.align | (way == 0 ? unsigned(DT_SINGLELINE) : 0u));
            }
            EXPECT_EQ(images[0], images[1]) << cs.text << (translated ? " translated" : "");
        }
}
