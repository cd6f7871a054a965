// Assign copies every setting of the series and their parts: each row sets
// all of them on a source (its own, those of the classes it builds on and of
// the objects it owns), copies into a fresh object, and compares the whole
// settings records, so a setting that Assign leaves behind fails here.
#include "chart/functions/CustomFunction.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesPointer.h"
#include "chart/series/fastline/FastLineSeries.h"
#include "chart/series/line/LineSeries.h"
#include "chart/series/pie/PieSeries.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace cb::chart;
using cb::gfx::clLime;
using cb::gfx::clMaroon;
using cb::gfx::clNavy;
using cb::gfx::clOlive;
using cb::gfx::clTeal;

namespace {

// same(a, b): every settings record of a equals b's.
template <class T>
void ExpectCopied(const std::string& name, const std::function<std::unique_ptr<T>()>& make,
                  const std::function<void(T&)>& setAll, const std::function<void(T&, T&)>& assign,
                  const std::function<bool(T&, T&)>& same) {
    SCOPED_TRACE(name);
    auto source = make(), fresh = make(), target = make();
    setAll(*source);
    ASSERT_FALSE(same(*source, *fresh)) << "the row sets nothing";
    assign(*target, *source);
    EXPECT_TRUE(same(*target, *source));
}

void SetGradient(TCustomPlotGradient& g) {
    g.SetVisible(true);
    g.SetDirection(gdRadial);
    g.SetStartColor(clMaroon);
    g.SetEndColor(clNavy);
    g.SetMidColor(clLime);
}

bool SameGradient(const TCustomPlotGradient& a, const TCustomPlotGradient& b) {
    return a.TCustomPlotGradient::Settings() == b.TCustomPlotGradient::Settings();
}

bool SameBrush(const TChartBrush& a, const TChartBrush& b) {
    return a.cb::gfx::TBrush::Settings() == b.cb::gfx::TBrush::Settings();
}

bool SamePen(const TChartPen& a, const TChartPen& b) {
    return a.Settings() == b.Settings() && a.cb::gfx::TPen::Settings() == b.cb::gfx::TPen::Settings();
}

void SetPointer(TSeriesPointer& p) {
    p.SetVisible(false);
    p.SetDark3D(false);
    p.SetDraw3D(false);
    p.SetHorizSize(7);
    p.SetVertSize(9);
    p.SetInflateMargins(false);
    p.SetStyle(psDiamond);
    p.SetTransparency(35);
    p.Brush().SetColor(clOlive);
    p.Pen().SetWidth(3);
    SetGradient(p.Gradient());
}

bool SamePointer(TSeriesPointer& a, TSeriesPointer& b) {
    return a.TSeriesPointer::Settings() == b.TSeriesPointer::Settings() && SameBrush(a.Brush(), b.Brush()) &&
           SamePen(a.Pen(), b.Pen()) && SameGradient(a.Gradient(), b.Gradient());
}

void SetCallout(TCallout& c) {
    SetPointer(c);
    c.SetArrowHead(ahSolid);
    c.SetArrowHeadSize(12);
    c.SetDistance(5);
    c.Arrow().SetColor(clTeal);
}

bool SameCallout(TCallout& a, TCallout& b) {
    return SamePointer(a, b) && a.TCallout::Settings() == b.TCallout::Settings() && SamePen(a.Arrow(), b.Arrow());
}

void SetMarks(TSeriesMarks& m) {
    m.SetStyle(smsLabelPercentTotal);
    m.SetDrawEvery(3);
    m.SetAngle(90);
    m.SetMultiLine(true);
    m.SetClip(true);
    SetCallout(m.Callout());
    m.Callout().SetLength(14);
}

bool SameMarks(TSeriesMarks& a, TSeriesMarks& b) {
    return a.TSeriesMarks::Settings() == b.TSeriesMarks::Settings() && SameCallout(a.Callout(), b.Callout()) &&
           a.Callout().TMarksCallout::Settings() == b.Callout().TMarksCallout::Settings();
}

// The settings of every series: its own records and its marks'.
void SetSeries(TChartSeries& s) {
    s.SetShowInLegend(false);
    s.SetTitle("Sales");
    s.SetIdentifier("sales-1");
    s.SetStyle(5);
    s.SetSeriesColor(clMaroon);
    s.SetColorEachPoint(true);
    s.SetColorSource("Colour");
    s.SetXLabelsSource("Names");
    s.SetPercentFormat("0.0 %");
    s.SetValueFormat("#,##0.000");
    s.SetRefreshOptions(roFollowClears);
    s.SetCursor(3);
    s.SetDepth(12);
    s.SetZOrder(2);
    SetMarks(s.Marks());
}

bool SameSeries(TChartSeries& a, TChartSeries& b) {
    return a.TCustomChartSeries::Settings() == b.TCustomChartSeries::Settings() &&
           a.TChartSeries::Settings() == b.TChartSeries::Settings() && SameMarks(a.Marks(), b.Marks());
}

}  // namespace

