#include "chart/ChartSeries.h"

#include "chart/ChartAxis.h"
#include "chart/CustomAxisPanel.h"
#include "chart/PlotExceptions.h"
#include "chart/PlotHelpers.h"
#include "chart/PlotResources.h"
#include "chart/PlotTexts.h"

#include <algorithm>

namespace cb::chart {

// --- TCustomSeriesList ---

TChartSeries* TCustomSeriesList::SeriesAt(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException("Series index " + std::to_string(index) + " out of bounds.");
    return fItems[std::size_t(index)];
}

int TCustomSeriesList::IndexOf(const TChartSeries* s) const
{
    auto it = std::find(fItems.begin(), fItems.end(), s);
    return it == fItems.end() ? -1 : int(it - fItems.begin());
}

void TCustomSeriesList::Insert(int index, TChartSeries* s)
{
    index = std::clamp(index, 0, Count());
    fItems.insert(fItems.begin() + index, s);
}

void TCustomSeriesList::Remove(const TChartSeries* s)
{
    fItems.erase(std::remove(fItems.begin(), fItems.end(), s), fItems.end());
}

void TCustomSeriesList::Delete(int index)
{
    SeriesAt(index);
    fItems.erase(fItems.begin() + index);
}

void TCustomSeriesList::Exchange(int i, int j)
{
    SeriesAt(i);
    SeriesAt(j);
    std::swap(fItems[std::size_t(i)], fItems[std::size_t(j)]);
}

// --- TLabelsList ---

std::string TLabelsList::Label(int index) const
{
    return index >= 0 && index < Count() ? fItems[std::size_t(index)] : std::string();
}

void TLabelsList::SetLabel(int index, const std::string& text)
{
    if (index < 0)
        return;
    if (index >= Count())
        fItems.resize(std::size_t(index) + 1);
    fItems[std::size_t(index)] = text;
}

void TLabelsList::Insert(int index, const std::string& text)
{
    if (index > Count())
        fItems.resize(std::size_t(index));
    fItems.insert(fItems.begin() + std::max(0, index), text);
}

void TLabelsList::Delete(int index, int n)
{
    if (index < 0 || index >= Count())
        return;
    n = std::min(n, Count() - index);
    fItems.erase(fItems.begin() + index, fItems.begin() + index + n);
}

void TLabelsList::Exchange(int i, int j)
{
    if (i < 0 || j < 0)
        return;
    if (std::max(i, j) >= Count())
        fItems.resize(std::size_t(std::max(i, j)) + 1);
    std::swap(fItems[std::size_t(i)], fItems[std::size_t(j)]);
}

// --- TCustomChartSeries ---

void TCustomChartSeries::SetTitle(const std::string& title)
{
    StoreStringAndRepaint(fTitle, title);
    if (ParentChart())
        ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeTitle);
}

void TCustomChartSeries::SetActive(bool on)
{
    const bool changed = fActive != on;
    TCustomChartElement::SetActive(on);
    if (changed && ParentChart())
        ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeActive);
}

void TCustomChartSeries::Assign(const TCustomChartSeries& source)
{
    fShowInLegend = source.fShowInLegend;
    fTitle = source.fTitle;
    fStyle = source.fStyle;
    fIdentifier = source.fIdentifier;
    TCustomChartElement::Assign(source);
}

// --- TChartSeries ---

TChartSeries::TChartSeries()
{
    fPercentFormat = PlotText(TPlotText::txtPercentFormat);
    fValueFormat = PlotText(TPlotText::txtValuesFormat);
    fX = new TChartValueList(this, "X");
    fX->SetOrder(loAscending);
    fY = new TChartValueList(this, "Y");
    fMandatory = fY;
    fOther = fX;
}

TChartSeries::~TChartSeries()
{
    fDestroying = true;
    UnlinkFromSources();
    for (TChartSeries* d : std::vector<TChartSeries*>(fDependents.Items()))
        d->fDataSources.erase(std::remove(d->fDataSources.begin(), d->fDataSources.end(), this),
                              d->fDataSources.end());
    RemoveAllPoints();  // dependents that follow clears empty themselves
    fDependents.Clear();
    SetParentChart(nullptr);
    fValueLists.Clear();
}

