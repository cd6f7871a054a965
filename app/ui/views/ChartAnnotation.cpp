#include "app/ui/views/ChartAnnotation.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/tools/AnnotationTool.h"

#include <cmath>

namespace cb::app {

namespace {
constexpr TColor kCalloutBrush = 9868950;  // red, green and blue 150
}

TChartAnnotation::TChartAnnotation(cb::chart::TCustomAxisPanel& chart)
    : FChart(chart), FTool(new cb::chart::TAnnotationTool()) {
    chart.Tools().AddTool(FTool);
    FTool->SetPosition(cb::chart::ppRightTop);
    FTool->Shape().SetTransparency(10);
    FTool->Shape().SetShadowSize(0);
    auto& callout = FTool->Callout();
    callout.SetStyle(cb::chart::psCircle);
    callout.SetHorizSize(2);
    callout.SetVertSize(2);
    callout.SetDraw3D(true);
    callout.Brush().SetColor(kCalloutBrush);
    callout.Arrow().SetVisible(false);
    callout.SetArrowHead(cb::chart::ahSolid);
}

void TChartAnnotation::SetActive(bool on) {
    FOn = on;
    // An empty note is not drawn: it shows once it has a point to tell of.
    FTool->SetActive(on && !FTool->Text().empty());
    FTool->Callout().SetVisible(on);
}

bool TChartAnnotation::Active() const {
    return FOn;
}

bool TChartAnnotation::Shown() const {
    return FTool->Active();
}

void TChartAnnotation::PlaceNear(int x, int y) {
    cb::chart::TChartSeries* target = nullptr;
    int targetIndex = -1;
    long best = 0;
    for (int s = 0; s < FChart.NumberOfSeries(); ++s) {
        cb::chart::TChartSeries* series = FChart.SeriesAt(s);
        if (!series || !series->Active()) continue;
        for (int i = 0; i < series->PointCount(); ++i) {
            const double dx = series->ScreenX(i) - x, dy = series->ScreenY(i) - y;
            const long distance = std::lround(std::sqrt(dx * dx + dy * dy));
            // The first point, or one strictly nearer.
            if (!target || distance < best) {
                target = series;
                targetIndex = i;
                best = distance;
            }
        }
    }
    if (!target) return;
    FTool->SetText(target->BuildMarkText(targetIndex));
    FTool->SetActive(FOn);
    auto& callout = FTool->Callout();
    callout.SetVisible(true);
    callout.SetDraw3D(true);
    callout.Arrow().SetVisible(true);
    callout.SetXPosition(target->ScreenX(targetIndex));
    callout.SetYPosition(target->ScreenY(targetIndex));
    callout.SetZPosition(0);
}

std::string TChartAnnotation::Text() const {
    return FTool->Text();
}

bool TChartAnnotation::CalloutVisible() const {
    return FTool->Callout().Visible();
}

int TChartAnnotation::CalloutX() const {
    return FTool->Callout().XPosition();
}

int TChartAnnotation::CalloutY() const {
    return FTool->Callout().YPosition();
}

TColor TChartAnnotation::CalloutColor() const {
    return FTool->Callout().Brush().Color();
}

}  // namespace cb::app
