#pragma once
// The chart font editor ("PlotFont Editor"): the font itself through the
// font dialog, colour, character spacing, outline pen, shadow, gradient and
// whether the gradient fills the outline. Usually embedded (EmbedFontEditor);
// shown as a window of its own, closing it with Esc gives the font back.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QFrame;
class QPushButton;
class QSpinBox;
class QWidget;

namespace cb::chart {
class TPlotFont;
}

namespace cb::charteditors {

class TButtonPen;

class TPlotFontEditor : public TEditorForm {
    Q_OBJECT
public:
    explicit TPlotFontEditor(QWidget* owner = nullptr);

    // Re-targets the editor and loads the controls.
    void Bind(const TEditedObject& font);
    cb::chart::TPlotFont* Font() const;

    QFrame* SHText;  // colour swatch; a click changes the colour
    QPushButton* Button3;
    QSpinBox* Edit2;  // inter-char spacing
    TButtonPen* BOutline;
    QPushButton* BShadow;
    QPushButton* BGradient;
    QCheckBox* CBOutGrad;

protected:
    void FormShow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowColor();
};

// A font editor embedded into the sheet (owned by it); bind it with Bind.
TPlotFontEditor* EmbedFontEditor(QWidget* sheet);

}  // namespace cb::charteditors
