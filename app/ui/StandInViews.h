#pragma once
// STAND-IN until the grid view (GridDisplay.*) and the bottom container
// with the chart view (MainBottomContainer.*) land: the smallest panes the
// main window can dock. The grid stand-in shows the pivot grid the display
// manager fills; the bottom stand-in holds no chart. Removed when the real
// ones arrive.
#include "app/ui/ContentForm.h"

#include <string>

class QLabel;

namespace cb::grid {
class TExtStringGrid;
}
namespace cb::chart {
class TChart;
}
namespace cb::olap {
class CubeDef;
}

namespace cb::app {

class TStandInGridDisplay : public TContentForm {
    Q_OBJECT
public:
    explicit TStandInGridDisplay(QWidget* parent = nullptr);

    void SetCubeName(const std::string& text);
    void SetLastProcessed(const std::string& text);
    void ApplyTheme(const TTheme* theme) override;

    QLabel* lblCubeName;
    QLabel* lblLastProcessed;
    cb::grid::TExtStringGrid* gridDisplay;
};

class TStandInBottomContainer : public TContentForm {
    Q_OBJECT
public:
    explicit TStandInBottomContainer(QWidget* parent = nullptr);

    void ShowChartView(const cb::olap::CubeDef* cubeDef);
    void ClearContent();
    bool HasChartView() const { return FChartView != nullptr; }
    void FreeChartView();
    cb::chart::TChart* GetChart() const { return nullptr; }

private:
    TContentForm* FChartView = nullptr;  // owned through Qt's parent
};

}  // namespace cb::app
