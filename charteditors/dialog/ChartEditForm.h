#pragma once
// The chart editor: one dialog in which every part of a chart is edited.
// Its main tabs are Chart, Series, Data, Tools, Export and Print; the Chart
// tab holds the sub-pages Series (the list of the chart's series), General,
// Axis, Titles, Legend, Panel, Paging, Walls and 3D. Each page is filled the
// first time it shows with an editor form embedded borderless; pages whose
// editor nobody registered stay empty. The dialog can remember its place and
// size, show its pages as a tree (tree mode) and list the chart's series
// groups beside the series.
#include "chart/component/CustomChart.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QCheckBox;
class QHBoxLayout;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace cb::chart {
class TChartAxis;
class TChartTitle;
class TChartWall;
class TChartSeries;
class TPlotCustomTool;
}  // namespace cb::chart

namespace cb::chartexport {
class TPlotExportForm;
}  // namespace cb::chartexport

namespace cb::charteditors {

class TChartListBox;
class TEditorForm;
class TFormPlotAxis;
class TFormPlotTitle;
class TFormPlot3D;
class TFormPlotTools;
class TFormPlotSeries;
class TChartGrid;

// Pages, for the start page and the hidden pages.
enum TChartEditorPage : int {
    cetSeriesList = 0,
    cetGeneral = 1,
    cetAxis = 2,
    cetTitles = 3,
    cetLegend = 4,
    cetPanel = 5,
    cetPaging = 6,
    cetWalls = 7,
    cet3D = 8,
    cetSeriesGeneral = 9,
    cetSeriesMarks = 10,
    cetMainSeries = 11,
    cetData = 12,
    cetExport = 13,
    cetExportNative = 14,
    cetTools = 15,
    cetPrint = 16
};

enum TChartEditorOption : unsigned {
    ceAdd = 1u << 0,
    ceDelete = 1u << 1,
    ceChange = 1u << 2,
    ceClone = 1u << 3,
    ceDataSource = 1u << 4,
    ceTitle = 1u << 5,
    ceGroups = 1u << 6,
    ceGroupAll = 1u << 7
};
constexpr unsigned DefaultEditorOptions = ceAdd | ceDelete | ceChange | ceClone | ceDataSource | ceTitle | ceGroupAll;

// The editor settings the dialog keeps its place and size in ("Left",
// "Top", "Width", "Height").
void WriteEditorSettingInteger(const std::string& name, int value);
void RemoveEditorSetting(const std::string& name);

// The unscaled default size; a size equal to it is not stored.
constexpr int EditorDefaultWidth = 414, EditorDefaultHeight = 347;

class TChartEditForm;
// Procedures called with the dialog as it shows (no page) and as a main page
// other than Series, Data, Tools, Export and Print opens (that page).
using TChartEditorPageHook = std::function<void(TChartEditForm*, QWidget* page)>;
std::vector<TChartEditorPageHook>& ChartEditorPageHooks();

class TChartEditForm : public QDialog {
public:
    explicit TChartEditForm(QWidget* owner = nullptr);
    ~TChartEditForm() override;

    // Binds the chart, enables the pages and restores the remembered place
    // and size (kept on the screen that holds it).
    void SetChart(cb::chart::TCustomChart* chart);
    cb::chart::TCustomChart* Chart() const { return FChart.data(); }

    int StartPage = -1;
    std::set<int> HiddenPages;
    unsigned Options = DefaultEditorOptions;
    cb::chart::TChartSeries* EditSeries = nullptr;
    cb::chart::TChartAxis* Axis = nullptr;
    cb::chart::TChartTitle* Title = nullptr;
    cb::chart::TChartWall* Wall = nullptr;
    cb::chart::TPlotCustomTool* Tool = nullptr;
    bool HighlightTabs = false;
    bool RememberPosition = true;
    bool RememberSize = true;
    bool PersistentBox = false;
    // The help topic the Help button and F1 ask the application's help for.
    int HelpContext = 726;

    // Opens the start page (also run on showing).
    void ShowStartPage();
    // Refreshes the series list buttons.
    void RefreshButtons();
    // The page editors made so far (none until their page showed).
    TEditorForm* PageEditor(int page) const;
    TFormPlotTools* ToolsPage() const { return FTools; }
    TFormPlotSeries* SeriesPage() const { return FSeriesForm; }
    bool TreeMode() const;

