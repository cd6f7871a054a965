// Pointer tools driven with real mouse events on a shown chart: cursor,
// drag marks, axis arrows, nearest point and draw line; their overlays
// probed on the chart's own grab.
#include "ShownLineChart.h"
#include "chart/axis/ChartAxis.h"
#include "chart/component/Chart.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotResources.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/tools/AxisArrowTool.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/DragMarksTool.h"
#include "chart/tools/DrawLineTool.h"
#include "chart/tools/NearestTool.h"
#include "platform/gfx/Color.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::chart;
using charttest::ShownLineChart;

// --- cursor ---

TEST(CursorTool, PlacedAtTheCentreOnFirstPaintAndFollowsTheMouse) {
    ShownLineChart t;
    auto* c = new TCursorTool();
    c->Pen().SetColor(clRed);
    c->OnChange = [&](TCursorTool*, int x, int y, double, double, TChartSeries*, int index) {
        t.log.push_back("change " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(index));
    };
    t.chart.Tools().AddTool(c);
    t.Grab();
    const TRect a = c->Area();
    const int cx = (a.Left + a.Right) / 2, cy = (a.Top + a.Bottom) / 2;
    ASSERT_EQ(t.log.size(), 1u);
    EXPECT_EQ(t.log[0], "change " + std::to_string(cx) + "," + std::to_string(cy) + " -1");
    EXPECT_NEAR(c->XValue(), 50, 0.5);
    EXPECT_EQ(t.At(cx, a.Top + 10), clRed);
    EXPECT_EQ(t.At(a.Left + 10, cy), clRed);

    c->SetFollowMouse(true);
    const QPoint p = t.Value(20, 70);
    t.Move(p);
    t.Grab();
    EXPECT_EQ(c->X(), p.x());
    EXPECT_EQ(c->Y(), p.y());
    EXPECT_NEAR(c->XValue(), 20, 0.3);
    EXPECT_NEAR(c->YValue(), 70, 0.5);
    t.shot.save("/tmp/charttools_cursor.png");
    EXPECT_EQ(t.At(p.x(), a.Bottom - 5), clRed);
    EXPECT_EQ(t.At(a.Right - 5, p.y()), clRed);
    EXPECT_NE(t.At(cx, a.Top + 10), clRed);  // the old place is clean
    // A move outside the area leaves the cursor where it was.
    t.Move({a.Right + 20, p.y()});
    EXPECT_EQ(c->X(), p.x());
    EXPECT_EQ(t.log.size(), 2u);
}

TEST(CursorTool, SnapMovesOnlyItsLineAndReportsNewPointsOnce) {
    ShownLineChart t;
    auto* c = new TCursorTool();
    c->SetSeries(t.series);
    c->SetStyle(cssVertical);
    c->SetSnap(true);
    c->SetFollowMouse(true);
    c->OnChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int i) {
        t.log.push_back("change " + std::to_string(i));
    };
    c->OnSnapChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int i) {
        t.log.push_back("snap " + std::to_string(i));
    };
    t.chart.Tools().AddTool(c);
    t.Grab();
    t.log.clear();
    t.Move(t.Value(21, 90));
    t.Move(t.Value(18, 10));
    t.Move(t.Value(29, 50));
    EXPECT_EQ(t.log, (std::vector<std::string>{"change 2", "snap 2", "change 2", "change 3", "snap 3"}));
    EXPECT_EQ(c->XValue(), 30);
    EXPECT_EQ(c->X(), t.chart.BottomAxis().PixelOfValue(30));
}

TEST(CursorTool, DraggingTheHorizontalLineKeepsXValue) {
    ShownLineChart t;
    auto* c = new TCursorTool();
    t.chart.Tools().AddTool(c);
    t.Grab();
    c->SetValues(40, 50);
    const double x = c->XValue();
    // Away from the vertical line, on the horizontal one.
    t.Drag({c->X() + 60, c->Y()}, {c->X() + 80, c->Y() - 40});
    EXPECT_EQ(c->XValue(), x);
    EXPECT_NEAR(c->YValue(), t.chart.LeftAxis().ValueAtPixel(t.Value(0, 50).y() - 40), 1e-9);
    EXPECT_FALSE(t.chart.Zoomed());  // the press went to the cursor, not to the zoom
    // Over both lines the pointer shows the four arrows.
    t.Move({c->X() + 1, c->Y() + 1});
    EXPECT_EQ(t.chart.cursor().shape(), ScreenCursor(crSizeAll).shape());
}

