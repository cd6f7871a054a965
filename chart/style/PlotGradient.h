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
    // Every setting, copied whole by Assign.
    struct TSettings {
        int Balance = 50;
        TGradientDirection Direction = gdTopBottom;
        TColor EndColor = clYellow;
        TColor MidColor = clNone;
        int RadialX = 0;
        int RadialY = 0;
        TColor StartColor = clWhite;
        bool Visible = false;
        bool HasMidColor = false;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCustomPlotGradient(TChangeEvent onChange = {});
    virtual ~TCustomPlotGradient() = default;

    // 50 is linear.
    int Balance() const { return FSettings.Balance; }
    void SetBalance(int v);
    TGradientDirection Direction() const { return FSettings.Direction; }
    void SetDirection(TGradientDirection d);
    TColor EndColor() const { return FSettings.EndColor; }
    void SetEndColor(TColor c);
    // clNone while there is no middle colour; writing clNone removes it.
    TColor MidColor() const { return FSettings.HasMidColor ? FSettings.MidColor : clNone; }
    void SetMidColor(TColor c);
    bool HasMidColor() const { return FSettings.HasMidColor; }
    void EnableMidColor();
    int RadialX() const { return FSettings.RadialX; }
    void SetRadialX(int v);
    int RadialY() const { return FSettings.RadialY; }
    void SetRadialY(int v);
    TColor StartColor() const { return FSettings.StartColor; }
    void SetStartColor(TColor c);
    bool Visible() const { return FSettings.Visible; }
    void SetVisible(bool v);

    const TSettings& Settings() const { return FSettings; }

    // Copies every value, the middle-colour flag included; no notification.
    virtual void Assign(const TCustomPlotGradient& source);

    TChangeEvent OnChange;

protected:
    void Changed();

private:
    TSettings FSettings;
};

class TPlotGradient : public TCustomPlotGradient {
public:
    using TCustomPlotGradient::TCustomPlotGradient;
};

// Gradient text; with Outline the gradient fills the widened outline.
class TPlotFontGradient : public TPlotGradient {
public:
    // Every setting, copied whole by Assign.
    struct TSettings {
        bool Outline = false;
        bool operator==(const TSettings&) const = default;
    };

    using TPlotGradient::TPlotGradient;
    bool Outline() const { return FSettings.Outline; }
    void SetOutline(bool v);
    const TSettings& Settings() const { return FSettings; }

    void Assign(const TCustomPlotGradient& source) override;

private:
    TSettings FSettings;
};

}  // namespace cb::chart
