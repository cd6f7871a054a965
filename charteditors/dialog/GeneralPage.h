#pragma once
// The General page of the chart editor: margins, mouse zoom and scroll, the
// chart's cursor and the print preview; and the print preview with a page
// navigator that it opens.
#include "charteditors/common/EditorForm.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TCustomChart;
}

namespace cb::charteditors {

class TButtonPen;

// The chart's print preview, with a page navigator; the chart repaints
// afterwards, also when the preview failed.
void ShowChartPrintPreview(QWidget* owner, cb::chart::TCustomChart* chart);

class TFormPlotGeneral : public TEditorForm {
public:
    explicit TFormPlotGeneral(QWidget* owner = nullptr);
    cb::chart::TCustomChart* Chart() const;

    QPushButton* BPrint;
    QSpinBox *UDTopMa, *UDLeftMa, *UDBotMa, *UDRightMa;
    QComboBox* CBMarUnits;
    QTabWidget* PageControl1;
    QCheckBox *CBAllowZoom, *CBAnimatedZoom, *CBUpLeft;
    QSpinBox *UDAniZoomSteps, *UDMinPix;
    TButtonPen* BZoomPen;
    QPushButton* BZoomColor;
    QComboBox *CBDir, *CBZoomMouse, *CBScrollMouse, *CBCursor;
    QButtonGroup* RGPanning;

protected:
    void FormShow() override;

private:
    void MarginRanges();
    void MarginTyped(QSpinBox* box, int side, int opposite);
    void EnableZoom(bool on);
};

}  // namespace cb::charteditors
