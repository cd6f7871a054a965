// Who frees what: the chart frees its series, tools and axes once each,
// whether they were freed before, moved to another chart or replaced.
#include "chart/component/AxisPanel.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace cb::chart;

namespace {

std::map<std::string, int> Freed;

struct CountedSeries : TChartSeries {
    std::string Tag;
    explicit CountedSeries(std::string tag = {}) : Tag(std::move(tag)) {}
    ~CountedSeries() override { ++Freed[Tag]; }
};

struct CountedTool : TPlotCustomTool {
    std::string Tag;
    explicit CountedTool(std::string tag) : Tag(std::move(tag)) {}
    ~CountedTool() override { ++Freed[Tag]; }
};

}  // namespace

TEST(Ownership, EveryElementIsFreedExactlyOnce) {
    Freed.clear();
    auto other = std::make_unique<TAxisPanel>();
    {
        TAxisPanel chart;
        auto* kept = chart.CreateSeries<CountedSeries>();
        kept->Tag = "kept";
        auto* gone = chart.CreateSeries<CountedSeries>();
        gone->Tag = "gone";
        auto* moved = chart.CreateSeries<CountedSeries>();
        moved->Tag = "moved";
        auto* replaced = chart.CreateSeries<CountedSeries>();
        replaced->Tag = "replaced";
        auto* stranger = new CountedSeries("stranger");
        chart.SeriesList().PutSeries(chart.SeriesList().IndexOf(replaced), stranger);

        delete gone;  // leaves the chart on the way out
        EXPECT_EQ(Freed["gone"], 1);
        moved->SetParentChart(other.get());
        EXPECT_EQ(chart.NumberOfSeries(), 2);  // kept and stranger

        chart.Tools().AddTool(new CountedTool("tool"));
        delete chart.Tools().AddTool(new CountedTool("early tool"));
        EXPECT_EQ(chart.Tools().Count(), 1);

        const int builtIn = chart.Axes().Count();
        TChartAxis* custom = chart.CustomAxes().Add();
        chart.CustomAxes().Add();
        EXPECT_EQ(chart.Axes().Count(), builtIn + 2);
        EXPECT_EQ(chart.Axes().IndexOf(custom), builtIn);
        chart.CustomAxes().Delete(0);
        EXPECT_EQ(chart.CustomAxes().Count(), 1);
        EXPECT_EQ(chart.Axes().Count(), builtIn + 1);

        new TChartValueList(kept, "Extra");  // held by the series
        EXPECT_EQ(kept->ValueLists().Count(), 3);
    }
    const std::map<std::string, int> once = {{"kept", 1},     {"gone", 1}, {"replaced", 1},
                                             {"stranger", 1}, {"tool", 1}, {"early tool", 1}};
    for (const auto& [tag, n] : once) EXPECT_EQ(Freed[tag], n) << tag;
    EXPECT_EQ(Freed["moved"], 0);  // the other chart holds it now
    EXPECT_EQ(other->NumberOfSeries(), 1);
    other.reset();
    EXPECT_EQ(Freed["moved"], 1);
}
