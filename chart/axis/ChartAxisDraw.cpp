// Placing an axis against the chart rectangle and drawing it: title,
// labels, line, ticks, grid, minor ticks and minor grid, in 2D and 3D.
#include "chart/axis/ChartAxis.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/panel/CustomAxisPanel.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

using cb::gfx::TA_BOTTOM;
using cb::gfx::TA_CENTER;
using cb::gfx::TA_LEFT;
using cb::gfx::TA_RIGHT;
using cb::gfx::TA_TOP;

// --- title ---

TChartAxisTitle::TChartAxisTitle(TChangeEvent onChange)
    : FOnChange(onChange), FFont(std::make_unique<TPlotFont>(onChange)) {}

void TChartAxisTitle::SetCaption(const std::string& c) {
    cb::rtl::SetProperty(FSettings.Caption, c, FOnChange);
}

void TChartAxisTitle::SetAngle(int degrees) {
    cb::rtl::SetProperty(FSettings.Angle, ((degrees % 360) + 360) % 360, FOnChange);
}

void TChartAxisTitle::SetVisible(bool on) {
    cb::rtl::SetProperty(FSettings.Visible, on, FOnChange);
}

void TChartAxisTitle::Assign(const TChartAxisTitle& s) {
    FSettings = s.FSettings;
    FFont->Assign(*s.FFont);
}

// --- placement ---

double TChartAxis::GridZPosition() const {
    if (FSettings.GridZPosition >= 0) return FSettings.GridZPosition;
    return FSettings.OtherSide && !FSettings.IsDepth ? 100 : 0;
}

int TChartAxis::LineAndTicksThickness() const {
    int t = FAxisPen->Visible() ? FAxisPen->Width() + 1 : 0;
    if (FTicks->Visible()) t += FSettings.TickLength;
    if (FMinorTicks->Visible()) t = std::max(t, FSettings.MinorTickLength);
    return t;
}

int TChartAxis::EdgeOfRect(const TRect& r) const {
    if (FSettings.Horizontal) return FSettings.OtherSide ? r.Top : r.Bottom;
    return FSettings.OtherSide ? r.Right : r.Left;
}

int TChartAxis::ApplyPositionPercent(int p, const TRect& r) const {
    if (FSettings.PositionPercent == 0) return p;
    int s =
        FSettings.PositionUnits == apuPixels
            ? Round(FSettings.PositionPercent)
            : Round(FSettings.PositionPercent * 0.01 * (FSettings.Horizontal ? r.Bottom - r.Top : r.Right - r.Left));
    if (FSettings.OtherSide) s = -s;
    return FSettings.Horizontal ? p - s : p + s;
}

namespace {

// Moves p outward from the chart by n.
int outward(const TChartAxis& a, int p, int n) {
    const bool down = a.Horizontal() ? !a.OtherSide() : a.OtherSide();
    return down ? p + n : p - n;
}

void shrink(const TChartAxis& a, TRect& r, int n) {
    if (a.Horizontal()) {
        if (a.OtherSide())
            r.Top += n;
        else
            r.Bottom -= n;
    } else if (a.OtherSide())
        r.Right -= n;
    else
        r.Left += n;
}

}  // namespace

void TChartAxis::PlaceInRect(TRect& r, bool shrinkIt) {
    if (!shrinkIt) {
        FPosAxis = ApplyPositionPercent(EdgeOfRect(r), r);
        FPosLabels = outward(*this, FPosAxis, LineAndTicksThickness());
        FPosTitle = outward(*this, FPosLabels, Labels() ? LabelsThickness() : 0);
        return;
    }
    if (FSettings.IsDepth) {
        FPosTitle = FSettings.OtherSide ? r.Right : r.Left;
        return;
    }
    const TRect full = r;
    if (FTitle->Visible() && !FTitle->Caption().empty()) {
        shrink(*this, r, TextThickness(FTitle->Font(), FTitle->Angle(), FSettings.TitleSize, &FTitle->Caption()));
        FPosTitle = ApplyPositionPercent(EdgeOfRect(r), full);
    }
    if (Labels()) {
        shrink(*this, r, LabelsThickness());
        FPosLabels = ApplyPositionPercent(EdgeOfRect(r), full);
    }
    const int rest = (FChart ? FChart->WallSizeOfAxis(this) : 0) + LineAndTicksThickness();
    if (rest > 0) shrink(*this, r, rest);
}

unsigned TChartAxis::DepthLabelAlign() const {
    return FSettings.OtherSide ? TA_LEFT : TA_RIGHT;
}

