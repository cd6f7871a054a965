// The canvas: small polygons written straight into raster images. Charts
// draw thousands of solid faces with thin outlines; the painter's path
// machinery costs more than the pixels. Pixels follow the painter's rules:
// a pixel is filled when its centre lies inside (even-odd), and an outline
// covers the pixel to the right of and below each point of its edges.
// Polygons held in a batch are written last first, each pixel once: a bit
// per pixel marks those already final, so the picture is the one drawing
// in order gives.
#include "platform/gfx/Canvas.h"

#include "platform/gfx/CanvasState.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <bit>
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

// Stores n pixels of one value; long runs are copied from a row of the
// colour, the library's copy being the fastest store there is.
inline void Store(quint32* p, int n, quint32 value) {
    if (n <= 8) {
        for (int i = 0; i < n; ++i) p[i] = value;
        return;
    }
    constexpr int kPattern = 256;
    thread_local quint32 pattern[kPattern];
    thread_local quint32 patternValue = 0;
    thread_local bool patternSet = false;
    if (!patternSet || patternValue != value) {
        std::fill_n(pattern, kPattern, value);
        patternValue = value;
        patternSet = true;
    }
    for (int done = 0; done < n;) {
        const int k = std::min(n - done, kPattern);
        std::memcpy(p + done, pattern, size_t(k) * 4);
        done += k;
    }
}

