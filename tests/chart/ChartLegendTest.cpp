// The legend: what it lists, its layout, the item under a point, check
// boxes and paging.
#include "chart/component/Chart.h"
#include "chart/core/PlotExceptions.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace cb::chart;

namespace {

struct LegendChart {
    TChart chart;
    std::vector<TBarSeries*> series;
    explicit LegendChart(int count = 3, int points = 4, int w = 600, int h = 400) {
        chart.resize(w, h);
        chart.SetView3D(false);
        for (int s = 0; s < count; ++s) {
            auto* b = chart.CreateSeries<TBarSeries>();
            b->SetTitle("Series " + std::to_string(s + 1));
            b->Marks().SetVisible(false);
            for (int i = 0; i < points; ++i) b->AddValue(10 + i + s, "P" + std::to_string(i));
            series.push_back(b);
        }
    }
    TChartLegend& Legend() { return chart.Legend(); }
    void Draw() { chart.DrawToBitmap(clWhite, chart.PanelRect()); }
    // Centre of the item drawn at position p (row-major).
    TPoint ItemCentre(int p) {
        TChartLegend& l = Legend();
        const TRect& b = l.Bounds();
        const int cols = std::max(1, l.Columns());
        const int row = p / cols, col = p % cols;
        const int colWidth = b.Width() / cols;
        return {b.Left + 1 + col * colWidth + colWidth / 2,
                l.ItemsTop() + 1 + row * l.ItemHeight() + l.ItemHeight() / 2};
    }
};

}  // namespace

TEST(ChartLegend, AutoStyleListsSeriesOrPoints) {
    LegendChart two(2, 5);
    two.Draw();
    EXPECT_EQ(two.Legend().EffectiveStyle(), lsSeries);
    EXPECT_EQ(two.Legend().TotalItems(), 2);
    EXPECT_EQ(two.Legend().ItemTexts()[1].Column[0], "Series 2");

    LegendChart one(1, 5);
    one.Draw();
    EXPECT_EQ(one.Legend().EffectiveStyle(), lsValues);
    EXPECT_EQ(one.Legend().TotalItems(), 5);

    // Visible, but no active series and no check boxes: not shown.
    LegendChart none(1, 5);
    none.series[0]->SetActive(false);
    EXPECT_FALSE(none.Legend().IsShown());
    none.Legend().SetCheckBoxes(true);
    EXPECT_TRUE(none.Legend().IsShown());
}

TEST(ChartLegend, TextColumnsAlignByTextStyle) {
    LegendChart c(1, 3);
    c.Legend().SetTextStyle(ltsLeftValue);
    c.Draw();
    // Column 0 the value, column 1 the label.
    ASSERT_EQ(c.Legend().ItemTexts().size(), 3u);
    EXPECT_EQ(c.Legend().ItemTexts()[0].Column[1], "P0");
    EXPECT_GT(c.Legend().ColumnWidth(0), 0);
    EXPECT_GT(c.Legend().ColumnWidth(1), 0);
}

TEST(ChartLegend, VerticalLayoutTakesItsWidthFromTheRight) {
    LegendChart c(3, 4);
    const TRect before = [&] {
        c.Legend().SetVisible(false);
        c.Draw();
        return c.chart.ChartRect();
    }();
    c.Legend().SetVisible(true);
    c.Draw();
    const TRect& box = c.Legend().Bounds();
    EXPECT_EQ(c.Legend().Rows(), 3);
    EXPECT_EQ(c.Legend().Columns(), 1);
    EXPECT_LT(c.chart.ChartRect().Right, box.Left);
    EXPECT_LT(c.chart.ChartRect().Right, before.Right);
    // Top at TopPos percent of the panel height.
    EXPECT_EQ(box.Top, c.chart.ChartBounds().Top + Round(10 * c.chart.ChartBounds().Height() / 100.0));
    EXPECT_EQ(box.Height(), 3 * c.Legend().ItemHeight() + 2);
}

TEST(ChartLegend, HorizontalLayoutWrapsIntoColumnsAndRows) {
    // Twelve series at the bottom: as many columns as fit, then rows, at
    // most MaxNumRows.
    LegendChart c(12, 2, 500, 400);
    TChartLegend& l = c.Legend();
    l.SetAlignment(laBottom);
    l.SetMaxNumRows(100);
    c.Draw();
    ASSERT_GT(l.Columns(), 1);
    EXPECT_EQ(l.Rows(), (12 + l.Columns() - 1) / l.Columns());
    EXPECT_GT(l.Bounds().Top, c.chart.ChartRect().Bottom);
    l.SetMaxNumRows(1);
    c.Draw();
    EXPECT_EQ(l.Rows(), 1);
    EXPECT_EQ(l.LastValue(), l.Columns() - 1);
}

struct HitCase {
    TLegendAlignment Alignment;
    bool Inverted;
    int Position;  // drawn position probed
    int Expected;  // item index
};

class LegendHit : public ::testing::TestWithParam<HitCase> {};

