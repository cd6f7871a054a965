#include "chart/panel/PlotShape.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotGeometry.h"
#include "chart/panel/CustomPlotPanel.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

// --- brush and pen ---

TPlotCustomShapeBrushPen::TPlotCustomShapeBrushPen(TCustomPlotPanel* panel) : FParent(panel) {
    FBrush = std::make_unique<TChartBrush>([this] { RepaintParent(); });
    FPen = std::make_unique<TChartPen>([this] { RepaintParent(); });
}

TPlotCustomShapeBrushPen::~TPlotCustomShapeBrushPen() = default;

void TPlotCustomShapeBrushPen::RepaintParent() {
    if (FParent) FParent->Invalidate();
}

void TPlotCustomShapeBrushPen::SetVisible(bool on) {
    Store(FVisible, on);
}

void TPlotCustomShapeBrushPen::Assign(const TPlotCustomShapeBrushPen& s) {
    if (this == &s) return;
    FBrush->Assign(*s.FBrush);
    FPen->Assign(*s.FPen);
    FVisible = s.FVisible;
}

// --- shape ---

TPlotCustomShape::TPlotCustomShape(TCustomPlotPanel* panel) : TPlotCustomShapeBrushPen(panel) {
    FFont = std::make_unique<TPlotFont>([this] { RepaintParent(); });
}

TPlotCustomShape::~TPlotCustomShape() = default;

std::unique_ptr<TPlotGradient> TPlotCustomShape::CreateGradient() const {
    return std::make_unique<TPlotGradient>();
}

void TPlotCustomShape::ApplyShadowDefaults(TPlotShadow& s) {
    s.SetColor(clBlack);
    s.SetSize(3);
    s.SetDefaultColor(clBlack);
    s.SetDefaultSize(3);
}

TPlotShadow& TPlotCustomShape::Shadow() {
    if (!FShadow) {
        FShadow = std::make_unique<TPlotShadow>();
        ApplyShadowDefaults(*FShadow);
        FShadow->OnChange = [this] { RepaintParent(); };
    }
    return *FShadow;
}

void TPlotCustomShape::SetShadow(const TPlotShadow* s) {
    if (!s) {
        FShadow.reset();
        RepaintParent();
    } else if (s != FShadow.get()) {
        Shadow().Assign(*s);
        RepaintParent();
    }
}

TPlotGradient& TPlotCustomShape::Gradient() {
    if (!FGradient) {
        FGradient = CreateGradient();
        FGradient->OnChange = [this] { RepaintParent(); };
    }
    return *FGradient;
}

void TPlotCustomShape::SetGradient(const TCustomPlotGradient* g) {
    if (!g) {
        FGradient.reset();
        RepaintParent();
    } else if (g != FGradient.get()) {
        Gradient().Assign(*g);
        RepaintParent();
    }
}

void TPlotCustomShape::SetTransparency(int v) {
    Store(FSettings.Transparency, std::clamp(v, 0, 100));
}

void TPlotCustomShape::Assign(const TPlotCustomShape& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FFont->Assign(*s.FFont);
    SetGradient(s.FGradient.get());
    SetShadow(s.FShadow.get());
    TPlotCustomShapeBrushPen::Assign(s);
}

bool TPlotCustomShape::ReadLegacyProperty(const std::string& name, const std::string& value) {
    if (name == "ShadowColor") {
        Shadow().SetColor(cb::gfx::StringToColor(value));
        return true;
    }
    if (name == "ShadowSize") {
        Shadow().SetSize(int(cb::rtl::StrToInt(value)));
        return true;
    }
    return false;
}

std::array<TPoint, 4> TPlotCustomShape::RotatedCorners(const TRect& r, double angle) {
    const int mx = (r.Left + r.Right) / 2;
    const int my = (r.Top + r.Bottom) / 2;
    const double a = angle * M_PI / 180;
    const double c = std::cos(a), s = std::sin(a);
    const TPoint corners[4] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
    std::array<TPoint, 4> out;
    for (int i = 0; i < 4; ++i) {
        const double dx = corners[i].X - mx, dy = corners[i].Y - my;
        out[i] = {Round(dx * c + dy * s) + mx, Round(-dx * s + dy * c) + my};
    }
    return out;
}

void TPlotCustomShape::DrawBox(const TRect& r, double angle, int z) {
    if (TCustomPlotPanel* p = ParentPanel(); p && p->Canvas()) DrawBoxOn(*p->Canvas(), r, angle, z);
}

