// Increments and labels of an axis.
#include "chart/ChartAxis.h"

#include "chart/CustomAxisPanel.h"
#include "chart/PlotExceptions.h"
#include "chart/PlotHelpers.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cb::chart {

namespace {

constexpr int NoCalendarStep = DateTimeStepCount;  // 27

std::string floatText(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

bool acrossAngle(int angle) { return angle == 90 || angle == 270; }

} // namespace

double NextNiceStep(double x)
{
    if (!(x > 0) || std::isinf(x))
        return x;
    if (x >= 10)
        return 10 * NextNiceStep(x * 0.1);
    if (x < 1)
        return NextNiceStep(x * 10) * 0.1;
    if (x < 2)
        return 2;
    if (x < 5)
        return 5;
    return 10;
}

int CountLabelLines(const std::string& text)
{
    int n = int(std::count(text.begin(), text.end(), '\r'));
    const std::size_t last = text.rfind('\r');
    if (last == std::string::npos ? !text.empty() : last + 1 < text.size())
        ++n;
    return n;
}

// --- custom labels ---

TAxisItem::TAxisItem(TChangeEvent onChange) : fOnChange(std::move(onChange))
{
    fFont = std::make_unique<TPlotFont>([this] {
        if (fOnChange)
            fOnChange();
    });
}

void TAxisItem::SetValue(double v)
{
    if (fValue != v) {
        fValue = v;
        if (fOnChange)
            fOnChange();
    }
}

void TAxisItem::SetText(const std::string& t)
{
    if (fText != t) {
        fText = t;
        if (fOnChange)
            fOnChange();
    }
}

void TAxisItem::SetVisible(bool on)
{
    if (fVisible != on) {
        fVisible = on;
        if (fOnChange)
            fOnChange();
    }
}

TAxisLabelFrame::TAxisLabelFrame(TChangeEvent onChange) : fOnChange(std::move(onChange))
{
    fFont = std::make_unique<TPlotFont>([this] {
        if (fOnChange)
            fOnChange();
    });
}

void TAxisLabelFrame::SetVisible(bool on)
{
    if (fVisible != on) {
        fVisible = on;
        if (fOnChange)
            fOnChange();
    }
}

TAxisItems::TAxisItems(TChangeEvent onChange) : fOnChange(onChange), fFrame(onChange) {}
TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::ItemAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Axis label index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)].get();
}

TAxisItem* TAxisItems::AddLabel(double value, const std::string& text)
{
    fItems.push_back(std::make_unique<TAxisItem>(fOnChange));
    TAxisItem* item = fItems.back().get();
    item->SetValue(value);
    item->SetText(text);
    if (fOnChange)
        fOnChange();
    return item;
}

void TAxisItems::Delete(int index)
{
    ItemAt(index);
    fItems.erase(fItems.begin() + index);
    if (fOnChange)
        fOnChange();
}

void TAxisItems::ClearItems()
{
    if (fItems.empty())
        return;
    fItems.clear();
    if (fOnChange)
        fOnChange();
}

void TAxisItems::CopyItems(const TAxisItems& other)
{
    fItems.clear();
    for (const auto& it : other.fItems) {
        TAxisItem* n = AddLabel(it->Value(), it->Text());
        n->SetVisible(it->Visible());
        n->SetTransparent(it->Transparent());
        n->Font().Assign(it->Font());
    }
}

// --- label style and text ---

bool TChartAxis::seriesRunsAlong(TChartSeries* s) const
{
    return fHorizontal ? s->YMandatory() : !s->YMandatory();
}

TAxisLabelStyle TChartAxis::AutoLabelStyle() const
{
    TAxisLabelStyle result = talNone;
    if (!fChart)
        return result;
    for (int i = 0; i < fChart->NumberOfSeries(); ++i) {
        TChartSeries* s = fChart->SeriesAt(i);
        if (!s->Active() || !s->IsLinkedToAxis(this))
            continue;
        if (!s->HasOwnZValues() && seriesRunsAlong(s) && s->PointCount() > 0 && !s->PointLabel(0).empty())
            return talText;
        result = talValue;
    }
    return result;
}

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() const
{
    return fLabelStyle == talAuto ? AutoLabelStyle() : fLabelStyle;
}

