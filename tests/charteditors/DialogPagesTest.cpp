// The chart editor's pages one by one on a small chart: the rules each page
// keeps between its controls and the chart.
#include "EditorTestSupport.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotHelpers.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/dialog/AxisPage.h"
#include "charteditors/dialog/GeneralPage.h"
#include "charteditors/dialog/LegendPage.h"
#include "charteditors/dialog/PanelPage.h"
#include "charteditors/dialog/PlotAbout.h"
#include "charteditors/dialog/WallPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>

#include <cmath>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

void Type(QAbstractSpinBox* s, const QString& text) {
    s->setFocus();
    QTest::keyClick(s, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(s, text);
}
void Type(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

struct Pages : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    void SetUp() override {
        RegisterStandardEditors();
        chart->resize(400, 300);
    }
    template <class T, class O>
    std::unique_ptr<T> Show(O* object) {
        auto page = std::make_unique<T>();
        page->BindObject(TEditedObject::Part(object, static_cast<QObject*>(chart.get())));
        page->show();
        return page;
    }
};

TEST_F(Pages, AxisListCustomAxesLogBaseAndPositions) {
    chart->CustomAxes().Add();
    chart->CustomAxes().Add();
    auto page = Show<TFormPlotAxis>(&chart->LeftAxis());
    ASSERT_EQ(page->LBAxes->count(), 8);
    EXPECT_EQ(page->LBAxes->item(6)->text(), "Custom 0");
    EXPECT_EQ(page->LBAxes->item(7)->text(), "Custom 1");
    for (int i = 0; i < 8; ++i) {
        page->LBAxes->setCurrentRow(i);
        EXPECT_EQ(page->BDelete->isEnabled(), i > 5) << i;
        EXPECT_EQ(page->Axis(), page->AxisOfEntry(i));
    }
    page->BDelete->click();
    EXPECT_EQ(chart->CustomAxes().Count(), 1);
    EXPECT_EQ(page->LBAxes->count(), 7);
    EXPECT_EQ(page->LBAxes->currentRow(), 6);

    page->LBAxes->setCurrentRow(0);
    TChartAxis& left = chart->LeftAxis();
    page->CBLogarithmic->click();
    ASSERT_TRUE(left.Logarithmic());
    const double base = left.LogarithmicBase();
    for (const char* text : {"1", "0", "abc", ""}) {
        Type(page->ELogBase, text);
        EXPECT_EQ(left.LogarithmicBase(), base) << text;
    }
    Type(page->ELogBase, "2");
    EXPECT_EQ(left.LogarithmicBase(), 2);
    page->LogE->click();
    EXPECT_DOUBLE_EQ(left.LogarithmicBase(), std::exp(1.0));
    EXPECT_FALSE(page->LogE->isEnabled());

    // Start stays below end and end above start.
    left.SetStartPosition(79);
    left.SetEndPosition(80);
    page->PageChange();
    page->UDStart->setFocus();
    QTest::keyClick(page->UDStart, Qt::Key_Up);
    EXPECT_EQ(left.StartPosition(), 79);
    EXPECT_EQ(page->UDStart->value(), 79);
    page->UDEnd->setFocus();
    QTest::keyClick(page->UDEnd, Qt::Key_Down);
    EXPECT_EQ(left.EndPosition(), 80);
    EXPECT_EQ(page->UDEnd->value(), 80);
    QTest::keyClick(page->UDEnd, Qt::Key_Up);
    EXPECT_EQ(left.EndPosition(), 81);

    // An empty values format shows the default one.
    left.SetAxisValuesFormat("");
    page->PageChange();
    EXPECT_EQ(page->CBFormat->currentText().toStdString(), NumberTextToLocal("#,##0.###"));
}

TEST_F(Pages, LimitDialogReadsNumbersDatesAndTimes) {
    const struct {
        bool dateTime;
        double value;
        const char* date;  // null: the date edit is hidden
        const char* time;
        double expected;
    } cases[] = {
        {true, 0.25, nullptr, "06:00:00", 0.25},
        {true, 0.25, nullptr, "18:00", 0.75},
        {true, 45000.5, "2023-03-15", "12:00:00", 45000.5},
        {false, 7, "12.5", nullptr, 12.5},
    };
    for (const auto& c : cases) {
        TAxisMaxMin d;
        d.IsDateTime = c.dateTime;
        d.Value = c.value;
        d.show();
        EXPECT_EQ(d.EMaximum->isHidden(), c.date == nullptr) << c.time;
        if (c.date) Type(d.EMaximum, c.date);
        if (c.time) Type(d.EMinimum, c.time);
        d.BitBtn1->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_DOUBLE_EQ(d.Value, c.expected);
    }
}

TEST_F(Pages, LegendCustomPositionMarginAndCheckBoxes) {
    TChartLegend& legend = chart->Legend();
    legend.SetResizeChart(true);
    auto page = Show<TFormPlotLegend>(&legend);
    page->CBCustPos->click();
    EXPECT_TRUE(legend.CustomPosition());
    EXPECT_FALSE(legend.ResizeChart());
    for (QWidget* w : {static_cast<QWidget*>(page->CBResizeChart), static_cast<QWidget*>(page->UDMargin),
                       static_cast<QWidget*>(page->UDTopPos)})
        EXPECT_FALSE(w->isEnabled());
    page->CBCustPos->click();

    const struct {
        int side;
        bool horizontal;
    } margins[] = {{0, true}, {2, false}};
    for (const auto& m : margins) {
        page->RGPosition->button(m.side)->click();
        Type(page->UDMargin, "17");
        EXPECT_EQ(m.horizontal ? legend.HorizMargin() : legend.VertMargin(), 17) << m.side;
    }

    page->CBCheckBoxes->setCurrentIndex(0);
    EXPECT_FALSE(legend.CheckBoxes());
    page->CBCheckBoxes->setCurrentIndex(1);
    EXPECT_TRUE(legend.CheckBoxes());
    EXPECT_EQ(legend.CheckBoxesStyle(), cbsCheck);

    page->MemoText->setPlainText("one\ntwo");
    EXPECT_EQ(legend.Title().Text(), (std::vector<std::string>{"one", "two"}));
}

TEST_F(Pages, GeneralMarginsStayApartInPercent) {
    chart->SetMarginUnits(muPercent);
    chart->SetMargin(0, 40);
    auto page = Show<TFormPlotGeneral>(static_cast<TCustomChart*>(chart.get()));
    ASSERT_TRUE(page->isVisible());
    ASSERT_EQ(chart->MarginLeft(), 40);
    Type(page->UDRightMa, "60");  // "6" is taken, "60" refused
    EXPECT_EQ(chart->MarginRight(), 6);
    EXPECT_EQ(page->UDRightMa->value(), 6);
    Type(page->UDRightMa, "59");
    EXPECT_EQ(page->UDRightMa->value(), 59);
    EXPECT_EQ(chart->MarginRight(), 59);
    page->CBMarUnits->setCurrentIndex(1);
    EXPECT_EQ(page->UDTopMa->minimum(), -2000);
    Type(page->UDTopMa, "-2000");
    EXPECT_EQ(chart->MarginTop(), -2000);
    page->CBMarUnits->setCurrentIndex(0);
    EXPECT_EQ(page->UDTopMa->maximum(), 100);
    page->CBAllowZoom->click();
    EXPECT_FALSE(chart->Zoom().Allow);
    EXPECT_FALSE(page->CBDir->isEnabled());
}

TEST_F(Pages, WallSizesAndPanelDefaultColour) {
    auto walls = Show<TFormPlotWall>(static_cast<TChartWall*>(&chart->LeftWall()));
    Type(walls->UDWallSize, "0");
    EXPECT_FALSE(walls->CBDark3D->isEnabled());
    Type(walls->UDAllSize, "12");
    for (TChartWall* w : {static_cast<TChartWall*>(&chart->LeftWall()), static_cast<TChartWall*>(&chart->RightWall()),
                          static_cast<TChartWall*>(&chart->BackWall()), &chart->BottomWall()})
        EXPECT_EQ(w->Size(), 12);
    EXPECT_TRUE(walls->CBDark3D->isEnabled());
    walls->TabSubWalls->setCurrentIndex(2);
    EXPECT_EQ(walls->Wall(), &chart->BottomWall());
    EXPECT_TRUE(walls->CBAutoHide->isHidden());

    chart->SetColor(clBtnFace);
    auto panel = Show<TFormPlotPanel>(static_cast<TCustomChart*>(chart.get()));
    EXPECT_TRUE(panel->CBColorDef->isChecked());
    EXPECT_FALSE(panel->CBColorDef->isEnabled());
    // Without a back image the image controls are off.
    EXPECT_EQ(panel->BBrowseImage->text(), "B&rowse...");
    EXPECT_FALSE(panel->CBImageInside->isEnabled());
    EXPECT_FALSE(panel->UDLeft->isEnabled());
}

TEST(PlotAbout, GradientColoursDriftAndTurnBackAtBlack) {
    TPlotAboutForm about;
    EXPECT_EQ(about.windowTitle(), "About DezAvoze Pro v7");
    EXPECT_EQ(about.LabelVersion->text(), "DezAvoze Pro v7");
    EXPECT_FALSE(about.LabelWWW->isVisibleTo(&about)) << "no address set";
    EXPECT_EQ(about.Timer1->interval(), 100);
    about.Step();
    EXPECT_EQ(about.StartColor(), cb::gfx::TColor(0xDCDCDC));
    EXPECT_EQ(about.EndColor(), cb::gfx::TColor(0x848484));
    // 0xE0 / 4 steps bring the start colour to black; the ends stay in range.
    for (int i = 1; i < 0xE0 / 4; ++i) about.Step();
    EXPECT_EQ(about.StartColor(), cb::gfx::TColor(0));
    EXPECT_EQ(about.EndColor(), cb::gfx::TColor(0xFFFFFF));
    EXPECT_EQ(about.StepSize(), -4);
    about.Step();
    EXPECT_EQ(about.StartColor(), cb::gfx::TColor(0x040404));
    EXPECT_EQ(about.EndColor(), cb::gfx::TColor(0xFBFBFB));

    // The background is the engine's top-bottom gradient of the two colours.
    TPlotAboutForm fresh;
    fresh.Timer1->stop();
    fresh.resize(300, 200);
    const QImage image = fresh.grab().toImage();
    cbtest::Screenshot(&fresh, "plot_about");
    EXPECT_NEAR(qRed(image.pixel(150, 1)), 0x80, 4);
    EXPECT_NEAR(qRed(image.pixel(150, 198)), 0xE0, 4);
    fresh.SetWebAddress("https://example.org/");
    EXPECT_TRUE(fresh.LabelWWW->isVisibleTo(&fresh));
}

}  // namespace
