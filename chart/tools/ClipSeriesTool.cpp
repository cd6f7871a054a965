#include "chart/tools/ClipSeriesTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

namespace cb::chart {

TClipSeriesTool::~TClipSeriesTool() {
    unhook();
}

std::string TClipSeriesTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolClipSeries);
}

void TClipSeriesTool::unhook() {
    if (TChartSeries* s = Series()) {
        s->BeforeDrawValues = nullptr;
        s->AfterDrawValues = nullptr;
    }
}

void TClipSeriesTool::SetSeries(TChartSeries* series) {
    if (series == Series()) return;
    unhook();
    TPlotCustomToolSeries::SetSeries(series);
    if (!series) return;
    series->BeforeDrawValues = [this](TChartSeries* s) {
        TCustomAxisPanel* chart = s->ParentChart();
        const TChartAxis* h = s->GetHorizAxis();
        const TChartAxis* v = s->GetVertAxis();
        if (!Active() || !chart || !chart->Canvas() || !h || !v || !chart->ClippingAllowed()) return;
        chart->Canvas()->ClipToRect(NormalizeRect({h->StartPixel(), v->StartPixel(), h->EndPixel(), v->EndPixel()}));
        FClipped = true;
    };
    series->AfterDrawValues = [this](TChartSeries* s) {
        if (!FClipped) return;
        FClipped = false;
        if (TCustomAxisPanel* chart = s->ParentChart(); chart && chart->Canvas()) chart->Canvas()->RemoveClip();
    };
}

}  // namespace cb::chart
