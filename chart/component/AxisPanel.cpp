#include "chart/component/AxisPanel.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/PlotFunction.h"
#include "chart/series/PlotSeriesSource.h"
#include "chart/series/SeriesHelpers.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TAxisPanel::TAxisPanel(QWidget* parent) : TCustomAxisPanel(parent) {
    SetAutoRepaint(false);
    FTools = std::make_unique<TChartTools>(this);
    FSeriesList = std::make_unique<TChartSeriesList>(this);
    FAxes = std::make_unique<TChartAxes>(this);
    FCustomAxes = std::make_unique<TChartCustomAxes>(this);
    FBottomAxis = FAxes->Make<TChartAxis>();
    FBottomAxis->SetHorizontal(true);
    FTopAxis = FAxes->Make<TChartAxis>();
    FTopAxis->SetHorizontal(true);
    FTopAxis->SetOtherSide(true);
    FTopAxis->SetZPosition(100);
    FLeftAxis = FAxes->Make<TChartAxis>();
    FRightAxis = FAxes->Make<TChartAxis>();
    FRightAxis->SetOtherSide(true);
    FLeftAxis->Title().SetAngle(90);
    FRightAxis->Title().SetAngle(270);
    FRightAxis->SetZPosition(100);
    FDepthAxis = FAxes->Make<TChartDepthAxis>();
    FDepthAxis->SetVisible(false);
    FDepthAxis->SetOtherSide(true);
    FDepthTopAxis = FAxes->Make<TChartDepthAxis>();
    FDepthTopAxis->SetVisible(false);
    SetAutoRepaint(true);
}

TAxisPanel::~TAxisPanel() {
    FDestroying = true;
    SetAutoRepaint(false);
    FreeSeriesOfClass();
    FOwnedSeries.Clear();  // series that were replaced in the list
    FTools->Clear();
    FAxes->Clear();
}

int TAxisPanel::ActiveSeriesCount() const {
    int n = 0;
    for (TChartSeries* s : FSeriesList->Items()) n += s->Active();
    return n;
}

int TAxisPanel::MaxPointCount() const {
    int n = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active()) n = std::max(n, s->PointCount());
    return n;
}

TChartSeries* TAxisPanel::AdoptSeries(TChartSeries* series) {
    if (series) series->SetParentChart(this);
    return series;
}

TChartSeries* TAxisPanel::AdoptSeries(std::unique_ptr<TChartSeries> series) {
    TChartSeries* s = FOwnedSeries.Adopt(std::move(series));
    return AdoptSeries(s);
}

void TAxisPanel::InsertSeries(TChartSeries* series) {
    if (!series || FSeriesList->IndexOf(series) >= 0) return;
    if (series->ParentChart() != this)
        series->SetParentChart(this);  // comes back here
    else {
        FOwnedSeries.Adopt(series);
        FSeriesList->Add(series);
        series->JoinedChart();
        BroadcastSeriesEvent(series, seAdd);
        Invalidate();
    }
}

void TAxisPanel::RemoveSeries(TChartSeries* series) {
    if (!series) return;
    (void)FOwnedSeries.Release(series).release();  // the caller or the next chart owns it now
    if (FSeriesList->IndexOf(series) < 0) return;
    BroadcastSeriesEvent(series, seRemove);
    series->LeftChart();
    FSeriesList->Remove(series);
    for (int g = 0; g < FSeriesList->GroupCount(); ++g) FSeriesList->GroupAt(g)->Series.Remove(series);
    RetargetSeriesTools(series, nullptr);
    Invalidate();
}

void TAxisPanel::FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match) {
    for (TChartSeries* s : std::vector<TChartSeries*>(FSeriesList->Items()))
        if (!match || match(s)) {
            FOwnedSeries.Adopt(s);
            FOwnedSeries.Destroy(s);  // the series leaves the chart
            // One put into the list without joining the chart cannot take
            // itself out: its entry goes here, so no freed series stays.
            FSeriesList->Remove(s);
        }
}

void TAxisPanel::ExchangeSeriesAt(int i, int j) {
    TChartSeries* a = SeriesAt(i);
    TChartSeries* b = SeriesAt(j);
    FSeriesList->Exchange(i, j);
    for (int g = 0; g < FSeriesList->GroupCount(); ++g) {
        TCustomSeriesList& list = FSeriesList->GroupAt(g)->Series;
        const int gi = list.IndexOf(a), gj = list.IndexOf(b);
        if (gi >= 0 && gj >= 0) list.Exchange(gi, gj);
    }
    BroadcastSeriesEvent(nullptr, seSwap);
    Invalidate();
}

void TAxisPanel::SwapSeries(TChartSeries* a, TChartSeries* b) {
    const int i = FSeriesList->IndexOf(a), j = FSeriesList->IndexOf(b);
    if (i >= 0 && j >= 0) ExchangeSeriesAt(i, j);
}

