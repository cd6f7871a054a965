// The chart and the mouse: hit test priority, clicks, zoom rectangle and
// undo, panning and the wheel, driven with real mouse events.
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"

#include <QImage>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

using namespace cb::chart;

namespace {

struct MouseChart {
    TChart chart;
    TBarSeries* series;
    MouseChart() {
        chart.resize(600, 400);
        chart.SetView3D(false);
        series = chart.CreateSeries<TBarSeries>();
        series->Marks().SetVisible(false);
        for (double v : {10.0, 40.0, 20.0, 30.0}) series->AddValue(v);
        chart.show();
        (void)QTest::qWaitForWindowExposed(&chart);
        chart.grab();  // lays the chart out
    }
    QPoint Inside(double fx, double fy) {
        const TRect& r = chart.ChartRect();
        return {r.Left + int(fx * r.Width()), r.Top + int(fy * r.Height())};
    }
    void Drag(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(&chart, button, {}, from);
        QTest::mouseMove(&chart, (from + to) / 2);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, {}, to);
        chart.grab();
    }
    void Wheel(bool down) {
        const QPoint p = Inside(0.5, 0.5);
        QWheelEvent e(p, chart.mapToGlobal(p), {}, {0, down ? -120 : 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&chart, &e);
        chart.grab();
    }
};

}  // namespace

TEST(ChartMouse, ZoomDragSetsTheAxesAndUndoRestoresThem) {
    MouseChart m;
    TChartAxis& left = m.chart.LeftAxis();
    TChartAxis& bottom = m.chart.BottomAxis();
    const QPoint a = m.Inside(0.2, 0.2), b = m.Inside(0.6, 0.7);
    const double xMin = bottom.ValueAtPixel(a.x()), xMax = bottom.ValueAtPixel(b.x());
    const double yMin = left.ValueAtPixel(b.y()), yMax = left.ValueAtPixel(a.y());
    int zooms = 0, undos = 0;
    m.chart.OnZoom = [&](TCustomPlotPanelExtended*) { ++zooms; };
    m.chart.OnUndoZoom = [&](TCustomPlotPanelExtended*) { ++undos; };
    m.Drag(Qt::LeftButton, a, b);
    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(m.chart.Zoomed());
    EXPECT_FALSE(left.Automatic());
    EXPECT_NEAR(bottom.Minimum(), xMin, 1e-9);
    EXPECT_NEAR(bottom.Maximum(), xMax, 1e-9);
    EXPECT_NEAR(left.Minimum(), yMin, 1e-9);
    EXPECT_NEAR(left.Maximum(), yMax, 1e-9);
    // A second zoom, then a drag towards the upper left undoes both.
    m.Drag(Qt::LeftButton, m.Inside(0.3, 0.3), m.Inside(0.7, 0.7));
    EXPECT_EQ(zooms, 2);
    m.Drag(Qt::LeftButton, m.Inside(0.7, 0.7), m.Inside(0.2, 0.2));
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(m.chart.Zoomed());
    EXPECT_TRUE(left.Automatic());
    EXPECT_TRUE(bottom.Automatic());
    EXPECT_TRUE(m.chart.ScalesRestored());
}

TEST(ChartMouse, UpLeftZoomsWhenAsked) {
    MouseChart m;
    m.chart.Zoom().UpLeftZooms = true;
    m.Drag(Qt::LeftButton, m.Inside(0.7, 0.7), m.Inside(0.2, 0.2));
    EXPECT_TRUE(m.chart.Zoomed());
}

TEST(ChartMouse, ZoomNeedsMoreThanMinimumPixels) {
    for (int size : {16, 17}) {
        MouseChart m;
        const QPoint a = m.Inside(0.3, 0.3);
        m.Drag(Qt::LeftButton, a, a + QPoint(size, size));
        EXPECT_EQ(m.chart.Zoomed(), size > 16) << size;
    }
}

TEST(ChartMouse, VerticalZoomKeepsTheHorizontalRange) {
    MouseChart m;
    m.chart.Zoom().Direction = tzdVertical;
    const double min = m.chart.BottomAxis().WorkingMinimum(), max = m.chart.BottomAxis().WorkingMaximum();
    // Only 5 pixels wide: the horizontal size is not tested.
    m.Drag(Qt::LeftButton, m.Inside(0.4, 0.2), m.Inside(0.4, 0.6) + QPoint(5, 0));
    EXPECT_TRUE(m.chart.Zoomed());
    EXPECT_NEAR(m.chart.BottomAxis().Minimum(), min, 1e-6);
    EXPECT_NEAR(m.chart.BottomAxis().Maximum(), max, 1e-6);
}

