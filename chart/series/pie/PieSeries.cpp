#include "chart/series/pie/PieSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/StylePaint.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace cb::chart {

constexpr double pi = std::numbers::pi;

// --- other slice ---

void TPieOtherSlice::changed() {
    if (FOwner) FOwner->InvalidateChart();
}

std::string TPieOtherSlice::Text() const {
    return FSettings.Text.empty() ? PlotText(TPlotText::txtOther) : FSettings.Text;
}

TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::SetLegend(std::unique_ptr<TPieOtherLegend> legend) {
    FLegend = std::move(legend);
    changed();
}

void TPieOtherSlice::Assign(const TPieOtherSlice& s) {
    FSettings = s.FSettings;
    if (s.FLegend && FOwner)
        FLegend = s.FLegend->Clone(*FOwner);
    else
        FLegend.reset();
}

// --- pie ---

TPieSeries::TPieSeries()
    : FExploded([this] { InvalidateChart(); }), FOtherSlice(this),
      FShadow(std::make_unique<TPlotShadow>([this] { InvalidateChart(); })), FHeights([this] { InvalidateChart(); }) {
    FShadow->SetDefaultColor(0xA0A0A0);
    FShadow->OnChange = nullptr;
    FShadow->SetColor(0xA0A0A0);
    FShadow->OnChange = [this] { InvalidateChart(); };
    XValues().SetName("");
    YValues().SetName("Pie");
    Marks().SetVisible(true);
    Marks().Callout().SetLength(8);
    SetColorEachPoint(true);
    FUseSeriesColor = false;
    FUseOtherList = false;
    auto keep = std::move(Gradient().OnChange);
    Gradient().SetStartColor(clWhite);
    Gradient().SetDirection(gdRadial);
    Gradient().OnChange = std::move(keep);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetParentChart(TCustomAxisPanel* chart) {
    TCircledSeries::SetParentChart(chart);
    if (TPieOtherLegend* legend = FOtherSlice.Legend()) legend->SetChart(chart);
}

void TPieSeries::ApplyPreferredView3D() {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return;
    TView3DOptions& v = c->View3DOptions();
    v.SetOrthogonal(false);
    v.SetRotation(360);
    v.SetElevation(315);
    v.SetPerspective(0);
    v.SetTilt(0);
}

void TPieSeries::ApplyGallery3D(bool on) {
    TChartSeries::ApplyGallery3D(on);
    if (TCustomAxisPanel* c = ParentChart()) {
        TView3DOptions& v = c->View3DOptions();
        v.SetOrthogonal(false);
        v.SetRotation(0);
        v.SetElevation(305);
        SetCircled(!c->View3D());
    }
}

void TPieSeries::SetExplodeBiggest(int percent) {
    StoreIntegerAndRepaint(FExplodeBiggest, percent);
    ExplodeBiggestSlice();
}

void TPieSeries::ExplodeBiggestSlice() {
    if (PointCount() == 0) return;
    TCustomAxisPanel* c = ParentChart();
    int biggest = -1;
    if (!c || c->MaxPointsPerPage() <= 0)
        biggest = YValues().FindValue(YValues().Highest());
    else if (FirstVisible() >= 0) {
        for (int i = FirstVisible(); i <= LastVisible(); ++i)
            if (biggest < 0 || YValues().Value(i) > YValues().Value(biggest)) biggest = i;
    }
    if (biggest >= 0) FExploded.SetValue(biggest, FExplodeBiggest);
}

// --- points ---

void TPieSeries::RemoveOtherPoint() {
    for (int i = 0; i < PointCount(); ++i)
        if (IsOtherPoint(i)) {
            TChartSeries::DeletePoint(i);
            return;
        }
}

void TPieSeries::PrepareForPaint() {
    TCircledSeries::PrepareForPaint();
    if (YValues().Order() != loNone) YValues().SortByOrder();
    RemoveOtherPoint();
    XValues().FillWithIndexes();
    if (FOtherSlice.Style() == poNone) return;
    const double total = YValues().SumOfMagnitudes();
    if (!(total > 0)) return;
    double grouped = 0;
    bool any = false;
    for (int i = 0; i < PointCount(); ++i) {
        double v = std::fabs(YValues().Value(i));
        if (FOtherSlice.Style() == poBelowPercent) v = v * 100 / total;
        if (v < FOtherSlice.Value()) {
            grouped += std::fabs(YValues().Value(i));
            XValues().SetValue(i, GroupedX);
            any = true;
        }
    }
    if (!any) return;
    HoldUpdates();
    AddPoint(OtherX, grouped, FOtherSlice.Text(), FOtherSlice.Color());
    ReleaseUpdates();
    YValues().OverrideSumOfMagnitudes(YValues().SumOfMagnitudes() - grouped);
}

void TPieSeries::ComputeVisibleRange() {
    TChartSeries::ComputeVisibleRange();
    if (FOtherSlice.Style() != poNone) return;
    const auto [first, last] = PageRange();
    if (first >= 0) SetVisibleRange(first, last);
}

void TPieSeries::AssignZOrder() {
    TChartSeries::AssignZOrder();
    SetZPosition(0);
}

void TPieSeries::ClearStorage() {
    TChartSeries::ClearStorage();
    FExploded.Clear();
    FHeights.Clear();
}

void TPieSeries::DeletePoint(int index) {
    TChartSeries::DeletePoint(index);
    FExploded.RemoveAt(index);
    FHeights.RemoveAt(index);
}

void TPieSeries::SwapPoints(int i, int j) {
    TChartSeries::SwapPoints(i, j);
    for (TSliceValueList* l : {&FExploded, &FHeights})
        if (!l->Empty()) {
            l->PadTo(PointCount());
            l->Exchange(i, j);
        }
}

void TPieSeries::SortByMandatoryOrder() {
    XValues().SetOrder(loAscending);
    InvalidateChart();
}

// A pie never widens the axes.
double TPieSeries::HighestX() {
    TChartAxis* a = GetHorizAxis();
    return a ? a->Maximum() : 0;
}
double TPieSeries::LowestX() {
    TChartAxis* a = GetHorizAxis();
    return a ? a->Minimum() : 0;
}
double TPieSeries::HighestY() {
    TChartAxis* a = GetVertAxis();
    return a ? a->Maximum() : 0;
}
double TPieSeries::LowestY() {
    TChartAxis* a = GetVertAxis();
    return a ? a->Minimum() : 0;
}

int TPieSeries::ScreenX(int index) {
    return IsOtherPoint(index) ? 0 : TChartSeries::ScreenX(index);
}

// --- multi-pie ---

int TPieSeries::ActivePieCount() {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return 0;
    int n = 0;
    for (TChartSeries* s : c->SeriesList().Items()) {
        auto* p = dynamic_cast<TPieSeries*>(s);
        if (p && p->Active() && (p->HasInstance(this) || HasInstance(p))) ++n;
    }
    return n;
}

void TPieSeries::MultiPieRect() {
    TCustomAxisPanel* c = ParentChart();
    const int n = ActivePieCount();
    if (!c || n < 2) return;
    int k = 0;
    for (TChartSeries* s : c->SeriesList().Items()) {
        if (s == this) break;
        auto* p = dynamic_cast<TPieSeries*>(s);
        if (p && p->Active() && (p->HasInstance(this) || HasInstance(p))) ++k;
    }
    const int cols = Round(std::sqrt(double(n)));
    const int rows = Round(std::sqrt(double(n)) + 0.5);
    const TRect r = c->ChartRect();
    const int w = (r.Right - r.Left) / cols, h = (r.Bottom - r.Top) / rows;
    TRect cell;
    cell.Left = r.Left + (k % cols) * w;
    cell.Right = cell.Left + w;
    cell.Top = r.Top + (k / cols) * h;
    cell.Bottom = cell.Top + h;
    if (c->Canvas()) cell = c->Canvas()->ProjectRect(cell, 0);
    c->SetChartRect(cell);
}

void TPieSeries::FireBeforeDrawValues() {
    TCustomAxisPanel* c = ParentChart();
    if (c) {
        FSavedChartRect = c->ChartRect();
        FChartRectSaved = true;
        if (FMultiPie == mpAutomatic) MultiPieRect();
    }
    TCircledSeries::FireBeforeDrawValues();
}

void TPieSeries::FireAfterDrawValues() {
    if (FChartRectSaved) {
        if (TCustomAxisPanel* c = ParentChart()) c->SetChartRect(FSavedChartRect);
        FChartRectSaved = false;
    }
    TCircledSeries::FireAfterDrawValues();
}

// --- angles ---

void TPieSeries::CalcAngles() {
    const int first = FirstVisible(), last = LastVisible();
    double total = 0;
    if (FOtherSlice.Style() != poNone || first < 0)
        total = YValues().SumOfMagnitudes();
    else
        for (int i = first; i <= last; ++i) total += std::fabs(YValues().Value(i));
    FTotal = total;
    FAngles.resize(std::size_t(PointCount()));
    if (first < 0) return;
    const double F = FAngleSize * pi / 180;
    double s = 0;
    for (int j = first; j <= last; ++j) {
        TPieAngle& a = FAngles[std::size_t(j)];
        a.Start = j == first ? 0 : FAngles[std::size_t(j - 1)].End;
        if (total == 0)
            a.End = a.Start;  // nothing to share out: no slice has width
        else {
            if (!IsGrouped(j)) s += std::fabs(YValues().Value(j));
            a.End = s == total ? F : s * (F / total);
            if (a.End - a.Start > F) a.End = a.Start + F;
        }
        a.Mid = (a.Start + a.End) / 2;
    }
}

double TPieSeries::sliceKey(int i) const {
    const double F = FAngleSize * pi / 180;
    double a = FAngles[std::size_t(i)].Mid + Rotation();
    if (a > F) a -= F;
    const double q = F / 4;
    if (a <= q) return q - a;
    const double r = a - q;
    return r <= pi ? r : F - r;
}

void TPieSeries::ExplodeOffset(int index, int& dx, int& dy) {
    dx = dy = 0;
    const int e = FExploded.GetValue(index);
    if (!FDrawSides || FExploded.Empty() || e <= 0 || index >= int(FAngles.size())) return;
    TCustomAxisPanel* c = ParentChart();
    double a = FAngles[std::size_t(index)].Mid;
    if (c && c->Canvas() && c->Canvas()->IsFull3D()) a += FAngleSize * pi / 45 + pi;
    a += Rotation();
    dx = Round(std::cos(a) * XRadius() * e * 0.01);
    dy = Round(std::sin(a) * YRadius() * e * 0.01);
}

void TPieSeries::ExplodedRadii(int index, int& rx, int& ry) {
    const double f = 1 + FExploded.GetValue(index) * 0.01;
    rx = Round(XRadius() * f);
    ry = Round(f * YRadius());
}

int TPieSeries::SliceTopZ(int index) {
    if (index >= FHeights.Count()) return EndZ();
    return StartZ() + Round(FHeights.GetValue(index) * (EndZ() - StartZ()) * 0.01);
}

// --- drawing ---

void TPieSeries::DrawVisiblePoints() {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    TCanvas3D& canvas = *c->Canvas();
    if (FExplodeBiggest > 0) ExplodeBiggestSlice();
    int biggest = -1;
    for (int i = FirstVisible(); i >= 0 && i <= LastVisible(); ++i) {
        const int e = FExploded.GetValue(i);
        if (e > 0 && (biggest < 0 || e > FExploded.GetValue(biggest))) biggest = i;
    }
    CalcAngles();
    if (FTotal == 0) return;  // an all-zero pie has no slices
    FDrawSides = biggest >= 0 || !FHeights.Empty();
    if (biggest >= 0) {
        int dx, dy;
        ExplodeOffset(biggest, dx, dy);
        TRect r = CircleRect();
        r.Left += std::abs(dx) / 2;
        r.Right -= std::abs(dx) / 2;
        r.Top += std::abs(dy) / 2;
        r.Bottom -= std::abs(dy) / 2;
        SetCircleRect(r);
        NormalizeCircleRect();
        ApplyRadii();
    }
    FStartPoint = AngleToPos(0, XRadius(), YRadius());
    PaintShadowEllipse(canvas, *FShadow, CircleRect(), EndZ() - 10);
    if (c->View3D() && !canvas.IsFull3D() && (FDrawSides || FDonutPercent > 0)) {
        std::vector<int> order;
        for (int i = FirstVisible(); i <= LastVisible(); ++i) order.push_back(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return sliceKey(a) < sliceKey(b); });
        const bool closeEnds = !FDrawSides && FDonutPercent > 0 && FAngleSize != 360;
        for (int i : order) {
            const bool end = closeEnds && (i == FirstVisible() || i == LastVisible());
            if (end) FDrawSides = true;
            DrawPoint(i);
            if (end) FDrawSides = false;
        }
    } else {
        TChartSeries::DrawVisiblePoints();
    }
    PaintOtherLegend();
}

