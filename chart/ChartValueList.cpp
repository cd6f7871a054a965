#include "chart/ChartValueList.h"

#include "chart/ChartSeries.h"
#include "chart/PlotExceptions.h"
#include "chart/PlotHelpers.h"
#include "chart/PlotTexts.h"

#include <algorithm>
#include <cmath>
#include <charconv>

namespace cb::chart {

int& ValueListGrowStep()
{
    static int step = 1000;
    return step;
}

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name) : fName(name), fOwner(owner)
{
    if (fOwner)
        fOwner->ValueLists().Add(this);
    ClearValues();
}

TChartValueList::~TChartValueList()
{
    if (fOwner)
        fOwner->ValueLists().Remove(this);
}

void TChartValueList::SetDateTime(bool on)
{
    if (fDateTime == on)
        return;
    fDateTime = on;
    if (fOwner)
        fOwner->InvalidateChart();
}

void TChartValueList::SetDefaultDateTime(bool on)
{
    fDateTime = on;
    fDefaultDateTime = on;
}

void TChartValueList::SetValueSource(const std::string& source)
{
    if (fValueSource == source)
        return;
    fValueSource = source;
    if (fOwner)
        fOwner->RequestDataRefresh();
}

void TChartValueList::checkIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw ChartException("ValueList " + fName + ": index " + std::to_string(index) + " out of bounds (0 to " +
                             std::to_string(limit) + ").");
}

void TChartValueList::grow(int needed)
{
    while (int(fValues.size()) < needed)
        fValues.resize(fValues.size() + std::size_t(std::max(1, ValueListGrowStep())));
}

void TChartValueList::SetValueCount(int n)
{
    if (n < 0)
        throw ChartException("ValueList Count must be greater than zero.");
    grow(n);
    for (int i = fCount; i < n; ++i)
        fValues[std::size_t(i)] = 0;
    fCount = n;
    fModified = true;
}

double TChartValueList::Value(int index) const
{
    checkIndex(index, fCount - 1);
    return fValues[std::size_t(index)];
}

void TChartValueList::SetValue(int index, double value)
{
    checkIndex(index, fCount - 1);
    fValues[std::size_t(index)] = value;
    fModified = true;
}

int TChartValueList::AddValue(double value)
{
    fParked = value;
    return InsertParkedValue();
}

int TChartValueList::InsertParkedValue()
{
    const double v = fParked;
    const int n = fCount;
    int index = n;
    if (fOrder != loNone && n > 0 &&
        !((fOrder == loAscending && v >= fValues[std::size_t(n - 1)]) ||
          (fOrder == loDescending && v <= fValues[std::size_t(n - 1)]))) {
        int i = n - 1;
        if (fOrder == loAscending)
            while (i >= 0 && fValues[std::size_t(i)] > v)
                --i;
        else
            while (i >= 0 && v > fValues[std::size_t(i)])
                --i;
        index = i + 1;
    }
    grow(n + 1);
    std::copy_backward(fValues.begin() + index, fValues.begin() + n, fValues.begin() + n + 1);
    fValues[std::size_t(index)] = v;
    fCount = n + 1;
    fModified = true;
    return index;
}

void TChartValueList::InsertValueAt(int index, double value)
{
    checkIndex(index, fCount);
    grow(fCount + 1);
    std::copy_backward(fValues.begin() + index, fValues.begin() + fCount, fValues.begin() + fCount + 1);
    fValues[std::size_t(index)] = value;
    ++fCount;
    fModified = true;
}

void TChartValueList::DeleteValue(int index) { DeleteRange(index, 1); }

void TChartValueList::DeleteRange(int index, int n)
{
    checkIndex(index, fCount - 1);
    if (n < 0 || n > fCount - index)
        throw ChartException("ValueList " + fName + ": cannot delete " + std::to_string(n) + " values from index " +
                             std::to_string(index) + " of " + std::to_string(fCount) + ".");
    std::copy(fValues.begin() + index + n, fValues.begin() + fCount, fValues.begin() + index);
    fCount -= n;
    fModified = true;
}

void TChartValueList::ClearValues()
{
    fCount = 0;
    std::vector<double>().swap(fValues);
    fModified = true;
}

double TChartValueList::FirstValue() const
{
    if (fCount == 0)
        throw ChartException("ValueList " + fName + " is empty.");
    return fValues[0];
}

