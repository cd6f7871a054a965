#include "platform/gfx/Canvas.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/FontCache.h"

#include <QColorSpace>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace cb::gfx {

namespace {

constexpr std::uint64_t kTagPen = 1ull << 32;
constexpr std::uint64_t kTagText = 2ull << 32;
constexpr std::uint64_t kTagNone = 3ull << 32;
constexpr std::uint64_t kTagBrush = 1ull << 32;
constexpr std::uint64_t kTagOther = 4ull << 32;

QPainter::CompositionMode penComposition(TPenMode m) {
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

QPainter::CompositionMode copyComposition(TCopyMode m) {
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

QRect qrect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

// Appends the open polyline through pts (none when empty).
void addPolyline(QPainterPath& path, std::span<const TPoint> pts) {
    if (pts.empty()) return;
    path.moveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i].X, pts[i].Y);
}

QPainterPath closed(QPainterPath path) {
    path.closeSubpath();
    return path;
}

TRect normalized(int l, int t, int r, int b) {
    return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

const QRect kHuge(-1000000, -1000000, 2000000, 2000000);

}  // namespace

struct TCanvas::ClipState {
    bool enabled = false;
    bool isPath = false;
    QRegion region;
    QPainterPath path;
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

// ---- construction and device ----------------------------------------------

TCanvas::TCanvas() : d(std::make_unique<State>()) {
    init();
}

TCanvas::TCanvas(QPainter* painter) : d(std::make_unique<State>()) {
    init();
    Attach(painter);
}

TCanvas::TCanvas(QPaintDevice* device) : d(std::make_unique<State>()) {
    init();
    d->device = device;
}

TCanvas::~TCanvas() {
    ReleasePainter();
    if (d->painter && !d->own && d->painter->isActive()) {
        // Leave a borrowed painter as we found it.
        d->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        d->painter->setClipping(false);
        if (d->base.enabled) applyClip();
    }
}

void TCanvas::init() {
    FPen.FOwnerCanvas = this;
    FBrush.FOwnerCanvas = this;
    FFont.FOwnerCanvas = this;
}

void TCanvas::onObjectChanged(TGraphicsObject& obj) {
    if (&obj == &FBrush) {
        FBkColor = FBrush.Color();
        FBkMode = FBrush.Style() == bsSolid ? OPAQUE : TRANSPARENT;
    }
}

void TCanvas::Attach(QPainter* painter) {
    ReleasePainter();
    d->device = nullptr;
    d->painter = painter;
    d->invalidate();
    d->stack.clear();
    d->base = ClipState();
    if (painter) {
        d->baseTransform = painter->worldTransform();
        if (painter->hasClipping()) {
            d->base.enabled = true;
            d->base.region = painter->clipRegion();
        }
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
        if (FLogical)
            painter->setWorldTransform(QTransform::fromScale(DeviceScale(), DeviceScale()) * d->baseTransform);
    }
    d->current = d->base;
}

void TCanvas::ReleasePainter() {
    if (d->own) {
        d->own->end();
        d->own.reset();
        d->painter = nullptr;
        d->invalidate();
    }
}

bool TCanvas::HasDevice() const {
    return d->painter || d->device;
}

QPainter* TCanvas::ensurePainter() {
    if (d->painter) return d->painter;
    if (!d->device || d->device->width() <= 0 || d->device->height() <= 0) return nullptr;
    d->own = std::make_unique<QPainter>();
    if (!d->own->begin(d->device)) {
        d->own.reset();
        return nullptr;
    }
    d->painter = d->own.get();
    d->painter->setRenderHint(QPainter::Antialiasing, false);
    d->painter->setRenderHint(QPainter::TextAntialiasing, true);
    d->baseTransform = QTransform();
    if (FLogical) d->painter->setWorldTransform(QTransform::fromScale(DeviceScale(), DeviceScale()));
    d->invalidate();
    if (d->current.enabled) applyClip();
    return d->painter;
}

QPainter* TCanvas::Painter() {
    QPainter* p = ensurePainter();
    if (!p) return nullptr;
    forShape(true, true);
    forText();
    if (d->comp != QPainter::CompositionMode_SourceOver) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        d->comp = QPainter::CompositionMode_SourceOver;
    }
    // The caller may change anything: refresh everything next time.
    d->penTag = d->brushTag = 0;
    return p;
}

QImage* TCanvas::RasterImage() {
    QPaintDevice* dev = d->painter ? d->painter->device() : d->device;
    if (dev && dev->devType() == QInternal::Image) return static_cast<QImage*>(dev);
    return nullptr;
}

TSize TCanvas::DeviceSize() const {
    QPaintDevice* dev = d->painter ? d->painter->device() : d->device;
    if (!dev) return {};
    return {dev->width(), dev->height()};
}

double TCanvas::DeviceScale() const {
    QPaintDevice* dev = d->painter ? d->painter->device() : d->device;
    if (!dev || dev->devType() == QInternal::Image || dev->devType() == QInternal::Widget) return 1.0;
    const int dpi = dev->logicalDpiX();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

void TCanvas::UseLogicalPixels(bool on) {
    if (on == FLogical) return;
    FLogical = on;
    if (d->painter) {
        const double s = on ? DeviceScale() : 1.0;
        d->painter->setWorldTransform(QTransform::fromScale(s, s) * d->baseTransform);
        applyClip();
    }
}

void TCanvas::SetBkMode(int mode) {
    FBkMode = mode == OPAQUE ? OPAQUE : TRANSPARENT;
}
void TCanvas::SetBkColor(TColor c) {
    FBkColor = c;
}
void TCanvas::SetTextAlign(unsigned flags) {
    FTextAlign = flags;
}
void TCanvas::SetTextCharacterExtra(int pixels) {
    FCharExtra = pixels;
}

// ---- pen, brush, font state -------------------------------------------------

QPainter* TCanvas::forShape(bool needPen, bool needBrush) {
    QPainter* p = ensurePainter();
    if (!p) return nullptr;
    if (d->penRev != FPen.Revision()) {
        d->penRev = FPen.Revision();
        d->penVisible = FPen.Style() != psClear && FPen.Mode() != pmNop;
        d->penComp = penComposition(FPen.Mode());
        if ((d->penTag & ~0xFFFFFFFFull) == kTagPen) d->penTag = 0;
    }
    // The Qt pen is built only when a drawing call strokes with it.
    if (needPen && d->qpenRev != d->penRev) {
        d->qpenRev = d->penRev;
        const int w = FPen.Width();
        QPen qp(ToQColor(FPen.Color()));
        qp.setWidth(w);  // 0: cosmetic, one device pixel
        if (w <= 1) {
            qp.setCapStyle(Qt::SquareCap);  // inclusive ends; lineSegment pulls the last one back
            qp.setJoinStyle(Qt::MiterJoin);
        } else {
            switch (FPen.EndStyle()) {
            case esRound:
                qp.setCapStyle(Qt::RoundCap);
                qp.setJoinStyle(Qt::RoundJoin);
                break;
            case esSquare:
                qp.setCapStyle(Qt::SquareCap);
                qp.setJoinStyle(Qt::BevelJoin);
                break;
            case esFlat:
                qp.setCapStyle(Qt::FlatCap);
                qp.setJoinStyle(Qt::MiterJoin);
                break;
            }
        }
        switch (FPen.Style()) {
        case psDash:
            qp.setDashPattern({18, 6});
            break;
        case psDot:
            qp.setDashPattern({3, 3});
            break;
        case psDashDot:
            qp.setDashPattern({9, 6, 3, 6});
            break;
        case psDashDotDot:
            qp.setDashPattern({9, 3, 3, 3, 3, 3});
            break;
        case psAlternate:
            qp.setDashPattern({1, 1});
            break;
        default:
            break;
        }
        d->qpen = qp;
    }
    if (d->brushRev != FBrush.Revision()) {
        d->brushRev = FBrush.Revision();
        d->brushVisible = FBrush.Style() != bsClear || FBrush.Bitmap();
        d->brushHatched = false;
        if (FBrush.Bitmap() && !FBrush.Bitmap()->Empty()) {
            d->qbrush = QBrush(FBrush.Bitmap()->Image());
        } else {
            const QColor c = ToQColor(FBrush.Color());
            switch (FBrush.Style()) {
            case bsSolid:
                d->qbrush = QBrush(c);
                break;
            case bsClear:
                d->qbrush = QBrush(Qt::NoBrush);
                break;
            case bsHorizontal:
                d->qbrush = QBrush(c, Qt::HorPattern);
                break;
            case bsVertical:
                d->qbrush = QBrush(c, Qt::VerPattern);
                break;
            case bsFDiagonal:
                d->qbrush = QBrush(c, Qt::FDiagPattern);
                break;
            case bsBDiagonal:
                d->qbrush = QBrush(c, Qt::BDiagPattern);
                break;
            case bsCross:
                d->qbrush = QBrush(c, Qt::CrossPattern);
                break;
            case bsDiagCross:
                d->qbrush = QBrush(c, Qt::DiagCrossPattern);
                break;
            }
            d->brushHatched = FBrush.Style() >= bsHorizontal;
            if (FBrush.Color() == clNone && FBrush.Style() == bsSolid) d->brushVisible = false;
        }
        if ((d->brushTag & ~0xFFFFFFFFull) == kTagBrush) d->brushTag = 0;
    }
    const std::uint64_t penTag = (needPen && d->penVisible) ? (kTagPen | d->penRev) : kTagNone;
    if (d->penTag != penTag) {
        if (penTag == kTagNone)
            p->setPen(Qt::NoPen);
        else
            p->setPen(d->qpen);
        d->penTag = penTag;
    }
    const std::uint64_t brushTag = (needBrush && d->brushVisible) ? (kTagBrush | d->brushRev) : kTagNone;
    if (d->brushTag != brushTag) {
        if (brushTag == kTagNone)
            p->setBrush(Qt::NoBrush);
        else
            p->setBrush(d->qbrush);
        d->brushTag = brushTag;
    }
    const bool raster = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
    const QPainter::CompositionMode comp = raster ? d->penComp : QPainter::CompositionMode_SourceOver;
    if (d->comp != comp) {
        p->setCompositionMode(comp);
        d->comp = comp;
    }
    return p;
}

QPainter* TCanvas::forText(bool setFont) {
    QPainter* p = ensurePainter();
    if (!p) return nullptr;
    const TFontCacheEntry& e = FFont.CacheEntry();
    if (setFont && (d->fontEntry != &e || d->fontExtra != FCharExtra)) {
        if (FCharExtra == 0) {
            p->setFont(e.font);
        } else {
            if (d->extraEntry != &e || d->extraPixels != FCharExtra) {
                d->extraEntry = &e;
                d->extraPixels = FCharExtra;
                d->extraFont = e.font;
                d->extraFont.setLetterSpacing(QFont::AbsoluteSpacing, FCharExtra);
                d->extraMetrics = std::make_unique<QFontMetrics>(d->extraFont);
            }
            p->setFont(d->extraFont);
        }
        d->fontEntry = &e;
        d->fontExtra = FCharExtra;
    }
    const std::uint64_t tag = kTagText | ColorToRGB(FFont.Color());
    if (d->penTag != tag) {
        p->setPen(ToQColor(FFont.Color()));
        d->penTag = tag;
    }
    if (d->comp != QPainter::CompositionMode_SourceOver) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        d->comp = QPainter::CompositionMode_SourceOver;
    }
    return p;
}

// ---- lines ------------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) {
    FPenPos = {x, y};
    if (d->inPath) d->path.moveTo(x, y);
}

