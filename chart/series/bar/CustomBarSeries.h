#pragma once
// What vertical and horizontal bar series share: bar styles, the layout of
// several bar series beside or on top of each other, bar size, stacking,
// mark room, gradient and bevel fills, tick lines across bars and the hit
// test. The value axis is the axis of the mandatory list; the position
// axis is the other one.
#include "chart/series/ChartSeries.h"
#include "chart/style/PlotGradient.h"

#include <functional>
#include <memory>

namespace cb::chart {

enum TBarStyle {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient,
    bsCone,
    bsBevel,
    bsSlantCube,
    bsDiamond
};

enum TMultiBar {
    mbNone,
    mbSide,
    mbStacked,
    mbStacked100,
    mbSideAll,
    mbSelfStack
};

class TCustomBarSeries;
class TPlotBlend;
using TGetBarStyleEvent = std::function<void(TCustomBarSeries* sender, int valueIndex, TBarStyle& style)>;

// Gradient of bsRectGradient bars; its end colour is the bar colour.
class TBarSeriesGradient : public TCustomPlotGradient {
public:
    explicit TBarSeriesGradient(TChangeEvent onChange);
    // End colour scaled by the bar's share of the value range.
    bool Relative() const { return FRelative; }
    void SetRelative(bool on);
    void Assign(const TCustomPlotGradient& source) override;

private:
    bool FRelative = false;
};

class TCustomBarSeries : public TChartSeries {
public:
    // Every setting of its own Assign copies; gradient and tick lines are
    // copied beside.
    struct TSettings {
        bool FAutoMarkPosition = true;
        TBarStyle FBarStyle = bsRectangle;
        int FBarWidthPercent = 70;
        int FBevelSize = 1;
        bool FDark3D = true;
        int FDepthPercent = 100;
        TMultiBar FMultiBar = mbSide;
        int FOffsetPercent = 0;
        bool FSideMargins = true;
        int FStackGroup = 0;
        int FTransparency = 0;
        bool FUseYOrigin = true;
        double FYOrigin = 0;
        int FCustomBarSize = 0;
        bool operator==(const TSettings&) const = default;
    };

    TCustomBarSeries();
    ~TCustomBarSeries() override;

    // --- stored settings ---
    bool AutoBarSize() const { return FAutoBarSize; }
    void SetAutoBarSize(bool on) { StoreBooleanAndRepaint(FAutoBarSize, on); }
    bool AutoMarkPosition() const { return FSettings.FAutoMarkPosition; }
    void SetAutoMarkPosition(bool on) { StoreBooleanAndRepaint(FSettings.FAutoMarkPosition, on); }
    TChartBrush& BarBrush() { return Brush(); }
    TChartPen& BarPen() { return Pen(); }
    TBarStyle BarStyle() const { return FSettings.FBarStyle; }
    void SetBarStyle(TBarStyle s) { StoreAndRepaint(FSettings.FBarStyle, s); }
    int BarWidthPercent() const { return FSettings.FBarWidthPercent; }
    void SetBarWidthPercent(int v) { StoreIntegerAndRepaint(FSettings.FBarWidthPercent, v); }
    int BevelSize() const { return FSettings.FBevelSize; }
    void SetBevelSize(int v) { StoreIntegerAndRepaint(FSettings.FBevelSize, v); }
    bool Dark3D() const { return FSettings.FDark3D; }
    void SetDark3D(bool on) { StoreBooleanAndRepaint(FSettings.FDark3D, on); }
    int DepthPercent() const { return FSettings.FDepthPercent; }
    void SetDepthPercent(int v) { StoreIntegerAndRepaint(FSettings.FDepthPercent, v); }
    TBarSeriesGradient& Gradient() { return *FGradient; }
    TMultiBar MultiBar() const { return FSettings.FMultiBar; }
    // Also copies the layout to every bar series of the same class.
    void SetMultiBar(TMultiBar m);
    int OffsetPercent() const { return FSettings.FOffsetPercent; }
    void SetOffsetPercent(int v) { StoreIntegerAndRepaint(FSettings.FOffsetPercent, v); }
    bool SideMargins() const { return FSettings.FSideMargins; }
    void SetSideMargins(bool on);
    int StackGroup() const { return FSettings.FStackGroup; }
    void SetStackGroup(int g) { StoreIntegerAndRepaint(FSettings.FStackGroup, g); }
    TChartHiddenPen& TickLines() { return *FTickLines; }
    int Transparency() const { return FSettings.FTransparency; }
    void SetTransparency(int percent) { StoreIntegerAndRepaint(FSettings.FTransparency, percent); }
    bool UseYOrigin() const { return FSettings.FUseYOrigin; }
    void SetUseYOrigin(bool on) { StoreBooleanAndRepaint(FSettings.FUseYOrigin, on); }
    double YOrigin() const { return FSettings.FYOrigin; }
    void SetYOrigin(double v) { StoreDoubleAndRepaint(FSettings.FYOrigin, v); }
    // Fixed bar size in pixels; 0 computes it.
    int CustomBarSize() const { return FSettings.FCustomBarSize; }
    void SetCustomBarSize(int v) { StoreIntegerAndRepaint(FSettings.FCustomBarSize, v); }
    TGetBarStyleEvent OnGetBarStyle;

