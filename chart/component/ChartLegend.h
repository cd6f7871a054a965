#pragma once
// The legend: a framed box that lists the series of the chart or the
// points of one series, each item with a symbol, up to two text columns
// and optionally a check box, with a title, dividing lines and paging.
#include "chart/component/ChartTitle.h"
#include "chart/series/ChartSeries.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::gfx {
class TCanvas;
}

namespace cb::chart {

class TCustomAxisPanel;
class TCustomChart;
class TCustomChartLegend;

enum TLegendAlignment {
    laLeft,
    laRight,
    laTop,
    laBottom
};
enum TCheckBoxesStyle {
    cbsCheck,
    cbsRadio
};
enum TLegendStyle {
    lsAuto,
    lsSeries,
    lsValues,
    lsLastValues
};
enum TLegendSymbolPosition {
    spLeft,
    spRight
};
enum TLegendSymbolSize {
    lcsPercent,
    lcsPixels
};

using TSymbolDrawEvent =
    std::function<void(class TLegendSymbol* sender, TChartSeries* series, int valueIndex, const TRect& r)>;

class TLegendSymbol {
public:
    explicit TLegendSymbol(TCustomChartLegend* legend);
    bool Continuous() const { return FContinuous; }
    void SetContinuous(bool on) { store(FContinuous, on); }
    // True: series draw their symbol with their own pen.
    bool DefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool on) { store(FDefaultPen, on); }
    TChartPen& Pen() { return *FPen; }
    TLegendSymbolPosition Position() const { return FPosition; }
    void SetPosition(TLegendSymbolPosition p) { store(FPosition, p); }
    bool Squared() const { return FSquared; }
    void SetSquared(bool on) { store(FSquared, on); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool on) { store(FVisible, on); }
    int Width() const { return FWidth; }
    void SetWidth(int w) { store(FWidth, w); }
    TLegendSymbolSize WidthUnits() const { return FWidthUnits; }
    void SetWidthUnits(TLegendSymbolSize u) { store(FWidthUnits, u); }
    TSymbolDrawEvent OnDraw;
    // Everything but DefaultPen.
    void Assign(const TLegendSymbol& source);

private:
    template <class T>
    void store(T& field, T v) {
        if (field != v) {
            field = v;
            changed();
        }
    }
    void changed();
    TCustomChartLegend* FLegend;
    bool FContinuous = false;
    bool FDefaultPen = true;
    std::unique_ptr<TChartPen> FPen;
    TLegendSymbolPosition FPosition = spLeft;
    bool FSquared = false;
    bool FVisible = true;
    int FWidth = 20;
    TLegendSymbolSize FWidthUnits = lcsPercent;
};

// The legend's title box: bold, transparent, silver shadow of 2.
class TLegendTitle : public TPlotShape {
public:
    explicit TLegendTitle(TCustomPlotPanel* panel);
    const std::vector<std::string>& Text() const { return FText; }
    void SetText(const std::vector<std::string>& lines) { Store(FText, lines); }
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment a) { Store(FTextAlignment, a); }
    void Assign(const TLegendTitle& source);

protected:
    void ApplyShadowDefaults(TPlotShadow& s) override;

private:
    std::vector<std::string> FText;
    TAlignment FTextAlignment = taLeftJustify;
};

// Silver to white, right to left.
class TChartLegendGradient : public TPlotGradient {
public:
    TChartLegendGradient();
};

// The two text columns of one item.
struct TLegendItemText {
    std::string Column[2];
};

class TCustomChartLegend : public TPlotCustomShapePosition {
public:
    // chart: the chart whose series the legend lists (not owned).
    explicit TCustomChartLegend(TCustomAxisPanel* chart);
    ~TCustomChartLegend() override;

    TLegendAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment a) { Store(FAlignment, a); }
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool on) { Store(FCheckBoxes, on); }
    TCheckBoxesStyle CheckBoxesStyle() const { return FCheckBoxesStyle; }
    // cbsRadio leaves only the first active legend series active.
    void SetCheckBoxesStyle(TCheckBoxesStyle s);
    int ColorWidth() const { return FSymbol->Width(); }
    void SetColorWidth(int w) { FSymbol->SetWidth(w); }
    bool CurrentPage() const { return FCurrentPage; }
    void SetCurrentPage(bool on) { Store(FCurrentPage, on); }
    TChartHiddenPen& DividingLines() { return *FDividingLines; }
    int FirstValue() const { return FFirstValue; }
    // Below 0 raises LegendException and keeps the old value.
    void SetFirstValue(int v);
    bool FontSeriesColor() const { return FFontSeriesColor; }
    void SetFontSeriesColor(bool on) { Store(FFontSeriesColor, on); }
    TChartPen& Frame() { return Pen(); }
    int HorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(int v) { Store(FHorizMargin, v); }
    bool Inverted() const { return FInverted; }
    void SetInverted(bool on) { Store(FInverted, on); }
    TLegendStyle LegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle s);
    int MaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(int v) { Store(FMaxNumRows, v); }
    bool ResizeChart() const { return FResizeChart; }
    void SetResizeChart(bool on) { Store(FResizeChart, on); }
    TLegendSymbol& Symbol() { return *FSymbol; }
    TLegendTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle s) { Store(FTextStyle, s); }
    TLegendTitle& Title() { return *FTitle; }
    int TopPos() const { return FTopPos; }
    void SetTopPos(int v) { Store(FTopPos, v); }
    int VertMargin() const { return FVertMargin; }
    void SetVertMargin(int v) { Store(FVertMargin, v); }
    int VertSpacing() const { return FVertSpacing; }
    void SetVertSpacing(int v) { Store(FVertSpacing, v); }

    // The series a values legend lists; none: the first active series.
    TChartSeries* LegendSeries() const { return FLegendSeries; }
    void SetLegendSeries(TChartSeries* series);
    TCustomAxisPanel* Chart() const { return FChart; }

    // LegendStyle with lsAuto resolved for the chart's series.
    TLegendStyle EffectiveStyle();
    bool IsVertical() const { return FAlignment == laLeft || FAlignment == laRight; }
    bool CheckBoxesShown() { return FCheckBoxes && EffectiveStyle() != lsValues; }
    // Visible, and check boxes shown or at least one active series.
    bool IsShown();

    // Lays out and draws the legend; without a custom position (and with
    // ResizeChart) it takes its room from the chart rectangle.
    void Paint();
    // Index of the item under the point as last drawn, -1 when none.
    int ItemAtPoint(int x, int y) const;
    // Toggles (or, radio style, selects) the series of the check box under
    // the point; True when one was hit.
    bool ClickCheckBox(int x, int y);
    // Text of one item, as OnGetText may change it.
    std::string ItemText(int index);

    // Results of the last Paint.
    int TotalItems() const { return FTotalItems; }
    int LastValue() const { return FLastValue; }
    int Columns() const { return FColumns; }
    int Rows() const { return FRows; }
    int ItemHeight() const { return FItemHeight; }
    int ItemsTop() const { return FItemsTop; }
    int SymbolWidth() const { return FSymbolWidth; }
    int ColumnWidth(int c) const { return FColumnWidths[c & 1]; }
    const std::vector<TLegendItemText>& ItemTexts() const { return FItems; }

    // The chart's hooks (the chart component sets them).
    std::function<void(TCustomChartLegend*, int index, std::string& text)> OnGetText;
    std::function<void(TRect& bounds)> OnGetRect;
    std::function<void(int index, int& x, int& y, int& xColor)> OnGetPos;

    void Assign(const TCustomChartLegend& source);

protected:
    std::unique_ptr<TPlotGradient> CreateGradient() const override;

private:
    friend class TLegendSymbol;
    int CountItems();
    TChartSeries* ValuesSeries() const;
    // The series of an item of a series legend.
    TChartSeries* ItemSeries(int index) const;
    void MeasureItems(cb::gfx::TCanvas* unused = nullptr);
    int ComputeSymbolWidth(int base) const;
    int TextWidthOfItems() const;
    void DrawItem(int position, int index);
    void DrawTitle();

    TCustomAxisPanel* FChart;
    TLegendAlignment FAlignment = laRight;
    bool FCheckBoxes = false;
    TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
    bool FCurrentPage = true;
    std::unique_ptr<TChartHiddenPen> FDividingLines;
    int FFirstValue = 0;
    bool FFontSeriesColor = false;
    int FHorizMargin = 0;
    bool FInverted = false;
    TLegendStyle FLegendStyle = lsAuto;
    TLegendStyle FEffectiveStyle = lsAuto;
    int FLastValue = -1;
    int FMaxNumRows = 10;
    bool FResizeChart = true;
    int FSymbolWidth = 0;
    TChartSeries* FLegendSeries = nullptr;
    std::unique_ptr<TLegendSymbol> FSymbol;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    std::unique_ptr<TLegendTitle> FTitle;
    int FTopPos = 10;
    int FVertMargin = 0;
    int FVertSpacing = 0;
    int FTotalItems = 0;
    bool FTitleShown = false;
    int FColumns = 0, FRows = 0;
    bool FAutoColumnWidths = true;
    int FColumnWidths[2] = {0, 0};
    std::vector<TLegendItemText> FItems;
    // Layout of the last paint.
    int FItemHeight = 0;
    int FItemsTop = 0;
    int FBlankWidth = 0;
    int FCheckBoxX = 0;
    int FItemAreaX = 0;
    int FTitleHeight = 0;
};

class TChartLegend : public TCustomChartLegend {
public:
    using TCustomChartLegend::TCustomChartLegend;
};

// Draws a series' legend symbol into r of a toolkit canvas; a series with
// no chart is drawn as part of chart (or of a temporary chart).
void DrawSeriesLegendSymbol(TChartSeries& series, cb::gfx::TCanvas& canvas, const TRect& r, TCustomAxisPanel* chart);

}  // namespace cb::chart
