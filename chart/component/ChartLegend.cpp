#include "chart/component/ChartLegend.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/component/CustomChart.h"
#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotGeometry.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/ScopeGuard.h"

#include <algorithm>
#include <cstdlib>

namespace cb::chart {

// --- symbol, title, gradient ---

TLegendSymbol::TLegendSymbol(TCustomChartLegend* legend) : FLegend(legend) {
    FPen = std::make_unique<TChartPen>([this] { FLegend->RepaintParent(); });
}

void TLegendSymbol::changed() {
    FLegend->RepaintParent();
}

void TLegendSymbol::Assign(const TLegendSymbol& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FPen->Assign(*s.FPen);
}

TLegendTitle::TLegendTitle(TCustomPlotPanel* panel) : TPlotShape(panel) {
    SetTransparent(true);
    SetDefaultTransparent(true);
    WithoutChangeEvent(Font(), [this] { Font().SetStyle(cb::gfx::fsBold); });
}

void TLegendTitle::ApplyShadowDefaults(TPlotShadow& s) {
    s.SetColor(clSilver);
    s.SetSize(2);
    s.SetDefaultColor(clSilver);
    s.SetDefaultSize(2);
}

void TLegendTitle::Assign(const TLegendTitle& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    TPlotShape::Assign(s);
}

TChartLegendGradient::TChartLegendGradient() {
    SetDirection(gdRightLeft);
    SetStartColor(clSilver);
    SetEndColor(clWhite);
}

// --- legend ---

TCustomChartLegend::TCustomChartLegend(TCustomAxisPanel* chart) : TPlotCustomShapePosition(chart), FChart(chart) {
    FSymbol = std::make_unique<TLegendSymbol>(this);
    FDividingLines = std::make_unique<TChartHiddenPen>([this] {
        if (FChart) FChart->SettingChanged();
    });
    FTitle = std::make_unique<TLegendTitle>(chart);
}

TCustomChartLegend::~TCustomChartLegend() = default;

std::unique_ptr<TPlotGradient> TCustomChartLegend::CreateGradient() const {
    return std::make_unique<TChartLegendGradient>();
}

void TCustomChartLegend::SetFirstValue(int v) {
    if (v < 0) throw LegendException(PlotText(TPlotText::msgLegendFirstValue));
    Store(FSettings.FirstValue, v);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle s) {
    Store(FSettings.LegendStyle, s);
    EffectiveStyle();
}

void TCustomChartLegend::SetLegendSeries(TChartSeries* series) {
    Store(FLegendSeries, series);
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle s) {
    if (FSettings.CheckBoxesStyle == s) return;
    FSettings.CheckBoxesStyle = s;
    if (s == cbsRadio && FChart) {
        bool first = true;
        for (TChartSeries* series : std::vector<TChartSeries*>(FChart->SeriesList().Items())) {
            if (!series->ShowInLegend() || !series->Active()) continue;
            if (!first) series->SetActive(false);
            first = false;
        }
    }
    RepaintParent();
}

TLegendStyle TCustomChartLegend::EffectiveStyle() {
    FEffectiveStyle = FSettings.LegendStyle;
    if (FSettings.LegendStyle == lsAuto)
        FEffectiveStyle = FSettings.CheckBoxes || (FChart && FChart->ActiveSeriesCount() > 1) ? lsSeries : lsValues;
    return FEffectiveStyle;
}

bool TCustomChartLegend::IsShown() {
    return Visible() && (CheckBoxesShown() || (FChart && FChart->ActiveSeriesCount() > 0));
}

TChartSeries* TCustomChartLegend::ValuesSeries() const {
    if (FLegendSeries) return FLegendSeries;
    if (!FChart) return nullptr;
    for (TChartSeries* s : FChart->SeriesList().Items())
        if (s->Active()) return s;
    return nullptr;
}

TChartSeries* TCustomChartLegend::ItemSeries(int index) const {
    return FChart ? FChart->LegendSeriesAt(index, !FSettings.CheckBoxes) : nullptr;
}

int TCustomChartLegend::CountItems() {
    if (!FChart) return 0;
    if (FEffectiveStyle == lsValues) {
        TChartSeries* s = ValuesSeries();
        return s && s->ShowInLegend() ? s->LegendItemCount() : 0;
    }
    int n = 0;
    for (TChartSeries* s : FChart->SeriesList().Items())
        n += s->ShowInLegend() && (FSettings.CheckBoxes || s->Active());
    return n;
}

std::string TCustomChartLegend::ItemText(int index) {
    std::string text;
    if (FChart) {
        if (FEffectiveStyle == lsSeries) {
            if (ItemSeries(index)) text = FChart->SeriesLegendTitle(index, !FSettings.CheckBoxes);
        } else if (FEffectiveStyle == lsValues) {
            if (TChartSeries* s = ValuesSeries()) text = FChart->LegendTextOfPoint(s, s->ValueIndexOfLegendItem(index));
        } else if (TChartSeries* s = ItemSeries(index)) {
            text = FChart->LegendTextOfPoint(s, s->PointCount() - 1);
        }
    }
    if (OnGetText) OnGetText(this, index, text);
    return text;
}

void TCustomChartLegend::MeasureItems(cb::gfx::TCanvas*) {
    FItems.clear();
    for (int i = FSettings.FirstValue; i <= FLastValue; ++i) {
        const std::string text = ItemText(i);
        TLegendItemText item;
        const auto a = text.find(ColumnSeparator);
        if (a == std::string::npos) {
            item.Column[0] = text;
        } else {
            item.Column[0] = text.substr(0, a);
            const auto b = text.find(ColumnSeparator, a + 1);
            item.Column[1] = text.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
        }
        FItems.push_back(std::move(item));
    }
    if (!FAutoColumnWidths || !FChart || !FChart->Canvas()) return;
    TCanvas3D& c = *FChart->Canvas();
    FColumnWidths[0] = FColumnWidths[1] = 0;
    for (const TLegendItemText& item : FItems)
        for (int k = 0; k < 2; ++k)
            if (!item.Column[k].empty()) FColumnWidths[k] = std::max(FColumnWidths[k], c.TextWidth(item.Column[k]));
}

int TCustomChartLegend::TextWidthOfItems() const {
    return FColumnWidths[0] + FColumnWidths[1] + 2 * FBlankWidth - 1;
}

int TCustomChartLegend::ComputeSymbolWidth(int base) const {
    if (!FSymbol->Visible()) return 0;
    if (FSymbol->Squared()) return FItemHeight - 5;
    if (FSymbol->WidthUnits() == lcsPixels) return FSymbol->Width();
    return Round(FSymbol->Width() * base / 100.0);
}

void TCustomChartLegend::Paint() {
    if (!FChart || !FChart->Canvas()) return;
    TCustomAxisPanel& chart = *FChart;
    TCanvas3D& c = *chart.Canvas();
    const TLegendStyle style = EffectiveStyle();
    int fw = Pen().Visible() ? Pen().Width() : 0;
    if (Bevel() != bcNone) fw = BevelWidth();
    const int perPage = chart.MaxPointsPerPage();
    const bool paging = style == lsValues && FSettings.CurrentPage && perPage > 0;
    if (paging)
        FSettings.FirstValue = (chart.Page() - 1) * perPage;
    else if (perPage > 0 && style != lsValues)
        FSettings.FirstValue = 0;
    FTotalItems = std::max(0, CountItems() - FSettings.FirstValue);
    if (paging) FTotalItems = std::min(FTotalItems, perPage);
    FLastValue = -1;
    FColumns = FRows = 0;

    chart.SetLegendColor(Color());
    c.AssignFont(Font());
    FBlankWidth = c.TextWidth(" ");
    const bool boxes = CheckBoxesShown();
    FItemHeight = c.FontHeight();
    if (boxes) FItemHeight = std::max(FItemHeight, 17);
    FItemHeight += FSettings.VertSpacing;
    if (IsVertical() && FDividingLines->Visible()) FItemHeight += FDividingLines->Width();

    FTitleShown = FTitle->Visible() && !FTitle->Text().empty();
    FTitleHeight = 0;
    int titleWidth = 0;
    int titleShadowV = 0;
    if (FTitleShown) {
        c.AssignFont(FTitle->Font());
        const int penWidth = FTitle->Pen().Visible() ? FTitle->Pen().Width() : 0;
        FTitleHeight = int(FTitle->Text().size()) * c.FontHeight();
        for (const std::string& line : FTitle->Text()) titleWidth = std::max(titleWidth, c.TextWidth(line));
        titleWidth += c.TextWidth("W");
        if (!FTitle->Transparent()) {
            FTitleHeight += 2 + 2 * penWidth;
            titleWidth += 2 * penWidth + FTitle->Shadow().HorizSize();
            titleShadowV = std::abs(FTitle->Shadow().VertSize());
        }
        c.AssignFont(Font());
    }
    const int titleRoom = FTitleShown ? FTitleHeight + 2 + titleShadowV : 0;

    const bool custom = CustomPosition();
    TRect& box = Bounds();
    const TRect chartRect = chart.ChartRect();
    const bool vertical = IsVertical();
    if (vertical) {
        if (!custom) box.Top = chart.ChartBounds().Top + Round(FSettings.TopPos * chart.ChartBounds().Height() / 100.0);
        FItemsTop = box.Top + titleRoom;
        FColumns = 1;
        FRows = FItemsTop >= chartRect.Bottom
                    ? 0
                    : std::min(FTotalItems, std::max(0, (chartRect.Bottom - 2 * fw - FItemsTop) / FItemHeight));
        FLastValue = FSettings.FirstValue + std::min(FTotalItems, FRows) - 1;
        MeasureItems();
    } else {
        FLastValue = FSettings.FirstValue + FTotalItems - 1;
        MeasureItems();
        FSymbolWidth = ComputeSymbolWidth(FColumnWidths[0] + FColumnWidths[1]);
        if (!custom) {
            if (FSettings.Alignment == laBottom)
                box.Bottom = chartRect.Bottom - (chart.Shadow().VertSize() + fw + 1);
            else
                box.Top = chartRect.Top + fw + 1;
        }
        const int itemWidth = FSymbolWidth + TextWidthOfItems() + 8 + (boxes ? 27 : 0);
        const int fit = (chart.ChartWidth() - 2 * fw - 8) / std::max(1, itemWidth);
        FColumns = std::max(0, std::min(FTotalItems, fit));
        FRows = FColumns < 1 ? 0 : std::min((FTotalItems + FColumns - 1) / FColumns, FSettings.MaxNumRows);
        FLastValue = FSettings.FirstValue + std::min(FTotalItems, FColumns * FRows) - 1;
        if (FLastValue < FSettings.FirstValue + FTotalItems - 1)
            FItems.resize(std::size_t(std::max(0, FLastValue - FSettings.FirstValue + 1)));
    }
    if (FLastValue < FSettings.FirstValue) return;

    const int height = FItemHeight * FRows + 2 + titleRoom;
    if (FSettings.Alignment == laBottom && !custom)
        box.Top = box.Bottom - height;
    else
        box.Bottom = box.Top + height;
    if (!vertical) FItemsTop = box.Top + titleRoom;

    const int textWidth = TextWidthOfItems();
    if (vertical) {
        FSymbolWidth = ComputeSymbolWidth(FColumnWidths[0] + FColumnWidths[1] + 10);
        int width = textWidth + 10 + FSymbolWidth;
        if (FTitleShown) width = std::max(width, titleWidth);
        if (FSettings.Alignment == laLeft || custom) {
            if (!custom) box.Left = chartRect.Left + fw + 1;
        } else {
            box.Right = chartRect.Right - (Shadow().HorizSize() + fw + 1);
            box.Left = box.Right - width - (boxes ? 15 : 0);
        }
        FItemAreaX = boxes ? box.Left + 15 : box.Left;
        box.Right = FItemAreaX + width;
    } else {
        int width = FColumns * (textWidth + FSymbolWidth + 6) + 6;
        if (boxes) width += 13 * FColumns + 8;
        width = std::min(width, chart.ChartWidth());
        const int half = width / 2;
        if (!custom)
            box.Left = Round(FSettings.TopPos * (chart.ChartBounds().Width() - 2 * half) / 100.0) +
                       chart.ChartXCenter() - half;
        box.Right = box.Left + 2 * half;
        FItemAreaX = boxes ? box.Left + 15 : box.Left;
    }
    FCheckBoxX = box.Left + 4;

    if (OnGetRect) OnGetRect(box);
    DrawInBounds();
    if (FTitleShown) DrawTitle();
    c.AssignFont(Font());
    for (int p = 0; p <= FLastValue - FSettings.FirstValue; ++p)
        DrawItem(p, FSettings.Inverted ? FLastValue - p : FSettings.FirstValue + p);
    chart.SetLegendPen(nullptr);

    if (FSettings.ResizeChart && !custom) {
        TRect& r = chart.ChartRect();
        switch (FSettings.Alignment) {
        case laLeft:
            r.Left = box.Right;
            break;
        case laRight:
            r.Right = box.Left;
            break;
        case laTop:
            r.Top = box.Bottom + chart.Shadow().VertSize();
            break;
        case laBottom:
            r.Bottom = box.Top;
            break;
        }
        if (vertical) {
            const int m = FSettings.HorizMargin != 0 ? FSettings.HorizMargin : 3 * chart.ChartWidth() / 100;
            if (FSettings.Alignment == laLeft)
                r.Left += m;
            else
                r.Right -= m;
        } else {
            const int m = FSettings.VertMargin != 0 ? FSettings.VertMargin : 4 * chart.ChartHeight() / 100;
            if (FSettings.Alignment == laTop)
                r.Top += m;
            else
                r.Bottom -= m;
        }
        chart.NormalizeChartRect();
    }
}

void TCustomChartLegend::DrawTitle() {
    TCanvas3D& c = *FChart->Canvas();
    const TRect& box = Bounds();
    TRect& t = FTitle->Bounds();
    t = {box.Left + 2, box.Top + 2, box.Right - 2, box.Top + 2 + FTitleHeight};
    if (!FTitle->Transparent()) {
        const int h = FTitle->Shadow().HorizSize(), v = FTitle->Shadow().VertSize();
        if (h > 0)
            t.Right -= h;
        else
            t.Left -= h;
        if (v < 0) t.Top -= v;
    }
    FTitle->DrawInBounds();
    c.AssignFont(FTitle->Font());
    c.SetBackgroundMode(1);
    c.SetTextAlignment(cb::gfx::TA_LEFT);
    const int w = c.TextWidth("W");
    const int lineHeight = c.FontHeight();
    int i = 0;
    for (const std::string& line : FTitle->Text()) {
        int x;
        if (FTitle->TextAlignment() == taLeftJustify)
            x = t.Left + w / 2;
        else if (FTitle->TextAlignment() == taRightJustify)
            x = t.Right - c.TextWidth(line) - w / 2;
        else
            x = (t.Left + t.Right) / 2 - c.TextWidth(line) / 2;
        c.OutputText(x, t.Top + 1 + i * lineHeight, line);
        ++i;
    }
}

void TCustomChartLegend::DrawItem(int p, int index) {
    TCustomAxisPanel& chart = *FChart;
    TCanvas3D& c = *chart.Canvas();
    c.Brush().SetColor(Color());
    c.Brush().SetStyle(cb::gfx::bsClear);
    chart.SetLegendPen(FSymbol->DefaultPen() ? nullptr : &FSymbol->Pen());
    const bool boxes = CheckBoxesShown();
    const bool vertical = IsVertical();
    const int textWidth = TextWidthOfItems();
    const int row = vertical ? p : p / std::max(1, FColumns);
    const int offset = vertical ? 0 : (textWidth + FSymbolWidth + 6 + (boxes ? 15 : 0)) * (p % std::max(1, FColumns));
    int y = FItemsTop + 1 + FItemHeight * row + FSettings.VertSpacing / 2;
    int symbolX, textX;
    if (FSymbol->Position() == spLeft) {
        symbolX = FItemAreaX + 6;
        textX = symbolX + FSymbolWidth + 4;
    } else {
        textX = FItemAreaX + 6;
        symbolX = textX + textWidth;
    }
    symbolX += offset;
    textX += offset;
    if (OnGetPos) OnGetPos(index, textX, y, symbolX);

    TChartSeries* series = FEffectiveStyle == lsValues ? ValuesSeries() : ItemSeries(index);
    c.AssignFont(Font());
    if (FSettings.FontSeriesColor && series) {
        const TColor col = FEffectiveStyle == lsValues ? series->LegendItemColor(index) : series->SeriesColor();
        c.Font().SetColor(col);
    }
    c.SetBackgroundMode(1);
    const std::size_t slot = std::size_t(index - FSettings.FirstValue);
    if (slot < FItems.size()) {
        const TLegendItemText& item = FItems[slot];
        int x = textX;
        const int ty = y + (boxes ? 1 : 0);
        for (int col = 0; col < 2; ++col) {
            bool right = false;
            if (FEffectiveStyle != lsSeries) {
                if (col == 0)
                    right = FSettings.TextStyle == ltsLeftValue || FSettings.TextStyle == ltsLeftPercent ||
                            FSettings.TextStyle == ltsXValue || FSettings.TextStyle == ltsValue ||
                            FSettings.TextStyle == ltsPercent || FSettings.TextStyle == ltsXAndValue ||
                            FSettings.TextStyle == ltsXAndPercent;
                else
                    right = FSettings.TextStyle == ltsRightValue || FSettings.TextStyle == ltsRightPercent ||
                            FSettings.TextStyle == ltsXAndValue || FSettings.TextStyle == ltsXAndPercent;
            }
            if (right) {
                x += FColumnWidths[col];
                c.SetTextAlignment(cb::gfx::TA_RIGHT);
                c.OutputText(x, ty, item.Column[col]);
            } else {
                c.SetTextAlignment(cb::gfx::TA_LEFT);
                c.OutputText(x, ty, item.Column[col]);
                x += FColumnWidths[col];
            }
            x += FBlankWidth;
        }
        c.SetTextAlignment(cb::gfx::TA_LEFT);
    }

    TRect sym{symbolX, y, symbolX + FSymbolWidth, y + FItemHeight + 1};
    const int lastPosition = FLastValue - FSettings.FirstValue;
    if (!(FSymbol->Continuous() && p > 0)) sym.Top += 2;
    if (!(FSymbol->Continuous() && p == lastPosition)) sym.Bottom -= FSettings.VertSpacing + 3;
    int valueIndex = -1;
    if (FEffectiveStyle == lsValues) {
        if (series) {
            valueIndex = series->ValueIndexOfLegendItem(index);
            if (FSymbolWidth > 0) series->DrawLegendItem(valueIndex, sym, chart.LegendColor(), chart.LegendPen());
        } else if (FSymbolWidth > 0) {
            c.SelectPen(FSymbol->Pen());
            c.Brush().SetStyle(cb::gfx::bsSolid);
            c.Brush().SetColor(clWhite);
            c.DrawRectangle(sym);
        }
    } else if (series) {
        if (boxes && c.ReferenceCanvas()) {
            const int boxY = y + (FItemHeight - FSettings.VertSpacing - 11) / 2 - 1;
            DrawCheckGlyph(FCheckBoxX + offset, boxY, *c.ReferenceCanvas(), series->Active(),
                           FSettings.CheckBoxesStyle == cbsCheck);
        }
        if (FSymbolWidth > 0) series->DrawLegendItem(-1, sym, chart.LegendColor(), chart.LegendPen());
    }
    if (FSymbol->OnDraw) FSymbol->OnDraw(FSymbol.get(), series, valueIndex, sym);

    if (p > 0 && FDividingLines->Visible()) {
        c.SelectPen(*FDividingLines);
        c.SetBackgroundMode(1);
        const TRect& box = Bounds();
        if (vertical)
            c.DrawHorizontalLine(box.Left, box.Right, y - FSettings.VertSpacing / 2);
        else
            c.DrawVerticalLine(box.Left + offset + 2, box.Top, box.Bottom);
    }
}

int TCustomChartLegend::ItemAtPoint(int x, int y) const {
    const TRect& box = Bounds();
    if (!RectContainsPoint(box, x, y) || FColumns < 1) return -1;
    int row = -1;
    for (int r = 0; r < FRows; ++r) {
        const int top = FItemsTop + 1 + r * FItemHeight;
        if (top <= y && y <= top + FItemHeight) {
            row = FSettings.Inverted ? FRows - r - 1 : r;
            break;
        }
    }
    if (row < 0) return -1;
    if (IsVertical()) return FSettings.FirstValue + row;
    const int colWidth = box.Width() / FColumns;
    if (colWidth <= 0) return -1;
    for (int col = 0; col < FColumns; ++col) {
        const int left = box.Left + 1 + col * colWidth;
        if (left <= x && x <= left + colWidth) {
            const int item = row * FColumns + (FSettings.Inverted ? FColumns - col - 1 : col);
            return item > FTotalItems - 1 ? -1 : FSettings.FirstValue + item;
        }
    }
    return -1;
}

bool TCustomChartLegend::ClickCheckBox(int x, int y) {
    if (!CheckBoxesShown() || !FChart) return false;
    const int item = ItemAtPoint(x, y);
    if (item < 0) return false;
    if (FSettings.CheckBoxesStyle == cbsRadio) {
        // Only series listed in the legend take part; those left out of it
        // keep their state.
        for (int i = 0; i < FChart->NumberOfSeries(); ++i)
            if (TChartSeries* s = FChart->LegendSeriesAt(i, false)) s->SetActive(i == item);
    } else if (TChartSeries* s = FChart->LegendSeriesAt(item, false)) {
        s->SetActive(!s->Active());
    }
    return true;
}

void TCustomChartLegend::Assign(const TCustomChartLegend& s) {
    if (this == &s) return;
    FSettings = s.FSettings;
    FDividingLines->Assign(*s.FDividingLines);
    FSymbol->Assign(*s.FSymbol);
    FTitle->Assign(*s.FTitle);
    TPlotCustomShapePosition::Assign(s);
}

}  // namespace cb::chart

