// What the axes read from the series on them: the automatic label style,
// date-time values, short series and the series' point labels. It lives
// above both, where axes and series are known.
#include "chart/axis/ChartAxis.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace cb::chart {

bool TChartAxis::seriesRunsAlong(TChartSeries* s) const {
    return FSettings.Horizontal ? s->YMandatory() : !s->YMandatory();
}

TAxisLabelStyle TChartAxis::AutoLabelStyle() const {
    TAxisLabelStyle result = talNone;
    if (!FChart) return result;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active() || !s->IsLinkedToAxis(this)) continue;
        if (!s->HasOwnZValues() && seriesRunsAlong(s) && s->PointCount() > 0 && !s->PointLabel(0).empty())
            return talText;
        result = talValue;
    }
    return result;
}

bool TChartAxis::hasShortSeries(int n) const {
    if (!FChart) return false;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (s->Active() && s->IsLinkedToAxis(this) && seriesRunsAlong(s) && s->PointCount() <= n) return true;
    }
    return false;
}

bool TChartAxis::ShowsDateTime() const {
    if (!FChart) return false;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active()) continue;
        if (TChartValueList* list = s->ValueListForAxis(this)) return list->DateTime();
    }
    return false;
}

std::vector<TChartAxis::TSeriesLabel> TChartAxis::seriesLabelTexts(TAxisLabelStyle style) {
    std::vector<TSeriesLabel> labels;
    std::vector<TChartSeries*> linked;
    int first = -1, last = -1;
    for (int i = 0; i < FChart->NumberOfSeries(); ++i) {
        TChartSeries* s = FChart->SeriesAt(i);
        if (!s->Active() || !s->IsLinkedToAxis(this)) continue;
        s->ComputeVisibleRange();
        linked.push_back(s);
        if (s->FirstVisible() != -1) first = first == -1 ? s->FirstVisible() : std::min(first, s->FirstVisible());
        last = std::max(last, s->LastVisible());
    }
    if (first == -1) return labels;
    for (int index = first; index <= last; ++index) {
        std::string text;
        double value = 0;
        bool found = false;
        for (TChartSeries* s : linked) {
            if (s->FirstVisible() == -1 || index < s->FirstVisible() || index > s->LastVisible()) continue;
            text = style == talMark ? FChart->MarkTextOfPoint(s, index) : s->PointLabel(index);
            if (FChart->OnGetAxisLabel) FChart->OnGetAxisLabel(this, s, index, text);
            if (!text.empty()) {
                value = FSettings.Horizontal ? s->XValues().Value(index) : s->YValues().Value(index);
                found = true;
                break;
            }
        }
        if (found) labels.push_back({value, std::move(text)});
    }
    return labels;
}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const {
    TCustomAxisPanel* c = ParentChart();
    if (c)
        for (int i = 0; i < c->NumberOfSeries(); ++i) {
            TChartSeries* s = c->SeriesAt(i);
            if (s->Active() && (s->HasOwnZValues() || s->LowestZ() != s->HighestZ())) return talValue;
        }
    return talText;
}

}  // namespace cb::chart