void TCanvas::lineSegment(QPainter* p, const TPoint& a, const TPoint& b) {
    if (a == b) return;
    if (d->qpen.width() > 1) {
        p->drawLine(a.X, a.Y, b.X, b.Y);
        return;
    }
    // A one-pixel line covers its first point and leaves out its last: the
    // painter's own rule depends on the direction, so the end is pulled back
    // one step along the major axis and drawn inclusively.
    const int dx = b.X - a.X, dy = b.Y - a.Y;
    const int n = std::max(std::abs(dx), std::abs(dy));
    if (n == 1) {
        p->drawPoint(a.X, a.Y);
        return;
    }
    const int ex = a.X + int(std::lround(double(dx) * (n - 1) / n));
    const int ey = a.Y + int(std::lround(double(dy) * (n - 1) / n));
    p->drawLine(a.X, a.Y, ex, ey);
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = FPenPos;
    FPenPos = {x, y};
    if (d->inPath) {
        d->path.lineTo(x, y);
        return;
    }
    if ((from.X == x || from.Y == y) && solidLine(from, FPenPos)) return;
    if (QPainter* p = forShape(true, false); p && d->penVisible) lineSegment(p, from, FPenPos);
}

// A horizontal or vertical line of a plain one-pixel pen is the rectangle of
// pixels it covers: filled directly, without stroking or a pen change. False
// when the line needs the general path.
bool TCanvas::solidLine(const TPoint& a, const TPoint& b) {
    if ((FPen.Style() != psSolid && FPen.Style() != psInsideFrame) || FPen.Mode() != pmCopy || FPen.Width() > 1)
        return false;
    if (FPen.Color() == clNone) return false;
    const TColor rgb = FPen.Color() == clDefault ? TColor(0) : ColorToRGB(FPen.Color());
    QPainter* p = ensurePainter();
    if (!p) return true;
    if (!d->rasterChecked) {
        d->rasterChecked = true;
        d->raster = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
    }
    // Opacity and clipping apply to a fill as they do to a stroke.
    if (!d->raster || p->testRenderHint(QPainter::Antialiasing)) return false;
    const QTransform& t = p->worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    if (a == b) return true;
    if (d->comp != QPainter::CompositionMode_SourceOver) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        d->comp = QPainter::CompositionMode_SourceOver;
    }
    // The first point is covered, the last one left out.
    int l, t0, r, bt;
    if (a.Y == b.Y) {
        l = a.X < b.X ? a.X : b.X + 1;
        r = a.X < b.X ? b.X : a.X + 1;
        t0 = a.Y;
        bt = a.Y + 1;
    } else {
        t0 = a.Y < b.Y ? a.Y : b.Y + 1;
        bt = a.Y < b.Y ? b.Y : a.Y + 1;
        l = a.X;
        r = a.X + 1;
    }
    if (!directFill(p, {l, t0, r, bt}, FPen.Color()))
        p->fillRect(QRect(l, t0, r - l, bt - t0), QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
    return true;
}

