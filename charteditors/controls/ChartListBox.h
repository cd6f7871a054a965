#pragma once
// The series list box: one row per series of a chart with its active check,
// its colour (legend symbol) and its title. Ticking the check shows or hides
// the series, Delete deletes the selected series (after asking), dragging a
// title or MoveUp/MoveDown reorders them, a double click on the colour edits
// the series colour. The list follows the chart: series added, removed,
// renamed, recoloured or reordered elsewhere show at once; a chart that goes
// empties the list.
#include "chart/panel/PlotEvents.h"
#include "charteditors/common/EditedObject.h"

#include <QListWidget>

#include <functional>
#include <vector>

namespace cb::chart {
class TChartSeries;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::charteditors {

enum class TCheckBoxesStyle { cbsCheck, cbsRadio };

class TChartListBox : public QListWidget, public cb::chart::TPlotEventListener {
public:
    explicit TChartListBox(QWidget* parent = nullptr);
    ~TChartListBox() override;

    cb::chart::TCustomAxisPanel* Chart() const;
    void SetChart(cb::chart::TCustomAxisPanel* chart);
    TCheckBoxesStyle CheckStyle() const { return FCheckStyle; }
    // Radio style keeps only the first active series active.
    void SetCheckStyle(TCheckBoxesStyle style);

    bool AskDelete = true;
    bool AllowDeleteSeries = true;
    bool EnableDragSeries = true;
    bool EnableChangeColor = true;
    // When set, only the series it accepts are listed (a series group).
    std::function<bool(const cb::chart::TChartSeries*)> Filter;

    // Lists the chart's series again, selecting this one (else the first).
    void FillSeries(cb::chart::TChartSeries* select = nullptr);
    cb::chart::TChartSeries* SeriesAtRow(int row) const;
    cb::chart::TChartSeries* SelectedSeries() const;
    void SelectSeries(cb::chart::TChartSeries* series);
    // Exchanges two rows and the two series in the chart.
    void MoveSeries(int from, int to);
    void MoveUp();
    void MoveDown();
    // Asks (when AskDelete) and frees the selected series; True when deleted.
    bool DeleteSelected();

    // Left edges of the sections: check, colour, title.
    static constexpr int CheckLeft = 26, ColorLeft = 42, TitleLeft = 68;

    std::function<void(cb::chart::TChartSeries*)> OnChangeActive, OnChangeColor, OnRemovedSeries;
    std::function<void(cb::chart::TChartSeries*, cb::chart::TChartSeries*)> OnChangeOrder;

    void HandleEvent(cb::chart::TPlotEvent& event) override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void Detach();
    void ToggleActive(cb::chart::TChartSeries* series);
    int RowOf(const cb::chart::TChartSeries* series) const;

    TObjectGuard FChart;
    TCheckBoxesStyle FCheckStyle = TCheckBoxesStyle::cbsCheck;
};

}  // namespace cb::charteditors
