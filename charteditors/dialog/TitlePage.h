#pragma once
// The Titles page of the chart editor: one of the chart's four titles,
// chosen in a combo, with its text, visibility, frame, alignment and
// custom position; the shape editor (frame, colours) on a tab of its own.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TChartTitle;
class TCustomChart;
}  // namespace cb::chart

namespace cb::charteditors {

class TFormPlotTitle : public TEditorForm {
public:
    explicit TFormPlotTitle(QWidget* owner = nullptr);
    cb::chart::TChartTitle* Title() const;
    cb::chart::TCustomChart* Chart() const;
    // Edits another title of the chart and selects its combo entry.
    void SelectTitle(cb::chart::TChartTitle* title);
    // The combo entry of a title: 0 Title, 1 SubTitle, 2 SubFoot, 3 Foot.
    int EntryOfTitle(const cb::chart::TChartTitle* title) const;

    QComboBox* CBTitles;
    QTabWidget* PageControlTitle;
    QPlainTextEdit* MText;
    QCheckBox *CBVisible, *CBAdjust, *CBCustPos;
    QComboBox* CBAlign;
    QSpinBox *UDLeft, *UDTop;
    QWidget* ShapeTab;

protected:
    void FormShow() override;

private:
    void LoadTitle();
    TEditorForm* FShape = nullptr;
    bool FAssigning = false;
};

}  // namespace cb::charteditors
