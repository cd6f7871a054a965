#include "chart/style/PlotGradient.h"

#include "chart/core/PlotGeometry.h"
#include "platform/gfx/Canvas.h"

#include "platform/rtl/Property.h"

#include <algorithm>
#include <cmath>

namespace cb::chart {

TCustomPlotGradient::TCustomPlotGradient(TChangeEvent onChange) : OnChange(std::move(onChange)) {}

void TCustomPlotGradient::Changed() {
    if (OnChange) OnChange();
}

void TCustomPlotGradient::SetBalance(int v) {
    cb::rtl::SetProperty(FSettings.Balance, v, OnChange);
}

void TCustomPlotGradient::SetDirection(TGradientDirection v) {
    cb::rtl::SetProperty(FSettings.Direction, v, OnChange);
}

void TCustomPlotGradient::SetEndColor(TColor v) {
    cb::rtl::SetProperty(FSettings.EndColor, v, OnChange);
}

void TCustomPlotGradient::SetRadialX(int v) {
    cb::rtl::SetProperty(FSettings.RadialX, v, OnChange);
}

void TCustomPlotGradient::SetRadialY(int v) {
    cb::rtl::SetProperty(FSettings.RadialY, v, OnChange);
}

void TCustomPlotGradient::SetStartColor(TColor v) {
    cb::rtl::SetProperty(FSettings.StartColor, v, OnChange);
}

void TCustomPlotGradient::SetVisible(bool v) {
    cb::rtl::SetProperty(FSettings.Visible, v, OnChange);
}

void TCustomPlotGradient::SetMidColor(TColor c) {
    if (c == clNone) {
        if (FSettings.HasMidColor) {
            FSettings.HasMidColor = false;
            Changed();
        }
        return;
    }
    if (!FSettings.HasMidColor || FSettings.MidColor != c) {
        FSettings.MidColor = c;
        FSettings.HasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::EnableMidColor() {
    if (!FSettings.HasMidColor) {
        FSettings.HasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& s) {
    FSettings = s.FSettings;
}

void TPlotFontGradient::SetOutline(bool v) {
    cb::rtl::SetProperty(FSettings.Outline, v, [this] { Changed(); });
}

void TPlotFontGradient::Assign(const TCustomPlotGradient& source) {
    TCustomPlotGradient::Assign(source);
    if (auto* f = dynamic_cast<const TPlotFontGradient*>(&source)) FSettings = f->FSettings;
}

}  // namespace cb::chart
