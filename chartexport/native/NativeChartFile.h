#pragma once
// The native chart file: the bytes 60 30 57 01, then the chart's series
// with their settings and (optionally) their points; and its text form,
// which begins with "object".
#include <string>

namespace cb::rtl {
class TStream;
}
namespace cb::chart {
class TCustomAxisPanel;
}

namespace cb::chartexport {

// Every series with its class, name, title, identifier, style, colour,
// active flag, data-source names and, with includeData, its points.
// asText writes the text form instead.
void SaveChartToStream(cb::chart::TCustomAxisPanel& chart, cb::rtl::TStream& stream, bool includeData,
                       bool asText);
// Appends ".dza" to a name without extension; written beside the file and
// renamed into place.
void SaveChartToFile(cb::chart::TCustomAxisPanel& chart, std::string fileName, bool includeData, bool asText);
// Replaces the chart's series by those stored (the series classes must be
// registered). A bad file raises an exception naming what was wrong and
// leaves the chart as it was.
void LoadChartFromStream(cb::chart::TCustomAxisPanel& chart, cb::rtl::TStream& stream);
// A native file to its text form; a text form is copied; anything else
// raises ChartException "Wrong *.dza file format".
void ConvertChartStreamToText(cb::rtl::TStream& source, cb::rtl::TStream& target);

}  // namespace cb::chartexport
