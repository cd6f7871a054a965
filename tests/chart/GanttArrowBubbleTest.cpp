// Gantt, arrow and bubble series: bars and connecting lines, next-task
// indexes that follow their tasks, arrow heads, bubble radii on both axes.
#include "ChartTestSupport.h"

#include "chart/axis/ChartAxis.h"
#include "chart/series/arrow/ArrowSeries.h"
#include "chart/series/bubble/BubbleSeries.h"
#include "chart/series/gantt/GanttSeries.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cb::chart;
using charttest::TestChart;

namespace {

void FixAxes(TestChart& t, double x0, double x1, double y0, double y1) {
    t.chart.BottomAxis().SetManualRange(x0, x1);
    t.chart.LeftAxis().SetManualRange(y0, y1);
}

std::vector<int> NextTasks(TGanttSeries& g) {
    std::vector<int> v;
    for (int i = 0; i < g.PointCount(); ++i) v.push_back(int(g.NextTask().Value(i)));
    return v;
}

// Two tasks on rows 1 and 3, the first joined to the second by a green line.
TGanttSeries* TwoTasks(TestChart& t) {
    FixAxes(t, 0, 100, 0, 4);
    auto* g = t.chart.CreateSeries<TGanttSeries>();
    g->Pointer().Pen().Hide();
    g->ConnectingPen().SetColor(clGreen);
    g->AddTask(10, 40, 1, std::nullopt, clRed);
    g->AddTask(60, 90, 3, std::nullopt, clBlue);
    g->NextTask().SetValue(0, 1);
    return g;
}

}  // namespace

TEST(GanttSeries, BarsRunFromStartToEndAndJoinTheNextTask) {
    TestChart t(400, 300);
    auto* g = TwoTasks(t);
    t.Draw();
    t.Save("/tmp/chartseries_gantt.png");
    TChartAxis& h = t.chart.BottomAxis();
    TChartAxis& v = t.chart.LeftAxis();
    const int y0 = v.PixelOfValue(1), y1 = v.PixelOfValue(3);
    EXPECT_EQ(t.At(h.PixelOfValue(12), y0), clRed);
    EXPECT_EQ(t.At(h.PixelOfValue(38), y0), clRed);
    EXPECT_NE(t.At(h.PixelOfValue(45), y0), clRed);
    EXPECT_EQ(t.At(h.PixelOfValue(75), y1), clBlue);
    // The line leaves the end of the bar, turns half way and ends at the start.
    const int m = h.PixelOfValue(40) + (h.PixelOfValue(60) - h.PixelOfValue(40)) / 2;
    EXPECT_EQ(t.At(m - 5, y0), clGreen);
    EXPECT_EQ(t.At(m, (y0 + y1) / 2), clGreen);
    EXPECT_EQ(t.At(m + 5, y1), clGreen);
    EXPECT_EQ(g->HighestX(), 90);  // the latest end, not the latest start
}

TEST(GanttSeries, NoConnectingLineWithoutAValidNextTask) {
    struct Case {
        const char* name;
        int next;
        bool penVisible, pointerVisible;
        bool line, bars;
    };
    const Case cases[] = {
        {"joined", 1, true, true, true, true},        {"none", -1, true, true, false, true},
        {"past the end", 2, true, true, false, true}, {"pen hidden", 1, false, true, false, true},
        {"pointer hidden", 1, true, false, false, false},
    };
    for (const Case& k : cases) {
        TestChart t(400, 300);
        auto* g = TwoTasks(t);
        g->NextTask().SetValue(0, k.next);
        g->ConnectingPen().SetVisible(k.penVisible);
        g->Pointer().SetVisible(k.pointerVisible);
        t.Draw();
        EXPECT_EQ(t.Count(clGreen) > 0, k.line) << k.name;
        EXPECT_EQ(t.Count(clRed) > 0, k.bars) << k.name;
    }
}

TEST(GanttSeries, HitTestReachesTheEndPixelButNotVertSizeAbove) {
    TestChart t(400, 300);
    auto* g = TwoTasks(t);
    t.Draw();
    const int end = t.chart.BottomAxis().PixelOfValue(40), y = t.chart.LeftAxis().PixelOfValue(1);
    EXPECT_EQ(g->PointAtPixel(end, y), 0);
    EXPECT_EQ(g->PointAtPixel(end + 1, y), -1);
    EXPECT_EQ(g->PointAtPixel(end - 3, y - g->Pointer().VertSize() + 1), 0);
    EXPECT_EQ(g->PointAtPixel(end - 3, y - g->Pointer().VertSize()), -1);
}

