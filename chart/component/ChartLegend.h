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
    // Every setting Assign copies; the pen is copied beside.
    struct TSettings {
        bool FContinuous = false;
        TLegendSymbolPosition FPosition = spLeft;
        bool FSquared = false;
        bool FVisible = true;
        int FWidth = 20;
        TLegendSymbolSize FWidthUnits = lcsPercent;
        bool operator==(const TSettings&) const = default;
    };

    explicit TLegendSymbol(TCustomChartLegend* legend);
    bool Continuous() const { return FSettings.FContinuous; }
    void SetContinuous(bool on) { store(FSettings.FContinuous, on); }
    // True: series draw their symbol with their own pen.
    bool DefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool on) { store(FDefaultPen, on); }
    TChartPen& Pen() { return *FPen; }
    TLegendSymbolPosition Position() const { return FSettings.FPosition; }
    void SetPosition(TLegendSymbolPosition p) { store(FSettings.FPosition, p); }
    bool Squared() const { return FSettings.FSquared; }
    void SetSquared(bool on) { store(FSettings.FSquared, on); }
    bool Visible() const { return FSettings.FVisible; }
    void SetVisible(bool on) { store(FSettings.FVisible, on); }
    int Width() const { return FSettings.FWidth; }
    void SetWidth(int w) { store(FSettings.FWidth, w); }
    TLegendSymbolSize WidthUnits() const { return FSettings.FWidthUnits; }
    void SetWidthUnits(TLegendSymbolSize u) { store(FSettings.FWidthUnits, u); }
    TSymbolDrawEvent OnDraw;
    const TSettings& Settings() const { return FSettings; }
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
    TSettings FSettings;
    bool FDefaultPen = true;
    std::unique_ptr<TChartPen> FPen;
};

// The legend's title box: bold, transparent, silver shadow of 2.
class TLegendTitle : public TPlotShape {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        std::vector<std::string> FText;
        TAlignment FTextAlignment = taLeftJustify;
        bool operator==(const TSettings&) const = default;
    };

    explicit TLegendTitle(TCustomPlotPanel* panel);
    const std::vector<std::string>& Text() const { return FSettings.FText; }
    void SetText(const std::vector<std::string>& lines) { Store(FSettings.FText, lines); }
    TAlignment TextAlignment() const { return FSettings.FTextAlignment; }
    void SetTextAlignment(TAlignment a) { Store(FSettings.FTextAlignment, a); }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TLegendTitle& source);

protected:
    void ApplyShadowDefaults(TPlotShadow& s) override;

private:
    TSettings FSettings;
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
    // Every setting of its own Assign copies; dividing lines, symbol and
    // title are copied beside.
    struct TSettings {
        TLegendAlignment FAlignment = laRight;
        bool FCheckBoxes = false;
        TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
        bool FCurrentPage = true;
        int FFirstValue = 0;
        bool FFontSeriesColor = false;
        int FHorizMargin = 0;
        bool FInverted = false;
        TLegendStyle FLegendStyle = lsAuto;
        int FMaxNumRows = 10;
        bool FResizeChart = true;
        TLegendTextStyle FTextStyle = ltsLeftValue;
        int FTopPos = 10;
        int FVertMargin = 0;
        int FVertSpacing = 0;
        bool operator==(const TSettings&) const = default;
    };

    // chart: the chart whose series the legend lists (not owned).
    explicit TCustomChartLegend(TCustomAxisPanel* chart);
    ~TCustomChartLegend() override;

    TLegendAlignment Alignment() const { return FSettings.FAlignment; }
    void SetAlignment(TLegendAlignment a) { Store(FSettings.FAlignment, a); }
    bool CheckBoxes() const { return FSettings.FCheckBoxes; }
    void SetCheckBoxes(bool on) { Store(FSettings.FCheckBoxes, on); }
    TCheckBoxesStyle CheckBoxesStyle() const { return FSettings.FCheckBoxesStyle; }
    // cbsRadio leaves only the first active legend series active.
    void SetCheckBoxesStyle(TCheckBoxesStyle s);
    int ColorWidth() const { return FSymbol->Width(); }
    void SetColorWidth(int w) { FSymbol->SetWidth(w); }
    bool CurrentPage() const { return FSettings.FCurrentPage; }
    void SetCurrentPage(bool on) { Store(FSettings.FCurrentPage, on); }
    TChartHiddenPen& DividingLines() { return *FDividingLines; }
    int FirstValue() const { return FSettings.FFirstValue; }
    // Below 0 raises LegendException and keeps the old value.
    void SetFirstValue(int v);
    bool FontSeriesColor() const { return FSettings.FFontSeriesColor; }
    void SetFontSeriesColor(bool on) { Store(FSettings.FFontSeriesColor, on); }
    TChartPen& Frame() { return Pen(); }
    int HorizMargin() const { return FSettings.FHorizMargin; }
    void SetHorizMargin(int v) { Store(FSettings.FHorizMargin, v); }
    bool Inverted() const { return FSettings.FInverted; }
    void SetInverted(bool on) { Store(FSettings.FInverted, on); }
    TLegendStyle LegendStyle() const { return FSettings.FLegendStyle; }
    void SetLegendStyle(TLegendStyle s);
    int MaxNumRows() const { return FSettings.FMaxNumRows; }
    void SetMaxNumRows(int v) { Store(FSettings.FMaxNumRows, v); }
    bool ResizeChart() const { return FSettings.FResizeChart; }
    void SetResizeChart(bool on) { Store(FSettings.FResizeChart, on); }
    TLegendSymbol& Symbol() { return *FSymbol; }
    TLegendTextStyle TextStyle() const { return FSettings.FTextStyle; }
    void SetTextStyle(TLegendTextStyle s) { Store(FSettings.FTextStyle, s); }
    TLegendTitle& Title() { return *FTitle; }
    int TopPos() const { return FSettings.FTopPos; }
    void SetTopPos(int v) { Store(FSettings.FTopPos, v); }
    int VertMargin() const { return FSettings.FVertMargin; }
    void SetVertMargin(int v) { Store(FSettings.FVertMargin, v); }
    int VertSpacing() const { return FSettings.FVertSpacing; }
    void SetVertSpacing(int v) { Store(FSettings.FVertSpacing, v); }

    // The series a values legend lists; none: the first active series.
    TChartSeries* LegendSeries() const { return FLegendSeries; }
    void SetLegendSeries(TChartSeries* series);
    TCustomAxisPanel* Chart() const { return FChart; }

    // LegendStyle with lsAuto resolved for the chart's series.
    TLegendStyle EffectiveStyle();
    bool IsVertical() const { return FSettings.FAlignment == laLeft || FSettings.FAlignment == laRight; }
    bool CheckBoxesShown() { return FSettings.FCheckBoxes && EffectiveStyle() != lsValues; }
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

    const TSettings& Settings() const { return FSettings; }
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
    TSettings FSettings;
    std::unique_ptr<TChartHiddenPen> FDividingLines;
    TLegendStyle FEffectiveStyle = lsAuto;
    int FLastValue = -1;
    int FSymbolWidth = 0;
    TChartSeries* FLegendSeries = nullptr;
    std::unique_ptr<TLegendSymbol> FSymbol;
    std::unique_ptr<TLegendTitle> FTitle;
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
