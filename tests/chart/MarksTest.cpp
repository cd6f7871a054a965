// Mark and legend texts, the marks pass, stored positions and overlap
// avoidance.
#include "chart/core/PlotExceptions.h"
#include "chart/component/AxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/PlotSeriesSource.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::chart;

namespace {

struct Point {
    double x, y;
    const char* label;
};

TEST(Marks, TextByStyle) {
    struct Case {
        std::vector<Point> points;
        TSeriesMarksStyle style;
        bool multiLine;
        int index;
        std::string expected;
    };
    const Case cases[] = {
        {{{0, 1500, "A"}}, smsValue, false, 0, "1,500"},
        {{{0, 1, ""}}, smsLabel, false, 0, "1"},
        {{{0, 1, "Jan"}}, smsLabel, false, 0, "Jan"},
        {{{2, 7, "Jan"}}, smsXY, false, 0, "2 7"},
        {{{2, 7, "Jan"}}, smsXY, true, 0, "2\r7"},
        {{{0, 0, ""}, {1, 0, ""}}, smsPercent, false, 1, "100 %"},
        {{{0, 1, ""}, {1, 3, ""}}, smsPercent, false, 0, "25 %"},
        {{{0, 1, ""}, {1, 3, ""}}, smsPercentTotal, false, 0, "25 % of 4"},
        {{{0, 1, ""}, {1, 3, ""}}, smsPercentTotal, true, 0, "25 %\rof 4"},
        {{{0, 1, "Jan"}, {1, 3, ""}}, smsLabelPercent, false, 0, "Jan 25 %"},
        {{{0, 1, "Jan"}}, smsLabelValue, true, 0, "Jan\r1"},
        {{{0, -1, ""}, {1, 3, ""}}, smsPercent, false, 0, "25 %"},
        {{{5, 1, "Jan"}}, smsXValue, false, 0, "5"},
    };
    for (const Case& c : cases) {
        TAxisPanel chart;
        auto* s = chart.CreateSeries<TChartSeries>();
        for (const Point& p : c.points) s->AddPoint(p.x, p.y, std::string(p.label));
        s->Marks().SetStyle(c.style);
        s->Marks().SetMultiLine(c.multiLine);
        EXPECT_EQ(s->BuildMarkText(c.index), c.expected) << "style " << c.style;
    }
}

TEST(Marks, GetMarkTextReplacesTheText) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddValue(3, std::string("x"));
    s->OnGetMarkText = [](TChartSeries*, int i, std::string& t) { t += "#" + std::to_string(i); };
    EXPECT_EQ(s->BuildMarkText(0), "x#0");
}

TEST(Marks, LegendTextByStyle) {
    struct Case {
        const char* label;
        TLegendTextStyle style;
        std::string expected;
    };
    const Case cases[] = {
        {"", ltsLeftValue, "-1"},
        {"Jan", ltsLeftValue, "-1\x06Jan"},
        {"Jan", ltsRightValue, "Jan\x06-1"},
        {"Jan", ltsPlain, "Jan"},
        // The share of a negative value agrees with its mark: 25 %, not -25 %.
        {"Jan", ltsPercent, "25 %"},
        {"Jan", ltsLeftPercent, "25 %\x06Jan"},
        {"", ltsRightPercent, "25 %"},
        {"Jan", ltsXAndValue, "0\x06-1"},
    };
    for (const Case& c : cases) {
        TAxisPanel chart;
        auto* s = chart.CreateSeries<TChartSeries>();
        s->AddValue(-1, std::string(c.label));
        s->AddValue(3);
        EXPECT_EQ(s->LegendItemText(0, c.style), c.expected) << "style " << c.style;
        s->Marks().SetStyle(smsPercent);
        EXPECT_EQ(s->LegendItemText(0, ltsPercent), s->BuildMarkText(0));
    }
}

