#include "chart/canvas/StylePaint.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace cb::chart {

void PaintGradient(TPlotCanvas& canvas, const TCustomPlotGradient& g, const TRect& rect, int cornerSize) {
    const bool mono = canvas.IsMonochrome();
    auto conv = [mono](TColor c) { return mono ? ColorToGray(c) : c; };
    const TColor start = conv(g.StartColor());
    const TColor end = conv(g.EndColor());
    const TColor mid = conv(g.MidColor());
    if (cornerSize > 0) canvas.ClipToRoundRect(rect, cornerSize);
    const TRect& r = rect;
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    if (g.Direction() == gdRadial) {
        PaintRadialGradient(canvas, g, r);
    } else if (g.HasMidColor() && g.Direction() != gdDiagonalUp && g.Direction() != gdDiagonalDown &&
               g.Direction() != gdFromCenter && g.Direction() != gdFromTopLeft && g.Direction() != gdFromBottomLeft) {
        switch (g.Direction()) {
        case gdTopBottom:
            canvas.FillGradient({r.Left, r.Top, r.Right, cy}, mid, end, g.Direction(), 50);
            canvas.FillGradient({r.Left, cy, r.Right, r.Bottom}, start, mid, g.Direction(), 50);
            break;
        case gdBottomTop:
            canvas.FillGradient({r.Left, r.Top, r.Right, cy}, start, mid, g.Direction(), 50);
            canvas.FillGradient({r.Left, cy, r.Right, r.Bottom}, mid, end, g.Direction(), 50);
            break;
        case gdLeftRight:
            canvas.FillGradient({r.Left, r.Top, cx, r.Bottom}, mid, end, g.Direction(), 50);
            canvas.FillGradient({cx, r.Top, r.Right, r.Bottom}, start, mid, g.Direction(), 50);
            break;
        case gdRightLeft:
            canvas.FillGradient({r.Left, r.Top, cx, r.Bottom}, start, mid, g.Direction(), 50);
            canvas.FillGradient({cx, r.Top, r.Right, r.Bottom}, mid, end, g.Direction(), 50);
            break;
        default:
            break;
        }
    } else {
        const bool corner = g.Direction() == gdFromCenter || g.Direction() == gdFromTopLeft || g.Direction() == gdFromBottomLeft;
        canvas.FillGradient(r, start, end, g.Direction(), corner ? 50 : g.Balance());
    }
    if (cornerSize > 0) canvas.RemoveClip();
}

void PaintRadialGradient(TPlotCanvas& canvas, const TCustomPlotGradient& g, const TRect& rect) {
    const TRect r = NormalizeRect(rect);
    const int w = r.Width();
    const int h = r.Height();
    if (w <= 0 || h <= 0) return;
    canvas.ClipToRect(r);
    const int A = std::min(255, std::max(w, h));
    const double k = 1.0 / A;
    const int m = (w % 2 != 0 || h % 2 != 0) ? A - 1 : A;
    cb::gfx::TPen& pen = canvas.Pen();
    const cb::gfx::TPenStyle ps = pen.Style();
    pen.SetStyle(cb::gfx::psClear);
    cb::gfx::TBrush& brush = canvas.Brush();
    const TColor bc = brush.Color();
    const cb::gfx::TBrushStyle bs = brush.Style();
    brush.SetColor(g.EndColor());
    brush.SetStyle(cb::gfx::bsSolid);
    canvas.FillRectangle(r);
    const TColor s = ColorToRGB(g.StartColor());
    const TColor e = ColorToRGB(g.EndColor());
    const int sr = GetRValue(s), sg = GetGValue(s), sb = GetBValue(s);
    const int dr = GetRValue(e) - sr, dg = GetGValue(e) - sg, db = GetBValue(e) - sb;
    const double cxm = g.RadialX() + 1 + (r.Left + r.Right) * 0.5;
    const double cym = g.RadialY() + 1 + (r.Top + r.Bottom) * 0.5;
    auto clampByte = [](int v) { return std::clamp(v, 0, 255); };
    for (int n = m; n >= 0; --n) {
        TColor c;
        if (g.Balance() == 50) {
            c = RGBColor(clampByte(sr + Round(dr * k * n)), clampByte(sg + Round(dg * k * n)),
                         clampByte(sb + Round(db * k * n)));
        } else {
            const double f = std::pow(double(n + 1) / (m + 1), g.Balance() * 0.015 + 0.5);
            c = RGBColor(clampByte(sr + Round(dr * f)), clampByte(sg + Round(dg * f)), clampByte(sb + Round(db * f)));
        }
        brush.SetColor(c);
        const double hx = k * w * 0.5 * n;
        const double hy = k * h * 0.5 * n;
        canvas.DrawEllipse(Round(cxm - hx), Round(cym - hy), Round(cxm + hx), Round(cym + hy));
    }
    brush.SetColor(bc);
    brush.SetStyle(bs);
    pen.SetStyle(ps);
    canvas.RemoveClip();
}

