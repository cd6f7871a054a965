// Titles taking their room, walls and which side walls face the viewer,
// and the shapes they are drawn as.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/component/Chart.h"
#include "chart/series/bar/BarSeries.h"

#include "ChartTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cb::chart;

namespace {

struct TitleChart {
    TChart chart;
    explicit TitleChart(bool is3D = false) {
        chart.resize(500, 360);
        chart.SetView3D(is3D);
        auto* s = chart.CreateSeries<TBarSeries>();
        s->Marks().SetVisible(false);
        for (double v : {3.0, 5.0, 4.0}) s->AddValue(v);
        chart.Legend().SetVisible(false);
    }
    std::unique_ptr<cb::gfx::TBitmap> Draw() {
        auto b = chart.DrawToBitmap(clWhite, chart.PanelRect());
        b->Canvas().ReleasePainter();
        return b;
    }
};

}  // namespace

TEST(ChartTitle, LinesTakeTheirRoomFromTheTop) {
    TitleChart plain;
    plain.chart.Title().SetVisible(false);
    plain.Draw();
    TitleChart t;
    t.chart.Title().SetText({"one", "two", "three"});
    t.chart.Title().Frame().SetVisible(false);
    t.Draw();
    const TRect& box = t.chart.Title().Bounds();
    // Three lines of the title font's height.
    EXPECT_EQ(box.Height() % 3, 0);
    EXPECT_GT(box.Height(), 30);
    // The chart rectangle starts 5 pixels below the box (the axes take
    // their room after it, so compare the difference).
    EXPECT_NEAR(t.chart.ChartRect().Top - plain.chart.ChartRect().Top, box.Bottom + 5 - box.Top, 1);
}

TEST(ChartTitle, HiddenTitleTakesNoRoom) {
    TitleChart a, b;
    a.chart.Title().SetVisible(false);
    a.chart.Title().SetCaption("x");
    a.Draw();
    b.chart.Title().SetCaption("");
    b.Draw();
    EXPECT_EQ(a.chart.ChartRect().Top, b.chart.ChartRect().Top);
}

TEST(ChartTitle, FootLinesGoUpwardsAndSubTitlesStack) {
    TitleChart t;
    t.chart.Title().SetCaption("Title");
    t.chart.SubTitle().SetCaption("Sub");
    t.chart.Foot().SetText({"A", "B"});
    t.chart.SubFoot().SetCaption("SubFoot");
    t.Draw();
    EXPECT_LT(t.chart.Title().Bounds().Bottom, t.chart.SubTitle().Bounds().Top + 1);
    EXPECT_GT(t.chart.Foot().Bounds().Top, t.chart.SubFoot().Bounds().Bottom - 1);
    EXPECT_GT(t.chart.Foot().Bounds().Top, t.chart.ChartRect().Bottom);
}

TEST(ChartTitle, AdjustFrameCentresAndCustomPositionTakesNoRoom) {
    TitleChart t;
    t.chart.Title().SetCaption("Centred");
    t.Draw();
    const TRect& box = t.chart.Title().Bounds();
    const int centre = (box.Left + box.Right) / 2;
    EXPECT_NEAR(centre, t.chart.ChartXCenter(), 30);
    const int top = t.chart.ChartRect().Top;
    t.chart.Title().SetLeft(10);
    EXPECT_TRUE(t.chart.Title().CustomPosition());
    t.Draw();
    EXPECT_LT(t.chart.ChartRect().Top, top);
    EXPECT_EQ(t.chart.Title().Bounds().Left, 10);
}

TEST(ChartTitle, AxisTitleOrName) {
    TitleChart t;
    EXPECT_EQ(t.chart.AxisTitleOrName(&t.chart.LeftAxis()), "Left Axis");
    EXPECT_EQ(t.chart.AxisTitleOrName(&t.chart.TopAxis()), "Top Axis");
    EXPECT_EQ(t.chart.AxisTitleOrName(&t.chart.DepthAxis()), "Depth Right");
    t.chart.LeftAxis().Title().SetCaption("Sales");
    EXPECT_EQ(t.chart.AxisTitleOrName(&t.chart.LeftAxis()), "Sales");
}

