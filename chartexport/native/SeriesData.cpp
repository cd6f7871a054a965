#include "chartexport/native/SeriesData.h"

#include "chart/core/PlotExceptions.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/SeriesTypes.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace cb::chartexport {

using namespace cb::chart;

namespace {

const char* const CRLF = "\r\n";

std::string number(double v) {
    return cb::rtl::FloatToStr(v);
}

// Text for XML and HTML: markup characters as entities.
std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    return out;
}

// Value lists from the mandatory one on: the mandatory list, then the
// lists from index 2.
std::vector<TChartValueList*> valueColumns(TChartSeries& s) {
    std::vector<TChartValueList*> lists{&s.MandatoryList()};
    for (int i = 2; i < s.ValueLists().Count(); ++i) lists.push_back(s.ValueLists()[i]);
    return lists;
}

}  // namespace

TSeriesData::TSeriesData(TCustomAxisPanel* chart, TChartSeries* series) : FChart(chart), FSeries(series) {}

std::vector<TChartSeries*> TSeriesData::ExportedSeries() const {
    if (FSeries) return {FSeries};
    std::vector<TChartSeries*> all;
    if (FChart)
        for (int i = 0; i < FChart->NumberOfSeries(); ++i) all.push_back(FChart->SeriesAt(i));
    return all;
}

int TSeriesData::LineCount() const {
    int n = 0;
    for (TChartSeries* s : ExportedSeries()) n = std::max(n, s->PointCount());
    return n;
}

unsigned TSeriesData::DetermineContents() {
    const std::vector<TChartSeries*> all = ExportedSeries();
    FContents = all.empty() ? 0 : ComputeSeriesContentFlags(*all.front()) & (scfXValues | scfPointColors | scfLabels);
    if (!IncludeLabels) FContents &= ~unsigned(scfLabels);
    if (!IncludeColors) FContents &= ~unsigned(scfPointColors);
    return FContents;
}

std::string TSeriesData::ColorText(TColor color) {
    const TColor rgb = ColorToRGB(color == clDefault ? clBlack : color);
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", unsigned(rgb & 0xFF), unsigned((rgb >> 8) & 0xFF),
                  unsigned((rgb >> 16) & 0xFF));
    return buf;
}

// --- delimited text ---

unsigned TSeriesDataText::DetermineContents() {
    TSeriesData::DetermineContents();
    if (!FSeries && IncludeLabels && !(FContents & scfLabels))
        for (TChartSeries* s : ExportedSeries())
            if (SeriesHasLabels(*s)) FContents |= scfLabels;
    return FContents;
}

std::string TSeriesDataText::quoted(const std::string& text) const {
    if (!QuoteText.empty()) {
        std::string out = QuoteText;
        for (std::size_t i = 0; i < text.size();) {
            if (text.compare(i, QuoteText.size(), QuoteText) == 0) {
                out += QuoteText + QuoteText;
                i += QuoteText.size();
            } else
                out += text[i++];
        }
        return out + QuoteText;
    }
    if (text.find_first_of(std::string{Delimiter, '"', '\r', '\n'}) == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string TSeriesDataText::headerLine() {
    std::vector<std::string> cells;
    if (IncludeIndex) cells.push_back(quoted("Index"));
    if (FContents & scfLabels) cells.push_back(quoted("Text"));
    if (FContents & scfPointColors) cells.push_back(quoted("Colors"));
    for (TChartSeries* s : ExportedSeries()) {
        if (FContents & scfXValues) cells.push_back(quoted(s->OtherList().Name()));
        if (s->ValueLists().Count() == 2)
            cells.push_back(quoted(GetSeriesDisplayTitle(*s)));
        else
            for (TChartValueList* l : valueColumns(*s)) cells.push_back(quoted(l->Name()));
    }
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? std::string(1, Delimiter) : "") + cells[i];
    return line;
}

std::string TSeriesDataText::LineOfPoint(int index) {
    std::vector<std::string> cells;
    if (IncludeIndex) cells.push_back(std::to_string(index));
    const std::vector<TChartSeries*> all = ExportedSeries();
    if (all.empty()) return {};
    if (FContents & scfLabels) {
        std::string label;
        for (TChartSeries* s : all)
            if (index < s->PointCount() && !(label = s->PointLabel(index)).empty()) break;
        cells.push_back(quoted(label));
    }
    if (FContents & scfPointColors) {
        TChartSeries* first = all.front();
        cells.push_back(quoted(ColorText(index < first->PointCount() ? first->PointColor(index) : clDefault)));
    }
    auto value = [this](TChartValueList& l, int i) {
        if (i >= l.ValueCount()) return std::string();
        const double v = l.Value(i);
        if (l.DateTime()) return quoted(cb::rtl::DateTimeToStr(v));
        return NumberFormat.empty() ? number(v) : cb::rtl::FormatFloat(NumberFormat, v);
    };
    for (TChartSeries* s : all) {
        if (FContents & scfXValues) cells.push_back(value(s->OtherList(), index));
        for (TChartValueList* l : valueColumns(*s)) cells.push_back(value(*l, index));
    }
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? std::string(1, Delimiter) : "") + cells[i];
    return line;
}

