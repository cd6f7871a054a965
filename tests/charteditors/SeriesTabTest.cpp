// The series tab: the pages each series type gets (its editor and the pages
// that editor adds), which page stays active when another series is chosen,
// every control of "General", "Marks" and "Data Source" changed once with
// the series checked, and the tab following the chart.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotResources.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/gantt/GanttSeries.h"
#include "chart/series/line/AreaSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/series/pyramid/PyramidSeries.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorButtons.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartGridNavigator.h"
#include "charteditors/series/RandomSourcePanel.h"
#include "charteditors/series/SeriesPointerEditor.h"
#include "charteditors/series/SeriesTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

using namespace cb::chart;
using namespace cb::charteditors;
using cbtest::Choose;
using cbtest::Click;
using cbtest::StepUp;
using cbtest::Type;

namespace {

QStringList PageCaptions(const QTabWidget* pages) {
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->isTabVisible(i)) captions << pages->tabText(i);
    return captions;
}

// Laid out first: pages are filled as they are shown.
void Shot(QWidget* w, const char* name) {
    QApplication::processEvents();
    cbtest::Screenshot(w, name);
}

struct SeriesTab : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    std::unique_ptr<TFormPlotSeries> tab;
    void SetUp() override {
        RegisterStandardSeriesTypes();
        RegisterExtendedSeriesTypes();
        RegisterStandardEditors();
        chart->resize(400, 300);
        tab = std::make_unique<TFormPlotSeries>();
        tab->resize(460, 520);
        tab->show();
    }
    void TearDown() override { tab.reset(); }
    template <class T>
    T* Add(const char* title) {
        T* s = chart->CreateSeries<T>();
        s->SetTitle(title);
        for (double v : {5.0, 9.0, 7.0, 3.0}) s->AddValue(v);
        return s;
    }
    void Edit(TChartSeries* s) {
        tab->SetSeries(s);
        tab->SelectSeries();
    }
    void Activate(const QString& caption) {
        for (int i = 0; i < tab->PageSeries->count(); ++i)
            if (tab->PageSeries->tabText(i) == caption) {
                tab->PageSeries->setCurrentIndex(i);
                return;
            }
        ADD_FAILURE() << "no page " << caption.toStdString();
    }
    QString Active() const { return tab->PageSeries->tabText(tab->PageSeries->currentIndex()); }
};

TEST_F(SeriesTab, EachTypeGetsItsEditorAndThePagesItAdds) {
    const struct {
        TChartSeries* series;
        QStringList pages;
    } cases[] = {
        {Add<TLineSeries>("line"), {"Format", "Point", "General", "Marks", "Data Source"}},
        {Add<TAreaSeries>("area"), {"Format", "Point", "Gradient", "General", "Marks", "Data Source"}},
        {Add<TBarSeries>("bar"), {"Format", "Stack", "General", "Marks", "Data Source"}},
        {Add<TPieSeries>("pie"), {"Format", "Circled", "General", "Marks", "Data Source"}},
        {Add<TGanttSeries>("gantt"), {"Format", "Gantt", "General", "Marks", "Data Source"}},
        // No editor registered: no "Format".
        {Add<TPyramidSeries>("pyramid"), {"General", "Marks", "Data Source"}},
    };
    for (const auto& c : cases) {
        Edit(c.series);
        EXPECT_EQ(PageCaptions(tab->PageSeries), c.pages) << c.series->Title();
        EXPECT_EQ(tab->CBSeries->currentText().toStdString(), c.series->Title());
        EXPECT_TRUE(tab->LabelSeriesClass->text().endsWith(QString(": ") + c.series->Title().c_str()));
    }
    // The Gantt page is the pointer editor without its size controls.
    Edit(cases[4].series);
    Activate("Gantt");
    auto* pointer = tab->PageSeries->currentWidget()->findChild<TSeriesPointerEditor*>();
    ASSERT_NE(pointer, nullptr);
    EXPECT_FALSE(pointer->SEPointHorizSize->isVisible());
    // The pie has no series colour swatch; the others have.
    Edit(cases[3].series);
    EXPECT_FALSE(tab->PaintBox1->isVisible());
    Edit(cases[0].series);
    EXPECT_TRUE(tab->PaintBox1->isVisible());
}

