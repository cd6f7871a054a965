#include "chart/style/PlotGradient.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Canvas.h"

#include "platform/rtl/Property.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TCustomPlotGradient::TCustomPlotGradient(TChangeEvent onChange) : OnChange(std::move(onChange)) {}

void TCustomPlotGradient::Changed() {
    if (OnChange) OnChange();
}

void TCustomPlotGradient::SetBalance(int v) {
    cb::rtl::SetProperty(FBalance, v, OnChange);
}

void TCustomPlotGradient::SetDirection(TGradientDirection v) {
    cb::rtl::SetProperty(FDirection, v, OnChange);
}

void TCustomPlotGradient::SetEndColor(TColor v) {
    cb::rtl::SetProperty(FEndColor, v, OnChange);
}

void TCustomPlotGradient::SetRadialX(int v) {
    cb::rtl::SetProperty(FRadialX, v, OnChange);
}

void TCustomPlotGradient::SetRadialY(int v) {
    cb::rtl::SetProperty(FRadialY, v, OnChange);
}

void TCustomPlotGradient::SetStartColor(TColor v) {
    cb::rtl::SetProperty(FStartColor, v, OnChange);
}

void TCustomPlotGradient::SetVisible(bool v) {
    cb::rtl::SetProperty(FVisible, v, OnChange);
}

void TCustomPlotGradient::SetMidColor(TColor c) {
    if (c == clNone) {
        if (FHasMidColor) {
            FHasMidColor = false;
            Changed();
        }
        return;
    }
    if (!FHasMidColor || FMidColor != c) {
        FMidColor = c;
        FHasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::EnableMidColor() {
    if (!FHasMidColor) {
        FHasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& s) {
    FBalance = s.FBalance;
    FDirection = s.FDirection;
    FEndColor = s.FEndColor;
    FMidColor = s.FMidColor;
    FRadialX = s.FRadialX;
    FRadialY = s.FRadialY;
    FStartColor = s.FStartColor;
    FVisible = s.FVisible;
    FHasMidColor = s.FHasMidColor;
}

void TPlotFontGradient::SetOutline(bool v) {
    cb::rtl::SetProperty(FOutline, v, [this] { Changed(); });
}

void TPlotFontGradient::Assign(const TCustomPlotGradient& source) {
    TCustomPlotGradient::Assign(source);
    if (auto* f = dynamic_cast<const TPlotFontGradient*>(&source)) FOutline = f->FOutline;
}

void TCustomPlotGradient::Draw(TPlotCanvas& canvas, const TRect& rect, int cornerSize) const {
    const bool mono = canvas.IsMonochrome();
    auto conv = [mono](TColor c) { return mono ? ColorToGray(c) : c; };
    const TColor start = conv(FStartColor);
    const TColor end = conv(FEndColor);
    const TColor mid = conv(FMidColor);
    if (cornerSize > 0) canvas.ClipToRoundRect(rect, cornerSize);
    const TRect& r = rect;
    const int cx = (r.Left + r.Right) / 2;
    const int cy = (r.Top + r.Bottom) / 2;
    if (FDirection == gdRadial) {
        DrawRadial(canvas, r);
    } else if (FHasMidColor && FDirection != gdDiagonalUp && FDirection != gdDiagonalDown &&
               FDirection != gdFromCenter && FDirection != gdFromTopLeft && FDirection != gdFromBottomLeft) {
        switch (FDirection) {
        case gdTopBottom:
            canvas.FillGradient({r.Left, r.Top, r.Right, cy}, mid, end, FDirection, 50);
            canvas.FillGradient({r.Left, cy, r.Right, r.Bottom}, start, mid, FDirection, 50);
            break;
        case gdBottomTop:
            canvas.FillGradient({r.Left, r.Top, r.Right, cy}, start, mid, FDirection, 50);
            canvas.FillGradient({r.Left, cy, r.Right, r.Bottom}, mid, end, FDirection, 50);
            break;
        case gdLeftRight:
            canvas.FillGradient({r.Left, r.Top, cx, r.Bottom}, mid, end, FDirection, 50);
            canvas.FillGradient({cx, r.Top, r.Right, r.Bottom}, start, mid, FDirection, 50);
            break;
        case gdRightLeft:
            canvas.FillGradient({r.Left, r.Top, cx, r.Bottom}, start, mid, FDirection, 50);
            canvas.FillGradient({cx, r.Top, r.Right, r.Bottom}, mid, end, FDirection, 50);
            break;
        default:
            break;
        }
    } else {
        const bool corner = FDirection == gdFromCenter || FDirection == gdFromTopLeft || FDirection == gdFromBottomLeft;
        canvas.FillGradient(r, start, end, FDirection, corner ? 50 : FBalance);
    }
    if (cornerSize > 0) canvas.RemoveClip();
}

void TCustomPlotGradient::DrawRadial(TPlotCanvas& canvas, const TRect& rect) const {
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
    brush.SetColor(FEndColor);
    brush.SetStyle(cb::gfx::bsSolid);
    canvas.FillRectangle(r);
    const TColor s = ColorToRGB(FStartColor);
    const TColor e = ColorToRGB(FEndColor);
    const int sr = GetRValue(s), sg = GetGValue(s), sb = GetBValue(s);
    const int dr = GetRValue(e) - sr, dg = GetGValue(e) - sg, db = GetBValue(e) - sb;
    const double cxm = FRadialX + 1 + (r.Left + r.Right) * 0.5;
    const double cym = FRadialY + 1 + (r.Top + r.Bottom) * 0.5;
    auto clampByte = [](int v) { return std::clamp(v, 0, 255); };
    for (int n = m; n >= 0; --n) {
        TColor c;
        if (FBalance == 50) {
            c = RGBColor(clampByte(sr + Round(dr * k * n)), clampByte(sg + Round(dg * k * n)),
                         clampByte(sb + Round(db * k * n)));
        } else {
            const double f = std::pow(double(n + 1) / (m + 1), FBalance * 0.015 + 0.5);
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

void TCustomPlotGradient::DrawPolygon(TPlotCanvas& canvas, const TPoint points[4]) const {
    canvas.ClipToPolygon(std::span<const TPoint>(points, 4));
    Draw(canvas, PolygonBounds(points, 4));
    canvas.RemoveClip();
}

void TCustomPlotGradient::DrawPolygon(TCanvas3D& canvas, const TPoint points[4], int z) const {
    TPoint p[4];
    for (int i = 0; i < 4; ++i) p[i] = canvas.ProjectToPoint(points[i].X, points[i].Y, z);
    DrawPolygon(static_cast<TPlotCanvas&>(canvas), p);
}

}  // namespace cb::chart
