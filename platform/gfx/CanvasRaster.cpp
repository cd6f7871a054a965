// The canvas: small polygons written straight into raster images. Charts
// draw thousands of solid faces with thin outlines; the painter's path
// machinery costs more than the pixels. Pixels follow the painter's rules:
// a pixel is filled when its centre lies inside (even-odd), and an outline
// covers the pixel to the right of and below each point of its edges.
#include "platform/gfx/Canvas.h"

#include "platform/gfx/CanvasState.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace cb::gfx {

using namespace canvas_detail;

namespace {

constexpr size_t kMaxCorners = 16;
// Larger polygons go to the painter: its span filler is as fast there.
constexpr int kMaxExtent = 4096;

// ceil(v) for the values of screen coordinates.
inline int Ceil(double v) {
    const int i = int(v);
    return i < v ? i + 1 : i;
}

// First pixel whose centre is at or right of x.
inline int FirstPixel(double x) {
    return Ceil(x - 0.5);
}

// The x positions where the polygon's edges cross the row's centre line,
// sorted; edges count on [lower y, upper y).
int Crossings(std::span<const TPoint> pts, double yc, double* xs) {
    int n = 0;
    const size_t count = pts.size();
    for (size_t i = 0; i < count; ++i) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[(i + 1) % count];
        if (a.Y == b.Y) continue;
        const int y0 = std::min(a.Y, b.Y), y1 = std::max(a.Y, b.Y);
        if (yc < y0 || yc >= y1) continue;
        xs[n++] = a.X + (yc - a.Y) * double(b.X - a.X) / double(b.Y - a.Y);
    }
    std::sort(xs, xs + n);
    return n;
}

bool IsConvex(std::span<const TPoint> pts) {
    int sign = 0;
    const size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[(i + 1) % n];
        const TPoint& c = pts[(i + 2) % n];
        const long long cross = (long long)(b.X - a.X) * (c.Y - b.Y) - (long long)(b.Y - a.Y) * (c.X - b.X);
        if (cross == 0) continue;
        const int s = cross > 0 ? 1 : -1;
        if (sign != 0 && s != sign) return false;
        sign = s;
    }
    return true;
}