void TPieSeries::PaintOtherLegend() {
    TPieOtherLegend* legend = FOtherSlice.Legend();
    if (!legend || !legend->Visible()) return;
    // While it paints, the legend items are the grouped points.
    FOtherLegendInUse = true;
    auto back = cb::rtl::OnScopeExit([this] { FOtherLegendInUse = false; });
    legend->Paint();
}

TBrushStyle TPieSeries::SliceBrushStyle(int index) {
    TCustomAxisPanel* c = ParentChart();
    if (FUsePatterns || (c && c->Monochrome())) {
        static constexpr TBrushStyle patterns[6] = {cb::gfx::bsHorizontal, cb::gfx::bsVertical, cb::gfx::bsFDiagonal,
                                                    cb::gfx::bsBDiagonal,  cb::gfx::bsCross,    cb::gfx::bsDiagCross};
        return patterns[index % 6];
    }
    return cb::gfx::bsSolid;
}

void TPieSeries::SelectSlicePen(int index) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    if (FDarkPen > 0)
        c->Canvas()->SelectPenWithColor(PiePen(), DarkenColor(PointColor(index), 255 - FDarkPen));
    else
        c->Canvas()->SelectPen(PiePen());
    if (!PiePen().Visible()) c->Canvas()->Pen().SetStyle(cb::gfx::psClear);
}

