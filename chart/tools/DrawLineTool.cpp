#include "chart/tools/DrawLineTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

// --- lines ---

void TDrawLine::Assign(const TDrawLine& source) {
    FSettings = source.FSettings;
    if (FOwner) FOwner->InvalidateChart();
}

TDrawLine* TDrawLines::Add() {
    FItems.push_back(std::make_unique<TDrawLine>(FOwner));
    return FItems.back().get();
}

TDrawLine* TDrawLines::Add(double x0, double y0, double x1, double y1) {
    TDrawLine* l = Add();
    l->SetX0(x0);
    l->SetY0(y0);
    l->SetX1(x1);
    l->SetY1(y1);
    return l;
}

void TDrawLines::Delete(int index) {
    TDrawLine* l = (*this)[index];
    if (FOwner && FOwner->FSelected == l) FOwner->FSelected = nullptr;
    FItems.erase(FItems.begin() + index);
    if (FOwner) FOwner->InvalidateChart();
}

void TDrawLines::Clear() {
    if (FOwner) FOwner->FSelected = nullptr;
    FItems.clear();
    if (FOwner) FOwner->InvalidateChart();
}

void TDrawLines::Assign(const TDrawLines& source) {
    if (&source == this) return;
    Clear();
    for (const auto& l : source.FItems) Add()->Assign(*l);
}

// --- tool ---

TDrawLineTool::TDrawLineTool() : FLines(this) {}

TDrawLineTool::~TDrawLineTool() {
    FSelected = nullptr;
}

std::string TDrawLineTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolDrawLine);
}

void TDrawLineTool::SetEnableSelect(bool on) {
    if (on == FEnableSelect) return;
    FEnableSelect = on;
    if (!on) SetSelected(nullptr);
}

void TDrawLineTool::SetSelected(TDrawLine* line) {
    if (line == FSelected) return;
    FSelected = line;
    InvalidateChart();
}

TPoint TDrawLineTool::StartPixel(const TDrawLine& l) const {
    return {HorizontalAxis()->PixelOfValue(l.X0()), VerticalAxis()->PixelOfValue(l.Y0())};
}

TPoint TDrawLineTool::EndPixel(const TDrawLine& l) const {
    return {HorizontalAxis()->PixelOfValue(l.X1()), VerticalAxis()->PixelOfValue(l.Y1())};
}

TPoint TDrawLineTool::unprojected(int x, int y) const {
    if (ParentChart() && ParentChart()->Canvas()) ParentChart()->Canvas()->UnprojectPoint(x, y, 0);
    return {x, y};
}

bool TDrawLineTool::hits(const TDrawLine& l, THit kind, const TPoint& p) const {
    const TPoint s = StartPixel(l), e = EndPixel(l);
    switch (kind) {
    case hitStart:
        return RectContainsPoint({s.X - 3, s.Y - 3, s.X + 3, s.Y + 3}, p.X, p.Y);
    case hitEnd:
        return RectContainsPoint({e.X - 3, e.Y - 3, e.X + 3, e.Y + 3}, p.X, p.Y);
    case hitLine:
    default:
        switch (l.Style()) {
        case dlHorizParallel:
            return PointOnSegment(p, s.X, s.Y, e.X, s.Y, 4) || PointOnSegment(p, s.X, e.Y, e.X, e.Y, 4);
        case dlVertParallel:
            return PointOnSegment(p, s.X, s.Y, s.X, e.Y, 4) || PointOnSegment(p, e.X, s.Y, e.X, e.Y, 4);
        case dlLine:
        default:
            return PointOnSegment(p, s.X, s.Y, e.X, e.Y, 4);
        }
    }
}

TDrawLine* TDrawLineTool::lineAt(THit kind, const TPoint& p) const {
    if (FSelected && hits(*FSelected, kind, p)) return FSelected;
    for (int i = 0; i < FLines.Count(); ++i)
        if (hits(*FLines[i], kind, p)) return FLines[i];
    return nullptr;
}

TDrawLine* TDrawLineTool::LineAt(int x, int y) const {
    if (!HorizontalAxis() || !VerticalAxis()) return nullptr;
    const TPoint p = unprojected(x, y);
    for (THit k : {hitLine, hitStart, hitEnd})
        if (TDrawLine* l = lineAt(k, p)) return l;
    return nullptr;
}

void TDrawLineTool::ClipToAxes() {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart->ClippingAllowed()) return;
    const TChartAxis* h = HorizontalAxis();
    const TChartAxis* v = VerticalAxis();
    const TRect r =
        Series() ? NormalizeRect({h->StartPixel(), v->StartPixel(), h->EndPixel(), v->EndPixel()}) : chart->ChartRect();
    chart->Canvas()->ClipToBox(r, 0, chart->Width3D());
}

void TDrawLineTool::drawLine(const TPoint& s, const TPoint& e, TDrawLineStyle style) {
    TCanvas3D& c = *ParentChart()->Canvas();
    const auto line = [&](int x0, int y0, int x1, int y1) {
        if (ParentChart()->View3D())
            c.DrawLineAtDepth(x0, y0, x1, y1, 0);
        else
            c.DrawLine(x0, y0, x1, y1);
    };
    switch (style) {
    case dlHorizParallel:
        line(s.X, s.Y, e.X, s.Y);
        line(s.X, e.Y, e.X, e.Y);
        break;
    case dlVertParallel:
        line(s.X, s.Y, s.X, e.Y);
        line(e.X, s.Y, e.X, e.Y);
        break;
    case dlLine:
        line(s.X, s.Y, e.X, e.Y);
        break;
    }
}

