#include "GfxSupport.h"

#include "platform/gfx/StylePainter.h"

#include "tests/common/TestSupport.h"

#include <QPainter>
#include <QPainterPath>
#include <QPicture>
#include <QPrinter>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace cb::gfx;
using gfxtest::hasColor;
using gfxtest::inkBounds;
using gfxtest::inkIn;
using gfxtest::px;

namespace {

class GfxCanvas : public ::testing::Test {
protected:
    TBitmap bmp{100, 100};
    TCanvas& c = bmp.Canvas();
};

}  // namespace

TEST_F(GfxCanvas, RightAndBottomEdgesExcluded) {
    struct Probe {
        int x, y;
        TColor expect;
    };
    struct Case {
        const char* what;
        void (*draw)(TCanvas&);
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"FillRect",
         [](TCanvas& c) {
             c.Brush().SetColor(clRed);
             c.FillRect(Rect(10, 10, 20, 20));
         },
         {{10, 10, clRed}, {19, 19, clRed}, {20, 19, clWhite}, {19, 20, clWhite}, {9, 10, clWhite}}},
        {"Rectangle",
         [](TCanvas& c) {
             c.Brush().SetColor(clRed);
             c.Rectangle(10, 10, 20, 20);
         },
         {{10, 10, clBlack},
          {19, 10, clBlack},
          {19, 19, clBlack},
          {10, 19, clBlack},
          {15, 15, clRed},
          {11, 11, clRed},
          {20, 15, clWhite},
          {15, 20, clWhite}}},
        {"Rectangle clear pen",
         [](TCanvas& c) {
             c.Pen().SetStyle(psClear);
             c.Brush().SetColor(clRed);
             c.Rectangle(10, 10, 20, 20);
         },
         {{10, 10, clRed}, {19, 19, clRed}, {20, 20, clWhite}}},
        {"Rectangle clear brush",
         [](TCanvas& c) {
             c.Brush().SetStyle(bsClear);
             c.Rectangle(10, 10, 20, 20);
         },
         {{10, 10, clBlack}, {19, 19, clBlack}, {15, 15, clWhite}}},
        {"FrameRect",
         [](TCanvas& c) {
             c.Brush().SetColor(clBlue);
             c.FrameRect(Rect(10, 10, 20, 20));
         },
         {{10, 10, clBlue}, {19, 15, clBlue}, {15, 19, clBlue}, {15, 15, clWhite}, {20, 15, clWhite}}},
        {"LineTo horizontal",
         [](TCanvas& c) {
             c.MoveTo(10, 50);
             c.LineTo(20, 50);
         },
         {{10, 50, clBlack}, {19, 50, clBlack}, {20, 50, clWhite}}},
        {"LineTo vertical up",
         [](TCanvas& c) {
             c.MoveTo(50, 30);
             c.LineTo(50, 10);
         },
         {{50, 30, clBlack}, {50, 11, clBlack}, {50, 10, clWhite}}},
        {"LineTo diagonal",
         [](TCanvas& c) {
             c.MoveTo(10, 50);
             c.LineTo(20, 60);
         },
         {{10, 50, clBlack}, {19, 59, clBlack}, {20, 60, clWhite}}},
        {"LineTo zero length",
         [](TCanvas& c) {
             c.MoveTo(30, 30);
             c.LineTo(30, 30);
         },
         {{30, 30, clWhite}}},
        {"Ellipse",
         [](TCanvas& c) {
             c.Brush().SetColor(clRed);
             c.Ellipse(10, 10, 31, 31);
         },
         {{20, 10, clBlack},
          {20, 30, clBlack},
          {10, 20, clBlack},
          {30, 20, clBlack},
          {20, 20, clRed},
          {11, 11, clWhite},
          {31, 20, clWhite}}},
        {"Pie upper-right quadrant",
         [](TCanvas& c) {
             c.Pen().SetStyle(psClear);
             c.Brush().SetColor(clRed);
             c.Pie(0, 0, 100, 100, 100, 50, 50, 0);
         },
         {{70, 30, clRed}, {30, 30, clWhite}, {70, 70, clWhite}, {30, 70, clWhite}}},
        {"Pie clockwise",
         [](TCanvas& c) {
             c.SetArcDirection(adClockwise);
             c.Pen().SetStyle(psClear);
             c.Brush().SetColor(clRed);
             c.Pie(0, 0, 100, 100, 100, 50, 50, 0);
         },
         {{70, 30, clWhite}, {30, 30, clRed}, {70, 70, clRed}, {30, 70, clRed}}},
        {"Polygon",
         [](TCanvas& c) {
             c.Brush().SetColor(clLime);
             const TPoint pts[] = {{10, 10}, {50, 10}, {10, 50}};
             c.Polygon(pts, 3);
         },
         {{20, 20, clLime}, {10, 10, clBlack}, {45, 45, clWhite}}},
        {"SetPixel", [](TCanvas& c) { c.SetPixel(5, 6, clRed); }, {{5, 6, clRed}, {6, 6, clWhite}}},
    };
    for (const auto& cs : cases) {
        TBitmap b(100, 100);
        cs.draw(b.Canvas());
        for (const auto& p : cs.probes) EXPECT_EQ(px(b, p.x, p.y), p.expect) << cs.what << " at " << p.x << "," << p.y;
    }
}