// Where pixels may go, row by row, in the canvas's coordinates: the image
// within the clip. With a cover (one bit per image pixel, words per row), a
// pixel already marked is left as it is, and a written one is marked.
class TPixelTarget {
public:
    // rows: the allowed span of each row of area, or none when every row
    // allows area's full width.
    TPixelTarget(QImage& img, int dx, int dy, const QRect& area, const std::pair<int, int>* rows,
                 std::uint64_t* cover = nullptr, int coverWords = 0)
        : FDx(dx), FDy(dy), FLeft(area.left()), FTop(area.top()), FRight(area.right() + 1), FBottom(area.bottom() + 1),
          FRows(rows), FBits(img.bits()), FStride(img.bytesPerLine()), FCover(cover), FCoverWords(coverWords) {}
    int Top() const { return FTop; }
    int Bottom() const { return FBottom; }  // one past
    // The allowed pixels [left, right) of row y, which lies within the area.
    void RowSpan(int y, int& left, int& right) const {
        if (FRows) {
            left = FRows[y - FTop].first;
            right = FRows[y - FTop].second;
        } else {
            left = FLeft;
            right = FRight;
        }
    }
    // Pixels [x0, x1) of row y, allowed ones only.
    void Span(int y, int x0, int x1, quint32 value) const {
        if (y < FTop || y >= FBottom) return;
        int l, r;
        RowSpan(y, l, r);
        Run(y, std::max(x0, l), std::min(x1, r), value);
    }
    // Pixels [x0, x1) of row y, all allowed.
    void Run(int y, int x0, int x1, quint32 value) const {
        if (x0 >= x1) return;
        if (FCover)
            CoveredRun(y + FDy, x0 + FDx, x1 + FDx, value);
        else
            Store(At(x0, y), x1 - x0, value);
    }
    // A vertical run of pixels at x, rows y0 to y1 inclusive.
    void Column(int x, int y0, int y1, quint32 value) const {
        y0 = std::max(y0, FTop);
        y1 = std::min(y1, FBottom - 1);
        if (x < FLeft || x >= FRight || y0 > y1) return;
        quint32* p = At(x, y0);
        const qsizetype step = FStride / 4;
        if (FCover) {
            const int ix = x + FDx;
            std::uint64_t* word = FCover + qsizetype(y0 + FDy) * FCoverWords + (ix >> 6);
            const std::uint64_t bit = std::uint64_t(1) << (ix & 63);
            for (int y = y0; y <= y1; ++y, p += step, word += FCoverWords) {
                if (*word & bit) continue;
                if (FRows) {
                    const std::pair<int, int>& span = FRows[y - FTop];
                    if (x < span.first || x >= span.second) continue;
                }
                *word |= bit;
                *p = value;
            }
            return;
        }
        if (!FRows) {
            for (int y = y0; y <= y1; ++y, p += step) *p = value;
            return;
        }
        const std::pair<int, int>* span = FRows + (y0 - FTop);
        for (int y = y0; y <= y1; ++y, p += step, ++span)
            if (x >= span->first && x < span->second) *p = value;
    }
    void Pixel(int x, int y, quint32 value) const {
        if (y < FTop || y >= FBottom) return;
        int l, r;
        RowSpan(y, l, r);
        if (x < l || x >= r) return;
        if (FCover) {
            const int ix = x + FDx;
            std::uint64_t& word = FCover[qsizetype(y + FDy) * FCoverWords + (ix >> 6)];
            const std::uint64_t bit = std::uint64_t(1) << (ix & 63);
            if (word & bit) return;
            word |= bit;
        }
        *At(x, y) = value;
    }
    // The rows of r (canvas coordinates, within the area) that hold a pixel
    // not yet final, as [top, bottom); empty when there is none.
    std::pair<int, int> OpenRows(const QRect& r) const {
        const int x0 = r.left() + FDx, x1 = r.right() + 1 + FDx;
        const int w0 = x0 >> 6, w1 = (x1 - 1) >> 6;
        const std::uint64_t first = Bits(x0 & 63, w0 == w1 ? x1 - (w0 << 6) : 64);
        const std::uint64_t last = Bits(0, x1 - (w1 << 6));
        auto open = [&](int y) {
            const std::uint64_t* m = FCover + qsizetype(y + FDy) * FCoverWords;
            if (~m[w0] & first) return true;
            if (w1 == w0) return false;
            if (~m[w1] & last) return true;
            for (int w = w0 + 1; w < w1; ++w)
                if (~m[w]) return true;
            return false;
        };
        int top = r.top(), bottom = r.bottom() + 1;
        while (top < bottom && !open(top)) ++top;
        while (bottom > top && !open(bottom - 1)) --bottom;
        return {top, bottom};
    }

private:
    // Pixel (x, y) in canvas coordinates, which lies within the area.
    quint32* At(int x, int y) const {
        return reinterpret_cast<quint32*>(FBits + qsizetype(y + FDy) * FStride) + (x + FDx);
    }
    // Bits b0 to b1 - 1 of a word.
    static std::uint64_t Bits(int b0, int b1) {
        return (b1 == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << b1) - 1) & (~std::uint64_t(0) << b0);
    }
    // Image pixels [x0, x1) of image row y not yet final.
    void CoveredRun(int y, int x0, int x1, quint32 value) const {
        std::uint64_t* m = FCover + qsizetype(y) * FCoverWords;
        quint32* row = reinterpret_cast<quint32*>(FBits + qsizetype(y) * FStride);
        for (int x = x0; x < x1;) {
            const int w = x >> 6, base = w << 6, end = std::min(x1, base + 64);
            const std::uint64_t want = Bits(x - base, end - base);
            std::uint64_t open = want & ~m[w];
            if (open == want) {
                Store(row + x, end - x, value);
            } else {
                while (open) {
                    const int first = std::countr_zero(open);
                    const int n = std::countr_one(open >> first);
                    Store(row + base + first, n, value);
                    open &= n + first == 64 ? 0 : ~std::uint64_t(0) << (first + n);
                }
            }
            m[w] |= want;
            x = end;
        }
    }

    int FDx, FDy;
    int FLeft, FTop, FRight, FBottom;
    const std::pair<int, int>* FRows;
    uchar* FBits;
    qsizetype FStride;
    std::uint64_t* FCover;
    int FCoverWords;
};

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
    const int y0 = std::max(top, t.Top());
    const int y1 = std::min(bottom, t.Bottom());
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
            *l = std::min(*l, x);
            *h = std::max(*h, x);
        }
    }
    constexpr std::int64_t half = (std::int64_t(1) << 31) - 1;
    for (size_t k = 0; k < rows; ++k) {
        if (lo[k] > hi[k]) continue;
        const int y = y0 + int(k);
        int l, r;
        t.RowSpan(y, l, r);
        const int x0 = std::max(int((lo[k] + half) >> 32), l), x1 = std::min(int((hi[k] + half) >> 32), r);
        t.Run(y, x0, x1, value);
    }
}

using Item = TPolygonItem;