namespace cb::chart {

void DrawSeriesLegendSymbol(TChartSeries& series, cb::gfx::TCanvas& canvas, const TRect& r, TCustomAxisPanel* chart) {
    std::unique_ptr<TCustomChart> temporary;
    TCustomAxisPanel* owner = series.ParentChart();
    const bool attach = owner == nullptr;
    if (attach) {
        if (!chart) {
            temporary = std::make_unique<TCustomChart>();
            chart = temporary.get();
        }
        series.SetParentChart(chart);
        owner = chart;
    }
    auto detach = cb::rtl::OnScopeExit([&] {
        if (attach) owner->RemoveSeries(&series);
    });
    TCanvas3D* c = owner->Canvas();
    if (!c) return;
    TColor legendColor = owner->LegendColor();
    TChartPen* legendPen = nullptr;
    if (auto* full = dynamic_cast<TCustomChart*>(owner)) {
        legendColor = full->Legend().Color();
        if (!full->Legend().Symbol().DefaultPen()) legendPen = &full->Legend().Symbol().Pen();
    }
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Brush().SetColor(legendColor);
    if (c->IsFull3D()) {
        series.DrawLegendItem(-1, r, legendColor, legendPen);
        return;
    }
    cb::gfx::TCanvas* previous = c->ReferenceCanvas();
    c->AttachCanvas(&canvas);
    auto reattach = cb::rtl::OnScopeExit([&] { c->AttachCanvas(previous); });
    series.DrawLegendItem(-1, r, legendColor, legendPen);
}

}  // namespace cb::chart