void TPieSeries::DrawPoint(int index) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas() || index >= int(FAngles.size())) return;
    if (CircleWidth() < 5 || CircleHeight() < 5 || IsGrouped(index)) return;
    TCanvas3D& canvas = *c->Canvas();
    WithoutChangeEvent(Brush(), [&] { Brush().SetStyle(SliceBrushStyle(index)); });
    const TColor colour = c->Monochrome() ? clBlack : PointColor(index);
    if (colour == clNone)
        canvas.Brush().SetStyle(cb::gfx::bsClear);
    else {
        c->SelectBrushOverBackground(colour, Brush(), EffectiveBackColor());
        if (Gradient().Visible()) {
            auto keep = std::move(Gradient().OnChange);
            Gradient().SetEndColor(colour);
            Gradient().OnChange = std::move(keep);
        }
    }
    SelectSlicePen(index);
    DrawSlice(index);
}

void TPieSeries::DrawSlice(int index) {
    TCustomAxisPanel* c = ParentChart();
    TCanvas3D& canvas = *c->Canvas();
    const TPieAngle& a = FAngles[std::size_t(index)];
    int dx, dy;
    ExplodeOffset(index, dx, dy);
    const int xc = CircleXCenter(), yc = CircleYCenter();
    if (c->View3D()) {
        if (a.End == a.Start && PointCount() > 1) return;
        canvas.DrawPieSlice3D(xc + dx, yc - dy, XRadius(), YRadius(), StartZ(), SliceTopZ(index), a.Start + Rotation(),
                              a.End + Rotation(), FDark3D, FDrawSides, FDonutPercent,
                              Gradient().Visible() ? &Gradient() : nullptr);
    } else if (FDonutPercent > 0) {
        if (a.End == a.Start) return;
        canvas.DrawDonutSlice(xc + dx, yc - dy, XRadius(), YRadius(), a.Start + Rotation(), a.End + Rotation(),
                              FDonutPercent);
    } else {
        FEndPoint = AngleToPos(a.End, XRadius(), YRadius());
        if (!(FStartPoint == FEndPoint) || PointCount() == 1 || a.End - a.Start > 1) {
            const TRect& r = CircleRect();
            canvas.DrawPie(r.Left + dx, r.Top - dy, r.Right + dx, r.Bottom - dy, FStartPoint.X + dx, FStartPoint.Y - dy,
                           FEndPoint.X + dx, FEndPoint.Y - dy);
            FStartPoint = FEndPoint;
        }
    }
}

void TPieSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& p) {
    if (IsGrouped(index) || FTotal == 0 || index >= int(FAngles.size())) return;
    TCustomAxisPanel* c = ParentChart();
    int rx, ry;
    ExplodedRadii(index, rx, ry);
    double angle = FAngles[std::size_t(index)].Mid;
    if (c && c->Canvas() && c->Canvas()->IsFull3D()) {
        angle += pi + pi / 2;
        Marks().SetZPosition(StartZ());
    } else
        Marks().SetZPosition(SliceTopZ(index));
    const int l = Marks().Callout().Length(), d = Marks().Callout().Distance();
    p.ArrowFix = true;
    p.ArrowTo = AngleToPos(angle, rx + l + d, ry + l + d);
    p.ArrowFrom = AngleToPos(angle, rx + d, ry + d);
    p.LeftTop.X = p.ArrowTo.X > CircleXCenter() ? p.ArrowTo.X : p.ArrowTo.X - p.Width;
    p.LeftTop.Y = p.ArrowTo.Y > CircleYCenter() ? p.ArrowTo.Y : p.ArrowTo.Y - p.Height;
    if (FAutoMarkPosition) Marks().AvoidOverlap(FirstVisible(), index, p);
    TChartSeries::DrawPointMark(index, text, p);
}