TEST_F(SeriesTab, ThePagePeopleWereOnStaysWhereItCan) {
    auto* line = Add<TLineSeries>("line");
    auto* bar = Add<TBarSeries>("bar");
    auto* pie = Add<TPieSeries>("pie");
    auto* pyramid = Add<TPyramidSeries>("pyramid");
    Edit(bar);
    Activate("Marks");
    Edit(pie);
    EXPECT_EQ(Active(), "Marks");
    Edit(line);
    Activate("Point");
    Edit(bar);
    EXPECT_EQ(Active(), "Format");
    Edit(pyramid);
    EXPECT_EQ(Active(), "General");
    Activate("Data Source");
    Edit(bar);
    EXPECT_EQ(Active(), "Data Source");
    Activate("General");
    Edit(pyramid);
    Edit(bar);
    EXPECT_TRUE(PageCaptions(tab->PageSeries).contains("Format"));
    // Choosing in the combo loads the series chosen.
    Choose(tab->CBSeries, tab->CBSeries->findText("line"));
    EXPECT_EQ(tab->Series(), line);
    EXPECT_TRUE(PageCaptions(tab->PageSeries).contains("Point"));
}

TEST_F(SeriesTab, GeneralPageWritesEachControl) {
    auto* s = Add<TLineSeries>("line");
    TChartAxis* custom0 = chart->CustomAxes().Add();
    TChartAxis* custom1 = chart->CustomAxes().Add();
    s->SetDepth(-1);
    Edit(s);
    Activate("General");
    EXPECT_TRUE(tab->CBDepth->isChecked());
    EXPECT_EQ(tab->EDepth->value(), 0);
    ASSERT_EQ(tab->CBVertAxis->count(), 5);
    EXPECT_EQ(tab->CBVertAxis->itemText(3), "Custom  0");
    EXPECT_EQ(tab->CBVertAxis->itemText(4), "Custom  1");
    EXPECT_EQ(s->Depth(), -1);  // loading writes nothing

    Click(tab->CBShowInLegend);
    EXPECT_FALSE(s->ShowInLegend());
    Type(tab->EDepth, "12");
    EXPECT_EQ(s->Depth(), 12);
    EXPECT_FALSE(tab->CBDepth->isChecked());
    Click(tab->CBDepth);
    EXPECT_EQ(s->Depth(), -1);
    tab->CBFormat->setFocus();
    tab->CBFormat->lineEdit()->selectAll();
    QTest::keyClicks(tab->CBFormat, "0.00");
    EXPECT_EQ(s->ValueFormat(), "0.00");
    Type(tab->EPercentFormat, "##0 %");
    EXPECT_EQ(s->PercentFormat(), "##0 %");
    Choose(tab->CBHorizAxis, 0);
    EXPECT_EQ(s->HorizAxis(), aTopAxis);
    Choose(tab->CBVertAxis, 4);
    EXPECT_EQ(s->VertAxis(), aCustomVertAxis);
    EXPECT_EQ(s->CustomVertAxis(), custom1);
    Choose(tab->CBVertAxis, 1);
    EXPECT_EQ(s->VertAxis(), aRightAxis);
    Click(tab->CBXDateTime);
    EXPECT_TRUE(s->XValues().DateTime());
    Click(tab->CBYDateTime);
    EXPECT_TRUE(s->YValues().DateTime());
    Choose(tab->CBSort, 1);
    EXPECT_EQ(s->MandatoryList().Order(), loDescending);
    EXPECT_EQ(s->YValues().Value(0), 9);  // re-sorted
    Choose(tab->CBSort, 2);
    EXPECT_EQ(s->MandatoryList().Order(), loNone);
    (void)custom0;
    Shot(tab.get(), "series-tab-general");
}

TEST_F(SeriesTab, CursorChoiceListsTheNamesSortedWithTheChartHand) {
    auto* s = Add<TLineSeries>("line");
    auto* other = Add<TBarSeries>("bar");
    other->SetCursor(12345);  // a number no name stands for
    Edit(s);
    Activate("General");
    QStringList names;
    for (int i = 0; i < tab->CBCursor->count(); ++i) names << tab->CBCursor->itemText(i);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);
    EXPECT_TRUE(names.contains("PlotHand"));
    EXPECT_TRUE(names.contains("Default"));
    EXPECT_EQ(tab->CBCursor->currentText(), "Default");
    Choose(tab->CBCursor, tab->CBCursor->findText("Cross"));
    EXPECT_EQ(s->Cursor(), crCross);
    Choose(tab->CBCursor, tab->CBCursor->findText("PlotHand"));
    EXPECT_EQ(s->Cursor(), crPlotHand);
    Edit(other);
    EXPECT_EQ(tab->CBCursor->currentIndex(), -1);
    EXPECT_EQ(other->Cursor(), 12345);  // loading writes nothing
}

