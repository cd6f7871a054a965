#include "charteditors/dialog/ChartEditForm.h"

#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/tools/ToolTypes.h"
#include "chartexport/dialog/PlotExportForm.h"
#include "chartexport/preview/ChartPreview.h"
#include "charteditors/common/EditorRegistry.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartListBox.h"
#include "charteditors/dialog/AxisPage.h"
#include "charteditors/dialog/PageKit.h"
#include "charteditors/dialog/TitlePage.h"
#include "charteditors/dialog/ToolsPage.h"
#include "charteditors/dialog/View3DPage.h"
#include "charteditors/gallery/SeriesGallery.h"
#include "charteditors/series/SeriesTab.h"
#include "charteditors/style/StyleHelpers.h"
#include "extras/HelpHook.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

// The registered editor of each sub-page, General to 3D.
const char* const SubPageEditors[9] = {nullptr,          "TFormPlotGeneral", "TFormPlotAxis", "TFormPlotTitle",
                                       "TFormPlotLegend", "TFormPlotPanel",   "TFormPlotPage", "TFormPlotWall",
                                       "TFormPlot3D"};

int Scaled(int v, const QWidget* w) {
    return v * w->logicalDpiX() / 96;
}

// The place of a window of size w x h near (left, top), inside the available
// area of the screen that holds that point (the primary screen when none).
QPoint KeptOnScreen(int left, int top, int w, int h) {
    QScreen* screen = QGuiApplication::screenAt(QPoint(left, top));
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {std::max(0, left), std::max(0, top)};
    const QRect area = screen->availableGeometry();
    const int x = std::max(area.left(), std::min(left, area.right() + 1 - w));
    const int y = std::max(area.top(), std::min(top, area.bottom() + 1 - h));
    return {x, y};
}

QSettings& Settings() {
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zivivu Software", "DezAvoze Pro");
    return settings;
}

}  // namespace

// The same store and keys as the engine's editor settings.
void WriteEditorSettingInteger(const std::string& name, int value) {
    Settings().setValue(QStringLiteral("Editor/") + QString::fromStdString(name), value);
    Settings().sync();
}

void RemoveEditorSetting(const std::string& name) {
    Settings().remove(QStringLiteral("Editor/") + QString::fromStdString(name));
    Settings().sync();
}

std::vector<TChartEditorPageHook>& ChartEditorPageHooks() {
    static std::vector<TChartEditorPageHook> hooks;
    return hooks;
}

TChartEditForm::TChartEditForm(QWidget* owner) : QDialog(owner) {
    setObjectName("ChartEditForm");
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    BuildForm();
    resize(Scaled(EditorDefaultWidth, this), Scaled(EditorDefaultHeight, this));
    SetChart(nullptr);
    setWindowTitle(QString());
    MainPage->setCurrentWidget(TabChart);
    SubPage->setCurrentWidget(TabSeriesList);
    RememberPosition = ReadEditorSettingBool("RememberPosition", true);
    RememberSize = ReadEditorSettingBool("RememberSize", true);
    Tree->setVisible(ReadEditorSettingBool("TreeMode", false));
    AskText = [this](const QString& title, const QString& prompt, QString& text) {
        bool ok = false;
        const QString got = QInputDialog::getText(this, title, prompt, QLineEdit::Normal, text, &ok);
        if (ok) text = got;
        return ok;
    };
}

TChartEditForm::~TChartEditForm() {
    if (FChart && (RememberPosition || RememberSize)) SaveSettings();
    // The list outlives this part of the dialog: it no longer reports here.
    LBSeries->blockSignals(true);
    LBSeries->OnRefresh = nullptr;
    LBSeries->OnRemovedSeries = nullptr;
    LBSeries->OnChangeActive = nullptr;
    LBSeries->OnDblClickSeries = nullptr;
}

