// The editors on the program's own chart: the chart view after a real query
// on the sample cube.
#include "EditorTestSupport.h"
#include "chart/axis/ChartAxis.h"
#include "chart/style/ChartPen.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartScrollBar.h"
#include "chart/series/ChartValueList.h"
#include "charteditors/style/BrushDialog.h"
#include "charteditors/style/GradientEditor.h"
#include "charteditors/style/ShapeEditor.h"
#include "chart/component/ChartLegend.h"
#include "chart/panel/PlotShape.h"
#include "chart/style/ChartBrush.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include "tests/app/ChartViewTestSupport.h"

#include <QSpinBox>

using namespace cb::charteditors;

namespace {

class ProgramChart : public cbtest::ChartViewFixture {};

TEST_F(ProgramChart, TheViewsScrollBarIsHiddenAndBoundToNoChart) {
    OpenChartView();
    TChartScrollBar* bar = view->csbScroller;
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(bar->Chart(), nullptr);
    EXPECT_EQ(bar->LargeChange(), 3000);
    EXPECT_EQ(bar->SmallChange(), 300);
    EXPECT_EQ(bar->PageSize(), 0);
}

TEST_F(ProgramChart, PenDialogOnASeriesPenThenCancel) {
    OpenChartView();
    cb::chart::TChart* chart = view->chartGraph();
    ASSERT_GT(chart->NumberOfSeries(), 0);
    cb::chart::TChartSeries* series = chart->SeriesAt(0);
    cb::chart::TChartPen& pen = series->Pen();
    const int width = pen.Width();
    TButtonPen button(view);
    button.LinkPen(TEditedObject::Part(&pen, series));
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPenDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->SEWidth->setFocus();
        QTest::keyClick(d->SEWidth, Qt::Key_Up);
        EXPECT_EQ(pen.Width(), width + 1);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    button.click();
    EXPECT_EQ(pen.Width(), width);
}

TEST_F(ProgramChart, StyleEditorsOnTheLegendAndPanelThenCancel) {
    OpenChartView();
    cb::chart::TChart* chart = view->chartGraph();
    cb::chart::TChartLegend& legend = chart->Legend();
    const bool round = legend.ShapeStyle() == cb::chart::fosRoundRectangle;
    TFormPlotShape* shape = CreateShapeEditor(view, TEditedObject::Part<cb::chart::TPlotCustomShape>(&legend, chart),
                                              nullptr);
    shape->show();
    shape->CBRound->click();
    EXPECT_NE(legend.ShapeStyle() == cb::chart::fosRoundRectangle, round);
    QTest::keyClick(shape, Qt::Key_Escape);
    EXPECT_EQ(legend.ShapeStyle() == cb::chart::fosRoundRectangle, round);
    delete shape;

    cb::chart::TPlotGradient& gradient = chart->Gradient();
    const int direction = int(gradient.Direction());
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TPlotGradientEditor*>(w);
        ASSERT_NE(d, nullptr);
        d->CBDirection->setCurrentIndex(int(cb::chart::gdRadial));
        EXPECT_EQ(gradient.Direction(), cb::chart::gdRadial);
        d->BCancel->click();
    });
    EXPECT_FALSE(EditGradient(view, TEditedObject::Part(&gradient, chart)));
    EXPECT_EQ(int(gradient.Direction()), direction);

    cb::chart::TChartBrush& brush = legend.Brush();
    const auto style = brush.Style();
    cbtest::OnNextModal([&](QWidget* w) {
        auto* d = dynamic_cast<TBrushDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->LStyle->setCurrentRow(int(cb::gfx::bsDiagCross));
        EXPECT_EQ(brush.Style(), cb::gfx::bsDiagCross);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_FALSE(EditChartBrush(view, TEditedObject::Part(&brush, chart)));
    EXPECT_EQ(brush.Style(), style);
}

TEST_F(ProgramChart, DataGridEditsTheQueriedValues) {
    OpenChartView();
    cb::chart::TChart* chart = view->chartGraph();
    ASSERT_GT(chart->NumberOfSeries(), 0);
    cb::chart::TChartSeries* series = chart->SeriesAt(0);
    ASSERT_GT(series->PointCount(), 0);
    TChartGrid grid;
    grid.SetChart(chart);
    int col = 1;
    while (col < grid.ColCount() && grid.ColumnList(col) != &series->MandatoryList()) ++col;
    ASSERT_LT(col, grid.ColCount());
    EXPECT_EQ(grid.RowCount(), grid.HeaderRows() + series->PointCount());
    grid.SetCellText(col, grid.HeaderRows(), "123456");
    EXPECT_DOUBLE_EQ(series->MandatoryList().Value(0), 123456);
    EXPECT_GE(series->MandatoryList().Highest(), 123456) << "the chart's scale follows";
}

}  // namespace
