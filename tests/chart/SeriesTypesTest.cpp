// Series type registry, series helpers, palettes and series groups.
#include "ChartTestSupport.h"

#include "chart/core/ColorPalettes.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/component/StandardSeries.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/tools/PlotCustomTool.h"

#include <gtest/gtest.h>

using namespace cb::chart;
using charttest::TestChart;

namespace {

struct Fn1 {};
struct Fn2 {};

TEST(SeriesTypes, StandardTypesInGalleryOrder) {
    RegisterStandardSeriesTypes();
    RegisterStandardSeriesTypes();
    TPlotSeriesTypes& types = SeriesTypes();
    std::vector<std::string> names;
    std::vector<int> counts;
    for (int i = 0; i < types.Count(); ++i)
        if (types.GetItem(i)->GalleryPageText() == "Standard" && types.GetItem(i)->SeriesClass) {
            names.push_back(types.GetItem(i)->DescriptionText());
            counts.push_back(types.GetItem(i)->GallerySeriesCount);
        }
    const std::vector<std::string> expected = {
        "Line", "Bar", "Horizontal\rBar", "Area", "Point", "Pie", "Fast Line", "Horizontal\rLine", "Horizontal\rArea",
        "Shape", "Gantt", "Bubble"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(counts, (std::vector<int>{2, 2, 2, 2, 2, 1, 2, 1, 1, 2, 1, 1}));
    TLineSeries line;
    EXPECT_EQ(SeriesTypeDescription(line), "Line");
    EXPECT_NE(FindSeriesClassByName("tpieseries"), nullptr);
}

TEST(SeriesTypes, RegistrationKeepsOneEntryPerClassPair) {
    struct TLocalSeries : TChartSeries {};
    const TSeriesClass& c = SeriesClassOf<TLocalSeries>("TLocalSeries");
    const TFunctionClass f1{"TFn1", typeid(Fn1)}, f2{"TFn2", typeid(Fn2)};
    const int before = SeriesTypes().Count();
    TLocalSeries s;
    RegisterSeriesOrFunction(&c, &f1, TPlotText::txtGalleryLine, TPlotText::txtGalleryStandard, 2);
    RegisterSeriesOrFunction(&c, &f1, TPlotText::txtGalleryLine, TPlotText::txtGalleryStandard, 2);
    EXPECT_EQ(SeriesTypes().Count(), before + 1);
    EXPECT_EQ(SeriesTypes().FindSeriesClass(typeid(TLocalSeries)), nullptr);
    EXPECT_EQ(SeriesTypeDescription(s), "TLocalSeries");
    RegisterSeriesOrFunction(&c, &f2, TPlotText::txtGalleryBar, TPlotText::txtGalleryStandard, 2);
    RegisterSeriesType(c, TPlotText::txtGalleryArea, TPlotText::txtGalleryExtended, 1);
    EXPECT_EQ(SeriesTypes().Count(), before + 3);
    EXPECT_EQ(SeriesTypeDescription(s), "Area");
    UnregisterSeriesTypes({typeid(TLocalSeries)});
    EXPECT_EQ(SeriesTypes().Count(), before);
    // A class never registered is described by its class name.
    TPieSeries pie;
    UnregisterSeriesOrFunction(true, typeid(TPieSeries));
    EXPECT_EQ(SeriesTypeDescription(pie), "TPieSeries");
    RegisterStandardSeriesTypes();
}

TEST(SeriesTypes, HorizontalBarsAreBarsOfTheirOwnKind) {
    RegisterStandardSeriesTypes();
    TestChart t;
    const TSeriesClass* horizontal = FindSeriesClassByName("THorizBarSeries");
    ASSERT_NE(horizontal, nullptr);
    TChartSeries* s = CreateSeriesOfClass(t.chart, *horizontal);
    auto* bar = dynamic_cast<TBarSeries*>(s);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Orientation(), boHorizontal);
    EXPECT_EQ(SeriesClassName(*s), "THorizBarSeries");
    EXPECT_EQ(SeriesTypeDescription(*s), "Horizontal\rBar");
    EXPECT_FALSE(BarSeriesClass().IsClassOf(*s));
    s->AddValue(7);
    // The other kind is another series, as between any two classes.
    ChangeSeriesClass(s, BarSeriesClass());
    ASSERT_NE(s, bar);
    bar = dynamic_cast<TBarSeries*>(s);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Orientation(), boVertical);
    EXPECT_EQ(SeriesClassName(*s), "TBarSeries");
    EXPECT_EQ(SeriesTypeDescription(*s), "Bar");
    EXPECT_EQ(s->PointCount(), 1);
}

struct TTestSeriesTool : TPlotCustomToolSeries {};

