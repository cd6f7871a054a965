#pragma once
// The print preview dialog: printer choice and set-up, orientation, margins
// in percent, detail and proportional margins beside the preview panel.
#include "chartexport/preview/PlotPreviewPanel.h"
#include "platform/gfx/Geometry.h"

#include <QDialog>

#include <functional>
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
class QVBoxLayout;

namespace cb::chartexport {

class TCustomPlotNavigator;

// A printer for charts: landscape until the user chooses otherwise.
std::unique_ptr<QPrinter> NewChartPrinter();

// Makes a page navigator for the dialog (a navigator "class").
using TPlotNavigatorClass = std::function<TCustomPlotNavigator*(QWidget* parent)>;

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
    // Set before showing: the dialog then carries a page navigator of that
    // class below its settings; it repaints the preview when clicked and
    // prints every page when the chart has more than one.
    void SetPageNavigatorClass(TPlotNavigatorClass cls) { FNavigatorClass = std::move(cls); }
    TCustomPlotNavigator* PageNavigator() const { return FNavigator; }
    // "&Print": through the navigator when it reports more than one page,
    // else the preview's panels; a failure is shown, not raised. With the
    // entry "Print to PDF File" chosen it first asks for the file (unless
    // the printer already writes one).
    void PrintClicked();
    // Asks for the PDF file to print to; empty: a save dialog.
    std::function<std::string()> OnAskPdfFile;
    // The printer list's last entry, always offered.
    static constexpr const char* KPdfFileEntry = "Print to PDF File";

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
    void CreateNavigator();
    bool PdfFileChosen() const;

    std::unique_ptr<QPrinter> FOwnPrinter;
    QPrinter* FPrinter;  // the own one or the creator's
    QVBoxLayout* FLeftPanel = nullptr;
    TPlotNavigatorClass FNavigatorClass;
    TCustomPlotNavigator* FNavigator = nullptr;  // owned through Qt's parent
    cb::gfx::TRect FOldMargins;
    bool FChangingMargins = false;
    bool FChangingProp = false;
};

}  // namespace cb::chartexport
