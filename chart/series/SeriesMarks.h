#pragma once
// The marks of a series: framed text boxes next to the points, joined to
// them by an optional callout arrow, with recorded or custom positions per
// point and overlap avoidance for series that stack their marks.
#include "chart/core/PlotTypes.h"
#include "chart/series/SeriesPointer.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

class TChartSeries;
class TCanvas3D;

enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue,
    smsXY
};

// Where one mark goes: ArrowFrom at the point, ArrowTo and the box where the
// mark is drawn.
struct TSeriesMarkPosition {
    TPoint ArrowFrom;
    bool ArrowFix = false;
    TPoint ArrowTo;
    bool Custom = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;

    // Everything but the two flags.
    void CopyPlacement(const TSeriesMarkPosition& other);
    TRect MarkRect() const { return {LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height}; }
};

// One slot per point index, each empty or holding a position.
class TSeriesMarksPositions {
public:
    int Count() const { return int(FItems.size()); }
    // None beyond the end or for an empty slot.
    TSeriesMarkPosition* PositionAt(int index) const;
    // Pads up to index and fills an empty slot.
    TSeriesMarkPosition& Ensure(int index);
    void ClearPositions() { FItems.clear(); }
    bool HasCustom() const;

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

// The callout of marks: hidden at first, a white arrow, and the length
// by which the mark stands off its point.
class TMarksCallout : public TCallout {
public:
    explicit TMarksCallout(TChartSeries* series);
    int Length() const { return FLength; }
    void SetLength(int v) { store(FLength, v); }
    // Box and arrow end up by Length + Distance, the arrow start by Distance.
    void ApplyToPosition(TSeriesMarkPosition& position) const;
    void Assign(const TSeriesPointer& source) override;

private:
    int FLength = 8;
};

class TSeriesMarks {
public:
    explicit TSeriesMarks(TChartSeries* series);
    ~TSeriesMarks();
    TSeriesMarks(const TSeriesMarks&) = delete;
    TSeriesMarks& operator=(const TSeriesMarks&) = delete;

    TChartSeries* Series() const { return FSeries; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool on) { store(FVisible, on); }
    TSeriesMarksStyle Style() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle s) { store(FStyle, s); }
    int DrawEvery() const { return FDrawEvery; }
    // Values below 1 count as 1.
    void SetDrawEvery(int v) { store(FDrawEvery, v < 1 ? 1 : v); }
    int Angle() const { return FAngle; }
    void SetAngle(int v) { store(FAngle, v); }
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool on) { store(FMultiLine, on); }
    bool Clip() const { return FClip; }
    void SetClip(bool on) { store(FClip, on); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on) { store(FTransparent, on); }
    TColor Color() const { return FColor; }
    void SetColor(TColor c) { store(FColor, c); }
    TPlotFont& Font() { return *FFont; }
    TChartPen& Frame() { return FFrame; }
    TChartBrush& Brush() { return FBrush; }
    // Shadow offset of the box (grey, 1 pixel by default).
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int v) { store(FShadowSize, v); }
    TColor ShadowColor() const { return FShadowColor; }
    // Made on first read.
    TMarksCallout& Callout();
    bool HasCallout() const { return FCallout != nullptr; }
    int ArrowLength() { return Callout().Length(); }
    void SetArrowLength(int v) { Callout().SetLength(v); }
    // The colour box before the text.
    bool SymbolVisible() const { return FSymbolVisible; }
    void SetSymbolVisible(bool on) { store(FSymbolVisible, on); }
    // Depth at which marks are drawn.
    int ZPosition() const { return FDepth; }
    void SetZPosition(int z) { FDepth = z; }

    TSeriesMarksPositions& Positions() { return FPositions; }
    void ApplyStoredPosition(int index, TSeriesMarkPosition& position);
    void ApplyCallout(TSeriesMarkPosition& position);
    // Moves position vertically clear of the marks recorded from first up
    // to index - 1.
    void AvoidOverlap(int first, int index, TSeriesMarkPosition& position);
    void DrawMark(int index, TColor color, TSeriesMarkPosition& position, const std::string& text);
    void DrawMarkText(const TRect& r, const std::string& text);
    // Index of the recorded mark under (x, y), or -1.
    int MarkAtPoint(int x, int y);
    int MarkTextWidth(int index);
    void ClearMarks() { FPositions.ClearPositions(); }
    void Assign(const TSeriesMarks& source);

private:
    template <class T>
    void store(T& field, T v) {
        if (field != v) {
            field = v;
            changed();
        }
    }
    void changed();
    TCanvas3D* canvas() const;
    bool is3D() const;
    TRect screenBox(const TSeriesMarkPosition& p);
    TPoint projectionShift(const TSeriesMarkPosition& p);

    TChartSeries* FSeries;
    bool FVisible = false;
    TSeriesMarksStyle FStyle = smsLabel;
    int FDrawEvery = 1;
    int FAngle = 0;
    bool FMultiLine = false;
    bool FClip = false;
    bool FTransparent = false;
    TColor FColor = 0xFF000018;
    std::unique_ptr<TPlotFont> FFont;
    TChartPen FFrame;
    TChartBrush FBrush;
    int FShadowSize = 1;
    TColor FShadowColor = 0x808080;
    std::unique_ptr<TMarksCallout> FCallout;
    bool FSymbolVisible = false;
    TSeriesMarksPositions FPositions;
    int FDepth = 0;
};

}  // namespace cb::chart
