#include "chart/series/ChartSeries.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/PlotSeriesSource.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"

#include <algorithm>

namespace cb::chart {

// --- TCustomChartSeries ---

void TCustomChartSeries::SetTitle(const std::string& title) {
    StoreStringAndRepaint(FSettings.Title, title);
    if (ParentChart()) ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeTitle);
}

void TCustomChartSeries::SetActive(bool on) {
    const bool changed = FActive != on;
    TCustomChartElement::SetActive(on);
    if (changed && ParentChart())
        ParentChart()->BroadcastSeriesEvent(dynamic_cast<TChartSeries*>(this), seChangeActive);
}

void TCustomChartSeries::Assign(const TCustomChartSeries& source) {
    FSettings = source.FSettings;
    TCustomChartElement::Assign(source);
}

// --- TChartSeries ---

TChartSeries::TChartSeries() : FMarks(std::make_unique<TSeriesMarks>(this)) {
    FSettings.PercentFormat = PlotText(TPlotText::txtPercentFormat);
    FSettings.ValueFormat = PlotText(TPlotText::txtValuesFormat);
    FX = FValueLists.Make(this, "X");
    FX->SetOrder(loAscending);
    FY = FValueLists.Make(this, "Y");
    FMandatory = FY;
    FOther = FX;
}

TChartSeries::~TChartSeries() {
    FDestroying = true;
    FFunction.reset();
    if (TPlotSeriesSource* source = FSeriesSource) {
        FSeriesSource = nullptr;
        source->SetSeries(nullptr);
    }
    UnlinkFromSources();
    for (TChartSeries* d : std::vector<TChartSeries*>(FDependents.Items()))
        d->FDataSources.erase(std::remove(d->FDataSources.begin(), d->FDataSources.end(), this), d->FDataSources.end());
    RemoveAllPoints();  // dependents that follow clears empty themselves
    FDependents.Clear();
    SetParentChart(nullptr);
    FValueLists.Clear();
}

void TChartSeries::SetSeriesSource(TPlotSeriesSource* source) {
    if (source == FSeriesSource) return;
    TPlotSeriesSource* old = FSeriesSource;
    FSeriesSource = source;
    if (old && old->Series() == this) old->seriesGone();
}

void TChartSeries::SetColorSource(const std::string& s) {
    if (FSettings.ColorSource != s) {
        FSettings.ColorSource = s;
        RequestDataRefresh();
    }
}

void TChartSeries::SetXLabelsSource(const std::string& s) {
    if (FSettings.XLabelsSource != s) {
        FSettings.XLabelsSource = s;
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

void TChartSeries::MakeYMandatory() {
    FMandatory = FY;
    FOther = FX;
    FYMandatory = true;
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

// --- colours ---

void TChartSeries::SetSeriesColor(TColor c) {
    if (FSettings.Color == clDefault && c == FSettings.AutoColor) return;
    StoreColorAndRepaint(FSettings.Color, c);
    FSettings.AutoColor = FSettings.Color;
    AnnounceColorChange();
}

void TChartSeries::AssignAutomaticColor(TColor c) {
    FSettings.AutoColor = c;
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
    if (FSettings.Color == clDefault && ParentChart()) {
        FSettings.AutoColor = ParentChart()->FirstFreeColor(true, this);
        AnnounceColorChange();
    }
    FMarks->SetParentPanel(ParentChart());
    ResolveAxes();
    RequestDataRefresh();
}

void TChartSeries::LeftChart() {
    if (TCustomAxisPanel* c = ParentChart(); c && FSettings.Cursor != 0) {
        const QCursor mine = ScreenCursor(FSettings.Cursor);
        const QCursor shown = c->cursor();
        if (shown.shape() == mine.shape() && (shown.shape() != Qt::BitmapCursor || shown.hotSpot() == mine.hotSpot()))
            c->setCursor(c->SavedCursor());
    }
    FMouseInside = false;
    UnlinkFromSources();
    SetParentChartField(nullptr);
    FMarks->SetParentPanel(nullptr);
    ResolveAxes();
}

void TChartSeries::ApplyGallery3D(bool on) {
    if (ParentChart()) ParentChart()->SetView3D(on);
}

bool TChartSeries::UpdateMouseHover(int x, int y) {
    if (FSettings.Cursor == 0 && !OnMouseEnter && !OnMouseLeave) return false;
    if (PointAtPixel(x, y) == -1) {
        if (FMouseInside) {
            FMouseInside = false;
            if (OnMouseLeave) OnMouseLeave(this);
        }
        return false;
    }
    if (FSettings.Cursor != 0 && ParentChart()) ParentChart()->setCursor(ScreenCursor(FSettings.Cursor));
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
    if (FSettings.ZOrder == -1) {
        FAutoZOrder = c->View3D() ? c->HighestZPosition() + 1 : 0;
        c->SetHighestZPosition(std::max(c->HighestZPosition(), FAutoZOrder));
    } else
        c->SetHighestZPosition(std::max(c->HighestZPosition(), FSettings.ZOrder));
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
    FEndZ = FStartZ + (FSettings.Depth == -1 ? per : FSettings.Depth);
    FMiddleZ = (FStartZ + FEndZ) / 2;
    FMarks->SetZPosition(FMiddleZ);
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
    if (DrawsAscending())
        for (int i = FFirstVisible; i <= FLastVisible; ++i) DrawPoint(i);
    else
        for (int i = FLastVisible; i >= FFirstVisible; --i) DrawPoint(i);
}

void TChartSeries::FireBeforeDrawValues() {
    if (BeforeDrawValues) BeforeDrawValues(this);
}

void TChartSeries::FireAfterDrawValues() {
    if (AfterDrawValues) AfterDrawValues(this);
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
