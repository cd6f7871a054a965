// The chart scroll bar: axes follow the bar and the bar follows the axes; the
// chart's handlers come back when the bar leaves.
#include "EditorTestSupport.h"
#include "chart/axis/ChartAxis.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/controls/ChartScrollBar.h"

using namespace cb::charteditors;
using cb::chart::TChart;

namespace {

// A line chart of 100 points (x 0 .. 99) on the bottom and left axes.
std::unique_ptr<TChart> LineChart() {
    auto chart = std::make_unique<TChart>();
    chart->resize(400, 300);
    auto* s = chart->CreateSeries<cb::chart::TLineSeries>();
    for (int i = 0; i < 100; ++i) s->AddPoint(i, i % 7);
    return chart;
}

TEST(ChartScrollBar, StartsDetachedWithItsDefaults) {
    TChartScrollBar bar;
    EXPECT_FALSE(bar.isEnabled());
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 30000);
    EXPECT_EQ(bar.LargeChange(), 3000);
    EXPECT_EQ(bar.SmallChange(), 300);
    EXPECT_EQ(bar.Axis(), TScrollBarAxis::sbBoth);
}

TEST(ChartScrollBar, AutomaticAxisCentresTheThumbAndMovingDoesNothing) {
    auto chart = LineChart();
    TChartScrollBar bar;
    bar.SetChart(chart.get());
    EXPECT_TRUE(bar.isEnabled());
    EXPECT_EQ(bar.value(), 15000);
    EXPECT_EQ(bar.PageSize(), 30001);
    bar.setValue(100);
    EXPECT_TRUE(chart->BottomAxis().Automatic());
}

TEST(ChartScrollBar, ManualRangeRoundTripsAndBothAxesFollow) {
    auto chart = LineChart();
    chart->TopAxis().SetManualRange(0, 10);  // top has no series: left alone
    chart->BottomAxis().SetManualRange(20, 40);
    TChartScrollBar bar;
    bar.SetChart(chart.get());
    // Centre 30 of 0..99: 30/99 of 30000, minus half the page (20/99 of it).
    EXPECT_NEAR(bar.PageSize(), 20.0 / 99 * 30000, 1);
    EXPECT_NEAR(bar.value(), 30.0 / 99 * 30000 - bar.PageSize() / 2, 1);
    bar.setValue(15000 - bar.PageSize() / 2);
    EXPECT_NEAR(chart->BottomAxis().Minimum(), 39.5, 0.01);
    EXPECT_NEAR(chart->BottomAxis().Maximum(), 59.5, 0.01);
    EXPECT_EQ(chart->TopAxis().Minimum(), 0);
    EXPECT_EQ(chart->TopAxis().Maximum(), 10);
    const int moved = bar.value();
    bar.RecalcPosition();
    EXPECT_NEAR(bar.value(), moved, 1);
}

TEST(ChartScrollBar, PagingModeRunsFromOneToTheNumberOfPages) {
    auto chart = LineChart();
    chart->SetMaxPointsPerPage(10);
    TChartScrollBar bar;
    bar.SetChart(chart.get());
    EXPECT_EQ(bar.minimum(), 1);
    EXPECT_EQ(bar.maximum(), chart->NumPages());
    EXPECT_EQ(bar.SmallChange(), 1);
    EXPECT_EQ(bar.LargeChange(), 1);
    bar.setValue(4);
    EXPECT_EQ(chart->Page(), 4);
}

TEST(ChartScrollBar, GivesTheChartsHandlersBackWhenDetachedOrFreed) {
    auto chart = LineChart();
    int pageChanges = 0;
    chart->OnPageChange = [&](cb::chart::TCustomAxisPanel*) { ++pageChanges; };
    for (const bool freeBar : {false, true}) {
        auto bar = std::make_unique<TChartScrollBar>();
        bar->SetChart(chart.get());
        chart->OnPageChange(chart.get());
        EXPECT_EQ(pageChanges, 1) << "the bar calls the handler it replaced";
        if (freeBar)
            bar.reset();
        else
            bar->SetChart(nullptr);
        ASSERT_TRUE(chart->OnPageChange);
        chart->OnPageChange(chart.get());  // would reach a freed bar before
        EXPECT_EQ(pageChanges, 2);
        EXPECT_FALSE(chart->OnScroll);
        pageChanges = 0;
    }
}

TEST(ChartScrollBar, AChartThatGoesDetachesTheBar) {
    auto chart = LineChart();
    TChartScrollBar bar;
    bar.SetChart(chart.get());
    chart.reset();
    EXPECT_EQ(bar.Chart(), nullptr);
    EXPECT_FALSE(bar.isEnabled());
}

}  // namespace