void TChartEditForm::BuildForm() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    TreeSplitter = new QSplitter(Qt::Horizontal, this);
    Tree = new QTreeWidget(TreeSplitter);
    Tree->setObjectName("Tree");
    Tree->setHeaderHidden(true);
    Tree->setIndentation(19);
    Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);  // node texts are never edited
    Tree->setFixedWidth(126);
    MainPage = new QTabWidget(TreeSplitter);
    MainPage->setObjectName("MainPage");
    TreeSplitter->setChildrenCollapsible(false);
    outer->addWidget(TreeSplitter, 1);

    TabChart = NewTab(MainPage, "Chart");
    TabSeries = NewTab(MainPage, "Series");
    TabData = NewTab(MainPage, "Data");
    TabTools = NewTab(MainPage, "Tools");
    TabExport = NewTab(MainPage, "Export");
    TabPrint = NewTab(MainPage, "Print");
    for (QWidget* t : {TabSeries, TabData, TabTools, TabExport, TabPrint}) {
        auto* l = new QVBoxLayout(t);
        l->setContentsMargins(0, 0, 0, 0);
    }

    auto* chartLayout = new QVBoxLayout(TabChart);
    chartLayout->setContentsMargins(2, 2, 2, 2);
    SubPage = new QTabWidget(TabChart);
    SubPage->setObjectName("SubPage");
    chartLayout->addWidget(SubPage);
    TabSeriesList = NewTab(SubPage, "Series");
    TabGeneral = NewTab(SubPage, "General");
    TabAxis = NewTab(SubPage, "Axis");
    TabTitle = NewTab(SubPage, "Titles");
    TabLegend = NewTab(SubPage, "Legend");
    TabPanel = NewTab(SubPage, "Panel");
    TabPaging = NewTab(SubPage, "Paging");
    TabWalls = NewTab(SubPage, "Walls");
    Tab3D = NewTab(SubPage, "3D");
    for (int i = 1; i < SubPage->count(); ++i) {
        auto* l = new QVBoxLayout(SubPage->widget(i));
        l->setContentsMargins(0, 0, 0, 0);
    }
    BuildSeriesList();

    auto* bottom = new QHBoxLayout();
    ButtonHelp = new QPushButton("&Help...", this);
    ButtonHelp->setObjectName("ButtonHelp");
    BClose = new QPushButton("Close", this);
    BClose->setObjectName("BClose");
    BClose->setDefault(true);
    bottom->addWidget(ButtonHelp);
    bottom->addStretch(1);
    bottom->addWidget(BClose);
    outer->addLayout(bottom);
    connect(BClose, &QPushButton::clicked, this, &TChartEditForm::reject);
    connect(ButtonHelp, &QPushButton::clicked, this, [this] { ShowHelp(); });
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelp(); });

    connect(SubPage, &QTabWidget::currentChanged, this, [this] {
        if (!FInTree) SubPageChanged();
    });
    connect(MainPage, &QTabWidget::currentChanged, this, [this] {
        if (!FInTree) MainPageChanged();
    });
    connect(Tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) { TreeNodeChanged(node); });
}

