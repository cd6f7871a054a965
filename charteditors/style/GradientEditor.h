#pragma once
// The gradient editor ("Gradient Editor"): visibility, direction, a gallery
// of presets, the three colours, balance and radial offset of a gradient,
// with a preview. Shown modally (EditGradient) or embedded in a page; every
// change is written at once, and Cancel gives back the gradient as it was
// at the last bind when anything changed.
//
// Bind the gradient as TCustomPlotGradient, TPlotGradient or
// TPlotFontGradient (TEditedObject::Part).
#include "chart/panel/CustomPlotPanelExtended.h"
#include "charteditors/common/EditorForm.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QWidget;

namespace cb::chart {
class TCustomPlotGradient;
}

namespace cb::charteditors {

class TColorButton;

struct TGradientPreset {
    const char* Name;
    cb::gfx::TColor Start, Mid, End;  // Mid clNone: no middle colour
    cb::chart::TGradientDirection Direction;
    int Balance;
};
// The seventeen presets in their own order (the gallery lists them sorted).
const std::array<TGradientPreset, 17>& GradientPresets();
// Writes the preset's colours, direction and balance to the gradient.
void ApplyGradientPreset(cb::chart::TCustomPlotGradient& gradient, const TGradientPreset& preset);

// A panel that draws nothing but its own gradient (or its colour).
class TPreviewGradient : public cb::chart::TCustomPlotPanelExtended {
public:
    explicit TPreviewGradient(QWidget* parent = nullptr);

protected:
    void DrawContents(const cb::chart::TRect& bounds) override;
};

class TPlotGradientEditor : public TEditorForm {
    Q_OBJECT
public:
    explicit TPlotGradientEditor(QWidget* owner = nullptr);
    // For embedding: the gradient bound, no OK and Cancel.
    static std::unique_ptr<TPlotGradientEditor> CreateEmbedded(QWidget* owner, const TEditedObject& gradient);

    // Re-targets the editor: new backup, controls loaded.
    void Bind(const TEditedObject& gradient);
    cb::chart::TCustomPlotGradient* Gradient() const;

    // Only the start colour is edited (the end comes from elsewhere).
    void SetOnlyStart(bool on);
    bool OnlyStart() const { return FOnlyStart; }

    QCheckBox* CBVisible;
    QComboBox* CBDirection;
    QTabWidget* PageControl;
    QListWidget* Gallery;
    TPreviewGradient* Preview;
    TColorButton* BStart;
    TColorButton* BMid;
    TColorButton* BEnd;
    QCheckBox* CBMid;
    QPushButton* BSwap;
    QScrollBar* SBBalance;
    QLabel* LabelBalance;
    QSlider* TrackBar1;
    QLabel* LRadialX;
    QSlider* TrackBar2;
    QLabel* LRadialY;
    QLabel* LRadialHoriz;
    QLabel* LRadialVert;
    QWidget* Panel1;
    QPushButton* BOk;
    QPushButton* BCancel;

protected:
    void FormShow() override;
    void RestoreBackup() override;

private:
    void LoadFromGradient();
    void UpdateEnabled();
    void UpdatePreview();
    void Changed();

    bool FOnlyStart = false;
};

// EditGradientWithOptions(owner, gradient, false, false).
bool EditGradient(QWidget* owner, const TEditedObject& gradient);
// The modal gradient dialog near the owner; onlyStart hides "&End..." and
// "S&wap", hideVisible hides "&Visible". True on OK.
bool EditGradientWithOptions(QWidget* owner, const TEditedObject& gradient, bool onlyStart, bool hideVisible);

// The gradient of an edited object bound as any of the gradient types.
cb::chart::TCustomPlotGradient* GradientOf(const TEditedObject& object);

}  // namespace cb::charteditors