TEST(Marks, NewMarksDefaults) {
    TChartSeries s;
    EXPECT_FALSE(s.Marks().Visible());
    EXPECT_EQ(s.Marks().Style(), smsLabel);
    EXPECT_EQ(s.Marks().Color(), TColor(0xFF000018));
    EXPECT_EQ(s.Marks().ShadowSize(), 1);
    EXPECT_FALSE(s.Marks().HasCallout());
    EXPECT_EQ(s.Marks().ArrowLength(), 8);
    EXPECT_TRUE(s.Marks().HasCallout());
    TBarSeries bar;
    EXPECT_TRUE(bar.Marks().Visible());
    EXPECT_EQ(bar.Marks().ArrowLength(), 20);
}

// Records each mark the pass hands to the series.
struct MarkLog : TChartSeries {
    std::vector<int> indexes;
    std::vector<TSeriesMarkPosition> positions;
    void DrawPointMark(int i, const std::string& text, TSeriesMarkPosition& p) override {
        indexes.push_back(i);
        positions.push_back(p);
        TChartSeries::DrawPointMark(i, text, p);
    }
};

TEST(Marks, PassSkipsNullPointsAndHonoursDrawEvery) {
    TAxisPanel chart;
    chart.SetView3D(false);
    chart.resize(300, 200);
    auto* s = chart.CreateSeries<MarkLog>();
    for (int i = 0; i < 7; ++i) s->AddValue(i + 1);
    s->SetPointColor(4, clNone);
    s->Marks().SetVisible(true);
    s->Marks().SetDrawEvery(2);
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    EXPECT_EQ(s->indexes, (std::vector<int>{0, 2, 6}));
    // The box sits centred above its point; the mark under a point is found.
    const TSeriesMarkPosition& p = s->positions[1];
    EXPECT_EQ(p.ArrowTo.X, s->ScreenX(2));
    EXPECT_EQ(p.LeftTop.X, p.ArrowTo.X - p.Width / 2);
    EXPECT_EQ(p.LeftTop.Y + p.Height - 1, p.ArrowTo.Y);
    EXPECT_EQ(s->Marks().MarkAtPoint(p.LeftTop.X + 1, p.LeftTop.Y + 1), 2);
    EXPECT_EQ(s->Marks().MarkAtPoint(-50, -50), -1);
}

TEST(Marks, TwoLineTextIsTwoLinesHigh) {
    TAxisPanel chart;
    chart.SetView3D(false);
    chart.resize(300, 200);
    auto* s = chart.CreateSeries<MarkLog>();
    s->AddValue(1, std::string("A\rBBBB"));
    s->AddValue(2, std::string("A"));
    s->Marks().SetVisible(true);
    s->Marks().Frame().Hide();
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    ASSERT_EQ(s->positions.size(), 2u);
    EXPECT_EQ(s->positions[0].Height - 1, 2 * (s->positions[1].Height - 1));
    EXPECT_GT(s->positions[0].Width, s->positions[1].Width);
}

TEST(Marks, CustomPositionStays) {
    TAxisPanel chart;
    chart.SetView3D(false);
    chart.resize(300, 200);
    auto* s = chart.CreateSeries<MarkLog>();
    for (int i = 0; i < 3; ++i) s->AddValue(i + 1);
    s->Marks().SetVisible(true);
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    TSeriesMarkPosition& stored = *s->Marks().Positions().PositionAt(2);
    stored.Custom = true;
    stored.LeftTop = {10, 10};
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    EXPECT_EQ(s->Marks().Positions().PositionAt(2)->LeftTop.X, 10);
    EXPECT_TRUE(s->Marks().Positions().HasCustom());
    EXPECT_EQ(s->Marks().MarkAtPoint(11, 11), 2);
}

TEST(Marks, OverlapAvoidanceMovesLaterMarksClear) {
    struct Case {
        int laterTop;  // of the later mark's box, before avoidance
        int expectedTop;
    };
    // An earlier mark at y 100..120 (shadow 1 included: 100..121).
    const Case cases[] = {
        {95, 95 - (95 + 21 - 100)},  // higher: moves up above it
        {110, 110 + (121 - 110)},    // lower: moves down below it
        {130, 130},                  // clear: stays
    };
    for (const Case& c : cases) {
        TChartSeries s;
        s.Marks().Frame().Hide();
        TSeriesMarkPosition& first = s.Marks().Positions().Ensure(0);
        first.LeftTop = {50, 100};
        first.Width = 40;
        first.Height = 20;
        TSeriesMarkPosition p;
        p.LeftTop = {60, c.laterTop};
        p.ArrowTo = {80, c.laterTop + 20};
        p.Width = 40;
        p.Height = 20;
        s.Marks().AvoidOverlap(0, 1, p);
        EXPECT_EQ(p.LeftTop.Y, c.expectedTop) << c.laterTop;
        EXPECT_EQ(p.ArrowTo.Y - p.LeftTop.Y, 20);
    }
}