void TCanvas::Polyline(std::span<const TPoint> pts) {
    if (pts.empty()) return;
    if (d->inPath) {
        addPolyline(d->path, pts);
        return;
    }
    QPainter* p = forShape(true, false);
    if (!p || !d->penVisible || pts.size() < 2) return;
    if (pts.size() == 2 || (d->qpen.width() <= 1 && d->qpen.style() == Qt::SolidLine)) {
        // Segment by segment: every vertex drawn once, the last one left out.
        for (size_t i = 1; i < pts.size(); ++i) lineSegment(p, pts[i - 1], pts[i]);
        return;
    }
    QPainterPath path;
    addPolyline(path, pts);
    p->drawPath(path);
}

void TCanvas::PolyBezier(std::span<const TPoint> pts) {
    if (pts.size() < 4) return;
    QPainterPath path;
    path.moveTo(pts[0].X, pts[0].Y);
    for (size_t i = 1; i + 2 < pts.size(); i += 3)
        path.cubicTo(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X, pts[i + 2].Y);
    recordOrDraw(path, false, true);
}

void TCanvas::PolyBezierTo(std::span<const TPoint> pts) {
    QPainterPath path;
    path.moveTo(FPenPos.X, FPenPos.Y);
    size_t i = 0;
    for (; i + 2 < pts.size(); i += 3)
        path.cubicTo(pts[i].X, pts[i].Y, pts[i + 1].X, pts[i + 1].Y, pts[i + 2].X, pts[i + 2].Y);
    if (i > 0) FPenPos = pts[i - 1];
    if (d->inPath) {
        d->path.connectPath(path);
        return;
    }
    drawShapePath(path, false, true);
}

// ---- filled shapes ----------------------------------------------------------

void TCanvas::drawShapePath(const QPainterPath& path, bool fill, bool stroke) {
    QPainter* p = forShape(stroke, fill);
    if (!p) return;
    if (fill && d->brushVisible && d->brushHatched && FBkMode == OPAQUE) {
        p->setPen(Qt::NoPen);
        p->setBrush(ToQColor(FBkColor));
        p->drawPath(path);
        d->penTag = d->brushTag = kTagOther;
        forShape(stroke, fill);
    }
    if ((fill && d->brushVisible) || (stroke && d->penVisible)) p->drawPath(path);
}

void TCanvas::recordOrDraw(const QPainterPath& path, bool fill, bool stroke) {
    if (d->inPath)
        d->path.addPath(path);
    else
        drawShapePath(path, fill, stroke);
}

void TCanvas::Polygon(std::span<const TPoint> pts) {
    if (pts.size() < 2) return;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    addPolyline(path, pts);
    path.closeSubpath();
    recordOrDraw(path, true, true);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    const TRect r = normalized(left, top, right, bottom);
    if (d->inPath) {
        d->path.addRect(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
        return;
    }
    if (r.IsEmpty()) return;
    QPainter* p = forShape(true, true);
    if (!p) return;
    const int w = std::max(1, FPen.Width());  // width 0 covers a pixel too
    const bool pen = d->penVisible;
    if (d->brushVisible) {
        QRect inner = qrect(r);
        if (pen) inner.adjust(1, 1, -1, -1);
        if (!inner.isEmpty()) {
            if (d->brushHatched && FBkMode == OPAQUE) p->fillRect(inner, ToQColor(FBkColor));
            p->fillRect(inner, d->qbrush);
        }
    }
    if (!pen) return;
    p->setBrush(Qt::NoBrush);
    d->brushTag = kTagNone;
    if (w <= 1 || FPen.Style() == psInsideFrame) {
        const double inset = (w - 1) / 2.0;
        p->drawRect(QRectF(r.Left + inset, r.Top + inset, r.Width() - 1 - 2 * inset, r.Height() - 1 - 2 * inset));
    } else {
        p->drawRect(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    }
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cw, int ch) {
    const TRect r = normalized(left, top, right, bottom);
    QPainterPath path;
    path.addRoundedRect(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1), cw / 2.0, ch / 2.0);
    recordOrDraw(path, true, true);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    const TRect r = normalized(left, top, right, bottom);
    QPainterPath path;
    path.addEllipse(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    if (d->inPath) {
        d->path.addPath(path);
        return;
    }
    if (r.IsEmpty()) return;
    drawShapePath(path, true, true);
}

// kind: 0 arc, 1 chord, 2 pie.
void TCanvas::arcPath(QPainterPath& path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int kind,
                      bool moveToStart) {
    const TRect r = normalized(x1, y1, x2, y2);
    const QRectF box(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    const double cx = box.center().x(), cy = box.center().y();
    const double rx = std::max(box.width() / 2, 0.5), ry = std::max(box.height() / 2, 0.5);
    // Radial directions to the parametric angles of the ellipse (degrees,
    // counter-clockwise with y up).
    auto param = [&](int x, int y) {
        const double dx = x - cx, dy = cy - y;
        if (dx == 0 && dy == 0) return 0.0;
        return std::atan2(dy / ry, dx / rx) * 180.0 / M_PI;
    };
    const double a0 = param(x3, y3);
    const double a1 = param(x4, y4);
    double sweep = a1 - a0;
    if (FArcDirection == adCounterClockwise) {
        while (sweep <= 0) sweep += 360;
    } else {
        while (sweep >= 0) sweep -= 360;
    }
    if (kind == 2)
        path.moveTo(cx, cy);
    else if (moveToStart)
        path.arcMoveTo(box, a0);
    path.arcTo(box, a0, sweep);
    if (kind != 0) path.closeSubpath();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    QPainterPath path;
    arcPath(path, x1, y1, x2, y2, x3, y3, x4, y4, 0, true);
    recordOrDraw(path, false, true);
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    QPainterPath path;
    arcPath(path, x1, y1, x2, y2, x3, y3, x4, y4, 1, true);
    recordOrDraw(path, true, true);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    QPainterPath path;
    arcPath(path, x1, y1, x2, y2, x3, y3, x4, y4, 2, true);
    recordOrDraw(path, true, true);
}

void TCanvas::FillRect(const TRect& r0) {
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    if (r.IsEmpty()) return;
    QPainter* p = forShape(false, false);
    if (!p || !d->brushVisible) return;
    if (d->brushHatched && FBkMode == OPAQUE)
        p->fillRect(qrect(r), ToQColor(FBkColor));
    else if (!d->brushHatched && !FBrush.Bitmap() && FBrush.Style() == bsSolid && directFill(p, r, FBrush.Color()))
        return;
    p->fillRect(qrect(r), d->qbrush);
}

// An opaque solid fill of an unclipped raster image at full opacity writes
// the colour's pixel value: done here without the painter's fill machinery.
// False when the painter has to do it.
bool TCanvas::directFill(QPainter* p, const TRect& r, TColor c) {
    if (c == clNone || d->comp != QPainter::CompositionMode_SourceOver || d->current.enabled) return false;
    QImage* img = RasterImage();
    if (!img ||
        (img->format() != QImage::Format_RGB32 && img->format() != QImage::Format_ARGB32 &&
         img->format() != QImage::Format_ARGB32_Premultiplied) ||
        img->devicePixelRatio() != 1.0 || !img->isDetached())
        return false;
    if (p->hasClipping() || p->opacity() != 1.0 || p->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QTransform& t = p->worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    const QRect area = QRect(r.Left + int(t.dx()), r.Top + int(t.dy()), r.Width(), r.Height()) & img->rect();
    if (area.isEmpty()) return true;
    const TColor rgb = c == clDefault ? TColor(0) : ColorToRGB(c);
    const quint32 value =
        0xFF000000u | (quint32(GetRValue(rgb)) << 16) | (quint32(GetGValue(rgb)) << 8) | GetBValue(rgb);
    const qsizetype stride = img->bytesPerLine();
    uchar* row = img->bits() + area.top() * stride + qsizetype(area.left()) * 4;
    for (int y = 0; y < area.height(); ++y, row += stride)
        std::fill_n(reinterpret_cast<quint32*>(row), area.width(), value);
    return true;
}

void TCanvas::FrameRect(const TRect& r0) {
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    if (r.IsEmpty()) return;
    QPainter* p = forShape(false, false);
    if (!p || !d->brushVisible) return;
    const QBrush& b = d->qbrush;
    p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), b);
    if (r.Height() > 1) p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), b);
    if (r.Height() > 2) {
        p->fillRect(QRect(r.Left, r.Top + 1, 1, r.Height() - 2), b);
        if (r.Width() > 1) p->fillRect(QRect(r.Right - 1, r.Top + 1, 1, r.Height() - 2), b);
    }
}

