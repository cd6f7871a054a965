#include "chart/axis/ChartAxes.h"

#include "chart/axis/ChartAxis.h"
#include "chart/core/PlotExceptions.h"
#include "chart/panel/CustomAxisPanel.h"

#include <algorithm>
#include <string>

namespace cb::chart {

// --- TChartAxes ---

TChartAxes::~TChartAxes() {
    Clear();
}

void TChartAxes::Add(TChartAxis* axis) {
    FItems.Adopt(axis);
}

void TChartAxes::Remove(const TChartAxis* axis) {
    (void)FItems.Release(axis).release();  // the axis is on its way out
}

void TChartAxes::Destroy(const TChartAxis* axis) {
    FItems.Destroy(axis);
}

void TChartAxes::Clear() {
    FItems.Clear();
}

TChartAxis* TChartAxes::AxisAt(int index) const {
    if (index < 0 || index >= Count()) throw ChartException("Axis index " + std::to_string(index) + " out of bounds.");
    return FItems.At(index);
}

TChartAxis* TChartAxes::GetBottomAxis() const {
    return &FChart->BottomAxis();
}
TChartAxis* TChartAxes::GetTopAxis() const {
    return &FChart->TopAxis();
}
TChartAxis* TChartAxes::GetLeftAxis() const {
    return &FChart->LeftAxis();
}
TChartAxis* TChartAxes::GetRightAxis() const {
    return &FChart->RightAxis();
}
TChartAxis* TChartAxes::GetDepthAxis() const {
    return &FChart->DepthAxis();
}
TChartAxis* TChartAxes::GetDepthTopAxis() const {
    return &FChart->DepthTopAxis();
}
bool TChartAxes::GetAxisBehind() const {
    return FChart->AxisBehind();
}
bool TChartAxes::GetAxisVisible() const {
    return FChart->AxisVisible();
}
void TChartAxes::SetAxisBehind(bool on) {
    FChart->SetAxisBehind(on);
}
void TChartAxes::SetAxisVisible(bool on) {
    FChart->SetAxisVisible(on);
}

// --- TChartCustomAxes ---

TChartAxis* TChartCustomAxes::AxisAt(int index) const {
    if (index < 0 || index >= Count())
        throw ChartException("Custom axis index " + std::to_string(index) + " out of bounds.");
    return FItems[std::size_t(index)];
}

TChartAxis* TChartCustomAxes::Add() {
    return FChart->Axes().Make<TChartAxis>();
}

void TChartCustomAxes::Delete(int index) {
    FChart->Axes().Destroy(AxisAt(index));
}

void TChartCustomAxes::Clear() {
    const std::vector<TChartAxis*> axes = FItems;
    for (auto it = axes.rbegin(); it != axes.rend(); ++it) FChart->Axes().Destroy(*it);  // each leaves this list
    FItems.clear();
}

void TChartCustomAxes::Leave(const TChartAxis* axis) {
    FItems.erase(std::remove(FItems.begin(), FItems.end(), axis), FItems.end());
}

}  // namespace cb::chart
