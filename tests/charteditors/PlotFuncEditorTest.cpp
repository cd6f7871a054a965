// The function source editor on the series tab's "Function" data source:
// what it opens with, a chosen function staged until "&Apply", sources moved
// with the two-list selector, the function that needs no source, and Apply
// failures that leave the series' function and sources as they were with
// nothing held.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/core/PlotTexts.h"
#include "chart/functions/AverageFunction.h"
#include "chart/functions/CustomFunction.h"
#include "chart/functions/HighLowFunctions.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/format/SelectListForm.h"
#include "charteditors/series/FunctionEditor.h"
#include "charteditors/series/PlotFuncEditor.h"
#include "charteditors/series/SeriesTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

using namespace cb::chart;
using namespace cb::charteditors;
using cbtest::Choose;
using cbtest::Click;
using cbtest::Type;

namespace {

struct PlotFuncEditor : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    std::unique_ptr<TFormPlotSeries> tab;
    TLineSeries* a = nullptr;
    TLineSeries* b = nullptr;
    TLineSeries* output = nullptr;
    std::vector<std::string> errors;

    void SetUp() override {
        RegisterStandardSeriesTypes();
        RegisterStandardFunctionTypes();
        RegisterStandardEditors();
        chart->resize(400, 300);
        a = Add("a", {1, 2, 3, 4});
        b = Add("b", {10, 20, 30, 40});
        output = Add("output", {});
        tab = std::make_unique<TFormPlotSeries>();
        tab->resize(520, 560);
        tab->show();
    }
    void TearDown() override { tab.reset(); }
    TLineSeries* Add(const char* title, std::initializer_list<double> values) {
        auto* s = chart->CreateSeries<TLineSeries>();
        s->SetTitle(title);
        for (double v : values) s->AddValue(v);
        return s;
    }
    // The series' "Data Source" page on "Function".
    TPlotFuncEditor* Open(TChartSeries* s) {
        tab->SetSeries(s);
        tab->SelectSeries();
        for (int i = 0; i < tab->PageSeries->count(); ++i)
            if (tab->PageSeries->tabText(i) == "Data Source") tab->PageSeries->setCurrentIndex(i);
        if (tab->CBDataSourcestyle->currentIndex() != TFormPlotSeries::dsFunction)
            Choose(tab->CBDataSourcestyle, TFormPlotSeries::dsFunction);
        auto* e = dynamic_cast<TPlotFuncEditor*>(tab->SourceEditor());
        EXPECT_NE(e, nullptr);
        if (e) e->OnApplyError = [this](const std::string& m) { errors.push_back(m); };
        return e;
    }
    static void ChooseFunction(TPlotFuncEditor* e, TPlotText description) {
        const int i = e->CBSources->findText(QString::fromStdString(PlotText(description)));
        ASSERT_GE(i, 0) << PlotText(description);
        Choose(e->CBSources, i);
    }
    // Moves the named series from the available list to the selected one.
    static void Select(TPlotFuncEditor* e, const char* title) {
        QListWidget* from = e->Selector()->FromList;
        const auto found = from->findItems(title, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << title;
        from->clearSelection();
        found.front()->setSelected(true);
        Click(e->Selector()->BRightOne);
    }
    static QStringList Items(const QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
    static bool OptionsShown(const TPlotFuncEditor* e) {
        return e->PageControl1->isTabVisible(e->PageControl1->indexOf(e->TabOptions));
    }
};

TEST_F(PlotFuncEditor, ASeriesWithoutSourcesOpensOnCopyWithApplyOn) {
    TPlotFuncEditor* e = Open(output);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->CBSources->currentText().toStdString(), PlotText(TPlotText::txtCopy));
    EXPECT_TRUE(e->BApply->isEnabled());
    EXPECT_FALSE(OptionsShown(e));
    EXPECT_EQ(Items(e->Selector()->FromList), QStringList({"a", "b"}));
    EXPECT_TRUE(Items(e->Selector()->ToList).isEmpty());
    // The function list: "Copy" and each registered function, sorted.
    QStringList functions;
    for (int i = 0; i < e->CBSources->count(); ++i) functions << e->CBSources->itemText(i);
    QStringList sorted = functions;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(functions, sorted);
    EXPECT_EQ(functions.size(), 11);
    Click(e->BApply);
    EXPECT_TRUE(output->DataSources().empty());
    EXPECT_EQ(output->Function(), nullptr);
    EXPECT_FALSE(e->BApply->isEnabled());
    EXPECT_TRUE(errors.empty());
}

TEST_F(PlotFuncEditor, AChosenFunctionWaitsForApply) {
    TPlotFuncEditor* e = Open(output);
    ChooseFunction(e, TPlotText::txtFunctionAverage);
    EXPECT_EQ(output->Function(), nullptr);  // staged, not on the series yet
    ASSERT_TRUE(OptionsShown(e));
    auto* options = dynamic_cast<TAverageFuncEditor*>(e->OptionsEditor());
    ASSERT_NE(options, nullptr);
    Select(e, "a");
    EXPECT_TRUE(e->BApply->isEnabled());
    e->PageControl1->setCurrentWidget(e->TabOptions);
    Choose(options->CBStyle, 1);
    Type(options->ENum, "2");
    // Loaded ticked (the function's default), the click unticks it.
    ASSERT_TRUE(options->CBNulls->isChecked());
    Click(options->CBNulls);
    cbtest::Screenshot(tab.get(), "function-source-options");
    EXPECT_EQ(output->PointCount(), 0);
    Click(e->BApply);
    ASSERT_TRUE(errors.empty()) << errors.front();
    auto* f = dynamic_cast<TAveragePlotFunction*>(output->Function());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Period(), 2);
    EXPECT_FALSE(f->IncludeNulls());
    EXPECT_EQ(output->DataSources(), std::vector<TChartSeries*>({a}));
    // The averages of 1, 2 and of 3, 4.
    ASSERT_EQ(output->PointCount(), 2);
    EXPECT_EQ(output->YValues().Value(0), 1.5);
    EXPECT_EQ(output->YValues().Value(1), 3.5);
    EXPECT_FALSE(e->BApply->isEnabled());
    EXPECT_FALSE(f->Updating());
    EXPECT_FALSE(output->UpdatesHeld());

