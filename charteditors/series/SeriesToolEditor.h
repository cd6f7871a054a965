#pragma once
// The editor of tools bound to one series: which series of the tool's chart,
// or "(none)".
#include "charteditors/common/EditorForm.h"

class QComboBox;

namespace cb::chart {
class TPlotCustomToolSeries;
}

namespace cb::charteditors {

class TSeriesToolEditor : public TEditorForm {
public:
    explicit TSeriesToolEditor(QWidget* owner = nullptr);
    QComboBox* CBSeries;

protected:
    void FormShow() override;
    cb::chart::TPlotCustomToolSeries* Tool() const;
};

}  // namespace cb::charteditors