void TPlotCustomShape::DrawOutline(TCanvas3D& c, const TRect& r, double angle, int z) {
    if (angle > 0) {
        const auto pts = RotatedCorners(r, angle);
        c.DrawPolygon(pts);
    } else if (c.IsFull3D()) {
        c.DrawRectAtDepth(r, z);
    } else if (FSettings.ShapeStyle == fosRectangle) {
        c.DrawRectangle(r);
    } else {
        c.DrawRoundedRectangle(r, 16, 16);
    }
}

void TPlotCustomShape::DrawShadow(TCanvas3D& c, const TRect& r, double angle, int z) {
    if (angle == 0 && FSettings.ShapeStyle == fosRectangle) {
        const bool full = c.IsFull3D();
        if (!full) c.DisableRotation();
        PaintShadow(c, *FShadow, r, z);
        if (!full) c.EnableRotation();
    }
    if (FSettings.Transparency <= 0) return;
    int h = FShadow->HorizSize(), v = FShadow->VertSize();
    if (std::max(h, v) > 0 && Pen().Visible()) {
        h += Pen().Width();
        v += Pen().Width();
    }
    c.Pen().SetStyle(cb::gfx::psClear);
    c.Brush().SetStyle(cb::gfx::bsSolid);
    c.Brush().SetColor(FShadow->Color());
    const TRect moved{r.Left + h, r.Top + v, r.Right + h, r.Bottom + v};
    std::unique_ptr<TPlotBlend> blend;
    if (FShadow->Transparency() > 0) blend = c.BeginTransparency(moved, FShadow->Transparency());
    DrawOutline(c, moved, angle, z);
    if (blend) c.EndTransparency(std::move(blend));
}

void TPlotCustomShape::DrawBoxOn(TCanvas3D& c, const TRect& r, double angle, int z) {
    if (FSettings.Transparent) return;
    const bool rotated = angle > 0;
    std::unique_ptr<TPlotBlend> blend;
    if (FSettings.Transparency > 0) {
        TRect area = r;
        if (angle != 0) {
            const auto pts = RotatedCorners(r, angle);
            area = PolygonBounds(pts.data(), 4);
        }
        blend = c.BeginTransparency(area, FSettings.Transparency);
    }
    if (FShadow && FShadow->Size() != 0 && Brush().Style() != cb::gfx::bsClear) DrawShadow(c, r, angle, z);
    bool clearAfter = false;
    if (FGradient && FGradient->Visible()) {
        if (!rotated) {
            if (c.IsFull3D()) {
                c.SetGradientDepth(unsigned(std::max(z, 0)));
                PaintGradient(c, *FGradient, r);
                c.SetGradientDepth(0);
            } else {
                PaintGradient(c, *FGradient, r, FSettings.ShapeStyle == fosRoundRectangle ? 16 : 0);
            }
        } else {
            const auto pts = RotatedCorners(r, angle);
            if (c.IsFull3D())
                PaintGradientQuad(c, *FGradient, pts.data(), z);
            else
                PaintGradientQuad(static_cast<TPlotCanvas&>(c), *FGradient, pts.data());
        }
        clearAfter = true;
    } else {
        c.AssignBrush(Brush(), FSettings.Color);
    }
    if (clearAfter) c.Brush().SetStyle(cb::gfx::bsClear);
    c.SelectPen(Pen());
    DrawOutline(c, r, angle, z);
    if (angle == 0 && FSettings.Bevel != bcNone) {
        const TColor hi = clBtnHighlight, lo = clBtnShadow;
        TRect inner = r;
        c.DrawBevelFrame(inner, FSettings.Bevel == bcLowered ? lo : hi, FSettings.Bevel == bcRaised ? lo : hi,
                         FSettings.BevelWidth);
    }
    if (blend) c.EndTransparency(std::move(blend));
}

// --- positioned shape ---

void TPlotCustomShapePosition::SetLeft(int v) {
    SetCustomPosition(true);
    TRect& b = Bounds();
    if (b.Left != v) {
        b.Right += v - b.Left;
        b.Left = v;
        RepaintParent();
    }
}

void TPlotCustomShapePosition::SetTop(int v) {
    SetCustomPosition(true);
    TRect& b = Bounds();
    if (b.Top != v) {
        b.Bottom += v - b.Top;
        b.Top = v;
        RepaintParent();
    }
}

void TPlotCustomShapePosition::Assign(const TPlotCustomShapePosition& s) {
    if (this == &s) return;
    FCustomPosition = s.FCustomPosition;
    if (FCustomPosition) {
        SetLeft(s.Left());
        SetTop(s.Top());
    }
    TPlotCustomShape::Assign(s);
}

}  // namespace cb::chart