void TCanvas::DrawFocusRect(const TRect& r0) {
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    QPainter* p = ensurePainter();
    if (!p || r.IsEmpty()) return;
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    // Every other pixel along the frame, clockwise from the top-left corner.
    const QColor white(255, 255, 255);
    int n = 0;
    auto dot = [&](int x, int y) {
        if ((n++ & 1) == 0) p->fillRect(QRect(x, y, 1, 1), white);
    };
    for (int x = r.Left; x < r.Right; ++x) dot(x, r.Top);
    for (int y = r.Top + 1; y < r.Bottom; ++y) dot(r.Right - 1, y);
    if (r.Height() > 1)
        for (int x = r.Right - 2; x >= r.Left; --x) dot(x, r.Bottom - 1);
    if (r.Width() > 1)
        for (int y = r.Bottom - 2; y > r.Top; --y) dot(r.Left, y);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    d->comp = QPainter::CompositionMode_SourceOver;
}

void TCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    QPainter* p = ensurePainter();
    TRect a = r;
    auto ring = [&](TColor tl, TColor br) {
        if (a.IsEmpty()) return;
        if (p) {
            if (d->comp != QPainter::CompositionMode_SourceOver) {
                p->setCompositionMode(QPainter::CompositionMode_SourceOver);
                d->comp = QPainter::CompositionMode_SourceOver;
            }
            const QColor ctl = ToQColor(tl), cbr = ToQColor(br);
            if (flags & BF_TOP) p->fillRect(QRect(a.Left, a.Top, a.Width(), 1), ctl);
            if (flags & BF_LEFT) p->fillRect(QRect(a.Left, a.Top, 1, a.Height()), ctl);
            if (flags & BF_BOTTOM) p->fillRect(QRect(a.Left, a.Bottom - 1, a.Width(), 1), cbr);
            if (flags & BF_RIGHT) p->fillRect(QRect(a.Right - 1, a.Top, 1, a.Height()), cbr);
        }
        if (flags & BF_LEFT) ++a.Left;
        if (flags & BF_TOP) ++a.Top;
        if (flags & BF_RIGHT) --a.Right;
        if (flags & BF_BOTTOM) --a.Bottom;
    };
    const unsigned outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const unsigned inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (flags & BF_MONO) {
        if (outer) ring(clWindowFrame, clWindowFrame);
        if (inner) ring(clWindow, clWindow);
    } else if (flags & BF_FLAT) {
        if (outer) ring(clBtnShadow, clBtnShadow);
        if (inner) ring(clBtnFace, clBtnFace);
    } else {
        if (outer == BDR_RAISEDOUTER)
            ring((flags & BF_SOFT) ? clBtnHighlight : cl3DLight, cl3DDkShadow);
        else if (outer == BDR_SUNKENOUTER)
            ring((flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow, clBtnHighlight);
        if (inner == BDR_RAISEDINNER)
            ring((flags & BF_SOFT) ? cl3DLight : clBtnHighlight, clBtnShadow);
        else if (inner == BDR_SUNKENINNER)
            ring((flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow, cl3DLight);
    }
    if ((flags & BF_MIDDLE) && p && !a.IsEmpty())
        p->fillRect(qrect(a), ToQColor((flags & BF_MONO) ? clWindow : clBtnFace));
    if (flags & BF_ADJUST) r = a;
}

void TCanvas::GradientFill(const TRect& r, TColor from, TColor to, bool vertical) {
    QPainter* p = ensurePainter();
    if (!p || r.IsEmpty()) return;
    QLinearGradient g(r.Left, r.Top, vertical ? r.Left : r.Right, vertical ? r.Bottom : r.Top);
    g.setColorAt(0, ToQColor(from));
    g.setColorAt(1, ToQColor(to));
    if (d->comp != QPainter::CompositionMode_SourceOver) {
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        d->comp = QPainter::CompositionMode_SourceOver;
    }
    p->fillRect(qrect(r), QBrush(g));
}

// ---- paths ------------------------------------------------------------------

void TCanvas::BeginPath() {
    d->inPath = true;
    d->havePath = false;
    d->path = QPainterPath();
    d->path.setFillRule(Qt::OddEvenFill);
    d->path.moveTo(FPenPos.X, FPenPos.Y);
}

void TCanvas::EndPath() {
    if (d->inPath) {
        d->inPath = false;
        d->havePath = true;
    }
}

void TCanvas::AbortPath() {
    d->inPath = false;
    d->havePath = false;
    d->path = QPainterPath();
}

void TCanvas::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    QPainterPath arc;
    arcPath(arc, x1, y1, x2, y2, x3, y3, x4, y4, 0, true);
    const QPointF end = arc.currentPosition();
    if (d->inPath) {
        d->path.lineTo(arc.elementAt(0).x, arc.elementAt(0).y);
        d->path.connectPath(arc);
    } else {
        QPainterPath path;
        path.moveTo(FPenPos.X, FPenPos.Y);
        path.lineTo(arc.elementAt(0).x, arc.elementAt(0).y);
        path.connectPath(arc);
        drawShapePath(path, false, true);
    }
    FPenPos = {int(std::lround(end.x())), int(std::lround(end.y()))};
}

