// Increments and labels of an axis.
#include "chart/axis/ChartAxis.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cb::chart {

namespace {

constexpr int NoCalendarStep = DateTimeStepCount;  // 27

std::string floatText(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

bool acrossAngle(int angle) {
    return angle == 90 || angle == 270;
}

}  // namespace

double NextNiceStep(double x) {
    if (!(x > 0) || std::isinf(x)) return x;
    if (x >= 10) return 10 * NextNiceStep(x * 0.1);
    if (x < 1) return NextNiceStep(x * 10) * 0.1;
    if (x < 2) return 2;
    if (x < 5) return 5;
    return 10;
}

int CountLabelLines(const std::string& text) {
    int n = int(std::count(text.begin(), text.end(), '\r'));
    const std::size_t last = text.rfind('\r');
    if (last == std::string::npos ? !text.empty() : last + 1 < text.size()) ++n;
    return n;
}

// --- label style and text ---

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() const {
    return FSettings.LabelStyle == talAuto ? AutoLabelStyle() : FSettings.LabelStyle;
}

std::string TChartAxis::FormatLabelValue(double v) const {
    std::string text;
    if (!ShowsDateTime())
        text = cb::rtl::FormatFloat(FSettings.ValuesFormat, v);
    else if (v >= 0) {
        const std::string format =
            FSettings.DateTimeFormat.empty() ? DateTimeFormatForStep(std::fabs(FRange)) : FSettings.DateTimeFormat;
        text = cb::rtl::FormatDateTime(format, v);
    }
    if (FChart && FChart->OnGetAxisLabel && !FNoGetLabelEvent)
        FChart->OnGetAxisLabel(const_cast<TChartAxis*>(this), nullptr, -1, text);
    if (FSettings.LabelsMultiLine) std::replace(text.begin(), text.end(), ' ', '\r');
    return text;
}

// --- increments ---

double TChartAxis::LogRound(double v) const {
    if (!(v > 0) || !(FSettings.LogBase > 0) || FSettings.LogBase == 1) return v;
    return std::pow(FSettings.LogBase, Round(std::log(v) / std::log(FSettings.LogBase)));
}

double TChartAxis::dateTimeIncrement(int n) const {
    double s = std::max(DateTimeSteps[0], FSettings.Increment);
    if (s > 0 && n > 0) {
        const double range = std::fabs(FRange);
        if (range / s > 1e6) s = range / 1e6;
        for (;;) {
            const double count = std::nearbyint(range / s);
            if (count <= n) break;
            if (s >= 365)
                s *= 2;
            else if (s >= DateTimeSteps[2])
                s = NextDateTimeStep(s);
            else
                s = NextNiceStep(s);
        }
    }
    return std::max(DateTimeSteps[0], s);
}

double TChartAxis::CalcIncrementFor(int n) const {
    const bool dateTime = ShowsDateTime();
    if (n < 1) return dateTime ? DateTimeSteps[0] : 1e-12;
    if (dateTime) return dateTimeIncrement(n);
    double s;
    if (FSettings.Increment > 0)
        s = FSettings.Increment;
    else if (FRange == 0)
        s = 1;
    else {
        s = std::fabs(FRange) / (n + 1);
        if (FSettings.Logarithmic) s = LogRound(s);
        if (hasShortSeries(n)) s = std::max(s, 1.0);
    }
    if (FSettings.LabelsSeparation > 0) {
        double count = n + 1;
        for (;;) {
            const double t = FRange / s;
            bool grow = true;
            if (std::fabs(t) < 2147483647.0) {
                count = std::nearbyint(t);
                grow = count > n;
            }
            if (grow) s = FSettings.Logarithmic ? s * FSettings.LogBase : NextNiceStep(s);
            if (count <= n || s > FRange || std::isinf(s)) break;
        }
    }
    if (std::isinf(s)) return FRange;
    return std::max(s, 1e-12);
}

double TChartAxis::IncrementForLabelSize(int e) const {
    int n = 1;
    if (e > 0) {
        const int e2 = FSettings.LabelsSeparation > 0 ? e + Round(FSettings.LabelsSeparation * 0.01 * e) : e;
        n = Round(double(FPixelSize) / e2);
    }
    return CalcIncrementFor(n);
}

double TChartAxis::LabelIncrement() const {
    const int e = std::max(LabelExtentOfValue(FSettings.Horizontal, FMaxWork),
                           LabelExtentOfValue(FSettings.Horizontal, FMinWork));
    double i = IncrementForLabelSize(e);
    if (FSettings.LabelsAlternate) i = FSettings.Logarithmic ? i / FSettings.LogBase : i * 0.5;
    return i;
}

int TChartAxis::LabelExtentOfValue(bool horizontal, double v) const {
    if (!FChart || !FChart->Canvas()) return 0;
    const std::string text = FormatLabelValue(v);
    int lines = 0;
    const int width = FChart->MultiLineTextWidth(text, &lines);
    const bool across =
        horizontal ? acrossAngle(FSettings.LabelsAngle) : (FSettings.LabelsAngle == 0 || FSettings.LabelsAngle == 180);
    if (across) return FChart->Canvas()->ReferenceCanvas() ? FChart->Canvas()->FontHeight() * lines : 0;
    return width;
}

int TChartAxis::TextThickness(TPlotFont& font, int angle, int fixedSize, const std::string* text) const {
    if (fixedSize != 0) return fixedSize;
    if (!FChart || !FChart->Canvas() || !FChart->Canvas()->ReferenceCanvas()) return 0;
    TCanvas3D& c = *FChart->Canvas();
    c.AssignFont(font);
    const bool alongNormal = FSettings.Horizontal ? (angle == 0 || angle == 180) : acrossAngle(angle);
    if (alongNormal) return c.FontHeight();
    return text ? FChart->MultiLineTextWidth(*text) : MaxLabelWidth();
}

int TChartAxis::LabelsThickness() const {
    int t = TextThickness(const_cast<TChartAxis*>(this)->LabelsFont(), FSettings.LabelsAngle, FSettings.LabelsSize,
                          nullptr);
    return FSettings.LabelsAlternate ? 2 * t : t;
}

int TChartAxis::MaxLabelWidth() const {
    if (!FChart) return 0;
    if (FItems.Count() > 0) {
        int w = 0;
        for (int i = 0; i < FItems.Count(); ++i) {
            TAxisItem* it = FItems.ItemAt(i);
            if (FChart->Canvas() && FChart->Canvas()->ReferenceCanvas()) FChart->Canvas()->AssignFont(it->Font());
            w = std::max(w, FChart->MultiLineTextWidth(it->Text()));
        }
        return w;
    }
    switch (EffectiveLabelStyle()) {
    case talValue: {
        double first = FMinWork, last = FMaxWork;
        if ((ShowsDateTime() && FSettings.ExactDateTime) || FSettings.RoundFirstLabel) {
            const double i = LabelIncrement();
            if (i > 0) {
                first = std::trunc(FMinWork / i) * i;
                last = std::trunc(FMaxWork / i) * i;
            }
        }
        FNoGetLabelEvent = true;
        const std::string a = FormatLabelValue(first), b = FormatLabelValue(last);
        FNoGetLabelEvent = false;
        return std::max(FChart->MultiLineTextWidth(a), FChart->MultiLineTextWidth(b)) + FChart->MultiLineTextWidth(" ");
    }
    case talMark:
        return FChart->WidestMarkOfSeries();
    case talText:
        return FChart->WidestSeriesLabel();
    default:
        return 0;
    }
}

void TChartAxis::StepLabelValue(double& v, bool down, int stepIndex, double increment) const {
    const bool exact = ShowsDateTime() && FSettings.ExactDateTime && stepIndex >= dtHalfMonth && stepIndex <= dtOneYear;
    StepDateTime(exact, !down, v, stepIndex, increment);
}

// --- the label pass ---

void TChartAxis::emitValueLabel(double v) {
    const int pixel = PixelOfValue(v);
    if (!FSettings.LabelsOnAxis && !(FStartPixel < pixel && pixel < FEndPixel)) return;
    const bool drawn = Labels();
    if (!FSettings.TickOnLabelsOnly || drawn) recordTick(pixel);
    if (drawn) FLabelList.push_back({v, pixel, FormatLabelValue(v), nullptr});
}

void TChartAxis::linearLabels(double i, int k) {
    // A range that holds too many increments is labelled at a coarser step.
    if (std::fabs(FRange / i) >= 10000) {
        while (std::fabs(FRange / i) >= 10000 && !std::isinf(i)) i = NextNiceStep(i);
        k = NoCalendarStep;
    }
    double v;
    if (ShowsDateTime() && FSettings.ExactDateTime && k != NoCalendarStep && k >= 16)
        v = RoundDateToStep(k, FMaxWork);
    else if (!FSettings.RoundFirstLabel || floatText(FMinWork) == floatText(FMaxWork))
        v = FMaxWork;
    else
        v = std::trunc(FMaxWork / i) * i;
    for (int guard = 0; v > FMaxWork && guard < 100000; ++guard) {
        const double before = v;
        StepLabelValue(v, true, k, i);
        if (!(v < before)) break;
    }
    if (FRangeZero || std::fabs(FMaxWork - FMinWork) < 1e-10 || floatText(v) == floatText(v - i)) {
        emitValueLabel(v);
        return;
    }
    const double m = FMinWork >= 0 ? (FMinWork - 1e-12) / (1 + 1e-12) : FMinWork;
    for (int guard = 0; v >= m && guard < 100000; ++guard) {
        emitValueLabel(v);
        const double before = v;
        StepLabelValue(v, true, k, i);
        if (!(v < before)) break;
    }
}

void TChartAxis::logLabels() {
    if (FMinWork == FMaxWork) return;
    const double b = FSettings.LogBase;
    double v;
    if (FMinWork > 0)
        v = LogRound(FMinWork);
    else {
        FMinWork = FMinWork == 0 ? 0.1 : LogRound(1e-10);
        RecalcScale();
        v = FMinWork;
    }
    const bool minorGrid = FMinorGrid->Visible();
    const double logB = std::log(b);
    if (minorGrid && b > 0 && b != 1) {
        const double t = v >= FMinWork ? std::pow(b, std::log(FMinWork) / logB - 1) : v;
        if (t < FMinWork) recordTick(PixelOfValue(t));
    }
    if (b > 1) {
        bool emitted = false;
        for (double x = v; x <= FMaxWork; x *= b)
            if (x >= FMinWork) {
                emitValueLabel(x);
                emitted = true;
            }
        if (!emitted) {
            const double d = std::pow(b, std::log(v) / logB - 1);
            if (d > 0)
                for (double x = v; x <= FMaxWork; x += d)
                    if (x >= FMinWork) emitValueLabel(x);
        }
    }
    if (minorGrid && v > FMaxWork) recordTick(PixelOfValue(v));
}

bool TChartAxis::eventLabels() {
    double v = FMinWork;
    bool stop = true;
    for (int index = 0; index <= 2000; ++index) {
        FChart->OnGetNextAxisLabel(this, index, v, stop);
        if (stop) return index > 0;
        if (v < FMinWork - 1e-7 || v > FMaxWork + 1e-7) break;
        emitValueLabel(v);
    }
    return true;
}

void TChartAxis::seriesLabels(TAxisLabelStyle style) {
    TCanvas3D* canvas = FChart->Canvas();
    const bool measure = canvas && canvas->ReferenceCanvas();
    int p0 = -1, h0 = 0;
    bool any = false;
    for (const auto& [value, text] : seriesLabelTexts(style)) {
        if (value < FMinWork || value > FMaxWork) continue;
        const int p = PixelOfValue(value);
        if (!FSettings.TickOnLabelsOnly) recordTick(p);
        if (!Labels()) continue;
        int lines = 0;
        const int width = FChart->MultiLineTextWidth(text, &lines);
        const int height = measure ? canvas->FontHeight() * lines : 0;
        const bool swap = acrossAngle(FSettings.LabelsAngle);
        const int e = (FSettings.Horizontal != swap) ? width : height;
        if (FSettings.LabelsSeparation != 0 && any) {
            const int h = (e + int(std::trunc(e * 0.02 * FSettings.LabelsSeparation))) / 2;
            const bool clear = p >= p0 ? p - h >= p0 + h0 : p + h <= p0 - h0;
            if (!clear) continue;
            p0 = p;
            h0 = h;
        } else {
            p0 = p;
            h0 = e / 2;
        }
        any = true;
        if (FSettings.TickOnLabelsOnly) recordTick(p);
        FLabelList.push_back({value, p, text, nullptr});
    }
}

void TChartAxis::depthTitleLabels() {
    if (FChart->ActiveSeriesCount() <= 0) return;
    for (int j = int(std::trunc(FMinWork)); j <= int(std::trunc(FMaxWork)); ++j) {
        const int pixel = VerticalPixelOfValue(FMaxWork - j - 0.5);
        if (!FSettings.TickOnLabelsOnly || Labels()) recordTick(pixel);
        if (!Labels()) continue;
        std::string text = FChart->SeriesLegendTitle(j, true);
        if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(this, nullptr, j, text);
        FLabelList.push_back({double(j), pixel, text, nullptr});
    }
}

void TChartAxis::ComputeLabels() {
    FLabelList.clear();
    FTickPositions.clear();
    if (!FChart) return;
    if (FItems.Count() > 0) {
        for (int n = 0; n < FItems.Count(); ++n) {
            TAxisItem* it = FItems.ItemAt(n);
            if (it->Value() < FSettings.Minimum || it->Value() > FSettings.Maximum) continue;
            const int pixel = PixelOfValue(it->Value());
            if (!FSettings.TickOnLabelsOnly || it->Visible()) recordTick(pixel);
            if (it->Visible())
                FLabelList.push_back(
                    {it->Value(), pixel, it->Text().empty() ? FormatLabelValue(it->Value()) : it->Text(), it});
        }
        return;
    }
    const TAxisLabelStyle style = EffectiveLabelStyle();
    if (style == talNone) return;
    if (FChart->Canvas() && FChart->Canvas()->ReferenceCanvas()) FChart->Canvas()->AssignFont(LabelsFont());
    const double i = LabelIncrement();
    int k = NoCalendarStep;
    if (ShowsDateTime() && FSettings.ExactDateTime && FSettings.Increment != 0) {
        k = DateTimeStepIndex(FSettings.Increment);
        if (k != NoCalendarStep)
            while (i > DateTimeSteps[k] && k < dtOneYear) ++k;
    }
    if (!(FMaxWork >= FMinWork) || !(i > 0 || (k >= dtHalfMonth && k <= dtOneYear))) return;
    switch (style) {
    case talValue:
        if (FChart->OnGetNextAxisLabel && eventLabels()) break;
        if (FSettings.Logarithmic && FSettings.Increment == 0)
            logLabels();
        else
            linearLabels(i, k);
        break;
    case talMark:
        seriesLabels(style);
        break;
    case talText:
        if (FSettings.IsDepth)
            depthTitleLabels();
        else
            seriesLabels(style);
        break;
    default:
        break;
    }
}

}  // namespace cb::chart
