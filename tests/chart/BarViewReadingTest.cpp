// Bars as a person reads them: the automatic value axis holds the tallest
// and the lowest bar inside the plot, and in 3D a bar nearer the viewer is
// drawn over the side faces of the bars behind it.
#include "ChartTestSupport.h"
#include "chart/axis/ChartAxis.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/series/bar/BarSeries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace cb::chart;
using charttest::TestChart;

namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

TBarSeries* AddBars(TAxisPanel& chart, const std::vector<double>& values, TMultiBar mode, TColor color) {
    auto* s = chart.CreateSeries<TBarSeries>();
    s->SetMultiBar(mode);
    s->Marks().SetVisible(false);
    s->SetSeriesColor(color);
    for (double v : values) s->AddValue(v);
    return s;
}

// Rows of column x painted in colour c: first and last, or -1, -1.
std::pair<int, int> ColumnRun(const TestChart& t, int x, TColor c) {
    int first = -1, last = -1;
    for (int y = 0; y < t.bitmap->Height(); ++y)
        if (t.At(x, y) == c) {
            if (first < 0) first = y;
            last = y;
        }
    return {first, last};
}

}  // namespace

// Values that end just above a label step (18.16 with labels every 2), piled
// up in stacks, or below the origin: the automatic axis reaches past every
// bar end, and every bar's ends lie inside the plot rectangle.
TEST(BarViewReading, AutomaticValueAxisHoldsEveryBarEnd) {
    struct Series {
        std::vector<double> values;
        TColor color;
    };
    struct Case {
        const char* name;
        TMultiBar mode;
        std::vector<Series> series;
        double highest, lowest;  // of the bar ends
    };
    const std::vector<Case> cases = {
        {"one series just above a step", mbSide, {{{5, 18.16, 7}, kRed}}, 18.16, 0},
        {"side by side", mbSide, {{{12, 3}, kRed}, {{18.16, 17.9}, kBlue}}, 18.16, 0},
        {"stacked", mbStacked, {{{10, 8}, kRed}, {{8.16, 3}, kBlue}}, 18.16, 0},
        {"stacked, mixed signs", mbStacked, {{{10, -6}, kRed}, {{8.16, -12.16}, kBlue}}, 18.16, -18.16},
        {"self stacked", mbSelfStack, {{{6, 6, 6.16}, kRed}}, 18.16, 0},
        {"all below the origin", mbSide, {{{-5, -18.16, -7}, kRed}}, 0, -18.16},
    };
    for (const Case& k : cases)
        for (int height : {300, 500}) {
            SCOPED_TRACE(std::string(k.name) + " at height " + std::to_string(height));
            TestChart t(500, height);
            t.chart.LeftAxis().SetIncrement(2);
            for (const Series& s : k.series) AddBars(t.chart, s.values, k.mode, s.color);
            t.Draw();
            TChartAxis& axis = t.chart.LeftAxis();
            EXPECT_GE(axis.WorkingMaximum(), k.highest - 1e-9);
            EXPECT_LE(axis.WorkingMinimum(), k.lowest + 1e-9);
            const TRect plot = t.chart.ChartRect();
            for (int n = 0; n < t.chart.NumberOfSeries(); ++n) {
                auto& bars = static_cast<TBarSeries&>(*t.chart.SeriesAt(n));
                for (int i = 0; i < bars.PointCount(); ++i) {
                    SCOPED_TRACE("series " + std::to_string(n) + " point " + std::to_string(i));
                    const int valueEnd = bars.ScreenY(i), originEnd = bars.OriginY(i);
                    EXPECT_GE(std::min(valueEnd, originEnd), plot.Top);
                    EXPECT_LE(std::max(valueEnd, originEnd), plot.Bottom);
                    // What is painted agrees: the bar's colour stays inside the plot.
                    const auto [first, last] = ColumnRun(t, bars.ScreenX(i) + bars.BarSize() / 2, bars.SeriesColor());
                    ASSERT_GE(first, 0);
                    EXPECT_GE(first, plot.Top);
                    EXPECT_LE(last, plot.Bottom);
                }
            }
        }
}

namespace {

// Two equal bars standing close together, deep enough that, turned, the side
// face of one falls on the other. Which one is nearer is read from the
// pictures of each bar alone, without asking the engine.
struct TurnedBars {
    TestChart t{700, 450, true};
    std::vector<TBarSeries*> series;

