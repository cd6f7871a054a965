// Tree mode of the chart editor: a tree of pages, series, axes, titles and
// tools replaces the tabs; selecting a node shows its page (or the part of a
// page) on the right.
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/tools/PlotCustomTool.h"
#include "charteditors/controls/ChartListBox.h"
#include "charteditors/dialog/AxisPage.h"
#include "charteditors/dialog/ChartEditForm.h"
#include "charteditors/dialog/TitlePage.h"
#include "charteditors/dialog/ToolsPage.h"

#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

QTreeWidgetItem* Node(QTreeWidgetItem* parent, QTreeWidget* tree, const QString& text, int kind, void* object) {
    auto* n = parent ? new QTreeWidgetItem(parent, {text}) : new QTreeWidgetItem(tree, {text});
    n->setData(0, Qt::UserRole, kind);
    n->setData(0, Qt::UserRole + 1, QVariant::fromValue(object));
    return n;
}

void* ObjectOf(const QTreeWidgetItem* node) {
    return node ? node->data(0, Qt::UserRole + 1).value<void*>() : nullptr;
}

QString TabText(QTabWidget* tabs, QWidget* page) {
    return tabs->tabText(tabs->indexOf(page)).remove('&');
}

}  // namespace

bool TChartEditForm::TreeMode() const {
    return !Tree->isHidden();
}

void TChartEditForm::BuildTree() {
    TCustomChart* c = FChart;
    if (!c) return;
    Tree->show();
    if (!FWidthBeforeTree) {
        FWidthBeforeTree = width();
        resize(Tree->width() + FWidthBeforeTree + TreeSplitter->handleWidth(), height());
    }
    MainPage->tabBar()->hide();
    FInTree = true;
    Tree->clear();
    FSeriesNode = Node(nullptr, Tree, TabText(SubPage, TabSeriesList), nkSubPage, TabSeriesList);
    RebuildSeriesNodes();
    auto* chartNode = Node(nullptr, Tree, TabText(MainPage, TabChart), nkChart, SubPage);
    for (int i = 1; i < SubPage->count(); ++i) {
        if (!SubPage->isTabVisible(i)) continue;
        QWidget* page = SubPage->widget(i);
        QTreeWidgetItem* n = Node(chartNode, Tree, TabText(SubPage, page), nkSubPage, page);
        if (page == TabAxis) {
            const TPlotText names[6] = {TPlotText::txtLeftAxis,  TPlotText::txtRightAxis,      TPlotText::txtTopAxis,
                                        TPlotText::txtBottomAxis, TPlotText::txtDepthRightAxis, TPlotText::txtDepthTopAxis};
            TChartAxis* axes[6] = {&c->LeftAxis(),  &c->RightAxis(), &c->TopAxis(),
                                   &c->BottomAxis(), &c->DepthAxis(), &c->DepthTopAxis()};
            for (int a = 0; a < 6; ++a) Node(n, Tree, QString::fromStdString(PlotText(names[a])), nkAxis, axes[a]);
            for (int a = 0; a < c->CustomAxes().Count(); ++a)
                Node(n, Tree, QString::fromStdString(PlotText(TPlotText::txtCustom)) + QString::number(a), nkAxis,
                     c->CustomAxes().AxisAt(a));
        } else if (page == TabTitle) {
            Node(n, Tree, "Title", nkTitle, static_cast<TChartTitle*>(&c->Title()));
            Node(n, Tree, "SubTitle", nkTitle, static_cast<TChartTitle*>(&c->SubTitle()));
            Node(n, Tree, QString::fromStdString(PlotText(TPlotText::txtFooter)), nkTitle,
                 static_cast<TChartTitle*>(&c->Foot()));
            Node(n, Tree, "SubFoot", nkTitle, static_cast<TChartTitle*>(&c->SubFoot()));
        }
    }
    FToolsNode = nullptr;
    for (QWidget* page : {TabData, TabTools, TabExport, TabPrint}) {
        if (!TabVisible(MainPage, page)) continue;
        QTreeWidgetItem* n = Node(nullptr, Tree, TabText(MainPage, page), nkMainPage, page);
        if (page == TabTools) {
            FToolsNode = n;
            for (TPlotCustomTool* t : c->Tools().Items())
                if (!t->Internal()) Node(n, Tree, QString::fromStdString(ToolDescription(*t)), nkTool, t);
        }
    }
    FSeriesNode->setExpanded(c->NumberOfSeries() < 11);
    chartNode->setExpanded(true);
    FInTree = false;
    Tree->setCurrentItem(FSeriesNode);
    TreeNodeChanged(FSeriesNode);
    Tree->setFocus();
}

