// Assign copies every setting of the chart's settings objects: each row sets
// all of them on a source (its own and those of the classes it builds on, and
// of the objects it owns), assigns to a fresh object, and compares the whole
// settings records, so a setting that Assign leaves behind fails here.
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace cb::chart;
using cb::gfx::clLime;
using cb::gfx::clMaroon;
using cb::gfx::clNavy;

namespace {

struct TAssignCase {
    std::string name;
    std::function<void()> run;
};

// same(a, b): every settings record of a equals b's. The row must move the
// source away from a fresh object first, so the comparison means something.
template <class T, class Set, class Same>
TAssignCase Case(std::string name, Set setAll, Same same) {
    return {name, [name, setAll, same] {
                T source;
                setAll(source);
                ASSERT_FALSE(same(source, T())) << name << ": the row sets nothing";
                T target;
                target.Assign(source);
                EXPECT_TRUE(same(target, source)) << name;
            }};
}

template <class T>
bool SameOwn(const T& a, const T& b) {
    return a.Settings() == b.Settings();
}

bool SamePen(const TChartPen& a, const TChartPen& b) {
    return SameOwn(a, b) && a.cb::gfx::TPen::Settings() == b.cb::gfx::TPen::Settings();
}

bool SameGradient(const TCustomPlotGradient& a, const TCustomPlotGradient& b) {
    return a.TCustomPlotGradient::Settings() == b.TCustomPlotGradient::Settings();
}

bool SameFontGradient(const TPlotFontGradient& a, const TPlotFontGradient& b) {
    return SameOwn(a, b) && SameGradient(a, b);
}

// Owned parts: both absent, or both present and equal.
template <class T, class F>
bool SamePart(const T* a, const T* b, F same) {
    return a && b ? same(*a, *b) : a == b;
}

bool SameFont(const TPlotFont& a, const TPlotFont& b) {
    return SameOwn(a, b) && a.cb::gfx::TFont::Settings() == b.cb::gfx::TFont::Settings() &&
           SamePart(a.OutLineIfAny(), b.OutLineIfAny(), SamePen) &&
           SamePart(a.ShadowIfAny(), b.ShadowIfAny(), SameOwn<TPlotShadow>) &&
           SamePart(a.GradientIfAny(), b.GradientIfAny(), SameFontGradient);
}

void SetGradient(TCustomPlotGradient& g) {
    g.SetBalance(30);
    g.SetDirection(gdRadial);
    g.SetEndColor(clNavy);
    g.SetMidColor(clLime);
    g.SetRadialX(4);
    g.SetRadialY(-6);
    g.SetStartColor(clMaroon);
    g.SetVisible(true);
}

void SetShadow(TPlotShadow& s) {
    s.SetColor(clGray);
    s.SetHorizSize(3);
    s.SetVertSize(5);
    s.SetSmooth(false);
    s.SetTransparency(40);
}

void SetPen(TChartPen& p) {
    p.SetVisible(false);
    p.SetSmallDots(true);
    p.SetColor(clRed);
    p.SetWidth(2);
    p.SetStyle(cb::gfx::psDash);
    p.SetMode(cb::gfx::pmNotXor);
    p.SetEndStyle(cb::gfx::esSquare);
}

}  // namespace

TEST(ChartSettingsAssign, StyleObjectsCopyEverySetting) {
    const TAssignCase cases[] = {
        Case<TChartPen>("pen", SetPen, SamePen),
        Case<TPlotShadow>("shadow", SetShadow, SameOwn<TPlotShadow>),
        Case<TPlotGradient>("gradient", SetGradient, SameGradient),
        Case<TPlotFontGradient>(
            "font gradient",
            [](TPlotFontGradient& g) {
                SetGradient(g);
                g.SetOutline(true);
            },
            SameFontGradient),
        Case<TPlotFont>(
            "font",
            [](TPlotFont& f) {
                f.SetName("Courier New");
                f.SetSize(14);
                f.SetStyle(cb::gfx::fsItalic);
                f.SetColor(clBlue);
                f.SetOrientation(450);
                f.SetInterCharSize(2);
                SetPen(f.OutLine());
                SetShadow(f.Shadow());
                SetGradient(f.Gradient());
                f.Gradient().SetOutline(true);
            },
            SameFont),
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.run();
    }
}

// A chart pen copied into a plain pen keeps the plain settings; a plain pen
// copied into a chart pen leaves the chart pen's own settings alone.
TEST(ChartSettingsAssign, PenAcrossKinds) {
    TChartPen chart;
    SetPen(chart);
    cb::gfx::TPen plain;
    plain.Assign(chart);
    EXPECT_TRUE(plain.Settings() == chart.cb::gfx::TPen::Settings());

    TChartPen target;
    plain.SetColor(clYellow);
    target.Assign(plain);
    EXPECT_EQ(target.Color(), clYellow);
    EXPECT_TRUE(target.Visible());
    EXPECT_FALSE(target.SmallDots());
}

// A chart pen's copy announces itself once, whether its own or the plain
// settings changed, and not at all when nothing did.
TEST(ChartSettingsAssign, PenNotifiesOncePerEffectiveCopy) {
    struct Row {
        const char* name;
        void (*change)(TChartPen&);
        int changes;
    };
    const Row rows[] = {
        {"nothing", [](TChartPen&) {}, 0},
        {"own", [](TChartPen& p) { p.SetSmallDots(true); }, 1},
        {"plain", [](TChartPen& p) { p.SetWidth(4); }, 1},
        {"both", SetPen, 1},
    };
    for (const auto& r : rows) {
        TChartPen source;
        r.change(source);
        int n = 0;
        TChartPen target([&] { ++n; });
        target.Assign(source);
        EXPECT_EQ(n, r.changes) << r.name;
    }
}
