#include "charteditors/gallery/SeriesGallery.h"

#include "chart/component/Chart.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesHelpers.h"
#include "charteditors/gallery/ChartGalleryPanel.h"
#include "charteditors/gallery/GalleryChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Distinct gallery pages of the registered types, in registry order.
std::vector<std::string> GalleryPages(bool functions) {
    std::vector<std::string> pages;
    TPlotSeriesTypes& registry = SeriesTypes();
    for (int i = 0; i < registry.Count(); ++i) {
        const TPlotSeriesType* t = registry.GetItem(i);
        if ((t->FunctionClass != nullptr) != functions) continue;
        if (functions && t->GallerySeriesCount < 1) continue;
        const std::string page = t->GalleryPageText();
        if (std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
    }
    return pages;
}

QHBoxLayout* ButtonRow(QCheckBox* cb3d, QCheckBox* smooth, QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addWidget(cb3d);
    row->addWidget(smooth);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace

// --- tabbed dialog ---

TPlotGallery::TPlotGallery(QWidget* owner) : QDialog(owner) {
    setWindowTitle("DezAvoze Gallery");
    resize(520, 400);
    FTabTypes = new QTabBar(this);
    FTabTypes->addTab(Q(PlotText(TPlotText::txtSeries)));
    FTabTypes->addTab(Q(PlotText(TPlotText::txtFunctions)));
    FTabPages = new QTabBar(this);
    FGallery = new TChartGalleryPanel(this);
    FGallery->setObjectName("ChartGalleryPanel1");
    FCB3D = new QCheckBox("&3D", this);
    FCB3D->setChecked(true);
    FCBSmooth = new QCheckBox("&Smooth", this);
    FBOk = new QPushButton("OK", this);
    FBOk->setDefault(true);
    FBCancel = new QPushButton("Cancel", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTabTypes);
    layout->addWidget(FTabPages);
    layout->addWidget(FGallery, 1);
    layout->addLayout(ButtonRow(FCB3D, FCBSmooth, FBOk, FBCancel));

    FGallery->OnSelectedChart = [this] { accept(); };
    connect(FBOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FBCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FTabTypes, &QTabBar::currentChanged, this, [this] {
        if (!FFilling) TypesTabChanged();
    });
    connect(FTabPages, &QTabBar::currentChanged, this, [this] {
        if (!FFilling) PagesTabChanged();
    });
    connect(FCB3D, &QCheckBox::toggled, this, [this](bool on) { FGallery->SetView3D(on); });
    connect(FCBSmooth, &QCheckBox::toggled, this, [this](bool on) {
        FGallery->SetSmooth(on);
        WriteEditorSettingBool("SmoothGallery", FGallery->Smooth());
    });
}

void TPlotGallery::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FCBSmooth->blockSignals(true);
    FCBSmooth->setChecked(FGallery->Smooth());
    FCBSmooth->blockSignals(false);
    FFilling = true;
    FTabTypes->setCurrentIndex(0);
    FFilling = false;
    TypesTabChanged();
    ApplyTranslationHook(this);
}

void TPlotGallery::TypesTabChanged() {
    FFilling = true;
    while (FTabPages->count() > 0) FTabPages->removeTab(0);
    std::vector<std::string> pages = GalleryPages(FTabTypes->currentIndex() == 1);
    const std::string standard = PlotText(TPlotText::txtGalleryStandard);
    const auto it = std::find(pages.begin(), pages.end(), standard);
    if (it != pages.end() && it != pages.begin()) std::iter_swap(pages.begin(), it);
    for (const std::string& p : pages) FTabPages->addTab(Q(p));
    FTabPages->setCurrentIndex(pages.empty() ? -1 : 0);
    FFilling = false;
    PagesTabChanged();
}

void TPlotGallery::PagesTabChanged() {
    FGallery->SetFunctionsVisible(FTabTypes->currentIndex() == 1);
    FGallery->SetView3D(FCB3D->isChecked());
    if (FTabPages->count() == 0)
        FGallery->ClearCharts();
    else
        FGallery->ShowPage(FTabPages->tabText(FTabPages->currentIndex()).toStdString());
}

void TPlotGallery::HideFunctions() {
    if (FTabTypes->count() > 1) FTabTypes->removeTab(1);
    FGallery->SetFunctionsVisible(false);
}

// --- list-style dialog ---

TPlotGalleryForm::TPlotGalleryForm(QWidget* owner) : QDialog(owner), FChart(std::make_unique<TChart>()) {
    setWindowTitle("DezAvoze Pro Gallery");
    resize(560, 400);
    FChart->hide();
    FList = new QListWidget(this);
    FList->setObjectName("ChartListBox1");
    FList->setFixedWidth(113);
    FList->setSortingEnabled(true);
    FList->setSelectionMode(QAbstractItemView::SingleSelection);
    FGallery = new TChartGalleryPanel(this);
    FGallery->setObjectName("ChartGalleryPanel1");
    FCBPage = new QComboBox(this);
    auto* label = new QLabel("&Gallery:", this);
    label->setBuddy(FCBPage);
    FCB3D = new QCheckBox("&3D", this);
    FCB3D->setChecked(true);
    FCBSmooth = new QCheckBox("&Smooth", this);
    FCBSmooth->setChecked(ReadEditorSettingBool("SmoothGallery", false));
    FBOk = new QPushButton("OK", this);
    FBOk->setDefault(true);
    FBCancel = new QPushButton("Cancel", this);

    std::vector<std::string> pages = GalleryPages(false);
    std::sort(pages.begin(), pages.end());
    FCBPage->addItem("(all)");
    for (const std::string& p : pages) FCBPage->addItem(Q(p));
    const int standard = FCBPage->findText(Q(PlotText(TPlotText::txtGalleryStandard)));
    FCBPage->setCurrentIndex(standard >= 0 ? standard : 0);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(FList);
    splitter->addWidget(FGallery);
    splitter->setStretchFactor(1, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(FCBPage);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addLayout(ButtonRow(FCB3D, FCBSmooth, FBOk, FBCancel));

    FGallery->OnSelectedChart = [this] { accept(); };
    connect(FBOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FBCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FCBPage, &QComboBox::currentIndexChanged, this, [this] {
        if (isVisible()) PageChanged();
    });
    connect(FList, &QListWidget::currentRowChanged, this, [this] { ListClicked(); });
    connect(FCB3D, &QCheckBox::toggled, this, [this](bool on) { FGallery->SetView3D(on); });
    connect(FCBSmooth, &QCheckBox::toggled, this, [this](bool on) { FGallery->SetSmooth(on); });
}

TPlotGalleryForm::~TPlotGalleryForm() = default;

void TPlotGalleryForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    PageChanged();
}

void TPlotGalleryForm::PageChanged() {
    const std::string page = FCBPage->currentIndex() <= 0 ? std::string() : FCBPage->currentText().toStdString();
    FList->blockSignals(true);
    FList->clear();
    FChart->FreeSeriesOfClass();
    TPlotSeriesTypes& registry = SeriesTypes();
    for (int i = 0; i < registry.Count(); ++i) {
        const TPlotSeriesType* t = registry.GetItem(i);
        if (t->FunctionClass || !t->SeriesClass) continue;
        if (!page.empty() && t->GalleryPageText() != page) continue;
        TChartSeries* s = CreateSeriesOfClass(*FChart, *t->SeriesClass);
        s->SetTitle(ReplaceOrRemoveChar(t->DescriptionText(), LineSeparator, ' '));
        auto* item = new QListWidgetItem(Q(s->Title()));
        item->setData(Qt::UserRole, QVariant::fromValue<quintptr>(quintptr(t->SeriesClass)));
        FList->addItem(item);
    }
    FList->blockSignals(false);
    if (FList->count() > 0 && FList->currentRow() < 0) FList->setCurrentRow(0);
    ListClicked();
}

void TPlotGalleryForm::ListClicked() {
    QListWidgetItem* item = FList->currentItem();
    if (!item) return;
    const auto* cls = reinterpret_cast<const TSeriesClass*>(item->data(Qt::UserRole).value<quintptr>());
    if (!cls || cls == FShownClass) return;
    FGallery->SetNumRows(3);
    FGallery->SetDisplaySub(false);
    FGallery->SelectChart(nullptr);
    FGallery->FillWithSubStyles(*cls);
    FGallery->RefreshFocusLook();
    FShownClass = cls;
}

void TPlotGalleryForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) return QDialog::keyPressEvent(e);
    FGallery->HandleKey(e->key(), e->modifiers());
}