std::string TChartAxis::FormatLabelValue(double v) const
{
    std::string text;
    if (!ShowsDateTime())
        text = cb::rtl::FormatFloat(fValuesFormat, v);
    else if (v >= 0) {
        const std::string format = fDateTimeFormat.empty() ? DateTimeFormatForStep(std::fabs(fRange)) : fDateTimeFormat;
        text = cb::rtl::FormatDateTime(format, v);
    }
    if (fChart && fChart->OnGetAxisLabel && !fNoGetLabelEvent)
        fChart->OnGetAxisLabel(const_cast<TChartAxis*>(this), nullptr, -1, text);
    if (fLabelsMultiLine)
        std::replace(text.begin(), text.end(), ' ', '\r');
    return text;
}

// --- increments ---

double TChartAxis::LogRound(double v) const
{
    if (!(v > 0) || !(fLogBase > 0) || fLogBase == 1)
        return v;
    return std::pow(fLogBase, Round(std::log(v) / std::log(fLogBase)));
}

bool TChartAxis::hasShortSeries(int n) const
{
    if (!fChart)
        return false;
    for (int i = 0; i < fChart->NumberOfSeries(); ++i) {
        TChartSeries* s = fChart->SeriesAt(i);
        if (s->Active() && s->IsLinkedToAxis(this) && seriesRunsAlong(s) && s->PointCount() <= n)
            return true;
    }
    return false;
}

