// Series points and native chart files: the first byte picks the reader.
//   0-127   the stored points ("Data") read into a line series with a third
//           value list; a read that fails leaves the series as it was, and
//           a read that succeeds writes back what reads back the same;
//   128-191 a native chart file (binary or text form) loaded into a chart
//           holding one series; a failed load leaves that series alone;
//   192-255 a native chart file converted to its text form.
// Built with Qt by fuzz/build.sh, then:
//   ./fuzz_series corpus_series /work/main/fuzz/seeds/series -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "chart/component/AxisPanel.h"
#include "chart/component/StandardSeries.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chartexport/native/NativeChartFile.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Streams.h"

#include <QApplication>

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace cb::chart;

namespace {

struct TLineWithZ : TLineSeries {
    TLineWithZ() { ValueLists().Make(this, "Z"); }
};

std::string Stored(TChartSeries& s) {
    cb::rtl::TMemoryStream m;
    s.WriteData(m);
    return std::string(m.View());
}

void Read(TChartSeries& s, const std::string& bytes) {
    cb::rtl::TMemoryStream m;
    m.WriteBuffer(bytes);
    m.SetPosition(0);
    s.ReadData(m);
}

void FuzzPoints(const std::string& bytes) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineWithZ>();
    s->AddPoint(1, 2, std::string("kept"), 0x123456);
    const std::string before = Stored(*s);
    try {
        Read(*s, bytes);
    } catch (const cb::rtl::EReadError&) {
        if (Stored(*s) != before) std::abort();  // a bad stream changed the series
        return;
    }
    const std::string again = Stored(*s);
    // A point coloured as its series is stored without a colour, so the
    // copy takes the series' colour first.
    auto* back = chart.CreateSeries<TLineWithZ>();
    back->SetSeriesColor(s->SeriesColor());
    Read(*back, again);
    if (Stored(*back) != again) std::abort();  // what was written does not read back
}

void FuzzChartFile(const std::string& bytes) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    s->SetName("Kept");
    s->AddPoint(1, 2);
    cb::rtl::TMemoryStream m;
    m.WriteBuffer(bytes);
    m.SetPosition(0);
    try {
        cb::chartexport::LoadChartFromStream(chart, m);
    } catch (const cb::rtl::Exception&) {
        if (chart.NumberOfSeries() != 1 || chart.SeriesAt(0) != s || s->PointCount() != 1) std::abort();
    }
}

void FuzzText(const std::string& bytes) {
    cb::rtl::TMemoryStream in, out;
    in.WriteBuffer(bytes);
    in.SetPosition(0);
    try {
        cb::chartexport::ConvertChartStreamToText(in, out);
    } catch (const cb::rtl::Exception&) {
    }
}

}  // namespace

// The chart is a widget: one application for the whole run, off screen.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    RegisterStandardSeriesTypes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] < 128)
        FuzzPoints(bytes);
    else if (data[0] < 192)
        FuzzChartFile(bytes);
    else
        FuzzText(bytes);
    return 0;
}