void TCanvas::CloseFigure() {
    if (d->inPath) d->path.closeSubpath();
}

void TCanvas::StrokePath() {
    if (!d->havePath) return;
    drawShapePath(d->path, false, true);
    AbortPath();
}

void TCanvas::FillPath() {
    if (!d->havePath) return;
    drawShapePath(closed(d->path), true, false);
    AbortPath();
}

void TCanvas::StrokeAndFillPath() {
    if (!d->havePath) return;
    drawShapePath(closed(d->path), true, true);
    AbortPath();
}

void TCanvas::PushClipPath() {
    pushClip();
    if (d->havePath) {
        intersectClip(closed(d->path));
        AbortPath();
    }
}

// ---- text -------------------------------------------------------------------

namespace {

// Reused between calls: text drawing makes no allocations of its own.
std::vector<quint32> gGlyphs;
std::vector<QPointF> gPositions;

int measureText(const TFontCacheEntry& e, const QString& s, int extra) {
    int w = 0;
    if (e.SimpleLayout(s, extra, nullptr, nullptr, w)) return w;
    return e.metrics.horizontalAdvance(s) + extra * int(s.size());
}

// Draws s with its left end at x and its baseline at y; measures as
// measureText does.
void drawString(QPainter* p, const TFontCacheEntry& e, int x, int y, const QString& s, int extra) {
    int w = 0;
    if (e.SimpleLayout(s, extra, &gGlyphs, &gPositions, w)) {
        if (gGlyphs.empty()) return;
        QGlyphRun run;
        run.setRawFont(e.RawFont());
        run.setRawData(gGlyphs.data(), gPositions.data(), int(gGlyphs.size()));
        run.setUnderline(e.font.underline());
        run.setStrikeOut(e.font.strikeOut());
        p->drawGlyphRun(QPointF(x, y), run);
        return;
    }
    p->drawText(QPoint(x, y), s);
}

}  // namespace

TTextMetric TCanvas::TextMetrics() {
    return FFont.CacheEntry().tm;
}

TSize TCanvas::TextExtent(std::string_view text) {
    const TFontCacheEntry& e = FFont.CacheEntry();
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return {measureText(e, s, FCharExtra), e.tm.Height};
}

void TCanvas::textAt(QPainter* p, int x, int y, std::string_view text, bool clip, const TRect* clipRect, bool opaque,
                     const TRect* opaqueRect) {
    const TFontCacheEntry& e = FFont.CacheEntry();
    const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const bool useCp = FTextAlign & TA_UPDATECP;
    if (useCp) {
        x = FPenPos.X;
        y = FPenPos.Y;
    }
    const int w = measureText(e, s, FCharExtra);
    const int h = e.tm.Height;
    int dx = 0, dy = 0;
    switch (FTextAlign & TA_CENTER) {
    case TA_RIGHT:
        dx = -w;
        break;
    case TA_CENTER:
        dx = -w / 2;
        break;
    default:
        break;
    }
    switch (FTextAlign & TA_BASELINE) {
    case TA_BOTTOM:
        dy = -h;
        break;
    case TA_BASELINE:
        dy = -e.tm.Ascent;
        break;
    default:
        break;
    }
    if (useCp && (FTextAlign & TA_CENTER) == TA_LEFT)
        FPenPos.X += w;
    else if (useCp && (FTextAlign & TA_CENTER) == TA_RIGHT)
        FPenPos.X -= w;
    if (!p) return;
    const bool clipping = clip && clipRect;
    if (clipping) {
        pushClip();
        IntersectClipRect(*clipRect);
    }
    if (opaqueRect && !opaqueRect->IsEmpty()) {
        if (d->comp != QPainter::CompositionMode_SourceOver) {
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
            d->comp = QPainter::CompositionMode_SourceOver;
        }
        p->fillRect(qrect(*opaqueRect), ToQColor(FBkColor));
    }
    const int angle = FFont.Orientation();
    if (angle == 0) {
        if (opaque && FBkMode == OPAQUE && !opaqueRect) p->fillRect(QRect(x + dx, y + dy, w, h), ToQColor(FBkColor));
        drawString(p, e, x + dx, y + dy + e.tm.Ascent, s, FCharExtra);
    } else {
        p->save();
        p->translate(x, y);
        p->rotate(-angle / 10.0);
        if (opaque && FBkMode == OPAQUE && !opaqueRect) p->fillRect(QRect(dx, dy, w, h), ToQColor(FBkColor));
        drawString(p, e, dx, dy + e.tm.Ascent, s, FCharExtra);
        p->restore();
    }
    if (clipping) PopClip();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    QPainter* p = forText();
    textAt(p, x, y, text, false, nullptr, true, nullptr);
}

void TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* r, std::string_view text) {
    QPainter* p = forText();
    const bool opaqueRect = (options & ETO_OPAQUE) && r;
    textAt(p, x, y, text, (options & ETO_CLIPPED) != 0, r, !opaqueRect, opaqueRect ? r : nullptr);
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    unsigned options = ETO_CLIPPED;
    if (FBrush.Style() != bsClear) options |= ETO_OPAQUE;
    ExtTextOut(x, y, options, &r, text);
}

namespace {

struct Line {
    QString text;
    int width = 0;
    int underline = -1;  // index of the prefixed character
};

}  // namespace

