#include "chart/tools/SeriesAnimationTool.h"

#include "chart/core/PlotExceptions.h"
#include "chart/core/PlotTexts.h"
#include "chart/series/ChartSeries.h"

#include <QTimer>

#include <algorithm>
#include <string>

namespace cb::chart {

TSeriesAnimationTool::TSeriesAnimationTool() : FTimer(std::make_unique<QTimer>()) {
    QObject::connect(FTimer.get(), &QTimer::timeout, [this] { step(); });
}

TSeriesAnimationTool::~TSeriesAnimationTool() {
    // The series lives on: it gets its values back.
    if (FRunning) finish(true);
}

std::string TSeriesAnimationTool::DescriptionText() const {
    return PlotText(TPlotText::txtToolSeriesAnimation);
}

void TSeriesAnimationTool::SetSteps(int steps) {
    if (steps < 1) throw ChartException("Series animation: Steps must be at least 1, not " + std::to_string(steps) + ".");
    FSteps = steps;
}

void TSeriesAnimationTool::SetSeries(TChartSeries* series) {
    if (series != Series() && FRunning) finish(true);
    TPlotCustomToolSeries::SetSeries(series);
}

void TSeriesAnimationTool::Notification(TCustomChartElement* gone) {
    // The series is going: stop without touching it.
    if (gone == Series() && FRunning) finish(false);
    TPlotCustomToolSeries::Notification(gone);
}

void TSeriesAnimationTool::Play() {
    TChartSeries* s = Series();
    if (!s || FRunning || s->PointCount() == 0) return;
    TChartValueList& list = s->MandatoryList();
    FKept.assign(list.Data(), list.Data() + list.ValueCount());
    s->HoldUpdates();
    FRunning = true;
    FForward = true;
    startPass();
    FTimer->start(FInterval);
}

void TSeriesAnimationTool::startPass() {
    TChartSeries* s = Series();
    FStart = FStartAtMin ? *std::min_element(FKept.begin(), FKept.end()) : FStartValue;
    TChartValueList& list = s->MandatoryList();
    for (int i = 0; i < list.ValueCount() && i < int(FKept.size()); ++i) list.SetValue(i, FStart);
    FGroup = 0;
    FStep = 0;
    s->InvalidateChart();
}

void TSeriesAnimationTool::step() {
    TChartSeries* s = Series();
    if (!FRunning || !s) return;
    TChartValueList& list = s->MandatoryList();
    const int n = std::min(list.ValueCount(), int(FKept.size()));
    const int size = FDrawEvery == 0 ? n : FDrawEvery;
    const int first = FGroup * size, last = std::min(n, first + size);
    const bool backward = FLoop == salCircular && !FForward;
    const double f = backward ? double(FSteps - FStep) / FSteps : double(FStep) / FSteps;
    const double add = backward ? 0 : FStart - FStart * f;
    for (int j = first; j < last; ++j) list.SetValue(j, f * FKept[std::size_t(j)] + add);
    const int e = FStep;
    if (++FStep > FSteps) {
        FStep = 0;
        ++FGroup;
    }
    if (OnStep) OnStep(this, e);
    if (!FRunning) return;  // stopped by the handler
    s->InvalidateChart();
    if (FGroup * size < n && size > 0) return;
    // End of a pass.
    putBack();
    if (FLoop == salNo) {
        finish(true);
        return;
    }
    FForward = !FForward;
    startPass();
}

void TSeriesAnimationTool::putBack() {
    TChartSeries* s = Series();
    if (!s) return;
    TChartValueList& list = s->MandatoryList();
    for (int i = 0; i < list.ValueCount() && i < int(FKept.size()); ++i) list.SetValue(i, FKept[std::size_t(i)]);
    s->InvalidateChart();
}

void TSeriesAnimationTool::Stop() {
    if (FRunning) finish(true);
}

void TSeriesAnimationTool::finish(bool touchSeries) {
    FTimer->stop();
    FRunning = false;
    if (touchSeries && Series()) {
        putBack();
        Series()->ReleaseUpdates();
    }
    FKept.clear();
}

}  // namespace cb::chart
