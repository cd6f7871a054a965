// The chart's answer to the mouse: tools first, then clicks on chart
// parts, the zoom rectangle, panning, undoing a zoom and the wheel.
#include "chart/canvas/Canvas3D.h"
#include "chart/component/CustomChart.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace cb::chart {

namespace {
// Wheel scrolling of the vertical axes is on for every chart.
bool GWheelScrolling = true;
// The wheel moves an axis by this share of its range per step.
constexpr double WheelStep = 3 * 0.01;
constexpr double AnimationDivisor = 3.0;
}  // namespace

// --- hit test ---

TChartHit TCustomChart::HitTest(int x, int y, bool onlyWithClickHandlers) {
    TChartHit hit;
    TChartLegend& legend = *FLegend;
    if (legend.Visible() && legend.CustomPosition()) {
        const int item = legend.ItemAtPoint(x, y);
        if (item != -1) return {cpLegend, item, nullptr, nullptr};
    }
    const auto items = SeriesList().Items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        TChartSeries* s = *it;
        if (!s->Active()) continue;
        if (onlyWithClickHandlers && !s->OnClick && !s->OnDblClick && !OnClickSeries) continue;
        const int point = s->PointAtPixel(x, y);
        if (point != -1) return {cpSeries, point, s, nullptr};
        if (s->Marks().Visible()) {
            const int mark = s->Marks().MarkAtPoint(x, y);
            if (mark != -1) return {cpSeriesMarks, mark, s, nullptr};
        }
    }
    for (int i = 0; i < Axes().Count(); ++i)
        if (TChartAxis* a = Axes()[i]; a->HitTest(x, y)) return {cpAxis, -1, nullptr, a};
    if (legend.Visible() && !legend.CustomPosition()) {
        const int item = legend.ItemAtPoint(x, y);
        if (item != -1) return {cpLegend, item, nullptr, nullptr};
    }
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[4] = {
        {FTitle.get(), cpTitle}, {FSubTitle.get(), cpSubTitle}, {FFoot.get(), cpFoot}, {FSubFoot.get(), cpSubFoot}};
    for (const auto& [t, kind] : titles)
        if (t->ContainsPoint(x, y)) return {kind, -1, nullptr, nullptr};
    if (RectContainsPoint(ChartRect(), x, y) && ActiveSeriesCount() > 0) hit.Kind = cpChartRect;
    return hit;
}

void TCustomChart::NotifyToolsMouse(int kind, TPlotMouseButton button, unsigned shift, int x, int y) {
    const TPlotMouseEventKind k = kind == 0 ? meDown : kind == 1 ? meMove : meUp;
    for (TPlotCustomTool* t : std::vector<TPlotCustomTool*>(Tools().Items())) {
        if (!t->Active()) continue;
        t->HandleChartMouse(k, button, shift, x, y);
        if (CancelMouse()) break;
    }
}

// --- mouse down ---

bool TCustomChart::BackgroundClick(TPlotMouseButton button, unsigned shift, int x, int y) {
    if (!OnClickBackground) return false;
    SetCancelMouse(true);
    OnClickBackground(this, button, shift, x, y);
    return CancelMouse();
}

void TCustomChart::ChartMouseDown(TPlotMouseButton button, unsigned shift, int x, int y) {
    if (CancelMouse() || Zoom().Active || Panning().Active) return;
    SetCancelMouse(false);
    NotifyToolsMouse(0, button, shift, x, y);
    if (!CancelMouse()) HandleMouseDown(button, shift, x, y);
    SetCancelMouse(false);
}