double TChartAxis::dateTimeIncrement(int n) const
{
    double s = std::max(DateTimeSteps[0], fIncrement);
    if (s > 0 && n > 0) {
        const double range = std::fabs(fRange);
        if (range / s > 1e6)
            s = range / 1e6;
        for (;;) {
            const double count = std::nearbyint(range / s);
            if (count <= n)
                break;
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

double TChartAxis::CalcIncrementFor(int n) const
{
    const bool dateTime = ShowsDateTime();
    if (n < 1)
        return dateTime ? DateTimeSteps[0] : 1e-12;
    if (dateTime)
        return dateTimeIncrement(n);
    double s;
    if (fIncrement > 0)
        s = fIncrement;
    else if (fRange == 0)
        s = 1;
    else {
        s = std::fabs(fRange) / (n + 1);
        if (fLogarithmic)
            s = LogRound(s);
        if (hasShortSeries(n))
            s = std::max(s, 1.0);
    }
    if (fLabelsSeparation > 0) {
        double count = n + 1;
        for (;;) {
            const double t = fRange / s;
            bool grow = true;
            if (std::fabs(t) < 2147483647.0) {
                count = std::nearbyint(t);
                grow = count > n;
            }
            if (grow)
                s = fLogarithmic ? s * fLogBase : NextNiceStep(s);
            if (count <= n || s > fRange || std::isinf(s))
                break;
        }
    }
    if (std::isinf(s))
        return fRange;
    return std::max(s, 1e-12);
}

double TChartAxis::IncrementForLabelSize(int e) const
{
    int n = 1;
    if (e > 0) {
        const int e2 = fLabelsSeparation > 0 ? e + Round(fLabelsSeparation * 0.01 * e) : e;
        n = Round(double(fPixelSize) / e2);
    }
    return CalcIncrementFor(n);
}

double TChartAxis::LabelIncrement() const
{
    const int e = std::max(LabelExtentOfValue(fHorizontal, fMaxWork), LabelExtentOfValue(fHorizontal, fMinWork));
    double i = IncrementForLabelSize(e);
    if (fLabelsAlternate)
        i = fLogarithmic ? i / fLogBase : i * 0.5;
    return i;
}

int TChartAxis::LabelExtentOfValue(bool horizontal, double v) const
{
    if (!fChart || !fChart->Canvas())
        return 0;
    const std::string text = FormatLabelValue(v);
    int lines = 0;
    const int width = fChart->MultiLineTextWidth(text, &lines);
    const bool across = horizontal ? acrossAngle(fLabelsAngle) : (fLabelsAngle == 0 || fLabelsAngle == 180);
    if (across)
        return fChart->Canvas()->ReferenceCanvas() ? fChart->Canvas()->FontHeight() * lines : 0;
    return width;
}

int TChartAxis::TextThickness(TPlotFont& font, int angle, int fixedSize, const std::string* text) const
{
    if (fixedSize != 0)
        return fixedSize;
    if (!fChart || !fChart->Canvas() || !fChart->Canvas()->ReferenceCanvas())
        return 0;
    TCanvas3D& c = *fChart->Canvas();
    c.AssignFont(font);
    const bool alongNormal = fHorizontal ? (angle == 0 || angle == 180) : acrossAngle(angle);
    if (alongNormal)
        return c.FontHeight();
    return text ? fChart->MultiLineTextWidth(*text) : MaxLabelWidth();
}

int TChartAxis::LabelsThickness() const
{
    int t = TextThickness(const_cast<TChartAxis*>(this)->LabelsFont(), fLabelsAngle, fLabelsSize, nullptr);
    return fLabelsAlternate ? 2 * t : t;
}

int TChartAxis::MaxLabelWidth() const
{
    if (!fChart)
        return 0;
    if (fItems.Count() > 0) {
        int w = 0;
        for (int i = 0; i < fItems.Count(); ++i) {
            TAxisItem* it = fItems.ItemAt(i);
            if (fChart->Canvas() && fChart->Canvas()->ReferenceCanvas())
                fChart->Canvas()->AssignFont(it->Font());
            w = std::max(w, fChart->MultiLineTextWidth(it->Text()));
        }
        return w;
    }
    switch (EffectiveLabelStyle()) {
    case talValue: {
        double first = fMinWork, last = fMaxWork;
        if ((ShowsDateTime() && fExactDateTime) || fRoundFirstLabel) {
            const double i = LabelIncrement();
            if (i > 0) {
                first = std::trunc(fMinWork / i) * i;
                last = std::trunc(fMaxWork / i) * i;
            }
        }
        fNoGetLabelEvent = true;
        const std::string a = FormatLabelValue(first), b = FormatLabelValue(last);
        fNoGetLabelEvent = false;
        return std::max(fChart->MultiLineTextWidth(a), fChart->MultiLineTextWidth(b)) +
               fChart->MultiLineTextWidth(" ");
    }
    case talMark:
        return fChart->WidestMarkOfSeries();
    case talText:
        return fChart->WidestSeriesLabel();
    default:
        return 0;
    }
}

void TChartAxis::StepLabelValue(double& v, bool down, int stepIndex, double increment) const
{
    const bool exact = ShowsDateTime() && fExactDateTime && stepIndex >= dtHalfMonth && stepIndex <= dtOneYear;
    StepDateTime(exact, !down, v, stepIndex, increment);
}

// --- the label pass ---

void TChartAxis::emitValueLabel(double v)
{
    const int pixel = PixelOfValue(v);
    if (!fLabelsOnAxis && !(fStartPixel < pixel && pixel < fEndPixel))
        return;
    const bool drawn = Labels();
    if (!fTickOnLabelsOnly || drawn)
        recordTick(pixel);
    if (drawn)
        fLabelList.push_back({v, pixel, FormatLabelValue(v), nullptr});
}

void TChartAxis::linearLabels(double i, int k)
{
    // A range that holds too many increments is labelled at a coarser step.
    if (std::fabs(fRange / i) >= 10000) {
        while (std::fabs(fRange / i) >= 10000 && !std::isinf(i))
            i = NextNiceStep(i);
        k = NoCalendarStep;
    }
    double v;
    if (ShowsDateTime() && fExactDateTime && k != NoCalendarStep && k >= 16)
        v = RoundDateToStep(k, fMaxWork);
    else if (!fRoundFirstLabel || floatText(fMinWork) == floatText(fMaxWork))
        v = fMaxWork;
    else
        v = std::trunc(fMaxWork / i) * i;
    for (int guard = 0; v > fMaxWork && guard < 100000; ++guard) {
        const double before = v;
        StepLabelValue(v, true, k, i);
        if (!(v < before))
            break;
    }
    if (fRangeZero || std::fabs(fMaxWork - fMinWork) < 1e-10 || floatText(v) == floatText(v - i)) {
        emitValueLabel(v);
        return;
    }
    const double m = fMinWork >= 0 ? (fMinWork - 1e-12) / (1 + 1e-12) : fMinWork;
    for (int guard = 0; v >= m && guard < 100000; ++guard) {
        emitValueLabel(v);
        const double before = v;
        StepLabelValue(v, true, k, i);
        if (!(v < before))
            break;
    }
}

void TChartAxis::logLabels()
{
    if (fMinWork == fMaxWork)
        return;
    const double b = fLogBase;
    double v;
    if (fMinWork > 0)
        v = LogRound(fMinWork);
    else {
        fMinWork = fMinWork == 0 ? 0.1 : LogRound(1e-10);
        RecalcScale();
        v = fMinWork;
    }
    const bool minorGrid = fMinorGrid->Visible();
    const double logB = std::log(b);
    if (minorGrid && b > 0 && b != 1) {
        const double t = v >= fMinWork ? std::pow(b, std::log(fMinWork) / logB - 1) : v;
        if (t < fMinWork)
            recordTick(PixelOfValue(t));
    }
    if (b > 1) {
        bool emitted = false;
        for (double x = v; x <= fMaxWork; x *= b)
            if (x >= fMinWork) {
                emitValueLabel(x);
                emitted = true;
            }
        if (!emitted) {
            const double d = std::pow(b, std::log(v) / logB - 1);
            if (d > 0)
                for (double x = v; x <= fMaxWork; x += d)
                    if (x >= fMinWork)
                        emitValueLabel(x);
        }
    }
    if (minorGrid && v > fMaxWork)
        recordTick(PixelOfValue(v));
}

bool TChartAxis::eventLabels()
{
    double v = fMinWork;
    bool stop = true;
    for (int index = 0; index <= 2000; ++index) {
        fChart->OnGetNextAxisLabel(this, index, v, stop);
        if (stop)
            return index > 0;
        if (v < fMinWork - 1e-7 || v > fMaxWork + 1e-7)
            break;
        emitValueLabel(v);
    }
    return true;
}

void TChartAxis::seriesLabels(TAxisLabelStyle style)
{
    std::vector<TChartSeries*> linked;
    int first = -1, last = -1;
    for (int i = 0; i < fChart->NumberOfSeries(); ++i) {
        TChartSeries* s = fChart->SeriesAt(i);
        if (!s->Active() || !s->IsLinkedToAxis(this))
            continue;
        s->ComputeVisibleRange();
        linked.push_back(s);
        if (s->FirstVisible() != -1)
            first = first == -1 ? s->FirstVisible() : std::min(first, s->FirstVisible());
        last = std::max(last, s->LastVisible());
    }
    if (first == -1)
        return;
    TCanvas3D* canvas = fChart->Canvas();
    const bool measure = canvas && canvas->ReferenceCanvas();
    int p0 = -1, h0 = 0;
    bool any = false;
    for (int index = first; index <= last; ++index) {
        std::string text;
        double value = 0;
        bool found = false;
        for (TChartSeries* s : linked) {
            if (s->FirstVisible() == -1 || index < s->FirstVisible() || index > s->LastVisible())
                continue;
            text = style == talMark ? fChart->MarkTextOfPoint(s, index) : s->PointLabel(index);
            if (fChart->OnGetAxisLabel)
                fChart->OnGetAxisLabel(this, s, index, text);
            if (!text.empty()) {
                value = fHorizontal ? s->XValues().Value(index) : s->YValues().Value(index);
                found = true;
                break;
            }
        }
        if (!found || value < fMinWork || value > fMaxWork)
            continue;
        const int p = PixelOfValue(value);
        if (!fTickOnLabelsOnly)
            recordTick(p);
        if (!Labels())
            continue;
        int lines = 0;
        const int width = fChart->MultiLineTextWidth(text, &lines);
        const int height = measure ? canvas->FontHeight() * lines : 0;
        const bool swap = acrossAngle(fLabelsAngle);
        const int e = (fHorizontal != swap) ? width : height;
        if (fLabelsSeparation != 0 && any) {
            const int h = (e + int(std::trunc(e * 0.02 * fLabelsSeparation))) / 2;
            const bool clear = p >= p0 ? p - h >= p0 + h0 : p + h <= p0 - h0;
            if (!clear)
                continue;
            p0 = p;
            h0 = h;
        } else {
            p0 = p;
            h0 = e / 2;
        }
        any = true;
        if (fTickOnLabelsOnly)
            recordTick(p);
        fLabelList.push_back({value, p, text, nullptr});
    }
}

void TChartAxis::depthTitleLabels()
{
    if (fChart->ActiveSeriesCount() <= 0)
        return;
    for (int j = int(std::trunc(fMinWork)); j <= int(std::trunc(fMaxWork)); ++j) {
        const int pixel = VerticalPixelOfValue(fMaxWork - j - 0.5);
        if (!fTickOnLabelsOnly || Labels())
            recordTick(pixel);
        if (!Labels())
            continue;
        std::string text = fChart->SeriesLegendTitle(j, true);
        if (fChart->OnGetAxisLabel)
            fChart->OnGetAxisLabel(this, nullptr, j, text);
        fLabelList.push_back({double(j), pixel, text, nullptr});
    }
}

void TChartAxis::ComputeLabels()
{
    fLabelList.clear();
    fTickPositions.clear();
    if (!fChart)
        return;
    if (fItems.Count() > 0) {
        for (int n = 0; n < fItems.Count(); ++n) {
            TAxisItem* it = fItems.ItemAt(n);
            if (it->Value() < fMinimum || it->Value() > fMaximum)
                continue;
            const int pixel = PixelOfValue(it->Value());
            if (!fTickOnLabelsOnly || it->Visible())
                recordTick(pixel);
            if (it->Visible())
                fLabelList.push_back(
                    {it->Value(), pixel, it->Text().empty() ? FormatLabelValue(it->Value()) : it->Text(), it});
        }
        return;
    }
    const TAxisLabelStyle style = EffectiveLabelStyle();
    if (style == talNone)
        return;
    if (fChart->Canvas() && fChart->Canvas()->ReferenceCanvas())
        fChart->Canvas()->AssignFont(LabelsFont());
    const double i = LabelIncrement();
    int k = NoCalendarStep;
    if (ShowsDateTime() && fExactDateTime && fIncrement != 0) {
        k = DateTimeStepIndex(fIncrement);
        if (k != NoCalendarStep)
            while (i > DateTimeSteps[k] && k < dtOneYear)
                ++k;
    }
    if (!(fMaxWork >= fMinWork) || !(i > 0 || (k >= dtHalfMonth && k <= dtOneYear)))
        return;
    switch (style) {
    case talValue:
        if (fChart->OnGetNextAxisLabel && eventLabels())
            break;
        if (fLogarithmic && fIncrement == 0)
            logLabels();
        else
            linearLabels(i, k);
        break;
    case talMark:
        seriesLabels(style);
        break;
    case talText:
        if (fIsDepth)
            depthTitleLabels();
        else
            seriesLabels(style);
        break;
    default:
        break;
    }
}

} // namespace cb::chart