quint32 PixelValue(TColor c) {
    const TColor rgb = c == clDefault ? TColor(0) : ColorToRGB(c);
    return 0xFF000000u | (quint32(GetRValue(rgb)) << 16) | (quint32(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

// Where pixels may go, row by row, in the canvas's coordinates: the image
// within the clip.
class TPixelTarget {
public:
    // rows: the allowed span of each row of area, or none when every row
    // allows area's full width.
    TPixelTarget(QImage& img, int dx, int dy, const QRect& area, const std::pair<int, int>* rows)
        : FDx(dx), FDy(dy), FArea(area), FRows(rows), FBits(img.bits()), FStride(img.bytesPerLine()) {}
    const QRect& Area() const { return FArea; }
    void RowSpan(int y, int& left, int& right) const {
        if (y < FArea.top() || y > FArea.bottom()) {
            left = right = 0;
        } else if (FRows) {
            left = FRows[y - FArea.top()].first;
            right = FRows[y - FArea.top()].second;
        } else {
            left = FArea.left();
            right = FArea.right() + 1;
        }
    }
    void Span(int y, int x0, int x1, quint32 value) const {
        int l, r;
        RowSpan(y, l, r);
        x0 = std::max(x0, l);
        x1 = std::min(x1, r);
        if (x0 >= x1) return;
        auto* row = reinterpret_cast<quint32*>(FBits + qsizetype(y + FDy) * FStride) + (x0 + FDx);
        const int n = x1 - x0;
        if (n <= 2) {
            row[0] = value;
            if (n == 2) row[1] = value;
            return;
        }
        // Copied from a row of the colour: the library's copy is the fastest
        // store there is.
        if (FPatternValue != value || FPattern.empty()) {
            FPattern.assign(FPattern.empty() ? 256 : FPattern.size(), value);
            FPatternValue = value;
        }
        for (int done = 0; done < n;) {
            const int k = std::min(n - done, int(FPattern.size()));
            std::memcpy(row + done, FPattern.data(), size_t(k) * 4);
            done += k;
        }
    }
    // A vertical run of pixels at x, rows y0 to y1 inclusive.
    void Column(int x, int y0, int y1, quint32 value) const {
        y0 = std::max(y0, FArea.top());
        y1 = std::min(y1, FArea.bottom());
        if (x < FArea.left() || x > FArea.right()) return;
        uchar* bits = FBits + qsizetype(y0 + FDy) * FStride + qsizetype(x + FDx) * 4;
        for (int y = y0; y <= y1; ++y, bits += FStride) {
            if (FRows) {
                const auto& span = FRows[y - FArea.top()];
                if (x < span.first || x >= span.second) continue;
            }
            *reinterpret_cast<quint32*>(bits) = value;
        }
    }
    void Pixel(int x, int y, quint32 value) const {
        int l, r;
        RowSpan(y, l, r);
        if (x < l || x >= r) return;
        reinterpret_cast<quint32*>(FBits + qsizetype(y + FDy) * FStride)[x + FDx] = value;
    }

private:
    int FDx, FDy;
    QRect FArea;
    const std::pair<int, int>* FRows;
    uchar* FBits;
    qsizetype FStride;
    static thread_local std::vector<quint32> FPattern;
    static thread_local quint32 FPatternValue;
};

thread_local std::vector<quint32> TPixelTarget::FPattern;
thread_local quint32 TPixelTarget::FPatternValue = 0;

// The pixels of a one-pixel line from a to b, both ends included.
void Line(const TPixelTarget& t, TPoint a, const TPoint& b, quint32 value) {
    if (a.X == b.X) {
        t.Column(a.X, std::min(a.Y, b.Y), std::max(a.Y, b.Y), value);
        return;
    }
    if (a.Y == b.Y) {
        t.Span(a.Y, std::min(a.X, b.X), std::max(a.X, b.X) + 1, value);
        return;
    }
    const int dx = std::abs(b.X - a.X), sx = a.X < b.X ? 1 : -1;
    const int dy = -std::abs(b.Y - a.Y), sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        t.Pixel(a.X, a.Y, value);
        if (a.X == b.X && a.Y == b.Y) return;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.X += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.Y += sy;
        }
    }
}

// Fills a convex polygon: each edge leaves its crossing of every row centre
// it spans in the row's lowest and highest x. Crossings are kept in 32.32
// fixed point, so the first pixel right of one is a shift.
void FillConvex(const TPixelTarget& t, std::span<const TPoint> pts, int top, int bottom, quint32 value) {
    const int y0 = std::max(top, t.Area().top());
    const int y1 = std::min(bottom, t.Area().bottom() + 1);
    if (y0 >= y1) return;
    thread_local std::vector<std::int64_t> lo, hi;
    const size_t rows = size_t(y1 - y0);
    if (lo.size() < rows) {
        lo.resize(rows);
        hi.resize(rows);
    }
    std::fill_n(lo.begin(), rows, INT64_MAX);
    std::fill_n(hi.begin(), rows, INT64_MIN);
    const size_t count = pts.size();
    for (size_t i = 0; i < count; ++i) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[(i + 1) % count];
        if (a.Y == b.Y) continue;
        const TPoint& u = a.Y < b.Y ? a : b;
        const TPoint& w = a.Y < b.Y ? b : a;
        // Rows whose centre lies in [u.Y, w.Y).
        const int r0 = std::max(u.Y, y0), r1 = std::min(w.Y, y1);
        if (r0 >= r1) continue;
        const std::int64_t dx = w.X - u.X, dy = w.Y - u.Y;
        const std::int64_t slope = dx * (std::int64_t(1) << 32) / dy;
        std::int64_t x = std::int64_t(u.X) * (std::int64_t(1) << 32) +
                         dx * (2 * std::int64_t(r0 - u.Y) + 1) * (std::int64_t(1) << 31) / dy;
        std::int64_t* l = lo.data() + (r0 - y0);
        std::int64_t* h = hi.data() + (r0 - y0);
        for (int y = r0; y < r1; ++y, x += slope, ++l, ++h) {
            if (x < *l) *l = x;
            if (x > *h) *h = x;
        }
    }
    constexpr std::int64_t half = (std::int64_t(1) << 31) - 1;
    for (size_t k = 0; k < rows; ++k)
        if (lo[k] <= hi[k]) t.Span(y0 + int(k), int((lo[k] + half) >> 32), int((hi[k] + half) >> 32), value);
}

}  // namespace

