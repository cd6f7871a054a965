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
    store(FElevation, v);
}
void TView3DOptions::SetFontZoom(int v) {
    store(FFontZoom, v);
}
void TView3DOptions::SetOrthogonal(bool v) {
    store(FOrthogonal, v);
}
void TView3DOptions::SetOrthoAngle(int v) {
    store(FOrthoAngle, v);
}
void TView3DOptions::SetPerspective(int v) {
    store(FPerspective, v);
}
void TView3DOptions::SetRotation(int v) {
    store(FRotation, v);
}
void TView3DOptions::SetTilt(int v) {
    store(FTilt, v);
}
void TView3DOptions::SetZoomText(bool v) {
    store(FZoomText, v);
}

void TView3DOptions::SetHorizOffset(int v) {
    if (FHorizOffset != v) {
        FHorizOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(true);
    }
}

void TView3DOptions::SetVertOffset(int v) {
    if (FVertOffset != v) {
        FVertOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(false);
    }
}

void TView3DOptions::SetZoom(int v) {
    if (FZoom != v) {
        if (OnZoomChanging) OnZoomChanging(v);
        FZoom = v;
        Repaint();
    }
}

double TView3DOptions::OrthoRatio() const {
    if (!FOrthogonal) return 1.0;
    const int a = FOrthoAngle > 90 ? 180 - FOrthoAngle : FOrthoAngle;
    return std::tan(a * PiDiv180);
}

void TView3DOptions::Assign(const TView3DOptions& s) {
    FElevation = s.FElevation;
    FFontZoom = s.FFontZoom;
    FHorizOffset = s.FHorizOffset;
    FOrthogonal = s.FOrthogonal;
    FOrthoAngle = s.FOrthoAngle;
    FPerspective = s.FPerspective;
    FRotation = s.FRotation;
    FTilt = s.FTilt;
    FVertOffset = s.FVertOffset;
    FZoom = s.FZoom;
    FZoomText = s.FZoomText;
}

}  // namespace cb::chart
