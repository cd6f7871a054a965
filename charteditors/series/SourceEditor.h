#pragma once
// The base of data source editors shown on the series tab's "Data Source"
// page: a source combo and "&Apply". Changes are collected and written only
// on Apply; closing with changes pending asks whether to apply them.
#include "charteditors/common/EditorForm.h"

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace cb::chart {
class TChartSeries;
}

namespace cb::charteditors {

class TBaseSourceEditor : public TEditorForm {
public:
    explicit TBaseSourceEditor(QWidget* owner = nullptr);
    QWidget* Pan;
    QLabel* LLabel;
    QComboBox* CBSources;
    QPushButton* BApply;

    // Asks "Apply Changes ?" while changes are pending: Yes applies (and
    // allows closing only when that succeeded), No drops them, Cancel keeps
    // the editor open.
    bool CloseQuery();
    // Writes the collected choice; false (Apply stays on) when refused.
    virtual bool Apply() { return true; }

protected:
    cb::chart::TChartSeries* EditedSeries() const;
    void FormShow() override;
};

}  // namespace cb::charteditors