bool TCanvas::directPolygon(QPainter* p, std::span<const TPoint> pts) {
    if (pts.size() < 3 || pts.size() > kMaxCorners) return false;
    if (d->comp != QPainter::CompositionMode_SourceOver || p->opacity() != 1.0) return false;
    // What is drawn: a solid fill, a plain thin outline, or both.
    const bool fill = d->brushVisible;
    if (fill && (d->brushHatched || FBrush.Bitmap() || FBrush.Style() != bsSolid)) return false;
    const bool pen = d->penVisible;
    if (pen && (FPen.Width() > 1 || FPen.Style() != psSolid || FPen.Mode() != pmCopy)) return false;
    QImage* img = RasterImage();
    if (!img ||
        (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32 &&
         img->format() != QImage::Format_ARGB32_Premultiplied) ||
        img->devicePixelRatio() != 1.0 || !img->isDetached())
        return false;
    const QTransform& tr = p->worldTransform();
    if (tr.type() > QTransform::TxTranslate || tr.dx() != std::floor(tr.dx()) || tr.dy() != std::floor(tr.dy()))
        return false;
    const int dx = int(tr.dx()), dy = int(tr.dy());
    int left = pts[0].X, right = pts[0].X, top = pts[0].Y, bottom = pts[0].Y;
    for (const TPoint& q : pts) {
        left = std::min(left, q.X);
        right = std::max(right, q.X);
        top = std::min(top, q.Y);
        bottom = std::max(bottom, q.Y);
    }
    if (right - left > kMaxExtent || bottom - top > kMaxExtent) return false;

    // The clip: none, one rectangle, or a convex polygon within one; the
    // polygon's row spans are kept with the clip for the next drawings.
    ClipState& c = d->current;
    const QRect image = img->rect().translated(-dx, -dy);
    QRect area = image;
    const std::pair<int, int>* rows = nullptr;
    if (c.enabled) {
        if (!c.convex.empty()) {
            area = c.bound & image;
            if (c.spanArea != area || c.spans.size() != size_t(std::max(0, area.height()))) {
                c.spanArea = area;
                c.spans.assign(size_t(std::max(0, area.height())), {0, 0});
                double xs[kMaxCorners];
                for (int y = area.top(); y <= area.bottom(); ++y) {
                    const int n = Crossings(c.convex, y + 0.5, xs);
                    if (n < 2) continue;
                    const int l = std::max(area.left(), FirstPixel(xs[0]));
                    const int r = std::min(area.right() + 1, FirstPixel(xs[n - 1]));
                    if (l < r) c.spans[size_t(y - area.top())] = {l, r};
                }
            }
            rows = c.spans.data();
        } else if (!c.isPath && c.region.rectCount() == 1) {
            area = c.region.boundingRect() & image;
        } else {
            return false;
        }
    }
    if (area.isEmpty()) return true;

    const TPixelTarget target(*img, dx, dy, area, rows);
    if (fill && FBrush.Color() != clNone) {
        const quint32 value = PixelValue(FBrush.Color());
        if (IsConvex(pts)) {
            FillConvex(target, pts, top, bottom, value);
        } else {
            const int y0 = std::max(top, area.top()), y1 = std::min(bottom, area.bottom() + 1);
            double xs[kMaxCorners];
            for (int y = y0; y < y1; ++y) {
                const int n = Crossings(pts, y + 0.5, xs);
                for (int i = 0; i + 1 < n; i += 2) target.Span(y, FirstPixel(xs[i]), FirstPixel(xs[i + 1]), value);
            }
        }
    }
    if (pen) {
        const quint32 value = PixelValue(FPen.Color());
        for (size_t i = 0; i < pts.size(); ++i) Line(target, pts[i], pts[(i + 1) % pts.size()], value);
    }
    return true;
}

}  // namespace cb::gfx
