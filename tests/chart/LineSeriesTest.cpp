// Line, area and point series: positions, stacking, drawing, pointers and
// the hit test.
#include "ChartTestSupport.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/line/PointSeries.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace cb::chart;
using charttest::TestChart;

namespace {

template <class T = TLineSeries>
T* AddSeries(TestChart& t, const std::vector<double>& values, TColor color = clRed) {
    auto* s = t.chart.CreateSeries<T>();
    s->SetSeriesColor(color);
    s->Marks().SetVisible(false);
    for (double v : values) s->AddValue(v);
    return s;
}

TEST(LineSeries, LinePointsSitAtTheirValues) {
    TestChart t;
    auto* s = AddSeries(t, {10, 30, 20, 40});
    s->LinePen().SetWidth(3);
    t.Draw();
    t.Save("/tmp/chartseries_line.png");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s->ScreenX(i), t.chart.BottomAxis().PixelOfValue(i));
        EXPECT_EQ(s->ScreenY(i), t.chart.LeftAxis().PixelOfValue(s->YValues().Value(i)));
    }
    // Inner points (the first and last lie on the axes).
    for (int i = 1; i < 3; ++i) EXPECT_EQ(t.At(s->ScreenX(i), s->ScreenY(i)), clRed) << i;
    // The middle of each segment is on the line; far above it is not.
    const int mx = (s->ScreenX(0) + s->ScreenX(1)) / 2, my = (s->ScreenY(0) + s->ScreenY(1)) / 2;
    EXPECT_EQ(t.At(mx, my), clRed);
    EXPECT_NE(t.At(mx, my - 20), clRed);
}

TEST(LineSeries, StairsStepAtTheCurrentOrThePreviousPoint) {
    for (bool inverted : {false, true}) {
        TestChart t;
        auto* s = AddSeries(t, {10, 30});
        s->SetStairs(true);
        s->SetInvertedStairs(inverted);
        t.Draw();
        const int x0 = s->ScreenX(0), y0 = s->ScreenY(0), x1 = s->ScreenX(1), y1 = s->ScreenY(1);
        const int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
        // Normal: along y0 to x1, then up; inverted: up at x0, then along y1.
        EXPECT_EQ(t.At(mx, y0) == clRed, !inverted) << inverted;
        EXPECT_EQ(t.At(x1, my) == clRed, !inverted) << inverted;
        EXPECT_EQ(t.At(x0, my) == clRed, inverted) << inverted;
        EXPECT_EQ(t.At(mx, y1) == clRed, inverted) << inverted;
        EXPECT_EQ(s->PointAtPixel(mx, inverted ? y1 : y0), 0);
    }
}

TEST(LineSeries, ZoomedLineEntersFromTheChartEdgeAtItsHeightThere) {
    TestChart t;
    auto* s = AddSeries(t, {0, 10, 20, 30, 40});
    t.chart.BottomAxis().SetManualRange(1.5, 4);
    t.chart.LeftAxis().SetManualRange(0, 40);
    t.Draw();
    ASSERT_EQ(s->FirstVisible(), 2);
    const TRect& r = t.chart.ChartRect();
    const int y = t.chart.LeftAxis().PixelOfValue(15);  // the line's height at x = 1.5
    EXPECT_GT(t.Count(clRed, {r.Left + 1, y - 2, r.Left + 3, y + 3}), 0);
    // Nothing left of the chart rectangle.
    EXPECT_EQ(t.Count(clRed, {0, 0, r.Left - 1, 300}), 0);
}

TEST(LineSeries, NullPointBreaksTheLine) {
    TestChart t;
    auto* s = AddSeries(t, {10, 20});
    s->AddNullValue();
    s->AddValue(20);
    s->AddValue(10);
    s->Pointer().Show();
    t.Draw();
    const int y = s->ScreenY(1);
    const int between = (s->ScreenX(1) + s->ScreenX(3)) / 2;
    EXPECT_EQ(t.At((s->ScreenX(0) + s->ScreenX(1)) / 2, (s->ScreenY(0) + s->ScreenY(1)) / 2), clRed);
    // No segment into or out of the null point, and no pointer at it.
    EXPECT_NE(t.At((s->ScreenX(1) + s->ScreenX(2)) / 2 + 8, y), clRed);
    EXPECT_NE(t.At(between, y), clRed);
    EXPECT_EQ(t.Count(clRed, {s->ScreenX(2) - 3, s->ScreenY(2) - 3, s->ScreenX(2) + 4, s->ScreenY(2) + 4}), 0);
}

