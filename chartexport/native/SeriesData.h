#pragma once
// The points of one series, or of every series of a chart, as delimited
// text, XML, an HTML table or a small spreadsheet.
#include "chart/core/PlotExportData.h"
#include "chart/core/PlotTypes.h"

#include <string>
#include <vector>

namespace cb::chart {
class TChartSeries;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::chartexport {

class TSeriesData : public cb::chart::TPlotExportData {
public:
    // series none: every series of the chart.
    TSeriesData(cb::chart::TCustomAxisPanel* chart, cb::chart::TChartSeries* series);
    bool IncludeColors = false;
    bool IncludeIndex = false;
    bool IncludeHeader = false;
    bool IncludeLabels = true;
    cb::chart::TCustomAxisPanel* Chart() const { return FChart; }
    cb::chart::TChartSeries* Series() const { return FSeries; }
    // The content flags the columns follow (scfXValues, scfPointColors,
    // scfLabels), as asked for and as the series hold.
    virtual unsigned DetermineContents();
    // The series exported, in order.
    std::vector<cb::chart::TChartSeries*> ExportedSeries() const;
    // The point count, or the largest of all series.
    int LineCount() const;

protected:
    // "#rrggbb" (system colours resolved).
    static std::string ColorText(cb::chart::TColor color);
    cb::chart::TCustomAxisPanel* FChart;
    cb::chart::TChartSeries* FSeries;
    unsigned FContents = 0;
};

class TSeriesDataText : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    char Delimiter = '\t';
    // Put around every text field; empty: text fields are quoted only when
    // they hold the delimiter, a quote or a line break (doubling quotes).
    std::string QuoteText;
    // A number picture for values; empty: the general conversion.
    std::string NumberFormat;
    unsigned DetermineContents() override;
    std::string BuildText() override;
    std::string LineOfPoint(int index);

private:
    std::string quoted(const std::string& text) const;
    std::string headerLine();
};

class TSeriesDataXML : public TSeriesData {
public:
    TSeriesDataXML(cb::chart::TCustomAxisPanel* chart, cb::chart::TChartSeries* series);
    // Declared in the header; the text is written in UTF-8.
    std::string Encoding = "UTF-8";
    std::string BuildText() override;
};

class TSeriesDataHTML : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    std::string BuildText() override;
};

// A worksheet stream of the oldest spreadsheet file kind; more than 65,535
// rows raise cb::chart::ChartException (row numbers are 16 bits).
class TSeriesDataXLS : public TSeriesData {
public:
    using TSeriesData::TSeriesData;
    std::string BuildText() override;
};

}  // namespace cb::chartexport
