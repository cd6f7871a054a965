#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/component/AxisPanel.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace cb::chart;

namespace {

// A chart whose rectangle puts the axes on known pixels.
struct Scale {
    TAxisPanel chart;
    explicit Scale(const TRect& r = {100, 100, 300, 400}) { chart.SetChartRect(r); }
    TChartAxis& Place(TChartAxis& a, double lo, double hi) {
        a.PlaceEnds();
        a.SetWorkingRange(lo, hi);
        return a;
    }
};

struct MapCase {
    const char* what;
    bool horizontal, inverted, logarithmic;
    double lo, hi, value;
    int pixel;
};

TEST(AxisScale, ValueToPixel) {
    // Horizontal axes span pixels 100..300, vertical ones 100..400.
    const MapCase cases[] = {
        {"linear", true, false, false, 0, 100, 50, 200},
        {"linear inverted middle", true, true, false, 0, 100, 50, 200},
        {"linear inverted", true, true, false, 0, 100, 25, 250},
        {"vertical maximum at top", false, false, false, 0, 100, 100, 100},
        {"vertical minimum at bottom", false, false, false, 0, 100, 0, 400},
        {"vertical inverted", false, true, false, 0, 100, 100, 400},
        {"zero range at centre", true, false, false, 5, 5, 123, 200},
        {"far right clamped", true, false, false, 0, 1, 1e12, AxisPixelLimit},
        {"far left clamped", true, false, false, 0, 1, -1e12, -AxisPixelLimit},
        {"log 10", true, false, true, 1, 1000, 10, 100 + 67},
        {"log 100", true, false, true, 1, 1000, 100, 100 + 133},
        {"log zero at start", true, false, true, 1, 1000, 0, 100},
        {"log negative at start", true, false, true, 1, 1000, -5, 100},
        {"log vertical", false, false, true, 1, 1000, 10, 300},
    };
    for (const MapCase& c : cases) {
        Scale s;
        TChartAxis& a = c.horizontal ? s.chart.BottomAxis() : s.chart.LeftAxis();
        a.SetInverted(c.inverted);
        if (c.logarithmic) {
            a.SetAutomatic(false);
            a.SetMaximum(c.hi);
            a.SetMinimum(c.lo);
            a.SetLogarithmic(true);
        }
        s.Place(a, c.lo, c.hi);
        EXPECT_EQ(a.PixelOfValue(c.value), c.pixel) << c.what;
    }
}

TEST(AxisScale, LogarithmicOnThreeHundredPixels) {
    Scale s({0, 0, 300, 300});
    TChartAxis& a = s.chart.BottomAxis();
    a.SetAutomatic(false);
    a.SetMaximum(1000);
    a.SetMinimum(1);
    a.SetLogarithmic(true);
    s.Place(a, 1, 1000);
    EXPECT_EQ(a.PixelOfValue(10), 100);
    EXPECT_EQ(a.PixelOfValue(100), 200);
    EXPECT_NEAR(a.ValueAtPixel(150), 31.62, 0.01);
    EXPECT_EQ(a.ValueAtPixel(0), 1);
    EXPECT_EQ(a.ValueAtPixel(300), 1000);
}

TEST(AxisScale, PixelToValueRoundTrip) {
    struct Case {
        bool horizontal, inverted;
    };
    for (Case c : {Case{true, false}, Case{true, true}, Case{false, false}, Case{false, true}}) {
        Scale s;
        TChartAxis& a = c.horizontal ? s.chart.BottomAxis() : s.chart.LeftAxis();
        a.SetInverted(c.inverted);
        s.Place(a, -50, 150);
        for (double v : {-50.0, 0.0, 37.0, 150.0})
            EXPECT_NEAR(a.ValueAtPixel(a.PixelOfValue(v)), v, 1.0) << c.horizontal << c.inverted << " " << v;
    }
}

TEST(AxisScale, PixelMarginsWidenTheRange) {
    Scale s({0, 0, 200, 200});
    TChartAxis& a = s.Place(s.chart.BottomAxis(), 0, 180);
    a.WidenForPixelMargins({10, 0, 10, 0});
    EXPECT_NEAR(a.WorkingMinimum(), -10, 1e-9);
    EXPECT_NEAR(a.WorkingMaximum(), 190, 1e-9);
    TChartAxis& v = s.Place(s.chart.LeftAxis(), 0, 180);
    v.WidenForPixelMargins({0, 10, 0, 10});
    EXPECT_NEAR(v.WorkingMinimum(), -10, 1e-9);
    EXPECT_NEAR(v.WorkingMaximum(), 190, 1e-9);
}

TEST(AxisScale, AutomaticRangeFromSeries) {
    TAxisPanel chart;
    chart.BottomAxis().RefreshRange();
    EXPECT_EQ(chart.BottomAxis().WorkingMinimum(), 0);  // nothing on the axis
    EXPECT_EQ(chart.BottomAxis().WorkingMaximum(), 0);

    auto* a = chart.CreateSeries<TChartSeries>();
    auto* b = chart.CreateSeries<TChartSeries>();
    auto* right = chart.CreateSeries<TChartSeries>();
    right->SetVertAxis(aRightAxis);
    a->AddPoint(2, 5);
    a->AddPoint(4, -3);
    b->AddPoint(1, 8);
    right->AddPoint(10, 100);
    struct Case {
        TChartAxis* axis;
        double lo, hi;
    };
    const Case cases[] = {{&chart.BottomAxis(), 1, 10}, {&chart.LeftAxis(), -3, 8}, {&chart.RightAxis(), 100, 100}};
    for (const Case& c : cases) {
        c.axis->RefreshRange();
        EXPECT_EQ(c.axis->WorkingMinimum(), c.lo);
        EXPECT_EQ(c.axis->WorkingMaximum(), c.hi);
    }
    b->SetActive(false);  // inactive series count only when no active one is on the axis
    chart.LeftAxis().RefreshRange();
    EXPECT_EQ(chart.LeftAxis().WorkingMaximum(), 5);
    chart.LeftAxis().SetAutomaticMaximum(false);
    EXPECT_FALSE(chart.LeftAxis().Automatic());
    chart.LeftAxis().SetMaximum(50);
    chart.LeftAxis().RefreshRange();
    EXPECT_EQ(chart.LeftAxis().WorkingMaximum(), 50);
    EXPECT_EQ(chart.LeftAxis().WorkingMinimum(), -3);
}

TEST(AxisScale, SetterChecksLeaveOldValues) {
    TAxisPanel chart;
    TChartAxis& a = chart.LeftAxis();
    a.SetMaximum(10);
    struct Bad {
        const char* message;
        std::function<void()> call;
    };
    const Bad cases[] = {
        {"Axis Minimum Value must be <= Maximum", [&] { a.SetMinimum(11); }},
        {"Axis Maximum Value must be >= Minimum", [&] { a.SetMaximum(-1); }},
        {"Axis increment must be >= 0", [&] { a.SetIncrement(-1); }},
        {"Labels Separation % must be greater than 0", [&] { a.SetLabelsSeparation(-1); }},
        {"Axis Logarithmic Base should be <> 1 and > 0", [&] { a.SetLogarithmicBase(1); }},
        {"Axis Logarithmic Base should be <> 1 and > 0", [&] { a.SetLogarithmicBase(0); }},
    };
    for (const Bad& b : cases) {
        try {
            b.call();
            ADD_FAILURE() << "no exception for " << b.message;
        } catch (const AxisException& e) {
            EXPECT_STREQ(e.what(), b.message);
        }
    }
    EXPECT_EQ(a.Maximum(), 10);
    EXPECT_EQ(a.Minimum(), 0);
    EXPECT_EQ(a.LogarithmicBase(), 10);
    a.SetLabelsSeparation(0);  // accepted

    chart.SetLoading(true);  // stored forms may hold any order
    a.SetMinimum(20);
    EXPECT_EQ(a.Minimum(), 20);
    chart.SetLoading(false);

    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddValue(-5);
    EXPECT_THROW(chart.LeftAxis().SetLogarithmic(true), AxisException);
    EXPECT_FALSE(chart.LeftAxis().Logarithmic());
    s->XValues().SetDateTime(true);
    try {
        chart.BottomAxis().SetLogarithmic(true);
        ADD_FAILURE();
    } catch (const AxisException& e) {
        EXPECT_STREQ(e.what(), "DateTime Axis cannot be Logarithmic");
    }
}

TEST(AxisScale, ManualRangeScrollAndZPosition) {
    TAxisPanel chart;
    TChartAxis& a = chart.LeftAxis();
    a.SetManualRange(7, 3);
    EXPECT_EQ(a.Minimum(), 3);
    EXPECT_EQ(a.Maximum(), 7);
    EXPECT_FALSE(a.Automatic());
    a.SetManualRange(5, 5);
    EXPECT_EQ(a.Maximum(), 5 + 1e-10);

    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddValue(4);
    a.SetManualRange(0, 10);
    a.ScrollRange(10, true);  // the series ends below Maximum
    EXPECT_EQ(a.Maximum(), 10);
    a.ScrollRange(10, false);
    EXPECT_EQ(a.Minimum(), 10);
    EXPECT_EQ(a.Maximum(), 20);

    a.SetZPosition(0);
    EXPECT_EQ(a.ZPosition(), 0.01);
    EXPECT_EQ(chart.TopAxis().ZPosition(), 100);
}

TEST(AxisScale, AssignCopiesLabelFontButNotDepth) {
    TAxisPanel chart;
    TChartAxis& from = chart.LeftAxis();
    from.LabelsFont().SetName("Tahoma");
    from.LabelsFont().SetSize(14);
    from.SetLabels(false);
    from.SetMinimum(-5);
    from.SetZPosition(40);
    TChartAxis& to = *chart.CustomAxes().Add();
    to.Assign(from);
    EXPECT_EQ(to.LabelsFont().Name(), "Tahoma");
    EXPECT_EQ(to.LabelsFont().Size(), 14);
    EXPECT_FALSE(to.Labels());
    EXPECT_EQ(to.Minimum(), -5);
    EXPECT_NE(to.ZPosition(), 40);
}

}  // namespace
