#pragma once
// The data grid: the points of a chart's series (or of one series) as a
// table, one row per point index and one column per value list (X only
// when it matters), with optional columns for the point labels and the
// point colours. Edits go straight into the series: typing a value, a
// label or a colour, appending, inserting and deleting rows. The grid
// follows the chart: points added, removed or changed elsewhere show at once.
//
// Rows 0 and 1 are headers (series titles, value list names), column 0
// holds the point numbers; grid row r + HeaderRows() is point r. Row 0
// shows each series' legend symbol and title over its first column.
//
// The matrix view (Grid3DMode) shows one series with X, Y and Z values as a
// table of Y: one column per distinct X value, one row per distinct Z value,
// both in ascending order (row 1 and column 0 show them); a cell is the
// point with that X and Z, empty when there is none. Typing into a cell
// writes that point's Y; rows are neither added nor deleted there.
#include "chart/panel/PlotEvents.h"
#include "charteditors/common/EditedObject.h"

#include <QPointer>
#include <QTableView>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {
class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::charteditors {

enum TChartGridShow { cgsAuto, cgsNo, cgsYes };

class TChartGridModel;
class TChartGridDelegate;

class TChartGrid : public QTableView, public cb::chart::TPlotEventListener {
public:
    explicit TChartGrid(QWidget* parent = nullptr);
    ~TChartGrid() override;

    // All series of the chart (clears Series).
    cb::chart::TCustomAxisPanel* Chart() const;
    void SetChart(cb::chart::TCustomAxisPanel* chart);
    // One series alone (clears Chart).
    cb::chart::TChartSeries* Series() const;
    void SetSeries(cb::chart::TChartSeries* series);

    bool ShowColors() const { return FShowColors; }
    void SetShowColors(bool on);
    bool ShowLabels() const { return FShowLabels; }
    void SetShowLabels(bool on);
    TChartGridShow ShowXValues() const { return FShowXValues; }
    void SetShowXValues(TChartGridShow show);
    bool ShowFields() const { return FShowFields; }
    bool Grid3DMode() const { return FGrid3DMode; }
    void SetGrid3DMode(bool on);
    // A series with a third (Z) value list of its own, and that list.
    static bool SeriesHasZValues(cb::chart::TChartSeries& series);
    static cb::chart::TChartValueList* ZValues(cb::chart::TChartSeries& series);
    // The series the matrix view shows: the bound series when it has Z
    // values, else the chart's first one that has; none outside the matrix
    // view.
    cb::chart::TChartSeries* MatrixSeries() const { return FMatrix; }

    int HeaderRows() const { return FShowFields ? 2 : 1; }
    int RowCount() const;
    int ColCount() const;
    int Row() const { return currentIndex().row(); }
    int Col() const { return currentIndex().column(); }
    // The cell's text, as drawn and as edited.
    std::string CellText(int col, int row) const;
    // What a column stands for: the series and value list (none for the
    // number, label and colour columns).
    cb::chart::TChartSeries* ColumnSeries(int col) const;
    cb::chart::TChartValueList* ColumnList(int col) const;
    int LabelsColumn() const;  // -1 without labels
    // The series whose point colours the colour column shows.
    cb::chart::TChartSeries* ColorColumnSeries() const;
    int ColorsColumn() const;  // -1 without colours
    // The point a cell stands for: its series and index (index -1 and the
    // series none for the number and label columns and the headers). On
    // the colour column, the point of the series it shows colours of.
    std::pair<cb::chart::TChartSeries*, int> CellPoint(int col, int row) const;

    // Writes a cell's text to the series (numbers, date-times, labels);
    // text that does not read as a value changes nothing.
    void SetCellText(int col, int row, const std::string& text);
    void InsertRow();
    void AppendRow();
    void DeleteRow();
    void EditCell();
    void EndEdit(bool cancel);
    bool Editing() const;
    void EditCellColor();
    void SetCellColor(cb::gfx::TColor color);
    bool HasPoints() const;
    // Lays the columns and rows out again from the series.
    void RecalcDimensions();

    bool AllowEditing = true;
    std::function<void()> OnChangeColor;
    // (column, row, allow): a handler may refuse an edit.
    std::function<void(int, int, bool&)> OnEditingCell;
    std::function<void(int, int, const std::string&)> OnSetEditText;
    // Runs before the grid handles a mouse press; setting handled skips it.
    std::function<void(QMouseEvent* e, bool& handled)> OnMouseDown;

    // Set by the navigator bound to the grid, cleared when it leaves.
    std::function<void()> UpdateHook;
    std::function<void(int col, int row)> SelectCellHook;
    QObject* Navigator() const { return FNavigator; }
    void SetNavigator(QObject* navigator) { FNavigator = navigator; }

    void HandleEvent(cb::chart::TPlotEvent& event) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    friend class TChartGridModel;
    friend class TChartGridDelegate;
    struct TColumn {
        cb::chart::TChartSeries* Series = nullptr;
        cb::chart::TChartValueList* List = nullptr;
        bool FirstOfSeries = false;
    };
    std::vector<cb::chart::TChartSeries*> ShownSeries() const;
    cb::chart::TCustomAxisPanel* ListenedChart() const;
    void Listen(cb::chart::TCustomAxisPanel* chart);
    void Recalc();
    void RunUpdateHook();
    // The series the current row's point belongs to on the colour column.
    cb::chart::TChartSeries* ColorSeries() const;
    bool XColumn(cb::chart::TChartSeries& s) const;
    bool SeriesExists(const cb::chart::TChartSeries* s) const;
    void Changed(cb::chart::TChartSeries* series);
    cb::chart::TChartSeries* FindMatrixSeries() const;
    // Lays the matrix view out; false when no series has Z values.
    bool LayMatrixOut();

    TChartGridModel* FModel;
    TObjectGuard FChart;
    TObjectGuard FSeries;
    TObjectGuard FListened;  // the chart whose events the grid hears
    QObject* FNavigator = nullptr;
    std::vector<TColumn> FColumns;  // index: grid column
    int FRows = 2;
    bool FShowColors = false;
    bool FShowLabels = true;
    TChartGridShow FShowXValues = cgsAuto;
    bool FShowFields = true;
    bool FGrid3DMode = false;
    // The matrix view: its series, the distinct X (columns 1..) and Z (data
    // rows) values, and the point at each (X, Z).
    cb::chart::TChartSeries* FMatrix = nullptr;
    std::vector<double> FMatrixX, FMatrixZ;
    std::map<std::pair<double, double>, int> FMatrixPoints;
    bool FWriting = false;
    cb::chart::TChartSeries* FLeaving = nullptr;  // leaving the chart, while it tells
    bool FDestroying = false;
};

}  // namespace cb::charteditors
