#pragma once
// The pen dialog ("Border Editor"): visibility, style, width, colour and end
// style of a chart pen, or style, width and colour of a plain pen. It edits
// the pen live; Cancel gives back the pen as it was when the dialog opened
// (only when something was changed).
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QLabel;

namespace cb::gfx {
class TPen;
}
namespace cb::chart {
class TChartPen;
}

namespace cb::charteditors {

class TColorButton;

class TPenDialog : public TEditorForm {
    Q_OBJECT
public:
    explicit TPenDialog(QWidget* owner = nullptr);

    QCheckBox* CBVisible;
    QLabel* LStyle;
    QComboBox* CBStyle;
    QLabel* LWidth;
    QSpinBox* SEWidth;
    TColorButton* BColor;
    QComboBox* CBEndStyle;
    QPushButton* BOk;
    QPushButton* BCancel;

    // The pen bound, whichever type (none when gone).
    cb::gfx::TPen* EditedPen() const;
    cb::chart::TChartPen* EditedChartPen() const;

protected:
    void FormShow() override;
    void RestoreBackup() override;

private:
    void StyleChanged(int index);
    void WidthChanged(int value);
    void VisibleClicked();
    void EndStyleChanged(int index);
};

// Opens the pen dialog near the button on the pen (a TChartPen or a plain
// gfx::TPen, bound as its own type); True on OK.
bool EditChartPen(QWidget* button, const TEditedObject& pen, bool hideColor = false);

}  // namespace cb::charteditors
