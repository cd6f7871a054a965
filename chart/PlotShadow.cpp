#include "chart/PlotShadow.h"

#include "chart/Canvas3D.h"
#include "chart/PlotBlend.h"
#include "chart/PlotGeometry.h"
#include "chart/PlotGradient.h"

#include <algorithm>

namespace cb::chart {

TPlotShadow::TPlotShadow(TChangeEvent onChange) : OnChange(std::move(onChange)) {}

void TPlotShadow::Changed()
{
    if (OnChange)
        OnChange();
}

#define CB_SHADOW_SETTER(Name, field, Type) \
    void TPlotShadow::Set##Name(Type v)     \
    {                                       \
        if (field != v) {                   \
            field = v;                      \
            Changed();                      \
        }                                   \
    }
CB_SHADOW_SETTER(Color, fColor, TColor)
CB_SHADOW_SETTER(HorizSize, fHorizSize, int)
CB_SHADOW_SETTER(VertSize, fVertSize, int)
CB_SHADOW_SETTER(Smooth, fSmooth, bool)
#undef CB_SHADOW_SETTER

void TPlotShadow::SetTransparency(int v)
{
    v = std::clamp(v, 0, 100);
    if (fTransparency != v) {
        fTransparency = v;
        Changed();
    }
}

int TPlotShadow::Size() const { return std::max(fHorizSize, fVertSize); }

void TPlotShadow::SetSize(int v)
{
    if (fHorizSize != v || fVertSize != v) {
        fHorizSize = v;
        fVertSize = v;
        Changed();
    }
}

void TPlotShadow::Assign(const TPlotShadow& s)
{
    fColor = s.fColor;
    fHorizSize = s.fHorizSize;
    fVertSize = s.fVertSize;
    fSmooth = s.fSmooth;
    fTransparency = s.fTransparency;
}

bool TPlotShadow::Prepare(TCanvas3D& canvas, const TRect& r, int z, TPlotBlend*& blend) const
{
    blend = nullptr;
    if (fColor == clNone || (fHorizSize == 0 && fVertSize == 0))
        return false;
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetColor(fColor);
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Pen().SetStyle(cb::gfx::psClear);
    if (fTransparency > 0) {
        TRect moved = r;
        cb::gfx::OffsetRect(moved, fHorizSize, fVertSize);
        blend = canvas.BeginTransparency(canvas.ProjectedBounds(moved, z), fTransparency).release();
    }
    return true;
}

void TPlotShadow::Draw(TCanvas3D& canvas, const TRect& r, int z) const
{
    TPlotBlend* blendRaw = nullptr;
    if (!Prepare(canvas, r, z, blendRaw))
        return;
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
    const TColor rgb = ColorToRGB(fColor);
    const double grey = 255 - (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
    if (fSmooth && Size() > 1) {
        cb::gfx::TPen& pen = canvas.Pen();
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetWidth(1);
        if (fVertSize != 0) {
            TColor c = rgb;
            const int step = Round(grey / fVertSize);
            for (int i = 1; i <= fVertSize; ++i) {
                pen.SetColor(c);
                line(r.Left + fHorizSize, r.Bottom + i - 1, r.Right + fHorizSize + i - fVertSize - 1, r.Bottom + i - 1);
                c = LightenColor(c, step);
            }
        }
        if (fHorizSize != 0) {
            TColor c = rgb;
            const int step = Round(grey / fHorizSize);
            for (int i = 0; i < fHorizSize; ++i) {
                pen.SetColor(c);
                line(r.Right + i, r.Top + fVertSize, r.Right + i, r.Bottom + i + fVertSize - fHorizSize);
                pixel(r.Right + i - 1, r.Bottom + i + fVertSize - fHorizSize - 1, c);
                c = LightenColor(c, step);
            }
        }
    } else {
        rect(r.Left + fHorizSize, r.Bottom, r.Right + fHorizSize, r.Bottom + fVertSize);
        rect(r.Right, r.Top + fVertSize, r.Right + fHorizSize, r.Bottom + fVertSize);
    }
    if (blend)
        canvas.EndTransparency(std::move(blend));
}

void TPlotShadow::DrawEllipse(TCanvas3D& canvas, const TRect& r, int z) const
{
    TPlotBlend* blendRaw = nullptr;
    if (!Prepare(canvas, r, z, blendRaw))
        return;
    std::unique_ptr<TPlotBlend> blend(blendRaw);
    TRect moved = r;
    cb::gfx::OffsetRect(moved, fHorizSize, fVertSize);
    if (fSmooth) {
        const TRect p = canvas.ProjectRect(moved, z);
        canvas.ClipToEllipse(p);
        TCustomPlotGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(DarkenColor(fColor, 128));
        g.SetEndColor(LightenColor(fColor, 32));
        g.DrawRadial(canvas, p);
        canvas.RemoveClip();
    } else {
        canvas.DrawEllipseAtDepth(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
    }
    if (blend)
        canvas.EndTransparency(std::move(blend));
}

} // namespace cb::chart
