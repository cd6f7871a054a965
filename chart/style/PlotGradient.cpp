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
    cb::rtl::SetProperty(FBalance, v, OnChange);
}

void TCustomPlotGradient::SetDirection(TGradientDirection v) {
    cb::rtl::SetProperty(FDirection, v, OnChange);
}

void TCustomPlotGradient::SetEndColor(TColor v) {
    cb::rtl::SetProperty(FEndColor, v, OnChange);
}

void TCustomPlotGradient::SetRadialX(int v) {
    cb::rtl::SetProperty(FRadialX, v, OnChange);
}

void TCustomPlotGradient::SetRadialY(int v) {
    cb::rtl::SetProperty(FRadialY, v, OnChange);
}

void TCustomPlotGradient::SetStartColor(TColor v) {
    cb::rtl::SetProperty(FStartColor, v, OnChange);
}

void TCustomPlotGradient::SetVisible(bool v) {
    cb::rtl::SetProperty(FVisible, v, OnChange);
}

void TCustomPlotGradient::SetMidColor(TColor c) {
    if (c == clNone) {
        if (FHasMidColor) {
            FHasMidColor = false;
            Changed();
        }
        return;
    }
    if (!FHasMidColor || FMidColor != c) {
        FMidColor = c;
        FHasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::EnableMidColor() {
    if (!FHasMidColor) {
        FHasMidColor = true;
        Changed();
    }
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& s) {
    FBalance = s.FBalance;
    FDirection = s.FDirection;
    FEndColor = s.FEndColor;
    FMidColor = s.FMidColor;
    FRadialX = s.FRadialX;
    FRadialY = s.FRadialY;
    FStartColor = s.FStartColor;
    FVisible = s.FVisible;
    FHasMidColor = s.FHasMidColor;
}

void TPlotFontGradient::SetOutline(bool v) {
    cb::rtl::SetProperty(FOutline, v, [this] { Changed(); });
}

void TPlotFontGradient::Assign(const TCustomPlotGradient& source) {
    TCustomPlotGradient::Assign(source);
    if (auto* f = dynamic_cast<const TPlotFontGradient*>(&source)) FOutline = f->FOutline;
}

}  // namespace cb::chart
