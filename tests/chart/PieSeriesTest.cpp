// Pie series: angles, the other slice, explode, donut, multi-pie grids, the
// 3D view switch, marks and the slice hit test.
#include "ChartTestSupport.h"

#include "chart/core/PlotGeometry.h"
#include "chart/series/pie/PieSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace cb::chart;
using charttest::TestChart;

namespace {

constexpr double pi = std::numbers::pi;
const TColor palette[] = {clRed, clBlue, clGreen, clYellow, RGBColor(255, 0, 255), RGBColor(0, 255, 255)};

TPieSeries* AddPie(TestChart& t, const std::vector<double>& values, bool marks = false) {
    auto* s = t.chart.CreateSeries<TPieSeries>();
    s->Marks().SetVisible(marks);
    for (std::size_t i = 0; i < values.size(); ++i) s->AddValue(values[i], "P" + std::to_string(i), palette[i % 6]);
    return s;
}

// The pixel half way out along the angle a (radians, rotation included).
TColor AtAngle(TestChart& t, TPieSeries* s, double a, double f = 0.6) {
    return t.At(s->CircleXCenter() + int(std::cos(a) * s->XRadius() * f),
                s->CircleYCenter() - int(std::sin(a) * s->YRadius() * f));
}

TEST(PieSeries, SliceAnglesFollowValueShares) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {50, 25, 15, 10});
    t.Draw();
    t.Save("/tmp/chartseries_pie.png");
    ASSERT_EQ(s->Angles().size(), 4u);
    const double shares[] = {0.5, 0.25, 0.15, 0.10};
    double start = 0;
    for (int i = 0; i < 4; ++i) {
        const TPieAngle& a = s->Angles()[std::size_t(i)];
        EXPECT_NEAR(a.Start, start, 1e-9);
        EXPECT_NEAR(a.End - a.Start, shares[i] * 2 * pi, 1e-9) << i;
        start = a.End;
        EXPECT_EQ(AtAngle(t, s, a.Mid), palette[i]) << i;
    }
    // Slices run counter-clockwise from the right: the top is in slice 0.
    EXPECT_EQ(AtAngle(t, s, pi / 2), clRed);
    EXPECT_EQ(AtAngle(t, s, 1.05 * pi), clBlue);
    // Outside the circle nothing is painted.
    EXPECT_NE(t.At(s->CircleXCenter() + s->XRadius() + 3, s->CircleYCenter()), clRed);
    // The hit test gives the slice under the pixel.
    for (int i = 0; i < 4; ++i) {
        const double a = s->Angles()[std::size_t(i)].Mid;
        EXPECT_EQ(
            s->PointAtPixel(s->CircleXCenter() + int(std::cos(a) * 40), s->CircleYCenter() - int(std::sin(a) * 40)), i);
    }
}

TEST(PieSeries, NegativeValuesGiveSlicesOfTheirMagnitude) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {-30, 10});
    t.Draw();
    EXPECT_NEAR(s->Angles()[0].End, 1.5 * pi, 1e-9);
    EXPECT_EQ(AtAngle(t, s, s->Angles()[0].Mid), clRed);
}

TEST(PieSeries, AllZeroPieDrawsNoSliceAndNoMarks) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {0, 0, 0}, true);
    t.Draw();
    t.Save("/tmp/chartseries_pie_zero.png");
    for (TColor c : {clRed, clBlue, clGreen}) EXPECT_EQ(t.Count(c), 0);
    // No mark boxes either ("100 %" or the labels).
    EXPECT_EQ(t.Count(clBlack, {s->CircleRect().Left - 40, 0, s->CircleRect().Right + 40, 300}), 0);
    EXPECT_EQ(s->PointAtPixel(s->CircleXCenter() + 20, s->CircleYCenter()), -1);
    // A single zero point is no full ellipse either.
    TestChart one(300, 300);
    AddPie(one, {0});
    one.Draw();
    EXPECT_EQ(one.Count(clRed), 0);
}

TEST(PieSeries, SinglePointIsAFullEllipse) {
    for (bool is3D : {false, true}) {
        TestChart t(300, 300, is3D);
        auto* s = AddPie(t, {7});
        t.Draw();
        const double area = pi * s->XRadius() * s->YRadius();
        EXPECT_GT(t.Count(clRed) + t.Count(DarkenColor(clRed, 32)), (is3D ? 0.6 : 0.9) * area) << is3D;
    }
}

