// The chart builder over the sample cube: series by data mode and grouping,
// labels, palette colours, filters, visibility and the display manager's
// point limit.
#include "app/core/GraphDisplayManager.h"
#include "MDXTestSupport.h"
#include "app/core/DisplayManager.h"
#include "app/core/GridTheme.h"
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"
#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>

using namespace cb::app;
using cb::chart::TChartSeries;

namespace {

const std::string kFrom = " FROM [Tavo_sample]";
const std::string kYearsByCategory =
    "SELECT {[Measures].[Revenue]} ON COLUMNS, CROSSJOIN({[Time].[All].CHILDREN}, {[Product].[All].CHILDREN}) ON ROWS" +
    kFrom;

class GraphDisplayManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<cb::olap::Cellset> Query(const std::string& mdx) {
        auto cellset = std::make_shared<cb::olap::Cellset>();
        cellset->SetActiveConnection(cbtest::LocalCubeConnectionString(cbtest::SampleCubePath()));
        cellset->Open(mdx);
        return cellset;
    }
    void Build(const std::string& mdx) {
        Cellset = Query(mdx);
        Builder.SetChart(&Chart);
        Builder.SetEnabled(true);
        Builder.SetCellset(Cellset);
    }
    double CellNumber(int column, int row) const { return Cellset->Item(column, row)->Value().ToDouble(); }
    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (int i = 0; i < Chart.NumberOfSeries(); ++i) titles.push_back(Chart.SeriesAt(i)->Title());
        return titles;
    }

    cb::chart::TChart Chart;
    TGraphDisplayManager Builder;
    std::shared_ptr<cb::olap::Cellset> Cellset;
};

TEST_F(GraphDisplayManagerTest, OneSeriesPerGroupOrOneSeriesInPaletteOrder) {
    Builder.SetGroupBy(0);
    Build(kYearsByCategory);
    // Bars grouped by year: one series per year, the year left out of labels.
    EXPECT_EQ(Titles(), (std::vector<std::string>{"2022       ", "2023       ", "2024       "}));
    EXPECT_TRUE(Chart.Legend().CheckBoxes());
    for (int s = 0; s < 3; ++s) {
        TChartSeries* series = Chart.SeriesAt(s);
        EXPECT_FALSE(series->ColorEachPoint());
        ASSERT_EQ(series->PointCount(), 4);
        EXPECT_EQ(series->PointLabel(0), "Bikes ");
        EXPECT_EQ(series->PointLabel(3), "Accessories ");
        for (int p = 0; p < 4; ++p) EXPECT_DOUBLE_EQ(series->PointY(p), CellNumber(0, s * 4 + p));
    }
    EXPECT_EQ(Builder.GetTotalPointCount(), 12);
    EXPECT_FALSE(Chart.isHidden());
    // Pie and pyramid ignore the grouping: one series in palette order.
    for (int type : {ctcPie, ctcPyramid}) {
        SCOPED_TRACE(type);
        Builder.SetChartType(type);
        ASSERT_TRUE(Builder.Render());
        ASSERT_EQ(Chart.NumberOfSeries(), 1);
        EXPECT_FALSE(Chart.Legend().CheckBoxes());
        TChartSeries* series = Chart.SeriesAt(0);
        ASSERT_EQ(series->PointCount(), 12);
        EXPECT_EQ(series->PointLabel(0), "2022 Bikes ");
        EXPECT_EQ(series->PointLabel(11), "2024 Accessories ");
        const char* colours[] = {"004F9A", "E7B400", "009900", "CC66CC"};
        for (int p = 0; p < 4; ++p) EXPECT_EQ(series->PointColor(p), HexToColor(colours[p])) << p;
    }
}

TEST_F(GraphDisplayManagerTest, GroupsByMemberNotByCaption) {
    // "Q1" of two years: two series with the same title.
    Builder.SetGroupBy(0);
    Build("SELECT {[Measures].[Units]} ON COLUMNS, CROSSJOIN({[Time].[All].[2022].[Q1], [Time].[All].[2023].[Q1]}, "
          "{[Channel].[All].CHILDREN}) ON ROWS" +
          kFrom);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Q1       ", "Q1       "}));
    ASSERT_EQ(Chart.NumberOfSeries(), 2);
    EXPECT_EQ(Chart.SeriesAt(0)->PointCount(), 4);
    EXPECT_EQ(Chart.SeriesAt(1)->PointCount(), 4);
    EXPECT_DOUBLE_EQ(Chart.SeriesAt(1)->PointY(0), CellNumber(0, 4));
}

