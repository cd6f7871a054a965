#include "chart/series/line/CustomSeries.h"

#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/StylePaint.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeriesList.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TCustomSeries::TCustomSeries()
    : FAreaChartBrush(std::make_unique<TChartBrush>([this] { InvalidateChart(); })),
      FAreaLinesPen(std::make_unique<TChartPen>([this] { InvalidateChart(); })),
      FOutLine(std::make_unique<TChartHiddenPen>([this] { InvalidateChart(); })),
      FPointer(std::make_unique<TSeriesPointer>(this)),
      FShadow(std::make_unique<TPlotShadow>([this] { InvalidateChart(); })),
      FGradient(std::make_unique<TPlotGradient>([this] { InvalidateChart(); })) {
    WithoutChangeEvent(*FAreaChartBrush, [&] { FAreaChartBrush->SetColor(clDefault); });
    FDrawBetweenPoints = true;
}

TCustomSeries::~TCustomSeries() = default;

// --- settings ---

bool TCustomSeries::HasInstance(const TChartSeries* s) const {
    return dynamic_cast<const TCustomSeries*>(s) != nullptr;
}

bool TCustomSeries::sameOrAncestorClass(const TChartSeries* other) const {
    auto* o = dynamic_cast<const TCustomSeries*>(other);
    return o && o->HasInstance(this);
}

void TCustomSeries::SetStacked(TCustomSeriesStack s) {
    if (FSettings.Stacked == s) return;
    FSettings.Stacked = s;
    if (TCustomAxisPanel* c = ParentChart())
        for (TChartSeries* other : c->SeriesList().Items())
            if (other != this && sameOrAncestorClass(other)) static_cast<TCustomSeries*>(other)->FSettings.Stacked = s;
    InvalidateChart();
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* chart) {
    TChartSeries::SetParentChart(chart);
}

TSeriesPointerStyle TCustomSeries::pointerStyle(int index) {
    return OnGetPointerStyle ? OnGetPointerStyle(this, index) : FPointer->Style();
}

TColor TCustomSeries::areaColorOf(TColor col) const {
    return ColorEachPoint() || FSettings.AreaColor == clDefault ? col : FSettings.AreaColor;
}

// --- stacking ---

bool TCustomSeries::sameStackClass(const TChartSeries* other) const {
    auto* o = dynamic_cast<const TCustomSeries*>(other);
    return o && (o->HasInstance(this) || HasInstance(o));
}

double TCustomSeries::StackBase(int index, bool all) {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return 0;
    const bool positive = MandatoryValue(index) >= 0;
    double sum = 0;
    for (TChartSeries* s : c->SeriesList().Items()) {
        if (!all && s == this) break;
        if (!s->Active() || s->PointCount() <= index || !sameStackClass(s)) continue;
        const double v = s->StackValue(index);
        if (positive ? v > 0 : v < 0) sum += v;
    }
    return sum;
}

int TCustomSeries::stackedPosition(int index, double v) {
    TChartAxis* axis = valueAxis();
    const int end = axis ? axis->EndPixel() : 0;
    const double b = StackBase(index, false) + v;
    if (FSettings.Stacked == cssStack) return std::min(MandatoryToPixel(b), end);
    const double t = StackBase(index, true);
    return t != 0 ? MandatoryToPixel(b * 100 / t) : end;
}

static bool stacks(TCustomSeriesStack s) {
    return s == cssStack || s == cssStack100;
}

int TCustomSeries::ScreenY(int index) {
    if (YMandatory() && stacks(FSettings.Stacked)) return stackedPosition(index, PointY(index));
    return TChartSeries::ScreenY(index);
}

int TCustomSeries::ScreenX(int index) {
    if (!YMandatory() && stacks(FSettings.Stacked)) return stackedPosition(index, PointX(index));
    return TChartSeries::ScreenX(index);
}

int TCustomSeries::OriginPixel(int index) {
    if (stacks(FSettings.Stacked)) return stackedPosition(index, 0);
    if (YMandatory()) {
        TChartAxis* a = GetVertAxis();
        if (!a) return 0;
        return a->Inverted() ? a->StartPixel() : a->EndPixel();
    }
    TChartAxis* a = GetHorizAxis();
    if (!a) return 0;
    return a->Inverted() ? a->EndPixel() : a->StartPixel();
}

