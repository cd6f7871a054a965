// Series animation, clip series, rotate, image, marks tip and extra legend
// tools, and the tools registry.
#include "chart/axis/ChartAxis.h"
#include "chart/component/Chart.h"
#include "chart/component/ExtraLegendTool.h"
#include "chart/component/StandardTools.h"
#include "chart/core/PlotExceptions.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/tools/ChartImageTool.h"
#include "chart/tools/ClipSeriesTool.h"
#include "chart/tools/MarksTipTool.h"
#include "chart/tools/RotateTool.h"
#include "chart/tools/SeriesAnimationTool.h"
#include "chart/tools/ToolTypes.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Color.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace cb::chart;

namespace {

struct ShownChart {
    TChart chart;
    TBarSeries* bars = nullptr;
    QImage shot;
    explicit ShownChart(int points = 7) {
        chart.resize(500, 350);
        chart.SetView3D(false);
        bars = chart.CreateSeries<TBarSeries>();
        bars->Marks().SetVisible(false);
        for (int i = 0; i < points; ++i) bars->AddValue(10 + 10 * i);
        chart.show();
        (void)QTest::qWaitForWindowExposed(&chart);
        Grab();
    }
    void Grab() { shot = chart.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    int Count(TColor c) const {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                n += cb::gfx::RGB(qRed(p), qGreen(p), qBlue(p)) == c;
            }
        return n;
    }
};

std::vector<double> Values(TChartSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.PointCount(); ++i) v.push_back(s.MandatoryList().Value(i));
    return v;
}

}  // namespace

// --- series animation ---

TEST(SeriesAnimationTool, StepsGrowEveryValueFromTheStartValue) {
    ShownChart t(3);
    auto* a = new TSeriesAnimationTool();
    t.chart.Tools().AddTool(a);
    a->SetSeries(t.bars);
    a->SetSteps(4);
    a->SetStartAtMin(false);
    a->SetStartValue(0);
    a->SetStepInterval(0);
    std::vector<std::vector<double>> seen;
    std::vector<int> steps;
    a->OnStep = [&](TSeriesAnimationTool*, int e) {
        steps.push_back(e);
        seen.push_back(Values(*t.bars));
    };
    a->Play();
    EXPECT_TRUE(a->Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !a->Running(); }, 5000));
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4}));
    ASSERT_EQ(seen.size(), 5u);
    for (int e = 0; e <= 4; ++e) EXPECT_DOUBLE_EQ(seen[std::size_t(e)][2], 30 * e / 4.0) << e;
    EXPECT_EQ(Values(*t.bars), (std::vector<double>{10, 20, 30}));
    EXPECT_FALSE(t.bars->UpdatesHeld());
}

TEST(SeriesAnimationTool, GroupsOfDrawEveryPoints) {
    ShownChart t(7);
    auto* a = new TSeriesAnimationTool();
    t.chart.Tools().AddTool(a);
    a->SetSeries(t.bars);
    a->SetSteps(2);
    a->SetStepInterval(0);
    std::vector<std::vector<double>> seen;
    a->OnStep = [&](TSeriesAnimationTool*, int) { seen.push_back(Values(*t.bars)); };
    a->SetDrawEvery(3);
    a->Play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !a->Running(); }, 5000));
    ASSERT_EQ(seen.size(), 9u);  // three groups of steps 0..2
    // Last step of the first group: points 0-2 real, the rest at the minimum.
    EXPECT_EQ(seen[2], (std::vector<double>{10, 20, 30, 10, 10, 10, 10}));
    EXPECT_EQ(seen[5], (std::vector<double>{10, 20, 30, 40, 50, 60, 10}));
    EXPECT_EQ(seen[8], (std::vector<double>{10, 20, 30, 40, 50, 60, 70}));
}

