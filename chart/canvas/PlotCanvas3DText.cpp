// Text output and two-colour gradient fills of the screen canvas.
#include "chart/canvas/PlotCanvas3D.h"

#include "chart/core/PlotGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/style/PlotFont.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/FontCache.h"
#include "chart/canvas/StylePaint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace cb::chart {

namespace {

TRect TextRectAt(TPlotCanvas& canvas, int x, int y, const std::string& text) {
    const int w = canvas.TextWidth(text);
    const int h = canvas.TextHeight(text);
    unsigned a = canvas.GetTextAlignment();
    if (a > 7) a -= 8;
    if (a == cb::gfx::TA_RIGHT) return {x - w, y, x, y + h};
    if (a == cb::gfx::TA_CENTER) return {x - w / 2, y, x + w / 2, y + h};
    return {x, y, x + w, y + h};
}

QColor Q(TColor c) {
    return cb::gfx::ToQColor(ColorToRGB(c));
}

}  // namespace

void TPlotCanvas3D::OutputText(int x, int y, const std::string& text) {
    TPlotFont* f = ChartFont();
    const TPlotShadow* sh = f ? f->ShadowIfAny() : nullptr;
    if (sh && (sh->HorizSize() != 0 || sh->VertSize() != 0)) {
        int sx = x, sy = y;
        if (sh->HorizSize() > 0)
            sx += sh->HorizSize();
        else
            x -= sh->HorizSize();
        if (sh->VertSize() > 0)
            sy += sh->VertSize();
        else
            y -= sh->VertSize();
        std::unique_ptr<TPlotBlend> blend;
        if (sh->Transparency() > 0) blend = BeginTransparency(TextRectAt(*this, sx, sy, text), sh->Transparency());
        const TColor keep = Font().Color();
        Font().SetColor(sh->Color());
        C().TextOut(sx, sy, text);
        Font().SetColor(keep);
        if (blend) EndTransparency(std::move(blend));
    }
    TextWithEffects(x, y, text);
}

// Plain text, or the text as a path when the chart font has a visible
// outline or gradient.
void TPlotCanvas3D::TextWithEffects(int x, int y, const std::string& text) {
    TPlotFont* f = ChartFont();
    const TChartHiddenPen* outline = f ? f->OutLineIfAny() : nullptr;
    const TPlotFontGradient* gradient = f ? f->GradientIfAny() : nullptr;
    const bool hasOutline = outline && outline->Visible();
    const bool hasGradient = gradient && gradient->Visible();
    if (!hasOutline && !hasGradient) {
        C().TextOut(x, y, text);
        return;
    }
    QPainter* p = C().Painter();
    if (!p) {
        C().TextOut(x, y, text);
        return;
    }
    const cb::gfx::TFontCacheEntry& entry = Font().CacheEntry();
    const QString qs = QString::fromStdString(text);
    const int w = C().TextWidth(text);
    const unsigned align = C().TextAlign();
    int left = x;
    if ((align & cb::gfx::TA_CENTER) == cb::gfx::TA_CENTER)
        left = x - w / 2;
    else if (align & cb::gfx::TA_RIGHT)
        left = x - w;
    int baseline = y + entry.tm.Ascent;
    if ((align & cb::gfx::TA_BASELINE) == cb::gfx::TA_BASELINE)
        baseline = y;
    else if (align & cb::gfx::TA_BOTTOM)
        baseline = y - entry.tm.Descent;
    QPainterPath path;
    path.addText(left, baseline, entry.font, qs);

    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    if (hasGradient) {
        const TRect r = TextRectAt(*this, x, y, text);
        QLinearGradient g;
        switch (gradient->Direction()) {
        case gdLeftRight:
            g = QLinearGradient(r.Right, 0, r.Left, 0);
            break;
        case gdRightLeft:
            g = QLinearGradient(r.Left, 0, r.Right, 0);
            break;
        case gdBottomTop:
            g = QLinearGradient(0, r.Top, 0, r.Bottom);
            break;
        default:
            g = QLinearGradient(0, r.Bottom, 0, r.Top);
            break;
        }
        g.setColorAt(0, Q(gradient->StartColor()));
        if (gradient->HasMidColor()) g.setColorAt(0.5, Q(gradient->MidColor()));
        g.setColorAt(1, Q(gradient->EndColor()));
        if (gradient->Outline()) {
            QPainterPathStroker stroker;
            stroker.setWidth(std::max(1, hasOutline ? outline->Width() : 1) + 1);
            p->fillPath(stroker.createStroke(path), QBrush(g));
            p->restore();
            return;
        }
        p->fillPath(path, QBrush(g));
    }
    if (hasOutline) {
        QPen pen(Q(outline->Color()));
        pen.setWidth(std::max(1, outline->Width()));
        if (!hasGradient && Font().Color() != clNone) p->fillPath(path, Q(Font().Color()));
        p->strokePath(path, pen);
    }
    p->restore();
}