double TCustomSeries::stackedExtreme(bool highest, double base) {
    if (FSettings.Stacked == cssStack100) return highest ? 100 : 0;
    if (FSettings.Stacked != cssStack) return base;
    double r = base;
    for (int i = 0; i < PointCount(); ++i) {
        const double v = StackBase(i, false) + MandatoryValue(i);
        r = highest ? std::max(r, v) : std::min(r, v);
    }
    return r;
}

double TCustomSeries::HighestY() {
    return YMandatory() ? stackedExtreme(true, TChartSeries::HighestY()) : TChartSeries::HighestY();
}
double TCustomSeries::LowestY() {
    return YMandatory() ? stackedExtreme(false, TChartSeries::LowestY()) : TChartSeries::LowestY();
}
double TCustomSeries::HighestX() {
    return YMandatory() ? TChartSeries::HighestX() : stackedExtreme(true, TChartSeries::HighestX());
}
double TCustomSeries::LowestX() {
    return YMandatory() ? TChartSeries::LowestX() : stackedExtreme(false, TChartSeries::LowestX());
}

void TCustomSeries::AssignZOrder() {
    TCustomAxisPanel* c = ParentChart();
    if (FSettings.Stacked != cssNone && c) {
        const int z = std::max(0, c->HighestZPosition());
        SetAutoZOrder(z);
        c->SetHighestZPosition(z);
        return;
    }
    TChartSeries::AssignZOrder();
}

// --- margins ---

int TCustomSeries::MarkExtent() {
    return Marks().Callout().Length() + Marks().Callout().Distance();
}

// Room for wide stairs and the outline on both sides.
void TCustomSeries::lineMargins(int& low, int& high) {
    if (!FSettings.DrawLine) return;
    int room = FSettings.Stairs ? LinePen().Width() : 0;
    if (FOutLine->Visible()) room = std::max(room, FOutLine->Width());
    low = std::max(low, room);
    high = std::max(high, room);
}

void TCustomSeries::HorizontalMargins(int& left, int& right) {
    TChartSeries::HorizontalMargins(left, right);
    FPointer->HorizMargins(left, right);
    lineMargins(left, right);
    if (!YMandatory() && Marks().Visible()) right = std::max(right, MarkExtent());
}

void TCustomSeries::VerticalMargins(int& top, int& bottom) {
    TChartSeries::VerticalMargins(top, bottom);
    FPointer->VertMargins(top, bottom);
    lineMargins(top, bottom);
    if (YMandatory() && Marks().Visible()) top = std::max(top, MarkExtent());
    TCustomAxisPanel* c = ParentChart();
    if (FSettings.LineHeight > 0 && !FSettings.DrawArea && c && c->View3D())
        bottom = std::max(bottom, FSettings.LineHeight);
}

// --- drawing ---

void TCustomSeries::prepareLinePen(TColor col) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    if (c.IsMonochrome()) col = clWhite;
    if (chart->View3D()) {
        c.AssignBrush(Brush(), col);
        c.SelectPen(LinePen());
    } else {
        c.Brush().SetStyle(cb::gfx::bsClear);
        c.SelectPenWithColor(LinePen(), col);
    }
    if (!LinePen().Visible()) c.Pen().SetStyle(cb::gfx::psClear);
    chart->AdjustPenForPrinting(c.Pen());
}

void TCustomSeries::DrawPointer(int x, int y, TColor color, int index) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    if (FPassColor != clDefault) color = FPassColor;
    FPointer->ApplyPenAndBrush(*chart->Canvas(), color);
    FPointer->DrawPointer(x, y, color, pointerStyle(index));
}

void TCustomSeries::DrawVisiblePoints() {
    if (FShadow->Size() != 0) {
        // Shadow pass: the whole series in the shadow colour, moved.
        const bool pointer = FPointer->Visible();
        FPassColor = FShadow->Color();
        FPassOffset = {FShadow->HorizSize(), FShadow->VertSize()};
        FPointer->PutVisible(false);
        TChartSeries::DrawVisiblePoints();
        FPointer->PutVisible(pointer);
        FPassOffset = {0, 0};
        FPassColor = clDefault;
    }
    if (FOutLine->Visible()) {
        TChartPen saved;
        saved.Assign(LinePen());
        const int w = 2 * saved.Width() + FOutLine->Width() + 1;
        WithoutChangeEvent(LinePen(), [&] {
            LinePen().Assign(*FOutLine);
            LinePen().SetWidth(w);
        });
        FPassColor = FOutLine->Color();
        TChartSeries::DrawVisiblePoints();
        FPassColor = clDefault;
        WithoutChangeEvent(LinePen(), [&] { LinePen().Assign(saved); });
    }
    TChartSeries::DrawVisiblePoints();
}