void TCustomChart::HandleMouseDown(TPlotMouseButton button, unsigned shift, int x, int y) {
    const TChartHit hit = HitTest(x, y, true);
    bool handled = false;
    // Runs a chart event with cancel-mouse set: a handler that leaves it
    // set took the click.
    auto raise = [&](auto&& call) {
        SetCancelMouse(true);
        call();
        handled = CancelMouse();
    };
    switch (hit.Kind) {
    case cpLegend:
        handled = FLegend->ClickCheckBox(x, y);
        if (OnClickLegend) raise([&] { OnClickLegend(this, button, shift, x, y); });
        break;
    case cpAxis:
        if (OnClickAxis) raise([&] { OnClickAxis(this, hit.Axis, button, shift, x, y); });
        if (!handled) handled = StartZoomOrPan(button, shift, x, y);
        break;
    case cpSeries: {
        SetCancelMouse(false);
        TChartSeries::TSeriesClick& click = (shift & ssDouble) ? hit.Series->OnDblClick : hit.Series->OnClick;
        if (click) click(hit.Series, hit.Index, button, shift, x, y);
        handled = CancelMouse();
        if (OnClickSeries) raise([&] { OnClickSeries(this, hit.Series, hit.Index, button, shift, x, y); });
        if (!handled) handled = StartZoomOrPan(button, shift, x, y);
        break;
    }
    case cpTitle:
    case cpFoot:
    case cpSubTitle:
    case cpSubFoot: {
        TChartTitle* t = hit.Kind == cpTitle      ? FTitle.get()
                         : hit.Kind == cpSubTitle ? FSubTitle.get()
                         : hit.Kind == cpFoot     ? static_cast<TChartTitle*>(FFoot.get())
                                                  : FSubFoot.get();
        if (OnClickTitle) raise([&] { OnClickTitle(this, t, button, shift, x, y); });
        if (!handled) handled = StartZoomOrPan(button, shift, x, y);
        break;
    }
    case cpChartRect:
        // The background click comes once, below, when the start of a zoom
        // or pan takes nothing.
        handled = StartZoomOrPan(button, shift, x, y);
        break;
    default:
        break;
    }
    if (!handled) BackgroundClick(button, shift, x, y);
}

bool TCustomChart::StartZoomOrPan(TPlotMouseButton button, unsigned shift, int x, int y) {
    if (!UsesAxesArea()) return false;
    bool started = false;
    TPlotZoom& zoom = Zoom();
    const TRect& r = ChartRect();
    if (zoom.Allow && button == zoom.MouseButton && (shift & zoom.KeyShift) == zoom.KeyShift) {
        if (zoom.Direction == tzdVertical) x = r.Left;
        if (zoom.Direction == tzdHorizontal) y = r.Top;
        zoom.Activate(x, y);
        if (zoom.Direction == tzdVertical) zoom.X1 = r.Right;
        if (zoom.Direction == tzdHorizontal) zoom.Y1 = r.Bottom;
        update();
        started = true;
    }
    if (AllowPanning() != pmNone && button == FSettings.ScrollMouseButton) {
        Panning().Activate(x, y);
        started = true;
    }
    if (started) setCursor(SavedCursor());
    return started;
}

// --- mouse move ---

void TCustomChart::ChartMouseMove(unsigned shift, int x, int y) {
    NotifyToolsMouse(1, mbLeft, shift, x, y);
    if (CancelMouse()) return;
    TPlotZoom& zoom = Zoom();
    const TRect& r = ChartRect();
    if (zoom.Active) {
        if (zoom.Direction == tzdVertical) x = r.Right;
        if (zoom.Direction == tzdHorizontal) y = r.Bottom;
        if (x != zoom.X1 || y != zoom.Y1) {
            zoom.X1 = x;
            zoom.Y1 = y;
            update();  // the rectangle is drawn over the buffered chart
        }
        return;
    }
    TZoomPanning& pan = Panning();
    if (pan.Active) {
        if (!RectContainsPoint(r, x, y)) {
            pan.Active = false;
            return;
        }
        if (x == pan.X1 && y == pan.Y1) return;
        if (FSavedScales.empty()) {
            SaveAxisScales();
            FScalesRestored = false;
        }
        const bool h = PanDirection(true, x, pan.X1);
        const bool v = PanDirection(false, y, pan.Y1);
        pan.X1 = x;
        pan.Y1 = y;
        if (h || v) {
            if (OnScroll) OnScroll(this);
            Invalidate();
        }
        return;
    }
    bool claimed = false;
    const auto items = SeriesList().Items();
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if ((*it)->Active()) claimed = (*it)->UpdateMouseHover(x, y) || claimed;
    if (!claimed) setCursor(SavedCursor());
}

