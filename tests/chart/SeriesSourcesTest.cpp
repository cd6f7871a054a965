// Data sources, functions attached to a series, sample values and copying
// one series into another.
#include "chart/component/AxisPanel.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace cb::chart;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ChartException& e) {
        return e.what();
    }
    return "(no error)";
}

// Sums the first source point by point; records how often it ran.
struct TSumFunction : TPlotFunction {
    int runs = 0;
    double ValueOfRange(TChartSeries& source, int first, int last) override {
        ++runs;
        if (first < 0) first = 0, last = source.PointCount() - 1;
        double sum = 0;
        for (int i = first; i <= last; ++i) sum += SourceValues(source).Value(i);
        return sum;
    }
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction(*this); }
};

struct Chart {
    TAxisPanel chart;
    template <class T = TLineSeries>
    T* Add(const std::string& name) {
        T* s = chart.CreateSeries<T>();
        s->SetName(name);
        return s;
    }
};

TEST(DataSources, RefusalsNameTheirCauseAndChangeNothing) {
    Chart c;
    auto* a = c.Add("A");
    auto* b = c.Add("B");
    auto* d = c.Add("D");
    a->AddValue(1);
    b->SetDataSource(a);
    d->SetDataSource(b);
    TChartSeries loose;
    loose.SetName("Loose");
    EXPECT_EQ(ErrorOf([&] { loose.SetDataSource(a); }), "No ParentChart to validate DataSource");
    EXPECT_EQ(ErrorOf([&] { a->SetDataSource(a); }), "No valid DataSource: A");
    // D is fed by B, which is fed by A: A may not take D.
    a->AddValue(2);
    EXPECT_EQ(ErrorOf([&] { a->SetDataSource(d); }), "Circular Series dependences are not allowed");
    EXPECT_TRUE(a->DataSources().empty());
    EXPECT_EQ(Values(a->YValues()), (std::vector<double>{1, 2}));
    EXPECT_EQ(Values(d->YValues()), (std::vector<double>{1, 2}));
    // A function that refuses a source refuses it as a data source.
    struct TPicky : TSumFunction {
        bool AcceptsSource(TChartSeries*) override { return false; }
    };
    auto* f = c.Add("F");
    f->AttachFunction(std::make_unique<TPicky>());
    EXPECT_EQ(ErrorOf([&] { f->SetDataSource(a); }), "No valid DataSource: A");
}

TEST(DataSources, ConnectReplaceAndDrop) {
    Chart c;
    auto* a = c.Add("A");
    auto* b = c.Add("B");
    auto* t = c.Add("T");
    a->AddValue(1);
    b->AddValue(5);
    EXPECT_EQ(t->ConnectDataSource(a, false), 0);
    EXPECT_EQ(t->ConnectDataSource(b, false), 1);
    EXPECT_EQ(t->ConnectDataSource(b, false), -1);  // already there
    EXPECT_EQ(t->DataSources().size(), 2u);
    t->SetDataSource(b);  // replaces both
    EXPECT_EQ(t->DataSources(), std::vector<TChartSeries*>{b});
    EXPECT_EQ(a->Dependents().IndexOf(t), -1);
    EXPECT_EQ(Values(t->YValues()), (std::vector<double>{5}));
    EXPECT_FALSE(t->ManualData());
    t->SetDataSource(nullptr);  // the points stay
    EXPECT_TRUE(t->DataSources().empty());
    EXPECT_EQ(b->Dependents().IndexOf(t), -1);
    EXPECT_EQ(Values(t->YValues()), (std::vector<double>{5}));
    b->AddValue(6);
    EXPECT_EQ(t->PointCount(), 1);
}

TEST(DataSources, ManualDataFollowsWhereThePointsCameFrom) {
    Chart c;
    auto* a = c.Add("A");
    EXPECT_FALSE(a->ManualData());
    a->AddValue(3);
    EXPECT_TRUE(a->ManualData());
    a->FillSampleValues(5);
    EXPECT_FALSE(a->ManualData());
    a->AddValue(3);
    auto* b = c.Add("B");
    b->AddValue(1);
    b->SetDataSource(a);
    EXPECT_FALSE(b->ManualData());
    a->AddValue(4);  // followed, not added by hand
    EXPECT_FALSE(b->ManualData());
}

