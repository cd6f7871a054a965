// The chart view over the sample cube: tool bar, menus, chart types,
// grouping, measures, rotation and printing, driven as a person would.
#include "app/ui/views/MainGraphDisplay.h"
#include "ChartViewTestSupport.h"
#include "SmallWindowsSupport.h"
#include "app/core/query/DisplayManager.h"
#include "app/ui/views/ChartAnnotation.h"
#include "app/ui/widgets/ClickLabel.h"
#include "app/ui/widgets/HelpTopics.h"
#include "app/ui/main/MainBottomContainer.h"
#include "chart/component/Chart.h"
#include "chartexport/preview/ChartPreview.h"
#include "chartexport/preview/ChartPreviewer.h"
#include "extras/HelpHook.h"
#include "extras/HelpWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace cb::app;

namespace {

std::vector<std::string> Captions(QMenu* menu) {
    std::vector<std::string> captions;
    for (QAction* a : menu->actions()) captions.push_back(a->text().toStdString());
    return captions;
}

std::string Ticked(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (a->isChecked()) return a->text().toStdString();
    return {};
}

class MainGraphDisplayTest : public cbtest::ChartViewFixture {
protected:
    void SetUp() override {
        OpenChartView([this] { view->OnMenusChanged = [this](TfrmMainGraphDisplay*) { ++menusChanged; }; });
    }
    cb::chart::TChart& Chart() { return *view->chartGraph(); }
    void Shot(const char* name) {
        QCoreApplication::processEvents();
        cbtest::SaveScreenshot(*view, std::string("chart-view-") + name + ".png");
    }