// --- choosing and changing ---

bool ChooseSeriesType(QWidget* owner, TChartSeries* current, bool offerFunctions, bool checkSeries,
                      TGalleryChoice& choice, bool& view3D) {
    std::unique_ptr<QDialog> dialog;
    TChartGalleryPanel* gallery = nullptr;
    QCheckBox* cb3d = nullptr;
    if (ReadEditorSettingInteger("GalleryMode", 0) == 0) {
        auto d = std::make_unique<TPlotGallery>(owner);
        d->CB3D()->setChecked(view3D);
        d->Gallery()->SetSelectedSeries(current);
        if (!offerFunctions) d->HideFunctions();
        d->Gallery()->SetCheckSeries(checkSeries);
        gallery = d->Gallery();
        cb3d = d->CB3D();
        dialog = std::move(d);
    } else {
        auto d = std::make_unique<TPlotGalleryForm>(owner);
        d->CB3D()->setChecked(view3D);
        ApplyTranslationHook(d.get());
        gallery = d->Gallery();
        cb3d = d->CB3D();
        dialog = std::move(d);
    }
    if (dialog->exec() != QDialog::Accepted) return false;
    TGalleryChoice chosen;
    if (!gallery->GetSelection(chosen.SeriesClass, chosen.FunctionClass, chosen.SubIndex)) return false;
    choice = chosen;
    view3D = cb3d->isChecked() && gallery->SelectedChart()->View3D();
    return true;
}

