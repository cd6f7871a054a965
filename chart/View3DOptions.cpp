#include "chart/View3DOptions.h"

#include <cmath>

namespace cb::chart {

TView3DOptions::TView3DOptions(TChangeEvent onRepaint) : OnRepaint(std::move(onRepaint)) {}

template <class T> void TView3DOptions::store(T& field, T value)
{
    if (field != value) {
        field = value;
        Repaint();
    }
}

void TView3DOptions::Repaint()
{
    if (OnRepaint)
        OnRepaint();
}

void TView3DOptions::SetElevation(int v) { store(fElevation, v); }
void TView3DOptions::SetFontZoom(int v) { store(fFontZoom, v); }
void TView3DOptions::SetOrthogonal(bool v) { store(fOrthogonal, v); }
void TView3DOptions::SetOrthoAngle(int v) { store(fOrthoAngle, v); }
void TView3DOptions::SetPerspective(int v) { store(fPerspective, v); }
void TView3DOptions::SetRotation(int v) { store(fRotation, v); }
void TView3DOptions::SetTilt(int v) { store(fTilt, v); }
void TView3DOptions::SetZoomText(bool v) { store(fZoomText, v); }

void TView3DOptions::SetHorizOffset(int v)
{
    if (fHorizOffset != v) {
        fHorizOffset = v;
        Repaint();
        if (OnScrolled)
            OnScrolled(true);
    }
}

void TView3DOptions::SetVertOffset(int v)
{
    if (fVertOffset != v) {
        fVertOffset = v;
        Repaint();
        if (OnScrolled)
            OnScrolled(false);
    }
}

void TView3DOptions::SetZoom(int v)
{
    if (fZoom != v) {
        if (OnZoomChanging)
            OnZoomChanging(v);
        fZoom = v;
        Repaint();
    }
}

double TView3DOptions::OrthoRatio() const
{
    if (!fOrthogonal)
        return 1.0;
    const int a = fOrthoAngle > 90 ? 180 - fOrthoAngle : fOrthoAngle;
    return std::tan(a * PiDiv180);
}

void TView3DOptions::Assign(const TView3DOptions& s)
{
    fElevation = s.fElevation;
    fFontZoom = s.fFontZoom;
    fHorizOffset = s.fHorizOffset;
    fOrthogonal = s.fOrthogonal;
    fOrthoAngle = s.fOrthoAngle;
    fPerspective = s.fPerspective;
    fRotation = s.fRotation;
    fTilt = s.fTilt;
    fVertOffset = s.fVertOffset;
    fZoom = s.fZoom;
    fZoomText = s.fZoomText;
}

} // namespace cb::chart
