#pragma once
// Shape series: one figure (rectangle, ellipse, lines, triangles, diamond,
// cube, crosses, star, pyramids) between two points held as points 0 and 1
// of the X and Y lists, in axis values, pixels, or an axis position plus a
// size in pixels, with optional lines of text inside.
#include "chart/series/ChartSeries.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

enum TChartShapeStyle {
    chasRectangle,
    chasCircle,
    chasVertLine,
    chasHorizLine,
    chasTriangle,
    chasInvertTriangle,
    chasLine,
    chasDiamond,
    chasCube,
    chasCross,
    chasDiagCross,
    chasStar,
    chasPyramid,
    chasInvertPyramid
};

enum TChartShapeXYStyle {
    xysPixels,
    xysAxis,
    xysAxisOrigin
};

enum TPlotVertAlign {
    vaTop,
    vaCenter,
    vaBottom
};

class TChartShape : public TChartSeries {
public:
    TChartShape();
    ~TChartShape() override;

    // Points 0 and 1. Reading or writing them without the two points (after
    // a Clear) raises ChartException; writing marks the data changed so the
    // axes follow.
    double X0() const { return pointValue(0, true); }
    void SetX0(double v) { setPointValue(0, true, v); }
    double Y0() const { return pointValue(0, false); }
    void SetY0(double v) { setPointValue(0, false, v); }
    double X1() const { return pointValue(1, true); }
    void SetX1(double v) { setPointValue(1, true, v); }
    double Y1() const { return pointValue(1, false); }
    void SetY1(double v) { setPointValue(1, false, v); }

    TChartShapeStyle ShapeStyle() const { return FStyle; }
    void SetShapeStyle(TChartShapeStyle s) { StoreAndRepaint(FStyle, s); }
    TChartShapeXYStyle XYStyle() const { return FXYStyle; }
    void SetXYStyle(TChartShapeXYStyle s) { StoreAndRepaint(FXYStyle, s); }
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& lines);
    TPlotFont& Font() { return *FFont; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a) { StoreAndRepaint(FAlignment, a); }
    TPlotVertAlign VertAlign() const { return FVertAlign; }
    void SetVertAlign(TPlotVertAlign a) { StoreAndRepaint(FVertAlign, a); }
    TPlotGradient& Gradient() { return *FGradient; }
    bool RoundRectangle() const { return FRoundRectangle; }
    void SetRoundRectangle(bool on) { StoreBooleanAndRepaint(FRoundRectangle, on); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on) { StoreBooleanAndRepaint(FTransparent, on); }

    // The two points on screen, in their given order.
    TRect GetShapeBounds();

    std::string EditorClassName() const override { return "TChartShapeEditor"; }
    bool UsesAxes() const override { return FXYStyle != xysPixels; }
    void AssignZOrder() override;
    bool SharesZOrder() override { return false; }
    void SetSeriesColor(TColor c) override;
    void DrawPoint(int index) override;
    int PointAtPixel(int x, int y) override;
    void PaintLegendSymbol(int index, const TRect& r) override;
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    bool CanCopyFrom(const TChartSeries* source) const override {
        return source != this && dynamic_cast<const TChartShape*>(source);
    }
    void AssignSeries(const TChartSeries& source) override;

private:
    double pointValue(int index, bool x) const;
    void setPointValue(int index, bool x, double v);
    void drawFigure(TCanvas3D& c, const TRect& bounds, bool is3D, bool flat);
    void drawText(TCanvas3D& c, const TRect& r);

    TChartShapeStyle FStyle = chasCircle;
    TChartShapeXYStyle FXYStyle = xysAxis;
    std::vector<std::string> FText;
    std::unique_ptr<TPlotFont> FFont;
    TAlignment FAlignment = taCenter;
    TPlotVertAlign FVertAlign = vaCenter;
    std::unique_ptr<TPlotGradient> FGradient;
    bool FRoundRectangle = false;
    bool FTransparent = false;
};

}  // namespace cb::chart