void TChartEditForm::BuildSeriesList() {
    auto* row = new QHBoxLayout(TabSeriesList);
    row->setContentsMargins(4, 4, 4, 4);
    auto* left = new QVBoxLayout();
    PanTop = new QWidget(TabSeriesList);
    PanTop->setObjectName("PanTop");
    auto* top = new QHBoxLayout(PanTop);
    top->setContentsMargins(0, 0, 0, 0);
    BAddGroup = new QPushButton("+", PanTop);
    BDeleteGroup = new QPushButton("-", PanTop);
    BRenameGroup = new QPushButton("...", PanTop);
    for (QPushButton* b : {BAddGroup, BDeleteGroup, BRenameGroup}) {
        b->setFixedWidth(24);
        top->addWidget(b);
    }
    BAddGroup->setObjectName("BAddGroup");
    BDeleteGroup->setObjectName("BDeleteGroup");
    BRenameGroup->setObjectName("BRenameGroup");
    BDeleteGroup->setEnabled(false);
    BRenameGroup->setEnabled(false);
    CBNames = new QCheckBox("&View Series Names", PanTop);
    CBNames->setObjectName("CBNames");
    top->addWidget(CBNames);
    top->addStretch(1);
    left->addWidget(PanTop);

    auto* lists = new QSplitter(Qt::Horizontal, TabSeriesList);
    BuildGroups();
    PanelGroups->setParent(lists);
    LBSeries = new TChartListBox(lists);
    LBSeries->setObjectName("LBSeries");
    lists->addWidget(PanelGroups);
    lists->addWidget(LBSeries);
    lists->setStretchFactor(1, 1);
    left->addWidget(lists, 1);
    row->addLayout(left, 1);

    auto* buttons = new QVBoxLayout();
    auto* moves = new QHBoxLayout();
    BMoveUP = new QToolButton(TabSeriesList);
    BMoveUP->setObjectName("BMoveUP");
    BMoveUP->setArrowType(Qt::UpArrow);
    BMoveUP->setAutoRaise(true);
    BMoveDown = new QToolButton(TabSeriesList);
    BMoveDown->setObjectName("BMoveDown");
    BMoveDown->setArrowType(Qt::DownArrow);
    BMoveDown->setAutoRaise(true);
    moves->addWidget(BMoveUP);
    moves->addWidget(BMoveDown);
    buttons->addLayout(moves);
    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), TabSeriesList);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    BAddSeries = button("BAddSeries", "&Add...");
    BDeleteSeries = button("BDeleteSeries", "&Delete");
    BRenameSeries = button("BRenameSeries", "&Title...");
    BCloneSeries = button("BCloneSeries", "C&lone");
    BChangeTypeSeries = button("BChangeTypeSeries", "&Change...");
    buttons->addStretch(1);
    row->addLayout(buttons);

    LBSeries->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LBSeries->setIconSize(QSize(24, 24));
    connect(LBSeries, &QListWidget::itemSelectionChanged, this, [this] { RefreshButtons(); });
    connect(LBSeries, &QListWidget::currentRowChanged, this, [this] { RefreshButtons(); });
    LBSeries->OnDblClickSeries = [this](int) { EditSelectedSeries(); };
    LBSeries->OnRefresh = [this] { RefreshButtons(); };
    LBSeries->AskText = [this](const QString& title, const QString& prompt, QString& text) {
        return AskText(title, prompt, text);
    };
    LBSeries->OnChangeActive = [this](TChartSeries*) { FillGroups(); };
    LBSeries->OnRemovedSeries = [this](TChartSeries*) { RefreshButtons(); };
    connect(BMoveUP, &QToolButton::clicked, this, [this] {
        LBSeries->MoveUp();
        RefreshButtons();
    });
    connect(BMoveDown, &QToolButton::clicked, this, [this] {
        LBSeries->MoveDown();
        RefreshButtons();
    });
    connect(BAddSeries, &QPushButton::clicked, this, [this] { AddSeries(); });
    connect(BDeleteSeries, &QPushButton::clicked, this, [this] { DeleteSeries(); });
    connect(BRenameSeries, &QPushButton::clicked, this, [this] { RenameSeries(); });
    connect(BCloneSeries, &QPushButton::clicked, this, [this] { CloneSeries(); });
    connect(BChangeTypeSeries, &QPushButton::clicked, this, [this] { ChangeSeriesType(); });
    connect(CBNames, &QCheckBox::clicked, this, [this] { NamesClicked(); });
}

void TChartEditForm::SetChart(TCustomChart* chart) {
    FChart = chart;
    LBSeries->SetChart(chart);
    MainPage->setEnabled(chart != nullptr);
    SubPage->setEnabled(chart != nullptr);
    if (!chart || !(RememberPosition || RememberSize)) return;
    const int left = ReadEditorSettingInteger("Left", INT_MIN);
    const int top = ReadEditorSettingInteger("Top", INT_MIN);
    if (RememberSize) {
        const int w = ReadEditorSettingInteger("Width", INT_MIN);
        const int h = ReadEditorSettingInteger("Height", INT_MIN);
        resize(w == INT_MIN ? width() : std::max(100, w), h == INT_MIN ? height() : std::max(100, h));
    }
    if (RememberPosition && left != INT_MIN) {
        // A place stored on a larger or another screen is brought back onto
        // the screen that holds it, whole.
        move(KeptOnScreen(left, top == INT_MIN ? 0 : top, width(), height()));
    }
}

void TChartEditForm::SaveSettings() {
    if (RememberPosition) {
        WriteEditorSettingInteger("Left", x());
        WriteEditorSettingInteger("Top", y());
    }
    if (RememberSize) {
        const int w = FWidthBeforeTree ? FWidthBeforeTree : width();
        if (w != EditorDefaultWidth) WriteEditorSettingInteger("Width", w);
        if (height() != EditorDefaultHeight) WriteEditorSettingInteger("Height", height());
    }
}

bool TChartEditForm::TabVisible(QTabWidget* tabs, QWidget* page) const {
    return tabs->isTabVisible(tabs->indexOf(page));
}