TEST(SeriesHelpers, ChangeSeriesClassKeepsNameSettingsPlaceAndTools) {
    RegisterStandardSeriesTypes();
    TestChart t;
    TChartSeries* first = CreateSeriesOfClass(t.chart, SeriesClassOf<TLineSeries>("TLineSeries"));
    EXPECT_EQ(first->Name(), "Series1");
    TChartSeries* s = CreateSeriesOfClass(t.chart, SeriesClassOf<TLineSeries>("TLineSeries"));
    EXPECT_EQ(s->Name(), "Series2");
    CreateSeriesOfClass(t.chart, SeriesClassOf<TLineSeries>("TLineSeries"));
    s->SetTitle("Sales");
    s->SetSeriesColor(clGreen);
    s->AddValue(3, "a");
    s->AddValue(4, "b");
    int marks = 0;
    s->OnGetMarkText = [&](TChartSeries*, int, std::string&) { ++marks; };
    auto owned = std::make_unique<TTestSeriesTool>();
    owned->SetParentChart(&t.chart);
    owned->SetSeries(s);
    auto* dependent = t.chart.CreateSeries<TLineSeries>();
    dependent->AddDataSource(s);
    TChartSeries* keep = s;
    ChangeSeriesClass(s, BarSeriesClass());
    ASSERT_NE(s, keep);
    ASSERT_NE(dynamic_cast<TBarSeries*>(s), nullptr);
    EXPECT_EQ(s->Name(), "Series2");
    EXPECT_EQ(s->Title(), "Sales");
    EXPECT_EQ(s->SeriesColor(), clGreen);
    EXPECT_EQ(s->PointCount(), 2);
    EXPECT_EQ(s->PointLabel(1), "b");
    EXPECT_EQ(t.chart.SeriesList().IndexOf(s), 1);
    EXPECT_EQ(owned->Series(), s);
    EXPECT_TRUE(s->OnGetMarkText != nullptr);
    ASSERT_EQ(dependent->DataSources().size(), 1u);
    EXPECT_EQ(dependent->DataSources()[0], s);
    EXPECT_EQ(t.chart.NumberOfSeries(), 4);
    // The same class changes nothing.
    TChartSeries* same = s;
    ChangeSeriesClass(s, BarSeriesClass());
    EXPECT_EQ(s, same);
    owned->SetParentChart(nullptr);
}

TEST(SeriesHelpers, DuplicateSeriesCopiesIntoTheSameChart) {
    RegisterStandardSeriesTypes();
    TestChart t;
    auto* pie = static_cast<TPieSeries*>(CreateSeriesOfClass(t.chart, SeriesClassOf<TPieSeries>("TPieSeries")));
    pie->SetDonutHolePercent(40);
    pie->SetAngleSize(180);
    pie->AddValue(1);
    pie->AddValue(2);
    auto* copy = dynamic_cast<TPieSeries*>(DuplicateSeries(*pie));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->AngleSize(), 180);
    EXPECT_EQ(copy->DonutHolePercent(), 0);  // the hole is not copied
    EXPECT_EQ(copy->PointCount(), 2);
    EXPECT_EQ(copy->Name(), "Series2");
}

TEST(ColorPalettes, ApplyGivesAutomaticSeriesNewColours) {
    TestChart t;
    auto* s = t.chart.CreateSeries<TLineSeries>();
    auto* fixed = t.chart.CreateSeries<TLineSeries>();
    fixed->SetSeriesColor(RGBColor(1, 2, 3));
    ASSERT_EQ(ColorPaletteNames().size(), 10u);
    EXPECT_EQ(ColorPaletteNames()[9], "Win. XP");
    ApplyColorPalette(t.chart, 4);
    EXPECT_EQ(s->SeriesColor(), 0xFF0000u);
    EXPECT_EQ(fixed->SeriesColor(), RGBColor(1, 2, 3));
    ApplyColorPalette(t.chart, 0);
    EXPECT_TRUE(t.chart.ColorPalette().empty());
    EXPECT_EQ(s->SeriesColor(), t.chart.PaletteColor(0));
    ApplyColorPalette(t.chart, 12);
    EXPECT_TRUE(t.chart.ColorPalette().empty());
    EXPECT_EQ(ColorPaletteColors(8).size(), 25u);
    EXPECT_EQ(ColorPaletteColors(1).size(), 22u);
}

TEST(SeriesGroups, ActiveOfAGroup) {
    TestChart t;
    TSeriesGroup* g = t.chart.SeriesList().NewSeriesGroup("G");
    EXPECT_EQ(g->Active(), gaYes);  // empty
    std::vector<TLineSeries*> s;
    for (int i = 0; i < 3; ++i) {
        s.push_back(t.chart.CreateSeries<TLineSeries>());
        g->Series.Add(s.back());
    }
    s[0]->SetActive(false);
    s[1]->SetActive(false);
    EXPECT_EQ(g->Active(), gaSome);
    g->SetActive(gaSome);
    EXPECT_EQ(g->Active(), gaSome);
    g->SetActive(gaNo);
    EXPECT_EQ(g->Active(), gaNo);
    for (auto* x : s) EXPECT_FALSE(x->Active());
    g->SetActive(gaYes);
    EXPECT_EQ(g->Active(), gaYes);
    EXPECT_EQ(t.chart.SeriesList().GroupIndexOfSeries(s[2]), 0);
    EXPECT_EQ(t.chart.SeriesList().GroupIndexOfSeries(nullptr), -1);
}

TEST(SeriesContent, FlagsLookAtEveryPointAndListSeries) {
    TestChart t;
    auto* s = t.chart.CreateSeries<TLineSeries>();
    for (int i = 0; i < 200; ++i) s->AddValue(i);
    EXPECT_EQ(ComputeSeriesContentFlags(*s), 0u);
    s->SetPointColor(150, clBlue);
    EXPECT_EQ(ComputeSeriesContentFlags(*s), unsigned(scfPointColors));
    s->Labels().SetLabel(150, "late");  // beyond the first 101 points: still seen
    EXPECT_TRUE(SeriesHasLabels(*s));
    s->XValues().SetValue(150, 150.5);
    EXPECT_TRUE(SeriesNeedsXValues(*s));
    auto* pie = t.chart.CreateSeries<TPieSeries>();
    pie->AddValue(1);
    EXPECT_FALSE(SeriesNeedsXValues(*pie));
    s->SetTitle("Sales");
    pie->SetInternal(true);
    std::vector<std::pair<std::string, TChartSeries*>> lines;
    ListSeriesInStrings(lines, t.chart.SeriesList(), true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].first, "Sales");
    EXPECT_EQ(lines[0].second, s);
}

}  // namespace
