#include "chart/component/ChartWalls.h"

namespace cb::chart {

TCustomChartWall::TCustomChartWall(TCustomPlotPanel* panel) : TPlotCustomShape(panel) {
    SetColor(clDefault);
}

void TCustomChartWall::Assign(const TCustomChartWall& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    TPlotCustomShape::Assign(s);
}

TChartBackWall::TChartBackWall(TCustomPlotPanel* panel) : TChartWall(panel) {
    SetDefaultColor(clSilver);
    SetTransparent(true);
    SetDefaultTransparent(true);
}

TChartRightWall::TChartRightWall(TCustomPlotPanel* panel) : TChartWall(panel) {
    SetDefaultColor(clSilver);
    SetVisible(false);
}

TChartWalls::TChartWalls(TCustomPlotPanel* panel) {
    FBack = std::make_unique<TChartBackWall>(panel);
    FBottom = std::make_unique<TChartWall>(panel);
    FBottom->SetDefaultColor(clWhite);
    FLeft = std::make_unique<TChartWall>(panel);
    FLeft->SetDefaultColor(0x80FFFF);
    FRight = std::make_unique<TChartRightWall>(panel);
}

void TChartWalls::SetAllSizes(int v) {
    FLeft->SetSize(v);
    FRight->SetSize(v);
    FBack->SetSize(v);
    FBottom->SetSize(v);
}

void TChartWalls::Assign(const TChartWalls& s) {
    if (this == &s) return;
    FBack->Assign(*s.FBack);
    FBottom->Assign(*s.FBottom);
    FLeft->Assign(*s.FLeft);
    FRight->Assign(*s.FRight);
}

}  // namespace cb::chart
