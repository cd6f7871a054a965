#pragma once
// The nearest point tool: marks the point of a series nearest to the mouse
// with a figure and a line from the mouse, drawn as an overlay.
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <memory>

namespace cb::chart {

enum TNearestToolStyle {
    hsNone,
    hsCircle,
    hsRectangle,
    hsDiamond
};

class TNearestTool : public TPlotCustomToolSeries {
public:
    TNearestTool();
    ~TNearestTool() override;

    TChartPen& LinePen() { return *FLinePen; }
    bool DrawLine() const { return FLinePen->Visible(); }
    void SetDrawLine(bool on) { FLinePen->SetVisible(on); }
    // Kept for stored charts: the figure is always drawn from state over
    // the shown picture, so both settings repaint the same way.
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool on) { FFullRepaint = on; }
    int Size() const { return FSize; }
    void SetSize(int v) { StoreIntegerAndRepaint(FSize, v); }
    TNearestToolStyle Style() const { return FStyle; }
    void SetStyle(TNearestToolStyle s) { StoreAndRepaint(FStyle, s); }
    std::function<void(TNearestTool*)> OnChange;

    // Index of the highlighted point; -1 for none.
    int Point() const { return FPoint; }
    // The non-null point nearest to (x, y) whose place lies in the chart
    // rectangle; -1 for none.
    int NearestTo(int x, int y) const;

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TNearestToolEdit"; }

private:
    TPoint screenPoint(int index, int* depth) const;
    void draw();

    std::unique_ptr<TChartPen> FLinePen;
    bool FFullRepaint = true;
    int FSize = 20;
    TNearestToolStyle FStyle = hsCircle;
    int FPoint = -1;
    TPoint FMouse{-1, -1};
};

}  // namespace cb::chart
