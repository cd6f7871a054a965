#include "chart/component/ExtraLegendTool.h"

#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

namespace cb::chart {

TExtraLegendTool::~TExtraLegendTool() {
    FLegend.reset();
}

std::string TExtraLegendTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolExtraLegend);
}

std::unique_ptr<TChartLegend> TExtraLegendTool::makeLegend(TCustomAxisPanel* chart) const {
    auto legend = std::make_unique<TChartLegend>(chart);
    legend->SetCustomPosition(true);
    legend->SetLegendStyle(lsValues);
    return legend;
}

TChartLegend& TExtraLegendTool::Legend() {
    if (!FLegend) FLegend = makeLegend(ParentChart());
    return *FLegend;
}

void TExtraLegendTool::SetParentChart(TCustomAxisPanel* chart) {
    TPlotCustomToolSeries::SetParentChart(chart);
    if (!FLegend) return;
    if (FLegend->Chart() != chart) {
        // A legend lists the series of the chart it was made for: make it
        // again for the new chart, with the same settings.
        auto moved = makeLegend(chart);
        moved->Assign(*FLegend);
        moved->SetCustomPosition(true);
        FLegend = std::move(moved);
    }
    if (chart)
        FLegend->DividingLines().OnChange = [chart](cb::gfx::TGraphicsObject&) { chart->SettingChanged(); };
    else
        FLegend->DividingLines().OnChange = nullptr;
    FLegend->SetParentPanel(chart);
}

void TExtraLegendTool::SetSeries(TChartSeries* series) {
    TPlotCustomToolSeries::SetSeries(series);
    InvalidateChart();
}

void TExtraLegendTool::HandleChartStage(TChartStage code) {
    if (code != csEndOfPaint || !ParentChart() || !Series()) return;
    TChartLegend& legend = Legend();
    legend.SetLegendSeries(Series());
    if (legend.Visible()) legend.Paint();
}

}  // namespace cb::chart
