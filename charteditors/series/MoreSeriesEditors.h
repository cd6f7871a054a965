#pragma once
// Series editors of the area, fast line, Gantt, arrow, bubble and shape
// series.
#include "charteditors/series/SeriesPointerEditor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace cb::chart {
class TAreaSeries;
class TArrowSeries;
class TBubbleSeries;
class TChartShape;
class TFastLineSeries;
class TGanttSeries;
}  // namespace cb::chart

namespace cb::charteditors {

class TButtonPen;
class TColorButton;
class TPenDialog;
class TPlotFontEditor;

class TAreaSeriesEditor : public TEditorForm {
public:
    explicit TAreaSeriesEditor(QWidget* owner = nullptr);
    QRadioButton* RGMultiArea[3];
    QCheckBox* CBColorEach;
    TColorButton* BAreaColor;
    QCheckBox* CBStairs;
    QCheckBox* CBInvStairs;
    QCheckBox* CBUseOrigin;
    QSpinBox* EOrigin;
    TButtonPen* BAreaLinesPen;
    TButtonPen* BAreaLinePen;
    QPushButton* BPattern;
    QPushButton* Button1;
    QSpinBox* ETransp;

protected:
    void FormShow() override;

private:
    cb::chart::TAreaSeries* Series() const;
    bool FPagesAdded = false;
};

// The pen dialog on the series' line pen (its OK and Cancel hidden) with
// four boxes of the fast line series below it.
class TFastLineSeriesEditor : public TEditorForm {
public:
    explicit TFastLineSeriesEditor(QWidget* owner = nullptr);
    TPenDialog* PenPart;
    QCheckBox* CBDrawAll;
    QCheckBox* CBStairs;
    QCheckBox* CBInvStairs;
    QCheckBox* CBNulls;

protected:
    void FormShow() override;

private:
    cb::chart::TFastLineSeries* Series() const;
};

class TGanttSeriesEditor : public TEditorForm {
public:
    explicit TGanttSeriesEditor(QWidget* owner = nullptr);
    QSpinBox* SEPointVertSize;
    QSpinBox* Edit1;
    TButtonPen* BConnLines;
    TColorButton* BColor;
    QCheckBox* CBColorEach;

protected:
    void FormShow() override;

private:
    cb::chart::TGanttSeries* Series() const;
    bool FPagesAdded = false;
};

class TArrowSeriesEditor : public TEditorForm {
public:
    explicit TArrowSeriesEditor(QWidget* owner = nullptr);
    QSpinBox* SEArrowWidth;
    QSpinBox* SEArrowHeight;
    TButtonPen* BPen;
    TColorButton* BArrowColor;
    QCheckBox* CBColorEach;

    QPushButton* BBrush;

protected:
    void FormShow() override;

private:
    cb::chart::TArrowSeries* Series() const;
};

// The pointer editor with the bubbles' transparency.
class TBubbleSeriesEditor : public TSeriesPointerEditor {
public:
    explicit TBubbleSeriesEditor(QWidget* owner = nullptr);
    QSpinBox* Edit1;

protected:
    void FormShow() override;

private:
    cb::chart::TBubbleSeries* Bubble() const;
};

class TChartShapeEditor : public TEditorForm {
public:
    explicit TChartShapeEditor(QWidget* owner = nullptr);
    QComboBox* CBStyle;
    TColorButton* BShapeColor;
    TButtonPen* BShapePen;
    QCheckBox* CBTrans;
    QCheckBox* CBRound;
    QPlainTextEdit* MemoText;
    QComboBox* RGAlign;
    QComboBox* RGVertAlign;
    QLineEdit* SEX0;
    QLineEdit* SEY0;
    QLineEdit* SEX1;
    QLineEdit* SEY1;
    QComboBox* CBUnits;
    QPushButton* BShapeBrush;
    QPushButton* Button1;
    TPlotFontEditor* FontEditor;

protected:
    void FormShow() override;

private:
    cb::chart::TChartShape* Shape() const;
    void UpdateRound();
    bool FCreating = true;
};

}  // namespace cb::charteditors
