#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotHelpers.h"
#include "chart/component/AxisPanel.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace cb::chart;

namespace {

std::vector<double> LabelValues(const TChartAxis& a) {
    std::vector<double> v;
    for (const TAxisLabel& l : a.LabelList()) v.push_back(l.Value);
    return v;
}

// A chart with one series on the bottom and left axes, its horizontal axis
// on pixels 0..300.
struct Labels {
    TAxisPanel chart;
    TChartSeries* series;
    Labels() {
        chart.SetChartRect({0, 0, 300, 300});
        series = chart.CreateSeries<TChartSeries>();
    }
    TChartAxis& Bottom(double lo, double hi) {
        TChartAxis& a = chart.BottomAxis();
        a.SetLabelStyle(talValue);
        a.PlaceEnds();
        a.SetWorkingRange(lo, hi);
        return a;
    }
};

TEST(AxisLabels, NiceSteps) {
    const std::pair<double, double> cases[] = {{1, 2},       {2, 5}, {5, 10},    {20, 50},
                                               {0.02, 0.05}, {3, 5}, {0.3, 0.5}, {7, 10}};
    for (auto [x, next] : cases) EXPECT_NEAR(NextNiceStep(x), next, 1e-12) << x;
}

TEST(AxisLabels, IncrementForLabelExtent) {
    Labels t;
    TChartAxis& a = t.Bottom(0, 100);
    a.SetAxisValuesFormat("0");
    t.series->AddPoint(0, 0);
    t.series->AddPoint(100, 0);
    // 30-pixel labels with 10 % separation: 9 fit, 100 / 10 gives 10, so 20.
    EXPECT_DOUBLE_EQ(a.IncrementForLabelSize(30), 20);
    a.SetLabelsSeparation(0);  // 10 fit, the start value is kept unchecked
    EXPECT_NEAR(a.IncrementForLabelSize(30), 100.0 / 11, 1e-12);
    EXPECT_DOUBLE_EQ(a.IncrementForLabelSize(0), 50);  // one label

    struct Case {
        double lo, hi, increment;
        int room;
        double expected;
    };
    const Case cases[] = {
        {0, 1000, 0, 10, 100}, {0, 1, 0, 4, 1 /* two points: at least 1 */},
        {0, 0.5, 0, 4, 1},     {0, 100, 7, 100, 7},
        {0, 100, 7, 5, 20},    {5, 5, 0, 10, 1},
    };
    a.SetLabelsSeparation(10);
    for (const Case& c : cases) {
        a.SetIncrement(c.increment);
        a.SetWorkingRange(c.lo, c.hi);
        EXPECT_DOUBLE_EQ(a.CalcIncrementFor(c.room), c.expected) << c.lo << ".." << c.hi << " room " << c.room;
    }
}

TEST(AxisLabels, ShortSeriesStepsAtLeastOne) {
    Labels t;
    for (int i = 0; i < 5; ++i) t.series->AddValue(i);
    TChartAxis& a = t.Bottom(0, 4);
    EXPECT_GE(a.CalcIncrementFor(5), 1);
    EXPECT_GE(a.CalcIncrementFor(40), 1);
}

TEST(AxisLabels, DateTimeIncrementClimbsTheStepTable) {
    Labels t;
    t.series->XValues().SetDateTime(true);
    t.series->AddPoint(cb::rtl::EncodeDate(2024, 3, 1), 1);
    TChartAxis& a = t.Bottom(45000, 45001);
    ASSERT_TRUE(a.ShowsDateTime());
    EXPECT_DOUBLE_EQ(a.CalcIncrementFor(8), 6.0 / 24);  // 2 hours would make 12 labels
    EXPECT_DOUBLE_EQ(a.CalcIncrementFor(0), DateTimeSteps[0]);
    a.SetWorkingRange(45000, 45000 + 3650);  // ten years, 4 labels: whole years doubled
    EXPECT_DOUBLE_EQ(a.CalcIncrementFor(4), 1460);
}

TEST(AxisLabels, LinearLabelsFromTheTopDown) {
    struct Case {
        double lo, hi, increment;
        bool roundFirst;
        std::vector<double> labels;
    };
    const Case cases[] = {
        {0, 100, 20, true, {100, 80, 60, 40, 20, 0}},
        {3.7, 97.2, 10, true, {90, 80, 70, 60, 50, 40, 30, 20, 10}},
        {3.7, 97.2, 30, false, {97.2, 67.2, 37.2, 7.2}},
        {-25, 25, 10, true, {20, 10, 0, -10, -20}},
        {5, 5, 1, true, {5}},
    };
    for (const Case& c : cases) {
        Labels t;
        TChartAxis& a = t.Bottom(c.lo, c.hi);
        a.SetIncrement(c.increment);
        a.SetRoundFirstLabel(c.roundFirst);
        a.ComputeLabels();
        const std::vector<double> got = LabelValues(a);
        ASSERT_EQ(got.size(), c.labels.size()) << c.lo << ".." << c.hi;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.labels[i], 1e-9);
    }
}

