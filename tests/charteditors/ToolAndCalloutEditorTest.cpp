// The editor of tools bound to a series, and the pointer dialog on a marks
// callout.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/series/SeriesMarks.h"
#include "chart/series/line/LineSeries.h"
#include "chart/tools/PlotCustomTool.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/series/SeriesPointerEditor.h"
#include "charteditors/series/SeriesToolEditor.h"

#include <QCheckBox>
#include <QComboBox>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

// A tool bound to a series with no editor of its own (like the clip tool).
class TBoundTool : public TPlotCustomToolSeries {};

std::unique_ptr<TSeriesToolEditor> OpenToolEditor(TPlotCustomTool* tool) {
    return cbtest::OpenEditor<TSeriesToolEditor>(tool->EditorClassName(), TEditedObject::Element(tool));
}

TEST(SeriesToolEditor, WithoutSeriesOnlyADisabledNone) {
    RegisterStandardEditors();
    TChart chart;
    auto* tool = new TBoundTool();
    chart.Tools().AddTool(tool);
    auto e = OpenToolEditor(tool);
    ASSERT_TRUE(e);
    EXPECT_FALSE(e->CBSeries->isEnabled());
    ASSERT_EQ(e->CBSeries->count(), 1);
    EXPECT_EQ(e->CBSeries->itemText(0), "(none)");
}

TEST(SeriesToolEditor, ListsTheChartsSeriesAndSetsTheToolsSeries) {
    RegisterStandardEditors();
    TChart chart;
    auto* first = chart.CreateSeries<TLineSeries>();
    first->SetTitle("Sales");
    auto* second = chart.CreateSeries<TLineSeries>();
    second->SetTitle("Costs");
    auto* tool = new TBoundTool();
    chart.Tools().AddTool(tool);
    tool->SetSeries(second);
    auto e = OpenToolEditor(tool);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->CBSeries->isEnabled());
    ASSERT_EQ(e->CBSeries->count(), 3);
    EXPECT_EQ(e->CBSeries->itemText(1), "Sales");
    EXPECT_EQ(e->CBSeries->currentText(), "Costs");
    EXPECT_EQ(tool->Series(), second);  // loading writes nothing
    cbtest::Choose(e->CBSeries, 1);
    EXPECT_EQ(tool->Series(), first);
    cbtest::Choose(e->CBSeries, 0);
    EXPECT_EQ(tool->Series(), nullptr);
    cbtest::Screenshot(e.get(), "editor-series-tool");
}

TEST(CalloutPointer, ModalPointerDialogWithoutInflateOrColorEachEditsLive) {
    RegisterStandardEditors();
    TChart chart;
    chart.resize(300, 200);
    auto* series = chart.CreateSeries<TLineSeries>();
    TMarksCallout& callout = series->Marks().Callout();
    callout.SetStyle(psRectangle);
    bool seen = false;
    cbtest::OnNextModal([&](QWidget* w) {
        auto* e = dynamic_cast<TSeriesPointerEditor*>(w);
        ASSERT_NE(e, nullptr);
        seen = true;
        EXPECT_EQ(e->windowTitle(), "Pointer");
        EXPECT_FALSE(e->CBInflate->isVisible());
        EXPECT_FALSE(e->CBColorEach->isVisible());
        EXPECT_FALSE(e->CBStyle->isEnabled());  // the callout starts hidden
        cbtest::Click(e->CBDrawPoint);
        EXPECT_TRUE(callout.Visible());
        cbtest::Choose(e->CBStyle, 1);
        EXPECT_EQ(callout.Style(), psCircle);
        cbtest::Screenshot(e, "editor-callout-pointer");
        QTest::keyClick(e, Qt::Key_Escape);
    });
    EditCalloutPointer(nullptr, callout, series);
    EXPECT_TRUE(seen);
    EXPECT_EQ(callout.Style(), psCircle);  // live: closing keeps it
}

}  // namespace
