// Cones, cylinders, pyramids and frustums in the orthogonal view at 45
// degrees: depth z moves a point z pixels right and z pixels up.
#include "ChartTestSupport.h"

#include "chart/core/PlotGeometry.h"

#include <gtest/gtest.h>

using namespace charttest;

namespace {

constexpr TColor kBody = 0x00C000;
// Any colour but the white background.
constexpr TColor kFilled = 0xFFFFFFFE;

struct Probe {
    int X, Y;
    TColor Expected;
};

struct Solid {
    const char* Name;
    void (*Draw)(TPlotCanvas3D&);
    std::vector<Probe> Probes;
};

void PrintTo(const Solid& s, std::ostream* os) {
    *os << s.Name;
}

class Solids3D : public ::testing::TestWithParam<Solid> {};

TEST_P(Solids3D, CoverWhatTheyShouldAndShadeTheirFaces) {
    Render r(220, 200, true, true);
    r.canvas.SetProjectionCenter(40, {0, 0, 220, 200}, {0, 0, 220, 200});
    r.canvas.Brush().SetColor(kBody);
    r.canvas.Pen().SetStyle(cb::gfx::psClear);
    GetParam().Draw(r.canvas);
    for (const Probe& p : GetParam().Probes) {
        if (p.Expected == kFilled)
            EXPECT_NE(r.At(p.X, p.Y), clWhite) << "at " << p.X << ", " << p.Y;
        else
            EXPECT_EQ(r.At(p.X, p.Y), p.Expected) << "at " << p.X << ", " << p.Y;
    }
}

const TColor kSide = DarkenColor(kBody, 128);
const TColor kCap = DarkenColor(kBody, 64);

// The solids stand on x 60..140, y 40..160 (top to bottom), z 0..40.
INSTANTIATE_TEST_SUITE_P(
    Shapes, Solids3D,
    ::testing::Values(
        // A cylinder fills its whole sheared outline; its top cap shows
        // darkened by 64, its facets by 8 more each.
        Solid{"Cylinder",
              [](TPlotCanvas3D& c) { c.DrawCylinder(true, 60, 40, 140, 160, 0, 40, true); },
              {{120, 20, kCap}, {80, 60, kFilled}, {120, 150, kFilled}, {40, 100, clWhite}, {190, 20, clWhite}}},
        Solid{"PlainCylinder",
              [](TPlotCanvas3D& c) { c.DrawCylinder(true, 60, 40, 140, 160, 0, 40, false); },
              {{120, 20, kBody}, {80, 60, kBody}, {120, 150, kBody}}},
        // A pointed cone narrows to its apex at (100, 40, 20): the point a
        // cylinder covers near the top stays white.
        Solid{"Cone",
              [](TPlotCanvas3D& c) { c.DrawCone(true, 60, 40, 140, 160, 0, 40, false, 0); },
              {{120, 90, kBody}, {120, 150, kBody}, {80, 60, clWhite}, {150, 30, clWhite}}},
        // Half a top: wider than the cone, narrower than the cylinder.
        Solid{"TruncatedCone",
              [](TPlotCanvas3D& c) { c.DrawCone(true, 60, 40, 140, 160, 0, 40, false, 50); },
              {{120, 20, kBody}, {80, 60, clWhite}, {120, 150, kBody}}},
        // Front face in the plain fill, right face darkened, no base seen from above.
        Solid{"Pyramid",
              [](TPlotCanvas3D& c) { c.DrawPyramid(true, 60, 40, 140, 160, 0, 40, true); },
              {{100, 140, kBody}, {70, 150, kBody}, {155, 130, kSide}, {65, 50, clWhite}, {100, 165, clWhite}}},
        // Apex at the right end (x 160) of a base at x 40, y 60..140.
        Solid{"SidewaysPyramid",
              [](TPlotCanvas3D& c) { c.DrawPyramid(false, 40, 60, 160, 140, 0, 40, true); },
              {{60, 100, kBody}, {150, 80, kBody}, {30, 100, clWhite}, {60, 30, clWhite}}},
        // A pyramid of no height draws only its base, seen from above.
        Solid{"FlatPyramid",
              [](TPlotCanvas3D& c) { c.DrawPyramid(true, 60, 100, 140, 100, 0, 40, false); },
              {{100, 90, kBody}, {170, 65, kBody}, {100, 50, clWhite}, {100, 110, clWhite}}},
        // Top 40 x 20 centred over the base: a box's corner stays white.
        Solid{"Frustum",
              [](TPlotCanvas3D& c) {
                  c.DrawFrustum({60, 40, 140, 160}, 0, 40, 20, 10);
              },
              {{100, 100, kBody}, {120, 20, kBody}, {70, 50, clWhite}, {155, 15, clWhite}, {130, 150, kBody}}}),
    [](const ::testing::TestParamInfo<Solid>& info) { return std::string(info.param.Name); });

}  // namespace
