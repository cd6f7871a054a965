// Projection of the screen canvas: flat, orthogonal (oblique) and rotated
// with perspective and tilt, and its exact inverse.
#include "chart/PlotCanvas3D.h"

#include "chart/View3DOptions.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

void TPlotCanvas3D::CalcRotation()
{
    if (IsOrthogonal())
        return;
    const TView3DOptions* o = View3DOptions();
    const double e = o ? -o->Elevation() : 0.0;
    const double r = o ? -o->Rotation() : 0.0;
    const double t = o ? o->Tilt() : 0.0;
    fHasPerspective = false;
    fZoomPerspective = 0;
    s1 = std::sin(e * PiDiv180);
    c1 = std::cos(e * PiDiv180);
    s2 = std::sin(r * PiDiv180);
    c2 = std::cos(r * PiDiv180);
    s3 = std::sin(t * PiDiv180);
    c3 = std::cos(t * PiDiv180);
    fHasTilt = t != 0;
    c2s3 = c2 * s3;
    c2c3 = std::max(c2 * c3, 1e-5);
    xx = std::max(s1 * s2 * s3 + c1 * c3, 1e-5);
    yx = c3 * s1 * s2 - c1 * s3;
    xz = c1 * s2 * s3 - c3 * s1;
    yz = c1 * c3 * s2 + s1 * s3;
}

void TPlotCanvas3D::CalcPerspective(const TRect& chartRect)
{
    const TView3DOptions* o = View3DOptions();
    fHasPerspective = o && o->Perspective() > 0;
    if (fHasPerspective) {
        const int w = chartRect.Right - chartRect.Left;
        // A chart rectangle without width has no perspective to scale by.
        if (w == 0) {
            fHasPerspective = false;
            fZoomPerspective = 0;
            return;
        }
        fZoomPerspective = o->Perspective() * fZoom * 0.0066666666666666667 / w;
    }
}

void TPlotCanvas3D::SetProjectionCenter(int depth, const TRect& /*bounds*/, const TRect& chartRect)
{
    fXCenter = (chartRect.Left + chartRect.Right) / 2;
    fYCenter = (chartRect.Top + chartRect.Bottom) / 2;
    fZCenter = Round(depth * 0.5);
    fXOffset = fXCenter;
    fYOffset = fYCenter;
    if (const TView3DOptions* o = View3DOptions()) {
        fXOffset += o->HorizOffset();
        fYOffset += o->VertOffset();
        CalcPerspective(chartRect);
    }
}

void TPlotCanvas3D::ProjectPoint(int& x, int& y, int z) const
{
    const double X = double(x) - fXCenter;
    const double Y = double(y) - fYCenter;
    if (IsOrthogonal()) {
        x = Round((z * fOrthoX + X) * fZoom) + fXOffset;
        y = Round((Y - z * fOrthoY) * fZoom) + fYOffset;
        return;
    }
    if (!fIs3D)
        return;
    const double Z = double(z) - fZCenter;
    const double F = Z * c2 - X * s2;
    const double g = fHasPerspective ? fZoom / ((c1 * F + Y * s1) * fZoomPerspective + 1) : fZoom;
    const double U = X * c2 + Z * s2;
    const double V = Y * c1 - s1 * F;
    if (!fHasTilt) {
        x = Round(U * g) + fXOffset;
        y = Round(V * g) + fYOffset;
    } else {
        x = Round((c3 * U - s3 * V) * g) + fXOffset;
        y = Round((c3 * V + s3 * U) * g) + fYOffset;
    }
}

TPoint TPlotCanvas3D::ProjectCoords(int x, int y, int z) const
{
    ProjectPoint(x, y, z);
    return {x, y};
}

TPoint TPlotCanvas3D::ProjectFloatPoint(double x, double y, int z) const
{
    const double X = x - fXCenter;
    const double Y = y - fYCenter;
    if (IsOrthogonal())
        return {Round((z * fOrthoX + X) * fZoom) + fXOffset, Round((Y - z * fOrthoY) * fZoom) + fYOffset};
    if (!fIs3D)
        return {Round(x), Round(y)};
    const double Z = double(z) - fZCenter;
    const double F = Z * c2 - X * s2;
    const double g = fHasPerspective ? fZoom / ((c1 * F + Y * s1) * fZoomPerspective + 1) : fZoom;
    const double U = X * c2 + Z * s2;
    const double V = Y * c1 - s1 * F;
    return {Round((c3 * U - s3 * V) * g) + fXOffset, Round((c3 * V + s3 * U) * g) + fYOffset};
}

// Solves the rotated projection for (X, Y) on the plane of depth z, the
// perspective division included, so that a point found on the screen is
// the point that was drawn there.
void TPlotCanvas3D::UnprojectPoint(int& x, int& y, int z)
{
    if (fZoom == 0)
        return;
    const double k = 1.0 / fZoom;
    if (IsOrthogonal()) {
        x = Round(k * (x - fXOffset) - z * fOrthoX) + fXCenter;
        y = Round(k * (y - fYOffset) + z * fOrthoY) + fYCenter;
        return;
    }
    if (!fIs3D)
        return;
    const double a = double(x) - fXOffset;
    const double b = double(y) - fYOffset;
    // Undo the tilt: U g = A, V g = B.
    const double A = c3 * a + s3 * b;
    const double B = c3 * b - s3 * a;
    const double Z = double(z) - fZCenter;
    const double zp = fHasPerspective ? fZoomPerspective : 0.0;
    const double base = zp * c1 * c2 * Z + 1;
    const double a11 = c2 + A * k * zp * c1 * s2;
    const double a12 = -A * k * zp * s1;
    const double a21 = s1 * s2 + B * k * zp * c1 * s2;
    const double a22 = c1 - B * k * zp * s1;
    const double r1 = A * k * base - Z * s2;
    const double r2 = B * k * base + s1 * c2 * Z;
    const double det = a11 * a22 - a12 * a21;
    if (std::fabs(det) < 1e-12)
        return;
    x = Round((r1 * a22 - a12 * r2) / det) + fXCenter;
    y = Round((a11 * r2 - a21 * r1) / det) + fYCenter;
}

void TPlotCanvas3D::Suspend3D()
{
    fWas3D = fIs3D;
    fIs3D = false;
}

void TPlotCanvas3D::Resume3D() { fIs3D = fWas3D; }

} // namespace cb::chart
