#pragma once
// The framed-box editor: colour, frame, pattern, corners, transparency and
// bevel of a shape (legend, titles, walls, marks) on "Format", and its font,
// gradient and shadow in three embedded editors on "Text", "Gradient" and
// "Shadow". Hosts embed it (CreateShapeEditor) or take its four pages into
// their own page control (MergeShapeEditorPages). Every change is written at
// once; shown as a window of its own, closing it with Esc gives the shape
// back.
//
// Bind the shape as TPlotCustomShape (TEditedObject::Part<TPlotCustomShape>),
// whatever its own class.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace cb::chart {
class TPlotCustomShape;
}

namespace cb::charteditors {

class TButtonPen;
class TColorButton;
class TPlotFontEditor;
class TPlotGradientEditor;
class TPlotShadowEditor;

class TFormPlotShape : public TEditorForm {
    Q_OBJECT
public:
    explicit TFormPlotShape(QWidget* owner = nullptr);
    ~TFormPlotShape() override;

    // Re-targets the editor and its embedded editors, loads the controls.
    void Bind(const TEditedObject& shape);
    cb::chart::TPlotCustomShape* Shape() const;

    QTabWidget* PC1;
    QWidget* TabFormat;
    QWidget* TabText;
    QWidget* TabGradient;
    QWidget* TabShadow;
    TColorButton* BBackColor;
    TButtonPen* Button4;
    QPushButton* Button6;
    QCheckBox* CBRound;
    QCheckBox* CBTransparent;
    QComboBox* CBBevel;
    QSpinBox* EBevWidth;
    QSpinBox* EShadowTransp;

    TPlotFontEditor* FontEditor() const { return FFontEditor; }
    TPlotGradientEditor* GradientEditor() const { return FGradientEditor; }
    TPlotShadowEditor* ShadowEditor() const { return FShadowEditor; }

    // Unticks "&Transparent" (for a host's colour button).
    void BColorClick();
    // Writes the shape's visibility from the check box (a host's "&Visible").
    void CBVisibleChecked(QCheckBox* sender);

protected:
    void FormShow() override;
    void RestoreBackup() override;

private:
    void LoadFromShape();
    void UpdateBevelWidth();

    TPlotFontEditor* FFontEditor = nullptr;
    TPlotGradientEditor* FGradientEditor = nullptr;
    TPlotShadowEditor* FShadowEditor = nullptr;
};

// The shape editor for the shape: in the container (borderless, filling it,
// owned by it) or, without one, a window owned by owner.
TFormPlotShape* CreateShapeEditor(QWidget* owner, const TEditedObject& shape, QWidget* container);
// Moves the shape editor's four pages to the end of the host's page control
// and makes the host's first page current. The editor, hidden and owned by
// the page control, keeps serving the moved pages; bind it with Bind.
TFormPlotShape* MergeShapeEditorPages(QTabWidget* pageControl, const TEditedObject& shape);

}  // namespace cb::charteditors
