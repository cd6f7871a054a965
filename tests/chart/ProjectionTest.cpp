#include "ChartTestSupport.h"

#include <gtest/gtest.h>

using namespace charttest;

namespace {

struct OrthoCase {
    int angle;
    int dx;  // movement of a point at depth 10
    int dy;
};

class OrthogonalProjection : public ::testing::TestWithParam<OrthoCase> {};

TEST_P(OrthogonalProjection, DepthMovesByTheAngle) {
    const OrthoCase c = GetParam();
    cb::gfx::TCanvas device;
    TView3DOptions o;
    o.SetOrthogonal(true);
    o.SetOrthoAngle(c.angle);
    TPlotCanvas3D canvas;
    canvas.SetBuffered(false);
    canvas.BeginDraw(&device, &o, clWhite, true, {0, 0, 200, 100});
    canvas.SetProjectionCenter(20, {0, 0, 200, 100}, {0, 0, 200, 100});
    const TPoint front = canvas.ProjectCoords(50, 40, 0);
    const TPoint deep = canvas.ProjectCoords(50, 40, 10);
    EXPECT_EQ(front, (TPoint{50, 40}));
    EXPECT_EQ(deep.X - front.X, c.dx);
    EXPECT_EQ(deep.Y - front.Y, c.dy);
    int x = deep.X, y = deep.Y;
    canvas.UnprojectPoint(x, y, 10);
    EXPECT_EQ((TPoint{x, y}), (TPoint{50, 40}));
}

INSTANTIATE_TEST_SUITE_P(Angles, OrthogonalProjection,
                         ::testing::Values(OrthoCase{45, 10, -10}, OrthoCase{90, 10, -10}, OrthoCase{135, -10, -10}));

TEST(Projection, FlatAndZeroAnglesKeepPoints) {
    cb::gfx::TCanvas device;
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetElevation(0);
    o.SetRotation(0);
    o.SetPerspective(0);
    for (bool is3D : {false, true}) {
        TPlotCanvas3D canvas;
        canvas.SetBuffered(false);
        canvas.BeginDraw(&device, &o, clWhite, is3D, {0, 0, 200, 100});
        canvas.SetProjectionCenter(30, {0, 0, 200, 100}, {0, 0, 200, 100});
        EXPECT_EQ(canvas.ProjectCoords(17, 83, 25), (TPoint{17, 83})) << is3D;
    }
}

TEST(Projection, CentreDepthRoundsHalfToEven) {
    cb::gfx::TCanvas device;
    TView3DOptions o;
    TPlotCanvas3D canvas;
    canvas.BeginDraw(&device, &o, clWhite, true, {0, 0, 10, 10});
    canvas.SetProjectionCenter(5, {0, 0, 10, 10}, {0, 0, 10, 10});
    EXPECT_EQ(canvas.ProjectionCenter().Z, 2);
    canvas.SetProjectionCenter(7, {0, 0, 10, 10}, {0, 0, 10, 10});
    EXPECT_EQ(canvas.ProjectionCenter().Z, 4);
}

struct RotatedCase {
    int elevation, rotation, tilt, perspective, zoom;
};

class RotatedProjection : public ::testing::TestWithParam<RotatedCase> {};

// What is drawn at a point is found there again, perspective included.
TEST_P(RotatedProjection, UnprojectReturnsThePoint) {
    const RotatedCase c = GetParam();
    cb::gfx::TCanvas device;
    TView3DOptions o;
    o.SetOrthogonal(false);
    o.SetElevation(c.elevation);
    o.SetRotation(c.rotation);
    o.SetTilt(c.tilt);
    o.SetPerspective(c.perspective);
    o.SetZoom(c.zoom);
    TPlotCanvas3D canvas;
    canvas.SetBuffered(false);
    canvas.BeginDraw(&device, &o, clWhite, true, {0, 0, 400, 250});
    canvas.SetProjectionCenter(40, {0, 0, 400, 250}, {20, 10, 380, 240});
    EXPECT_EQ(canvas.HasPerspective(), c.perspective > 0);
    for (const TPoint3D p :
         {TPoint3D{60, 50, 0}, TPoint3D{300, 200, 40}, TPoint3D{200, 125, 20}, TPoint3D{30, 220, 35}}) {
        const TPoint s = canvas.ProjectPoint3D(p);
        int x = s.X, y = s.Y;
        canvas.UnprojectPoint(x, y, p.Z);
        EXPECT_NEAR(x, p.X, 2) << p.X << "," << p.Y << "," << p.Z;
        EXPECT_NEAR(y, p.Y, 2) << p.X << "," << p.Y << "," << p.Z;
    }
}

INSTANTIATE_TEST_SUITE_P(Views, RotatedProjection,
                         ::testing::Values(RotatedCase{345, 345, 0, 0, 100}, RotatedCase{345, 345, 0, 15, 100},
                                           RotatedCase{315, 20, 0, 60, 100}, RotatedCase{340, 330, 10, 30, 120},
                                           RotatedCase{360, 360, 0, 100, 80}));

TEST(Projection, SuspendedRotationDrawsFlatAndNests) {
    cb::gfx::TCanvas device;
    TView3DOptions o;
    o.SetOrthogonal(false);
    TPlotCanvas3D canvas;
    canvas.BeginDraw(&device, &o, clWhite, true, {0, 0, 200, 100});
    canvas.SetProjectionCenter(20, {0, 0, 200, 100}, {0, 0, 200, 100});
    const TPoint projected = canvas.ProjectCoords(10, 10, 20);
    ASSERT_NE(projected, (TPoint{10, 10}));
    canvas.DisableRotation();
    canvas.DisableRotation();
    canvas.EnableRotation();
    EXPECT_EQ(canvas.ProjectCoords(10, 10, 20), (TPoint{10, 10}));
    canvas.EnableRotation();
    EXPECT_EQ(canvas.ProjectCoords(10, 10, 20), projected);
}

TEST(Projection, ZoomChangingFiresBeforeStoring) {
    TView3DOptions o;
    int fired = 0, seenOld = 0, seenNew = 0;
    o.OnZoomChanging = [&](int z) {
        ++fired;
        seenNew = z;
        seenOld = o.Zoom();
    };
    o.SetZoom(100);
    EXPECT_EQ(fired, 0);
    o.SetZoom(150);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(seenOld, 100);
    EXPECT_EQ(seenNew, 150);
    EXPECT_NEAR(o.OrthoRatio(), 1.0, 1e-9);
}

}  // namespace
