#include "chart/series/ChartSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>

namespace cb::chart {

// --- TCustomSeriesList ---

TChartSeries* TCustomSeriesList::SeriesAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Series index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

int TCustomSeriesList::IndexOf(const TChartSeries* s) const {
    auto it = std::find(FItems.begin(), FItems.end(), s);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TCustomSeriesList::Insert(int index, TChartSeries* s) {
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, s);
}

void TCustomSeriesList::Remove(const TChartSeries* s) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), s), FItems.end());
}

void TCustomSeriesList::Delete(int index) {
    SeriesAt(index);
    FItems.erase(FItems.begin() + index);
}

void TCustomSeriesList::Exchange(int i, int j) {
    SeriesAt(i);
    SeriesAt(j);
    std::swap(FItems[std::size_t(i)], FItems[std::size_t(j)]);
}

// --- TLabelsList ---

std::string TLabelsList::Label(int index) const {
    return index >= 0 && index < Count() ? FItems[std::size_t(index)] : std::string();
}

void TLabelsList::SetLabel(int index, const std::string& text) {
    if (index < 0) return;
    if (index >= Count()) FItems.resize(std::size_t(index) + 1);
    FItems[std::size_t(index)] = text;
}

void TLabelsList::Insert(int index, const std::string& text) {
    if (index > Count()) FItems.resize(std::size_t(index));
    FItems.insert(FItems.begin() + std::max(0, index), text);
}

void TLabelsList::Delete(int index, int n) {
    if (index < 0 || index >= Count()) return;
    n = std::min(n, Count() - index);
    FItems.erase(FItems.begin() + index, FItems.begin() + index + n);
}

void TLabelsList::Exchange(int i, int j) {
    if (i < 0 || j < 0) return;
    if (std::max(i, j) >= Count()) FItems.resize(std::size_t(std::max(i, j)) + 1);
    std::swap(FItems[std::size_t(i)], FItems[std::size_t(j)]);
}

// --- TCustomChartSeries ---

void TCustomChartSeries::SetTitle(const std::string& title) {
    StoreStringAndRepaint(FTitle, title);
    if (ParentChart()) ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeTitle);
}

void TCustomChartSeries::SetActive(bool on) {
    const bool changed = FActive != on;
    TCustomChartElement::SetActive(on);
    if (changed && ParentChart())
        ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeActive);
}

void TCustomChartSeries::Assign(const TCustomChartSeries& source) {
    FShowInLegend = source.FShowInLegend;
    FTitle = source.FTitle;
    FStyle = source.FStyle;
    FIdentifier = source.FIdentifier;
    TCustomChartElement::Assign(source);
}

// --- TChartSeries ---

TChartSeries::TChartSeries() {
    FPercentFormat = PlotText(TPlotText::txtPercentFormat);
    FValueFormat = PlotText(TPlotText::txtValuesFormat);
    FX = FValueLists.Make(this, "X");
    FX->SetOrder(loAscending);
    FY = FValueLists.Make(this, "Y");
    FMandatory = FY;
    FOther = FX;
}

TChartSeries::~TChartSeries() {
    FDestroying = true;
    UnlinkFromSources();
    for (TChartSeries* d : std::vector<TChartSeries*>(FDependents.Items()))
        d->FDataSources.erase(std::remove(d->FDataSources.begin(), d->FDataSources.end(), this), d->FDataSources.end());
    RemoveAllPoints();  // dependents that follow clears empty themselves
    FDependents.Clear();
    SetParentChart(nullptr);
    FValueLists.Clear();
}

void TChartSeries::SetColorSource(const std::string& s) {
    if (FColorSource != s) {
        FColorSource = s;
        RequestDataRefresh();
    }
}

void TChartSeries::SetXLabelsSource(const std::string& s) {
    if (FXLabelsSource != s) {
        FXLabelsSource = s;
        RequestDataRefresh();
    }
}

