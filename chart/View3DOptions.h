#pragma once
// The panel's 3D view: rotation, elevation, tilt, perspective, zoom and
// offsets, and the orthogonal (oblique) projection.
#include "chart/PlotTypes.h"

#include <functional>

namespace cb::chart {

class TView3DOptions {
public:
    // onRepaint invalidates the owning panel.
    explicit TView3DOptions(TChangeEvent onRepaint = {});

    int Elevation() const { return fElevation; }
    void SetElevation(int v);
    int FontZoom() const { return fFontZoom; }
    void SetFontZoom(int v);
    int HorizOffset() const { return fHorizOffset; }
    void SetHorizOffset(int v);
    bool Orthogonal() const { return fOrthogonal; }
    void SetOrthogonal(bool v);
    int OrthoAngle() const { return fOrthoAngle; }
    void SetOrthoAngle(int v);
    int Perspective() const { return fPerspective; }
    void SetPerspective(int v);
    int Rotation() const { return fRotation; }
    void SetRotation(int v);
    int Tilt() const { return fTilt; }
    void SetTilt(int v);
    int VertOffset() const { return fVertOffset; }
    void SetVertOffset(int v);
    int Zoom() const { return fZoom; }
    void SetZoom(int v);
    bool ZoomText() const { return fZoomText; }
    void SetZoomText(bool v);

    // 1 when not orthogonal, else tan(OrthoAngle) (of 180 - angle above 90).
    double OrthoRatio() const;

    // Copies all eleven values without repainting.
    void Assign(const TView3DOptions& source);

    void Repaint();

    TChangeEvent OnRepaint;
    // True for a horizontal scroll.
    std::function<void(bool horizontal)> OnScrolled;
    // Fired with the new zoom before it is stored.
    std::function<void(int newZoom)> OnZoomChanging;

private:
    template <class T> void store(T& field, T value);

    int fElevation = 345;
    int fFontZoom = 100;
    int fHorizOffset = 0;
    bool fOrthogonal = true;
    int fOrthoAngle = 45;
    int fPerspective = 15;
    int fRotation = 345;
    int fTilt = 0;
    int fVertOffset = 0;
    int fZoom = 100;
    bool fZoomText = true;
};

} // namespace cb::chart
