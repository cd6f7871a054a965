// The chart component: titles and legend taking their room, walls, and a
// complete chart rendered offscreen and probed for its parts.
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace cb::chart;

namespace {

TColor PixelAt(cb::gfx::TBitmap& b, int x, int y) {
    const QRgb c = b.Image().pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

struct Fixture {
    TChart chart;
    std::vector<TBarSeries*> series;
    explicit Fixture(int w = 600, int h = 400, bool is3D = false) {
        chart.resize(w, h);
        chart.SetView3D(is3D);
    }
    TBarSeries* Add(const std::string& title, const std::vector<double>& values, TColor color) {
        auto* s = chart.CreateSeries<TBarSeries>();
        s->SetTitle(title);
        s->SetSeriesColor(color);
        s->Marks().SetVisible(false);
        for (double v : values) s->AddValue(v);
        series.push_back(s);
        return s;
    }
    std::unique_ptr<cb::gfx::TBitmap> Draw() {
        auto b = chart.DrawToBitmap(clWhite, chart.PanelRect());
        b->Canvas().ReleasePainter();
        return b;
    }
};

}  // namespace

TEST(ChartComponent, CompleteChartShowsTitleLegendAndBars) {
    Fixture f(600, 400);
    f.chart.Title().SetCaption("Sales");
    f.Add("North", {10, 30, 20}, clRed);
    f.Add("South", {25, 5, 35}, clBlue);
    auto bmp = f.Draw();
    if (std::getenv("CB_SAVE_PICTURES")) bmp->Image().save("/tmp/chart_complete.png");
    const TRect legend = f.chart.Legend().Bounds();
    const TRect title = f.chart.Title().Bounds();
    const TRect area = f.chart.ChartRect();
    // The legend lists both series at the right, the title sits above the
    // plotting area, and neither overlaps it.
    EXPECT_EQ(f.chart.Legend().TotalItems(), 2);
    EXPECT_GT(legend.Left, area.Right);
    EXPECT_LT(title.Bottom, area.Top);
    EXPECT_GT(title.Width(), 0);
    // The legend's symbols show the series colours.
    bool red = false, blue = false;
    for (int y = legend.Top; y < legend.Bottom; ++y)
        for (int x = legend.Left; x < legend.Right; ++x) {
            red = red || PixelAt(*bmp, x, y) == clRed;
            blue = blue || PixelAt(*bmp, x, y) == clBlue;
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
}

TEST(ChartComponent, ThreeDChartWithWallsAndBottomLegend) {
    Fixture f(600, 400, true);
    f.chart.Title().SetCaption("Sales");
    f.chart.SetChart3DPercent(25);
    f.chart.View3DOptions().SetElevation(360);
    f.chart.View3DOptions().SetPerspective(20);
    TChartLegend& legend = f.chart.Legend();
    legend.SetAlignment(laBottom);
    legend.SetMaxNumRows(100);
    legend.Symbol().SetSquared(true);
    legend.Symbol().SetWidthUnits(lcsPixels);
    legend.SetColorWidth(40);
    legend.SetTransparency(20);
    f.chart.LeftWall().SetColor(clYellow);
    f.chart.BottomWall().SetColor(clGreen);
    f.chart.BackWall().SetTransparent(false);
    f.chart.BackWall().SetColor(clSilver);
    f.Add("North", {10, 30, 20}, clRed);
    f.Add("South", {25, 5, 35}, clBlue);
    auto bmp = f.Draw();
    if (std::getenv("CB_SAVE_PICTURES")) bmp->Image().save("/tmp/chart_3d.png");
    const TRect area = f.chart.ChartRect();
    const TRect box = legend.Bounds();
    // The legend sits below the plotting area, inside the panel.
    EXPECT_GT(box.Top, area.Bottom);
    EXPECT_LT(box.Bottom, 400);
    EXPECT_EQ(legend.Columns(), 2);
    EXPECT_EQ(legend.Rows(), 1);
    // The left wall runs along the plotting area's left edge, the floor
    // along its bottom, and the back wall shows between the bars.
    auto found = [&](TColor c, int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (PixelAt(*bmp, x, y) == c) return true;
        return false;
    };
    const int midY = (area.Top + area.Bottom) / 2;
    EXPECT_TRUE(found(clYellow, area.Left - 15, area.Left + 20, midY, midY));
    EXPECT_FALSE(found(clYellow, area.Right - 20, area.Right + 20, midY, midY));
    EXPECT_TRUE(found(clGreen, area.Left, area.Right, area.Bottom - 15, area.Bottom + 5));
    EXPECT_TRUE(found(clSilver, area.Left + 20, area.Right - 20, area.Top + 5, area.Top + 15));
    EXPECT_FALSE(f.chart.LeftWallFacesAway());
}

TEST(ChartComponent, CheckBoxLegendOnScreen) {
    Fixture f(500, 300);
    f.Add("North", {10, 30, 20}, clRed);
    f.Add("South", {25, 5, 35}, clBlue);
    f.Add("East", {5, 15, 25}, clGreen)->SetActive(false);
    f.chart.Legend().SetCheckBoxes(true);
    f.chart.show();
    const QImage shot = f.chart.grab().toImage();
    if (std::getenv("CB_SAVE_PICTURES")) shot.save("/tmp/chart_checkboxes.png");
    // The inactive series is listed, its bars are not drawn.
    EXPECT_EQ(f.chart.Legend().TotalItems(), 3);
    const TRect area = f.chart.ChartRect();
    bool green = false;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) green = green || shot.pixel(x, y) == qRgb(0, 128, 0);
    EXPECT_FALSE(green);
    // A click on its check box shows it.
    const TChartLegend& l = f.chart.Legend();
    const QPoint box(l.Bounds().Left + 9, l.ItemsTop() + 1 + 2 * l.ItemHeight() + l.ItemHeight() / 2);
    QTest::mouseClick(&f.chart, Qt::LeftButton, {}, box);
    EXPECT_TRUE(f.series[2]->Active());
}
