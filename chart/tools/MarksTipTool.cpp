#include "chart/tools/MarksTipTool.h"

#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "platform/rtl/ScopeGuard.h"

#include <QToolTip>

namespace cb::chart {

namespace {
int GHintPause = 500;
}  // namespace

int TMarksTipTool::MouseDelay() {
    return GHintPause;
}

void TMarksTipTool::SetMouseDelay(int ms) {
    GHintPause = ms;
}

std::string TMarksTipTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolMarkTips);
}

void TMarksTipTool::clearHint() {
    if (TCustomAxisPanel* chart = TargetChart()) chart->setToolTip({});
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction a) {
    FMouseAction = a;
    clearHint();
}

void TMarksTipTool::SetActive(bool on) {
    TPlotCustomToolSeries::SetActive(on);
    if (!on) clearHint();
}

void TMarksTipTool::showTip(int x, int y) {
    TCustomAxisPanel* chart = Series() && Series()->ParentChart() ? Series()->ParentChart() : ParentChart();
    if (!chart) return;
    TChartSeries* series = nullptr;
    int index = -1;
    if (Series()) {
        series = Series();
        index = series->PointAtPixel(x, y);
    } else
        for (int k = chart->NumberOfSeries() - 1; k >= 0 && index < 0; --k) {
            series = chart->SeriesAt(k);
            index = series->PointAtPixel(x, y);
        }
    if (index < 0) {
        int tips = 0;
        for (TPlotCustomTool* t : chart->Tools().Items()) tips += dynamic_cast<TMarksTipTool*>(t) != nullptr;
        if (tips <= 1) {
            chart->setToolTip({});
            QToolTip::hideText();
        }
        return;
    }
    std::string text;
    {
        const bool repaint = chart->AutoRepaint();
        TSeriesMarks& marks = series->Marks();
        const TSeriesMarksStyle style = marks.Style();
        chart->SetAutoRepaint(false);
        auto restore = cb::rtl::OnScopeExit([&] {
            marks.SetStyle(style);
            chart->SetAutoRepaint(repaint);
        });
        marks.SetStyle(FStyle);
        text = series->BuildMarkText(index);
    }
    if (OnGetText) OnGetText(this, text);
    const QString hint = QString::fromStdString(text);
    if (hint == chart->toolTip()) return;
    chart->setToolTip(hint);
    QToolTip::showText(chart->mapToGlobal(QPoint(x, y)), hint, chart);
}

void TMarksTipTool::HandleChartMouse(TPlotMouseEventKind kind, TPlotMouseButton, unsigned, int x, int y) {
    if ((kind == meMove && FMouseAction == mtmMove) || (kind == meDown && FMouseAction == mtmClick)) showTip(x, y);
}

}  // namespace cb::chart
