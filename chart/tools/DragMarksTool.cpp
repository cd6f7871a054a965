#include "chart/tools/DragMarksTool.h"

#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

namespace cb::chart {

std::string TDragMarksTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolDragMarks);
}

int TDragMarksTool::MarkAt(int x, int y, TChartSeries** series) const {
    const auto test = [&](TChartSeries* s) {
        if (!s->Active()) return -1;
        const int i = s->Marks().MarkAtPoint(x, y);
        if (i >= 0) *series = s;
        return i;
    };
    *series = nullptr;
    if (Series()) return test(Series());
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) return -1;
    for (int k = chart->NumberOfSeries() - 1; k >= 0; --k)
        if (const int i = test(chart->SeriesAt(k)); i >= 0) return i;
    return -1;
}

void TDragMarksTool::Notification(TCustomChartElement* gone) {
    TPlotCustomToolSeries::Notification(gone);
    if (gone == FDragSeries) {
        FDragSeries = nullptr;
        FPosition = nullptr;
    }
}

void TDragMarksTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    switch (kind) {
    case meDown: {
        TChartSeries* s = nullptr;
        const int i = MarkAt(x, y, &s);
        if (i < 0) return;
        TSeriesMarkPosition* p = s->Marks().Positions().PositionAt(i);
        if (!p) return;
        if (FDragSeries) FDragSeries->RemoveFreeNotification(this);
        FDragSeries = s;
        FDragSeries->FreeNotification(this);
        FPosition = p;
        FLastX = x;
        FLastY = y;
        cancelMouse();
        break;
    }
    case meMove:
        if (FPosition) {
            FPosition->Custom = true;
            FPosition->LeftTop.X += x - FLastX;
            FPosition->LeftTop.Y += y - FLastY;
            FPosition->ArrowTo.X += x - FLastX;
            FPosition->ArrowTo.Y += y - FLastY;
            FLastX = x;
            FLastY = y;
            cancelMouse();
            InvalidateChart();
        } else {
            TChartSeries* s = nullptr;
            if (MarkAt(x, y, &s) >= 0 && s->Marks().Visible()) {
                setChartCursor(crHandPoint);
                cancelMouse();
            }
        }
        break;
    case meUp:
        FPosition = nullptr;
        break;
    }
}

}  // namespace cb::chart
