#include "chartexport/native/NativeChartFile.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesTypes.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Streams.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace cb::chartexport {

using namespace cb::chart;

namespace {

constexpr unsigned char Header[4] = {0x60, 0x30, 0x57, 0x01};
constexpr std::uint32_t Version = 1;
// Strings and counts are checked against this before anything is allocated.
constexpr std::uint32_t MaxSeries = 100000;

void putString(cb::rtl::TStream& s, const std::string& text) {
    s.WriteU32(std::uint32_t(text.size()));
    s.WriteBuffer(text);
}

std::string getString(cb::rtl::TStream& s, const char* what) {
    const std::uint32_t n = s.ReadU32();
    if (std::int64_t(n) > s.Size() - s.Position())
        throw cb::rtl::EReadError(std::string("Chart file: ") + what + " of " + std::to_string(n) +
                                  " bytes runs past the end");
    return s.ReadString(n);
}

// One stored series, read completely before the chart changes.
struct TStoredSeries {
    std::string ClassName, Name, Title, Identifier;
    std::uint32_t Style = 0, Color = 0;
    bool Active = true;
    std::vector<std::string> Sources;
    std::unique_ptr<TChartSeries> Series;
};

void writeBinary(TCustomAxisPanel& chart, cb::rtl::TStream& s, bool includeData) {
    s.WriteU32(Version);
    s.WriteU32(std::uint32_t(chart.NumberOfSeries()));
    for (int i = 0; i < chart.NumberOfSeries(); ++i) {
        TChartSeries& series = *chart.SeriesAt(i);
        putString(s, SeriesClassName(series));
        putString(s, series.Name());
        putString(s, series.Title());
        putString(s, series.Identifier());
        s.WriteU32(series.Style());
        s.WriteU32(series.StoredSeriesColor());
        s.WriteU8(series.Active() ? 1 : 0);
        s.WriteU32(std::uint32_t(series.DataSources().size()));
        for (TChartSeries* source : series.DataSources()) putString(s, source->Name());
        const bool data = includeData && series.DataSources().empty() && !series.Function();
        s.WriteU8(data ? 1 : 0);
        if (data) series.WriteData(s);
    }
}

std::vector<TStoredSeries> readBinary(cb::rtl::TStream& s) {
    unsigned char h[4];
    s.ReadBuffer(h, 4);
    if (std::memcmp(h, Header, 4) != 0) throw ChartException(PlotText(TPlotText::txtWrongFileFormat));
    const std::uint32_t version = s.ReadU32();
    if (version != Version) throw cb::rtl::EReadError("Chart file: unknown version " + std::to_string(version));
    const std::uint32_t count = s.ReadU32();
    if (count > MaxSeries || std::int64_t(count) * 22 > s.Size() - s.Position())
        throw cb::rtl::EReadError("Chart file: " + std::to_string(count) + " series do not fit the file");
    std::vector<TStoredSeries> all(count);
    for (TStoredSeries& st : all) {
        st.ClassName = getString(s, "a class name");
        const TSeriesClass* cls = FindSeriesClassByName(st.ClassName);
        if (!cls) throw cb::rtl::EReadError("Chart file: unknown series class \"" + st.ClassName + "\"");
        st.Name = getString(s, "a series name");
        st.Title = getString(s, "a title");
        st.Identifier = getString(s, "an identifier");
        st.Style = s.ReadU32();
        st.Color = s.ReadU32();
        st.Active = s.ReadU8() != 0;
        const std::uint32_t sources = s.ReadU32();
        if (std::int64_t(sources) * 4 > s.Size() - s.Position())
            throw cb::rtl::EReadError("Chart file: " + std::to_string(sources) + " data sources do not fit the file");
        for (std::uint32_t k = 0; k < sources; ++k) st.Sources.push_back(getString(s, "a data source name"));
        st.Series = cls->Create();
        if (s.ReadU8()) st.Series->ReadData(s);
    }
    return all;
}

std::string quotedText(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

void writeText(std::vector<TStoredSeries>& all, cb::rtl::TStream& target) {
    std::string t = "object Chart: TChart\r\n";
    for (TStoredSeries& st : all) {
        t += "  object " + (st.Name.empty() ? std::string("Series") : st.Name) + ": " + st.ClassName + "\r\n";
        if (!st.Title.empty()) t += "    Title = " + quotedText(st.Title) + "\r\n";
        if (!st.Identifier.empty()) t += "    Identifier = " + quotedText(st.Identifier) + "\r\n";
        if (st.Style) t += "    Style = " + std::to_string(st.Style) + "\r\n";
        if (st.Color != clDefault) t += "    SeriesColor = " + std::to_string(st.Color) + "\r\n";
        if (!st.Active) t += "    Active = False\r\n";
        if (!st.Sources.empty()) {
            t += "    DataSources = (";
            for (std::size_t i = 0; i < st.Sources.size(); ++i) t += (i ? " " : "") + quotedText(st.Sources[i]);
            t += ")\r\n";
        }
        if (st.Series->PointCount() > 0) {
            cb::rtl::TMemoryStream data;
            st.Series->WriteData(data);
            t += "    Data = {";
            char hex[3];
            for (std::size_t i = 0; i < data.DataSize(); ++i) {
                if (i % 32 == 0) t += "\r\n      ";
                std::snprintf(hex, sizeof hex, "%02X", unsigned(data.Memory()[i]));
                t += hex;
            }
            t += "}\r\n";
        }
        t += "  end\r\n";
    }
    t += "end\r\n";
    target.WriteBuffer(t);
}

}  // namespace

void SaveChartToStream(TCustomAxisPanel& chart, cb::rtl::TStream& stream, bool includeData, bool asText) {
    if (!asText) {
        stream.WriteBuffer(Header, 4);
        writeBinary(chart, stream, includeData);
        return;
    }
    cb::rtl::TMemoryStream binary;
    binary.WriteBuffer(Header, 4);
    writeBinary(chart, binary, includeData);
    binary.SetPosition(0);
    ConvertChartStreamToText(binary, stream);
}

void SaveChartToFile(TCustomAxisPanel& chart, std::string fileName, bool includeData, bool asText) {
    if (std::filesystem::path(fileName).extension().empty()) fileName += "." + ChartFileExtension();
    cb::rtl::TMemoryStream m;
    SaveChartToStream(chart, m, includeData, asText);
    cb::rtl::WriteFileAtomic(fileName, std::string(m.View()));
}

void LoadChartFromStream(TCustomAxisPanel& chart, cb::rtl::TStream& stream) {
    std::vector<TStoredSeries> all = readBinary(stream);
    chart.FreeSeriesOfClass();
    std::vector<TChartSeries*> made;
    for (TStoredSeries& st : all) {
        TChartSeries* s = chart.AdoptSeries(std::move(st.Series));
        s->SetName(st.Name);
        s->SetTitle(st.Title);
        s->SetIdentifier(st.Identifier);
        s->SetStyle(st.Style);
        if (st.Color != clDefault) s->SetSeriesColor(st.Color);
        s->SetActive(st.Active);
        made.push_back(s);
    }
    // Sources by name once every series exists; a name not found is skipped.
    for (std::size_t i = 0; i < all.size(); ++i)
        for (const std::string& name : all[i].Sources)
            for (TChartSeries* candidate : made)
                if (candidate != made[i] && candidate->Name() == name) {
                    try {
                        made[i]->ConnectDataSource(candidate, false);
                    } catch (const ChartException&) {
                        // a stored cycle is not linked
                    }
                    break;
                }
}

void ConvertChartStreamToText(cb::rtl::TStream& source, cb::rtl::TStream& target) {
    const std::int64_t start = source.Position();
    unsigned char first[4] = {0, 0, 0, 0};
    const std::size_t got = source.Read(first, 4);
    source.SetPosition(start);
    if (got >= 2 && first[0] == Header[0] && first[1] == Header[1]) {
        std::vector<TStoredSeries> all = readBinary(source);
        writeText(all, target);
        return;
    }
    if (got >= 1 && (first[0] == 'O' || first[0] == 'o')) {
        target.CopyFrom(source, source.Size() - start);
        return;
    }
    throw ChartException(PlotText(TPlotText::txtWrongFileFormat));
}

}  // namespace cb::chartexport
