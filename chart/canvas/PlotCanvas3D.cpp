// The screen canvas: paint set-up, the buffer and the 2D primitives.
#include "chart/canvas/PlotCanvas3D.h"

#include "chart/canvas/View3DOptions.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <cmath>

namespace cb::chart {

TPlotCanvas3D::TPlotCanvas3D() = default;

TPlotCanvas3D::~TPlotCanvas3D() {
    FreeBuffer();
}

cb::gfx::TCanvas& TPlotCanvas3D::C() {
    return *ReferenceCanvas();
}

TRect TPlotCanvas3D::BeginDraw(cb::gfx::TCanvas* canvas, TView3DOptions* options, TColor /*background*/, bool is3D,
                               const TRect& r) {
    SetBounds(r);
    SetView3DOptions(options);
    if (options) SetFontZoom(options->FontZoom());
    FIs3D = is3D;
    SetOrthogonalFlag(false);
    FZoom = 1.0;
    if (is3D && options) {
        SetOrthogonalFlag(options->Orthogonal());
        if (IsOrthogonal()) {
            int a = options->OrthoAngle();
            if (a > 90) {
                FOrthoX = -1;
                a = 180 - a;
            } else {
                FOrthoX = 1;
            }
            const double rad = a * PiDiv180;
            FOrthoY = std::cos(rad) < 0.01 ? 1.0 : std::sin(rad) / std::cos(rad);
        }
        FZoom = options->Zoom() * 0.01;
        FZoomText = options->ZoomText();
    }
    if (is3D) CalcRotation();
    if (FBuffered) {
        const int w = std::max(0, r.Width());
        const int h = std::max(0, r.Height());
        if (!FBuffer) FBuffer = std::make_unique<cb::gfx::TBitmap>();
        if (FBuffer->Width() != w || FBuffer->Height() != h) FBuffer->SetSize(w, h);
        AttachCanvas(&FBuffer->Canvas());
        return {0, 0, w, h};
    }
    AttachCanvas(canvas);
    return r;
}

void TPlotCanvas3D::EndDraw(cb::gfx::TCanvas* target, cb::gfx::TCanvas* reattach, const TRect& r) {
    if (FBuffered && FBuffer) {
        CopyBufferTo(r.Left, r.Top, target);
        FDirty = false;
    }
    AttachCanvas(reattach);
}

bool TPlotCanvas3D::ShowBufferIfValid() {
    if (FDirty || !FBuffer) return false;
    CopyBufferTo(0, 0, ReferenceCanvas());
    return true;
}

void TPlotCanvas3D::SetBuffered(bool on) {
    if (FBuffered == on) return;
    FBuffered = on;
    if (!on) {
        if (FBuffer) {
            FreeBuffer();
            FDirty = true;
        }
    } else if (FBuffer) {
        AttachCanvas(&FBuffer->Canvas());
    }
}

void TPlotCanvas3D::SetMonochromeMode(bool on) {
    if (FMonochrome == on) return;
    FMonochrome = on;
    FDirty = true;
    if (OnRepaintRequest)
        OnRepaintRequest();
    else if (View3DOptions())
        View3DOptions()->Repaint();
}

void TPlotCanvas3D::FreeBuffer() {
    if (FBuffer && ReferenceCanvas() == &FBuffer->Canvas()) AttachCanvas(nullptr);
    FBuffer.reset();
}

void TPlotCanvas3D::CopyBufferTo(int x, int y, cb::gfx::TCanvas* canvas) {
    if (!FBuffer || !canvas || canvas == &FBuffer->Canvas() || FBuffer->Empty()) return;
    FBuffer->Canvas().ReleasePainter();
    canvas->Draw(x, y, *FBuffer);
}

void TPlotCanvas3D::DrawStoredQuad() {
    C().Polygon(FStoredQuad, 4);
}

void TPlotCanvas3D::StoreQuad(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c, const TPoint3D& d) {
    FStoredQuad[0] = ProjectPoint3D(a);
    FStoredQuad[1] = ProjectPoint3D(b);
    FStoredQuad[2] = ProjectPoint3D(c);
    FStoredQuad[3] = ProjectPoint3D(d);
}

TColor TPlotCanvas3D::SolidFillColor() {
    return Brush().Style() == cb::gfx::bsSolid ? Brush().Color() : GetBackgroundColor();
}

// --- device state ---

TColor TPlotCanvas3D::GetBackgroundColor() {
    return C().BkColor();
}
int TPlotCanvas3D::GetBackgroundMode() {
    return C().BkMode();
}
cb::gfx::TCanvas* TPlotCanvas3D::GetDeviceContext() {
    return ReferenceCanvas();
}
TColor TPlotCanvas3D::GetPixelColor(int x, int y) {
    return C().Pixel(x, y);
}
unsigned TPlotCanvas3D::GetTextAlignment() {
    return C().TextAlign();
}
void TPlotCanvas3D::SetBackgroundColor(TColor c) {
    C().SetBkColor(ColorToRGB(c));
}
void TPlotCanvas3D::SetBackgroundMode(int mode) {
    C().SetBkMode(mode);
}
void TPlotCanvas3D::PutPixel(int x, int y, TColor c) {
    C().SetPixel(x, y, ColorToRGB(c));
}
void TPlotCanvas3D::SetTextAlignment(unsigned flags) {
    C().SetTextAlign(flags);
}

// --- 2D primitives ---

void TPlotCanvas3D::DrawArc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    C().Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::DrawPie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    C().Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::DrawEllipse(int x1, int y1, int x2, int y2) {
    C().Ellipse(x1, y1, x2, y2);
}
void TPlotCanvas3D::DrawRect(int x0, int y0, int x1, int y1) {
    C().Rectangle(x0, y0, x1, y1);
}

void TPlotCanvas3D::DrawRoundedRect(int x1, int y1, int x2, int y2, int cw, int ch) {
    C().RoundRect(x1, y1, x2, y2, cw, ch);
}

void TPlotCanvas3D::DrawGraphic(int x, int y, const cb::gfx::TGraphic* graphic) {
    if (graphic && !graphic->Empty()) C().Draw(x, y, *graphic);
}

void TPlotCanvas3D::StretchGraphic(const TRect& r, const cb::gfx::TGraphic* graphic) {
    if (graphic && !graphic->Empty()) C().StretchDraw(r, *graphic);
}

void TPlotCanvas3D::FillRectangle(const TRect& r) {
    C().FillRect(r);
}
void TPlotCanvas3D::FillBackground(const TRect& r) {
    C().FillRect(r);
}
void TPlotCanvas3D::MoveToPoint(int x, int y) {
    C().MoveTo(x, y);
}
void TPlotCanvas3D::LineToPoint(int x, int y) {
    C().LineTo(x, y);
}

void TPlotCanvas3D::DrawLine(int x0, int y0, int x1, int y1) {
    C().MoveTo(x0, y0);
    C().LineTo(x1, y1);
}

void TPlotCanvas3D::DrawHorizontalLine(int x0, int x1, int y) {
    DrawLine(x0, y, x1, y);
}
void TPlotCanvas3D::DrawVerticalLine(int x, int y0, int y1) {
    DrawLine(x, y0, x, y1);
}
void TPlotCanvas3D::DrawPolyline(std::span<const TPoint> points) {
    C().Polyline(points);
}
void TPlotCanvas3D::DrawPolygon(std::span<const TPoint> points) {
    C().Polygon(points);
}

void TPlotCanvas3D::DrawDonutSlice(int xc, int yc, int rx, int ry, double a0, double a1, double hole) {
    const double irx = rx * hole * 0.01;
    const double iry = ry * hole * 0.01;
    auto at = [&](double p, double q, double a) {
        return TPoint{Round(p * std::cos(a)) + xc, yc - Round(q * std::sin(a))};
    };
    const TPoint o0 = at(rx, ry, a0);
    const TPoint o1 = at(rx, ry, a1);
    const TPoint i0 = at(irx, iry, a0);
    const TPoint i1 = at(irx, iry, a1);
    cb::gfx::TCanvas& c = C();
    c.BeginPath();
    c.MoveTo(o0.X, o0.Y);
    c.ArcTo(xc - rx, yc - ry, xc + rx, yc + ry, o0.X, o0.Y, o1.X, o1.Y);
    c.LineTo(i1.X, i1.Y);
    if (!(i1 == i0)) {
        const int ix = Round(irx);
        const int iy = Round(iry);
        c.SetArcDirection(cb::gfx::adClockwise);
        c.ArcTo(xc - ix, yc - iy, xc + ix, yc + iy, i1.X, i1.Y, i0.X, i0.Y);
        c.SetArcDirection(cb::gfx::adCounterClockwise);
    }
    c.LineTo(o0.X, o0.Y);
    c.EndPath();
    c.StrokeAndFillPath();
}

// --- clipping ---

void TPlotCanvas3D::ClipToRect(const TRect& r) {
    C().PushClipRect(r);
    NoteClipPushed();
}

void TPlotCanvas3D::RemoveClip() {
    if (NoteClipPopped()) C().PopClip();
}

void TPlotCanvas3D::ClipToBox(const TRect& r, int z0, int z1) {
    if (FIs3D) {
        std::vector<TPoint> p = {
            ProjectCoords(r.Left, r.Bottom, z0), ProjectCoords(r.Left, r.Bottom, z1),
            ProjectCoords(r.Left, r.Top, z1),    ProjectCoords(r.Right, r.Top, z1),
            ProjectCoords(r.Right, r.Top, z0),   ProjectCoords(r.Right, r.Bottom, z0),
            ProjectCoords(r.Left, r.Top, z0),    ProjectCoords(r.Right, r.Bottom, z1),
        };
        ConvexHull(p);
        ClipToPolygon(p);
    } else {
        ClipToRect({r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1});
    }
}

}  // namespace cb::chart
