// The canvas: device, pen, brush and font state, lines, shapes, paths and pixels.
#include "platform/gfx/Canvas.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/CanvasState.h"
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

using namespace canvas_detail;

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
    flushBatch();
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
    flushBatch();
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
    if (!d->batch.Items.empty() && !d->batchHold) flushBatch();
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
    if (!d->batch.Items.empty() && !d->batchHold) flushBatch();
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
    flushBatch();
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
    if (!d->inPath && pts.size() >= 3 && pts.size() <= 16) {
        // A held polygon leaves the batch alone.
        d->batchHold = d->batch.Depth > 0;
        QPainter* p = forShape(true, true);
        const bool done = p && directPolygon(p, pts);
        d->batchHold = false;
        if (!p || done) return;
    }
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
    // A plain one-pixel frame is four pixel rows filled directly.
    if (FPen.Width() <= 1 && FPen.Style() == psSolid) {
        const TPoint a{r.Left, r.Top}, b{r.Right - 1, r.Top}, c{r.Right - 1, r.Bottom - 1}, e{r.Left, r.Bottom - 1};
        if (r.Width() == 1 && solidLine(a, {r.Left, r.Bottom})) return;
        if (r.Height() == 1 && solidLine(a, {r.Right, r.Top})) return;
        if (r.Width() > 1 && r.Height() > 1 && solidLine(a, b)) {
            solidLine(b, c);
            solidLine(c, e);
            solidLine(e, a);
            return;
        }
    }
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
    if (!IsWritableRaster(img)) return false;
    if (p->hasClipping() || p->opacity() != 1.0 || p->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    int dx = 0, dy = 0;
    if (!WholePixelOffset(p->worldTransform(), dx, dy)) return false;
    const QRect area = QRect(r.Left + dx, r.Top + dy, r.Width(), r.Height()) & img->rect();
    if (area.isEmpty()) return true;
    const quint32 value = OpaquePixel(c);
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