void TChartEditForm::SetTabVisible(QTabWidget* tabs, QWidget* page, bool visible) {
    tabs->setTabVisible(tabs->indexOf(page), visible);
}

void TChartEditForm::HideTabs() {
    QWidget* const subs[9] = {TabSeriesList, TabGeneral, TabAxis, TabTitle, TabLegend,
                              TabPanel,      TabPaging,  TabWalls, Tab3D};
    for (int p : HiddenPages) {
        if (p >= 0 && p <= 8) SetTabVisible(SubPage, subs[p], false);
        if (p == cetMainSeries) SetTabVisible(MainPage, TabSeries, false);
        if (p == cetData) SetTabVisible(MainPage, TabData, false);
        if (p == cetExport) SetTabVisible(MainPage, TabExport, false);
        if (p == cetTools) SetTabVisible(MainPage, TabTools, false);
        if (p == cetPrint) SetTabVisible(MainPage, TabPrint, false);
    }
    bool anySub = false;
    for (QWidget* s : subs) anySub = anySub || TabVisible(SubPage, s);
    if (!anySub) SetTabVisible(MainPage, TabChart, false);
}

void TChartEditForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (FShown || e->spontaneous()) return;
    FShown = true;
    CBNames->setVisible(false);  // only while a chart is designed
    if (ToolTypes().Count() == 0) SetTabVisible(MainPage, TabTools, false);
    LBSeries->SetChart(FChart);
    if (windowTitle().isEmpty() && FChart)
        setWindowTitle(QString::fromStdString(PlotText(TPlotText::txtEditing))
                           .replace("%s", FChart->objectName().isEmpty() ? QString("Chart") : FChart->objectName()));
    HideTabs();
    for (const TChartEditorPageHook& hook : ChartEditorPageHooks()) hook(this, nullptr);
    if (FChart && Tree->isVisible()) BuildTree();
    if (StartPage != -1) ShowStartPage();
    const bool groups = (Options & ceGroups) != 0;
    for (QWidget* w : {static_cast<QWidget*>(BAddGroup), static_cast<QWidget*>(BDeleteGroup),
                       static_cast<QWidget*>(BRenameGroup), PanelGroups})
        w->setVisible(groups);
    if (groups) FillGroups();
    if (EditSeries && FChart) {
        LBSeries->SelectSeries(EditSeries);
        EditSelectedSeries();
    } else if (Tool && TabVisible(MainPage, TabTools)) {
        MainPage->setCurrentWidget(TabTools);
    } else if (StartPage == -1) {
        SelectFirstSeries();
    }
    if (SubPage->currentWidget() == TabSeriesList && MainPage->currentWidget() == TabChart) {
        if (LBSeries->count() == 0)
            RefreshButtons();
        else if (StartPage != cetSeriesGeneral && StartPage != cetSeriesMarks)
            SelectFirstSeries();
        else
            EditSelectedSeries();
    } else {
        RefreshButtons();
    }
}

void TChartEditForm::SelectFirstSeries() {
    if (LBSeries->count() == 0) return;
    if (LBSeries->isVisible()) LBSeries->setFocus();
    LBSeries->setCurrentRow(0);
    LBSeries->item(0)->setSelected(true);
    RefreshButtons();
}

void TChartEditForm::ShowStartPage() {
    auto activateMain = [this](QWidget* page) {
        MainPage->setCurrentWidget(page);
        MainPageChanged();
    };
    switch (StartPage) {
        case cetData: return activateMain(TabData);
        case cetExport: return activateMain(TabExport);
        case cetTools: return activateMain(TabTools);
        case cetPrint: return activateMain(TabPrint);
        default: break;
    }
    if (StartPage < 0 || StartPage > 8) return;
    int index = -1;
    for (int i = StartPage; i <= 8 && index < 0; ++i)
        if (SubPage->isTabVisible(i)) index = i;
    for (int i = StartPage; i >= 0 && index < 0; --i)
        if (SubPage->isTabVisible(i)) index = i;
    if (index >= 0) {
        StartPage = index;
        MainPage->setCurrentWidget(TabChart);
        SubPage->setCurrentIndex(index);
        SubPageChanged();
        return;
    }
    for (QWidget* page : {TabData, TabTools, TabExport, TabPrint})
        if (TabVisible(MainPage, page)) return activateMain(page);
}