TEST(LineSeries, StackedSeriesPileUpBySign) {
    // Index 0: 5 then 3; index 1: -2 then 4 (stacks on nothing positive);
    // index 2: -2 then -3 (stacks on -2).
    TestChart t;
    auto* a = AddSeries(t, {5, -2, -2});
    auto* b = AddSeries(t, {3, 4, -3}, clBlue);
    a->SetStacked(cssStack);
    EXPECT_EQ(b->Stacked(), cssStack);
    t.Draw();
    TChartAxis& left = t.chart.LeftAxis();
    const double bases[] = {5, 0, -2};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(b->StackBase(i, false), bases[i]) << i;
        EXPECT_EQ(b->ScreenY(i), std::min(left.PixelOfValue(bases[i] + b->YValues().Value(i)), left.EndPixel()));
        EXPECT_EQ(b->OriginPixel(i), std::min(left.PixelOfValue(bases[i]), left.EndPixel()));
    }
    EXPECT_EQ(b->HighestY(), 8);
    EXPECT_EQ(b->LowestY(), -5);
    EXPECT_LE(left.WorkingMinimum(), -5);
    EXPECT_GE(left.WorkingMaximum(), 8);
}

TEST(LineSeries, HundredPercentStackWithZeroTotalSitsAtTheAxisEnd) {
    TestChart t;
    auto* a = AddSeries<TAreaSeries>(t, {1, 0});
    auto* b = AddSeries<TAreaSeries>(t, {3, 0}, clBlue);
    a->SetMultiArea(maStacked100);
    EXPECT_EQ(b->MultiArea(), maStacked100);
    t.Draw();
    TChartAxis& left = t.chart.LeftAxis();
    EXPECT_EQ(b->HighestY(), 100);
    EXPECT_EQ(a->ScreenY(0), left.PixelOfValue(25));
    EXPECT_EQ(b->ScreenY(0), left.PixelOfValue(100));
    EXPECT_EQ(a->ScreenY(1), left.EndPixel());
    EXPECT_EQ(b->ScreenY(1), left.EndPixel());
}

TEST(LineSeries, HitTestOnPointsSegmentsAndPointers) {
    TestChart t;
    auto* s = AddSeries(t, {10, 20, 15, 30, 5});
    t.Draw();
    EXPECT_EQ(s->PointAtPixel(s->ScreenX(2), s->ScreenY(2)), 2);
    const int mx = (s->ScreenX(3) + s->ScreenX(4)) / 2;
    const int my = s->YToPixel((30 + 5) / 2.0);
    // The exact pixel on the segment: walk the column near the middle.
    int hit = -1;
    for (int y = my - 2; y <= my + 2 && hit < 0; ++y)
        if (s->PointAtPixel(mx, y) == 3) hit = y;
    EXPECT_GE(hit, 0);
    EXPECT_EQ(s->PointAtPixel(mx, my - 40), -1);
    s->Pointer().Show();
    s->SetClickableLine(false);
    int clicked = -1;
    s->OnClickPointer = [&](TCustomSeries*, int i, int, int) { clicked = i; };
    const int px = s->ScreenX(1), py = s->ScreenY(1);
    EXPECT_EQ(s->PointAtPixel(px + 3, py - 3), 1);
    EXPECT_EQ(clicked, 1);
    // |dx| must stay below HorizSize.
    EXPECT_EQ(s->PointAtPixel(px + s->Pointer().HorizSize(), py), -1);
}

TEST(LineSeries, PointerSizesAndMargins) {
    TestChart t;
    auto* s = AddSeries<TPointSeries>(t, {1, 2});
    EXPECT_TRUE(s->Pointer().Visible());
    EXPECT_THROW(s->Pointer().SetHorizSize(0), ChartException);
    EXPECT_THROW(s->Pointer().SetVertSize(-2), ChartException);
    EXPECT_EQ(s->Pointer().HorizSize(), 4);
    EXPECT_EQ(s->Pointer().VertSize(), 4);
    int l = 0, r = 0, top = 0, bottom = 0;
    s->HorizontalMargins(l, r);
    s->VerticalMargins(top, bottom);
    EXPECT_EQ(l, 5);
    EXPECT_EQ(r, 5);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(bottom, 5);
    t.Draw();
    // The axes keep HorizSize + 1 pixels beside the first and last point.
    EXPECT_GE(s->ScreenX(0) - t.chart.ChartRect().Left, 5);
    EXPECT_GE(t.chart.ChartRect().Right - s->ScreenX(1), 5);
}

