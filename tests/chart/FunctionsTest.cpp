// The series functions, checked against results that a separate Python
// program computes from the same points.
#include "chart/component/AxisPanel.h"
#include "chart/component/StandardSeries.h"
#include "chart/core/PlotExceptions.h"
#include "chart/functions/AverageFunction.h"
#include "chart/functions/CustomFunction.h"
#include "chart/functions/HighLowFunctions.h"
#include "chart/functions/ManySeriesFunctions.h"
#include "chart/functions/SortedFunctions.h"
#include "chart/series/SeriesTypes.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace cb::chart;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

std::unique_ptr<TPlotFunction> Make(const std::string& name) {
    if (name == "add") return std::make_unique<TAddPlotFunction>();
    if (name == "subtract") return std::make_unique<TSubtractPlotFunction>();
    if (name == "multiply") return std::make_unique<TMultiplyPlotFunction>();
    if (name == "divide") return std::make_unique<TDividePlotFunction>();
    if (name == "high") return std::make_unique<THighPlotFunction>();
    if (name == "low") return std::make_unique<TLowPlotFunction>();
    if (name == "average") return std::make_unique<TAveragePlotFunction>();
    if (name == "median") return std::make_unique<TMedianPlotFunction>();
    return std::make_unique<TModePlotFunction>();
}

std::string Join(const std::vector<double>& v) {
    std::ostringstream s;
    s.precision(17);
    for (std::size_t i = 0; i < v.size(); ++i) s << (i ? "," : "") << v[i];
    return s.str();
}

std::vector<double> Split(const std::string& text) {
    std::vector<double> v;
    std::stringstream s(text);
    std::string item;
    while (std::getline(s, item, ','))
        if (!item.empty()) v.push_back(std::stod(item));
    return v;
}

// The reference program's answers, name -> (positions, values).
std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> Reference(const std::string& input) {
    const std::string in = testing::TempDir() + "functions_in.txt";
    const std::string out = testing::TempDir() + "functions_out.txt";
    std::ofstream(in) << input;
    const std::string command =
        "python3 " + std::string(CB_SOURCE_DIR) + "/tests/chart/function_reference.py < " + in + " > " + out;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::map<std::string, std::pair<std::vector<double>, std::vector<double>>> r;
    std::ifstream file(out);
    std::string line;
    while (std::getline(file, line)) {
        const auto a = line.find('|'), b = line.find('|', a + 1);
        r[line.substr(0, a)] = {Split(line.substr(a + 1, b - a - 1)), Split(line.substr(b + 1))};
    }
    return r;
}

struct Source {
    std::vector<double> x, y;
};

TEST(Functions, MatchTheReferenceProgram) {
    const std::map<std::string, Source> sources = {
        {"mixed", {{1, 2, 3, 4, 5, 7, 8, 12}, {3, -1, 4, -1, -5, 9, -2, 6}}},
        {"negative", {{0, 1, 2, 3, 4}, {-4, -8, -2, -8, -6}}},
        {"single", {{5}, {2.5}}},
        {"empty", {{}, {}}},
    };
    struct Period {
        double period;
        const char* style;
        TFunctionPeriodStyle value;
    };
    const std::vector<Period> periods = {
        {0, "points", TFunctionPeriodStyle::psNumPoints},    {0.3, "points", TFunctionPeriodStyle::psNumPoints},
        {1, "points", TFunctionPeriodStyle::psNumPoints},    {2, "points", TFunctionPeriodStyle::psNumPoints},
        {2.5, "points", TFunctionPeriodStyle::psNumPoints},  {3, "points", TFunctionPeriodStyle::psNumPoints},
        {20, "points", TFunctionPeriodStyle::psNumPoints},   {0.3, "range", TFunctionPeriodStyle::psRange},
        {2.5, "range", TFunctionPeriodStyle::psRange},       {100, "range", TFunctionPeriodStyle::psRange},
    };
    const std::vector<std::pair<const char*, TFunctionPeriodAlign>> aligns = {
        {"first", TFunctionPeriodAlign::paFirst},
        {"center", TFunctionPeriodAlign::paCenter},
        {"last", TFunctionPeriodAlign::paLast}};
    const char* functions[] = {"add", "subtract", "high", "low", "average", "median", "mode"};

    struct Ours {
        std::string name;
        std::vector<double> x, y;
    };
    std::vector<Ours> ours;
    std::string input;
    for (const auto& [sourceName, src] : sources)
        for (const Period& p : periods)
            for (const auto& [alignName, align] : aligns)
                for (const char* f : functions)
                    for (bool single : {false, true}) {
                        const std::string name = std::string(f) + " of " + sourceName + " period " +
                                                 std::to_string(p.period) + " " + p.style + " " + alignName +
                                                 (single ? " bar" : " line");
                        input += name + "|" + f + "|" + std::to_string(p.period) + "|" + p.style + "|" + alignName +
                                 "|" + (single ? "1" : "0") + "|" + Join(src.x) + "|" + Join(src.y) + "\n";
                        TAxisPanel chart;
                        TChartSeries* s = chart.CreateSeries<TLineSeries>();
                        for (std::size_t i = 0; i < src.x.size(); ++i) s->AddPoint(src.x[i], src.y[i]);
                        TChartSeries* out = single ? static_cast<TChartSeries*>(chart.CreateSeries<TBarSeries>())
                                                   : chart.CreateSeries<TLineSeries>();
                        auto fn = Make(f);
                        fn->SetPeriod(p.period);
                        fn->SetPeriodStyle(p.value);
                        fn->SetPeriodAlign(align);
                        out->AttachFunction(std::move(fn));
                        out->SetDataSource(s);
                        ours.push_back({name, Values(out->XValues()), Values(out->YValues())});
                    }
    const auto reference = Reference(input);
    ASSERT_EQ(reference.size(), ours.size());
    for (const Ours& o : ours) {
        SCOPED_TRACE(o.name);
        const auto it = reference.find(o.name);
        ASSERT_NE(it, reference.end());
        ASSERT_EQ(o.x.size(), it->second.first.size());
        for (std::size_t i = 0; i < o.x.size(); ++i) {
            EXPECT_NEAR(o.x[i], it->second.first[i], 1e-9) << i;
            EXPECT_NEAR(o.y[i], it->second.second[i], 1e-9) << i;
        }
    }
}