TEST_F(GfxCanvas, PenStyles) {
    struct Case {
        TPenStyle style;
        bool solid;
        bool any;
    };
    const Case cases[] = {{psSolid, true, true},    {psDash, false, true},   {psDot, false, true},
                          {psDashDot, false, true}, {psClear, false, false}, {psInsideFrame, true, true}};
    for (const auto& cs : cases) {
        TBitmap b(100, 10);
        b.Canvas().Pen().SetStyle(cs.style);
        b.Canvas().MoveTo(0, 5);
        b.Canvas().LineTo(100, 5);
        int black = 0;
        for (int x = 0; x < 99; ++x) black += px(b, x, 5) == clBlack;
        EXPECT_EQ(black == 99, cs.solid) << cs.style;
        EXPECT_EQ(black > 0, cs.any) << cs.style;
    }
}

// Horizontal and vertical one-pixel lines take a shortcut; they must cover
// exactly the pixels a stroked two-point polyline covers, in every direction,
// clipped, on a translated painter and at partial opacity.
TEST(GfxCanvasLines, AxisLinesMatchStrokedLines) {
    const TPoint segments[][2] = {
        {{10, 10}, {40, 10}}, {{40, 14}, {10, 14}}, {{20, 5}, {20, 60}},  {{24, 60}, {24, 5}},
        {{50, 50}, {51, 50}}, {{50, 53}, {50, 52}}, {{70, 70}, {70, 70}}, {{-5, 80}, {200, 80}},
    };
    for (int variant = 0; variant < 4; ++variant) {
        QImage images[2];
        for (int way = 0; way < 2; ++way) {
            images[way] = QImage(100, 100, QImage::Format_ARGB32_Premultiplied);
            images[way].fill(Qt::white);
            QPainter painter(&images[way]);
            if (variant == 1) painter.translate(3, -2);
            if (variant == 3) painter.setOpacity(0.4);
            TCanvas canvas(&painter);
            if (variant == 2) canvas.PushClipRect(Rect(15, 8, 60, 58));
            canvas.Pen().SetColor(variant == 1 ? clNavy : clRed);
            for (const auto& s : segments) {
                if (way == 0) {
                    canvas.MoveTo(s[0].X, s[0].Y);
                    canvas.LineTo(s[1].X, s[1].Y);
                } else {
                    canvas.Polyline(s, 2);
                }
            }
        }
        EXPECT_EQ(images[0], images[1]) << "variant " << variant;
    }
}

TEST_F(GfxCanvas, HatchedBrushHonoursBackgroundMode) {
    c.Pen().SetStyle(psClear);
    c.Brush().SetColor(clRed);
    c.Brush().SetStyle(bsHorizontal);
    c.SetBkMode(TRANSPARENT);
    c.FillRect(Rect(0, 0, 50, 50));
    EXPECT_TRUE(hasColor(bmp, Rect(0, 0, 50, 50), clRed));
    EXPECT_TRUE(hasColor(bmp, Rect(0, 0, 50, 50), clWhite));
    c.SetBkMode(OPAQUE);
    c.SetBkColor(clYellow);
    c.FillRect(Rect(50, 0, 100, 50));
    EXPECT_TRUE(hasColor(bmp, Rect(50, 0, 100, 50), clRed));
    EXPECT_TRUE(hasColor(bmp, Rect(50, 0, 100, 50), clYellow));
    EXPECT_FALSE(hasColor(bmp, Rect(50, 0, 100, 50), clWhite));
}

