#pragma once
// The Legend page of the chart editor, also opened on its own on the extra
// legend tool's legend: style, position, symbols and the legend's title,
// with the shape editor of the legend and of its title on tabs of their own.
#include "charteditors/common/EditorForm.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TChartLegend;
}

namespace cb::charteditors {

class TButtonPen;

class TFormPlotLegend : public TEditorForm {
public:
    explicit TFormPlotLegend(QWidget* owner = nullptr);
    cb::chart::TChartLegend* Legend() const;
    // Binds a legend whose owner answers for it (a tool's legend: the tool).
    void BindLegend(const TEditedObject& legend);

    QTabWidget *PageControl1, *PageControl2;
    QCheckBox *CBShow, *CBInverted, *CBFontColor, *CBResizeChart, *CBCustPos;
    QComboBox *CBLegendStyle, *CBLegStyle, *CBCheckBoxes;
    TButtonPen* BDivLines;
    QSpinBox *UDVertSpacing, *UDTopPos, *UDMargin, *UDLeft, *UDTop;
    QButtonGroup* RGPosition;
    QSpinBox* UDColWi;
    QComboBox *CBColWUnits, *CBSymbolPos;
    QCheckBox *CBContinuous, *CBVisible, *CBSymPen, *CBSquared;
    TButtonPen* BSymPen;
    QPlainTextEdit* MemoText;
    QComboBox* CBTextAlign;
    QCheckBox* CBTitleVisible;
    QWidget *ShapeTab, *TitleShapeTab;

protected:
    void FormShow() override;

private:
    void LoadMargin();
    void EnableCustomPosition();
    TEditorForm *FShape = nullptr, *FTitleShape = nullptr;
};

}  // namespace cb::charteditors