void TDrawLineTool::paintLines() {
    TCustomAxisPanel* chart = ParentChart();
    if (FLines.Count() == 0 || !HorizontalAxis() || !VerticalAxis()) return;
    TCanvas3D& c = *chart->Canvas();
    c.SetBackgroundMode(1);
    const int clips = c.ClipDepth();
    ClipToAxes();
    c.SelectPen(Pen());
    if (Pen().Visible())
        for (int i = 0; i < FLines.Count(); ++i)
            drawLine(StartPixel(*FLines[i]), EndPixel(*FLines[i]), FLines[i]->Style());
    if (FSelected) {
        c.Pen().SetStyle(cb::gfx::psClear);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.Brush().SetColor(chart->Color() == clBlack ? clSilver : clBlack);
        for (const TPoint& p : {StartPixel(*FSelected), EndPixel(*FSelected)}) {
            const TRect r{p.X - 3, p.Y - 3, p.X + 3, p.Y + 3};
            if (chart->View3D())
                c.DrawRectAtDepth(r, 0);
            else
                c.DrawRectangle(r);
        }
    }
    if (c.ClipDepth() > clips) c.RemoveClip();
}

void TDrawLineTool::paintRubberBand() {
    if (!FDrawing && FDrag == dragNone) return;
    TCanvas3D& c = *ParentChart()->Canvas();
    c.SelectPen(Pen());
    c.Brush().SetStyle(cb::gfx::bsClear);
    drawLine(FFrom, FTo, FSelected && FDrag != dragNone ? FSelected->Style() : dlLine);
}

void TDrawLineTool::HandleChartStage(TChartStage code) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    if (code == csEndOfPaint)
        paintLines();
    else if (code == csOverlay)
        paintRubberBand();
}

void TDrawLineTool::mouseDown(int x, int y) {
    TDrawLine* line = FEnableSelect ? LineAt(x, y) : nullptr;
    if (line) {
        const bool wasSelected = line == FSelected;
        if (!wasSelected) {
            bool allow = true;
            if (OnSelecting) OnSelecting(this, line, allow);
            // A refused line is neither selected nor dragged.
            if (!allow) {
                cancelMouse();
                return;
            }
            SetSelected(line);
            if (OnSelect) OnSelect(this);
        }
        FFrom = StartPixel(*line);
        FTo = EndPixel(*line);
        FDrag = dragLine;
        const TPoint p = unprojected(x, y);
        if (wasSelected && hits(*line, hitStart, p))
            FDrag = dragStart;
        else if (wasSelected && hits(*line, hitEnd, p))
            FDrag = dragEnd;
        FLast = {x, y};
        cancelMouse();
        return;
    }
    SetSelected(nullptr);
    if (!FEnableDraw) return;
    FDrawing = true;
    FFrom = FTo = {x, y};
    repaintOverlay();
    cancelMouse();
}

void TDrawLineTool::mouseMove(int x, int y) {
    if (FDrawing || FDrag != dragNone) {
        switch (FDrag) {
        case dragStart:
            FFrom = {x, y};
            break;
        case dragEnd:
            FTo = {x, y};
            break;
        case dragLine:
            FFrom.X += x - FLast.X;
            FFrom.Y += y - FLast.Y;
            FTo.X += x - FLast.X;
            FTo.Y += y - FLast.Y;
            FLast = {x, y};
            break;
        case dragNone:
            FTo = {x, y};
            break;
        }
        repaintOverlay();
        cancelMouse();
        if (OnDragLine) OnDragLine(this);
        return;
    }
    if (!FEnableSelect) return;
    const TPoint p = unprojected(x, y);
    if (FSelected && (hits(*FSelected, hitStart, p) || hits(*FSelected, hitEnd, p))) {
        setChartCursor(crCross);
        cancelMouse();
    } else if (LineAt(x, y)) {
        setChartCursor(crHandPoint);
        cancelMouse();
    }
}

void TDrawLineTool::mouseUp() {
    const TChartAxis* h = HorizontalAxis();
    const TChartAxis* v = VerticalAxis();
    if (FDrag != dragNone) {
        const TDragMode mode = FDrag;
        FDrag = dragNone;
        if (FSelected) {
            if (mode != dragEnd) {
                FSelected->SetX0(h->ValueAtPixel(FFrom.X));
                FSelected->SetY0(v->ValueAtPixel(FFrom.Y));
            }
            if (mode != dragStart) {
                FSelected->SetX1(h->ValueAtPixel(FTo.X));
                FSelected->SetY1(v->ValueAtPixel(FTo.Y));
            }
        }
        InvalidateChart();
        if (OnDraggedLine) OnDraggedLine(this);
    } else if (FDrawing) {
        FDrawing = false;
        if (FFrom.X != FTo.X || FFrom.Y != FTo.Y) {
            FLines.Add(h->ValueAtPixel(FFrom.X), v->ValueAtPixel(FFrom.Y), h->ValueAtPixel(FTo.X),
                       v->ValueAtPixel(FTo.Y));
            InvalidateChart();
            if (OnNewLine) OnNewLine(this);
        } else
            repaintOverlay();
    }
}

void TDrawLineTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned, int x, int y) {
    if (!ParentChart() || !HorizontalAxis() || !VerticalAxis()) return;
    if (kind == meDown && button == FButton)
        mouseDown(x, y);
    else if (kind == meMove)
        mouseMove(x, y);
    else if (kind == meUp && button == FButton)
        mouseUp();
}

}  // namespace cb::chart
