#pragma once
// Creating, duplicating and converting series the way galleries and
// editors need, and putting one series in another's place.
#include "chart/series/SeriesTypes.h"

#include <memory>
#include <string>

namespace cb::chart {

class TChartSeries;
class TCustomAxisPanel;

// "Series" and the first number no series of the chart is named with.
std::string NewSeriesName(const TCustomAxisPanel* chart);
// A named series of the class in the chart (which owns it).
TChartSeries* CreateSeriesOfClass(TCustomAxisPanel& chart, const TSeriesClass& seriesClass);
// A copy of the series in its chart.
TChartSeries* DuplicateSeries(TChartSeries& series);
// Puts newSeries in oldSeries' place: settings, points, handlers, name,
// dependents, tools and list position move over; oldSeries is freed and
// the pointer cleared.
void ReplaceSeries(TChartSeries*& oldSeries, TChartSeries& newSeries);
// Converts the series to another class; the pointer then refers to the
// new series. Nothing happens when the class is the same.
void ChangeSeriesClass(TChartSeries*& series, const TSeriesClass& newClass);

}  // namespace cb::chart
