#include "chart/series/PlotFunction.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

void TPlotFunction::SetPeriod(double period) {
    if (period < 0 || std::isnan(period)) throw ChartException(PlotText(TPlotText::msgFunctionPeriod));
    if (FSettings.Period == period) return;
    FSettings.Period = period;
    Recalculate();
}

void TPlotFunction::SetPeriodStyle(TFunctionPeriodStyle style) {
    if (FSettings.PeriodStyle == style) return;
    FSettings.PeriodStyle = style;
    Recalculate();
}

void TPlotFunction::SetPeriodAlign(TFunctionPeriodAlign align) {
    if (FSettings.PeriodAlign == align) return;
    FSettings.PeriodAlign = align;
    Recalculate();
}

void TPlotFunction::Recalculate() {
    if (FUpdating || !FParent) return;
    if (TCustomAxisPanel* chart = FParent->ParentChart()) chart->RefillSeries(FParent);
}

void TPlotFunction::ReleaseRecalculation() {
    if (!FUpdating) return;
    FUpdating = false;
    Recalculate();
}

void TPlotFunction::Assign(const TPlotFunction& source) {
    FSettings = source.FSettings;
}

void TPlotFunction::PrepareGalleryChart(TCustomAxisPanel& chart) {
    for (int i = 0; i < chart.NumberOfSeries(); ++i) chart.SeriesAt(i)->PrepareGallerySample(true);
}

double TPlotFunction::ValueOfRange(TChartSeries& source, int first, int last) {
    (void)source;
    (void)first;
    (void)last;
    return 0;
}

double TPlotFunction::ValueAcrossSeries(const std::vector<TChartSeries*>& sources, int index) {
    (void)sources;
    (void)index;
    return 0;
}

TChartValueList& TPlotFunction::SourceValues(TChartSeries& source) const {
    const std::string& name = FParent ? FParent->MandatoryList().ValueSource() : std::string();
    return name.empty() ? source.MandatoryList() : source.ValueListByName(name);
}

int TPlotFunction::PointsPerPeriod() const {
    // Rounded half to even; a period below one half still takes one point
    // per period (0 would never move on).
    const double r = std::nearbyint(FSettings.Period);
    if (r < 1) return 1;
    return r > 2147483647.0 ? 2147483647 : int(r);
}

void TPlotFunction::AddResultPoint(double position, double value) {
    if (!FParent) return;
    if (FParent->YMandatory())
        FParent->AddPoint(position, value);
    else
        FParent->AddPoint(value, position);
}

void TPlotFunction::AddPointsFromSource(TChartSeries* source) {
    if (FUpdating || !source || !FParent) return;
    const std::vector<TChartSeries*>& sources = FParent->DataSources();
    if (sources.size() > 1) {
        TChartSeries* s = source;
        for (TChartSeries* d : sources)
            if (d->PointCount() > s->PointCount()) s = d;
        for (int i = 0; i < s->PointCount(); ++i) {
            const double value = ValueAcrossSeries(sources, i);
            const double position = s->OtherList().Value(i);
            const std::string label = s->PointLabel(i);
            const std::optional<std::string> text = label.empty() ? std::nullopt : std::optional(label);
            if (s->YMandatory())
                FParent->AddPoint(position, value, text);
            else
                FParent->AddPoint(value, position, text);
        }
        return;
    }
    if (source->PointCount() > 0) AddResults(*source, source->OtherList());
}

void TPlotFunction::AddResults(TChartSeries& source, TChartValueList& positions) {
    if (FSettings.Period != 0)
        AddPeriodResults(source, positions);
    else
        AddWholeSourceResult(source, positions);
}

void TPlotFunction::AddWholeSourceResult(TChartSeries& source, TChartValueList& positions) {
    const double v = ValueOfRange(source, -1, -1);
    const double low = positions.Lowest(), high = positions.Highest();
    if (FParent->AllowsSinglePoint())
        AddResultPoint((high - low) * 0.5 + low, v);
    else {
        AddResultPoint(low, v);
        AddResultPoint(high, v);
    }
}

void TPlotFunction::AddRangeResult(TChartSeries& source, int first, int last, double position) {
    AddResultPoint(position, ValueOfRange(source, first, last));
}

double TPlotFunction::nextPeriodStart(double t) const {
    const int step = DateTimeStepIndex(FSettings.Period);
    const TChartAxis* axis = FParent ? FParent->GetHorizAxis() : nullptr;
    if (step >= dtHalfMonth && step < DateTimeStepCount && axis && axis->ShowsDateTime() && axis->ExactDateTime()) {
        TDateTime d = t;
        StepDateTime(true, true, d, step, FSettings.Period);
        return d;
    }
    return t + FSettings.Period;
}

void TPlotFunction::AddPeriodResults(TChartSeries& source, TChartValueList& positions) {
    const int n = positions.ValueCount();
    if (n == 0) return;
    const double* L = positions.Data();
    auto place = [this](double start, double end) {
        switch (FSettings.PeriodAlign) {
        case TFunctionPeriodAlign::paFirst:
            return start;
        case TFunctionPeriodAlign::paLast:
            return end;
        default:
            return (start + end) * 0.5;
        }
    };
    if (FSettings.PeriodStyle == TFunctionPeriodStyle::psNumPoints) {
        const int per = PointsPerPeriod();
        for (long long f = 0; f + per - 1 < n; f += per) {
            const int l = int(f + per - 1);
            AddRangeResult(source, int(f), l, place(L[f], L[l]));
        }
        return;
    }
    // psRange: refuse before adding anything when the periods would be too
    // many (a tiny period over a wide range).
    const double span = positions.Highest() - positions.Lowest();
    const double estimate = span / FSettings.Period + 1;
    if (!(estimate <= double(MaxResultPoints)))
        throw ChartException("Function period " + cb::rtl::FloatToStr(FSettings.Period) +
                             " is too small for the source range: more than " + std::to_string(MaxResultPoints) +
                             " results");
    int f = 0;
    double t = L[0];
    long long results = 0;
    while (f <= n - 1) {
        int l = f;
        const double start = t;
        t = nextPeriodStart(t);
        if (!(t > start))
            throw ChartException("Function period " + cb::rtl::FloatToStr(FSettings.Period) + " does not move past " +
                                 cb::rtl::FloatToStr(start));
        const double end = t - FSettings.Period * 0.001;
        while (l < n - 1 && L[l + 1] < t) ++l;
        const double position = place(start, end);
        if (++results > MaxResultPoints)
            throw ChartException("Function period " + cb::rtl::FloatToStr(FSettings.Period) + " gives more than " +
                                 std::to_string(MaxResultPoints) + " results");
        if (L[f] < t) {
            AddRangeResult(source, f, l, position);
            f = l + 1;
        } else
            AddResultPoint(position, 0);
    }
}

}  // namespace cb::chart
