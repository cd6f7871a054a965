// Points of a series: adding, deleting, colours of points, and the series
// that follow this one's data.
#include "chart/series/ChartSeries.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/PlotFunction.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>

namespace cb::chart {

// --- points ---

int TChartSeries::AddValue(double value, const std::optional<std::string>& label, TColor color) {
    const double n = PointCount();
    return FYMandatory ? AddPoint(n, value, label, color) : AddPoint(value, n, label, color);
}

int TChartSeries::AddNullValue(const std::optional<std::string>& label) {
    return AddValue(0, label, clNone);
}

int TChartSeries::AddNullPoint(double x, double y, const std::optional<std::string>& label) {
    return AddPoint(x, y, label, clNone);
}

int TChartSeries::AddPoint(double x, double y, const std::optional<std::string>& label, TColor color) {
    FX->SetParkedValue(x);
    FY->SetParkedValue(y);
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int index = FX->InsertParkedValue();
    for (int i = 1; i < FValueLists.Count(); ++i) FValueLists[i]->InsertValueAt(index, FValueLists[i]->ParkedValue());
    if (FHasColors)
        FColors.insert(FColors.begin() + index, color);
    else if (color != clDefault) {
        CreateColorList();  // the new point is already counted
        FColors[std::size_t(index)] = color;
    }
    if (label || !FLabels.Empty()) FLabels.Insert(index, label.value_or(std::string()));
    if (FFilling == 0) FManualData = true;
    if (!UpdatesHeld()) PointAdded(this, index);
    return index;
}

void TChartSeries::PointAdded(TChartSeries* sender, int index) {
    if (OnAfterAdd) OnAfterAdd(sender, index);
    NotifyDependents(dcAdded, index);
    if (Active()) InvalidateChart();
}

void TChartSeries::CreateColorList() {
    FColors.assign(std::size_t(PointCount()), clDefault);
    FHasColors = true;
}

void TChartSeries::DeletePoint(int index) {
    if (index < 0 || index >= PointCount())
        throw ChartException(
            FormatPlotText(TPlotText::msgSeriesDelete, {std::to_string(index), std::to_string(PointCount() - 1)}));
    for (int i = 0; i < FValueLists.Count(); ++i) FValueLists[i]->DeleteValue(index);
    if (FHasColors && index < int(FColors.size())) FColors.erase(FColors.begin() + index);
    FLabels.Delete(index);
    NotifyDependents(dcDeleted, index);
    if (Active()) InvalidateChart();
}

void TChartSeries::DeletePoints(int index, int count, bool renumber) {
    if (index < 0 || index >= PointCount() || count <= 0) return;
    count = std::min(count, PointCount() - index);
    for (int i = 0; i < FValueLists.Count(); ++i) FValueLists[i]->DeleteRange(index, count);
    if (FHasColors) {
        if (index < int(FColors.size()))
            FColors.erase(FColors.begin() + index, FColors.begin() + std::min<int>(index + count, int(FColors.size())));
        if (FColors.empty()) FHasColors = false;
    }
    FLabels.Delete(index, count);
    NotifyDependents(dcDeleted, -1);
    if (Active()) InvalidateChart();
    if (renumber) FOther->FillWithIndexes();
}

void TChartSeries::ClearStorage() {
    for (int i = 0; i < FValueLists.Count(); ++i) FValueLists[i]->ClearValues();
    FColors.clear();
    FHasColors = false;
    FLabels.Clear();
    FMarks->ClearMarks();
}

void TChartSeries::RemoveAllPoints() {
    FFirstVisible = FLastVisible = -1;
    ClearStorage();
    if (OnClearValues) OnClearValues(this);
    NotifyDependents(dcCleared, 0);
    if (FFunction) FFunction->SourceCleared();
    if (Active() && ParentChart() && !FDestroying) InvalidateChart();
}

void TChartSeries::SwapPoints(int i, int j) {
    for (int k = 0; k < FValueLists.Count(); ++k) FValueLists[k]->ExchangeValues(i, j);
    if (FHasColors && i < int(FColors.size()) && j < int(FColors.size()))
        std::swap(FColors[std::size_t(i)], FColors[std::size_t(j)]);
    if (!FLabels.Empty()) FLabels.Exchange(i, j);
}

TColor TChartSeries::StoredPointColor(int index) const {
    return FHasColors && index >= 0 && index < int(FColors.size()) ? FColors[std::size_t(index)] : clDefault;
}

TColor TChartSeries::PointColor(int index) {
    const TColor c = StoredPointColor(index);
    if (c != clDefault) return c;
    if (FSettings.ColorEachPoint)
        return ParentChart() ? ParentChart()->PaletteColor(index) : DefaultPaletteColor(index);
    return SeriesColor();
}

void TChartSeries::SetPointColor(int index, TColor color) {
    if (index < 0 || index >= PointCount())
        throw ChartException("Series point index " + std::to_string(index) + " out of bounds (0 to " +
                             std::to_string(PointCount() - 1) + ").");
    if (!FHasColors) {
        if (color == clDefault) return;
        CreateColorList();
    }
    FColors[std::size_t(index)] = color;
    InvalidateChart();
}

void TChartSeries::SortByMandatoryOrder() {
    if (FMandatory->Order() == loNone) return;
    FMandatory->SortByOrder();
    if (FOther->ValueSource().empty()) FOther->FillWithIndexes();
    InvalidateChart();
}

// --- updates and dependents ---

void TChartSeries::ReleaseUpdates() {
    if (FHoldCount == 0) return;
    if (--FHoldCount == 0) NotifyDataChanged();
}

void TChartSeries::NotifyDataChanged() {
    NotifyDependents(dcRefreshed, -1);
    if (ParentChart()) ParentChart()->BroadcastSeriesEvent(this, seDataChanged);
}

void TChartSeries::RequestDataRefresh() {
    if (!UpdatesHeld() && ParentChart()) ParentChart()->RefillSeries(this);
}

void TChartSeries::NotifyDependents(int code, int index) {
    if (UpdatesHeld()) return;
    for (TChartSeries* d : std::vector<TChartSeries*>(FDependents.Items())) {
        switch (code) {
        case dcCleared:
            if (d->FSettings.RefreshOptions & roFollowClears) d->RemoveAllPoints();
            break;
        case dcAdded:
            // A function's results depend on every point: it computes again.
            if (!(d->FSettings.RefreshOptions & roFollowInserts)) break;
            if (d->FFunction)
                d->RefillFromSeries(*this);
            else
                d->CopyPointFrom(*this, index);
            break;
        case dcDeleted:
            if (!(d->FSettings.RefreshOptions & roFollowDeletes)) break;
            if (d->FFunction)
                d->RefillFromSeries(*this);
            else
                d->SourcePointDeleted(*this, index);
            break;
        case dcRefreshed:
            d->RefillFromSeries(*this);
            break;
        case dcModified:
            if (d->FSettings.RefreshOptions & roFollowModifications) d->RefillFromSeries(*this);
            break;
        default:
            break;
        }
    }
}

void TChartSeries::RemoveDataSource(TChartSeries* source) {
    auto it = std::find(FDataSources.begin(), FDataSources.end(), source);
    if (it == FDataSources.end()) return;
    FDataSources.erase(it);
    source->FDependents.Remove(this);
}

void TChartSeries::UnlinkFromSources() {
    for (TChartSeries* s : std::vector<TChartSeries*>(FDataSources)) RemoveDataSource(s);
}

int TChartSeries::CopyPointValues(TChartSeries& source, int index) {
    const int lists = std::min(FValueLists.Count(), source.FValueLists.Count());
    for (int i = 2; i < FValueLists.Count(); ++i)
        FValueLists[i]->SetParkedValue(i < lists ? source.FValueLists[i]->Value(index) : 0.0);
    // Series that differ in their value list trade X and Y.
    const bool crossed = FYMandatory != source.FYMandatory;
    const double x = crossed ? source.FY->Value(index) : source.FX->Value(index);
    const double y = crossed ? source.FX->Value(index) : source.FY->Value(index);
    FX->SetParkedValue(x);
    const int at = FX->InsertParkedValue();
    for (int i = 1; i < FValueLists.Count(); ++i)
        FValueLists[i]->InsertValueAt(at, i == 1 ? y : FValueLists[i]->ParkedValue());
    if (FHasColors) FColors.insert(FColors.begin() + at, clDefault);
    if (!FLabels.Empty()) FLabels.Insert(at, std::string());
    return at;
}

void TChartSeries::CopyPointFrom(TChartSeries& source, int index) {
    const int at = copyPointWithExtras(source, index);
    PointAdded(this, at);
}

int TChartSeries::copyPointWithExtras(TChartSeries& source, int index) {
    const int at = CopyPointValues(source, index);
    const TColor c = source.StoredPointColor(index);
    if (c != clDefault) SetPointColor(at, c);
    // CopyPointValues made room in a label list that holds labels; entries
    // past the end of a shorter list read as no label.
    const std::string label = source.PointLabel(index);
    if (!label.empty()) FLabels.SetLabel(at, label);
    return at;
}

void TChartSeries::RefillFromSeries(TChartSeries& source) {
    HoldUpdates();
    BeginFilling();
    auto release = cb::rtl::OnScopeExit([this] {
        EndFilling();
        ReleaseUpdates();
        InvalidateChart();
    });
    RemoveAllPoints();
    if (FFunction) {
        FX->SetDateTime(source.FX->DateTime());
        FY->SetDateTime(source.FY->DateTime());
        FFunction->AddPointsFromSource(&source);
    } else if (CanCopyFrom(&source))
        for (int i = 0; i < source.PointCount(); ++i) copyPointWithExtras(source, i);
}

void TChartSeries::SourcePointDeleted(TChartSeries& source, int index) {
    // A range deletion has no single index: follow by refilling.
    if (index < 0 || index >= PointCount())
        RefillFromSeries(source);
    else
        DeletePoint(index);
}

}  // namespace cb::chart
