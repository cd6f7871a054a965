#pragma once
// The Paging page of the chart editor (points per page, last page scaled,
// legend of the current page) and the page navigator it and the print
// preview use: first, prior, next and last page of a chart.
#include "chart/panel/CustomAxisPanel.h"
#include "chartexport/navigator/PlotNavigator.h"
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QLabel;
class QSpinBox;

namespace cb::chart {
class TCustomAxisPanel;
class TCustomChart;
}  // namespace cb::chart

namespace cb::charteditors {

class TChartPageNavigator : public cb::chartexport::TCustomPlotNavigator {
public:
    explicit TChartPageNavigator(QWidget* parent = nullptr);
    cb::chart::TCustomAxisPanel* Chart() const;
    void SetChart(cb::chart::TCustomAxisPanel* chart) { SetPanel(chart); }
    // Only an axis panel is taken; anything else sets no chart.
    void SetPanel(cb::chart::TCustomPlotPanel* panel) override;
    void EnableButtons() override;
    int PageCount() override;
    void Print() override;
    void HandleChartEvent(cb::chart::TPlotEvent& event) override;
    void BtnClick(cb::chartexport::TPlotNavigateBtn index) override;
};

class TFormPlotPage : public TEditorForm {
public:
    explicit TFormPlotPage(QWidget* owner = nullptr);
    cb::chart::TCustomChart* Chart() const;
    void RefreshLabel();

    QSpinBox* UDPointsPerPage;
    QCheckBox *CBScaleLast, *CBPageLegend, *CBPageNum;
    TChartPageNavigator* ChartPageNavigator1;
    QLabel* LabelPages;

protected:
    void FormShow() override;
};

}  // namespace cb::charteditors
