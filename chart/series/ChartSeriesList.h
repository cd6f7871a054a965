#pragma once
// The chart's series in drawing order, with the named series groups.
#include "chart/series/ChartSeries.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TCustomAxisPanel;

enum TSeriesGroupActive {
    gaYes,
    gaNo,
    gaSome
};

// A named group of series.
class TSeriesGroup {
public:
    std::string Name;
    TCustomSeriesList Series;
    // gaYes when every series is active (also for an empty group), gaNo
    // when none is, else gaSome.
    TSeriesGroupActive Active() const;
    // gaYes and gaNo switch every series; gaSome changes nothing.
    void SetActive(TSeriesGroupActive value);
};

// The chart's series in drawing order, with the series groups. Only looks at
// the series: the chart owns them.
class TChartSeriesList : public TCustomSeriesList {
public:
    explicit TChartSeriesList(TCustomAxisPanel* chart) : FChart(chart) {}
    TCustomAxisPanel* Chart() const { return FChart; }
    void PutSeries(int index, TChartSeries* series);
    void EmptyAllSeries();
    // True for an empty list.
    bool EverySeriesActive() const;
    void SetEverySeriesActive(bool on);
    TSeriesGroup* NewSeriesGroup(const std::string& name);
    // Frees the group; its series stay in the chart.
    void DeleteSeriesGroup(int index);
    int GroupCount() const { return int(FGroups.size()); }
    TSeriesGroup* GroupAt(int index) const { return FGroups.at(std::size_t(index)).get(); }
    // The first group holding the series, -1 when none.
    int GroupIndexOfSeries(const TChartSeries* series) const;

private:
    TCustomAxisPanel* FChart;
    std::vector<std::unique_ptr<TSeriesGroup>> FGroups;
};

}  // namespace cb::chart