void TChartSeries::SetHorizAxis(THorizAxis a) {
    if (FHorizAxis == a) return;
    FHorizAxis = a;
    if (a != aCustomHorizAxis) FCustomHoriz = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetVertAxis(TVertAxis a) {
    if (FVertAxis == a) return;
    FVertAxis = a;
    if (a != aCustomVertAxis) FCustomVert = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
    FCustomHoriz = axis;
    FHorizAxis = axis ? aCustomHorizAxis : aBottomAxis;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
    FCustomVert = axis;
    FVertAxis = axis ? aCustomVertAxis : aLeftAxis;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::ForgetAxis(const TChartAxis* axis) {
    if (FCustomHoriz == axis) {
        FCustomHoriz = nullptr;
        FHorizAxis = aBottomAxis;
    }
    if (FCustomVert == axis) {
        FCustomVert = nullptr;
        FVertAxis = aLeftAxis;
    }
    ResolveAxes();
}

void TChartSeries::ResolveAxes() {
    TCustomAxisPanel* c = ParentChart();
    if (!c) {
        FHorizAxisObj = FVertAxisObj = nullptr;
        return;
    }
    FHorizAxisObj = &c->BottomAxis();
    if (FHorizAxis == aTopAxis)
        FHorizAxisObj = &c->TopAxis();
    else if (FHorizAxis == aCustomHorizAxis && FCustomHoriz)
        FHorizAxisObj = FCustomHoriz;
    FVertAxisObj = &c->LeftAxis();
    if (FVertAxis == aRightAxis)
        FVertAxisObj = &c->RightAxis();
    else if (FVertAxis == aCustomVertAxis && FCustomVert)
        FVertAxisObj = FCustomVert;
}

bool TChartSeries::IsLinkedToAxis(const TChartAxis* axis) const {
    if (!UsesAxes() || !axis) return false;
    if (axis->Horizontal()) return FHorizAxis == aBothHorizAxis || axis == FHorizAxisObj;
    return FVertAxis == aBothVertAxis || axis == FVertAxisObj;
}

TChartValueList* TChartSeries::ValueListForAxis(const TChartAxis* axis) {
    if (!IsLinkedToAxis(axis)) return nullptr;
    return axis->Horizontal() ? FX : FY;
}

int TChartSeries::XToPixel(double x) const {
    return FHorizAxisObj ? FHorizAxisObj->PixelOfValue(x) : 0;
}
int TChartSeries::YToPixel(double y) const {
    return FVertAxisObj ? FVertAxisObj->PixelOfValue(y) : 0;
}

void TChartSeries::MakeXMandatory() {
    FMandatory = FX;
    FOther = FY;
    FYMandatory = false;
}

void TChartSeries::SetXValues(const TChartValueList& source) {
    FX->Assign(source);
    InvalidateChart();
}

void TChartSeries::SetYValues(const TChartValueList& source) {
    FY->Assign(source);
    InvalidateChart();
}

TChartValueList& TChartSeries::ValueListByName(const std::string& name) {
    auto lower = [](std::string s) {
        for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string key = lower(name);
    for (int i = 2; i < FValueLists.Count(); ++i)
        if (lower(FValueLists[i]->Name()) == key) return *FValueLists[i];
    return *FY;
}

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
}

void TChartSeries::RemoveAllPoints() {
    FFirstVisible = FLastVisible = -1;
    ClearStorage();
    if (OnClearValues) OnClearValues(this);
    NotifyDependents(dcCleared, 0);
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
    if (FColorEachPoint) return ParentChart() ? ParentChart()->PaletteColor(index) : DefaultPaletteColor(index);
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
            if (d->FRefreshOptions & roFollowClears) d->RemoveAllPoints();
            break;
        case dcAdded:
            if (d->FRefreshOptions & roFollowInserts) d->CopyPointFrom(*this, index);
            break;
        case dcDeleted:
            if (d->FRefreshOptions & roFollowDeletes) d->SourcePointDeleted(*this, index);
            break;
        case dcRefreshed:
            d->RefillFromSeries(*this);
            break;
        case dcModified:
            if (d->FRefreshOptions & roFollowModifications) d->RefillFromSeries(*this);
            break;
        default:
            break;
        }
    }
}

