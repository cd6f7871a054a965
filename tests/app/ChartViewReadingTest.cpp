// The chart view read as a person reads it, on renderings of the sample
// cube's chart at the sizes people use: the legend keeps to its share and
// pages the rest, the annotation follows the data, the value axis reaches
// the tallest bar, and in 3D the value axis title stands clear of its labels.
#include "ChartViewTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/ui/views/ChartAnnotation.h"
#include "app/ui/views/ChartLegendPager.h"
#include "chart/component/Chart.h"

#include <QImage>
#include <QMouseEvent>
#include <QtTest/QTest>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

#include <regex>
#include <string>

using namespace cb::app;

namespace {

class ChartViewReadingTest : public cbtest::ChartViewFixture {
protected:
    void SetUp() override { OpenChartView(); }
    cb::chart::TChart& Chart() { return *view->chartGraph(); }
    // The view at this size, painted (and the pager's strip updated).
    QImage Render(int width, int height) {
        host->resize(width, height);
        container->setGeometry(0, 0, width, height);
        QCoreApplication::processEvents();
        QImage image = Chart().grab().toImage();
        QCoreApplication::processEvents();
        return Chart().grab().toImage();
    }
    void Shot(const std::string& name) {
        QCoreApplication::processEvents();
        cbtest::SaveScreenshot(*view, "chart-reading-" + name + ".png");
    }
};

}  // namespace

// Subcategories by channel: 56 points; more points than a query may chart
// (the chart view takes at most 70) are added to the chart by hand.
void ShowPoints(cb::app::TDisplayManager& dm, cb::chart::TChart& chart, int points) {
    dm.AddToAxis("[Product].[Subcategory].members", axRows, true);
    dm.AddToAxis("[Channel].[All].Children", axColumns, true);
    ASSERT_EQ(chart.NumberOfSeries(), 1);
    cb::chart::TChartSeries& series = *chart.SeriesAt(0);
    for (int i = series.PointCount(); i < points; ++i)
        series.AddValue(1000000.0 + 12345.67 * i, "Extra Member " + std::to_string(i));
    ASSERT_EQ(series.PointCount(), points);
}

// Distance from a point to a rectangle (0 inside).
int DistanceToBox(int x, int y, int left, int top, int right, int bottom) {
    const int dx = x < left ? left - x : x > right ? x - right : 0;
    const int dy = y < top ? top - y : y > bottom ? y - bottom : 0;
    return std::max(dx, dy);
}

TEST_F(ChartViewReadingTest, LegendKeepsToAThirdOfTheChartAndPagesTheRest) {
    struct Case {
        int points, width, height;
    };
    for (const Case& k : {Case{56, 800, 500}, Case{56, 1200, 700}, Case{140, 800, 500}, Case{140, 1200, 700}}) {
        SCOPED_TRACE(std::to_string(k.points) + " points at " + std::to_string(k.width));
        ShowPoints(*dm, Chart(), k.points);
        Render(k.width, k.height);
        Shot(std::to_string(k.points) + "-" + std::to_string(k.width));
        auto& legend = Chart().Legend();
        const int legendHeight = legend.Bounds().Height();
        const int plotHeight = Chart().ChartRect().Height();
        EXPECT_GT(legendHeight, 0);
        EXPECT_LE(legendHeight, Chart().height() / 3);
        EXPECT_GT(plotHeight, legendHeight);
        TChartLegendPager& pager = *view->panLegendPages;
        EXPECT_EQ(legend.FirstValue(), 0);
        const bool allFit = legend.LastValue() == k.points - 1;
        EXPECT_EQ(pager.isVisible(), !allFit);
        EXPECT_FALSE(pager.btnPrevious->isEnabled());
        // Page to the end: every item once, in order.
        int seen = legend.LastValue() + 1, pages = 1;
        while (pager.btnNext->isEnabled() && pages < 20) {
            EXPECT_EQ(pager.lblItems->text().toStdString(),
                      "Legend " + std::to_string(legend.FirstValue() + 1) + " - " +
                          std::to_string(legend.LastValue() + 1) + " of " + std::to_string(k.points));
            QTest::mouseClick(pager.btnNext, Qt::LeftButton);
            Render(k.width, k.height);
            EXPECT_EQ(legend.FirstValue(), seen);
            EXPECT_LE(legend.Bounds().Height(), Chart().height() / 3);
            seen = legend.LastValue() + 1;
            ++pages;
        }
        EXPECT_EQ(seen, k.points);
        if (!allFit) {
            Shot(std::to_string(k.points) + "-" + std::to_string(k.width) + "-last-page");
            EXPECT_TRUE(pager.btnPrevious->isEnabled());
            for (int i = 1; i < pages; ++i) {
                QTest::mouseClick(pager.btnPrevious, Qt::LeftButton);
                Render(k.width, k.height);
            }
            EXPECT_EQ(legend.FirstValue(), 0);
            EXPECT_FALSE(pager.btnPrevious->isEnabled());
        }
    }
}

TEST_F(ChartViewReadingTest, NewDataStartsTheLegendAtItsFirstItem) {
    ShowPoints(*dm, Chart(), 56);
    Render(800, 500);
    QTest::mouseClick(view->panLegendPages->btnNext, Qt::LeftButton);
    Render(800, 500);
    auto& legend = Chart().Legend();
    ASSERT_GT(legend.FirstValue(), 0);
    view->tbbFlipAxisClick();
    Render(800, 500);
    EXPECT_EQ(legend.FirstValue(), 0);
    EXPECT_EQ(view->panLegendPages->lblItems->text().left(9), "Legend 1 ");
}