TEST(Marks, BarMarksSitAboveBarsAndKeepApart) {
    TAxisPanel chart;
    chart.SetView3D(false);
    chart.resize(300, 240);
    auto* s = chart.CreateSeries<TBarSeries>();
    for (int i = 0; i < 40; ++i) s->AddValue(10 + (i % 2));
    s->Marks().SetStyle(smsValue);
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    // Marks are wider than bars: each one clears every earlier one, also
    // after a move that lands on another.
    std::vector<TRect> boxes;
    for (int i = 0; i < 40; ++i) {
        const TSeriesMarkPosition* p = s->Marks().Positions().PositionAt(i);
        ASSERT_NE(p, nullptr);
        boxes.push_back(p->MarkRect());
    }
    const TSeriesMarkPosition& first = *s->Marks().Positions().PositionAt(0);
    EXPECT_EQ(first.LeftTop.Y + first.Height - 1, s->ScreenY(0) - 20);  // above by the callout length
    EXPECT_EQ(first.ArrowFrom.X, s->ScreenX(0) + s->BarSize() / 2);
    for (int i = 1; i < 40; ++i)
        for (int j = 0; j < i; ++j) {
            const TRect& a = boxes[j];
            const TRect& b = boxes[i];
            const bool meet = a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
            EXPECT_FALSE(meet) << j << " and " << i;
        }
}

TEST(Marks, PointItemsDrawTheirOwnBoxAndSymbolTakesThePointColour) {
    TAxisPanel chart;
    chart.SetView3D(false);
    chart.resize(300, 200);
    auto* s = chart.CreateSeries<MarkLog>();
    for (int i = 0; i < 3; ++i) s->AddValue(i + 1, "Mark", i == 1 ? TColor(0x00FF00) : clDefault);
    s->Marks().SetVisible(true);
    s->Marks().SetColor(0x0000FF);               // red boxes
    s->Marks().PointItem(2).SetColor(0xFF0000);  // but a blue one at point 2
    s->Marks().PointItem(0).SetVisible(false);   // and none at point 0
    EXPECT_EQ(&s->Marks().ItemOrMarks(1), &s->Marks());
    EXPECT_EQ(s->Marks().Items().Count(), 3);
    EXPECT_EQ(s->Marks().PointItem(1).Color(), TColor(0xFF000018));  // a new item
    auto bitmap = chart.DrawToBitmap(clWhite, chart.PanelRect());
    EXPECT_EQ(s->indexes, (std::vector<int>{1, 2}));
    auto pixelAt = [&](int index) {
        const TRect r = s->Marks().Positions().PositionAt(index)->MarkRect();
        return bitmap->Image().pixel(r.Left + 2, r.Bottom - 2) & 0xFFFFFF;
    };
    EXPECT_EQ(pixelAt(2), 0x0000FFu);  // blue (RGB)
    // The symbol, shown, takes the point's colour and moves the text right.
    s->Marks().Symbol().SetVisible(true);
    s->indexes.clear();
    bitmap = chart.DrawToBitmap(clWhite, chart.PanelRect());
    const TRect& sym = s->Marks().Symbol().Bounds();
    const TRect box = s->Marks().Positions().PositionAt(2)->MarkRect();
    EXPECT_EQ(sym.Left, box.Left + 4);
    EXPECT_EQ(sym.Top, box.Top + 3);
    EXPECT_EQ(s->Marks().Symbol().Color(), s->PointColor(2));
    EXPECT_EQ(bitmap->Image().pixel(sym.Left + 2, sym.Top + 2) & 0xFFFFFF,
              QColor(cb::gfx::ToQColor(s->PointColor(2))).rgb() & 0xFFFFFF);
}