// One line of printable ASCII without prefix characters: laid out once, drawn
// straight from the glyph tables, clipped only when its ink may leave the
// rectangle. Answers false (nothing done) when the text needs the general
// path; otherwise draws as that path would and sets height to its result.
bool TCanvas::drawSimpleLine(std::string_view text, const TRect& r, unsigned flags, int& height) {
    if ((flags & (DT_SINGLELINE | DT_CALCRECT)) != DT_SINGLELINE || FCharExtra != 0) return false;
    if (!(flags & DT_NOPREFIX) && text.find('&') != std::string_view::npos) return false;
    const TFontCacheEntry& e = FFont.CacheEntry();
    int w = 0;
    if (!e.SimpleLayout(text, &gGlyphs, &gPositions, w)) return false;
    if ((flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) && w > std::max(0, r.Width())) return false;
    const int lineHeight = e.tm.Height + ((flags & DT_EXTERNALLEADING) ? e.tm.ExternalLeading : 0);
    int y = r.Top;
    if (flags & DT_VCENTER)
        y = r.Top + (r.Height() - lineHeight) / 2;
    else if (flags & DT_BOTTOM)
        y = r.Bottom - lineHeight;
    QPainter* p = forText(false);
    if (!p) {
        height = (flags & (DT_VCENTER | DT_BOTTOM)) ? y - r.Top + lineHeight : lineHeight;
        return true;
    }
    height = lineHeight;
    if (text.empty()) return true;
    int x = r.Left;
    if (flags & DT_CENTER)
        x = r.Left + (r.Width() - w) / 2;
    else if (flags & DT_RIGHT)
        x = r.Right - w;

    const TRect box = normalized(r.Left, r.Top, r.Right, r.Bottom);
    bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        // Room for antialiasing and hinting around the measured ink.
        constexpr int kSlack = 2;
        const auto& reach = e.Reach();
        const int left = x - reach.left - kSlack;
        const int right = x + w + reach.right + kSlack;
        const int top = y - reach.top - kSlack;
        const int bottom = y + e.tm.Height + reach.bottom + kSlack;
        if (left >= box.Left && right <= box.Right && top >= box.Top && bottom <= box.Bottom)
            clip = false;
        else if (box.IsEmpty())
            return true;  // clipped away entirely
    }
    QGlyphRun& run = d->glyphRun;
    run.setRawFont(e.RawFont());
    run.setRawData(gGlyphs.data(), gPositions.data(), int(gGlyphs.size()));
    run.setUnderline(e.font.underline());
    run.setStrikeOut(e.font.strikeOut());
    if (clip && drawClippedOnScratch(p, box, x, y, w, e)) return true;
    const bool ownRectClip = clip && !d->current.enabled;
    if (ownRectClip)
        p->setClipRect(qrect(box));
    else if (clip)
        PushClipRect(box);
    if (FBkMode == OPAQUE) p->fillRect(QRect(x, y, w, e.tm.Height), ToQColor(FBkColor));
    p->drawGlyphRun(QPointF(x, y + e.tm.Ascent), run);
    if (ownRectClip)
        p->setClipping(false);
    else if (clip)
        PopClip();
    return true;
}