TEST(DataSources, FunctionComputesFromItsSourcesAndFollowsThem) {
    Chart c;
    auto* a = c.Add<TBarSeries>("A");
    auto* out = c.Add<TBarSeries>("Out");
    for (double v : {1.0, 2.0, 3.0}) a->AddValue(v);
    auto owned = std::make_unique<TSumFunction>();
    TSumFunction* f = owned.get();
    out->AttachFunction(std::move(owned));
    EXPECT_EQ(f->ParentSeries(), out);
    out->SetDataSource(a);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{6}));
    EXPECT_EQ(Values(out->XValues()), (std::vector<double>{1}));  // middle of 0..2 on a bar series
    a->AddValue(4);  // one point added: the whole result again
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{10}));
    a->DeletePoint(0);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{9}));
    f->SetPeriod(2);
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{5}));  // 2+3; the lone 4 adds nothing
    const int runs = f->runs;
    f->HoldRecalculation();
    f->SetPeriod(1);
    EXPECT_EQ(f->runs, runs);
    f->ReleaseRecalculation();
    EXPECT_EQ(Values(out->YValues()), (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(ErrorOf([&] { f->SetPeriod(-1); }), "Function Period should be >= 0");
    EXPECT_EQ(f->Period(), 1);
    out->AttachFunction(nullptr);
    EXPECT_EQ(out->Function(), nullptr);
}

TEST(SampleValues, CountsAndErrors) {
    Chart c;
    auto* line = c.Add("L");
    line->AddValue(1);
    EXPECT_EQ(ErrorOf([&] { line->FillSampleValues(-1); }), "FillSampleValues NumValues must be > 0");
    EXPECT_EQ(line->PointCount(), 1);
    line->FillSampleValues();
    EXPECT_EQ(line->PointCount(), 25);
    line->SetSampleCount(7);
    line->FillSampleValues(0);
    EXPECT_EQ(line->PointCount(), 7);
    line->FillSampleValues(1);
    EXPECT_EQ(line->PointCount(), 1);
    auto* pie = c.Add<TPieSeries>("P");
    pie->FillSampleValues();
    ASSERT_EQ(pie->PointCount(), 8);
    EXPECT_EQ(pie->PointLabel(0), "Cars");
    for (int i = 0; i < 8; ++i) {
        EXPECT_GE(pie->YValues().Value(i), 1);
        EXPECT_LE(pie->YValues().Value(i), 1000);
    }
    auto* area = c.Add<THorizAreaSeries>("Ar");
    area->FillSampleValues();
    EXPECT_EQ(area->PointCount(), 10);
}

TEST(SampleValues, FollowTheRangesOfTheOtherSeries) {
    Chart c;
    auto* alone = c.Add("Alone");
    alone->FillSampleValues(11);
    // Alone in the chart: X 0..10, Y starting within 0..1000, never negative.
    EXPECT_EQ(alone->XValues().Value(0), 0);
    EXPECT_EQ(alone->XValues().Value(10), 10);
    for (int i = 0; i < 11; ++i) EXPECT_GE(alone->YValues().Value(i), 0);
    alone->RemoveAllPoints();
    for (double x : {100.0, 150.0, 200.0}) alone->AddPoint(x, 5000 + x);
    auto* sample = c.Add("S");
    sample->FillSampleValues(5);
    EXPECT_EQ(Values(sample->XValues()), (std::vector<double>{100, 125, 150, 175, 200}));
    // A horizontal series takes its positions from the vertical axis.
    auto* bars = c.Add<TBarSeries>("H");
    bars->SetOrientation(boHorizontal);
    const double low = c.chart.AxisLowestY(&c.chart.LeftAxis()), high = c.chart.AxisHighestY(&c.chart.LeftAxis());
    bars->FillSampleValues(3);
    EXPECT_EQ(Values(bars->YValues()), (std::vector<double>{low, (low + high) / 2, high}));
    for (int i = 0; i < 3; ++i) EXPECT_GE(bars->XValues().Value(i), 0);
}

TEST(SampleValues, DateTimePositionsStartToday) {
    Chart c;
    auto* s = c.Add("S");
    s->XValues().SetDateTime(true);
    s->FillSampleValues(3);
    const double today = std::floor(s->XValues().Value(0));
    EXPECT_EQ(Values(s->XValues()), (std::vector<double>{today, today + 1, today + 2}));
}

TEST(SampleValues, GallerySampleAndRefillAtRunTime) {
    Chart c;
    auto* first = c.Add("First");
    auto* second = c.Add("Second");
    first->PrepareGallerySample(false);
    EXPECT_EQ(first->PointCount(), 4);
    EXPECT_FALSE(first->Marks().Visible());
    EXPECT_EQ(first->Marks().Font().Size(), 7);
    EXPECT_EQ(first->Marks().DrawEvery(), 2);
    EXPECT_EQ(first->SeriesColor(), 0xC0C0C0u);
    first->PrepareGallerySample(true);
    second->PrepareGallerySample(true);
    EXPECT_EQ(first->SeriesColor(), c.chart.PaletteColor(0));
    EXPECT_EQ(second->SeriesColor(), c.chart.PaletteColor(3));

    // A series without data of its own fills itself only when asked to.
    auto* empty = c.Add("E");
    empty->RequestDataRefresh();
    EXPECT_EQ(empty->PointCount(), 0);
    RandomSampleValuesAtRunTime() = true;
    empty->RequestDataRefresh();
    RandomSampleValuesAtRunTime() = false;
    EXPECT_EQ(empty->PointCount(), 25);
    auto* manual = c.Add("M");
    manual->AddValue(1);
    RandomSampleValuesAtRunTime() = true;
    manual->RequestDataRefresh();
    RandomSampleValuesAtRunTime() = false;
    EXPECT_EQ(manual->PointCount(), 1);
}

TEST(Copying, AssignCopiesSettingsAndPoints) {
    Chart c;
    auto* src = c.Add("Src");
    src->SetSeriesColor(0x123456);
    src->SetValueFormat("0.0");
    src->SetColorEachPoint(true);
    src->Marks().SetVisible(false);
    src->SetRefreshOptions(roFollowClears);
    src->YValues().SetDateTime(true);
    src->AddPoint(1, 10, std::string("a"));
    src->AddPoint(2, 20, std::nullopt, 0x00FF00);
    src->AddPoint(5, 30);
    auto* copy = c.Add("Copy");
    copy->Assign(*src);
    EXPECT_EQ(copy->SeriesColor(), 0x123456u);
    EXPECT_EQ(copy->ValueFormat(), "0.0");
    EXPECT_TRUE(copy->ColorEachPoint());
    EXPECT_FALSE(copy->Marks().Visible());
    EXPECT_EQ(copy->RefreshOptions(), unsigned(roFollowClears));
    EXPECT_TRUE(copy->YValues().DateTime());
    EXPECT_EQ(Values(copy->XValues()), (std::vector<double>{1, 2, 5}));
    EXPECT_EQ(Values(copy->YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(copy->PointLabel(0), "a");
    EXPECT_EQ(copy->StoredPointColor(1), 0x00FF00u);
    EXPECT_EQ(copy->StoredPointColor(2), clDefault);
    EXPECT_TRUE(copy->ManualData());
    // A source without colours leaves the copy without them.
    auto* plain = c.Add("Plain");
    plain->AddValue(1);
    copy->Assign(*plain);
    EXPECT_FALSE(copy->HasColorList());
    EXPECT_EQ(copy->PointCount(), 1);
}

TEST(Copying, HorizontalAndVerticalSeriesTradeXAndY) {
    Chart c;
    auto* line = c.Add("L");
    line->AddPoint(1, 10);
    line->AddPoint(2, 20);
    line->XValues().SetDateTime(true);
    auto* bars = c.Add<TBarSeries>("B");
    bars->SetOrientation(boHorizontal);
    bars->AssignSeries(*line);
    // The bars' values are their X: the line's Y values.
    EXPECT_EQ(Values(bars->XValues()), (std::vector<double>{10, 20}));
    EXPECT_EQ(Values(bars->YValues()), (std::vector<double>{1, 2}));
    EXPECT_TRUE(bars->YValues().DateTime());  // settings cross too
    EXPECT_FALSE(bars->XValues().DateTime());
    auto* back = c.Add("Back");
    back->AssignSeries(*bars);
    EXPECT_EQ(Values(back->XValues()), (std::vector<double>{1, 2}));
    EXPECT_EQ(Values(back->YValues()), (std::vector<double>{10, 20}));
}

TEST(Copying, DataSourcesAndFunctionTravelWithACopy) {
    Chart c;
    auto* a = c.Add("A");
    for (double v : {1.0, 2.0}) a->AddValue(v);
    auto* src = c.Add("Src");
    src->AttachFunction(std::make_unique<TSumFunction>());
    src->SetDataSource(a);
    auto* copy = c.Add("Copy");
    copy->Assign(*src);
    EXPECT_EQ(copy->DataSources(), std::vector<TChartSeries*>{a});
    ASSERT_NE(copy->Function(), nullptr);
    EXPECT_NE(copy->Function(), src->Function());  // the source keeps its own
    EXPECT_EQ(copy->Function()->ParentSeries(), copy);
    EXPECT_EQ(Values(copy->YValues()), (std::vector<double>{3, 3}));  // a line: a level line
    // A copy that would feed itself is refused and changes nothing.
    auto* victim = c.Add("V");
    victim->AddValue(9);
    a->SetDataSource(victim);
    EXPECT_EQ(ErrorOf([&] { victim->Assign(*src); }), "Circular Series dependences are not allowed");
    EXPECT_EQ(Values(victim->YValues()), (std::vector<double>{9}));
    EXPECT_EQ(victim->Function(), nullptr);
}

}  // namespace
