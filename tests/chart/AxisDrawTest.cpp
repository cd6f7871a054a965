// Axis drawing: room taken by title and labels, label alignment by angle,
// the label event, grid lines, minor ticks, and labels at their ticks in
// an offscreen rendering.
#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/component/AxisPanel.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace cb::chart;

namespace {

struct AxisChart {
    TAxisPanel chart;
    TBarSeries* series;
    explicit AxisChart(int w = 500, int h = 320) {
        chart.resize(w, h);
        chart.SetView3D(false);
        chart.SetBevelOuter(bvNone);  // the probes scan from the panel's edge
        series = chart.CreateSeries<TBarSeries>();
        series->Marks().SetVisible(false);
        for (double v : {10.0, 30.0, 20.0, 40.0}) series->AddValue(v);
    }
    std::unique_ptr<cb::gfx::TBitmap> Draw() {
        auto b = chart.DrawToBitmap(clWhite, chart.PanelRect());
        b->Canvas().ReleasePainter();
        return b;
    }
};

TColor PixelAt(cb::gfx::TBitmap& b, int x, int y) {
    const QRgb c = b.Image().pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

struct Seen {
    int x, y;
    unsigned align;
    int fontHeight;
    std::string text;
};

TEST(AxisDraw, LabelAlignmentByAngle) {
    struct Case {
        bool bottom;
        int angle;
        unsigned align;
        // Expected anchor relative to the tick pixel along the axis, in
        // font heights times two (h2 = 1).
        int alongHalves;
    };
    const Case cases[] = {
        {true, 0, cb::gfx::TA_CENTER, 0},  {true, 90, cb::gfx::TA_RIGHT, -3},
        {true, 270, cb::gfx::TA_LEFT, 3},  {true, 180, cb::gfx::TA_CENTER | cb::gfx::TA_BOTTOM, 0},
        {false, 0, cb::gfx::TA_RIGHT, -3}, {false, 90, cb::gfx::TA_CENTER | cb::gfx::TA_BOTTOM, 0},
    };
    for (const Case& c : cases) {
        AxisChart a;
        TChartAxis& axis = c.bottom ? a.chart.BottomAxis() : a.chart.LeftAxis();
        axis.SetLabelsAngle(c.angle);
        std::vector<Seen> seen;
        axis.OnDrawLabel = [&](TChartAxis*, int& x, int& y, int&, std::string& text, bool&) {
            seen.push_back({x, y, a.chart.Canvas()->GetTextAlignment(), a.chart.Canvas()->FontHeight(), text});
        };
        a.Draw();
        ASSERT_FALSE(seen.empty());
        ASSERT_EQ(seen.size(), axis.LabelList().size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            const int h = seen[i].fontHeight;
            const int pixel = axis.LabelList()[i].Pixel;
            EXPECT_EQ(seen[i].align, c.align) << c.angle;
            const int along = c.bottom ? seen[i].x : seen[i].y;
            const int expected = pixel + (c.alongHalves % 2 ? (c.alongHalves > 0 ? h / 2 + h : -(h / 2) - h) : 0);
            EXPECT_EQ(along, expected) << (c.bottom ? "bottom " : "left ") << c.angle;
        }
    }
}

TEST(AxisDraw, HiddenLabelKeepsItsTick) {
    AxisChart a;
    TChartAxis& left = a.chart.LeftAxis();
    left.OnDrawLabel = [](TChartAxis*, int&, int&, int&, std::string&, bool& draw) { draw = false; };
    left.Ticks().SetColor(clRed);
    left.Ticks().SetWidth(1);
    auto bmp = a.Draw();
    ASSERT_FALSE(left.TickPositions().empty());
    const int x = left.AxisLinePosition() - 2 - left.AxisPen().Width();
    EXPECT_EQ(PixelAt(*bmp, x, left.TickPositions()[0]), clRed);
    // No label text left of the ticks.
    const TRect r = a.chart.ChartRect();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int xx = 0; xx < x - 6; ++xx)
            ASSERT_EQ(PixelAt(*bmp, xx, y), ColorToRGB(a.chart.Color())) << xx << "," << y;
}

TEST(AxisDraw, TitleTakesRoomBelowTheLabels) {
    AxisChart plain;
    plain.Draw();
    AxisChart titled;
    titled.chart.BottomAxis().Title().SetCaption("Time");
    titled.Draw();
    const int h = titled.chart.Canvas()->FontHeight();
    EXPECT_NEAR(plain.chart.ChartRect().Bottom - titled.chart.ChartRect().Bottom, h, 1);
    EXPECT_GT(titled.chart.BottomAxis().TitlePosition(), titled.chart.ChartRect().Bottom);
}

TEST(AxisDraw, GridAtTicksOrCentredBetween) {
    for (bool centred : {false, true}) {
        AxisChart a;
        TChartAxis& left = a.chart.LeftAxis();
        left.Grid().SetStyle(cb::gfx::psSolid);
        left.Grid().SetColor(clRed);
        left.Grid().SetWidth(1);
        left.SetGridCentered(centred);
        a.series->SetBarWidthPercent(1);
        auto bmp = a.Draw();
        const auto& t = left.TickPositions();
        ASSERT_GE(t.size(), 3u);
        const int x = (a.chart.BottomAxis().PixelOfValue(0) + a.chart.BottomAxis().PixelOfValue(1)) / 2;
        for (std::size_t i = 1; i + 1 < t.size(); ++i) {
            const int mid = Round((t[i] + t[i - 1]) * 0.5);
            EXPECT_EQ(PixelAt(*bmp, x, t[i]) == clRed, !centred) << i;
            EXPECT_EQ(PixelAt(*bmp, x, mid) == clRed, centred) << i;
        }
    }
}

TEST(AxisDraw, MinorTicksDivideEachInterval) {
    AxisChart a;
    TChartAxis& left = a.chart.LeftAxis();
    left.MinorTicks().SetColor(clBlue);
    left.MinorTicks().SetWidth(1);
    left.SetMinorTickCount(3);
    auto bmp = a.Draw();
    const auto& t = left.TickPositions();
    ASSERT_GE(t.size(), 2u);
    const int x = left.AxisLinePosition() - 2;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const int d = t[i] - t[i - 1];
        for (int j = 1; j <= 3; ++j) EXPECT_EQ(PixelAt(*bmp, x, t[i] - Round(double(d) / 4 * j)), clBlue);
    }
}

