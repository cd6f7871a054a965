#include "chart/style/PlotShadow.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/style/PlotBlend.h"
#include "chart/style/PlotGradient.h"

#include "platform/rtl/Property.h"

#include <algorithm>

namespace cb::chart {

TPlotShadow::TPlotShadow(TChangeEvent onChange) : OnChange(std::move(onChange)) {}

void TPlotShadow::Changed() {
    if (OnChange) OnChange();
}

void TPlotShadow::SetColor(TColor v) {
    cb::rtl::SetProperty(FColor, v, OnChange);
}

void TPlotShadow::SetHorizSize(int v) {
    cb::rtl::SetProperty(FHorizSize, v, OnChange);
}

void TPlotShadow::SetVertSize(int v) {
    cb::rtl::SetProperty(FVertSize, v, OnChange);
}

void TPlotShadow::SetSmooth(bool v) {
    cb::rtl::SetProperty(FSmooth, v, OnChange);
}

void TPlotShadow::SetTransparency(int v) {
    cb::rtl::SetProperty(FTransparency, std::clamp(v, 0, 100), OnChange);
}

int TPlotShadow::Size() const {
    return std::max(FHorizSize, FVertSize);
}

void TPlotShadow::SetSize(int v) {
    if (FHorizSize != v || FVertSize != v) {
        FHorizSize = v;
        FVertSize = v;
        Changed();
    }
}

void TPlotShadow::Assign(const TPlotShadow& s) {
    FColor = s.FColor;
    FHorizSize = s.FHorizSize;
    FVertSize = s.FVertSize;
    FSmooth = s.FSmooth;
    FTransparency = s.FTransparency;
}

bool TPlotShadow::Prepare(TCanvas3D& canvas, const TRect& r, int z, TPlotBlend*& blend) const {
    blend = nullptr;
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return false;
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetColor(FColor);
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Pen().SetStyle(cb::gfx::psClear);
    if (FTransparency > 0) {
        TRect moved = r;
        cb::gfx::OffsetRect(moved, FHorizSize, FVertSize);
        blend = canvas.BeginTransparency(canvas.ProjectedBounds(moved, z), FTransparency).release();
    }
    return true;
}

void TPlotShadow::Draw(TCanvas3D& canvas, const TRect& r, int z) const {
    TPlotBlend* blendRaw = nullptr;
    if (!Prepare(canvas, r, z, blendRaw)) return;
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
    const TColor rgb = ColorToRGB(FColor);
    const double grey = 255 - (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
    if (FSmooth && Size() > 1) {
        cb::gfx::TPen& pen = canvas.Pen();
        pen.SetStyle(cb::gfx::psSolid);
        pen.SetWidth(1);
        if (FVertSize != 0) {
            TColor c = rgb;
            const int step = Round(grey / FVertSize);
            for (int i = 1; i <= FVertSize; ++i) {
                pen.SetColor(c);
                line(r.Left + FHorizSize, r.Bottom + i - 1, r.Right + FHorizSize + i - FVertSize - 1, r.Bottom + i - 1);
                c = LightenColor(c, step);
            }
        }
        if (FHorizSize != 0) {
            TColor c = rgb;
            const int step = Round(grey / FHorizSize);
            for (int i = 0; i < FHorizSize; ++i) {
                pen.SetColor(c);
                line(r.Right + i, r.Top + FVertSize, r.Right + i, r.Bottom + i + FVertSize - FHorizSize);
                pixel(r.Right + i - 1, r.Bottom + i + FVertSize - FHorizSize - 1, c);
                c = LightenColor(c, step);
            }
        }
    } else {
        rect(r.Left + FHorizSize, r.Bottom, r.Right + FHorizSize, r.Bottom + FVertSize);
        rect(r.Right, r.Top + FVertSize, r.Right + FHorizSize, r.Bottom + FVertSize);
    }
    if (blend) canvas.EndTransparency(std::move(blend));
}

void TPlotShadow::DrawEllipse(TCanvas3D& canvas, const TRect& r, int z) const {
    TPlotBlend* blendRaw = nullptr;
    if (!Prepare(canvas, r, z, blendRaw)) return;
    std::unique_ptr<TPlotBlend> blend(blendRaw);
    TRect moved = r;
    cb::gfx::OffsetRect(moved, FHorizSize, FVertSize);
    if (FSmooth) {
        const TRect p = canvas.ProjectRect(moved, z);
        canvas.ClipToEllipse(p);
        TCustomPlotGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(DarkenColor(FColor, 128));
        g.SetEndColor(LightenColor(FColor, 32));
        g.DrawRadial(canvas, p);
        canvas.RemoveClip();
    } else {
        canvas.DrawEllipseAtDepth(moved.Left, moved.Top, moved.Right, moved.Bottom, z);
    }
    if (blend) canvas.EndTransparency(std::move(blend));
}

}  // namespace cb::chart
