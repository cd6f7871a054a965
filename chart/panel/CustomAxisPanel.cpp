#include "chart/panel/CustomAxisPanel.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/ScopeGuard.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace cb::chart {

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomPlotPanelExtended(parent) {
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

TCustomAxisPanel::~TCustomAxisPanel() {
    FDestroying = true;
    SetAutoRepaint(false);
    FreeSeriesOfClass();
    FOwnedSeries.Clear();  // series that were replaced in the list
    FTools->Clear();
    FAxes->Clear();
}

void TCustomAxisPanel::SetChart3DPercent(int v) {
    if (v < 1 || v > 100) throw cb::rtl::Exception(FormatPlotText(TPlotText::msg3DPercent, {"1", "100"}));
    StoreIntegerAndInvalidate(FChart3DPercent, v);
}

// --- series ---

int TCustomAxisPanel::ActiveSeriesCount() const {
    int n = 0;
    for (TChartSeries* s : FSeriesList->Items()) n += s->Active();
    return n;
}

int TCustomAxisPanel::MaxPointCount() const {
    int n = 0;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active()) n = std::max(n, s->PointCount());
    return n;
}

TChartSeries* TCustomAxisPanel::AdoptSeries(TChartSeries* series) {
    if (series) series->SetParentChart(this);
    return series;
}

TChartSeries* TCustomAxisPanel::AdoptSeries(std::unique_ptr<TChartSeries> series) {
    TChartSeries* s = FOwnedSeries.Adopt(std::move(series));
    return AdoptSeries(s);
}

void TCustomAxisPanel::InsertSeries(TChartSeries* series) {
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

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    if (!series) return;
    (void)FOwnedSeries.Release(series).release();  // the caller or the next chart owns it now
    if (FSeriesList->IndexOf(series) < 0) return;
    BroadcastSeriesEvent(series, seRemove);
    series->LeftChart();
    FSeriesList->Remove(series);
    for (int g = 0; g < FSeriesList->GroupCount(); ++g) FSeriesList->GroupAt(g)->Series.Remove(series);
    for (TPlotCustomTool* t : FTools->Items())
        if (auto* st = dynamic_cast<TPlotCustomToolSeries*>(t); st && st->Series() == series) st->SetSeries(nullptr);
    Invalidate();
}

void TCustomAxisPanel::FreeSeriesOfClass(const std::function<bool(const TChartSeries*)>& match) {
    for (TChartSeries* s : std::vector<TChartSeries*>(FSeriesList->Items()))
        if (!match || match(s)) {
            FOwnedSeries.Adopt(s);
            FOwnedSeries.Destroy(s);  // the series leaves the chart
            // One put into the list without joining the chart cannot take
            // itself out: its entry goes here, so no freed series stays.
            FSeriesList->Remove(s);
        }
}

void TCustomAxisPanel::ExchangeSeriesAt(int i, int j) {
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

void TCustomAxisPanel::SwapSeries(TChartSeries* a, TChartSeries* b) {
    const int i = FSeriesList->IndexOf(a), j = FSeriesList->IndexOf(b);
    if (i >= 0 && j >= 0) ExchangeSeriesAt(i, j);
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeries* series, TPlotSeriesEventCode code) {
    TPlotSeriesEvent e;
    e.Series = series;
    e.Code = code;
    BroadcastEvent(e);
}

TChartSeries* TCustomAxisPanel::LegendSeriesAt(int n, bool activeOnly) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->ShowInLegend() && (!activeOnly || s->Active()) && n-- == 0) return s;
    return nullptr;
}

std::string TCustomAxisPanel::SeriesLegendTitle(int n, bool activeOnly) const {
    TChartSeries* s = LegendSeriesAt(n, activeOnly);
    return s ? GetSeriesDisplayTitle(*s) : std::string();
}

// --- colours ---

TColor TCustomAxisPanel::PaletteColor(int index) const {
    if (FPalette.empty()) return DefaultPaletteColor(index);
    return FPalette[std::size_t(index % int(FPalette.size()))];
}

