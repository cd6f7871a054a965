// Pyramid and fast line series.
#include "ChartTestSupport.h"

#include "chart/axis/ChartAxis.h"
#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cb::chart;
using charttest::TestChart;

namespace {

const TColor palette[] = {clRed, clBlue, clGreen, clYellow};

TPyramidSeries* AddPyramid(TestChart& t, const std::vector<double>& values) {
    auto* s = t.chart.CreateSeries<TPyramidSeries>();
    s->Marks().SetVisible(false);
    s->Pen().Hide();
    for (std::size_t i = 0; i < values.size(); ++i) s->AddValue(values[i], std::nullopt, palette[i % 4]);
    return s;
}

// Width of the run of colour c along row y.
int RunWidth(TestChart& t, int y, TColor c) {
    int n = 0;
    for (int x = 0; x < t.bitmap->Width(); ++x)
        if (t.At(x, y) == c) ++n;
    return n;
}

TEST(PyramidSeries, SlicesNarrowLinearlyToTheApex) {
    // 10, 20, 70 with SizePercent 100: widths 400, 360, 280 and 0 at the
    // slice boundaries for a 400-pixel axis.
    TestChart t(500, 400);
    auto* s = AddPyramid(t, {10, 20, 70});
    s->SetSizePercent(100);
    t.Draw();
    t.Save("/tmp/chartseries_pyramid.png");
    EXPECT_EQ(s->HighestY(), 100);
    EXPECT_EQ(s->LowestY(), 0);
    EXPECT_EQ(s->HighestX(), 0);
    TChartAxis& left = t.chart.LeftAxis();
    const double L = t.chart.BottomAxis().PixelSize();
    struct Probe {
        double value;  // value at the middle of a slice
        TColor colour;
    };
    for (const Probe p : {Probe{5, clRed}, {20, clBlue}, {65, clGreen}}) {
        const int y = left.PixelOfValue(p.value);
        const double expected = L * (100 - p.value) / 100;
        EXPECT_NEAR(RunWidth(t, y, p.colour), expected, 3) << p.value;
    }
}

TEST(PyramidSeries, GuardsAndSigns) {
    // Zero total: nothing drawn, nothing raised.
    TestChart zero(300, 300);
    AddPyramid(zero, {0, 0});
    zero.Draw();
    EXPECT_EQ(zero.Count(clRed) + zero.Count(clBlue), 0);
    // Values that cancel out: slices by magnitude, inside the axis.
    TestChart mixed(300, 300);
    auto* s = AddPyramid(mixed, {30, -10, 20});
    mixed.Draw();
    mixed.Save("/tmp/chartseries_pyramid_mixed.png");
    EXPECT_EQ(s->HighestY(), 60);
    const TRect r = mixed.chart.ChartRect();
    for (TColor c : {clRed, clBlue, clGreen}) {
        EXPECT_GT(mixed.Count(c, r), 50);
        EXPECT_EQ(mixed.Count(c) - mixed.Count(c, {r.Left, r.Top, r.Right, r.Bottom + 1}), 0);
    }
    // A null point draws nothing but still counts below the slices above it.
    TestChart nulls(300, 300);
    auto* n = AddPyramid(nulls, {10, 10, 10});
    n->SetPointColor(1, clNone);
    nulls.Draw();
    EXPECT_EQ(nulls.Count(clBlue), 0);
    EXPECT_EQ(n->SumBelow(2), 20);
}

TEST(PyramidSeries, ThreeDSlicesAreFrustums) {
    TestChart t(400, 400, true);
    auto* s = AddPyramid(t, {10, 20, 70});
    s->SetSizePercent(80);
    t.Draw();
    t.Save("/tmp/chartseries_pyramid3d.png");
    // Every slice shows, the widest at the bottom.
    TChartAxis& left = t.chart.LeftAxis();
    const int red = RunWidth(t, left.PixelOfValue(5), clRed);
    const int green = RunWidth(t, left.PixelOfValue(60), clGreen);
    EXPECT_GT(red, green);
    EXPECT_GT(green, 0);
    EXPECT_GT(t.Count(clBlue), 100);
}

TEST(PyramidSeries, SecondPyramidStandsBesideTheFirst) {
    TestChart t(500, 300);
    auto* a = AddPyramid(t, {1, 2});
    auto* b = AddPyramid(t, {3});
    t.Draw();
    EXPECT_EQ(b->LowestX(), 1);
    EXPECT_GT(b->ScreenX(0), a->ScreenX(0));
    t.chart.LeftAxis().SetInverted(true);
    EXPECT_FALSE(a->DrawsAscending());
}

TFastLineSeries* AddFast(TestChart& t, const std::vector<double>& values) {
    auto* s = t.chart.CreateSeries<TFastLineSeries>();
    s->Marks().SetVisible(false);
    s->SetSeriesColor(clRed);
    for (double v : values) s->AddValue(v);
    return s;
}

TEST(FastLineSeries, DrawsOnePolylineInItsPenColour) {
    TestChart t;
    auto* s = AddFast(t, {10, 30, 20, 40});
    EXPECT_EQ(s->LinePen().Color(), clRed);
    t.Draw();
    for (int i = 1; i < 3; ++i) EXPECT_EQ(t.At(s->ScreenX(i), s->ScreenY(i)), clRed);
    // Clicks: exactly on a point, on a segment, one pixel beside it.
    EXPECT_EQ(s->PointAtPixel(s->ScreenX(2), s->ScreenY(2)), 2);
    TestChart flat;
    auto* f = AddFast(flat, {5, 5, 5});
    flat.Draw();
    const int mx = (f->ScreenX(0) + f->ScreenX(1)) / 2;
    EXPECT_EQ(f->PointAtPixel(mx, f->ScreenY(0)), 0);
    EXPECT_EQ(f->PointAtPixel(mx, f->ScreenY(0) + 1), -1);
    // Pen width 3 widens every margin by 3.
    f->LinePen().SetWidth(3);
    int l = 0, r = 0;
    f->HorizontalMargins(l, r);
    EXPECT_EQ(l, 3);
    f->LinePen().SetWidth(6);
    l = r = 0;
    f->HorizontalMargins(l, r);
    EXPECT_EQ(r, 4);
}

TEST(FastLineSeries, NullsStairsAndColumns) {
    TestChart t;
    auto* s = AddFast(t, {10, 20, 30, 20});
    s->SetPointColor(2, clNone);
    s->SetIgnoreNulls(false);
    t.Draw();
    const int gap = (s->ScreenX(1) + s->ScreenX(2)) / 2;
    const int y12 = (s->ScreenY(1) + s->ScreenY(2)) / 2;
    EXPECT_NE(t.At(gap, y12), clRed);
    s->SetIgnoreNulls(true);
    t.Draw();
    EXPECT_EQ(t.Count(clRed, {gap - 1, y12 - 2, gap + 2, y12 + 3}) > 0, true);

    // Stairs go along first, then up; inverted the other way round.
    for (bool inverted : {false, true}) {
        TestChart st;
        auto* f = AddFast(st, {10, 30, 20});
        f->SetStairs(true);
        f->SetInvertedStairs(inverted);
        st.Draw();
        const int mx = (f->ScreenX(0) + f->ScreenX(1)) / 2;
        EXPECT_EQ(st.At(mx, f->ScreenY(0)) == clRed, !inverted);
        EXPECT_EQ(st.At(mx, f->ScreenY(1)) == clRed, inverted);
    }
}

TEST(FastLineSeries, OneSegmentPerColumnWithoutDrawAllPoints) {
    // Two points per column: a spike inside a column disappears.
    TestChart t(300, 200);
    std::vector<double> v;
    for (int i = 0; i < 2000; ++i) v.push_back(i % 2 ? 10 : 12);
    v[1001] = 100;
    auto* s = AddFast(t, v);
    s->SetDrawAllPoints(false);
    t.Draw();
    const int top = t.chart.LeftAxis().PixelOfValue(90);
    EXPECT_EQ(t.Count(clRed, {0, 0, 300, top}), 0);
    s->SetDrawAllPoints(true);
    t.Draw();
    EXPECT_GT(t.Count(clRed, {0, 0, 300, top}), 0);
}

TEST(FastLineSeries, AddingWithoutAutoRepaintDrawsOneSegment) {
    TestChart t;
    auto* s = AddFast(t, {10, 20, 10, 20});
    t.Draw();
    int added = 0;
    s->OnAfterAdd = [&](TChartSeries*, int) { ++added; };
    s->SetAutoRepaint(false);
    s->AddValue(15);
    EXPECT_EQ(added, 0);
    s->SetAutoRepaint(true);
    s->AddValue(15);
    EXPECT_EQ(added, 1);
}

}  // namespace
