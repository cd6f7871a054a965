#include "chart/tools/ChartImageTool.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

namespace cb::chart {

TChartImageTool::TChartImageTool() : FPicture(std::make_unique<cb::gfx::TBitmap>()) {}

TChartImageTool::~TChartImageTool() = default;

std::string TChartImageTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolImage);
}

void TChartImageTool::SetPicture(const cb::gfx::TBitmap& picture) {
    FPicture->Assign(picture);
    InvalidateChart();
}

void TChartImageTool::SetSeries(TChartSeries* series) {
    TPlotCustomToolSeries::SetSeries(series);
    InvalidateChart();
}

TRect TChartImageTool::PictureRect() const {
    TChartSeries* s = Series();
    const TChartAxis* h = HorizontalAxis();
    const TChartAxis* v = VerticalAxis();
    if (!h || !v) return {0, 0, 0, 0};
    if (s) return {s->XToPixel(s->LowestX()), s->YToPixel(s->HighestY()), s->XToPixel(s->HighestX()),
                   s->YToPixel(s->LowestY())};
    return {h->PixelOfValue(h->Minimum()), v->PixelOfValue(v->Maximum()), h->PixelOfValue(h->Maximum()),
            v->PixelOfValue(v->Minimum())};
}

void TChartImageTool::HandleChartStage(TChartStage code) {
    TCustomAxisPanel* chart = ParentChart();
    if (code != csBeforeSeries || !chart || !chart->Canvas() || FPicture->Empty()) return;
    TCanvas3D& c = *chart->Canvas();
    const TRect r = PictureRect();
    const bool clipped = chart->ClipToChartBox();
    const int w = chart->Width3D();
    if (!chart->View3D() || c.IsOrthogonal())
        c.StretchGraphic(NormalizeRect(chart->View3D() ? c.ProjectRect(r, w) : r), FPicture.get());
    else
        c.DrawPictureAtDepth(r, FPicture.get(), w);
    if (clipped) c.RemoveClip();
}

}  // namespace cb::chart