TEditorForm* TChartEditForm::PageEditor(int page) const {
    if (page >= 1 && page <= 8) return FSubEditors[page];
    if (page == cetTools) return FTools;
    return nullptr;
}

void TChartEditForm::SubPageChanged(bool treeFollows) {
    const int index = SubPage->currentIndex();
    if (HighlightTabs)
        for (int i = 0; i < SubPage->count(); ++i)
            SubPage->tabBar()->setTabTextColor(i, i == index ? palette().highlight().color() : QColor());
    if (treeFollows) TreeFollows(SubPage->currentWidget());
    if (!FChart || index < 1 || index > 8) return;
    if (!FSubEditors[index]) {
        TCustomChart* c = FChart;
        TEditedObject object;
        switch (index) {
            case cetAxis: object = TEditedObject::Part(Axis ? Axis : &c->LeftAxis(), c); break;
            case cetTitles: object = TEditedObject::Part(Title ? Title : &c->Title(), c); break;
            case cetLegend: object = TEditedObject::Part(&c->Legend(), c); break;
            case cetWalls: object = TEditedObject::Part(Wall ? Wall : static_cast<TChartWall*>(&c->LeftWall()), c); break;
            default: object = TEditedObject::Part(c, c); break;
        }
        FSubEditors[index] = EmbedEditorByName(SubPageEditors[index], SubPage->widget(index), object);
        if (auto* axis = dynamic_cast<TFormPlotAxis*>(FSubEditors[index])) {
            axis->OnHorizontalChanged = [this](TChartAxis*) {
                if (FSeriesForm) FSeriesForm->RefreshAxisLists();
            };
        }
    }
    if (auto* view3D = dynamic_cast<TFormPlot3D*>(FSubEditors[index])) view3D->UpdateEnabling();
}

void TChartEditForm::MainPageChanged(bool treeFollows) {
    QWidget* page = MainPage->currentWidget();
    if (HighlightTabs)
        for (int i = 0; i < MainPage->count(); ++i)
            MainPage->tabBar()->setTabTextColor(i, MainPage->widget(i) == page ? palette().highlight().color() : QColor());
    if (treeFollows) TreeFollows(page);
    if (!FChart) return;
    if (page == TabSeries)
        ShowSeriesPage();
    else if (page == TabData)
        ShowDataPage();
    else if (page == TabTools)
        ShowToolsPage();
    else if (page == TabExport)
        ShowExportPage();
    else if (page == TabPrint)
        ShowPrintPage();
    else
        for (const TChartEditorPageHook& hook : ChartEditorPageHooks()) hook(this, page);
}

void TChartEditForm::ShowSeriesPage() {
    TChartSeries* s = LBSeries->SelectedSeries();
    if (!FSeriesForm) {
        FSeriesForm = new TFormPlotSeries(TabSeries);
        FSeriesForm->SetListBox(LBSeries);
        FSeriesForm->ShowTabDataSource = (Options & ceDataSource) != 0;
        FSeriesForm->ShowTabGeneral = !HiddenPages.count(cetSeriesGeneral);
        FSeriesForm->ShowTabMarks = !HiddenPages.count(cetSeriesMarks);
        FSeriesForm->ShowPersistentBox = PersistentBox;
        TabSeries->layout()->addWidget(FSeriesForm);
        FSeriesForm->show();
        ApplyTranslationHook(FSeriesForm);
    }
    FSeriesForm->SetSeries(s);
    FSeriesForm->SelectSeries();
}

