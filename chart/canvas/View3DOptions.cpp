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
    store(FSettings.Elevation, v);
}
void TView3DOptions::SetFontZoom(int v) {
    store(FSettings.FontZoom, v);
}
void TView3DOptions::SetOrthogonal(bool v) {
    store(FSettings.Orthogonal, v);
}
void TView3DOptions::SetOrthoAngle(int v) {
    store(FSettings.OrthoAngle, v);
}
void TView3DOptions::SetPerspective(int v) {
    store(FSettings.Perspective, v);
}
void TView3DOptions::SetRotation(int v) {
    store(FSettings.Rotation, v);
}
void TView3DOptions::SetTilt(int v) {
    store(FSettings.Tilt, v);
}
void TView3DOptions::SetZoomText(bool v) {
    store(FSettings.ZoomText, v);
}

void TView3DOptions::SetHorizOffset(int v) {
    if (FSettings.HorizOffset != v) {
        FSettings.HorizOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(true);
    }
}

void TView3DOptions::SetVertOffset(int v) {
    if (FSettings.VertOffset != v) {
        FSettings.VertOffset = v;
        Repaint();
        if (OnScrolled) OnScrolled(false);
    }
}

void TView3DOptions::SetZoom(int v) {
    if (FSettings.Zoom != v) {
        if (OnZoomChanging) OnZoomChanging(v);
        FSettings.Zoom = v;
        Repaint();
    }
}

double TView3DOptions::OrthoRatio() const {
    if (!FSettings.Orthogonal) return 1.0;
    const int a = FSettings.OrthoAngle > 90 ? 180 - FSettings.OrthoAngle : FSettings.OrthoAngle;
    return std::tan(a * PiDiv180);
}

void TView3DOptions::Assign(const TView3DOptions& s) {
    FSettings = s.FSettings;
}

}  // namespace cb::chart
