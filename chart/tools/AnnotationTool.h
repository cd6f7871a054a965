#pragma once
// The annotation tool: a text box drawn over the finished chart, with an
// optional callout to a chart position and a click event; and the
// rectangle tool, an annotation box the user moves and resizes.
#include "chart/panel/CustomPlotPanel.h"
#include "chart/series/SeriesPointer.h"
#include "chart/style/PlotFont.h"
#include "chart/tools/PlotCustomTool.h"
#include "platform/rtl/Property.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace cb::chart {

// The positioned box of an annotation: frame, fill, shadow and font, with
// an optional position of its own. (Stands in for the chart's shared
// positioned-shape class until that lands.)
class TPlotShapePosition {
public:
    // Every setting Assign copies; frame, brush and font are copied beside.
    struct TSettings {
        bool Visible = true;
        int ShadowSize = 3;
        TColor ShadowColor = clGray;
        int Transparency = 0;
        bool CustomPosition = false;
        TRect Bounds{0, 0, 0, 0};
        bool operator==(const TSettings&) const = default;
    };

    explicit TPlotShapePosition(TChangeEvent onChange);
    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool on) { store(FSettings.Visible, on); }
    TChartPen& Frame() { return FFrame; }
    TChartBrush& Brush() { return FBrush; }
    TPlotFont& Font() { return FFont; }
    TColor Color() const { return FBrush.Color(); }
    void SetColor(TColor c) { FBrush.SetColor(c); }
    int ShadowSize() const { return FSettings.ShadowSize; }
    void SetShadowSize(int v) { store(FSettings.ShadowSize, v); }
    TColor ShadowColor() const { return FSettings.ShadowColor; }
    int Transparency() const { return FSettings.Transparency; }
    void SetTransparency(int percent) { store(FSettings.Transparency, percent); }
    bool CustomPosition() const { return FSettings.CustomPosition; }
    void SetCustomPosition(bool on) { store(FSettings.CustomPosition, on); }
    // Left and Top also switch CustomPosition on.
    int Left() const { return FSettings.Bounds.Left; }
    void SetLeft(int v);
    int Top() const { return FSettings.Bounds.Top; }
    void SetTop(int v);
    int Width() const { return FSettings.Bounds.Right - FSettings.Bounds.Left; }
    void SetWidth(int v);
    int Height() const { return FSettings.Bounds.Bottom - FSettings.Bounds.Top; }
    void SetHeight(int v);
    const TRect& Bounds() const { return FSettings.Bounds; }
    void SetBounds(const TRect& r) { FSettings.Bounds = r; }
    void Draw(TPlotCanvas& canvas);
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TPlotShapePosition& source);

private:
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), FOnChange);
    }
    TChangeEvent FOnChange;
    TSettings FSettings;
    TChartPen FFrame;
    TChartBrush FBrush;
    TPlotFont FFont;
};

// The callout of an annotation: an arrow to a chart position.
class TAnnotationCallout : public TCallout {
public:
    TAnnotationCallout();
    int XPosition() const { return FX; }
    void SetXPosition(int v) { store(FX, v); }
    int YPosition() const { return FY; }
    void SetYPosition(int v) { store(FY, v); }
    int ZPosition() const { return FZ; }
    void SetZPosition(int v) { store(FZ, v); }
    void Assign(const TSeriesPointer& source) override;

private:
    int FX = 0, FY = 0, FZ = 0;
};

enum TAnnotationPosition {
    ppLeftTop,
    ppLeftBottom,
    ppRightTop,
    ppRightBottom
};

class TAnnotationTool;
using TAnnotationClick =
    std::function<void(TAnnotationTool* sender, TPlotMouseButton button, unsigned shift, int x, int y)>;

class TAnnotationTool : public TPlotCustomTool {
public:
    TAnnotationTool();
    ~TAnnotationTool() override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on) { StoreBooleanAndRepaint(FAutoSize, on); }
    TAnnotationCallout& Callout() { return *FCallout; }
    int Cursor() const { return FCursor; }
    void SetCursor(int c) { FCursor = c; }
    TAnnotationPosition Position() const { return FPosition; }
    // Also puts the box back into the chosen corner.
    void SetPosition(TAnnotationPosition p);
    TPlotUnits PositionUnits() const { return FPositionUnits; }
    void SetPositionUnits(TPlotUnits u) { StoreAndRepaint(FPositionUnits, u); }
    TPlotShapePosition& Shape() { return *FShape; }
    const std::string& Text() const { return FText; }
    void SetText(const std::string& t) { StoreStringAndRepaint(FText, t); }
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment a) { StoreAndRepaint(FTextAlignment, a); }
    int Width() const { return FShape->Width(); }
    // A new size switches AutoSize off.
    void SetWidth(int v);
    int Height() const { return FShape->Height(); }
    void SetHeight(int v);
    TAnnotationClick OnClick;

    virtual std::string GetDisplayText() { return FText; }
    // The box as the next drawing places it, and its text origin.
    TRect LayoutBox(TPoint* textOrigin = nullptr);
    bool Clicked(int x, int y);

    void SetParentChart(TCustomAxisPanel* chart) override;
    void HandleChartStage(TChartStage code) override;
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;
    std::string EditorClassName() const override { return "TAnnotationToolEdit"; }

private:
    void draw();
    void drawCallout(const TRect& box);

    bool FAutoSize = true;
    std::unique_ptr<TAnnotationCallout> FCallout;
    int FCursor = 0;
    TAnnotationPosition FPosition = ppLeftTop;
    TPlotUnits FPositionUnits = muPixels;
    std::unique_ptr<TPlotShapePosition> FShape;
    std::string FText;
    TAlignment FTextAlignment = taLeftJustify;
};

class TRectangleTool : public TAnnotationTool {
public:
    TRectangleTool();
    std::function<void(TRectangleTool*)> OnDragging;
    std::function<void(TRectangleTool*)> OnResizing;
    bool Dragging() const { return FDragging; }
    // 0 left, 1 top, 2 right, 3 bottom; -1 none.
    int ResizingEdge() const { return FEdge; }
    void HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned shift, int x, int y) override;
    std::string DescriptionText() const override;

private:
    int edgeAt(int x, int y);
    bool FDragging = false;
    int FEdge = -1;
    int FOffsetX = 0, FOffsetY = 0;
};

}  // namespace cb::chart