    TurnedBars(int rotation, bool twoSeries, int elevation, int perspective) {
        t.chart.SetChart3DPercent(100);
        TView3DOptions& view = t.chart.View3DOptions();
        view.SetOrthogonal(false);
        view.SetPerspective(perspective);
        view.SetElevation(elevation);
        view.SetRotation(rotation);
        t.chart.LeftAxis().SetManualRange(0, 20);
        if (twoSeries) {
            series.push_back(AddBars(t.chart, {10}, mbSide, kRed));
            series.push_back(AddBars(t.chart, {10}, mbSide, kBlue));
        } else {
            auto* s = AddBars(t.chart, {10, 10}, mbSide, kRed);
            s->SetPointColor(0, kRed);
            s->SetPointColor(1, kBlue);
            series.push_back(s);
        }
        for (TBarSeries* s : series) {
            s->SetDark3D(false);
            s->SetBarWidthPercent(95);
            s->BarPen().SetVisible(false);
        }
    }
    // The picture with only one of the two bars shown.
    std::vector<bool> Alone(TColor keep) {
        // The other bar becomes a null point: nothing drawn, the layout kept.
        const auto hide = [&](TColor bar, TColor colour) {
            if (series.size() == 2)
                series[bar == kRed ? 0 : 1]->SetPointColor(0, colour);
            else
                series[0]->SetPointColor(bar == kRed ? 0 : 1, colour);
        };
        const TColor other = keep == kRed ? kBlue : kRed;
        hide(other, clNone);
        t.Draw();
        std::vector<bool> mask(t.bitmap->Width() * t.bitmap->Height());
        for (int y = 0; y < t.bitmap->Height(); ++y)
            for (int x = 0; x < t.bitmap->Width(); ++x) mask[y * t.bitmap->Width() + x] = t.At(x, y) == keep;
        hide(other, other);
        return mask;
    }
};

// Rows from the highest to the lowest painted one.
int Height(const std::vector<bool>& mask, int width) {
    int top = -1, bottom = -1;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) {
            const int y = static_cast<int>(i) / width;
            if (top < 0) top = y;
            bottom = y;
        }
    return top < 0 ? 0 : bottom - top + 1;
}

// The lowest painted row.
int LowestRow(const std::vector<bool>& mask, int width) {
    int bottom = -1;
    for (size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) bottom = static_cast<int>(i) / width;
    return bottom;
}

}  // namespace

// Turned either way, from the front or from behind, where the two bars
// overlap on the screen the nearer one is seen: two points of one series, and
// two series side by side that share a depth row (drawn point by point).
TEST(BarViewReading, NearerBarIsDrawnOverTheOneBehindIt) {
    struct View {
        const char* name;
        int elevation, perspective;
        int (*nearness)(const std::vector<bool>&, int);  // larger for the nearer bar
    };
    const View views[] = {
        // Seen from a little above, the floor nearer the viewer lies lower.
        {"from above", 350, 60, LowestRow},
        // The chart view's eye level: perspective makes the nearer bar taller.
        {"at eye level", 360, 20, Height},
    };
    for (const View& v : views)
        for (bool twoSeries : {false, true})
            for (int rotation : {20, 45, 135, 160, 200, 225, 315, 340}) {
                SCOPED_TRACE(std::string(v.name) + (twoSeries ? ", two series" : ", one series") + ", rotation " +
                             std::to_string(rotation));
                TurnedBars b(rotation, twoSeries, v.elevation, v.perspective);
                const std::vector<bool> red = b.Alone(kRed), blue = b.Alone(kBlue);
                const int width = b.t.bitmap->Width();
                const int redNear = v.nearness(red, width), blueNear = v.nearness(blue, width);
                ASSERT_NE(redNear, blueNear) << "the two bars look equally near";
                const TColor nearer = redNear > blueNear ? kRed : kBlue;
                const TColor farther = nearer == kRed ? kBlue : kRed;
                b.t.Draw();
                int overlap = 0, nearerSeen = 0, fartherSeen = 0;
                for (size_t i = 0; i < red.size(); ++i) {
                    if (!red[i] || !blue[i]) continue;
                    ++overlap;
                    const TColor c = b.t.At(static_cast<int>(i) % width, static_cast<int>(i) / width);
                    nearerSeen += c == nearer;
                    fartherSeen += c == farther;
                }
                EXPECT_GT(overlap, 0) << "the fixture should make the bars overlap";
                EXPECT_EQ(fartherSeen, 0) << "of " << overlap << " overlapping pixels";
                EXPECT_EQ(nearerSeen, overlap);
            }
}
