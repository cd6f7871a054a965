#include "charteditors/controls/ChartGrid.h"

#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/panel/PlotButtons.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/SeriesContent.h"

#include "platform/gfx/Color.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/Strings.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace cb::charteditors {

using cb::chart::TChartSeries;
using cb::chart::TChartValueList;
using cb::chart::TCustomAxisPanel;

namespace {

// 1899-12-30, day 0 of the date-time values.
const QDate DayZero(1899, 12, 30);

// A date-time typed by the user: a number of days, a date and time in the
// locale's or ISO form, or a time; false for anything else.
bool ReadDateTime(const QString& text, double& value) {
    if (cb::rtl::TryStrToFloat(text.toStdString(), value)) return true;
    const QLocale locale;
    for (const QString& format : {locale.dateTimeFormat(QLocale::ShortFormat), QString("yyyy-MM-dd hh:mm:ss"),
                                  QString("yyyy-MM-dd hh:mm"), QString("yyyy-MM-ddThh:mm:ss")}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid()) {
            value = DayZero.daysTo(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
            return true;
        }
    }
    for (const QString& format : {locale.dateFormat(QLocale::ShortFormat), QString("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(text, format);
        if (d.isValid()) {
            value = DayZero.daysTo(d);
            return true;
        }
    }
    for (const QString& format : {QString("hh:mm:ss"), QString("h:mm:ss"), QString("hh:mm"), QString("h:mm")}) {
        const QTime t = QTime::fromString(text, format);
        if (t.isValid()) {
            value = t.msecsSinceStartOfDay() / 86400000.0;
            return true;
        }
    }
    return false;
}

}  // namespace

// Cells computed from the series on every read.
class TChartGridModel : public QAbstractTableModel {
public:
    explicit TChartGridModel(TChartGrid* grid) : QAbstractTableModel(grid), FGrid(grid) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : FGrid->FRows; }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(FGrid->FColumns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column(), row = index.row();
        const bool fixed = col == 0 || row < FGrid->HeaderRows();
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(FGrid->CellText(col, row));
        case Qt::TextAlignmentRole:
            if (fixed || col == FGrid->LabelsColumn()) return int(Qt::AlignLeft | Qt::AlignVCenter);
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            if (fixed) return FGrid->palette().button();
            if (col == FGrid->ColorsColumn()) {
                TChartSeries* s = FGrid->ColorColumnSeries();
                const int r = row - FGrid->HeaderRows();
                if (s && r < s->PointCount() && s->PointColor(r) != cb::gfx::clNone)
                    return QBrush(cb::gfx::ToQColor(cb::gfx::ColorToRGB(s->PointColor(r))));
            }
            return {};
        case Qt::DecorationRole:
            if (row == 0 && col < int(FGrid->FColumns.size()) && FGrid->FColumns[col].FirstOfSeries)
                return cb::gfx::ToQColor(cb::gfx::ColorToRGB(FGrid->FColumns[col].Series->SeriesColor()));
            return {};
        default:
            return {};
        }
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (index.column() == 0 || index.row() < FGrid->HeaderRows()) return Qt::ItemIsEnabled;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (FGrid->AllowEditing && index.column() != FGrid->ColorsColumn()) f |= Qt::ItemIsEditable;
        return f;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole) return false;
        FGrid->SetCellText(index.column(), index.row(), value.toString().toStdString());
        return true;
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }
    void Refresh() {
        if (rowCount({}) > 0 && columnCount({}) > 0)
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
    }

private:
    TChartGrid* FGrid;
};

TChartGrid::TChartGrid(QWidget* parent) : QTableView(parent), FModel(new TChartGridModel(this)) {
    setModel(FModel);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(18);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    FChart.OnGone = [this] { Recalc(); };
    FSeries.OnGone = [this] { Recalc(); };
    FListened.OnGone = [this] { Recalc(); };
    RecalcDimensions();
}

TChartGrid::~TChartGrid() {
    FDestroying = true;
    UpdateHook = nullptr;
    SelectCellHook = nullptr;
    FChart.OnGone = FSeries.OnGone = FListened.OnGone = nullptr;
    Listen(nullptr);
}

TCustomAxisPanel* TChartGrid::Chart() const {
    return FChart.As<TCustomAxisPanel>();
}

TChartSeries* TChartGrid::Series() const {
    return FSeries.As<TChartSeries>();
}

TCustomAxisPanel* TChartGrid::ListenedChart() const {
    return FListened.As<TCustomAxisPanel>();
}

void TChartGrid::Listen(TCustomAxisPanel* chart) {
    if (TCustomAxisPanel* old = ListenedChart()) old->RemoveListener(this);
    FListened.Clear();
    if (chart) {
        FListened.Set(TEditedObject::Part(chart, chart));
        chart->Listeners().Add(this);
    }
}

