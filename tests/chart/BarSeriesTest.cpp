// Bar series: layout of several series, stacking, drawing and hit tests.
#include "chart/series/bar/BarSeries.h"
#include "chart/axis/ChartAxis.h"
#include "chart/component/AxisPanel.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace cb::chart;

namespace {

struct BarChart {
    TAxisPanel chart;
    explicit BarChart(int w = 600, int h = 400, bool is3D = false) {
        chart.resize(w, h);
        chart.SetView3D(is3D);
    }
    template <class T = TBarSeries>
    T* Add(const std::vector<double>& values, TMultiBar mode = mbSide, int group = 0, TColor color = clDefault,
           TBarOrientation orientation = boVertical) {
        auto* s = chart.CreateSeries<T>();
        s->SetOrientation(orientation);
        s->SetMultiBar(mode);
        s->SetStackGroup(group);
        s->Marks().SetVisible(false);
        if (color != clDefault) s->SetSeriesColor(color);
        for (double v : values) s->AddValue(v);
        return s;
    }
    std::unique_ptr<cb::gfx::TBitmap> Draw() {
        auto b = chart.DrawToBitmap(clWhite, chart.PanelRect());
        b->Canvas().ReleasePainter();
        return b;
    }
};

TColor PixelAt(cb::gfx::TBitmap& b, int x, int y) {
    const QRgb c = b.Image().pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

// The run of colour c in column x that ends at (or nearest above) bottom.
int RunTop(cb::gfx::TBitmap& b, int x, int bottom, TColor c) {
    int y = bottom;
    while (y > 0 && PixelAt(b, x, y) != c) --y;
    while (y > 0 && PixelAt(b, x, y - 1) == c) --y;
    return y;
}

TEST(BarSeries, SideBySideLayoutOfTwoSeries) {
    // Two series of 5 points on a 700-pixel axis: 6 slots of 116 pixels,
    // bars Round(81.2) div 2 = 40 wide, centred on each position.
    BarChart b(800, 300);
    auto* s1 = b.Add({1, 2, 3, 4, 5});
    auto* s2 = b.Add({5, 4, 3, 2, 1});
    int width = 800;
    for (int k = 0; k < 4 && b.chart.BottomAxis().PixelSize() != 700; ++k) {
        b.Draw();
        width += 700 - b.chart.BottomAxis().PixelSize();
        b.chart.resize(width, 300);
        b.Draw();
    }
    ASSERT_EQ(b.chart.BottomAxis().PixelSize(), 700);
    EXPECT_EQ(s1->MaxBarPoints(), 6);
    EXPECT_EQ(s1->NumBars(), 2);
    EXPECT_EQ(s1->BarSize(), 40);
    EXPECT_EQ(s2->OrderPos(), 2);
    for (int i = 0; i < 5; ++i) {
        const int position = b.chart.BottomAxis().PixelOfValue(i);
        EXPECT_EQ(s1->ScreenX(i), position - 40);
        EXPECT_EQ(s2->ScreenX(i), position);
    }
}

TEST(BarSeries, LayoutCounts) {
    struct Case {
        TMultiBar mode;
        std::vector<int> groups;
        int numBars;
        std::vector<int> orderPos;
        std::vector<int> previous;
    };
    const Case cases[] = {
        {mbStacked, {0, 1, 0}, 2, {1, 2, 1}, {0, 3, 6}},   {mbSide, {0, 0, 0}, 3, {1, 2, 3}, {0, 3, 6}},
        {mbSideAll, {0, 0, 0}, 3, {1, 2, 3}, {0, 3, 6}},   {mbNone, {0, 0, 0}, 1, {1, 1, 1}, {0, 3, 6}},
        {mbSelfStack, {0, 0, 0}, 1, {1, 1, 1}, {0, 3, 6}},
    };
    for (const Case& c : cases) {
        BarChart b;
        std::vector<TBarSeries*> s;
        for (int g : c.groups) s.push_back(b.Add({1, 2, 3}, c.mode, g));
        b.Draw();
        for (std::size_t k = 0; k < s.size(); ++k) {
            EXPECT_EQ(s[k]->NumBars(), c.numBars) << c.mode;
            EXPECT_EQ(s[k]->OrderPos(), c.orderPos[k]) << c.mode << " series " << k;
            EXPECT_EQ(s[k]->PreviousCount(), c.previous[k]) << c.mode << " series " << k;
        }
    }
}

TEST(BarSeries, MultiBarIsSharedAcrossTheClass) {
    BarChart b;
    auto* a = b.Add({1});
    auto* h = b.Add({1}, mbSide, 0, clDefault, boHorizontal);
    auto* c = b.Add({1});
    a->SetMultiBar(mbStacked100);
    EXPECT_EQ(c->MultiBar(), mbStacked100);
    EXPECT_EQ(h->MultiBar(), mbSide);
    auto* late = b.Add({2}, mbSide);
    late->SetParentChart(&b.chart);
    EXPECT_EQ(b.Add({}, mbStacked100)->MultiBar(), mbStacked100);
}

TEST(BarSeries, StackBasesWithMixedSigns) {
    // Four stacked series at one index: positive values pile on earlier
    // positives, negative ones below the origin on earlier negatives.
    struct Case {
        std::vector<double> values;
        std::vector<double> bases;
        double highest, lowest;
    };
    const Case cases[] = {
        {{5, -3, 4, -2}, {0, 0, 5, -3}, 9, -5},
        {{-1, -1, 2, 3}, {0, -1, 0, 2}, 5, -2},
        {{2, 0, 3, -4}, {0, 2, 2, 0}, 5, -4},
    };
    for (const Case& c : cases) {
        BarChart b;
        std::vector<TBarSeries*> s;
        for (double v : c.values) s.push_back(b.Add({v}, mbStacked));
        b.Draw();
        double highest = 0, lowest = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            EXPECT_EQ(s[k]->StackBase(0, false), c.bases[k]) << "series " << k;
            highest = std::max(highest, s[k]->HighestY());
            lowest = std::min(lowest, s[k]->LowestY());
        }
        EXPECT_EQ(highest, c.highest);
        EXPECT_EQ(lowest, c.lowest);
    }
}

TEST(BarSeries, SelfStackKeepsSignsApartAndTheAxisCoversEveryRunningSum) {
    // The same values piled up inside one series: the axis must reach the
    // positive pile (9) and the negative one (-5), not only the total (4).
    struct Case {
        std::vector<double> values;
        std::vector<double> bases;
        double highest, lowest;
    };
    const Case cases[] = {
        {{5, -3, 4, -2}, {0, 0, 5, -3}, 9, -5},
        {{1, 2, 3}, {0, 1, 3}, 6, 0},
        {{-2, -2}, {0, -2}, 0, -4},
    };
    for (const Case& c : cases) {
        BarChart b;
        auto* s = b.Add(c.values, mbSelfStack);
        b.Draw();
        for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(s->StackBase(int(i), false), c.bases[i]);
        EXPECT_EQ(s->HighestY(), c.highest);
        EXPECT_EQ(s->LowestY(), c.lowest);
        EXPECT_LE(b.chart.LeftAxis().WorkingMinimum(), c.lowest);
        EXPECT_GE(b.chart.LeftAxis().WorkingMaximum(), c.highest);
        EXPECT_EQ(s->LowestX(), 0);
        EXPECT_EQ(s->HighestX(), 0);
    }
}

TEST(BarSeries, HundredPercentStacks) {
    BarChart b(400, 300);
    auto* a = b.Add({1, 0, 3}, mbStacked100, 0, clRed);
    auto* c = b.Add({3, 0, 1}, mbStacked100, 0, clBlue);
    auto bmp = b.Draw();
    EXPECT_EQ(a->HighestY(), 100);
    EXPECT_EQ(a->LowestY(), 0);
    TChartAxis& left = b.chart.LeftAxis();
    EXPECT_EQ(c->ScreenY(0), left.PixelOfValue(100));
    EXPECT_EQ(a->ScreenY(0), left.PixelOfValue(25));
    EXPECT_EQ(c->OriginY(0), left.PixelOfValue(25));
    // Index 1 totals 0: no bar at all, neither at the origin nor at the top.
    const int x = b.chart.BottomAxis().PixelOfValue(1);
    for (int y = b.chart.ChartRect().Top; y < b.chart.ChartRect().Bottom; ++y) {
        ASSERT_NE(PixelAt(*bmp, x, y), clRed) << y;
        ASSERT_NE(PixelAt(*bmp, x, y), clBlue) << y;
    }
}

TEST(BarSeries, SideAllPlacesSeriesOneAfterTheOther) {
    BarChart b;
    auto* a = b.Add({1, 2, 3}, mbSideAll);
    auto* c = b.Add({4, 5}, mbSideAll);
    b.Draw();
    EXPECT_EQ(c->HighestX(), 4);
    EXPECT_EQ(c->ScreenX(0), b.chart.BottomAxis().PixelOfValue(3) - c->BarSize() / 2);
    EXPECT_EQ(a->ScreenX(2), b.chart.BottomAxis().PixelOfValue(2) - a->BarSize() / 2);
    EXPECT_FALSE(c->SharesZOrder());
}

TEST(BarSeries, OddBarSizeBecomesEvenAndCustomWidthWins) {
    BarChart b(437, 300);
    auto* s = b.Add({1, 2, 3, 4, 5, 6, 7});
    for (int w = 300; w < 340; ++w) {
        b.chart.resize(w, 300);
        b.Draw();
        EXPECT_EQ(s->BarSize() % 2, 0) << w;
    }
    s->SetCustomBarWidth(13);
    b.Draw();
    EXPECT_EQ(s->BarSize(), 13);
}

TEST(BarSeries, BarsWithoutOriginStartAtTheAxisEnd) {
    BarChart b;
    auto* s = b.Add({10, 20}, mbNone);
    s->SetUseYOrigin(false);
    b.chart.LeftAxis().SetAutomatic(false);
    b.chart.LeftAxis().SetManualRange(5, 25);
    b.Draw();
    EXPECT_EQ(s->OriginY(0), b.chart.LeftAxis().EndPixel());
}

TEST(BarSeries, HitTestCountsTheEdges) {
    BarChart b;
    auto* s = b.Add({10, -20, 30});
    b.Draw();
    for (int i = 0; i < 3; ++i) {
        const int x0 = s->ScreenX(i), top = std::min(s->ScreenY(i), s->OriginY(i)),
                  bottom = std::max(s->ScreenY(i), s->OriginY(i));
        EXPECT_EQ(s->PointAtPixel(x0, top), i);
        EXPECT_EQ(s->PointAtPixel(x0 + s->BarSize(), bottom), i);
        EXPECT_EQ(s->PointAtPixel(x0 + s->BarSize() + 1, bottom), -1);
        EXPECT_EQ(s->PointAtPixel(x0, top - 1), -1);
    }
}

TEST(BarSeries, PyramidHitTestFollowsTheTriangle) {
    BarChart b;
    auto* s = b.Add({10});
    s->SetBarStyle(bsPyramid);
    b.Draw();
    const int x0 = s->ScreenX(0), top = s->ScreenY(0), bottom = s->OriginY(0);
    EXPECT_EQ(s->PointAtPixel(x0 + s->BarSize() / 2, top + 2), 0);
    EXPECT_EQ(s->PointAtPixel(x0 + 1, top + 2), -1);
    EXPECT_EQ(s->PointAtPixel(x0 + 2, bottom - 1), 0);
}

TEST(BarSeries, TurnedBarsKeepTheirValues) {
    BarChart b;
    auto* s = b.Add({10, -5, 30});
    s->SetOrientation(boHorizontal);
    EXPECT_FALSE(s->YMandatory());
    EXPECT_EQ(s->XValues().Name(), "Bar");
    EXPECT_EQ(s->YValues().Order(), loAscending);
    b.Draw();
    TChartAxis& bottom = b.chart.BottomAxis();
    EXPECT_EQ(s->ScreenX(2), bottom.PixelOfValue(30));
    EXPECT_EQ(s->OriginX(1), bottom.PixelOfValue(0));
    s->SetOrientation(boVertical);
    EXPECT_TRUE(s->YMandatory());
    EXPECT_EQ(s->YValues().Name(), "Bar");
    EXPECT_EQ(s->MandatoryValue(1), -5);
    b.Draw();
    EXPECT_EQ(s->ScreenY(2), b.chart.LeftAxis().PixelOfValue(30));
}

TEST(BarSeries, HorizontalBarsMirrorTheRules) {
    BarChart b;
    auto* s = b.Add({10, -5, 30}, mbSide, 0, clDefault, boHorizontal);
    b.Draw();
    TChartAxis& bottom = b.chart.BottomAxis();
    EXPECT_EQ(s->OriginX(0), bottom.PixelOfValue(0));
    EXPECT_EQ(s->ScreenX(2), bottom.PixelOfValue(30));
    EXPECT_EQ(s->ScreenY(1), b.chart.LeftAxis().PixelOfValue(1) - s->BarSize() / 2);
    EXPECT_EQ(s->PointAtPixel(bottom.PixelOfValue(20), s->ScreenY(2) + 1), 2);
    EXPECT_EQ(s->PointAtPixel(bottom.PixelOfValue(-2), s->ScreenY(1) + 1), 1);
    EXPECT_EQ(s->PointAtPixel(bottom.PixelOfValue(-7), s->ScreenY(1) + 1), -1);
}

// Offscreen renderings: each bar's drawn height is its value's share of
// the axis, in 2D and in 3D.
TEST(BarSeries, DrawnHeightsAreProportionalToValues) {
    for (bool is3D : {false, true}) {
        BarChart b(500, 350, is3D);
        b.chart.View3DOptions().SetOrthogonal(true);
        const std::vector<double> values{10, 30, 20, 40};
        auto* s = b.Add(values, mbSide, 0, clBlue);
        s->BarPen().Hide();
        auto bmp = b.Draw();
        TChartAxis& left = b.chart.LeftAxis();
        const int origin = left.PixelOfValue(0);
        const double perUnit = double(origin - left.PixelOfValue(40)) / 40;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int x = s->ScreenX(int(i)) + 3;
            const int top = RunTop(*bmp, x, origin - 2, clBlue);
            EXPECT_NEAR(origin - top, values[i] * perUnit, 2) << (is3D ? "3D" : "2D") << " bar " << i;
        }
    }
}