TEST(Marks, StoredItemsSurviveClearingAndRunTimeItemsDoNot) {
    TChartSeries s;
    s.AddValue(1);
    s.Marks().PointItem(2).SetColor(0x123456);
    s.Marks().PointItem(2).Font().SetSize(14);
    s.Marks().PointItem(0).SetTransparent(true);
    const std::string stored = s.Marks().WriteItems();
    // Run-time items go with the points.
    s.RemoveAllPoints();
    EXPECT_EQ(s.Marks().Items().Count(), 0);
    // Items read from a stored form stay.
    TChartSeries t;
    t.Marks().ReadItems(stored);
    ASSERT_EQ(t.Marks().Items().Count(), 3);
    EXPECT_EQ(t.Marks().PointItem(2).Color(), TColor(0x123456));
    EXPECT_EQ(t.Marks().PointItem(2).Font().Size(), 14);
    EXPECT_TRUE(t.Marks().PointItem(0).Transparent());
    EXPECT_FALSE(t.Marks().PointItem(1).Transparent());
    t.AddValue(5);
    t.RemoveAllPoints();
    EXPECT_EQ(t.Marks().Items().Count(), 3);
    // Assigning marks copies every item's box.
    TChartSeries u;
    u.Marks().Assign(t.Marks());
    EXPECT_EQ(u.Marks().PointItem(2).Color(), TColor(0x123456));
    // A cut or forged stream is refused and leaves the items as they were.
    EXPECT_THROW(t.Marks().ReadItems(stored.substr(0, stored.size() - 3)), ChartException);
    EXPECT_THROW(t.Marks().ReadItems(std::string("\xFF\xFF\xFF\x7F", 4)), ChartException);
    EXPECT_EQ(t.Marks().Items().Count(), 3);
    EXPECT_EQ(t.Marks().PointItem(2).Color(), TColor(0x123456));
}

// A source that fills its series with three points.
struct ThreePoints : TPlotSeriesSource {
    int fills = 0;
    void FillSeries() override {
        ++fills;
        Series()->RemoveAllPoints();
        for (int i = 0; i < 3; ++i) Series()->AddValue(i);
    }
};

TEST(SeriesSource, OpensFillsClosesEmptiesAndFollowsItsSeries) {
    auto series = std::make_unique<TChartSeries>();
    ThreePoints source;
    source.SetSeries(series.get());
    EXPECT_EQ(series->SeriesSource(), &source);
    EXPECT_TRUE(source.MatchesSeriesSource(*series));
    EXPECT_FALSE(TPlotSeriesSource().MatchesSeriesSource(*series));
    source.Activate();
    EXPECT_EQ(series->PointCount(), 3);
    source.Reload();
    EXPECT_EQ(source.fills, 2);
    source.SetOpen(false);
    EXPECT_EQ(series->PointCount(), 0);
    // Opened while loading: filled only when loading completes.
    source.BeginLoading();
    source.SetOpen(true);
    EXPECT_EQ(series->PointCount(), 0);
    source.Loaded();
    EXPECT_EQ(series->PointCount(), 3);
    // A series that goes unlinks itself.
    series.reset();
    EXPECT_EQ(source.Series(), nullptr);
    EXPECT_FALSE(source.Open());
    // A source that goes unlinks its series.
    TChartSeries other;
    {
        ThreePoints temporary;
        temporary.SetSeries(&other);
    }
    EXPECT_EQ(other.SeriesSource(), nullptr);
    EXPECT_TRUE(DataSourceStyleList().empty());
}

TEST(SeriesSource, MovedToAnotherSeriesLeavesTheFirstForGood) {
    auto first = std::make_unique<TChartSeries>();
    TChartSeries second;
    ThreePoints source;
    source.SetSeries(first.get());
    source.SetSeries(&second);
    EXPECT_EQ(first->SeriesSource(), nullptr);
    source.Activate();
    first.reset();  // the series it left goes without touching it
    EXPECT_EQ(source.Series(), &second);
    EXPECT_EQ(second.SeriesSource(), &source);
    EXPECT_TRUE(source.Open());
    EXPECT_EQ(second.PointCount(), 3);
}

}  // namespace