void PaintGradientQuad(TPlotCanvas& canvas, const TCustomPlotGradient& g, const TPoint points[4]) {
    canvas.ClipToPolygon(std::span<const TPoint>(points, 4));
    PaintGradient(canvas, g, PolygonBounds(points, 4));
    canvas.RemoveClip();
}

void PaintGradientQuad(TCanvas3D& canvas, const TCustomPlotGradient& g, const TPoint points[4], int z) {
    TPoint p[4];
    for (int i = 0; i < 4; ++i) p[i] = canvas.ProjectToPoint(points[i].X, points[i].Y, z);
    PaintGradientQuad(static_cast<TPlotCanvas&>(canvas), g, p);
}

namespace {

bool PrepareShadow(TCanvas3D& canvas, const TPlotShadow& s, const TRect& r, int z, TPlotBlend*& blend) {
    blend = nullptr;
    if (s.Color() == clNone || (s.HorizSize() == 0 && s.VertSize() == 0)) return false;
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetColor(s.Color());
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Pen().SetStyle(cb::gfx::psClear);
    if (s.Transparency() > 0) {
        TRect moved = r;
        cb::gfx::OffsetRect(moved, s.HorizSize(), s.VertSize());
        blend = canvas.BeginTransparency(canvas.ProjectedBounds(moved, z), s.Transparency()).release();
    }
    return true;
}

}  // namespace

void PaintShadow(TCanvas3D& canvas, const TPlotShadow& s, const TRect& r, int z) {
    TPlotBlend* blendRaw = nullptr;
    if (!PrepareShadow(canvas, s, r, z, blendRaw)) return;
    std::unique_ptr<TPlotBlend> blend(blendRaw);
    const bool flat = canvas.RotationLockCount() > 0;
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (flat)
            canvas.DrawLine(x0, y0, x1, y1);
        else
            canvas.DrawLineAtDepth(x0, y0, x1, y1, z);
    };
    auto pixel = [&](int x, int y, TColor c) {
        if (flat)
            canvas.PutPixel(x, y, c);
        else
            canvas.PutPixelAtDepth(x, y, z, c);
    };
    auto rect = [&](int l, int t, int rr, int b) {
        if (flat)
            canvas.DrawRect(l, t, rr, b);
        else
            canvas.DrawRectAtDepth({l, t, rr, b}, z);
    };
    const TColor rgb = ColorToRGB(s.Color());
    const double grey = 255 - (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
    if (s.Smooth() && s.Size() > 1) {
        cb::gfx::TPen& pen = canvas.Pen();
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetWidth(1);
        if (s.VertSize() != 0) {
            TColor c = rgb;
            const int step = Round(grey / s.VertSize());
            for (int i = 1; i <= s.VertSize(); ++i) {
                pen.SetColor(c);
                line(r.Left + s.HorizSize(), r.Bottom + i - 1, r.Right + s.HorizSize() + i - s.VertSize() - 1, r.Bottom + i - 1);
                c = LightenColor(c, step);
            }
        }
        if (s.HorizSize() != 0) {
            TColor c = rgb;
            const int step = Round(grey / s.HorizSize());
            for (int i = 0; i < s.HorizSize(); ++i) {
                pen.SetColor(c);
                line(r.Right + i, r.Top + s.VertSize(), r.Right + i, r.Bottom + i + s.VertSize() - s.HorizSize());
                pixel(r.Right + i - 1, r.Bottom + i + s.VertSize() - s.HorizSize() - 1, c);
                c = LightenColor(c, step);
            }
        }
    } else {
        rect(r.Left + s.HorizSize(), r.Bottom, r.Right + s.HorizSize(), r.Bottom + s.VertSize());
        rect(r.Right, r.Top + s.VertSize(), r.Right + s.HorizSize(), r.Bottom + s.VertSize());
    }
    if (blend) canvas.EndTransparency(std::move(blend));
}

void PaintShadowEllipse(TCanvas3D& canvas, const TPlotShadow& s, const TRect& r, int z) {
    TPlotBlend* blendRaw = nullptr;
    if (!PrepareShadow(canvas, s, r, z, blendRaw)) return;
    std::unique_ptr<TPlotBlend> blend(blendRaw);
    TRect moved = r;
    cb::gfx::OffsetRect(moved, s.HorizSize(), s.VertSize());
    if (s.Smooth()) {
        const TRect p = canvas.ProjectRect(moved, z);
        canvas.ClipToEllipse(p);
        TCustomPlotGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(DarkenColor(s.Color(), 128));
        g.SetEndColor(LightenColor(s.Color(), 32));
        PaintRadialGradient(canvas, g, p);
        canvas.RemoveClip();
    } else {
        canvas.DrawEllipseAtDepth(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
    }
    if (blend) canvas.EndTransparency(std::move(blend));
}

}  // namespace cb::chart
