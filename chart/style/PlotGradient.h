#pragma once
// Gradient fills: two or three colours in one of ten directions.
#include "chart/core/PlotTypes.h"

namespace cb::chart {

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
    gdRadial,
    gdDiagonalUp,
    gdDiagonalDown,
};

class TCustomPlotGradient {
public:
    explicit TCustomPlotGradient(TChangeEvent onChange = {});
    virtual ~TCustomPlotGradient() = default;

    // 50 is linear.
    int Balance() const { return FBalance; }
    void SetBalance(int v);
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection d);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor c);
    // clNone while there is no middle colour; writing clNone removes it.
    TColor MidColor() const { return FHasMidColor ? FMidColor : clNone; }
    void SetMidColor(TColor c);
    bool HasMidColor() const { return FHasMidColor; }
    void EnableMidColor();
    int RadialX() const { return FRadialX; }
    void SetRadialX(int v);
    int RadialY() const { return FRadialY; }
    void SetRadialY(int v);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor c);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);

    // Copies every value, the middle-colour flag included; no notification.
    virtual void Assign(const TCustomPlotGradient& source);

    TChangeEvent OnChange;

protected:
    void Changed();

private:
    int FBalance = 50;
    TGradientDirection FDirection = gdTopBottom;
    TColor FEndColor = clYellow;
    TColor FMidColor = clNone;
    int FRadialX = 0;
    int FRadialY = 0;
    TColor FStartColor = clWhite;
    bool FVisible = false;
    bool FHasMidColor = false;
};

class TPlotGradient : public TCustomPlotGradient {
public:
    using TCustomPlotGradient::TCustomPlotGradient;
};

// Gradient text; with Outline the gradient fills the widened outline.
class TPlotFontGradient : public TPlotGradient {
public:
    using TPlotGradient::TPlotGradient;
    bool Outline() const { return FOutline; }
    void SetOutline(bool v);
    void Assign(const TCustomPlotGradient& source) override;

private:
    bool FOutline = false;
};

}  // namespace cb::chart
