#pragma once
// The colour band tool: fills the band between two values of an axis, with
// optional draggable edges (two colour lines of its own).
#include "chart/style/PlotGradient.h"
#include "chart/tools/ColorLineTool.h"

#include <functional>
#include <memory>

namespace cb::chart {

class TColorBandTool;
using TColorBandClick =
    std::function<void(TColorBandTool* sender, TPlotMouseButton button, unsigned shift, int x, int y)>;

class TColorBandTool : public TPlotCustomToolAxis {
public:
    TColorBandTool();
    ~TColorBandTool() override;

    double StartValue() const { return FStartValue; }
    void SetStartValue(double v);
    double EndValue() const { return FEndValue; }
    void SetEndValue(double v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c) { StoreColorAndRepaint(FColor, c); }
    TPlotGradient& Gradient() { return *FGradient; }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int percent) { StoreIntegerAndRepaint(FTransparency, percent); }
    bool DrawBehind() const { return FDrawBehind; }
    void SetDrawBehind(bool on) { StoreBooleanAndRepaint(FDrawBehind, on); }
    bool DrawBehindAxes() const { return FDrawBehindAxes; }
    void SetDrawBehindAxes(bool on) { StoreBooleanAndRepaint(FDrawBehindAxes, on); }
    bool ResizeStart() const { return FStartLine->Active(); }
    void SetResizeStart(bool on);
    bool ResizeEnd() const { return FEndLine->Active(); }
    void SetResizeEnd(bool on);
    TChartPen& StartLinePen() { return FStartLine->Pen(); }
    TChartPen& EndLinePen() { return FEndLine->Pen(); }
    TColorLineTool& StartLine() { return *FStartLine; }
    TColorLineTool& EndLine() { return *FEndLine; }
    int Cursor() const { return FCursor; }
    void SetCursor(int c) { FCursor = c; }
    TColorBandClick OnClick;

    // Gives both lines the axis; they stay out of every chart's tools.
    void SetAxis(TChartAxis* axis) override;
    void AxisDestroyed(const TChartAxis* axis) override;
    void SetParentChart(TCustomAxisPanel* chart) override;

    // The band on screen; empty without an axis or outside its range.
    TRect BoundsRect() const;
    bool Clicked(int x, int y) const;

    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TColorBandToolEditor"; }

private:
    void paintBand();
    void lineDragged(TColorLineTool* line);
    int depth() const;

    double FStartValue = 0, FEndValue = 0;
    TColor FColor = clWhite;
    std::unique_ptr<TPlotGradient> FGradient;
    int FTransparency = 0;
    bool FDrawBehind = true;
    bool FDrawBehindAxes = false;
    int FCursor = 0;
    std::unique_ptr<TColorLineTool> FStartLine, FEndLine;
};

}  // namespace cb::chart