TEST(GanttSeries, NextTaskIndexesFollowTheirTasks) {
    TGanttSeries g;
    g.AddTask(0, 5, 0);   // A
    g.AddTask(10, 15, 1); // B
    g.AddTask(20, 25, 2); // C
    g.NextTask().SetValue(0, 2);  // A -> C
    g.NextTask().SetValue(1, 2);  // B -> C
    EXPECT_EQ(g.AddPoint(30, 3), 3);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{2, 2, -1, -1}));
    // A task inserted before C by its start moves C one place on.
    EXPECT_EQ(g.AddTask(12, 14, 4), 2);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{3, 3, -1, -1, -1}));
    // Deleting B leaves A pointing at C; deleting C leaves A without one.
    g.DeletePoint(1);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{2, -1, -1, -1}));
    g.DeletePoint(2);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{-1, -1, -1}));
    // Swapping (as a sort does) keeps the link with its task.
    g.NextTask().SetValue(0, 2);
    g.SwapPoints(0, 2);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{-1, -1, 0}));
    g.DeletePoints(0, 2);
    EXPECT_EQ(NextTasks(g), (std::vector<int>{-1}));
}

TEST(ArrowSeries, OutlinedHeadsIn2DAndExtremesOfBothEnds) {
    TestChart t(400, 300);
    FixAxes(t, 0, 100, 0, 100);
    auto* a = t.chart.CreateSeries<TArrowSeries>();
    a->SetArrowWidth(20);
    a->SetArrowHeight(20);
    a->Pointer().Pen().SetWidth(1);
    a->AddArrowPoint(10, 50, 90, 50, std::nullopt, clRed);
    a->AddArrowPoint(40, 20, 40, 20, std::nullopt, clBlue);  // no length: nothing
    t.Draw();
    t.Save("/tmp/chartseries_arrow.png");
    const int y = t.chart.LeftAxis().PixelOfValue(50);
    const int tip = t.chart.BottomAxis().PixelOfValue(90);
    EXPECT_EQ(t.At(tip - 40, y), clRed);          // the shaft
    EXPECT_NE(t.At(tip - 10, y - 5), clRed);      // inside the head: an outline in 2D
    EXPECT_GT(t.Count(clRed, {tip - 22, y - 12, tip + 2, y + 12}), 20);
    EXPECT_EQ(t.Count(clBlue), 0);
    EXPECT_EQ(a->HighestX(), 90);
    EXPECT_EQ(a->LowestY(), 20);
    TArrowSeries b;
    b.AddArrowPoint(5, 5, -3, 40);
    EXPECT_EQ(b.LowestX(), -3);
    EXPECT_EQ(b.HighestY(), 40);
    EXPECT_TRUE(b.EndXValues().DateTime());
}

TEST(ArrowSeries, FilledHeadsIn3D) {
    TestChart t(400, 300, true);
    FixAxes(t, 0, 100, 0, 100);
    t.chart.View3DOptions().SetOrthogonal(true);
    auto* a = t.chart.CreateSeries<TArrowSeries>();
    a->SetArrowWidth(20);
    a->SetArrowHeight(20);
    a->AddArrowPoint(10, 50, 90, 50, std::nullopt, clRed);
    t.Draw();
    EXPECT_GT(t.Count(clRed), 150);
}

TEST(BubbleSeries, RadiiInAxisUnitsOnBothAxes) {
    // Vertical axis 0..100 over about twice the pixels of the horizontal 0..200.
    for (bool squared : {true, false}) {
        TestChart t(400, 400);
        FixAxes(t, 0, 200, 0, 100);
        auto* b = t.chart.CreateSeries<TBubbleSeries>();
        b->Pointer().Pen().Hide();
        b->SetSquared(squared);
        b->AddBubblePoint(100, 50, 20, std::nullopt, clRed);
        t.Draw();
        t.Save(squared ? "/tmp/chartseries_bubble_squared.png" : "/tmp/chartseries_bubble.png");
        const int vr = t.chart.LeftAxis().PixelSpanOfValue(20);
        const int hr = t.chart.BottomAxis().PixelSpanOfValue(20);
        int w = 0, h = 0;
        const int cx = t.chart.BottomAxis().PixelOfValue(100), cy = t.chart.LeftAxis().PixelOfValue(50);
        for (int x = 0; x < 400; ++x) w += t.At(x, cy) == clRed;
        for (int y = 0; y < 400; ++y) h += t.At(cx, y) == clRed;
        EXPECT_NEAR(h, 2 * vr, 3) << squared;
        EXPECT_NEAR(w, 2 * (squared ? vr : hr), 3) << squared;
    }
}

TEST(BubbleSeries, VerticalExtremesIncludeEveryBubble) {
    TBubbleSeries b;
    b.AddBubblePoint(1, 10, 4);
    b.AddBubblePoint(2, 50, 30);
    b.AddBubblePoint(3, 30, 1);
    EXPECT_EQ(b.HighestY(), 80);
    EXPECT_EQ(b.LowestY(), 6);
    EXPECT_EQ(b.HighestZ(), 30);
    EXPECT_EQ(b.LowestZ(), -30);
    TBubbleSeries other;
    other.SetSquared(false);
    b.AssignSeries(other);
    EXPECT_FALSE(b.Squared());
    TArrowSeries arrow;
    EXPECT_FALSE(b.CanCopyFrom(&arrow));
    EXPECT_TRUE(b.CanCopyFrom(&other));
}
