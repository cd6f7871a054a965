// Shape series: figures between two points, text inside, hit tests.
#include "ChartTestSupport.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/series/shape/ShapeSeries.h"

#include <gtest/gtest.h>

using namespace cb::chart;
using charttest::TestChart;

namespace {

// A red shape without outline on fixed 0..100 axes.
TChartShape* AddShape(TestChart& t, TChartShapeStyle style) {
    t.chart.BottomAxis().SetManualRange(0, 100);
    t.chart.LeftAxis().SetManualRange(0, 100);
    auto* s = t.chart.CreateSeries<TChartShape>();
    s->SetSeriesColor(clRed);
    s->Pen().Hide();
    s->SetShapeStyle(style);
    return s;
}

TRect AxisBox(TestChart& t, double x0, double y0, double x1, double y1) {
    TChartAxis& h = t.chart.BottomAxis();
    TChartAxis& v = t.chart.LeftAxis();
    return NormalizeRect({h.PixelOfValue(x0), v.PixelOfValue(y0), h.PixelOfValue(x1), v.PixelOfValue(y1)});
}

}  // namespace

TEST(ShapeSeries, NewShapeIsACircleBetweenTheTwoAxisPoints) {
    TestChart t(400, 400);
    auto* s = AddShape(t, chasCircle);
    s->SetShapeStyle(TChartShape().ShapeStyle());
    EXPECT_EQ(s->ShapeStyle(), chasCircle);
    EXPECT_EQ(s->XYStyle(), xysAxis);
    EXPECT_EQ(s->PointCount(), 2);
    EXPECT_EQ(s->X1(), 100);
    t.chart.BottomAxis().SetManualRange(-10, 110);
    t.chart.LeftAxis().SetManualRange(-10, 110);
    t.Draw();
    t.Save("/tmp/chartseries_shape_circle.png");
    const TRect b = AxisBox(t, 0, 0, 100, 100);
    const TPoint c = RectCenter(b);
    EXPECT_EQ(t.At(c.X, c.Y), clRed);
    EXPECT_NE(t.At(b.Left + 3, b.Top + 3), clRed);  // inside the box, outside the ellipse
    EXPECT_NE(t.At(b.Left - 3, c.Y), clRed);
    EXPECT_EQ(s->PointAtPixel(c.X, c.Y), 0);
    EXPECT_EQ(s->PointAtPixel(b.Left + 3, b.Top + 3), -1);
}

TEST(ShapeSeries, FilledShareOfTheBoxByStyle) {
    struct Case {
        TChartShapeStyle style;
        double share;
    };
    const Case cases[] = {{chasRectangle, 1.0},  {chasCircle, 0.785},        {chasTriangle, 0.5},
                          {chasInvertTriangle, 0.5}, {chasDiamond, 0.5},     {chasPyramid, 0.5},
                          {chasCube, 1.0}};
    for (const Case& k : cases) {
        TestChart t(300, 300);
        auto* s = AddShape(t, k.style);
        s->SetX0(20);
        s->SetY0(20);
        s->SetX1(80);
        s->SetY1(80);
        t.Draw();
        const TRect b = AxisBox(t, 20, 20, 80, 80);
        const double area = double(b.Width()) * b.Height();
        EXPECT_NEAR(t.Count(clRed) / area, k.share, 0.06) << k.style;
        EXPECT_EQ(t.Count(clRed) - t.Count(clRed, {b.Left - 1, b.Top - 1, b.Right + 2, b.Bottom + 2}), 0) << k.style;
    }
}

TEST(ShapeSeries, PointsInEitherOrderDrawTheSameExceptTheLine) {
    const auto picture = [](TChartShapeStyle style, bool reversed, TestChart& t) {
        auto* s = AddShape(t, style);
        s->Pen().Show();
        s->Pen().SetColor(clBlue);
        s->SetX0(reversed ? 80 : 20);
        s->SetX1(reversed ? 20 : 80);
        s->SetY0(20);
        s->SetY1(80);
        t.Draw();
        return t.bitmap->Image();
    };
    for (TChartShapeStyle style : {chasTriangle, chasDiamond, chasStar, chasRectangle}) {
        TestChart a(300, 300), b(300, 300);
        EXPECT_EQ(picture(style, false, a), picture(style, true, b)) << style;
    }
    // The line runs from point 0 to point 1: (20, 20) to (80, 80) rises,
    // (80, 20) to (20, 80) falls.
    TestChart up(300, 300), down(300, 300);
    picture(chasLine, false, up);
    picture(chasLine, true, down);
    const TRect b = AxisBox(up, 20, 20, 80, 80);
    const TRect lowLeft{b.Left, b.Bottom - 6, b.Left + 6, b.Bottom + 1};
    const TRect highLeft{b.Left, b.Top, b.Left + 6, b.Top + 6};
    EXPECT_GT(up.Count(clBlue, lowLeft), 3);
    EXPECT_EQ(up.Count(clBlue, highLeft), 0);
    EXPECT_GT(down.Count(clBlue, highLeft), 3);
    EXPECT_EQ(down.Count(clBlue, lowLeft), 0);
}

