#pragma once
// Base of the series functions: an object owned by its output series that
// computes the series' points from the series' data sources, over the
// whole source or period by period.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TChartSeries;
class TChartValueList;
class TCustomAxisPanel;

enum class TFunctionPeriodStyle {
    psNumPoints,
    psRange
};

enum class TFunctionPeriodAlign {
    paFirst,
    paCenter,
    paLast
};

class TPlotFunction {
public:
    // Every setting Assign copies.
    struct TSettings {
        double Period = 0;
        TFunctionPeriodStyle PeriodStyle = TFunctionPeriodStyle::psNumPoints;
        TFunctionPeriodAlign PeriodAlign = TFunctionPeriodAlign::paCenter;
        bool operator==(const TSettings&) const = default;
    };

    TPlotFunction() = default;
    virtual ~TPlotFunction() = default;
    TPlotFunction(const TPlotFunction&) = delete;
    TPlotFunction& operator=(const TPlotFunction&) = delete;

    // 0: one result over the whole source; else points per period
    // (psNumPoints) or the width of a period on the position axis
    // (psRange). Negative raises ChartException and keeps the old value.
    double Period() const { return FSettings.Period; }
    void SetPeriod(double period);
    TFunctionPeriodStyle PeriodStyle() const { return FSettings.PeriodStyle; }
    void SetPeriodStyle(TFunctionPeriodStyle style);
    TFunctionPeriodAlign PeriodAlign() const { return FSettings.PeriodAlign; }
    void SetPeriodAlign(TFunctionPeriodAlign align);

    // The series this function fills (set by TChartSeries::AttachFunction).
    TChartSeries* ParentSeries() const { return FParent; }
    void SetParentSeries(TChartSeries* series) { FParent = series; }
    // The chart refills the output series even without data sources.
    bool NeedsNoSource() const { return FNeedsNoSource; }

    // Asks the output series' chart to refill it (not while held).
    void Recalculate();
    void HoldRecalculation() { FUpdating = true; }
    void ReleaseRecalculation();
    bool Updating() const { return FUpdating; }

    const TSettings& Settings() const { return FSettings; }
    // Period, PeriodStyle and PeriodAlign (and what a class adds).
    virtual void Assign(const TPlotFunction& source);
    // A new function of the same class with the same settings, no series.
    virtual std::unique_ptr<TPlotFunction> Clone() const = 0;
    virtual std::string EditorClassName() const { return "TPlotFunctionEditor"; }
    // Every series of a gallery chart gets its coloured gallery sample.
    virtual void PrepareGalleryChart(TCustomAxisPanel& chart);

    // The output series was cleared.
    virtual void SourceCleared() {}
    virtual bool AcceptsSource(TChartSeries* source) {
        (void)source;
        return true;
    }
    // Adds the results for one source (or, with several data sources, the
    // values across them) to the output series.
    virtual void AddPointsFromSource(TChartSeries* source);

    // The value over points first..last of source (first -1: the whole
    // source); 0 here.
    virtual double ValueOfRange(TChartSeries& source, int first, int last);
    // The value across the sources at point index (sources without that
    // point take no part); 0 here.
    virtual double ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index);

    // Results a period may produce at most; a period that would give more
    // raises ChartException naming the count.
    static constexpr long long MaxResultPoints = 10'000'000;

protected:
    virtual void AddRangeResult(TChartSeries& source, int first, int last, double position);
    virtual void AddWholeSourceResult(TChartSeries& source, TChartValueList& positions);
    virtual void AddPeriodResults(TChartSeries& source, TChartValueList& positions);
    virtual void AddResults(TChartSeries& source, TChartValueList& positions);
    // One point of the output series at position with value.
    void AddResultPoint(double position, double value);
    // The list the function reads on a source: the one named by the output
    // series' mandatory ValueSource, else the source's mandatory list.
    TChartValueList& SourceValues(TChartSeries& source) const;
    // Points in a psNumPoints period: Period rounded half to even, at least 1.
    int PointsPerPeriod() const;

    bool FNeedsNoSource = false;

private:
    double nextPeriodStart(double t) const;

    TSettings FSettings;
    TChartSeries* FParent = nullptr;
    bool FUpdating = false;
};

// Clone for a function class F that is default-constructible.
template <class F>
std::unique_ptr<TPlotFunction> CloneFunction(const F& source) {
    auto copy = std::make_unique<F>();
    copy->Assign(source);
    return copy;
}

}  // namespace cb::chart
