#include "chart/core/PlotExceptions.h"
#include "chart/component/AxisPanel.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::chart;

namespace {

// Writes every stage and event it hears into one shared log.
struct RecordingTool : TPlotCustomTool {
    std::vector<std::string>* log;
    explicit RecordingTool(std::vector<std::string>* l) : log(l) {}
    void HandleChartStage(TChartStage code) override { log->push_back("tool " + std::to_string(code)); }
};

struct RecordingSeries : TChartSeries {
    std::vector<std::string>* log = nullptr;
    void DrawPoint(int index) override {
        if (log) log->push_back(Title() + " point " + std::to_string(index));
    }
};

struct AxislessSeries : TChartSeries {
    bool UsesAxes() const override { return false; }
};

struct Recorder {
    TAxisPanel chart;
    std::vector<std::string> log;
    Recorder() {
        chart.Tools().AddTool(new RecordingTool(&log));
        chart.OnBeforeDrawChart = [this](TCustomAxisPanel*) { log.push_back("before chart"); };
        chart.OnBeforeDrawAxes = [this](TCustomAxisPanel*) { log.push_back("before axes"); };
        chart.OnBeforeDrawSeries = [this](TCustomAxisPanel*) { log.push_back("before series"); };
        chart.OnAfterDraw = [this](TCustomAxisPanel*) { log.push_back("after draw"); };
    }
    RecordingSeries* Add(const std::string& title, int points) {
        auto* s = chart.CreateSeries<RecordingSeries>();
        s->SetTitle(title);
        s->log = &log;
        for (int i = 0; i < points; ++i) s->AddValue(i);
        return s;
    }
    void Draw() { chart.DrawToBitmap(clWhite, chart.PanelRect()); }
};

TEST(Pipeline, StageOrder) {
    struct Case {
        bool axisBehind;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {true,
         {"tool 2", "before chart", "tool 3", "before axes", "tool 1", "before series", "A point 0", "A point 1",
          "tool 4", "tool 0", "tool 6", "after draw"}},
        {false,
         {"tool 2", "before chart", "tool 1", "before series", "A point 0", "A point 1", "tool 4", "tool 3",
          "before axes", "tool 0", "tool 6", "after draw"}},
    };
    for (const Case& c : cases) {
        Recorder r;
        r.chart.SetView3D(false);
        r.chart.SetAxisBehind(c.axisBehind);
        r.Add("A", 2);
        r.Draw();
        EXPECT_EQ(r.log, c.expected) << c.axisBehind;
        EXPECT_TRUE(r.chart.AutoRepaint());
    }
}

TEST(Pipeline, InactiveToolsAndSeriesAreSkipped) {
    Recorder r;
    r.chart.SetView3D(false);
    r.Add("A", 1);
    r.Add("B", 1)->SetActive(false);
    r.chart.Tools()[0]->SetActive(false);
    r.Draw();
    EXPECT_EQ(r.log,
              (std::vector<std::string>{"before chart", "before axes", "before series", "A point 0", "after draw"}));
}

TEST(Pipeline, ThreeDDrawsTheBackSeriesFirst) {
    Recorder r;
    r.chart.View3DOptions().SetOrthogonal(true);
    r.Add("A", 1);
    r.Add("B", 1);
    r.Draw();
    std::vector<std::string> points;
    for (const std::string& s : r.log)
        if (s.find("point") != std::string::npos) points.push_back(s);
    EXPECT_EQ(points, (std::vector<std::string>{"A point 0", "B point 0"}));
}

TEST(Pipeline, AxesShownBySeries) {
    TAxisPanel chart;
    EXPECT_TRUE(chart.IsAxisShown(&chart.LeftAxis()));    // no active series
    EXPECT_FALSE(chart.IsAxisShown(&chart.DepthAxis()));  // invisible by default
    auto* line = chart.CreateSeries<TChartSeries>();
    EXPECT_TRUE(chart.IsAxisShown(&chart.BottomAxis()));
    EXPECT_FALSE(chart.IsAxisShown(&chart.TopAxis()));
    line->SetActive(false);
    chart.CreateSeries<AxislessSeries>();
    EXPECT_FALSE(chart.IsAxisShown(&chart.BottomAxis()));
    EXPECT_FALSE(chart.IsAxisShown(&chart.LeftAxis()));
    chart.SetAxisVisible(false);
    line->SetActive(true);
    EXPECT_FALSE(chart.IsAxisShown(&chart.BottomAxis()));
}

TEST(Pipeline, LayoutPlacesAxesAndScalesSeries) {
    TAxisPanel chart;
    chart.SetView3D(false);
    auto* s = chart.CreateSeries<TChartSeries>();
    for (double v : {10.0, 30.0, 20.0}) s->AddValue(v);
    chart.DrawToBitmap(clWhite, chart.PanelRect());
    const TRect& r = chart.ChartRect();
    TChartAxis& left = chart.LeftAxis();
    TChartAxis& bottom = chart.BottomAxis();
    EXPECT_EQ(bottom.StartPixel(), r.Left);
    EXPECT_EQ(bottom.EndPixel(), r.Right);
    EXPECT_EQ(left.StartPixel(), r.Top);
    EXPECT_EQ(s->ScreenX(0), r.Left);
    EXPECT_EQ(s->ScreenX(2), r.Right);
    EXPECT_EQ(s->ScreenY(1), r.Top);     // highest value at the top
    EXPECT_EQ(s->ScreenY(0), r.Bottom);  // lowest at the bottom
    EXPECT_GT(r.Left, 12);               // room for the left axis labels
    EXPECT_FALSE(left.LabelList().empty());
    EXPECT_EQ(s->FirstVisible(), 0);
    EXPECT_EQ(s->LastVisible(), 2);
}

TEST(Pipeline, ThreeDSizes) {
    TAxisPanel chart;
    chart.View3DOptions().SetOrthogonal(true);
    chart.View3DOptions().SetOrthoAngle(45);
    chart.CreateSeries<TChartSeries>();
    chart.CreateSeries<TChartSeries>();
    chart.SetChartRect({0, 0, 400, 200});
    chart.NormalizeChartRect();
    chart.ComputeZOrder();
    chart.Compute3DSizes();
    EXPECT_EQ(chart.DepthPerSeries(), 6);
    EXPECT_EQ(chart.Width3D(), 12);
    for (int bad : {0, 101}) EXPECT_THROW(chart.SetChart3DPercent(bad), cb::rtl::Exception);
    chart.SetChart3DPercent(1);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(Pipeline, Paging) {
    TAxisPanel chart;
    auto* s = chart.CreateSeries<TChartSeries>();
    for (int i = 0; i < 25; ++i) s->AddValue(i * 2);
    EXPECT_EQ(chart.NumPages(), 1);
    int changes = 0;
    chart.OnPageChange = [&](TCustomAxisPanel*) { ++changes; };
    chart.SetMaxPointsPerPage(10);
    EXPECT_EQ(chart.NumPages(), 3);
    chart.SetPage(5);
    EXPECT_EQ(chart.Page(), 3);
    EXPECT_EQ(changes, 1);

    struct Case {
        bool scaleLast;
        int page;
        double lo, hi;
    };
    const Case cases[] = {{true, 1, 0, 9}, {true, 3, 20, 24}, {false, 3, 20, 28}, {false, 2, 10, 19}};
    for (const Case& c : cases) {
        chart.SetScaleLastPage(c.scaleLast);
        chart.SetPage(c.page);
        chart.BottomAxis().RefreshRange();
        EXPECT_EQ(chart.BottomAxis().WorkingMinimum(), c.lo) << c.page;
        EXPECT_EQ(chart.BottomAxis().WorkingMaximum(), c.hi) << c.page;
    }
    EXPECT_THROW(chart.SetMaxPointsPerPage(-1), ChartException);
    EXPECT_EQ(chart.MaxPointsPerPage(), 10);
    chart.SetMaxPointsPerPage(20);  // page 3 no longer exists
    EXPECT_EQ(chart.Page(), 2);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.NumPages(), 1);
}

TEST(Pipeline, FreeSeriesOfType) {
    TAxisPanel chart;
    auto* a = chart.CreateSeries<TChartSeries>();
    chart.CreateSeries<AxislessSeries>();
    auto* c = chart.CreateSeries<TChartSeries>();
    chart.FreeSeriesOfType<AxislessSeries>();
    ASSERT_EQ(chart.NumberOfSeries(), 2);
    EXPECT_EQ(chart.SeriesAt(0), a);
    EXPECT_EQ(chart.SeriesAt(1), c);
    chart.ExchangeSeriesAt(0, 1);
    EXPECT_EQ(chart.SeriesAt(0), c);
    EXPECT_TRUE(chart.SeriesList().EverySeriesActive());
    a->SetActive(false);
    EXPECT_FALSE(chart.SeriesList().EverySeriesActive());
    chart.FreeSeriesOfClass();
    EXPECT_EQ(chart.NumberOfSeries(), 0);
    EXPECT_TRUE(chart.SeriesList().EverySeriesActive());
}

TEST(Pipeline, ToolsAndTheirReferences) {
    TAxisPanel chart;
    auto* series = chart.CreateSeries<TChartSeries>();
    series->SetHorizAxis(aTopAxis);
    auto* seriesTool = new TPlotCustomToolSeries;
    chart.Tools().AddTool(seriesTool);
    seriesTool->SetSeries(series);
    EXPECT_EQ(seriesTool->HorizontalAxis(), &chart.TopAxis());
    delete series;
    EXPECT_EQ(seriesTool->Series(), nullptr);
    EXPECT_EQ(seriesTool->HorizontalAxis(), &chart.BottomAxis());
    EXPECT_EQ(seriesTool->VerticalAxis(), &chart.LeftAxis());

    auto* axisTool = new TPlotCustomToolAxis;
    axisTool->SetAxis(&chart.LeftAxis());
    EXPECT_EQ(axisTool->ParentChart(), &chart);
    EXPECT_EQ(chart.Tools().Count(), 2);
    EXPECT_EQ(axisTool->WriteAxisID(), 2);
    TChartAxis* custom = chart.CustomAxes().Add();
    axisTool->ReadAxisID(6);
    EXPECT_EQ(axisTool->Axis(), custom);
    chart.CustomAxes().Delete(0);
    EXPECT_EQ(axisTool->Axis(), nullptr);

    seriesTool->SetParentChart(nullptr);
    EXPECT_EQ(chart.Tools().Count(), 1);
    delete seriesTool;
    chart.Tools().Clear();
    EXPECT_EQ(chart.Tools().Count(), 0);
}

}  // namespace