TEST_F(SeriesTab, ManualPointsAreEditedInTheDataGrid) {
    auto* s = Add<TLineSeries>("line");
    s->SetManualData(true);
    Edit(s);
    Activate("Data Source");
    ASSERT_TRUE(tab->ChartGrid1->isVisible());
    EXPECT_TRUE(tab->ChartGridNavigator1->isVisible());
    EXPECT_EQ(tab->ChartGrid1->Series(), s);
    TChartGrid* grid = tab->ChartGrid1;
    EXPECT_EQ(grid->RowCount(), grid->HeaderRows() + 4);
    // A value typed into the grid goes into the series and on to what
    // the series feeds.
    // fed copies the series' points (a source without a function).
    auto* fed = chart->CreateSeries<TLineSeries>();
    fed->ConnectDataSource(s, true);
    ASSERT_EQ(fed->PointCount(), s->PointCount());
    int yColumn = -1;
    for (int c = 1; c < grid->ColCount(); ++c)
        if (grid->ColumnList(c) == &s->YValues()) yColumn = c;
    ASSERT_GT(yColumn, 0);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(grid->HeaderRows() + 1, yColumn));
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->Editing());
    // Found in the grid, not by focus: the test window need not be active.
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "no cell editor";
    editor->selectAll();
    QTest::keyClicks(editor, "42");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(s->YValues().Value(1), 42);
    EXPECT_EQ(grid->CellText(yColumn, grid->HeaderRows() + 1), "42");
    EXPECT_EQ(fed->YValues().Value(1), 42);
    // The navigator appends a point.
    Click(tab->ChartGridNavigator1->Button(cb::chartexport::nbInsert));
    EXPECT_EQ(s->PointCount(), 5);
    Shot(tab.get(), "series-tab-manual-grid");
    // Random and Function show no grid.
    Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsRandom);
    EXPECT_FALSE(tab->ChartGrid1->isVisible());
    EXPECT_EQ(tab->ChartGrid1->Series(), nullptr);
    Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsFunction);
    EXPECT_FALSE(tab->ChartGrid1->isVisible());
    EXPECT_NE(tab->SourceEditor(), nullptr);
}

TEST_F(SeriesTab, MarksPageWritesEachControl) {
    auto* s = Add<TBarSeries>("bar");
    auto* other = Add<TLineSeries>("line");
    Edit(s);
    Activate("Marks");
    TSeriesMarks& m = s->Marks();
    const bool wasVisible = m.Visible();
    Click(tab->CBMarksVisible);
    EXPECT_EQ(m.Visible(), !wasVisible);
    Click(tab->CBMarkClip);
    EXPECT_TRUE(m.Clip());
    Click(tab->RGMarkStyle[2]);
    EXPECT_EQ(m.Style(), smsLabel);
    EXPECT_FALSE(tab->CBMultiLine->isEnabled());
    Click(tab->RGMarkStyle[4]);
    EXPECT_EQ(m.Style(), smsLabelValue);
    ASSERT_TRUE(tab->CBMultiLine->isEnabled());
    Click(tab->CBMultiLine);
    EXPECT_TRUE(m.MultiLine());
    StepUp(tab->SEMarksAngle);
    EXPECT_EQ(m.Angle(), 5);
    StepUp(tab->EMarksEvery);
    EXPECT_EQ(m.DrawEvery(), 2);
    // All series' marks at once, and the box of this one follows.
    if (!tab->CBAllVisible->isChecked()) Click(tab->CBAllVisible);
    EXPECT_TRUE(m.Visible());
    EXPECT_TRUE(other->Marks().Visible());
    Click(tab->CBAllVisible);
    EXPECT_FALSE(other->Marks().Visible());
    EXPECT_FALSE(tab->CBMarksVisible->isChecked());

    tab->PageControlMarks->setCurrentIndex(1);
    Type(tab->SEArrowLength, "20");
    EXPECT_EQ(m.Callout().Length(), 20);
    Type(tab->EArrowDist, "6");
    EXPECT_EQ(m.Callout().Distance(), 6);
    Choose(tab->CBHead, 2);
    EXPECT_EQ(m.Callout().ArrowHead(), ahSolid);
    Type(tab->Edit1, "11");
    EXPECT_EQ(m.Callout().ArrowHeadSize(), 11);
    bool pointer = false;
    cbtest::OnNextModal([&](QWidget* w) {
        pointer = dynamic_cast<TSeriesPointerEditor*>(w) != nullptr;
        QTest::keyClick(w, Qt::Key_Escape);
    });
    Click(tab->BCalloutPointer);
    EXPECT_TRUE(pointer);
    // The marks' box pages follow "Symbol"; the symbol's box has "Visible".
    EXPECT_GT(tab->PageControlMarks->count(), 3);
    ASSERT_NE(tab->CBSymbolVisible, nullptr);
    const bool symbolVisible = m.Symbol().Visible();
    tab->PageControlMarks->setCurrentIndex(2);
    Click(tab->CBSymbolVisible);
    EXPECT_EQ(m.Symbol().Visible(), !symbolVisible);
    Shot(tab.get(), "series-tab-marks-arrows");
}

