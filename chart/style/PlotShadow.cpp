#include "chart/style/PlotShadow.h"

#include "chart/core/PlotGeometry.h"
#include "chart/style/PlotGradient.h"

#include "platform/rtl/Property.h"

#include <algorithm>

namespace cb::chart {

TPlotShadow::TPlotShadow(TChangeEvent onChange) : OnChange(std::move(onChange)) {}

void TPlotShadow::Changed() {
    if (OnChange) OnChange();
}

void TPlotShadow::SetColor(TColor v) {
    cb::rtl::SetProperty(FSettings.Color, v, OnChange);
}

void TPlotShadow::SetHorizSize(int v) {
    cb::rtl::SetProperty(FSettings.HorizSize, v, OnChange);
}

void TPlotShadow::SetVertSize(int v) {
    cb::rtl::SetProperty(FSettings.VertSize, v, OnChange);
}

void TPlotShadow::SetSmooth(bool v) {
    cb::rtl::SetProperty(FSettings.Smooth, v, OnChange);
}

void TPlotShadow::SetTransparency(int v) {
    cb::rtl::SetProperty(FSettings.Transparency, std::clamp(v, 0, 100), OnChange);
}

int TPlotShadow::Size() const {
    return std::max(FSettings.HorizSize, FSettings.VertSize);
}

void TPlotShadow::SetSize(int v) {
    if (FSettings.HorizSize != v || FSettings.VertSize != v) {
        FSettings.HorizSize = v;
        FSettings.VertSize = v;
        Changed();
    }
}

void TPlotShadow::Assign(const TPlotShadow& s) {
    FSettings = s.FSettings;
}

}  // namespace cb::chart