    int menusChanged = 0;
};

TEST_F(MainGraphDisplayTest, StartsAsABarChartOfTheViewsMeasure) {
    EXPECT_EQ(container->GetChart(), view->chartGraph());
    EXPECT_EQ(Chart().Legend().Alignment(), cb::chart::laBottom);
    // Up to 100 rows, as many as a third of the chart holds.
    EXPECT_GE(Chart().Legend().MaxNumRows(), 1);
    EXPECT_LE(Chart().Legend().MaxNumRows(), 100);
    EXPECT_EQ(Chart().Legend().Transparency(), 20);
    EXPECT_EQ(Captions(view->pmMeasure), (std::vector<std::string>{"Revenue"}));
    EXPECT_EQ(Ticked(view->pmMeasure), "Revenue");
    EXPECT_FALSE(dm->GetChartBuilder().GetMeasureFilter());  // one measure: no filter
    EXPECT_EQ(Ticked(view->pmDisplayType), "&Chart All");
    EXPECT_EQ(Ticked(view->pmMarkType), "Dont show");
    EXPECT_EQ(Ticked(view->pmLegendDisplayText), "Label");
    EXPECT_EQ(Captions(view->pmGroupBy), (std::vector<std::string>{"Don't group"}));
    EXPECT_TRUE(view->tbbBarGraph->isChecked());
    EXPECT_TRUE(view->AnnotationOn());
    EXPECT_FALSE(view->BottomLabelsOn());
    EXPECT_EQ(dm->GetChartType(), ctcBar);
    EXPECT_EQ(Chart().LeftAxis().Title().Caption(), "Revenue");
    EXPECT_EQ(dm->GetChartBuilder().GetTotalPointCount(), 1);
    // A second measure switches the filter on.
    dm->AddToAxis("{[Measures].[Revenue],[Measures].[Units]}", axColumns, true);
    view->BuildMeasureMenu();
    EXPECT_EQ(Captions(view->pmMeasure), (std::vector<std::string>{"Revenue", "Units"}));
    EXPECT_TRUE(dm->GetChartBuilder().GetMeasureFilter());
    cbtest::MenuItem(view->pmMeasure, "Units")->trigger();
    EXPECT_EQ(dm->GetChartMeasure(), "[Measures].[Units]");
    EXPECT_EQ(Chart().LeftAxis().Title().Caption(), "Units");
    EXPECT_EQ(dm->GetChartBuilder().GetTotalPointCount(), 1);
    Shot("start");
}

TEST_F(MainGraphDisplayTest, ToolBarWrapsBelow749PixelsAndSliderTurnsTheChart) {
    for (auto [width, height] : {std::pair{748, 59}, {749, 28}}) {
        view->resize(width, 300);
        EXPECT_EQ(view->tbGraphOptions->height(), height) << width;
    }
    for (auto [position, rotation] : {std::pair{0, 270}, {45, 315}, {90, 0}, {135, 45}, {180, 90}})
        EXPECT_EQ(TfrmMainGraphDisplay::RotationOfPosition(position), rotation) << position;
    QTest::mouseClick(view->tbbRotation, Qt::LeftButton);
    EXPECT_FALSE(view->panRotationValue->isHidden());
    EXPECT_TRUE(Chart().View3D());
    EXPECT_EQ(view->tbbRotation->toolTip(), "Hide Rotation Slider");
    view->tbRotation->setValue(135);
    EXPECT_EQ(Chart().View3DOptions().Rotation(), 45);
    view->btnResetRotation->click();
    EXPECT_EQ(Chart().View3DOptions().Rotation(), 0);
    Shot("rotation");
    QTest::mouseClick(view->tbbRotation, Qt::LeftButton);
    EXPECT_TRUE(view->panRotationValue->isHidden());
    EXPECT_FALSE(Chart().View3D());
}

TEST_F(MainGraphDisplayTest, ChartTypesAndGrouping) {
    // Three row dimensions: one group-by item each.
    dm->AddToAxis("[Channel].[All].Children", axRows, true);
    dm->AddToAxis("[Time].[All].Children", axRows, true);
    EXPECT_EQ(Captions(view->pmGroupBy), (std::vector<std::string>{"Don't group", "Customer", "Channel", "Time"}));
    cbtest::MenuItem(view->pmGroupBy, "Channel")->trigger();
    EXPECT_EQ(dm->GetChartGroupBy(), 1);
    EXPECT_EQ(Chart().NumberOfSeries(), 4);
    EXPECT_FALSE(view->tbShowLegendStyle->isEnabled());
    Shot("grouped");
    // Moving the grouped dimension to the columns drops the grouping.
    dm->RemoveFromAxes("[Channel].[All].Children", false);
    dm->AddToAxis("[Channel].[All].Children", axColumns, true);
    EXPECT_EQ(Ticked(view->pmGroupBy), "Don't group");
    EXPECT_EQ(dm->GetChartGroupBy(), kNoGroupBy);
    EXPECT_EQ(Chart().NumberOfSeries(), 1);

    menusChanged = 0;
    QTest::mouseClick(view->tbbPie, Qt::LeftButton);
    EXPECT_EQ(dm->GetChartType(), ctcPie);
    EXPECT_FALSE(view->tbbGroupBy->isEnabled());
    EXPECT_FALSE(view->tbShowBottomLabels->isEnabled());
    EXPECT_FALSE(view->tbbShowAnnotation->isEnabled());
    EXPECT_TRUE(Chart().Title().Visible());
    EXPECT_EQ(Chart().Title().Text(), (std::vector<std::string>{"Revenue"}));
    EXPECT_EQ(Ticked(view->pmGraphType), "Pie");
    EXPECT_GT(menusChanged, 0);
    Shot("pie");
    cbtest::MenuItem(view->pmMarkType, "Value")->trigger();
    EXPECT_TRUE(Chart().SeriesAt(0)->Marks().Visible());
    cbtest::MenuItem(view->pmGraphType, "Pyramid")->trigger();
    EXPECT_TRUE(view->tbbPyramid->isChecked());
    EXPECT_EQ(Ticked(view->pmMarkType), "Dont show");
    EXPECT_FALSE(Chart().SeriesAt(0)->Marks().Visible());
    EXPECT_FALSE(Chart().BottomAxis().Visible());
    QTest::mouseClick(view->tbLineGraph, Qt::LeftButton);
    EXPECT_EQ(dm->GetChartType(), ctcLine);
    EXPECT_EQ(Ticked(view->pmGraphType), "");
    EXPECT_TRUE(view->tbShowBottomLabels->isEnabled());
    QTest::mouseClick(view->tbShowBottomLabels, Qt::LeftButton);
    EXPECT_TRUE(Chart().BottomAxis().Visible());
    EXPECT_EQ(view->tbShowBottomLabels->toolTip(), "Hide Bottom Labels");
    // Chart data: the selected row.
    cbtest::MenuItem(view->pmDisplayType, "Selected &Row")->trigger();
    EXPECT_EQ(dm->GetChartDataMode(), cdmSelectedRow);
    EXPECT_EQ(Ticked(view->pmDisplayType), "Selected &Row");
    // Legend hidden and shown again.
    cbtest::MenuItem(view->pmLegendDisplayText, "Dont show")->trigger();
    EXPECT_FALSE(Chart().Legend().Visible());
    cbtest::MenuItem(view->pmLegendDisplayText, "Value")->trigger();
    EXPECT_TRUE(Chart().Legend().Visible());
    EXPECT_EQ(Chart().Legend().TextStyle(), cb::chart::ltsValue);
}

TEST_F(MainGraphDisplayTest, ShowAllMembersAndEmptyText) {
    EXPECT_TRUE(view->tbbShowAllMember->isChecked());
    QTest::mouseClick(view->tbbShowAllMember, Qt::LeftButton);
    EXPECT_FALSE(dm->GetChartShowAllMembers());
    EXPECT_EQ(view->tbbShowAllMember->toolTip(), "Show All Members");
    // Only the (All) customer is in the view: nothing to chart.
    EXPECT_TRUE(Chart().isHidden());
    EXPECT_FALSE(view->lblGraphEmptyText->isHidden());
    Shot("empty");
    QTest::mouseClick(view->tbbShowAllMember, Qt::LeftButton);
    EXPECT_TRUE(dm->GetChartShowAllMembers());
    EXPECT_FALSE(Chart().isHidden());
    EXPECT_TRUE(view->lblGraphEmptyText->isHidden());
}

TEST_F(MainGraphDisplayTest, PrintingTwiceLeavesTheScreenTitleAsItWas) {
    QTest::mouseClick(view->tbbPie, Qt::LeftButton);
    const auto before = Chart().Title().Text();
    std::vector<std::string> printedTitles;
    view->chartGraphPreviewer().OnShow = [&](QDialog* form) {
        printedTitles.push_back(Chart().Title().Text().empty() ? "" : Chart().Title().Text().front());
        EXPECT_EQ(form->windowTitle(), "Print Graph");
        EXPECT_EQ(Chart().GetMargin(0), 0);
        QTimer::singleShot(0, form, [form] {
            form->grab().save("/tmp/appchart_preview.png");
            form->accept();
        });
    };
    view->tbbPrintClick();
    view->tbbPrintClick();
    EXPECT_EQ(printedTitles, (std::vector<std::string>{"Tavo_sample - Revenue", "Tavo_sample - Revenue"}));
    EXPECT_EQ(Chart().Title().Text(), before);
    EXPECT_TRUE(Chart().Title().Visible());
    EXPECT_TRUE(view->AnnotationOn() == false);  // pie: annotation was off before
    EXPECT_EQ(Chart().GetMargin(1), 5);
}

TEST_F(MainGraphDisplayTest, CopiesTheChartToTheClipboard) {
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(view->tbbCopyToClipboard, Qt::LeftButton);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), Chart().size());
}

