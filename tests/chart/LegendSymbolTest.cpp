// Legend items of the series types: the symbol each draws in its rectangle.
#include "ChartTestSupport.h"

#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"

#include <gtest/gtest.h>

using namespace cb::chart;
using charttest::TestChart;

namespace {

// Draws item (index) of the series into r at the end of the paint.
void DrawItem(TestChart& t, TChartSeries* s, int index, const TRect& r, TColor legendColor = clWhite) {
    t.chart.OnAfterDraw = [=](TCustomAxisPanel*) { s->DrawLegendItem(index, r, legendColor, nullptr); };
    t.Draw();
}

TEST(LegendSymbol, EachSeriesTypeDrawsItsSymbol) {
    const TRect r{10, 10, 40, 24};
    {
        TestChart t;
        auto* area = t.chart.CreateSeries<TAreaSeries>();
        area->SetSeriesColor(clBlue);
        area->AddValue(1);
        DrawItem(t, area, -1, r);
        EXPECT_EQ(t.At(25, 17), clBlue);  // filled box
    }
    {
        TestChart t;
        auto* line = t.chart.CreateSeries<TLineSeries>();
        line->SetSeriesColor(clRed);
        line->AddValue(1);
        DrawItem(t, line, -1, r);
        EXPECT_EQ(t.At(25, 17), clRed);                  // the line through the middle
        EXPECT_EQ(t.Count(clRed, {10, 10, 40, 15}), 0);  // nothing above it
        line->Pointer().Show();
        DrawItem(t, line, -1, r);
        EXPECT_GT(t.Count(clRed, {20, 12, 31, 22}), 30);  // the pointer square
    }
    {
        TestChart t;
        auto* fast = t.chart.CreateSeries<TFastLineSeries>();
        fast->SetSeriesColor(clGreen);
        fast->AddValue(1);
        DrawItem(t, fast, -1, r);
        EXPECT_EQ(t.At(25, 17), clGreen);
    }
    {
        TestChart t;
        auto* pie = t.chart.CreateSeries<TPieSeries>();
        pie->AddValue(1, "a", clRed);
        pie->AddValue(2, "b", clBlue);
        DrawItem(t, pie, 1, r);
        EXPECT_EQ(t.At(25, 17), clBlue);
        // The whole series of a coloured-by-point pie has no item.
        DrawItem(t, pie, -1, {50, 10, 80, 24});
        EXPECT_NE(t.At(65, 17), pie->SeriesColor());
    }
}

TEST(LegendSymbol, SymbolInTheLegendColourKeepsAnOutline) {
    TestChart t;
    auto* area = t.chart.CreateSeries<TAreaSeries>();
    area->SetSeriesColor(clBlack);
    area->AddValue(1);
    DrawItem(t, area, -1, {10, 10, 40, 24}, clBlack);
    EXPECT_EQ(t.At(10, 17), clWhite);  // white outline on black
    EXPECT_EQ(t.At(25, 17), clBlack);
}

}  // namespace
