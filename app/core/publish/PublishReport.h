#pragma once
// The published HTML report: the pivot grid's cells with their colours,
// bold styles and alignments as an HTML table, a title above it and the
// chart picture "chart.jpg" below it.
#include <string>
#include <vector>

namespace cb::grid {
class TExtStringGrid;
}
namespace cb::chart {
class TCustomAxisPanel;
class TCustomChart;
class TCustomPlotPanel;
}  // namespace cb::chart

namespace cb::app {

struct THTMLReportOptions {
    bool ShowTitle = true;
    std::string Title;
    bool IncludeChart = false;  // adds <img src="chart.jpg">
};

// Name of the chart picture beside the report.
inline constexpr const char* kReportChartFile = "chart.jpg";

// The report, one line per entry. Text and title are escaped; a blank cell
// is "&nbsp;" and every blank of a cell's text "&nbsp;".
std::vector<std::string> BuildHTMLReport(const cb::grid::TExtStringGrid& grid, const THTMLReportOptions& options);
// The attributes of a cell's <td> tag, starting with a blank.
std::string HTMLCellAttributes(const cb::grid::TExtStringGrid& grid, int col, int row);
// "&", "<", ">" and '"' as entities, blanks as "&nbsp;"; "&nbsp;" for blank text.
std::string HTMLCellText(const std::string& text);

// The lines, each ended by CR LF, written through a temporary file beside
// fileName; raises when it cannot be written (an old file stays as it was).
void SaveReportLines(const std::vector<std::string>& lines, const std::string& fileName);

// Dresses a chart for a report while it lives and restores it after: the
// title shown with title (when one is given), the legend shown, the left
// axis title hidden and the first tool (the annotation) switched off. The
// visibilities and the tool come back; the title keeps its new text.
class TReportChartDressing {
public:
    explicit TReportChartDressing(cb::chart::TCustomPlotPanel& panel, const std::string& title = {});
    ~TReportChartDressing();
    TReportChartDressing(const TReportChartDressing&) = delete;
    TReportChartDressing& operator=(const TReportChartDressing&) = delete;

private:
    cb::chart::TCustomAxisPanel* FChart = nullptr;  // none: a panel without axes
    cb::chart::TCustomChart* FFullChart = nullptr;  // none: a panel without title and legend
    bool FAxisTitleVisible = false;
    bool FToolActive = false;
    bool FTitleVisible = false;
    bool FLegendVisible = false;
};

// The chart's title in a report: "<cube caption> - <measure's last bracketed name>".
std::string ReportChartTitle(const std::string& cubeCaption, const std::string& measure);

// The panel as a colour JPEG (quality 100) of its own size, in memory,
// marked by a comment as a report's chart picture.
std::string ChartJPEGBytes(cb::chart::TCustomPlotPanel& panel);
// Whether the file is a chart picture this program wrote for a report (a
// later report may replace it without asking).
bool IsReportChartPicture(const std::string& fileName);

}  // namespace cb::app
