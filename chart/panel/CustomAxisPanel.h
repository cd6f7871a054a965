#pragma once
// The chart panel with axes, series, tools and paging. Its DrawContents is
// the paint pipeline: layout, depths, axes, walls, series and legend with
// hooks for tools and events. Walls, titles and the legend are drawn by
// the chart component through the virtual stages declared here.
#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/OwnedList.h"
#include "chart/panel/CustomPlotPanelExtended.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/tools/ChartTools.h"
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

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
    explicit TCustomAxisPanel(QWidget* parent = nullptr);
    ~TCustomAxisPanel() override;

    // --- stored settings ---
    bool AxisBehind() const { return FAxisBehind; }
    void SetAxisBehind(bool on) { StoreBooleanAndInvalidate(FAxisBehind, on); }
    bool AxisVisible() const { return FAxisVisible; }
    void SetAxisVisible(bool on) { StoreBooleanAndInvalidate(FAxisVisible, on); }
    TChartAxis& BottomAxis() { return *FBottomAxis; }
    TChartAxis& TopAxis() { return *FTopAxis; }
    TChartAxis& LeftAxis() { return *FLeftAxis; }
    TChartAxis& RightAxis() { return *FRightAxis; }
    TChartDepthAxis& DepthAxis() { return *FDepthAxis; }
    TChartDepthAxis& DepthTopAxis() { return *FDepthTopAxis; }
    int Chart3DPercent() const { return FChart3DPercent; }
    void SetChart3DPercent(int v);
    bool ClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool on) { StoreBooleanAndInvalidate(FClipPoints, on); }
    TChartCustomAxes& CustomAxes() { return *FCustomAxes; }
    int MaxPointsPerPage() const { return FMaxPointsPerPage; }
    void SetMaxPointsPerPage(int v);
    int Page() const { return FPage; }
    void SetPage(int v);
    bool ScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool on) { StoreBooleanAndInvalidate(FScaleLastPage, on); }
    TChartSeriesList& SeriesList() { return *FSeriesList; }
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool on) { StoreBooleanAndInvalidate(FView3DWalls, on); }
    TChartAxes& Axes() { return *FAxes; }
    // While a stored form is read, axis limits are accepted in any order.
    bool Loading() const { return FLoading; }
    void SetLoading(bool on) { FLoading = on; }
    TChartTools& Tools() { return *FTools; }

    TPlotNotifyEvent OnAfterDraw, OnBeforeDrawAxes, OnBeforeDrawChart, OnBeforeDrawSeries, OnPageChange;
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;

    // --- series ---
    TChartSeries* SeriesAt(int index) const { return FSeriesList->SeriesAt(index); }
    int NumberOfSeries() const { return FSeriesList->Count(); }
    int ActiveSeriesCount() const;
    int MaxPointCount() const;
    // The chart owns its series and frees them when it goes; a series freed
    // first leaves it, and one that leaves for another chart changes owner.
    TChartSeries* AdoptSeries(TChartSeries* series);
    TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series);
    template <class T>
    T* CreateSeries() {
        auto series = std::make_unique<T>();
        T* s = series.get();
        AdoptSeries(std::move(series));
        return s;
    }
    void InsertSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);
    // Frees every series for which match answers True (every series for an
    // empty match); the others keep their order.
    void FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match = {});
    template <class T>
    void FreeSeriesOfType() {
        FreeSeriesOfClass([](const TChartSeries* s) { return dynamic_cast<const T*>(s) != nullptr; });
    }
    void ExchangeSeriesAt(int i, int j);
    void SwapSeries(TChartSeries* a, TChartSeries* b);
    void BroadcastSeriesEvent(TChartSeries* series, TPlotSeriesEventCode code);
    TChartSeries* LegendSeriesAt(int n, bool activeOnly) const;
    std::string SeriesLegendTitle(int n, bool activeOnly) const;
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
    std::vector<TColor>& ColorPalette() { return FPalette; }
    TColor PaletteColor(int index) const;
    TColor FirstFreeColor(bool checkBackgrounds, const TChartSeries* except);
    void ReassignAutomaticColors();

    // --- axes ---
    bool IsAxisShown(const TChartAxis* axis) const;
    bool NoActiveSeriesOnAxis(const TChartAxis* axis) const;
    TChartSeries* FirstSeriesOnAxis(const TChartAxis* axis) const;
    TChartSeries* LargestSeriesOnAxis(const TChartAxis* axis) const;
    double AxisValueLimit(const TChartAxis* axis, bool lowest, bool horizontal) const;
    double AxisLowestX(const TChartAxis* axis) const { return AxisValueLimit(axis, true, true); }
    double AxisHighestX(const TChartAxis* axis) const { return AxisValueLimit(axis, false, true); }
    double AxisLowestY(const TChartAxis* axis) const { return AxisValueLimit(axis, true, false); }
    double AxisHighestY(const TChartAxis* axis) const { return AxisValueLimit(axis, false, false); }
    // Widest point label of every series and widest mark text.
    int WidestSeriesLabel();
    virtual int WidestMarkOfSeries() { return 0; }
    virtual std::string MarkTextOfPoint(TChartSeries* series, int index);

    // --- paging and printing ---
    virtual int NumPages() const;
    // Pages from..to (0: first, last) on the printer, one sheet each; pages
    // past the last are left out and an empty range starts no job. Page
    // comes back to its value also when printing fails (the job is aborted
    // and the failure propagates).
    void PrintPageRange(QPrinter& printer, int from, int to);

    // --- tools ---
    void NotifyTools(TChartStage code);

    // --- pipeline stages ---
    void DrawContents(const TRect& bounds) override;
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
    virtual void RefillSeries(TChartSeries* series);
    virtual std::string LegendTextOfPoint(TChartSeries* series, int index) {
        (void)series;
        (void)index;
        return {};
    }
    // True when no series but except uses the colour (and, when asked, it
    // differs from the panel colour).
    virtual bool IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except);
    // Draws a series alone, or with the series that share its depth row.
    virtual void DrawOneSeries(TChartSeries* series);
    void DrawSeriesMarks(TChartSeries* series);
    // Clips to the chart box when clipping is allowed; True when it did.
    bool ClipToChartBox();

    void ComputeInvertedRotation();
    void ComputeZOrder();
    void Compute3DSizes();
    void LayOutAxes();
    void PlaceAxisEnds();
    void ComputeSeriesDepths();
    void ApplyAxisPixelMargins(TChartAxis* axis);
    void DrawAxes();
    void DrawAllSeries();

    // Font metrics of the canvas for label texts.
    int MultiLineTextWidth(const std::string& text, int* lines = nullptr);

    void Assign(const TCustomAxisPanel& source);

