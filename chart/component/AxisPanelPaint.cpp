// The axis panel's paint pipeline: layout, depths, axes, walls, series and
// the legend, with the stages tools hear of.
#include "chart/component/AxisPanel.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/core/PlotHelpers.h"
#include "chart/series/ChartSeries.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

void TAxisPanel::ComputeZOrder() {
    SetHighestZPosition(0);
    const auto items = FSeriesList->Items();
    if (View3D() && ApplyZOrder()) {
        SetHighestZPosition(-1);
        for (TChartSeries* s : items)
            if (s->Active()) s->AssignZOrder();
        SetHighestZPosition(std::max(HighestZPosition(), 0));
    }
    for (TChartSeries* s : items) {
        if (!s->Active()) continue;
        if (!View3D())
            s->SetZPosition(0);
        else if (FDepthAxis->Inverted())
            s->SetZPosition(s->EffectiveZOrder());
        else
            s->SetZPosition(HighestZPosition() - s->EffectiveZOrder());
    }
}

void TAxisPanel::PlaceAxisEnds() {
    for (int i = 0; i < FAxes->Count(); ++i) (*FAxes)[i]->PlaceEnds();
}

void TAxisPanel::LayOutAxes() {
    for (int i = 0; i < FAxes->Count(); ++i) {
        TChartAxis* a = (*FAxes)[i];
        a->SetShown(IsAxisShown(a));
        a->RefreshRange();
    }
    PlaceAxisEnds();
    TRect r = ChartRect();
    for (int j = 0; j < FAxes->Count(); ++j) {
        TChartAxis* a = (*FAxes)[j];
        if (!a->IsShown()) continue;
        TRect copy = r;
        a->PlaceInRect(copy, j < 5);
        if (copy.Left < r.Right && copy.Right > r.Left && copy.Top < r.Bottom && copy.Bottom > r.Top &&
            copy.Left < copy.Right && copy.Top < copy.Bottom)
            r = copy;
    }
    SetChartRect(r);
    NormalizeChartRect();
    PlaceAxisEnds();
}

void TAxisPanel::ComputeSeriesDepths() {
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active()) s->ComputeDepthRange();
}

void TAxisPanel::ApplyAxisPixelMargins(TChartAxis* axis) {
    int low = 0, high = 0;  // left/bottom and right/top
    for (TChartSeries* s : FSeriesList->Items()) {
        if (!s->Active() || !s->IsLinkedToAxis(axis)) continue;
        int a = 0, b = 0;
        if (axis->Horizontal()) {
            s->HorizontalMargins(a, b);
            if (axis->AutomaticMinimum()) low = std::max(low, a);
            if (axis->AutomaticMaximum()) high = std::max(high, b);
        } else {
            s->VerticalMargins(a, b);  // top, bottom
            if (axis->AutomaticMaximum()) high = std::max(high, a);
            if (axis->AutomaticMinimum()) low = std::max(low, b);
        }
    }
    low += axis->MinimumOffset();
    high += axis->MaximumOffset();
    if (axis->Inverted()) std::swap(low, high);
    if (low == 0 && high == 0) return;
    if (axis->Horizontal())
        axis->WidenForPixelMargins({low, 0, high, 0});
    else
        axis->WidenForPixelMargins({0, high, 0, low});
}

void TAxisPanel::DrawAxes() {
    if (!AxisVisible()) return;
    FireBeforeDrawAxes();
    const bool bottomByWalls = DepthPlaneFacesViewer(0);
    for (int i = 0; i < FAxes->Count(); ++i) {
        TChartAxis* a = (*FAxes)[i];
        if (!a->IsShown() || (a == FBottomAxis && bottomByWalls)) continue;
        a->Draw();
    }
}

void TAxisPanel::DrawSeriesMarks(TChartSeries* s) {
    if (s->PointCount() == 0 || !s->Marks().Visible()) return;
    const bool clip = s->Marks().Clip() && ClipToChartBox();
    s->DrawAllMarks();
    if (clip) Canvas()->RemoveClip();
}

