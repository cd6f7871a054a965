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
        int FElevation = 345;
        int FFontZoom = 100;
        int FHorizOffset = 0;
        bool FOrthogonal = true;
        int FOrthoAngle = 45;
        int FPerspective = 15;
        int FRotation = 345;
        int FTilt = 0;
        int FVertOffset = 0;
        int FZoom = 100;
        bool FZoomText = true;
        bool operator==(const TSettings&) const = default;
    };

    // onRepaint invalidates the owning panel.
    explicit TView3DOptions(TChangeEvent onRepaint = {});

    int Elevation() const { return FSettings.FElevation; }
    void SetElevation(int v);
    int FontZoom() const { return FSettings.FFontZoom; }
    void SetFontZoom(int v);
    int HorizOffset() const { return FSettings.FHorizOffset; }
    void SetHorizOffset(int v);
    bool Orthogonal() const { return FSettings.FOrthogonal; }
    void SetOrthogonal(bool v);
    int OrthoAngle() const { return FSettings.FOrthoAngle; }
    void SetOrthoAngle(int v);
    int Perspective() const { return FSettings.FPerspective; }
    void SetPerspective(int v);
    int Rotation() const { return FSettings.FRotation; }
    void SetRotation(int v);
    int Tilt() const { return FSettings.FTilt; }
    void SetTilt(int v);
    int VertOffset() const { return FSettings.FVertOffset; }
    void SetVertOffset(int v);
    int Zoom() const { return FSettings.FZoom; }
    void SetZoom(int v);
    bool ZoomText() const { return FSettings.FZoomText; }
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
