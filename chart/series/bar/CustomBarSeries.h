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
        bool AutoBarSize = false;
        bool AutoMarkPosition = true;
        TBarStyle BarStyle = bsRectangle;
        int BarWidthPercent = 70;
        int BevelSize = 1;
        bool Dark3D = true;
        int DepthPercent = 100;
        TMultiBar MultiBar = mbSide;
        int OffsetPercent = 0;
        bool SideMargins = true;
        int StackGroup = 0;
        int Transparency = 0;
        bool UseYOrigin = true;
        double YOrigin = 0;
        int CustomBarSize = 0;
        int ConePercent = 0;
        bool operator==(const TSettings&) const = default;
    };

    TCustomBarSeries();
    ~TCustomBarSeries() override;

    // --- stored settings ---
    bool AutoBarSize() const { return FSettings.AutoBarSize; }
    void SetAutoBarSize(bool on) { StoreBooleanAndRepaint(FSettings.AutoBarSize, on); }
    bool AutoMarkPosition() const { return FSettings.AutoMarkPosition; }
    void SetAutoMarkPosition(bool on) { StoreBooleanAndRepaint(FSettings.AutoMarkPosition, on); }
    TChartBrush& BarBrush() { return Brush(); }
    TChartPen& BarPen() { return Pen(); }
    TBarStyle BarStyle() const { return FSettings.BarStyle; }
    void SetBarStyle(TBarStyle s) { StoreAndRepaint(FSettings.BarStyle, s); }
    int BarWidthPercent() const { return FSettings.BarWidthPercent; }
    void SetBarWidthPercent(int v) { StoreIntegerAndRepaint(FSettings.BarWidthPercent, v); }
    int BevelSize() const { return FSettings.BevelSize; }
    void SetBevelSize(int v) { StoreIntegerAndRepaint(FSettings.BevelSize, v); }
    bool Dark3D() const { return FSettings.Dark3D; }
    void SetDark3D(bool on) { StoreBooleanAndRepaint(FSettings.Dark3D, on); }
    int DepthPercent() const { return FSettings.DepthPercent; }
    void SetDepthPercent(int v) { StoreIntegerAndRepaint(FSettings.DepthPercent, v); }
    TBarSeriesGradient& Gradient() { return *FGradient; }
    TMultiBar MultiBar() const { return FSettings.MultiBar; }
    // Also copies the layout to every bar series of the same class.
    void SetMultiBar(TMultiBar m);
    int OffsetPercent() const { return FSettings.OffsetPercent; }
    void SetOffsetPercent(int v) { StoreIntegerAndRepaint(FSettings.OffsetPercent, v); }
    bool SideMargins() const { return FSettings.SideMargins; }
    void SetSideMargins(bool on);
    int StackGroup() const { return FSettings.StackGroup; }
    void SetStackGroup(int g) { StoreIntegerAndRepaint(FSettings.StackGroup, g); }
    TChartHiddenPen& TickLines() { return *FTickLines; }
    int Transparency() const { return FSettings.Transparency; }
    void SetTransparency(int percent) { StoreIntegerAndRepaint(FSettings.Transparency, percent); }
    bool UseYOrigin() const { return FSettings.UseYOrigin; }
    void SetUseYOrigin(bool on) { StoreBooleanAndRepaint(FSettings.UseYOrigin, on); }
    double YOrigin() const { return FSettings.YOrigin; }
    void SetYOrigin(double v) { StoreDoubleAndRepaint(FSettings.YOrigin, v); }
    // Fixed bar size in pixels; 0 computes it.
    int CustomBarSize() const { return FSettings.CustomBarSize; }
    void SetCustomBarSize(int v) { StoreIntegerAndRepaint(FSettings.CustomBarSize, v); }
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
    TSettings FSettings;
    std::unique_ptr<TBarSeriesGradient> FGradient;
    std::unique_ptr<TChartHiddenPen> FTickLines;
    int FNumBars = 0;
    int FMaxBarPoints = -1;
    int FOrderPos = 1;
    int FPreviousCount = 0;
    int FBarSize = 0;

protected:
    int conePercent() const { return FSettings.ConePercent; }
};

}  // namespace cb::chart
