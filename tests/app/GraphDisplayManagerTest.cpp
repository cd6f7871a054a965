// The chart builder over the sample cube: series by data mode and grouping,
// labels, palette colours, filters, visibility and the display manager's
// point limit.
#include "app/core/query/GraphDisplayManager.h"
#include "MDXTestSupport.h"
#include "app/core/query/DisplayManager.h"
#include "app/core/theme/GridTheme.h"
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"
#include "platform/gfx/Bitmap.h"
#include "platform/rtl/FormatFloat.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

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
        // Values in the legend and marks keep the decimals of the measure's format.
        EXPECT_EQ(series->ValueFormat(), "#,##0.00");
        EXPECT_EQ(cb::rtl::FormatFloat(series->ValueFormat(), series->PointY(0)),
                  Cellset->Item(0, s * 4)->FormattedValue());
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

// Every chart type in every data mode over two row levels (channel, product)
// grouped by the channel: series, points, labels, colours and the settings
// of each type.
TEST_F(GraphDisplayManagerTest, EachTypeAndDataMode) {
    const std::string mdx = "SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
                            "CROSSJOIN({[Channel].[All].[Online], [Channel].[All].[Partner]}, "
                            "{[Product].[All].[Bikes], [Product].[All].[Clothing]}) ON ROWS" +
                            kFrom;
    const char* palette[] = {"004F9A", "E7B400", "009900", "CC66CC", "800000", "FF0000",
                             "FFF2CA", "996666", "33CC00", "3366CC", "CCCC99", "CCCC66"};
    struct Mode {
        TChartDataMode mode;
        int points;                       // cells visited
        std::vector<std::string> titles;  // grouped
        std::vector<int> groupPoints;     // points per grouped series
        std::string firstLabel, groupedFirstLabel;
    };
    const Mode modes[] = {
        {cdmSelectedColumn, 4, {"Online", "Partner"}, {2, 2}, "2022 Online Bikes ", "2022 Bikes "},
        {cdmSelectedRow, 3, {"Online"}, {3}, "2022 Online Bikes ", "2022 Bikes  "},
        {cdmAllCells, 12, {"Online       ", "Partner       "}, {6, 6}, "2022 Online Bikes ", "2022 Bikes "},
    };
    const auto cellset = Query(mdx);
    for (int type = ctcBar; type <= ctcLine; ++type)
        for (const Mode& m : modes) {
            SCOPED_TRACE(testing::Message() << "type " << type << " mode " << m.mode);
            TGraphDisplayManager builder;
            cb::chart::TChart chart;
            builder.SetChart(&chart);
            builder.SetEnabled(true);
            builder.SetChartType(type);
            builder.SetDataMode(m.mode);
            builder.SetGroupBy(0);
            builder.SetCellset(cellset);
            const bool one = type == ctcPie || type == ctcDoughnut || type == ctcPyramid;
            EXPECT_EQ(chart.Legend().CheckBoxes(), !one);
            if (one) {
                ASSERT_EQ(chart.NumberOfSeries(), 1);
                TChartSeries* s = chart.SeriesAt(0);
                ASSERT_EQ(s->PointCount(), m.points);
                EXPECT_EQ(s->PointLabel(0), m.firstLabel);
                for (int p = 0; p < m.points; ++p) EXPECT_EQ(s->PointColor(p), HexToColor(palette[p])) << p;
            } else {
                std::vector<std::string> titles;
                for (int i = 0; i < chart.NumberOfSeries(); ++i) {
                    TChartSeries* s = chart.SeriesAt(i);
                    titles.push_back(s->Title());
                    ASSERT_EQ(s->PointCount(), m.groupPoints.at(size_t(i)));
                    EXPECT_FALSE(s->ColorEachPoint());
                    for (int p = 0; p < s->PointCount(); ++p) EXPECT_EQ(s->PointColor(p), s->SeriesColor());
                }
                EXPECT_EQ(titles, m.titles);
                EXPECT_EQ(chart.SeriesAt(0)->PointLabel(0), m.groupedFirstLabel);
            }
            for (int i = 0; i < chart.NumberOfSeries(); ++i) {
                TChartSeries* s = chart.SeriesAt(i);
                switch (type) {
                case ctcPie:
                case ctcDoughnut: {
                    auto* pie = dynamic_cast<cb::chart::TPieSeries*>(s);
                    ASSERT_NE(pie, nullptr);
                    EXPECT_EQ(pie->DonutHolePercent(), type == ctcDoughnut ? 40 : 0);
                    break;
                }
                case ctcPyramid: {
                    auto* pyramid = dynamic_cast<cb::chart::TPyramidSeries*>(s);
                    ASSERT_NE(pyramid, nullptr);
                    EXPECT_EQ(pyramid->SizePercent(), 100);
                    break;
                }
                case ctcLine: {
                    auto* line = dynamic_cast<cb::chart::TLineSeries*>(s);
                    ASSERT_NE(line, nullptr);
                    EXPECT_FALSE(line->ColorEachLine());
                    EXPECT_EQ(line->LinePen().Width(), 3);
                    EXPECT_TRUE(line->Pointer().Visible());
                    EXPECT_EQ(line->Pointer().HorizSize(), 5);
                    EXPECT_EQ(line->Pointer().VertSize(), 5);
                    break;
                }
                default: {
                    auto* bar = dynamic_cast<cb::chart::TBarSeries*>(s);
                    ASSERT_NE(bar, nullptr);
                    const cb::chart::TMultiBar expected = type == ctcBarDepth        ? cb::chart::mbNone
                                                          : type == ctcStackedBar    ? cb::chart::mbSelfStack
                                                          : type == ctcSideBySideBar ? cb::chart::mbSideAll
                                                                                     : cb::chart::mbSide;
                    EXPECT_EQ(bar->MultiBar(), expected);
                    if (type == ctcBarDepth) {
                        EXPECT_EQ(bar->Depth(), 30);
                    }
                    EXPECT_EQ(chart.View3DOptions().Elevation(), 360);
                    break;
                }
                }
                // Marks: hidden, value and label, with black callouts.
                EXPECT_FALSE(s->Marks().Visible());
                EXPECT_EQ(s->Marks().Style(), cb::chart::smsLabelValue);
                EXPECT_EQ(s->Marks().Callout().Brush().Color(), cb::gfx::clBlack);
                EXPECT_EQ(s->Marks().Callout().Arrow().Color(), cb::gfx::clBlack);
            }
        }
}

