#pragma once
// The pointer editor: the editor of point series and the pointer page of
// line, area, Gantt and bubble series. It edits a TSeriesPointer bound as a
// part, or the pointer of a bound series (then "Color Each" shows too).
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace cb::chart {
class TChartSeries;
class TMarksCallout;
class TSeriesPointer;
class TCustomSeries;
}  // namespace cb::chart

namespace cb::charteditors {

class TButtonPen;

class TSeriesPointerEditor : public TEditorForm {
public:
    explicit TSeriesPointerEditor(QWidget* owner = nullptr);
    // Hides the width and height labels and boxes.
    void HideSizeControls();

    QCheckBox* CBDrawPoint;
    QCheckBox* CB3dPoint;
    QCheckBox* CBPoDark;
    QCheckBox* CBInflate;
    QLabel* Label1;
    QSpinBox* SEPointHorizSize;
    QLabel* Label2;
    QSpinBox* SEPointVertSize;
    QComboBox* CBStyle;
    QCheckBox* CBDefBrushColor;
    TButtonPen* BPoinPenCol;
    QCheckBox* CBColorEach;
    QPushButton* BPointFillColor;
    QPushButton* BGradient;

protected:
    void FormShow() override;

    cb::chart::TSeriesPointer* Pointer() const;
    cb::chart::TCustomSeries* Series() const;

private:
    void VisibleChanged(bool on);
    void Update3D();
    void UpdateDefaultColor();
};

// The pointer dialog on a marks callout, modal near the component, without
// "Inflate Margins" and "Color Each"; its changes are live (no OK or Cancel).
void EditCalloutPointer(QWidget* component, cb::chart::TMarksCallout& callout, cb::chart::TChartSeries* series);

}  // namespace cb::charteditors
