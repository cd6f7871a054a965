// Where a series' points come from besides the user: data sources, the
// function, random sample values; and copying one series into another.
#include "chart/series/ChartSeries.h"

#include "chart/axis/ChartAxes.h"
#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/PlotFunction.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <unordered_set>

namespace cb::chart {

bool& RandomSampleValuesAtRunTime() {
    static bool on = false;
    return on;
}

// --- data sources ---

void TChartSeries::ValidateSourceSeries(const TChartSeries* source) const {
    // Walks everything that feeds source; meeting this series would loop.
    std::vector<const TChartSeries*> stack{source};
    std::unordered_set<const TChartSeries*> seen;
    while (!stack.empty()) {
        const TChartSeries* s = stack.back();
        stack.pop_back();
        if (!s || !seen.insert(s).second) continue;
        if (s == this) throw ChartException(PlotText(TPlotText::msgCircularSeries));
        stack.insert(stack.end(), s->FDataSources.begin(), s->FDataSources.end());
    }
}

bool TChartSeries::FunctionAcceptsSource(TChartSeries* source) {
    return !FFunction || FFunction->AcceptsSource(source);
}

int TChartSeries::LinkSourceComponent(TChartSeries* source) {
    if (!source) return -1;
    FDataSources.push_back(source);
    FManualData = false;
    if (source->FDependents.IndexOf(this) < 0) source->FDependents.Add(this);
    return int(FDataSources.size()) - 1;
}

int TChartSeries::ConnectDataSource(TChartSeries* source, bool replace) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart) throw ChartException(PlotText(TPlotText::msgNoParentChart));
    if (!source || source == this || !FunctionAcceptsSource(source))
        throw ChartException(
            FormatPlotText(TPlotText::msgNoValidDataSource, {source ? source->Name() : std::string()}));
    if (std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end()) {
        // Already linked; replacing still leaves it the only source.
        if (!replace || FDataSources.size() == 1) return -1;
        for (TChartSeries* s : std::vector<TChartSeries*>(FDataSources))
            if (s != source) RemoveDataSource(s);
        RequestDataRefresh();
        return 0;
    }
    ValidateSourceSeries(source);
    if (replace && !chart->Loading()) UnlinkFromSources();
    const int index = LinkSourceComponent(source);
    RequestDataRefresh();
    return index;
}

void TChartSeries::SetDataSource(TChartSeries* source) {
    if (source)
        ConnectDataSource(source, true);
    else
        DropDataSource(DataSource());
}

void TChartSeries::AddDataSource(TChartSeries* source) {
    if (!source || source == this || std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end())
        return;
    ValidateSourceSeries(source);
    LinkSourceComponent(source);
}

void TChartSeries::DropDataSource(TChartSeries* source) {
    if (FDestroying) return;
    if (source && source == DataSource())
        UnlinkFromSources();
    else if (source)
        RemoveDataSource(source);
    RequestDataRefresh();
}

// --- function ---

void TChartSeries::AttachFunction(std::unique_ptr<TPlotFunction> function) {
    if (function && function.get() == FFunction.get()) return;
    FFunction = std::move(function);
    if (FFunction) {
        FFunction->SetParentSeries(this);
        FManualData = false;
    }
    RequestDataRefresh();
}

std::unique_ptr<TPlotFunction> TChartSeries::DetachFunction() {
    if (FFunction) FFunction->SetParentSeries(nullptr);
    return std::move(FFunction);
}

// --- sample values ---

namespace {

std::mt19937& processRandom() {
    static std::mt19937 random(std::random_device{}());
    return random;
}

}  // namespace

int TChartSeries::SampleRandom(int limit) {
    if (limit <= 0) return 0;
    // The generator's state is its last output, so one number carries it.
    std::minstd_rand g(FSampleSeed);
    FSampleSeed = unsigned(g());
    return int(FSampleSeed % unsigned(limit));
}

void TChartSeries::FillSampleValues(int count) {
    if (count < 0) throw ChartException(PlotText(TPlotText::msgFillSample));
    if (count == 0) count = FSampleCount > 0 ? FSampleCount : DefaultSampleCount();
    RemoveAllPoints();
    HoldUpdates();
    BeginFilling();
    auto release = cb::rtl::OnScopeExit([this] {
        EndFilling();
        ReleaseUpdates();
    });
    FSampleSeed = unsigned(std::uniform_int_distribution<int>(0, 7774443)(processRandom()));
    AddSampleValues(count, false);
    SortByMandatoryOrder();
    release.Dismiss();
    EndFilling();
    ReleaseUpdates();
    FManualData = false;
}