// Offscreen renderings of the sample cube's product revenue: pie slices
// turn by their shares, pyramid slices narrow by the running sum, line
// points stand at their values.
class GraphRenderingTest : public GraphDisplayManagerTest {
protected:
    const QImage& Draw(int type) {
        Builder.SetChartType(type);
        Build("SELECT {[Measures].[Revenue]} ON COLUMNS, {[Product].[All].CHILDREN} ON ROWS" + kFrom);
        Chart.SetView3D(false);
        Chart.Legend().SetVisible(false);
        Chart.resize(600, 400);
        FBitmap = Chart.DrawToBitmap(cb::gfx::clWhite, cb::gfx::TRect{0, 0, 600, 400});
        return FBitmap->Image();
    }
    std::vector<double> Values() {
        std::vector<double> v;
        for (int i = 0; i < 4; ++i) v.push_back(CellNumber(0, i));
        return v;
    }
    static QColor Colour(int point) {
        const char* hex[] = {"004F9A", "E7B400", "009900", "CC66CC"};
        return cb::gfx::ToQColor(HexToColor(hex[point]));
    }
    std::unique_ptr<cb::gfx::TBitmap> FBitmap;
};

TEST_F(GraphRenderingTest, PieSliceAnglesMatchValueShares) {
    const QImage& image = Draw(ctcPie);
    auto* pie = dynamic_cast<cb::chart::TPieSeries*>(Chart.SeriesAt(0));
    ASSERT_NE(pie, nullptr);
    const auto values = Values();
    double total = 0;
    for (double v : values) total += std::fabs(v);
    // Sample the rim at half the radius, one degree at a time, and count the
    // degrees of each slice's colour.
    const double cx = pie->CircleXCenter(), cy = pie->CircleYCenter();
    const double rx = pie->XRadius() * 0.5, ry = pie->YRadius() * 0.5;
    std::vector<int> degrees(4, 0);
    for (int d = 0; d < 360; ++d) {
        const double a = (d + 0.5) * std::numbers::pi / 180;
        const QColor c = image.pixelColor(int(cx + rx * std::cos(a)), int(cy - ry * std::sin(a)));
        for (int p = 0; p < 4; ++p)
            if (c == Colour(p)) ++degrees[size_t(p)];
    }
    for (int p = 0; p < 4; ++p) EXPECT_NEAR(degrees[size_t(p)], 360 * std::fabs(values[size_t(p)]) / total, 3) << p;
}

