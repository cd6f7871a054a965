#pragma once
// The Panel page of the chart editor: the chart panel's colour, back image,
// borders and bevels, gradient and shadow.
#include "charteditors/common/EditorForm.h"

#include <functional>
#include <string>

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
class TColorButton;

class TFormPlotPanel : public TEditorForm {
public:
    explicit TFormPlotPanel(QWidget* owner = nullptr);
    cb::chart::TCustomChart* Chart() const;

    QTabWidget* PageControl1;
    TColorButton* BPanelColor;
    QCheckBox *CBColorDef, *CBImageInside, *CBTransp;
    QButtonGroup* RGBitmap;
    QPushButton* BBrowseImage;
    QSpinBox *UDLeft, *UDTop, *UDPanelBor, *UDPanelWi, *UDRound;
    QComboBox *CBInner, *CBOuter;
    TButtonPen* BBorder;
    QWidget *GradientTab, *ShadowTab;

protected:
    void FormShow() override;

private:
    void ImageControls();
    void DefaultColorCheck();
    void BrowseClicked();
    TEditorForm *FGradient = nullptr, *FShadow = nullptr;
    bool FChanging = false;
};

}  // namespace cb::charteditors
