// The canvas: the nested clip stack.
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
    flushBatch();
    d->stack.push_back(d->current);
}

void TCanvas::intersectClip(const QPainterPath& shape) {
    flushBatch();
    ClipState& c = d->current;
    c.convex.clear();
    c.spans.clear();
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
    flushBatch();
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    ClipState& c = d->current;
    if (!c.convex.empty()) {
        // Still the convex polygon, within a smaller rectangle.
        std::vector<TPoint> convex = std::move(c.convex);
        QRect bound = c.bound & qrect(r);
        QPainterPath rp;
        rp.addRect(qrect(r));
        intersectClip(rp);
        c.convex = std::move(convex);
        c.bound = bound;
        c.spans.clear();
        return;
    }
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
    flushBatch();
    const TRect r = normalized(r0.Left, r0.Top, r0.Right, r0.Bottom);
    ClipState& c = d->current;
    c.convex.clear();
    c.spans.clear();
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
    // Unclipped or clipped to one rectangle: a convex polygon stays simple.
    ClipState& c = d->current;
    QRect bound;
    bool simple = false;
    if (!c.enabled) {
        bound = kHuge;
        simple = true;
    } else if (!c.isPath && c.region.rectCount() == 1) {
        bound = c.region.boundingRect();
        simple = true;
    }
    QPainterPath p;
    p.setFillRule(Qt::OddEvenFill);
    if (!pts.empty()) {
        addPolyline(p, pts);
        p.closeSubpath();
    }
    intersectClip(p);
    if (simple && pts.size() <= 16 && IsConvexPolygon(pts, false)) {
        c.convex.assign(pts.begin(), pts.end());
        c.bound = bound;
        c.spans.clear();
    }
}

void TCanvas::PopClip() {
    if (d->stack.empty()) return;
    flushBatch();
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

}  // namespace cb::gfx
