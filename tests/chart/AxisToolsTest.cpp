// Colour line and band, grid band and axis scroll tools: their lines and
// bands at their values after zoom and undo, drags with the mouse.
#include "ShownLineChart.h"
#include "chart/axis/ChartAxis.h"
#include "chart/component/Chart.h"
#include "chart/series/line/LineSeries.h"
#include "chart/tools/AxisScrollTool.h"
#include "chart/tools/ColorBandTool.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/GridBandTool.h"
#include "platform/gfx/Color.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::chart;

namespace {

// The line chart with points (i * 10, i * 37 % 100) and row and column probes.
struct AxisChart : charttest::ShownLineChart {
    AxisChart() : ShownLineChart({0, 37, 74, 11, 48, 85, 22, 59, 96, 33, 70}) {}
    // Pixels of colour c in column x (or row y) inside the chart rectangle.
    int Column(int x, TColor c) const {
        const TRect& r = const_cast<TChart&>(chart).ChartRect();
        return Count(c, {x, r.Top, x + 1, r.Bottom});
    }
    int Row(int y, TColor c) const {
        const TRect& r = const_cast<TChart&>(chart).ChartRect();
        return Count(c, {r.Left, y, r.Right, y + 1});
    }
    int X(double v) { return chart.BottomAxis().PixelOfValue(v); }
    int Y(double v) { return chart.LeftAxis().PixelOfValue(v); }
};

TColorLineTool* AddLine(AxisChart& t, TChartAxis& axis, double value) {
    auto* l = new TColorLineTool();
    l->SetAxis(&axis);
    l->Pen().SetColor(clRed);
    l->SetValue(value);
    return l;
}

}  // namespace

TEST(ColorLineTool, StaysAtItsValueThroughZoomAndUndo) {
    AxisChart t;
    auto* l = AddLine(t, t.chart.BottomAxis(), 30);
    t.Grab();
    EXPECT_GT(t.Column(t.X(30), clRed), 200);
    // Zoomed to 50..100 the line is outside: drawn at the edge, value kept.
    t.chart.BottomAxis().SetManualRange(50, 100);
    t.Grab();
    EXPECT_EQ(l->Value(), 30);
    EXPECT_EQ(l->DrawnValue(), 50);
    t.chart.BottomAxis().SetManualRange(0, 100);
    t.Grab();
    EXPECT_EQ(l->Value(), 30);
    EXPECT_GT(t.Column(t.X(30), clRed), 200);
    EXPECT_EQ(t.Column(t.X(50), clRed), 0);
}

TEST(ColorLineTool, StylesFollowTheAxisAndDraggingMakesItCustom) {
    AxisChart t;
    auto* l = AddLine(t, t.chart.LeftAxis(), 0);
    l->SetStyle(clMaximum);
    t.chart.LeftAxis().SetManualRange(0, 80);
    EXPECT_EQ(l->EffectiveValue(), 80);
    l->SetStyle(clCenter);
    EXPECT_EQ(l->EffectiveValue(), 40);
    std::vector<std::string> log;
    l->OnBeginDragLine = [&](TColorLineTool*) { log.push_back("begin"); };
    l->OnDragLine = [&](TColorLineTool*) { log.push_back("drag"); };
    l->OnEndDragLine = [&](TColorLineTool*) { log.push_back("end"); };
    t.Grab();
    const int y = t.chart.LeftAxis().PixelOfValue(40);
    const int x = t.X(50);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {x, y + 1});
    QTest::mouseMove(&t.chart, {x, t.chart.LeftAxis().PixelOfValue(60)});
    t.Grab();  // the line moves as an overlay
    EXPECT_GT(t.Row(t.chart.LeftAxis().PixelOfValue(60), clRed), 200);
    EXPECT_EQ(t.Row(y, clRed), 0);
    // Past the axis end it stops at the end value.
    QTest::mouseMove(&t.chart, {x, t.chart.ChartRect().Top - 30});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {x, t.chart.ChartRect().Top - 30});
    EXPECT_EQ(l->Style(), clCustom);
    EXPECT_DOUBLE_EQ(l->Value(), 80);
    EXPECT_EQ(log, (std::vector<std::string>{"begin", "drag", "drag", "end"}));
    EXPECT_FALSE(t.chart.Zoomed());
    // Without limits it goes past.
    l->SetNoLimitDrag(true);
    t.Grab();
    const int top = t.chart.LeftAxis().PixelOfValue(80);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {x, top});
    QTest::mouseMove(&t.chart, {x, top - 20});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {x, top - 20});
    EXPECT_GT(l->Value(), 80);
}

TEST(ColorBandTool, BandBetweenItsValuesInEitherOrder) {
    for (bool reversed : {false, true}) {
        AxisChart t;
        auto* b = new TColorBandTool();
        b->SetAxis(&t.chart.BottomAxis());
        b->Pen().Hide();
        b->SetColor(clRed);
        b->SetStartValue(reversed ? 60 : 20);
        b->SetEndValue(reversed ? 20 : 60);
        t.Grab();
        const int y = t.Y(90);
        EXPECT_EQ(t.At(t.X(40), y), clRed) << reversed;
        EXPECT_EQ(t.At(t.X(22), y), clRed) << reversed;
        EXPECT_NE(t.At(t.X(15), y), clRed) << reversed;
        EXPECT_NE(t.At(t.X(65), y), clRed) << reversed;
        // Drawn behind the series: the series' line crosses it.
        EXPECT_EQ(b->BoundsRect().Left, t.X(20));
    }
}

