#include "chart/ChartAxis.h"

#include "chart/CustomAxisPanel.h"
#include "chart/PlotExceptions.h"
#include "chart/PlotTexts.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool isDepth)
    : fChart(chart), fIsDepth(isDepth), fItems([this] { repaint(); })
{
    fValuesFormat = PlotText(TPlotText::txtValuesFormat);
    auto changed = [this] { repaint(); };
    fAxisPen = std::make_unique<TChartPen>(changed);
    fGrid = std::make_unique<TDottedGrayPen>(changed);
    fMinorGrid = std::make_unique<TChartHiddenPen>(changed);
    fTicks = std::make_unique<TDarkGrayPen>(changed);
    fTicksInner = std::make_unique<TDarkGrayPen>(changed);
    fMinorTicks = std::make_unique<TDarkGrayPen>(changed);
    SelectPixelMapping();
    if (fChart) {
        if (fChart->Axes().Count() >= 6)
            fChart->CustomAxes().Join(this);
        fChart->Axes().Add(this);
    }
}

TChartAxis::~TChartAxis()
{
    if (!fChart)
        return;
    for (int i = 0; i < fChart->NumberOfSeries(); ++i)
        fChart->SeriesAt(i)->ForgetAxis(this);
    for (TPlotCustomTool* t : fChart->Tools().Items())
        if (auto* at = dynamic_cast<TPlotCustomToolAxis*>(t))
            at->AxisDestroyed(this);
    fChart->CustomAxes().Leave(this);
    fChart->Axes().Remove(this);
}

void TChartAxis::repaint() const
{
    if (fChart)
        fChart->Invalidate();
}

// --- setters ---

void TChartAxis::SetAutomatic(bool on)
{
    store(fAutomatic, on);
    if (!fChart || !fChart->Loading()) {
        fAutomaticMinimum = on;
        fAutomaticMaximum = on;
    }
}

void TChartAxis::SetAutomaticMaximum(bool on)
{
    store(fAutomaticMaximum, on);
    if (!on)
        fAutomatic = false;
    else if (fAutomaticMinimum)
        fAutomatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool on)
{
    store(fAutomaticMinimum, on);
    if (!on)
        fAutomatic = false;
    else if (fAutomaticMaximum)
        fAutomatic = true;
}

void TChartAxis::SetMaximum(double v)
{
    if ((!fChart || !fChart->Loading()) && v < fMinimum)
        throw AxisException(PlotText(TPlotText::msgAxisMaximum));
    store(fMaximum, v);
}

void TChartAxis::SetMinimum(double v)
{
    if ((!fChart || !fChart->Loading()) && v > fMaximum)
        throw AxisException(PlotText(TPlotText::msgAxisMinimum));
    store(fMinimum, v);
}

void TChartAxis::SetLogarithmic(bool on)
{
    if (on == fLogarithmic)
        return;
    if (on) {
        if (ShowsDateTime())
            throw AxisException(PlotText(TPlotText::msgDateTimeLogarithmic));
        RefreshRange();
        if (fMinWork < 0 || fMaxWork < 0)
            throw AxisException(PlotText(TPlotText::msgLogarithmicMinMax));
    }
    fLogarithmic = on;
    SelectPixelMapping();
    RecalcScale();
    repaint();
}

void TChartAxis::SetLogarithmicBase(double b)
{
    if (b == 1 || !(b > 0))
        throw AxisException(PlotText(TPlotText::msgLogarithmicBase));
    store(fLogBase, b);
}

void TChartAxis::ChangeInverted(bool on) { store(fInverted, on); }

void TChartAxis::SetHorizontal(bool on)
{
    store(fHorizontal, on);
    SelectPixelMapping();
}

void TChartAxis::SetZPosition(double v) { store(fZPosition, v == 0 ? 0.01 : v); }

void TChartAxis::SetIncrement(double v)
{
    if (v < 0)
        throw AxisException(PlotText(TPlotText::msgAxisIncrement));
    store(fIncrement, v);
}