std::string TSeriesDataText::BuildText() {
    DetermineContents();
    std::string text;
    if (IncludeHeader) text += headerLine() + CRLF;
    const int n = LineCount();
    for (int i = 0; i < n; ++i) text += LineOfPoint(i) + CRLF;
    return text + CRLF;
}

// --- XML ---

TSeriesDataXML::TSeriesDataXML(TCustomAxisPanel* chart, TChartSeries* series) : TSeriesData(chart, series) {
    IncludeHeader = true;
}

std::string TSeriesDataXML::BuildText() {
    DetermineContents();
    std::string text;
    if (IncludeHeader) {
        text += "<?xml version=\"1.0\"";
        if (!Encoding.empty()) text += " encoding=\"" + escaped(Encoding) + "\"";
        text += std::string("?>") + CRLF;
    }
    const std::vector<TChartSeries*> all = ExportedSeries();
    if (!FSeries) text += std::string("<chart>") + CRLF;
    for (TChartSeries* s : all) {
        text += "<series title=\"" + escaped(GetSeriesDisplayTitle(*s)) + "\" type=\"" +
                escaped(SeriesTypeDescription(*s)) + "\" color=\"" + ColorText(s->SeriesColor()) + "\">" + CRLF;
        text += "<points count=\"" + std::to_string(s->PointCount()) + "\">" + CRLF;
        std::vector<TChartValueList*> lists;
        if (FContents & scfXValues) lists.push_back(&s->OtherList());
        for (TChartValueList* l : valueColumns(*s)) lists.push_back(l);
        for (int i = 0; i < s->PointCount(); ++i) {
            text += "<point ";
            if (IncludeIndex) text += "index=\"" + std::to_string(i) + "\"";
            if (FContents & scfLabels) text += " text=\"" + escaped(s->PointLabel(i)) + "\"";
            if (FContents & scfPointColors) text += " color=\"" + ColorText(s->PointColor(i)) + "\"";
            for (TChartValueList* l : lists) text += " " + escaped(l->Name()) + "=\"" + number(l->Value(i)) + "\"";
            text += std::string("/>") + CRLF;
        }
        text += std::string("</points>") + CRLF + "</series>" + CRLF + CRLF;
    }
    if (!FSeries) text += "</chart>";
    return text;
}

// --- HTML ---

std::string TSeriesDataHTML::BuildText() {
    DetermineContents();
    const std::vector<TChartSeries*> all = ExportedSeries();
    auto cell = [](const std::string& t) { return "<td>" + escaped(t) + "</td>"; };
    std::string text = std::string("<table border=\"1\">") + CRLF;
    if (IncludeHeader) {
        text += "<tr>";
        if (IncludeIndex) text += cell("Index");
        for (TChartSeries* s : all) {
            if (FContents & scfLabels) text += cell("Text");
            if (FContents & scfPointColors) text += cell("Colors");
            if (FContents & scfXValues) text += cell(s->OtherList().Name());
            if (s->ValueLists().Count() == 2)
                text += cell(GetSeriesDisplayTitle(*s));
            else
                for (TChartValueList* l : valueColumns(*s)) text += cell(l->Name());
        }
        text += std::string("</tr>") + CRLF;
    }
    const int n = LineCount();
    for (int i = 0; i < n; ++i) {
        text += "<tr>";
        if (IncludeIndex) text += cell(std::to_string(i));
        for (TChartSeries* s : all) {
            const std::vector<TChartValueList*> lists = valueColumns(*s);
            if (i >= s->PointCount()) {
                const int columns = ((FContents & scfLabels) ? 1 : 0) + ((FContents & scfPointColors) ? 1 : 0) +
                                    ((FContents & scfXValues) ? 1 : 0) + int(lists.size());
                for (int k = 0; k < columns; ++k) text += "<td></td>";
                continue;
            }
            if (FContents & scfLabels) text += cell(s->PointLabel(i));
            if (FContents & scfPointColors) text += cell(ColorText(s->PointColor(i)));
            if (FContents & scfXValues) text += cell(number(s->OtherList().Value(i)));
            for (TChartValueList* l : lists) text += cell(number(l->Value(i)));
        }
        text += std::string("</tr>") + CRLF;
    }
    return text + CRLF + "</table>";
}