TEST(LineSeries, PointerFiguresIn2D) {
    charttest::Render r(200, 100);
    TSeriesPointer p(nullptr);
    p.ApplyPenAndBrush(r.canvas, clRed);
    p.DrawShape(r.canvas, false, 100, 50, 4, 4, clRed, psRectangle);
    // Covers 96..104 and 46..54; right and bottom exclusive.
    EXPECT_EQ(r.At(96, 46), clRed);
    EXPECT_EQ(r.At(104, 54), clRed);
    EXPECT_EQ(r.At(100, 50), clRed);
    EXPECT_EQ(r.At(105, 50), clWhite);
    EXPECT_EQ(r.At(100, 55), clWhite);
    EXPECT_EQ(r.At(95, 50), clWhite);
    // A hatched brush in the automatic colour draws black on the point colour.
    p.Brush().SetStyle(cb::gfx::bsCross);
    p.ApplyPenAndBrush(r.canvas, clBlue);
    EXPECT_EQ(r.canvas.Brush().Color(), clBlack);
    p.Brush().SetStyle(cb::gfx::bsSolid);
    p.ApplyPenAndBrush(r.canvas, clGreen);
    p.DrawShape(r.canvas, false, 30, 50, 1, 1, clGreen, psSmallDot);
    EXPECT_EQ(r.At(30, 50), clGreen);
    EXPECT_EQ(r.At(31, 50), clWhite);
    p.DrawShape(r.canvas, false, 160, 50, 6, 6, clGreen, psNothing);
    EXPECT_EQ(r.At(160, 50), clWhite);
}

TEST(LineSeries, PointerIsABoxIn3DAndFlatWithoutDraw3D) {
    TestChart t(400, 300, true);
    t.chart.View3DOptions().SetOrthogonal(true);
    auto* s = AddSeries<TPointSeries>(t, {1, 2, 3});
    s->Pointer().SetHorizSize(6);
    s->Pointer().SetVertSize(6);
    t.Draw();
    t.Save("/tmp/chartseries_points3d.png");
    const int boxed = t.Count(clRed) + t.Count(DarkenColor(clRed, 128)) + t.Count(RGBColor(0x80, 0, 0));
    s->Pointer().SetDraw3D(false);
    t.Draw();
    const int flat = t.Count(clRed);
    EXPECT_GT(flat, 3 * 100);
    EXPECT_GT(boxed, flat);
}

TEST(LineSeries, MarksCalloutDrawsItsArrowAndASquareOrAHead) {
    for (TArrowHeadStyle head : {ahNone, ahSolid}) {
        TestChart t;
        auto* s = AddSeries(t, {10, 30, 20});
        s->LinePen().Hide();
        s->Marks().SetVisible(true);
        TMarksCallout& callout = s->Marks().Callout();
        callout.SetVisible(true);
        callout.SetLength(20);
        callout.Arrow().SetColor(clBlue);
        callout.SetArrowHead(head);
        callout.SetArrowHeadSize(8);
        t.Draw();
        const int x = s->ScreenX(1), y = s->ScreenY(1);
        // The arrow runs up from the point to the mark: a blue line, or
        // a black-filled arrow outlined in blue.
        const TColor shaft = t.At(x, y - 12);
        EXPECT_TRUE(head == ahNone ? shaft == clBlue : shaft == clBlack || shaft == clBlue) << head;
        // A black square around the point without a head; below the point
        // nothing with one.
        EXPECT_EQ(t.At(x - 3, y + 3) == clBlack, head == ahNone) << head;
    }
}

TEST(LineSeries, AreaFillsDownToTheOrigin) {
    TestChart t;
    auto* s = AddSeries<TAreaSeries>(t, {10, 30, 20});
    s->AreaLinesPen().Hide();
    t.Draw();
    t.Save("/tmp/chartseries_area.png");
    const int x = (s->ScreenX(0) + s->ScreenX(1)) / 2;
    const int top = (s->ScreenY(0) + s->ScreenY(1)) / 2;
    EXPECT_EQ(t.At(x, top + 5), clRed);
    EXPECT_EQ(t.At(x, s->OriginPixel(0) - 2), clRed);
    EXPECT_NE(t.At(x, top - 10), clRed);
    // Clicking inside the area returns the segment's first point.
    EXPECT_EQ(s->PointAtPixel(x, (top + s->OriginPixel(0)) / 2), 0);
    // A YOrigin above the values fills from there downwards.
    s->SetUseYOrigin(true);
    s->SetYOrigin(40);
    EXPECT_EQ(s->HighestY(), 40);
    t.Draw();
    t.Save("/tmp/chartseries_area_origin.png");
    const int line = (s->ScreenY(0) + s->ScreenY(1)) / 2;
    EXPECT_EQ(t.At(x, line - 5), clRed);
    EXPECT_NE(t.At(x, line + 10), clRed);
}