void TCustomSeries::DrawPoint(int i) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    TColor col = PointColor(i);
    if (FPassColor != clDefault && col != clNone) col = FPassColor;
    FX = ScreenX(i) + FPassOffset.X;
    FY = ScreenY(i) + FPassOffset.Y;
    if (c.Pen().Color() != clBlack) c.Pen().SetColor(clBlack);
    if (c.Brush().Color() != col) c.Brush().SetColor(col);
    if (FOldColor == clNone) {
        FOldX = FX;
        FOldY = FY;
    }
    FBottomPos = OriginPixel(i) + (YMandatory() ? FPassOffset.Y : FPassOffset.X);
    const bool ascending = DrawsAscending();
    const bool last = i == (ascending ? LastVisible() : FirstVisible());
    if (i == FirstDrawnIndex()) {
        FOldColor = clNone;
        if (FSettings.Dark3D) {
            const int w = chart->DepthPerSeries();
            FDarkRatio = w == 0 ? 1.0 : std::abs(double(chart->HeightPerSeries()) / w);
        }
        FOldX = FX;
        FOldY = FY;
        FOldBottomPos = FBottomPos;
        if (i == FirstVisible() && i > 0) {
            if (FSettings.DrawArea) {
                FOldX = ScreenX(i - 1) + FPassOffset.X;
                FOldY = ScreenY(i - 1) + FPassOffset.Y;
                FOldBottomPos = OriginPixel(i - 1) + (YMandatory() ? FPassOffset.Y : FPassOffset.X);
            } else {
                enterFromEdge(i);
            }
            if (!IsEmptyPoint(i - 1)) drawSegment(i, col, false, last);
        }
        if (last && FPointer->Visible() && col != clNone) DrawPointer(FX, FY, col, i);
        if (FSettings.DrawArea && chart->View3D() && c.IsFull3D()) c.DrawRectAtX(FX, FY, FBottomPos, StartZ(), EndZ());
    } else
        drawSegment(i, col, true, last);
    FOldX = FX;
    FOldY = FY;
    FOldBottomPos = FBottomPos;
    FOldColor = col;
}

void TCustomSeries::enterFromEdge(int i) {
    // The line enters from the chart's edge at the height it has there.
    TCustomAxisPanel* chart = ParentChart();
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    const TRect& r = chart->ChartRect();
    if (!YMandatory() || !h || !v) {
        FOldX = ScreenX(i - 1);
        FOldY = ScreenY(i - 1);
        return;
    }
    FOldX = (h->Inverted() ? r.Right : r.Left) + FPassOffset.X;
    if (FSettings.Stairs) {
        FOldY = ScreenY(i - 1) + FPassOffset.Y;
        return;
    }
    const double x0 = PointX(i - 1), x1 = PointX(i);
    if (x0 == x1) {
        FOldY = ScreenY(i - 1) + FPassOffset.Y;
        return;
    }
    const double x = h->ValueAtPixel(FOldX - FPassOffset.X);
    const double t = (x - x0) / (x1 - x0);
    const double y0 = PointY(i - 1), y1 = PointY(i);
    double y;
    if (v->Logarithmic() && y0 > 0 && y1 > 0)
        y = std::exp(std::log(y0) + t * (std::log(y1) - std::log(y0)));
    else
        y = y0 + t * (y1 - y0);
    FOldY = YToPixel(y) + FPassOffset.Y;
}

