#include "chart/series/gantt/GanttSeries.h"

#include "chart/core/PlotTexts.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"

#include <cmath>
#include <utility>

namespace cb::chart {

TGanttSeries::TGanttSeries() {
    MakeXMandatory();
    SetClickableLine(false);
    FCalcVisiblePoints = false;
    XValues().SetName(PlotText(TPlotText::txtValueStart));
    XValues().SetDefaultDateTime(true);
    XValues().SetOrder(loAscending);
    TChartSeries::SetColorEachPoint(true);
    FEnd = ValueLists().Make(this, PlotText(TPlotText::txtValueEnd));
    FEnd->SetDefaultDateTime(true);
    FNextTask = ValueLists().Make(this, PlotText(TPlotText::txtValueNextTask));
    Pointer().SetStyle(psRectangle);
    GetLinePen().Show();
}

int TGanttSeries::AddTask(double start, double end, double y, const std::optional<std::string>& label,
                          TColor color) {
    FEnd->SetParkedValue(end);
    return AddPoint(start, y, label, color);
}

template <class F>
void TGanttSeries::renumber(F map) {
    for (int k = 0; k < FNextTask->ValueCount(); ++k) {
        const double v = FNextTask->Value(k);
        if (v < 0) continue;
        const int mapped = map(int(std::nearbyint(v)));
        if (mapped != int(std::nearbyint(v))) FNextTask->SetValue(k, mapped);
    }
}

int TGanttSeries::AddPoint(double x, double y, const std::optional<std::string>& label, TColor color) {
    FNextTask->SetParkedValue(-1);
    const int before = PointCount();
    const int index = TCustomSeries::AddPoint(x, y, label, color);
    if (index >= 0 && index < before) {
        // Tasks at or after the insert moved one place on.
        FNextTask->SetValue(index, -1);
        renumber([index](int t) { return t >= index ? t + 1 : t; });
        FNextTask->SetValue(index, -1);
    }
    return index;
}

void TGanttSeries::DeletePoint(int index) {
    TCustomSeries::DeletePoint(index);
    renumber([index](int t) { return t == index ? -1 : t > index ? t - 1 : t; });
}

void TGanttSeries::DeletePoints(int index, int count, bool renumberOthers) {
    const int n = PointCount();
    TCustomSeries::DeletePoints(index, count, renumberOthers);
    if (index < 0 || index >= n || count <= 0) return;
    const int removed = n - PointCount();
    renumber([index, removed](int t) { return t < index ? t : t < index + removed ? -1 : t - removed; });
}

void TGanttSeries::SwapPoints(int i, int j) {
    TCustomSeries::SwapPoints(i, j);
    if (i == j) return;
    renumber([i, j](int t) { return t == i ? j : t == j ? i : t; });
}

void TGanttSeries::DrawPoint(int i) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas() || !Pointer().Visible()) return;
    TCanvas3D& c = *chart->Canvas();
    const TColor col = PointColor(i);
    Pointer().ApplyPenAndBrush(c, col);
    const int x0 = ScreenX(i), x1 = XToPixel(FEnd->Value(i)), y = ScreenY(i);
    const int h = (x1 - x0) / 2;
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, i) : Pointer().Style();
    Pointer().DrawShape(c, chart->View3D(), x0 + h, y, h, Pointer().VertSize(), col, style);
    const TChartPen& pen = GetLinePen();
    if (!pen.Visible()) return;
    const int j = int(std::nearbyint(FNextTask->Value(i)));
    if (j < 0 || j >= PointCount()) return;
    c.SelectPen(pen);
    c.Brush().SetStyle(cb::gfx::bsClear);
    const int xj = ScreenX(j), yj = ScreenY(j), m = x1 + (xj - x1) / 2, z = MiddleZ();
    c.DrawLineAtDepth(x1, y, m, y, z);
    c.LineToAtDepth(m, yj, z);
    c.LineToAtDepth(xj, yj, z);
}

bool TGanttSeries::PointerContains(int index, int px, int py, int x, int y) {
    return px <= x && x <= XToPixel(FEnd->Value(index)) && std::abs(y - py) < Pointer().VertSize();
}

double TGanttSeries::HighestX() {
    return std::max(TCustomSeries::HighestX(), FEnd->Highest());
}

void TGanttSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
    position.LeftTop.X += (XToPixel(FEnd->Value(index)) - position.ArrowFrom.X) / 2;
    position.LeftTop.Y += position.Height / 2;
    TCustomSeries::DrawPointMark(index, text, position);
}

void TGanttSeries::AssignSeries(const TChartSeries& source) {
    if (auto* g = dynamic_cast<const TGanttSeries*>(&source); g && g != this)
        GetLinePen().Assign(const_cast<TGanttSeries*>(g)->GetLinePen());
    TPointSeries::AssignSeries(source);
}

}  // namespace cb::chart
