#pragma once
// The chart panel with axes, series, tools and paging: it owns them and
// its DrawContents is the paint pipeline (layout, depths, axes, walls,
// series and legend, with hooks for tools and events).
#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/OwnedList.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"
#include "chart/tools/ChartTools.h"
#include "chart/tools/PlotCustomTool.h"

#include <functional>
#include <memory>
#include <string>

namespace cb::chart {

class TAxisPanel : public TCustomAxisPanel {
public:
    explicit TAxisPanel(QWidget* parent = nullptr);
    ~TAxisPanel() override;

    TChartAxis& BottomAxis() override { return *FBottomAxis; }
    TChartAxis& TopAxis() override { return *FTopAxis; }
    TChartAxis& LeftAxis() override { return *FLeftAxis; }
    TChartAxis& RightAxis() override { return *FRightAxis; }
    TChartDepthAxis& DepthAxis() override { return *FDepthAxis; }
    TChartDepthAxis& DepthTopAxis() override { return *FDepthTopAxis; }
    TChartCustomAxes& CustomAxes() override { return *FCustomAxes; }
    TChartSeriesList& SeriesList() override { return *FSeriesList; }
    TChartAxes& Axes() override { return *FAxes; }
    TChartTools& Tools() override { return *FTools; }
    // The tools' overlays over the shown picture.
    void DrawOverlays() override;
    void SetMaxPointsPerPage(int v) override;
    void SetPage(int v) override;

    // --- series ---
    TChartSeries* SeriesAt(int index) const override { return FSeriesList->SeriesAt(index); }
    int NumberOfSeries() const override { return FSeriesList->Count(); }
    int ActiveSeriesCount() const override;
    int MaxPointCount() const override;
    TChartSeries* AdoptSeries(TChartSeries* series) override;
    TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series) override;
    void InsertSeries(TChartSeries* series) override;
    void RemoveSeries(TChartSeries* series) override;
    void FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match = {}) override;
    void ExchangeSeriesAt(int i, int j) override;
    void SwapSeries(TChartSeries* a, TChartSeries* b) override;
    void BroadcastSeriesEvent(TChartSeries* series, TPlotSeriesEventCode code) override;
    TChartSeries* LegendSeriesAt(int n, bool activeOnly) const override;
    std::string SeriesLegendTitle(int n, bool activeOnly) const override;

    // --- colours ---
    TColor FirstFreeColor(bool checkBackgrounds, const TChartSeries* except) override;
    void ReassignAutomaticColors() override;
    bool IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) override;

    // --- axes ---
    void AxisGoing(TChartAxis* axis) override;
    bool IsAxisShown(const TChartAxis* axis) const override;
    bool NoActiveSeriesOnAxis(const TChartAxis* axis) const override;
    TChartSeries* FirstSeriesOnAxis(const TChartAxis* axis) const override;
    TChartSeries* LargestSeriesOnAxis(const TChartAxis* axis) const override;
    double AxisValueLimit(const TChartAxis* axis, bool lowest, bool horizontal) const override;
    int WidestSeriesLabel() override;
    std::string MarkTextOfPoint(TChartSeries* series, int index) override;

    int NumPages() const override;
    void NotifyTools(TChartStage code) override;
    void RetargetSeriesTools(const TChartSeries* from, TChartSeries* to) override;

    // --- pipeline stages ---
    void DrawContents(const TRect& bounds) override;
    void RefillSeries(TChartSeries* series) override;
    void DrawOneSeries(TChartSeries* series) override;
    void DrawSeriesMarks(TChartSeries* series) override;
    void ComputeZOrder() override;
    void LayOutAxes() override;
    void PlaceAxisEnds() override;
    void ComputeSeriesDepths() override;
    void ApplyAxisPixelMargins(TChartAxis* axis) override;
    void DrawAxes() override;
    void DrawAllSeries() override;

    void Assign(const TCustomAxisPanel& source) override;

private:
    std::unique_ptr<TChartTools> FTools;
    std::unique_ptr<TChartSeriesList> FSeriesList;
    TOwnedList<TChartSeries> FOwnedSeries;  // every series of the chart
    std::unique_ptr<TChartAxes> FAxes;
    std::unique_ptr<TChartCustomAxes> FCustomAxes;
    TChartAxis* FBottomAxis = nullptr;
    TChartAxis* FTopAxis = nullptr;
    TChartAxis* FLeftAxis = nullptr;
    TChartAxis* FRightAxis = nullptr;
    TChartDepthAxis* FDepthAxis = nullptr;
    TChartDepthAxis* FDepthTopAxis = nullptr;
    bool FDestroying = false;
};

}  // namespace cb::chart
