#pragma once
// What a series holds beyond its values, as stored charts and the chart
// export formats ask; and the list of a chart's series by title or name.
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {

class TChartSeries;
class TCustomSeriesList;

// The position list is not 0, 1, ..., N-1 (every point is looked at).
bool SeriesNeedsXValues(TChartSeries& series);
// A point has a colour of its own (neither default nor the series colour).
bool SeriesHasPointColors(TChartSeries& series);
// A point has a label.
bool SeriesHasLabels(TChartSeries& series);

enum : unsigned {
    scfXValues = 1,
    scfPointColors = 2,
    scfLabels = 4,
    scfCustomMarks = 8
};
unsigned ComputeSeriesContentFlags(TChartSeries& series);

// Appends a line per series not made for the chart's own use: its display
// title (byTitle) or its name, with the series.
void ListSeriesInStrings(std::vector<std::pair<std::string, TChartSeries*>>& strings, const TCustomSeriesList& list,
                         bool byTitle);

}  // namespace cb::chart