void TChartGrid::SetChart(TCustomAxisPanel* chart) {
    if (chart != Chart()) {
        FSeries.Clear();
        FChart.Clear();
        if (chart) FChart.Set(TEditedObject::Part(chart, chart));
        Listen(chart);
    }
    Recalc();
}

void TChartGrid::SetSeries(TChartSeries* series) {
    if (series != Series()) {
        FChart.Clear();
        FSeries.Clear();
        if (series) FSeries.Set(TEditedObject::Element(series));
        Listen(series ? series->ParentChart() : nullptr);
    }
    Recalc();
}

void TChartGrid::SetShowColors(bool on) {
    if (on == FShowColors) return;
    FShowColors = on;
    RecalcDimensions();
}

void TChartGrid::SetShowLabels(bool on) {
    if (on == FShowLabels) return;
    FShowLabels = on;
    RecalcDimensions();
}

void TChartGrid::SetShowXValues(TChartGridShow show) {
    FShowXValues = show;
    RecalcDimensions();
}

int TChartGrid::RowCount() const {
    return FRows;
}

int TChartGrid::ColCount() const {
    return int(FColumns.size());
}

std::vector<TChartSeries*> TChartGrid::ShownSeries() const {
    if (TChartSeries* s = Series()) return {s};
    std::vector<TChartSeries*> out;
    if (TCustomAxisPanel* c = Chart())
        for (int i = 0; i < c->NumberOfSeries(); ++i) out.push_back(c->SeriesAt(i));
    return out;
}

bool TChartGrid::SeriesExists(const TChartSeries* s) const {
    const auto shown = ShownSeries();
    return std::find(shown.begin(), shown.end(), s) != shown.end();
}

int TChartGrid::ColorsColumn() const {
    return FShowColors && ColCount() > 1 ? 1 : -1;
}

int TChartGrid::LabelsColumn() const {
    return FShowLabels && ColCount() > 1 ? (ColorsColumn() == 1 ? 2 : 1) : -1;
}

bool TChartGrid::XColumn(TChartSeries& s) const {
    // The position list gets a column only when it carries data of its own.
    return FShowXValues == cgsAuto ? cb::chart::SeriesNeedsXValues(s) : FShowXValues == cgsYes;
}

TChartSeries* TChartGrid::ColumnSeries(int col) const {
    return col >= 0 && col < ColCount() ? FColumns[col].Series : nullptr;
}

TChartValueList* TChartGrid::ColumnList(int col) const {
    return col >= 0 && col < ColCount() ? FColumns[col].List : nullptr;
}

void TChartGrid::RecalcDimensions() {
    if (FDestroying) return;
    const QModelIndex keep = currentIndex();
    FColumns.assign(1, TColumn{});
    const bool attached = Chart() || Series();
    if (FShowColors && attached) FColumns.push_back({});
    if (FShowLabels && attached) FColumns.push_back({});
    int points = 0;
    for (TChartSeries* s : ShownSeries()) {
        const bool x = XColumn(*s);
        bool first = true;
        for (int i = 0; i < s->ValueLists().Count(); ++i) {
            TChartValueList* list = s->ValueLists()[i];
            if (list == &s->OtherList() && !x) continue;
            FColumns.push_back({s, list, first});
            first = false;
        }
        points = std::max(points, s->PointCount());
    }
    FRows = HeaderRows() + std::max(1, points);
    FModel->Reset();
    setColumnWidth(0, 30);
    if (FShowColors && ColCount() >= 2) setColumnWidth(1, 40);
    for (int c = FShowColors ? 2 : 1; c < ColCount(); ++c) setColumnWidth(c, 64);
    setRowHeight(0, 20);
    int row = keep.isValid() ? std::clamp(keep.row(), HeaderRows(), FRows - 1) : HeaderRows();
    int col = keep.isValid() ? std::clamp(keep.column(), 1, std::max(1, ColCount() - 1)) : 1;
    if (ColCount() >= 2) setCurrentIndex(FModel->index(row, std::min(col, ColCount() - 1)));
    RunUpdateHook();
}

void TChartGrid::Recalc() {
    RecalcDimensions();
    if (ColCount() >= 2) setCurrentIndex(FModel->index(HeaderRows(), 1));
    viewport()->update();
}

void TChartGrid::RunUpdateHook() {
    if (UpdateHook) UpdateHook();
}

