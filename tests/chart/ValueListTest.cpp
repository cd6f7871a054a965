#include "chart/series/ChartValueList.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace cb::chart;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

struct OrderedCase {
    TChartListOrder order;
    std::vector<double> start;
    double add;
    int index;
    std::vector<double> result;
};

void PrintTo(const OrderedCase& c, std::ostream* os) {
    *os << "add " << c.add << " at " << c.index;
}

class OrderedInsert : public testing::TestWithParam<OrderedCase> {};

TEST_P(OrderedInsert, LandsAfterEqualValues) {
    const OrderedCase& c = GetParam();
    TChartValueList l(nullptr, "Y");
    for (double v : c.start) l.InsertValueAt(l.ValueCount(), v);
    l.SetOrder(c.order);
    EXPECT_EQ(l.AddValue(c.add), c.index);
    EXPECT_EQ(Values(l), c.result);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrderedInsert,
                         testing::Values(OrderedCase{loAscending, {1, 2, 3}, 2, 2, {1, 2, 2, 3}},
                                         OrderedCase{loAscending, {1, 2, 3}, 0, 0, {0, 1, 2, 3}},
                                         OrderedCase{loAscending, {1, 2, 3}, 9, 3, {1, 2, 3, 9}},
                                         OrderedCase{loAscending, {2, 2, 2}, 2, 3, {2, 2, 2, 2}},
                                         OrderedCase{loDescending, {9, 5, 1}, 5, 2, {9, 5, 5, 1}},
                                         OrderedCase{loDescending, {9, 5, 1}, 7, 1, {9, 7, 5, 1}},
                                         OrderedCase{loDescending, {9, 5, 1}, 10, 0, {10, 9, 5, 1}},
                                         OrderedCase{loNone, {3, 1}, 2, 2, {3, 1, 2}},
                                         OrderedCase{loAscending, {}, 4, 0, {4}}),
                         [](const testing::TestParamInfo<OrderedCase>& i) { return std::to_string(i.index); });

TEST(ValueList, AscendingInsertsReturnIndexes) {
    TChartValueList l(nullptr, "X");
    l.SetOrder(loAscending);
    EXPECT_EQ(l.AddValue(3), 0);
    EXPECT_EQ(l.AddValue(1), 0);
    EXPECT_EQ(l.AddValue(2), 1);
    EXPECT_EQ(Values(l), (std::vector<double>{1, 2, 3}));
}

TEST(ValueList, GrowsInSteps) {
    TChartValueList l(nullptr, "Y");
    for (int i = 0; i < 1000; ++i) l.AddValue(i);
    EXPECT_EQ(l.Capacity(), 1000);
    l.AddValue(1000);
    EXPECT_EQ(l.Capacity(), 2000);
    l.ClearValues();
    EXPECT_EQ(l.Capacity(), 0);
    EXPECT_EQ(l.ValueCount(), 0);
}

TEST(ValueList, StatisticsAreLazyAndFollowChanges) {
    TChartValueList l(nullptr, "Y");
    EXPECT_EQ(l.Sum(), 0);
    EXPECT_EQ(l.Lowest(), 0);
    EXPECT_EQ(l.Highest(), 0);
    EXPECT_EQ(l.SumOfMagnitudes(), 0);
    for (double v : {-1.0, 2.0, 5.0}) l.AddValue(v);
    EXPECT_EQ(l.Sum(), 6);
    EXPECT_EQ(l.SumOfMagnitudes(), 8);
    EXPECT_EQ(l.Spread(), 6);
    EXPECT_FALSE(l.Modified());
    l.SetValue(0, 10);  // checked write marks the cache stale
    EXPECT_EQ(l.Highest(), 10);
    EXPECT_EQ(l.Lowest(), 2);
    l.DeleteValue(0);
    EXPECT_EQ(l.Sum(), 7);
}

TEST(ValueList, FindRotateAndDeleteRange) {
    TChartValueList l(nullptr, "Y");
    for (double v : {1.0, 2.0, 3.0, 2.0, 5.0}) l.AddValue(v);
    EXPECT_EQ(l.FindValue(2), 1);
    EXPECT_EQ(l.FindValueBetween(2, 4, 2), 3);
    EXPECT_EQ(l.FindValue(7), -1);
    l.DeleteRange(1, 3);
    EXPECT_EQ(Values(l), (std::vector<double>{1, 5}));
    l.AddValue(6);
    l.RotateValues();
    EXPECT_EQ(Values(l), (std::vector<double>{5, 6, 1}));
    l.FillWithIndexes();
    EXPECT_EQ(Values(l), (std::vector<double>{0, 1, 2}));
}

