#pragma once
// The four walls that frame the plotting area: left, bottom, right and back
// (in 2D only the back wall, as background and frame).
#include "chart/panel/PlotShape.h"

#include <memory>

namespace cb::chart {

class TCustomChartWall : public TPlotCustomShape {
public:
    // Every setting of its own Assign copies.
    struct TSettings {
        bool AutoHide = false;
        bool Dark3D = true;
        int Size = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCustomChartWall(TCustomPlotPanel* panel);
    bool AutoHide() const { return FSettings.AutoHide; }
    void SetAutoHide(bool on) { Store(FSettings.AutoHide, on); }
    bool Dark3D() const { return FSettings.Dark3D; }
    void SetDark3D(bool on) { Store(FSettings.Dark3D, on); }
    // Thickness in pixels in 3D; 0 is a plane.
    int Size() const { return FSettings.Size; }
    void SetSize(int v) { Store(FSettings.Size, v); }
    // Color is stored only when it differs from the default colour.
    TColor DefaultColor() const { return FDefaultColor; }
    bool IsColorStored() const { return Color() != FDefaultColor; }
    const TSettings& Settings() const { return FSettings; }
    void Assign(const TCustomChartWall& source);

protected:
    void RecordDefaultColor(TColor c) { FDefaultColor = c; }

private:
    TSettings FSettings;
    TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
    // Sets Color and records it as the default.
    void SetDefaultColor(TColor c) {
        SetColor(c);
        RecordDefaultColor(c);
    }
};

// Silver and transparent.
class TChartBackWall : public TChartWall {
public:
    explicit TChartBackWall(TCustomPlotPanel* panel);
};

// Silver and hidden.
class TChartRightWall : public TChartWall {
public:
    explicit TChartRightWall(TCustomPlotPanel* panel);
};

class TChartWalls {
public:
    explicit TChartWalls(TCustomPlotPanel* panel);
    TChartBackWall& Back() { return *FBack; }
    TChartWall& Bottom() { return *FBottom; }
    TChartWall& Left() { return *FLeft; }
    TChartRightWall& Right() { return *FRight; }
    const TChartBackWall& Back() const { return *FBack; }
    const TChartWall& Bottom() const { return *FBottom; }
    const TChartWall& Left() const { return *FLeft; }
    const TChartRightWall& Right() const { return *FRight; }
    // Size of the left, right, back and bottom walls.
    void SetAllSizes(int v);
    void Assign(const TChartWalls& source);

private:
    std::unique_ptr<TChartBackWall> FBack;
    std::unique_ptr<TChartWall> FBottom;
    std::unique_ptr<TChartWall> FLeft;
    std::unique_ptr<TChartRightWall> FRight;
};

}  // namespace cb::chart
