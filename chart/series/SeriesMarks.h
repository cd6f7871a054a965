#pragma once
// The marks of a series: framed text boxes next to the points, joined to
// them by an optional callout arrow, with recorded or custom positions per
// point and overlap avoidance for series that stack their marks.
#include "chart/core/PlotTypes.h"
#include "chart/panel/PlotShape.h"
#include "chart/series/SeriesPointer.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"
#include "chart/style/PlotFont.h"
#include "platform/rtl/Property.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cb::chart {

class TChartSeries;
class TCanvas3D;
class TCustomPlotPanel;

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
    // Every setting of its own Assign copies.
    struct TSettings {
        int Length = 8;
        bool operator==(const TSettings&) const = default;
    };

    explicit TMarksCallout(TChartSeries* series);
    int Length() const { return FSettings.Length; }
    void SetLength(int v) { store(FSettings.Length, v); }
    // Box and arrow end up by Length + Distance, the arrow start by Distance.
    void ApplyToPosition(TSeriesMarkPosition& position) const;
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TSeriesPointer& source) override;

private:
    TSettings FSettings;
};

// Gradient of mark boxes: silver to white from the right.
class TSeriesMarksGradient : public TPlotGradient {
public:
    TSeriesMarksGradient();
};

// Per-point settings of one mark's box.
class TMarksItem : public TPlotCustomShape {
public:
    explicit TMarksItem(TCustomPlotPanel* panel);

protected:
    std::unique_ptr<TPlotGradient> CreateGradient() const override;
    void ApplyShadowDefaults(TPlotShadow& s) override;
};

// The colour box inside a mark, in the point's colour; hidden at first.
class TSeriesMarksSymbol : public TPlotCustomShape {
public:
    explicit TSeriesMarksSymbol(TCustomPlotPanel* panel);
    bool IsShown() const { return Visible() && !Transparent(); }
};

class TSeriesMarks;

// One slot per point index, each empty or holding an item (owned).
class TMarksItems {
public:
    explicit TMarksItems(TSeriesMarks& marks) : FMarks(marks) {}
    int Count() const { return int(FItems.size()); }
    // The item of a slot, none beyond the end or for an empty slot.
    TMarksItem* ItemIfAny(int index) const;
    // Pads up to index and fills an empty slot.
    TMarksItem& ItemAt(int index);
    void ClearItems();
    // Set when stored items were read: clearing the series keeps them.
    bool LoadedCustom() const { return FLoadedCustom; }
    void SetLoadedCustom(bool on) { FLoadedCustom = on; }

private:
    TSeriesMarks& FMarks;
    std::vector<std::unique_ptr<TMarksItem>> FItems;
    bool FLoadedCustom = false;
};

// The marks of a series. The shape part is the box of every point without
// an item of its own; the parent panel is the series' chart.
class TSeriesMarks : public TPlotCustomShape {
public:
    // Every setting of its own Assign copies; callout, symbol and items are
    // copied beside.
    struct TSettings {
        TSeriesMarksStyle Style = smsLabel;
        int DrawEvery = 1;
        int Angle = 0;
        bool MultiLine = false;
        bool Clip = false;
        bool operator==(const TSettings&) const = default;
    };

    explicit TSeriesMarks(TChartSeries* series);
    ~TSeriesMarks() override;

    TChartSeries* Series() const { return FSeries; }
    void SetParentPanel(TCustomPlotPanel* panel) override;
    TSeriesMarksStyle Style() const { return FSettings.Style; }
    void SetStyle(TSeriesMarksStyle s) { store(FSettings.Style, s); }
    int DrawEvery() const { return FSettings.DrawEvery; }
    // Values below 1 count as 1.
    void SetDrawEvery(int v) { store(FSettings.DrawEvery, v < 1 ? 1 : v); }
    int Angle() const { return FSettings.Angle; }
    void SetAngle(int v) { store(FSettings.Angle, v); }
    bool MultiLine() const { return FSettings.MultiLine; }
    void SetMultiLine(bool on) { store(FSettings.MultiLine, on); }
    bool Clip() const { return FSettings.Clip; }
    void SetClip(bool on) { store(FSettings.Clip, on); }
    // The same value as Color.
    TColor BackColor() const { return Color(); }
    void SetBackColor(TColor c) { SetColor(c); }
    // The box's outline: the shape's pen.
    TChartPen& Frame() { return Pen(); }
    // Size of the box shadow (grey, 1 pixel by default).
    int ShadowSize() { return Shadow().Size(); }
    void SetShadowSize(int v) { Shadow().SetSize(v); }
    // Made on first read.
    TMarksCallout& Callout();
    bool HasCallout() const { return FCallout != nullptr; }
    // nullptr frees the callout; anything else is copied in.
    void SetCallout(const TMarksCallout* c);
    TChartPen& Arrow() { return Callout().Arrow(); }
    int ArrowLength() { return Callout().Length(); }
    void SetArrowLength(int v) { Callout().SetLength(v); }
    // Made on first read.
    TSeriesMarksSymbol& Symbol();
    bool HasSymbol() const { return FSymbol != nullptr; }
    void SetSymbol(const TSeriesMarksSymbol* s);
    bool SymbolShown() const { return FSymbol && FSymbol->IsShown(); }
    // Depth at which marks are drawn.
    int ZPosition() const { return FDepth; }
    void SetZPosition(int z) { FDepth = z; }

    // Per-point boxes.
    TMarksItems& Items() { return FItems; }
    TMarksItem& PointItem(int index) { return FItems.ItemAt(index); }
    // The item of the point when it has one, else the marks.
    TPlotCustomShape& ItemOrMarks(int index);

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
    // Positions go; items too unless they were read from a stored form.
    void ClearMarks();
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TSeriesMarks& source);

    // The stored "Items" property: a 32-bit little-endian slot count, then
    // per slot a begin marker, the item's settings as name and value texts
    // and an end marker. Reading throws ChartException on a bad stream and
    // then keeps the items it had.
    std::string WriteItems();
    void ReadItems(std::string_view data);

protected:
    std::unique_ptr<TPlotGradient> CreateGradient() const override;
    void ApplyShadowDefaults(TPlotShadow& s) override;

private:
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { changed(); });
    }
    void changed();
    TCanvas3D* canvas() const;
    bool is3D() const;
    TRect screenBox(int index, const TSeriesMarkPosition& p);
    TPoint projectionShift(const TSeriesMarkPosition& p);

    TChartSeries* FSeries;
    TSettings FSettings;
    std::unique_ptr<TMarksCallout> FCallout;
    std::unique_ptr<TSeriesMarksSymbol> FSymbol;
    TSeriesMarksPositions FPositions;
    TMarksItems FItems;
    int FDepth = 0;
};

}  // namespace cb::chart
