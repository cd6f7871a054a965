// Series groups of the chart editor: a check list of the chart's series
// groups beside the series list. Checking a group shows or hides its series,
// clicking one lists only its series, and series dragged from the list onto
// a group join it; "-" frees the chosen group.
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeriesList.h"
#include "charteditors/common/EditorHelpers.h"
#include "charteditors/controls/ChartListBox.h"
#include "charteditors/dialog/ChartEditForm.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cb::charteditors {

using namespace cb::chart;

namespace {

// The groups list: takes series dragged from a series list box.
class TGroupsList : public QListWidget {
public:
    TGroupsList(TChartEditForm* form, QWidget* parent) : QListWidget(parent), FForm(form) {
        setAcceptDrops(true);
        setDropIndicatorShown(false);
    }

protected:
    TChartSeries* Dragged(QDropEvent* e) const {
        auto* source = dynamic_cast<TChartListBox*>(e->source());
        return source ? source->SelectedSeries() : nullptr;
    }
    void dragEnterEvent(QDragEnterEvent* e) override {
        if (dynamic_cast<TChartListBox*>(e->source()))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* e) override {
        const int entry = indexAt(e->position().toPoint()).row();
        if (FForm->CanDropSeriesOnGroup(Dragged(e), entry))
            e->acceptProposedAction();
        else
            e->ignore();
    }
    void dropEvent(QDropEvent* e) override {
        const int entry = indexAt(e->position().toPoint()).row();
        if (TChartSeries* s = Dragged(e); s && entry >= 0) FForm->DropSeriesOnGroup(s, entry);
        e->setDropAction(Qt::CopyAction);  // the series list keeps its row
        e->accept();
    }

private:
    TChartEditForm* FForm;
};

}  // namespace

void TChartEditForm::BuildGroups() {
    PanelGroups = new QWidget(TabSeriesList);
    PanelGroups->setObjectName("PanelGroups");
    auto* l = new QVBoxLayout(PanelGroups);
    l->setContentsMargins(0, 0, 0, 0);
    Groups = new TGroupsList(this, PanelGroups);
    Groups->setObjectName("Groups");
    l->addWidget(Groups);
    PanelGroups->hide();
    connect(Groups, &QListWidget::currentRowChanged, this, [this] {
        if (!FFillingGroups) GroupsClicked();
    });
    connect(Groups, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!FFillingGroups) GroupCheckChanged(item);
    });
    connect(BAddGroup, &QPushButton::clicked, this, [this] {
        QString name;
        if (AskText("Add new group", "Group name:", name)) AddGroup(name.toStdString());
    });
    connect(BRenameGroup, &QPushButton::clicked, this, [this] {
        if (!Groups->currentItem()) return;
        QString name = Groups->currentItem()->text();
        if (AskText("Change group name", "Group name:", name)) RenameGroup(name.toStdString());
    });
    connect(BDeleteGroup, &QPushButton::clicked, this, [this] { DeleteGroup(); });
}

void TChartEditForm::FillGroups() {
    if (!(Options & ceGroups) || !FChart) return;
    TChartSeriesList& list = FChart->SeriesList();
    const int remembered = std::max(0, Groups->currentRow());
    FFillingGroups = true;
    Groups->clear();
    auto add = [this](const QString& text, Qt::CheckState state) {
        auto* item = new QListWidgetItem(text, Groups);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(state);
    };
    if (Options & ceGroupAll)
        add(QString::fromStdString(PlotText(TPlotText::txtAll)), list.EverySeriesActive() ? Qt::Checked : Qt::Unchecked);
    for (int g = 0; g < list.GroupCount(); ++g) {
        const TSeriesGroupActive a = list.GroupAt(g)->Active();
        add(QString::fromStdString(list.GroupAt(g)->Name),
            a == gaYes ? Qt::Checked : a == gaNo ? Qt::Unchecked : Qt::PartiallyChecked);
    }
    if (Groups->count() > 0) Groups->setCurrentRow(std::min(remembered, Groups->count() - 1));
    FFillingGroups = false;
    GroupsClicked();
}