// --- drag marks ---

TEST(DragMarksTool, AMarkDraggedKeepsItsNewPlace) {
    ShownLineChart t;
    t.series->Marks().SetVisible(true);
    t.chart.Tools().AddTool(new TDragMarksTool());
    t.Grab();
    TSeriesMarkPosition* p = t.series->Marks().Positions().PositionAt(4);
    ASSERT_NE(p, nullptr);
    const TRect before = p->MarkRect();
    const QPoint grip{(before.Left + before.Right) / 2, (before.Top + before.Bottom) / 2};
    t.Drag(grip, grip + QPoint(30, 40));
    p = t.series->Marks().Positions().PositionAt(4);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->Custom);
    EXPECT_EQ(p->MarkRect().Left, before.Left + 30);
    EXPECT_EQ(p->MarkRect().Top, before.Top + 40);
    EXPECT_FALSE(t.chart.Zoomed());
    t.chart.Invalidate();
    t.Grab();
    EXPECT_EQ(t.series->Marks().Positions().PositionAt(4)->MarkRect().Left, before.Left + 30);
}

// --- axis arrows ---

TEST(AxisArrowTool, ClicksOnTheArrowsScrollTheAxis) {
    struct Case {
        const char* name;
        bool atStart, inverted;
        int percent;
        double min, max;
        int clicks;
    };
    const Case cases[] = {
        {"start", true, false, 10, 10, 110, 1},
        {"start inverted", true, true, 10, -10, 90, 1},
        {"end", false, false, 10, -10, 90, 1},
        {"no scroll", true, false, 0, 0, 100, 0},
    };
    for (const Case& k : cases) {
        ShownLineChart t;
        auto* a = new TAxisArrowTool();
        a->SetAxis(&t.chart.BottomAxis());
        a->SetScrollPercent(k.percent);
        a->SetScrollInverted(k.inverted);
        a->Brush().SetColor(clRed);
        int clicks = 0;
        bool atStart = !k.atStart;
        a->OnClick = [&](TAxisArrowTool*, bool s) {
            ++clicks;
            atStart = s;
        };
        t.Grab();
        TChartAxis& ax = t.chart.BottomAxis();
        const int along = k.atStart ? ax.StartPixel() + 5 : ax.EndPixel() - 5;
        const QPoint p{along, ax.AxisLinePosition()};
        EXPECT_GT(t.Count(clRed, {along - 6, p.y() - 5, along + 6, p.y() + 6}), 5) << k.name;
        t.Move(p + QPoint(0, 40));
        t.Move(p);
        EXPECT_EQ(t.chart.cursor().shape(), ScreenCursor(crHandPoint).shape()) << k.name;
        QTest::mouseClick(&t.chart, Qt::LeftButton, {}, p);
        EXPECT_DOUBLE_EQ(ax.Minimum(), k.min) << k.name;
        EXPECT_DOUBLE_EQ(ax.Maximum(), k.max) << k.name;
        EXPECT_EQ(clicks, k.clicks) << k.name;
        if (k.clicks) {
            EXPECT_EQ(atStart, k.atStart) << k.name;
        }
    }
}

TEST(AxisArrowTool, RefusedScrollLeavesTheAxis) {
    ShownLineChart t;
    auto* a = new TAxisArrowTool();
    a->SetAxis(&t.chart.LeftAxis());
    t.chart.OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
    int scrolls = 0;
    t.chart.OnScroll = [&](TCustomPlotPanelExtended*) { ++scrolls; };
    t.Grab();
    TChartAxis& ax = t.chart.LeftAxis();
    QTest::mouseClick(&t.chart, Qt::LeftButton, {}, {ax.AxisLinePosition(), ax.StartPixel() + 5});
    EXPECT_EQ(ax.Minimum(), 0);
    EXPECT_EQ(scrolls, 0);
    t.chart.OnAllowScroll = nullptr;
    QTest::mouseClick(&t.chart, Qt::LeftButton, {}, {ax.AxisLinePosition(), ax.StartPixel() + 5});
    EXPECT_EQ(ax.Minimum(), 10);
    EXPECT_EQ(scrolls, 1);
}

// --- nearest point ---

