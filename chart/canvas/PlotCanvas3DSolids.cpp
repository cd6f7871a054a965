// Solids of the screen canvas: box, cone and cylinder, pyramid, frustum,
// pie slice and arrow, built from projected polygons with back faces left
// out and side faces darkened.
#include "chart/canvas/PlotCanvas3D.h"

#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Canvas.h"
#include "chart/canvas/StylePaint.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace cb::chart {

namespace {
long long QuadOrientation(const TPoint q[4]) {
    return (long long)(q[3].X - q[2].X) * (q[1].Y - q[2].Y) - (long long)(q[1].X - q[2].X) * (q[3].Y - q[2].Y);
}
}  // namespace

void TPlotCanvas3D::DrawBox(int L, int Rt, int T, int B, int z0, int z1, bool darken) {
    const TColor F = SolidFillColor();
    const bool clear = Brush().Style() == cb::gfx::bsClear;

    StoreQuad({L, T, z0}, {Rt, T, z0}, {Rt, B, z0}, {L, B, z0});
    if (clear || QuadOrientation(FStoredQuad) > 0)
        DrawStoredQuad();
    else {
        StoreQuad({L, T, z1}, {Rt, T, z1}, {Rt, B, z1}, {L, B, z1});
        DrawStoredQuad();
    }

    StoreQuad({Rt, T, z0}, {Rt, T, z1}, {Rt, B, z1}, {Rt, B, z0});
    if (clear || QuadOrientation(FStoredQuad) > 0) {
        if (darken) SetDarkerFill(F, 128);
        DrawStoredQuad();
    }

    StoreQuad({L, T, z0}, {L, T, z1}, {L, B, z1}, {L, B, z0});
    {
        const TPoint* q = FStoredQuad;
        const long long v =
            (long long)(q[3].X - q[0].X) * (q[1].Y - q[0].Y) - (long long)(q[1].X - q[0].X) * (q[3].Y - q[0].Y);
        if (clear || v > 0) {
            if (darken) SetDarkerFill(F, 128);
            DrawStoredQuad();
        }
    }

    StoreQuad({L, T, z0}, {Rt, T, z0}, {Rt, T, z1}, {L, T, z1});
    {
        const TPoint a = FStoredQuad[0], b = FStoredQuad[1], q = FStoredQuad[2];
        const long long v = (long long)(a.X - b.X) * (q.Y - b.Y) - (long long)(q.X - b.X) * (a.Y - b.Y);
        if (clear || v > 0) {
            if (darken) SetDarkerFill(F, 64);
            DrawStoredQuad();
        }
    }

    StoreQuad({L, B, z0}, {L, B, z1}, {Rt, B, z1}, {Rt, B, z0});
    if (clear || QuadOrientation(FStoredQuad) < 0) {
        if (darken) SetDarkerFill(F, 64);
        DrawStoredQuad();
    }
}

void TPlotCanvas3D::DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken) {
    cone(vertical, left, top, right, bottom, z0, z1, darken, 100);
}

void TPlotCanvas3D::DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken,
                             int topPercent) {
    cone(vertical, left, top, right, bottom, z0, z1, darken, topPercent);
}

