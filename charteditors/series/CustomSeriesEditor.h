#pragma once
// The editor of line series (and other series of the line family that
// name it): colour, line pen, colour each point or line, stacking,
// clickable line, stairs, and for line series proper the 3D darkening,
// 3D height and outline.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace cb::chart {
class TCustomSeries;
}

namespace cb::charteditors {

class TButtonPen;
class TColorButton;

class TCustomSeriesEditor : public TEditorForm {
public:
    explicit TCustomSeriesEditor(QWidget* owner = nullptr);

    TColorButton* BLineColor;
    TButtonPen* BLineBorder;
    QCheckBox* CBColorEach;
    QComboBox* CBStack;
    QCheckBox* CBClick;
    QCheckBox* CheckBox1;
    QCheckBox* CBStairs;
    QCheckBox* CBInvStairs;
    QCheckBox* CBDark3D;
    QSpinBox* EHeight;
    QLabel* LHeight;
    TButtonPen* BOutline;
    QPushButton* BBrush;
    QPushButton* Button1;

protected:
    void FormShow() override;

private:
    cb::chart::TCustomSeries* Series() const;
    bool FPagesAdded = false;
};

}  // namespace cb::charteditors
