// A series' drawing order, its marks pass and the texts of its marks and
// legend items.
#include "chart/axis/ChartAxis.h"
#include "chart/canvas/Canvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotTexts.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"
#include "chart/series/ChartSeriesList.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

bool TChartSeries::DrawsAscending() {
    TCustomAxisPanel* c = ParentChart();
    if (FYMandatory) {
        const bool inverted = FHorizAxisObj && FHorizAxisObj->Inverted();
        return c && c->InvertedRotation() ? inverted : !inverted;
    }
    return !(FVertAxisObj && FVertAxisObj->Inverted());
}

bool TChartSeries::GroupDrawsForward(int index) {
    (void)index;
    TCustomAxisPanel* c = ParentChart();
    return !(c && c->InvertedRotation());
}

bool TChartSeries::IsFirstOfZGroup() {
    TCustomAxisPanel* c = ParentChart();
    if (!c) return true;
    for (TChartSeries* s : c->SeriesList().Items()) {
        if (s == this) return true;
        if (s->Active() && s->EffectiveZOrder() == EffectiveZOrder()) return false;
    }
    return true;
}

// --- marks ---

void TChartSeries::DrawAllMarks() {
    TCustomAxisPanel* c = ParentChart();
    if (!c || !c->Canvas() || FFirstVisible < 0) return;
    TCanvas3D& canvas = *c->Canvas();
    TSeriesMarks& marks = *FMarks;
    TSeriesMarkPosition position;  // reused for every mark
    const TView3DOptions& view = c->View3DOptions();
    for (int i = FFirstVisible; i <= FLastVisible; ++i) {
        if (i % marks.DrawEvery() != 0 || IsEmptyPoint(i)) continue;
        const std::string text = BuildMarkText(i);
        if (text.empty()) continue;
        TPlotCustomShape& item = marks.ItemOrMarks(i);
        if (!item.Visible()) continue;
        canvas.AssignFont(item.Font());
        if (c->View3D() && !canvas.DrawsTextAtDepth() && view.ZoomText() && view.Zoom() != 100)
            canvas.Font().SetSize(std::max(1, Round(item.Font().Size() * view.Zoom() * 0.01)));
        int lines = 0;
        int width = c->MultiLineTextWidth(text, &lines) + canvas.TextWidth("W");
        const int h = canvas.FontHeight();
        int height = lines * h;
        if (marks.SymbolShown()) width += h - 4;
        if (item.Pen().Visible()) {
            width += 2 * item.Pen().Width();
            height += 2 * item.Pen().Width();
        } else
            height += 1;
        position = TSeriesMarkPosition{};
        position.ArrowTo = {ScreenX(i), ScreenY(i)};
        position.ArrowFrom = position.ArrowTo;
        position.LeftTop = {position.ArrowTo.X - width / 2, position.ArrowTo.Y - height + 1};
        position.Width = width;
        position.Height = height;
        DrawPointMark(i, text, position);
    }
}

void TChartSeries::DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) {
    FMarks->DrawMark(index, PointColor(index), position, text);
}

std::string TChartSeries::PercentText(int index, bool withTotal) {
    const double s = FMandatory->SumOfMagnitudes();
    const double p = s != 0 ? std::fabs(MandatoryValue(index)) * 100 / s : 100;
    std::string text = cb::rtl::FormatFloat(FSettings.PercentFormat, p);
    if (withTotal) {
        std::string format = PlotText(FMarks->MultiLine() ? TPlotText::txtPercentOfLines : TPlotText::txtPercentOf);
        const std::string total = cb::rtl::FormatFloat(FSettings.ValueFormat, s);
        const auto first = format.find("%s");
        format.replace(first, 2, text);
        format.replace(format.find("%s", first + text.size()), 2, total);
        text = format;
    }
    return text;
}

std::string TChartSeries::BuildMarkText(int index) {
    const char sep = FMarks->MultiLine() ? LineSeparator : ' ';
    const std::string value = cb::rtl::FormatFloat(FSettings.ValueFormat, MandatoryValue(index));
    std::string label = PointLabel(index);
    if (label.empty()) label = value;
    auto xText = [&] {
        const double x = FOther->Value(index);
        TChartAxis* axis = FYMandatory ? FHorizAxisObj : FVertAxisObj;
        return axis ? axis->FormatLabelValue(x) : cb::rtl::FormatFloat(FSettings.ValueFormat, x);
    };
    std::string text;
    switch (FMarks->Style()) {
    case smsValue:
        text = value;
        break;
    case smsPercent:
        text = PercentText(index, false);
        break;
    case smsLabel:
        text = label;
        break;
    case smsLabelPercent:
        text = label + sep + PercentText(index, false);
        break;
    case smsLabelValue:
        text = label + sep + value;
        break;
    case smsLegend:
        if (ParentChart()) text = ParentChart()->LegendTextOfPoint(this, index);
        if (!FMarks->MultiLine()) std::replace(text.begin(), text.end(), ColumnSeparator, ' ');
        break;
    case smsPercentTotal:
        text = PercentText(index, true);
        break;
    case smsLabelPercentTotal:
        text = label + sep + PercentText(index, true);
        break;
    case smsXValue:
        text = xText();
        break;
    case smsXY:
        text = xText() + sep + value;
        break;
    }
    if (OnGetMarkText) OnGetMarkText(this, index, text);
    return text;
}

int TChartSeries::WidestMarkText() {
    int widest = 0;
    TCustomAxisPanel* c = ParentChart();
    if (!c) return 0;
    for (int i = 0; i < PointCount(); ++i)
        if (FMarks->Visible()) widest = std::max(widest, c->MultiLineTextWidth(BuildMarkText(i)));
    return widest;
}

std::string TChartSeries::LegendItemText(int item, TLegendTextStyle style) {
    const int i = ValueIndexOfLegendItem(item);
    const double v = MandatoryValue(i);
    const std::string label = PointLabel(i);
    std::string value;
    if (FMandatory->DateTime())
        value = cb::rtl::FormatDateTime(DateTimeFormatForStep(v), v);
    else
        value = cb::rtl::FormatFloat(FSettings.ValueFormat, v);
    // The share of |v|, as the marks show it, so that negative values agree.
    const double s = FMandatory->SumOfMagnitudes();
    const std::string percent = cb::rtl::FormatFloat(FSettings.PercentFormat, s != 0 ? std::fabs(v) * 100 / s : 100);
    auto xText = [&] {
        const double x = FX->Value(i);
        return FHorizAxisObj ? FHorizAxisObj->FormatLabelValue(x) : cb::rtl::FormatFloat(FSettings.ValueFormat, x);
    };
    const std::string col(1, ColumnSeparator);
    switch (style) {
    case ltsPlain:
        return label;
    case ltsLeftValue:
        return label.empty() ? value : value + col + label;
    case ltsRightValue:
        return label.empty() ? value : label + col + value;
    case ltsLeftPercent:
        return label.empty() ? percent : percent + col + label;
    case ltsRightPercent:
        return label.empty() ? percent : label + col + percent;
    case ltsXValue:
        return xText();
    case ltsValue:
        return value;
    case ltsPercent:
        return percent;
    case ltsXAndValue:
        return xText() + col + value;
    case ltsXAndPercent:
        return xText() + col + percent;
    }
    return label;
}

}  // namespace cb::chart