// Writes a polygon: its fill, then its outline; reversed, the outline
// first, as a covered target keeps the first value written to a pixel.
void DrawItem(const Item& item, std::span<const TPoint> pts, const TPixelTarget& target, bool reversed) {
    auto fill = [&] {
        if (!item.Fill) return;
        if (item.Convex) {
            FillConvex(target, pts, item.Top, item.Bottom, item.FillValue);
            return;
        }
        const int y0 = std::max(item.Top, target.Top()), y1 = std::min(item.Bottom, target.Bottom());
        double xs[kMaxCorners];
        for (int y = y0; y < y1; ++y) {
            const int n = Crossings(pts, y + 0.5, xs);
            for (int i = 0; i + 1 < n; i += 2) target.Span(y, FirstPixel(xs[i]), FirstPixel(xs[i + 1]), item.FillValue);
        }
    };
    auto outline = [&] {
        if (!item.Pen) return;
        for (size_t i = 0; i < pts.size(); ++i) Line(target, pts[i], pts[(i + 1) % pts.size()], item.PenValue);
    };
    if (reversed) {
        outline();
        fill();
    } else {
        fill();
        outline();
    }
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
    int dx = 0, dy = 0;
    if (!IsWritableRaster(img) || !WholePixelOffset(p->worldTransform(), dx, dy)) return false;
    int left = pts[0].X, right = pts[0].X, top = pts[0].Y, bottom = pts[0].Y;
    for (const TPoint& q : pts) {
        left = std::min(left, q.X);
        right = std::max(right, q.X);
        top = std::min(top, q.Y);
        bottom = std::max(bottom, q.Y);
    }
    if (right - left > kMaxExtent || bottom - top > kMaxExtent) return false;

    // A batch holds polygons of one image.
    PolygonBatch& batch = d->batch;
    const bool hold = batch.Depth > 0;
    if (hold && batch.Image != img) flushBatch();

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
                flushBatch();  // held polygons point at the spans
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

    Item item{};
    item.Dx = dx;
    item.Dy = dy;
    item.Area = area;
    item.Rows = rows;
    item.Left = left;
    item.Top = top;
    item.Right = right;
    item.Bottom = bottom;
    item.Fill = fill && FBrush.Color() != clNone;
    item.Pen = pen;
    item.Convex = item.Fill && IsConvexPolygon(pts, true);
    if (item.Fill) item.FillValue = OpaquePixel(FBrush.Color());
    if (item.Pen) item.PenValue = OpaquePixel(FPen.Color());
    if (!item.Fill && !item.Pen) return true;
    if (hold) {
        batch.Image = img;
        item.First = std::uint32_t(batch.Points.size());
        item.Count = std::uint32_t(pts.size());
        batch.Points.insert(batch.Points.end(), pts.begin(), pts.end());
        batch.Items.push_back(item);
        return true;
    }
    DrawItem(item, pts, TPixelTarget(*img, dx, dy, area, rows), false);
    return true;
}

void TCanvas::BeginPolygonBatch() {
    ++d->batch.Depth;
}

void TCanvas::EndPolygonBatch() {
    if (d->batch.Depth > 0 && --d->batch.Depth == 0) flushBatch();
}

void TCanvas::flushBatch() {
    PolygonBatch& batch = d->batch;
    if (batch.Items.empty()) return;
    QImage& img = *batch.Image;
    const int words = (img.width() + 63) / 64;
    batch.Cover.assign(size_t(words) * size_t(img.height()), 0);
    for (auto it = batch.Items.rbegin(); it != batch.Items.rend(); ++it) {
        const Item& item = *it;
        const std::span<const TPoint> pts(batch.Points.data() + item.First, item.Count);
        // Outlines reach one pixel right of and below the corners.
        const QRect box = QRect(QPoint(item.Left, item.Top), QPoint(item.Right, item.Bottom)) & item.Area;
        if (box.isEmpty()) continue;
        // Only rows with a pixel still open can change.
        const auto [top, bottom] =
            TPixelTarget(img, item.Dx, item.Dy, item.Area, nullptr, batch.Cover.data(), words).OpenRows(box);
        if (top >= bottom) continue;
        QRect area = item.Area;
        area.setTop(top);
        area.setBottom(bottom - 1);
        const std::pair<int, int>* rows = item.Rows ? item.Rows + (top - item.Area.top()) : nullptr;
        DrawItem(item, pts, TPixelTarget(img, item.Dx, item.Dy, area, rows, batch.Cover.data(), words), true);
    }
    batch.Items.clear();
    batch.Points.clear();
    batch.Image = nullptr;
}

}  // namespace cb::gfx
