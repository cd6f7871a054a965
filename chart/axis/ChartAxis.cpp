#include "chart/axis/ChartAxis.h"

#include "chart/axis/ChartAxes.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool isDepth) : FChart(chart), FItems([this] { repaint(); }) {
    FSettings.IsDepth = isDepth;
    FSettings.ValuesFormat = PlotText(TPlotText::txtValuesFormat);
    auto changed = [this] { repaint(); };
    FAxisPen = std::make_unique<TChartPen>(changed);
    WithoutChangeEvent(*FAxisPen, [this] { FAxisPen->SetWidth(2); });
    FTitle = std::make_unique<TChartAxisTitle>(changed);
    FGrid = std::make_unique<TDottedGrayPen>(changed);
    FMinorGrid = std::make_unique<TChartHiddenPen>(changed);
    FTicks = std::make_unique<TDarkGrayPen>(changed);
    FTicksInner = std::make_unique<TDarkGrayPen>(changed);
    FMinorTicks = std::make_unique<TDarkGrayPen>(changed);
    SelectPixelMapping();
    if (FChart) {
        if (FChart->Axes().Count() >= 6) FChart->CustomAxes().Join(this);
        FChart->Axes().Add(this);
    }
}

TChartAxis::~TChartAxis() {
    if (!FChart) return;
    FChart->AxisGoing(this);
    FChart->CustomAxes().Leave(this);
    FChart->Axes().Remove(this);
}

void TChartAxis::repaint() const {
    if (FChart) FChart->Invalidate();
}

// --- setters ---

void TChartAxis::SetAutomatic(bool on) {
    store(FSettings.Automatic, on);
    if (!FChart || !FChart->Loading()) {
        FSettings.AutomaticMinimum = on;
        FSettings.AutomaticMaximum = on;
    }
}

void TChartAxis::SetAutomaticMaximum(bool on) {
    store(FSettings.AutomaticMaximum, on);
    if (!on)
        FSettings.Automatic = false;
    else if (FSettings.AutomaticMinimum)
        FSettings.Automatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool on) {
    store(FSettings.AutomaticMinimum, on);
    if (!on)
        FSettings.Automatic = false;
    else if (FSettings.AutomaticMaximum)
        FSettings.Automatic = true;
}

void TChartAxis::SetMaximum(double v) {
    if ((!FChart || !FChart->Loading()) && v < FSettings.Minimum)
        throw AxisException(PlotText(TPlotText::msgAxisMaximum));
    store(FSettings.Maximum, v);
}

void TChartAxis::SetMinimum(double v) {
    if ((!FChart || !FChart->Loading()) && v > FSettings.Maximum)
        throw AxisException(PlotText(TPlotText::msgAxisMinimum));
    store(FSettings.Minimum, v);
}

void TChartAxis::SetLogarithmic(bool on) {
    if (on == FSettings.Logarithmic) return;
    if (on) {
        if (ShowsDateTime()) throw AxisException(PlotText(TPlotText::msgDateTimeLogarithmic));
        RefreshRange();
        if (FMinWork < 0 || FMaxWork < 0) throw AxisException(PlotText(TPlotText::msgLogarithmicMinMax));
    }
    FSettings.Logarithmic = on;
    SelectPixelMapping();
    RecalcScale();
    repaint();
}

void TChartAxis::SetLogarithmicBase(double b) {
    if (b == 1 || !(b > 0)) throw AxisException(PlotText(TPlotText::msgLogarithmicBase));
    store(FSettings.LogBase, b);
}

void TChartAxis::ChangeInverted(bool on) {
    store(FSettings.Inverted, on);
}

void TChartAxis::SetHorizontal(bool on) {
    store(FSettings.Horizontal, on);
    SelectPixelMapping();
}

void TChartAxis::SetZPosition(double v) {
    store(FZPosition, v == 0 ? 0.01 : v);
}

void TChartAxis::SetIncrement(double v) {
    if (v < 0) throw AxisException(PlotText(TPlotText::msgAxisIncrement));
    store(FSettings.Increment, v);
}

void TChartAxis::SetLabelsSeparation(int v) {
    if (v < 0) throw AxisException(PlotText(TPlotText::msgLabelsSeparation));
    store(FSettings.LabelsSeparation, v);
}

void TChartAxis::SetLabelsAngle(int degrees) {
    store(FSettings.LabelsAngle, ((degrees % 360) + 360) % 360);
}

// --- scale ---

void TChartAxis::FetchAutomaticLimits(double& minimum, double& maximum) {
    if (!FChart) return;
    if (FSettings.Automatic || FSettings.AutomaticMaximum)
        maximum = FChart->AxisValueLimit(this, false, FSettings.Horizontal);
    if (FSettings.Automatic || FSettings.AutomaticMinimum)
        minimum = FChart->AxisValueLimit(this, true, FSettings.Horizontal);
}

void TChartAxis::RefreshRange() {
    FetchAutomaticLimits(FSettings.Minimum, FSettings.Maximum);
    FMinWork = FSettings.Minimum;
    FMaxWork = FSettings.Maximum;
    RecalcScale();
}

