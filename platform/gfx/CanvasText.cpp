// The canvas: text output, measuring and DrawText layout.
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
    // Printable ASCII straight from the glyph tables, without a QString.
    int w = 0;
    if (FCharExtra == 0 && e.SimpleLayout(text, nullptr, nullptr, w)) return {w, e.tm.Height};
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

}  // namespace cb::gfx
