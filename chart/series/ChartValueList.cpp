#include "chart/series/ChartValueList.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace cb::chart {

int& ValueListGrowStep() {
    static int step = 1000;
    return step;
}

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name) : FName(name), FOwner(owner) {
    if (FOwner) FOwner->ValueLists().Add(this);
    ClearValues();
}

TChartValueList::~TChartValueList() {
    if (FOwner) FOwner->ValueLists().Remove(this);
}

void TChartValueList::SetDateTime(bool on) {
    if (FDateTime == on) return;
    FDateTime = on;
    if (FOwner) FOwner->InvalidateChart();
}

void TChartValueList::SetDefaultDateTime(bool on) {
    FDateTime = on;
    FDefaultDateTime = on;
}

void TChartValueList::SetValueSource(const std::string& source) {
    if (FValueSource == source) return;
    FValueSource = source;
    if (FOwner) FOwner->RequestDataRefresh();
}

void TChartValueList::checkIndex(int index, int limit) const {
    if (index < 0 || index > limit)
        throw ChartException("ValueList " + FName + ": index " + std::to_string(index) + " out of bounds (0 to " +
                             std::to_string(limit) + ").");
}

void TChartValueList::grow(int needed) {
    while (int(FValues.size()) < needed) FValues.resize(FValues.size() + std::size_t(std::max(1, ValueListGrowStep())));
}

void TChartValueList::SetValueCount(int n) {
    if (n < 0) throw ChartException("ValueList Count must be greater than zero.");
    grow(n);
    for (int i = FCount; i < n; ++i) FValues[std::size_t(i)] = 0;
    FCount = n;
    FModified = true;
}

double TChartValueList::Value(int index) const {
    checkIndex(index, FCount - 1);
    return FValues[std::size_t(index)];
}

void TChartValueList::SetValue(int index, double value) {
    checkIndex(index, FCount - 1);
    FValues[std::size_t(index)] = value;
    FModified = true;
}

int TChartValueList::AddValue(double value) {
    FParked = value;
    return InsertParkedValue();
}

int TChartValueList::InsertParkedValue() {
    const double v = FParked;
    const int n = FCount;
    int index = n;
    if (FOrder != loNone && n > 0 &&
        !((FOrder == loAscending && v >= FValues[std::size_t(n - 1)]) ||
          (FOrder == loDescending && v <= FValues[std::size_t(n - 1)]))) {
        int i = n - 1;
        if (FOrder == loAscending)
            while (i >= 0 && FValues[std::size_t(i)] > v) --i;
        else
            while (i >= 0 && v > FValues[std::size_t(i)]) --i;
        index = i + 1;
    }
    grow(n + 1);
    std::copy_backward(FValues.begin() + index, FValues.begin() + n, FValues.begin() + n + 1);
    FValues[std::size_t(index)] = v;
    FCount = n + 1;
    FModified = true;
    return index;
}

void TChartValueList::InsertValueAt(int index, double value) {
    checkIndex(index, FCount);
    grow(FCount + 1);
    std::copy_backward(FValues.begin() + index, FValues.begin() + FCount, FValues.begin() + FCount + 1);
    FValues[std::size_t(index)] = value;
    ++FCount;
    FModified = true;
}

void TChartValueList::DeleteValue(int index) {
    DeleteRange(index, 1);
}

void TChartValueList::DeleteRange(int index, int n) {
    checkIndex(index, FCount - 1);
    if (n < 0 || n > FCount - index)
        throw ChartException("ValueList " + FName + ": cannot delete " + std::to_string(n) + " values from index " +
                             std::to_string(index) + " of " + std::to_string(FCount) + ".");
    std::copy(FValues.begin() + index + n, FValues.begin() + FCount, FValues.begin() + index);
    FCount -= n;
    FModified = true;
}

void TChartValueList::ClearValues() {
    FCount = 0;
    std::vector<double>().swap(FValues);
    FModified = true;
}

double TChartValueList::FirstValue() const {
    if (FCount == 0) throw ChartException("ValueList " + FName + " is empty.");
    return FValues[0];
}

double TChartValueList::LastValue() const {
    if (FCount == 0) throw ChartException("ValueList " + FName + " is empty.");
    return FValues[std::size_t(FCount - 1)];
}