void TPlotCanvas3D::cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darken,
                         int percent) {
    const int N = std::max(3, FacetCount());
    const double step = 2 * std::numbers::pi / N;
    const TColor F = SolidFillColor();
    const int zr = (z1 - z0) / 2;
    const int zc = (z0 + z1) / 2;
    int r1, c1v, H;
    if (vertical) {
        r1 = (right - left) / 2;
        c1v = (left + right) / 2;
        H = std::abs(bottom - top);
    } else {
        r1 = (bottom - top) / 2;
        c1v = (top + bottom) / 2;
        H = std::abs(right - left);
    }
    const int ar1 = Round(r1 * percent * 0.01);
    const int azr = Round(zr * percent * 0.01);
    std::vector<TPoint3D> apex(static_cast<std::size_t>(N) + 1), base(static_cast<std::size_t>(N) + 1);
    for (int k = 1; k <= N; ++k) {
        const double a = (k - (vertical ? 4 : 5)) * step;
        const double sa = std::sin(a), ca = std::cos(a);
        if (vertical) {
            const int yTop = std::min(top, bottom);
            apex[k] = {Round(sa * ar1) + c1v, yTop, zc - Round(ca * azr)};
            base[k] = {Round(sa * r1) + c1v, yTop + H, zc - Round(ca * zr)};
        } else {
            const int xRight = std::max(left, right);
            apex[k] = {xRight, Round(sa * ar1) + c1v, zc - Round(ca * azr)};
            base[k] = {xRight - H, Round(sa * r1) + c1v, zc - Round(ca * zr)};
        }
    }
    TPoint p0 = ProjectPoint3D(apex[1]);
    TPoint p1 = ProjectPoint3D(base[1]);
    int facet = 0;
    for (int k = 2; k <= N; ++k, ++facet) {
        const TPoint p2 = ProjectPoint3D(base[k]);
        const TPoint p3 = ProjectPoint3D(apex[k]);
        if (!IsBackFace(p0, p1, p2)) {
            if (darken) SetDarkerFill(F, 8 * facet);
            const TPoint q[4] = {p0, p1, p2, p3};
            DrawPolygon(q);
        }
        p0 = p3;
        p1 = p2;
    }
    if (percent == 100) {
        const TPoint p2 = ProjectPoint3D(base[1]);
        const TPoint p3 = ProjectPoint3D(apex[1]);
        if (!IsBackFace(p0, p1, p2)) {
            if (darken) SetDarkerFill(F, 0);
            const TPoint q[4] = {p0, p1, p2, p3};
            DrawPolygon(q);
        }
    }
    std::vector<TPoint> cap(static_cast<std::size_t>(N));
    bool capAtLeft = false;
    if (!vertical) capAtLeft = IsBackFace(ProjectCoords(0, 0, 0), ProjectCoords(0, 10, 0), ProjectCoords(0, 10, 10));
    for (int k = 1; k <= N; ++k) {
        TPoint3D p = apex[k];
        if (capAtLeft) p.X = left;
        cap[k - 1] = ProjectPoint3D(p);
    }
    if (darken) SetDarkerFill(F, 64);
    DrawPolygon(std::span<const TPoint>(cap));
}

void TPlotCanvas3D::DrawPyramid(bool vertical, int L, int T, int Rt, int B, int z0, int z1, bool darken) {
    const TColor F = SolidFillColor();
    if (vertical) {
        const bool up = T < B;
        if (T != B) {
            const TPoint p0 = ProjectCoords(L, B, z0), p1 = ProjectCoords(Rt, B, z0);
            const TPoint p2 = ProjectCoords(L, B, z1), p3 = ProjectCoords(Rt, B, z1);
            const TPoint A = ProjectCoords((L + Rt) / 2, T, (z0 + z1) / 2);
            const TPoint front[3] = {p0, A, p1};
            DrawPolygon(front);
            if (IsBackFace(p0, A, p2) != up) {
                const TPoint t[3] = {p0, A, p2};
                DrawPolygon(t);
            }
            if (darken) SetDarkerFill(F, 128);
            if (IsBackFace(p1, A, p3) == up) {
                const TPoint t[3] = {p1, A, p3};
                DrawPolygon(t);
            }
            if (up && IsBackFace(A, p2, p3)) {
                const TPoint t[3] = {A, p2, p3};
                DrawPolygon(t);
            }
        }
        if (IsBackFace(ProjectCoords(L, B, z0), ProjectCoords(Rt, B, z0), ProjectCoords(L, B, z1)) == up) {
            if (darken) SetDarkerFill(F, 64);
            DrawRectAtY(L, B, Rt, z0, z1);
        }
        return;
    }
    const bool rightward = L < Rt;
    if (L != Rt) {
        const TPoint q0 = ProjectCoords(L, T, z0), q1 = ProjectCoords(L, B, z0);
        const TPoint q2 = ProjectCoords(L, T, z1), q3 = ProjectCoords(L, B, z1);
        const TPoint A = ProjectCoords(Rt, (T + B) / 2, (z0 + z1) / 2);
        const TPoint front[3] = {q0, A, q1};
        DrawPolygon(front);
        if (IsBackFace(q2, A, q3) != rightward) {
            const TPoint t[3] = {q2, A, q3};
            DrawPolygon(t);
        }
        if (darken) SetDarkerFill(F, 64);
        if (IsBackFace(q0, A, q2) != rightward) {
            const TPoint t[3] = {q0, A, q2};
            DrawPolygon(t);
        }
        if (IsBackFace(q3, A, q1) != rightward) {
            const TPoint t[3] = {q3, A, q1};
            DrawPolygon(t);
        }
    }
    if (IsBackFace(ProjectCoords(L, T, z0), ProjectCoords(L, B, z0), ProjectCoords(L, T, z1)) == rightward) {
        if (darken) SetDarkerFill(F, 128);
        DrawRectAtX(L, T, B, z0, z1);
    }
}