TEST_F(SeriesTab, DataSourceStylesRandomSamplesAndManualPoints) {
    auto* s = Add<TLineSeries>("line");
    s->SetManualData(true);  // typed by hand
    Edit(s);
    Activate("Data Source");
    EXPECT_EQ(tab->CBDataSourcestyle->currentIndex(), TFormPlotSeries::dsManual);
    EXPECT_FALSE(tab->Panel4->isVisible());
    Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsRandom);
    ASSERT_TRUE(tab->Panel4->isVisible());
    EXPECT_EQ(tab->Panel4->ESamples->text().toInt(), s->DefaultSampleCount());
    EXPECT_TRUE(tab->Panel4->CBSamplesDefault->isChecked());
    Type(tab->Panel4->ESamples, "7");
    Click(tab->Panel4->BApplyRandom);
    EXPECT_EQ(s->PointCount(), 7);
    EXPECT_FALSE(s->ManualData());
    // Shown again later as random.
    Activate("General");
    Activate("Data Source");
    EXPECT_EQ(tab->CBDataSourcestyle->currentIndex(), TFormPlotSeries::dsRandom);
    Shot(tab.get(), "series-tab-random");
    // Back to points by hand: the series keeps them and owns them.
    Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsManual);
    EXPECT_TRUE(s->ManualData());
    EXPECT_EQ(s->PointCount(), 7);
}

TEST_F(SeriesTab, ManualDropsTheFunctionAndSourcesThatFedTheSeries) {
    auto* source = Add<TLineSeries>("source");
    auto* s = chart->CreateSeries<TLineSeries>();
    s->SetTitle("output");
    struct TCopy : TPlotFunction {
        std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction<TCopy>(*this); }
    };
    s->AttachFunction(std::make_unique<TCopy>());
    s->ConnectDataSource(source, true);
    Edit(s);
    Activate("Data Source");
    EXPECT_EQ(tab->CBDataSourcestyle->currentIndex(), TFormPlotSeries::dsFunction);
    Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsManual);
    EXPECT_EQ(s->Function(), nullptr);
    EXPECT_TRUE(s->DataSources().empty());
    // The source changing no longer refills the series.
    const int points = s->PointCount();
    source->AddValue(1);
    EXPECT_EQ(s->PointCount(), points);
}

TEST_F(SeriesTab, FollowsTheChartColourAndDeletion) {
    auto* a = Add<TLineSeries>("a");
    auto* b = Add<TBarSeries>("b");
    Edit(b);
    EXPECT_EQ(tab->CBSeries->count(), 2);
    // The swatch edits the series colour.
    cbtest::ChooseColorInNextDialog(0x0000FF);
    QTest::mouseClick(tab->PaintBox1, Qt::LeftButton);
    EXPECT_EQ(b->SeriesColor(), TColor(0x0000FF));
    // Deleting the edited series elsewhere empties the tab.
    delete b;
    EXPECT_EQ(tab->Series(), nullptr);
    EXPECT_FALSE(tab->PageSeries->isVisible());
    EXPECT_EQ(tab->CBSeries->findText("b"), -1);
    Edit(a);
    EXPECT_TRUE(tab->PageSeries->isVisible());
    // The chart going first leaves a tab that is freed safely.
    chart.reset();
    EXPECT_EQ(tab->Series(), nullptr);
}

TEST_F(SeriesTab, ScreenshotsOfTheFormatPages) {
    auto* line = Add<TLineSeries>("Sales");
    auto* pie = Add<TPieSeries>("Share");
    Edit(line);
    Shot(tab.get(), "series-tab-line-format");
    Activate("Point");
    Shot(tab.get(), "series-tab-line-point");
    Edit(pie);
    Activate("Circled");
    Shot(tab.get(), "series-tab-pie-circled");
}

}  // namespace
