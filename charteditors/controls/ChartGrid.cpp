#include "charteditors/controls/ChartGrid.h"

#include "chart/component/ChartLegend.h"
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
#include <QPainter>
#include <QStyledItemDelegate>
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
                const auto [s, r] = FGrid->CellPoint(col, row);
                if (s && r >= 0 && s->PointColor(r) != cb::gfx::clNone)
                    return QBrush(cb::gfx::ToQColor(cb::gfx::ColorToRGB(s->PointColor(r))));
            }
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

// Row 0 over a series' first column: its legend symbol (12 x 12 at 4, 4)
// and its title (at 18, 4); every other cell as the model says.
class TChartGridDelegate : public QStyledItemDelegate {
public:
    explicit TChartGridDelegate(TChartGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int col = index.column();
        if (index.row() != 0 || col <= 0 || col >= FGrid->ColCount() || !FGrid->FColumns[col].FirstOfSeries) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        TChartSeries* s = FGrid->FColumns[col].Series;
        const QRect r = option.rect;
        painter->save();
        painter->setClipRect(r);
        painter->fillRect(r, FGrid->palette().button());
        {
            cb::gfx::TCanvas canvas(painter);
            cb::chart::DrawSeriesLegendSymbol(*s, canvas, {r.left() + 4, r.top() + 4, r.left() + 16, r.top() + 16},
                                              FGrid->ListenedChart());
        }
        painter->setClipRect(r);
        painter->setFont(FGrid->font());
        painter->setPen(FGrid->palette().text().color());
        painter->setBrush(Qt::NoBrush);
        painter->drawText(r.adjusted(18, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          QString::fromStdString(cb::chart::GetSeriesDisplayTitle(*s)));
        painter->restore();
    }

private:
    TChartGrid* FGrid;
};

TChartGrid::TChartGrid(QWidget* parent) : QTableView(parent), FModel(new TChartGridModel(this)) {
    setModel(FModel);
    setItemDelegate(new TChartGridDelegate(this));
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

void TChartGrid::SetGrid3DMode(bool on) {
    FGrid3DMode = on;
    Recalc();
}

bool TChartGrid::SeriesHasZValues(TChartSeries& series) {
    return ZValues(series) != nullptr;
}

TChartValueList* TChartGrid::ZValues(TChartSeries& series) {
    return series.HasOwnZValues() && series.ValueLists().Count() > 2 ? series.ValueLists()[2] : nullptr;
}

TChartSeries* TChartGrid::FindMatrixSeries() const {
    if (TChartSeries* s = Series()) return SeriesHasZValues(*s) ? s : nullptr;
    for (TChartSeries* s : ShownSeries())
        if (SeriesHasZValues(*s)) return s;
    return nullptr;
}

bool TChartGrid::LayMatrixOut() {
    FMatrix = FGrid3DMode ? FindMatrixSeries() : nullptr;
    FMatrixX.clear();
    FMatrixZ.clear();
    FMatrixPoints.clear();
    if (!FMatrix) return false;
    TChartSeries* s = FMatrix;
    TChartValueList* z = ZValues(*s);
    const int n = s->PointCount();
    for (int i = 0; i < n; ++i) {
        const double x = s->XValues().Value(i), zi = z->Value(i);
        FMatrixX.push_back(x);
        FMatrixZ.push_back(zi);
        FMatrixPoints.emplace(std::pair{x, zi}, i);  // the first point at (X, Z) wins
    }
    for (auto* values : {&FMatrixX, &FMatrixZ}) {
        std::sort(values->begin(), values->end());
        values->erase(std::unique(values->begin(), values->end()), values->end());
    }
    FShowLabels = false;
    FShowColors = false;
    for (size_t k = 0; k < FMatrixX.size(); ++k) FColumns.push_back({s, &s->MandatoryList(), k == 0});
    FRows = 2 + int(FMatrixZ.size());
    return true;
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
        for (int i = 0; i < c->NumberOfSeries(); ++i)
            if (c->SeriesAt(i) != FLeaving) out.push_back(c->SeriesAt(i));
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
    if (!LayMatrixOut()) {
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
    }
    FModel->Reset();
    setColumnWidth(0, 30);
    if (FShowColors && ColCount() >= 2) setColumnWidth(1, 40);
    for (int c = FShowColors ? 2 : 1; c < ColCount(); ++c) setColumnWidth(c, 64);
    setRowHeight(0, 20);
    int row = keep.isValid() ? std::clamp(keep.row(), HeaderRows(), std::max(HeaderRows(), FRows - 1)) : HeaderRows();
    int col = keep.isValid() ? std::clamp(keep.column(), 1, std::max(1, ColCount() - 1)) : 1;
    if (ColCount() >= 2 && FRows > HeaderRows()) setCurrentIndex(FModel->index(row, std::min(col, ColCount() - 1)));
    RunUpdateHook();
}

void TChartGrid::Recalc() {
    RecalcDimensions();
    if (ColCount() >= 2 && FRows > HeaderRows()) setCurrentIndex(FModel->index(HeaderRows(), 1));
    viewport()->update();
}

void TChartGrid::RunUpdateHook() {
    if (UpdateHook) UpdateHook();
}

std::string TChartGrid::CellText(int col, int row) const {
    const int headers = HeaderRows();
    const int names = FShowFields ? 1 : 0;
    if (col == 0) {
        if (FMatrix && row >= headers && row - headers < int(FMatrixZ.size()))
            return cb::rtl::FloatToStr(FMatrixZ[row - headers]);
        if (row >= headers) return std::to_string(row - headers);
        return row == names ? "#" : "";
    }
    if (row < headers) {
        if (row == names) {
            if (FMatrix) return col - 1 < int(FMatrixX.size()) ? cb::rtl::FloatToStr(FMatrixX[col - 1]) : "";
            if (col == LabelsColumn()) return cb::chart::PlotText(cb::chart::TPlotText::txtText);
            if (col == ColorsColumn()) return "Colors";
            if (const TChartValueList* list = ColumnList(col)) return list->Name();
        } else if (col < ColCount() && FColumns[col].FirstOfSeries) {
            return cb::chart::GetSeriesDisplayTitle(*FColumns[col].Series);
        }
        return "";
    }
    if (col == LabelsColumn()) {
        const int r = row - headers;
        for (TChartSeries* s : ShownSeries())
            if (s->Labels().Count() > r) return s->PointLabel(r);
        return "";
    }
    TChartValueList* list = ColumnList(col);
    const auto [s, r] = CellPoint(col, row);
    if (!s || !list || r < 0 || s->IsEmptyPoint(r)) return "";
    const double v = list->Value(r);
    if (list->DateTime()) return v >= 1 ? cb::rtl::DateTimeToStr(v) : cb::rtl::TimeToStr(v);
    return cb::rtl::FormatFloat(s->ValueFormat(), v);
}

void TChartGrid::Changed(TChartSeries* series) {
    series->NotifyDataChanged();
    series->InvalidateChart();
}

std::pair<TChartSeries*, int> TChartGrid::CellPoint(int col, int row) const {
    const int r = row - HeaderRows();
    if (r < 0 || row >= FRows || col <= 0 || col >= ColCount()) return {nullptr, -1};
    if (FMatrix) {
        if (r >= int(FMatrixZ.size())) return {nullptr, -1};
        const auto at = FMatrixPoints.find({FMatrixX[col - 1], FMatrixZ[r]});
        return {FMatrix, at == FMatrixPoints.end() ? -1 : at->second};
    }
    TChartSeries* s = col == ColorsColumn() ? ColorColumnSeries() : ColumnSeries(col);
    return {s, s && r < s->PointCount() ? r : -1};
}

void TChartGrid::SetCellText(int col, int row, const std::string& text) {
    int r = row - HeaderRows();
    if (r < 0 || col <= 0 || col >= ColCount() || col == ColorsColumn()) return;
    if (FMatrix) {
        // Only a point that stands at the cell's X and Z takes the value.
        r = CellPoint(col, row).second;
        if (r < 0) return;
    }
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
    if (!AllowEditing || !s || FMatrix) return;
    s->SetManualData(true);
    s->AddNullValue();
    Changed(s);
    RecalcDimensions();
    setCurrentIndex(FModel->index(FRows - 1, std::max(1, Col())));
}

// The matrix view's rows are Z values, not points: it inserts and deletes
// no rows.
void TChartGrid::InsertRow() {
    const auto shown = ShownSeries();
    if (!AllowEditing || shown.empty() || FMatrix) return;
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
    if (!AllowEditing || r < 0 || FMatrix) return;
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

// The colour of the current cell's point: on the colour column the point of
// the series it shows, on a value column that column's point.
void TChartGrid::EditCellColor() {
    const auto [s, r] = CellPoint(Col(), Row());
    if (!AllowEditing || !s || r < 0) return;
    cb::gfx::TColor color = s->PointColor(r);
    if (cb::chart::EditColorWithDialog(this, color)) SetCellColor(color);
}

void TChartGrid::SetCellColor(cb::gfx::TColor color) {
    const auto [s, r] = CellPoint(Col(), Row());
    if (!s || r < 0) return;
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
    case cb::chart::seRemove: {
        // The chart tells before the series leaves its list: lay out without
        // it, so that no column keeps it.
        if (Editing()) EndEdit(true);
        FLeaving = e->Series;
        RecalcDimensions();
        FLeaving = nullptr;
        break;
    }
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
        if (lastRow && AllowEditing && !FMatrix) {
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
    bool handled = false;
    if (OnMouseDown) OnMouseDown(e, handled);
    if (handled) return;
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