void TPlotCanvas3D::DrawFrustum(const TRect& base, int z0, int z1, int tx, int tz) {
    const int L = base.Left, T = base.Top, Rt = base.Right, B = base.Bottom;
    const int xc = (L + Rt) / 2;
    const int zc = (z0 + z1) / 2;
    auto drawTop = [&] {
        if (tx != 0) DrawRectAtY(xc - tx, T, xc + tx, zc - tz, zc + tz);
    };
    auto drawBase = [&] { DrawRectAtY(L, B, Rt, z0, z1); };
    auto face = [&](int zt, int zb) {
        const TPoint p0 = ProjectCoords(xc - tx, T, zt);
        const TPoint p1 = ProjectCoords(xc + tx, T, zt);
        const TPoint p2 = ProjectCoords(Rt, B, zb);
        // A face that ends in an apex (tx 0) takes its winding from the base edge.
        const bool back = tx != 0 ? IsBackFace(p0, p1, p2) : IsBackFace(p1, p2, ProjectCoords(L, B, zb));
        if (zt >= zb ? back : !back) {
            const TPoint q[4] = {{xc - tx, T}, {xc + tx, T}, {Rt, B}, {L, B}};
            FStoredQuad[0] = ProjectFloatPoint(q[0].X, q[0].Y, zt);
            FStoredQuad[1] = ProjectFloatPoint(q[1].X, q[1].Y, zt);
            FStoredQuad[2] = ProjectFloatPoint(q[2].X, q[2].Y, zb);
            FStoredQuad[3] = ProjectFloatPoint(q[3].X, q[3].Y, zb);
            DrawStoredQuad();
        }
    };
    const bool baseFirst = T < B;
    if (baseFirst)
        drawBase();
    else
        drawTop();
    face(zc + tz, z1);
    StoreQuad({xc - tx, T, zc - tz}, {xc - tx, T, zc + tz}, {L, B, z1}, {L, B, z0});
    if (IsBackFace(FStoredQuad[3], FStoredQuad[2], FStoredQuad[1])) DrawStoredQuad();
    face(zc - tz, z0);
    StoreQuad({xc + tx, T, zc - tz}, {xc + tx, T, zc + tz}, {Rt, B, z1}, {Rt, B, z0});
    if (!IsBackFace(FStoredQuad[3], FStoredQuad[2], FStoredQuad[1])) DrawStoredQuad();
    if (baseFirst)
        drawTop();
    else
        drawBase();
}

void TPlotCanvas3D::DrawGradientPolygon(std::span<const TPoint> points, const TCustomPlotGradient& gradient) {
    ClipToPolygon(points);
    PaintGradient(*this, gradient, PolygonBounds(points.data(), int(points.size())));
    RemoveClip();
    if (Pen().Style() != cb::gfx::psClear) {
        const cb::gfx::TBrushStyle bs = Brush().Style();
        Brush().SetStyle(cb::gfx::bsClear);
        DrawPolygon(points);
        Brush().SetStyle(bs);
    }
}

