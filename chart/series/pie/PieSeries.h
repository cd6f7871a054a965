#pragma once
// Pie series: each point a slice whose angle is proportional to the
// magnitude of its value; exploded slices, a hole (donut), 3D slices with
// their own heights, several pies in one chart, the other slice that
// groups small points, the shadow, marks around the pie and the slice hit
// test.
#include "chart/series/pie/CircledSeries.h"
#include "chart/series/pie/SliceValueList.h"
#include "chart/style/PlotShadow.h"
#include "platform/rtl/Property.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {

enum TMultiPie {
    mpAutomatic,
    mpDisabled
};

enum TPieOtherStyle {
    poNone,
    poBelowPercent,
    poBelowValue
};

class TPieSeries;

// The legend of the grouped slices, drawn after the pie. The legend classes
// come later in the engine (component/PieOtherLegend.h makes it).
class TPieOtherLegend {
public:
    virtual ~TPieOtherLegend() = default;
    virtual bool Visible() = 0;
    // Lists the owner's grouped points.
    virtual void Paint() = 0;
    virtual void SetChart(TCustomAxisPanel* chart) = 0;
    // A legend with the same settings for another pie.
    virtual std::unique_ptr<TPieOtherLegend> Clone(TPieSeries& owner) = 0;
};

// Grouping of small slices into one.
class TPieOtherSlice {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        TColor Color = clDefault;
        TPieOtherStyle Style = poNone;
        std::string Text;
        double Value = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TPieOtherSlice(TPieSeries* owner) : FOwner(owner) {}
    ~TPieOtherSlice();
    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c) { store(FSettings.Color, c); }
    TPieOtherStyle Style() const { return FSettings.Style; }
    void SetStyle(TPieOtherStyle s) { store(FSettings.Style, s); }
    // "Other" when empty.
    std::string Text() const;
    void SetText(const std::string& t) { store(FSettings.Text, t); }
    double Value() const { return FSettings.Value; }
    void SetValue(double v) { store(FSettings.Value, v); }
    const TSettings& Settings() const { return FSettings; }
    // The legend of the grouped slices, or none until one is made.
    TPieOtherLegend* Legend() const { return FLegend.get(); }
    // Takes the legend (none frees it) and repaints.
    void SetLegend(std::unique_ptr<TPieOtherLegend> legend);
    // Copies without repainting; also the legend: copied when the source has one, else freed.
    void Assign(const TPieOtherSlice& source);

private:
    // Stores a new value and repaints the pie.
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { changed(); });
    }
    void changed();
    TPieSeries* FOwner;
    TSettings FSettings;
    std::unique_ptr<TPieOtherLegend> FLegend;
};

struct TPieAngle {
    double Start = 0;
    double Mid = 0;
    double End = 0;
};

class TPieSeries : public TCircledSeries {
public:
    // X value of a grouped point and of the other slice's point.
    static constexpr double GroupedX = -1;
    static constexpr double OtherX = 2147483647;

    TPieSeries();
    ~TPieSeries() override;

