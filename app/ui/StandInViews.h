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

class TDisplayManager;

class TStandInGridDisplay : public TContentForm {
    Q_OBJECT
public:
    explicit TStandInGridDisplay(QWidget* parent = nullptr);

    // Double-clicking a member caption drills into it or collapses it.
    void SetDisplayManager(TDisplayManager* displayManager) { FDisplayManager = displayManager; }
    void SetCubeName(const std::string& text);
    void SetLastProcessed(const std::string& text);
    void ApplyTheme(const TTheme* theme) override;

    QLabel* lblCubeName;
    QLabel* lblLastProcessed;
    cb::grid::TExtStringGrid* gridDisplay;

private:
    TDisplayManager* FDisplayManager = nullptr;
};

}  // namespace cb::app