    QTabWidget* MainPage;
    QWidget *TabChart, *TabSeries, *TabData, *TabTools, *TabExport, *TabPrint;
    QTabWidget* SubPage;
    QWidget *TabSeriesList, *TabGeneral, *TabAxis, *TabTitle, *TabLegend, *TabPanel, *TabPaging, *TabWalls, *Tab3D;
    TChartListBox* LBSeries;
    QToolButton *BMoveUP, *BMoveDown;
    QPushButton *BAddSeries, *BDeleteSeries, *BRenameSeries, *BCloneSeries, *BChangeTypeSeries;
    QWidget* PanTop;
    QPushButton *BAddGroup, *BDeleteGroup, *BRenameGroup;
    QCheckBox* CBNames;
    QWidget* PanelGroups;
    QListWidget* Groups;
    QPushButton *ButtonHelp, *BClose;
    QTreeWidget* Tree;
    QSplitter* TreeSplitter;
    // The Data page's pop-up menu (made with the page, none before).
    QMenu* PopupData = nullptr;

    // --- series groups ---
    void FillGroups();
    void GroupsClicked();
    void AddGroup(const std::string& name);
    void RenameGroup(const std::string& name);
    void DeleteGroup();
    // A series dropped on an entry of the groups list.
    void DropSeriesOnGroup(cb::chart::TChartSeries* series, int entry);
    bool CanDropSeriesOnGroup(cb::chart::TChartSeries* series, int entry) const;
    int GroupOffset() const { return (Options & ceGroupAll) ? 1 : 0; }
    // Asks for a text (a series title, a group name): the box's title, its
    // prompt and the start text; False on Cancel. Tests replace it.
    std::function<bool(const QString& title, const QString& prompt, QString& text)> AskText;

    // --- tree mode ---
    // What a tree node stands for (its Qt::UserRole; the object is in
    // Qt::UserRole + 1).
    enum TNodeKind { nkMainPage = 1, nkSubPage, nkSeries, nkChart, nkAxis, nkTitle, nkTool };
    void BuildTree();
    QTreeWidgetItem* SeriesNode() const { return FSeriesNode; }
    QTreeWidgetItem* ToolsNode() const { return FToolsNode; }
    QTreeWidgetItem* FindNode(const QString& text) const;
    void RebuildSeriesNodes();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void BuildForm();
    void BuildSeriesList();
    void BuildGroups();
    void SubPageChanged(bool treeFollows = true);
    void MainPageChanged(bool treeFollows = true);
    void ShowSeriesPage();
    void ShowDataPage();
    void BuildDataPage();
    void SyncDataButtons();
    void DataPopupShowing();
    void ShowToolsPage();
    void ShowExportPage();
    void ShowPrintPage();
    void SelectFirstSeries();
    void EditSelectedSeries();
    void AddSeries();
    void DeleteSeries();
    void RenameSeries();
    void CloneSeries();
    void ChangeSeriesType();
    void NamesClicked();
    void ShowHelp();
    void SaveSettings();
    void HideTabs();
    bool TabVisible(QTabWidget* tabs, QWidget* page) const;
    void SetTabVisible(QTabWidget* tabs, QWidget* page, bool visible);
    void TreeNodeChanged(QTreeWidgetItem* node);
    void TreeFollows(QWidget* page);
    void GroupCheckChanged(QListWidgetItem* item);

    QPointer<cb::chart::TCustomChart> FChart;
    TEditorForm* FSubEditors[9] = {};
    TFormPlotSeries* FSeriesForm = nullptr;
    TChartGrid* FDataGrid = nullptr;
    QToolButton* FGridText = nullptr;
    QToolButton* FGridColors = nullptr;
    QToolButton* FGridX = nullptr;
    QToolButton* FGrid3D = nullptr;
    cb::chartexport::TPlotExportForm* FExportForm = nullptr;
    QDialog* FPreview = nullptr;
    TFormPlotTools* FTools = nullptr;
    QTreeWidgetItem* FSeriesNode = nullptr;
    QTreeWidgetItem* FToolsNode = nullptr;
    int FWidthBeforeTree = 0;
    bool FShown = false;
    bool FFillingGroups = false;
    bool FInTree = false;
    int FPreviousGroup = -1;
};

}  // namespace cb::charteditors