void TPlotCanvas3D::OutputRotatedText(int x, int y, const std::string& text, double angle) {
    while (angle > 360) angle -= 360;
    const cb::gfx::TBrushStyle bs = Brush().Style();
    Brush().SetStyle(cb::gfx::bsClear);
    cb::gfx::TFont& f = Font();
    const int keepOrientation = f.Orientation();
    const int keepHeight = f.Height();
    f.SetOrientation(Round(angle * 10));
    if (FZoomText && FZoom != 1) f.SetSize(std::max(1, Round(f.Size() * FZoom)));
    OutputText(x, y, text);
    f.SetHeight(keepHeight);
    f.SetOrientation(keepOrientation);
    Brush().SetStyle(bs);
}

void TPlotCanvas3D::OutputTextAtDepth(int x, int y, int z, const std::string& text) {
    ProjectPoint(x, y, z);
    if (!FZoomText || FZoom == 1) {
        OutputText(x, y, text);
        return;
    }
    cb::gfx::TFont& f = Font();
    const int n = std::max(1, Round(f.Size() * FZoom));
    if (n == f.Size()) {
        OutputText(x, y, text);
        return;
    }
    const int keep = f.Height();
    f.SetSize(n);
    OutputText(x, y, text);
    f.SetHeight(keep);
}

void TPlotCanvas3D::OutputRotatedTextAtDepth(int x, int y, int z, const std::string& text, double angle) {
    ProjectPoint(x, y, z);
    OutputRotatedText(x, y, text, angle);
}

// --- gradient fills ---