    // --- layout of the current paint ---
    int NumBars() const { return FNumBars; }
    int MaxBarPoints() const { return FMaxBarPoints; }
    int OrderPos() const { return FOrderPos; }
    int PreviousCount() const { return FPreviousCount; }
    int BarSize() const { return FBarSize; }
    const TRect& BarBounds() const { return FBarBounds; }

    void SetParentChart(TCustomAxisPanel* chart) override;
    void PrepareForPaint() override;
    void AssignZOrder() override;
    void ComputeDepthRange() override;
    // The value the bar of a point starts from; with all, the sum over the
    // whole stack (the 100 % total).
    virtual double StackBase(int index, bool all);
    // Pixels of the bar's left (top) edge, value end and origin end.
    int BarStart(int index);
    int ValueEnd(int index);
    int OriginEnd(int index);
    // The bar size and the margins it needs along the position axis.
    void ComputeBarSize();
    virtual int MarkExtent(int index) {
        (void)index;
        return 0;
    }
    // Draws the bar of a point; low and high are its value pixels in order.
    void DrawPoint(int index) override;
    virtual void DrawBar(int index, int low, int high);
    virtual bool BarContainsPoint(int index, const TPoint& p);
    int PointAtPixel(int x, int y) override;
    virtual bool OffersStackStyles() const { return true; }
    TBarStyle StyleOfPoint(int index);

    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    std::string EditorClassName() const override { return "TBarSeriesEditor"; }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TCustomBarSeries& source);
    void AssignSeries(const TChartSeries& source) override;

protected:
    bool vertical() const { return YMandatory(); }
    // The screen point and rectangle of position and value pixels.
    TPoint screenPoint(int position, int value) const;
    TRect screenRect(int position0, int value0, int position1, int value1) const;
    TChartAxis* positionAxis() const { return vertical() ? GetHorizAxis() : GetVertAxis(); }
    TChartAxis* valueAxis() const { return vertical() ? GetVertAxis() : GetHorizAxis(); }
    int positionPixel(double v) const { return vertical() ? XToPixel(v) : YToPixel(v); }
    int basePosition(int index) { return vertical() ? TChartSeries::ScreenX(index) : TChartSeries::ScreenY(index); }
    double valueHighest(double e);
    double valueLowest(double e);
    double positionHighest(double e);
    double positionLowest(double e);
    void positionMargins(int& low, int& high);
    int markRoom();
    // Shares MultiBar and SideMargins with the other bar series of the class.
    void shareLayout();
    bool sameClass(const TChartSeries* other) const;
    int indexInChart() const;
    // Selects pen and brush for the bar in the current colour.
    void prepareBar();
    void drawBarRectangle(int left, int top, int right, int bottom);
    void drawGradient(int index, const TRect& r);
    void drawBevel(const TRect& r);
    TColor gradientEndColor(int index);
    // Every value-axis tick strictly between low and high.
    void drawTickLines(int low, int high, TBarStyle style);
    virtual void DrawTickLine(int pixel, TBarStyle style) {
        (void)pixel;
        (void)style;
    }
    std::unique_ptr<TPlotBlend> beginBarTransparency(const TRect& r);

    TColor FBarColor = clDefault;
    TRect FBarBounds;

private:
    bool FAutoBarSize = false;
    TSettings FSettings;
    int FConePercent = 0;
    std::unique_ptr<TBarSeriesGradient> FGradient;
    std::unique_ptr<TChartHiddenPen> FTickLines;
    int FNumBars = 0;
    int FMaxBarPoints = -1;
    int FOrderPos = 1;
    int FPreviousCount = 0;
    int FBarSize = 0;

protected:
    int conePercent() const { return FConePercent; }
};

}  // namespace cb::chart
