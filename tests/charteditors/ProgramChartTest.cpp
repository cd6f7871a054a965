// The editors on the program's own chart: the chart view after a real query
// on the sample cube.
#include "EditorTestSupport.h"
#include "chart/axis/ChartAxis.h"
#include "chart/style/ChartPen.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/common/PenDialog.h"
#include "charteditors/controls/ChartScrollBar.h"
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

}  // namespace
