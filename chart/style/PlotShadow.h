#pragma once
// Drop shadow of panels, shapes, legends and text: an offset to the right
// and downwards, optionally faded and transparent.
#include "chart/core/PlotTypes.h"

namespace cb::chart {

class TPlotShadow {
public:
    explicit TPlotShadow(TChangeEvent onChange = {});

    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int v);
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool v);
    // Percentage 0..100.
    int Transparency() const { return FTransparency; }
    void SetTransparency(int v);

    // The larger of the two sizes; SetSize sets both.
    int Size() const;
    void SetSize(int v);

    // Owners change the defaults of their own shadows.
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor c) { FDefaultColor = c; }
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int s) { FDefaultSize = s; }
    bool IsColorStored() const { return FColor != FDefaultColor; }
    bool IsHorizSizeStored() const { return FHorizSize != FDefaultSize; }
    bool IsVertSizeStored() const { return FVertSize != FDefaultSize; }

    // Copies colour, sizes, smooth and transparency; no notification.
    void Assign(const TPlotShadow& source);

    TChangeEvent OnChange;

private:
    void Changed();

    TColor FColor = clSilver;
    int FHorizSize = 0;
    bool FSmooth = true;
    int FTransparency = 0;
    int FVertSize = 0;
    TColor FDefaultColor = clSilver;
    int FDefaultSize = 0;
};

}  // namespace cb::chart
