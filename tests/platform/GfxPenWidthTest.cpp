#include "GfxSupport.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace cb::gfx;

TEST(GfxPenWidth, ZeroIsKeptNegativeBecomesOne) {
    struct Case {
        int set;
        int width;
        int changes;
    };
    const Case cases[] = {{0, 0, 1}, {1, 1, 0}, {-3, 1, 0}, {7, 7, 1}};
    for (const auto& cs : cases) {
        TPen pen;
        int n = 0;
        pen.OnChange = [&](TGraphicsObject&) { ++n; };
        pen.SetWidth(cs.set);
        EXPECT_EQ(pen.Width(), cs.width) << cs.set;
        EXPECT_EQ(n, cs.changes) << cs.set;
        TPen copy;
        copy.Assign(pen);
        EXPECT_EQ(copy.Width(), cs.width) << cs.set;
    }
}

// At 96 dpi the thinnest line is one pixel: a pen of width 0 draws exactly
// what width 1 draws, for every shape, style and mode, also through a
// translated borrowed painter.
TEST(GfxPenWidth, ZeroDrawsLikeOneAtScreenScale) {
    using Draw = std::function<void(TCanvas&)>;
    const std::pair<const char*, Draw> shapes[] = {
        {"lines",
         [](TCanvas& c) {
             c.MoveTo(5, 5);
             c.LineTo(90, 5);
             c.LineTo(90, 60);
             c.LineTo(7, 93);
             c.LineTo(7, 8);
             c.MoveTo(50, 50);
             c.LineTo(51, 51);
         }},
        {"polyline",
         [](TCanvas& c) {
             const TPoint pts[] = {{3, 3}, {60, 10}, {60, 70}, {20, 40}, {95, 95}};
             c.Polyline(pts, 5);
         }},
        {"rectangle",
         [](TCanvas& c) {
             c.Brush().SetColor(clYellow);
             c.Rectangle(10, 12, 80, 70);
             c.Rectangle(3, 3, 5, 5);
         }},
        {"round rect",
         [](TCanvas& c) {
             c.Brush().SetColor(clYellow);
             c.RoundRect(10, 12, 80, 70, 20, 16);
         }},
        {"ellipse",
         [](TCanvas& c) {
             c.Brush().SetColor(clYellow);
             c.Ellipse(10, 12, 81, 70);
         }},
        {"arc and pie",
         [](TCanvas& c) {
             c.Arc(5, 5, 60, 60, 60, 30, 30, 5);
             c.Brush().SetColor(clYellow);
             c.Pie(30, 30, 95, 95, 95, 60, 60, 30);
         }},
        {"polygon",
         [](TCanvas& c) {
             c.Brush().SetColor(clYellow);
             const TPoint pts[] = {{10, 10}, {90, 20}, {50, 90}, {30, 40}};
             c.Polygon(pts, 4);
         }},
        {"bezier",
         [](TCanvas& c) {
             const TPoint pts[] = {{5, 90}, {20, 5}, {70, 5}, {95, 90}};
             c.PolyBezier(pts);
         }},
    };
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psAlternate, psInsideFrame};
    const TPenMode modes[] = {pmCopy, pmXor};
    for (bool translated : {false, true})
        for (const auto& [name, draw] : shapes)
            for (TPenStyle style : styles)
                for (TPenMode mode : modes) {
                    QImage images[2];
                    for (int w = 0; w < 2; ++w) {
                        images[w] = QImage(100, 100, QImage::Format_RGB32);
                        images[w].fill(Qt::white);
                        QPainter painter(&images[w]);
                        if (translated) painter.translate(3, -2);
                        TCanvas c(&painter);
                        c.Pen().SetColor(clNavy);
                        c.Pen().SetStyle(style);
                        c.Pen().SetMode(mode);
                        c.Pen().SetWidth(w);
                        draw(c);
                    }
                    EXPECT_EQ(images[0], images[1])
                        << name << " style " << style << " mode " << mode << (translated ? " translated" : "");
                }
}

// Under a scaled painter (a printer) width 0 stays one device pixel while
// width 1 scales with the painter.
TEST(GfxPenWidth, ZeroIsOneDevicePixelUnderScaledPainter) {
    struct Case {
        const char* what;
        TPenStyle style;
        int width;
        int thickness;
    };
    const Case cases[] = {
        {"solid 0", psSolid, 0, 1}, {"solid 1", psSolid, 1, 4}, {"solid 2", psSolid, 2, 8},
        {"dot 0", psDot, 0, 1},     {"dot 1", psDot, 1, 4},     {"dash 0", psDash, 0, 1},
    };
    for (const auto& cs : cases) {
        for (bool vertical : {false, true}) {
            TBitmap b(400, 400);
            {
                QPainter painter(&b.Image());
                painter.scale(4, 4);
                TCanvas c(&painter);
                c.Pen().SetStyle(cs.style);
                c.Pen().SetWidth(cs.width);
                if (vertical) {
                    c.MoveTo(50, 10);
                    c.LineTo(50, 90);
                } else {
                    c.MoveTo(10, 50);
                    c.LineTo(90, 50);
                }
            }
            // Thickest run of ink across the line.
            int thickest = 0;
            for (int along = 40; along < 360; ++along) {
                int n = 0;
                for (int across = 150; across < 250; ++across)
                    n += (vertical ? gfxtest::px(b, across, along) : gfxtest::px(b, along, across)) != clWhite;
                thickest = std::max(thickest, n);
            }
            EXPECT_EQ(thickest, cs.thickness) << cs.what << (vertical ? " vertical" : " horizontal");
        }
    }

    // A rectangle's outline too; its inside starts right after the thin edge.
    TBitmap b(400, 400);
    {
        QPainter painter(&b.Image());
        painter.scale(4, 4);
        TCanvas c(&painter);
        c.Pen().SetWidth(0);
        c.Brush().SetColor(clRed);
        c.Rectangle(10, 10, 60, 60);
    }
    EXPECT_EQ(gfxtest::px(b, 40, 100), clBlack);
    EXPECT_NE(gfxtest::px(b, 41, 100), clBlack);
    EXPECT_EQ(gfxtest::px(b, 100, 40), clBlack);
    EXPECT_NE(gfxtest::px(b, 100, 41), clBlack);
    EXPECT_EQ(gfxtest::px(b, 100, 100), clRed);
}
