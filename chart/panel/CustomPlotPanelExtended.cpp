#include "chart/panel/CustomPlotPanelExtended.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Strings.h"
#include "chart/canvas/StylePaint.h"

#include <QPainter>

#include <sstream>

namespace cb::chart {

TCustomPlotPanelExtended::TCustomPlotPanelExtended(QWidget* parent) : TCustomPlotPanel(parent) {
    FZoom = std::make_unique<TPlotZoom>();
}

TCustomPlotPanelExtended::~TCustomPlotPanelExtended() = default;

TPlotGradient& TCustomPlotPanelExtended::Gradient() {
    if (!FGradient) FGradient = std::make_unique<TPlotGradient>([this] { SettingChanged(); });
    return *FGradient;
}

void TCustomPlotPanelExtended::SetGradient(const TCustomPlotGradient* g) {
    if (!g)
        FGradient.reset();
    else if (g != FGradient.get())
        Gradient().Assign(*g);
    SettingChanged();
}

TBackImage& TCustomPlotPanelExtended::BackImage() {
    if (!FBackImage) FBackImage = std::make_unique<TBackImage>([this] { SettingChanged(); });
    return *FBackImage;
}

void TCustomPlotPanelExtended::SetBackImage(const TBackImage* image) {
    if (!image)
        FBackImage.reset();
    else if (image != FBackImage.get())
        BackImage().Assign(*image);
    SettingChanged();
}

void TCustomPlotPanelExtended::SetBackImageTransp(bool on) {
    if (!HasBackImage()) return;
    FBackImage->Graphic()->SetTransparent(on);
    SettingChanged();
}

void TCustomPlotPanelExtended::UndoZoom() {
    if (OnUndoZoom) OnUndoZoom(this);
    Invalidate();
    FZoomed = false;
}

void TCustomPlotPanelExtended::leaveEvent(QEvent* e) {
    FPanning.Active = false;
    TCustomPlotPanel::leaveEvent(e);
}

void TCustomPlotPanelExtended::paintEvent(QPaintEvent* e) {
    FPaintingBuffer = true;
    TCustomPlotPanel::paintEvent(e);
    FPaintingBuffer = false;
    if (!Canvas() || Printing()) return;
    QPainter painter(this);
    ToolkitCanvas().Attach(&painter);
    Canvas()->AttachCanvas(&ToolkitCanvas());
    DrawOverlays();
    if (FZoom->Active) DrawZoomRectangle();
    ToolkitCanvas().Attach(nullptr);
}

// --- background ---

void TCustomPlotPanelExtended::FillPanelRect(const TRect& r) {
    TCanvas3D* c = Canvas();
    if (!c) return;
    c->DisableRotation();
    if (FGradient && FGradient->Visible()) {
        PaintGradient(*c, *FGradient, r);
    } else if (!(Printing() && !PlotPanelOptions().PrintPanelBackground) && Color() != clNone) {
        c->Brush().SetStyle(cb::gfx::bsSolid);
        c->Brush().SetColor(Color());
        c->FillBackground(r);
    }
    c->EnableRotation();
}

void TCustomPlotPanelExtended::DrawPanelBackground(const TRect& bounds) {
    TCanvas3D* c = Canvas();
    if (!c) return;
    c->DisableRotation();
    TRect r = bounds;
    if (Shadow().Size() > 0) {
        const TColor parentColor =
            parentWidget() ? cb::gfx::FromQColor(parentWidget()->palette().color(QPalette::Window)) : Color();
        c->Brush().SetStyle(cb::gfx::bsSolid);
        c->Brush().SetColor(parentColor);
        c->FillBackground(r);
        r.Right -= Shadow().HorizSize();
        r.Bottom -= Shadow().VertSize();
        PaintShadow(*c, Shadow(), r);
    }
    FillPanelRect(r);
    if (FBackImage && !FBackImage->Inside()) DrawBackImage(r, 0);
    DrawPanelFrame(r);
    c->EnableRotation();
}

void TCustomPlotPanelExtended::DrawBackImage(const TRect& rect, int z) {
    TCanvas3D* c = Canvas();
    if (!c || !HasBackImage()) return;
    const cb::gfx::TBitmap* g = FBackImage->Graphic();
    TRect r = rect;
    const bool orthogonal = !View3D() || View3DOptions().Orthogonal();
    auto project = [&] {
        r = c->ProjectRect(r, z);
        if (!View3D()) ++r.Top;
    };
    if (FBackImage->Mode() == pbmStretch) {
        if (z < 1) {
            c->StretchGraphic(r, g);
        } else if (orthogonal) {
            project();
            c->StretchGraphic(r, g);
        } else {
            c->DrawPictureAtDepth(r, g, z);
        }
        return;
    }
    const bool clip = ClippingAllowed();
    if (clip) {
        if (z != 0)
            c->ClipToBox(r, 0, Width3D());
        else
            c->ClipToRect(r);
    }
    if (z > 0 && orthogonal) project();
    const int w = g->Width(), h = g->Height();
    if (FBackImage->Mode() == pbmTile) {
        if (w > 0 && h > 0)
            for (int y = 0; y < r.Height(); y += h)
                for (int x = 0; x < r.Width(); x += w) {
                    if (z > 0 && !orthogonal)
                        c->DrawPictureAtDepth({r.Left + x, r.Top + y, r.Left + x + w, r.Top + y + h}, g, z);
                    else
                        c->DrawGraphic(r.Left + x, r.Top + y, g);
                }
    } else {
        FillPanelRect(r);
        TRect p;
        if (FBackImage->Mode() == pbmCustom) {
            p = {r.Left + FBackImage->Left(), r.Top + FBackImage->Top(), 0, 0};
            p.Right = p.Left + w;
            p.Bottom = p.Top + h;
        } else {
            p = r;
            const int dx = (w - r.Width()) / 2, dy = (h - r.Height()) / 2;
            p.Left -= dx;
            p.Top -= dy;
            p.Right += dx;
            p.Bottom += dy;
        }
        if (z < 1 || orthogonal)
            c->DrawGraphic(p.Left, p.Top, g);
        else
            c->DrawPictureAtDepth(p, g, z);
    }
    if (clip) c->RemoveClip();
}

void TCustomPlotPanelExtended::DrawZoomRectangle() {
    TCanvas3D* c = Canvas();
    if (!c) return;
    const TColor b = ColorToRGB(PanelBackColor()) & 0xFFFFFF;
    const TColor inverse = 0xFFFFFF - b;
    if (FZoom->BrushIfAny()) {
        TPlotZoomBrush& brush = FZoom->Brush();
        SelectBrushOverBackground((ColorToRGB(brush.Color()) & 0xFFFFFF) ^ inverse, brush, b);
    } else {
        c->Brush().SetStyle(cb::gfx::bsClear);
    }
    TPlotZoomPen& pen = FZoom->Pen();
    c->SelectPenWithColor(pen, (ColorToRGB(pen.Color()) & 0xFFFFFF) ^ inverse);
    c->Pen().SetMode(cb::gfx::pmNotXor);
    if (!FZoom->BrushIfAny() || FZoom->Brush().Style() == cb::gfx::bsClear) c->SetBackgroundMode(1);
    c->DrawRect(FZoom->X0, FZoom->Y0, FZoom->X1, FZoom->Y1);
    c->Pen().SetMode(cb::gfx::pmCopy);
}

// --- stored properties ---

bool TCustomPlotPanelExtended::ReadLegacyProperty(const std::string& name, const std::string& value) {
    auto boolean = [&] { return cb::rtl::SameText(value, "True") || value == "1"; };
    if (name == "AllowZoom") {
        FZoom->Allow = boolean();
        return true;
    }
    if (name == "AnimatedZoom") {
        FZoom->Animated = boolean();
        return true;
    }
    if (name == "AnimatedZoomSteps") {
        FZoom->AnimatedSteps = cb::rtl::StrToInt(value);
        return true;
    }
    if (name == "PrintMargins") {
        std::istringstream in(value);
        int m[4];
        for (int& v : m)
            if (!(in >> v)) throw cb::rtl::Exception("Invalid PrintMargins value: " + value);
        SetPrintMargins({m[0], m[1], m[2], m[3]});
        return true;
    }
    return TCustomPlotPanel::ReadLegacyProperty(name, value);
}

std::string TCustomPlotPanelExtended::PrintMarginsText() const {
    const TRect& m = PrintMargins();
    if (m.Left == 15 && m.Top == 15 && m.Right == 15 && m.Bottom == 15) return {};
    return std::to_string(m.Left) + " " + std::to_string(m.Top) + " " + std::to_string(m.Right) + " " +
           std::to_string(m.Bottom);
}

void TCustomPlotPanelExtended::Assign(const TCustomPlotPanelExtended& s) {
    if (this == &s) return;
    SetBackImage(s.FBackImage.get());
    SetGradient(s.FGradient.get());
    FAllowPanning = s.FAllowPanning;
    FZoom->Assign(*s.FZoom);
    TCustomPlotPanel::Assign(s);
}

}  // namespace cb::chart
