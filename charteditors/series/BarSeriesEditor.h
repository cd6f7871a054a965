#pragma once
// The editor of bar series (vertical and horizontal): style, pens, colour,
// bevel, 3D sides, width, offset and depth percentages, side margins and
// mark position; and its "Stack" page (multiple bars, origin, stack group).
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cb::chart {
class TCustomBarSeries;
}

namespace cb::charteditors {

class TButtonPen;
class TColorButton;

class TBarSeriesEditor : public TEditorForm {
public:
    explicit TBarSeriesEditor(QWidget* owner = nullptr);

    QComboBox* CBBarStyle;
    TButtonPen* BBarPen;
    QCheckBox* CBColorEach;
    TColorButton* BBarColor;
    TButtonPen* BTickLines;
    QSpinBox* EBevel;
    QLabel* LBevel;
    QCheckBox* CBDarkBar;
    QSpinBox* SEBarwidth;
    QSpinBox* SEBarOffset;
    QSpinBox* Edit1;
    QCheckBox* CBBarSideMargins;
    QCheckBox* CBMarksAutoPosition;

    QPushButton* BBarBrush;
    QPushButton* BGradient;

protected:
    void FormShow() override;

private:
    cb::chart::TCustomBarSeries* Series() const;
    void UpdateStyleControls();
    bool FCreating = true;
    bool FPagesAdded = false;
};

class TStackBarSeriesEditor : public TEditorForm {
public:
    explicit TStackBarSeriesEditor(QWidget* owner = nullptr);

    QRadioButton* RGMultiBar[6];
    QCheckBox* CBYOrigin;
    QLineEdit* EYOrigin;
    QSpinBox* EGroup;
    QLabel* LGroup;

protected:
    void FormShow() override;

private:
    cb::chart::TCustomBarSeries* Series() const;
    void UpdateGroup();
    bool FCreating = true;
};

}  // namespace cb::charteditors