void TAxisPanel::BroadcastSeriesEvent(TChartSeries* series, TPlotSeriesEventCode code) {
    TPlotSeriesEvent e;
    e.Series = series;
    e.Code = code;
    BroadcastEvent(e);
}

TChartSeries* TAxisPanel::LegendSeriesAt(int n, bool activeOnly) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->ShowInLegend() && (!activeOnly || s->Active()) && n-- == 0) return s;
    return nullptr;
}

std::string TAxisPanel::SeriesLegendTitle(int n, bool activeOnly) const {
    TChartSeries* s = LegendSeriesAt(n, activeOnly);
    return s ? GetSeriesDisplayTitle(*s) : std::string();
}

bool TAxisPanel::IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) {
    if (checkBackgrounds && color == Color()) return false;
    for (TChartSeries* s : FSeriesList->Items())
        if (s != except && s->SeriesColor() == color) return false;
    return true;
}

TColor TAxisPanel::FirstFreeColor(bool checkBackgrounds, const TChartSeries* except) {
    const int n = ColorPalette().empty() ? DefaultPaletteSize : int(ColorPalette().size());
    for (int i = 0; i < n; ++i) {
        const TColor c = PaletteColor(i);
        if (IsColorFree(c, checkBackgrounds, except)) return c;
    }
    return PaletteColor(n - 1);
}

void TAxisPanel::ReassignAutomaticColors() {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->StoredSeriesColor() == clDefault) s->AssignAutomaticColor(FirstFreeColor(true, s));
}

void TAxisPanel::AxisGoing(TChartAxis* axis) {
    for (TChartSeries* s : FSeriesList->Items()) s->ForgetAxis(axis);
    for (TPlotCustomTool* t : FTools->Items())
        if (auto* at = dynamic_cast<TPlotCustomToolAxis*>(t)) at->AxisDestroyed(axis);
}

bool TAxisPanel::IsAxisShown(const TChartAxis* axis) const {
    if (!AxisVisible() || !axis->Visible()) return false;
    if (axis->IsDepthAxis()) return View3D();
    bool anyActive = false;
    for (TChartSeries* s : FSeriesList->Items()) {
        if (!s->Active()) continue;
        anyActive = true;
        if (!s->UsesAxes()) return false;
        if (s->IsLinkedToAxis(axis)) return true;
    }
    return !anyActive;
}

bool TAxisPanel::NoActiveSeriesOnAxis(const TChartAxis* axis) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis)) return false;
    return true;
}

TChartSeries* TAxisPanel::FirstSeriesOnAxis(const TChartAxis* axis) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis)) return s;
    return nullptr;
}

TChartSeries* TAxisPanel::LargestSeriesOnAxis(const TChartAxis* axis) const {
    TChartSeries* best = nullptr;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis) && (!best || s->PointCount() > best->PointCount())) best = s;
    return best;
}

double TAxisPanel::AxisValueLimit(const TChartAxis* axis, bool lowest, bool horizontal) const {
    const auto& items = FSeriesList->Items();
    if (axis->IsDepthAxis()) {
        if (axis->EffectiveLabelStyle() == talValue) {
            bool any = false;
            double r = 0;
            for (TChartSeries* s : items) {
                if (!s->Active()) continue;
                const double v = lowest ? s->LowestZ() : s->HighestZ();
                r = any ? (lowest ? std::min(r, v) : std::max(r, v)) : v;
                any = true;
            }
            return r;
        }
        return lowest ? -0.5 : HighestZPosition() + 0.5;
    }
    TChartSeries* first = FirstSeriesOnAxis(axis);
    const bool positionHorizontal = !first || first->YMandatory();
    if (MaxPointsPerPage() > 0 && horizontal == positionHorizontal) {
        TChartSeries* s = LargestSeriesOnAxis(axis);
        if (!s || s->PointCount() == 0) return 0;
        auto [a, b] = s->PageRange();
        if (a < 0) return 0;
        TChartValueList& list = horizontal ? s->XValues() : s->YValues();
        if (lowest) return list.Value(a);
        double high = list.Value(b);
        const int n = b - a + 1;
        if (!ScaleLastPage() && n < MaxPointsPerPage()) {
            const double lo = list.Value(a);
            high = high != lo ? lo + MaxPointsPerPage() * (high - lo) / n : lo + double(MaxPointsPerPage()) / n;
        }
        return high;
    }
    auto onAxis = [&](TChartSeries* s) {
        if (s->PointCount() == 0) return false;
        if (horizontal) return s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == axis;
        return s->VertAxis() == aBothVertAxis || s->GetVertAxis() == axis;
    };
    bool anyActive = false;
    for (TChartSeries* s : items)
        if (s->Active() && onAxis(s)) anyActive = true;
    bool any = false;
    double r = 0;
    for (TChartSeries* s : items) {
        if (!onAxis(s) || (anyActive && !s->Active())) continue;
        const double v = horizontal ? (lowest ? s->LowestX() : s->HighestX()) : (lowest ? s->LowestY() : s->HighestY());
        r = any ? (lowest ? std::min(r, v) : std::max(r, v)) : v;
        any = true;
    }
    return r;
}