void TCustomSeries::drawSegment(int i, TColor col, bool withPointers, bool last) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    const bool is3D = chart->View3D();
    const int z0 = StartZ(), z1 = EndZ();
    const bool yMandatory = YMandatory();
    if (!(FX == FOldX && FY == FOldY) && col != clNone) {
        if (is3D && (FSettings.DrawArea || FSettings.DrawLine)) {
            c.SelectPen(LinePen());
            if (LinePen().Visible())
                chart->AdjustPenForPrinting(c.Pen());
            else
                c.Pen().SetStyle(cb::gfx::psClear);
            const TColor ribbon = FSettings.ColorEachLine || FSettings.DrawArea ? areaColorOf(col) : seriesColor();
            c.AssignBrush(Brush(), ribbon);
            auto darkened = [&](auto draw) {
                if (FSettings.Dark3D) c.SetDarkerFill(ribbon, 64);
                draw();
                c.Brush().SetColor(c.IsMonochrome() ? clWhite : ribbon);
            };
            if (FSettings.Stairs) {
                if (yMandatory) {
                    if (!FSettings.InvertedStairs) {
                        c.DrawRectAtY(FOldX, FOldY, FX, z0, z1);
                        darkened([&] { c.DrawRectAtX(FX, FY, FOldY, z0, z1); });
                    } else {
                        darkened([&] { c.DrawRectAtX(FOldX, FOldY, FY, z0, z1); });
                        c.DrawRectAtY(FX, FY, FOldX, z0, z1);
                    }
                } else if (!FSettings.InvertedStairs) {
                    c.DrawRectAtX(FOldX, FOldY, FY, z0, z1);
                    darkened([&] { c.DrawRectAtY(FOldX, FY, FX, z0, z1); });
                } else {
                    darkened([&] { c.DrawRectAtY(FX, FY, FOldX, z0, z1); });
                    c.DrawRectAtX(FX, FOldY, FY, z0, z1);
                }
            } else {
                int y = FY, oldY = FOldY;
                if (FSettings.LineHeight > 0 && !FSettings.DrawArea) {
                    const TPoint q[4] = {{FX, FY},
                                         {FOldX, FOldY},
                                         {FOldX, FOldY + FSettings.LineHeight},
                                         {FX, FY + FSettings.LineHeight}};
                    c.DrawQuadWithDepths(q, z0, z0);
                    if (last) c.DrawRectAtX(FX, FY, FY + FSettings.LineHeight, z0, z1);
                }
                bool dark = false;
                if (FSettings.Dark3D && !c.IsFull3D() && FX != FOldX && FDarkRatio != 0 &&
                    double(FOldY - FY) / (FX - FOldX) > FDarkRatio) {
                    c.SetDarkerFill(ribbon, 64);
                    dark = true;
                    if (FSettings.LineHeight > 0 && !FSettings.DrawArea) {
                        y += FSettings.LineHeight;
                        oldY += FSettings.LineHeight;
                    }
                }
                if (c.IsMonochrome()) c.Brush().SetColor(clWhite);
                c.DrawPlaneBetween({FX, y}, {FOldX, oldY}, z0, z1);
                if (dark) c.Brush().SetColor(ribbon);
            }
        }
        if (FSettings.DrawArea) {
            const TColor b = areaColorOf(col);
            if (FAreaLinesPen->Visible() && FAreaLinesPen->Color() != clDefault)
                c.SelectPen(*FAreaLinesPen);
            else if (FAreaLinesPen->Visible())
                c.SelectPenWithColor(*FAreaLinesPen, col);
            else
                c.Pen().SetStyle(cb::gfx::psClear);
            drawAreaPiece(b, last);
        } else if (!is3D && FSettings.DrawLine) {
            prepareLinePen(FSettings.ColorEachLine ? col : seriesColor());
            if (FSettings.Stairs) {
                if (FSettings.InvertedStairs)
                    c.DrawVerticalLine(FOldX, FOldY, FY);
                else
                    c.DrawHorizontalLine(FOldX, FX, FOldY);
                c.LineToPoint(FX, FY);
            } else
                c.DrawLine(FOldX, FOldY, FX, FY);
        }
    }
    if (withPointers && FPointer->Visible()) {
        if (FOldColor != clNone) DrawPointer(FOldX, FOldY, FOldColor, i - 1);
        if (last && col != clNone) DrawPointer(FX, FY, col, i);
    }
}

TColor TCustomSeries::seriesColor() const {
    return FPassColor != clDefault ? FPassColor : SeriesColor();
}