TEST(BarSeries, NullPointsDrawNoBar) {
    BarChart b(300, 200);
    auto* s = b.Add({10, 10}, mbSide, 0, clBlue);
    s->SetPointColor(1, clNone);
    auto bmp = b.Draw();
    const int y = (s->ScreenY(0) + s->OriginY(0)) / 2;
    EXPECT_EQ(PixelAt(*bmp, s->ScreenX(0) + 3, y), clBlue);
    EXPECT_NE(PixelAt(*bmp, s->ScreenX(1) + 3, y), clBlue);
}

TEST(BarSeries, EveryStyleDrawsInsideItsBar) {
    for (bool is3D : {false, true})
        for (int style = bsRectangle; style <= bsDiamond; ++style) {
            BarChart b(300, 240, is3D);
            auto* s = b.Add({10}, mbSide, 0, clBlue);
            s->SetBarStyle(TBarStyle(style));
            s->Gradient().SetStartColor(clBlue);
            auto bmp = b.Draw();
            const int x = s->ScreenX(0) + s->BarSize() / 2;
            const int y = (s->ScreenY(0) * 1 + s->OriginY(0) * 3) / 4;
            EXPECT_NE(PixelAt(*bmp, x, y), b.chart.Color()) << "style " << style << (is3D ? " 3D" : " 2D");
        }
}

