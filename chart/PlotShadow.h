#pragma once
// Drop shadow of panels, shapes, legends and text: an offset to the right
// and downwards, optionally faded and transparent.
#include "chart/PlotTypes.h"

namespace cb::chart {

class TCanvas3D;

class TPlotShadow {
public:
    explicit TPlotShadow(TChangeEvent onChange = {});

    TColor Color() const { return fColor; }
    void SetColor(TColor c);
    int HorizSize() const { return fHorizSize; }
    void SetHorizSize(int v);
    int VertSize() const { return fVertSize; }
    void SetVertSize(int v);
    bool Smooth() const { return fSmooth; }
    void SetSmooth(bool v);
    // Percentage 0..100.
    int Transparency() const { return fTransparency; }
    void SetTransparency(int v);

    // The larger of the two sizes; SetSize sets both.
    int Size() const;
    void SetSize(int v);

    // Owners change the defaults of their own shadows.
    TColor DefaultColor() const { return fDefaultColor; }
    void SetDefaultColor(TColor c) { fDefaultColor = c; }
    int DefaultSize() const { return fDefaultSize; }
    void SetDefaultSize(int s) { fDefaultSize = s; }
    bool IsColorStored() const { return fColor != fDefaultColor; }
    bool IsHorizSizeStored() const { return fHorizSize != fDefaultSize; }
    bool IsVertSizeStored() const { return fVertSize != fDefaultSize; }

    // Copies colour, sizes, smooth and transparency; no notification.
    void Assign(const TPlotShadow& source);

    // Draws the shadow of the rectangle at depth z.
    void Draw(TCanvas3D& canvas, const TRect& r, int z = 0) const;
    // Shadow of a round shape.
    void DrawEllipse(TCanvas3D& canvas, const TRect& r, int z = 0) const;

    TChangeEvent OnChange;

private:
    void Changed();
    bool Prepare(TCanvas3D& canvas, const TRect& r, int z, class TPlotBlend*& blend) const;

    TColor fColor = clSilver;
    int fHorizSize = 0;
    bool fSmooth = true;
    int fTransparency = 0;
    int fVertSize = 0;
    TColor fDefaultColor = clSilver;
    int fDefaultSize = 0;
};

} // namespace cb::chart