// --- hit test ---

int TPieSeries::PointAtPixel(int x, int y) {
    const int base = TCircledSeries::PointAtPixel(x, y);
    return base != -1 ? base : SliceAtPixel(x, y);
}

int TPieSeries::SliceAtPixel(int x, int y) {
    if (FAngles.empty() || FTotal == 0) return -1;
    TCustomAxisPanel* c = ParentChart();
    if (c && c->Canvas()) c->Canvas()->UnprojectPoint(x, y, c->Width3D());
    const double a = PointToAngle(x, y);
    const double d = std::hypot(double(x - CircleXCenter()), double(y - CircleYCenter()));
    for (int b = 0; b < int(FAngles.size()); ++b) {
        const TPieAngle& s = FAngles[std::size_t(b)];
        if (s.Start <= a && a <= s.End && s.End > s.Start) {
            int ox, oy;
            ExplodeOffset(b, ox, oy);
            if (std::hypot(double(std::abs(ox) + XRadius()), double(std::abs(oy) + YRadius())) >= d) return b;
        }
    }
    return -1;
}

// --- legend ---

int TPieSeries::LegendItemCount() {
    int grouped = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (IsGrouped(i)) ++grouped;
    return FOtherLegendInUse ? grouped : PointCount() - grouped;
}

int TPieSeries::ValueIndexOfLegendItem(int item) {
    int n = 0;
    for (int i = 0; i < PointCount(); ++i)
        if (IsGrouped(i) == FOtherLegendInUse) {
            if (n == item) return i;
            ++n;
        }
    return item;
}