TEST(SeriesAnimationTool, RefusesZeroStepsAndStopsWhenTheSeriesOrToolGoes) {
    TSeriesAnimationTool lone;
    EXPECT_THROW(lone.SetSteps(0), ChartException);
    EXPECT_EQ(lone.Steps(), 100);
    {
        ShownChart t(5);
        auto* a = new TSeriesAnimationTool();
        t.chart.Tools().AddTool(a);
        a->SetSeries(t.bars);
        a->SetLoop(salCircular);
        a->SetStepInterval(0);
        a->Play();
        QTest::qWait(20);
        delete t.bars;  // the series goes mid-animation
        EXPECT_FALSE(a->Running());
        EXPECT_EQ(a->Series(), nullptr);
        QTest::qWait(20);
    }
    {
        ShownChart t(5);
        auto* a = new TSeriesAnimationTool();
        t.chart.Tools().AddTool(a);
        a->SetSeries(t.bars);
        a->SetLoop(salOneWay);
        a->Play();
        QTest::qWait(30);
        delete a;  // the tool goes: the series gets its values back
        EXPECT_EQ(Values(*t.bars), (std::vector<double>{10, 20, 30, 40, 50}));
        EXPECT_FALSE(t.bars->UpdatesHeld());
        QTest::qWait(20);
    }
    {
        // The chart goes with its tool and series while playing.
        auto t = std::make_unique<ShownChart>(5);
        auto* a = new TSeriesAnimationTool();
        t->chart.Tools().AddTool(a);
        a->SetSeries(t->bars);
        a->SetLoop(salOneWay);
        a->Play();
        QTest::qWait(20);
        t.reset();
        QTest::qWait(20);
    }
}

// --- clip series ---

TEST(ClipSeriesTool, ClipsToTheAxesAndLeavesNothingBehindWhenFreed) {
    ShownChart t(5);
    t.chart.LeftAxis().SetManualRange(0, 30);  // taller bars would cross the top
    t.bars->SetSeriesColor(clRed);
    auto* c = new TClipSeriesTool();
    t.chart.Tools().AddTool(c);
    c->SetSeries(t.bars);
    t.chart.SetClipPoints(false);
    t.Grab();
    const TRect& r = t.chart.ChartRect();
    int above = 0;
    for (int y = 0; y < r.Top - 1; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const QRgb p = t.shot.pixel(x, y);
            above += cb::gfx::RGB(qRed(p), qGreen(p), qBlue(p)) == clRed;
        }
    EXPECT_EQ(above, 0);
    EXPECT_TRUE(bool(t.bars->BeforeDrawValues));
    delete c;
    EXPECT_FALSE(bool(t.bars->BeforeDrawValues));
    EXPECT_FALSE(bool(t.bars->AfterDrawValues));
    t.chart.Invalidate();
    t.Grab();  // draws without calling into the freed tool
}

// --- rotate ---

TEST(RotateTool, FullWidthTurnsByNinetyAndElevationStaysInRange) {
    ShownChart t;
    auto* r = new TRotateTool();
    t.chart.Tools().AddTool(r);
    t.chart.SetView3D(true);
    t.Grab();
    TView3DOptions& o = t.chart.View3DOptions();
    const int rotation = o.Rotation();
    const int w = t.chart.ChartWidth();
    const QPoint from{20, 200};
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(&t.chart, from + QPoint(w, 0));
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, from + QPoint(w, 0));
    EXPECT_EQ(o.Rotation(), (rotation + 90) % 360);
    EXPECT_FALSE(o.Orthogonal());
    const int h = t.chart.ChartHeight();
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {100, 300});
    for (int k = 1; k <= 3; ++k) QTest::mouseMove(&t.chart, {100, 300 - k * h});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {100, 300 - 3 * h});
    EXPECT_EQ(o.Elevation(), 360);
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {100, 10});
    for (int k = 1; k <= 3; ++k) QTest::mouseMove(&t.chart, {100, 10 + k * h});
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {100, 10 + 3 * h});
    EXPECT_EQ(o.Elevation(), 270);
}

TEST(RotateTool, AClickWithoutMovingKeepsAutomaticRepaint) {
    ShownChart t;
    auto* r = new TRotateTool();
    r->Pen().Show();
    t.chart.Tools().AddTool(r);
    QTest::mouseClick(&t.chart, Qt::LeftButton, {}, {100, 100});
    EXPECT_TRUE(t.chart.AutoRepaint());
    QTest::mousePress(&t.chart, Qt::LeftButton, {}, {100, 100});
    QTest::mouseMove(&t.chart, {160, 100});
    EXPECT_FALSE(t.chart.AutoRepaint());  // the outline stands in while dragging
    QTest::mouseRelease(&t.chart, Qt::LeftButton, {}, {160, 100});
    EXPECT_TRUE(t.chart.AutoRepaint());
}

