#pragma once
// The one drawing engine behind line, area and point series: segments
// (straight or as stairs, flat or as 3D ribbons), areas down to an origin,
// pointers at the points, stacking with the other series of the class,
// shadow and outline passes, and the hit test.
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesPointer.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"

#include <functional>
#include <memory>

namespace cb::chart {

enum TCustomSeriesStack {
    cssNone,
    cssOverlap,
    cssStack,
    cssStack100
};

class TCustomSeries;
using TSeriesClickPointerEvent = std::function<void(TCustomSeries* sender, int valueIndex, int x, int y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TChartSeries* sender, int valueIndex)>;

// Series whose pen is the line pen.
class TCustomLineSeries : public TChartSeries {
public:
    TChartPen& GetLinePen() { return Pen(); }
    TChartPen& LinePen() { return Pen(); }
};

class TCustomSeries : public TCustomLineSeries {
public:
    // Every setting of its own AssignSeries copies; brushes, pens, pointer,
    // shadow and gradient are copied beside.
    struct TSettings {
        TColor AreaColor = clDefault;
        bool ClickableLine = true;
        bool ColorEachLine = true;
        bool Dark3D = true;
        bool DrawArea = false;
        bool DrawLine = false;
        bool InvertedStairs = false;
        int LineHeight = 0;
        TCustomSeriesStack Stacked = cssNone;
        bool Stairs = false;
        int Transparency = 0;
        bool operator==(const TSettings&) const = default;
    };

    TCustomSeries();
    ~TCustomSeries() override;

    // --- stored settings ---
    TChartBrush& AreaChartBrush() { return *FAreaChartBrush; }
    TColor AreaColor() const { return FSettings.AreaColor; }
    void SetAreaColor(TColor c) { StoreColorAndRepaint(FSettings.AreaColor, c); }
    TChartPen& AreaLinesPen() { return *FAreaLinesPen; }
    bool ClickableLine() const { return FSettings.ClickableLine; }
    void SetClickableLine(bool on) { StoreBooleanAndRepaint(FSettings.ClickableLine, on); }
    bool ColorEachLine() const { return FSettings.ColorEachLine; }
    void SetColorEachLine(bool on) { StoreBooleanAndRepaint(FSettings.ColorEachLine, on); }
    bool Dark3D() const { return FSettings.Dark3D; }
    void SetDark3D(bool on) { StoreBooleanAndRepaint(FSettings.Dark3D, on); }
    bool DrawArea() const { return FSettings.DrawArea; }
    void SetDrawArea(bool on) { StoreBooleanAndRepaint(FSettings.DrawArea, on); }
    bool DrawLine() const { return FSettings.DrawLine; }
    void SetDrawLine(bool on) { StoreBooleanAndRepaint(FSettings.DrawLine, on); }
    bool InvertedStairs() const { return FSettings.InvertedStairs; }
    void SetInvertedStairs(bool on) { StoreBooleanAndRepaint(FSettings.InvertedStairs, on); }
    int LineHeight() const { return FSettings.LineHeight; }
    void SetLineHeight(int v) { StoreIntegerAndRepaint(FSettings.LineHeight, v); }
    TChartBrush& LineBrush() { return Brush(); }
    TChartHiddenPen& OutLine() { return *FOutLine; }
    TSeriesPointer& Pointer() { return *FPointer; }
    TPlotShadow& Shadow() { return *FShadow; }
    TCustomSeriesStack Stacked() const { return FSettings.Stacked; }
    // Also sets every series of the chart of this class or an ancestor.
    void SetStacked(TCustomSeriesStack s);
    bool Stairs() const { return FSettings.Stairs; }
    void SetStairs(bool on) { StoreBooleanAndRepaint(FSettings.Stairs, on); }
    virtual TPlotGradient& GetGradient() { return *FGradient; }
    TPlotGradient& Gradient() { return GetGradient(); }
    virtual int GetTransparency() const { return FSettings.Transparency; }
    virtual void SetTransparency(int percent) { StoreIntegerAndRepaint(FSettings.Transparency, percent); }
    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    // --- stacking and positions ---
    // Sum of the stack values at index of the series below (all: the whole
    // stack) that have the sign of this series' value there.
    double StackBase(int index, bool all);
    int ScreenX(int index) override;
    int ScreenY(int index) override;
    // Pixel of the value axis from which the area of point index rises.
    virtual int OriginPixel(int index);
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;

    // --- drawing ---
    void SetParentChart(TCustomAxisPanel* chart) override;
    void HorizontalMargins(int& left, int& right) override;
    void VerticalMargins(int& top, int& bottom) override;
    void AssignZOrder() override;
    void DrawVisiblePoints() override;
    void DrawPoint(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    virtual void DrawPointer(int x, int y, TColor color, int index);
    virtual int MarkExtent();
    virtual bool PointerContains(int index, int px, int py, int x, int y);
    virtual void PreparePointer(int index) { (void)index; }
    int PointAtPixel(int x, int y) override;
    // The figure in the legend; item -1 is the whole series.
    void PaintLegendSymbol(int item, const TRect& r) override;
    std::string EditorClassName() const override { return "TCustomSeriesEditor"; }
    const TSettings& Settings() const { return FSettings; }
    void AssignSeries(const TChartSeries& source) override;

    // s is an instance of this series' class (each class answers for itself).
    virtual bool HasInstance(const TChartSeries* s) const;

protected:
    bool sameOrAncestorClass(const TChartSeries* other) const;
    // Either series is an instance of the other's class.
    bool sameStackClass(const TChartSeries* other) const;
    // Colour of the current pass: the shadow or outline colour, else the series colour.
    TColor seriesColor() const;
    void enterFromEdge(int index);
    TSeriesPointerStyle pointerStyle(int index);
    // The area colour of col: col itself with ColorEachPoint or an automatic AreaColor.
    TColor areaColorOf(TColor col) const;
    void prepareLinePen(TColor col);
    void lineMargins(int& low, int& high);
    int stackedPosition(int index, double v);
    // Stacks at index carry the stacked sum; pixels otherwise.
    double stackedExtreme(bool highest, double base);
    void drawSegment(int index, TColor col, bool withPointers, bool last);
    void drawAreaPiece(TColor brushColor, bool last);
    TChartAxis* valueAxis() const { return MandatoryAxis(); }

private:
    TSettings FSettings;
    std::unique_ptr<TChartBrush> FAreaChartBrush;
    std::unique_ptr<TChartPen> FAreaLinesPen;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TSeriesPointer> FPointer;
    std::unique_ptr<TPlotShadow> FShadow;
    std::unique_ptr<TPlotGradient> FGradient;

    // The walk of one drawing pass.
    int FBottomPos = 0, FOldBottomPos = 0;
    int FOldX = 0, FOldY = 0;
    int FX = 0, FY = 0;
    TColor FOldColor = clNone;
    double FDarkRatio = 1;
    // Shadow and outline passes draw everything in one colour, moved.
    TColor FPassColor = clDefault;
    TPoint FPassOffset{0, 0};
};

}  // namespace cb::chart