void TChartEditForm::GroupsClicked() {
    const int entry = Groups->currentRow();
    const bool isGroup = FChart && entry >= GroupOffset() && entry - GroupOffset() < FChart->SeriesList().GroupCount();
    if (isGroup) {
        const TSeriesGroup* group = FChart->SeriesList().GroupAt(entry - GroupOffset());
        LBSeries->Filter = [group](const TChartSeries* s) { return group->Series.IndexOf(s) >= 0; };
    } else {
        LBSeries->Filter = nullptr;
    }
    LBSeries->FillSeries(LBSeries->SelectedSeries());
    BDeleteGroup->setEnabled(isGroup);
    BRenameGroup->setEnabled(isGroup);
    RefreshButtons();
}

void TChartEditForm::GroupCheckChanged(QListWidgetItem* item) {
    if (!FChart) return;
    TChartSeriesList& list = FChart->SeriesList();
    const int entry = Groups->row(item);
    if (entry < GroupOffset()) {
        list.SetEverySeriesActive(item->checkState() == Qt::Checked);
        FillGroups();
    } else if (entry - GroupOffset() < list.GroupCount()) {
        const Qt::CheckState s = item->checkState();
        list.GroupAt(entry - GroupOffset())
            ->SetActive(s == Qt::Checked ? gaYes : s == Qt::Unchecked ? gaNo : gaSome);
        if (GroupOffset() > 0) {
            FFillingGroups = true;
            Groups->item(0)->setCheckState(list.EverySeriesActive() ? Qt::Checked : Qt::Unchecked);
            FFillingGroups = false;
        }
    }
    LBSeries->viewport()->update();
    RefreshButtons();
}

void TChartEditForm::AddGroup(const std::string& name) {
    if (!FChart) return;
    FChart->SeriesList().NewSeriesGroup(name);
    FillGroups();
    Groups->setCurrentRow(Groups->count() - 1);
}

void TChartEditForm::RenameGroup(const std::string& name) {
    const int g = Groups->currentRow() - GroupOffset();
    if (!FChart || g < 0 || g >= FChart->SeriesList().GroupCount()) return;
    FChart->SeriesList().GroupAt(g)->Name = name;
    FillGroups();
}

void TChartEditForm::DeleteGroup() {
    const int g = Groups->currentRow() - GroupOffset();
    if (!FChart || g < 0 || g >= FChart->SeriesList().GroupCount()) return;
    if (!ConfirmDelete(Groups->currentItem()->text().toStdString(), Groups)) return;
    FChart->SeriesList().DeleteSeriesGroup(g);
    FillGroups();
}

bool TChartEditForm::CanDropSeriesOnGroup(TChartSeries* series, int entry) const {
    if (!FChart || !series || entry < 0 || entry >= Groups->count()) return false;
    if (entry < GroupOffset()) return true;
    const int g = entry - GroupOffset();
    return g < FChart->SeriesList().GroupCount() && FChart->SeriesList().GroupAt(g)->Series.IndexOf(series) < 0;
}

void TChartEditForm::DropSeriesOnGroup(TChartSeries* series, int entry) {
    if (!FChart || !series || entry < 0 || entry >= Groups->count()) return;
    TChartSeriesList& list = FChart->SeriesList();
    const int target = entry - GroupOffset();
    if (target >= 0) {
        TSeriesGroup* group = list.GroupAt(target);
        if (group->Series.IndexOf(series) >= 0) return;  // already there: nothing at all
        group->Series.Add(series);
    }
    // A drag moves the series out of the group shown before.
    const int shown = Groups->currentRow() - GroupOffset();
    if (shown >= 0 && shown < list.GroupCount() && shown != target) list.GroupAt(shown)->Series.Remove(series);
    FillGroups();
    Groups->setCurrentRow(entry);
}

}  // namespace cb::charteditors