TEST(ChartMouse, ZoomRectangleShowsThePenColourOverTheBackground) {
    MouseChart m;
    m.chart.BackWall().SetTransparent(false);
    m.chart.BackWall().SetColor(clSilver);
    m.chart.LeftAxis().Grid().SetVisible(false);
    m.chart.BottomAxis().Grid().SetVisible(false);
    m.chart.grab();
    // The top edge runs above the low first bar.
    const QPoint a = m.Inside(0.1, 0.1), b = m.Inside(0.9, 0.5);
    QTest::mousePress(&m.chart, Qt::LeftButton, {}, a);
    QTest::mouseMove(&m.chart, b);
    const QImage shot = m.chart.grab().toImage();
    if (std::getenv("CB_SAVE_PICTURES")) shot.save("/tmp/chart_zoom.png");
    const QRgb edge = shot.pixel(a.x() + 40, a.y());
    EXPECT_EQ(qRed(edge), 255);
    EXPECT_EQ(qGreen(edge), 255);
    EXPECT_EQ(qBlue(edge), 255);
    const QRgb inside = shot.pixel(a.x() + 40, a.y() + 40);
    EXPECT_EQ(qRed(inside), 0xC0);  // clear brush: the wall shows
    QTest::mouseRelease(&m.chart, Qt::LeftButton, {}, a + QPoint(2, 2));
    const QImage after = m.chart.grab().toImage();
    EXPECT_EQ(qRed(after.pixel(a.x() + 40, a.y())), 0xC0);
}

TEST(ChartMouse, ApplicationSettingsClickTheBackgroundOnce) {
    MouseChart m;
    m.chart.SetAllowZoom(false);
    m.chart.SetAllowPanning(pmNone);
    int clicks = 0;
    m.chart.OnClickBackground = [&](TCustomChart*, TPlotMouseButton, unsigned, int, int) { ++clicks; };
    m.Drag(Qt::LeftButton, m.Inside(0.1, 0.1), m.Inside(0.6, 0.6));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(m.chart.Zoomed());
    EXPECT_TRUE(m.chart.LeftAxis().Automatic());
}

