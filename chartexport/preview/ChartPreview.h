#pragma once
// The print preview dialog: printer choice and set-up, orientation, margins
// in percent, detail and proportional margins beside the preview panel.
#include "chartexport/preview/PlotPreviewPanel.h"
#include "platform/gfx/Geometry.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace cb::chartexport {

class TChartPreview : public QDialog {
public:
    explicit TChartPreview(QWidget* parent = nullptr);
    ~TChartPreview() override;

    // Takes the panel's settings into the controls (done on show); what
    // Options leaves out stays disabled.
    void TakePanel();
    unsigned Options = 0xFFFFFFFF;
    // The printer shown and printed on (not owned); none uses the form's own.
    void SetPrinter(QPrinter* printer);
    QPrinter& Printer() { return *FPrinter; }

    QComboBox* CBPrinters;
    QPushButton *BSetupPrinter, *BPrint, *BClose, *BReset;
    QGroupBox* Orientation;
    QRadioButton *RBPortrait, *RBLandscape;
    QGroupBox* GBMargins;
    QSpinBox *UDTopMa, *UDLeftMa, *UDBotMa, *UDRightMa;
    QGroupBox* ChangeDetailGroup;
    QSlider* Resolution;
    QCheckBox *ShowMargins, *CBProp, *CheckBox1;
    TPlotPreviewPanel* PlotPreviewPanel1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefreshMargins();
    void MarginChanged(QSpinBox* box, int side);
    void SetSpins(const cb::gfx::TRect& m);
    void OrientationClicked();
    void FillPrinters();

    std::unique_ptr<QPrinter> FOwnPrinter;
    QPrinter* FPrinter;  // the own one or the creator's
    cb::gfx::TRect FOldMargins;
    bool FChangingMargins = false;
    bool FChangingProp = false;
};

}  // namespace cb::chartexport
