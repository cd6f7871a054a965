// Primitives of the screen canvas at a depth: each projects its points and
// draws as its 2D counterpart.
#include "chart/canvas/PlotCanvas3D.h"

#include "platform/gfx/Canvas.h"

#include <cmath>
#include <vector>

namespace cb::chart {

TColor TPlotCanvas3D::GetPixelColorAtDepth(int x, int y, int z) {
    ProjectPoint(x, y, z);
    return GetPixelColor(x, y);
}

void TPlotCanvas3D::PutPixelAtDepth(int x, int y, int z, TColor c) {
    ProjectPoint(x, y, z);
    if (Pen().Width() <= 1) {
        PutPixel(x, y, c);
        return;
    }
    // A dot of the pen's width.
    cb::gfx::TPen& p = Pen();
    const TColor old = p.Color();
    p.SetColor(c);
    const int w = p.Width();
    const cb::gfx::TBrushStyle bs = Brush().Style();
    const TColor bc = Brush().Color();
    Brush().SetColor(c);
    const cb::gfx::TPenStyle ps = p.Style();
    p.SetStyle(cb::gfx::psClear);
    C().Ellipse(x - w / 2, y - w / 2, x - w / 2 + w, y - w / 2 + w);
    p.SetStyle(ps);
    Brush().SetColor(bc);
    Brush().SetStyle(bs);
    p.SetColor(old);
}

void TPlotCanvas3D::MoveToAtDepth(int x, int y, int z) {
    ProjectPoint(x, y, z);
    C().MoveTo(x, y);
}

void TPlotCanvas3D::LineToAtDepth(int x, int y, int z) {
    ProjectPoint(x, y, z);
    C().LineTo(x, y);
}

void TPlotCanvas3D::DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) {
    const TPoint a = ProjectCoords(x0, y0, z);
    const TPoint b = ProjectCoords(x1, y1, z);
    C().MoveTo(a.X, a.Y);
    C().LineTo(b.X, b.Y);
}

void TPlotCanvas3D::DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) {
    DrawLineAtDepth(x0, y, x1, y, z);
}
void TPlotCanvas3D::DrawVerticalLineAtDepth(int x, int y0, int y1, int z) {
    DrawLineAtDepth(x, y0, x, y1, z);
}

void TPlotCanvas3D::DrawDepthLine(int x, int y, int z0, int z1) {
    const TPoint a = ProjectCoords(x, y, z0);
    const TPoint b = ProjectCoords(x, y, z1);
    C().MoveTo(a.X, a.Y);
    C().LineTo(b.X, b.Y);
}

void TPlotCanvas3D::DrawPolygonAtDepth(std::span<const TPoint> points, int z) {
    std::vector<TPoint> p(points.begin(), points.end());
    for (TPoint& q : p) ProjectPoint(q.X, q.Y, z);
    DrawPolygon(p);
}

void TPlotCanvas3D::DrawPolylineAtDepth(std::span<const TPoint> points, int z) {
    std::vector<TPoint> p(points.begin(), points.end());
    for (TPoint& q : p) ProjectPoint(q.X, q.Y, z);
    DrawPolyline(p);
}

void TPlotCanvas3D::DrawRectAtDepth(const TRect& r, int z) {
    StoreQuad({r.Left, r.Top, z}, {r.Right, r.Top, z}, {r.Right, r.Bottom, z}, {r.Left, r.Bottom, z});
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawRectAtY(int x0, int y, int x1, int z0, int z1) {
    StoreQuad({x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1});
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawRectAtX(int x, int y0, int y1, int z0, int z1) {
    StoreQuad({x, y0, z0}, {x, y0, z1}, {x, y1, z1}, {x, y1, z0});
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawPlaneBetween(const TPoint& p1, const TPoint& p2, int z0, int z1) {
    StoreQuad({p1.X, p1.Y, z0}, {p2.X, p2.Y, z0}, {p2.X, p2.Y, z1}, {p1.X, p1.Y, z1});
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawQuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int z) {
    StoreQuad({p1.X, p1.Y, z}, {p2.X, p2.Y, z}, {p3.X, p3.Y, z}, {p4.X, p4.Y, z});
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawQuadWithDepths(const TPoint points[4], int z0, int z1) {
    FStoredQuad[0] = ProjectFloatPoint(points[0].X, points[0].Y, z0);
    FStoredQuad[1] = ProjectFloatPoint(points[1].X, points[1].Y, z0);
    FStoredQuad[2] = ProjectFloatPoint(points[2].X, points[2].Y, z1);
    FStoredQuad[3] = ProjectFloatPoint(points[3].X, points[3].Y, z1);
    DrawStoredQuad();
}

void TPlotCanvas3D::DrawTriangleAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) {
    const TPoint p[3] = {ProjectCoords(p1.X, p1.Y, z), ProjectCoords(p2.X, p2.Y, z), ProjectCoords(p3.X, p3.Y, z)};
    DrawPolygon(p);
}

void TPlotCanvas3D::DrawColoredTriangle(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c) {
    const TPoint p[3] = {ProjectPoint3D(p0), ProjectPoint3D(p1), ProjectPoint3D(p2)};
    if (Brush().Style() != cb::gfx::bsClear) Brush().SetColor(c);
    DrawPolygon(p);
}

void TPlotCanvas3D::DrawCircleAtDepth(int xc, int yc, int z, double radius) {
    const int r = Round(radius);
    DrawEllipseAtDepth(xc - r, yc - r, xc + r, yc + r, z);
}

void TPlotCanvas3D::DrawEllipseAtDepth(int x1, int y1, int x2, int y2, int z) {
    if (IsOrthogonal()) {
        const TPoint a = ProjectCoords(x1, y1, z);
        const TPoint b = ProjectCoords(x2, y2, z);
        DrawEllipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    if (!Is3D()) {
        DrawEllipse(x1, y1, x2 + 1, y2 + 1);
        return;
    }
    const int cx = (x1 + x2) / 2;
    const int cy = (y1 + y2) / 2;
    const int rx = (x2 - x1) / 2;
    const int ry = (y2 - y1) / 2;
    constexpr double step = 0.0997331001139617;  // 2 pi / 63
    TPoint p[64];
    p[0] = ProjectCoords(cx, y2, z);
    for (int i = 1; i < 63; ++i)
        p[i] = ProjectFloatPoint(cx + rx * std::sin(i * step), cy + ry * std::cos(i * step), z);
    p[63] = p[0];
    if (Brush().Style() != cb::gfx::bsClear) {
        const TPoint centre = ProjectCoords(cx, cy, z);
        const cb::gfx::TPenStyle ps = Pen().Style();
        Pen().SetStyle(cb::gfx::psClear);
        for (int i = 1; i < 64; ++i) {
            const TPoint t[3] = {centre, p[i - 1], p[i]};
            DrawPolygon(t);
        }
        Pen().SetStyle(ps);
    }
    if (Pen().Style() != cb::gfx::psClear) DrawPolyline(p);
}

}  // namespace cb::chart
