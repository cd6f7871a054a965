#include "charteditors/controls/ChartListBox.h"

#include "chart/component/ChartLegend.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/panel/PlotButtons.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/SeriesHelpers.h"
#include "chart/series/SeriesTypes.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/common/EditorHelpers.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QDropEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace cb::charteditors {

using cb::chart::TChartSeries;
using cb::chart::TCustomAxisPanel;

TGalleryCreateSeriesHook& GalleryCreateSeriesHook() {
    static TGalleryCreateSeriesHook hook;
    return hook;
}

TGalleryChangeSeriesTypeHook& GalleryChangeSeriesTypeHook() {
    static TGalleryChangeSeriesTypeHook hook;
    return hook;
}

namespace {

constexpr int SeriesRole = Qt::UserRole + 1;

// Pie series draw each slice in its own colour: no series colour to show.
bool UsesSeriesColor(const TChartSeries& s) {
    return dynamic_cast<const cb::chart::TPieSeries*>(&s) == nullptr;
}

// Icon, check, legend symbol and title of a row.
class TSeriesRowDelegate : public QStyledItemDelegate {
public:
    explicit TSeriesRowDelegate(TChartListBox* list) : QStyledItemDelegate(list), FList(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        TChartSeries* series = FList->SeriesAtRow(index.row());
        const bool focused = FList->hasFocus();
        const bool current = index.row() == FList->currentRow();
        const bool selected = (option.state & QStyle::State_Selected) || (!focused && current);
        const QRect r = option.rect;
        const QPalette& pal = option.palette;
        QColor back = pal.color(QPalette::Active, QPalette::Base);
        if (selected)
            back = (!focused && current) ? pal.color(QPalette::Inactive, QPalette::Highlight)
                                         : pal.color(QPalette::Active, QPalette::Highlight);
        painter->fillRect(r, back);
        // Only the title shows the selection.
        const int titleLeft = FList->SectionLeft(lbsTitle);
        painter->fillRect(QRect(r.left(), r.top(), std::max(0, titleLeft - 2), r.height()), pal.base());
        if (!series) return;
        cb::gfx::TCanvas canvas(painter);
        if (FList->ShowSeriesIcon()) {
            cb::gfx::TBitmap icon;
            if (cb::chart::LoadSeriesClassBitmap(cb::chart::SeriesClassName(*series), "TChartSeries", icon)) {
                const int x = r.left() + FList->SectionLeft(lbsIcon), y = r.top();
                icon.Draw(canvas, cb::chart::TRect{x, y, x + icon.Width(), y + icon.Height()});
            }
        }
        if (FList->ShowSeriesColor() && UsesSeriesColor(*series)) {
            const int left = r.left() + FList->SectionLeft(lbsColor) - 2;
            const cb::chart::TRect symbol{left + 4, r.top() + 4, left + FList->SectionWidth(lbsColor) - 4,
                                          r.bottom() + 1 - 4};
            cb::chart::DrawSeriesLegendSymbol(*series, canvas, symbol,
                                              FList->ReferenceChart() ? FList->ReferenceChart() : FList->Chart());
        }
        if (FList->ShowActiveCheck())
            cb::chart::DrawCheckGlyph(r.left() + FList->SectionLeft(lbsCheck) + 2,
                                      r.top() + (r.height() - cb::chart::CheckGlyphSize) / 2, canvas, series->Active(),
                                      FList->CheckStyle() == TCheckBoxesStyle::cbsCheck);
        if (FList->ShowSeriesTitle()) {
            painter->setPen(selected ? pal.color(QPalette::Active, QPalette::HighlightedText)
                                     : pal.color(QPalette::Active, QPalette::Text));
            painter->drawText(r.adjusted(titleLeft + 1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                              index.data().toString());
        }
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
    viewport()->setMouseTracking(true);
    FChart.OnGone = [this] {
        CloseTitleEditor(false);
        clear();
        SyncOtherItems();
    };
    AskText = [this](const QString& title, const QString& prompt, QString& text) {
        bool ok = false;
        const QString got = QInputDialog::getText(this, title, prompt, QLineEdit::Normal, text, &ok);
        if (ok) text = got;
        return ok;
    };
    connect(this, &QAbstractItemView::clicked, this, [this] { Refresh(); });
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

void TChartListBox::Refresh() {
    if (OnRefresh) OnRefresh();
}

void TChartListBox::SyncOtherItems() {
    if (!OtherItems) return;
    OtherItems->clear();
    for (int i = 0; i < count(); ++i) OtherItems->append(item(i)->text());
}

TCustomAxisPanel* TChartListBox::ReferenceChart() const {
    return FReferenceChart.As<TCustomAxisPanel>();
}

void TChartListBox::SetReferenceChart(TCustomAxisPanel* chart) {
    FReferenceChart.Set(chart ? TEditedObject::Part(chart, chart) : TEditedObject());
    viewport()->update();
}

void TChartListBox::SetChart(TCustomAxisPanel* chart) {
    if (chart == Chart()) return;
    CloseTitleEditor(false);
    Detach();
    clear();
    SyncOtherItems();
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

void TChartListBox::SetShowNames(bool on) {
    if (on == FShowNames) return;
    FShowNames = on;
    FillSeries(SelectedSeries());
}

void TChartListBox::SetSectionVisible(TListBoxSection section, bool visible) {
    FSectionVisible[section] = visible;
    viewport()->update();
}

int TChartListBox::SectionLeft(TListBoxSection section) const {
    int left = 0;
    for (int i = 0; i < section; ++i)
        if (FSectionVisible[i]) left += SectionWidths[i];
    return left;
}

int TChartListBox::SectionAt(int x) const {
    for (int i = lbsIcon; i <= lbsTitle; ++i) {
        const auto s = TListBoxSection(i);
        if (FSectionVisible[s] && x >= SectionLeft(s) && x < SectionLeft(s) + SectionWidths[s]) return s;
    }
    return -1;
}

void TChartListBox::FillSeries(TChartSeries* select) {
    clear();
    TCustomAxisPanel* chart = Chart();
    if (chart) {
        std::vector<std::pair<std::string, TChartSeries*>> lines;
        cb::chart::ListSeriesInStrings(lines, chart->SeriesList(), !FShowNames);
        for (const auto& [title, series] : lines) {
            if (Filter && !Filter(series)) continue;
            auto* item = new QListWidgetItem(QString::fromStdString(title), this);
            item->setData(SeriesRole, QVariant::fromValue(static_cast<void*>(series)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        }
        const int row = select ? RowOf(select) : -1;
        if (count() > 0) setCurrentRow(row >= 0 ? row : 0);
    }
    SyncOtherItems();
    if (OnOtherItemsChange) OnOtherItemsChange();
    Refresh();
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

std::vector<TChartSeries*> TChartListBox::SelectedList() const {
    std::vector<TChartSeries*> list;
    if (selectionMode() != QAbstractItemView::SingleSelection) {
        for (int i = 0; i < count(); ++i)
            if (item(i)->isSelected()) list.push_back(SeriesAtRow(i));
    }
    if (list.empty() && SelectedSeries()) list.push_back(SelectedSeries());
    return list;
}

bool TChartListBox::HasSelection() {
    if (selectionMode() == QAbstractItemView::SingleSelection) return currentRow() >= 0;
    if (!selectedItems().isEmpty()) return true;
    if (currentRow() < 0) return false;
    currentItem()->setSelected(true);
    return true;
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
    Refresh();
}

void TChartListBox::MoveUp() {
    if (currentRow() > 0) MoveSeries(currentRow(), currentRow() - 1);
}

void TChartListBox::MoveDown() {
    if (currentRow() >= 0 && currentRow() < count() - 1) MoveSeries(currentRow(), currentRow() + 1);
}

TChartSeries* TChartListBox::AddSeries() {
    TGalleryCreateSeriesHook& hook = GalleryCreateSeriesHook();
    if (!hook) return nullptr;
    TChartSeries* added = hook(window(), Chart(), SelectedSeries());
    if (!added) return nullptr;
    if (selectionMode() != QAbstractItemView::SingleSelection) clearSelection();
    SelectSeries(added);
    Refresh();
    return added;
}

bool TChartListBox::DeleteSelected() {
    if (!HasSelection()) return false;
    const std::vector<TChartSeries*> doomed = SelectedList();
    if (doomed.empty()) return false;
    if (AskDelete) {
        const std::string name = doomed.size() > 1 ? cb::chart::PlotText(cb::chart::TPlotText::txtSelectedSeries)
                                                   : cb::chart::GetSeriesDisplayTitle(*doomed.front());
        if (!ConfirmDelete(name, this)) return false;
    }
    for (TChartSeries* s : doomed) delete s;  // each leaves its chart, which tells the list
    if (count() > 0) setCurrentRow(0);
    Refresh();
    return true;
}

TChartSeries* TChartListBox::CloneSelected() {
    TChartSeries* s = SelectedSeries();
    return s ? cb::chart::DuplicateSeries(*s) : nullptr;
}

void TChartListBox::ChangeTypeOfSelected() {
    TGalleryChangeSeriesTypeHook& hook = GalleryChangeSeriesTypeHook();
    if (!hook || !Chart() || !HasSelection()) return;
    std::vector<TChartSeries*> changed = SelectedList();
    if (changed.empty()) return;
    const cb::chart::TSeriesClass* newClass = hook(window(), changed.front());
    if (newClass)
        for (std::size_t i = 1; i < changed.size(); ++i) cb::chart::ChangeSeriesClass(changed[i], *newClass);
    clearSelection();
    if (changed.front()) SelectSeries(changed.front());
    for (TChartSeries* s : changed)
        if (const int row = RowOf(s); row >= 0) item(row)->setSelected(true);
    Refresh();
}

bool TChartListBox::RenameWithDialog() {
    TChartSeries* s = SelectedSeries();
    if (!s) return false;
    const QString before = currentItem()->text();
    QString text = QString::fromStdString(FShowNames ? s->Name() : cb::chart::GetSeriesDisplayTitle(*s));
    if (!AskText(QString::fromStdString(cb::chart::PlotText(cb::chart::TPlotText::txtChangeSeriesTitle)),
                 QString::fromStdString(cb::chart::PlotText(cb::chart::TPlotText::txtNewSeriesTitle)), text) ||
        text.isEmpty())
        return false;
    const std::string value = text.toStdString();
    if (FShowNames) {
        s->SetName(value);
        currentItem()->setText(text);
        SyncOtherItems();
    } else {
        // The name typed back means "no title of its own".
        s->SetTitle(value == s->Name() ? std::string() : value);
    }
    SelectSeries(s);
    return currentItem() && currentItem()->text() != before;
}

void TChartListBox::RenameInPlace() {
    TChartSeries* s = SelectedSeries();
    if (!s || !ShowSeriesTitle()) return;
    if (!FTitleEditor) {
        FTitleEditor = new QLineEdit(viewport());
        FTitleEditor->setObjectName("TitleEditor");
        FTitleEditor->installEventFilter(this);
    }
    const QRect r = visualItemRect(currentItem());
    const int left = SectionLeft(lbsTitle) - 2;
    FTitleEditor->setProperty("series", QVariant::fromValue(static_cast<void*>(s)));
    FTitleEditor->setText(QString::fromStdString(cb::chart::GetSeriesDisplayTitle(*s)));
    FTitleEditor->setGeometry(left, r.top(), SectionWidths[lbsTitle], r.height() + 1);
    FTitleEditor->show();
    FTitleEditor->setFocus();
    FTitleEditor->selectAll();
}

void TChartListBox::CloseTitleEditor(bool store) {
    if (!FTitleEditor || FTitleEditor->isHidden()) return;
    auto* s = static_cast<TChartSeries*>(FTitleEditor->property("series").value<void*>());
    FTitleEditor->setProperty("series", QVariant());
    FTitleEditor->hide();
    if (store && s && RowOf(s) >= 0) {
        const std::string value = FTitleEditor->text().toStdString();
        if (value != cb::chart::GetSeriesDisplayTitle(*s)) s->SetTitle(value == s->Name() ? std::string() : value);
    }
    setFocus();
}

bool TChartListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FTitleEditor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_F2:
            CloseTitleEditor(true);
            return true;
        case Qt::Key_Escape:
            CloseTitleEditor(false);
            return true;
        default:
            break;
        }
    }
    return QListWidget::eventFilter(watched, event);
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
    CloseTitleEditor(true);
    const QPoint p = e->position().toPoint();
    const int row = indexAt(p).row();
    const int section = SectionAt(p.x());
    if (TChartSeries* s = SeriesAtRow(row); s && section == lbsCheck) {
        setCurrentRow(row);
        ToggleActive(s);
        FComingFromDoubleClick = false;
        if (OnOtherItemsChange) OnOtherItemsChange();
        return;
    }
    // Only a plain left press on a title may start a drag, and not the
    // press that follows a double click.
    const bool drag = EnableDragSeries && e->button() == Qt::LeftButton && section == lbsTitle &&
                      !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) && !FComingFromDoubleClick;
    setDragEnabled(drag);
    QListWidget::mousePressEvent(e);
    setDragEnabled(EnableDragSeries);
    FComingFromDoubleClick = false;
    if (OnOtherItemsChange) OnOtherItemsChange();
}

void TChartListBox::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const int row = indexAt(p).row();
    TChartSeries* s = SeriesAtRow(row);
    FComingFromDoubleClick = true;
    if (!s || !item(row)->isSelected()) return;
    switch (SectionAt(p.x())) {
    case lbsIcon:
        if (EnableChangeType) ChangeTypeOfSelected();
        return;
    case lbsColor:
        if (EnableChangeColor && UsesSeriesColor(*s)) {
            cb::gfx::TColor c = s->SeriesColor();
            if (cb::chart::EditColorWithDialog(this, c)) {
                s->SetSeriesColor(c);
                s->SetColorEachPoint(false);
                if (OnChangeColor) OnChangeColor(s);
            }
        }
        return;
    case lbsTitle:
        if (OnDblClickSeries) OnDblClickSeries(currentRow());
        return;
    default:
        return;
    }
}

void TChartListBox::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    const int section = SectionAt(p.x());
    const bool hand = indexAt(p).isValid() &&
                      ((section == lbsIcon && EnableChangeType) || (section == lbsColor && EnableChangeColor));
    viewport()->setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QListWidget::mouseMoveEvent(e);
}

void TChartListBox::keyReleaseEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Insert:
        if (AllowAddSeries) AddSeries();
        return;
    case Qt::Key_Delete:
        if (AllowDeleteSeries) DeleteSelected();
        return;
    case Qt::Key_F2:
        if (SelectedSeries()) RenameInPlace();
        return;
    default:
        QListWidget::keyReleaseEvent(e);
    }
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
    case cb::chart::seSwap:
        FillSeries(SelectedSeries());
        break;
    case cb::chart::seRemove:
        if (FTitleEditor && FTitleEditor->property("series").value<void*>() == e->Series) CloseTitleEditor(false);
        if (const int row = RowOf(e->Series); row >= 0) {
            delete takeItem(row);
            SyncOtherItems();
            if (OnRemovedSeries) OnRemovedSeries(e->Series);
        }
        break;
    case cb::chart::seChangeTitle:
        if (const int row = RowOf(e->Series); row >= 0 && !FShowNames) {
            item(row)->setText(QString::fromStdString(cb::chart::GetSeriesDisplayTitle(*e->Series)));
            SyncOtherItems();
        }
        break;
    case cb::chart::seChangeColor:
    case cb::chart::seChangeActive:
        viewport()->update();
        break;
    case cb::chart::seDataChanged:
        break;
    }
}

}  // namespace cb::charteditors