bool TCustomAxisPanel::IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) {
    if (checkBackgrounds && color == Color()) return false;
    for (TChartSeries* s : FSeriesList->Items())
        if (s != except && s->SeriesColor() == color) return false;
    return true;
}

TColor TCustomAxisPanel::FirstFreeColor(bool checkBackgrounds, const TChartSeries* except) {
    const int n = FPalette.empty() ? DefaultPaletteSize : int(FPalette.size());
    for (int i = 0; i < n; ++i) {
        const TColor c = PaletteColor(i);
        if (IsColorFree(c, checkBackgrounds, except)) return c;
    }
    return PaletteColor(n - 1);
}

void TCustomAxisPanel::ReassignAutomaticColors() {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->StoredSeriesColor() == clDefault) s->AssignAutomaticColor(FirstFreeColor(true, s));
}

// --- axes ---

bool TCustomAxisPanel::IsAxisShown(const TChartAxis* axis) const {
    if (!FAxisVisible || !axis->Visible()) return false;
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

bool TCustomAxisPanel::NoActiveSeriesOnAxis(const TChartAxis* axis) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis)) return false;
    return true;
}

TChartSeries* TCustomAxisPanel::FirstSeriesOnAxis(const TChartAxis* axis) const {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis)) return s;
    return nullptr;
}

TChartSeries* TCustomAxisPanel::LargestSeriesOnAxis(const TChartAxis* axis) const {
    TChartSeries* best = nullptr;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active() && s->IsLinkedToAxis(axis) && (!best || s->PointCount() > best->PointCount())) best = s;
    return best;
}