void TChartAxis::SetLabelsSeparation(int v)
{
    if (v < 0)
        throw AxisException(PlotText(TPlotText::msgLabelsSeparation));
    store(fLabelsSeparation, v);
}

void TChartAxis::SetLabelsAngle(int degrees) { store(fLabelsAngle, ((degrees % 360) + 360) % 360); }

// --- scale ---

void TChartAxis::FetchAutomaticLimits(double& minimum, double& maximum)
{
    if (!fChart)
        return;
    if (fAutomatic || fAutomaticMaximum)
        maximum = fChart->AxisValueLimit(this, false, fHorizontal);
    if (fAutomatic || fAutomaticMinimum)
        minimum = fChart->AxisValueLimit(this, true, fHorizontal);
}

void TChartAxis::RefreshRange()
{
    FetchAutomaticLimits(fMinimum, fMaximum);
    fMinWork = fMinimum;
    fMaxWork = fMaximum;
    RecalcScale();
}

void TChartAxis::SetWorkingRange(double minimum, double maximum)
{
    fMinWork = minimum;
    fMaxWork = maximum;
    RecalcScale();
}

void TChartAxis::RecalcScale()
{
    fRange = fMaxWork - fMinWork;
    fRangeZero = fRange == 0;
    fPixelsPerUnit = fRangeZero ? 0 : fPixelSize / fRange;
    if (fLogarithmic) {
        fLogMin = fMinWork > 0 ? std::log(fMinWork) : 0;
        fLogMax = fMaxWork > 0 ? std::log(fMaxWork) : 0;
        fLogRange = fLogMax - fLogMin;
        fPixelsPerLog = fLogRange == 0 ? 0 : fPixelSize / fLogRange;
    }
    int size = 0;
    if (fChart)
        size = fIsDepth ? fChart->ChartHeight() : fChart->Width3D();
    fDepthOffset = Round(fZPosition * size * 0.01);
}

void TChartAxis::PlaceEnds()
{
    int origin = 0, size = 0;
    if (fChart) {
        if (fIsDepth)
            size = fChart->Width3D();
        else if (fHorizontal) {
            origin = fChart->ChartRect().Left;
            size = fChart->ChartRect().Width();
        } else {
            origin = fChart->ChartRect().Top;
            size = fChart->ChartRect().Height();
        }
    }
    fStartPixel = origin + Round(size * 0.01 * fStartPosition);
    fEndPixel = origin + Round(size * 0.01 * fEndPosition);
    fPixelSize = fEndPixel - fStartPixel;
    fCenterPixel = (fStartPixel + fEndPixel) / 2;
    RecalcScale();
}

void TChartAxis::WidenForPixelMargins(const TRect& margins)
{
    const int a = fHorizontal ? margins.Left : margins.Top;
    const int b = fHorizontal ? margins.Right : margins.Bottom;
    const int oldStart = fStartPixel, oldEnd = fEndPixel;
    fStartPixel += a;
    fEndPixel -= b;
    fPixelSize = fEndPixel - fStartPixel;
    const double atStart = ValueAtPixel(oldStart);
    const double atEnd = ValueAtPixel(oldEnd);
    PlaceEnds();
    fMinWork = atStart;
    fMaxWork = atEnd;
    if (fMinWork > fMaxWork)
        std::swap(fMinWork, fMaxWork);
    RecalcScale();
}

void TChartAxis::SelectPixelMapping() { fMapping = fIsDepth ? mapDepth : (fLogarithmic ? mapLog : mapLinear); }

static int clampRound(double p)
{
    if (p > AxisPixelLimit)
        return AxisPixelLimit;
    if (p < -AxisPixelLimit)
        return -AxisPixelLimit;
    return Round(p);
}

int TChartAxis::linearH(double v) const
{
    if (fRangeZero)
        return fCenterPixel;
    const double p = (v - fMinWork) * fPixelsPerUnit;
    return clampRound(fInverted ? fEndPixel - p : fStartPixel + p);
}

