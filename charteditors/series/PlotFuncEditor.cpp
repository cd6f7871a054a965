#include "charteditors/series/PlotFuncEditor.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/SeriesTypes.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/format/SelectListForm.h"
#include "charteditors/series/FunctionEditor.h"
#include "platform/rtl/ScopeGuard.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <typeinfo>
#include <vector>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

TChartSeries* SeriesOf(const QVariant& v) {
    return static_cast<TChartSeries*>(v.value<void*>());
}
QVariant ValueOf(TChartSeries* s) {
    return QVariant::fromValue<void*>(s);
}
const TFunctionClass* ClassOf(const QVariant& v) {
    return static_cast<const TFunctionClass*>(v.value<const void*>());
}
bool IsOfClass(const TPlotFunction* f, const TFunctionClass* c) {
    return f && c && std::type_index(typeid(*f)) == c->Type;
}

// No function of this system takes a single source or hides the choice of
// its value list.
constexpr bool TakesSingleSource = false;

}  // namespace

TPlotFuncEditor::TPlotFuncEditor(QWidget* owner) : TBaseSourceEditor(owner) {
    setObjectName("PlotFuncEditor");
    LLabel->setText("&Functions:");
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    TabSource = new QWidget;
    TabOptions = new QWidget;
    new QVBoxLayout(TabSource);
    new QVBoxLayout(TabOptions);
    PageControl1->addTab(TabSource, "Source Series");
    PageControl1->addTab(TabOptions, "Options");
    layout()->addWidget(PageControl1);

    PanSingle = new QWidget(TabSource);
    PanSingle->setObjectName("PanSingle");
    auto* single = new QHBoxLayout(PanSingle);
    single->setContentsMargins(0, 0, 0, 0);
    auto* label1 = new QLabel("&Series:", PanSingle);
    CBSingle = new QComboBox(PanSingle);
    CBSingle->setObjectName("CBSingle");
    label1->setBuddy(CBSingle);
    LValues = new QLabel("&Values:", PanSingle);
    CBValues = new QComboBox(PanSingle);
    CBValues->setObjectName("CBValues");
    CBValues->setEnabled(false);
    LValues->setBuddy(CBValues);
    BNone = new QPushButton("&None", PanSingle);
    BNone->setObjectName("BNone");
    BNone->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(label1), static_cast<QWidget*>(CBSingle), static_cast<QWidget*>(LValues),
                       static_cast<QWidget*>(CBValues), static_cast<QWidget*>(BNone)})
        single->addWidget(w);
    TabSource->layout()->addWidget(PanSingle);
    PanSingle->hide();

    FillFunctions();
    FChart.OnGone = [this] { FChart.Clear(); };
    connect(CBSources, &QComboBox::currentIndexChanged, this, [this] {
        if (!Filling()) FunctionChanged();
    });
    connect(CBSingle, &QComboBox::currentIndexChanged, this, [this] {
        if (!Filling()) SingleChanged();
    });
    connect(BNone, &QPushButton::clicked, this, [this] {
        CBSingle->setCurrentIndex(-1);
        SingleChanged();
    });
    connect(CBValues, &QComboBox::currentIndexChanged, this, [this] {
        if (!Filling()) BApply->setEnabled(true);
    });
}

TPlotFuncEditor::~TPlotFuncEditor() {
    FDestroying = true;
    Listen(nullptr);
    FOptions.reset();
}

void TPlotFuncEditor::Listen(TCustomAxisPanel* chart) {
    if (auto* old = FChart.As<TCustomAxisPanel>(); old && old != chart) old->RemoveListener(this);
    if (!chart) {
        FChart.Clear();
        return;
    }
    FChart.Set(TEditedObject::Part(chart, chart));
    chart->Listeners().Add(this);
}

void TPlotFuncEditor::FillFunctions() {
    const QSignalBlocker quiet(CBSources);
    CBSources->clear();
    std::vector<std::pair<QString, const TFunctionClass*>> items;
    for (int i = 0; i < SeriesTypes().Count(); ++i) {
        const TPlotSeriesType* t = SeriesTypes().GetItem(i);
        if (!t->FunctionClass || t->SeriesClass) continue;
        if (std::any_of(items.begin(), items.end(), [t](const auto& item) { return item.second == t->FunctionClass; }))
            continue;
        QString text = QString::fromStdString(t->DescriptionText());
        text.replace("\r\n", " ").replace('\n', ' ').replace('\r', ' ');
        items.emplace_back(text, t->FunctionClass);
    }
    items.emplace_back(QString::fromStdString(PlotText(TPlotText::txtCopy)), nullptr);
    std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [text, c] : items) CBSources->addItem(text, QVariant::fromValue<const void*>(c));
}

