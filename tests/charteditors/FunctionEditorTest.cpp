// The period editor of series functions and applying sources: what is
// shown for each period style, storing on apply, and errors that leave
// neither recalculation nor the series' updates held.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/functions/AverageFunction.h"
#include "chart/functions/CustomFunction.h"

#include "chart/series/PlotFunction.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/format/AxisIncrementDialog.h"
#include "charteditors/series/FunctionEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

// A function that adds up its source per period.
class TSumFunction : public TPlotFunction {
public:
    std::unique_ptr<TPlotFunction> Clone() const override { return CloneFunction<TSumFunction>(*this); }
};

struct FunctionEditorTest : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TLineSeries* source = nullptr;
    TLineSeries* output = nullptr;
    TPlotFunction* function = nullptr;
    void SetUp() override {
        RegisterStandardEditors();
        source = chart->CreateSeries<TLineSeries>();
        for (double v : {1.0, 2.0, 3.0, 4.0}) source->AddValue(v);
        output = chart->CreateSeries<TLineSeries>();
        output->AttachFunction(std::make_unique<TSumFunction>());
        function = output->Function();
    }
    std::unique_ptr<TPlotFunctionEditor> Open() {
        return cbtest::OpenEditor<TPlotFunctionEditor>(function->EditorClassName(),
                                                       TEditedObject::Part(function, output));
    }
};

TEST_F(FunctionEditorTest, PeriodShownPerStyle) {
    const struct {
        TFunctionPeriodStyle style;
        double period;
        int shownStyle;
        const char* shown;
    } cases[] = {{TFunctionPeriodStyle::psNumPoints, 2.6, 1, "3"},
                 {TFunctionPeriodStyle::psRange, 2.6, 2, "2.6"},
                 {TFunctionPeriodStyle::psNumPoints, 0, 0, ""}};
    for (const auto& c : cases) {
        function->SetPeriodStyle(c.style);
        function->SetPeriod(c.period);
        auto e = Open();
        EXPECT_EQ(e->CBStyle->currentIndex(), c.shownStyle) << c.period;
        EXPECT_EQ(e->ENum->text().toStdString(), c.shown) << c.period;
        EXPECT_EQ(e->ENum->isEnabled(), c.shownStyle != 0);
    }
}

TEST_F(FunctionEditorTest, ChangesArePendingUntilApplied) {
    auto e = Open();
    int pending = 0;
    e->OnPending = [&] { ++pending; };
    e->CBStyle->setCurrentIndex(1);
    e->ENum->setFocus();
    e->ENum->selectAll();
    QTest::keyClicks(e->ENum, "4");
    e->CBAlign->setCurrentIndex(2);
    EXPECT_GE(pending, 3);
    EXPECT_EQ(function->Period(), 0);  // nothing written yet
    std::string error;
    ASSERT_TRUE(e->ApplyOptions(error)) << error;
    EXPECT_EQ(function->Period(), 4);
    EXPECT_EQ(function->PeriodAlign(), TFunctionPeriodAlign::paLast);
    EXPECT_FALSE(function->Updating());
}

TEST_F(FunctionEditorTest, ChangeOpensTheRangeDialogForRangesOnly) {
    auto e = Open();
    cbtest::Choose(e->CBStyle, 1);
    EXPECT_FALSE(e->BChange->isEnabled());
    cbtest::Choose(e->CBStyle, 2);
    ASSERT_TRUE(e->BChange->isEnabled());
    cbtest::OnNextModal([](QWidget* w) {
        auto* d = dynamic_cast<TAxisIncrement*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Period range");
        EXPECT_FALSE(d->IsDateTime);
        d->ECustom->setText("7.5");
        d->BOk->click();
    });
    cbtest::Click(e->BChange);
    EXPECT_EQ(e->ENum->text(), "7.5");
    std::string error;
    ASSERT_TRUE(e->ApplyOptions(error)) << error;
    EXPECT_EQ(function->Period(), 7.5);
}