TEST(ChartWalls, DefaultsAndSizes) {
    TitleChart t;
    EXPECT_EQ(t.chart.BackWall().Color(), clSilver);
    EXPECT_TRUE(t.chart.BackWall().Transparent());
    EXPECT_EQ(t.chart.LeftWall().Color(), TColor(0x80FFFF));
    EXPECT_EQ(t.chart.BottomWall().Color(), clWhite);
    EXPECT_FALSE(t.chart.RightWall().Visible());
    t.chart.Walls().SetAllSizes(5);
    EXPECT_EQ(t.chart.LeftWall().Size(), 5);
    EXPECT_EQ(t.chart.RightWall().Size(), 5);
    EXPECT_EQ(t.chart.BackWall().Size(), 5);
    EXPECT_EQ(t.chart.BottomWall().Size(), 5);
    // The background colour is the back wall's once it is opaque.
    t.chart.BackWall().SetTransparent(false);
    t.chart.BackWall().SetColor(clYellow);
    EXPECT_EQ(t.chart.PanelBackColor(), clYellow);
}

TEST(ChartWalls, OrthogonalDepthTakesRoomFromTheRight) {
    TitleChart flat(true), deep(true);
    flat.chart.SetView3D(false);
    flat.Draw();
    deep.chart.View3DOptions().SetOrthogonal(true);
    deep.chart.View3DOptions().SetOrthoAngle(45);
    deep.Draw();
    EXPECT_GT(deep.chart.Width3D(), 0);
    EXPECT_LT(deep.chart.ChartRect().Right, flat.chart.ChartRect().Right - deep.chart.Width3D() + 2);
}

TEST(ChartWalls, TwoDChartDrawsTheBackWallOnly) {
    TitleChart t;
    t.chart.BackWall().SetTransparent(false);
    t.chart.BackWall().SetColor(clYellow);
    t.chart.LeftWall().SetColor(clRed);
    auto bmp = t.Draw();
    const TRect r = t.chart.ChartRect();
    charttest::Render probe;  // only for its pixel reader type
    const QRgb inside = bmp->Image().pixel(r.Left + 3, r.Top + 3);
    EXPECT_EQ(cb::gfx::RGB(qRed(inside), qGreen(inside), qBlue(inside)), clYellow);
    const QRgb left = bmp->Image().pixel(r.Left - 3, (r.Top + r.Bottom) / 2);
    EXPECT_NE(cb::gfx::RGB(qRed(left), qGreen(left), qBlue(left)), clRed);
}

struct FacingCase {
    int Rotation;
    bool RightAway;
    bool LeftAway;
};

class WallFacing : public ::testing::TestWithParam<FacingCase> {};

TEST_P(WallFacing, UsesTheCurrentRotation) {
    const FacingCase& k = GetParam();
    TitleChart t(true);
    t.chart.View3DOptions().SetOrthogonal(false);
    t.chart.View3DOptions().SetElevation(345);
    t.chart.View3DOptions().SetPerspective(0);
    t.chart.View3DOptions().SetRotation(345);
    t.Draw();
    // Asked after a change of rotation and before the next paint.
    t.chart.View3DOptions().SetRotation(k.Rotation);
    EXPECT_EQ(t.chart.RightWallFacesAway(), k.RightAway) << k.Rotation;
    EXPECT_EQ(t.chart.LeftWallFacesAway(), k.LeftAway) << k.Rotation;
}

INSTANTIATE_TEST_SUITE_P(Cases, WallFacing,
                         ::testing::Values(FacingCase{345, true, false}, FacingCase{330, true, false},
                                           FacingCase{15, false, true}, FacingCase{30, false, true}));