TEST_F(GfxCanvas, BrushChangeSetsTextBackground) {
    c.Brush().SetColor(clAqua);
    EXPECT_EQ(c.BkColor(), clAqua);
    EXPECT_EQ(c.BkMode(), OPAQUE);
    c.Brush().SetStyle(bsClear);
    EXPECT_EQ(c.BkMode(), TRANSPARENT);
    c.SetBkMode(OPAQUE);  // explicit call wins until the brush changes again
    EXPECT_EQ(c.BkMode(), OPAQUE);
}

TEST_F(GfxCanvas, ClipStackNestsAndRestores) {
    c.Brush().SetColor(clRed);
    c.PushClipRect(Rect(10, 10, 50, 50));
    c.PushClipRect(Rect(30, 30, 80, 80));
    EXPECT_EQ(c.ClipDepth(), 2);
    EXPECT_EQ(c.ClipRect(), Rect(30, 30, 50, 50));
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_EQ(inkBounds(bmp), Rect(30, 30, 50, 50));
    c.PopClip();
    c.Brush().SetColor(clBlue);
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_EQ(inkBounds(bmp), Rect(10, 10, 50, 50));
    EXPECT_EQ(px(bmp, 35, 35), clBlue);
    c.PopClip();
    EXPECT_FALSE(c.IsClipped());
    c.PopClip();  // unbalanced pop is harmless
    c.Brush().SetColor(clLime);
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_EQ(px(bmp, 99, 99), clLime);
}

TEST_F(GfxCanvas, EllipseAndExcludedClips) {
    c.Brush().SetColor(clRed);
    c.PushClipEllipse(Rect(0, 0, 100, 100));
    c.PushClipRect(Rect(0, 0, 100, 50));  // upper half of the ellipse
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_EQ(px(bmp, 50, 10), clRed);
    EXPECT_EQ(px(bmp, 2, 2), clWhite);
    EXPECT_EQ(px(bmp, 50, 60), clWhite);
    c.PopClip();
    c.PopClip();
    c.PushClipRect(Rect(0, 0, 100, 100));
    c.ExcludeClipRect(Rect(40, 40, 60, 60));
    c.Brush().SetColor(clBlue);
    c.FillRect(Rect(0, 60, 100, 100));
    c.FillRect(Rect(0, 0, 100, 100));
    EXPECT_NE(px(bmp, 50, 50), clBlue);
    EXPECT_EQ(px(bmp, 39, 50), clBlue);
    c.PopClip();
}

TEST_F(GfxCanvas, XorTwiceRestores) {
    c.Brush().SetColor(clYellow);
    c.FillRect(Rect(0, 0, 50, 100));
    const QImage before = bmp.Image().copy();
    c.Pen().SetMode(pmXor);
    c.Pen().SetColor(clRed);
    c.Brush().SetColor(clBlue);
    for (int i = 0; i < 2; ++i) {
        c.MoveTo(0, 20);
        c.LineTo(100, 20);
        c.Rectangle(20, 30, 80, 70);
        c.DrawFocusRect(Rect(5, 75, 95, 95));
        if (i == 0) {
            EXPECT_EQ(px(bmp, 10, 20), clYellow ^ clRed);
            EXPECT_EQ(px(bmp, 60, 20), clWhite ^ clRed);
            EXPECT_NE(bmp.Image(), before);
        }
    }
    EXPECT_EQ(bmp.Image(), before);
}

TEST_F(GfxCanvas, PenModesOnRaster) {
    struct Case {
        TPenMode mode;
        TColor dst;
        TColor pen;
        TColor expect;
    };
    const Case cases[] = {
        {pmCopy, clWhite, clRed, clRed},     {pmNot, clWhite, clRed, clBlack}, {pmNotXor, clWhite, clRed, clRed},
        {pmMerge, clBlue, clRed, clFuchsia}, {pmMask, clYellow, clRed, clRed}, {pmBlack, clWhite, clRed, clBlack},
        {pmWhite, clBlack, clRed, clWhite},  {pmNop, clWhite, clRed, clWhite}, {pmNotCopy, clWhite, clRed, clAqua},
    };
    for (const auto& cs : cases) {
        TBitmap b(10, 10);
        b.Canvas().Brush().SetColor(cs.dst);
        b.Canvas().FillRect(Rect(0, 0, 10, 10));
        b.Canvas().Pen().SetMode(cs.mode);
        b.Canvas().Pen().SetColor(cs.pen);
        b.Canvas().MoveTo(0, 5);
        b.Canvas().LineTo(10, 5);
        EXPECT_EQ(px(b, 5, 5), cs.expect) << cs.mode;
    }
}

