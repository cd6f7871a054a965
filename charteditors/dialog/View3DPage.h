#pragma once
// The 3D page of the chart editor: the 3D switch, depth, view angles, zoom,
// offsets and perspective on the Options tab, and six view presets drawn as
// small charts on the Views tab.
#include "charteditors/common/EditorForm.h"

#include <vector>

class QCheckBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace cb::chart {
class TCustomChart;
}

namespace cb::charteditors {

class TChartGalleryPanel;

class TFormPlot3D : public TEditorForm {
public:
    explicit TFormPlot3D(QWidget* owner = nullptr);
    cb::chart::TCustomChart* Chart() const;
    // Enables the controls that the chart's settings allow.
    void UpdateEnabling();
    // Builds the presets (once) and selects the one the chart matches; a
    // chart that matches none keeps its settings and no preset is selected.
    void ShowViews();
    // The index of the preset the chart's 3D settings match, or -1.
    int MatchingPreset() const;

    QTabWidget* PageControl1;
    QCheckBox *CBView3d, *CBOrthogonal, *CBZoomText, *CBClipPoints;
    QSpinBox *UD3D, *UDOrthoAngle, *UDTextSize;
    QSlider *SBZoom, *SBRotation, *SBElevation, *SBHOffset, *SBVOffset, *SBPerspec;
    QLabel *LZoom, *LRotation, *LElevation, *LHOffset, *LVOffset, *LPerspec;
    QWidget* TabViews;
    TChartGalleryPanel* ChartGalleryPanel1;

protected:
    void FormShow() override;

private:
    void LoadOptions();
    void BuildPresets();
    void ApplyPreset();
    bool FLoading = false;
    bool FSelecting = false;
};

}  // namespace cb::charteditors