void TChartSeries::AddDataSource(TChartSeries* source) {
    if (!source || source == this || std::find(FDataSources.begin(), FDataSources.end(), source) != FDataSources.end())
        return;
    // A source that already depends on this series would loop.
    std::vector<TChartSeries*> stack{source};
    while (!stack.empty()) {
        TChartSeries* s = stack.back();
        stack.pop_back();
        if (s == this) throw ChartException(PlotText(TPlotText::msgCircularSeries));
        stack.insert(stack.end(), s->FDataSources.begin(), s->FDataSources.end());
    }
    FDataSources.push_back(source);
    source->FDependents.Add(this);
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
    for (int i = 2; i < lists; ++i) FValueLists[i]->SetParkedValue(source.FValueLists[i]->Value(index));
    FX->SetParkedValue(source.FX->Value(index));
    const int at = FX->InsertParkedValue();
    for (int i = 1; i < FValueLists.Count(); ++i)
        FValueLists[i]->InsertValueAt(at, i == 1 ? source.FY->Value(index) : FValueLists[i]->ParkedValue());
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
    RemoveAllPoints();
    for (int i = 0; i < source.PointCount(); ++i) copyPointWithExtras(source, i);
    ReleaseUpdates();
    InvalidateChart();
}

void TChartSeries::SourcePointDeleted(TChartSeries& source, int index) {
    // A range deletion has no single index: follow by refilling.
    if (index < 0 || index >= PointCount())
        RefillFromSeries(source);
    else
        DeletePoint(index);
}

// --- colours ---

void TChartSeries::SetSeriesColor(TColor c) {
    if (FColor == clDefault && c == FAutoColor) return;
    StoreColorAndRepaint(FColor, c);
    FAutoColor = FColor;
    AnnounceColorChange();
}

void TChartSeries::AssignAutomaticColor(TColor c) {
    FAutoColor = c;
    SetSeriesColor(c);
}

void TChartSeries::AnnounceColorChange() {
    if (ParentChart()) ParentChart()->BroadcastSeriesEvent(this, seChangeColor);
}

// --- chart ---

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    if (chart == ParentChart()) return;
    if (ParentChart()) ParentChart()->RemoveSeries(this);
    SetParentChartField(chart);
    if (chart) chart->InsertSeries(this);
}

void TChartSeries::JoinedChart() {
    if (FColor == clDefault && ParentChart()) {
        FAutoColor = ParentChart()->FirstFreeColor(true, this);
        AnnounceColorChange();
    }
    ResolveAxes();
    RequestDataRefresh();
}

void TChartSeries::LeftChart() {
    if (TCustomAxisPanel* c = ParentChart(); c && FCursor != 0) {
        const QCursor mine = ScreenCursor(FCursor);
        const QCursor shown = c->cursor();
        if (shown.shape() == mine.shape() && (shown.shape() != Qt::BitmapCursor || shown.hotSpot() == mine.hotSpot()))
            c->setCursor(c->SavedCursor());
    }
    FMouseInside = false;
    UnlinkFromSources();
    SetParentChartField(nullptr);
    ResolveAxes();
}

void TChartSeries::ApplyGallery3D(bool on) {
    if (ParentChart()) ParentChart()->SetView3D(on);
}

bool TChartSeries::UpdateMouseHover(int x, int y) {
    if (FCursor == 0 && !OnMouseEnter && !OnMouseLeave) return false;
    if (PointAtPixel(x, y) == -1) {
        if (FMouseInside) {
            FMouseInside = false;
            if (OnMouseLeave) OnMouseLeave(this);
        }
        return false;
    }
    if (FCursor != 0 && ParentChart()) ParentChart()->setCursor(ScreenCursor(FCursor));
    if (!FMouseInside) {
        FMouseInside = true;
        if (OnMouseEnter) OnMouseEnter(this);
    }
    return true;
}

void TChartSeries::Notification(TCustomChartElement* gone) {
    (void)gone;
}

// --- depth, visible and page ranges ---

void TChartSeries::AssignZOrder() {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return;
    if (FZOrder == -1) {
        FAutoZOrder = c->View3D() ? c->HighestZPosition() + 1 : 0;
        c->SetHighestZPosition(std::max(c->HighestZPosition(), FAutoZOrder));
    } else
        c->SetHighestZPosition(std::max(c->HighestZPosition(), FZOrder));
}

