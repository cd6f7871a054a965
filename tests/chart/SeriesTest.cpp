#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/component/AxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <gtest/gtest.h>

#include <vector>

using namespace cb::chart;

namespace {

std::vector<double> Values(const TChartValueList& l) {
    return std::vector<double>(l.Data(), l.Data() + l.ValueCount());
}

// Records the series events a chart broadcasts.
struct SeriesEvents : TPlotEventListener {
    std::vector<int> codes;
    void HandleEvent(TPlotEvent& e) override {
        if (auto* s = dynamic_cast<TPlotSeriesEvent*>(&e)) codes.push_back(s->Code);
    }
};

TEST(Series, AddValueNumbersPointsAndCreatesListsOnDemand) {
    TChartSeries s;
    for (double v : {5.0, 7.0, 9.0}) s.AddValue(v);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{5, 7, 9}));
    EXPECT_FALSE(s.HasColorList());
    EXPECT_TRUE(s.Labels().Empty());

    s.AddValue(11, "d", 0x112233);
    EXPECT_TRUE(s.HasColorList());
    EXPECT_EQ(s.StoredPointColor(0), clDefault);
    EXPECT_EQ(s.StoredPointColor(3), 0x112233u);
    EXPECT_EQ(s.PointLabel(3), "d");
    EXPECT_EQ(s.PointLabel(0), "");

    TChartSeries h;  // drawn horizontally: X is the value
    h.MakeXMandatory();
    h.AddValue(4);
    h.AddValue(6);
    EXPECT_EQ(Values(h.XValues()), (std::vector<double>{4, 6}));
    EXPECT_EQ(Values(h.YValues()), (std::vector<double>{0, 1}));
}

TEST(Series, AddPointKeepsXOrderAcrossColumns) {
    TChartSeries s;
    EXPECT_EQ(s.AddPoint(3, 30, "c"), 0);
    EXPECT_EQ(s.AddPoint(1, 10, "a"), 0);
    EXPECT_EQ(s.AddPoint(2, 20, "b", 0x0000FF), 1);
    EXPECT_EQ(Values(s.XValues()), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s.PointLabel(0), "a");
    EXPECT_EQ(s.PointLabel(2), "c");
    EXPECT_EQ(s.StoredPointColor(1), 0x0000FFu);
    EXPECT_EQ(s.StoredPointColor(2), clDefault);
}

TEST(Series, ExtraListsTakeTheirParkedValue) {
    TChartSeries s;
    auto* end = new TChartValueList(&s, "End");
    end->SetParkedValue(7);
    s.AddPoint(2, 1);
    end->SetParkedValue(5);
    s.AddPoint(1, 1);
    EXPECT_EQ(Values(*end), (std::vector<double>{5, 7}));
    EXPECT_EQ(&s.ValueListByName("end"), end);
    EXPECT_EQ(&s.ValueListByName("nothing"), &s.YValues());
}

TEST(Series, NullPointsAndRefusedAdds) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddNullValue("gap");
    EXPECT_EQ(s->PointCount(), 1);
    EXPECT_TRUE(s->IsEmptyPoint(0));
    s->OnBeforeAdd = [](TChartSeries*) { return false; };
    EXPECT_EQ(s->AddValue(3), -1);
    EXPECT_EQ(s->PointCount(), 1);
}

TEST(Series, DeleteChecksIndexAndCarriesColumns) {
    TChartSeries s;
    s.AddValue(1, "a", 0x10);
    s.AddValue(2, "b");
    s.AddValue(3, "c");
    try {
        s.DeletePoint(3);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_STREQ(e.what(), "Series Delete: ValueIndex 3 out of bounds (0 to 2).");
    }
    EXPECT_THROW(s.DeletePoint(-1), ChartException);
    EXPECT_EQ(s.PointCount(), 3);
    s.DeletePoint(0);
    EXPECT_EQ(Values(s.YValues()), (std::vector<double>{2, 3}));
    EXPECT_EQ(s.PointLabel(0), "b");
    EXPECT_EQ(s.StoredPointColor(0), clDefault);
    s.DeletePoints(0, 5, true);  // clipped to what is there
    EXPECT_EQ(s.PointCount(), 0);
    s.DeletePoints(0, 1);  // nothing to delete: no error
}