TEST(BarSeries, GetBarStyleOverridesOnePoint) {
    BarChart b;
    auto* s = b.Add({10, 10});
    std::vector<int> asked;
    s->OnGetBarStyle = [&](TCustomBarSeries*, int i, TBarStyle& style) {
        asked.push_back(i);
        if (i == 1) style = bsArrow;
    };
    b.Draw();
    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
    EXPECT_EQ(s->StyleOfPoint(1), bsArrow);
    EXPECT_EQ(s->StyleOfPoint(0), bsRectangle);
}

TEST(BarSeries, ThreeDGroupDrawsPointByPoint) {
    struct Logged : TBarSeries {
        std::vector<std::string>* log = nullptr;
        void DrawPoint(int i) override {
            log->push_back(Title() + std::to_string(i));
            TBarSeries::DrawPoint(i);
        }
    };
    BarChart b(400, 300, true);
    std::vector<std::string> log;
    for (const char* name : {"A", "B"}) {
        auto* s = b.Add<Logged>({1, 2}, mbSide);
        s->SetTitle(name);
        s->log = &log;
    }
    b.Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"A0", "B0", "A1", "B1"}));
}

TEST(BarSeries, SubGalleryStyles) {
    BarChart b;
    auto* s = b.Add({1, 2});
    std::vector<std::string> names;
    s->ListSubGalleryStyles([&](const std::string& n) { names.push_back(n); });
    EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                               "Stack", "Stack 100%", "Self Stacked", "Sides", "Side All"}));
    s->ApplySubGalleryStyle(s, 7);
    EXPECT_EQ(s->MultiBar(), mbStacked100);
    s->ApplySubGalleryStyle(s, 2);
    EXPECT_EQ(s->BarStyle(), bsPyramid);
}

}  // namespace
