// Walls of the chart: the room they take, which side walls stand in front
// of the series, and drawing them before and after the series.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/component/CustomChart.h"
#include "chart/core/PlotGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "platform/gfx/Bitmap.h"
#include "chart/canvas/StylePaint.h"

#include <cstdlib>

namespace cb::chart {

int TCustomChart::WallSizeOfAxis(const TChartAxis* axis) {
    if (!View3D() || !View3DWalls()) return 0;
    const TCustomChartWall* wall = &FWalls->Back();
    if (axis == &LeftAxis())
        wall = &FWalls->Left();
    else if (axis == &BottomAxis())
        wall = &FWalls->Bottom();
    else if (axis == &RightAxis())
        wall = &FWalls->Right();
    return wall->Visible() ? wall->Size() : 0;
}

void TCustomChart::ComputeChartArea() {
    TAxisPanel::ComputeChartArea();
    if (!View3D() || !View3DOptions().Orthogonal()) return;
    const int s = UsesAxesArea() ? FWalls->Back().Size() : 0;
    TRect& r = ChartRect();
    if (View3DOptions().OrthoAngle() > 90) {
        r.Left += std::abs(Width3D()) + s;
        if (FWalls->Left().Visible()) r.Left += FWalls->Left().Size() + 1;
    } else {
        r.Right -= std::abs(Width3D()) + s;
        if (FWalls->Right().Visible()) r.Right -= FWalls->Right().Size() + 1;
    }
    r.Top += s + std::abs(Height3D());
    NormalizeChartRect();
}

// The plane x seen from its back: P0 top front, P1 bottom front, P2 bottom
// back. Projected with the current 3D options, whenever it is asked.
bool TCustomChart::SidePlaneCulled(int x) {
    TPlotCanvas3D c;
    c.SetBuffered(false);
    cb::gfx::TBitmap scratch(1, 1);
    const TRect bounds = ChartBounds();
    c.BeginDraw(&scratch.Canvas(), &View3DOptions(), Color(), View3D(), bounds);
    c.SetProjectionCenter(Width3D(), bounds, ChartRect());
    const TRect& r = ChartRect();
    const int bottom = r.Bottom + WallSizeOfAxis(&BottomAxis());
    const TPoint p0 = c.ProjectToPoint(x, r.Top, 0);
    const TPoint p1 = c.ProjectToPoint(x, bottom, 0);
    const TPoint p2 = c.ProjectToPoint(x, bottom, FWalls->Back().Size() + Width3D());
    const long long cross = (long long)(p0.X - p1.X) * (p2.Y - p1.Y) - (long long)(p2.X - p1.X) * (p0.Y - p1.Y);
    return cross < 0;
}

bool TCustomChart::RightWallFacesAway() {
    return !SidePlaneCulled(ChartRect().Right);
}

bool TCustomChart::LeftWallFacesAway() {
    return SidePlaneCulled(ChartRect().Left);
}

void TCustomChart::DrawWallBrush(TCustomChartWall& wall) {
    TCanvas3D& c = *Canvas();
    c.SelectPen(wall.Pen());
    if (wall.Transparent())
        c.Brush().SetStyle(cb::gfx::bsClear);
    else
        SelectBrushOverBackground(wall.Color(), wall.Brush(), wall.Brush().Color());
}

namespace {
// Transparency and gradient of a wall over its projected outline.
struct TWallFill {
    std::unique_ptr<TPlotBlend> Blend;
    void Begin(TCanvas3D& c, TCustomChartWall& wall, const TPoint pts[4]) {
        if (wall.Transparent()) return;
        if (wall.Transparency() > 0) Blend = c.BeginTransparency(PolygonBounds(pts, 4), wall.Transparency());
        if (wall.GradientIfAny() && wall.GradientIfAny()->Visible()) {
            PaintGradientQuad(static_cast<TPlotCanvas&>(c), wall.Gradient(), pts);
            c.Brush().SetStyle(cb::gfx::bsClear);
        }
    }
    void End(TCanvas3D& c) {
        if (Blend) c.EndTransparency(std::move(Blend));
    }
};

bool Darkens(const TCustomChartWall& w, const TCanvas3D& c) {
    return w.Dark3D() && const_cast<TCanvas3D&>(c).Brush().Style() != cb::gfx::bsClear &&
           !const_cast<TCustomChartWall&>(w).Brush().HasImage();
}
}  // namespace

void TCustomChart::DrawRightOrLeftWall(bool right) {
    TCanvas3D& c = *Canvas();
    TCustomChartWall& wall = right ? static_cast<TCustomChartWall&>(FWalls->Right()) : FWalls->Left();
    const TRect& r = ChartRect();
    const int x = right ? r.Right : r.Left;
    const int bottom = r.Bottom + WallSizeOfAxis(&BottomAxis());
    const int w3 = Width3D();
    DrawWallBrush(wall);
    TPoint pts[4] = {c.ProjectToPoint(x, r.Top, 0), c.ProjectToPoint(x, r.Top, w3), c.ProjectToPoint(x, bottom, w3),
                     c.ProjectToPoint(x, bottom, 0)};
    TWallFill fill;
    fill.Begin(c, wall, pts);
    if (wall.Size() <= 0) {
        c.DrawRectAtX(x, r.Top, bottom, 0, w3 + 1);
    } else if (right) {
        const int back = FWalls->Back().Visible() ? FWalls->Back().Size() : 0;
        c.DrawBox(x, x + wall.Size(), r.Top, bottom, 0, w3 + back, Darkens(wall, c));
    } else {
        c.DrawBox(x - wall.Size(), x, r.Top, bottom, 0, w3, Darkens(wall, c));
    }
    fill.End(c);
}

void TCustomChart::DrawBackWall() {
    TCanvas3D& c = *Canvas();
    TChartBackWall& wall = FWalls->Back();
    const TRect& cr = ChartRect();
    DrawWallBrush(wall);
    std::unique_ptr<TPlotBlend> blend;
    const bool gradient = !wall.Transparent() && wall.GradientIfAny() && wall.GradientIfAny()->Visible();
    const int w3 = Width3D();
    if (!View3D()) {
        const TRect r{cr.Left, cr.Top, cr.Right + 1, cr.Bottom + 1};
        if (wall.Transparency() > 0 && !wall.Transparent()) blend = c.BeginTransparency(r, wall.Transparency());
        if (gradient) {
            PaintGradient(c, wall.Gradient(), r);
            c.Brush().SetStyle(cb::gfx::bsClear);
        }
        c.DrawRectangle(r);
    } else {
        TRect r = cr;
        if (wall.Size() >= 1) {
            r.Left -= WallSizeOfAxis(&LeftAxis());
            r.Bottom += WallSizeOfAxis(&BottomAxis());
        }
        if (wall.Transparency() > 0 && !wall.Transparent())
            blend = c.BeginTransparency(c.ProjectedBounds(r, w3), wall.Transparency());
        if (gradient) {
            if (View3DOptions().Orthogonal()) {
                PaintGradient(c, wall.Gradient(), NormalizeRect(c.ProjectRect(r, w3)));
            } else if (c.IsFull3D()) {
                c.SetGradientDepth(unsigned(std::max(w3, 0)));
                PaintGradient(c, wall.Gradient(), r);
                c.SetGradientDepth(0);
            } else {
                TPoint pts[4];
                c.ProjectRectCorners(r, w3, pts);
                PaintGradientQuad(static_cast<TPlotCanvas&>(c), wall.Gradient(), pts);
            }
            if (!c.IsFull3D()) c.Brush().SetStyle(cb::gfx::bsClear);
        }
        if (wall.Size() < 1)
            c.DrawRectAtDepth(r, w3);
        else
            c.DrawBoxRect(r, w3, w3 + (w3 < 0 ? -wall.Size() : wall.Size()), Darkens(wall, c));
    }
    if (BackImageInside()) {
        TRect r = cr;
        if (wall.Pen().Visible()) cb::gfx::OffsetRect(r, 1, 1);
        DrawBackImage(r, w3);
    }
    if (blend) c.EndTransparency(std::move(blend));
}

void TCustomChart::DrawWalls() {
    if (!UsesAxesArea() || !Canvas()) return;
    TCanvas3D& c = *Canvas();
    const bool walls3D = View3D() && View3DWalls();
    if (walls3D && FWalls->Right().Visible() && !RightWallFacesAway()) DrawRightOrLeftWall(true);
    if (View3DWalls() && FWalls->Back().Visible() && !DepthPlaneFacesViewer(Width3D())) DrawBackWall();
    if (!walls3D) return;
    if (FWalls->Left().Visible() && !LeftWallFacesAway()) DrawRightOrLeftWall(false);
    if (FWalls->Bottom().Visible()) {
        TChartWall& wall = FWalls->Bottom();
        const TRect& r = ChartRect();
        const int y = r.Bottom + (c.IsFull3D() ? 1 : 0);
        int left = r.Left;
        if (FWalls->Left().Visible() && (!FWalls->Left().AutoHide() || LeftWallFacesAway()))
            left -= WallSizeOfAxis(&LeftAxis());
        const int w3 = Width3D();
        DrawWallBrush(wall);
        TPoint pts[4] = {c.ProjectToPoint(left, y, 0), c.ProjectToPoint(r.Right, y, 0),
                         c.ProjectToPoint(r.Right, y, w3), c.ProjectToPoint(left, y, w3)};
        TWallFill fill;
        fill.Begin(c, wall, pts);
        if (wall.Size() < 1)
            c.DrawRectAtY(left, y, r.Right, 0, w3);
        else
            c.DrawBox(left, r.Right, y, y + wall.Size(), 0, w3, Darkens(wall, c));
        fill.End(c);
    }
    if (DepthPlaneFacesViewer(0)) {
        if (TopAxis().IsShown()) TopAxis().Draw();
        if (BottomAxis().IsShown()) BottomAxis().Draw();
    }
}

void TCustomChart::DrawFrontWalls() {
    if (!UsesAxesArea() || !View3D() || !View3DWalls() || !Canvas()) return;
    auto drawSide = [&](bool right) {
        TCustomChartWall& wall = right ? static_cast<TCustomChartWall&>(FWalls->Right()) : FWalls->Left();
        if (!wall.Visible() || wall.AutoHide()) return;
        if (!(right ? RightWallFacesAway() : LeftWallFacesAway())) return;
        DrawRightOrLeftWall(right);
        TChartAxis& axis = right ? RightAxis() : LeftAxis();
        if (axis.IsShown()) {
            axis.HideBackGrid = true;
            axis.Draw(false);
            axis.HideBackGrid = false;
        }
    };
    drawSide(true);
    drawSide(false);
    TChartBackWall& back = FWalls->Back();
    if (back.Visible() && !back.AutoHide() && DepthPlaneFacesViewer(Width3D())) {
        for (TChartAxis* axis : {&TopAxis(), &BottomAxis()})
            if (axis->IsShown()) {
                axis->HideSideGrid = true;
                axis->DrawGrid(int(axis->TickPositions().size()));
                axis->HideSideGrid = false;
            }
        DrawBackWall();
    }
}

TColor TCustomChart::BackWallColor() {
    return Walls().Back().Color();
}

}  // namespace cb::chart
