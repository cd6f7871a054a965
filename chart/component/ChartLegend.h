#pragma once
// The legend: a framed box that lists the series of the chart or the
// points of one series, each item with a symbol, up to two text columns
// and optionally a check box, with a title, dividing lines and paging.
#include "chart/component/ChartTitle.h"
#include "chart/series/ChartSeries.h"
#include "platform/rtl/Property.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
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
        bool Continuous = false;
        TLegendSymbolPosition Position = spLeft;
        bool Squared = false;
        bool Visible = true;
        int Width = 20;
        TLegendSymbolSize WidthUnits = lcsPercent;
        bool operator==(const TSettings&) const = default;
    };

    explicit TLegendSymbol(TCustomChartLegend* legend);
    bool Continuous() const { return FSettings.Continuous; }
    void SetContinuous(bool on) { store(FSettings.Continuous, on); }
    // True: series draw their symbol with their own pen.
    bool DefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool on) { store(FDefaultPen, on); }
    TChartPen& Pen() { return *FPen; }
    TLegendSymbolPosition Position() const { return FSettings.Position; }
    void SetPosition(TLegendSymbolPosition p) { store(FSettings.Position, p); }
    bool Squared() const { return FSettings.Squared; }
    void SetSquared(bool on) { store(FSettings.Squared, on); }
    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool on) { store(FSettings.Visible, on); }
    int Width() const { return FSettings.Width; }
    void SetWidth(int w) { store(FSettings.Width, w); }
    TLegendSymbolSize WidthUnits() const { return FSettings.WidthUnits; }
    void SetWidthUnits(TLegendSymbolSize u) { store(FSettings.WidthUnits, u); }
    TSymbolDrawEvent OnDraw;
    const TSettings& Settings() const { return FSettings; }
    // Everything but DefaultPen.
    void Assign(const TLegendSymbol& source);

private:
    template <class T>
    void store(T& field, T value) {
        cb::rtl::SetProperty(field, std::move(value), [this] { changed(); });
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
        std::vector<std::string> Text;
        TAlignment TextAlignment = taLeftJustify;
        bool operator==(const TSettings&) const = default;
    };

    explicit TLegendTitle(TCustomPlotPanel* panel);
    const std::vector<std::string>& Text() const { return FSettings.Text; }
    void SetText(const std::vector<std::string>& lines) { Store(FSettings.Text, lines); }
    TAlignment TextAlignment() const { return FSettings.TextAlignment; }
    void SetTextAlignment(TAlignment a) { Store(FSettings.TextAlignment, a); }
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
        TLegendAlignment Alignment = laRight;
        bool CheckBoxes = false;
        TCheckBoxesStyle CheckBoxesStyle = cbsCheck;
        bool CurrentPage = true;
        int FirstValue = 0;
        bool FontSeriesColor = false;
        int HorizMargin = 0;
        bool Inverted = false;
        TLegendStyle LegendStyle = lsAuto;
        int MaxNumRows = 10;
        bool ResizeChart = true;
        TLegendTextStyle TextStyle = ltsLeftValue;
        int TopPos = 10;
        int VertMargin = 0;
        int VertSpacing = 0;
        bool operator==(const TSettings&) const = default;
    };

    // chart: the chart whose series the legend lists (not owned).
    explicit TCustomChartLegend(TCustomAxisPanel* chart);
    ~TCustomChartLegend() override;

    TLegendAlignment Alignment() const { return FSettings.Alignment; }
    void SetAlignment(TLegendAlignment a) { Store(FSettings.Alignment, a); }
    bool CheckBoxes() const { return FSettings.CheckBoxes; }
    void SetCheckBoxes(bool on) { Store(FSettings.CheckBoxes, on); }
    TCheckBoxesStyle CheckBoxesStyle() const { return FSettings.CheckBoxesStyle; }
    // cbsRadio leaves only the first active legend series active.
    void SetCheckBoxesStyle(TCheckBoxesStyle s);
    int ColorWidth() const { return FSymbol->Width(); }
    void SetColorWidth(int w) { FSymbol->SetWidth(w); }
    bool CurrentPage() const { return FSettings.CurrentPage; }
    void SetCurrentPage(bool on) { Store(FSettings.CurrentPage, on); }
    TChartHiddenPen& DividingLines() { return *FDividingLines; }
    int FirstValue() const { return FSettings.FirstValue; }
    // Below 0 raises LegendException and keeps the old value.
    void SetFirstValue(int v);
    bool FontSeriesColor() const { return FSettings.FontSeriesColor; }
    void SetFontSeriesColor(bool on) { Store(FSettings.FontSeriesColor, on); }
    TChartPen& Frame() { return Pen(); }
    int HorizMargin() const { return FSettings.HorizMargin; }
    void SetHorizMargin(int v) { Store(FSettings.HorizMargin, v); }
    bool Inverted() const { return FSettings.Inverted; }
    void SetInverted(bool on) { Store(FSettings.Inverted, on); }
    TLegendStyle LegendStyle() const { return FSettings.LegendStyle; }
    void SetLegendStyle(TLegendStyle s);
    int MaxNumRows() const { return FSettings.MaxNumRows; }
    void SetMaxNumRows(int v) { Store(FSettings.MaxNumRows, v); }
    bool ResizeChart() const { return FSettings.ResizeChart; }
    void SetResizeChart(bool on) { Store(FSettings.ResizeChart, on); }
    TLegendSymbol& Symbol() { return *FSymbol; }
    TLegendTextStyle TextStyle() const { return FSettings.TextStyle; }
    void SetTextStyle(TLegendTextStyle s) { Store(FSettings.TextStyle, s); }
    TLegendTitle& Title() { return *FTitle; }
    int TopPos() const { return FSettings.TopPos; }
    void SetTopPos(int v) { Store(FSettings.TopPos, v); }
    int VertMargin() const { return FSettings.VertMargin; }
    void SetVertMargin(int v) { Store(FSettings.VertMargin, v); }
    int VertSpacing() const { return FSettings.VertSpacing; }
    void SetVertSpacing(int v) { Store(FSettings.VertSpacing, v); }

    // The series a values legend lists; none: the first active series.
    TChartSeries* LegendSeries() const { return FLegendSeries; }
    void SetLegendSeries(TChartSeries* series);
    TCustomAxisPanel* Chart() const { return FChart; }

    // LegendStyle with lsAuto resolved for the chart's series.
    TLegendStyle EffectiveStyle();
    bool IsVertical() const { return FSettings.Alignment == laLeft || FSettings.Alignment == laRight; }
    bool CheckBoxesShown() { return FSettings.CheckBoxes && EffectiveStyle() != lsValues; }
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
