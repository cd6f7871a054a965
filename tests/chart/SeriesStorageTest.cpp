// The stored form of a series' points: bytes, round trips of every kind of
// content, and streams that are short or lie about their counts.
#include "chart/component/AxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesContent.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace cb::chart;
using cb::rtl::TMemoryStream;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

std::string Stored(TChartSeries& s) {
    TMemoryStream m;
    s.WriteData(m);
    return std::string(m.View());
}

void Load(TChartSeries& s, const std::string& bytes) {
    TMemoryStream m;
    m.WriteBuffer(bytes);
    m.SetPosition(0);
    s.ReadData(m);
}

std::string U32(std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string D(double v) {
    std::string b(8, '\0');
    std::memcpy(b.data(), &v, 8);
    return b;
}

// A line series with one value list more ("Z").
struct TLineWithZ : TLineSeries {
    TLineWithZ() { ValueLists().Make(this, "Z"); }
};

TEST(SeriesStorage, BytesOfTheSimpleCases) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    for (double v : {1.5, 2.5, 3.5}) s->AddValue(v);
    EXPECT_EQ(Stored(*s), std::string(1, '\0') + U32(3) + D(1.5) + D(2.5) + D(3.5));
    s->RemoveAllPoints();
    for (double x : {0.0, 1.0, 5.0}) s->AddPoint(x, 7);
    EXPECT_EQ(Stored(*s), std::string(1, '\1') + U32(3) + D(0) + D(7) + D(1) + D(7) + D(5) + D(7));
    s->RemoveAllPoints();
    s->AddValue(4, std::string("ab"));
    EXPECT_EQ(Stored(*s), std::string(1, '\4') + U32(1) + D(4) + U32(2) + "ab");
    s->RemoveAllPoints();
    s->SetSeriesColor(0x112233);
    s->AddValue(4, std::nullopt, 0x112233);  // the series' own colour is no point colour
    EXPECT_EQ(Stored(*s)[0], '\0');
}

TEST(SeriesStorage, HorizontalSeriesStoreTheirPositionFirst) {
    TAxisPanel chart;
    auto* bars = chart.CreateSeries<TBarSeries>();
    bars->SetOrientation(boHorizontal);
    bars->AddPoint(10, 3);  // value 10 at position 3
    bars->AddPoint(20, 8);
    EXPECT_EQ(Stored(*bars), std::string(1, '\1') + U32(2) + D(3) + D(10) + D(8) + D(20));
    auto* back = chart.CreateSeries<TBarSeries>();
    back->SetOrientation(boHorizontal);
    Load(*back, Stored(*bars));
    EXPECT_EQ(Values(back->XValues()), (std::vector<double>{10, 20}));
    EXPECT_EQ(Values(back->YValues()), (std::vector<double>{3, 8}));
}