int TChartAxis::linearV(double v) const
{
    if (fRangeZero)
        return fCenterPixel;
    const double p = (v - fMinWork) * fPixelsPerUnit;
    return clampRound(fInverted ? fStartPixel + p : fEndPixel - p);
}

int TChartAxis::logH(double v) const
{
    if (fLogRange == 0)
        return fCenterPixel;
    if (v <= 0)
        return fInverted ? fEndPixel : fStartPixel;
    if (fInverted)
        return Round(fPixelsPerLog * (fLogMax - std::log(v))) + fStartPixel;
    return Round(fPixelsPerLog * (std::log(v) - fLogMin)) + fStartPixel;
}

int TChartAxis::logV(double v) const
{
    if (fLogRange == 0)
        return fCenterPixel;
    if (v <= 0)
        return fInverted ? fStartPixel : fEndPixel;
    if (fInverted)
        return fEndPixel - Round(fPixelsPerLog * (fLogMax - std::log(v)));
    return fEndPixel - Round((std::log(v) - fLogMin) * fPixelsPerLog);
}

int TChartAxis::depthMap(double v) const
{
    if (fRangeZero)
        return fCenterPixel;
    return fInverted ? Round(fPixelsPerUnit * (fMaxWork - v)) : Round((v - fMinWork) * fPixelsPerUnit);
}

int TChartAxis::map(TMapping m, bool horizontal, double v) const
{
    switch (m) {
    case mapDepth:
        return depthMap(v);
    case mapLog:
        return horizontal ? logH(v) : logV(v);
    default:
        return horizontal ? linearH(v) : linearV(v);
    }
}

int TChartAxis::PixelOfValue(double v) const { return map(fMapping, fHorizontal, v); }
int TChartAxis::HorizontalPixelOfValue(double v) const { return map(fMapping, true, v); }
int TChartAxis::VerticalPixelOfValue(double v) const { return map(fMapping, false, v); }

double TChartAxis::ValueAtPixel(int p) const
{
    if (fLogarithmic && !fIsDepth) {
        const bool highAtStart = (fHorizontal && fInverted) || (!fHorizontal && !fInverted);
        if (p == fStartPixel)
            return highAtStart ? fMaxWork : fMinWork;
        if (p == fEndPixel)
            return highAtStart ? fMinWork : fMaxWork;
        if (fLogRange == 0 || fPixelSize == 0)
            return fMinWork;
        const double t = (fInverted ? fEndPixel - p : p - fStartPixel) * fLogRange / fPixelSize;
        return fHorizontal ? std::exp(fLogMin + t) : std::exp(fLogMax - t);
    }
    if (fPixelSize < 1)
        return 0;
    const double a = (fInverted ? fEndPixel - p : p - fStartPixel) * fRange / fPixelSize;
    return fHorizontal ? fMinWork + a : fMaxWork - a;
}

int TChartAxis::PixelSpanOfValue(double v) const
{
    if (v <= 0)
        return 0;
    if (fLogarithmic) {
        return fLogRange != 0 ? Round(std::log(v) * fPixelsPerLog) : 0;
    }
    return fRange != 0 ? Round(v * fPixelsPerUnit) : 0;
}

void TChartAxis::ScrollRange(double offset, bool checkLimits)
{
    if (checkLimits) {
        if (offset == 0 || !fChart)
            return;
        if (offset > 0 && !(fChart->AxisValueLimit(this, false, fHorizontal) > fMaximum))
            return;
        if (offset < 0 && !(fChart->AxisValueLimit(this, true, fHorizontal) < fMinimum))
            return;
    }
    fAutomatic = fAutomaticMaximum = fAutomaticMinimum = false;
    fMaximum += offset;
    fMinimum += offset;
    repaint();
}