TEST(ColorBandTool, OutsideTheAxisDrawsNeitherBandNorLines) {
    AxisChart t;
    auto* b = new TColorBandTool();
    b->SetAxis(&t.chart.BottomAxis());
    b->SetColor(clRed);
    b->SetStartValue(120);
    b->SetEndValue(150);
    b->SetResizeStart(true);
    b->StartLinePen().SetColor(clGreen);
    t.Grab();
    EXPECT_EQ(b->BoundsRect().Width(), 0);
    EXPECT_EQ(t.Row(t.Y(50), clRed) + t.Row(t.Y(50), clGreen), 0);
}

TEST(ColorBandTool, DraggingTheStartLineMovesStartValueOnEveryStep) {
    AxisChart t;
    auto* b = new TColorBandTool();
    b->SetAxis(&t.chart.BottomAxis());
    b->SetColor(clRed);
    b->SetStartValue(20);
    b->SetEndValue(60);
    b->SetResizeStart(true);
    b->StartLinePen().SetColor(clGreen);
    t.Grab();
    EXPECT_GT(t.Column(t.X(20), clGreen), 100);
    std::vector<double> seen;
    const int y = t.Y(50);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {t.X(20), y});
    QTest::mouseMove(&t.chart, {t.X(30), y});
    seen.push_back(b->StartValue());
    QTest::mouseMove(&t.chart, {t.X(40), y});
    seen.push_back(b->StartValue());
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {t.X(40), y});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen[0], 30, 0.3);
    EXPECT_NEAR(seen[1], 40, 0.3);
    EXPECT_NEAR(b->StartValue(), 40, 0.3);
    t.Grab();
    // Away from the grid lines: 32 is no longer in the band, 42 is.
    EXPECT_EQ(t.At(t.X(32), t.Y(92)), t.At(t.X(12), t.Y(92)));
    EXPECT_EQ(t.At(t.X(42), t.Y(92)), clRed);
}

TEST(ColorBandTool, BehindTheAxesWheneverAskedAndDepthFromDrawBehind) {
    AxisChart t;
    auto* b = new TColorBandTool();
    b->SetAxis(&t.chart.LeftAxis());
    b->SetColor(clRed);
    b->Pen().Hide();
    b->SetStartValue(40);
    b->SetEndValue(60);
    b->SetDrawBehindAxes(true);
    b->SetDrawBehind(false);
    t.Grab();
    // Drawn before the axes: the dashes of the grid line at 50 show over
    // it, while a row between grid lines is red from side to side.
    const int inside = t.Row(t.Y(47), clRed);
    EXPECT_GT(inside, 450);
    EXPECT_LT(t.Row(t.Y(50), clRed), inside - 100);
}

TEST(GridBandTool, AlternateBandsAndNoneWhenBothAreClear) {
    AxisChart t;
    auto* g = new TGridBandTool();
    g->SetAxis(&t.chart.LeftAxis());
    g->Band1().SetColor(clYellow);
    g->Band2().SetColor(clGreen);
    t.chart.LeftAxis().SetIncrement(20);
    t.Grab();
    const int x = t.X(3);
    EXPECT_EQ(t.At(x, t.Y(10)), t.At(x, t.Y(50)));
    EXPECT_NE(t.At(x, t.Y(10)), t.At(x, t.Y(30)));
    EXPECT_TRUE(t.At(x, t.Y(30)) == clYellow || t.At(x, t.Y(30)) == clGreen);
    g->Band1().SetStyle(cb::gfx::bsClear);
    g->Band2().SetStyle(cb::gfx::bsClear);
    t.Grab();
    EXPECT_EQ(t.Column(x, clYellow) + t.Column(x, clGreen), 0);
    delete g;
    EXPECT_FALSE(t.chart.LeftAxis().GridHook);
}

TEST(AxisScrollTool, DraggingAnAxisMovesTheDataWithTheMouse) {
    AxisChart t;
    t.chart.Tools().AddTool(new TAxisScrollTool());
    t.Grab();
    TChartAxis& bottom = t.chart.BottomAxis();
    const int y = bottom.AxisLinePosition() + 5;
    const int x = t.X(50);
    const int tenth = t.X(10) - t.X(0);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {x, y});
    QTest::mouseMove(&t.chart, {x + tenth, y});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {x + tenth, y});
    EXPECT_NEAR(bottom.Minimum(), -10, 0.3);  // the value under the mouse went right with it
    TChartAxis& left = t.chart.LeftAxis();
    const int lx = left.AxisLinePosition() - 5;
    const int ly = t.Y(50);
    const int step = t.Y(0) - t.Y(10);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {lx, ly});
    QTest::mouseMove(&t.chart, {lx, ly - step});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {lx, ly - step});
    EXPECT_NEAR(left.Minimum(), -10, 0.5);  // dragged up: the data went up
    EXPECT_FALSE(t.chart.Zoomed());
}