void TPlotCanvas3D::FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction,
                                 int balance) {
    const TRect r = NormalizeRect(rect);
    if (direction == gdRadial) {
        TCustomPlotGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(start);
        g.SetEndColor(end);
        PaintRadialGradient(*this, g, r);
        return;
    }
    if (direction == gdBottomTop || direction == gdRightLeft || direction == gdFromCenter ||
        direction == gdFromTopLeft || direction == gdFromBottomLeft)
        std::swap(start, end);
    start = ColorToRGB(start);
    end = ColorToRGB(end);
    const int r0 = GetRValue(start), g0 = GetGValue(start), b0 = GetBValue(start);
    const int dr = GetRValue(end) - r0, dg = GetGValue(end) - g0, db = GetBValue(end) - b0;
    auto colorOf = [&](int s, int N) -> TColor {
        if (N <= 0) return start;
        if (balance == 50) return RGBColor(s * dr / N + r0, s * dg / N + g0, s * db / N + b0);
        const double f = std::pow(double(s + 1) / (N + 1), balance * 0.015 + 0.5);
        return RGBColor(Round(dr * f) + r0, Round(dg * f) + g0, Round(db * f) + b0);
    };
    const int w = r.Width();
    const int h = r.Height();
    cb::gfx::TBrush& brush = Brush();
    const TColor keepColor = brush.Color();
    const cb::gfx::TBrushStyle keepStyle = brush.Style();
    cb::gfx::TBitmap* keepBitmap = brush.Bitmap();
    brush.SetBitmap(nullptr);
    auto fill = [&](const TRect& band, TColor c) {
        brush.SetColor(c);
        brush.SetStyle(cb::gfx::bsSolid);
        C().FillRect(band);
    };

    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const int a = vertical ? h : w;
        const int N = std::min(a, 256);
        if (N - 1 <= 0) break;
        for (int s = 0; s < N; ++s) {
            const int o0 = int((long long)a * s / N);
            const int o1 = int((long long)a * (s + 1) / N);
            if (o1 <= o0) continue;
            const TColor c = colorOf(s, N - 1);
            if (vertical)
                fill({r.Left, r.Bottom - o1, r.Right, r.Bottom - o0}, c);
            else
                fill({r.Right - o1, r.Top, r.Right - o0, r.Bottom}, c);
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        const bool fromTop = direction == gdFromTopLeft;
        const int N = w + h;
        if (N <= 0) break;
        // Each step s covers the L-shaped ring at distance s from the corner.
        for (int s = 0; s < N; ++s) {
            const TColor c = colorOf(s, N);
            const int i = std::min(s, w - 1);
            const int j = std::min(s, h - 1);
            if (s < w) {
                // column at x = left + s, rows 0..min(s, h - 1)
                if (fromTop)
                    fill({r.Left + s, r.Top, r.Left + s + 1, r.Top + j + 1}, c);
                else
                    fill({r.Left + s, r.Bottom - j - 1, r.Left + s + 1, r.Bottom}, c);
            }
            if (s < h) {
                // row at distance s, columns 0..min(s, w - 1) (the column above drew its end)
                const int cols = (s < w) ? s : i + 1;
                if (cols > 0) {
                    if (fromTop)
                        fill({r.Left, r.Top + s, r.Left + cols, r.Top + s + 1}, c);
                    else
                        fill({r.Left, r.Bottom - s - 1, r.Left + cols, r.Bottom - s}, c);
                }
            }
        }
        break;
    }
    case gdFromCenter: {
        const int a = w / 2, b = h / 2;
        const int N = a + b;
        int u = 0, v = 0;
        for (;;) {
            const TColor c = colorOf(u + v, N);
            fill({r.Left + v, r.Top + u, r.Left + v + 1, r.Top + u + std::max(0, h - 2 * u)}, c);
            fill({r.Right - v - 1, r.Top + u, r.Right - v, r.Top + u + std::max(0, h - 2 * u)}, c);
            fill({r.Left + v, r.Top + u, r.Left + v + std::max(0, w - 2 * v), r.Top + u + 1}, c);
            fill({r.Left + v, r.Bottom - u - 1, r.Left + v + std::max(0, w - 2 * v), r.Bottom - u}, c);
            const bool moreU = u < b, moreV = v < a;
            if (!moreU && !moreV) break;
            if (moreU) ++u;
            if (moreV) ++v;
        }
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
        const bool up = direction == gdDiagonalUp;
        const int n = w + h;
        if (n <= 1) break;
        const int N = std::min(255, n - 1);
        cb::gfx::TPen& pen = Pen();
        const TColor pc = pen.Color();
        const int pw = pen.Width();
        const cb::gfx::TPenStyle ps = pen.Style();
        const cb::gfx::TPenMode pm = pen.Mode();
        pen.SetWidth(1);
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetMode(cb::gfx::pmCopy);
        // a walks along the bottom (up) or top (down) edge then the right
        // edge; b walks the left edge then the top (up) or bottom (down) edge.
        TPoint a = up ? TPoint{r.Left, r.Bottom} : TPoint{r.Left, r.Top};
        TPoint b = a;
        for (int k = 0; k < n; ++k) {
            pen.SetColor(colorOf(int((long long)k * N / n), N));
            DrawLineBetween(a, b);
            if (a.X < r.Right)
                ++a.X;
            else
                a.Y += up ? -1 : 1;
            if (up ? b.Y > r.Top : b.Y < r.Bottom)
                b.Y += up ? -1 : 1;
            else
                ++b.X;
        }
        pen.SetColor(pc);
        pen.SetWidth(pw);
        pen.SetStyle(ps);
        pen.SetMode(pm);
        break;
    }
    default:
        break;
    }
    brush.SetBitmap(keepBitmap);
    brush.SetColor(keepColor);
    brush.SetStyle(keepStyle);
}

}  // namespace cb::chart