void TAxisPanel::DrawOneSeries(TChartSeries* series) {
    TCanvas3D* c = Canvas();
    if (!View3D() || !series->SharesZOrder()) {
        series->ComputeVisibleRange();
        if (series->FirstVisible() < 0) return;
        series->FireBeforeDrawValues();
        const bool clip = series->UsesAxes() && ClipPoints() && ClipToChartBox();
        series->DrawVisiblePoints();
        if (clip) c->RemoveClip();
        DrawSeriesMarks(series);
        series->FireAfterDrawValues();
        return;
    }
    // A z group: its first series draws the points of all members, index
    // by index, so that nearer parts cover farther ones.
    if (!series->IsFirstOfZGroup()) return;
    const auto items = FSeriesList->Items();
    const auto self = std::find(items.begin(), items.end(), series);
    std::vector<TChartSeries*> members;
    for (auto it = self; it != items.end(); ++it)
        if ((*it)->Active() && (*it)->EffectiveZOrder() == series->EffectiveZOrder()) members.push_back(*it);
    int first = -1, last = -1;
    bool clip = false, clipTried = false;
    std::vector<TChartSeries*> drawn;
    for (TChartSeries* m : members) {
        m->ComputeVisibleRange();
        if (m->FirstVisible() < 0) continue;
        first = first < 0 ? m->FirstVisible() : std::max(first, m->FirstVisible());
        last = std::max(last, m->LastVisible());
        m->FireBeforeDrawValues();
        drawn.push_back(m);
        if (!clipTried) {
            clipTried = true;
            clip = ClipPoints() && ClipToChartBox();
        }
    }
    if (first >= 0) {
        auto drawIndex = [&](int i) {
            const bool forward = !(i < series->PointCount() && !series->GroupDrawsForward(i));
            auto visit = [&](TChartSeries* m) {
                if (m->Active() && m->EffectiveZOrder() == series->EffectiveZOrder() && m->PointCount() > i)
                    m->DrawPoint(i);
            };
            if (forward)
                for (auto it = self; it != items.end(); ++it) visit(*it);
            else
                for (auto it = items.end(); it != self;) visit(*--it);
        };
        if (series->DrawsAscending())
            for (int i = first; i <= last; ++i) drawIndex(i);
        else
            for (int i = last; i >= first; --i) drawIndex(i);
    }
    if (clip) c->RemoveClip();
    for (TChartSeries* m : drawn) {
        DrawSeriesMarks(m);
        m->FireAfterDrawValues();
    }
}

void TAxisPanel::DrawAllSeries() {
    std::vector<TChartSeries*> active;
    for (TChartSeries* s : FSeriesList->Items())
        if (s->Active()) active.push_back(s);
    if (FDepthAxis->Inverted() != DepthPlaneFacesViewer(Width3D())) std::reverse(active.begin(), active.end());
    // Solids that cover one another are written once per pixel.
    cb::gfx::TCanvas* device = Canvas()->ReferenceCanvas();
    if (device) device->BeginPolygonBatch();
    auto end = cb::rtl::OnScopeExit([device] {
        if (device) device->EndPolygonBatch();
    });
    for (TChartSeries* s : active) DrawOneSeries(s);
}

void TAxisPanel::DrawContents(const TRect& bounds) {
    const bool keep = AutoRepaint();
    SetAutoRepaint(false);
    auto restore = cb::rtl::OnScopeExit([&] { SetAutoRepaint(keep); });
    {
        TCanvas3D* c = Canvas();
        const bool full3D = c->IsFull3D();
        ComputeInvertedRotation();
        if (!full3D) DrawPanelBackground(bounds);
        NotifyTools(csStartOfPaint);
        FireBeforeDrawChart();
        for (TChartSeries* s : std::vector<TChartSeries*>(FSeriesList->Items()))
            if (s->Active()) s->PrepareForPaint();
        if (!full3D) DrawTitlesAndLegend(true);
        ComputeZOrder();
        NormalizeChartRect();
        ComputeChartArea();
        const TRect area = ChartRect();
        LayOutAxes();
        ComputeSeriesDepths();
        for (int i = 0; i < FAxes->Count(); ++i) ApplyAxisPixelMargins((*FAxes)[i]);
        c->SetProjectionCenter(Width3D(), ChartBounds(), ChartRect());
        if (full3D) {
            const TRect now = ChartRect();
            SetChartRect(area);
            DrawPanelBackground(bounds);
            DrawTitlesAndLegend(true);
            SetChartRect(now);
        }
        DrawWalls();
        if (AxisBehind()) {
            NotifyTools(csBeforeAxes);
            DrawAxes();
        }
        NotifyTools(csBeforeSeries);
        FireBeforeDrawSeries();
        DrawAllSeries();
        NotifyTools(csAfterSeries);
        if (!AxisBehind()) {
            NotifyTools(csBeforeAxes);
            DrawAxes();
        }
        DrawTitlesAndLegend(false);
        if (ZoomActive()) DrawZoomRectangle();
        NotifyTools(csEndOfPaint);
        if (!PaintingBuffer()) NotifyTools(csOverlay);
        c->RestoreDefaults();
        FireAfterDraw();
    }
}

}  // namespace cb::chart
