#pragma once
// Integer points, sizes and rectangles in device pixels. A rectangle's right
// and bottom edges are exclusive: (0, 0, 10, 10) covers pixels 0..9.
#include <algorithm>

namespace cb::gfx {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool Contains(const TPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) {
    return {x, y};
}
inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

inline bool PtInRect(const TRect& r, const TPoint& p) {
    return r.Contains(p);
}
inline bool IsRectEmpty(const TRect& r) {
    return r.IsEmpty();
}

inline void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}
inline void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

// Intersection; an empty result is (0, 0, 0, 0) and the answer false.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (r.IsEmpty()) {
        out = {};
        return false;
    }
    out = r;
    return true;
}

// Smallest rectangle holding both; an empty operand is ignored.
inline bool UnionRect(TRect& out, const TRect& a, const TRect& b) {
    if (a.IsEmpty()) {
        out = b;
        return !b.IsEmpty();
    }
    if (b.IsEmpty()) {
        out = a;
        return true;
    }
    out = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    return true;
}

}  // namespace cb::gfx
