#pragma once
// Drop shadow of panels, shapes, legends and text: an offset to the right
// and downwards, optionally faded and transparent.
#include "chart/core/PlotTypes.h"

namespace cb::chart {

class TPlotShadow {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        TColor Color = clSilver;
        int HorizSize = 0;
        bool Smooth = true;
        int Transparency = 0;
        int VertSize = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TPlotShadow(TChangeEvent onChange = {});

    TColor Color() const { return FSettings.Color; }
    void SetColor(TColor c);
    int HorizSize() const { return FSettings.HorizSize; }
    void SetHorizSize(int v);
    int VertSize() const { return FSettings.VertSize; }
    void SetVertSize(int v);
    bool Smooth() const { return FSettings.Smooth; }
    void SetSmooth(bool v);
    // Percentage 0..100.
    int Transparency() const { return FSettings.Transparency; }
    void SetTransparency(int v);

    // The larger of the two sizes; SetSize sets both.
    int Size() const;
    void SetSize(int v);

    // Owners change the defaults of their own shadows.
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor c) { FDefaultColor = c; }
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int s) { FDefaultSize = s; }
    bool IsColorStored() const { return FSettings.Color != FDefaultColor; }
    bool IsHorizSizeStored() const { return FSettings.HorizSize != FDefaultSize; }
    bool IsVertSizeStored() const { return FSettings.VertSize != FDefaultSize; }

    const TSettings& Settings() const { return FSettings; }

    // Copies every setting; no notification.
    void Assign(const TPlotShadow& source);

    TChangeEvent OnChange;

private:
    void Changed();

    TSettings FSettings;
    TColor FDefaultColor = clSilver;
    int FDefaultSize = 0;
};

}  // namespace cb::chart