void TChartSeries::SetColorSource(const std::string& s)
{
    if (fColorSource != s) {
        fColorSource = s;
        RequestDataRefresh();
    }
}

void TChartSeries::SetXLabelsSource(const std::string& s)
{
    if (fXLabelsSource != s) {
        fXLabelsSource = s;
        RequestDataRefresh();
    }
}

void TChartSeries::SetHorizAxis(THorizAxis a)
{
    if (fHorizAxis == a)
        return;
    fHorizAxis = a;
    if (a != aCustomHorizAxis)
        fCustomHoriz = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetVertAxis(TVertAxis a)
{
    if (fVertAxis == a)
        return;
    fVertAxis = a;
    if (a != aCustomVertAxis)
        fCustomVert = nullptr;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis)
{
    fCustomHoriz = axis;
    fHorizAxis = axis ? aCustomHorizAxis : aBottomAxis;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis)
{
    fCustomVert = axis;
    fVertAxis = axis ? aCustomVertAxis : aLeftAxis;
    ResolveAxes();
    InvalidateChart();
}

void TChartSeries::ForgetAxis(const TChartAxis* axis)
{
    if (fCustomHoriz == axis) {
        fCustomHoriz = nullptr;
        fHorizAxis = aBottomAxis;
    }
    if (fCustomVert == axis) {
        fCustomVert = nullptr;
        fVertAxis = aLeftAxis;
    }
    ResolveAxes();
}

void TChartSeries::ResolveAxes()
{
    TCustomAxisPanel* c = ParentChart();
    if (!c) {
        fHorizAxisObj = fVertAxisObj = nullptr;
        return;
    }
    fHorizAxisObj = &c->BottomAxis();
    if (fHorizAxis == aTopAxis)
        fHorizAxisObj = &c->TopAxis();
    else if (fHorizAxis == aCustomHorizAxis && fCustomHoriz)
        fHorizAxisObj = fCustomHoriz;
    fVertAxisObj = &c->LeftAxis();
    if (fVertAxis == aRightAxis)
        fVertAxisObj = &c->RightAxis();
    else if (fVertAxis == aCustomVertAxis && fCustomVert)
        fVertAxisObj = fCustomVert;
}

bool TChartSeries::IsLinkedToAxis(const TChartAxis* axis) const
{
    if (!UsesAxes() || !axis)
        return false;
    if (axis->Horizontal())
        return fHorizAxis == aBothHorizAxis || axis == fHorizAxisObj;
    return fVertAxis == aBothVertAxis || axis == fVertAxisObj;
}

TChartValueList* TChartSeries::ValueListForAxis(const TChartAxis* axis)
{
    if (!IsLinkedToAxis(axis))
        return nullptr;
    return axis->Horizontal() ? fX : fY;
}

int TChartSeries::XToPixel(double x) const { return fHorizAxisObj ? fHorizAxisObj->PixelOfValue(x) : 0; }
int TChartSeries::YToPixel(double y) const { return fVertAxisObj ? fVertAxisObj->PixelOfValue(y) : 0; }

void TChartSeries::MakeXMandatory()
{
    fMandatory = fX;
    fOther = fY;
    fYMandatory = false;
}

void TChartSeries::SetXValues(const TChartValueList& source)
{
    fX->Assign(source);
    InvalidateChart();
}

void TChartSeries::SetYValues(const TChartValueList& source)
{
    fY->Assign(source);
    InvalidateChart();
}

TChartValueList& TChartSeries::ValueListByName(const std::string& name)
{
    auto lower = [](std::string s) {
        for (char& c : s)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string key = lower(name);
    for (int i = 2; i < fValueLists.Count(); ++i)
        if (lower(fValueLists[i]->Name()) == key)
            return *fValueLists[i];
    return *fY;
}

// --- points ---

int TChartSeries::AddValue(double value, const std::optional<std::string>& label, TColor color)
{
    const double n = PointCount();
    return fYMandatory ? AddPoint(n, value, label, color) : AddPoint(value, n, label, color);
}

int TChartSeries::AddNullValue(const std::optional<std::string>& label) { return AddValue(0, label, clNone); }

int TChartSeries::AddNullPoint(double x, double y, const std::optional<std::string>& label)
{
    return AddPoint(x, y, label, clNone);
}

int TChartSeries::AddPoint(double x, double y, const std::optional<std::string>& label, TColor color)
{
    fX->SetParkedValue(x);
    fY->SetParkedValue(y);
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = fX->InsertParkedValue();
    for (int i = 1; i < fValueLists.Count(); ++i)
        fValueLists[i]->InsertValueAt(index, fValueLists[i]->ParkedValue());
    if (fHasColors)
        fColors.insert(fColors.begin() + index, color);
    else if (color != clDefault) {
        CreateColorList();  // the new point is already counted
        fColors[std::size_t(index)] = color;
    }
    if (label || !fLabels.Empty())
        fLabels.Insert(index, label.value_or(std::string()));
    if (!UpdatesHeld())
        PointAdded(this, index);
    return index;
}

void TChartSeries::PointAdded(TChartSeries* sender, int index)
{
    if (OnAfterAdd)
        OnAfterAdd(sender, index);
    NotifyDependents(dcAdded, index);
    if (Active())
        InvalidateChart();
}

void TChartSeries::CreateColorList()
{
    fColors.assign(std::size_t(PointCount()), clDefault);
    fHasColors = true;
}

void TChartSeries::DeletePoint(int index)
{
    if (index < 0 || index >= PointCount())
        throw ChartException(FormatPlotText(TPlotText::msgSeriesDelete,
                                            {std::to_string(index), std::to_string(PointCount() - 1)}));
    for (int i = 0; i < fValueLists.Count(); ++i)
        fValueLists[i]->DeleteValue(index);
    if (fHasColors && index < int(fColors.size()))
        fColors.erase(fColors.begin() + index);
    fLabels.Delete(index);
    NotifyDependents(dcDeleted, index);
    if (Active())
        InvalidateChart();
}

void TChartSeries::DeletePoints(int index, int count, bool renumber)
{
    if (index < 0 || index >= PointCount() || count <= 0)
        return;
    count = std::min(count, PointCount() - index);
    for (int i = 0; i < fValueLists.Count(); ++i)
        fValueLists[i]->DeleteRange(index, count);
    if (fHasColors) {
        if (index < int(fColors.size()))
            fColors.erase(fColors.begin() + index, fColors.begin() + std::min<int>(index + count, int(fColors.size())));
        if (fColors.empty())
            fHasColors = false;
    }
    fLabels.Delete(index, count);
    NotifyDependents(dcDeleted, -1);
    if (Active())
        InvalidateChart();
    if (renumber)
        fOther->FillWithIndexes();
}

void TChartSeries::ClearStorage()
{
    for (int i = 0; i < fValueLists.Count(); ++i)
        fValueLists[i]->ClearValues();
    fColors.clear();
    fHasColors = false;
    fLabels.Clear();
}

void TChartSeries::RemoveAllPoints()
{
    fFirstVisible = fLastVisible = -1;
    ClearStorage();
    if (OnClearValues)
        OnClearValues(this);
    NotifyDependents(dcCleared, 0);
    if (Active() && ParentChart() && !fDestroying)
        InvalidateChart();
}

void TChartSeries::SwapPoints(int i, int j)
{
    for (int k = 0; k < fValueLists.Count(); ++k)
        fValueLists[k]->ExchangeValues(i, j);
    if (fHasColors && i < int(fColors.size()) && j < int(fColors.size()))
        std::swap(fColors[std::size_t(i)], fColors[std::size_t(j)]);
    if (!fLabels.Empty())
        fLabels.Exchange(i, j);
}

TColor TChartSeries::StoredPointColor(int index) const
{
    return fHasColors && index >= 0 && index < int(fColors.size()) ? fColors[std::size_t(index)] : clDefault;
}

TColor TChartSeries::PointColor(int index)
{
    const TColor c = StoredPointColor(index);
    if (c != clDefault)
        return c;
    if (fColorEachPoint)
        return ParentChart() ? ParentChart()->PaletteColor(index) : DefaultPaletteColor(index);
    return SeriesColor();
}

void TChartSeries::SetPointColor(int index, TColor color)
{
    if (index < 0 || index >= PointCount())
        throw ChartException("Series point index " + std::to_string(index) + " out of bounds (0 to " +
                             std::to_string(PointCount() - 1) + ").");
    if (!fHasColors) {
        if (color == clDefault)
            return;
        CreateColorList();
    }
    fColors[std::size_t(index)] = color;
    InvalidateChart();
}

void TChartSeries::SortByMandatoryOrder()
{
    if (fMandatory->Order() == loNone)
        return;
    fMandatory->SortByOrder();
    if (fOther->ValueSource().empty())
        fOther->FillWithIndexes();
    InvalidateChart();
}

// --- updates and dependents ---

void TChartSeries::ReleaseUpdates()
{
    if (fHoldCount == 0)
        return;
    if (--fHoldCount == 0)
        NotifyDataChanged();
}

void TChartSeries::NotifyDataChanged()
{
    NotifyDependents(dcRefreshed, -1);
    if (ParentChart())
        ParentChart()->BroadcastSeriesEvent(this, seDataChanged);
}

void TChartSeries::RequestDataRefresh()
{
    if (!UpdatesHeld() && ParentChart())
        ParentChart()->RefillSeries(this);
}

void TChartSeries::NotifyDependents(int code, int index)
{
    if (UpdatesHeld())
        return;
    for (TChartSeries* d : std::vector<TChartSeries*>(fDependents.Items())) {
        switch (code) {
        case dcCleared:
            if (d->fRefreshOptions & roFollowClears)
                d->RemoveAllPoints();
            break;
        case dcAdded:
            if (d->fRefreshOptions & roFollowInserts)
                d->CopyPointFrom(*this, index);
            break;
        case dcDeleted:
            if (d->fRefreshOptions & roFollowDeletes)
                d->SourcePointDeleted(*this, index);
            break;
        case dcRefreshed:
            d->RefillFromSeries(*this);
            break;
        case dcModified:
            if (d->fRefreshOptions & roFollowModifications)
                d->RefillFromSeries(*this);
            break;
        default:
            break;
        }
    }
}

void TChartSeries::AddDataSource(TChartSeries* source)
{
    if (!source || source == this ||
        std::find(fDataSources.begin(), fDataSources.end(), source) != fDataSources.end())
        return;
    // A source that already depends on this series would loop.
    std::vector<TChartSeries*> stack{source};
    while (!stack.empty()) {
        TChartSeries* s = stack.back();
        stack.pop_back();
        if (s == this)
            throw ChartException(PlotText(TPlotText::msgCircularSeries));
        stack.insert(stack.end(), s->fDataSources.begin(), s->fDataSources.end());
    }
    fDataSources.push_back(source);
    source->fDependents.Add(this);
}

void TChartSeries::RemoveDataSource(TChartSeries* source)
{
    auto it = std::find(fDataSources.begin(), fDataSources.end(), source);
    if (it == fDataSources.end())
        return;
    fDataSources.erase(it);
    source->fDependents.Remove(this);
}

void TChartSeries::UnlinkFromSources()
{
    for (TChartSeries* s : std::vector<TChartSeries*>(fDataSources))
        RemoveDataSource(s);
}

int TChartSeries::CopyPointValues(TChartSeries& source, int index)
{
    const int lists = std::min(fValueLists.Count(), source.fValueLists.Count());
    for (int i = 2; i < lists; ++i)
        fValueLists[i]->SetParkedValue(source.fValueLists[i]->Value(index));
    fX->SetParkedValue(source.fX->Value(index));
    const int at = fX->InsertParkedValue();
    for (int i = 1; i < fValueLists.Count(); ++i)
        fValueLists[i]->InsertValueAt(at, i == 1 ? source.fY->Value(index) : fValueLists[i]->ParkedValue());
    if (fHasColors)
        fColors.insert(fColors.begin() + at, clDefault);
    if (!fLabels.Empty())
        fLabels.Insert(at, std::string());
    return at;
}

void TChartSeries::CopyPointFrom(TChartSeries& source, int index)
{
    const int at = copyPointWithExtras(source, index);
    PointAdded(this, at);
}

int TChartSeries::copyPointWithExtras(TChartSeries& source, int index)
{
    const int at = CopyPointValues(source, index);
    const TColor c = source.StoredPointColor(index);
    if (c != clDefault)
        SetPointColor(at, c);
    // CopyPointValues made room in a label list that holds labels; entries
    // past the end of a shorter list read as no label.
    const std::string label = source.PointLabel(index);
    if (!label.empty())
        fLabels.SetLabel(at, label);
    return at;
}

void TChartSeries::RefillFromSeries(TChartSeries& source)
{
    HoldUpdates();
    RemoveAllPoints();
    for (int i = 0; i < source.PointCount(); ++i)
        copyPointWithExtras(source, i);
    ReleaseUpdates();
    InvalidateChart();
}

void TChartSeries::SourcePointDeleted(TChartSeries& source, int index)
{
    // A range deletion has no single index: follow by refilling.
    if (index < 0 || index >= PointCount())
        RefillFromSeries(source);
    else
        DeletePoint(index);
}

// --- colours ---

void TChartSeries::SetSeriesColor(TColor c)
{
    if (fColor == clDefault && c == fAutoColor)
        return;
    StoreColorAndRepaint(fColor, c);
    fAutoColor = fColor;
    AnnounceColorChange();
}

void TChartSeries::AssignAutomaticColor(TColor c)
{
    fAutoColor = c;
    SetSeriesColor(c);
}

void TChartSeries::AnnounceColorChange()
{
    if (ParentChart())
        ParentChart()->BroadcastSeriesEvent(this, seChangeColor);
}

// --- chart ---

void TChartSeries::SetParentChart(TCustomAxisPanel* chart)
{
    if (chart == ParentChart())
        return;
    if (ParentChart())
        ParentChart()->RemoveSeries(this);
    SetParentChartField(chart);
    if (chart)
        chart->InsertSeries(this);
}

void TChartSeries::JoinedChart()
{
    if (fColor == clDefault && ParentChart()) {
        fAutoColor = ParentChart()->FirstFreeColor(true, this);
        AnnounceColorChange();
    }
    ResolveAxes();
    RequestDataRefresh();
}

void TChartSeries::LeftChart()
{
    if (TCustomAxisPanel* c = ParentChart(); c && fCursor != 0) {
        const QCursor mine = ScreenCursor(fCursor);
        const QCursor shown = c->cursor();
        if (shown.shape() == mine.shape() && (shown.shape() != Qt::BitmapCursor || shown.hotSpot() == mine.hotSpot()))
            c->setCursor(c->SavedCursor());
    }
    fMouseInside = false;
    UnlinkFromSources();
    SetParentChartField(nullptr);
    ResolveAxes();
}

void TChartSeries::ApplyGallery3D(bool on)
{
    if (ParentChart())
        ParentChart()->SetView3D(on);
}

bool TChartSeries::UpdateMouseHover(int x, int y)
{
    if (fCursor == 0 && !OnMouseEnter && !OnMouseLeave)
        return false;
    if (PointAtPixel(x, y) == -1) {
        if (fMouseInside) {
            fMouseInside = false;
            if (OnMouseLeave)
                OnMouseLeave(this);
        }
        return false;
    }
    if (fCursor != 0 && ParentChart())
        ParentChart()->setCursor(ScreenCursor(fCursor));
    if (!fMouseInside) {
        fMouseInside = true;
        if (OnMouseEnter)
            OnMouseEnter(this);
    }
    return true;
}

void TChartSeries::Notification(TCustomChartElement* gone)
{
    (void)gone;
}

// --- depth, visible and page ranges ---

void TChartSeries::AssignZOrder()
{
    TCustomAxisPanel* c = ParentChart();
    if (!c)
        return;
    if (fZOrder == -1) {
        fAutoZOrder = c->View3D() ? c->HighestZPosition() + 1 : 0;
        c->SetHighestZPosition(std::max(c->HighestZPosition(), fAutoZOrder));
    } else
        c->SetHighestZPosition(std::max(c->HighestZPosition(), fZOrder));
}

bool TChartSeries::SharesZOrder()
{
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->ApplyZOrder())
        return false;
    for (int i = 0; i < c->NumberOfSeries(); ++i) {
        TChartSeries* s = c->SeriesAt(i);
        if (s != this && s->Active() && !s->HasOwnZValues() && s->EffectiveZOrder() == EffectiveZOrder())
            return true;
    }
    return false;
}

void TChartSeries::ComputeDepthRange()
{
    TCustomAxisPanel* c = ParentChart();
    const int per = c ? c->DepthPerSeries() : 0;
    fStartZ = per * fZPosition;
    fEndZ = fStartZ + (fDepth == -1 ? per : fDepth);
    fMiddleZ = (fStartZ + fEndZ) / 2;
}

void TChartSeries::ComputeVisibleRange()
{
    fFirstVisible = fLastVisible = -1;
    const int n = PointCount();
    if (n == 0)
        return;
    TChartAxis* axis = fYMandatory ? fHorizAxisObj : fVertAxisObj;
    TCustomAxisPanel* c = ParentChart();
    if (!fCalcVisiblePoints || fOther->Order() == loNone || !axis || !c) {
        fFirstVisible = 0;
        fLastVisible = n - 1;
        return;
    }
    const TRect& r = c->ChartRect();
    double low, high;
    if (fYMandatory) {
        low = axis->ValueAtPixel(axis->Inverted() ? r.Right : r.Left);
        high = axis->ValueAtPixel(axis->Inverted() ? r.Left : r.Right);
    } else {
        low = axis->ValueAtPixel(axis->Inverted() ? r.Top : r.Bottom);
        high = axis->ValueAtPixel(axis->Inverted() ? r.Bottom : r.Top);
    }
    if (low > high)
        std::swap(low, high);
    const double* v = fOther->Data();
    int first = -1;
    for (int i = 0; i < n; ++i)
        if (v[i] >= low) {
            first = i;
            break;
        }
    if (first < 0)
        return;
    int last = n - 1;
    if (v[n - 1] > high) {
        last = n - 1;
        for (int i = first; i < n; ++i)
            if (v[i] >= high) {
                last = i;
                break;
            }
        if (!fDrawBetweenPoints && v[last] > high && last > first)
            --last;
    }
    fFirstVisible = first;
    fLastVisible = last;
}

std::pair<int, int> TChartSeries::PageRange() const
{
    const int n = PointCount();
    if (n == 0)
        return {-1, -1};
    TCustomAxisPanel* c = ParentChart();
    const int p = c ? c->MaxPointsPerPage() : 0;
    if (p <= 0)
        return {0, n - 1};
    const long long first = (long long)p * (c->Page() - 1);
    if (first >= n || first < 0)
        return {-1, -1};
    const long long last = std::min<long long>(first + p - 1, n - 1);
    return {int(first), int(last)};
}

// --- drawing hooks ---

void TChartSeries::DrawVisiblePoints()
{
    if (fFirstVisible < 0)
        return;
    for (int i = fFirstVisible; i <= fLastVisible; ++i)
        DrawPoint(i);
}

void TChartSeries::FireBeforeDrawValues()
{
    if (BeforeDrawValues)
        BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues()
{
    if (AfterDrawValues)
        AfterDrawValues(this);
}

void TChartSeries::Assign(const TChartSeries& source)
{
    TCustomChartSeries::Assign(source);
    fColorEachPoint = source.fColorEachPoint;
    fColor = source.fColor;
    fAutoColor = source.fAutoColor;
    fColorSource = source.fColorSource;
    fCursor = source.fCursor;
    fDepth = source.fDepth;
    fHorizAxis = source.fHorizAxis;
    fVertAxis = source.fVertAxis;
    fPercentFormat = source.fPercentFormat;
    fValueFormat = source.fValueFormat;
    fXLabelsSource = source.fXLabelsSource;
    fZOrder = source.fZOrder;
    fX->Assign(*source.fX);
    fY->Assign(*source.fY);
    ResolveAxes();
}

std::string GetSeriesDisplayTitle(const TChartSeries& series)
{
    if (!series.Title().empty())
        return series.Title();
    if (!series.Name().empty())
        return series.Name();
    if (TCustomAxisPanel* c = series.ParentChart()) {
        const int i = c->SeriesList().IndexOf(&series);
        if (i >= 0)
            return PlotText(TPlotText::txtSeries) + std::to_string(i + 1);
    }
    return {};
}

} // namespace cb::chart
