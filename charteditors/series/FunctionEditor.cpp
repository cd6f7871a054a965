#include "charteditors/series/FunctionEditor.h"

#include "chart/core/PlotHelpers.h"
#include "chart/functions/AverageFunction.h"
#include "chart/functions/CustomFunction.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/PlotFunction.h"
#include "charteditors/format/AxisIncrementDialog.h"
#include "charteditors/series/SeriesEditorKit.h"
#include "platform/rtl/ScopeGuard.h"

#include <QCheckBox>
#include <QLocale>

#include <cmath>
#include <exception>
#include <stdexcept>

namespace cb::charteditors {

using namespace cb::chart;

TBaseFunctionEditor::TBaseFunctionEditor(QWidget* owner) : TEditorForm(owner) {}

TPlotFunction* TBaseFunctionEditor::Function() const {
    return Edited().As<TPlotFunction>();
}

void TBaseFunctionEditor::FormShow() {
    if (TPlotFunction* f = Function()) LoadOptions(*f);
}

void TBaseFunctionEditor::MarkPending() {
    if (!Filling() && OnPending) OnPending();
}

bool TBaseFunctionEditor::ApplyOptions(std::string& error) {
    TPlotFunction* f = Function();
    if (!f) return true;
    f->HoldRecalculation();
    auto release = cb::rtl::OnScopeExit([f] { f->ReleaseRecalculation(); });
    try {
        StoreOptions(*f);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

TPlotFunctionEditor::TPlotFunctionEditor(QWidget* owner) : TBaseFunctionEditor(owner) {
    setWindowTitle("Function");
    TEditorGrid g(this);
    CBAlign = g.Combo("CBAlign", "&Alignment:", {"First", "Center", "Last"});
    CBStyle = g.Combo("CBStyle", "&Calculate using:", {"All points", "Every number of points", "Every range"});
    ENum = g.Edit("ENum", "&Number of points:");
    BChange = g.Button("BChange", "&Change...", [this] { ChangeRange(); });
    BChange->setEnabled(false);
    connect(CBStyle, &QComboBox::currentIndexChanged, this, [this] {
        if (Filling()) return;
        StyleChanged();
        MarkPending();
    });
    connect(CBAlign, &QComboBox::currentIndexChanged, this, [this] { MarkPending(); });
    connect(ENum, &QLineEdit::textEdited, this, [this] { MarkPending(); });
}

void TPlotFunctionEditor::StyleChanged() {
    const int style = CBStyle->currentIndex();
    ENum->setEnabled(style != 0);
    BChange->setEnabled(style == 2);
    if (style == 0)
        ENum->clear();
    else if (style == 1)
        ENum->setText(QString::number(std::max(0LL, std::llround(FPeriod))));
    else
        ENum->setText(QString::number(FPeriod, 'g', 15));
    if (ENum->isEnabled() && isVisible()) ENum->setFocus();
}

void TPlotFunctionEditor::ChangeRange() {
    TPlotFunction* f = Function();
    if (!f) return;
    double period = FPeriod;
    if (!ParseDecimal(ENum->text(), period)) period = FPeriod;
    TAxisIncrement dialog(this);
    dialog.setWindowTitle("Period range");
    // Date-time steps when the series feeding the function has date-time X.
    TChartSeries* output = f->ParentSeries();
    TChartSeries* source = output ? output->DataSource() : nullptr;
    dialog.IsDateTime = source && source->XValues().DateTime();
    dialog.IsExact = true;
    dialog.Increment = period;
    dialog.Step = DateTimeStepIndex(period);
    if (dialog.exec() != QDialog::Accepted) return;
    ENum->setText(QString::number(dialog.Increment, 'g', 15));
    MarkPending();
}

void TPlotFunctionEditor::LoadOptions(TPlotFunction& f) {
    FPeriod = f.Period();
    if (f.PeriodStyle() == TFunctionPeriodStyle::psRange)
        CBStyle->setCurrentIndex(2);
    else
        CBStyle->setCurrentIndex(std::llround(f.Period()) != 0 ? 1 : 0);
    CBAlign->setCurrentIndex(int(f.PeriodAlign()));
    StyleChanged();
}

void TPlotFunctionEditor::StoreOptions(TPlotFunction& f) {
    f.SetPeriodAlign(TFunctionPeriodAlign(CBAlign->currentIndex()));
    f.SetPeriodStyle(CBStyle->currentIndex() == 2 ? TFunctionPeriodStyle::psRange : TFunctionPeriodStyle::psNumPoints);
    double period = 0;
    if (!ParseDecimal(ENum->text(), period)) period = 0;
    f.SetPeriod(period);
    FPeriod = f.Period();
}

TAverageFuncEditor::TAverageFuncEditor(QWidget* owner) : TPlotFunctionEditor(owner) {
    CBNulls = new QCheckBox("&Include Null values", this);
    CBNulls->setObjectName("CBNulls");
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) grid->addWidget(CBNulls, grid->rowCount(), 0, 1, 2);
    connect(CBNulls, &QCheckBox::toggled, this, [this] { MarkPending(); });
}

void TAverageFuncEditor::LoadOptions(TPlotFunction& f) {
    TPlotFunctionEditor::LoadOptions(f);
    if (auto* a = dynamic_cast<TAveragePlotFunction*>(&f)) CBNulls->setChecked(a->IncludeNulls());
}

void TAverageFuncEditor::StoreOptions(TPlotFunction& f) {
    TPlotFunctionEditor::StoreOptions(f);
    if (auto* a = dynamic_cast<TAveragePlotFunction*>(&f)) a->SetIncludeNulls(CBNulls->isChecked());
}

TCustomFunctionEditor::TCustomFunctionEditor(QWidget* owner) : TBaseFunctionEditor(owner) {
    setWindowTitle("Function");
    TEditorGrid g(this);
    EStart = g.Edit("EStart", "&Start X:");
    EStep = g.Edit("EStep", "S&tep:");
    ENum = g.Edit("ENum", "&Num. points:");
    EStart->setText("0");
    EStep->setText("1");
    ENum->setText("100");
    for (QLineEdit* e : {EStart, EStep, ENum}) connect(e, &QLineEdit::textEdited, this, [this] { MarkPending(); });
}

void TCustomFunctionEditor::LoadOptions(TPlotFunction& f) {
    auto* c = dynamic_cast<TCustomPlotFunction*>(&f);
    if (!c) return;
    EStart->setText(QString::number(c->StartX(), 'g', 15));
    EStep->setText(QString::number(c->Period(), 'g', 15));
    ENum->setText(QString::number(c->NumPoints()));
}

namespace {

[[noreturn]] void NotANumber(const QLineEdit* e) {
    throw std::invalid_argument("\"" + e->text().toStdString() + "\" is not a valid number");
}

}  // namespace

void TCustomFunctionEditor::StoreOptions(TPlotFunction& f) {
    auto* c = dynamic_cast<TCustomPlotFunction*>(&f);
    if (!c) return;
    double start = 0, step = 0;
    long long count = 0;
    if (!ParseDecimal(EStart->text(), start)) NotANumber(EStart);
    if (!ParseDecimal(EStep->text(), step)) NotANumber(EStep);
    if (!ParseInteger(ENum->text(), count)) NotANumber(ENum);
    if (count < 0 || count > MaxCustomPoints)
        throw std::out_of_range(QString("The number of points must be from 0 to %1, not %2.")
                                    .arg(QLocale(QLocale::English).toString(MaxCustomPoints))
                                    .arg(count)
                                    .toStdString());
    c->SetPeriod(step);
    c->SetStartX(start);
    c->SetNumPoints(int(count));
}

void RestoreDataSources(TChartSeries& series, const std::vector<TChartSeries*>& previous) {
    series.SetDataSource(nullptr);
    for (TChartSeries* s : previous) series.LinkSourceComponent(s);
}

void ReconnectDataSources(TChartSeries& series, const std::vector<TChartSeries*>& sources) {
    const std::vector<TChartSeries*> previous = series.DataSources();
    series.SetDataSource(nullptr);
    try {
        for (TChartSeries* s : sources) series.ConnectDataSource(s, false);
    } catch (...) {
        RestoreDataSources(series, previous);
        throw;
    }
}

bool ApplyDataSources(TChartSeries& series, const std::vector<TChartSeries*>& sources, std::string& error) {
    try {
        for (TChartSeries* s : sources) series.ValidateSourceSeries(s);
        series.HoldUpdates();
        auto release = cb::rtl::OnScopeExit([&series] { series.ReleaseUpdates(); });
        ReconnectDataSources(series, sources);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    series.RequestDataRefresh();
    return true;
}

}  // namespace cb::charteditors