TEST(ShapeSeries, OutsideTheChartDrawsNothingTextIncluded) {
    TestChart t(300, 300);
    auto* s = AddShape(t, chasRectangle);
    s->SetText({"outside"});
    s->Font().SetColor(clBlue);
    s->SetX0(200);
    s->SetX1(300);
    t.Draw();
    EXPECT_EQ(t.Count(clRed), 0);
    EXPECT_EQ(t.Count(clBlue), 0);
}

TEST(ShapeSeries, AxisOriginGivesAPixelSizeFromPointZero) {
    TestChart t(300, 300);
    auto* s = AddShape(t, chasRectangle);
    s->SetXYStyle(xysAxisOrigin);
    s->SetX0(30);
    s->SetY0(60);
    s->SetX1(50);
    s->SetY1(20);
    t.Draw();
    const int x = t.chart.BottomAxis().PixelOfValue(30), y = t.chart.LeftAxis().PixelOfValue(60);
    EXPECT_EQ(s->GetShapeBounds(), (TRect{x, y, x + 50, y + 20}));
    // The rectangle is drawn one pixel wider and taller than its bounds.
    EXPECT_EQ(t.Count(clRed), 51 * 21);
    EXPECT_EQ(t.At(x, y), clRed);
    EXPECT_EQ(t.At(x + 50, y + 20), clRed);
    EXPECT_NE(t.At(x - 1, y), clRed);
}

TEST(ShapeSeries, TextInTheBrushColourTurnsBlackOrWhite) {
    for (TColor font : {clWhite, clBlack}) {
        TestChart t(300, 300);
        auto* s = AddShape(t, chasRectangle);
        s->SetSeriesColor(font);
        s->Font().SetColor(font);
        s->Font().SetSize(14);
        s->SetText({"WWW", "MMM"});
        t.chart.SetColor(clGray);
        t.Draw();
        const TRect b = AxisBox(t, 0, 0, 100, 100);
        const TColor other = font == clWhite ? clBlack : clWhite;
        EXPECT_GT(t.Count(other, b), 40) << font;
    }
}

TEST(ShapeSeries, PointChangesMoveTheAxesAndClearedShapesRefuse) {
    TestChart t(300, 300);
    auto* s = t.chart.CreateSeries<TChartShape>();
    t.Draw();
    EXPECT_EQ(t.chart.BottomAxis().Maximum(), 100);
    s->SetX1(250);
    EXPECT_EQ(s->HighestX(), 250);
    t.Draw();
    EXPECT_EQ(t.chart.BottomAxis().Maximum(), 250);
    s->RemoveAllPoints();
    EXPECT_THROW(s->X0(), ChartException);
    EXPECT_THROW(s->SetY1(3), ChartException);
    EXPECT_EQ(s->PointAtPixel(10, 10), -1);
    t.Draw();  // nothing to draw, nothing raised
}

TEST(ShapeSeries, HitTestsFollowTheFigure) {
    TestChart t(300, 300);
    auto* s = AddShape(t, chasRectangle);
    s->SetXYStyle(xysPixels);
    s->SetX0(100);
    s->SetY0(100);
    s->SetX1(200);
    s->SetY1(160);
    t.Draw();
    struct Case {
        TChartShapeStyle style;
        int x, y;
        bool hit;
    };
    const Case cases[] = {
        {chasRectangle, 100, 100, true},  {chasRectangle, 99, 100, false}, {chasCircle, 150, 130, true},
        {chasCircle, 102, 102, false},    {chasTriangle, 150, 105, true},  {chasTriangle, 105, 105, false},
        {chasInvertTriangle, 105, 102, true}, {chasInvertTriangle, 150, 158, true}, {chasInvertTriangle, 105, 158, false},
        {chasVertLine, 150, 120, true},   {chasVertLine, 152, 120, false}, {chasHorizLine, 120, 130, true},
        {chasHorizLine, 120, 132, false}, {chasLine, 150, 130, true},      {chasLine, 150, 110, false},
        {chasDiamond, 150, 130, true},    {chasDiamond, 104, 104, false},  {chasStar, 104, 104, true},
    };
    for (const Case& k : cases) {
        s->SetShapeStyle(k.style);
        EXPECT_EQ(s->PointAtPixel(k.x, k.y) == 0, k.hit) << k.style << " at " << k.x << "," << k.y;
    }
}

TEST(ShapeSeries, GalleryStylesAndAssignment) {
    TChartShape s;
    std::vector<std::string> names;
    s.ListSubGalleryStyles([&](const std::string& n) { names.push_back(n); });
    ASSERT_EQ(names.size(), 15u);
    EXPECT_EQ(names[1], "Rectangle");
    EXPECT_EQ(names[14], "Hollow");
    s.ApplySubGalleryStyle(&s, 5);
    EXPECT_EQ(s.ShapeStyle(), chasInvertTriangle);
    s.ApplySubGalleryStyle(&s, 14);
    EXPECT_TRUE(s.Transparent());
    s.SetText({"a", "b"});
    s.SetXYStyle(xysPixels);
    TChartShape copy;
    copy.AssignSeries(s);
    EXPECT_EQ(copy.ShapeStyle(), chasInvertTriangle);
    EXPECT_EQ(copy.Text(), s.Text());
    EXPECT_TRUE(copy.Transparent());
    EXPECT_FALSE(copy.UsesAxes());
    EXPECT_TRUE(copy.CanCopyFrom(&s));
    TChartSeries other;
    EXPECT_FALSE(copy.CanCopyFrom(&other));
}