TEST(PieSeries, OtherSliceGroupsSmallPoints) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {50, 40, 6, 3, 1});
    s->OtherSlice().SetStyle(poBelowPercent);
    s->OtherSlice().SetValue(5);
    for (int paint = 0; paint < 2; ++paint) {
        t.Draw();
        ASSERT_EQ(s->PointCount(), 6) << paint;  // rebuilt, never grows
        EXPECT_TRUE(s->IsGrouped(3));
        EXPECT_TRUE(s->IsGrouped(4));
        EXPECT_FALSE(s->IsGrouped(2));
        EXPECT_TRUE(s->IsOtherPoint(5));
        EXPECT_EQ(s->YValues().Value(5), 4);
        EXPECT_EQ(s->PointLabel(5), "Other");
    }
    EXPECT_EQ(s->YValues().SumOfMagnitudes(), 100);
    EXPECT_EQ(s->LegendItemCount(), 4);
    EXPECT_EQ(s->ValueIndexOfLegendItem(3), 5);
    s->SetOtherLegendInUse(true);
    EXPECT_EQ(s->LegendItemCount(), 2);
    EXPECT_EQ(s->ValueIndexOfLegendItem(1), 4);
    s->SetOtherLegendInUse(false);
    // The other slice covers 4 % of the pie, at its end.
    const TPieAngle& other = s->Angles()[5];
    EXPECT_NEAR(other.End - other.Start, 0.04 * 2 * pi, 1e-9);
    EXPECT_NEAR(other.End, 2 * pi, 1e-12);

    // Below a value: the limit itself stays a slice of its own.
    TestChart v(300, 300);
    auto* w = AddPie(v, {6, 5, 20});
    w->OtherSlice().SetStyle(poBelowValue);
    w->OtherSlice().SetValue(6);
    v.Draw();
    EXPECT_FALSE(w->IsGrouped(0));
    EXPECT_TRUE(w->IsGrouped(1));
    EXPECT_EQ(w->PointCount(), 4);
}

TEST(PieSeries, RotationIsStoredModulo360) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {1, 1, 1, 1});
    s->SetRotationAngle(370);
    EXPECT_EQ(s->RotationAngle(), 10);
    s->SetRotationAngle(-30);
    EXPECT_EQ(s->RotationAngle(), -30);
    s->SetRotationAngle(90);
    t.Draw();
    // Slice 0 now covers 90..180 degrees: the upper left quarter.
    EXPECT_EQ(AtAngle(t, s, 0.75 * pi), clRed);
    EXPECT_EQ(AtAngle(t, s, 0.25 * pi), palette[3]);
}

TEST(PieSeries, HalfPieAndDonut) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {1, 1});
    s->SetAngleSize(180);
    t.Draw();
    EXPECT_EQ(AtAngle(t, s, 0.25 * pi), clRed);
    EXPECT_EQ(AtAngle(t, s, 0.75 * pi), clBlue);
    EXPECT_EQ(t.Count(clRed, {0, s->CircleYCenter() + 3, 300, 300}), 0);
    s->SetAngleSize(360);
    s->SetDonutHolePercent(40);
    t.Draw();
    t.Save("/tmp/chartseries_donut.png");
    EXPECT_EQ(AtAngle(t, s, 0.5 * pi, 0.2), t.At(2, 2));  // the hole shows the background
    EXPECT_EQ(AtAngle(t, s, 0.5 * pi, 0.7), clRed);
    EXPECT_EQ(AtAngle(t, s, 1.5 * pi, 0.7), clBlue);
}

TEST(PieSeries, ExplodeBiggestShrinksThePieToKeepTheSliceInside) {
    TestChart t(300, 300);
    auto* s = AddPie(t, {10, 60, 30});
    t.Draw();
    const int full = s->XRadius();
    s->SetExplodeBiggest(30);
    EXPECT_EQ(s->ExplodedSlice().GetValue(1), 30);
    t.Draw();
    t.Save("/tmp/chartseries_pie_exploded.png");
    EXPECT_LT(s->XRadius(), full);
    int dx, dy;
    s->ExplodeOffset(1, dx, dy);
    EXPECT_NE(dx, 0);
    // The slice moved out along its middle: the pixel just outside its tip is background.
    EXPECT_NE(t.At(s->CircleXCenter() + dx / 3, s->CircleYCenter() - dy / 3), clBlue);
    // A click in the gap next to the exploded slice still counts for it.
    const double a = s->Angles()[1].Mid;
    const int gx = s->CircleXCenter() + int(std::cos(a) * 3), gy = s->CircleYCenter() - int(std::sin(a) * 3);
    EXPECT_EQ(s->PointAtPixel(gx, gy), 1);
}