TEST_F(ChartViewReadingTest, LegendValuesKeepTheirFormatsDecimals) {
    ShowPoints(*dm, Chart(), 56);
    cbtest::MenuItem(view->pmLegendDisplayText, "Value")->trigger();
    Render(1200, 700);
    const auto& items = Chart().Legend().ItemTexts();
    ASSERT_FALSE(items.empty());
    const std::regex money(R"(\d{1,3}(,\d{3})*\.\d\d)");
    for (const auto& item : items) {
        const std::string value = item.Column[0] + item.Column[1];
        EXPECT_TRUE(std::regex_match(value, money)) << value;
    }
}

TEST_F(ChartViewReadingTest, AnnotationFollowsTheDataAndStandsBesideItsPoint) {
    ShowPoints(*dm, Chart(), 56);
    Render(800, 500);
    TChartAnnotation& note = *view->ctAnnotator;
    cb::chart::TChartSeries* series = Chart().SeriesAt(0);
    ASSERT_NE(series, nullptr);
    const int count = series->PointCount();
    // The pointer over a point to the right, then the view turned over.
    const QPoint mouse(series->ScreenX(count - 2), series->ScreenY(count - 2) + 5);
    QTest::mouseMove(&Chart(), mouse);
    Render(800, 500);
    for (int flip = 0; flip < 3; ++flip) {
        SCOPED_TRACE(flip);
        ASSERT_TRUE(note.Shown());
        // The note tells of a point the chart shows now: the one nearest the pointer.
        bool found = false;
        for (int s = 0; s < Chart().NumberOfSeries() && !found; ++s) {
            cb::chart::TChartSeries& current = *Chart().SeriesAt(s);
            for (int i = 0; i < current.PointCount() && !found; ++i)
                found = current.ScreenX(i) == note.CalloutX() && current.ScreenY(i) == note.CalloutY() &&
                        current.BuildMarkText(i) == note.Text();
        }
        EXPECT_TRUE(found) << note.Text();
        // Its box stands beside the point, inside the chart.
        EXPECT_LE(DistanceToBox(note.CalloutX(), note.CalloutY(), note.BoxLeft(), note.BoxTop(), note.BoxRight(),
                                note.BoxBottom()),
                  20);
        EXPECT_GE(note.BoxLeft(), 0);
        EXPECT_LE(note.BoxRight(), Chart().width());
        EXPECT_GE(note.BoxTop(), 0);
        EXPECT_LE(note.BoxBottom(), Chart().height());
        Shot("annotation-" + std::to_string(flip));
        view->tbbFlipAxisClick();
        Render(800, 500);
    }
}

TEST_F(ChartViewReadingTest, In3DSideWallsAreSeeThroughPlanesAtEveryRotation) {
    ShowPoints(*dm, Chart(), 56);
    view->tbbRotationClick();
    for (auto [width, height] : {std::pair{800, 500}, {1200, 700}})
        for (int position : {0, 45, 90, 135, 180}) {
            SCOPED_TRACE(std::to_string(width) + " at " + std::to_string(position));
            view->SetRotationPosition(position);
            Render(width, height);
            Shot("3d-" + std::to_string(width) + "-" + std::to_string(position));
            // Side walls are see-through planes, not solid boxes.
            EXPECT_GT(Chart().LeftWall().Transparency(), 0);
            EXPECT_GT(Chart().RightWall().Transparency(), 0);
            EXPECT_EQ(Chart().RightWall().Size(), 0);
        }
}

// Subcategories by channel, whose tallest bars end between two labels: the
// value axis reaches past the largest value and every bar ends inside the
// plot, flat and turned (the rotations the slider gives and two from behind).
TEST_F(ChartViewReadingTest, ValueAxisReachesTheTallestBar) {
    dm->AddToAxis("[Product].[Subcategory].members", axRows, true);
    dm->AddToAxis("[Channel].[All].Children", axColumns, true);
    for (int rotation : {-1, 0, 45, 135, 315})
        for (auto [width, height] : {std::pair{800, 500}, {1200, 700}}) {
            const std::string name =
                (rotation < 0 ? std::string("2d") : "3d-rotation-" + std::to_string(rotation)) + "-" +
                std::to_string(width);
            SCOPED_TRACE(name);
            if (rotation >= 0) {
                if (!Chart().View3D()) view->tbbRotationClick();
                Chart().View3DOptions().SetRotation(rotation);
            }
            Render(width, height);
            Shot("value-axis-" + name);
            const cb::chart::TChartAxis& axis = Chart().LeftAxis();
            double highest = 0;
            for (int s = 0; s < Chart().NumberOfSeries(); ++s) {
                cb::chart::TChartSeries& series = *Chart().SeriesAt(s);
                for (int i = 0; i < series.PointCount(); ++i) {
                    highest = std::max(highest, series.YValues().Value(i));
                    EXPECT_GE(series.ScreenY(i), Chart().ChartRect().Top) << series.BuildMarkText(i);
                }
            }
            ASSERT_GT(highest, 0);
            EXPECT_GE(axis.WorkingMaximum(), highest);
            EXPECT_LE(axis.WorkingMinimum(), 0);
        }
}