void TPlotCanvas3D::DrawPieSlice3D(int xc, int yc, int rx, int ry, int z0, int z1, double a0, double a1, bool darken,
                                   bool drawSides, int d, const TCustomPlotGradient* gradient) {
    const int n = std::min(Round(std::fabs(a1 - a0) * 180 / std::numbers::pi / 2), 94) + 2;
    const double step = (a1 - a0) / (n - 1);
    const double irx = rx * d * 0.01;
    const double iry = ry * d * 0.01;
    auto outer = [&](int i, int z) {
        const double a = a0 + i * step;
        return ProjectFloatPoint(xc + rx * std::cos(a), yc - ry * std::sin(a), z);
    };
    auto inner = [&](int i, int z) {
        if (d <= 0) return ProjectCoords(xc, yc, z);
        const double a = a0 + i * step;
        return ProjectFloatPoint(xc + irx * std::cos(a), yc - Round(iry * std::sin(a)), z);
    };
    const TColor F = SolidFillColor();

    std::vector<TPoint> face;
    face.push_back(inner(0, z1));
    for (int i = 0; i < n; ++i) face.push_back(outer(i, z1));

    if (d > 0) {
        std::vector<TPoint> wall;
        for (int i = n - 1; i >= 0; --i) wall.push_back(inner(i, z1));
        for (int i = 0; i < n; ++i) wall.push_back(inner(i, z0));
        if (darken) SetDarkerFill(F, 32);
        DrawPolygon(wall);
        for (int i = n - 1; i >= 0; --i) face.push_back(inner(i, z1));
    }

    if (drawSides) {
        const int centreX = FXOffset;
        if (outer(n - 1, z1).X < centreX) {
            FStoredQuad[0] = inner(n - 1, z1);
            FStoredQuad[1] = outer(n - 1, z1);
            FStoredQuad[2] = outer(n - 1, z0);
            FStoredQuad[3] = inner(n - 1, z0);
            if (darken) SetDarkerFill(F, 32);
            DrawStoredQuad();
        }
        if (outer(0, z1).X > centreX) {
            FStoredQuad[0] = inner(0, z1);
            FStoredQuad[1] = outer(0, z1);
            FStoredQuad[2] = outer(0, z0);
            FStoredQuad[3] = inner(0, z0);
            if (darken) SetDarkerFill(F, 32);
            DrawStoredQuad();
        }
    }

    if (Brush().Style() == cb::gfx::bsSolid)
        Brush().SetColor(F);
    else
        SetBackgroundColor(F);
    if (gradient)
        DrawGradientPolygon(face, *gradient);
    else
        DrawPolygon(face);

    // Outer wall: the runs of the front arc that move right on the screen.
    std::vector<TPoint> o(n + 1);
    for (int i = 1; i <= n; ++i) o[i] = outer(i - 1, z1);
    auto band = [&](int s, int e) {
        std::vector<TPoint> p;
        for (int i = s; i <= e; ++i) p.push_back(o[i]);
        for (int i = e; i >= s; --i) p.push_back(outer(i - 1, z0));
        if (darken) SetDarkerFill(F, 32);
        if (gradient)
            DrawGradientPolygon(p, *gradient);
        else
            DrawPolygon(p);
    };
    int s = 0;
    for (int i = 1; i <= n - 1; ++i)
        if (o[i + 1].X > o[i].X) {
            s = i;
            break;
        }
    if (s == 0) return;
    int e = 0;
    for (int i = s + 2; i <= n - 1; ++i)
        if (o[i + 1].X < o[i].X) {
            e = i;
            break;
        }
    if (e == 0 && n >= 2 && o[n].X >= o[n - 1].X) e = n;
    if (e == 0) return;
    band(s, std::min(e, n));
    if (e < n && o[n].X > o[n - 1].X) {
        int start = n - 1;
        while (start > 1 && o[start].X > o[start - 1].X) --start;
        if (start > 1) band(start, n);
    }
}

void TPlotCanvas3D::DrawArrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headLength, int z) {
    const double dx = to.X - from.X;
    const double dy = from.Y - to.Y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return;
    const int h = std::min(headLength, Round(len));
    const double sn = dy / len, cs = dx / len;
    auto back = [&](double u, double v) { return ProjectCoords(Round(u * cs + v * sn), Round(-u * sn + v * cs), z); };
    const double uT = to.X * cs - to.Y * sn;
    const double vT = to.X * sn + to.Y * cs;
    const double ub = uT - h;
    const TPoint k1 = back(ub, vT - headWidth * 0.5);
    const TPoint k2 = back(ub, vT + headWidth * 0.5);
    const TPoint pt = ProjectCoords(to.X, to.Y, z);
    if (filled) {
        const double uF = from.X * cs - from.Y * sn;
        const double q = headWidth * 0.25;
        const TPoint p[7] = {back(uF, vT + q), back(uF, vT - q), back(ub, vT - q), k1, pt, k2, back(ub, vT + q)};
        DrawPolygon(p);
    } else {
        const TPoint pf = ProjectCoords(from.X, from.Y, z);
        DrawLine(pf.X, pf.Y, pt.X, pt.Y);
        DrawLine(pt.X, pt.Y, k2.X, k2.Y);
        DrawLine(pt.X, pt.Y, k1.X, k1.Y);
    }
}

}  // namespace cb::chart