TEST_F(GraphDisplayManagerTest, DataModesClampAndLabel) {
    const std::string mdx = "SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
                            "CROSSJOIN({[Channel].[All].[Online], [Channel].[All].[Partner]}, "
                            "{[Product].[All].[Bikes], [Product].[All].[Clothing]}) ON ROWS" +
                            kFrom;
    // Selected column -1 charts column 0 and stores it.
    Builder.SetDataMode(cdmSelectedColumn);
    Build(mdx);
    EXPECT_EQ(Builder.GetColumn(), 0);
    ASSERT_EQ(Chart.NumberOfSeries(), 1);
    ASSERT_EQ(Chart.SeriesAt(0)->PointCount(), 4);
    EXPECT_EQ(Chart.SeriesAt(0)->PointLabel(1), "2022 Online Clothing ");
    EXPECT_DOUBLE_EQ(Chart.SeriesAt(0)->PointY(3), CellNumber(0, 3));
    // A changed column builds again; a column past the end charts nothing.
    Builder.SetColumn(2);
    EXPECT_EQ(Chart.SeriesAt(0)->PointLabel(0), "2024 Online Bikes ");
    Builder.SetColumn(7);
    EXPECT_EQ(Builder.GetTotalPointCount(), 0);
    EXPECT_TRUE(Chart.isHidden());
    // Selected row, grouped by channel: labels end in one more blank.
    Builder.SetDataMode(cdmSelectedRow);
    Builder.SetGroupBy(0);
    Builder.SetRow(3);
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Partner"}));
    ASSERT_EQ(Chart.SeriesAt(0)->PointCount(), 3);
    EXPECT_EQ(Chart.SeriesAt(0)->PointLabel(2), "2024 Clothing  ");
    EXPECT_DOUBLE_EQ(Chart.SeriesAt(0)->PointY(2), CellNumber(2, 3));
    // A new cellset forgets the selection.
    Builder.SetCellset(Query(mdx));
    EXPECT_EQ(Builder.GetRow(), 0);
}

TEST_F(GraphDisplayManagerTest, TopLevelCellsAndMeasureFilter) {
    const std::string mdx = "SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, "
                            "{[Channel].[All], [Channel].[All].CHILDREN} ON ROWS" +
                            kFrom;
    Build(mdx);
    EXPECT_EQ(Builder.GetTotalPointCount(), 10);
    Builder.SetShowAllMembers(false);
    Builder.Render();
    EXPECT_EQ(Builder.GetTotalPointCount(), 8);
    EXPECT_EQ(Chart.SeriesAt(0)->PointLabel(0), "Online ");
    Builder.SetMeasureFilter(true);
    Builder.SetMeasureName("[Measures].[Units]");
    Builder.Render();
    ASSERT_EQ(Builder.GetTotalPointCount(), 4);
    EXPECT_DOUBLE_EQ(Chart.SeriesAt(0)->PointY(0), CellNumber(1, 1));
    // One series without points hides the chart.
    Builder.SetMeasureName("[Measures].[Cost]");
    Builder.Render();
    EXPECT_EQ(Chart.NumberOfSeries(), 1);
    EXPECT_TRUE(Chart.isHidden());
}

TEST_F(GraphDisplayManagerTest, PaletteWrapsAfterItsLastColour) {
    Build("SELECT {[Measures].[Revenue]} ON COLUMNS, {[Customer].[All].CHILDREN} ON ROWS" + kFrom);
    Builder.ResetPalette();
    EXPECT_EQ(Builder.NextPaletteColor(), HexToColor("004F9A"));
    for (int i = 2; i < 42; ++i) Builder.NextPaletteColor();
    EXPECT_EQ(Builder.NextPaletteColor(), HexToColor("000000"));
    EXPECT_EQ(Builder.NextPaletteColor(), HexToColor("004F9A"));
    EXPECT_EQ(Builder.GetPalette().back(), "666666");
    // Forty-three countries in one series: the 42nd point wraps to black.
    Build("SELECT {[Measures].[Revenue]} ON COLUMNS, {[Customer].[All].[Europe].CHILDREN, "
          "[Customer].[All].[Asia].CHILDREN, [Customer].[All].[Africa].CHILDREN, [Customer].[All].[Oceania].CHILDREN, "
          "[Customer].[All].[North America].CHILDREN, [Customer].[All].[South America].CHILDREN, "
          "[Customer].[All].[Europe].CHILDREN, [Customer].[All].[Asia].CHILDREN, "
          "[Customer].[All].[Africa].CHILDREN} ON ROWS" +
          kFrom);
    TChartSeries* series = Chart.SeriesAt(0);
    ASSERT_GE(series->PointCount(), 43);
    EXPECT_EQ(series->PointColor(40), HexToColor("666666"));
    EXPECT_EQ(series->PointColor(41), HexToColor("000000"));
    EXPECT_EQ(series->PointColor(42), HexToColor("004F9A"));
}