TEST(ChartMouse, HitTestPriority) {
    MouseChart m;
    m.chart.Title().SetCaption("Title");
    m.chart.grab();
    // A bar point: the series, unless only click handlers count.
    const int x = m.series->ScreenX(1) + 5;
    const int y = m.chart.ChartRect().Bottom - 10;
    EXPECT_EQ(m.chart.HitTest(x, y, false).Kind, cpSeries);
    EXPECT_EQ(m.chart.HitTest(x, y, false).Index, 1);
    EXPECT_EQ(m.chart.HitTest(x, y, true).Kind, cpChartRect);
    int clicked = -1;
    m.series->OnClick = [&](TChartSeries*, int index, TPlotMouseButton, unsigned, int, int) { clicked = index; };
    EXPECT_EQ(m.chart.HitTest(x, y, true).Kind, cpSeries);
    QTest::mouseClick(&m.chart, Qt::LeftButton, {}, {x, y});
    EXPECT_EQ(clicked, 1);
    // The axis, the legend and the title each in their place.
    const TChartHit axis = m.chart.HitTest(m.chart.LeftAxis().AxisLinePosition(), m.chart.ChartYCenter(), true);
    EXPECT_EQ(axis.Kind, cpAxis);
    EXPECT_EQ(axis.Axis, &m.chart.LeftAxis());
    const TRect legend = m.chart.Legend().Bounds();
    EXPECT_EQ(m.chart.HitTest((legend.Left + legend.Right) / 2, legend.Top + 4, true).Kind, cpLegend);
    const TRect title = m.chart.Title().Bounds();
    EXPECT_EQ(m.chart.HitTest((title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2, true).Kind, cpTitle);
    EXPECT_EQ(m.chart.HitTest(1, 1, true).Kind, cpNone);
}

TEST(ChartMouse, HandlerThatKeepsCancelMouseStopsTheZoom) {
    MouseChart m;
    m.series->OnClick = [&](TChartSeries* s, int, TPlotMouseButton, unsigned, int, int) {
        s->ParentChart()->SetCancelMouse(true);
    };
    const int x = m.series->ScreenX(1) + 5;
    const int y = m.chart.ChartRect().Bottom - 10;
    m.Drag(Qt::LeftButton, {x, y}, {x + 100, y - 100});
    EXPECT_FALSE(m.chart.Zoomed());
}

TEST(ChartMouse, HorizontalPanningMovesHorizontalAxesOnly) {
    MouseChart m;
    m.chart.SetAllowPanning(pmHorizontal);
    TChartAxis& bottom = m.chart.BottomAxis();
    const double min = bottom.Minimum(), leftMin = m.chart.LeftAxis().Minimum();
    int scrolls = 0;
    m.chart.OnScroll = [&](TCustomPlotPanelExtended*) { ++scrolls; };
    m.Drag(Qt::RightButton, m.Inside(0.6, 0.5), m.Inside(0.4, 0.4));
    EXPECT_GT(scrolls, 0);
    EXPECT_GT(bottom.Minimum(), min);
    EXPECT_DOUBLE_EQ(m.chart.LeftAxis().Minimum(), leftMin);
    EXPECT_TRUE(m.chart.LeftAxis().Automatic());
    // OnAllowScroll can hold an axis still; OnScroll still runs.
    const double held = bottom.Minimum();
    m.chart.OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
    scrolls = 0;
    m.Drag(Qt::RightButton, m.Inside(0.6, 0.5), m.Inside(0.4, 0.4));
    EXPECT_GT(scrolls, 0);
    EXPECT_DOUBLE_EQ(bottom.Minimum(), held);
    // Undo brings back the scales from before the first pan.
    m.chart.UndoZoom();
    EXPECT_TRUE(bottom.Automatic());
}

TEST(ChartMouse, WheelScrollsVerticalAxesAndNewDataEndsIt) {
    MouseChart m;
    TChartAxis& left = m.chart.LeftAxis();
    left.SetManualRange(0, 100);
    m.Wheel(true);
    EXPECT_NEAR(left.Minimum(), 3, 1e-9);
    EXPECT_NEAR(left.Maximum(), 103, 1e-9);
    // The scales before the turn were kept: undo puts back 0..100.
    m.chart.UndoZoom();
    EXPECT_NEAR(left.Minimum(), 0, 1e-9);
    EXPECT_NEAR(left.Maximum(), 100, 1e-9);

    // With automatic scaling, a turn and then new data: the automatic range
    // comes back and follows the data.
    MouseChart n;
    TChartAxis& axis = n.chart.LeftAxis();
    ASSERT_TRUE(axis.Automatic());
    n.Wheel(false);
    EXPECT_FALSE(axis.Automatic());
    n.chart.FreeSeriesOfClass();
    auto* s = n.chart.CreateSeries<TBarSeries>();
    s->Marks().SetVisible(false);
    for (double v : {100.0, 400.0}) s->AddValue(v);
    n.chart.grab();
    EXPECT_TRUE(axis.Automatic());
    EXPECT_GE(axis.Maximum(), 400);
}

TEST(ChartMouse, PieOnlyChartNeverZooms) {
    // A chart whose every active series is circular has no axes area.
    struct Round : TBarSeries {
        bool UsesAxes() const override { return false; }
    };
    TChart chart;
    chart.resize(400, 300);
    auto* s = chart.CreateSeries<Round>();
    s->AddValue(1);
    EXPECT_FALSE(chart.UsesAxesArea());
    EXPECT_FALSE(chart.StartZoomOrPan(mbLeft, 0, 100, 100));
    s->SetActive(false);
    EXPECT_TRUE(chart.UsesAxesArea());
}

TEST(ChartMouse, AnimatedZoomRepaintsEachStep) {
    MouseChart m;
    m.chart.Zoom().Animated = true;
    m.chart.Zoom().AnimatedSteps = 8;
    std::vector<double> minima;
    m.chart.OnAfterDraw = [&](TCustomAxisPanel* c) { minima.push_back(c->LeftAxis().Minimum()); };
    const double start = m.chart.LeftAxis().Minimum();
    m.chart.ZoomAxesToValues(0, 1, 0, 1, 10, 20, 10, 20);
    ASSERT_EQ(minima.size(), 7u);
    // Each step goes a third of the remaining way.
    EXPECT_NEAR(minima[0], start + (10 - start) / 3, 1e-9);
    EXPECT_NEAR(m.chart.LeftAxis().Minimum(), 10, 1e-12);
    EXPECT_NEAR(m.chart.LeftAxis().Maximum(), 20, 1e-12);
}