// Clipping a painter on a raster image costs a table as tall as the image
// the first time a glyph crosses the clip. A line clipped to a box is drawn
// instead on a scratch copy of the box's pixels, whose own edges do the
// clipping, and copied back: the same blending, pixel for pixel. False when
// the target does not allow it (nothing drawn then).
bool TCanvas::drawClippedOnScratch(QPainter* p, const TRect& box, int x, int y, int w, const TFontCacheEntry& e) {
    QImage* img = RasterImage();
    if (!img || d->current.enabled || img->depth() != 32 || img->devicePixelRatio() != 1.0 || !img->isDetached() ||
        p->opacity() != 1.0 || p->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QTransform& t = p->worldTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    const int dx = int(t.dx()), dy = int(t.dy());
    // Only the part of the box the ink may reach (as in drawSimpleLine).
    constexpr int kSlack = 2;
    const auto& reach = e.Reach();
    const QRect ink(x - reach.left - kSlack, y - reach.top - kSlack, w + reach.left + reach.right + 2 * kSlack,
                    e.tm.Height + reach.top + reach.bottom + 2 * kSlack);
    const QRect area = (QRect(box.Left, box.Top, box.Width(), box.Height()) & ink).translated(dx, dy) & img->rect();
    if (area.isEmpty()) return true;
    QImage& scratch = d->scratch;
    if (scratch.format() != img->format() || scratch.width() < area.width() || scratch.height() < area.height()) {
        d->scratchPainter.reset();
        scratch =
            QImage(std::max(area.width(), scratch.width()), std::max(area.height(), scratch.height()), img->format());
        scratch.setColorSpace(img->colorSpace());
        d->scratchPainter = std::make_unique<QPainter>(&scratch);
        d->scratchPen = QColor();
    }
    if (scratch.colorSpace() != img->colorSpace()) scratch.setColorSpace(img->colorSpace());
    QPainter& sp = *d->scratchPainter;
    for (const auto hint : {QPainter::Antialiasing, QPainter::TextAntialiasing})
        sp.setRenderHint(hint, p->testRenderHint(hint));
    const QColor pen = ToQColor(FFont.Color());
    if (pen != d->scratchPen) {
        sp.setPen(pen);
        d->scratchPen = pen;
    }
    const size_t rowBytes = size_t(area.width()) * 4;
    const qsizetype stride = img->bytesPerLine(), scratchStride = scratch.bytesPerLine();
    uchar* const target = img->bits() + area.top() * stride + qsizetype(area.left()) * 4;
    uchar* const copy = scratch.bits();
    for (int row = 0; row < area.height(); ++row)
        std::memcpy(copy + row * scratchStride, target + row * stride, rowBytes);
    const int sx = x + dx - area.left(), sy = y + dy - area.top();
    if (FBkMode == OPAQUE) sp.fillRect(QRect(sx, sy, w, e.tm.Height), ToQColor(FBkColor));
    sp.drawGlyphRun(QPointF(sx, sy + e.tm.Ascent), d->glyphRun);
    for (int row = 0; row < area.height(); ++row)
        std::memcpy(target + row * stride, copy + row * scratchStride, rowBytes);
    return true;
}

int TCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
    if (int height = 0; drawSimpleLine(text, r, flags, height)) return height;
    const TFontCacheEntry& e = FFont.CacheEntry();
    const QFontMetrics& fm = e.metrics;
    QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
    const int lineHeight = e.tm.Height + ((flags & DT_EXTERNALLEADING) ? e.tm.ExternalLeading : 0);
    const int tabWidth = 8 * std::max(1, e.tm.AveCharWidth);
    const bool expandTabs = flags & DT_EXPANDTABS;
    const int extra = FCharExtra;

    auto width = [&](const QString& t) {
        if (!expandTabs || !t.contains(QLatin1Char('\t'))) return measureText(e, t, extra);
        int x = 0;
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = t.indexOf(QLatin1Char('\t'), start);
            const QString part = t.mid(start, tab < 0 ? -1 : tab - start);
            x += measureText(e, part, extra);
            if (tab < 0) break;
            x = (x / tabWidth + 1) * tabWidth;
            start = tab + 1;
        }
        return x;
    };

    // Prefix characters: "&&" is "&", "&x" underlines x.
    std::vector<int> underlineAt;
    int prefixIndex = -1;
    if (!(flags & DT_NOPREFIX) && s.contains(QLatin1Char('&'))) {
        QString out;
        out.reserve(s.size());
        for (qsizetype i = 0; i < s.size(); ++i) {
            if (s[i] == QLatin1Char('&') && i + 1 < s.size()) {
                ++i;
                if (s[i] != QLatin1Char('&') && prefixIndex < 0) prefixIndex = int(out.size());
            } else if (s[i] == QLatin1Char('&')) {
                continue;
            }
            out += s[i];
        }
        s = out;
    }
    if (flags & DT_HIDEPREFIX) prefixIndex = -1;

    const int boxWidth = std::max(0, r.Width());
    std::vector<Line> lines;
    int prefixBase = 0;  // character index of the current paragraph in s
    auto addLine = [&](const QString& t, int start) {
        Line l;
        l.text = t;
        l.width = width(t);
        if (prefixIndex >= start && prefixIndex < start + int(t.size())) l.underline = prefixIndex - start;
        lines.push_back(std::move(l));
    };

    if (flags & DT_SINGLELINE) {
        QString t = s;
        t.remove(QLatin1Char('\r'));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        addLine(t, 0);
    } else {
        qsizetype pos = 0;
        while (pos <= s.size()) {
            qsizetype end = pos;
            while (end < s.size() && s[end] != QLatin1Char('\r') && s[end] != QLatin1Char('\n')) ++end;
            const QString para = s.mid(pos, end - pos);
            prefixBase = int(pos);
            if (!(flags & DT_WORDBREAK) || width(para) <= boxWidth) {
                addLine(para, prefixBase);
            } else {
                // Break at spaces; a word wider than the box is broken at a
                // character only for edit-control breaking.
                qsizetype i = 0;
                const qsizetype n = para.size();
                while (i < n) {
                    qsizetype lineEnd = i, lastBreak = -1, j = i;
                    while (j < n) {
                        qsizetype wordEnd = j;
                        while (wordEnd < n && para[wordEnd] != QLatin1Char(' ')) ++wordEnd;
                        const int wLine = width(para.mid(i, wordEnd - i));
                        if (wLine > boxWidth && lastBreak >= 0) break;
                        if (wLine > boxWidth) {
                            // The first word alone does not fit.
                            if (flags & DT_EDITCONTROL) {
                                qsizetype k = i + 1;
                                while (k < wordEnd && width(para.mid(i, k + 1 - i)) <= boxWidth) ++k;
                                lineEnd = k;
                            } else {
                                lineEnd = wordEnd;
                            }
                            lastBreak = -2;
                            break;
                        }
                        lineEnd = wordEnd;
                        lastBreak = wordEnd;
                        j = wordEnd;
                        while (j < n && para[j] == QLatin1Char(' ')) ++j;
                        if (j >= n) {
                            lineEnd = wordEnd;
                            break;
                        }
                    }
                    if (lineEnd <= i) lineEnd = i + 1;
                    addLine(para.mid(i, lineEnd - i), prefixBase + int(i));
                    i = lineEnd;
                    while (i < n && para[i] == QLatin1Char(' ')) ++i;
                }
            }
            if (end >= s.size()) break;
            pos =
                end + ((s[end] == QLatin1Char('\r') && end + 1 < s.size() && s[end + 1] == QLatin1Char('\n')) ? 2 : 1);
            if (pos == s.size()) {
                break;
            }
        }
    }

    // Ellipses.
    if (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
        const QString dots = QStringLiteral("...");
        for (auto& l : lines) {
            if (l.width <= boxWidth) continue;
            QString t = l.text;
            if (flags & DT_PATH_ELLIPSIS) {
                t = fm.elidedText(t, Qt::ElideMiddle, boxWidth);
                t.replace(QChar(0x2026), dots);
            } else {
                if (flags & DT_WORD_ELLIPSIS) {
                    while (!t.isEmpty() && width(t + dots) > boxWidth) {
                        const qsizetype sp = t.lastIndexOf(QLatin1Char(' '));
                        t.truncate(sp < 0 ? 0 : sp);
                    }
                } else {
                    // Longest prefix that fits with the dots.
                    qsizetype lo = 0, hi = t.size();
                    while (lo < hi) {
                        const qsizetype mid = (lo + hi + 1) / 2;
                        if (width(t.left(mid) + dots) <= boxWidth)
                            lo = mid;
                        else
                            hi = mid - 1;
                    }
                    t.truncate(lo);
                }
                t += dots;
            }
            l.text = t;
            l.width = width(t);
            if (l.underline >= int(t.size()) - 3) l.underline = -1;
        }
    }

    int maxWidth = 0;
    for (const auto& l : lines) maxWidth = std::max(maxWidth, l.width);
    const int total = int(lines.size()) * lineHeight;

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + maxWidth;
        r.Bottom = r.Top + total;
        return total;
    }

    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lineHeight;
    }
    QPainter* p = forText();
    if (!p) return (flags & (DT_VCENTER | DT_BOTTOM)) && (flags & DT_SINGLELINE) ? y - r.Top + total : total;
    const bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        pushClip();
        IntersectClipRect(r);
    }
    const unsigned savedAlign = FTextAlign;
    FTextAlign = TA_LEFT | TA_TOP;
    const int savedOrientation = FFont.Orientation();
    for (const auto& l : lines) {
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - l.width) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - l.width;
        if (!l.text.isEmpty()) {
            if (FBkMode == OPAQUE) p->fillRect(QRect(x, y, l.width, e.tm.Height), ToQColor(FBkColor));
            if (expandTabs && l.text.contains(QLatin1Char('\t'))) {
                int cx = 0;
                qsizetype start = 0;
                for (;;) {
                    const qsizetype tab = l.text.indexOf(QLatin1Char('\t'), start);
                    const QString part = l.text.mid(start, tab < 0 ? -1 : tab - start);
                    drawString(p, e, x + cx, y + e.tm.Ascent, part, extra);
                    cx += measureText(e, part, extra);
                    if (tab < 0) break;
                    cx = (cx / tabWidth + 1) * tabWidth;
                    start = tab + 1;
                }
            } else {
                drawString(p, e, x, y + e.tm.Ascent, l.text, extra);
            }
            if (l.underline >= 0) {
                const int ux = x + measureText(e, l.text.left(l.underline), extra);
                const int uw = measureText(e, l.text.mid(l.underline, 1), 0);
                p->fillRect(QRect(ux, y + e.tm.Ascent + 1, uw, 1), ToQColor(FFont.Color()));
            }
        }
        y += lineHeight;
    }
    (void)savedOrientation;
    FTextAlign = savedAlign;
    if (clip) PopClip();
    return total;
}