TEST_P(LegendHit, ItemAtPoint) {
    const HitCase& k = GetParam();
    LegendChart c(6, 2, 700, 400);
    c.Legend().SetAlignment(k.Alignment);
    c.Legend().SetInverted(k.Inverted);
    c.Draw();
    const TPoint p = c.ItemCentre(k.Position);
    EXPECT_EQ(c.Legend().ItemAtPoint(p.X, p.Y), k.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LegendHit,
                         ::testing::Values(HitCase{laRight, false, 0, 0}, HitCase{laRight, false, 5, 5},
                                           HitCase{laRight, true, 0, 5}, HitCase{laLeft, false, 2, 2},
                                           HitCase{laBottom, false, 0, 0}, HitCase{laBottom, false, 4, 4},
                                           HitCase{laBottom, true, 0, 5}, HitCase{laTop, false, 3, 3}));

TEST(ChartLegend, PointsOutsideHitNothing) {
    LegendChart c(3, 2);
    c.Draw();
    const TRect& b = c.Legend().Bounds();
    EXPECT_EQ(c.Legend().ItemAtPoint(b.Left - 1, b.Top + 5), -1);
    // Inside the box (made taller by the chart's hook) but below the last
    // row.
    c.chart.OnGetLegendRect = [](TCustomChart*, TRect& r) { r.Bottom += 40; };
    c.Draw();
    EXPECT_EQ(c.Legend().ItemAtPoint(b.Left + 5, c.Legend().Bounds().Bottom - 5), -1);
    EXPECT_EQ(c.Legend().ItemAtPoint(b.Left + 5, c.Legend().Bounds().Bottom + 1), -1);
}

TEST(ChartLegend, CheckBoxesSwitchSeries) {
    LegendChart c(3, 2);
    TChartLegend& l = c.Legend();
    c.series[1]->SetActive(false);
    l.SetCheckBoxes(true);
    c.Draw();
    // The inactive series is listed (unticked) and a click activates it.
    EXPECT_EQ(l.TotalItems(), 3);
    const TPoint p = c.ItemCentre(1);
    EXPECT_TRUE(l.ClickCheckBox(p.X, p.Y));
    EXPECT_TRUE(c.series[1]->Active());
    EXPECT_TRUE(l.ClickCheckBox(p.X, p.Y));
    EXPECT_FALSE(c.series[1]->Active());
    // Radio style: the click activates only that series.
    l.SetCheckBoxesStyle(cbsRadio);
    c.Draw();
    const TPoint q = c.ItemCentre(2);
    EXPECT_TRUE(l.ClickCheckBox(q.X, q.Y));
    EXPECT_FALSE(c.series[0]->Active());
    EXPECT_FALSE(c.series[1]->Active());
    EXPECT_TRUE(c.series[2]->Active());
}

TEST(ChartLegend, RadioStyleLeavesTheFirstActive) {
    LegendChart c(3, 2);
    c.Legend().SetCheckBoxes(true);
    c.Legend().SetCheckBoxesStyle(cbsRadio);
    EXPECT_TRUE(c.series[0]->Active());
    EXPECT_FALSE(c.series[1]->Active());
    EXPECT_FALSE(c.series[2]->Active());
}

TEST(ChartLegend, RadioClickWithSeriesHiddenFromTheLegend) {
    // Two of four series are not in the legend: the click walks the chart's
    // series count but only reaches the legend's own series.
    LegendChart c(4, 2);
    c.series[0]->SetShowInLegend(false);
    c.series[2]->SetShowInLegend(false);
    c.Legend().SetCheckBoxes(true);
    c.Legend().SetCheckBoxesStyle(cbsRadio);
    c.Draw();
    ASSERT_EQ(c.Legend().TotalItems(), 2);
    const TPoint p = c.ItemCentre(1);
    EXPECT_TRUE(c.Legend().ClickCheckBox(p.X, p.Y));
    EXPECT_FALSE(c.series[1]->Active());
    EXPECT_TRUE(c.series[3]->Active());
}

TEST(ChartLegend, ValuesLegendFollowsThePage) {
    LegendChart c(1, 40);
    c.chart.SetMaxPointsPerPage(10);
    c.chart.SetPage(3);
    c.Draw();
    EXPECT_EQ(c.Legend().FirstValue(), 20);
    EXPECT_EQ(c.Legend().TotalItems(), 10);
    ASSERT_FALSE(c.Legend().ItemTexts().empty());
    EXPECT_NE(c.Legend().ItemTexts()[0].Column[1].find("P20"), std::string::npos);
}

TEST(ChartLegend, NegativeFirstValueIsRefused) {
    LegendChart c(1, 3);
    c.Legend().SetFirstValue(1);
    EXPECT_THROW(c.Legend().SetFirstValue(-1), LegendException);
    EXPECT_EQ(c.Legend().FirstValue(), 1);
    try {
        c.Legend().SetFirstValue(-1);
    } catch (const LegendException& e) {
        EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
    }
}

TEST(ChartLegend, EmptyLegendLeavesTheChartRectangle) {
    LegendChart c(1, 0);
    c.Legend().SetLegendStyle(lsValues);
    c.Draw();
    const TRect withLegend = c.chart.ChartRect();
    c.Legend().SetVisible(false);
    c.Draw();
    EXPECT_EQ(c.chart.ChartRect().Right, withLegend.Right);
}

TEST(ChartLegend, SeriesSymbolDrawnAnywhere) {
    // A series without a chart draws its symbol on a plain canvas through
    // a temporary chart, and is left without a chart afterwards.
    TBarSeries series;
    series.SetSeriesColor(clRed);
    cb::gfx::TBitmap bmp(40, 20);
    DrawSeriesLegendSymbol(series, bmp.Canvas(), {2, 2, 38, 18}, nullptr);
    bmp.Canvas().ReleasePainter();
    const QRgb c = bmp.Image().pixel(20, 10);
    EXPECT_EQ(cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c)), clRed);
    EXPECT_EQ(series.ParentChart(), nullptr);
}