TEST(NearestTool, MarksThePointNearestTheMouse) {
    ShownLineChart t;
    auto* n = new TNearestTool();
    n->SetSeries(t.series);
    n->Pen().SetColor(clRed);
    n->Pen().SetStyle(cb::gfx::psSolid);
    n->LinePen().SetColor(clGreen);
    int changes = 0;
    n->OnChange = [&](TNearestTool*) { ++changes; };
    t.chart.Tools().AddTool(n);
    t.Grab();
    const QPoint p3 = t.Value(30, 80);
    const QPoint mouse = p3 + QPoint(8, 30);
    t.Move(mouse);
    t.Grab();
    t.shot.save("/tmp/charttools_nearest.png");
    EXPECT_EQ(n->Point(), 3);
    EXPECT_EQ(changes, 1);
    // The circle of radius Size around the point, the line from the mouse.
    EXPECT_EQ(t.At(p3.x() - 20, p3.y()), clRed);
    EXPECT_EQ(t.At(p3.x(), p3.y() - 20), clRed);
    EXPECT_NE(t.At(p3.x() - 10, p3.y()), clRed);
    EXPECT_EQ(t.At(mouse.x(), mouse.y()), clGreen);
    // Leaving the chart takes it away.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&t.chart, &leave);
    t.Grab();
    EXPECT_EQ(n->Point(), -1);
    EXPECT_NE(t.At(p3.x() - 20, p3.y()), clRed);
}

TEST(NearestTool, IgnoresNullPointsAndPointsOutsideTheChart) {
    ShownLineChart t;
    auto* n = new TNearestTool();
    n->SetSeries(t.series);
    t.chart.Tools().AddTool(n);
    t.series->SetPointColor(3, clNone);
    t.Grab();
    EXPECT_NE(n->NearestTo(t.Value(30, 80).x(), t.Value(30, 80).y()), 3);
    t.chart.BottomAxis().SetManualRange(35, 100);
    t.Grab();
    // Points 0 to 3 lie left of the chart: the nearest is one inside.
    EXPECT_EQ(n->NearestTo(t.chart.ChartRect().Left, t.Value(0, 50).y()), 4);
}

// --- draw line ---

TEST(DrawLineTool, DrawSelectMoveWithEventsInOrder) {
    ShownLineChart t(std::vector<double>{});
    auto* d = new TDrawLineTool();
    d->Pen().SetColor(clRed);
    d->OnNewLine = [&](TDrawLineTool*) { t.log.push_back("new"); };
    d->OnSelect = [&](TDrawLineTool*) { t.log.push_back("select"); };
    d->OnDragLine = [&](TDrawLineTool*) { t.log.push_back("drag"); };
    d->OnDraggedLine = [&](TDrawLineTool*) { t.log.push_back("dragged"); };
    t.chart.Tools().AddTool(d);
    t.Grab();
    // A press and release without moving adds nothing.
    QTest::mouseClick(&t.chart, Qt::LeftButton, {}, t.Value(50, 50));
    EXPECT_EQ(d->Lines().Count(), 0);
    t.Drag(t.Value(20, 20), t.Value(60, 20));
    ASSERT_EQ(d->Lines().Count(), 1);
    EXPECT_EQ(t.log, (std::vector<std::string>{"drag", "drag", "new"}));
    TDrawLine& l = *d->Lines()[0];
    EXPECT_NEAR(l.X0(), 20, 0.3);
    EXPECT_NEAR(l.X1(), 60, 0.3);
    EXPECT_NEAR(l.Y0(), 20, 0.5);
    EXPECT_FALSE(t.chart.Zoomed());
    EXPECT_EQ(t.At(t.Value(40, 20).x(), t.Value(40, 20).y()), clRed);
    // Pressing on the line selects it; moving before release moves it whole.
    t.log.clear();
    t.Drag(t.Value(40, 20), t.Value(50, 40));
    EXPECT_EQ(d->Selected(), &l);
    EXPECT_EQ(t.log, (std::vector<std::string>{"select", "drag", "drag", "dragged"}));
    EXPECT_NEAR(l.X0(), 30, 0.3);
    EXPECT_NEAR(l.X1(), 70, 0.3);
    EXPECT_NEAR(l.Y0(), 40, 0.5);
    EXPECT_NEAR(l.Y1(), 40, 0.5);
    EXPECT_EQ(t.At(t.Value(50, 40).x(), t.Value(50, 40).y()), clRed);
    EXPECT_NE(t.At(t.Value(40, 20).x(), t.Value(40, 20).y()), clRed);
    // The selected line shows its handles; its end handle drags the end only.
    t.shot.save("/tmp/charttools_drawline.png");
    const QPoint end{d->EndPixel(l).X, d->EndPixel(l).Y};
    EXPECT_EQ(t.At(end.x() + 2, end.y() + 2), clBlack);
    t.Drag(end, t.Value(90, 80));
    EXPECT_NEAR(l.X0(), 30, 0.3);
    EXPECT_NEAR(l.X1(), 90, 0.3);
    EXPECT_NEAR(l.Y1(), 80, 0.5);
    // A press away from lines clears the selection and starts a new line.
    t.Press(t.Value(10, 90));
    EXPECT_EQ(d->Selected(), nullptr);
    EXPECT_TRUE(d->Drawing());
    t.Release(t.Value(10, 90));
}

