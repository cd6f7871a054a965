#pragma once
// A shown chart for tests that drive it with real mouse events and probe
// its own grab.
#include "chart/axis/ChartAxis.h"
#include "chart/component/Chart.h"
#include "chart/series/line/LineSeries.h"
#include "platform/gfx/Color.h"

#include <QImage>
#include <QTest>

#include <string>
#include <vector>

namespace charttest {

using namespace cb::chart;

// A shown 2D chart with a line series of points (i * 10, values[i]) on
// fixed axes 0..100.
struct ShownLineChart {
    TChart chart;
    TLineSeries* series;
    QImage shot;
    std::vector<std::string> log;

    explicit ShownLineChart(const std::vector<double>& values = {10, 60, 30, 80, 50, 20, 70, 40, 90, 0, 55}) {
        chart.resize(600, 400);
        chart.SetView3D(false);
        series = chart.CreateSeries<TLineSeries>();
        series->Marks().SetVisible(false);
        series->SetSeriesColor(clBlue);
        for (std::size_t i = 0; i < values.size(); ++i) series->AddPoint(double(i) * 10, values[i]);
        chart.BottomAxis().SetManualRange(0, 100);
        chart.LeftAxis().SetManualRange(0, 100);
        chart.show();
        (void)QTest::qWaitForWindowExposed(&chart);
        Grab();
    }
    void Grab() { shot = chart.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    TColor At(int x, int y) const {
        const QRgb c = shot.pixel(x, y);
        return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
    }
    int Count(TColor c, const TRect& r) const {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += At(x, y) == c;
        return n;
    }
    QPoint Value(double x, double y) { return {chart.BottomAxis().PixelOfValue(x), chart.LeftAxis().PixelOfValue(y)}; }
    void Press(QPoint p) { QTest::mousePress(&chart, Qt::LeftButton, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(&chart, p); }
    void Release(QPoint p) { QTest::mouseRelease(&chart, Qt::LeftButton, {}, p); }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        Move((from + to) / 2);
        Move(to);
        Release(to);
        Grab();
    }
};

}  // namespace charttest
