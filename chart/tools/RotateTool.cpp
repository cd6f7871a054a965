#include "chart/tools/RotateTool.h"

#include "chart/canvas/View3DOptions.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TRotateTool::TRotateTool() {
    Pen().SetColor(clWhite);
    Pen().Hide();
}

std::string TRotateTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolRotate);
}

void TRotateTool::drawOutline() {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    c.SetProjectionCenter(chart->Width3D(), chart->ChartBounds(), chart->ChartRect());
    c.SelectPen(Pen());
    c.Brush().SetStyle(cb::gfx::bsClear);
    const TRect& r = chart->ChartRect();
    const int w = chart->Width3D();
    c.DrawRectAtDepth(r, 0);
    c.DrawRectAtDepth(r, w);
    c.DrawDepthLine(r.Left, r.Top, 0, w);
    c.DrawDepthLine(r.Right, r.Top, 0, w);
    c.DrawDepthLine(r.Left, r.Bottom, 0, w);
    c.DrawDepthLine(r.Right, r.Bottom, 0, w);
}

void TRotateTool::HandleChartStage(TChartStage code) {
    if (code == csOverlay && FDragging && FSaved && Pen().Visible()) drawOutline();
}

void TRotateTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton button, unsigned, int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return;
    switch (kind) {
    case meDown:
        if (button != FButton) return;
        FDragging = true;
        FFirstStep = true;
        FLastX = x;
        FLastY = y;
        cancelMouse();
        break;
    case meMove: {
        if (!FDragging) return;
        const int w = std::max(1, chart->ChartWidth()), h = std::max(1, chart->ChartHeight());
        int rot = int(std::nearbyint((x - FLastX) * 90.0 / w));
        int elev = int(std::nearbyint((FLastY - y) * 90.0 / h));
        if (FInverted) {
            rot = -rot;
            elev = -elev;
        }
        if (Pen().Visible() && FFirstStep) {
            FSavedRepaint = chart->AutoRepaint();
            FSaved = true;
            chart->SetAutoRepaint(false);
        }
        FFirstStep = false;
        TView3DOptions& o = chart->View3DOptions();
        chart->SetView3D(true);
        o.SetOrthogonal(false);
        if (FStyle != rsElevation) {
            int r = o.Rotation() + rot;
            if (rot > 0 && r > 360) r -= 360;
            if (rot < 0 && r < 0) r += 360;
            o.SetRotation(r);
        }
        if (FStyle != rsRotation) {
            const int e = o.Elevation() + elev;
            o.SetElevation(elev > 0 ? std::min(360, e) : elev < 0 ? std::max(270, e) : o.Elevation());
        }
        FLastX = x;
        FLastY = y;
        cancelMouse();
        if (FSaved) repaintOverlay();
        if (OnRotate) OnRotate(this);
        break;
    }
    case meUp:
        if (!FDragging) return;
        FDragging = false;
        if (FSaved) {
            FSaved = false;
            chart->SetAutoRepaint(FSavedRepaint);
            chart->Invalidate();
        }
        break;
    }
}

}  // namespace cb::chart