TEST(DrawLineTool, LinesKeepTheirValuesThroughZoomAndUndo) {
    ShownLineChart t(std::vector<double>{});
    auto* d = new TDrawLineTool();
    d->Pen().SetColor(clRed);
    t.chart.Tools().AddTool(d);
    t.chart.BottomAxis().SetManualRange(20, 60);
    t.Grab();
    t.Drag(t.Value(30, 50), t.Value(50, 50));
    ASSERT_EQ(d->Lines().Count(), 1);
    const double x0 = d->Lines()[0]->X0(), x1 = d->Lines()[0]->X1();
    t.chart.BottomAxis().SetManualRange(0, 100);
    t.Grab();
    EXPECT_EQ(d->Lines()[0]->X0(), x0);
    EXPECT_EQ(d->Lines()[0]->X1(), x1);
    EXPECT_EQ(t.At(t.Value(40, 50).x(), t.Value(40, 50).y()), clRed);
    EXPECT_NE(t.At(t.Value(55, 50).x(), t.Value(55, 50).y()), clRed);  // was inside the zoomed line
}

TEST(DrawLineTool, RefusedSelectionAndSelectionSwitchedOff) {
    ShownLineChart t(std::vector<double>{});
    auto* d = new TDrawLineTool();
    t.chart.Tools().AddTool(d);
    TDrawLine* a = d->Lines().Add(10, 20, 40, 20);
    TDrawLine* b = d->Lines().Add(10, 70, 40, 70);
    d->SetSelected(a);
    d->OnSelecting = [](TDrawLineTool*, TDrawLine*, bool& allow) { allow = false; };
    t.Grab();
    t.Drag(t.Value(25, 70), t.Value(25, 90));
    EXPECT_EQ(d->Selected(), a);
    EXPECT_NEAR(b->Y0(), 70, 1e-9);  // not dragged either
    EXPECT_NEAR(a->Y0(), 20, 1e-9);
    // Without selection a press on a line starts a new one.
    d->OnSelecting = nullptr;
    d->SetEnableSelect(false);
    EXPECT_EQ(d->Selected(), nullptr);
    t.Drag(t.Value(25, 70), t.Value(35, 90));
    EXPECT_EQ(d->Lines().Count(), 3);
    // Deleting the selected line clears the selection.
    d->SetEnableSelect(true);
    d->SetSelected(b);
    d->Lines().Delete(1);
    EXPECT_EQ(d->Selected(), nullptr);
}

TEST(DrawLineTool, ParallelLinesAreHitOnTheirSegmentsOnly) {
    ShownLineChart t(std::vector<double>{});
    auto* d = new TDrawLineTool();
    t.chart.Tools().AddTool(d);
    TDrawLine* l = d->Lines().Add(20, 20, 60, 60);
    t.Grab();
    struct Case {
        TDrawLineStyle style;
        double x, y;
        bool hit;
    };
    const Case cases[] = {
        {dlLine, 40, 40, true},           {dlLine, 40, 20, false},          {dlHorizParallel, 40, 20, true},
        {dlHorizParallel, 40, 60, true},  {dlHorizParallel, 40, 40, false}, {dlVertParallel, 20, 40, true},
        {dlVertParallel, 60, 40, true},   {dlVertParallel, 40, 40, false},  {dlHorizParallel, 80, 20, false},
    };
    for (const Case& k : cases) {
        l->SetStyle(k.style);
        const QPoint p = t.Value(k.x, k.y);
        EXPECT_EQ(d->LineAt(p.x(), p.y()) == l, k.hit) << k.style << " " << k.x << "," << k.y;
    }
}
