#include "chart/core/PlotGeometry.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TPoint MakePoint(int x, int y) {
    return {x, y};
}

TRect MakeRect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}

bool RectContainsPoint(const TRect& r, int x, int y) {
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

TRect NormalizeRect(const TRect& r) {
    TRect n = r;
    if (n.Left > n.Right) std::swap(n.Left, n.Right);
    if (n.Top > n.Bottom) std::swap(n.Top, n.Bottom);
    return n;
}

void GetRectExtent(const TRect& r, int& width, int& height) {
    width = r.Right - r.Left;
    height = r.Bottom - r.Top;
}

TPoint RectCenter(const TRect& r) {
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

TRect PolygonBounds(const TPoint* points, int count) {
    if (count <= 0) return {};
    TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (int i = 1; i < count; ++i) {
        r.Left = std::min(r.Left, points[i].X);
        r.Top = std::min(r.Top, points[i].Y);
        r.Right = std::max(r.Right, points[i].X);
        r.Bottom = std::max(r.Bottom, points[i].Y);
    }
    ++r.Right;
    ++r.Bottom;
    return r;
}

bool IsBackFace(const TPoint& p0, const TPoint& p1, const TPoint& p2) {
    const long long v = (long long)(p0.X - p1.X) * (p2.Y - p1.Y) - (long long)(p2.X - p1.X) * (p0.Y - p1.Y);
    return v < 0;
}

bool IsBackFacePoints(const TPoint* points) {
    return IsBackFace(points[0], points[1], points[2]);
}

void ExchangeDoubles(double& a, double& b) {
    std::swap(a, b);
}
void ExchangeIntegers(int& a, int& b) {
    std::swap(a, b);
}
double Hypotenuse(double a, double b) {
    return std::sqrt(a * a + b * b);
}

TPoint MovePointBack(const TPoint& start, const TPoint& end, int d) {
    if (end.X != start.X) {
        const double a = std::atan2(double(end.Y - start.Y), double(end.X - start.X));
        return {end.X - Round(d * std::cos(a)), end.Y - Round(d * std::sin(a))};
    }
    if (end.Y < start.Y) return {end.X, end.Y + d};
    return {end.X, end.Y - d};
}

TColor DarkenColor(TColor c, int amount) {
    c = ColorToRGB(c);
    auto dn = [amount](int v) { return amount >= v ? 0 : v - amount; };
    return RGBColor(dn(GetRValue(c)), dn(GetGValue(c)), dn(GetBValue(c)));
}

TColor LightenColor(TColor c, int amount) {
    c = ColorToRGB(c);
    auto up = [amount](int v) { return v + amount >= 256 ? 255 : v + amount; };
    return RGBColor(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}

void ColorToRGBTriple(TColor c, unsigned char out[3]) {
    c = ColorToRGB(c);
    out[0] = (unsigned char)GetBValue(c);
    out[1] = (unsigned char)GetGValue(c);
    out[2] = (unsigned char)GetRValue(c);
}

TColor ColorToGray(TColor c) {
    c = ColorToRGB(c);
    const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    return RGBColor(g, g, g);
}

bool ConvexHull(std::vector<TPoint>& points) {
    const int n = int(points.size());
    if (n < 3) return false;
    if (n == 3) return true;
    int pivotIndex = 0;
    for (int i = 1; i < n; ++i) {
        const TPoint& p = points[i];
        const TPoint& q = points[pivotIndex];
        if (p.Y < q.Y || (p.Y == q.Y && p.X > q.X)) pivotIndex = i;
    }
    const TPoint pivot = points[pivotIndex];
    points[pivotIndex] = points.back();
    points.pop_back();

    struct Keyed {
        TPoint p;
        float key;
    };
    std::vector<Keyed> items;
    items.reserve(points.size());
    for (const TPoint& p : points) {
        const float dx = float(pivot.X - p.X);
        const float dy = float(pivot.Y - p.Y);
        const float d = std::hypot(dx, dy);
        items.push_back({p, d == 0.0f ? 0.0f : dx / d});
    }
    std::stable_sort(items.begin(), items.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    points.clear();
    for (const Keyed& k : items) points.push_back(k.p);

    int i = 1;
    while (i < int(points.size()) - 1) {
        const TPoint a = points[i - 1];
        const TPoint b = points[i];
        const TPoint q = (i + 1 < int(points.size())) ? points[i + 1] : pivot;
        const long long turn = (long long)(a.X - b.X) * (q.Y - b.Y) - (long long)(q.X - b.X) * (a.Y - b.Y);
        if (turn < 0) {
            ++i;
        } else {
            points.erase(points.begin() + i);
            if (i > 1) --i;
        }
    }
    // The last point is checked against the pivot as well.
    while (points.size() >= 2) {
        const std::size_t last = points.size() - 1;
        const TPoint a = points[last - 1];
        const TPoint b = points[last];
        const long long turn = (long long)(a.X - b.X) * (pivot.Y - b.Y) - (long long)(pivot.X - b.X) * (a.Y - b.Y);
        if (turn < 0) break;
        points.pop_back();
    }
    points.push_back(pivot);
    return true;
}

}  // namespace cb::chart