// Several data sources: the value at each index across them.
TEST(Functions, AcrossSources) {
    struct Case {
        const char* function;
        std::vector<std::vector<double>> sources;
        std::vector<double> expected;
    };
    const std::vector<Case> cases = {
        {"add", {{1, 2, 3}, {10, 20}}, {11, 22, 3}},
        {"subtract", {{10, 10, 10}, {1, 2, 3}, {1, 1, 1}}, {8, 7, 6}},
        {"multiply", {{2, 3}, {4, 5}}, {8, 15}},
        {"divide", {{8, 9}, {2, 0}}, {4, 9}},  // a divisor of 0 is skipped
        {"high", {{-3, -7}, {-5, -1}}, {-3, -1}},  // all negative: never 0
        {"high", {{5}, {-4, -2}}, {5, -2}},        // the first source ends early
        {"low", {{-3}, {-5, 7}}, {-5, 7}},
        {"average", {{1, 2}, {3, 4}, {5, 6}}, {3, 4}},
        {"median", {{1, 9}, {5, 1}, {3, 4}, {7, 2}}, {4, 3}},
        {"mode", {{1, 2}, {2, 3}, {2, 3}, {3, 2}}, {2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        TAxisPanel chart;
        auto* out = chart.CreateSeries<TLineSeries>();
        out->AttachFunction(Make(c.function));
        for (const auto& values : c.sources) {
            auto* s = chart.CreateSeries<TLineSeries>();
            for (double v : values) s->AddValue(v);
            out->ConnectDataSource(s, false);
        }
        EXPECT_EQ(Values(out->YValues()), c.expected);
    }
}

TEST(Functions, NullsAndSortedExtremes) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    for (double v : {1.0, 2.0, 2.0, 3.0, 3.0}) s->AddValue(v);
    s->AddNullValue();
    auto* out = chart.CreateSeries<TBarSeries>();
    auto average = std::make_unique<TAveragePlotFunction>();
    TAveragePlotFunction* a = average.get();
    out->AttachFunction(std::move(average));
    out->SetDataSource(s);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{11.0 / 6}));
    a->SetIncludeNulls(false);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{11.0 / 5}));
    out->AttachFunction(std::make_unique<TModePlotFunction>());
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{2}));  // runs of 2 and of 3: the smaller wins
    auto median = std::make_unique<TMedianPlotFunction>();
    median->SetIncludeNulls(false);
    out->AttachFunction(std::move(median));
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{2}));  // 1 2 2 3 3 without the null 0
}

TEST(Functions, PeriodsThatWouldNeverEnd) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    for (double x : {0.0, 5.0, 1e6}) s->AddPoint(x, 1);
    auto* out = chart.CreateSeries<TLineSeries>();
    auto f = std::make_unique<TAddPlotFunction>();
    TPlotFunction* fn = f.get();
    out->AttachFunction(std::move(f));
    out->SetDataSource(s);
    fn->SetPeriodStyle(TFunctionPeriodStyle::psRange);
    try {
        fn->SetPeriod(1e-6);  // 1e12 periods
        ADD_FAILURE() << "no error";
    } catch (const ChartException& e) {
        EXPECT_NE(std::string(e.what()).find("too small"), std::string::npos) << e.what();
    }
    EXPECT_EQ(out->PointCount(), 0);
    EXPECT_FALSE(out->UpdatesHeld());
    fn->SetPeriod(500000);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{2, 0, 1}));
}

TEST(Functions, CustomFunctionAsksItsHandler) {
    TAxisPanel chart;
    auto* out = chart.CreateSeries<TLineSeries>();
    auto f = std::make_unique<TCustomPlotFunction>();
    TCustomPlotFunction* fn = f.get();
    EXPECT_EQ(fn->Period(), 1);
    out->AttachFunction(std::move(f));
    EXPECT_EQ(out->PointCount(), 0);  // no handler
    fn->HoldRecalculation();
    fn->OnCalculate = [](TCustomPlotFunction*, double x, double& y) { y = x * x; };
    fn->SetPeriod(0.5);
    fn->ReleaseRecalculation();
    ASSERT_EQ(out->PointCount(), 100);
    EXPECT_EQ(out->XValues().Value(99), 49.5);
    EXPECT_EQ(out->YValues().Value(99), 49.5 * 49.5);
    EXPECT_FALSE(out->ManualData());
}

TEST(Functions, RegisteredOnTheStandardPage) {
    RegisterStandardFunctionTypes();
    std::vector<std::string> names;
    for (int i = 0; i < SeriesTypes().Count(); ++i)
        if (const TFunctionClass* f = SeriesTypes().GetItem(i)->FunctionClass) {
            names.push_back(SeriesTypes().GetItem(i)->DescriptionText());
            EXPECT_NE(f->Create(), nullptr);
        }
    EXPECT_EQ(names, (std::vector<std::string>{"Add", "Subtract", "Multiply", "Divide", "High", "Low", "Average",
                                               "Median", "Mode", "y = f(x)"}));
}

}  // namespace
