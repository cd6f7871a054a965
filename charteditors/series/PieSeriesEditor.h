#pragma once
// The editor of pie series (options, grouping of small slices into one
// "other" slice with its own legend, colours) and its "Circled" page (circled, 3D, rotation,
// radii, background colour) shared by circled series.
#include "charteditors/common/EditorForm.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace cb::chart {
class TCircledSeries;
class TPieSeries;
}  // namespace cb::chart

namespace cb::charteditors {

class TButtonPen;
class TColorButton;

class TPieSeriesEditor : public TEditorForm {
public:
    explicit TPieSeriesEditor(QWidget* owner = nullptr);

    QCheckBox* CBDark3d;
    QSpinBox* SEExpBig;
    QCheckBox* CBPatterns;
    TButtonPen* BPen;
    QSpinBox* Edit1;
    QCheckBox* CBMarksAutoPosition;
    QSpinBox* Edit2;
    QComboBox* CBMultiple;
    QComboBox* CBOther;
    QLineEdit* EOtherValue;
    QLineEdit* EOtherLabel;
    QCheckBox* CBColorEach;
    TColorButton* BColor;

    QPushButton* BShadow;
    QPushButton* Button1;
    QPushButton* Button2;  // the other slice's legend

    // Opens the legend editor modally on a legend (owner, legend); set by
    // the chart editor dialog's registration, none before.
    static std::function<void(QWidget*, const TEditedObject&)>& LegendEditor();

protected:
    void FormShow() override;

private:
    void EditOtherLegend();
    cb::chart::TPieSeries* Series() const;
    bool Writing() const;
    void UpdateOther();
    bool FPagesAdded = false;
};

class TCircledSeriesEditor : public TEditorForm {
public:
    explicit TCircledSeriesEditor(QWidget* owner = nullptr);

    QCheckBox* CBCircled;
    QCheckBox* CB3D;
    QSpinBox* Edit1;
    QSpinBox* Edit2;
    QCheckBox* CBAutoXR;
    QSpinBox* Edit3;
    QCheckBox* CBAutoYR;
    TColorButton* BBack;
    QCheckBox* CBTransp;

    QPushButton* BGradient;

protected:
    void FormShow() override;

private:
    cb::chart::TCircledSeries* Series() const;
    bool Writing() const;
    bool FCreating = true;
};

}  // namespace cb::charteditors
