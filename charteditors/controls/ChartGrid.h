#pragma once
// The data grid: the points of a chart's series (or of one series) as a
// table, one row per point index and one column per value list (X only
// when it matters), with optional columns for the point labels and the
// point colours. Edits go straight into the series: typing a value, a
// label or a colour, appending, inserting and deleting rows. The grid
// follows the chart: points added, removed or changed elsewhere show at once.
//
// Rows 0 and 1 are headers (series titles, value list names), column 0
// holds the point numbers; grid row r + HeaderRows() is point r.
#include "chart/panel/PlotEvents.h"
#include "charteditors/common/EditedObject.h"

#include <QPointer>
#include <QTableView>

#include <functional>
#include <string>
#include <vector>

namespace cb::chart {
class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::charteditors {

enum TChartGridShow { cgsAuto, cgsNo, cgsYes };

class TChartGridModel;

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
    bool FWriting = false;
    bool FDestroying = false;
};

}  // namespace cb::charteditors