const TFunctionClass* TPlotFuncEditor::SelectedFunctionClass() const {
    const int i = CBSources->currentIndex();
    return i < 0 ? nullptr : ClassOf(CBSources->itemData(i));
}

void TPlotFuncEditor::FormShow() {
    TChartSeries* s = EditedSeries();
    // Shown again (its page left and come back to) with a choice not yet
    // applied: the choice stays as it is.
    if (FSelector && s && s == FLoaded && BApply->isEnabled()) return;
    FLoaded = s;
    TBaseSourceEditor::FormShow();
    PageControl1->setCurrentWidget(TabSource);
    Listen(s ? s->ParentChart() : nullptr);
    if (!FSelector) {
        FSelector = new TSelectListForm(TabSource);
        FSelector->setObjectName("Selector");
        FSelector->OnChange = [this](TSelectListForm*) { BApply->setEnabled(true); };
        TabSource->layout()->addWidget(FSelector);
    }
    if (!s) return;
    FillLists();
    // The series' function, or "Copy".
    int index = -1;
    for (int i = 0; i < CBSources->count(); ++i) {
        const TFunctionClass* c = ClassOf(CBSources->itemData(i));
        if (s->Function() ? IsOfClass(s->Function(), c) : c == nullptr) index = i;
    }
    {
        const QSignalBlocker quiet(CBSources);
        CBSources->setCurrentIndex(index);
    }
    FunctionChanged();
    BApply->setEnabled(!s->Function() && s->DataSources().empty());
    FSelector->EnableButtons();
}

void TPlotFuncEditor::FillLists(const TChartSeries* going) {
    TChartSeries* s = EditedSeries();
    if (!FSelector || !s) return;
    const QSignalBlocker quiet(CBSingle);
    CBSingle->clear();
    FSelector->FromList->clear();
    FSelector->ToList->clear();
    const std::vector<TChartSeries*>& sources = s->DataSources();
    if (TCustomAxisPanel* chart = s->ParentChart())
        for (TChartSeries* other : chart->SeriesList().Items()) {
            if (other == s || other == going || !s->FunctionAcceptsSource(other)) continue;
            const QString title = QString::fromStdString(GetSeriesDisplayTitle(*other));
            CBSingle->addItem(title, ValueOf(other));
            if (std::find(sources.begin(), sources.end(), other) == sources.end()) {
                auto* item = new QListWidgetItem(title, FSelector->FromList);
                item->setData(Qt::UserRole, ValueOf(other));
            }
        }
    for (TChartSeries* source : sources) {
        if (source == going) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(GetSeriesDisplayTitle(*source)), FSelector->ToList);
        item->setData(Qt::UserRole, ValueOf(source));
    }
    if (PanSingle->isVisibleTo(this)) {
        const int i = CBSingle->findData(ValueOf(s->DataSource()));
        if (i != CBSingle->currentIndex()) {
            CBSingle->setCurrentIndex(i);
            SingleChanged();
        }
        const int v = CBValues->findText(QString::fromStdString(s->MandatoryList().ValueSource()));
        CBValues->setCurrentIndex(v >= 0 ? v : (CBValues->count() ? 0 : -1));
    }
    FSelector->EnableButtons();
}

void TPlotFuncEditor::SingleChanged() {
    BApply->setEnabled(true);
    const QSignalBlocker quiet(CBValues);
    CBValues->clear();
    const int i = CBSingle->currentIndex();
    TChartSeries* source = i < 0 ? nullptr : SeriesOf(CBSingle->itemData(i));
    CBValues->setEnabled(source != nullptr);
    BNone->setEnabled(source != nullptr);
    if (!source) return;
    // The X list is not offered.
    for (int v = 1; v < source->ValueLists().Count(); ++v)
        CBValues->addItem(QString::fromStdString(source->ValueLists()[v]->Name()));
    CBValues->setCurrentIndex(CBValues->count() ? 0 : -1);
}

TPlotFunction* TPlotFuncEditor::TargetFunction() const {
    if (FPending) return FPending.get();
    TChartSeries* s = EditedSeries();
    return s ? s->Function() : nullptr;
}

void TPlotFuncEditor::FunctionChanged() {
    BApply->setEnabled(true);
    TChartSeries* s = EditedSeries();
    const TFunctionClass* f = SelectedFunctionClass();
    PageControl1->setTabVisible(PageControl1->indexOf(TabOptions), f != nullptr);
    if (!f || !s) {
        // "Copy": the sources' points as they are.
        FPending.reset();
        ReplaceOptionsEditor(nullptr);
        PageControl1->setTabVisible(PageControl1->indexOf(TabSource), true);
        PanSingle->hide();
        if (FSelector) FSelector->show();
        return;
    }
    // Another class than the series': staged here until Apply.
    if (IsOfClass(s->Function(), f))
        FPending.reset();
    else if (!IsOfClass(FPending.get(), f))
        FPending = f->Create();
    const bool needsNoSource = TargetFunction()->NeedsNoSource();
    PanSingle->setVisible(!needsNoSource && TakesSingleSource);
    if (FSelector) FSelector->setVisible(!PanSingle->isVisibleTo(this));
    ReplaceOptionsEditor(f);
    if (!FOptions) PageControl1->setTabVisible(PageControl1->indexOf(TabOptions), false);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSource), !needsNoSource);
    if (needsNoSource && FOptions) PageControl1->setCurrentWidget(TabOptions);
}

