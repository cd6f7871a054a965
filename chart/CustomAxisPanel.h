#pragma once
// The chart panel with axes, series, tools and paging. Its DrawContents is
// the paint pipeline: layout, depths, axes, walls, series and legend with
// hooks for tools and events. Walls, titles and the legend are drawn by
// the chart component through the virtual stages declared here.
#include "chart/ChartAxis.h"
#include "chart/ChartLists.h"
#include "chart/CustomPlotPanel.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

enum TPlotSeriesEventCode { seAdd = 0, seRemove = 1, seChangeTitle = 2, seChangeColor = 3, seSwap = 4,
                            seChangeActive = 5, seDataChanged = 6 };

// A series of the chart changed (Series is none for seSwap).
class TPlotSeriesEvent : public TPlotEvent {
public:
    TChartSeries* Series = nullptr;
    int Code = 0;
};

// The chart's page or page size changed.
class TChartChangePage : public TPlotEvent {};

using TAxisOnGetLabel = std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex,
                                           std::string& labelText)>;
using TAxisOnGetNextLabel = std::function<void(TChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;
using TPlotNotifyEvent = std::function<void(TCustomAxisPanel* sender)>;

class TCustomAxisPanel : public TCustomPlotPanel {
public:
    explicit TCustomAxisPanel(QWidget* parent = nullptr);
    ~TCustomAxisPanel() override;

    // --- published ---
    bool AxisBehind() const { return fAxisBehind; }
    void SetAxisBehind(bool on) { StoreBooleanAndInvalidate(fAxisBehind, on); }
    bool AxisVisible() const { return fAxisVisible; }
    void SetAxisVisible(bool on) { StoreBooleanAndInvalidate(fAxisVisible, on); }
    TChartAxis& BottomAxis() { return *fBottomAxis; }
    TChartAxis& TopAxis() { return *fTopAxis; }
    TChartAxis& LeftAxis() { return *fLeftAxis; }
    TChartAxis& RightAxis() { return *fRightAxis; }
    TChartDepthAxis& DepthAxis() { return *fDepthAxis; }
    TChartDepthAxis& DepthTopAxis() { return *fDepthTopAxis; }
    int Chart3DPercent() const { return fChart3DPercent; }
    void SetChart3DPercent(int v);
    bool ClipPoints() const { return fClipPoints; }
    void SetClipPoints(bool on) { StoreBooleanAndInvalidate(fClipPoints, on); }
    TChartCustomAxes& CustomAxes() { return *fCustomAxes; }
    int MaxPointsPerPage() const { return fMaxPointsPerPage; }
    void SetMaxPointsPerPage(int v);
    int Page() const { return fPage; }
    void SetPage(int v);
    bool ScaleLastPage() const { return fScaleLastPage; }
    void SetScaleLastPage(bool on) { StoreBooleanAndInvalidate(fScaleLastPage, on); }
    TChartSeriesList& SeriesList() { return *fSeriesList; }
    bool View3DWalls() const { return fView3DWalls; }
    void SetView3DWalls(bool on) { StoreBooleanAndInvalidate(fView3DWalls, on); }
    TChartAxes& Axes() { return *fAxes; }
    // While a stored form is read, axis limits are accepted in any order.
    bool Loading() const { return fLoading; }
    void SetLoading(bool on) { fLoading = on; }
    TChartTools& Tools() { return *fTools; }

    TPlotNotifyEvent OnAfterDraw, OnBeforeDrawAxes, OnBeforeDrawChart, OnBeforeDrawSeries, OnPageChange;
    TAxisOnGetLabel OnGetAxisLabel;
    TAxisOnGetNextLabel OnGetNextAxisLabel;

    // --- series ---
    TChartSeries* SeriesAt(int index) const { return fSeriesList->SeriesAt(index); }
    int NumberOfSeries() const { return fSeriesList->Count(); }
    int ActiveSeriesCount() const;
    int MaxPointCount() const;
    // The chart frees its series when it goes; a series freed first leaves it.
    TChartSeries* AdoptSeries(TChartSeries* series);
    template <class T> T* CreateSeries()
    {
        auto* s = new T();
        AdoptSeries(s);
        return s;
    }
    void InsertSeries(TChartSeries* series);
    void RemoveSeries(TChartSeries* series);
    // Frees every series for which match answers True (every series for an
    // empty match); the others keep their order.
    void FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match = {});
    template <class T> void FreeSeriesOfType()
    {
        FreeSeriesOfClass([](const TChartSeries* s) { return dynamic_cast<const T*>(s) != nullptr; });
    }
    void ExchangeSeriesAt(int i, int j);
    void SwapSeries(TChartSeries* a, TChartSeries* b);
    void BroadcastSeriesEvent(TChartSeries* series, int code);
    TChartSeries* LegendSeriesAt(int n, bool activeOnly) const;
    std::string SeriesLegendTitle(int n, bool activeOnly) const;
    int HighestZPosition() const { return fHighestZ; }
    void SetHighestZPosition(int z) { fHighestZ = z; }
    int DepthPerSeries() const { return fDepthPerSeries; }
    int HeightPerSeries() const { return fHeightPerSeries; }
    bool InvertedRotation() const { return fInvertedRotation; }

    // --- colours ---
    std::vector<TColor>& ColorPalette() { return fPalette; }
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
    void NotifyTools(int code);

    // --- pipeline stages ---
    void DrawContents(const TRect& bounds) override;
    virtual void ComputeChartArea() { Compute3DSizes(); }
    virtual int WallSizeOfAxis(const TChartAxis* axis) { (void)axis; return 0; }
    virtual void FireAfterDraw();
    virtual void FireBeforeDrawAxes();
    virtual void FireBeforeDrawChart();
    virtual void FireBeforeDrawSeries();
    virtual void DrawTitlesAndLegend(bool beforeSeries) { (void)beforeSeries; }
    virtual bool DepthPlaneFacesViewer(int depth);
    virtual void DrawWalls() {}
    virtual void RefillSeries(TChartSeries* series);
    virtual std::string LegendTextOfPoint(TChartSeries* series, int index) { (void)series; (void)index; return {}; }
    // True when no series but except uses the colour (and, when asked, it
    // differs from the panel colour).
    virtual bool IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except);
    virtual void DrawPanelBackground(const TRect& bounds);
    virtual void DrawZoomRectangle() {}
    virtual bool ZoomActive() const { return false; }
    virtual void DrawOneSeries(TChartSeries* series);

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
    int fChart3DPercent = 15;
    std::unique_ptr<TChartTools> fTools;
    bool fAxisBehind = true, fAxisVisible = true, fClipPoints = true;
    std::unique_ptr<TChartSeriesList> fSeriesList;
    bool fView3DWalls = true;
    std::unique_ptr<TChartAxes> fAxes;
    std::unique_ptr<TChartCustomAxes> fCustomAxes;
    TChartAxis* fBottomAxis = nullptr;
    TChartAxis* fTopAxis = nullptr;
    TChartAxis* fLeftAxis = nullptr;
    TChartAxis* fRightAxis = nullptr;
    TChartDepthAxis* fDepthAxis = nullptr;
    TChartDepthAxis* fDepthTopAxis = nullptr;
    int fPage = 1;
    int fMaxPointsPerPage = 0;
    bool fScaleLastPage = true;
    int fHighestZ = 0;
    int fDepthPerSeries = 0, fHeightPerSeries = 0;
    bool fInvertedRotation = false;
    std::vector<TColor> fPalette;
    bool fDestroying = false;
    bool fLoading = false;
};

} // namespace cb::chart
