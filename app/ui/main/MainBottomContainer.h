#pragma once
// The bottom pane of the main window: creates, docks and frees the chart
// view and hands out its chart.
#include "app/ui/widgets/ContentForm.h"

#include <memory>

namespace cb::chart {
class TChart;
}
namespace cb::olap {
class CubeDef;
}

namespace cb::app {

class TDisplayManager;
class TfrmMainGraphDisplay;

class TfrmMainBottomContainer : public TContentForm {
    Q_OBJECT
public:
    // The display manager is handed to each chart view (not owned).
    explicit TfrmMainBottomContainer(QWidget* parent, TDisplayManager* displayManager = nullptr);
    ~TfrmMainBottomContainer() override;

    void SetDisplayManager(TDisplayManager* displayManager) { FDisplayManager = displayManager; }
    // A new chart view for the cube; none without a cube definition.
    void ShowChartView(const cb::olap::CubeDef* cubeDef);
    void ClearContent();
    bool HasChartView() const { return FChartView != nullptr; }
    void FreeChartView();
    TfrmMainGraphDisplay* ChartView() const { return FChartView.get(); }
    cb::chart::TChart* GetChart() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TDisplayManager* FDisplayManager;
    std::unique_ptr<TfrmMainGraphDisplay> FChartView;
};

}  // namespace cb::app