TEST_F(GfxCanvas, TransparentDraw) {
    TBitmap glyph(10, 10, pf24bit);
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect(Rect(0, 0, 10, 10));
    glyph.Canvas().Brush().SetColor(clLime);
    glyph.Canvas().FillRect(Rect(3, 3, 7, 7));
    c.Brush().SetColor(clBlue);
    c.FillRect(Rect(0, 0, 100, 100));
    c.Draw(0, 0, glyph);         // opaque
    glyph.SetTransparent(true);  // bottom-left pixel (red) drops out
    c.Draw(20, 0, glyph);
    c.DrawTransparent(40, 0, glyph, clLime);
    c.StretchDraw(Rect(60, 0, 80, 20), glyph);
    struct Probe {
        int x, y;
        TColor expect;
    } probes[] = {
        {0, 0, clRed},   {5, 5, clLime},  {20, 0, clBlue},  {25, 5, clLime},  {40, 0, clRed},
        {45, 5, clBlue}, {60, 0, clBlue}, {70, 10, clLime}, {79, 19, clBlue},
    };
    for (const auto& p : probes) EXPECT_EQ(px(bmp, p.x, p.y), p.expect) << p.x << "," << p.y;
}

TEST_F(GfxCanvas, CopyRectAndPixels) {
    TBitmap src(20, 20);
    src.Canvas().SetPixel(3, 4, clRed);
    EXPECT_EQ(src.Canvas().Pixel(3, 4), clRed);
    EXPECT_EQ(src.Canvas().Pixel(30, 4), clNone);
    c.CopyRect(Rect(50, 50, 70, 70), src.Canvas(), Rect(0, 0, 20, 20));
    EXPECT_EQ(px(bmp, 53, 54), clRed);
    EXPECT_EQ(px(bmp, 54, 54), clWhite);
    // Within one canvas.
    c.CopyRect(Rect(0, 0, 20, 20), c, Rect(50, 50, 70, 70));
    EXPECT_EQ(px(bmp, 3, 4), clRed);
}

TEST_F(GfxCanvas, BorrowedPainterKeepsItsClipAndScale) {
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setClipRect(0, 0, 50, 100);
        TCanvas canvas(&p);
        canvas.Brush().SetColor(clRed);
        canvas.PushClipRect(Rect(0, 0, 100, 20));
        canvas.FillRect(Rect(0, 0, 100, 100));
        canvas.PopClip();
        EXPECT_EQ(canvas.RasterImage(), &img);
        EXPECT_DOUBLE_EQ(canvas.DeviceScale(), 1.0);
    }
    EXPECT_EQ(img.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(60, 10), qRgb(255, 255, 255));  // painter's own clip held
    EXPECT_EQ(img.pixel(10, 30), qRgb(255, 255, 255));
}