double TChartValueList::LastValue() const
{
    if (fCount == 0)
        throw ChartException("ValueList " + fName + " is empty.");
    return fValues[std::size_t(fCount - 1)];
}

int TChartValueList::FindValueBetween(int first, int last, double value) const
{
    first = std::max(first, 0);
    last = std::min(last, fCount - 1);
    for (int i = first; i <= last; ++i)
        if (fValues[std::size_t(i)] == value)
            return i;
    return -1;
}

void TChartValueList::RecalcStats()
{
    fLowest = fHighest = fSum = fAbsSum = 0;
    if (fCount > 0) {
        fLowest = fHighest = fValues[0];
        for (int i = 0; i < fCount; ++i) {
            const double x = fValues[std::size_t(i)];
            if (x < fLowest)
                fLowest = x;
            else if (x > fHighest)
                fHighest = x;
            fSum += x;
            fAbsSum += std::fabs(x);
        }
    }
    fModified = false;
}

double TChartValueList::Highest()
{
    if (fModified)
        RecalcStats();
    return fHighest;
}

double TChartValueList::Lowest()
{
    if (fModified)
        RecalcStats();
    return fLowest;
}

double TChartValueList::Sum()
{
    if (fModified)
        RecalcStats();
    return fSum;
}

double TChartValueList::SumOfMagnitudes()
{
    if (fModified)
        RecalcStats();
    return fAbsSum;
}

void TChartValueList::ExchangeValues(int i, int j)
{
    checkIndex(i, fCount - 1);
    checkIndex(j, fCount - 1);
    std::swap(fValues[std::size_t(i)], fValues[std::size_t(j)]);
    fModified = true;
    if (fOwner)
        fOwner->NotifyDependents(dcModified, i);
}

void TChartValueList::FillWithIndexes()
{
    for (int i = 0; i < fCount; ++i)
        fValues[std::size_t(i)] = i;
    fModified = true;
    if (fOwner)
        fOwner->NotifyDependents(dcModified, 0);
}

void TChartValueList::RotateValues()
{
    if (fCount > 1)
        std::rotate(fValues.begin(), fValues.begin() + 1, fValues.begin() + fCount);
}

int TChartValueList::CompareValues(int i, int j) const
{
    const double a = Value(i), b = Value(j);
    const int r = a < b ? -1 : (a > b ? 1 : 0);
    return fOrder == loDescending ? -r : r;
}

void TChartValueList::SortByOrder()
{
    if (fOrder == loNone || fCount < 2)
        return;
    SortWithCallbacks(
        0, fCount - 1, [this](int a, int b) { return CompareValues(a, b); },
        [this](int a, int b) {
            if (fOwner)
                fOwner->SwapPoints(a, b);
            else
                std::swap(fValues[std::size_t(a)], fValues[std::size_t(b)]);
        });
    fModified = true;
}

void TChartValueList::Assign(const TChartValueList& source)
{
    fOrder = source.fOrder;
    SetDateTime(source.fDateTime);
    SetValueSource(source.fValueSource);
}

bool TChartValueList::ReadLegacyProperty(const std::string& name, const std::string& value)
{
    if (name != "Multiplier")
        return false;
    // The value is discarded; a text that is not a number counts as not 1.
    double m = 0;
    const char* end = value.data() + value.size();
    const auto [at, ec] = std::from_chars(value.data(), end, m);
    const bool one = ec == std::errc() && at == end && m == 1;
    if (!one)
        ShowEngineError(PlotText(TPlotText::msgMultiplierObsolete));
    return true;
}

// --- TChartValueLists ---

TChartValueList* TChartValueLists::ValueListAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Value list index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)];
}

void TChartValueLists::Add(TChartValueList* list)
{
    if (list && std::find(fItems.begin(), fItems.end(), list) == fItems.end())
        fItems.push_back(list);
}

void TChartValueLists::Remove(TChartValueList* list)
{
    if (!fClearing)
        fItems.erase(std::remove(fItems.begin(), fItems.end(), list), fItems.end());
}

void TChartValueLists::Clear()
{
    fClearing = true;
    for (TChartValueList* l : fItems)
        delete l;
    fItems.clear();
    fClearing = false;
}

} // namespace cb::chart