void TCustomSeries::drawAreaPiece(TColor b, bool last) {
    TCustomAxisPanel* chart = ParentChart();
    TCanvas3D& c = *chart->Canvas();
    const bool is3D = chart->View3D();
    const int z0 = StartZ(), z1 = EndZ();
    const bool yMandatory = YMandatory();
    const TColor back = FAreaChartBrush->Color() == clDefault ? seriesColor() : FAreaChartBrush->Color();
    chart->SelectBrushOverBackground(b, *FAreaChartBrush, back);
    if (is3D && last) {
        if (yMandatory)
            c.DrawRectAtX(FX, FY, FBottomPos, z0, z1);
        else
            c.DrawRectAtY(FX, FY, FBottomPos, z0, z1);
    }
    const int t = GetTransparency();
    const bool linePen = LinePen().Visible();
    if (FSettings.Stairs) {
        const int edge = FSettings.InvertedStairs ? (yMandatory ? FY : FX) : (yMandatory ? FOldY : FOldX);
        const int base = FSettings.InvertedStairs ? FBottomPos : FOldBottomPos;
        const TRect r =
            yMandatory ? NormalizeRect({FOldX, base, FX + 1, edge}) : NormalizeRect({base, FOldY + 1, edge + 1, FY});
        std::unique_ptr<TPlotBlend> blend;
        if (t > 0) blend = c.BeginTransparency(is3D ? c.ProjectedBounds(r, z0) : r, t);
        if (is3D)
            c.DrawRectAtDepth(r, z0);
        else if (FGradient->Visible()) {
            PaintGradient(c, *FGradient, r);
            if (c.Pen().Style() != cb::gfx::psClear) {
                c.Brush().SetStyle(cb::gfx::bsClear);
                c.DrawRectangle(r);
            }
        } else
            c.DrawRectangle(r);
        if (blend) c.EndTransparency(std::move(blend));
        if (linePen && !FAreaLinesPen->Visible()) {
            c.SelectPenWithColor(LinePen(), LinePen().Color());
            if (yMandatory && FSettings.InvertedStairs) {
                c.DrawLineAtDepth(FOldX, FY, FX, FY, z0);
                c.DrawLineAtDepth(FOldX, FOldY, FOldX, FY, z0);
            } else if (yMandatory) {
                c.DrawLineAtDepth(FOldX, FOldY, FX, FOldY, z0);
                c.DrawLineAtDepth(FX - 1, FOldY, FX - 1, FY, z0);
            } else if (FSettings.InvertedStairs) {
                c.DrawLineAtDepth(FX, FOldY, FX, FY, z0);
                c.DrawLineAtDepth(FOldX, FOldY, FX, FOldY, z0);
            } else {
                c.DrawLineAtDepth(FOldX, FOldY, FOldX, FY, z0);
                c.DrawLineAtDepth(FOldX, FY, FX, FY, z0);
            }
        }
        return;
    }
    TPoint q[4];
    if (yMandatory) {
        q[0] = {FOldX, FOldBottomPos};
        q[1] = {FOldX, FOldY};
        q[2] = {FX, FY};
        q[3] = {FX, FBottomPos};
    } else {
        q[0] = {FOldBottomPos, FOldY};
        q[1] = {FOldX, FOldY};
        q[2] = {FX, FY};
        q[3] = {FBottomPos, FY};
    }
    std::unique_ptr<TPlotBlend> blend;
    if (t > 0) {
        const TRect bounds = PolygonBounds(q, 4);
        blend = c.BeginTransparency(is3D ? c.ProjectedBounds(bounds, z0) : bounds, t);
    }
    if (is3D) {
        const double rotation = chart->View3DOptions().Rotation();
        const int depth = rotation > 90 && rotation < 270 ? z1 : z0;
        if (FGradient->Visible())
            PaintGradientQuad(c, *FGradient, q, depth);
        else
            c.DrawQuadAtDepth(q[0], q[1], q[2], q[3], depth);
    } else if (FGradient->Visible()) {
        c.ClipToPolygon(q);
        TChartAxis* a = valueAxis();
        const int hi = a ? MandatoryToPixel(MandatoryList().Highest()) : 0;
        const int lo = a ? MandatoryToPixel(MandatoryList().Lowest()) : 0;
        const TRect g = yMandatory ? NormalizeRect({FOldX, hi, FX, lo}) : NormalizeRect({lo, FOldY, hi, FY});
        PaintGradient(c, *FGradient, g);
        c.RemoveClip();
        c.Brush().SetStyle(cb::gfx::bsClear);
        if (c.Pen().Style() != cb::gfx::psClear) {
            if (yMandatory)
                c.DrawVerticalLine(FOldX, FOldY, FOldBottomPos);
            else
                c.DrawHorizontalLine(FOldBottomPos, FOldX, FOldY);
        }
    } else
        c.DrawPolygon(q);
    if (blend) c.EndTransparency(std::move(blend));
    if (linePen) {
        c.SelectPenWithColor(LinePen(), LinePen().Color());
        chart->AdjustPenForPrinting(c.Pen());
        if (is3D)
            c.DrawLineAtDepth(FOldX, FOldY, FX, FY, z0);
        else
            c.DrawLine(FOldX, FOldY, FX, FY);
    }
}

void TCustomSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
    Marks().SetZPosition(StartZ());
    if (YMandatory()) Marks().ApplyCallout(position);
    TChartSeries::DrawPointMark(index, text, position);
}

// --- hit test ---