int TChartValueList::FindValueBetween(int first, int last, double value) const {
    first = std::max(first, 0);
    last = std::min(last, FCount - 1);
    for (int i = first; i <= last; ++i)
        if (FValues[std::size_t(i)] == value) return i;
    return -1;
}

void TChartValueList::RecalcStats() {
    FLowest = FHighest = FSum = FAbsSum = 0;
    if (FCount > 0) {
        FLowest = FHighest = FValues[0];
        for (int i = 0; i < FCount; ++i) {
            const double x = FValues[std::size_t(i)];
            if (x < FLowest)
                FLowest = x;
            else if (x > FHighest)
                FHighest = x;
            FSum += x;
            FAbsSum += std::fabs(x);
        }
    }
    FModified = false;
}

double TChartValueList::Highest() {
    if (FModified) RecalcStats();
    return FHighest;
}

double TChartValueList::Lowest() {
    if (FModified) RecalcStats();
    return FLowest;
}

double TChartValueList::Sum() {
    if (FModified) RecalcStats();
    return FSum;
}

double TChartValueList::SumOfMagnitudes() {
    if (FModified) RecalcStats();
    return FAbsSum;
}

void TChartValueList::SwapValues(TChartValueList& other) {
    std::swap(FValues, other.FValues);
    std::swap(FCount, other.FCount);
    FModified = other.FModified = true;
}

void TChartValueList::ExchangeValues(int i, int j) {
    checkIndex(i, FCount - 1);
    checkIndex(j, FCount - 1);
    std::swap(FValues[std::size_t(i)], FValues[std::size_t(j)]);
    FModified = true;
    if (FOwner) FOwner->NotifyDependents(dcModified, i);
}

void TChartValueList::FillWithIndexes() {
    for (int i = 0; i < FCount; ++i) FValues[std::size_t(i)] = i;
    FModified = true;
    if (FOwner) FOwner->NotifyDependents(dcModified, 0);
}

void TChartValueList::RotateValues() {
    if (FCount > 1) std::rotate(FValues.begin(), FValues.begin() + 1, FValues.begin() + FCount);
}

int TChartValueList::CompareValues(int i, int j) const {
    const double a = Value(i), b = Value(j);
    const int r = a < b ? -1 : (a > b ? 1 : 0);
    return FOrder == loDescending ? -r : r;
}

void TChartValueList::SortByOrder() {
    if (FOrder == loNone || FCount < 2) return;
    SortWithCallbacks(
        0, FCount - 1, [this](int a, int b) { return CompareValues(a, b); },
        [this](int a, int b) {
            if (FOwner)
                FOwner->SwapPoints(a, b);
            else
                std::swap(FValues[std::size_t(a)], FValues[std::size_t(b)]);
        });
    FModified = true;
}

void TChartValueList::Assign(const TChartValueList& source) {
    FOrder = source.FOrder;
    SetDateTime(source.FDateTime);
    SetValueSource(source.FValueSource);
}

bool TChartValueList::ReadLegacyProperty(const std::string& name, const std::string& value) {
    if (name != "Multiplier") return false;
    // The value is discarded; a text that is not a number counts as not 1.
    double m = 0;
    const char* end = value.data() + value.size();
    const auto [at, ec] = std::from_chars(value.data(), end, m);
    const bool one = ec == std::errc() && at == end && m == 1;
    if (!one) ShowEngineError(PlotText(TPlotText::msgMultiplierObsolete));
    return true;
}

// --- TChartValueLists ---

TChartValueLists::~TChartValueLists() {
    Clear();
}

TChartValueList* TChartValueLists::ValueListAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Value list index " + std::to_string(index) + " out of bounds.");
    return FItems.At(index);
}

void TChartValueLists::Add(TChartValueList* list) {
    FItems.Adopt(list);
}

TChartValueList* TChartValueLists::Make(TChartSeries* owner, const std::string& name) {
    return FItems.Make(owner, name);
}

void TChartValueLists::Remove(TChartValueList* list) {
    (void)FItems.Release(list).release();  // the list is on its way out
}

void TChartValueLists::Clear() {
    FItems.Clear();
}

}  // namespace cb::chart
