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
    cb::rtl::SetProperty(FColor, v, OnChange);
}

void TPlotShadow::SetHorizSize(int v) {
    cb::rtl::SetProperty(FHorizSize, v, OnChange);
}

void TPlotShadow::SetVertSize(int v) {
    cb::rtl::SetProperty(FVertSize, v, OnChange);
}

void TPlotShadow::SetSmooth(bool v) {
    cb::rtl::SetProperty(FSmooth, v, OnChange);
}

void TPlotShadow::SetTransparency(int v) {
    cb::rtl::SetProperty(FTransparency, std::clamp(v, 0, 100), OnChange);
}

int TPlotShadow::Size() const {
    return std::max(FHorizSize, FVertSize);
}

void TPlotShadow::SetSize(int v) {
    if (FHorizSize != v || FVertSize != v) {
        FHorizSize = v;
        FVertSize = v;
        Changed();
    }
}

void TPlotShadow::Assign(const TPlotShadow& s) {
    FColor = s.FColor;
    FHorizSize = s.FHorizSize;
    FVertSize = s.FVertSize;
    FSmooth = s.FSmooth;
    FTransparency = s.FTransparency;
}

}  // namespace cb::chart
