#include "chart/series/SeriesPointer.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <algorithm>

namespace cb::chart {

TSeriesPointer::TSeriesPointer(TChartSeries* series)
    : FSeries(series), FBrush([this] { Changed(); }), FPen([this] { Changed(); }),
      FGradient(std::make_unique<TPlotGradient>([this] { Changed(); })) {
    WithoutChangeEvent(FBrush, [&] { FBrush.SetColor(clDefault); });
    WithoutChangeEvent(FPen, [&] { FPen.SetColor(clDefault); });
}

TSeriesPointer::~TSeriesPointer() = default;

TCustomAxisPanel* TSeriesPointer::ParentPanel() const {
    return FSeries ? FSeries->ParentChart() : FPanel;
}

void TSeriesPointer::Changed() {
    if (TCustomAxisPanel* p = ParentPanel()) p->Invalidate();
}

static void checkSize(int v) {
    if (v <= 0) throw ChartException(PlotText(TPlotText::msgPointerSize));
}

void TSeriesPointer::SetHorizSize(int v) {
    checkSize(v);
    store(FSettings.HorizSize, v);
}

void TSeriesPointer::SetVertSize(int v) {
    checkSize(v);
    store(FSettings.VertSize, v);
}

void TSeriesPointer::HorizMargins(int& left, int& right) const {
    if (!FSettings.Visible || !FSettings.InflateMargins) return;
    left = std::max(left, FSettings.HorizSize + 1);
    right = std::max(right, FSettings.HorizSize + 1);
}

void TSeriesPointer::VertMargins(int& top, int& bottom) const {
    if (!FSettings.Visible || !FSettings.InflateMargins) return;
    top = std::max(top, FSettings.VertSize + 1);
    bottom = std::max(bottom, FSettings.VertSize + 1);
}

int TSeriesPointer::StartDepth() const {
    return FSeries ? FSeries->StartZ() : 0;
}
int TSeriesPointer::MiddleDepth() const {
    return FSeries ? FSeries->MiddleZ() : 0;
}
int TSeriesPointer::EndDepth() const {
    return FSeries ? FSeries->EndZ() : 0;
}

void TSeriesPointer::ApplyPenAndBrush(TCanvas3D& canvas, TColor k) {
    if (FPen.Visible()) {
        if (FPen.Color() == clDefault)
            canvas.SelectPenWithColor(FPen, k);
        else
            canvas.SelectPen(FPen);
    } else
        canvas.Pen().SetStyle(cb::gfx::psClear);
    TColor b = FBrush.Color();
    if (b == clDefault) b = FBrush.Style() == cb::gfx::bsSolid ? k : clBlack;
    canvas.AssignBrushColor(FBrush, b, k);
}

void TSeriesPointer::PrepareCanvas() {
    TCustomAxisPanel* p = ParentPanel();
    if (p && p->Canvas()) ApplyPenAndBrush(*p->Canvas(), FBrush.Color());
}

void TSeriesPointer::DrawPointer(int x, int y, TColor k, TSeriesPointerStyle style) {
    TCustomAxisPanel* p = ParentPanel();
    if (p && p->Canvas()) DrawShape(*p->Canvas(), p->View3D(), x, y, FSettings.HorizSize, FSettings.VertSize, k, style);
}

void TSeriesPointer::DrawShape(TCanvas3D& c, bool is3D, int x, int y, int h, int v, TColor k,
                               TSeriesPointerStyle style) {
    const int L = x - h, R = x + h, T = y - v, B = y + v;
    const int z0 = StartDepth(), zm = MiddleDepth(), z1 = EndDepth();
    std::unique_ptr<TPlotBlend> blend;
    if (FSettings.Transparency > 0) {
        TRect r{L, T, R + 1, B + 1};
        if (style == psRectangle && is3D && FSettings.Draw3D && c.IsOrthogonal()) {
            r.Right += z1 - z0;
            r.Top -= z1 - z0;
        }
        blend = c.BeginTransparency(c.ProjectedBounds(r, z0), FSettings.Transparency);
    }
    // Flat polygons: projected at z0 in 3D.
    auto polygon = [&](std::initializer_list<TPoint> pts) {
        std::vector<TPoint> p(pts);
        if (is3D)
            for (TPoint& q : p) q = c.ProjectTPoint(q, z0);
        c.DrawPolygon(p);
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (is3D)
            c.DrawLineAtDepth(x0, y0, x1, y1, z0);
        else
            c.DrawLine(x0, y0, x1, y1);
    };
    auto cross = [&] {
        if (is3D) {
            c.DrawVerticalLineAtDepth(x, T, B + 1, z0);
            c.DrawHorizontalLineAtDepth(L, R + 1, y, z0);
        } else {
            c.DrawVerticalLine(x, T, B + 1);
            c.DrawHorizontalLine(L, R + 1, y);
        }
    };
    auto diagCross = [&] {
        line(L, T, R + 1, B + 1);
        line(R, T, L - 1, B + 1);
    };
    switch (style) {
    case psRectangle:
        if (is3D && FSettings.Draw3D)
            c.DrawBox(L, R, T, B, z0, z1, FSettings.Dark3D);
        else if (is3D)
            c.DrawRectAtDepth({L, T, R + 1, B + 1}, z0);
        else
            c.DrawRect(L, T, R + 1, B + 1);
        break;
    case psCircle:
        if (is3D && FSettings.Draw3D && c.IsFull3D())
            c.DrawCircleAtDepth(x, y, zm, h);
        else if (is3D)
            c.DrawEllipseAtDepth(L, T, R, B, z0);
        else
            c.DrawEllipse(L, T, R, B);
        break;
    case psTriangle:
        if (is3D && FSettings.Draw3D)
            c.DrawPyramid(true, L, y - v, R, y + v, z0, z1, FSettings.Dark3D);
        else
            polygon({{L, y + v}, {R, y + v}, {x, y - v}});
        break;
    case psDownTriangle:
        if (is3D && FSettings.Draw3D)
            c.DrawPyramid(true, L, y + v, R, y - v, z0, z1, FSettings.Dark3D);
        else
            polygon({{L, y - v}, {R, y - v}, {x, y + v}});
        break;
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagCross();
        break;
    case psStar:
        cross();
        diagCross();
        break;
    case psDiamond:
        polygon({{L, y}, {x, T}, {R, y}, {x, B}});
        break;
    case psSmallDot:
        if (is3D)
            c.PutPixelAtDepth(x, y, zm, c.Brush().Color());
        else
            c.PutPixel(x, y, c.Brush().Color());
        break;
    case psNothing:
        break;
    case psLeftTriangle:
        polygon({{L, y}, {R, B}, {R, T}});
        break;
    case psRightTriangle:
        polygon({{R, y}, {L, B}, {L, T}});
        break;
    }
    if (FGradient->Visible()) fillGradient(c, is3D, x, y, h, v, k, style);
    if (blend) c.EndTransparency(std::move(blend));
}

void TSeriesPointer::fillGradient(TCanvas3D& c, bool is3D, int x, int y, int h, int v, TColor k,
                                  TSeriesPointerStyle style) {
    const int w = FPen.Visible() ? FPen.Width() : 0;
    TRect g{x - h + w, y - v + w, x + h, y + v};
    if (!FOwnGradientColors) {
        auto keep = std::move(FGradient->OnChange);
        FGradient->SetEndColor(k);
        FGradient->OnChange = std::move(keep);
    }
    const int z0 = StartDepth();
    if (style == psRectangle && is3D && !c.IsOrthogonal()) {
        g.Right -= w;
        g.Bottom -= w;
        TPoint q[4];
        c.ProjectRectCorners(g, z0, q);
        PaintGradientQuad(c, *FGradient, q);
        return;
    }
    if (is3D) g = NormalizeRect(c.ProjectRect(g, z0));
    switch (style) {
    case psRectangle:
        c.ClipToRect(g);
        PaintGradient(c, *FGradient, g);
        c.RemoveClip();
        break;
    case psCircle:
        c.ClipToEllipse(g);
        PaintGradient(c, *FGradient, g);
        c.RemoveClip();
        break;
    case psTriangle:
    case psDownTriangle:
    case psLeftTriangle:
    case psRightTriangle: {
        if ((style == psTriangle || style == psDownTriangle) && FSettings.Draw3D && is3D) break;
        const int xm = (g.Left + g.Right) / 2, ym = (g.Top + g.Bottom) / 2;
        std::vector<TPoint> t;
        if (style == psTriangle)
            t = {{g.Left, g.Bottom}, {g.Right, g.Bottom}, {xm, g.Top}};
        else if (style == psDownTriangle)
            t = {{g.Left, g.Top}, {g.Right, g.Top}, {xm, g.Bottom}};
        else if (style == psLeftTriangle)
            t = {{g.Left, ym}, {g.Right, g.Bottom}, {g.Right, g.Top}};
        else
            t = {{g.Right, ym}, {g.Left, g.Bottom}, {g.Left, g.Top}};
        c.ClipToPolygon(t);
        PaintGradient(c, *FGradient, g);
        c.RemoveClip();
        break;
    }
    case psDiamond: {
        const int xm = (g.Left + g.Right) / 2, ym = (g.Top + g.Bottom) / 2;
        const TPoint d[4] = {{g.Left, ym}, {xm, g.Top}, {g.Right, ym}, {xm, g.Bottom}};
        PaintGradientQuad(c, *FGradient, d);
        break;
    }
    default:
        break;
    }
}

void TSeriesPointer::Assign(const TSeriesPointer& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FGradient->Assign(*s.FGradient);
    FBrush.Assign(s.FBrush);
    FPen.Assign(s.FPen);
    Changed();
}

// --- callout ---

TCallout::TCallout(TChartSeries* series) : TSeriesPointer(series), FArrow([this] { Changed(); }) {
    SetOwnGradientColors(true);
    WithoutChangeEvent(Brush(), [&] { Brush().SetColor(clBlack); });
    SetDraw3D(false);
}

void TCallout::DrawCallout(const TPoint& a, const TPoint& m, int z) {
    TCustomAxisPanel* p = ParentPanel();
    if (!p || !p->Canvas()) return;
    TCanvas3D& c = *p->Canvas();
    const bool is3D = p->View3D();
    if (FArrow.Visible()) {
        c.Brush().SetStyle(cb::gfx::bsClear);
        PrepareCanvas();
        c.SelectPen(FArrow);
        if (FSettings.ArrowHead == ahNone) {
            if (is3D)
                c.DrawLineAtDepth(a.X, a.Y, m.X, m.Y, z);
            else
                c.DrawLine(a.X, a.Y, m.X, m.Y);
        } else
            c.DrawArrow(FSettings.ArrowHead == ahSolid, m, a, FSettings.ArrowHeadSize, FSettings.ArrowHeadSize, z);
    }
    if (FSettings.ArrowHead == ahNone && Visible()) {
        PrepareCanvas();
        const TPoint at = is3D ? c.ProjectTPoint(a, z) : a;
        DrawShape(c, false, at.X, at.Y, HorizSize(), VertSize(), GetBrushColor(), Style());
    }
}

void TCallout::Assign(const TSeriesPointer& source) {
    if (auto* s = dynamic_cast<const TCallout*>(&source)) {
        FSettings = s->FSettings;
        FArrow.Assign(s->FArrow);
    }
    TSeriesPointer::Assign(source);
}

}  // namespace cb::chart