TEST_F(GraphRenderingTest, PyramidSlicesNarrowByTheRunningSum) {
    const QImage& image = Draw(ctcPyramid);
    TChartSeries* pyramid = Chart.SeriesAt(0);
    const auto values = Values();
    double total = 0;
    for (double v : values) total += std::fabs(v);
    // The width of each slice's colour along the row in the middle of the
    // slice is the base width times the share above that row.
    auto widthAt = [&](int y, const QColor& c) {
        int n = 0;
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == c;
        return n;
    };
    int base = 0;
    for (int x = 0; x < image.width(); ++x)
        base += image.pixelColor(x, pyramid->YToPixel(values[0] * 0.01)) == Colour(0);
    ASSERT_GT(base, 100);
    double below = 0;
    for (int p = 0; p < 4; ++p) {
        const double middle = below + std::fabs(values[size_t(p)]) / 2;
        const int y = pyramid->YToPixel(middle);
        EXPECT_NEAR(widthAt(y, Colour(p)), base * (1 - middle / total), 4) << p;
        below += std::fabs(values[size_t(p)]);
    }
}

TEST_F(GraphRenderingTest, LinePointsStandAtTheirValues) {
    const QImage& image = Draw(ctcLine);
    TChartSeries* line = Chart.SeriesAt(0);
    const auto values = Values();
    for (int p = 0; p < 4; ++p) {
        // The pointer of point p, in its palette colour, centred on the pixel
        // of its value.
        const int x = line->XToPixel(p), y = line->YToPixel(values[size_t(p)]);
        int top = image.height(), bottom = -1;
        for (int yy = 0; yy < image.height(); ++yy)
            if (image.pixelColor(x, yy) == Colour(p)) top = std::min(top, yy), bottom = std::max(bottom, yy);
        ASSERT_GE(bottom, top) << p;
        EXPECT_NEAR((top + bottom) / 2.0, y, 1.5) << p;
    }
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
    ASSERT_EQ(app.UI.Questions.size(), 1u);
    EXPECT_EQ(app.UI.Questions[0],
              "You have exceeded the maximum number for displaying items in the Chart View.  In some cases "
              "displaying the Chart View without the (All) levels will reduce enough items to keep the Chart "
              "View displaying. \r\rWould you like to remove the (All) levels?");
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(app.UI.Informations.empty());
    // Yes: the (All) levels go, the chart is built again, and when it is
    // still too big it closes with its message; a later refresh with the
    // (All) levels already hidden says so in other words.
    app.UI.Answer = true;
    int hidden = 0;
    dm.OnAllMembersHidden = [&] { ++hidden; };
    dm.ToggleDrillDown("[Customer].[All]");
    dm.ToggleDrillDown("[Customer].[All]");
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(dm.GetChartBuilder().GetShowAllMembers());
    EXPECT_GT(dm.GetChartBuilder().GetTotalPointCount(), 70);
    ASSERT_FALSE(app.UI.Informations.empty());
    EXPECT_EQ(app.UI.Informations.front(), "You have exceeded the maximum number for displaying items in the Chart "
                                           "View the Chart View will now have to be closed.");
    const int questions = int(app.UI.Questions.size());
    dm.AddToAxis("[Channel].[All].Children", axColumns, true);
    EXPECT_EQ(int(app.UI.Questions.size()), questions);
    EXPECT_EQ(app.UI.Informations.back(),
              "You have above the maximum number or display items for the chart. The chart will now be disabled.");
    EXPECT_GE(toggles, 3);
}

}  // namespace