// The chart's points as a table, with buttons for the label, colour, matrix
// and X columns and a pop-up menu for point colours and rows; set up again
// on each visit.
void TChartEditForm::BuildDataPage() {
    auto* bar = new QHBoxLayout;
    auto toggle = [&](const char* name, const char* caption) {
        auto* b = new QToolButton(TabData);
        b->setObjectName(name);
        b->setText(QString::fromUtf8(caption));
        b->setToolTip(QString::fromUtf8(caption));
        b->setCheckable(true);
        bar->addWidget(b);
        return b;
    };
    FGridText = toggle("SBGridText", "Show labels");
    FGridColors = toggle("SBGridCol", "Show colors");
    FGrid3D = toggle("SBGrid3D", "XYZ series");
    FGridX = toggle("SBGridX", "Show X values");
    bar->addStretch();
    FDataGrid = new TChartGrid(TabData);
    FDataGrid->setObjectName("ChartGrid1");
    auto* page = static_cast<QBoxLayout*>(TabData->layout());  // made with the page
    page->addLayout(bar);
    page->addWidget(FDataGrid);
    connect(FGridText, &QToolButton::toggled, this, [this](bool on) { FDataGrid->SetShowLabels(on); });
    connect(FGridColors, &QToolButton::toggled, this, [this](bool on) { FDataGrid->SetShowColors(on); });
    connect(FGrid3D, &QToolButton::toggled, this, [this](bool on) {
        FDataGrid->SetGrid3DMode(on);
        SyncDataButtons();
    });
    connect(FGridX, &QToolButton::toggled, this,
            [this](bool on) { FDataGrid->SetShowXValues(on ? cgsYes : cgsNo); });
    // Alt and the right button switch the matrix view of a first series
    // with Z values.
    FDataGrid->OnMouseDown = [this](QMouseEvent* e, bool& handled) {
        TChartSeries* first = FChart && FChart->NumberOfSeries() > 0 ? FChart->SeriesAt(0) : nullptr;
        if (e->button() != Qt::RightButton || !(e->modifiers() & Qt::AltModifier) || !first ||
            !TChartGrid::SeriesHasZValues(*first))
            return;
        FDataGrid->SetGrid3DMode(!FDataGrid->Grid3DMode());
        SyncDataButtons();
        handled = true;
    };

    PopupData = new QMenu(FDataGrid);
    PopupData->setObjectName("PopupData");
    auto item = [this](const char* name, const char* caption, auto action) {
        QAction* a = PopupData->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, action);
        return a;
    };
    item("EditColor1", "&Edit Color...", [this] { FDataGrid->EditCellColor(); });
    item("DefaultColor1", "Default &Color", [this] { FDataGrid->SetCellColor(cb::gfx::clDefault); });
    item("Makenullpoint1", "Make &null point", [this] { FDataGrid->SetCellColor(cb::gfx::clNone); });
    PopupData->addSeparator()->setObjectName("N1");
    item("Insertrow1", "&Append row", [this] { FDataGrid->AppendRow(); });
    item("Deleterow1", "&Delete row", [this] { FDataGrid->DeleteRow(); });
    PopupData->addSeparator()->setObjectName("N2");
    item("extfont1", "&Text font...", [this] {
        const QFont q = FDataGrid->font();
        cb::gfx::TFont font;
        font.SetName(q.family().toStdString());
        if (q.pointSize() > 0) font.SetSize(q.pointSize());
        cb::gfx::TFontStyles style = 0;
        if (q.bold()) style |= cb::gfx::fsBold;
        if (q.italic()) style |= cb::gfx::fsItalic;
        if (q.underline()) style |= cb::gfx::fsUnderline;
        if (q.strikeOut()) style |= cb::gfx::fsStrikeOut;
        font.SetStyle(style);
        if (!EditFont(this, font)) return;
        QFont chosen(QString::fromStdString(font.Name()));
        chosen.setPointSize(std::max(1, font.Size()));
        chosen.setBold(font.Bold());
        chosen.setItalic(font.Italic());
        chosen.setUnderline(font.Underline());
        chosen.setStrikeOut(font.StrikeOut());
        FDataGrid->setFont(chosen);
    });
    connect(PopupData, &QMenu::aboutToShow, this, [this] { DataPopupShowing(); });
    FDataGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FDataGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QGuiApplication::keyboardModifiers() & Qt::AltModifier) return;  // Alt switches the view
        PopupData->popup(FDataGrid->viewport()->mapToGlobal(at));
    });
}

// The colour items follow the current cell's point: editing its colour
// needs a point, "Default Color" one whose colour is not the default, "Make
// null point" one that is not null already.
void TChartEditForm::DataPopupShowing() {
    const auto [series, index] = FDataGrid->CellPoint(FDataGrid->Col(), FDataGrid->Row());
    const bool point = series && index >= 0;
    const cb::gfx::TColor color = point ? series->StoredPointColor(index) : cb::gfx::clDefault;
    auto show = [this](const char* name, bool on) {
        for (QAction* a : PopupData->actions())
            if (a->objectName() == name) a->setVisible(on);
    };
    show("EditColor1", point);
    show("DefaultColor1", point && color != cb::gfx::clDefault);
    show("Makenullpoint1", point && color != cb::gfx::clNone);
    show("N1", point);
}