TEST(Series, PointColourFallsBackToSeriesOrPalette) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddValue(1);
    s->AddValue(2, {}, 0x123456);
    EXPECT_EQ(s->PointColor(0), s->SeriesColor());
    EXPECT_EQ(s->PointColor(1), 0x123456u);
    s->SetColorEachPoint(true);
    EXPECT_EQ(s->PointColor(0), chart.PaletteColor(0));
    s->SetPointColor(0, clDefault);  // with a list: replaces the entry
    EXPECT_THROW(s->SetPointColor(5, clRed), ChartException);
}

TEST(Series, AutomaticColourFromTheChart) {
    TAxisPanel chart;
    SeriesEvents events;
    chart.Listeners().Add(&events);
    auto* a = chart.CreateSeries<TChartSeries>();
    auto* b = chart.CreateSeries<TChartSeries>();
    EXPECT_EQ(a->StoredSeriesColor(), clDefault);
    EXPECT_EQ(a->SeriesColor(), DefaultPaletteColor(0));
    EXPECT_NE(b->SeriesColor(), a->SeriesColor());
    events.codes.clear();
    a->SetSeriesColor(a->SeriesColor());  // same as automatic: nothing stored
    EXPECT_EQ(a->StoredSeriesColor(), clDefault);
    EXPECT_TRUE(events.codes.empty());
    a->SetSeriesColor(0x123456);
    EXPECT_EQ(a->StoredSeriesColor(), 0x123456u);
    EXPECT_EQ(events.codes, (std::vector<int>{seChangeColor}));
    chart.Listeners().Remove(&events);
}

TEST(Series, JoiningLeavingAndEvents) {
    TAxisPanel chart;
    SeriesEvents events;
    chart.Listeners().Add(&events);
    auto* s = new TChartSeries;
    chart.AdoptSeries(s);
    EXPECT_EQ(s->GetHorizAxis(), &chart.BottomAxis());
    EXPECT_EQ(s->GetVertAxis(), &chart.LeftAxis());
    s->SetTitle("Sales");
    s->SetActive(false);
    s->HoldUpdates();
    s->AddValue(1);
    s->AddValue(2);
    s->ReleaseUpdates();
    s->ReleaseUpdates();  // at 0: nothing
    s->SetParentChart(nullptr);
    EXPECT_EQ(chart.NumberOfSeries(), 0);
    EXPECT_EQ(s->GetHorizAxis(), nullptr);
    // The automatic colour is announced as the series joins.
    EXPECT_EQ(events.codes,
              (std::vector<int>{seChangeColor, seAdd, seChangeTitle, seChangeActive, seDataChanged, seRemove}));
    delete s;
    chart.Listeners().Remove(&events);
}

TEST(Series, AxisBindingFollowsCustomAxesAndTheirRemoval) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    s->SetHorizAxis(aTopAxis);
    s->SetVertAxis(aRightAxis);
    EXPECT_EQ(s->GetHorizAxis(), &chart.TopAxis());
    EXPECT_EQ(s->GetVertAxis(), &chart.RightAxis());
    EXPECT_FALSE(s->IsLinkedToAxis(&chart.BottomAxis()));
    s->SetVertAxis(aBothVertAxis);
    EXPECT_TRUE(s->IsLinkedToAxis(&chart.RightAxis()));
    EXPECT_TRUE(s->IsLinkedToAxis(&chart.LeftAxis()));

    TChartAxis* custom = chart.CustomAxes().Add();
    EXPECT_EQ(chart.Axes().IndexOf(custom), 6);
    s->SetCustomVertAxis(custom);
    EXPECT_EQ(s->VertAxis(), aCustomVertAxis);
    EXPECT_EQ(s->GetVertAxis(), custom);
    chart.CustomAxes().Delete(0);
    EXPECT_EQ(s->VertAxis(), aLeftAxis);
    EXPECT_EQ(s->CustomVertAxis(), nullptr);
    EXPECT_EQ(s->GetVertAxis(), &chart.LeftAxis());
}