TEST(ChartShape, ShadowAndGradientAreMadeOnFirstRead) {
    TPlotShape shape;
    EXPECT_EQ(shape.ShadowIfAny(), nullptr);
    EXPECT_EQ(shape.Shadow().Size(), 3);
    EXPECT_EQ(shape.Shadow().Color(), clBlack);
    shape.SetShadow(nullptr);
    EXPECT_EQ(shape.ShadowIfAny(), nullptr);
    EXPECT_TRUE(shape.ReadLegacyProperty("ShadowSize", "5"));
    EXPECT_EQ(shape.Shadow().HorizSize(), 5);
    EXPECT_EQ(shape.Shadow().VertSize(), 5);
    EXPECT_TRUE(shape.ReadLegacyProperty("ShadowColor", "clRed"));
    EXPECT_EQ(shape.Shadow().Color(), clRed);
    EXPECT_FALSE(shape.Gradient().Visible());
    // Without a parent panel the setters only store.
    shape.SetBevel(bcRaised);
    shape.SetShapeStyle(fosRoundRectangle);
    EXPECT_EQ(shape.Bevel(), bcRaised);
}

TEST(ChartShape, TransparentBoxDrawsNothing) {
    charttest::Render r(60, 60);
    TPlotShape shape;
    shape.SetColor(clRed);
    shape.Shadow().SetSize(3);
    shape.SetTransparent(true);
    shape.DrawBoxOn(r.canvas, {10, 10, 40, 40});
    EXPECT_EQ(r.At(20, 20), clWhite);
    EXPECT_EQ(r.At(42, 42), clWhite);
    shape.SetTransparent(false);
    shape.DrawBoxOn(r.canvas, {10, 10, 40, 40});
    EXPECT_EQ(r.At(20, 20), clRed);
    EXPECT_NE(r.At(41, 41), clWhite);  // shadow
}

TEST(ChartShape, RotatedCornersTurnAboutTheCentre) {
    const auto p = TPlotCustomShape::RotatedCorners({0, 0, 20, 10}, 90);
    // A positive angle turns counter-clockwise on the screen.
    EXPECT_EQ(p[0].X, 5);
    EXPECT_EQ(p[0].Y, 15);
    EXPECT_EQ(p[2].X, 15);
    EXPECT_EQ(p[2].Y, -5);
}

TEST(ChartShape, ListenersAreKeptOnce) {
    struct L : TPlotEventListener {
        void HandleEvent(TPlotEvent&) override {}
    } a, b;
    TPlotEventListeners list;
    EXPECT_EQ(list.AddListener(&a), 0);
    EXPECT_EQ(list.AddListener(&b), 1);
    EXPECT_EQ(list.AddListener(&a), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.RemoveListener(&a), 0);
    EXPECT_EQ(list.RemoveListener(&a), -1);
    EXPECT_EQ(list.ListenerAt(0), &b);
}

TEST(ChartComponentAssign, CopiesTitlesLegendAndWalls) {
    TChart a, b;
    a.Title().SetCaption("Sales");
    a.Title().SetAlignment(taLeftJustify);
    a.Foot().SetTop(12);
    a.Legend().SetAlignment(laBottom);
    a.Legend().SetMaxNumRows(100);
    a.Legend().Symbol().SetSquared(true);
    a.LeftWall().SetColor(clRed);
    a.Walls().SetAllSizes(4);
    a.SetScrollMouseButton(mbMiddle);
    b.Assign(a);
    EXPECT_EQ(b.Title().Text(), std::vector<std::string>{"Sales"});
    EXPECT_EQ(b.Title().Alignment(), taLeftJustify);
    EXPECT_TRUE(b.Foot().CustomPosition());
    EXPECT_EQ(b.Foot().Top(), 12);
    EXPECT_EQ(b.Legend().Alignment(), laBottom);
    EXPECT_EQ(b.Legend().MaxNumRows(), 100);
    EXPECT_TRUE(b.Legend().Symbol().Squared());
    EXPECT_EQ(b.LeftWall().Color(), clRed);
    EXPECT_EQ(b.BackWall().Size(), 4);
    EXPECT_EQ(b.ScrollMouseButton(), mbMiddle);
}