// The buttons' states from the grid (the matrix view switches labels and
// colours off).
void TChartEditForm::SyncDataButtons() {
    TChartSeries* first = FChart && FChart->NumberOfSeries() > 0 ? FChart->SeriesAt(0) : nullptr;
    const QSignalBlocker t(FGridText), c(FGridColors), z(FGrid3D), x(FGridX);
    FGridColors->setChecked(FDataGrid->ShowColors());
    FGridText->setChecked(FDataGrid->ShowLabels());
    FGrid3D->setChecked(FDataGrid->Grid3DMode());
    FGrid3D->setEnabled(first && TChartGrid::SeriesHasZValues(*first));
}

void TChartEditForm::ShowDataPage() {
    if (!FDataGrid) BuildDataPage();
    TCustomChart* chart = FChart;
    TChartSeries* first = chart && chart->NumberOfSeries() > 0 ? chart->SeriesAt(0) : nullptr;
    FDataGrid->SetChart(chart);
    if (first) FDataGrid->SetShowColors(SeriesHasPointColors(*first));
    SyncDataButtons();
    const QSignalBlocker x(FGridX);
    FGridX->setChecked(first && SeriesNeedsXValues(*first));
    if (!TreeMode()) FDataGrid->setFocus();
}

void TChartEditForm::ShowToolsPage() {
    if (!FTools) {
        auto page = std::make_unique<TFormPlotTools>(TabTools);
        FTools = page.release();
        FTools->OnToolAdded = [this](TPlotCustomTool* tool) {
            if (!FToolsNode) return;
            auto* node = new QTreeWidgetItem(FToolsNode, {QString::fromStdString(ToolDescription(*tool))});
            node->setData(0, Qt::UserRole, int(nkTool));
            node->setData(0, Qt::UserRole + 1, QVariant::fromValue(static_cast<void*>(tool)));
        };
        FTools->OnToolDeleted = [this](TPlotCustomTool* tool) {
            if (!FToolsNode) return;
            for (int i = 0; i < FToolsNode->childCount(); ++i)
                if (FToolsNode->child(i)->data(0, Qt::UserRole + 1).value<void*>() == tool) {
                    delete FToolsNode->takeChild(i);
                    break;
                }
        };
        EmbedFormWithObject(FTools, TabTools, TEditedObject::Part(FChart.data(), FChart.data()));
        TabTools->layout()->addWidget(FTools);
    } else {
        FTools->RefreshList();
    }
    if (Tool) {
        FTools->SelectTool(Tool);
        Tool = nullptr;
    }
}

// The export dialog as a page, without its Close button; showing it again
// sets it up again for the chart.
void TChartEditForm::ShowExportPage() {
    if (!FExportForm) {
        FExportForm = new cb::chartexport::TPlotExportForm(TabExport);
        FExportForm->setWindowFlags(Qt::Widget);
        FExportForm->BClose->hide();
        TabExport->layout()->addWidget(FExportForm);
    }
    FExportForm->Panel = FChart.data();
    FExportForm->CBFileSize->setChecked(false);
    QTabWidget* pages = FExportForm->PageControl1;
    pages->setTabVisible(pages->indexOf(FExportForm->TabNative), !HiddenPages.count(cetExportNative));
    FExportForm->hide();
    FExportForm->show();
}