TSampleRanges TChartSeries::SampleRanges(int count) {
    TSampleRanges r;
    double posLow = 0, posHigh = std::max(0, count - 1);
    double valueLow = 0, valueHigh = 1000;
    TCustomAxisPanel* chart = ParentChart();
    bool others = false;
    if (chart)
        for (int i = 0; i < chart->NumberOfSeries() && !others; ++i) {
            TChartSeries* s = chart->SeriesAt(i);
            others = s != this && s->Active() && s->PointCount() > 0;
        }
    if (others && GetHorizAxis() && GetVertAxis()) {
        double yLow = chart->AxisLowestY(GetVertAxis()), yHigh = chart->AxisHighestY(GetVertAxis());
        double xLow = chart->AxisLowestX(GetHorizAxis()), xHigh = chart->AxisHighestX(GetHorizAxis());
        auto widen = [](double low, double& high, double whenZero) {
            if (high != low) return;
            high = low == 0 ? whenZero : low * 2;
        };
        widen(yLow, yHigh, 1000);
        widen(xLow, xHigh, std::max(0, count - 1));
        if (YMandatory()) {
            valueLow = yLow, valueHigh = yHigh, posLow = xLow, posHigh = xHigh;
        } else {
            valueLow = xLow, valueHigh = xHigh, posLow = yLow, posHigh = yHigh;
        }
    } else if (OtherList().DateTime()) {
        posLow = cb::rtl::Date();
        posHigh = posLow + std::max(0, count - 1);
    }
    r.PositionLow = posLow;
    r.PositionStep = count > 1 ? (posHigh - posLow) / (count - 1) : posHigh - posLow;
    r.ValueLow = valueLow;
    r.ValueRange = std::clamp(valueHigh - valueLow, -2147483647.0, 2147483647.0);
    return r;
}

void TChartSeries::AddSampleValues(int count, bool valuesOnly) {
    const TSampleRanges r = SampleRanges(count);
    const int range = int(std::lround(std::fabs(r.ValueRange)));
    const int d = range / 4;
    double value = r.ValueLow + SampleRandom(range);
    double position = r.PositionLow;
    for (int k = 0; k < count; ++k) {
        value = std::fabs(value + SampleRandom(d) - d / 2);
        if (valuesOnly)
            AddValue(value);
        else if (YMandatory())
            AddPoint(position, value);
        else
            AddPoint(value, position);
        position += r.PositionStep;
    }
}

void TChartSeries::PrepareGallerySample(bool coloured) {
    FillSampleValues(4);
    Marks().SetVisible(false);
    Marks().Font().SetSize(7);
    Marks().SetArrowLength(4);
    Marks().SetDrawEvery(2);
    SetColorEachPoint(false);
    TColor c = 0xC0C0C0;
    if (coloured) {
        TCustomAxisPanel* chart = ParentChart();
        const bool first = chart && chart->NumberOfSeries() > 0 && chart->SeriesAt(0) == this;
        c = chart ? chart->PaletteColor(first ? 0 : 3) : DefaultPaletteColor(first ? 0 : 3);
    }
    SetSeriesColor(c);
}

// --- copying ---

void TChartSeries::CopyPointsFrom(TChartSeries& source) {
    if (&source == this) return;
    HoldUpdates();
    auto release = cb::rtl::OnScopeExit([this] { ReleaseUpdates(); });
    RemoveAllPoints();
    for (int i = 0; i < source.PointCount(); ++i) copyPointWithExtras(source, i);
}

void TChartSeries::AssignSettings(const TChartSeries& source) {
    UnlinkFromSources();
    if (&source == this) return;
    if (FYMandatory == source.FYMandatory) {
        FX->Assign(*source.FX);
        FY->Assign(*source.FY);
    } else {
        FX->Assign(*source.FY);
        FY->Assign(*source.FX);
    }
    FSettings = source.FSettings;
    const int lists = std::min(FValueLists.Count(), source.FValueLists.Count());
    for (int i = 2; i < lists; ++i) FValueLists[i]->Assign(*source.FValueLists[i]);
    FMarks->Assign(*source.FMarks);
    // A custom axis of another chart is taken by its place in this chart's
    // custom axes, else the series falls back to the default axis.
    auto customAxis = [this, &source](TChartAxis* axis) -> TChartAxis* {
        if (!axis) return nullptr;
        TCustomAxisPanel* mine = ParentChart();
        TCustomAxisPanel* theirs = source.ParentChart();
        if (mine == theirs) return axis;
        if (!mine || !theirs) return nullptr;
        for (int i = 0; i < theirs->CustomAxes().Count(); ++i)
            if (theirs->CustomAxes().AxisAt(i) == axis)
                return i < mine->CustomAxes().Count() ? mine->CustomAxes().AxisAt(i) : nullptr;
        return nullptr;
    };
    FCustomHoriz = customAxis(source.FCustomHoriz);
    FCustomVert = customAxis(source.FCustomVert);
    FHorizAxis = source.FHorizAxis == aCustomHorizAxis && !FCustomHoriz ? aBottomAxis : source.FHorizAxis;
    FVertAxis = source.FVertAxis == aCustomVertAxis && !FCustomVert ? aLeftAxis : source.FVertAxis;
    ResolveAxes();
}

void TChartSeries::Assign(const TChartSeries& source) {
    if (&source == this) return;
    // Checked first, so a refused copy changes nothing.
    for (const TChartSeries* s : source.FDataSources) ValidateSourceSeries(s);
    TCustomChartSeries::Assign(source);
    AssignSettings(source);
    if (source.FFunction && !FFunction) {
        FFunction = source.FFunction->Clone();
        FFunction->SetParentSeries(this);
    }
    FManualData = source.FManualData;
    auto& src = const_cast<TChartSeries&>(source);
    if (!src.FDataSources.empty()) {
        for (TChartSeries* s : src.FDataSources) LinkSourceComponent(s);
        FManualData = source.FManualData;
    } else
        CopyPointsFrom(src);
    RequestDataRefresh();
}

}  // namespace cb::chart