protected:
    void leaveEvent(QEvent* e) override;

private:
    int FChart3DPercent = 15;
    std::unique_ptr<TChartTools> FTools;
    bool FAxisBehind = true, FAxisVisible = true, FClipPoints = true;
    std::unique_ptr<TChartSeriesList> FSeriesList;
    TOwnedList<TChartSeries> FOwnedSeries;  // every series of the chart
    bool FView3DWalls = true;
    std::unique_ptr<TChartAxes> FAxes;
    std::unique_ptr<TChartCustomAxes> FCustomAxes;
    TChartAxis* FBottomAxis = nullptr;
    TChartAxis* FTopAxis = nullptr;
    TChartAxis* FLeftAxis = nullptr;
    TChartAxis* FRightAxis = nullptr;
    TChartDepthAxis* FDepthAxis = nullptr;
    TChartDepthAxis* FDepthTopAxis = nullptr;
    int FPage = 1;
    int FMaxPointsPerPage = 0;
    bool FScaleLastPage = true;
    int FHighestZ = 0;
    int FDepthPerSeries = 0, FHeightPerSeries = 0;
    bool FInvertedRotation = false;
    std::vector<TColor> FPalette;
    TColor FLegendColor = clWhite;
    TChartPen* FLegendPen = nullptr;
    bool FDestroying = false;
    bool FLoading = false;
};

}  // namespace cb::chart