void TPlotFuncEditor::ReplaceOptionsEditor(const TFunctionClass* f) {
    TPlotFunction* target = f ? TargetFunction() : nullptr;
    // The same class keeps what was typed into its editor.
    if (FOptions && f == FOptionsClass && target && FOptions->Edited().As<TPlotFunction>() == target) return;
    FOptions.reset();
    FOptionsClass = nullptr;
    if (!target) return;
    std::unique_ptr<TEditorForm> form = CreateEditorByName(target->EditorClassName(), this);
    auto* options = dynamic_cast<TBaseFunctionEditor*>(form.get());
    if (!options) return;
    form.release();
    FOptions.reset(options);
    FOptionsClass = f;
    FOptions->OnPending = [this] { BApply->setEnabled(true); };
    TChartSeries* s = EditedSeries();
    const TEditedObject object = FPending ? TEditedObject::Unowned(target) : TEditedObject::Part(target, s);
    EmbedFormWithObject(FOptions.get(), TabOptions, object);
    TabOptions->layout()->addWidget(FOptions.get());
}

bool TPlotFuncEditor::Apply() {
    FLastError.clear();
    try {
        if (ApplyOrThrow()) return true;
    } catch (const std::exception& e) {
        FLastError = e.what();
    }
    if (OnApplyError) {
        OnApplyError(FLastError);
    } else {
        QMessageBox box(QMessageBox::Warning, windowTitle(), QString::fromStdString(FLastError), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    return false;
}

bool TPlotFuncEditor::ApplyOrThrow() {
    TChartSeries* s = EditedSeries();
    if (!s) return true;
    // The sources asked for, checked before anything changes.
    std::vector<TChartSeries*> sources;
    const bool single = PanSingle->isVisibleTo(this);
    if (single) {
        if (const int i = CBSingle->currentIndex(); i >= 0) sources.push_back(SeriesOf(CBSingle->itemData(i)));
    } else if (FSelector) {
        for (int i = 0; i < FSelector->ToList->count(); ++i)
            sources.push_back(SeriesOf(FSelector->ToList->item(i)->data(Qt::UserRole)));
    }
    for (TChartSeries* source : sources) {
        if (source == s) throw ChartException(PlotText(TPlotText::msgCircularSeries));
        s->ValidateSourceSeries(source);
        if (FPending && !FPending->AcceptsSource(source))
            throw ChartException(FormatPlotText(TPlotText::msgNoValidDataSource, {source->Name()}));
    }

    // The options, into the function they were typed for.
    if (FOptions && !FOptions->ApplyOptions(FLastError)) return false;

    {
        s->HoldUpdates();
        auto release = cb::rtl::OnScopeExit([s] { s->ReleaseUpdates(); });
        const std::vector<TChartSeries*> previousSources = s->DataSources();
        const bool copy = SelectedFunctionClass() == nullptr;
        const bool replacing = copy || FPending;
        std::unique_ptr<TPlotFunction> previousFunction;
        if (replacing) {
            previousFunction = s->DetachFunction();
            s->AttachFunction(copy ? nullptr : std::move(FPending));
        }
        try {
            ReconnectDataSources(*s, sources);
            if (single)
                s->MandatoryList().SetValueSource(sources.empty() ? std::string()
                                                                  : CBValues->currentText().toStdString());
        } catch (...) {
            // Back to what the series had.
            RestoreDataSources(*s, previousSources);
            if (replacing) {
                FPending = s->DetachFunction();
                s->AttachFunction(std::move(previousFunction));
            }
            throw;
        }
    }
    s->RequestDataRefresh();
    // The options editor now edits the series' own function.
    if (FOptions && s->Function()) FOptions->BindObject(TEditedObject::Part(s->Function(), s));
    return true;
}

void TPlotFuncEditor::HandleEvent(TPlotEvent& event) {
    auto* e = dynamic_cast<TPlotSeriesEvent*>(&event);
    if (!e || FDestroying) return;
    if (e->Code != seAdd && e->Code != seRemove && e->Code != seSwap) return;
    if (e->Series && e->Series == EditedSeries())
        BApply->setEnabled(false);
    else
        FillLists(e->Code == seRemove ? e->Series : nullptr);
}

}  // namespace cb::charteditors
