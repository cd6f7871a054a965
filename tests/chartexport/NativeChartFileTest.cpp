// The native chart file: its header, its text form, a round trip of the
// series and their points, and files that are cut short.
#include "chart/component/AxisPanel.h"
#include "chart/component/StandardSeries.h"
#include "chart/core/PlotExceptions.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chartexport/native/NativeChartFile.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace cb::chart;
using namespace cb::chartexport;
using cb::rtl::TMemoryStream;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

struct Fixture {
    TAxisPanel chart;
    Fixture() {
        RegisterStandardSeriesTypes();
        auto* a = chart.CreateSeries<TLineSeries>();
        a->SetName("A");
        a->SetTitle("Sales");
        a->SetIdentifier("id-1");
        a->SetStyle(5);
        a->SetSeriesColor(0x0000FF);
        a->AddPoint(1, 10, std::string(300, 'L'));
        a->AddPoint(3, -20, std::nullopt, 0x00FF00);
        a->AddNullPoint(7, 0);
        auto* b = chart.CreateSeries<TBarSeries>();
        b->SetName("B");
        b->SetOrientation(boHorizontal);
        b->AddPoint(5, 1);
        b->AddPoint(6, 2);
        auto* c = chart.CreateSeries<TLineSeries>();
        c->SetName("C");
        c->SetDataSource(a);
    }
    std::string Saved(bool data, bool text) {
        TMemoryStream m;
        SaveChartToStream(chart, m, data, text);
        return std::string(m.View());
    }
};

TEST(NativeChartFile, RoundTripOfSeriesAndPoints) {
    Fixture f;
    const std::string bytes = f.Saved(true, false);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x60\x30\x57\x01", 4));
    TAxisPanel back;
    TMemoryStream m;
    m.WriteBuffer(bytes);
    m.SetPosition(0);
    LoadChartFromStream(back, m);
    ASSERT_EQ(back.NumberOfSeries(), 3);
    TChartSeries* a = back.SeriesAt(0);
    EXPECT_NE(dynamic_cast<TLineSeries*>(a), nullptr);
    EXPECT_EQ(a->Title(), "Sales");
    EXPECT_EQ(a->Identifier(), "id-1");
    EXPECT_EQ(a->Style(), 5u);
    EXPECT_EQ(a->SeriesColor(), 0x0000FFu);
    EXPECT_EQ(Values(a->XValues()), (std::vector<double>{1, 3, 7}));
    EXPECT_EQ(Values(a->YValues()), (std::vector<double>{10, -20, 0}));
    EXPECT_EQ(a->PointLabel(0).size(), 300u);
    EXPECT_EQ(a->StoredPointColor(1), 0x00FF00u);
    EXPECT_TRUE(a->IsEmptyPoint(2));
    auto* b = dynamic_cast<TBarSeries*>(back.SeriesAt(1));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Orientation(), boHorizontal);
    EXPECT_EQ(Values(b->XValues()), (std::vector<double>{5, 6}));
    EXPECT_EQ(back.SeriesAt(2)->DataSource(), a);
    EXPECT_EQ(Values(back.SeriesAt(2)->YValues()), (std::vector<double>{10, -20, 0}));
    // Without data only the settings travel.
    TMemoryStream bare;
    bare.WriteBuffer(f.Saved(false, false));
    bare.SetPosition(0);
    LoadChartFromStream(back, bare);
    EXPECT_EQ(back.SeriesAt(0)->PointCount(), 0);
}

TEST(NativeChartFile, TextFormAndFileNames) {
    Fixture f;
    const std::string text = f.Saved(true, true);
    EXPECT_EQ(text.rfind("object Chart: TChart\r\n  object A: TLineSeries\r\n    Title = 'Sales'", 0), 0u) << text;
    TMemoryStream source, target;
    source.WriteBuffer(text);
    source.SetPosition(0);
    ConvertChartStreamToText(source, target);  // text is copied
    EXPECT_EQ(std::string(target.View()), text);
    TMemoryStream junk, out;
    junk.WriteBuffer(std::string("PK\x03\x04"));
    junk.SetPosition(0);
    try {
        ConvertChartStreamToText(junk, out);
        ADD_FAILURE();
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Wrong *.dza file format");
    }
    const std::string dir = testing::TempDir() + "native/";
    std::filesystem::create_directories(dir);
    SaveChartToFile(f.chart, dir + "chart", true, false);
    EXPECT_TRUE(std::filesystem::exists(dir + "chart.dza"));
    SaveChartToFile(f.chart, dir + "chart.bin", true, false);
    EXPECT_TRUE(std::filesystem::exists(dir + "chart.bin"));
}

TEST(NativeChartFile, CutFilesLeaveTheChartAsItWas) {
    Fixture f;
    const std::string bytes = f.Saved(true, false);
    TAxisPanel target;
    target.CreateSeries<TLineSeries>()->AddValue(42);
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        SCOPED_TRACE(cut);
        TMemoryStream m;
        m.WriteBuffer(bytes.substr(0, cut));
        m.SetPosition(0);
        EXPECT_ANY_THROW(LoadChartFromStream(target, m));
        ASSERT_EQ(target.NumberOfSeries(), 1);
        EXPECT_EQ(target.SeriesAt(0)->YValues().Value(0), 42);
    }
}

}  // namespace