// --- spreadsheet ---

namespace {

void put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void cellHeader(std::string& out, unsigned type, unsigned length, int row, int column) {
    put16(out, type);
    put16(out, length);
    put16(out, unsigned(row));
    put16(out, unsigned(column));
    out.append(3, '\0');
}

void numberCell(std::string& out, int row, int column, double v) {
    cellHeader(out, 3, 15, row, column);
    char b[8];
    std::memcpy(b, &v, 8);
    out.append(b, 8);
}

void textCell(std::string& out, int row, int column, const std::string& text) {
    const std::string t = text.substr(0, 255);
    cellHeader(out, 4, unsigned(8 + t.size()), row, column);
    out += char(t.size());
    out += t;
}

void blankCell(std::string& out, int row, int column) {
    cellHeader(out, 1, 7, row, column);
}

}  // namespace

std::string TSeriesDataXLS::BuildText() {
    DetermineContents();
    const std::vector<TChartSeries*> all = ExportedSeries();
    const int lines = LineCount();
    const int rows = lines + (IncludeHeader ? 1 : 0);
    if (rows > 65535)
        throw ChartException("Series data of " + std::to_string(lines) +
                             " points does not fit a worksheet (at most 65,535 rows)");
    const int b = all.size() == 1 ? 1 : int(all.size());
    int columns = (IncludeIndex ? 1 : 0) + b * (((FContents & scfLabels) ? 1 : 0) + ((FContents & scfPointColors) ? 1 : 0) +
                                                ((FContents & scfXValues) ? 1 : 0));
    for (TChartSeries* s : all) columns += std::max(1, s->ValueLists().Count() - 1);
    if (columns > 255) throw ChartException("Series data of " + std::to_string(columns) + " columns does not fit a worksheet");
    std::string out("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12);
    put16(out, 0x0200);
    put16(out, 10);
    put16(out, 0);
    put16(out, unsigned(rows));
    put16(out, 0);
    put16(out, unsigned(columns));
    put16(out, 0);
    int row = 0;
    if (IncludeHeader) {
        int c = 0;
        if (IncludeIndex) textCell(out, 0, c++, "Index");
        for (TChartSeries* s : all) {
            if (FContents & scfLabels) textCell(out, 0, c++, "Text");
            if (FContents & scfPointColors) textCell(out, 0, c++, "Colors");
            if (FContents & scfXValues) textCell(out, 0, c++, s->OtherList().Name());
            for (TChartValueList* l : valueColumns(*s)) textCell(out, 0, c++, l->Name());
        }
        row = 1;
    }
    for (int i = 0; i < lines; ++i, ++row) {
        int c = 0;
        if (IncludeIndex) numberCell(out, row, c++, i);
        for (TChartSeries* s : all) {
            const std::vector<TChartValueList*> lists = valueColumns(*s);
            const bool beyond = i >= s->PointCount();
            if (FContents & scfLabels) textCell(out, row, c++, beyond ? std::string() : s->PointLabel(i));
            if (FContents & scfPointColors) textCell(out, row, c++, beyond ? std::string() : ColorText(s->PointColor(i)));
            if (FContents & scfXValues) {
                if (beyond)
                    blankCell(out, row, c++);
                else
                    numberCell(out, row, c++, s->OtherList().Value(i));
            }
            const bool blank = beyond || s->IsEmptyPoint(i);
            for (TChartValueList* l : lists) {
                if (blank)
                    blankCell(out, row, c++);
                else
                    numberCell(out, row, c++, l->Value(i));
            }
        }
    }
    out.append("\x0A\x00\x00\x00", 4);
    return out;
}

}  // namespace cb::chartexport
