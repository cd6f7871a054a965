#pragma once
// Base of components that fill a series from elsewhere (none in this
// program fills one yet): open and closed, linked to one series, filling
// it when opened and emptying it when closed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TChartSeries;
class TCustomAxisPanel;

class TPlotSeriesSource {
public:
    TPlotSeriesSource() = default;
    // Closes the source and unlinks its series.
    virtual ~TPlotSeriesSource();
    TPlotSeriesSource(const TPlotSeriesSource&) = delete;
    TPlotSeriesSource& operator=(const TPlotSeriesSource&) = delete;

    // The linked series (not owned); it unlinks itself when it goes.
    TChartSeries* Series() const { return FSeries; }
    // Closes the source and makes it the new series' source.
    void SetSeries(TChartSeries* series);
    bool Open() const { return FOpen; }
    // Opening fills the series (unless loading); closing empties it.
    virtual void SetOpen(bool on);
    virtual bool SupportsChart(TCustomAxisPanel* chart) const {
        (void)chart;
        return true;
    }
    virtual std::string DisplayText() const { return {}; }
    virtual bool OffersNew() const { return false; }
    // The series' source is of this source's class.
    virtual bool MatchesSeriesSource(const TChartSeries& series) const;
    virtual void Deactivate();
    // Loads the data into the series; nothing here.
    virtual void FillSeries() {}
    virtual void Activate() { SetOpen(true); }
    // Fills again while open.
    void Reload();

    // While loading a stored form, opening does not fill; Loaded reloads.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    void Loaded();

private:
    friend class TChartSeries;
    void seriesGone() { FSeries = nullptr; }

    TChartSeries* FSeries = nullptr;
    bool FOpen = false;
    bool FLoading = false;
    bool FDestroying = false;
};

// Data-source style classes the series editor lists (empty in this program).
using TSeriesSourceFactory = std::function<std::unique_ptr<TPlotSeriesSource>()>;
std::vector<TSeriesSourceFactory>& DataSourceStyleList();

}  // namespace cb::chart