int TChartAxis::DepthAxisY() const {
    const TRect& r = FChart->ChartRect();
    return FSettings.OtherSide ? r.Bottom : r.Top;
}

// --- labels and title ---

int TChartAxis::TitlePositionShown() {
    const int gap = FPosLabels - FPosTitle;
    if (!FChart->View3D() || FSettings.IsDepth || !Labels() || gap == 0) return FPosTitle;
    TCanvas3D& c = *FChart->Canvas();
    const int z = FDepthOffset;
    auto screen = [&](int across) {
        return FSettings.Horizontal ? c.ProjectToPoint(FCenterPixel, across, z).Y
                                    : c.ProjectToPoint(across, FCenterPixel, z).X;
    };
    // A few secant steps: the projection is near linear across the axis.
    int title = FPosTitle;
    for (int step = 0; step < 3; ++step) {
        const int shown = screen(FPosLabels) - screen(title);
        if (shown == gap) break;
        const double scale = double(shown) / double(FPosLabels - title);
        if (scale <= 0.05) return FPosTitle;  // seen edge on: leave it
        title = FPosLabels - Round(gap / scale);
    }
    // Never nearer the labels than in the chart's plane.
    return gap > 0 ? std::min(title, FPosTitle) : std::max(title, FPosTitle);
}

void TChartAxis::DrawTitle(int x, int y) {
    TCanvas3D& c = *FChart->Canvas();
    c.AssignFont(FTitle->Font());
    c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    if (FSettings.IsDepth) {
        c.SetTextAlignment(DepthLabelAlign());
        c.OutputTextAtDepth(x, y, FChart->Width3D() / 2, FTitle->Caption());
        c.SetTextAlignment(TA_LEFT | TA_TOP);
        return;
    }
    const bool keep = FSettings.LabelsExponent;
    FSettings.LabelsExponent = false;
    DrawLabelAt(x, y, !FItems.LabelFrame().Transparent(), FTitle->Caption(), FTitle->Angle());
    FSettings.LabelsExponent = keep;
}

void TChartAxis::PlaceAndDrawLabel(int pixel, const std::string& text, const TAxisItem* item) {
    TCanvas3D& c = *FChart->Canvas();
    TPlotFont& font = item ? const_cast<TAxisItem*>(item)->Font() : LabelsFont();
    c.AssignFont(font);
    c.Brush().SetStyle(cb::gfx::bsSolid);
    c.Brush().SetStyle(cb::gfx::bsClear);
    c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    if (FSettings.IsDepth) {
        c.SetTextAlignment(DepthLabelAlign());
        const TView3DOptions& o = FChart->View3DOptions();
        if (o.Orthogonal() || o.Rotation() == 360) pixel += c.FontHeight() / 2;
        const int x = FSettings.OtherSide ? FPosLabels : FPosLabels - c.TextWidth("W") / 2 - 2;
        c.OutputTextAtDepth(x, DepthAxisY(), pixel, text);
        c.SetTextAlignment(TA_LEFT | TA_TOP);
        return;
    }
    int across = FPosLabels;
    if (FSettings.LabelsAlternate) {
        if (!FAlternateToggle) {
            if (FSettings.Horizontal)
                across += FSettings.OtherSide ? -c.FontHeight() : c.FontHeight();
            else
                across += FSettings.OtherSide ? MaxLabelWidth() : -MaxLabelWidth();
        }
        FAlternateToggle = !FAlternateToggle;
    }
    const bool framed = item ? !item->Transparent() : !FItems.LabelFrame().Transparent();
    if (FSettings.Horizontal)
        DrawLabelAt(pixel, across, framed, text, FSettings.LabelsAngle);
    else
        DrawLabelAt(across, pixel, framed, text, FSettings.LabelsAngle);
}

