#pragma once
// The chart panel with axes, series, tools and paging, as its parts see
// it: axes, series and tools are built above this folder and reach their
// chart through this interface. TAxisPanel (chart/component) owns them and
// runs the paint pipeline; walls, titles and the legend are drawn by the
// chart component through the virtual stages declared here.
#include "chart/panel/CustomPlotPanelExtended.h"
#include "chart/panel/PlotEvents.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TChartAxes;
class TChartAxis;
class TChartCustomAxes;
class TChartDepthAxis;
class TChartSeries;
class TChartSeriesList;
class TChartTools;
class TCustomAxisPanel;

enum TPlotSeriesEventCode : int {
    seAdd = 0,
    seRemove = 1,
    seChangeTitle = 2,
    seChangeColor = 3,
    seSwap = 4,
    seChangeActive = 5,
    seDataChanged = 6
};

// A series of the chart changed (Series is none for seSwap).
class TPlotSeriesEvent : public TPlotEvent {
public:
    TChartSeries* Series = nullptr;
    TPlotSeriesEventCode Code = seAdd;
};

// The chart's page or page size changed.
class TChartChangePage : public TPlotEvent {};

using TAxisOnGetLabel =
    std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex, std::string& labelText)>;
using TAxisOnGetNextLabel = std::function<void(TChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;
using TPlotNotifyEvent = std::function<void(TCustomAxisPanel* sender)>;

class TCustomAxisPanel : public TCustomPlotPanelExtended {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        int Chart3DPercent = 15;
        bool AxisBehind = true, AxisVisible = true, ClipPoints = true;
        bool View3DWalls = true;
        int Page = 1;
        int MaxPointsPerPage = 0;
        bool ScaleLastPage = true;
        std::vector<TColor> Palette;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCustomAxisPanel(QWidget* parent = nullptr);
    ~TCustomAxisPanel() override;

    // --- stored settings ---
    bool AxisBehind() const { return FSettings.AxisBehind; }
    void SetAxisBehind(bool on) { StoreBooleanAndInvalidate(FSettings.AxisBehind, on); }
    bool AxisVisible() const { return FSettings.AxisVisible; }
    void SetAxisVisible(bool on) { StoreBooleanAndInvalidate(FSettings.AxisVisible, on); }
    virtual TChartAxis& BottomAxis() = 0;
    virtual TChartAxis& TopAxis() = 0;
    virtual TChartAxis& LeftAxis() = 0;
    virtual TChartAxis& RightAxis() = 0;
    virtual TChartDepthAxis& DepthAxis() = 0;
    virtual TChartDepthAxis& DepthTopAxis() = 0;
    int Chart3DPercent() const { return FSettings.Chart3DPercent; }
    void SetChart3DPercent(int v);
    bool ClipPoints() const { return FSettings.ClipPoints; }
    void SetClipPoints(bool on) { StoreBooleanAndInvalidate(FSettings.ClipPoints, on); }
    virtual TChartCustomAxes& CustomAxes() = 0;
    int MaxPointsPerPage() const { return FSettings.MaxPointsPerPage; }
    virtual void SetMaxPointsPerPage(int v) = 0;
    int Page() const { return FSettings.Page; }
    virtual void SetPage(int v) = 0;
    bool ScaleLastPage() const { return FSettings.ScaleLastPage; }
    void SetScaleLastPage(bool on) { StoreBooleanAndInvalidate(FSettings.ScaleLastPage, on); }
    virtual TChartSeriesList& SeriesList() = 0;
    bool View3DWalls() const { return FSettings.View3DWalls; }
    void SetView3DWalls(bool on) { StoreBooleanAndInvalidate(FSettings.View3DWalls, on); }
    virtual TChartAxes& Axes() = 0;
    // While a stored form is read, axis limits are accepted in any order.
    bool Loading() const { return FLoading; }
    void SetLoading(bool on) { FLoading = on; }
    virtual TChartTools& Tools() = 0;

    TPlotNotifyEvent OnAfterDraw, OnBeforeDrawAxes, OnBeforeDrawChart, OnBeforeDrawSeries, OnPageChange;
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;

    // --- series ---
    virtual TChartSeries* SeriesAt(int index) const = 0;
    virtual int NumberOfSeries() const = 0;
    virtual int ActiveSeriesCount() const = 0;
    virtual int MaxPointCount() const = 0;
    // The chart owns its series and frees them when it goes; a series freed
    // first leaves it, and one that leaves for another chart changes owner.
    virtual TChartSeries* AdoptSeries(TChartSeries* series) = 0;
    virtual TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series) = 0;
    template <class T>
    T* CreateSeries() {
        auto series = std::make_unique<T>();
        T* s = series.get();
        AdoptSeries(std::move(series));
        return s;
    }
    virtual void InsertSeries(TChartSeries* series) = 0;
    virtual void RemoveSeries(TChartSeries* series) = 0;
    // Frees every series for which match answers True (every series for an
    // empty match); the others keep their order.
    virtual void FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match = {}) = 0;
    template <class T>
    void FreeSeriesOfType() {
        FreeSeriesOfClass([](const TChartSeries* s) { return dynamic_cast<const T*>(s) != nullptr; });
    }
    virtual void ExchangeSeriesAt(int i, int j) = 0;
    virtual void SwapSeries(TChartSeries* a, TChartSeries* b) = 0;
    virtual void BroadcastSeriesEvent(TChartSeries* series, TPlotSeriesEventCode code) = 0;
    virtual TChartSeries* LegendSeriesAt(int n, bool activeOnly) const = 0;
    virtual std::string SeriesLegendTitle(int n, bool activeOnly) const = 0;
    int HighestZPosition() const { return FHighestZ; }
    void SetHighestZPosition(int z) { FHighestZ = z; }
    int DepthPerSeries() const { return FDepthPerSeries; }
    int HeightPerSeries() const { return FHeightPerSeries; }
    bool InvertedRotation() const { return FInvertedRotation; }

    // --- colours ---
    // The colour the legend draws symbols on, and the pen it wants for
    // their outlines (none: the series' own pen; not owned), set by the
    // legend while it draws.
    TColor LegendColor() const { return FLegendColor; }
    void SetLegendColor(TColor c) { FLegendColor = c; }
    TChartPen* LegendPen() const { return FLegendPen; }
    void SetLegendPen(TChartPen* pen) { FLegendPen = pen; }
    std::vector<TColor>& ColorPalette() { return FSettings.Palette; }
    TColor PaletteColor(int index) const;
    virtual TColor FirstFreeColor(bool checkBackgrounds, const TChartSeries* except) = 0;
    virtual void ReassignAutomaticColors() = 0;

    // The back wall's colour (the chart component has walls).
    virtual TColor BackWallColor() { return PanelBackColor(); }

    // --- axes ---
    // Asked before a tool scrolls an axis to a new range (only the answer
    // counts); the chart component asks its OnAllowScroll.
    virtual bool AllowAxisScroll(TChartAxis* axis, double newMinimum, double newMaximum) {
        (void)axis;
        (void)newMinimum;
        (void)newMaximum;
        return true;
    }
    // An axis is going: series and tools drop it (it leaves the lists).
    virtual void AxisGoing(TChartAxis* axis) { (void)axis; }
    virtual bool IsAxisShown(const TChartAxis* axis) const = 0;
    virtual bool NoActiveSeriesOnAxis(const TChartAxis* axis) const = 0;
    virtual TChartSeries* FirstSeriesOnAxis(const TChartAxis* axis) const = 0;
    virtual TChartSeries* LargestSeriesOnAxis(const TChartAxis* axis) const = 0;
    virtual double AxisValueLimit(const TChartAxis* axis, bool lowest, bool horizontal) const = 0;
    double AxisLowestX(const TChartAxis* axis) const { return AxisValueLimit(axis, true, true); }
    double AxisHighestX(const TChartAxis* axis) const { return AxisValueLimit(axis, false, true); }
    double AxisLowestY(const TChartAxis* axis) const { return AxisValueLimit(axis, true, false); }
    double AxisHighestY(const TChartAxis* axis) const { return AxisValueLimit(axis, false, false); }
    // Widest point label of every series and widest mark text.
    virtual int WidestSeriesLabel() = 0;
    virtual int WidestMarkOfSeries() { return 0; }
    virtual std::string MarkTextOfPoint(TChartSeries* series, int index) = 0;

    // --- paging and printing ---
    virtual int NumPages() const = 0;
    // Pages from..to (0: first, last) on the printer, one sheet each; pages
    // past the last are left out and an empty range starts no job. Page
    // comes back to its value also when printing fails (the job is aborted
    // and the failure propagates).
    void PrintPageRange(QPrinter& printer, int from, int to);

    // --- tools ---
    virtual void NotifyTools(TChartStage code) = 0;
    // Tools that work on series from work on series to.
    virtual void RetargetSeriesTools(const TChartSeries* from, TChartSeries* to) = 0;

    // --- pipeline stages ---
    virtual void ComputeChartArea() { Compute3DSizes(); }
    virtual int WallSizeOfAxis(const TChartAxis* axis) {
        (void)axis;
        return 0;
    }
    virtual void FireAfterDraw();
    virtual void FireBeforeDrawAxes();
    virtual void FireBeforeDrawChart();
    virtual void FireBeforeDrawSeries();
    virtual void DrawTitlesAndLegend(bool beforeSeries) { (void)beforeSeries; }
    virtual bool DepthPlaneFacesViewer(int depth);
    virtual void DrawWalls() {}
    virtual void RefillSeries(TChartSeries* series) = 0;
    virtual std::string LegendTextOfPoint(TChartSeries* series, int index) {
        (void)series;
        (void)index;
        return {};
    }
    // True when no series but except uses the colour (and, when asked, it
    // differs from the panel colour).
    virtual bool IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) = 0;
    // Draws a series alone, or with the series that share its depth row.
    virtual void DrawOneSeries(TChartSeries* series) = 0;
    virtual void DrawSeriesMarks(TChartSeries* series) = 0;
    // Clips to the chart box when clipping is allowed; True when it did.
    bool ClipToChartBox();

    void ComputeInvertedRotation();
    virtual void ComputeZOrder() = 0;
    void Compute3DSizes();
    virtual void LayOutAxes() = 0;
    virtual void PlaceAxisEnds() = 0;
    virtual void ComputeSeriesDepths() = 0;
    virtual void ApplyAxisPixelMargins(TChartAxis* axis) = 0;
    virtual void DrawAxes() = 0;
    virtual void DrawAllSeries() = 0;

    // Font metrics of the canvas for label texts.
    int MultiLineTextWidth(const std::string& text, int* lines = nullptr);
    const TSettings& Settings() const { return FSettings; }

    virtual void Assign(const TCustomAxisPanel& source);

protected:
    void leaveEvent(QEvent* e) override;
    // The page without the checks and notices of SetPage.
    void StorePage(int v) { FSettings.Page = v; }
    void StoreMaxPointsPerPage(int v) { StoreIntegerAndInvalidate(FSettings.MaxPointsPerPage, v); }

private:
    TSettings FSettings;
    int FHighestZ = 0;
    int FDepthPerSeries = 0, FHeightPerSeries = 0;
    bool FInvertedRotation = false;
    TColor FLegendColor = clWhite;
    TChartPen* FLegendPen = nullptr;
    bool FLoading = false;
};

// The chart's palette becomes palette index (empty: the default table);
// series with automatic colours get new ones.
void ApplyColorPalette(TCustomAxisPanel& chart, int index);

}  // namespace cb::chart