void TChartEditForm::ShowPrintPage() {
    if (FPreview) {
        FPreview->update();
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestore {
        ~TRestore() { QApplication::restoreOverrideCursor(); }
    } restore;
    auto* preview = new cb::chartexport::TChartPreview(TabPrint);
    preview->setWindowFlags(Qt::Widget);
    preview->GBMargins->hide();
    preview->ShowMargins->hide();
    preview->BReset->hide();
    preview->BClose->hide();
    preview->PlotPreviewPanel1->SetPanel(FChart.data());
    TabPrint->layout()->addWidget(preview);
    preview->show();
    FPreview = preview;
}

void TChartEditForm::RefreshButtons() {
    TCustomChart* chart = FChart;
    const int selected = int(LBSeries->selectedItems().size());
    const bool ok = chart && chart->NumberOfSeries() > 0 && LBSeries->isEnabled() && LBSeries->currentRow() >= 0;
    TChartSeries* s = ok ? LBSeries->SelectedSeries() : nullptr;
    const unsigned style = s ? s->Style() : 0;
    BAddSeries->setEnabled((Options & ceAdd) != 0);
    BDeleteSeries->setEnabled(s && (Options & ceDelete) && !(style & 1u) && !(style & 4u));
    BRenameSeries->setEnabled(s && selected < 2 && (Options & ceTitle));
    BChangeTypeSeries->setEnabled(s && (Options & ceChange) && !(style & 2u));
    if (!BChangeTypeSeries->isEnabled() && LBSeries->ShowSeriesIcon() && LBSeries->EnableChangeType)
        LBSeries->EnableChangeType = false;
    BCloneSeries->setEnabled(s && selected <= 1 && (Options & ceClone) && !(style & 1u) && !(style & 8u));
    if (s && selected <= 1) {
        BMoveDown->setEnabled(LBSeries->currentRow() < LBSeries->count() - 1);
        BMoveUP->setEnabled(LBSeries->currentRow() > 0);
    } else {
        BMoveDown->setEnabled(false);
        BMoveUP->setEnabled(false);
    }
    if (FSeriesNode && FSeriesNode->childCount() != LBSeries->count()) RebuildSeriesNodes();
}

void TChartEditForm::EditSelectedSeries() {
    TChartSeries* s = LBSeries->SelectedSeries();
    if (!s) return;
    if (FSeriesNode) {
        for (int i = 0; i < FSeriesNode->childCount(); ++i)
            if (FSeriesNode->child(i)->data(0, Qt::UserRole + 1).value<void*>() == s) {
                Tree->setCurrentItem(FSeriesNode->child(i));
                return;
            }
    }
    MainPage->setCurrentWidget(TabSeries);
    ShowSeriesPage();
}

void TChartEditForm::AddSeries() {
    if (!FChart) return;
    if (TChartSeries* added = LBSeries->AddSeries()) {
        if (added->Function()) {
            EditSeries = added;
            MainPage->setCurrentWidget(TabSeries);
            ShowSeriesPage();
        }
    }
    RefreshButtons();
    if (LBSeries->isVisible()) LBSeries->setFocus();
}

void TChartEditForm::DeleteSeries() {
    if (!LBSeries->DeleteSelected()) return;
    if (FSeriesForm) {
        FSeriesForm->FreeSeriesForms();
        FSeriesForm->SetSeries(LBSeries->SelectedSeries());
    }
    RefreshButtons();
}

void TChartEditForm::RenameSeries() {
    TChartSeries* s = LBSeries->SelectedSeries();
    if (!s) return;
    if (LBSeries->RenameWithDialog() && FSeriesNode)
        for (int i = 0; i < FSeriesNode->childCount(); ++i)
            if (FSeriesNode->child(i)->data(0, Qt::UserRole + 1).value<void*>() == s)
                FSeriesNode->child(i)->setText(0, LBSeries->currentItem()->text());
    LBSeries->setFocus();
}

void TChartEditForm::CloneSeries() {
    if (TChartSeries* copy = LBSeries->CloneSelected()) LBSeries->SelectSeries(copy);
    RefreshButtons();
}

void TChartEditForm::ChangeSeriesType() {
    LBSeries->ChangeTypeOfSelected();
    if (FSeriesForm) {
        FSeriesForm->FreeSeriesForms();
        FSeriesForm->SetSeries(LBSeries->SelectedSeries());
    }
    RefreshButtons();
}

void TChartEditForm::ShowHelp() {
    cb::extras::ApplicationHelpCommand(cb::extras::HELP_CONTEXT, HelpContext);
}

void TChartEditForm::NamesClicked() {
    LBSeries->SetShowNames(CBNames->isChecked());
    BRenameSeries->setText(CBNames->isChecked() ? "&Name..." : "&Title...");
    ApplyTranslationHook(BRenameSeries);
}

void TChartEditForm::closeEvent(QCloseEvent* e) {
    // The series page may keep the dialog open (pending data source changes).
    if (FSeriesForm && !FSeriesForm->CloseQuery()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void TChartEditForm::reject() {
    if (FSeriesForm && !FSeriesForm->CloseQuery()) return;
    QDialog::reject();
}

void TChartEditForm::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (FWidthBeforeTree) FWidthBeforeTree = width() - Tree->width() - TreeSplitter->handleWidth();
}

}  // namespace cb::charteditors
