#pragma once
// The panel's 3D view: rotation, elevation, tilt, perspective, zoom and
// offsets, and the orthogonal (oblique) projection.
#include "chart/core/PlotTypes.h"

#include <functional>

namespace cb::chart {

class TView3DOptions {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        int Elevation = 345;
        int FontZoom = 100;
        int HorizOffset = 0;
        bool Orthogonal = true;
        int OrthoAngle = 45;
        int Perspective = 15;
        int Rotation = 345;
        int Tilt = 0;
        int VertOffset = 0;
        int Zoom = 100;
        bool ZoomText = true;
        bool operator==(const TSettings&) const = default;
    };

    // onRepaint invalidates the owning panel.
    explicit TView3DOptions(TChangeEvent onRepaint = {});

    int Elevation() const { return FSettings.Elevation; }
    void SetElevation(int v);
    int FontZoom() const { return FSettings.FontZoom; }
    void SetFontZoom(int v);
    int HorizOffset() const { return FSettings.HorizOffset; }
    void SetHorizOffset(int v);
    bool Orthogonal() const { return FSettings.Orthogonal; }
    void SetOrthogonal(bool v);
    int OrthoAngle() const { return FSettings.OrthoAngle; }
    void SetOrthoAngle(int v);
    int Perspective() const { return FSettings.Perspective; }
    void SetPerspective(int v);
    int Rotation() const { return FSettings.Rotation; }
    void SetRotation(int v);
    int Tilt() const { return FSettings.Tilt; }
    void SetTilt(int v);
    int VertOffset() const { return FSettings.VertOffset; }
    void SetVertOffset(int v);
    int Zoom() const { return FSettings.Zoom; }
    void SetZoom(int v);
    bool ZoomText() const { return FSettings.ZoomText; }
    void SetZoomText(bool v);

    // 1 when not orthogonal, else tan(OrthoAngle) (of 180 - angle above 90).
    double OrthoRatio() const;

    const TSettings& Settings() const { return FSettings; }

    // Copies all eleven values without repainting.
    void Assign(const TView3DOptions& source);

    void Repaint();

    TChangeEvent OnRepaint;
    // True for a horizontal scroll.
    std::function<void(bool horizontal)> OnScrolled;
    // Fired with the new zoom before it is stored.
    std::function<void(int newZoom)> OnZoomChanging;

private:
    template <class T>
    void store(T& field, T value);

    TSettings FSettings;
};

}  // namespace cb::chart
