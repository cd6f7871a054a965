#include "app/ui/views/ChartAnnotation.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/tools/AnnotationTool.h"

#include <algorithm>
#include <cmath>

namespace cb::app {

namespace {
constexpr TColor kCalloutBrush = 9868950;  // red, green and blue 150
constexpr int kGap = 12;                   // between the point and the note's box
constexpr int kEdge = 2;                   // the box keeps this far inside the chart
}  // namespace

// The annotation tool of the view: before it draws, the note picks its
// point again from the chart as just painted and moves beside it.
class TChartAnnotationTool : public cb::chart::TAnnotationTool {
public:
    explicit TChartAnnotationTool(TChartAnnotation* owner) : FOwner(owner) {}
    void Release() { FOwner = nullptr; }

    void HandleChartStage(cb::chart::TChartStage code) override {
        if (code != cb::chart::csEndOfPaint || !FOwner) return;
        FOwner->Follow();
        if (!FOwner->FHasPoint) return;  // nothing to tell of: no note
        FOwner->PlaceBox();
        cb::chart::TAnnotationTool::HandleChartStage(code);
    }

private:
    TChartAnnotation* FOwner;
};

TChartAnnotation::TChartAnnotation(cb::chart::TCustomAxisPanel& chart)
    : FChart(chart), FTool(new TChartAnnotationTool(this)) {
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
    FTool->SetActive(false);
}

TChartAnnotation::~TChartAnnotation() {
    // The chart's tool list may outlive this object by a moment.
    FTool->Release();
}

void TChartAnnotation::SetActive(bool on) {
    FOn = on;
    FTool->SetActive(on);
    FTool->Callout().SetVisible(on);
}

bool TChartAnnotation::Active() const {
    return FOn;
}

bool TChartAnnotation::Shown() const {
    return FOn && FHasPoint;
}

void TChartAnnotation::PlaceNear(int x, int y) {
    FMouseX = x;
    FMouseY = y;
    Follow();
}

void TChartAnnotation::Follow() {
    cb::chart::TChartSeries* target = nullptr;
    int targetIndex = -1;
    long best = 0;
    for (int s = 0; s < FChart.NumberOfSeries(); ++s) {
        cb::chart::TChartSeries* series = FChart.SeriesAt(s);
        if (!series || !series->Active()) continue;
        for (int i = 0; i < series->PointCount(); ++i) {
            const double dx = series->ScreenX(i) - FMouseX, dy = series->ScreenY(i) - FMouseY;
            const long distance = std::lround(std::sqrt(dx * dx + dy * dy));
            // The first point, or one strictly nearer.
            if (!target || distance < best) {
                target = series;
                targetIndex = i;
                best = distance;
            }
        }
    }
    FHasPoint = target != nullptr;
    if (!target) {
        // The chart shows no points: no note on a value that is gone.
        FTool->SetText(std::string());
        return;
    }
    FTool->SetText(target->BuildMarkText(targetIndex));
    auto& callout = FTool->Callout();
    callout.SetVisible(true);
    callout.SetDraw3D(true);
    callout.Arrow().SetVisible(true);
    callout.SetXPosition(target->ScreenX(targetIndex));
    callout.SetYPosition(target->ScreenY(targetIndex));
    callout.SetZPosition(0);
}

void TChartAnnotation::PlaceBox() {
    auto& callout = FTool->Callout();
    cb::chart::TPoint at{callout.XPosition(), callout.YPosition()};
    if (FChart.View3D() && FChart.Canvas()) at = FChart.Canvas()->ProjectToPoint(at.X, at.Y, callout.ZPosition());
    auto& shape = FTool->Shape();
    // The size as the text needs it, wherever the box stands.
    const cb::chart::TRect sized = FTool->LayoutBox();
    const int w = sized.Right - sized.Left, h = sized.Bottom - sized.Top;
    const int chartWidth = FChart.width(), chartHeight = FChart.height();
    // Above and to the right of the point; to its left near the right edge,
    // below it near the top.
    int left = at.X + kGap;
    if (left + w > chartWidth - kEdge) left = at.X - kGap - w;
    int top = at.Y - kGap - h;
    if (top < kEdge) top = at.Y + kGap;
    left = std::max(kEdge, std::min(left, chartWidth - kEdge - w));
    top = std::max(kEdge, std::min(top, chartHeight - kEdge - h));
    shape.SetLeft(left);
    shape.SetTop(top);
    const cb::chart::TRect box = FTool->LayoutBox();
    FBox[0] = box.Left, FBox[1] = box.Top, FBox[2] = box.Right, FBox[3] = box.Bottom;
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

int TChartAnnotation::BoxLeft() const {
    return FBox[0];
}

int TChartAnnotation::BoxTop() const {
    return FBox[1];
}

int TChartAnnotation::BoxRight() const {
    return FBox[2];
}

int TChartAnnotation::BoxBottom() const {
    return FBox[3];
}

}  // namespace cb::app