bool TCustomChart::PanDirection(bool horizontal, int newPos, int oldPos) {
    if (newPos == oldPos) return false;
    const TPanningMode mode = AllowPanning();
    if (mode != pmBoth && mode != (horizontal ? pmHorizontal : pmVertical)) return false;
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* a = Axes()[i];
        if (!a->IsDepthAxis() && a->Horizontal() == horizontal) PanAxis(a, oldPos, newPos);
    }
    return true;
}

void TCustomChart::PanAxis(TChartAxis* axis, int oldPos, int newPos) {
    const double delta = axis->ValueAtPixel(oldPos) - axis->ValueAtPixel(newPos);
    double aMin = axis->Minimum() + delta, aMax = axis->Maximum() + delta;
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(axis, aMin, aMax, allow);
    if (allow) axis->SetManualRange(aMin, aMax);
}

bool TCustomChart::AllowAxisScroll(TChartAxis* axis, double newMinimum, double newMaximum) {
    bool allow = true;
    if (OnAllowScroll) OnAllowScroll(axis, newMinimum, newMaximum, allow);
    return allow;
}

// --- mouse up ---

void TCustomChart::ChartMouseUp(TPlotMouseButton button, unsigned shift, int x, int y) {
    TPlotZoom& zoom = Zoom();
    if (zoom.Active && button == zoom.MouseButton) {
        zoom.Active = false;
        const TRect& r = ChartRect();
        zoom.X1 = x;
        zoom.Y1 = y;
        if (zoom.Direction == tzdVertical) {
            zoom.X0 = r.Left;
            zoom.X1 = r.Right;
        } else if (zoom.Direction == tzdHorizontal) {
            zoom.Y0 = r.Top;
            zoom.Y1 = r.Bottom;
        }
        const bool wideEnough = zoom.Direction == tzdVertical || std::abs(zoom.X1 - zoom.X0) > zoom.MinimumPixels;
        const bool tallEnough = zoom.Direction == tzdHorizontal || std::abs(zoom.Y1 - zoom.Y0) > zoom.MinimumPixels;
        if (wideEnough && tallEnough) {
            if (zoom.UpLeftZooms || zoom.X1 > zoom.X0)
                ApplyZoomRect();
            else
                UndoZoom();
            Invalidate();
        } else {
            update();  // takes the rectangle away
        }
    }
    Panning().Active = false;
    NotifyToolsMouse(2, button, shift, x, y);
}

void TCustomChart::ApplyZoomRect() {
    TPlotZoom& zoom = Zoom();
    zoom.Normalize();
    ZoomAxesToValues(TopAxis().ValueAtPixel(zoom.X0), TopAxis().ValueAtPixel(zoom.X1),
                     BottomAxis().ValueAtPixel(zoom.X0), BottomAxis().ValueAtPixel(zoom.X1),
                     LeftAxis().ValueAtPixel(zoom.Y1), LeftAxis().ValueAtPixel(zoom.Y0),
                     RightAxis().ValueAtPixel(zoom.Y1), RightAxis().ValueAtPixel(zoom.Y0));
}

void TCustomChart::ZoomAxesToValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                                    double leftMax, double rightMin, double rightMax) {
    if (FSavedScales.empty()) {
        SaveAxisScales();
        FScalesRestored = false;
    }
    FWheelScrolled = false;
    struct Target {
        TChartAxis* Axis;
        double Min, Max;
    };
    const Target targets[4] = {{&LeftAxis(), leftMin, leftMax},
                               {&RightAxis(), rightMin, rightMax},
                               {&TopAxis(), topMin, topMax},
                               {&BottomAxis(), bottomMin, bottomMax}};
    if (Zoom().Animated)
        for (int step = 1; step < Zoom().AnimatedSteps; ++step) {
            for (const Target& t : targets)
                t.Axis->SetManualRange(t.Axis->Minimum() + (t.Min - t.Axis->Minimum()) / AnimationDivisor,
                                       t.Axis->Maximum() - (t.Axis->Maximum() - t.Max) / AnimationDivisor);
            Invalidate();
            repaint();
        }
    for (const Target& t : targets) t.Axis->SetManualRange(t.Min, t.Max);
    SetZoomed(true);
    if (OnZoom) OnZoom(this);
}

