#pragma once
// The Axis page of the chart editor: the chart's axes (six built-in and the
// custom ones) in a list, custom axes added and deleted, and the selected
// axis edited on the Scales, Title, Labels, Ticks, Minor and Position tabs.
// TAxisMaxMin is the small dialog in which an axis minimum or maximum is
// typed, as a number or as a date and time.
#include "charteditors/common/EditorForm.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TChartAxis;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::charteditors {

class TButtonPen;

class TAxisMaxMin : public QDialog {
public:
    explicit TAxisMaxMin(QWidget* owner = nullptr);
    bool IsDateTime = false;
    double Value = 0;
    QLabel *Label1, *Label2;
    QLineEdit *EMaximum, *EMinimum;
    QPushButton *BitBtn1, *BitBtn2;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void OkClicked();
};

class TFormPlotAxis : public TEditorForm {
public:
    explicit TFormPlotAxis(QWidget* owner = nullptr);

    cb::chart::TChartAxis* Axis() const;
    cb::chart::TCustomAxisPanel* Chart() const;
    // Points the page at another axis of the same chart (the tree mode).
    void SetAxis(cb::chart::TChartAxis* axis);
    // Reloads the controls of the selected axis.
    void PageChange();
    // The list entry of the axis: 0..5 the built-in axes, else its index in
    // the chart's axis list.
    int EntryOfAxis(const cb::chart::TChartAxis* axis) const;
    cb::chart::TChartAxis* AxisOfEntry(int entry) const;
    void FillAxes();
    // The limit dialog for the maximum (True) or minimum.
    void EditLimit(bool maximum);

    std::function<void(cb::chart::TChartAxis*)> OnHorizontalChanged;

    QListWidget* LBAxes;
    QPushButton *BAdd, *BDelete;
    QCheckBox *CBShow, *CBAxisBeh;
    QTabWidget* PageControl;
    // Scales
    QCheckBox *CBAutomatic, *CBVisible, *CBLogarithmic, *LogE, *CBInverted, *CBAutoMin, *CBAutoMax;
    QLineEdit* ELogBase;
    QLabel *LAxisIncre, *LAxisMin, *LAxisMax;
    QPushButton *BIncre, *BAxisMin, *BAxisMax;
    QSpinBox *UDMinOff, *UDMaxOff;
    // Title
    QLineEdit* ETitle;
    QSpinBox *UDTitleAngle, *UDTitleSize;
    QCheckBox* CBTitleVisible;
    QWidget* TitleText;
    // Labels
    QCheckBox *CBLabels, *CBMultiline, *CBOnAxis, *CBRoundFirst, *CBAlternate, *CBExpo, *CBLabelAlign;
    QSpinBox *UDLabelsSize, *UDLabelsAngle, *UDSepar;
    QComboBox *CBLabelStyle, *CBFormat;
    QLabel* LabelAxisFormat;
    QPushButton* Button1;
    QWidget* LabelsText;
    // Ticks and minor
    TButtonPen *BAxisPen, *BTickPen, *BTickInner, *BAxisGrid, *BTickMinor, *BMinorGrid;
    QSpinBox *UDAxisTickLength, *UDInnerTicksLength, *UDGridZ, *UDAxisMinorTickLen, *UDMinorCount;
    QCheckBox *CBTickOnLabels, *CBGridCentered;
    // Position
    QSpinBox *UDPos, *UDStart, *UDEnd, *UDZ;
    QComboBox* CBPosUnits;
    QCheckBox *CBOtherSide, *CBHorizAxis;

protected:
    void FormShow() override;

private:
    void LoadScales();
    void LoadLabels();
    void FormatChosen(const QString& text);
    void EditIncrement();
    void LogBaseTyped();
    void AddAxis();
    void DeleteAxis();
    void BindFonts();

    cb::chart::TChartAxis* FAxis = nullptr;
    TEditorForm* FLabelsFont = nullptr;
    TEditorForm* FTitleFont = nullptr;
    bool FChangingAuto = false;
};

}  // namespace cb::charteditors