TEST(AxisDraw, LabelsSitAtTheirTicks) {
    // Each bottom label's ink is centred on its tick; each left label ends
    // just left of the axis and is centred on its tick vertically.
    AxisChart a(500, 320);
    auto bmp = a.Draw();
    TChartAxis& bottom = a.chart.BottomAxis();
    const TColor back = ColorToRGB(a.chart.Color());
    const int top = bottom.LabelsPosition(), h = a.chart.Canvas()->FontHeight();
    for (const TAxisLabel& l : bottom.LabelList()) {
        int lo = 10000, hi = -1;
        for (int x = l.Pixel - 30; x <= l.Pixel + 30; ++x)
            for (int y = top; y < top + h; ++y)
                if (PixelAt(*bmp, x, y) != back) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        ASSERT_GE(hi, lo) << l.Text;
        EXPECT_NEAR((lo + hi) / 2.0, l.Pixel, 2.5) << l.Text;
    }
    TChartAxis& left = a.chart.LeftAxis();
    // A left label is the run of inked rows around its tick.
    auto inkedRow = [&](int y, int& right) {
        bool any = false;
        for (int x = 0; x < left.LabelsPosition() + 2; ++x)
            if (PixelAt(*bmp, x, y) != back) {
                any = true;
                right = std::max(right, x);
            }
        return any;
    };
    for (const TAxisLabel& l : left.LabelList()) {
        int right = -1, lo = l.Pixel, hi = l.Pixel;
        ASSERT_TRUE(inkedRow(l.Pixel, right)) << l.Text;
        while (inkedRow(lo - 1, right)) --lo;
        while (inkedRow(hi + 1, right)) ++hi;
        EXPECT_NEAR((lo + hi) / 2.0, l.Pixel, 2) << l.Text;
        EXPECT_LE(right, left.LabelsPosition());
        EXPECT_GE(right, left.LabelsPosition() - 4);
    }
}

TEST(AxisDraw, PositionPercentMovesTheLineNotTheRoom) {
    AxisChart plain;
    plain.Draw();
    AxisChart moved;
    moved.chart.LeftAxis().SetPositionPercent(50);
    moved.Draw();
    const TRect& r = moved.chart.ChartRect();
    EXPECT_EQ(r.Left, plain.chart.ChartRect().Left);
    EXPECT_EQ(moved.chart.LeftAxis().AxisLinePosition(), r.Left + Round(0.5 * (r.Right - r.Left)));
}

}  // namespace
