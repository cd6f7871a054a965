#include "chart/series/pie/CircledSeries.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"

#include <cmath>
#include <numbers>

namespace cb::chart {

TCircledSeries::TCircledSeries() : FGradient(std::make_unique<TPlotGradient>([this] { InvalidateChart(); })) {
    FCalcVisiblePoints = false;
    XValues().SetName("Angle");
}

TCircledSeries::~TCircledSeries() {
    FDestroyingSeries = true;
    SaveOrRestoreView3D(true);
}

void TCircledSeries::shareWithClass(const std::function<void(TCircledSeries*)>& apply) {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return;
    for (TChartSeries* s : c->SeriesList().Items()) {
        auto* o = dynamic_cast<TCircledSeries*>(s);
        if (o && o != this && o->HasInstance(this)) apply(o);
    }
}

void TCircledSeries::SetCircled(bool on) {
    StoreBooleanAndRepaint(FSettings.Circled, on);
    const bool loading = ParentChart() && ParentChart()->Loading();
    shareWithClass([&](TCircledSeries* o) {
        o->FSettings.Circled = on;
        if (!loading) o->FSettings.CustomXRadius = o->FSettings.CustomYRadius = 0;
    });
}

void TCircledSeries::SetCustomXRadius(int v) {
    StoreIntegerAndRepaint(FSettings.CustomXRadius, v);
    shareWithClass([&](TCircledSeries* o) { o->FSettings.CustomXRadius = v; });
}

void TCircledSeries::SetCustomYRadius(int v) {
    StoreIntegerAndRepaint(FSettings.CustomYRadius, v);
    shareWithClass([&](TCircledSeries* o) { o->FSettings.CustomYRadius = v; });
}

void TCircledSeries::storeRotation(int degrees) {
    StoreIntegerAndRepaint(FRotationAngle, degrees % 360);
    FRotation = FRotationAngle * std::numbers::pi / 180;
}

void TCircledSeries::SetRotationAngle(int degrees) {
    storeRotation(degrees);
}

TPoint TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius) const {
    const double a = angle + FRotation;
    return {FCircleXCenter + Round(std::cos(a) * xRadius), FCircleYCenter - Round(std::sin(a) * yRadius)};
}

double TCircledSeries::PointToAngle(int x, int y) const {
    constexpr double pi = std::numbers::pi;
    double a;
    if (x == FCircleXCenter)
        a = y > FCircleYCenter ? -pi / 2 : pi / 2;
    else if (FXRadius == 0 || FYRadius == 0)
        a = 0;
    else
        a = std::atan2(double(FCircleYCenter - y) / FYRadius, double(x - FCircleXCenter) / FXRadius);
    if (a < 0) a += 2 * pi;
    a -= FRotation;
    if (a < 0) a += 2 * pi;
    return a;
}

void TCircledSeries::NormalizeCircleRect() {
    TRect& r = FCircleRect;
    if ((r.Right - r.Left) % 2 != 0) --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0) --r.Bottom;
    if (r.Right < r.Left + 4) r.Right = r.Left + 4;
    if (r.Bottom < r.Top + 4) r.Bottom = r.Top + 4;
    FCircleWidth = r.Right - r.Left;
    FCircleHeight = r.Bottom - r.Top;
    FCircleXCenter = (r.Left + r.Right) / 2;
    FCircleYCenter = (r.Top + r.Bottom) / 2;
}

void TCircledSeries::ApplyRadii() {
    if (FSettings.CustomXRadius != 0) {
        FXRadius = FSettings.CustomXRadius;
        FCircleWidth = 2 * FSettings.CustomXRadius;
    } else
        FXRadius = FCircleWidth / 2;
    if (FSettings.CustomYRadius != 0) {
        FYRadius = FSettings.CustomYRadius;
        FCircleHeight = 2 * FSettings.CustomYRadius;
    } else
        FYRadius = FCircleHeight / 2;
    FCircleRect = {FCircleXCenter - FXRadius, FCircleYCenter - FYRadius, FCircleXCenter + FXRadius,
                   FCircleYCenter + FYRadius};
}

void TCircledSeries::ReserveMarksRoom() {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    TCanvas3D& canvas = *c->Canvas();
    int l = Marks().Callout().Length();
    if (Marks().Frame().Visible()) l += 2 * Marks().Frame().Width();
    canvas.AssignFont(Marks().Font());
    const int v = l + canvas.FontHeight();
    const int h = canvas.TextWidth("W") + std::max(c->WidestMarkOfSeries(), WidestMarkText()) + l;
    FCircleRect.Top += v;
    FCircleRect.Bottom -= v;
    FCircleRect.Left += h;
    FCircleRect.Right -= h;
    NormalizeCircleRect();
}

void TCircledSeries::MakeCircular() {
    const double f = ScreenAspectRatio();
    ApplyRadii();
    const int a = Round(FYRadius * f);
    if (a < FXRadius) {
        const int d = FXRadius - a;
        FCircleRect.Left += d;
        FCircleRect.Right -= d;
    } else {
        const int d = FYRadius - Round(FXRadius / f);
        FCircleRect.Top += d;
        FCircleRect.Bottom -= d;
    }
    NormalizeCircleRect();
}

TColor TCircledSeries::EffectiveBackColor() const {
    if (FSettings.CircleBackColor != clDefault) return FSettings.CircleBackColor;
    TCustomAxisPanel* c = ParentChart();
    if (!c) return clWhite;
    if (c->Printing()) return clWhite;
    return c->Color() == clDefault ? clWhite : c->Color();
}

void TCircledSeries::AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
    (void)index;
    (void)style;
    background = EffectiveBackColor();
}

void TCircledSeries::FireBeforeDrawValues() {
    TChartSeries::FireBeforeDrawValues();
    TCustomAxisPanel* c = ParentChart();
    if (!c) return;
    FCircleRect = c->ChartRect();
    NormalizeCircleRect();
    if (Marks().Visible()) ReserveMarksRoom();
    if (FSettings.Circled) MakeCircular();
    ApplyRadii();
}

// --- 3D view switch ---

void TCircledSeries::SaveOrRestoreView3D(bool restore) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || (c->Canvas() && c->Canvas()->IsFull3D())) return;
    if (!restore || (Active() && !FDestroyingSeries)) {
        if (!FSavedView) {
            FSavedView = std::make_unique<TView3DOptions>();
            FSavedView->Assign(c->View3DOptions());
            ApplyPreferredView3D();
        }
    } else
        RestoreView3D();
}

void TCircledSeries::RestoreView3D() {
    if (!FSavedView) return;
    if (TCustomAxisPanel* c = ParentChart()) c->SetView3DOptions(*FSavedView);
    FSavedView.reset();
}

void TCircledSeries::SetActive(bool on) {
    TChartSeries::SetActive(on);
    SaveOrRestoreView3D(!Active());
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* chart) {
    if (chart == ParentChart()) return;
    if (ParentChart()) RestoreView3D();
    TChartSeries::SetParentChart(chart);
    if (chart) SaveOrRestoreView3D(false);
}

void TCircledSeries::LeftChart() {
    RestoreView3D();
    TChartSeries::LeftChart();
}

void TCircledSeries::AssignSeries(const TChartSeries& source) {
    if (this == &source) return;
    auto* from = dynamic_cast<const TCircledSeries*>(&source);
    if (!from) {
        TChartSeries::Assign(source);
        return;
    }
    const TCircledSeries& s = *from;
    FSettings = s.FSettings;
    storeRotation(s.FRotationAngle);
    FGradient->Assign(*s.FGradient);
    TChartSeries::Assign(s);
}

}  // namespace cb::chart
