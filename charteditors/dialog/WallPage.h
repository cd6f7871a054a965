#pragma once
// The Walls page of the chart editor: one of the chart's four walls, chosen
// on a tab bar, with its colour, border, pattern, gradient, size and
// visibility, and the size of all walls at once.
#include "charteditors/common/EditorForm.h"

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTabBar;

namespace cb::chart {
class TChartWall;
class TCustomChart;
}  // namespace cb::chart

namespace cb::charteditors {

class TButtonPen;
class TColorButton;

class TFormPlotWall : public TEditorForm {
public:
    explicit TFormPlotWall(QWidget* owner = nullptr);
    cb::chart::TChartWall* Wall() const;
    cb::chart::TCustomChart* Chart() const;
    // The tab of a wall: 0 left, 1 right, 2 bottom, 3 back.
    int TabOfWall(const cb::chart::TChartWall* wall) const;

    QTabBar* TabSubWalls;
    TColorButton* BWallColor;
    TButtonPen* BWallPen;
    QPushButton *BWallBrush, *BGradient;
    QSpinBox *UDWallSize, *UDTransp, *UDAllSize;
    QCheckBox *CBTransp, *CBDark3D, *CBVisible, *CBAutoHide, *CBView3dWalls;

protected:
    void FormShow() override;

private:
    void LoadWall();
};

}  // namespace cb::charteditors