TEST(AxisLabels, LabelTextsAndPixels) {
    Labels t;
    TChartAxis& a = t.Bottom(0, 3000);
    a.SetIncrement(1000);
    a.ComputeLabels();
    ASSERT_EQ(a.LabelList().size(), 4u);
    EXPECT_EQ(a.LabelList()[0].Text, "3,000");
    EXPECT_EQ(a.LabelList()[0].Pixel, 300);
    EXPECT_EQ(a.LabelList()[3].Text, "0");
    EXPECT_EQ(a.LabelList()[3].Pixel, 0);
    a.SetLabelsOnAxis(false);  // labels at the very ends are left out
    a.ComputeLabels();
    EXPECT_EQ(LabelValues(a), (std::vector<double>{2000, 1000}));
    a.SetLabelsOnAxis(true);
    a.SetAxisValuesFormat("0.0 'k'");
    a.SetLabelsMultiLine(true);
    t.chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int, std::string& text) { text = "<" + text + ">"; };
    a.ComputeLabels();
    EXPECT_EQ(a.LabelList()[1].Text, "<2000.0\rk>");
    EXPECT_EQ(CountLabelLines(a.LabelList()[1].Text), 2);
    EXPECT_EQ(CountLabelLines(""), 0);
    EXPECT_EQ(CountLabelLines("a\r"), 1);
}

TEST(AxisLabels, TooManyIncrementsStillGetCoarserLabels) {
    Labels t;
    TChartAxis& a = t.Bottom(0, 100);
    a.SetLabelsSeparation(0);
    a.SetIncrement(0.001);  // 100,000 increments
    a.ComputeLabels();
    ASSERT_FALSE(a.LabelList().empty());
    EXPECT_LT(a.LabelList().size(), 10000u);
    const double step = a.LabelList()[0].Value - a.LabelList()[1].Value;
    EXPECT_GE(step, 0.01);
    EXPECT_NEAR(a.LabelList().front().Value, 100, step);
    EXPECT_NEAR(a.LabelList().back().Value, 0, step);
}

TEST(AxisLabels, LogarithmicLabels) {
    struct Case {
        double lo, hi;
        bool minorGrid;
        std::vector<double> labels;
        std::vector<double> extraTicks;
    };
    std::vector<double> adding;
    for (int v = 150; v <= 800; v += 10) adding.push_back(v);
    const Case cases[] = {
        {1, 1000, false, {1, 10, 100, 1000}, {}},
        {0, 1000, false, {0.1, 1, 10, 100, 1000}, {}},
        {150, 800, false, adding, {}},
        {500, 800, true, {}, {50, 1000}},
    };
    for (const Case& c : cases) {
        Labels t;
        TChartAxis& a = t.chart.BottomAxis();
        a.SetAutomatic(false);
        a.SetMaximum(c.hi);
        a.SetMinimum(c.lo);
        a.SetLogarithmic(true);
        a.MinorGrid().SetVisible(c.minorGrid);
        t.Bottom(c.lo, c.hi);
        a.ComputeLabels();
        const std::vector<double> got = LabelValues(a);
        ASSERT_EQ(got.size(), c.labels.size()) << c.lo << ".." << c.hi;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.labels[i], 1e-9);
        for (double v : c.extraTicks) {
            const auto& ticks = a.TickPositions();
            EXPECT_NE(std::find(ticks.begin(), ticks.end(), a.PixelOfValue(v)), ticks.end()) << v;
        }
    }
}

