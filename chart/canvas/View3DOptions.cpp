#include "chart/canvas/View3DOptions.h"
#include "platform/rtl/Property.h"

#include <cmath>

namespace cb::chart {

TView3DOptions::TView3DOptions(TChangeEvent onRepaint) : OnRepaint(std::move(onRepaint)) {}

template <class T>
void TView3DOptions::store(T& field, T value) {
    cb::rtl::SetProperty(field, value, [this] { Repaint(); });
}

void TView3DOptions::Repaint() {
    if (OnRepaint) OnRepaint();
}

void TView3DOptions::SetElevation(int v) {
    store(FSettings.FElevation, v);
}
void TView3DOptions::SetFontZoom(int v) {
    store(FSettings.FFontZoom, v);
}
void TView3DOptions::SetOrthogonal(bool v) {
    store(FSettings.FOrthogonal, v);
}
void TView3DOptions::SetOrthoAngle(int v) {
    store(FSettings.FOrthoAngle, v);
}
void TView3DOptions::SetPerspective(int v) {
    store(FSettings.FPerspective, v);
}
void TView3DOptions::SetRotation(int v) {
    store(FSettings.FRotation, v);
}
void TView3DOptions::SetTilt(int v) {
    store(FSettings.FTilt, v);
}
void TView3DOptions::SetZoomText(bool v) {
    store(FSettings.FZoomText, v);
}

void TView3DOptions::SetHorizOffset(int v) {
    if (FSettings.FHorizOffset != v) {
        FSettings.FHorizOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(true);
    }
}

void TView3DOptions::SetVertOffset(int v) {
    if (FSettings.FVertOffset != v) {
        FSettings.FVertOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(false);
    }
}

void TView3DOptions::SetZoom(int v) {
    if (FSettings.FZoom != v) {
        if (OnZoomChanging) OnZoomChanging(v);
        FSettings.FZoom = v;
        Repaint();
    }
}

double TView3DOptions::OrthoRatio() const {
    if (!FSettings.FOrthogonal) return 1.0;
    const int a = FSettings.FOrthoAngle > 90 ? 180 - FSettings.FOrthoAngle : FSettings.FOrthoAngle;
    return std::tan(a * PiDiv180);
}

void TView3DOptions::Assign(const TView3DOptions& s) {
    FSettings = s.FSettings;
}

}  // namespace cb::chart