TChartSeries* CreateSeriesFromGallery(QWidget* owner, TChartSeries* current, TCustomAxisPanel& chart,
                                      int& subIndex, bool checkSeries, bool offerFunctions) {
    bool view3D = chart.View3D();
    TGalleryChoice choice;
    subIndex = -1;
    if (!ChooseSeriesType(owner, current, offerFunctions, checkSeries, choice, view3D)) return nullptr;
    chart.SetView3D(view3D);
    subIndex = choice.SubIndex;
    if (current && !offerFunctions && choice.SeriesClass->IsClassOf(*current) && choice.SubIndex == -1)
        return nullptr;
    TChartSeries* created = CreateSeriesOfClass(chart, *choice.SeriesClass);
    if (choice.SubIndex != -1) created->ApplySubGalleryStyle(created, choice.SubIndex);
    return created;
}

void ChangeSeriesTypeFromGallery(QWidget* owner, TChartSeries*& series) {
    if (!series || !series->ParentChart()) return;
    int subIndex = -1;
    TChartSeries* created = CreateSeriesFromGallery(owner, series, *series->ParentChart(), subIndex, true, false);
    if (!created) return;
    ReplaceSeries(series, *created);
    series = created;
    // The replacement copied the old settings over the sub-style.
    if (subIndex > 0) created->ApplySubGalleryStyle(created, subIndex);
}

// --- hooks ---

void InstallGalleryHooks() {
    GalleryCreateSeriesHook() = [](QWidget* owner, TCustomAxisPanel* chart, TChartSeries* current) -> TChartSeries* {
        if (!chart) return nullptr;
        int subIndex = -1;
        return CreateSeriesFromGallery(owner, current, *chart, subIndex, false, true);
    };
    GalleryChangeSeriesTypeHook() = [](QWidget* owner, TChartSeries*& series) -> const TSeriesClass* {
        ChangeSeriesTypeFromGallery(owner, series);
        if (!series) return nullptr;
        if (const TPlotSeriesType* t = SeriesTypes().FindSeriesClassOf(*series)) return t->SeriesClass;
        return FindSeriesClassByName(SeriesClassName(*series));
    };
}

void ClearGalleryHooks() {
    GalleryCreateSeriesHook() = nullptr;
    GalleryChangeSeriesTypeHook() = nullptr;
}

namespace {
// Installed at start-up, cleared at shut-down.
struct TGalleryHooksInstaller {
    TGalleryHooksInstaller() { InstallGalleryHooks(); }
    ~TGalleryHooksInstaller() { ClearGalleryHooks(); }
} galleryHooksInstaller;
}  // namespace

}  // namespace cb::charteditors