TEST_F(GraphDisplayManagerTest, BarsAreDrawnAtTheirValues) {
    Build("SELECT {[Measures].[Revenue]} ON COLUMNS, {[Product].[All].CHILDREN} ON ROWS" + kFrom);
    Chart.SetView3D(false);
    Chart.Legend().SetVisible(false);  // its symbols share the bars' colours
    Chart.resize(600, 400);
    auto bitmap = Chart.DrawToBitmap(cb::gfx::clWhite, cb::gfx::TRect{0, 0, 600, 400});
    const QImage& image = bitmap->Image();
    // Each bar's height in pixels, found by its palette colour.
    std::vector<int> heights;
    for (const char* hex : {"004F9A", "E7B400", "009900", "CC66CC"}) {
        const QColor colour = cb::gfx::ToQColor(HexToColor(hex));
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour) top = std::min(top, y), bottom = std::max(bottom, y);
        ASSERT_GE(bottom, top) << hex;
        heights.push_back(bottom - top + 1);
    }
    const int tallest = static_cast<int>(std::max_element(heights.begin(), heights.end()) - heights.begin());
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(double(heights[i]) / heights[tallest], CellNumber(0, i) / CellNumber(0, tallest), 0.03) << i;
}

TEST_F(GraphDisplayManagerTest, CellValuesAreNumbersAndErrorsEmpty) {
    using cb::olap::Cell;
    EXPECT_EQ(TGraphDisplayManager::CellValue(Cell(1234.5, "1.234,50")), 1234.5);
    EXPECT_EQ(TGraphDisplayManager::CellValue(Cell({}, "")), 0.0);
    EXPECT_EQ(TGraphDisplayManager::CellValue(Cell("#ERR", "#ERR")), std::nullopt);
}

TEST_F(GraphDisplayManagerTest, TypeSettingsMarksAndGuards) {
    // Nothing to build without a chart or an open cellset.
    EXPECT_FALSE(Builder.Render());
    Builder.SetChart(&Chart);
    EXPECT_FALSE(Builder.Render());
    Builder.SetChartType(ctcStackedBar);
    Builder.SetGroupBy(0);
    Build(kYearsByCategory);
    for (int i = 0; i < Chart.NumberOfSeries(); ++i) {
        auto* bar = dynamic_cast<cb::chart::TBarSeries*>(Chart.SeriesAt(i));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->MultiBar(), cb::chart::mbSelfStack);
        EXPECT_FALSE(bar->Marks().Visible());
        EXPECT_EQ(bar->Marks().Style(), cb::chart::smsLabelValue);
    }
    EXPECT_EQ(Chart.View3DOptions().Rotation(), 340);
    EXPECT_EQ(Chart.View3DOptions().Perspective(), 20);
    Builder.SetMarksStyle(cb::chart::smsValue);
    EXPECT_TRUE(Chart.SeriesAt(0)->Marks().Visible());
    EXPECT_EQ(Chart.SeriesAt(0)->Marks().Style(), cb::chart::smsValue);
    // A group-by level past the row dimensions charts one series.
    Builder.SetGroupBy(5);
    Builder.Render();
    EXPECT_EQ(Chart.NumberOfSeries(), 1);
    // A closed cellset is not built and leaves the chart as it was.
    Cellset->Close();
    EXPECT_FALSE(Builder.Render());
    EXPECT_EQ(Chart.NumberOfSeries(), 1);
}

// Counts builds of the real builder inside a display manager.
class TCountingBuilder : public TGraphDisplayManager {
public:
    explicit TCountingBuilder(int& renders) : FRenders(renders) {}
    bool Render() override {
        ++FRenders;
        return TGraphDisplayManager::Render();
    }

private:
    int& FRenders;
};

TEST(GraphDisplayManagerInView, EachRefreshBuildsOnceAndThePointLimitHolds) {
    cbtest::TTestContext app;
    auto connection = cbtest::OpenLocalCube(cbtest::SampleCubePath(), app.Context());
    int renders = 0;
    TDisplayManager dm(app.Context(), nullptr, std::make_unique<TCountingBuilder>(renders));
    cb::chart::TChart chart;
    alignas(16) static char gridTag;
    dm.OpenCube(connection.get(), reinterpret_cast<cb::grid::TExtStringGrid*>(&gridTag), &chart);
    renders = 0;
    dm.AddToAxis("[Channel].[All].Children", axRows, true);
    EXPECT_EQ(renders, 1);
    EXPECT_EQ(dm.GetChartBuilder().GetTotalPointCount(), 4);
    // Customers drilled by channels by categories by years: far past 70 points;
    // declining to hide the (All) levels closes the chart.
    app.UI.Answer = false;
    int toggles = 0;
    dm.OnToggleChartRequest = [&] { ++toggles; };
    dm.AddToAxis("[Product].[All].Children", axRows, true);
    dm.AddToAxis("[Time].[All].Children", axRows, true);
    EXPECT_EQ(dm.GetChartBuilder().GetTotalPointCount(), 48);
    EXPECT_TRUE(app.UI.Questions.empty());
    renders = 0;
    dm.ToggleDrillDown("[Customer].[All]");
    EXPECT_TRUE(app.UI.Errors.empty()) << app.UI.Errors.front();
    EXPECT_EQ(renders, 1);
    EXPECT_EQ(dm.GetChartBuilder().GetTotalPointCount(), 7 * 48);
    EXPECT_EQ(app.UI.Questions.size(), 1u);
    EXPECT_EQ(toggles, 1);
}

}  // namespace