// --- image ---

TEST(ChartImageTool, PictureFillsTheAxesRangeBehindTheSeries) {
    ShownChart t(3);
    t.bars->SetActive(false);
    auto* img = new TChartImageTool();
    cb::gfx::TBitmap pic(4, 4);
    pic.Canvas().Brush().SetColor(clRed);
    pic.Canvas().FillRect({0, 0, 4, 4});
    pic.Canvas().ReleasePainter();
    img->SetPicture(pic);
    t.chart.Tools().AddTool(img);
    t.chart.BottomAxis().SetManualRange(0, 10);
    t.chart.LeftAxis().SetManualRange(0, 10);
    t.Grab();
    const TRect r = img->PictureRect();
    EXPECT_NEAR(t.Count(clRed), double(r.Width()) * r.Height(), r.Width() + r.Height() + 4);
}

// --- marks tip ---

TEST(MarksTipTool, HintOfThePointUnderTheMouseAndNoneOverEmptySpace) {
    ShownChart t(3);
    auto* m = new TMarksTipTool();
    t.chart.Tools().AddTool(m);
    m->SetStyle(smsValue);
    m->OnGetText = [](TMarksTipTool*, std::string& text) { text = "v=" + text; };
    t.Grab();
    const int x = t.bars->ScreenX(2), y = t.chart.LeftAxis().PixelOfValue(15);
    QTest::mouseMove(&t.chart, {x, y});
    EXPECT_EQ(t.chart.toolTip().toStdString(), "v=30");
    EXPECT_EQ(t.bars->Marks().Style(), smsLabel);  // restored
    QTest::mouseMove(&t.chart, {5, 5});
    EXPECT_TRUE(t.chart.toolTip().isEmpty());
    // With a second tip tool the hint is left to the other.
    t.chart.Tools().AddTool(new TMarksTipTool());
    QTest::mouseMove(&t.chart, {x, y});
    QTest::mouseMove(&t.chart, {6, 6});
    EXPECT_FALSE(t.chart.toolTip().isEmpty());
}

// --- extra legend ---

TEST(ExtraLegendTool, ListsItsSeriesAtItsOwnPlace) {
    TExtraLegendTool lone;
    EXPECT_EQ(lone.Legend().Chart(), nullptr);
    ShownChart t(4);
    t.bars->SetColorEachPoint(true);
    auto* e = new TExtraLegendTool();
    e->Legend().SetLeft(20);
    e->Legend().SetTop(20);
    // A colour of its own: the bars take the palette's (yellow among them).
    const TColor ground = cb::gfx::RGB(250, 230, 140);
    e->Legend().SetColor(ground);
    t.chart.Tools().AddTool(e);
    EXPECT_EQ(e->Legend().Chart(), &t.chart);
    t.Grab();
    EXPECT_EQ(t.Count(ground), 0);  // no series yet
    e->SetSeries(t.bars);
    t.Grab();
    EXPECT_GT(t.Count(ground), 200);
    e->Legend().SetVisible(false);
    t.Grab();
    EXPECT_EQ(t.Count(ground), 0);
}

// --- registry ---

TEST(ToolRegistry, StandardToolsInGalleryOrderOnce) {
    UnregisterStandardToolTypes();
    RegisterStandardToolTypes();
    RegisterStandardToolTypes();
    std::vector<std::string> names, editors;
    for (int i = 0; i < ToolTypes().Count(); ++i) {
        auto tool = ToolTypes().GetItem(i)->Create();
        names.push_back(tool->DescriptionText());
        editors.push_back(tool->EditorClassName());
    }
    const std::vector<std::string> expected = {
        "Cursor",     "Drag Marks",  "Axis Arrows", "Draw Line",   "Nearest Point", "Color Band",
        "Color Line", "Rotate",      "Image",       "Mark Tips",   "Annotation",    "Series Animation",
        "Grid Band",  "Axis Scroll", "Rectangle",   "Clip Series", "Extra Legend"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(editors[13], "TAxisToolEditor");
    EXPECT_EQ(editors[14], "TAnnotationToolEdit");
    EXPECT_EQ(editors[15], "TSeriesToolEditor");
    EXPECT_EQ(editors[16], "TExtraLegendEditor");
    UnregisterStandardToolTypes();
    EXPECT_EQ(ToolTypes().Count(), 0);
}