TEST(ChartSettingsAssign, SeriesPartsCopyEverySetting) {
    using Slice = TPieOtherSlice;
    ExpectCopied<TSeriesPointer>(
        "pointer", [] { return std::make_unique<TSeriesPointer>(nullptr); }, SetPointer,
        [](TSeriesPointer& t, TSeriesPointer& s) { t.Assign(s); }, SamePointer);
    ExpectCopied<TCallout>(
        "callout", [] { return std::make_unique<TCallout>(nullptr); }, SetCallout,
        [](TCallout& t, TCallout& s) { t.Assign(s); }, SameCallout);
    ExpectCopied<Slice>(
        "pie other slice", [] { return std::make_unique<Slice>(nullptr); },
        [](Slice& o) {
            o.SetColor(clNavy);
            o.SetStyle(poBelowPercent);
            o.SetText("Rest");
            o.SetValue(7.5);
        },
        [](Slice& t, Slice& s) { t.Assign(s); }, [](Slice& a, Slice& b) { return a.Settings() == b.Settings(); });
    ExpectCopied<TCustomPlotFunction>(
        "custom function", [] { return std::make_unique<TCustomPlotFunction>(); },
        [](TCustomPlotFunction& f) {
            f.SetPeriod(4);
            f.SetPeriodStyle(TFunctionPeriodStyle::psRange);
            f.SetPeriodAlign(TFunctionPeriodAlign::paLast);
            f.SetNumPoints(25);
            f.SetStartX(-3.5);
        },
        [](TCustomPlotFunction& t, TCustomPlotFunction& s) { t.Assign(s); },
        [](TCustomPlotFunction& a, TCustomPlotFunction& b) {
            return a.TPlotFunction::Settings() == b.TPlotFunction::Settings() &&
                   a.TCustomPlotFunction::Settings() == b.TCustomPlotFunction::Settings();
        });
}

TEST(ChartSettingsAssign, SeriesCopyEverySetting) {
    ExpectCopied<TLineSeries>(
        "line", [] { return std::make_unique<TLineSeries>(); },
        [](TLineSeries& s) {
            SetSeries(s);
            s.SetAreaColor(clTeal);
            s.SetClickableLine(false);
            s.SetColorEachLine(false);
            s.SetDark3D(false);
            // A line series keeps its line and draws no area whatever it copies.
            s.SetInvertedStairs(true);
            s.SetLineHeight(6);
            s.SetStacked(cssStack100);
            s.SetStairs(true);
            s.SetTransparency(20);
            SetPointer(s.Pointer());
            s.AreaChartBrush().SetColor(clLime);
            s.AreaLinesPen().SetWidth(4);
            SetGradient(s.Gradient());
        },
        [](TLineSeries& t, TLineSeries& s) { t.AssignSeries(s); },
        [](TLineSeries& a, TLineSeries& b) {
            return SameSeries(a, b) && a.TCustomSeries::Settings() == b.TCustomSeries::Settings() &&
                   SamePointer(a.Pointer(), b.Pointer()) && SameBrush(a.AreaChartBrush(), b.AreaChartBrush()) &&
                   SamePen(a.AreaLinesPen(), b.AreaLinesPen()) && SameGradient(a.Gradient(), b.Gradient());
        });
    ExpectCopied<TFastLineSeries>(
        "fast line", [] { return std::make_unique<TFastLineSeries>(); },
        [](TFastLineSeries& s) {
            SetSeries(s);
            s.SetAutoRepaint(false);
            s.SetDrawAllPoints(false);
            s.SetIgnoreNulls(false);
            s.SetInvertedStairs(true);
            s.SetStairs(true);
        },
        [](TFastLineSeries& t, TFastLineSeries& s) { t.AssignSeries(s); },
        [](TFastLineSeries& a, TFastLineSeries& b) {
            return SameSeries(a, b) && a.TFastLineSeries::Settings() == b.TFastLineSeries::Settings();
        });
}