bool TCustomSeries::PointerContains(int index, int px, int py, int x, int y) {
    return pointerStyle(index) != psNothing && std::abs(px - x) < FPointer->HorizSize() &&
           std::abs(py - y) < FPointer->VertSize();
}

int TCustomSeries::PointAtPixel(int x, int y) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart && chart->Canvas()) chart->Canvas()->UnprojectPoint(x, y, StartZ());
    if (FirstVisible() < 0 || LastVisible() < 0) return -1;
    const TPoint pixel{x, y};
    const bool is3D = chart && chart->View3D();
    const int w3 = chart ? chart->DepthPerSeries() : 0, h3 = chart ? chart->HeightPerSeries() : 0;
    TPoint prev{0, 0};
    for (int i = FirstVisible(); i <= LastVisible() && i < PointCount(); ++i) {
        const TPoint p{ScreenX(i), ScreenY(i)};
        if (FPointer->Visible()) {
            PreparePointer(i);
            if (PointerContains(i, p.X, p.Y, x, y)) {
                if (OnClickPointer) OnClickPointer(this, i, x, y);
                return i;
            }
        }
        if (p.X == x && p.Y == y) return i;
        if (i > FirstVisible() && FSettings.ClickableLine) {
            bool hit = false;
            if (is3D) {
                const std::vector<TPoint> ribbon = {p, {p.X + w3, p.Y - h3}, {prev.X + w3, prev.Y - h3}, prev};
                hit = PolygonContainsPoint(pixel, ribbon);
            } else if (FSettings.Stairs) {
                const TPoint corner = FSettings.InvertedStairs ? TPoint{prev.X, p.Y} : TPoint{p.X, prev.Y};
                hit = PointOnSegmentPoints(pixel, prev, corner, 0) || PointOnSegmentPoints(pixel, corner, p, 0);
            } else
                hit = PointOnSegmentPoints(pixel, prev, p, 0);
            if (hit) return i - 1;
            if (FSettings.DrawArea) {
                const std::vector<TPoint> area = {prev, p, {p.X, OriginPixel(i)}, {prev.X, OriginPixel(i - 1)}};
                if (PolygonContainsPoint(pixel, area)) return i - 1;
            }
        }
        prev = p;
    }
    return -1;
}

// --- legend ---

void TCustomSeries::PaintLegendSymbol(int item, const TRect& r) {
    TCustomAxisPanel* chart = ParentChart();
    if (!chart || !chart->Canvas()) return;
    TCanvas3D& c = *chart->Canvas();
    const TColor col = item == -1 ? SeriesColor() : LegendItemColor(item);
    const int midY = (r.Top + r.Bottom) / 2;
    if (FPointer->Visible()) {
        if (FSettings.DrawLine) {
            c.SelectPenWithColor(LinePen(), col);
            if (LinePen().Visible()) c.DrawHorizontalLine(r.Left, r.Right, midY);
        }
        const bool through = FSettings.DrawLine && LinePen().Visible();
        int h = through ? r.Width() / 3 : r.Width() / 2 + 1;
        int v = through ? r.Height() / 3 : r.Height() / 2 + 1;
        h = std::min(h, FPointer->HorizSize());
        v = std::min(v, FPointer->VertSize());
        FPointer->ApplyPenAndBrush(c, col);
        FPointer->DrawShape(c, false, (r.Left + r.Right) / 2, midY, h, v, col,
                            pointerStyle(item < 0 ? 0 : ValueIndexOfLegendItem(item)));
        return;
    }
    if (!FSettings.DrawLine || FSettings.DrawArea) {
        TChartSeries::PaintLegendSymbol(item, r);
        return;
    }
    prepareLinePen(col);
    if (chart->View3D())
        c.DrawRectangle(r);
    else
        c.DrawHorizontalLine(r.Left, r.Right, midY);
}

void TCustomSeries::AssignSeries(const TChartSeries& source) {
    if (this == &source) return;
    auto* from = dynamic_cast<const TCustomSeries*>(&source);
    if (!from) {
        TChartSeries::Assign(source);
        return;
    }
    const TCustomSeries& s = *from;
    FSettings = s.FSettings;
    FAreaChartBrush->Assign(*s.FAreaChartBrush);
    FAreaLinesPen->Assign(*s.FAreaLinesPen);
    FPointer->Assign(*s.FPointer);
    FOutLine->Assign(*s.FOutLine);
    FShadow->Assign(*s.FShadow);
    FGradient->Assign(*s.FGradient);
    TChartSeries::Assign(s);
}

}  // namespace cb::chart
