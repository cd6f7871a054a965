#include "chart/series/SeriesMarks.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/core/PlotGeometry.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

// --- positions ---

void TSeriesMarkPosition::CopyPlacement(const TSeriesMarkPosition& o) {
    ArrowFrom = o.ArrowFrom;
    ArrowTo = o.ArrowTo;
    LeftTop = o.LeftTop;
    Height = o.Height;
    Width = o.Width;
}

TSeriesMarkPosition* TSeriesMarksPositions::PositionAt(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FItems[std::size_t(index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int index) {
    if (index >= Count()) FItems.resize(std::size_t(index) + 1);
    auto& slot = FItems[std::size_t(index)];
    if (!slot) slot = std::make_unique<TSeriesMarkPosition>();
    return *slot;
}

bool TSeriesMarksPositions::HasCustom() const {
    return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

// --- callout ---

TMarksCallout::TMarksCallout(TChartSeries* series) : TCallout(series) {
    PutVisible(false);
}

void TMarksCallout::ApplyToPosition(TSeriesMarkPosition& p) const {
    const int l = FLength, d = Distance();
    p.LeftTop.Y -= l + d;
    p.ArrowTo.Y -= l + d;
    p.ArrowFrom.Y -= d;
}

void TMarksCallout::Assign(const TSeriesPointer& source) {
    if (auto* s = dynamic_cast<const TMarksCallout*>(&source)) FLength = s->FLength;
    TCallout::Assign(source);
}

// --- marks ---

TSeriesMarks::TSeriesMarks(TChartSeries* series)
    : FSeries(series), FFont(std::make_unique<TPlotFont>([this] { changed(); })), FFrame([this] { changed(); }),
      FBrush([this] { changed(); }) {}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::changed() {
    if (FSeries) FSeries->InvalidateChart();
}

TCanvas3D* TSeriesMarks::canvas() const {
    return FSeries && FSeries->ParentChart() ? FSeries->ParentChart()->Canvas() : nullptr;
}

bool TSeriesMarks::is3D() const {
    return FSeries && FSeries->ParentChart() && FSeries->ParentChart()->View3D();
}

TMarksCallout& TSeriesMarks::Callout() {
    if (!FCallout) FCallout = std::make_unique<TMarksCallout>(FSeries);
    return *FCallout;
}

void TSeriesMarks::Assign(const TSeriesMarks& s) {
    FAngle = s.FAngle;
    if (s.FCallout)
        Callout().Assign(*s.FCallout);
    else
        FCallout.reset();
    FClip = s.FClip;
    FDrawEvery = s.FDrawEvery;
    FStyle = s.FStyle;
    FMultiLine = s.FMultiLine;
    FSymbolVisible = s.FSymbolVisible;
    FVisible = s.FVisible;
    FTransparent = s.FTransparent;
    FColor = s.FColor;
    FShadowSize = s.FShadowSize;
    FFont->Assign(*s.FFont);
    FFrame.Assign(s.FFrame);
    FBrush.Assign(s.FBrush);
}

void TSeriesMarks::ApplyStoredPosition(int index, TSeriesMarkPosition& p) {
    TSeriesMarkPosition& stored = FPositions.Ensure(index);
    if (!stored.Custom) {
        stored.CopyPlacement(p);
        stored.ArrowFix = p.ArrowFix;
        return;
    }
    const TPoint from = p.ArrowFrom;
    p.CopyPlacement(stored);
    if (p.ArrowFix) p.ArrowFrom = from;
}

void TSeriesMarks::ApplyCallout(TSeriesMarkPosition& p) {
    if (FCallout) FCallout->ApplyToPosition(p);
}

TPoint TSeriesMarks::projectionShift(const TSeriesMarkPosition& p) {
    if (!is3D()) return {0, 0};
    TCanvas3D* c = canvas();
    if (!c || c->DrawsTextAtDepth()) return {0, 0};
    const TPoint q = c->ProjectToPoint(p.ArrowTo.X, p.ArrowTo.Y, FDepth);
    return {q.X - p.ArrowTo.X, q.Y - p.ArrowTo.Y};
}

TRect TSeriesMarks::screenBox(const TSeriesMarkPosition& p) {
    TRect r = p.MarkRect();
    if (FFrame.Visible()) {
        r.Right += FFrame.Width();
        r.Bottom += FFrame.Width();
    }
    if (FShadowSize > 0) {
        r.Right += FShadowSize;
        r.Bottom += FShadowSize;
    } else {
        r.Left += FShadowSize;
        r.Top += FShadowSize;
    }
    const TPoint d = projectionShift(p);
    return {r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y};
}

void TSeriesMarks::AvoidOverlap(int first, int index, TSeriesMarkPosition& p) {
    // The box is measured again after every move, and the earlier marks
    // are checked again while a move lands on one of them.
    constexpr int passes = 4;
    TRect r0 = screenBox(p);
    // Flat charts: a mark whose box lies clear sideways is passed over
    // without measuring it.
    const bool flat = !is3D();
    const int pad = (FFrame.Visible() ? FFrame.Width() : 0) + std::abs(FShadowSize) + 1;
    for (int pass = 0; pass < passes; ++pass) {
        bool moved = false;
        for (int j = std::max(first, 0); j < index; ++j) {
            const TSeriesMarkPosition* q = FPositions.PositionAt(j);
            if (!q) continue;
            if (flat && (q->LeftTop.X + q->Width + pad <= r0.Left || q->LeftTop.X - pad >= r0.Right)) continue;
            const TRect r = screenBox(*q);
            const bool meet = r.Left < r0.Right && r0.Left < r.Right && r.Top < r0.Bottom && r0.Top < r.Bottom;
            if (!meet) continue;
            const int d = r0.Top < r.Top ? r0.Bottom - r.Top : r0.Top - r.Bottom;
            p.LeftTop.Y -= d;
            p.ArrowTo.Y -= d;
            r0 = screenBox(p);
            moved = true;
        }
        if (!moved) break;
    }
}

void TSeriesMarks::DrawMark(int index, TColor color, TSeriesMarkPosition& p, const std::string& text) {
    ApplyStoredPosition(index, p);
    TCanvas3D* c = canvas();
    if (!c) return;
    if (FCallout && (FCallout->Visible() || FCallout->Arrow().Visible()))
        FCallout->DrawCallout(p.ArrowFrom, p.ArrowTo, FDepth);
    const TPoint d = projectionShift(p);
    TRect box = p.MarkRect();
    box = {box.Left + d.X, box.Top + d.Y, box.Right + d.X, box.Bottom + d.Y};
    if (!FTransparent) {
        if (FShadowSize != 0) {
            c->Pen().SetStyle(cb::gfx::psClear);
            c->Brush().SetStyle(cb::gfx::bsSolid);
            c->Brush().SetColor(FShadowColor);
            c->DrawRect(box.Left + FShadowSize, box.Top + FShadowSize, box.Right + FShadowSize,
                        box.Bottom + FShadowSize);
        }
        c->AssignBrush(FBrush, FColor);
    } else {
        c->Brush().SetStyle(cb::gfx::bsClear);
        c->SetBackgroundMode(cb::gfx::TRANSPARENT);
    }
    if (FFrame.Visible())
        c->SelectPen(FFrame);
    else
        c->Pen().SetStyle(cb::gfx::psClear);
    c->DrawRect(box.Left, box.Top, box.Right, box.Bottom);
    int textLeft = box.Left + 2;
    if (FSymbolVisible) {
        const int h = c->FontHeight();
        c->Pen().SetStyle(cb::gfx::psSolid);
        c->Pen().SetColor(clBlack);
        c->Brush().SetStyle(cb::gfx::bsSolid);
        c->Brush().SetColor(color);
        const TRect sym{box.Left + 4, box.Top + 3, box.Left + h - 1, box.Top + h - 2};
        c->DrawRect(sym.Left, sym.Top, sym.Right, sym.Bottom);
        textLeft += sym.Right - sym.Left + 4;
    }
    c->Brush().SetStyle(cb::gfx::bsClear);
    c->SetBackgroundMode(cb::gfx::TRANSPARENT);
    c->SetTextAlignment(cb::gfx::TA_CENTER | cb::gfx::TA_TOP);
    DrawMarkText({textLeft, box.Top, box.Right, box.Bottom}, text);
    c->SetTextAlignment(cb::gfx::TA_LEFT | cb::gfx::TA_TOP);
}

void TSeriesMarks::DrawMarkText(const TRect& r, const std::string& text) {
    TCanvas3D* c = canvas();
    if (!c) return;
    const int h = c->FontHeight();
    const bool atDepth = is3D() && c->DrawsTextAtDepth();
    const int angle = FAngle % 360;
    std::size_t start = 0;
    for (int k = 0; start <= text.size(); ++k) {
        const std::size_t end = text.find(LineSeparator, start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (k > 0 && line.size() > 255) line.resize(255);
        int x, y;
        if (angle == 0) {
            x = (r.Left + r.Right) / 2;
            y = r.Top + k * h + (FFrame.Visible() ? FFrame.Width() : 0);
        } else {
            const TPoint m{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
            const double a = angle * PiDiv180;
            const double b = k * h + m.Y - r.Bottom;
            x = m.X + Round(std::sin(a) * b) + (angle == 90 ? 2 : 0);
            y = m.Y + Round(std::cos(a) * b);
        }
        if (angle == 0) {
            if (atDepth)
                c->OutputTextAtDepth(x, y, FDepth, line);
            else
                c->OutputText(x, y, line);
        } else if (atDepth)
            c->OutputRotatedTextAtDepth(x, y, FDepth, line, angle);
        else
            c->OutputRotatedText(x, y, line, angle);
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

int TSeriesMarks::MarkAtPoint(int x, int y) {
    if (TCanvas3D* c = canvas(); c && is3D()) c->UnprojectPoint(x, y, FDepth);
    for (int i = 0; i < FPositions.Count(); ++i) {
        const TSeriesMarkPosition* p = FPositions.PositionAt(i);
        if (!p || i % FDrawEvery != 0) continue;
        const TRect r = p->MarkRect();
        if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) return i;
    }
    return -1;
}

int TSeriesMarks::MarkTextWidth(int index) {
    if (!FSeries || !FSeries->ParentChart()) return 0;
    return FSeries->ParentChart()->MultiLineTextWidth(FSeries->BuildMarkText(index));
}

}  // namespace cb::chart