int TAxisPanel::WidestSeriesLabel() {
    int w = 0;
    for (TChartSeries* s : FSeriesList->Items())
        for (int i = 0; i < s->Labels().Count(); ++i) w = std::max(w, MultiLineTextWidth(s->Labels().Label(i)));
    return w;
}

std::string TAxisPanel::MarkTextOfPoint(TChartSeries* series, int index) {
    return cb::rtl::FormatFloat(series->ValueFormat(), series->MandatoryValue(index));
}

int TAxisPanel::NumPages() const {
    if (MaxPointsPerPage() < 1 || FSeriesList->Count() == 0) return 1;
    TChartSeries* first = FSeriesList->SeriesAt(0);
    auto pagesOf = [&](const TChartAxis* axis) {
        int m = 0;
        for (TChartSeries* s : FSeriesList->Items())
            if (s->Active() && s->IsLinkedToAxis(axis)) m = std::max(m, s->PointCount());
        return m <= 0 ? 1 : (m + MaxPointsPerPage() - 1) / MaxPointsPerPage();
    };
    if (first->YMandatory()) return std::max(pagesOf(FTopAxis), pagesOf(FBottomAxis));
    return std::max(pagesOf(FLeftAxis), pagesOf(FRightAxis));
}

void TAxisPanel::SetPage(int v) {
    v = std::clamp(v, 1, std::max(1, NumPages()));
    if (v == Page()) return;
    StorePage(v);
    Invalidate();
    TChartChangePage e;
    BroadcastEvent(e);
    if (OnPageChange) OnPageChange(this);
}

void TAxisPanel::SetMaxPointsPerPage(int v) {
    if (v < 0) throw ChartException(PlotText(TPlotText::msgMaxPointsPerPage));
    StoreMaxPointsPerPage(v);
    if (Page() > NumPages()) SetPage(NumPages());
    TChartChangePage e;
    BroadcastEvent(e);
}

void TAxisPanel::NotifyTools(TChartStage code) {
    for (TPlotCustomTool* t : std::vector<TPlotCustomTool*>(FTools->Items()))
        if (t->Active()) t->HandleChartStage(code);
}

void TAxisPanel::DrawOverlays() {
    if (FTools->Count() == 0 || ChartRect().Width() <= 0) return;
    Canvas()->RestoreDefaults();
    NotifyTools(csOverlay);
    Canvas()->RestoreDefaults();
}

void TAxisPanel::RetargetSeriesTools(const TChartSeries* from, TChartSeries* to) {
    for (TPlotCustomTool* t : FTools->Items())
        if (auto* st = dynamic_cast<TPlotCustomToolSeries*>(t); st && st->Series() == from) st->SetSeries(to);
}

void TAxisPanel::RefillSeries(TChartSeries* series) {
    if (!series || Loading()) return;
    if (TChartSeries* source = series->DataSource()) {
        series->RefillFromSeries(*source);
        return;
    }
    if (TPlotSeriesSource* source = series->SeriesSource()) {
        source->Reload();
        return;
    }
    TPlotFunction* function = series->Function();
    if (function && function->NeedsNoSource()) {
        series->HoldUpdates();
        series->BeginFilling();
        auto release = cb::rtl::OnScopeExit([series] {
            series->EndFilling();
            series->ReleaseUpdates();
        });
        series->RemoveAllPoints();
        function->AddPointsFromSource(nullptr);
        return;
    }
    if (!series->ManualData() && series->MayAddSampleValues()) series->FillSampleValues(series->DefaultSampleCount());
}

void TAxisPanel::Assign(const TCustomAxisPanel& source) {
    auto& s = const_cast<TCustomAxisPanel&>(source);
    FBottomAxis->Assign(s.BottomAxis());
    FCustomAxes->Clear();
    for (int i = 0; i < s.CustomAxes().Count(); ++i) FCustomAxes->Add()->Assign(*s.CustomAxes().AxisAt(i));
    FLeftAxis->Assign(s.LeftAxis());
    FDepthAxis->Assign(s.DepthAxis());
    FDepthTopAxis->Assign(s.DepthTopAxis());
    FRightAxis->Assign(s.RightAxis());
    FTopAxis->Assign(s.TopAxis());
    TCustomAxisPanel::Assign(source);
}

}  // namespace cb::chart