    // Opened again: the series' function and source, nothing pending.
    tab->SetSeries(a);
    tab->SelectSeries();
    e = Open(output);
    EXPECT_EQ(e->CBSources->currentText().toStdString(), PlotText(TPlotText::txtFunctionAverage));
    EXPECT_EQ(Items(e->Selector()->ToList), QStringList({"a"}));
    EXPECT_FALSE(e->BApply->isEnabled());
    // The source changing refills the output.
    a->AddValue(5);
    a->AddValue(7);
    EXPECT_EQ(output->PointCount(), 3);
}

TEST_F(PlotFuncEditor, FailedApplyKeepsFunctionAndSourcesAndHoldsNothing) {
    output->AttachFunction(std::make_unique<TAveragePlotFunction>());
    output->ConnectDataSource(a, true);
    // fed is computed from the output: it cannot feed the output.
    TLineSeries* fed = Add("fed", {});
    fed->AttachFunction(std::make_unique<TAveragePlotFunction>());
    fed->ConnectDataSource(output, true);
    TPlotFunction* average = output->Function();

    TPlotFuncEditor* e = Open(output);
    ChooseFunction(e, TPlotText::txtFunctionHigh);
    Select(e, "fed");
    Click(e->BApply);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], PlotText(TPlotText::msgCircularSeries));
    EXPECT_EQ(output->Function(), average);
    EXPECT_EQ(output->DataSources(), std::vector<TChartSeries*>({a}));
    EXPECT_TRUE(e->BApply->isEnabled());
    EXPECT_FALSE(output->UpdatesHeld());
    EXPECT_FALSE(average->Updating());

    // A negative period: the function refuses it, nothing else changes.
    ChooseFunction(e, TPlotText::txtFunctionAverage);
    e->Selector()->ToList->clearSelection();
    for (int i = 0; i < e->Selector()->ToList->count(); ++i)
        if (e->Selector()->ToList->item(i)->text() == "fed") e->Selector()->ToList->item(i)->setSelected(true);
    Click(e->Selector()->BLeftOne);
    auto* options = dynamic_cast<TPlotFunctionEditor*>(e->OptionsEditor());
    ASSERT_NE(options, nullptr);
    e->PageControl1->setCurrentWidget(e->TabOptions);
    Choose(options->CBStyle, 2);
    Type(options->ENum, "-1");
    Click(e->BApply);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(output->Function(), average);
    EXPECT_EQ(average->Period(), 0);
    EXPECT_FALSE(average->Updating());
    EXPECT_FALSE(output->UpdatesHeld());
    EXPECT_TRUE(e->BApply->isEnabled());
}