void TPieSeries::AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) {
    TCircledSeries::AdjustLegendBrush(index, background, style);
    const int point = ValueIndexOfLegendItem(index);
    SelectSlicePen(point);
    style = SliceBrushStyle(point);
}

void TPieSeries::PaintLegendSymbol(int item, const TRect& r) {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas()) return;
    const int index = ValueIndexOfLegendItem(item);
    const TColor colour = c->Monochrome() ? clBlack : PointColor(index);
    if (Gradient().Visible() && colour != clNone) {
        TCanvas3D& canvas = *c->Canvas();
        auto keep = std::move(Gradient().OnChange);
        Gradient().SetEndColor(colour);
        Gradient().OnChange = std::move(keep);
        PaintGradient(canvas, Gradient(), r);
        SelectSlicePen(index);
        canvas.Brush().SetStyle(cb::gfx::bsClear);
        canvas.DrawRectangle(r);
        return;
    }
    TCircledSeries::PaintLegendSymbol(item, r);
}

// --- gallery, samples, copying ---

void TPieSeries::AddSampleValues(int count, bool valuesOnly) {
    (void)valuesOnly;
    static const TPlotText names[8] = {TPlotText::txtSampleCars,   TPlotText::txtSamplePhones,
                                       TPlotText::txtSampleTables, TPlotText::txtSampleMonitors,
                                       TPlotText::txtSampleLamps,  TPlotText::txtSampleKeyboards,
                                       TPlotText::txtSampleBikes,  TPlotText::txtSampleChairs};
    for (int k = 0; k < count; ++k) AddValue(double(SampleRandom(1000) + 1), PlotText(names[k % 8]), clDefault);
}

void TPieSeries::ListSubGalleryStyles(const std::function<void(const std::string&)>& add) {
    TCircledSeries::ListSubGalleryStyles(add);
    for (const char* s : {"Patterns", "Exploded", "Shadow", "Marks", "Semi Pie", "No Border", "Dark Border"}) add(s);
}

void TPieSeries::ApplySubGalleryStyle(TChartSeries* series, int style) {
    auto* s = dynamic_cast<TPieSeries*>(series);
    if (!s) return;
    switch (style) {
    case 1:
        s->SetUsePatterns(true);
        break;
    case 2:
        s->SetExplodeBiggest(30);
        break;
    case 3:
        s->Shadow().SetHorizSize(10);
        s->Shadow().SetVertSize(10);
        break;
    case 4:
        s->Marks().SetVisible(true);
        s->RemoveAllPoints();
        s->AddValue(30, "A", clDefault);
        s->AddValue(70, "B", clDefault);
        break;
    case 5:
        s->SetAngleSize(180);
        break;
    case 6:
        s->PiePen().Hide();
        break;
    case 7:
        s->SetDarkPen(32);
        break;
    default:
        break;
    }
}

void TPieSeries::AssignSeries(const TChartSeries& source) {
    if (this == &source) return;
    auto* from = dynamic_cast<const TPieSeries*>(&source);
    if (!from) {
        TCircledSeries::AssignSeries(source);
        SetColorEachPoint(true);
        return;
    }
    const TPieSeries& s = *from;
    FAngleSize = s.FAngleSize;
    FAutoMarkPosition = s.FAutoMarkPosition;
    FDark3D = s.FDark3D;
    FDarkPen = s.FDarkPen;
    FExplodeBiggest = s.FExplodeBiggest;
    FExploded.Assign(s.FExploded);
    FHeights.Assign(s.FHeights);
    FUsePatterns = s.FUsePatterns;
    FOtherSlice.Assign(s.FOtherSlice);
    FShadow->Assign(*s.FShadow);
    TCircledSeries::AssignSeries(s);
    SetColorEachPoint(true);
}

}  // namespace cb::chart