std::string TChartGrid::CellText(int col, int row) const {
    const int headers = HeaderRows();
    const int names = FShowFields ? 1 : 0;
    if (col == 0) {
        if (row >= headers) return std::to_string(row - headers);
        return row == names ? "#" : "";
    }
    if (row < headers) {
        if (row == names) {
            if (col == LabelsColumn()) return cb::chart::PlotText(cb::chart::TPlotText::txtText);
            if (col == ColorsColumn()) return "Colors";
            if (const TChartValueList* list = ColumnList(col)) return list->Name();
        } else if (col < ColCount() && FColumns[col].FirstOfSeries) {
            return cb::chart::GetSeriesDisplayTitle(*FColumns[col].Series);
        }
        return "";
    }
    const int r = row - headers;
    if (col == LabelsColumn()) {
        for (TChartSeries* s : ShownSeries())
            if (s->Labels().Count() > r) return s->PointLabel(r);
        return "";
    }
    TChartSeries* s = ColumnSeries(col);
    TChartValueList* list = ColumnList(col);
    if (!s || !list || r >= s->PointCount() || s->IsEmptyPoint(r)) return "";
    const double v = list->Value(r);
    if (list->DateTime()) return v >= 1 ? cb::rtl::DateTimeToStr(v) : cb::rtl::TimeToStr(v);
    return cb::rtl::FormatFloat(s->ValueFormat(), v);
}

void TChartGrid::Changed(TChartSeries* series) {
    series->NotifyDataChanged();
    series->InvalidateChart();
}

void TChartGrid::SetCellText(int col, int row, const std::string& text) {
    const int r = row - HeaderRows();
    if (r < 0 || col <= 0 || col >= ColCount() || col == ColorsColumn()) return;
    const auto shown = ShownSeries();
    if (shown.empty()) return;
    const int rowsBefore = FRows;
    FWriting = true;
    if (col == LabelsColumn()) {
        for (TChartSeries* s : shown) {
            s->SetManualData(true);
            while (s->PointCount() <= r) s->AddNullValue();
            s->Labels().SetLabel(r, text);
            Changed(s);
        }
    } else if (TChartSeries* s = ColumnSeries(col); s && ColumnList(col)) {
        TChartValueList* list = ColumnList(col);
        const QString typed = QString::fromStdString(text).trimmed();
        double value = 0;
        const bool blank = typed.isEmpty();
        const bool ok = !blank && (list->DateTime() ? ReadDateTime(typed, value)
                                                    : cb::rtl::TryStrToFloat(typed.toStdString(), value));
        if (blank || ok) {
            s->SetManualData(true);
            while (s->PointCount() <= r) s->AddNullValue();
            if (ok) {
                const bool wasNull = s->IsEmptyPoint(r);
                list->SetValue(r, value);
                list->SetModified(true);
                if (wasNull) s->SetPointColor(r, cb::gfx::clDefault);
            } else {
                s->SetPointColor(r, cb::gfx::clNone);
            }
            Changed(s);
        }
    }
    FWriting = false;
    // Points appended for the row: lay the rows out again once the editor
    // has closed.
    int points = 0;
    for (TChartSeries* s : shown) points = std::max(points, s->PointCount());
    if (HeaderRows() + std::max(1, points) != rowsBefore)
        QTimer::singleShot(0, this, [this] { RecalcDimensions(); });
    else
        FModel->Refresh();
    if (OnSetEditText) OnSetEditText(col, row, text);
}

TChartSeries* TChartGrid::ColorColumnSeries() const {
    // The labels column may stand between: the first value column's series.
    for (int c = 1; c < ColCount(); ++c)
        if (FColumns[c].Series) return FColumns[c].Series;
    return nullptr;
}

TChartSeries* TChartGrid::ColorSeries() const {
    const int col = Col();
    return col == ColorsColumn() ? ColorColumnSeries() : ColumnSeries(col);
}

void TChartGrid::AppendRow() {
    TChartSeries* s = ColorSeries();
    if (!AllowEditing || !s) return;
    s->SetManualData(true);
    s->AddNullValue();
    Changed(s);
    RecalcDimensions();
    setCurrentIndex(FModel->index(FRows - 1, std::max(1, Col())));
}

void TChartGrid::InsertRow() {
    const auto shown = ShownSeries();
    if (!AllowEditing || shown.empty()) return;
    for (TChartSeries* s : shown) {
        s->SetManualData(true);
        s->AddNullPoint(s->PointCount(), 0);
        Changed(s);
    }
    RecalcDimensions();
    setCurrentIndex(FModel->index(FRows - 1, std::max(1, Col())));
}

void TChartGrid::DeleteRow() {
    const int r = Row() - HeaderRows();
    if (!AllowEditing || r < 0) return;
    for (TChartSeries* s : ShownSeries()) {
        if (r >= s->PointCount()) continue;
        s->SetManualData(true);
        const bool x = XColumn(*s);
        s->DeletePoint(r);
        if (!x) s->OtherList().FillWithIndexes();
        Changed(s);
    }
    RecalcDimensions();
}

bool TChartGrid::Editing() const {
    return state() == QAbstractItemView::EditingState;
}