void TCustomChart::UndoZoom() {
    if (!FSavedScales.empty()) {
        RestoreAxisScales();
        FScalesRestored = true;
    }
    FWheelScrolled = false;
    TAxisPanel::UndoZoom();
}

void TCustomChart::SaveAxisScales() {
    FSavedScales.assign(std::size_t(Axes().Count()), {});
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* a = Axes()[i];
        if (a->IsDepthAxis()) continue;
        FSavedScales[std::size_t(i)] = {a->Automatic(), a->AutomaticMinimum(), a->AutomaticMaximum(), a->Minimum(),
                                        a->Maximum()};
    }
}

void TCustomChart::RestoreAxisScales() {
    const int n = std::min(Axes().Count(), int(FSavedScales.size()));
    for (int i = 0; i < n; ++i) {
        TChartAxis* a = Axes()[i];
        if (a->IsDepthAxis()) continue;
        const TAxisSavedScales& s = FSavedScales[std::size_t(i)];
        a->SetAutomatic(s.Automatic);
        a->SetAutomaticMinimum(s.AutomaticMinimum);
        a->SetAutomaticMaximum(s.AutomaticMaximum);
        a->RestoreRange(s.Minimum, s.Maximum);
    }
    FSavedScales.clear();
}

// --- wheel ---

void TCustomChart::ScrollVerticalAxes(bool down) {
    if (!GWheelScrolling) return;
    // The scales before the first turn are kept, so that an undo and new
    // data bring the automatic ranges back.
    if (FSavedScales.empty()) {
        SaveAxisScales();
        FScalesRestored = false;
        FWheelScrolled = true;
    }
    for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* a = Axes()[i];
        if (a->Horizontal()) continue;
        const double step = (a->Maximum() - a->Minimum()) * WheelStep;
        a->ScrollRange(down ? step : -step, false);
    }
    Invalidate();
}

// --- toolkit events ---

void TCustomChart::mousePressEvent(QMouseEvent* e) {
    NotifyMouseDown(e, 0);
    const QPoint p = e->position().toPoint();
    try {
        ChartMouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    } catch (const std::exception& ex) {
        ShowEngineError(ex.what());
    }
}

void TCustomChart::mouseDoubleClickEvent(QMouseEvent* e) {
    SetCancelMouse(false);
    if (OnDblClick) OnDblClick();
    if (CancelMouse()) return;
    NotifyMouseDown(e, ssDouble);
    const QPoint p = e->position().toPoint();
    try {
        ChartMouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()) | ssDouble, p.x(), p.y());
    } catch (const std::exception& ex) {
        ShowEngineError(ex.what());
    }
}

void TCustomChart::mouseMoveEvent(QMouseEvent* e) {
    TAxisPanel::mouseMoveEvent(e);
    const QPoint p = e->position().toPoint();
    try {
        ChartMouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    } catch (const std::exception& ex) {
        ShowEngineError(ex.what());
    }
}

void TCustomChart::mouseReleaseEvent(QMouseEvent* e) {
    SetCancelMouse(false);
    TAxisPanel::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    try {
        ChartMouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y());
    } catch (const std::exception& ex) {
        ShowEngineError(ex.what());
    }
}

void TCustomChart::wheelEvent(QWheelEvent* e) {
    TAxisPanel::wheelEvent(e);
    const int dy = e->angleDelta().y();
    if (dy == 0) return;
    try {
        ScrollVerticalAxes(dy < 0);
    } catch (const std::exception& ex) {
        ShowEngineError(ex.what());
    }
    e->accept();
}

}  // namespace cb::chart