bool TChartSeries::SharesZOrder() {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->ApplyZOrder()) return false;
    for (int i = 0; i < c->NumberOfSeries(); ++i) {
        TChartSeries* s = c->SeriesAt(i);
        if (s != this && s->Active() && !s->HasOwnZValues() && s->EffectiveZOrder() == EffectiveZOrder()) return true;
    }
    return false;
}

void TChartSeries::ComputeDepthRange() {
    TCustomAxisPanel* c = ParentChart();
    const int per = c ? c->DepthPerSeries() : 0;
    FStartZ = per * FZPosition;
    FEndZ = FStartZ + (FDepth == -1 ? per : FDepth);
    FMiddleZ = (FStartZ + FEndZ) / 2;
}

void TChartSeries::ComputeVisibleRange() {
    FFirstVisible = FLastVisible = -1;
    const int n = PointCount();
    if (n == 0) return;
    TChartAxis* axis = FYMandatory ? FHorizAxisObj : FVertAxisObj;
    TCustomAxisPanel* c = ParentChart();
    if (!FCalcVisiblePoints || FOther->Order() == loNone || !axis || !c) {
        FFirstVisible = 0;
        FLastVisible = n - 1;
        return;
    }
    const TRect& r = c->ChartRect();
    double low, high;
    if (FYMandatory) {
        low = axis->ValueAtPixel(axis->Inverted() ? r.Right : r.Left);
        high = axis->ValueAtPixel(axis->Inverted() ? r.Left : r.Right);
    } else {
        low = axis->ValueAtPixel(axis->Inverted() ? r.Top : r.Bottom);
        high = axis->ValueAtPixel(axis->Inverted() ? r.Bottom : r.Top);
    }
    if (low > high) std::swap(low, high);
    const double* v = FOther->Data();
    int first = -1;
    for (int i = 0; i < n; ++i)
        if (v[i] >= low) {
            first = i;
            break;
        }
    if (first < 0) return;
    int last = n - 1;
    if (v[n - 1] > high) {
        last = n - 1;
        for (int i = first; i < n; ++i)
            if (v[i] >= high) {
                last = i;
                break;
            }
        if (!FDrawBetweenPoints && v[last] > high && last > first) --last;
    }
    FFirstVisible = first;
    FLastVisible = last;
}

std::pair<int, int> TChartSeries::PageRange() const {
    const int n = PointCount();
    if (n == 0) return {-1, -1};
    TCustomAxisPanel* c = ParentChart();
    const int p = c ? c->MaxPointsPerPage() : 0;
    if (p <= 0) return {0, n - 1};
    const long long first = (long long)p * (c->Page() - 1);
    if (first >= n || first < 0) return {-1, -1};
    const long long last = std::min<long long>(first + p - 1, n - 1);
    return {int(first), int(last)};
}

// --- drawing hooks ---

void TChartSeries::DrawVisiblePoints() {
    if (FFirstVisible < 0) return;
    for (int i = FFirstVisible; i <= FLastVisible; ++i) DrawPoint(i);
}

void TChartSeries::FireBeforeDrawValues() {
    if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues() {
    if (AfterDrawValues) AfterDrawValues(this);
}

void TChartSeries::Assign(const TChartSeries& source) {
    TCustomChartSeries::Assign(source);
    FColorEachPoint = source.FColorEachPoint;
    FColor = source.FColor;
    FAutoColor = source.FAutoColor;
    FColorSource = source.FColorSource;
    FCursor = source.FCursor;
    FDepth = source.FDepth;
    FHorizAxis = source.FHorizAxis;
    FVertAxis = source.FVertAxis;
    FPercentFormat = source.FPercentFormat;
    FValueFormat = source.FValueFormat;
    FXLabelsSource = source.FXLabelsSource;
    FZOrder = source.FZOrder;
    FX->Assign(*source.FX);
    FY->Assign(*source.FY);
    ResolveAxes();
}

std::string GetSeriesDisplayTitle(const TChartSeries& series) {
    if (!series.Title().empty()) return series.Title();
    if (!series.Name().empty()) return series.Name();
    if (TCustomAxisPanel* c = series.ParentChart()) {
        const int i = c->SeriesList().IndexOf(&series);
        if (i >= 0) return PlotText(TPlotText::txtSeries) + std::to_string(i + 1);
    }
    return {};
}

}  // namespace cb::chart