TEST(LineSeries, OutlineIsDrawnWideUnderTheLine) {
    TestChart t;
    auto* s = AddSeries(t, {20, 20});
    s->LinePen().SetWidth(3);
    s->OutLine().SetWidth(2);
    s->OutLine().SetColor(clBlue);
    s->OutLine().Show();
    t.Draw();
    const int x = (s->ScreenX(0) + s->ScreenX(1)) / 2, y = s->ScreenY(0);
    EXPECT_EQ(t.At(x, y), clRed);
    // Width 2 * 3 + 2 + 1 = 9: blue runs 4 pixels each side, the red line 1.
    EXPECT_EQ(t.At(x, y - 3), clBlue);
    EXPECT_EQ(t.At(x, y + 3), clBlue);
    EXPECT_NE(t.At(x, y - 6), clBlue);
    // The pen is given back.
    EXPECT_EQ(s->LinePen().Width(), 3);
    EXPECT_EQ(s->LinePen().Color(), clBlack);
}

TEST(LineSeries, SinglePointDrawsOnlyItsPointer) {
    TestChart t;
    auto* s = AddSeries(t, {5});
    t.Draw();
    EXPECT_EQ(t.Count(clRed), 0);
    s->Pointer().Show();
    t.Draw();
    const int x = s->ScreenX(0), y = s->ScreenY(0);
    EXPECT_EQ(t.Count(clRed, {x - 4, y - 4, x + 5, y + 5}), t.Count(clRed));
    EXPECT_GT(t.Count(clRed), 20);
}

TEST(LineSeries, LinesIn3DAreRibbons) {
    TestChart t(400, 300, true);
    auto* s = AddSeries(t, {10, 30, 20});
    t.Draw();
    t.Save("/tmp/chartseries_line3d.png");
    // A ribbon is as wide as the series depth, far more than a line.
    EXPECT_GT(t.Count(clRed) + t.Count(DarkenColor(clRed, 64)), 10 * 100);
    (void)s;
}

TEST(LineSeries, HorizontalLineTakesValuesAlongTheBottomAxis) {
    TestChart t;
    auto* s = AddSeries<THorizLineSeries>(t, {10, 30, 20, 40, 5});
    t.Draw();
    t.Save("/tmp/chartseries_horizline.png");
    EXPECT_FALSE(s->YMandatory());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s->ScreenX(i), t.chart.BottomAxis().PixelOfValue(s->XValues().Value(i)));
        EXPECT_EQ(s->ScreenY(i), t.chart.LeftAxis().PixelOfValue(i));
    }
    for (int i = 1; i < 3; ++i) EXPECT_EQ(t.At(s->ScreenX(i), s->ScreenY(i)), clRed) << i;
}

TEST(LineSeries, GalleryStylesAndAssign) {
    TestChart t;
    auto* line = AddSeries(t, {1, 2});
    std::vector<std::string> styles;
    line->ListSubGalleryStyles([&](const std::string& s) { styles.push_back(s); });
    ASSERT_EQ(styles.size(), 9u);
    EXPECT_EQ(styles[0], "Normal");
    EXPECT_EQ(styles[8], "Outline");
    line->ApplySubGalleryStyle(line, 3);
    EXPECT_EQ(line->LineHeight(), 5);
    auto* points = AddSeries<TPointSeries>(t, {});
    points->AssignSeries(*line);
    EXPECT_TRUE(points->Pointer().Visible());
    EXPECT_FALSE(points->DrawLine());
    EXPECT_FALSE(points->ClickableLine());
    auto* area = AddSeries<TAreaSeries>(t, {});
    area->AssignSeries(*points);
    EXPECT_TRUE(area->DrawArea());
    EXPECT_FALSE(area->Pointer().Visible());
}

}  // namespace