void TChartAxis::SetWorkingRange(double minimum, double maximum) {
    FMinWork = minimum;
    FMaxWork = maximum;
    RecalcScale();
}

void TChartAxis::RecalcScale() {
    FRange = FMaxWork - FMinWork;
    FRangeZero = FRange == 0;
    FPixelsPerUnit = FRangeZero ? 0 : FPixelSize / FRange;
    if (FSettings.Logarithmic) {
        FLogMin = FMinWork > 0 ? std::log(FMinWork) : 0;
        FLogMax = FMaxWork > 0 ? std::log(FMaxWork) : 0;
        FLogRange = FLogMax - FLogMin;
        FPixelsPerLog = FLogRange == 0 ? 0 : FPixelSize / FLogRange;
    }
    int size = 0;
    if (FChart) size = FSettings.IsDepth ? FChart->ChartHeight() : FChart->Width3D();
    FDepthOffset = Round(FZPosition * size * 0.01);
}

void TChartAxis::PlaceEnds() {
    int origin = 0, size = 0;
    if (FChart) {
        if (FSettings.IsDepth)
            size = FChart->Width3D();
        else if (FSettings.Horizontal) {
            origin = FChart->ChartRect().Left;
            size = FChart->ChartRect().Width();
        } else {
            origin = FChart->ChartRect().Top;
            size = FChart->ChartRect().Height();
        }
    }
    FStartPixel = origin + Round(size * 0.01 * FSettings.StartPosition);
    FEndPixel = origin + Round(size * 0.01 * FSettings.EndPosition);
    FPixelSize = FEndPixel - FStartPixel;
    FCenterPixel = (FStartPixel + FEndPixel) / 2;
    RecalcScale();
}

void TChartAxis::WidenForPixelMargins(const TRect& margins) {
    const int a = FSettings.Horizontal ? margins.Left : margins.Top;
    const int b = FSettings.Horizontal ? margins.Right : margins.Bottom;
    const int oldStart = FStartPixel, oldEnd = FEndPixel;
    FStartPixel += a;
    FEndPixel -= b;
    FPixelSize = FEndPixel - FStartPixel;
    const double atStart = ValueAtPixel(oldStart);
    const double atEnd = ValueAtPixel(oldEnd);
    PlaceEnds();
    FMinWork = atStart;
    FMaxWork = atEnd;
    if (FMinWork > FMaxWork) std::swap(FMinWork, FMaxWork);
    RecalcScale();
}

void TChartAxis::SelectPixelMapping() {
    FMapping = FSettings.IsDepth ? mapDepth : (FSettings.Logarithmic ? mapLog : mapLinear);
}

static int clampRound(double p) {
    if (p > AxisPixelLimit) return AxisPixelLimit;
    if (p < -AxisPixelLimit) return -AxisPixelLimit;
    return Round(p);
}

int TChartAxis::linearH(double v) const {
    if (FRangeZero) return FCenterPixel;
    const double p = (v - FMinWork) * FPixelsPerUnit;
    return clampRound(FSettings.Inverted ? FEndPixel - p : FStartPixel + p);
}

int TChartAxis::linearV(double v) const {
    if (FRangeZero) return FCenterPixel;
    const double p = (v - FMinWork) * FPixelsPerUnit;
    return clampRound(FSettings.Inverted ? FStartPixel + p : FEndPixel - p);
}

int TChartAxis::logH(double v) const {
    if (FLogRange == 0) return FCenterPixel;
    if (v <= 0) return FSettings.Inverted ? FEndPixel : FStartPixel;
    if (FSettings.Inverted) return Round(FPixelsPerLog * (FLogMax - std::log(v))) + FStartPixel;
    return Round(FPixelsPerLog * (std::log(v) - FLogMin)) + FStartPixel;
}

int TChartAxis::logV(double v) const {
    if (FLogRange == 0) return FCenterPixel;
    if (v <= 0) return FSettings.Inverted ? FStartPixel : FEndPixel;
    if (FSettings.Inverted) return FEndPixel - Round(FPixelsPerLog * (FLogMax - std::log(v)));
    return FEndPixel - Round((std::log(v) - FLogMin) * FPixelsPerLog);
}

int TChartAxis::depthMap(double v) const {
    if (FRangeZero) return FCenterPixel;
    return FSettings.Inverted ? Round(FPixelsPerUnit * (FMaxWork - v)) : Round((v - FMinWork) * FPixelsPerUnit);
}

int TChartAxis::map(TMapping m, bool horizontal, double v) const {
    switch (m) {
    case mapDepth:
        return depthMap(v);
    case mapLog:
        return horizontal ? logH(v) : logV(v);
    default:
        return horizontal ? linearH(v) : linearV(v);
    }
}

int TChartAxis::PixelOfValue(double v) const {
    return map(FMapping, FSettings.Horizontal, v);
}
int TChartAxis::HorizontalPixelOfValue(double v) const {
    return map(FMapping, true, v);
}
int TChartAxis::VerticalPixelOfValue(double v) const {
    return map(FMapping, false, v);
}