TEST_F(GfxCanvas, DrawEdgeAdjustsAndColours) {
    TRect r = Rect(10, 10, 40, 40);
    c.DrawEdge(r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(12, 12, 38, 38));
    EXPECT_EQ(px(bmp, 20, 10), ColorToRGB(cl3DLight));
    EXPECT_EQ(px(bmp, 20, 11), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(bmp, 20, 39), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(px(bmp, 20, 38), ColorToRGB(clBtnShadow));
}

TEST_F(GfxCanvas, StylePainterDrawsStates) {
    ASSERT_TRUE(IsThemeActive());
    const TSize s = ThemedCheckBoxSize();
    ASSERT_GT(s.cx, 0);
    TBitmap a(40, 40), b(40, 40);
    DrawThemedCheckBox(a.Canvas(), Rect(2, 2, 2 + s.cx, 2 + s.cy), TCheckState::Unchecked, TThemeState::Normal);
    DrawThemedCheckBox(b.Canvas(), Rect(2, 2, 2 + s.cx, 2 + s.cy), TCheckState::Checked, TThemeState::Normal);
    EXPECT_TRUE(inkIn(a, Rect(0, 0, 40, 40)));
    EXPECT_NE(a.Image(), b.Image());
    TBitmap n(40, 20), d(40, 20);
    DrawThemedPushButton(n.Canvas(), Rect(0, 0, 40, 20), TThemeState::Normal);
    DrawThemedPushButton(d.Canvas(), Rect(0, 0, 40, 20), TThemeState::Pressed);
    EXPECT_TRUE(inkIn(n, Rect(0, 0, 40, 20)));
    EXPECT_NE(n.Image(), d.Image());
    TBitmap up(16, 16), down(16, 16);
    DrawThemedScrollArrow(up.Canvas(), Rect(0, 0, 16, 16), TScrollDirection::Up, TThemeState::Normal);
    DrawThemedScrollArrow(down.Canvas(), Rect(0, 0, 16, 16), TScrollDirection::Down, TThemeState::Normal);
    EXPECT_NE(up.Image(), down.Image());
}

TEST(GfxCanvasTargets, PictureAndPrinterKeepLogicalPixels) {
    // A recorded picture replays what the canvas drew.
    QPicture pic;
    {
        QPainter p(&pic);
        TCanvas c(&p);
        c.Brush().SetColor(clRed);
        c.Rectangle(10, 10, 20, 20);
        EXPECT_EQ(c.RasterImage(), nullptr);
        EXPECT_EQ(c.Pixel(12, 12), clNone);
    }
    TBitmap b(40, 40);
    b.Canvas().Painter()->drawPicture(0, 0, pic);
    EXPECT_EQ(px(b, 10, 10), clBlack);
    EXPECT_EQ(px(b, 15, 15), clRed);
    EXPECT_EQ(px(b, 20, 20), clWhite);

    // A printer of another resolution: logical pixels scale to its dots.
    cbtest::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
    QPainter p(&printer);
    TCanvas c(&p);
    const double scale = printer.logicalDpiX() / 96.0;
    EXPECT_DOUBLE_EQ(c.DeviceScale(), scale);
    const TRect device = c.ClipRect();
    c.UseLogicalPixels(true);
    const TRect logical = c.ClipRect();
    EXPECT_NEAR(logical.Width(), device.Width() / scale, 1.0);
    c.Rectangle(0, 0, 96, 96);  // an inch
    p.end();
}

// Small solid polygons go straight into raster images; they match the
// painter's own drawing but for a pixel here and there along slanted edges,
// also inside a convex polygon clip.
TEST(GfxCanvasPolygons, DirectFillMatchesThePainter) {
    const std::vector<std::vector<TPoint>> shapes = {
        {{10, 10}, {60, 10}, {60, 70}, {10, 70}},            // rectangle
        {{20, 15}, {45, 5}, {45, 80}, {20, 90}},             // the side face of a 3D bar
        {{5, 50}, {50, 5}, {95, 50}, {50, 95}},              // diamond
        {{10, 10}, {90, 20}, {50, 50}, {90, 80}, {10, 90}},  // concave
        {{30, 30}, {31, 30}, {31, 80}, {30, 80}},            // one pixel wide
    };
    const std::vector<TPoint> clip = {{0, 40}, {40, 0}, {99, 30}, {99, 99}, {10, 99}};
    for (bool clipped : {false, true})
        for (size_t s = 0; s < shapes.size(); ++s) {
            SCOPED_TRACE(testing::Message() << "shape " << s << (clipped ? " clipped" : ""));
            TBitmap direct(100, 100);
            TCanvas& c = direct.Canvas();
            c.Brush().SetColor(clWhite);
            c.FillRect({0, 0, 100, 100});
            if (clipped) c.PushClipPolygon(clip);
            c.Brush().SetColor(0x00C000);
            c.Pen().SetColor(0x800000);
            c.Polygon(shapes[s]);
            if (clipped) c.PopClip();

            QImage painted(100, 100, direct.Image().format());
            painted.fill(Qt::white);
            {
                QPainter p(&painted);
                QPen pen(QColor(0, 0, 0x80));
                pen.setWidth(1);
                pen.setCapStyle(Qt::SquareCap);
                pen.setJoinStyle(Qt::MiterJoin);
                p.setPen(pen);
                p.setBrush(QColor(0, 0xC0, 0));
                auto path = [](const std::vector<TPoint>& pts) {
                    QPainterPath q;
                    q.setFillRule(Qt::OddEvenFill);
                    q.moveTo(pts[0].X, pts[0].Y);
                    for (size_t i = 1; i < pts.size(); ++i) q.lineTo(pts[i].X, pts[i].Y);
                    q.closeSubpath();
                    return q;
                };
                if (clipped) p.setClipPath(path(clip));
                p.drawPath(path(shapes[s]));
            }
            int drawn = 0, differ = 0;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 100; ++x) {
                    const QRgb a = direct.Image().pixel(x, y), b = painted.pixel(x, y);
                    if (b != qRgb(255, 255, 255)) ++drawn;
                    if (a != b) ++differ;
                }
            ASSERT_GT(drawn, 0);
            // Slanted outlines may choose the other of two pixels in a column
            // (or row): at most two differing pixels per step of a slanted edge.
            // The same holds for the slanted edges of the clip.
            int slanted = 0;
            auto addSlanted = [&](const std::vector<TPoint>& pts) {
                for (size_t i = 0; i < pts.size(); ++i) {
                    const TPoint& a = pts[i];
                    const TPoint& b = pts[(i + 1) % pts.size()];
                    if (a.X != b.X && a.Y != b.Y) slanted += std::max(std::abs(b.X - a.X), std::abs(b.Y - a.Y));
                }
            };
            addSlanted(shapes[s]);
            if (clipped) addSlanted(clip);
            EXPECT_LE(differ, 2 * slanted + 4) << differ << " of " << drawn;
            // Nothing outside the clip.
            if (clipped) {
                EXPECT_EQ(direct.Image().pixel(2, 2), qRgb(255, 255, 255));
            }
        }
}

