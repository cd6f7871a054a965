#include "ChartTestSupport.h"

#include "chart/core/PlotGeometry.h"
#include "chart/style/ChartPen.h"
#include "chart/canvas/PlotBlend.h"
#include "platform/rtl/Exception.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace charttest;

namespace {

constexpr TColor kFill = 0x0000FF;  // red

struct Probe {
    int x, y;
    bool painted;  // true: the fill colour; false: still white
};

struct PrimitiveCase {
    const char* name;
    void (*draw)(TPlotCanvas3D&);
    std::vector<Probe> probes;
};

class Primitive2D : public ::testing::TestWithParam<PrimitiveCase> {};

TEST_P(Primitive2D, PaintsInsideOnly) {
    const PrimitiveCase& c = GetParam();
    Render r;
    r.canvas.Brush().SetColor(kFill);
    r.canvas.Pen().SetColor(kFill);
    c.draw(r.canvas);
    for (const Probe& p : c.probes)
        EXPECT_EQ(r.At(p.x, p.y), p.painted ? kFill : clWhite) << c.name << " at " << p.x << "," << p.y;
}

const TPoint kTriangle[3] = {{10, 90}, {50, 10}, {90, 90}};
const TPoint kZigZag[3] = {{10, 10}, {50, 50}, {90, 10}};

INSTANTIATE_TEST_SUITE_P(
    Shapes, Primitive2D,
    ::testing::Values(
        PrimitiveCase{"rect",
                      [](TPlotCanvas3D& c) { c.DrawRect(20, 20, 60, 60); },
                      {{20, 20, true}, {59, 59, true}, {40, 40, true}, {60, 60, false}, {19, 40, false}}},
        PrimitiveCase{"ellipse",
                      [](TPlotCanvas3D& c) { c.DrawEllipse(10, 10, 90, 90); },
                      {{50, 50, true}, {50, 12, true}, {12, 12, false}, {88, 88, false}}},
        PrimitiveCase{"rounded",
                      [](TPlotCanvas3D& c) { c.DrawRoundedRect(10, 10, 90, 90, 40, 40); },
                      {{50, 50, true}, {11, 11, false}, {50, 11, true}}},
        PrimitiveCase{"fill",
                      [](TPlotCanvas3D& c) {
                          c.FillRectangle({5, 5, 15, 15});
                      },
                      {{5, 5, true}, {14, 14, true}, {15, 15, false}}},
        PrimitiveCase{"polygon",
                      [](TPlotCanvas3D& c) { c.DrawPolygon(kTriangle); },
                      {{50, 60, true}, {15, 20, false}, {85, 20, false}}},
        PrimitiveCase{"hline",
                      [](TPlotCanvas3D& c) { c.DrawHorizontalLine(10, 50, 30); },
                      {{10, 30, true}, {49, 30, true}, {50, 30, false}, {30, 31, false}}},
        PrimitiveCase{"vline",
                      [](TPlotCanvas3D& c) { c.DrawVerticalLine(30, 10, 50); },
                      {{30, 10, true}, {30, 49, true}, {30, 50, false}}},
        PrimitiveCase{"polyline",
                      [](TPlotCanvas3D& c) { c.DrawPolyline(kZigZag); },
                      {{30, 30, true}, {70, 30, true}, {50, 20, false}}},
        PrimitiveCase{"pie",
                      [](TPlotCanvas3D& c) { c.DrawPie(10, 10, 90, 90, 90, 50, 50, 10); },
                      {{70, 30, true}, {30, 70, false}, {30, 30, false}}},
        PrimitiveCase{"donut",
                      [](TPlotCanvas3D& c) { c.DrawDonutSlice(50, 50, 40, 40, 0, std::numbers::pi / 2, 50); },
                      {{75, 25, true}, {55, 45, false}, {25, 75, false}, {30, 30, false}}},
        PrimitiveCase{"wedge",
                      [](TPlotCanvas3D& c) { c.DrawDonutSlice(50, 50, 40, 40, 0, std::numbers::pi / 2, 0); },
                      {{55, 45, true}, {45, 55, false}}},
        PrimitiveCase{"pixel", [](TPlotCanvas3D& c) { c.PutPixel(7, 8, kFill); }, {{7, 8, true}, {8, 8, false}}}),
    [](const ::testing::TestParamInfo<PrimitiveCase>& info) { return std::string(info.param.name); });

TEST(Canvas, ClippingNestsPerCanvas) {
    Render a;
    Render b;
    a.canvas.ClipToRect({0, 0, 50, 100});
    b.canvas.ClipToRect({50, 0, 100, 100});  // another canvas's clipping must not disturb a's
    a.canvas.ClipToRect({0, 0, 100, 50});
    a.canvas.Brush().SetColor(kFill);
    a.canvas.FillRectangle({0, 0, 100, 100});
    EXPECT_EQ(a.At(25, 25), kFill);
    EXPECT_EQ(a.At(75, 25), clWhite);
    EXPECT_EQ(a.At(25, 75), clWhite);
    a.canvas.RemoveClip();
    a.canvas.Brush().SetColor(clBlue);
    a.canvas.FillRectangle({0, 0, 100, 100});
    EXPECT_EQ(a.At(25, 75), clBlue);  // the outer clipping is back in force
    EXPECT_EQ(a.At(75, 75), clWhite);
    a.canvas.RemoveClip();
    a.canvas.RemoveClip();  // one too many does nothing
    a.canvas.FillRectangle({0, 0, 100, 100});
    EXPECT_EQ(a.At(75, 75), clBlue);
    EXPECT_EQ(a.canvas.ClipDepth(), 0);
}

TEST(Canvas, BevelFrameShrinksByWidth) {
    Render r;
    TRect rect{10, 10, 50, 50};
    r.canvas.DrawBevelFrame(rect, clBlue, kFill, 0);
    EXPECT_EQ(rect, (TRect{10, 10, 50, 50}));
    r.canvas.DrawBevelFrame(rect, clBlue, kFill, 2);
    EXPECT_EQ(rect, (TRect{12, 12, 48, 48}));
    EXPECT_EQ(r.At(10, 30), clBlue);
    EXPECT_EQ(r.At(30, 10), clBlue);
    EXPECT_EQ(r.At(49, 30), kFill);
    EXPECT_EQ(r.At(30, 49), kFill);
    EXPECT_EQ(r.At(30, 30), clWhite);
}

TEST(Canvas, DarkerFillLowersChannels) {
    struct Case {
        TColor in;
        int amount;
        TColor out;
    };
    for (const Case c : {Case{0x7F7F7F, 128, 0x000000}, Case{0xFFFFFF, 64, 0xBFBFBF}, Case{0x102030, 32, 0x000010}}) {
        Render r;
        r.canvas.SetDarkerFill(c.in, c.amount);
        EXPECT_EQ(r.canvas.Brush().Color(), c.out);
    }
    Render hatched;
    hatched.canvas.Brush().SetStyle(cb::gfx::bsCross);
    hatched.canvas.SetDarkerFill(0xFFFFFF, 64);
    EXPECT_EQ(hatched.canvas.GetBackgroundColor(), TColor(0xBFBFBF));
}

TEST(Canvas, InvisiblePenIsClearAndKeepsColour) {
    Render r;
    r.canvas.Pen().SetColor(clBlue);
    TChartPen pen;
    pen.SetColor(kFill);
    pen.Hide();
    r.canvas.SelectPen(pen);
    EXPECT_EQ(r.canvas.Pen().Style(), cb::gfx::psClear);
    EXPECT_EQ(r.canvas.Pen().Color(), clBlue);
    pen.Show();
    pen.SetWidth(3);
    r.canvas.SelectPen(pen);
    EXPECT_EQ(r.canvas.Pen().Color(), kFill);
    EXPECT_EQ(r.canvas.Pen().Width(), 3);
}

TEST(Canvas, GradientTopBottomEndColourOnTop) {
    Render r;
    r.canvas.FillGradient({0, 0, 100, 100}, clWhite, clBlack, gdTopBottom, 50);
    EXPECT_EQ(r.At(50, 0), clBlack);
    EXPECT_EQ(r.At(50, 99), clWhite);
    const int mid = cb::gfx::GetRValue(r.At(50, 50));
    EXPECT_GT(mid, 100);
    EXPECT_LT(mid, 156);
    Render thin(100, 1);
    thin.canvas.FillGradient({0, 0, 100, 1}, clBlack, clBlack, gdTopBottom, 50);
    EXPECT_EQ(thin.At(50, 0), clWhite);  // one pixel high draws nothing
}

// --- 3D solids in a rotated and an orthogonal view ---

TEST(Solids, BoxShowsFrontAndDarkenedSide) {
    Render r(200, 200, true, true);
    r.canvas.SetProjectionCenter(40, {0, 0, 200, 200}, {0, 0, 200, 200});
    r.canvas.Brush().SetColor(0x00C000);
    r.canvas.Pen().SetStyle(cb::gfx::psClear);
    r.canvas.DrawBox(60, 120, 80, 160, 0, 40, true);
    EXPECT_EQ(r.At(90, 120), TColor(0x00C000));  // front face
    // Orthogonal at 45: depth moves right and up, so the right side and top show.
    const TColor side = r.At(135, 110);
    EXPECT_EQ(side, DarkenColor(0x00C000, 128));
    const TColor top = r.At(100, 70);
    EXPECT_EQ(top, DarkenColor(0x00C000, 64));
    EXPECT_EQ(r.At(30, 30), clWhite);
    EXPECT_EQ(r.At(55, 120), clWhite);  // no left face
}

TEST(Solids, CylinderFillsItsOutline) {
    Render r(200, 200, true, false);
    r.options.SetElevation(345);
    r.options.SetRotation(345);
    r.canvas.BeginDraw(&r.bitmap.Canvas(), &r.options, clWhite, true, {0, 0, 200, 200});
    r.canvas.SetProjectionCenter(40, {0, 0, 200, 200}, {0, 0, 200, 200});
    r.canvas.Brush().SetColor(0xC00000);
    r.canvas.Pen().SetStyle(cb::gfx::psClear);
    r.canvas.DrawCylinder(true, 70, 40, 130, 160, 0, 40, false);
    const TPoint centre = r.canvas.ProjectCoords(100, 100, 20);
    EXPECT_EQ(r.At(centre.X, centre.Y), TColor(0xC00000));
    EXPECT_EQ(r.At(10, 100), clWhite);
    EXPECT_EQ(r.At(190, 100), clWhite);
    EXPECT_EQ(r.At(100, 5), clWhite);
}

TEST(Solids, PieSliceCoversItsQuarter) {
    Render r(200, 200, true, true);
    r.options.SetOrthoAngle(90);
    r.canvas.BeginDraw(&r.bitmap.Canvas(), &r.options, clWhite, true, {0, 0, 200, 200});
    r.canvas.SetProjectionCenter(10, {0, 0, 200, 200}, {0, 0, 200, 200});
    r.canvas.Brush().SetColor(0x0080FF);
    r.canvas.Pen().SetStyle(cb::gfx::psClear);
    // The face lies at depth 10: 10 pixels right and up of the flat slice.
    r.canvas.DrawPieSlice3D(100, 100, 60, 60, 0, 10, 0, std::numbers::pi / 2, true, true, 0, nullptr);
    EXPECT_EQ(r.At(130, 60), TColor(0x0080FF));  // inside the quarter, on the face
    EXPECT_EQ(r.At(60, 130), clWhite);           // the opposite quarter
    EXPECT_EQ(r.At(70, 50), clWhite);
    // The slice draws 7 points per arc for 10 degrees and at most 96.
}

TEST(Solids, FlatEllipseAtDepthInTwoD) {
    Render r;
    r.canvas.Brush().SetColor(kFill);
    r.canvas.DrawEllipseAtDepth(20, 20, 80, 80, 30);
    EXPECT_EQ(r.At(50, 50), kFill);
    EXPECT_EQ(r.At(22, 22), clWhite);
}

TEST(Solids, ArrowFromPointToItselfDrawsNothing) {
    Render r;
    r.canvas.Brush().SetColor(kFill);
    r.canvas.DrawArrow(true, {50, 50}, {50, 50}, 10, 10, 0);
    EXPECT_EQ(r.At(50, 50), clWhite);
    r.canvas.DrawArrow(true, {10, 50}, {90, 50}, 20, 20, 0);
    EXPECT_EQ(r.At(80, 52), kFill);    // head
    EXPECT_EQ(r.At(30, 50), kFill);    // shaft
    EXPECT_EQ(r.At(30, 58), clWhite);  // outside the shaft, inside the head's width
}

// --- blending ---

TEST(Blend, ZeroAndFullTransparency) {
    cb::gfx::TBitmap background(4, 1, cb::gfx::pf24bit);
    cb::gfx::TBitmap target(4, 1, cb::gfx::pf24bit);
    auto paint = [](cb::gfx::TBitmap& b, TColor c) {
        b.Canvas().Brush().SetColor(c);
        b.Canvas().FillRect({0, 0, 4, 1});
        b.Canvas().ReleasePainter();
    };
    paint(background, clBlue);
    paint(target, kFill);
    BlendBitmaps(background, target, 0, 0, 100);  // transparency 0
    EXPECT_EQ(target.ScanLine(0)[2], 255);
    EXPECT_EQ(target.ScanLine(0)[0], 0);
    BlendBitmaps(background, target, 0, 0, 0);  // transparency 100
    EXPECT_EQ(target.ScanLine(0)[0], 255);
    EXPECT_EQ(target.ScanLine(0)[2], 0);
    paint(target, clWhite);
    BlendBitmaps(background, target, 0, 0, 100);
    EXPECT_EQ(target.ScanLine(0)[2], 254);  // white marked before mixing
}

TEST(Blend, TransparentFillMixesWithBackground) {
    Render r;
    r.canvas.Brush().SetColor(clBlack);
    auto blend = r.canvas.BeginTransparency({-10, -10, 40, 40}, 50);
    r.canvas.FillRectangle({0, 0, 100, 100});
    r.canvas.EndTransparency(std::move(blend));
    const int inside = cb::gfx::GetRValue(r.At(20, 20));
    EXPECT_GT(inside, 100);
    EXPECT_LT(inside, 160);
    EXPECT_EQ(r.At(60, 60), clBlack);  // outside the blended rectangle
}

TEST(Blend, SmoothStretch) {
    cb::gfx::TBitmap src(1, 1, cb::gfx::pf24bit);
    src.ScanLine(0)[0] = 10;
    src.ScanLine(0)[1] = 20;
    src.ScanLine(0)[2] = 30;
    cb::gfx::TBitmap dst(3, 3, cb::gfx::pf24bit);
    SmoothStretch(src, dst, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dst.ScanLine(y)[x * 3], 10);
            EXPECT_EQ(dst.ScanLine(y)[x * 3 + 2], 30);
        }
    cb::gfx::TBitmap empty;
    try {
        SmoothStretch(empty, dst, false);
        FAIL() << "no error";
    } catch (const cb::rtl::Exception& e) {
        EXPECT_EQ(e.Message(), "SmoothStretch: Source bitmap too small");
    }
    cb::gfx::TBitmap big(8, 8, cb::gfx::pf24bit);
    cb::gfx::TBitmap small(3, 3, cb::gfx::pf24bit);
    EXPECT_NO_THROW(SmoothStretch(big, small, false));  // all white stays white
    EXPECT_GE(small.ScanLine(1)[3], 250);
}

}  // namespace
