#pragma once
// The rotate tool: turns a 3D chart with the mouse. With a visible Pen the
// chart is not drawn while dragging; the chart box's outline is drawn as
// an overlay instead, and the chart repaints on release.
#include "chart/tools/PlotCustomTool.h"

#include <functional>

namespace cb::chart {

enum TRotateToolStyles {
    rsAll,
    rsRotation,
    rsElevation
};

class TRotateTool : public TPlotCustomTool {
public:
    TRotateTool();
    TPlotMouseButton Button() const { return FButton; }
    void SetButton(TPlotMouseButton b) { FButton = b; }
    bool Inverted() const { return FInverted; }
    void SetInverted(bool on) { FInverted = on; }
    TRotateToolStyles Style() const { return FStyle; }
    void SetStyle(TRotateToolStyles s) { FStyle = s; }
    std::function<void(TRotateTool*)> OnRotate;
    bool Dragging() const { return FDragging; }

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TRotateToolEditor"; }

private:
    void drawOutline();
    bool FDragging = false;
    bool FFirstStep = false;
    bool FSavedRepaint = true;
    bool FSaved = false;
    int FLastX = 0, FLastY = 0;
    TPlotMouseButton FButton = mbLeft;
    bool FInverted = false;
    TRotateToolStyles FStyle = rsAll;
};

}  // namespace cb::chart