TEST_F(PlotFuncEditor, TheFunctionWithoutSourceShowsOnlyItsOptions) {
    TPlotFuncEditor* e = Open(output);
    ChooseFunction(e, TPlotText::txtFunctionCustom);
    EXPECT_FALSE(e->PageControl1->isTabVisible(e->PageControl1->indexOf(e->TabSource)));
    EXPECT_EQ(e->PageControl1->currentWidget(), e->TabOptions);
    auto* options = dynamic_cast<TCustomFunctionEditor*>(e->OptionsEditor());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->EStart->text(), "0");
    EXPECT_EQ(options->EStep->text(), "1");
    EXPECT_EQ(options->ENum->text(), "100");
    Type(options->EStart, "1");
    Type(options->EStep, "0.5");
    Type(options->ENum, "25");
    Click(e->BApply);
    ASSERT_TRUE(errors.empty()) << errors.front();
    auto* f = dynamic_cast<TCustomPlotFunction*>(output->Function());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->StartX(), 1);
    EXPECT_EQ(f->Period(), 0.5);
    EXPECT_EQ(f->NumPoints(), 25);
    EXPECT_TRUE(output->DataSources().empty());
    // Without a handler the function adds nothing; with one, its points.
    EXPECT_EQ(output->PointCount(), 0);
    f->OnCalculate = [](TCustomPlotFunction*, double x, double& y) { y = 2 * x; };
    output->RequestDataRefresh();
    ASSERT_EQ(output->PointCount(), 25);
    EXPECT_EQ(output->XValues().Value(24), 13);
    EXPECT_EQ(output->YValues().Value(24), 26);
}

TEST_F(PlotFuncEditor, FollowsSeriesAddedAndRemovedElsewhere) {
    TPlotFuncEditor* e = Open(output);
    ChooseFunction(e, TPlotText::txtFunctionAverage);
    // A series made elsewhere joins the chart with its title.
    auto c = std::make_unique<TLineSeries>();
    c->SetTitle("c");
    chart->AdoptSeries(std::move(c));
    EXPECT_EQ(Items(e->Selector()->FromList), QStringList({"a", "b", "c"}));
    // The list never holds a series that is going.
    delete b;
    b = nullptr;
    EXPECT_EQ(Items(e->Selector()->FromList), QStringList({"a", "c"}));
    // The edited series going leaves nothing to apply: no question asked.
    Select(e, "a");
    ASSERT_TRUE(e->BApply->isEnabled());
    delete output;
    output = nullptr;
    EXPECT_EQ(tab->SourceEditor(), nullptr);
}

TEST_F(PlotFuncEditor, LeavingWithChangesAsksFirst) {
    TPlotFuncEditor* e = Open(output);
    ChooseFunction(e, TPlotText::txtFunctionAverage);
    Select(e, "b");
    // Cancel keeps the page and the choice.
    cbtest::OnNextModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Apply Changes ?");
        box->button(QMessageBox::Cancel)->click();
    });
    tab->PageSeries->setCurrentIndex(tab->PageSeries->indexOf(tab->TabGeneral));
    EXPECT_EQ(tab->PageSeries->currentWidget(), tab->TabDataSource);
    EXPECT_EQ(tab->SourceEditor(), e);
    EXPECT_EQ(e->CBSources->currentText().toStdString(), PlotText(TPlotText::txtFunctionAverage));
    EXPECT_EQ(Items(e->Selector()->ToList), QStringList({"b"}));
    EXPECT_TRUE(e->BApply->isEnabled());
    // Yes applies, then leaves.
    cbtest::OnNextModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::Yes)->click();
    });
    tab->PageSeries->setCurrentIndex(tab->PageSeries->indexOf(tab->TabGeneral));
    EXPECT_EQ(tab->PageSeries->currentWidget(), tab->TabGeneral);
    EXPECT_NE(dynamic_cast<TAveragePlotFunction*>(output->Function()), nullptr);
    EXPECT_EQ(output->DataSources(), std::vector<TChartSeries*>({b}));
}

}  // namespace