double TChartAxis::ValueAtPixel(int p) const {
    if (FSettings.Logarithmic && !FSettings.IsDepth) {
        const bool highAtStart =
            (FSettings.Horizontal && FSettings.Inverted) || (!FSettings.Horizontal && !FSettings.Inverted);
        if (p == FStartPixel) return highAtStart ? FMaxWork : FMinWork;
        if (p == FEndPixel) return highAtStart ? FMinWork : FMaxWork;
        if (FLogRange == 0 || FPixelSize == 0) return FMinWork;
        const double t = (FSettings.Inverted ? FEndPixel - p : p - FStartPixel) * FLogRange / FPixelSize;
        return FSettings.Horizontal ? std::exp(FLogMin + t) : std::exp(FLogMax - t);
    }
    if (FPixelSize < 1) return 0;
    const double a = (FSettings.Inverted ? FEndPixel - p : p - FStartPixel) * FRange / FPixelSize;
    return FSettings.Horizontal ? FMinWork + a : FMaxWork - a;
}

int TChartAxis::PixelSpanOfValue(double v) const {
    if (v <= 0) return 0;
    if (FSettings.Logarithmic) {
        return FLogRange != 0 ? Round(std::log(v) * FPixelsPerLog) : 0;
    }
    return FRange != 0 ? Round(v * FPixelsPerUnit) : 0;
}

void TChartAxis::ScrollRange(double offset, bool checkLimits) {
    if (checkLimits) {
        if (offset == 0 || !FChart) return;
        if (offset > 0 && !(FChart->AxisValueLimit(this, false, FSettings.Horizontal) > FSettings.Maximum)) return;
        if (offset < 0 && !(FChart->AxisValueLimit(this, true, FSettings.Horizontal) < FSettings.Minimum)) return;
    }
    FSettings.Automatic = FSettings.AutomaticMaximum = FSettings.AutomaticMinimum = false;
    FSettings.Maximum += offset;
    FSettings.Minimum += offset;
    repaint();
}

void TChartAxis::SetManualRange(double minimum, double maximum) {
    FSettings.Automatic = FSettings.AutomaticMinimum = FSettings.AutomaticMaximum = false;
    if (minimum > maximum) std::swap(minimum, maximum);
    store(FSettings.Minimum, minimum);
    store(FSettings.Maximum, maximum);
    if (FSettings.Maximum - FSettings.Minimum < 1e-10) FSettings.Maximum = FSettings.Minimum + 1e-10;
}

bool TChartAxis::HitTest(int x, int y) const {
    if (!FChart || !FShown || !FChart->IsAxisShown(this)) return false;
    const TRect& cr = FChart->ChartRect();
    const int line =
        FSettings.Horizontal ? (FSettings.OtherSide ? cr.Top : cr.Bottom) : (FSettings.OtherSide ? cr.Right : cr.Left);
    const int outward = (FSettings.Horizontal ? !FSettings.OtherSide : FSettings.OtherSide) ? 1 : -1;
    const int labels = line + outward * (FSettings.TickLength + 2 + LabelsThickness());
    const int a0 = std::min(FStartPixel, FEndPixel), a1 = std::max(FStartPixel, FEndPixel);
    const int c0 = std::min(line - outward * 3, labels), c1 = std::max(line - outward * 3, labels);
    TRect r = FSettings.Horizontal ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
    if (FChart->View3D() && FChart->Canvas())
        r = FChart->Canvas()->ProjectRect(r, FSettings.OtherSide ? FChart->Width3D() : 0);
    return x >= std::min(r.Left, r.Right) && x <= std::max(r.Left, r.Right) && y >= std::min(r.Top, r.Bottom) &&
           y <= std::max(r.Top, r.Bottom);
}

void TChartAxis::Assign(const TChartAxis& s) {
    FSettings = s.FSettings;
    FAxisPen->Assign(*s.FAxisPen);
    FItems.CopyItems(s.FItems);
    FItems.LabelFrame().SetVisible(s.FItems.LabelFrame().Visible());
    FItems.LabelFrame().SetTransparent(s.FItems.LabelFrame().Transparent());
    FItems.LabelFrame().Font().Assign(s.FItems.LabelFrame().Font());
    FGrid->Assign(*s.FGrid);
    FTitle->Assign(*s.FTitle);
    FMinorGrid->Assign(*s.FMinorGrid);
    FTicks->Assign(*s.FTicks);
    FTicksInner->Assign(*s.FTicksInner);
    FMinorTicks->Assign(*s.FMinorTicks);
    SelectPixelMapping();
    repaint();
}

// --- TChartDepthAxis ---

void TChartDepthAxis::ChangeInverted(bool on) {
    TChartAxis::ChangeInverted(on);
    if (TCustomAxisPanel* c = ParentChart()) {
        TChartAxis& other = this == &c->DepthAxis() ? static_cast<TChartAxis&>(c->DepthTopAxis())
                                                    : static_cast<TChartAxis&>(c->DepthAxis());
        if (&other != this && other.Inverted() != on) other.TChartAxis::ChangeInverted(on);
    }
}

}  // namespace cb::chart