TEST(Series, DependentsFollowTheirSource) {
    TChartSeries source, copy;
    copy.AddDataSource(&source);
    source.AddValue(1, "a");
    source.AddValue(2);
    EXPECT_EQ(Values(copy.YValues()), (std::vector<double>{1, 2}));
    EXPECT_EQ(copy.PointLabel(0), "a");
    source.DeletePoint(0);
    EXPECT_EQ(Values(copy.YValues()), (std::vector<double>{2}));

    source.HoldUpdates();  // one refill at the release
    for (double v : {5.0, 6.0, 7.0}) source.AddValue(v);
    EXPECT_EQ(copy.PointCount(), 1);
    source.ReleaseUpdates();
    EXPECT_EQ(Values(copy.YValues()), (std::vector<double>{2, 5, 6, 7}));

    source.DeletePoints(1, 2);  // a range: the dependent refills
    EXPECT_EQ(Values(copy.YValues()), (std::vector<double>{2, 7}));

    copy.SetRefreshOptions(roFollowDeletes);
    source.RemoveAllPoints();
    EXPECT_EQ(copy.PointCount(), 2);                            // does not follow clears
    EXPECT_THROW(source.AddDataSource(&copy), ChartException);  // circular
}

TEST(Series, DestroyedSourceLeavesDependents) {
    TChartSeries copy;
    {
        TChartSeries source;
        copy.AddDataSource(&source);
        source.AddValue(1);
    }
    EXPECT_TRUE(copy.DataSources().empty());
    EXPECT_EQ(copy.PointCount(), 0);  // followed the clear
}

struct PageCase {
    int perPage, points, page;
    int first, last;
};

TEST(Series, PageRange) {
    const PageCase cases[] = {
        {4, 10, 1, 0, 3}, {4, 10, 3, 8, 9}, {4, 8, 2, 4, 7}, {0, 10, 1, 0, 9}, {4, 0, 1, -1, -1},
    };
    for (const PageCase& c : cases) {
        TAxisPanel chart;
        auto* s = chart.CreateSeries<TChartSeries>();
        for (int i = 0; i < c.points; ++i) s->AddValue(i);
        chart.SetMaxPointsPerPage(c.perPage);
        chart.SetPage(c.page);
        EXPECT_EQ(s->PageRange(), std::make_pair(c.first, c.last)) << c.perPage << " " << c.points << " " << c.page;
    }
}

TEST(Series, PagePastTheLastIsEmpty) {
    TAxisPanel chart;
    auto* big = chart.CreateSeries<TChartSeries>();
    auto* small = chart.CreateSeries<TChartSeries>();
    for (int i = 0; i < 10; ++i) big->AddValue(i);
    for (int i = 0; i < 5; ++i) small->AddValue(i);
    chart.SetMaxPointsPerPage(4);
    chart.SetPage(3);
    EXPECT_EQ(big->PageRange(), std::make_pair(8, 9));
    EXPECT_EQ(small->PageRange(), std::make_pair(-1, -1));
}

TEST(Series, ZOrderPutsTheFirstSeriesAtTheBack) {
    TAxisPanel chart;
    auto* a = chart.CreateSeries<TChartSeries>();
    auto* b = chart.CreateSeries<TChartSeries>();
    chart.ComputeZOrder();
    EXPECT_EQ(a->ZPosition(), 1);
    EXPECT_EQ(b->ZPosition(), 0);
    chart.DepthAxis().SetInverted(true);
    EXPECT_TRUE(chart.DepthTopAxis().Inverted());
    chart.ComputeZOrder();
    EXPECT_EQ(a->ZPosition(), 0);
    EXPECT_EQ(b->ZPosition(), 1);
    b->SetZOrder(0);
    EXPECT_TRUE(a->SharesZOrder());
    chart.SetView3D(false);
    chart.ComputeZOrder();
    EXPECT_EQ(a->ZPosition(), 0);
    EXPECT_EQ(b->ZPosition(), 0);
}