// A pentagram turns the same way at every corner but is not convex: drawn
// or used as a clip, its middle stays open (even-odd), as the painter has it.
TEST(GfxCanvasPolygons, AStarLeavesItsMiddleOpen) {
    const std::vector<TPoint> star = {{50, 5}, {79, 95}, {5, 38}, {95, 38}, {21, 95}};
    for (bool asClip : {false, true}) {
        SCOPED_TRACE(asClip ? "clip" : "polygon");
        TBitmap b(100, 100);
        TCanvas& c = b.Canvas();
        c.Brush().SetColor(clWhite);
        c.FillRect({0, 0, 100, 100});
        c.Brush().SetColor(0x00C000);
        c.Pen().SetStyle(psClear);
        if (asClip) {
            c.PushClipPolygon(star);
            c.FillRect({0, 0, 100, 100});
            c.PopClip();
        } else {
            c.Polygon(star);
        }
        EXPECT_EQ(b.Image().pixel(50, 55), qRgb(255, 255, 255)) << "the middle";
        EXPECT_EQ(b.Image().pixel(50, 15), qRgb(0, 0xC0, 0)) << "the top point";
    }
}

// Polygons held in a batch give the picture drawing them in order gives,
// whatever else is drawn, clipped or read between them.
TEST(GfxCanvasPolygons, BatchKeepsThePaintersOrder) {
    using Steps = std::function<void(TBitmap&, TCanvas&, std::vector<TColor>&)>;
    auto solid = [](TCanvas& c, TColor fill, TColor pen, std::vector<TPoint> pts) {
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(fill);
        c.Pen().SetStyle(pen == clNone ? psClear : psSolid);
        c.Pen().SetColor(pen);
        c.Polygon(pts);
    };
    const std::vector<TPoint> big = {{5, 5}, {80, 10}, {90, 70}, {10, 85}};
    const std::vector<TPoint> bar = {{30, 0}, {40, 0}, {40, 99}, {30, 99}};
    const std::vector<TPoint> slab = {{0, 40}, {99, 35}, {99, 50}, {0, 55}};
    const std::vector<TPoint> arrow = {{10, 10}, {90, 20}, {50, 50}, {90, 80}, {10, 90}};
    const struct {
        const char* name;
        Steps steps;
    } cases[] = {
        {"text between polygons",
         [&](TBitmap&, TCanvas& c, std::vector<TColor>&) {
             solid(c, clRed, clBlack, big);
             c.Font().SetColor(clNavy);
             c.SetBkMode(TRANSPARENT);
             c.TextOut(20, 30, "Text over");
             solid(c, clBlue, clNone, bar);
             solid(c, clYellow, clGreen, arrow);
         }},
        {"painter drawings between polygons",
         [&](TBitmap&, TCanvas& c, std::vector<TColor>&) {
             solid(c, clRed, clBlack, big);
             c.Brush().SetStyle(bsDiagCross);
             c.Brush().SetColor(clMaroon);
             c.Polygon(slab);  // hatched: the painter's
             solid(c, clBlue, clNone, bar);
             c.Pen().SetColor(clFuchsia);
             c.MoveTo(0, 0);
             c.LineTo(99, 60);
             c.MoveTo(50, 0);
             c.LineTo(50, 99);
             solid(c, clLime, clGreen, {{0, 60}, {60, 60}, {60, 70}, {0, 70}});
             c.Brush().SetColor(clAqua);
             c.FillRect({45, 45, 70, 65});
             c.Rectangle(60, 5, 95, 30);
             c.Ellipse(5, 60, 40, 95);
             solid(c, clOlive, clNone, {{20, 20}, {70, 25}, {50, 90}});
             c.GradientFill({70, 70, 99, 99}, clRed, clBlue, true);
             c.SetPixel(75, 75, clBlack);
             solid(c, clTeal, clNavy, {{72, 72}, {78, 72}, {78, 78}, {72, 78}});
             c.Pen().SetColor(clRed);
             c.Painter()->drawLine(0, 99, 99, 0);
             solid(c, clSilver, clNone, {{0, 90}, {99, 90}, {99, 99}, {0, 99}});
         }},
        {"clips between polygons",
         [&](TBitmap&, TCanvas& c, std::vector<TColor>&) {
             solid(c, clRed, clBlack, big);
             const std::vector<TPoint> diamond = {{50, 0}, {99, 50}, {50, 99}, {0, 50}};
             c.PushClipPolygon(diamond);
             solid(c, clBlue, clNone, slab);
             solid(c, clGreen, clBlack, bar);
             c.IntersectClipRect({0, 0, 60, 60});  // the same polygon, new row spans
             solid(c, clYellow, clNavy, arrow);
             c.PopClip();
             solid(c, clAqua, clNone, {{60, 0}, {70, 0}, {70, 99}, {60, 99}});
             c.PushClipRect({10, 10, 50, 50});
             solid(c, clFuchsia, clBlack, slab);
             c.PopClip();
             c.PushClipEllipse({20, 20, 80, 80});
             solid(c, clMaroon, clNone, {{0, 75}, {99, 70}, {99, 80}, {0, 85}});
             c.PopClip();
         }},
        {"reading between polygons",
         [&](TBitmap& b, TCanvas& c, std::vector<TColor>& read) {
             solid(c, clRed, clBlack, big);
             read.push_back(c.Pixel(40, 40));
             solid(c, clBlue, clNone, bar);
             c.CopyRect({0, 0, 20, 20}, c, {30, 30, 50, 50});
             solid(c, clGreen, clNone, {{10, 5}, {25, 5}, {25, 25}, {10, 25}});
             b.Draw(c, {50, 50, 100, 100});  // the bitmap onto itself
             solid(c, clYellow, clNone, {{65, 50}, {75, 50}, {75, 90}, {65, 90}});
             read.push_back(c.Pixel(12, 12));
             read.push_back(c.Pixel(5, 15));
         }},
        {"a nested batch and logical pixels",
         [&](TBitmap&, TCanvas& c, std::vector<TColor>&) {
             solid(c, clRed, clBlack, big);
             c.BeginPolygonBatch();
             solid(c, clBlue, clNone, bar);
             c.EndPolygonBatch();
             c.UseLogicalPixels(true);
             solid(c, clGreen, clNavy, slab);
             c.UseLogicalPixels(false);
             solid(c, clYellow, clNone, arrow);
         }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        TBitmap plain(100, 100), batched(100, 100);
        std::vector<TColor> plainReads, batchedReads;
        k.steps(plain, plain.Canvas(), plainReads);
        batched.Canvas().BeginPolygonBatch();
        k.steps(batched, batched.Canvas(), batchedReads);
        batched.Canvas().EndPolygonBatch();
        EXPECT_EQ(plainReads, batchedReads);
        const QImage& a = plain.Image();
        const QImage& b = batched.Image();
        int differ = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) differ += a.pixel(x, y) != b.pixel(x, y);
        EXPECT_EQ(differ, 0);
    }
}