// ---- clipping ---------------------------------------------------------------

void TCanvas::applyClip() {
    QPainter* p = d->painter;
    if (!p) return;
    const ClipState& c = d->current;
    if (!c.enabled)
        p->setClipping(false);
    else if (c.isPath)
        p->setClipPath(c.path);
    else
        p->setClipRegion(c.region);
}

void TCanvas::pushClip() {
    d->stack.push_back(d->current);
}

void TCanvas::intersectClip(const QPainterPath& shape) {
    ClipState& c = d->current;
    if (!c.enabled) {
        c.enabled = true;
        c.isPath = true;
        c.path = shape;
    } else if (c.isPath) {
        c.path = c.path.intersected(shape);
    } else {
        QPainterPath rp;
        rp.addRegion(c.region);
        c.path = rp.intersected(shape);
        c.isPath = true;
        c.region = QRegion();
    }
    applyClip();
}

void TCanvas::PushClipRect(const TRect& r) {
    pushClip();
    IntersectClipRect(r);
}

void TCanvas::IntersectClipRect(const TRect& r0) {
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    ClipState& c = d->current;
    if (!c.enabled) {
        c.enabled = true;
        c.isPath = false;
        c.region = QRegion(qrect(r));
        applyClip();
    } else if (!c.isPath) {
        c.region &= qrect(r);
        applyClip();
    } else {
        QPainterPath rp;
        rp.addRect(qrect(r));
        intersectClip(rp);
    }
}

void TCanvas::ExcludeClipRect(const TRect& r0) {
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    ClipState& c = d->current;
    if (!c.enabled) {
        c.enabled = true;
        c.isPath = false;
        c.region = QRegion(kHuge) - QRegion(qrect(r));
    } else if (!c.isPath) {
        c.region -= QRegion(qrect(r));
    } else {
        QPainterPath rp;
        rp.addRect(qrect(r));
        c.path = c.path.subtracted(rp);
    }
    applyClip();
}

void TCanvas::PushClipRoundRect(const TRect& r, int cw, int ch) {
    pushClip();
    QPainterPath p;
    p.addRoundedRect(QRectF(qrect(r)), cw / 2.0, ch / 2.0);
    intersectClip(p);
}

void TCanvas::PushClipEllipse(const TRect& r) {
    pushClip();
    QPainterPath p;
    p.addEllipse(QRectF(qrect(r)));
    intersectClip(p);
}

void TCanvas::PushClipPolygon(std::span<const TPoint> pts) {
    pushClip();
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    if (!pts.empty()) {
        addPolyline(p, pts);
        p.closeSubpath();
    }
    intersectClip(p);
}

void TCanvas::PopClip() {
    if (d->stack.empty()) return;
    d->current = std::move(d->stack.back());
    d->stack.pop_back();
    applyClip();
}

int TCanvas::ClipDepth() const {
    return int(d->stack.size());
}

bool TCanvas::IsClipped() const {
    return d->current.enabled;
}

TRect TCanvas::ClipRect() const {
    const TSize size = DeviceSize();
    QRect dev(0, 0, size.cx, size.cy);
    if (FLogical && DeviceScale() != 1.0) dev = QRect(0, 0, int(size.cx / DeviceScale()), int(size.cy / DeviceScale()));
    QRect b = dev;
    const ClipState& c = d->current;
    if (c.enabled) b = (c.isPath ? c.path.boundingRect().toAlignedRect() : c.region.boundingRect()) & dev;
    return {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

// ---- pixels and pictures ------------------------------------------------------

TColor TCanvas::Pixel(int x, int y) {
    ensurePainter();
    QImage* img = RasterImage();
    if (!img) return clNone;
    QPoint pt(x, y);
    if (d->painter) pt = d->painter->deviceTransform().map(pt);
    if (!img->valid(pt)) return clNone;
    if (d->current.enabled) {
        const bool inside = d->current.isPath ? d->current.path.contains(QPointF(x + 0.5, y + 0.5))
                                              : d->current.region.contains(QPoint(x, y));
        if (!inside) return clNone;
    }
    const QRgb v = img->pixel(pt);
    return RGB(qRed(v), qGreen(v), qBlue(v));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
    QPainter* p = ensurePainter();
    if (!p) return;
    if (d->comp != QPainter::CompositionMode_Source) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        d->comp = QPainter::CompositionMode_Source;
    }
    p->fillRect(QRect(x, y, 1, 1), ToQColor(c));
}

void TCanvas::Draw(int x, int y, const TGraphic& g) {
    if (g.Empty()) return;
    g.Draw(*this, Bounds(x, y, g.Width(), g.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& g) {
    if (g.Empty()) return;
    g.Draw(*this, r);
}

namespace {

QImage keyed(const QImage& src, TColor transparent) {
    QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const TColor rgb = ColorToRGB(transparent) & 0xFFFFFF;
    const QRgb key = qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)) & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((row[x] & 0xFFFFFF) == key) row[x] = 0;
    }
    return img;
}

}  // namespace

void TCanvas::DrawTransparent(int x, int y, const TBitmap& b, TColor transparent) {
    StretchDrawTransparent(Bounds(x, y, b.Width(), b.Height()), b, transparent);
}

void TCanvas::StretchDrawTransparent(const TRect& r, const TBitmap& b, TColor transparent) {
    if (b.Empty()) return;
    const QImage img = keyed(b.Image(), transparent);
    DrawImage(r, img, Rect(0, 0, b.Width(), b.Height()));
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const TRect& source) {
    QPainter* p = ensurePainter();
    if (!p || dest.IsEmpty() || image.isNull()) return;
    const QPainter::CompositionMode comp = copyComposition(FCopyMode);
    if (d->comp != comp) {
        p->setCompositionMode(comp);
        d->comp = comp;
    }
    p->drawImage(qrect(dest), image, qrect(source));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    source.ensurePainter();
    QImage* img = source.RasterImage();
    if (!img || sourceRect.IsEmpty()) return;
    QRect sr = qrect(sourceRect);
    if (source.d->painter) sr = source.d->painter->deviceTransform().mapRect(sr);
    // A copy, so that source and destination may be the same image.
    const QImage piece = img->copy(sr);
    DrawImage(dest, piece, Rect(0, 0, piece.width(), piece.height()));
}

}  // namespace cb::gfx