TEST(PieSeries, MultiPieGrid) {
    struct Case {
        int pies, cols, rows;
    };
    for (const Case c : {Case{2, 1, 2}, {3, 2, 2}, {4, 2, 2}, {5, 2, 3}, {6, 2, 3}, {9, 3, 4}, {10, 3, 4}}) {
        TestChart t(600, 600);
        std::vector<TPieSeries*> pies;
        for (int k = 0; k < c.pies; ++k) pies.push_back(AddPie(t, {1, 2}));
        t.Draw();
        const TRect r = t.chart.ChartRect();
        const int w = r.Width() / c.cols, h = r.Height() / c.rows;
        for (int k = 0; k < c.pies; ++k) {
            const TRect& circle = pies[std::size_t(k)]->CircleRect();
            EXPECT_GE(circle.Left, r.Left + (k % c.cols) * w) << c.pies << " pie " << k;
            EXPECT_LE(circle.Right, r.Left + (k % c.cols + 1) * w) << c.pies << " pie " << k;
            EXPECT_GE(circle.Top, r.Top + (k / c.cols) * h) << c.pies << " pie " << k;
            EXPECT_LE(circle.Bottom, r.Top + (k / c.cols + 1) * h) << c.pies << " pie " << k;
        }
    }
}

TEST(PieSeries, ThreeDViewIsSavedAndRestored) {
    TestChart t(300, 300, true);
    TView3DOptions& v = t.chart.View3DOptions();
    v.SetOrthogonal(true);
    v.SetElevation(345);
    auto* s = AddPie(t, {1, 2});
    EXPECT_FALSE(v.Orthogonal());
    EXPECT_EQ(v.Elevation(), 315);
    EXPECT_EQ(v.Rotation(), 360);
    v.SetElevation(300);  // replaced by the saved view when the pie goes
    s->SetActive(false);
    EXPECT_TRUE(v.Orthogonal());
    EXPECT_EQ(v.Elevation(), 345);
    s->SetActive(true);
    EXPECT_EQ(v.Elevation(), 315);
    t.chart.RemoveSeries(s);
    std::unique_ptr<TChartSeries> removed(s);
    EXPECT_TRUE(v.Orthogonal());
    EXPECT_EQ(v.Elevation(), 345);
}

TEST(PieSeries, SliceHeightsAndThreeDSlices) {
    TestChart t(300, 300, true);
    auto* s = AddPie(t, {1, 1, 1});
    s->SliceHeight().SetValue(0, 50);
    t.Draw();
    t.Save("/tmp/chartseries_pie3d.png");
    const int z0 = s->StartZ(), z1 = s->EndZ();
    ASSERT_GT(z1, z0);
    EXPECT_EQ(s->SliceTopZ(0), z0 + Round((z1 - z0) * 0.5));
    EXPECT_EQ(s->SliceTopZ(2), z1);  // beyond the list: full depth
    EXPECT_GT(t.Count(clRed), 100);
    EXPECT_GT(t.Count(clBlue), 100);
}

TEST(PieSeries, MarksHangOutsideOnTheirSide) {
    TestChart t(400, 300);
    auto* s = AddPie(t, {1, 1, 1, 1}, true);
    s->SetRotationAngle(45);
    std::vector<TSeriesMarkPosition> seen;
    s->Marks().SetVisible(true);
    t.Draw();
    t.Save("/tmp/chartseries_pie_marks.png");
    for (int i = 0; i < 4; ++i) {
        TSeriesMarkPosition* p = s->Marks().Positions().PositionAt(i);
        ASSERT_NE(p, nullptr) << i;
        const bool right = p->ArrowTo.X > s->CircleXCenter();
        const bool below = p->ArrowTo.Y > s->CircleYCenter();
        EXPECT_EQ(p->LeftTop.X, right ? p->ArrowTo.X : p->ArrowTo.X - p->Width) << i;
        if (!p->Custom) {
            EXPECT_EQ(p->LeftTop.Y >= p->ArrowTo.Y, below) << i;
        }
    }
}

TEST(PieSeries, DeleteAndSwapKeepSliceListsInStep) {
    TestChart t;
    auto* s = AddPie(t, {1, 2, 3});
    s->ExplodedSlice().SetValue(2, 20);
    s->SwapPoints(0, 2);
    EXPECT_EQ(s->ExplodedSlice().GetValue(0), 20);
    s->DeletePoint(0);
    EXPECT_EQ(s->ExplodedSlice().GetValue(0), 0);
    EXPECT_EQ(s->ExplodedSlice().GetValue(5), 0);
    s->RemoveAllPoints();
    EXPECT_TRUE(s->ExplodedSlice().Empty());
}

}  // namespace
