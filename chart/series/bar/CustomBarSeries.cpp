#include "chart/series/bar/CustomBarSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>
#include <vector>

namespace cb::chart {

// --- gradient ---

TBarSeriesGradient::TBarSeriesGradient(TChangeEvent onChange) : TCustomPlotGradient(std::move(onChange)) {
    auto keep = std::move(OnChange);
    SetVisible(true);
    OnChange = std::move(keep);
}

void TBarSeriesGradient::SetRelative(bool on) {
    if (FRelative != on) {
        FRelative = on;
        Changed();
    }
}

void TBarSeriesGradient::Assign(const TCustomPlotGradient& source) {
    if (auto* g = dynamic_cast<const TBarSeriesGradient*>(&source)) FRelative = g->FRelative;
    TCustomPlotGradient::Assign(source);
}

// --- construction and settings ---

TCustomBarSeries::TCustomBarSeries()
    : FGradient(std::make_unique<TBarSeriesGradient>([this] { InvalidateChart(); })),
      FTickLines(std::make_unique<TChartHiddenPen>([this] { InvalidateChart(); })) {
    Marks().SetVisible(true);
    Marks().Callout().SetLength(20);
}

TCustomBarSeries::~TCustomBarSeries() = default;

bool TCustomBarSeries::sameClass(const TChartSeries* other) const {
    return other && typeid(*other) == typeid(*this) &&
           static_cast<const TCustomBarSeries*>(other)->vertical() == vertical();
}

int TCustomBarSeries::indexInChart() const {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return 0;
    const auto& items = c->SeriesList().Items();
    return int(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCustomBarSeries::shareLayout() {
    TCustomAxisPanel* c = ParentChart();
    std::vector<TChartSeries*> all = c ? c->SeriesList().Items() : std::vector<TChartSeries*>{this};
    for (TChartSeries* s : all) {
        if (!sameClass(s)) continue;
        auto* b = static_cast<TCustomBarSeries*>(s);
        b->FSettings.MultiBar = FSettings.MultiBar;
        b->FSettings.SideMargins = FSettings.SideMargins;
        b->FCalcVisiblePoints = FSettings.MultiBar != mbSelfStack;
    }
}

void TCustomBarSeries::SetMultiBar(TMultiBar m) {
    if (FSettings.MultiBar == m) return;
    FSettings.MultiBar = m;
    shareLayout();
    InvalidateChart();
}

void TCustomBarSeries::SetSideMargins(bool on) {
    StoreBooleanAndRepaint(FSettings.SideMargins, on);
    shareLayout();
}

void TCustomBarSeries::SetParentChart(TCustomAxisPanel* chart) {
    TChartSeries::SetParentChart(chart);
    if (!ParentChart()) return;
    for (TChartSeries* s : ParentChart()->SeriesList().Items())
        if (sameClass(s)) {
            auto* first = static_cast<TCustomBarSeries*>(s);
            FSettings.MultiBar = first->FSettings.MultiBar;
            FSettings.SideMargins = first->FSettings.SideMargins;
            FCalcVisiblePoints = FSettings.MultiBar != mbSelfStack;
            break;
        }
}

void TCustomBarSeries::AssignSeries(const TChartSeries& source) {
    if (auto* bar = dynamic_cast<const TCustomBarSeries*>(&source))
        Assign(*bar);
    else
        TChartSeries::Assign(source);
}

void TCustomBarSeries::Assign(const TCustomBarSeries& s) {
    FSettings = s.FSettings;
    FGradient->Assign(*s.FGradient);
    FTickLines->Assign(*s.FTickLines);
    TChartSeries::Assign(s);
}

// --- layout pass ---

void TCustomBarSeries::PrepareForPaint() {
    TChartSeries::PrepareForPaint();
    FOrderPos = 1;
    FPreviousCount = 0;
    FNumBars = 0;
    FMaxBarPoints = -1;
    std::vector<int> groups;
    bool passed = false;
    TCustomAxisPanel* c = ParentChart();
    if (!c) return;
    for (TChartSeries* s : c->SeriesList().Items()) {
        if (!s->Active() || !sameClass(s)) continue;
        if (s == this) passed = true;
        const int n = s->PointCount();
        if (FMaxBarPoints == -1 || FMaxBarPoints < n) FMaxBarPoints = n + (FSettings.SideMargins ? 1 : 0);
        switch (FSettings.MultiBar) {
        case mbNone:
        case mbSelfStack:
            FNumBars = 1;
            break;
        case mbSide:
        case mbSideAll:
            ++FNumBars;
            if (!passed) ++FOrderPos;
            break;
        case mbStacked:
        case mbStacked100: {
            const int g = static_cast<TCustomBarSeries*>(s)->FSettings.StackGroup;
            if (std::find(groups.begin(), groups.end(), g) == groups.end()) {
                groups.push_back(g);
                ++FNumBars;
                if (!passed) ++FOrderPos;
            }
            break;
        }
        }
        if (!passed) FPreviousCount += n;
    }
    if (auto it = std::find(groups.begin(), groups.end(), FSettings.StackGroup); it != groups.end())
        FOrderPos = int(it - groups.begin()) + 1;
    if (c->MaxPointsPerPage() > 0) FMaxBarPoints = c->MaxPointsPerPage();
}

void TCustomBarSeries::ComputeBarSize() {
    TChartAxis* axis = positionAxis();
    if (FSettings.CustomBarSize != 0)
        FBarSize = FSettings.CustomBarSize;
    else if (FMaxBarPoints <= 0 || !axis)
        FBarSize = 0;
    else {
        int slot;
        if (FSettings.AutoBarSize)
            slot = Round(axis->PixelSize() / (axis->WorkingMaximum() - axis->WorkingMinimum() + 2));
        else
            slot = axis->PixelSize() / FMaxBarPoints;
        FBarSize = Round(FSettings.BarWidthPercent * 0.01 * slot) / std::max(1, FNumBars);
        if (FBarSize % 2 == 1) ++FBarSize;
    }
}

void TCustomBarSeries::positionMargins(int& low, int& high) {
    ComputeBarSize();
    int m = FSettings.MultiBar == mbSideAll ? FBarSize : FBarSize * std::max(1, FNumBars);
    if (!FSettings.SideMargins) m /= 2;
    low += m;
    high += m;
}

int TCustomBarSeries::markRoom() {
    if (PointCount() == 0 || !Marks().Visible() || !ParentChart() || !ParentChart()->Canvas()) return 0;
    ParentChart()->Canvas()->AssignFont(Marks().Font());
    int room = MarkExtent(vertical() ? 0 : -1) + Marks().Callout().Length();
    if (Marks().Frame().Visible()) room += 2 * Marks().Frame().Width();
    return room > 0 ? room + 1 : 0;
}

// --- stacking ---

double TCustomBarSeries::StackBase(int index, bool all) {
    switch (FSettings.MultiBar) {
    case mbStacked:
    case mbStacked100: {
        double sum = 0;
        TCustomAxisPanel* c = ParentChart();
        if (!c) return 0;
        const bool positive = MandatoryValue(index) >= 0;
        for (TChartSeries* s : c->SeriesList().Items()) {
            if (!all && s == this) break;
            if (!s->Active() || !sameClass(s) || s->PointCount() <= index) continue;
            if (static_cast<TCustomBarSeries*>(s)->FSettings.StackGroup != FSettings.StackGroup) continue;
            const double v = s->StackValue(index);
            if (positive ? v > 0 : v < 0) sum += v;
        }
        return sum;
    }
    case mbSelfStack: {
        // Positive and negative points pile up apart from the origin.
        double sum = 0;
        const bool positive = MandatoryValue(index) >= 0;
        for (int i = 0; i < index; ++i) {
            const double v = MandatoryValue(i);
            if (positive ? v > 0 : v < 0) sum += v;
        }
        return sum;
    }
    default:
        return FSettings.YOrigin;
    }
}

int TCustomBarSeries::BarStart(int index) {
    int p;
    switch (FSettings.MultiBar) {
    case mbSideAll:
        p = positionPixel(index + FPreviousCount) - FBarSize / 2;
        break;
    case mbSelfStack:
        p = positionPixel(indexInChart()) - FBarSize / 2;
        break;
    case mbNone:
        p = basePosition(index) - FBarSize / 2;
        break;
    default:
        p = basePosition(index) + Round((FOrderPos - FNumBars * 0.5 - 1) * FBarSize);
        break;
    }
    if (FSettings.OffsetPercent != 0) p += Round(FSettings.OffsetPercent * FBarSize * 0.01);
    return p;
}

int TCustomBarSeries::ValueEnd(int index) {
    const double v = MandatoryValue(index);
    switch (FSettings.MultiBar) {
    case mbStacked:
    case mbSelfStack:
        return MandatoryToPixel(StackBase(index, false) + v);
    case mbStacked100: {
        const double t = StackBase(index, true);
        return MandatoryToPixel(t == 0 ? 0 : (StackBase(index, false) + v) * 100 / t);
    }
    default:
        return MandatoryToPixel(v);
    }
}

int TCustomBarSeries::OriginEnd(int index) {
    const double b = StackBase(index, false);
    switch (FSettings.MultiBar) {
    case mbStacked:
    case mbSelfStack:
        return MandatoryToPixel(b);
    case mbStacked100: {
        const double t = StackBase(index, true);
        return MandatoryToPixel(t == 0 ? 0 : b * 100 / t);
    }
    default:
        if (FSettings.UseYOrigin) return MandatoryToPixel(b);
        if (TChartAxis* a = valueAxis()) return vertical() ? a->EndPixel() : a->StartPixel();
        return 0;
    }
}

double TCustomBarSeries::valueHighest(double e) {
    double r = e;
    switch (FSettings.MultiBar) {
    case mbStacked100:
        return 100;
    case mbStacked:
    case mbSelfStack:
        // The largest running sum, whatever the signs.
        for (int i = 0; i < PointCount(); ++i) r = std::max(r, StackBase(i, false) + MandatoryValue(i));
        break;
    default:
        break;
    }
    if (FSettings.UseYOrigin && r < FSettings.YOrigin) r = FSettings.YOrigin;
    return r;
}

double TCustomBarSeries::valueLowest(double e) {
    double r = e;
    switch (FSettings.MultiBar) {
    case mbStacked100:
        return 0;
    case mbStacked:
    case mbSelfStack:
        for (int i = 0; i < PointCount(); ++i) r = std::min(r, StackBase(i, false) + MandatoryValue(i));
        break;
    default:
        break;
    }
    if (FSettings.UseYOrigin && r > FSettings.YOrigin) r = FSettings.YOrigin;
    return r;
}

double TCustomBarSeries::positionHighest(double e) {
    if (FSettings.MultiBar == mbSideAll) return PointCount() + FPreviousCount - 1;
    if (FSettings.MultiBar == mbSelfStack) return indexInChart();
    return e;
}

double TCustomBarSeries::positionLowest(double e) {
    if (FSettings.MultiBar == mbSelfStack) return indexInChart();
    return e;
}

// --- depth ---

void TCustomBarSeries::AssignZOrder() {
    TCustomAxisPanel* c = ParentChart();
    if (FSettings.MultiBar != mbNone && c)
        for (TChartSeries* s : c->SeriesList().Items()) {
            if (s == this) break;
            if (s->Active() && sameClass(s)) {
                SetAutoZOrder(s->EffectiveZOrder());
                return;
            }
        }
    TChartSeries::AssignZOrder();
}

void TCustomBarSeries::ComputeDepthRange() {
    TChartSeries::ComputeDepthRange();
    if (FSettings.DepthPercent != 0) {
        const int k = Round((100 - FSettings.DepthPercent) * (EndZ() - StartZ()) * 0.005);
        SetDepthRange(StartZ() + k, EndZ() - k);
    }
}

// --- drawing helpers ---

TBarStyle TCustomBarSeries::StyleOfPoint(int index) {
    TBarStyle style = FSettings.BarStyle;
    if (OnGetBarStyle) OnGetBarStyle(this, index, style);
    return style;
}

void TCustomBarSeries::prepareBar() {
    TCustomAxisPanel* c = ParentChart();
    TCanvas3D& canvas = *c->Canvas();
    canvas.SelectPen(BarPen());
    const TColor back = BarBrush().Color() == clDefault ? c->Color() : BarBrush().Color();
    c->SelectBrushOverBackground(FBarColor, BarBrush(), back);
}

std::unique_ptr<TPlotBlend> TCustomBarSeries::beginBarTransparency(const TRect& r) {
    if (FSettings.Transparency <= 0) return nullptr;
    TCustomAxisPanel* c = ParentChart();
    TCanvas3D& canvas = *c->Canvas();
    TRect bounds = NormalizeRect(r);
    if (c->View3D()) {
        const TRect a = NormalizeRect(canvas.ProjectRect(r, StartZ()));
        const TRect b = NormalizeRect(canvas.ProjectRect(r, EndZ()));
        bounds = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom)};
    }
    return canvas.BeginTransparency(bounds, FSettings.Transparency);
}

void TCustomBarSeries::drawBarRectangle(int left, int top, int right, int bottom) {
    TCanvas3D& c = *ParentChart()->Canvas();
    const bool solid = c.Brush().Style() == cb::gfx::bsSolid;
    auto penInBrushColour = [&] {
        c.Pen().SetColor(c.Brush().Color());
        if (c.Pen().Style() == cb::gfx::psClear) c.Pen().SetStyle(cb::gfx::psSolid);
    };
    if (solid && (left == right || top == bottom)) {
        penInBrushColour();
        c.DrawLine(left, top, right, bottom);
    } else if (solid && (c.Pen().Style() != cb::gfx::psClear &&
                         (c.Pen().Width() > std::abs(right - left) || c.Pen().Width() > std::abs(bottom - top)))) {
        penInBrushColour();
        c.Brush().SetStyle(cb::gfx::bsClear);
    }
    c.DrawRect(left, top, right, bottom);
}

TColor TCustomBarSeries::gradientEndColor(int index) {
    if (!FGradient->Relative()) return FBarColor;
    const double o = FSettings.UseYOrigin ? FSettings.YOrigin : MandatoryList().Lowest();
    const double span = MandatoryList().Highest() - o;
    // A flat series has no range to scale by: the start colour.
    if (span == 0) return FGradient->StartColor();
    const double r = (MandatoryValue(index) - o) / span;
    const TColor bar = ColorToRGB(FBarColor), start = ColorToRGB(FGradient->StartColor());
    auto channel = [r](int b, int s) { return std::clamp(s + Round((b - s) * r), 0, 255); };
    return RGBColor(channel(GetRValue(bar), GetRValue(start)), channel(GetGValue(bar), GetGValue(start)),
                    channel(GetBValue(bar), GetBValue(start)));
}

void TCustomBarSeries::drawGradient(int index, const TRect& r) {
    TCustomAxisPanel* c = ParentChart();
    TCanvas3D& canvas = *c->Canvas();
    FGradient->OnChange = nullptr;
    FGradient->SetEndColor(gradientEndColor(index));
    FGradient->OnChange = [this] { InvalidateChart(); };
    const int w = BarPen().Visible() ? BarPen().Width() : 0;
    if (c->View3D() && !canvas.IsOrthogonal()) {
        TPoint p[4];
        canvas.ProjectRectCorners(r, StartZ(), p);
        if (w > 0) {
            p[0].X += w, p[0].Y += w;
            p[1].X -= w, p[1].Y += w;
            p[2].X -= w, p[2].Y -= w;
            p[3].X += w, p[3].Y -= w;
        }
        PaintGradientQuad(static_cast<TPlotCanvas&>(canvas), *FGradient, p);
        return;
    }
    TRect g = r;
    if (w > 0) {
        g.Left += 1;
        g.Top += 1;
        g.Right -= c->View3D() ? w - 1 : w;
        g.Bottom -= c->View3D() ? w - 1 : w;
    }
    if (c->View3D()) g = canvas.ProjectRect(g, StartZ());
    PaintGradient(canvas, *FGradient, NormalizeRect(g));
}

void TCustomBarSeries::drawBevel(const TRect& r) {
    TCustomAxisPanel* c = ParentChart();
    TCanvas3D& canvas = *c->Canvas();
    if (c->View3D() && !canvas.IsOrthogonal()) return;
    TRect b = NormalizeRect(r);
    if (BarPen().Visible()) {
        const int w = BarPen().Width();
        b = {b.Left + w, b.Top + w, b.Right - w, b.Bottom - w};
        if (c->View3D()) {
            b.Right += 1;
            b.Bottom += 1;
        }
    }
    if (c->View3D()) b = NormalizeRect(canvas.ProjectRect(b, StartZ()));
    canvas.DrawBevelFrame(b, LightenColor(FBarColor, 128), DarkenColor(FBarColor, 64), FSettings.BevelSize);
}

void TCustomBarSeries::drawTickLines(int low, int high, TBarStyle style) {
    TChartAxis* axis = valueAxis();
    if (!FTickLines->Visible() || !axis) return;
    ParentChart()->Canvas()->SelectPen(*FTickLines);
    for (int d : axis->TickPositions())
        if (low < d && d < high) DrawTickLine(d, style);
}

// --- hit test ---

int TCustomBarSeries::PointAtPixel(int x, int y) {
    if (FirstVisible() < 0 || LastVisible() < 0) return -1;
    const int last = std::min(LastVisible(), PointCount() - 1);
    for (int i = FirstVisible(); i <= last; ++i)
        if (BarContainsPoint(i, {x, y})) return i;
    return -1;
}

// --- gallery ---

void TCustomBarSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TChartSeries::ListSubGalleryStyles(add);
    for (const char* name : {"Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient"}) add(name);
    if (OffersStackStyles())
        for (const char* name : {"Stack", "Stack 100%", "Self Stacked"}) add(name);
    add("Sides");
    add("Side All");
}

void TCustomBarSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* bar = dynamic_cast<TCustomBarSeries*>(series);
    if (!bar) return TChartSeries::ApplySubGalleryStyle(series, style);
    switch (style) {
    case 1:
        bar->SetColorEachPoint(true);
        return;
    case 2:
        bar->SetBarStyle(bsPyramid);
        return;
    case 3:
        bar->SetBarStyle(bsEllipse);
        return;
    case 4:
        bar->SetBarStyle(bsInvPyramid);
        return;
    case 5:
        bar->SetBarStyle(bsRectGradient);
        return;
    default:
        break;
    }
    const int index = style + (OffersStackStyles() ? 0 : 3);
    static const TMultiBar modes[] = {mbStacked, mbStacked100, mbSelfStack, mbSide, mbSideAll};
    if (index >= 6 && index <= 10)
        bar->SetMultiBar(modes[index - 6]);
    else
        TChartSeries::ApplySubGalleryStyle(series, style);
}

}  // namespace cb::chart