bool TChartGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (Editing() || !index.isValid() || !(FModel->flags(index) & Qt::ItemIsEditable))
        return QTableView::edit(index, trigger, event);
    TChartSeries* s = ColumnSeries(index.column());
    // Points a source or function computes are not typed over.
    if (s && (s->DataSource() || s->Function())) return false;
    bool allow = true;
    if (OnEditingCell) OnEditingCell(index.column(), index.row(), allow);
    if (!allow) return false;
    const bool opened = QTableView::edit(index, trigger, event);
    if (opened) QTimer::singleShot(0, this, [this] { RunUpdateHook(); });
    return opened;
}

void TChartGrid::EditCell() {
    if (!AllowEditing || Editing()) return;
    edit(currentIndex(), QAbstractItemView::EditKeyPressed, nullptr);
    RunUpdateHook();
}

void TChartGrid::EndEdit(bool cancel) {
    if (!Editing()) return;
    if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(currentIndex()) ? indexWidget(currentIndex())
                                                                             : QApplication::focusWidget())) {
        if (!cancel) commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    RunUpdateHook();
}

void TChartGrid::EditCellColor() {
    const int r = Row() - HeaderRows();
    TChartSeries* s = ColorColumnSeries();
    if (!AllowEditing || Col() != ColorsColumn() || !s || r < 0 || r >= s->PointCount()) return;
    cb::gfx::TColor color = s->PointColor(r);
    if (cb::chart::EditColorWithDialog(this, color)) SetCellColor(color);
}

void TChartGrid::SetCellColor(cb::gfx::TColor color) {
    const int r = Row() - HeaderRows();
    TChartSeries* s = ColorColumnSeries();
    if (Col() != ColorsColumn() || !s || r < 0 || r >= s->PointCount()) return;
    s->SetPointColor(r, color);
    s->SetManualData(true);
    s->InvalidateChart();
    FModel->Refresh();
    if (OnChangeColor) OnChangeColor();
}

bool TChartGrid::HasPoints() const {
    for (TChartSeries* s : ShownSeries())
        if (s->PointCount() > 0) return true;
    return false;
}

void TChartGrid::HandleEvent(cb::chart::TPlotEvent& event) {
    auto* e = dynamic_cast<cb::chart::TPlotSeriesEvent*>(&event);
    if (FDestroying || !e) return;
    switch (e->Code) {
    case cb::chart::seChangeTitle:
    case cb::chart::seChangeColor:
    case cb::chart::seChangeActive:
        viewport()->update();
        break;
    default:
        // The grid's own writes lay it out once they are done.
        if (!FWriting && !Editing()) RecalcDimensions();
    }
}

void TChartGrid::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() & Qt::ControlModifier || Editing()) {
        QTableView::keyPressEvent(e);
        return;
    }
    const bool colors = Col() == ColorsColumn();
    const bool lastRow = Row() == FRows - 1;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (colors) return EditCellColor();
        break;
    case Qt::Key_F2:
        return colors ? EditCellColor() : EditCell();
    case Qt::Key_Escape:
        return EndEdit(true);
    case Qt::Key_Up:
        if (lastRow && AllowEditing) {
            // A row just appended and left empty goes again.
            const int r = Row() - HeaderRows();
            TChartSeries* s = ColorSeries();
            if (s && r >= 0 && r < s->PointCount() && s->IsEmptyPoint(r) && s->PointLabel(r).empty()) {
                s->DeletePoint(r);
                Changed(s);
                RecalcDimensions();
                return;
            }
        }
        break;
    case Qt::Key_Down:
        if (lastRow) return AppendRow();
        break;
    case Qt::Key_Insert:
        return InsertRow();
    case Qt::Key_Delete:
        if (AllowEditing && !colors) {
            EditCell();
            if (QWidget* editor = QApplication::focusWidget(); editor && editor != this)
                QApplication::sendEvent(editor, e);
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(e);
}

void TChartGrid::mousePressEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    if (at.isValid() && at.row() < HeaderRows() && at.column() > 0) {
        // A header cell selects its column's data rows.
        setCurrentIndex(FModel->index(HeaderRows(), at.column()));
        selectionModel()->select(QItemSelection(FModel->index(HeaderRows(), at.column()),
                                                FModel->index(FRows - 1, at.column())),
                                 QItemSelectionModel::ClearAndSelect);
    } else {
        QTableView::mousePressEvent(e);
    }
    RunUpdateHook();
}

void TChartGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex at = indexAt(e->position().toPoint());
    if (at.isValid() && at.column() == ColorsColumn() && AllowEditing) {
        setCurrentIndex(at);
        EditCellColor();
        return;
    }
    QTableView::mouseDoubleClickEvent(e);
}

void TChartGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && SelectCellHook) SelectCellHook(current.column(), current.row());
    RunUpdateHook();
}

}  // namespace cb::charteditors