void TChartAxis::DrawLabelAt(int X, int Y, bool framed, const std::string& text, int angle) {
    TCanvas3D& c = *FChart->Canvas();
    const int h = c.FontHeight(), h2 = h / 2;
    const bool os = FSettings.OtherSide;
    unsigned a = TA_LEFT;
    if (FSettings.Horizontal) {
        switch (angle) {
        case 0:
            a = os ? TA_CENTER | TA_BOTTOM : TA_CENTER;
            break;
        case 90:
            a = os ? TA_LEFT : TA_RIGHT;
            X -= h2;
            break;
        case 180:
            a = os ? TA_CENTER : TA_CENTER | TA_BOTTOM;
            break;
        case 270:
            a = os ? TA_RIGHT : TA_LEFT;
            X += h2;
            break;
        case 45:
            a = TA_LEFT;
            if (os) {
                const int w = c.TextWidth("Wj");
                X -= w;
                Y -= w;
            } else {
                const int w = Round(c.TextWidth(text) * std::sin(45 * PiDiv180));
                X -= w;
                Y += w;
            }
            break;
        default:
            break;
        }
    } else {
        switch (angle) {
        case 0:
            if (FSettings.LabelsAlign == alDefault)
                a = os ? TA_LEFT : TA_RIGHT;
            else if (os) {
                a = TA_RIGHT;
                X += LabelsThickness();
            } else {
                a = TA_LEFT;
                X -= LabelsThickness();
            }
            Y -= h2;
            break;
        case 90:
            a = os ? TA_CENTER : TA_CENTER | TA_BOTTOM;
            break;
        case 180:
            a = os ? TA_RIGHT : TA_LEFT;
            Y += h2;
            break;
        case 270:
            a = os ? TA_CENTER | TA_BOTTOM : TA_CENTER;
            break;
        default:
            break;
        }
    }
    int n = CountLabelLines(text);
    const int f = (angle == 180 || angle == 270) ? -h : h;
    if (FSettings.Horizontal) {
        if (angle == 0) Y -= os ? f * n : f;
        if (angle == 180) Y -= os ? f : f * n;
        if (angle == 90 || angle == 270) X -= Round(f * 0.5 * (n + 1));
    } else {
        if (angle == 0 || angle == 180) Y -= Round(f * 0.5 * (n + 1));
        if (angle == 90) X -= os ? f : f * n;
        if (angle == 270) X -= os ? f * n : f;
    }
    if (framed) {
        const int margin = c.TextWidth("W") / 2;
        int lines = 0;
        const int w = FChart->MultiLineTextWidth(text, &lines);
        TRect box{X, Y + f, X + w, Y + f + h * lines};
        if (a & TA_BOTTOM) {
            box.Top -= h * lines;
            box.Bottom -= h * lines;
        }
        if ((a & TA_CENTER) == TA_RIGHT) {
            box.Right = box.Left;
            box.Left -= w;
        } else if ((a & TA_CENTER) == TA_CENTER) {
            const int half = (box.Right - box.Left) / 2;
            box.Left -= half;
            box.Right -= half;
        }
        box.Left -= margin;
        box.Right += margin;
        if (FDepthOffset != 0) box = c.ProjectRect(box, FDepthOffset);
        c.Pen().SetStyle(cb::gfx::psSolid);
        c.Pen().SetColor(clBlack);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.Brush().SetColor(clWhite);
        c.DrawRect(box.Left, box.Top, box.Right, box.Bottom);
        c.Brush().SetStyle(cb::gfx::bsSolid);
        c.Brush().SetStyle(cb::gfx::bsClear);
        c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    }
    c.SetTextAlignment(a);
    bool draw = true;
    int Z = FDepthOffset;
    std::string t = text;
    if (OnDrawLabel) {
        OnDrawLabel(this, X, Y, Z, t, draw);
        if (draw) n = CountLabelLines(t);
    }
    if (draw) {
        std::size_t start = 0;
        while (start <= t.size()) {
            const std::size_t end = t.find('\r', start);
            const std::string line = t.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (angle == 0 || angle == 180) Y += f;
            if (angle == 90 || angle == 270) X += f;
            if (angle == 0) {
                const std::size_t e = FSettings.LabelsExponent ? [&] {
                    std::string up = line;
                    std::transform(up.begin(), up.end(), up.begin(), ::toupper);
                    return up.find('E');
                }()
                                                       : std::string::npos;
                if (e == std::string::npos)
                    c.OutputTextAtDepth(X, Y, Z, line);
                else {
                    // Mantissa, then a smaller raised exponent without the E.
                    const std::string mantissa = line.substr(0, e), exponent = line.substr(e + 1);
                    const int r = c.FontHeight() - 1;
                    const int size = c.Font().Size();
                    if ((a & TA_CENTER) == TA_LEFT) {
                        c.OutputTextAtDepth(X, Y, Z, mantissa);
                        const int mw = c.TextWidth(mantissa);
                        c.Font().SetSize(size - size / 4);
                        c.OutputTextAtDepth(X + mw + 1, Y - r / 2 + 2, Z, exponent);
                    } else {
                        c.Font().SetSize(size - size / 4);
                        c.OutputTextAtDepth(X, Y - r / 2 + 2, Z, exponent);
                        const int ew = c.TextWidth(exponent);
                        c.Font().SetSize(size);
                        c.OutputTextAtDepth(X - (ew + 1), Y, Z, mantissa);
                    }
                    c.Font().SetSize(size);
                }
            } else
                c.OutputRotatedTextAtDepth(X, Y, Z, line, angle);
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    c.SetTextAlignment(TA_LEFT | TA_TOP);
}

// --- line, ticks and grid ---

void TChartAxis::drawTick(int p, int o, int L, int W) {
    TCanvas3D& c = *FChart->Canvas();
    const int z = FDepthOffset;
    if (FSettings.IsDepth) {
        const int y = DepthAxisY();
        // A line across at depth p.
        if (FSettings.OtherSide)
            c.MoveToAtDepth(FPosAxis + o, y, p), c.LineToAtDepth(FPosAxis + o + L, y, p);
        else
            c.MoveToAtDepth(FPosAxis - o, y, p), c.LineToAtDepth(FPosAxis - o - L, y, p);
        return;
    }
    if (FSettings.Horizontal) {
        if (FSettings.OtherSide)
            c.DrawVerticalLineAtDepth(p, FPosAxis - o, FPosAxis - o - L, z);
        else
            c.DrawVerticalLineAtDepth(p, FPosAxis + o + W, FPosAxis + o + W + L, z);
    } else if (FSettings.OtherSide)
        c.DrawHorizontalLineAtDepth(FPosAxis + W + o, FPosAxis + W + o + L, p, z);
    else
        c.DrawHorizontalLineAtDepth(FPosAxis - o - W, FPosAxis - o - W - L, p, z);
}

void TChartAxis::DrawGridLine(int p) {
    if (!(std::min(FStartPixel, FEndPixel) < p && p < std::max(FStartPixel, FEndPixel))) return;
    TCanvas3D& c = *FChart->Canvas();
    const TRect& r = FChart->ChartRect();
    const int w3 = FChart->Width3D();
    if (FSettings.IsDepth) {
        c.DrawVerticalLineAtDepth(r.Left, r.Top, r.Bottom, p);
        c.DrawHorizontalLineAtDepth(r.Left, r.Right, r.Bottom, p);
        return;
    }
    if (FChart->View3D()) {
        const bool behind = FChart->AxisBehind();
        const int back = behind ? w3 : 0;
        if (!HideBackGrid) {
            if (FSettings.Horizontal)
                c.DrawVerticalLineAtDepth(p, r.Top, r.Bottom, back);
            else
                c.DrawHorizontalLineAtDepth(r.Left, r.Right, p, back);
        }
        if (behind && !HideSideGrid) {
            const int z = Round(w3 * GridZPosition() * 0.01);
            if (z != w3) {
                if (FSettings.Horizontal)
                    c.DrawDepthLine(p, FPosAxis, z, w3);
                else
                    c.DrawDepthLine(FPosAxis, p, z, w3);
            }
        }
        return;
    }
    if (FSettings.Horizontal)
        c.DrawVerticalLine(p, r.Top + 1, r.Bottom);
    else
        c.DrawHorizontalLine(r.Left + 1, r.Right, p);
}

void TChartAxis::DrawGrid(int n) {
    if (GridHook) GridHook(this);
    if (!FGrid->Visible()) return;
    TCanvas3D& c = *FChart->Canvas();
    c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    TChartPen pen;
    pen.Assign(*FGrid);
    if (pen.Color() == clDefault) pen.SetColor(0x808080);
    FChart->AdjustPenForPrinting(pen);
    c.SelectPen(pen);
    if (!FSettings.GridCentered) {
        for (int p : FTickPositions) DrawGridLine(p);
        return;
    }
    for (int i = 1; i < n; ++i)
        DrawGridLine(Round((FTickPositions[std::size_t(i)] + FTickPositions[std::size_t(i - 1)]) * 0.5));
}

void TChartAxis::drawMinor(bool grid) {
    TChartPen& pen = grid ? *FMinorGrid : *FMinorTicks;
    if (!pen.Visible() || FTickPositions.empty()) return;
    TCanvas3D& c = *FChart->Canvas();
    c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    c.Brush().SetStyle(cb::gfx::bsClear);
    c.SelectPen(pen);
    const int lo = std::min(FStartPixel, FEndPixel), hi = std::max(FStartPixel, FEndPixel);
    const int W = FChart->WallSizeOfAxis(this);
    auto use = [&](int p) {
        if (!(lo < p && p < hi)) return;
        if (grid)
            DrawGridLine(p);
        else
            drawTick(p, 1, FSettings.MinorTickLength, W);
    };
    const int k = FSettings.MinorTickCount;
    const auto& t = FTickPositions;
    if (!FSettings.Logarithmic) {
        if (t.size() < 2) return;
        const int d = t[1] - t[0];
        for (int j = 1; j <= k; ++j) {
            use(t.front() - Round(j * double(d) / (k + 1)));
            use(t.back() + Round(j * double(d) / (k + 1)));
        }
        for (std::size_t i = 1; i < t.size(); ++i) {
            const int di = t[i] - t[i - 1];
            for (int j = 1; j <= k; ++j) use(t[i] - Round(double(di) / (k + 1) * j));
        }
        return;
    }
    const double b = FSettings.LogBase;
    std::vector<double> values;
    values.push_back(ValueAtPixel(t.back()) / b);
    for (int p : t) values.push_back(ValueAtPixel(p));
    values.push_back(values.back() * b);
    std::vector<double> done;
    for (double v : values) {
        if (std::find(done.begin(), done.end(), v) != done.end()) continue;
        done.push_back(v);
        for (int j = 1; j <= k; ++j) {
            const double m = v + j * (v * b - v) / (k + 1);
            if (m >= FMinWork && m <= FMaxWork) use(PixelOfValue(m));
        }
    }
}

void TChartAxis::Draw(bool placeLine) {
    if (!FChart || !FChart->Canvas()) return;
    TCanvas3D& c = *FChart->Canvas();
    const TRect& cr = FChart->ChartRect();
    if (placeLine) FPosAxis = ApplyPositionPercent(EdgeOfRect(cr), cr);
    if (FTitle->Visible() && !FTitle->Caption().empty()) {
        if (FSettings.IsDepth)
            DrawTitle(FPosTitle, DepthAxisY());
        else if (FSettings.Horizontal)
            DrawTitle(FCenterPixel, TitlePositionShown());
        else
            DrawTitle(TitlePositionShown(), FCenterPixel);
    }
    FAlternateToggle = FSettings.Horizontal;
    ComputeLabels();
    for (const TAxisLabel& l : FLabelList) PlaceAndDrawLabel(l.Pixel, l.Text, l.Item);
    c.Brush().SetStyle(cb::gfx::bsClear);
    c.SetBackgroundMode(cb::gfx::TRANSPARENT);
    const int W = FChart->WallSizeOfAxis(this);
    const int z = FDepthOffset;
    if (FAxisPen->Visible()) {
        c.SelectPen(*FAxisPen);
        if (FSettings.IsDepth) {
            const int y = FSettings.OtherSide ? FChart->WallSizeOfAxis(&FChart->BottomAxis()) + cr.Bottom - FDepthOffset
                                              : cr.Top - FDepthOffset;
            c.MoveToAtDepth(FPosAxis, y, FStartPixel);
            c.LineToAtDepth(FPosAxis, y, FEndPixel);
        } else if (!FSettings.Horizontal) {
            const int x = FSettings.OtherSide ? FPosAxis + W : FPosAxis - W;
            c.DrawVerticalLineAtDepth(x, FStartPixel, FEndPixel + FChart->WallSizeOfAxis(&FChart->BottomAxis()), z);
        } else if (FSettings.OtherSide)
            c.DrawHorizontalLineAtDepth(FStartPixel, FEndPixel, FPosAxis, z);
        else
            c.DrawHorizontalLineAtDepth(FStartPixel - FChart->WallSizeOfAxis(&FChart->LeftAxis()),
                                        FEndPixel + FChart->WallSizeOfAxis(&FChart->RightAxis()), FPosAxis + W, z);
    }
    if (FTicks->Visible()) {
        c.SelectPen(*FTicks);
        for (int p : FTickPositions) drawTick(p, 1, FSettings.TickLength, W);
    }
    DrawGrid(int(FTickPositions.size()));
    if (FTicksInner->Visible() && FSettings.TickInnerLength != 0) {
        c.SelectPen(*FTicksInner);
        for (int p : FTickPositions) drawTick(p, -1, -FSettings.TickInnerLength, W);
    }
    drawMinor(false);
    drawMinor(true);
    c.SetBackgroundMode(cb::gfx::OPAQUE);
}

}  // namespace cb::chart
