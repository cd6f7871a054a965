#include "charteditors/controls/ChartListBox.h"

#include "chart/component/ChartLegend.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/panel/PlotButtons.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/series/SeriesContent.h"
#include "charteditors/common/EditorHelpers.h"
#include "platform/gfx/Canvas.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace cb::charteditors {

using cb::chart::TChartSeries;
using cb::chart::TCustomAxisPanel;

namespace {

constexpr int SeriesRole = Qt::UserRole + 1;

// Check, legend symbol and title of a row.
class TSeriesRowDelegate : public QStyledItemDelegate {
public:
    explicit TSeriesRowDelegate(TChartListBox* list) : QStyledItemDelegate(list), FList(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        TChartSeries* series = FList->SeriesAtRow(index.row());
        const bool selected = option.state & QStyle::State_Selected;
        const QRect r = option.rect;
        painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        if (!series) return;
        cb::gfx::TCanvas canvas(painter);
        cb::chart::DrawCheckGlyph(r.left() + TChartListBox::CheckLeft + 2,
                                  r.top() + (r.height() - cb::chart::CheckGlyphSize) / 2, canvas, series->Active(),
                                  FList->CheckStyle() == TCheckBoxesStyle::cbsCheck);
        const cb::chart::TRect symbol{r.left() + TChartListBox::ColorLeft - 2 + 4, r.top() + 4,
                                      r.left() + TChartListBox::TitleLeft - 2 - 4, r.bottom() + 1 - 4};
        cb::chart::DrawSeriesLegendSymbol(*series, canvas, symbol, FList->Chart());
        painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
        painter->drawText(r.adjusted(TChartListBox::TitleLeft + 1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                          index.data().toString());
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {284, 24}; }

private:
    TChartListBox* FList;
};

}  // namespace

TChartListBox::TChartListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TSeriesRowDelegate(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    FChart.OnGone = [this] { clear(); };
}

TChartListBox::~TChartListBox() {
    FChart.OnGone = nullptr;
    Detach();
}

TCustomAxisPanel* TChartListBox::Chart() const {
    return FChart.As<TCustomAxisPanel>();
}

void TChartListBox::Detach() {
    if (TCustomAxisPanel* chart = Chart()) chart->RemoveListener(this);
    FChart.Clear();
}

void TChartListBox::SetChart(TCustomAxisPanel* chart) {
    if (chart == Chart()) return;
    Detach();
    clear();
    if (!chart) return;
    FChart.Set(TEditedObject::Part(chart, chart));
    chart->Listeners().Add(this);
    FillSeries();
}

void TChartListBox::SetCheckStyle(TCheckBoxesStyle style) {
    if (style == FCheckStyle) return;
    FCheckStyle = style;
    if (style == TCheckBoxesStyle::cbsRadio) {
        bool seen = false;
        for (int i = 0; i < count(); ++i)
            if (TChartSeries* s = SeriesAtRow(i); s && s->Active()) {
                if (seen) s->SetActive(false);
                seen = true;
            }
    }
    viewport()->update();
}

void TChartListBox::FillSeries(TChartSeries* select) {
    clear();
    TCustomAxisPanel* chart = Chart();
    if (!chart) return;
    std::vector<std::pair<std::string, TChartSeries*>> lines;
    cb::chart::ListSeriesInStrings(lines, chart->SeriesList(), true);
    for (const auto& [title, series] : lines) {
        if (Filter && !Filter(series)) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(title), this);
        item->setData(SeriesRole, QVariant::fromValue(static_cast<void*>(series)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    }
    const int row = select ? RowOf(select) : -1;
    if (count() > 0) {
        setCurrentRow(row >= 0 ? row : 0);
    }
}

TChartSeries* TChartListBox::SeriesAtRow(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? static_cast<TChartSeries*>(it->data(SeriesRole).value<void*>()) : nullptr;
}

int TChartListBox::RowOf(const TChartSeries* series) const {
    for (int i = 0; i < count(); ++i)
        if (SeriesAtRow(i) == series) return i;
    return -1;
}

TChartSeries* TChartListBox::SelectedSeries() const {
    return SeriesAtRow(currentRow());
}

void TChartListBox::SelectSeries(TChartSeries* series) {
    const int row = RowOf(series);
    if (row >= 0) setCurrentRow(row);
}

void TChartListBox::MoveSeries(int from, int to) {
    TCustomAxisPanel* chart = Chart();
    TChartSeries* a = SeriesAtRow(from);
    TChartSeries* b = SeriesAtRow(to);
    if (!chart || !a || !b || from == to) return;
    chart->SwapSeries(a, b);  // the chart's order event lists the rows again
    FillSeries(a);
    if (OnChangeOrder) OnChangeOrder(a, b);
    setFocus();
}

void TChartListBox::MoveUp() {
    if (currentRow() > 0) MoveSeries(currentRow(), currentRow() - 1);
}

void TChartListBox::MoveDown() {
    if (currentRow() >= 0 && currentRow() < count() - 1) MoveSeries(currentRow(), currentRow() + 1);
}

bool TChartListBox::DeleteSelected() {
    std::vector<TChartSeries*> doomed;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected()) doomed.push_back(SeriesAtRow(i));
    if (doomed.empty() && SelectedSeries()) doomed.push_back(SelectedSeries());
    if (doomed.empty()) return false;
    if (AskDelete) {
        const std::string name = doomed.size() > 1 ? cb::chart::PlotText(cb::chart::TPlotText::txtSelectedSeries)
                                                   : cb::chart::GetSeriesDisplayTitle(*doomed.front());
        if (!ConfirmDelete(name, this)) return false;
    }
    for (TChartSeries* s : doomed) delete s;  // each leaves its chart, which tells the list
    if (count() > 0) setCurrentRow(0);
    return true;
}

void TChartListBox::ToggleActive(TChartSeries* series) {
    if (FCheckStyle == TCheckBoxesStyle::cbsRadio) {
        for (int i = 0; i < count(); ++i)
            if (TChartSeries* s = SeriesAtRow(i)) s->SetActive(s == series);
    } else {
        series->SetActive(!series->Active());
    }
    viewport()->update();
    if (OnChangeActive) OnChangeActive(series);
}

void TChartListBox::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const int row = indexAt(p).row();
    if (TChartSeries* s = SeriesAtRow(row); s && p.x() >= CheckLeft && p.x() < ColorLeft) {
        setCurrentRow(row);
        ToggleActive(s);
        return;
    }
    // Only a left press on a title may start a drag.
    if (e->button() != Qt::LeftButton || p.x() < TitleLeft) setDragEnabled(false);
    QListWidget::mousePressEvent(e);
    setDragEnabled(EnableDragSeries);
}

void TChartListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    TChartSeries* s = SeriesAtRow(indexAt(p).row());
    if (s && EnableChangeColor && p.x() >= ColorLeft && p.x() < TitleLeft) {
        cb::gfx::TColor c = s->SeriesColor();
        if (cb::chart::EditColorWithDialog(this, c)) {
            s->SetSeriesColor(c);
            s->SetColorEachPoint(false);
            if (OnChangeColor) OnChangeColor(s);
        }
        return;
    }
    QListWidget::mouseDoubleClickEvent(e);
}

void TChartListBox::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete && AllowDeleteSeries) {
        DeleteSelected();
        return;
    }
    QListWidget::keyReleaseEvent(e);
}

void TChartListBox::dropEvent(QDropEvent* e) {
    // A drop on another row moves the dragged series there.
    const int to = indexAt(e->position().toPoint()).row();
    const int from = currentRow();
    e->setDropAction(Qt::IgnoreAction);
    e->accept();
    if (to >= 0 && from >= 0 && to != from) MoveSeries(from, to);
}

void TChartListBox::HandleEvent(cb::chart::TPlotEvent& event) {
    auto* e = dynamic_cast<cb::chart::TPlotSeriesEvent*>(&event);
    if (!e) return;
    switch (e->Code) {
        case cb::chart::seAdd:
        case cb::chart::seSwap: FillSeries(SelectedSeries()); break;
        case cb::chart::seRemove:
            if (const int row = RowOf(e->Series); row >= 0) {
                delete takeItem(row);
                if (OnRemovedSeries) OnRemovedSeries(e->Series);
            }
            break;
        case cb::chart::seChangeTitle:
            if (const int row = RowOf(e->Series); row >= 0)
                item(row)->setText(QString::fromStdString(cb::chart::GetSeriesDisplayTitle(*e->Series)));
            break;
        case cb::chart::seChangeColor:
        case cb::chart::seChangeActive: viewport()->update(); break;
        case cb::chart::seDataChanged: break;
    }
}

}  // namespace cb::charteditors