double TCustomAxisPanel::AxisValueLimit(const TChartAxis* axis, bool lowest, bool horizontal) const {
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
        return lowest ? -0.5 : FHighestZ + 0.5;
    }
    TChartSeries* first = FirstSeriesOnAxis(axis);
    const bool positionHorizontal = !first || first->YMandatory();
    if (FMaxPointsPerPage > 0 && horizontal == positionHorizontal) {
        TChartSeries* s = LargestSeriesOnAxis(axis);
        if (!s || s->PointCount() == 0) return 0;
        auto [a, b] = s->PageRange();
        if (a < 0) return 0;
        TChartValueList& list = horizontal ? s->XValues() : s->YValues();
        if (lowest) return list.Value(a);
        double high = list.Value(b);
        const int n = b - a + 1;
        if (!FScaleLastPage && n < FMaxPointsPerPage) {
            const double lo = list.Value(a);
            high = high != lo ? lo + FMaxPointsPerPage * (high - lo) / n : lo + double(FMaxPointsPerPage) / n;
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

int TCustomAxisPanel::MultiLineTextWidth(const std::string& text, int* lines) {
    int widest = 0, n = 0;
    TCanvas3D* c = Canvas();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\r', start);
        const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos && line.empty() && n > 0) break;
        ++n;
        if (c && c->ReferenceCanvas()) widest = std::max(widest, c->TextWidth(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (lines) *lines = text.empty() ? 0 : n;
    return widest;
}

int TCustomAxisPanel::WidestSeriesLabel() {
    int w = 0;
    for (TChartSeries* s : FSeriesList->Items())
        for (int i = 0; i < s->Labels().Count(); ++i) w = std::max(w, MultiLineTextWidth(s->Labels().Label(i)));
    return w;
}

std::string TCustomAxisPanel::MarkTextOfPoint(TChartSeries* series, int index) {
    return cb::rtl::FormatFloat(series->ValueFormat(), series->MandatoryValue(index));
}

// --- paging ---

int TCustomAxisPanel::NumPages() const {
    if (FMaxPointsPerPage < 1 || FSeriesList->Count() == 0) return 1;
    TChartSeries* first = FSeriesList->SeriesAt(0);
    auto pagesOf = [&](const TChartAxis* axis) {
        int m = 0;
        for (TChartSeries* s : FSeriesList->Items())
            if (s->Active() && s->IsLinkedToAxis(axis)) m = std::max(m, s->PointCount());
        return m <= 0 ? 1 : (m + FMaxPointsPerPage - 1) / FMaxPointsPerPage;
    };
    if (first->YMandatory()) return std::max(pagesOf(FTopAxis), pagesOf(FBottomAxis));
    return std::max(pagesOf(FLeftAxis), pagesOf(FRightAxis));
}

void TCustomAxisPanel::SetPage(int v) {
    v = std::clamp(v, 1, std::max(1, NumPages()));
    if (v == FPage) return;
    FPage = v;
    Invalidate();
    TChartChangePage e;
    BroadcastEvent(e);
    if (OnPageChange) OnPageChange(this);
}

void TCustomAxisPanel::SetMaxPointsPerPage(int v) {
    if (v < 0) throw ChartException(PlotText(TPlotText::msgMaxPointsPerPage));
    StoreIntegerAndInvalidate(FMaxPointsPerPage, v);
    if (FPage > NumPages()) SetPage(NumPages());
    TChartChangePage e;
    BroadcastEvent(e);
}

void TCustomAxisPanel::PrintPageRange(QPrinter& printer, int from, int to) {
    // Pages past the last would print the last one again.
    const int pages = NumPages();
    if (to <= 0 || to > pages) to = pages;
    if (from < 1) from = 1;
    if (from > to) return;
    if (!objectName().isEmpty()) printer.setDocName(objectName());
    const int keep = FPage;
    const TRect r = PrintPageRect(&printer);
    QPainter painter;
    if (!painter.begin(&printer)) throw ChartException("The printer could not be started.");
    auto restorePage = cb::rtl::OnScopeExit([&] { SetPage(keep); });
    auto abortJob = cb::rtl::OnScopeExit([&] {
        printer.abort();
        if (painter.isActive()) painter.end();
    });
    for (int p = from; p <= to; ++p) {
        SetPage(p);
        cb::gfx::TCanvas canvas(&painter);
        DrawOnPrinterCanvas(&canvas, r);
        if (p < to) printer.newPage();
    }
    abortJob.Dismiss();
    painter.end();
}

// --- tools and events ---

void TCustomAxisPanel::NotifyTools(TChartStage code) {
    for (TPlotCustomTool* t : std::vector<TPlotCustomTool*>(FTools->Items()))
        if (t->Active()) t->HandleChartStage(code);
}

void TCustomAxisPanel::FireAfterDraw() {
    if (OnAfterDraw) OnAfterDraw(this);
}

void TCustomAxisPanel::FireBeforeDrawAxes() {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::FireBeforeDrawChart() {
    if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}

void TCustomAxisPanel::FireBeforeDrawSeries() {
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

void TCustomAxisPanel::leaveEvent(QEvent* e) {
    TCustomPlotPanelExtended::leaveEvent(e);
    NotifyTools(csMouseLeave);
}

void TCustomAxisPanel::RefillSeries(TChartSeries* series) {
    // Series sources refill the series; other sources come with the data
    // source layer.
    if (!series || series->DataSources().empty()) return;
    series->RefillFromSeries(*series->DataSources().front());
}

void TCustomAxisPanel::Assign(const TCustomAxisPanel& source) {
    FChart3DPercent = source.FChart3DPercent;
    FAxisBehind = source.FAxisBehind;
    FAxisVisible = source.FAxisVisible;
    FBottomAxis->Assign(*source.FBottomAxis);
    FClipPoints = source.FClipPoints;
    FPalette = source.FPalette;
    FCustomAxes->Clear();
    for (int i = 0; i < source.FCustomAxes->Count(); ++i) FCustomAxes->Add()->Assign(*source.FCustomAxes->AxisAt(i));
    FLeftAxis->Assign(*source.FLeftAxis);
    FDepthAxis->Assign(*source.FDepthAxis);
    FDepthTopAxis->Assign(*source.FDepthTopAxis);
    FMaxPointsPerPage = source.FMaxPointsPerPage;
    FPage = source.FPage;
    FRightAxis->Assign(*source.FRightAxis);
    FScaleLastPage = source.FScaleLastPage;
    FTopAxis->Assign(*source.FTopAxis);
    FView3DWalls = source.FView3DWalls;
    TCustomPlotPanelExtended::Assign(source);
}

}  // namespace cb::chart