void TChartEditForm::RebuildSeriesNodes() {
    if (!FSeriesNode) return;
    const bool was = FInTree;
    FInTree = true;
    qDeleteAll(FSeriesNode->takeChildren());
    for (int i = 0; i < LBSeries->count(); ++i)
        Node(FSeriesNode, Tree, LBSeries->item(i)->text(), nkSeries, LBSeries->SeriesAtRow(i));
    FInTree = was;
}

QTreeWidgetItem* TChartEditForm::FindNode(const QString& text) const {
    const QList<QTreeWidgetItem*> found = Tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

void TChartEditForm::TreeFollows(QWidget* page) {
    if (!TreeMode() || FInTree || !page) return;
    QTreeWidgetItemIterator it(Tree);
    for (; *it; ++it)
        if (ObjectOf(*it) == page) {
            if (Tree->currentItem() != *it) {
                FInTree = true;
                Tree->setCurrentItem(*it);
                FInTree = false;
            }
            return;
        }
}

void TChartEditForm::TreeNodeChanged(QTreeWidgetItem* node) {
    if (FInTree || !node || !ObjectOf(node)) return;
    FInTree = true;
    struct TDone {
        bool& Flag;
        ~TDone() { Flag = false; }
    } done{FInTree};
    void* object = ObjectOf(node);
    const int kind = node->data(0, Qt::UserRole).toInt();
    // The chart page shows its own tabs only for the Chart node.
    SubPage->tabBar()->setVisible(kind == nkChart);
    if (!HiddenPages.count(cetSeriesList)) SubPage->setTabVisible(SubPage->indexOf(TabSeriesList), kind != nkChart);
    auto showSub = [this](QWidget* page) {
        MainPage->setCurrentWidget(TabChart);
        SubPage->setCurrentWidget(page);
        SubPageChanged(false);
    };
    switch (kind) {
        case nkMainPage:
            MainPage->setCurrentWidget(static_cast<QWidget*>(object));
            MainPageChanged(false);
            break;
        case nkSubPage:
            showSub(static_cast<QWidget*>(object));
            if (object == TabSeriesList && LBSeries->isVisible()) LBSeries->setFocus();
            break;
        case nkChart:
            MainPage->setCurrentWidget(TabChart);
            if (SubPage->currentWidget() == TabSeriesList) SubPage->setCurrentWidget(TabGeneral);
            SubPageChanged(false);
            break;
        case nkSeries:
            LBSeries->SelectSeries(static_cast<TChartSeries*>(object));
            MainPage->setCurrentWidget(TabSeries);
            MainPageChanged(false);
            break;
        case nkTool:
            MainPage->setCurrentWidget(TabTools);
            ShowToolsPage();
            FTools->SelectTool(static_cast<TPlotCustomTool*>(object));
            break;
        case nkAxis:
            showSub(TabAxis);
            if (auto* page = dynamic_cast<TFormPlotAxis*>(PageEditor(cetAxis)))
                page->SetAxis(static_cast<TChartAxis*>(object));
            break;
        case nkTitle:
            showSub(TabTitle);
            if (auto* page = dynamic_cast<TFormPlotTitle*>(PageEditor(cetTitles)))
                page->SelectTitle(static_cast<TChartTitle*>(object));
            break;
        default: break;
    }
}

}  // namespace cb::charteditors