TEST(MainBottomContainer, MakesAChartViewOnlyForACube) {
    QWidget host;
    TfrmMainBottomContainer container(&host);
    container.ShowChartView(nullptr);
    EXPECT_FALSE(container.HasChartView());
    EXPECT_EQ(container.GetChart(), nullptr);
}

}  // namespace

TEST_F(MainGraphDisplayTest, HeaderPictureOpensTheChartViewTopic) {
    cb::extras::HHSetupState({"cubebrowser"});
    SetApplicationHelpFile(std::string(CB_BIN_DIR) + "/help/Tavo.chm");
    EXPECT_EQ(view->imgSectionHeader->parentWidget(), view->tbGraphOptions);
    QTest::mouseClick(view->imgSectionHeader, Qt::LeftButton);
    ASSERT_NE(cb::extras::HHHelpWindow(), nullptr);
    EXPECT_EQ(cb::extras::HHHelpWindow()->CurrentTopic(), "/chart view.htm");
    cb::extras::HHCloseAll();
    cb::extras::HHCleanupState();
}

TEST_F(MainGraphDisplayTest, AnnotationFollowsThePointNearestTheMouse) {
    dm->AddToAxis("[Customer].[All].Children", axRows, true);
    Chart().grab();  // laid out and drawn once, so that points have places
    ASSERT_EQ(Chart().NumberOfSeries(), 1);
    cb::chart::TChartSeries& series = *Chart().SeriesAt(0);
    ASSERT_GT(series.PointCount(), 3);
    TChartAnnotation& note = *view->ctAnnotator;
    EXPECT_TRUE(note.Active());
    EXPECT_EQ(note.CalloutColor(), 9868950u);
    for (int i : {2, 0, 3}) {
        QTest::mouseMove(&Chart(), QPoint(series.ScreenX(i) + 3, series.ScreenY(i) - 2));
        EXPECT_EQ(note.Text(), series.BuildMarkText(i)) << i;
        EXPECT_EQ(note.CalloutX(), series.ScreenX(i));
        EXPECT_EQ(note.CalloutY(), series.ScreenY(i));
        EXPECT_TRUE(note.CalloutVisible());
        EXPECT_TRUE(note.Shown());
    }
    Shot("annotation");
    // Off for a pie: it no longer follows.
    QTest::mouseClick(view->tbbPie, Qt::LeftButton);
    EXPECT_FALSE(note.Active());
    EXPECT_FALSE(note.Shown());
    const std::string text = note.Text();
    QTest::mouseMove(&Chart(), QPoint(5, 5));
    EXPECT_EQ(note.Text(), text);
}