TEST(AxisLabels, DateTimeLabelsFollowTheCalendar) {
    Labels t;
    t.series->XValues().SetDateTime(true);
    t.series->AddPoint(cb::rtl::EncodeDate(2024, 1, 10), 1);
    TChartAxis& a = t.Bottom(cb::rtl::EncodeDate(2024, 1, 10), cb::rtl::EncodeDate(2024, 5, 20));
    a.SetIncrement(30);
    a.SetDateTimeFormat("yyyy-mm-dd");
    a.ComputeLabels();
    std::vector<std::string> texts;
    for (const TAxisLabel& l : a.LabelList()) texts.push_back(l.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"2024-05-01", "2024-04-01", "2024-03-01", "2024-02-01"}));

    cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings();
    const cb::rtl::TFormatSettings keep = fs;
    fs.ShortDateFormat = "d mmm yyyy";
    fs.ShortTimeFormat = "hh.nn";
    a.SetDateTimeFormat("");  // short date above one day
    a.ComputeLabels();
    EXPECT_EQ(a.LabelList().front().Text, "1 May 2024");
    a.SetWorkingRange(45000.25, 45000.75);  // short time within a day
    a.SetIncrement(DateTimeSteps[13]);      // 2 hours
    a.ComputeLabels();
    EXPECT_EQ(a.LabelList().front().Text, "18.00");
    fs = keep;
    EXPECT_EQ(a.FormatLabelValue(-1), "");
}

TEST(AxisLabels, EventLabels) {
    Labels t;
    TChartAxis& a = t.Bottom(0, 100);
    a.SetIncrement(50);
    t.chart.OnGetNextAxisLabel = [](TChartAxis*, int, double&, bool& stop) { stop = true; };
    a.ComputeLabels();
    EXPECT_EQ(LabelValues(a), (std::vector<double>{100, 50, 0}));  // stopped at once: normal labels

    t.chart.OnGetNextAxisLabel = [](TChartAxis*, int index, double& v, bool& stop) {
        stop = index == 3;
        v = index * 7;
    };
    a.ComputeLabels();
    EXPECT_EQ(LabelValues(a), (std::vector<double>{0, 7, 14}));

    int calls = 0;
    t.chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double& v, bool& stop) {
        ++calls;
        stop = false;
        v = 1;
    };
    a.ComputeLabels();
    EXPECT_EQ(calls, 2001);
    EXPECT_EQ(a.LabelList().size(), 2001u);
}

TEST(AxisLabels, CustomLabelsReplaceAutomaticOnes) {
    Labels t;
    TChartAxis& a = t.chart.BottomAxis();
    a.SetAutomatic(false);
    a.SetMaximum(100);
    a.SetIncrement(10);
    a.Items().AddLabel(25, "quarter");
    a.Items().AddLabel(50);
    a.Items().AddLabel(500, "outside");
    t.Bottom(0, 100);
    a.ComputeLabels();
    ASSERT_EQ(a.LabelList().size(), 2u);
    EXPECT_EQ(a.LabelList()[0].Text, "quarter");
    EXPECT_EQ(a.LabelList()[0].Pixel, 75);
    EXPECT_EQ(a.LabelList()[1].Text, "50");
}

TEST(AxisLabels, PointLabelsSkipOverlapsAndEmptyTexts) {
    Labels t;
    for (int i = 0; i < 30; ++i) t.series->AddValue(i, "Label " + std::to_string(i));
    TChartAxis& a = t.chart.BottomAxis();
    EXPECT_EQ(a.EffectiveLabelStyle(), talText);
    EXPECT_EQ(t.chart.LeftAxis().EffectiveLabelStyle(), talValue);
    a.PlaceEnds();
    a.SetWorkingRange(0, 29);
    a.ComputeLabels();
    const std::size_t withSeparation = a.LabelList().size();
    EXPECT_GT(withSeparation, 1u);
    EXPECT_LT(withSeparation, 30u);
    a.SetLabelsSeparation(0);
    a.ComputeLabels();
    EXPECT_EQ(a.LabelList().size(), 30u);
    t.chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries*, int index, std::string& text) {
        if (index == 3) text.clear();
    };
    a.ComputeLabels();
    EXPECT_EQ(a.LabelList().size(), 29u);
    EXPECT_EQ(a.LabelList()[3].Text, "Label 4");
}

}  // namespace