TEST_F(FunctionEditorTest, ARefusedPeriodReleasesRecalculation) {
    function->SetPeriod(2);
    auto e = Open();
    e->CBStyle->setCurrentIndex(2);
    e->ENum->setText("-3");
    std::string error;
    EXPECT_FALSE(e->ApplyOptions(error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(function->Updating());
    EXPECT_EQ(function->Period(), 2);
    // Partial input stores 0 (all points) rather than raising.
    for (const char* partial : {"", "-", "1e"}) {
        e->ENum->setText(partial);
        EXPECT_TRUE(e->ApplyOptions(error)) << partial;
        EXPECT_EQ(function->Period(), 0) << partial;
    }
}

TEST_F(FunctionEditorTest, ACircularSourceIsRefusedWithUpdatesReleased) {
    std::string error;
    ASSERT_TRUE(ApplyDataSources(*output, {source}, error)) << error;
    ASSERT_EQ(output->DataSources().size(), 1u);
    EXPECT_FALSE(output->UpdatesHeld());
    // The source fed by the output: a cycle.
    EXPECT_FALSE(ApplyDataSources(*source, {output}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(source->UpdatesHeld());
    EXPECT_TRUE(source->DataSources().empty());
    // The series itself as its own source.
    EXPECT_FALSE(ApplyDataSources(*output, {output}, error));
    EXPECT_FALSE(output->UpdatesHeld());
    ASSERT_EQ(output->DataSources().size(), 1u);
    EXPECT_EQ(output->DataSources()[0], source);
    // No sources: none kept.
    ASSERT_TRUE(ApplyDataSources(*output, {}, error));
    EXPECT_TRUE(output->DataSources().empty());
}

// The options editor the function names, bound to the output's function.
template <class E>
std::unique_ptr<E> OpenOptions(TChartSeries* output) {
    return cbtest::OpenEditor<E>(output->Function()->EditorClassName(),
                                 TEditedObject::Part(output->Function(), output));
}

TEST(FunctionOptions, AverageEditorAddsIncludeNullsToThePeriod) {
    RegisterStandardEditors();
    TChart chart;
    auto* output = chart.CreateSeries<TLineSeries>();
    output->AttachFunction(std::make_unique<TAveragePlotFunction>());
    auto* average = static_cast<TAveragePlotFunction*>(output->Function());
    auto e = OpenOptions<TAverageFuncEditor>(output);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->CBNulls->isChecked());
    int pending = 0;
    e->OnPending = [&] { ++pending; };
    cbtest::Click(e->CBNulls);
    cbtest::Choose(e->CBStyle, 1);
    cbtest::Type(e->ENum, "3");
    EXPECT_GE(pending, 3);
    EXPECT_TRUE(average->IncludeNulls());  // nothing written before Apply
    std::string error;
    ASSERT_TRUE(e->ApplyOptions(error)) << error;
    EXPECT_FALSE(average->IncludeNulls());
    EXPECT_EQ(average->Period(), 3);
    // Shown again from the function.
    e->hide();
    e->show();
    EXPECT_FALSE(e->CBNulls->isChecked());
    EXPECT_EQ(e->ENum->text(), "3");
    cbtest::Screenshot(e.get(), "editor-function-average");
}

TEST(FunctionOptions, CustomEditorStoresStartStepAndCountOrNothing) {
    RegisterStandardEditors();
    TChart chart;
    auto* output = chart.CreateSeries<TLineSeries>();
    output->AttachFunction(std::make_unique<TCustomPlotFunction>());
    auto* custom = static_cast<TCustomPlotFunction*>(output->Function());
    custom->OnCalculate = [](TCustomPlotFunction*, double x, double& y) { y = 2 * x; };
    auto e = OpenOptions<TCustomFunctionEditor>(output);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->EStart->text(), "0");
    EXPECT_EQ(e->EStep->text(), "1");
    EXPECT_EQ(e->ENum->text(), "100");
    int pending = 0;
    e->OnPending = [&] { ++pending; };
    cbtest::Type(e->EStart, "5");
    cbtest::Type(e->EStep, "0.5");
    cbtest::Type(e->ENum, "4");
    EXPECT_GE(pending, 3);
    std::string error;
    ASSERT_TRUE(e->ApplyOptions(error)) << error;
    EXPECT_EQ(custom->StartX(), 5);
    EXPECT_EQ(custom->Period(), 0.5);
    EXPECT_EQ(custom->NumPoints(), 4);
    ASSERT_EQ(output->PointCount(), 4);
    EXPECT_EQ(output->XValues().Value(3), 6.5);
    EXPECT_EQ(output->YValues().Value(3), 13);
    cbtest::Screenshot(e.get(), "editor-function-custom");

    // A bad field stores none of the three, and the error names the text.
    const struct {
        QLineEdit* edit;
        const char* text;
        const char* named;
    } bad[] = {{e->EStart, "abc", "\"abc\""}, {e->EStep, "1e", "\"1e\""},
               {e->ENum, "2.5", "\"2.5\""},   {e->ENum, "2000000000", "2000000000"},
               {e->ENum, "-1", "-1"},         {e->EStep, "-2", ""}};  // the function's own refusal
    for (const auto& c : bad) {
        const QString before = c.edit->text();
        cbtest::Type(e->EStart, "7");
        c.edit->setText(c.text);
        error.clear();
        EXPECT_FALSE(e->ApplyOptions(error)) << c.text;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_EQ(custom->StartX(), 5) << c.text;
        EXPECT_EQ(custom->Period(), 0.5) << c.text;
        EXPECT_EQ(custom->NumPoints(), 4) << c.text;
        EXPECT_FALSE(custom->Updating()) << c.text;
        c.edit->setText(before);
        cbtest::Type(e->EStart, "5");
    }
}

}  // namespace
