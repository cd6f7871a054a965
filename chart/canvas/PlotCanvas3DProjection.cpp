// Projection of the screen canvas: flat, orthogonal (oblique) and rotated
// with perspective and tilt, and its exact inverse.
#include "chart/canvas/PlotCanvas3D.h"

#include "chart/canvas/View3DOptions.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

void TPlotCanvas3D::CalcRotation() {
    if (IsOrthogonal()) return;
    const TView3DOptions* o = View3DOptions();
    const double e = o ? -o->Elevation() : 0.0;
    const double r = o ? -o->Rotation() : 0.0;
    const double t = o ? o->Tilt() : 0.0;
    FHasPerspective = false;
    FZoomPerspective = 0;
    s1 = std::sin(e * PiDiv180);
    c1 = std::cos(e * PiDiv180);
    s2 = std::sin(r * PiDiv180);
    c2 = std::cos(r * PiDiv180);
    s3 = std::sin(t * PiDiv180);
    c3 = std::cos(t * PiDiv180);
    FHasTilt = t != 0;
    c2s3 = c2 * s3;
    c2c3 = std::max(c2 * c3, 1e-5);
    xx = std::max(s1 * s2 * s3 + c1 * c3, 1e-5);
    yx = c3 * s1 * s2 - c1 * s3;
    xz = c1 * s2 * s3 - c3 * s1;
    yz = c1 * c3 * s2 + s1 * s3;
}

void TPlotCanvas3D::CalcPerspective(const TRect& chartRect) {
    const TView3DOptions* o = View3DOptions();
    FHasPerspective = o && o->Perspective() > 0;
    if (FHasPerspective) {
        const int w = chartRect.Right - chartRect.Left;
        // A chart rectangle without width has no perspective to scale by.
        if (w == 0) {
            FHasPerspective = false;
            FZoomPerspective = 0;
            return;
        }
        FZoomPerspective = o->Perspective() * FZoom * 0.0066666666666666667 / w;
    }
}

void TPlotCanvas3D::SetProjectionCenter(int depth, const TRect& /*bounds*/, const TRect& chartRect) {
    FXCenter = (chartRect.Left + chartRect.Right) / 2;
    FYCenter = (chartRect.Top + chartRect.Bottom) / 2;
    FZCenter = Round(depth * 0.5);
    FXOffset = FXCenter;
    FYOffset = FYCenter;
    if (const TView3DOptions* o = View3DOptions()) {
        FXOffset += o->HorizOffset();
        FYOffset += o->VertOffset();
        CalcPerspective(chartRect);
    }
}

void TPlotCanvas3D::ProjectPoint(int& x, int& y, int z) const {
    const double X = double(x) - FXCenter;
    const double Y = double(y) - FYCenter;
    if (IsOrthogonal()) {
        x = Round((z * FOrthoX + X) * FZoom) + FXOffset;
        y = Round((Y - z * FOrthoY) * FZoom) + FYOffset;
        return;
    }
    if (!FIs3D) return;
    const double Z = double(z) - FZCenter;
    const double F = Z * c2 - X * s2;
    const double g = FHasPerspective ? FZoom / ((c1 * F + Y * s1) * FZoomPerspective + 1) : FZoom;
    const double U = X * c2 + Z * s2;
    const double V = Y * c1 - s1 * F;
    if (!FHasTilt) {
        x = Round(U * g) + FXOffset;
        y = Round(V * g) + FYOffset;
    } else {
        x = Round((c3 * U - s3 * V) * g) + FXOffset;
        y = Round((c3 * V + s3 * U) * g) + FYOffset;
    }
}

TPoint TPlotCanvas3D::ProjectCoords(int x, int y, int z) const {
    ProjectPoint(x, y, z);
    return {x, y};
}

TPoint TPlotCanvas3D::ProjectFloatPoint(double x, double y, int z) const {
    const double X = x - FXCenter;
    const double Y = y - FYCenter;
    if (IsOrthogonal())
        return {Round((z * FOrthoX + X) * FZoom) + FXOffset, Round((Y - z * FOrthoY) * FZoom) + FYOffset};
    if (!FIs3D) return {Round(x), Round(y)};
    const double Z = double(z) - FZCenter;
    const double F = Z * c2 - X * s2;
    const double g = FHasPerspective ? FZoom / ((c1 * F + Y * s1) * FZoomPerspective + 1) : FZoom;
    const double U = X * c2 + Z * s2;
    const double V = Y * c1 - s1 * F;
    return {Round((c3 * U - s3 * V) * g) + FXOffset, Round((c3 * V + s3 * U) * g) + FYOffset};
}

// Solves the rotated projection for (X, Y) on the plane of depth z, the
// perspective division included, so that a point found on the screen is
// the point that was drawn there.
void TPlotCanvas3D::UnprojectPoint(int& x, int& y, int z) {
    if (FZoom == 0) return;
    const double k = 1.0 / FZoom;
    if (IsOrthogonal()) {
        x = Round(k * (x - FXOffset) - z * FOrthoX) + FXCenter;
        y = Round(k * (y - FYOffset) + z * FOrthoY) + FYCenter;
        return;
    }
    if (!FIs3D) return;
    const double a = double(x) - FXOffset;
    const double b = double(y) - FYOffset;
    // Undo the tilt: U g = A, V g = B.
    const double A = c3 * a + s3 * b;
    const double B = c3 * b - s3 * a;
    const double Z = double(z) - FZCenter;
    const double zp = FHasPerspective ? FZoomPerspective : 0.0;
    const double base = zp * c1 * c2 * Z + 1;
    const double a11 = c2 + A * k * zp * c1 * s2;
    const double a12 = -A * k * zp * s1;
    const double a21 = s1 * s2 + B * k * zp * c1 * s2;
    const double a22 = c1 - B * k * zp * s1;
    const double r1 = A * k * base - Z * s2;
    const double r2 = B * k * base + s1 * c2 * Z;
    const double det = a11 * a22 - a12 * a21;
    if (std::fabs(det) < 1e-12) return;
    x = Round((r1 * a22 - a12 * r2) / det) + FXCenter;
    y = Round((a11 * r2 - a21 * r1) / det) + FYCenter;
}

void TPlotCanvas3D::Suspend3D() {
    FWas3D = FIs3D;
    FIs3D = false;
}

void TPlotCanvas3D::Resume3D() {
    FIs3D = FWas3D;
}

}  // namespace cb::chart