TEST(Series, DisplayTitlesForLegendAndDepthLabels) {
    TAxisPanel chart;
    auto* titled = chart.CreateSeries<TChartSeries>();
    titled->SetTitle("Sales");
    auto* named = chart.CreateSeries<TChartSeries>();
    named->SetName("Costs");
    chart.CreateSeries<TChartSeries>();  // no title, no name
    auto* hidden = chart.CreateSeries<TChartSeries>();
    hidden->SetShowInLegend(false);
    auto* off = chart.CreateSeries<TChartSeries>();
    off->SetActive(false);
    const std::pair<bool, std::vector<std::string>> cases[] = {
        {true, {"Sales", "Costs", "Series3", ""}},
        {false, {"Sales", "Costs", "Series3", "Series5", ""}},
    };
    for (const auto& [activeOnly, titles] : cases)
        for (int n = 0; n < int(titles.size()); ++n)
            EXPECT_EQ(chart.SeriesLegendTitle(n, activeOnly), titles[std::size_t(n)]) << activeOnly << " " << n;
    TChartSeries alone;
    EXPECT_EQ(GetSeriesDisplayTitle(alone), "");
}

// Point 0 covers the square 10..20 x 10..20.
struct BoxSeries : TChartSeries {
    int PointAtPixel(int x, int y) override { return x >= 10 && x < 20 && y >= 10 && y < 20 ? 0 : -1; }
};

TEST(Series, MouseHoverEntersAndLeavesOnce) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<BoxSeries>();
    s->AddValue(1);
    EXPECT_FALSE(s->UpdateMouseHover(15, 15));  // no cursor, no events: not tracked
    EXPECT_FALSE(s->MouseInside());

    std::string log;
    s->OnMouseEnter = [&](TChartSeries*) { log += "E"; };
    s->OnMouseLeave = [&](TChartSeries*) { log += "L"; };
    s->SetCursor(crHandPoint);
    struct Move {
        int x, y;
        bool over;
        const char* log;
    };
    const Move moves[] = {{5, 5, false, ""},     {12, 12, true, "E"},   {18, 18, true, "E"},
                          {25, 12, false, "EL"}, {30, 30, false, "EL"}, {11, 19, true, "ELE"}};
    for (const Move& m : moves) {
        EXPECT_EQ(s->UpdateMouseHover(m.x, m.y), m.over) << m.x << "," << m.y;
        EXPECT_EQ(log, m.log) << m.x << "," << m.y;
    }
    EXPECT_EQ(chart.cursor().shape(), Qt::PointingHandCursor);
    s->SetParentChart(nullptr);  // leaving takes the series' cursor off the chart
    EXPECT_EQ(chart.cursor().shape(), chart.SavedCursor().shape());
    EXPECT_FALSE(s->MouseInside());
    delete s;
}

TEST(Series, GalleryAndLegendDefaults) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    s->AddValue(3);
    s->AddValue(4, std::nullopt, 0x00FF00);
    std::vector<std::string> styles;
    s->ListSubGalleryStyles([&](const std::string& name) { styles.push_back(name); });
    EXPECT_EQ(styles, std::vector<std::string>{"Normal"});
    EXPECT_EQ(s->ValueIndexOfLegendItem(1), 1);
    EXPECT_EQ(s->LegendItemColor(1), 0x00FF00u);
    EXPECT_EQ(s->LegendItemColor(0), s->SeriesColor());
    chart.SetView3D(false);
    s->ApplyGallery3D(true);
    EXPECT_TRUE(chart.View3D());
}

}  // namespace