void TChartAxis::SetManualRange(double minimum, double maximum)
{
    fAutomatic = fAutomaticMinimum = fAutomaticMaximum = false;
    if (minimum > maximum)
        std::swap(minimum, maximum);
    store(fMinimum, minimum);
    store(fMaximum, maximum);
    if (fMaximum - fMinimum < 1e-10)
        fMaximum = fMinimum + 1e-10;
}

bool TChartAxis::ShowsDateTime() const
{
    if (!fChart)
        return false;
    for (int i = 0; i < fChart->NumberOfSeries(); ++i) {
        TChartSeries* s = fChart->SeriesAt(i);
        if (!s->Active())
            continue;
        if (TChartValueList* list = s->ValueListForAxis(this))
            return list->DateTime();
    }
    return false;
}

// --- placement and drawing (a plain band; the axis drawing pass refines it) ---

void TChartAxis::PlaceInRect(TRect& r, bool builtIn)
{
    (void)builtIn;
    if (fIsDepth)
        return;
    int size = fTickLength + 2;
    if (Labels() && EffectiveLabelStyle() != talNone)
        size += LabelsThickness();
    if (fHorizontal) {
        if (fOtherSide)
            r.Top += size;
        else
            r.Bottom -= size;
    } else if (fOtherSide)
        r.Right -= size;
    else
        r.Left += size;
}

bool TChartAxis::HitTest(int x, int y) const
{
    if (!fChart || !fShown || !fChart->IsAxisShown(this))
        return false;
    const TRect& cr = fChart->ChartRect();
    const int line = fHorizontal ? (fOtherSide ? cr.Top : cr.Bottom) : (fOtherSide ? cr.Right : cr.Left);
    const int outward = (fHorizontal ? !fOtherSide : fOtherSide) ? 1 : -1;
    const int labels = line + outward * (fTickLength + 2 + LabelsThickness());
    const int a0 = std::min(fStartPixel, fEndPixel), a1 = std::max(fStartPixel, fEndPixel);
    const int c0 = std::min(line - outward * 3, labels), c1 = std::max(line - outward * 3, labels);
    TRect r = fHorizontal ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
    if (fChart->View3D() && fChart->Canvas())
        r = fChart->Canvas()->ProjectRect(r, fOtherSide ? fChart->Width3D() : 0);
    return x >= std::min(r.Left, r.Right) && x <= std::max(r.Left, r.Right) && y >= std::min(r.Top, r.Bottom) &&
           y <= std::max(r.Top, r.Bottom);
}

void TChartAxis::Draw()
{
    if (!fChart || !fChart->Canvas() || fIsDepth)
        return;
    TCanvas3D& c = *fChart->Canvas();
    const TRect& cr = fChart->ChartRect();
    fPosAxis = fHorizontal ? (fOtherSide ? cr.Top : cr.Bottom) : (fOtherSide ? cr.Right : cr.Left);
    const int outward = (fHorizontal ? !fOtherSide : fOtherSide) ? 1 : -1;
    fPosLabels = fPosAxis + outward * (fTickLength + 2);
    ComputeLabels();
    if (fAxisPen->Visible()) {
        c.SelectPen(*fAxisPen);
        if (fHorizontal)
            c.DrawHorizontalLine(fStartPixel, fEndPixel, fPosAxis);
        else
            c.DrawVerticalLine(fPosAxis, fStartPixel, fEndPixel);
    }
    if (fTicks->Visible()) {
        c.SelectPen(*fTicks);
        for (int p : fTickPositions) {
            if (fHorizontal)
                c.DrawVerticalLine(p, fPosAxis, fPosAxis + outward * fTickLength);
            else
                c.DrawHorizontalLine(fPosAxis, fPosAxis + outward * fTickLength, p);
        }
    }
    for (const TAxisLabel& l : fLabelList)
        DrawLabel(l.Pixel, l.Text, l.Item);
}

