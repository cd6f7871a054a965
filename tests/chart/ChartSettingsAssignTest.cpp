// Assign copies every setting of a chart and of its parts: the source chart
// gets every setting of each part changed, a fresh chart is assigned from
// it, and each part's settings record must equal the source's, so a setting
// that an Assign leaves behind fails here.
#include "chart/axis/ChartAxis.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/component/Chart.h"
#include "chart/component/ChartLegend.h"
#include "chart/component/ChartTitle.h"
#include "chart/component/ChartWalls.h"
#include "chart/panel/BackImage.h"
#include "chart/series/bar/BarSeries.h"
#include "chart/series/pie/PieSeries.h"
#include "chart/tools/AnnotationTool.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/DrawLineTool.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace cb::chart;
using cb::gfx::clLime;
using cb::gfx::clMaroon;
using cb::gfx::clNavy;
using cb::gfx::clOlive;

namespace {

void SetShape(TPlotCustomShape& s) {
    s.SetBevel(bcRaised);
    s.SetBevelWidth(5);
    s.SetColor(clOlive);
    s.SetShapeStyle(fosRoundRectangle);
    s.SetTransparent(!s.Transparent());
    s.SetTransparency(30);
}

bool SameShape(const TPlotCustomShape& a, const TPlotCustomShape& b) {
    return a.TPlotCustomShape::Settings() == b.TPlotCustomShape::Settings();
}

void SetTitle(TChartTitle& t, const std::string& text) {
    SetShape(t);
    t.SetAdjustFrame(false);
    t.SetAlignment(taRightJustify);
    t.SetText({text, "second line"});
}

bool SameTitle(const TChartTitle& a, const TChartTitle& b) {
    return SameShape(a, b) && a.TChartTitle::Settings() == b.TChartTitle::Settings();
}

void SetAxis(TChartAxis& a) {
    a.Title().SetCaption("Revenue");
    a.Title().SetAngle(270);
    a.Title().SetVisible(false);
    a.SetAutomatic(false);
    a.SetAutomaticMaximum(false);
    a.SetAutomaticMinimum(false);
    a.SetMaximum(90);
    a.SetMinimum(1);
    a.SetLogarithmic(true);
    a.SetLogarithmicBase(2);
    a.SetInverted(true);
    a.SetMinimumOffset(3);
    a.SetMaximumOffset(4);
    a.SetStartPosition(10);
    a.SetEndPosition(80);
    a.SetPositionPercent(5);
    a.SetPositionUnits(apuPixels);
    a.SetOtherSide(true);
    a.SetVisible(false);
    a.SetIncrement(2.5);
    a.SetLabelStyle(talValue);
    a.SetAxisValuesFormat("0.00");
    a.SetDateTimeFormat("yyyy");
    a.SetExactDateTime(false);
    a.SetRoundFirstLabel(false);
    a.SetLabelsSeparation(20);
    a.SetLabelsAngle(90);
    a.SetLabelsSize(30);
    a.SetLabelsMultiLine(true);
    a.SetLabelsExponent(true);
    a.SetLabelsAlternate(true);
    a.SetLabelsAlign(alOpposite);
    a.SetLabelsOnAxis(false);
    a.SetTickOnLabelsOnly(false);
    a.SetTickLength(7);
    a.SetMinorTickLength(5);
    a.SetMinorTickCount(6);
    a.SetTitleSize(40);
    a.SetTickInnerLength(3);
    a.SetGridCentered(true);
    a.SetGridZPosition(50);
}

bool SameAxis(TChartAxis& a, TChartAxis& b) {
    return a.Settings() == b.Settings() && a.Title().Settings() == b.Title().Settings();
}

void SetLegend(TCustomChartLegend& l) {
    SetShape(l);
    l.SetAlignment(laBottom);
    l.SetCheckBoxes(true);
    l.SetCheckBoxesStyle(cbsRadio);
    l.SetCurrentPage(false);
    l.SetFirstValue(2);
    l.SetFontSeriesColor(true);
    l.SetHorizMargin(6);
    l.SetInverted(true);
    l.SetLegendStyle(lsValues);
    l.SetMaxNumRows(4);
    l.SetResizeChart(false);
    l.SetTextStyle(ltsPlain);
    l.SetTopPos(25);
    l.SetVertMargin(7);
    l.SetVertSpacing(2);
    TLegendSymbol& s = l.Symbol();
    s.SetContinuous(true);
    s.SetPosition(spRight);
    s.SetSquared(true);
    s.SetVisible(false);
    s.SetWidth(35);
    s.SetWidthUnits(lcsPixels);
    l.Title().SetText({"Series"});
    l.Title().SetTextAlignment(taCenter);
    SetShape(l.Title());
}

bool SameLegend(TCustomChartLegend& a, TCustomChartLegend& b) {
    return SameShape(a, b) && a.TCustomChartLegend::Settings() == b.TCustomChartLegend::Settings() &&
           a.Symbol().Settings() == b.Symbol().Settings() &&
           a.Title().TLegendTitle::Settings() == b.Title().TLegendTitle::Settings() && SameShape(a.Title(), b.Title());
}

void SetWall(TCustomChartWall& w) {
    SetShape(w);
    w.SetAutoHide(true);
    w.SetDark3D(false);
    w.SetSize(9);
}

bool SameWall(const TCustomChartWall& a, const TCustomChartWall& b) {
    return SameShape(a, b) && a.TCustomChartWall::Settings() == b.TCustomChartWall::Settings();
}

void SetChart(TChart& c) {
    SetTitle(c.Title(), "Title");
    SetTitle(c.SubTitle(), "Sub title");
    SetTitle(c.Foot(), "Foot");
    SetTitle(c.SubFoot(), "Sub foot");
    SetLegend(c.Legend());
    SetWall(c.Walls().Back());
    SetWall(c.Walls().Bottom());
    SetWall(c.Walls().Left());
    SetWall(c.Walls().Right());
    SetAxis(c.LeftAxis());
    SetAxis(c.BottomAxis());
    SetAxis(c.DepthAxis());
    c.SetScrollMouseButton(mbLeft);
    c.SetColorPaletteIndex(3);
    c.SetAxisBehind(false);
    c.SetAxisVisible(false);
    c.SetChart3DPercent(40);
    c.SetClipPoints(false);
    c.SetMaxPointsPerPage(12);
    c.SetScaleLastPage(false);
    c.SetView3DWalls(false);
    c.ColorPalette() = {clNavy, clLime};
    c.SetBorderRound(8);
    for (int i = 0; i < 4; ++i) c.SetMargin(i, 10 + i);
    c.SetMarginUnits(muPixels);
    c.SetPrintMargins({1, 2, 3, 4});
    c.SetPrintProportional(false);
    c.SetPrintResolution(-50);
    c.SetView3D(false);
    c.SetColor(clMaroon);
    c.SetBevelInner(bvLowered);
    c.SetBevelOuter(bvNone);
    c.SetBevelWidth(3);
    c.SetBorderWidth(2);
    TView3DOptions& v = c.View3DOptions();
    v.SetElevation(300);
    v.SetFontZoom(80);
    v.SetHorizOffset(12);
    v.SetOrthogonal(false);
    v.SetOrthoAngle(60);
    v.SetPerspective(40);
    v.SetRotation(320);
    v.SetTilt(10);
    v.SetVertOffset(-8);
    v.SetZoom(120);
    v.SetZoomText(false);
    TBackImage& image = c.BackImage();
    image.SetInside(true);
    image.SetLeft(4);
    image.SetTop(6);
    image.SetMode(pbmTile);
}

// The parts whose settings differ between a and b.
std::vector<std::string> DifferingParts(TChart& a, TChart& b) {
    const std::pair<const char*, bool> parts[] = {
        {"title", SameTitle(a.Title(), b.Title())},
        {"sub title", SameTitle(a.SubTitle(), b.SubTitle())},
        {"foot", SameTitle(a.Foot(), b.Foot())},
        {"sub foot", SameTitle(a.SubFoot(), b.SubFoot())},
        {"legend", SameLegend(a.Legend(), b.Legend())},
        {"back wall", SameWall(a.Walls().Back(), b.Walls().Back())},
        {"bottom wall", SameWall(a.Walls().Bottom(), b.Walls().Bottom())},
        {"left wall", SameWall(a.Walls().Left(), b.Walls().Left())},
        {"right wall", SameWall(a.Walls().Right(), b.Walls().Right())},
        {"left axis", SameAxis(a.LeftAxis(), b.LeftAxis())},
        {"bottom axis", SameAxis(a.BottomAxis(), b.BottomAxis())},
        {"depth axis", SameAxis(a.DepthAxis(), b.DepthAxis())},
        {"chart", a.TCustomChart::Settings() == b.TCustomChart::Settings()},
        {"axis panel", a.TCustomAxisPanel::Settings() == b.TCustomAxisPanel::Settings()},
        {"panel", a.TCustomPlotPanel::Settings() == b.TCustomPlotPanel::Settings()},
        {"3D view", a.View3DOptions().Settings() == b.View3DOptions().Settings()},
        {"back image", a.BackImage().Settings() == b.BackImage().Settings()},
    };
    std::vector<std::string> differ;
    for (const auto& [name, same] : parts)
        if (!same) differ.push_back(name);
    return differ;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

}  // namespace

TEST(ChartSettingsAssign, ChartCopiesEverySettingOfEveryPart) {
    TChart source, fresh, target;
    SetChart(source);
    // Every part of the source is set, or the comparison proves nothing.
    ASSERT_EQ(DifferingParts(source, fresh).size(), 17u);
    target.Assign(source);
    EXPECT_EQ(Joined(DifferingParts(target, source)), "");
}

TEST(ChartSettingsAssign, SeriesAndToolsCopyEverySetting) {
    struct Row {
        const char* name;
        std::function<bool()> copiedAll;
    };
    const Row rows[] = {
        {"bars",
         [] {
             TBarSeries source, target;
             source.SetAutoBarSize(true);
             source.SetAutoMarkPosition(false);
             source.SetBarStyle(bsPyramid);
             source.SetBarWidthPercent(40);
             source.SetBevelSize(3);
             source.SetCustomBarSize(12);
             source.SetDark3D(false);
             source.SetDepthPercent(60);
             source.SetMultiBar(mbStacked);
             source.SetOffsetPercent(10);
             source.SetSideMargins(false);
             source.SetStackGroup(2);
             source.SetTransparency(25);
             source.SetUseYOrigin(false);
             source.SetYOrigin(5.5);
             if (source.TCustomBarSeries::Settings() == TBarSeries().TCustomBarSeries::Settings()) return false;
             target.AssignSeries(source);
             return target.TCustomBarSeries::Settings() == source.TCustomBarSeries::Settings();
         }},
        {"pie",
         [] {
             TPieSeries source, target;
             source.SetCircleBackColor(clNavy);
             source.SetCircled(true);
             source.SetCustomXRadius(40);
             source.SetCustomYRadius(30);
             source.SetRotationAngle(45);
             target.AssignSeries(source);
             return target.TCircledSeries::Settings() == source.TCircledSeries::Settings() &&
                    target.RotationAngle() == 45;
         }},
        {"colour line",
         [] {
             TColorLineTool source, target;
             source.SetValue(12.5);
             source.SetStyle(clMaximum);
             source.SetAllowDrag(false);
             source.SetNoLimitDrag(true);
             source.SetDragRepaint(true);
             source.SetDraw3D(false);
             source.SetDrawBehind(true);
             target.Assign(source);
             return target.Settings() == source.Settings();
         }},
        {"annotation box",
         [] {
             TPlotShapePosition source({}), target({});
             source.SetVisible(false);
             source.SetShadowSize(6);
             source.SetTransparency(40);
             source.SetBounds({5, 6, 70, 30});
             source.SetCustomPosition(true);
             source.Frame().SetWidth(2);
             source.Brush().SetColor(clNavy);
             source.Font().SetSize(14);
             target.Assign(source);
             return target.Settings() == source.Settings() && target.Frame().Width() == 2 && target.Color() == clNavy &&
                    target.Font().Size() == 14;
         }},
        {"drawn line",
         [] {
             TDrawLine source, target;
             source.SetX0(1);
             source.SetY0(2);
             source.SetX1(3);
             source.SetY1(4);
             source.SetStyle(dlVertParallel);
             target.Assign(source);
             return target.Settings() == source.Settings();
         }},
    };
    for (const Row& r : rows) EXPECT_TRUE(r.copiedAll()) << r.name;
}
