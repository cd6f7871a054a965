#pragma once
// Private to the canvas's own files: its painter and clip state, and small
// helpers the drawing, text and clipping code share.
#include "platform/gfx/Canvas.h"
#include "platform/gfx/FontCache.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace cb::gfx::canvas_detail {

constexpr std::uint64_t kTagPen = 1ull << 32;
constexpr std::uint64_t kTagText = 2ull << 32;
constexpr std::uint64_t kTagNone = 3ull << 32;
constexpr std::uint64_t kTagBrush = 1ull << 32;
constexpr std::uint64_t kTagOther = 4ull << 32;

inline QPainter::CompositionMode penComposition(TPenMode m) {
    switch (m) {
    case pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case pmWhite:
        return QPainter::RasterOp_SetDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

inline QPainter::CompositionMode copyComposition(TCopyMode m) {
    switch (m) {
    case cmSrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case cmSrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case cmSrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    case cmSrcErase:
        return QPainter::RasterOp_SourceAndNotDestination;
    case cmNotSrcCopy:
        return QPainter::RasterOp_NotSource;
    case cmNotSrcErase:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmMergePaint:
        return QPainter::RasterOp_NotSourceOrDestination;
    case cmDstInvert:
        return QPainter::RasterOp_NotDestination;
    case cmBlackness:
        return QPainter::RasterOp_ClearDestination;
    case cmWhiteness:
        return QPainter::RasterOp_SetDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

inline QRect qrect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

// Appends the open polyline through pts (none when empty).
inline void addPolyline(QPainterPath& path, std::span<const TPoint> pts) {
    if (pts.empty()) return;
    path.moveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i].X, pts[i].Y);
}

inline QPainterPath closed(QPainterPath path) {
    path.closeSubpath();
    return path;
}

inline TRect normalized(int l, int t, int r, int b) {
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

inline const QRect kHuge(-1000000, -1000000, 2000000, 2000000);

// A polygon written straight into a raster image.
struct TPolygonItem {
    std::uint32_t First, Count;       // corners, in the batch's points
    int Dx, Dy;                       // canvas to image
    QRect Area;                       // allowed pixels, canvas coordinates
    const std::pair<int, int>* Rows;  // the clip's row spans, or none
    int Left, Top, Right, Bottom;     // the corners' bounds
    bool Fill, Pen, Convex;
    quint32 FillValue, PenValue;
};

// A 32-bit image of one device pixel per pixel that the canvas may write
// pixels into itself.
inline bool IsWritableRaster(QImage* img) {
    return img &&
           (img->format() == QImage::Format_RGB32 || img->format() == QImage::Format_ARGB32 ||
            img->format() == QImage::Format_ARGB32_Premultiplied) &&
           img->devicePixelRatio() == 1.0 && img->isDetached();
}

// The offset of a transformation that only moves by whole pixels; false for
// any other.
inline bool WholePixelOffset(const QTransform& t, int& dx, int& dy) {
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    dx = int(t.dx());
    dy = int(t.dy());
    return true;
}

// The 32-bit pixel of an opaque colour.
inline quint32 OpaquePixel(TColor c) {
    const TColor rgb = c == clDefault ? TColor(0) : ColorToRGB(c);
    return 0xFF000000u | (quint32(GetRValue(rgb)) << 16) | (quint32(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

// True for a polygon that bounds one convex area: every corner turns the same
// way and the outline goes round once (a pentagram turns one way at every
// corner but goes round twice, so its x and y directions change too often).
// Corners on a straight line are passed over; a polygon with no turn at all
// (every point on one line) counts as convex only when `flatIsConvex`.
inline bool IsConvexPolygon(std::span<const TPoint> pts, bool flatIsConvex) {
    const size_t n = pts.size();
    if (n < 3) return flatIsConvex;
    int sign = 0;
    int xTurns = 0, yTurns = 0, lastDx = 0, lastDy = 0, firstDx = 0, firstDy = 0;
    for (size_t i = 0; i < n; ++i) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[(i + 1) % n];
        const TPoint& c = pts[(i + 2) % n];
        const long long cross = (long long)(b.X - a.X) * (c.Y - b.Y) - (long long)(b.Y - a.Y) * (c.X - b.X);
        if (cross != 0) {
            const int s = cross > 0 ? 1 : -1;
            if (sign != 0 && s != sign) return false;
            sign = s;
        }
        const int dx = (b.X > a.X) - (b.X < a.X);
        const int dy = (b.Y > a.Y) - (b.Y < a.Y);
        if (dx != 0) {
            if (lastDx != 0 && dx != lastDx) ++xTurns;
            if (firstDx == 0) firstDx = dx;
            lastDx = dx;
        }
        if (dy != 0) {
            if (lastDy != 0 && dy != lastDy) ++yTurns;
            if (firstDy == 0) firstDy = dy;
            lastDy = dy;
        }
    }
    if (sign == 0) return flatIsConvex;
    if (firstDx != 0 && lastDx != firstDx) ++xTurns;
    if (firstDy != 0 && lastDy != firstDy) ++yTurns;
    return xTurns <= 2 && yTurns <= 2;
}

}  // namespace cb::gfx::canvas_detail

namespace cb::gfx {

struct TCanvas::ClipState {
    bool enabled = false;
    bool isPath = false;
    QRegion region;
    QPainterPath path;
    // When not empty, the clip is exactly the inside of this convex polygon
    // (pixel centres) within bound: the direct polygon fill clips by it.
    std::vector<TPoint> convex;
    QRect bound;
    // The allowed pixels [left, right) of each row from spanTop on, made on
    // first use by the direct polygon fill.
    std::vector<std::pair<int, int>> spans;
    QRect spanArea;
};

// Polygons held by BeginPolygonBatch, in drawing order.
struct TCanvas::PolygonBatch {
    int Depth = 0;
    QImage* Image = nullptr;
    std::vector<canvas_detail::TPolygonItem> Items;
    std::vector<TPoint> Points;
    // One bit per image pixel while the batch is written: already final.
    std::vector<std::uint64_t> Cover;
};

struct TCanvas::State {
    QPainter* painter = nullptr;
    std::unique_ptr<QPainter> own;
    QPaintDevice* device = nullptr;  // device for an owned painter
    QTransform baseTransform;
    // What the painter holds now.
    std::uint64_t penTag = 0;
    std::uint64_t brushTag = 0;
    const TFontCacheEntry* fontEntry = nullptr;
    int fontExtra = 0;
    QPainter::CompositionMode comp = QPainter::CompositionMode_SourceOver;
    // Conversions of the current pen and brush, rebuilt when they change.
    std::uint32_t penRev = 0, brushRev = 0, qpenRev = 0;
    QPen qpen;
    QBrush qbrush;
    bool penVisible = true, brushVisible = true, brushHatched = false;
    QPainter::CompositionMode penComp = QPainter::CompositionMode_SourceOver;
    // Font with inter-character spacing, when used.
    const TFontCacheEntry* extraEntry = nullptr;
    int extraPixels = 0;
    QFont extraFont;
    std::unique_ptr<QFontMetrics> extraMetrics;
    // Clipping.
    ClipState base;
    ClipState current;
    std::vector<ClipState> stack;
    // Reused for every simple text line.
    QGlyphRun glyphRun;
    // Scratch pixels for clipped lines on raster images (see
    // drawClippedOnScratch); its painter ends before the image goes.
    QImage scratch;
    std::unique_ptr<QPainter> scratchPainter;
    QColor scratchPen;
    PolygonBatch batch;
    // Set while a polygon is being held, so that getting the painter for it
    // does not write the batch.
    bool batchHold = false;
    // Path recording.
    bool inPath = false;
    bool havePath = false;
    QPainterPath path;

    // Whether the painter paints on a raster image (checked once per painter).
    bool rasterChecked = false;
    bool raster = false;

    void invalidate() {
        rasterChecked = false;
        penTag = brushTag = 0;
        fontEntry = nullptr;
        fontExtra = 0;
        comp = QPainter::CompositionMode_SourceOver;
    }
};

}  // namespace cb::gfx