void TChartAxis::DrawLabel(int pixel, const std::string& text, const TAxisItem* item)
{
    (void)item;
    TCanvas3D& c = *fChart->Canvas();
    c.SetBackgroundMode(1);
    const int w = fChart->MultiLineTextWidth(text);
    const int h = c.FontHeight();
    if (fHorizontal)
        c.OutputText(pixel - w / 2, fOtherSide ? fPosLabels - h : fPosLabels, text);
    else
        c.OutputText(fOtherSide ? fPosLabels : fPosLabels - w, pixel - h / 2, text);
}

void TChartAxis::Assign(const TChartAxis& s)
{
    fAxisPen->Assign(*s.fAxisPen);
    fItems.CopyItems(s.fItems);
    fItems.LabelFrame().SetVisible(s.fItems.LabelFrame().Visible());
    fItems.LabelFrame().SetTransparent(s.fItems.LabelFrame().Transparent());
    fItems.LabelFrame().Font().Assign(s.fItems.LabelFrame().Font());
    fGrid->Assign(*s.fGrid);
    fMinorGrid->Assign(*s.fMinorGrid);
    fTicks->Assign(*s.fTicks);
    fTicksInner->Assign(*s.fTicksInner);
    fMinorTicks->Assign(*s.fMinorTicks);
    fLabelStyle = s.fLabelStyle;
    fLabelsSeparation = s.fLabelsSeparation;
    fLabelsAngle = s.fLabelsAngle;
    fLabelsSize = s.fLabelsSize;
    fLabelsMultiLine = s.fLabelsMultiLine;
    fLabelsExponent = s.fLabelsExponent;
    fLabelsAlternate = s.fLabelsAlternate;
    fLabelsAlign = s.fLabelsAlign;
    fLabelsOnAxis = s.fLabelsOnAxis;
    fTickLength = s.fTickLength;
    fMinorTickLength = s.fMinorTickLength;
    fMinorTickCount = s.fMinorTickCount;
    fValuesFormat = s.fValuesFormat;
    fDateTimeFormat = s.fDateTimeFormat;
    fIncrement = s.fIncrement;
    fMaximum = s.fMaximum;
    fMinimum = s.fMinimum;
    fMaximumOffset = s.fMaximumOffset;
    fMinimumOffset = s.fMinimumOffset;
    fAutomatic = s.fAutomatic;
    fAutomaticMaximum = s.fAutomaticMaximum;
    fAutomaticMinimum = s.fAutomaticMinimum;
    fLogarithmic = s.fLogarithmic;
    fLogBase = s.fLogBase;
    fInverted = s.fInverted;
    fExactDateTime = s.fExactDateTime;
    fRoundFirstLabel = s.fRoundFirstLabel;
    fTickOnLabelsOnly = s.fTickOnLabelsOnly;
    fIsDepth = s.fIsDepth;
    fStartPosition = s.fStartPosition;
    fEndPosition = s.fEndPosition;
    fPositionPercent = s.fPositionPercent;
    fPositionUnits = s.fPositionUnits;
    fVisible = s.fVisible;
    fHorizontal = s.fHorizontal;
    fOtherSide = s.fOtherSide;
    SelectPixelMapping();
    repaint();
}

// --- TChartDepthAxis ---

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const
{
    TCustomAxisPanel* c = ParentChart();
    if (c)
        for (int i = 0; i < c->NumberOfSeries(); ++i) {
            TChartSeries* s = c->SeriesAt(i);
            if (s->Active() && (s->HasOwnZValues() || s->LowestZ() != s->HighestZ()))
                return talValue;
        }
    return talText;
}

void TChartDepthAxis::ChangeInverted(bool on)
{
    TChartAxis::ChangeInverted(on);
    if (TCustomAxisPanel* c = ParentChart()) {
        TChartAxis& other = this == &c->DepthAxis() ? static_cast<TChartAxis&>(c->DepthTopAxis())
                                                    : static_cast<TChartAxis&>(c->DepthAxis());
        if (&other != this && other.Inverted() != on)
            other.TChartAxis::ChangeInverted(on);
    }
}

} // namespace cb::chart