    int AngleSize() const { return FAngleSize; }
    void SetAngleSize(int degrees) { StoreIntegerAndRepaint(FAngleSize, degrees); }
    bool AutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool on) { StoreBooleanAndRepaint(FAutoMarkPosition, on); }
    bool Dark3D() const { return FDark3D; }
    void SetDark3D(bool on) { StoreBooleanAndRepaint(FDark3D, on); }
    int DarkPen() const { return FDarkPen; }
    void SetDarkPen(int v) { StoreIntegerAndRepaint(FDarkPen, v); }
    int DonutHolePercent() const { return FDonutPercent; }
    void SetDonutHolePercent(int v) { StoreIntegerAndRepaint(FDonutPercent, v); }
    TSliceValueList& ExplodedSlice() { return FExploded; }
    TSliceValueList& SliceHeight() { return FHeights; }
    int ExplodeBiggest() const { return FExplodeBiggest; }
    void SetExplodeBiggest(int percent);
    TMultiPie MultiPie() const { return FMultiPie; }
    void SetMultiPie(TMultiPie m) { StoreAndRepaint(FMultiPie, m); }
    TPieOtherSlice& OtherSlice() { return FOtherSlice; }
    TChartPen& PiePen() { return Pen(); }
    TChartValueList& PieValues() { return YValues(); }
    TPlotShadow& Shadow() { return *FShadow; }
    bool UsePatterns() const { return FUsePatterns; }
    void SetUsePatterns(bool on) { StoreBooleanAndRepaint(FUsePatterns, on); }

    // --- angles and slices of the last paint ---
    const std::vector<TPieAngle>& Angles() const { return FAngles; }
    void CalcAngles();
    bool IsGrouped(int index) { return XValues().Value(index) == GroupedX; }
    bool IsOtherPoint(int index) { return XValues().Value(index) == OtherX; }
    void RemoveOtherPoint();
    // Offset of an exploded slice; dy counts upwards.
    void ExplodeOffset(int index, int& dx, int& dy);
    void ExplodedRadii(int index, int& rx, int& ry);
    int SliceTopZ(int index);
    void ExplodeBiggestSlice();
    // Active pies of the chart, and this one's cell when several share it.
    int ActivePieCount();
    void MultiPieRect();
    virtual void DrawSlice(int index);
    int SliceAtPixel(int x, int y);
    // While a legend of the grouped points draws, it lists those instead.
    void SetOtherLegendInUse(bool on) { FOtherLegendInUse = on; }
    // The other slice's legend, when it has one and it is visible.
    void PaintOtherLegend();

    // --- series overrides ---
    void SetParentChart(TCustomAxisPanel* chart) override;
    void PrepareForPaint() override;
    void ComputeVisibleRange() override;
    void AssignZOrder() override;
    bool SharesZOrder() override { return false; }
    void FireBeforeDrawValues() override;
    void FireAfterDrawValues() override;
    void DrawVisiblePoints() override;
    void DrawPoint(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    int PointAtPixel(int x, int y) override;
    int LegendItemCount() override;
    int ValueIndexOfLegendItem(int item) override;
    void DeletePoint(int index) override;
    void SwapPoints(int i, int j) override;
    void SortByMandatoryOrder();
    double HighestX() override;
    double HighestY() override;
    double LowestX() override;
    double LowestY() override;
    int ScreenX(int index) override;
    void ApplyPreferredView3D() override;
    void ApplyGallery3D(bool on) override;
    bool HasInstance(const TChartSeries* s) const override { return dynamic_cast<const TPieSeries*>(s); }
    std::string EditorClassName() const override { return "TPieSeriesEditor"; }
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    // Values 1..1000 labelled with the sample product names.
    void AddSampleValues(int count, bool valuesOnly) override;
    void AddSampleValues(int count) { AddSampleValues(count, false); }
    int DefaultSampleCount() const override { return 8; }
    // The slice's brush style: a pattern per point, or solid.
    TBrushStyle SliceBrushStyle(int index);
    void SelectSlicePen(int index);
    void PaintLegendSymbol(int item, const TRect& r) override;
    void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) override;
    void AssignSeries(const TChartSeries& source) override;

protected:
    void ClearStorage() override;

private:
    double sliceKey(int index) const;

    int FAngleSize = 360;
    bool FAutoMarkPosition = true;
    bool FDark3D = true;
    int FDarkPen = 0;
    int FDonutPercent = 0;
    TSliceValueList FExploded;
    int FExplodeBiggest = 0;
    TMultiPie FMultiPie = mpAutomatic;
    TPieOtherSlice FOtherSlice;
    std::unique_ptr<TPlotShadow> FShadow;
    TSliceValueList FHeights;
    bool FUsePatterns = false;
    TRect FSavedChartRect;
    bool FChartRectSaved = false;
    std::vector<TPieAngle> FAngles;
    TPoint FStartPoint, FEndPoint;
    bool FDrawSides = false;
    double FTotal = 0;
    bool FOtherLegendInUse = false;
};

}  // namespace cb::chart
