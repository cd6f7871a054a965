#include "chart/tools/AxisScrollTool.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

namespace cb::chart {

std::string TAxisScrollTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolAxisScroll);
}

void TAxisScrollTool::AxisDestroyed(const TChartAxis* axis) {
    TPlotCustomToolAxis::AxisDestroyed(axis);
    if (FDragged == axis) FDragged = nullptr;
}

TChartAxis* TAxisScrollTool::AxisAt(int x, int y) const {
    if (Axis()) return Axis()->Visible() && Axis()->HitTest(x, y) ? Axis() : nullptr;
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return nullptr;
    for (int i = 0; i < chart->Axes().Count(); ++i)
        if (TChartAxis* a = chart->Axes()[i]; a->Visible() && a->HitTest(x, y)) return a;
    return nullptr;
}

namespace {
// Scrolls a by d pixels' worth of its range.
void ScrollByPixels(TChartAxis& a, int d) {
    const int length = a.PixelSize();
    if (length == 0) return;
    a.ScrollRange((a.Maximum() - a.Minimum()) * d / length, false);
}

bool ShareASeries(TCustomAxisPanel& chart, const TChartAxis* a, const TChartAxis* b) {
    for (int i = 0; i < chart.NumberOfSeries(); ++i) {
        const TChartSeries* s = chart.SeriesAt(i);
        if (s->IsLinkedToAxis(a) && s->IsLinkedToAxis(b)) return true;
    }
    return false;
}
}  // namespace

void TAxisScrollTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !Active()) return;
    switch (kind) {
    case meDown:
        FDragged = AxisAt(x, y);
        FLastX = x;
        FLastY = y;
        break;
    case meMove:
        if (FDragged) {
            const bool horizontal = FDragged->Horizontal();
            int d = horizontal ? FLastX - x : FLastY - y;
            if (FDragged->Inverted()) d = -d;
            if (horizontal == FScrollInverted) d = -d;
            ScrollByPixels(*FDragged, d);
            for (int i = 0; i < chart->Axes().Count(); ++i) {
                TChartAxis* other = chart->Axes()[i];
                if (other != FDragged && other->Horizontal() == horizontal && !other->IsDepthAxis() &&
                    ShareASeries(*chart, FDragged, other))
                    ScrollByPixels(*other, d);
            }
            FLastX = x;
            FLastY = y;
            cancelMouse();
        } else if (AxisAt(x, y)) {
            setChartCursor(crHandPoint);
            cancelMouse();
        }
        break;
    case meUp:
        FDragged = nullptr;
        break;
    }
}

}  // namespace cb::chart
