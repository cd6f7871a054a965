#include "chart/tools/NearestTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <cmath>
#include <vector>

namespace cb::chart {

TNearestTool::TNearestTool() : FLinePen(std::make_unique<TChartPen>([this] { repaintOverlay(); })) {
    Brush().SetStyle(cb::gfx::bsClear);
    Pen().SetColor(clWhite);
    Pen().SetStyle(cb::gfx::psDot);
}

TNearestTool::~TNearestTool() = default;

std::string TNearestTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolNearestPoint);
}

TPoint TNearestTool::screenPoint(int i, int* depth) const {
    TChartSeries* s = Series();
    TCustomAxisPanel* chart = ParentChart();
    TPoint p{s->ScreenX(i), s->ScreenY(i)};
    int z = s->StartZ();
    if (s->HasOwnZValues() && s->ValueLists().Count() > 2)
        z = chart->DepthAxis().PixelOfValue(s->ValueLists()[2]->Value(i));
    if (depth) *depth = z;
    if (chart->View3D() && chart->Canvas()) p = chart->Canvas()->ProjectToPoint(p.X, p.Y, z);
    return p;
}

int TNearestTool::NearestTo(int x, int y) const {
    TChartSeries* s = Series();
    TCustomAxisPanel* chart = ParentChart();
    if (!s || !chart || s->PointCount() == 0) return -1;
    int first = 0, last = s->PointCount() - 1;
    if (s->CalculatesVisiblePoints() && s->FirstVisible() >= 0) {
        first = s->FirstVisible();
        last = std::min(s->LastVisible(), last);
    }
    const TRect& r = chart->ChartRect();
    int best = -1, bestDistance = 10000;
    for (int i = first; i <= last; ++i) {
        if (s->IsEmptyPoint(i)) continue;
        const TPoint p = screenPoint(i, nullptr);
        if (!RectContainsPoint(r, p.X, p.Y)) continue;
        const int d = int(std::nearbyint(std::hypot(double(p.X - x), double(p.Y - y))));
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void TNearestTool::draw() {
    TChartSeries* s = Series();
    TCustomAxisPanel* chart = ParentChart();
    if (!s || !chart || !chart->Canvas() || FPoint < 0 || FPoint >= s->PointCount()) return;
    TCanvas3D& c = *chart->Canvas();
    int z = 0;
    const TPoint p{s->ScreenX(FPoint), s->ScreenY(FPoint)};
    screenPoint(FPoint, &z);
    const bool is3D = chart->View3D();
    c.SelectPen(Pen());
    if (!Pen().Visible()) c.Pen().SetStyle(cb::gfx::psClear);
    c.AssignBrush(Brush(), Brush().Color());
    const int n = FSize;
    switch (FStyle) {
    case hsCircle:
        if (is3D)
            c.DrawEllipseAtDepth(p.X - n, p.Y - n, p.X + n, p.Y + n, z);
        else
            c.DrawEllipse(p.X - n, p.Y - n, p.X + n, p.Y + n);
        break;
    case hsRectangle:
        if (is3D)
            c.DrawRectAtDepth({p.X - n, p.Y - n, p.X + n, p.Y + n}, z);
        else
            c.DrawRect(p.X - n, p.Y - n, p.X + n, p.Y + n);
        break;
    case hsDiamond: {
        const std::vector<TPoint> d = {{p.X, p.Y - n}, {p.X + n, p.Y}, {p.X, p.Y + n}, {p.X - n, p.Y}};
        c.DrawPolygonAtDepth(d, is3D ? z : 0);
        break;
    }
    case hsNone:
        break;
    }
    if (FLinePen->Visible() && FMouse.X >= 0) {
        c.SelectPen(*FLinePen);
        const TPoint end = is3D ? c.ProjectToPoint(p.X, p.Y, z) : p;
        c.DrawLine(FMouse.X, FMouse.Y, end.X, end.Y);
    }
}

void TNearestTool::HandleChartStage(TChartStage code) {
    if (code == csOverlay)
        draw();
    else if (code == csMouseLeave && (FPoint >= 0 || FMouse.X >= 0)) {
        FPoint = -1;
        FMouse = {-1, -1};
        repaintOverlay();
    }
}

void TNearestTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    if (kind != meMove || !Series()) return;
    FPoint = NearestTo(x, y);
    FMouse = {x, y};
    if (OnChange) OnChange(this);
    repaintOverlay();
}

}  // namespace cb::chart