// Every combination of labels, colours, X values, empty points, marks and
// an extra value list comes back as it was written.
TEST(SeriesStorage, EveryCombinationRoundTrips) {
    for (unsigned combo = 0; combo < 32; ++combo) {
        SCOPED_TRACE("combination " + std::to_string(combo));
        const bool labels = combo & 1, colors = combo & 2, xs = combo & 4, nulls = combo & 8, marks = combo & 16;
        TAxisPanel chart;
        auto* s = chart.CreateSeries<TLineWithZ>();
        const int n = 40;
        for (int i = 0; i < n; ++i) {
            s->ValueLists()[2]->SetParkedValue(i * 0.25);
            std::optional<std::string> label;
            if (labels && i % 7 == 3) label = std::string(i == 10 ? 300 : 3, char('a' + i % 26));
            TColor c = clDefault;
            if (colors && i % 5 == 1) c = TColor(0x010203 * i);
            if (nulls && i % 9 == 2) c = clNone;
            s->AddPoint(xs ? i * 3.0 - 7 : i, -i * 1.5, label, c);
        }
        if (marks) {
            TSeriesMarkPosition& p = s->Marks().Positions().Ensure(6);
            p.Custom = true;
            p.LeftTop = {-5, 17};
            p.Width = 40;
            p.Height = 12;
            p.ArrowFrom = {1, 2};
            p.ArrowTo = {3, 4};
            p.ArrowFix = true;
        }
        const std::string bytes = Stored(*s);
        auto* back = chart.CreateSeries<TLineWithZ>();
        Load(*back, bytes);
        EXPECT_EQ(Values(back->XValues()), Values(s->XValues()));
        EXPECT_EQ(Values(back->YValues()), Values(s->YValues()));
        EXPECT_EQ(Values(*back->ValueLists()[2]), Values(*s->ValueLists()[2]));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(back->PointLabel(i), s->PointLabel(i)) << i;
            EXPECT_EQ(back->StoredPointColor(i), s->StoredPointColor(i)) << i;
            EXPECT_EQ(back->IsEmptyPoint(i), s->IsEmptyPoint(i)) << i;
        }
        if (labels) EXPECT_EQ(back->PointLabel(10).size(), 300u);
        if (marks) {
            const TSeriesMarkPosition* p = back->Marks().Positions().PositionAt(6);
            ASSERT_NE(p, nullptr);
            EXPECT_TRUE(p->Custom);
            EXPECT_TRUE(p->ArrowFix);
            EXPECT_EQ(p->LeftTop.X, -5);
            EXPECT_EQ(p->LeftTop.Y, 17);
            EXPECT_EQ(p->Width, 40);
            EXPECT_EQ(p->ArrowTo.Y, 4);
        }
        EXPECT_TRUE(back->ManualData());
        EXPECT_EQ(Stored(*back), bytes);
    }
}

TEST(SeriesContent, FlagsLookAtEveryPoint) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TLineSeries>();
    for (int i = 0; i < 20000; ++i) s->AddValue(i);
    EXPECT_EQ(ComputeSeriesContentFlags(*s), 0u);
    s->SetPointColor(15000, clBlue);  // past the first 10,001 points
    EXPECT_EQ(ComputeSeriesContentFlags(*s), unsigned(scfPointColors));
    s->Labels().SetLabel(150, "late");  // past the first 101 points
    EXPECT_TRUE(SeriesHasLabels(*s));
    s->XValues().SetValue(12000, 12000.5);  // neither first nor last
    EXPECT_TRUE(SeriesNeedsXValues(*s));
    auto* back = chart.CreateSeries<TLineSeries>();
    Load(*back, Stored(*s));
    EXPECT_EQ(back->PointLabel(150), "late");
    EXPECT_EQ(back->StoredPointColor(15000), clBlue);
    EXPECT_EQ(back->XValues().Value(12000), 12000.5);
}

// Streams that are short or whose counts do not fit the bytes left: an
// error naming the problem, and the series keeps its points.
TEST(SeriesStorage, BadStreamsLeaveTheSeriesAsItWas) {
    TAxisPanel chart;
    auto* good = chart.CreateSeries<TLineSeries>();
    good->AddPoint(1, 2, std::string("label"), 0x123456);
    good->AddPoint(4, 5, std::string("x"));
    const std::string bytes = Stored(*good);
    struct Case {
        std::string name, bytes, message;
    };
    std::vector<Case> cases = {
        {"empty", "", "the header"},
        {"huge count", std::string(1, '\0') + U32(0x7FFFFFFF) + D(1), "points need"},
        {"negative count", std::string(1, '\0') + U32(0xFFFFFFFF), "negative point count"},
        {"unknown flags", std::string(1, '\x20') + U32(0), "unknown content flags"},
        {"label longer than the stream", std::string(1, '\4') + U32(1) + D(1) + U32(0xFFFFFFF0) + "ab", "a label"},
    };
    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
        cases.push_back({"cut at " + std::to_string(cut), bytes.substr(0, cut), ""});
    auto* s = chart.CreateSeries<TLineSeries>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s->RemoveAllPoints();
        s->AddValue(42, std::string("kept"));
        try {
            Load(*s, c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const cb::rtl::EReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(Values(s->YValues()), (std::vector<double>{42}));
        EXPECT_EQ(s->PointLabel(0), "kept");
    }
    Load(*s, bytes);
    EXPECT_EQ(s->PointLabel(0), "label");
}

}  // namespace
