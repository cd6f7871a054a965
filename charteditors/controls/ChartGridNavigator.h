#pragma once
// The navigator bar of a data grid: moves between rows and inserts,
// deletes, edits, posts and cancels points. It hooks into the grid to hear
// of row and edit changes and takes its hooks back when it leaves the grid
// (another grid, none, or freed), so the grid never calls a gone navigator.
#include "chartexport/navigator/PlotNavigator.h"

#include <QPointer>

namespace cb::charteditors {

class TChartGrid;

class TChartGridNavigator : public cb::chartexport::TCustomPlotNavigator {
public:
    explicit TChartGridNavigator(QWidget* parent = nullptr);
    ~TChartGridNavigator() override;

    TChartGrid* Grid() const { return FGrid; }
    void SetGrid(TChartGrid* grid);

    void EnableButtons() override;
    void BtnClick(cb::chartexport::TPlotNavigateBtn index) override;

private:
    void Detach();
    void EnableForRow(int row);
    QPointer<TChartGrid> FGrid;
};

}  // namespace cb::charteditors
