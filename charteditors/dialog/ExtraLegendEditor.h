#pragma once
// The extra legend tool's editor: the series the legend lists, and a button
// that opens the legend page on the tool's own legend.
#include "charteditors/series/SeriesToolEditor.h"

class QPushButton;

namespace cb::chart {
class TExtraLegendTool;
}

namespace cb::charteditors {

class TFormPlotLegend;

class TExtraLegendEditor : public TSeriesToolEditor {
public:
    explicit TExtraLegendEditor(QWidget* owner = nullptr);
    cb::chart::TExtraLegendTool* ExtraLegend() const;
    // Shows the legend page modally on the tool's legend; it edits in place.
    void EditLegend();
    // Runs with the legend page before it is shown (tests act on it).
    std::function<void(TFormPlotLegend&)> OnLegendDialog;

    QPushButton* Button1;
};

}  // namespace cb::charteditors
