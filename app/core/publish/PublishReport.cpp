#include "app/core/publish/PublishReport.h"

#include "app/core/query/DisplayManager.h"
#include "app/core/theme/GridTheme.h"
#include "chart/component/CustomChart.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chart/tools/PlotCustomTool.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "grid/ExtStringGrid.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <fstream>

namespace cb::app {

namespace {

// A colour as "#RRGGBB"; "none" gives the fallback.
std::string CSSColor(cb::gfx::TColor color, cb::gfx::TColor fallback) {
    if (color == cb::gfx::clNone) color = fallback;
    return "#" + ColorToHex(cb::gfx::ColorToRGB(color) & 0xFFFFFF);
}

std::string EscapeHTML(const std::string& text) {
    return cb::rtl::EscapeMarkup(text);
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

}  // namespace

std::string HTMLCellText(const std::string& text) {
    if (IsBlank(text)) return "&nbsp;";
    std::string out;
    for (char c : EscapeHTML(text)) out += c == ' ' ? std::string("&nbsp;") : std::string(1, c);
    return out;
}

std::string HTMLCellAttributes(const cb::grid::TExtStringGrid& grid, int col, int row) {
    std::string attributes = grid.GetCellAlignment(col, row) == cb::grid::taRightJustify
                                 ? " align=\"right\" class=\"main\""
                                 : " class=\"header\"";
    // A cell without colours shows white behind the grid's own font colour.
    const bool bold = (grid.GetCellFontStyle(col, row) & cb::gfx::fsBold) != 0;
    attributes += " style=\"background-color: " + CSSColor(grid.GetCellBrushColor(col, row), 0xFFFFFF) +
                  "; color: " + CSSColor(grid.GetCellFontColor(col, row), grid.Font().Color()) +
                  (bold ? "; font-weight: bold\"" : "; font-weight: normal\"");
    return attributes;
}

std::vector<std::string> BuildHTMLReport(const cb::grid::TExtStringGrid& grid, const THTMLReportOptions& options) {
    std::vector<std::string> lines = {
        "<html><head><meta charset=\"utf-8\"><style type=\"text/css\"><!--",
        "body{\tmargin: 0px;\tpadding: 0px;\tborder-left: 15px solid #CCCCCC;\tbackground: #EFEFEF;}",
        ".header {\tbackground-color: #E4E4E4;\tfont-family: sans-serif, Arial, Verdana, Helvetica, \"Times New "
        "Roman\";\tfont-size: 12px;\tcolor: #000000;}",
        ".main {\tfont-family: sans-serif, Helvetica, Arial;\tfont-size: 12px;\tcolor: #333333;}",
        ".title {\tfont-family: sans-serif, Helvetica, Arial;\tfont-size: 16px;\tfont-weight: bold;\theight: "
        "40px;\tbackground: #CCCCCC;\tcolor: #333333;\twidth: 100%;\tpadding-top: 10px;}",
        "hr{  color: #E5E1E1;}",
        "--></style></head><body bgcolor=\"#EFEFEF\" LEFTMARGIN=\"20\">",
    };
    if (options.ShowTitle) lines.push_back("<span class=\"title\">" + EscapeHTML(options.Title) + "</span><br>");
    lines.push_back("<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\" bordercolor=\"" +
                    CSSColor(grid.GridLineColor(), 0xC0C0C0) + "\">");
    for (int row = 0; row < grid.RowCount(); ++row) {
        lines.push_back("<tr>");
        for (int col = 0; col < grid.ColCount(); ++col)
            lines.push_back("<td" + HTMLCellAttributes(grid, col, row) + ">" +
                            HTMLCellText(grid.GetCellText(col, row)) + "</td>");
        lines.push_back("</tr>");
    }
    lines.push_back("</table>");
    lines.push_back("<br /><br /><br />");
    if (options.IncludeChart)
        lines.push_back(std::string("<img src=\"") + kReportChartFile + "\" border=\"0\" alt=\"\">");
    lines.push_back("</body></html>");
    return lines;
}

void SaveReportLines(const std::vector<std::string>& lines, const std::string& fileName) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    cb::rtl::WriteFileAtomic(fileName, text);
}

std::string ReportChartTitle(const std::string& cubeCaption, const std::string& measure) {
    return cubeCaption + " - " + TDisplayManager::ExtractLastBracketedName(measure);
}

TReportChartDressing::TReportChartDressing(cb::chart::TCustomPlotPanel& panel, const std::string& title)
    : FChart(dynamic_cast<cb::chart::TCustomAxisPanel*>(&panel)),
      FFullChart(dynamic_cast<cb::chart::TCustomChart*>(&panel)) {
    if (FFullChart) {
        FTitleVisible = FFullChart->Title().Visible();
        FLegendVisible = FFullChart->Legend().Visible();
        if (!title.empty()) {
            FFullChart->Title().SetCaption(title);
            FFullChart->Title().SetVisible(true);
        }
        FFullChart->Legend().SetVisible(true);
    }
    if (!FChart) return;
    FAxisTitleVisible = FChart->LeftAxis().Title().Visible();
    FChart->LeftAxis().Title().SetVisible(false);
    if (FChart->Tools().Count() > 0) {
        FToolActive = FChart->Tools().ToolAt(0)->Active();
        FChart->Tools().ToolAt(0)->SetActive(false);
    }
}

TReportChartDressing::~TReportChartDressing() {
    if (FFullChart) {
        FFullChart->Title().SetVisible(FTitleVisible);
        FFullChart->Legend().SetVisible(FLegendVisible);
    }
    if (!FChart) return;
    FChart->LeftAxis().Title().SetVisible(FAxisTitleVisible);
    if (FChart->Tools().Count() > 0) FChart->Tools().ToolAt(0)->SetActive(FToolActive);
}

namespace {

// The comment segment (JPEG COM) that marks a chart picture of a report.
constexpr std::string_view kReportChartText = "cube browser report chart";
const std::string kReportChartComment =
    std::string("\xFF\xFE\x00", 3) + char(2 + kReportChartText.size()) + std::string(kReportChartText);

// Where a comment may go: after the start of image and a JFIF header.
size_t CommentPosition(const std::string& jpeg) {
    if (jpeg.size() < 4 || jpeg.compare(0, 2, "\xFF\xD8") != 0) return std::string::npos;
    size_t at = 2;
    if (jpeg.size() >= at + 4 && static_cast<unsigned char>(jpeg[at]) == 0xFF &&
        static_cast<unsigned char>(jpeg[at + 1]) == 0xE0) {
        const size_t length =
            size_t(static_cast<unsigned char>(jpeg[at + 2])) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
        if (at + 2 + length > jpeg.size()) return std::string::npos;
        at += 2 + length;
    }
    return at;
}

}  // namespace

std::string ChartJPEGBytes(cb::chart::TCustomPlotPanel& panel) {
    cb::chartexport::TJPEGSettings settings;
    settings.Quality = 100;
    settings.Performance = cb::chartexport::jpBestQuality;
    const cb::chart::TRect r = panel.PanelRect();
    std::string jpeg = cb::chartexport::CreateChartJPEGImage(panel, settings, 0, 0, r.Width(), r.Height())->Data();
    const size_t at = CommentPosition(jpeg);
    if (at != std::string::npos) jpeg.insert(at, kReportChartComment);
    return jpeg;
}

bool IsReportChartPicture(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::string head(256, '\0');
    in.read(head.data(), std::streamsize(head.size()));
    head.resize(size_t(std::max<std::streamsize>(in.gcount(), 0)));
    const size_t at = CommentPosition(head);
    return at != std::string::npos && head.compare(at, kReportChartComment.size(), kReportChartComment) == 0;
}

}  // namespace cb::app