TEST(ValueList, BadIndexesAndEmptyEndsRaise) {
    TChartValueList l(nullptr, "Y");
    EXPECT_THROW(l.FirstValue(), ChartException);
    EXPECT_THROW(l.LastValue(), ChartException);
    EXPECT_THROW(l.DeleteValue(0), ChartException);
    EXPECT_THROW(l.Value(0), ChartException);
    l.AddValue(4);
    l.AddValue(8);
    EXPECT_EQ(l.FirstValue(), 4);
    EXPECT_EQ(l.LastValue(), 8);
    struct Bad {
        const char* what;
        std::function<void()> call;
    };
    const Bad cases[] = {
        {"value -1", [&] { l.Value(-1); }},
        {"value count", [&] { l.Value(2); }},
        {"set count", [&] { l.SetValue(2, 1); }},
        {"insert past end", [&] { l.InsertValueAt(3, 1); }},
        {"delete count", [&] { l.DeleteValue(2); }},
        {"range too long", [&] { l.DeleteRange(1, 2); }},
        {"exchange", [&] { l.ExchangeValues(0, 5); }},
        {"negative count", [&] { l.SetValueCount(-1); }},
    };
    for (const Bad& b : cases) EXPECT_THROW(b.call(), ChartException) << b.what;
    EXPECT_EQ(Values(l), (std::vector<double>{4, 8}));  // nothing changed
}

TEST(ValueList, SortByOrderCarriesColoursAndLabels) {
    TChartSeries s;
    s.XValues().SetOrder(loNone);
    s.AddPoint(3, 30, "c", 0x0000FF);
    s.AddPoint(1, 10, "a", clDefault);
    s.AddPoint(2, 20, "b", 0x00FF00);
    s.XValues().SetOrder(loAscending);  // no reordering by itself
    EXPECT_EQ(s.XValues().Value(0), 3);
    s.XValues().SortByOrder();
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s.PointLabel(0), "a");
    EXPECT_EQ(s.PointLabel(2), "c");
    EXPECT_EQ(s.StoredPointColor(0), clDefault);
    EXPECT_EQ(s.StoredPointColor(1), 0x00FF00u);
    EXPECT_EQ(s.StoredPointColor(2), 0x0000FFu);
}

TEST(ValueList, AssignCopiesSettingsOnly) {
    TChartValueList a(nullptr, "A"), b(nullptr, "B");
    a.SetOrder(loDescending);
    a.SetDateTime(true);
    a.SetValueSource("Amount");
    a.AddValue(1);
    b.Assign(a);
    EXPECT_EQ(b.Order(), loDescending);
    EXPECT_TRUE(b.DateTime());
    EXPECT_EQ(b.ValueSource(), "Amount");
    EXPECT_EQ(b.Name(), "B");
    EXPECT_EQ(b.ValueCount(), 0);
}

TEST(ValueList, LegacyMultiplierIsReadAndDiscarded) {
    std::vector<std::string> shown;
    SetEngineErrorSink([&](const std::string& text) { shown.push_back(text); });
    struct Case {
        const char* value;
        bool error;
    };
    const Case cases[] = {{"1", false}, {"1.0", false}, {"2", true}, {"0", true},
                          {"-1", true}, {"", true},     {"x", true}};
    for (const Case& c : cases) {
        shown.clear();
        TChartValueList l(nullptr, "Y");
        l.AddValue(5);
        EXPECT_TRUE(l.ReadLegacyProperty("Multiplier", c.value)) << c.value;
        ASSERT_EQ(shown.size(), c.error ? 1u : 0u) << c.value;
        if (c.error) {
            EXPECT_EQ(shown[0], "Error: Multiplier property is obsolete.\rModify PlotDefs (enable Multiplier) and "
                                "recompile.");
        }
        EXPECT_EQ(Values(l), std::vector<double>{5});  // the value itself goes nowhere
    }
    TChartValueList l(nullptr, "Y");
    EXPECT_FALSE(l.ReadLegacyProperty("Order", "loNone"));
    SetEngineErrorSink({});
}

}  // namespace
