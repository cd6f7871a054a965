#pragma once
// The complete chart control: the axis panel plus four titles, four walls,
// a legend, and the mouse: clicks on chart parts, zoom rectangle, panning,
// undoing a zoom and the wheel.
#include "chart/component/AxisPanel.h"
#include "chart/component/ChartLegend.h"
#include "chart/component/ChartTitle.h"
#include "chart/component/ChartWalls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::chart {

enum TChartClickedPartStyle {
    cpNone = 0,
    cpLegend = 1,
    cpAxis = 2,
    cpSeries = 3,
    cpTitle = 4,
    cpFoot = 5,
    cpChartRect = 6,
    cpSeriesMarks = 7,
    cpSubTitle = 8,
    cpSubFoot = 9
};

// What lies under a point.
struct TChartHit {
    TChartClickedPartStyle Kind = cpNone;
    int Index = -1;
    TChartSeries* Series = nullptr;
    TChartAxis* Axis = nullptr;
};

// Scales of one axis before the first zoom or pan.
struct TAxisSavedScales {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};
using TAllAxisSavedScales = std::vector<TAxisSavedScales>;

class TCustomChart;

using TChartAllowScrollEvent = std::function<void(TChartAxis* sender, double& aMin, double& aMax, bool& allowScroll)>;
using TChartClickAxis =
    std::function<void(TCustomChart* sender, TChartAxis* axis, TPlotMouseButton button, unsigned shift, int x, int y)>;
using TChartClick = std::function<void(TCustomChart* sender, TPlotMouseButton button, unsigned shift, int x, int y)>;
using TChartClickSeries = std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                                             TPlotMouseButton button, unsigned shift, int x, int y)>;
using TChartClickTitle = std::function<void(TCustomChart* sender, TChartTitle* title, TPlotMouseButton button,
                                            unsigned shift, int x, int y)>;
using TOnGetLegendPos = std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart* sender, TRect& rect)>;
using TOnGetLegendText =
    std::function<void(TCustomAxisPanel* sender, TLegendStyle legendStyle, int index, std::string& legendText)>;

class TCustomChart : public TAxisPanel {
public:
    // Every setting of its own Assign copies; titles, legend and walls are
    // copied beside.
    struct TSettings {
        TPlotMouseButton ScrollMouseButton = mbRight;
        int ColorPaletteIndex = 0;
        bool operator==(const TSettings&) const = default;
    };

    explicit TCustomChart(QWidget* parent = nullptr);
    ~TCustomChart() override;

    // --- parts ---
    TChartTitle& Title() { return *FTitle; }
    TChartTitle& SubTitle() { return *FSubTitle; }
    TChartFootTitle& Foot() { return *FFoot; }
    TChartFootTitle& SubFoot() { return *FSubFoot; }
    TChartLegend& Legend() { return *FLegend; }
    TChartWalls& Walls() { return *FWalls; }
    TChartBackWall& BackWall() { return FWalls->Back(); }
    TChartWall& BottomWall() { return FWalls->Bottom(); }
    TChartWall& LeftWall() { return FWalls->Left(); }
    TChartRightWall& RightWall() { return FWalls->Right(); }
    void SetTitle(const TChartTitle& t) { FTitle->Assign(t); }
    void SetSubTitle(const TChartTitle& t) { FSubTitle->Assign(t); }
    void SetFoot(const TChartTitle& t) { FFoot->Assign(t); }
    void SetSubFoot(const TChartTitle& t) { FSubFoot->Assign(t); }
    void SetLegend(const TCustomChartLegend& l) { FLegend->Assign(l); }
    void SetBackWall(const TCustomChartWall& w) { FWalls->Back().Assign(w); }
    void SetBottomWall(const TCustomChartWall& w) { FWalls->Bottom().Assign(w); }
    void SetLeftWall(const TCustomChartWall& w) { FWalls->Left().Assign(w); }
    void SetRightWall(const TCustomChartWall& w) { FWalls->Right().Assign(w); }
    // The back wall's pen.
    TChartPen& Frame() { return FWalls->Back().Pen(); }
    void SetFrame(const TChartPen& p) { FWalls->Back().Pen().Assign(p); }
    TPlotMouseButton ScrollMouseButton() const { return FSettings.ScrollMouseButton; }
    void SetScrollMouseButton(TPlotMouseButton b) { FSettings.ScrollMouseButton = b; }
    int ColorPaletteIndex() const { return FSettings.ColorPaletteIndex; }
    void SetColorPaletteIndex(int v) { FSettings.ColorPaletteIndex = v; }

    // --- events ---
    TChartAllowScrollEvent OnAllowScroll;
    bool AllowAxisScroll(TChartAxis* axis, double newMinimum, double newMaximum) override;
    TColor BackWallColor() override;
    TChartClickAxis OnClickAxis;
    TChartClick OnClickBackground, OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClickTitle OnClickTitle;
    TOnGetLegendPos OnGetLegendPos;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendText OnGetLegendText;

    // --- queries ---
    // The axis title's caption, else "Left Axis" and the like.
    std::string AxisTitleOrName(TChartAxis* axis);
    // False when every active series is circular (no walls, no zoom).
    bool UsesAxesArea() const;
    // The legend text of one item after OnGetLegendText.
    void LegendItemText(TCustomChartLegend& legend, int index, std::string& text);
    // True: the side wall stands between the viewer and the series.
    bool RightWallFacesAway();
    bool LeftWallFacesAway();

    // --- pipeline stages ---
    TColor PanelBackColor() const override;
    void ComputeChartArea() override;
    int WallSizeOfAxis(const TChartAxis* axis) override;
    void DrawTitlesAndLegend(bool beforeSeries) override;
    void DrawWalls() override;
    void DrawFrontWalls();
    std::string LegendTextOfPoint(TChartSeries* series, int index) override;
    bool IsColorFree(TColor color, bool checkBackgrounds, const TChartSeries* except) override;

    // --- mouse ---
    TChartHit HitTest(int x, int y, bool onlyWithClickHandlers);
    void NotifyToolsMouse(int kind, TPlotMouseButton button, unsigned shift, int x, int y);
    bool StartZoomOrPan(TPlotMouseButton button, unsigned shift, int x, int y);
    virtual void ApplyZoomRect();
    void ZoomAxesToValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                          double leftMax, double rightMin, double rightMax);
    void UndoZoom() override;
    void SaveAxisScales();
    void RestoreAxisScales();
    bool ScalesRestored() const { return FScalesRestored; }
    bool PanDirection(bool horizontal, int newPos, int oldPos);
    void PanAxis(TChartAxis* axis, int oldPos, int newPos);
    void ScrollVerticalAxes(bool down);
    // The mouse handling without the toolkit's events (the toolkit handlers
    // call these).
    void ChartMouseDown(TPlotMouseButton button, unsigned shift, int x, int y);
    void ChartMouseMove(unsigned shift, int x, int y);
    void ChartMouseUp(TPlotMouseButton button, unsigned shift, int x, int y);

    // Stored properties of older files: "BackColor"; "ColorPaletteIndex".
    bool ReadLegacyProperty(const std::string& name, const std::string& value) override;
    // ColorPaletteIndex when it is to be stored, else empty.
    std::string ColorPaletteIndexText() const;

    const TSettings& Settings() const { return FSettings; }
    void Assign(const TCustomChart& source);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void DrawWallBrush(TCustomChartWall& wall);
    void DrawRightOrLeftWall(bool right);
    void DrawBackWall();
    bool SidePlaneCulled(int x);
    void NewDataArrived();
    void HandleMouseDown(TPlotMouseButton button, unsigned shift, int x, int y);
    bool BackgroundClick(TPlotMouseButton button, unsigned shift, int x, int y);

    std::unique_ptr<TChartFootTitle> FFoot;
    std::unique_ptr<TChartLegend> FLegend;
    TAllAxisSavedScales FSavedScales;
    TSettings FSettings;
    std::unique_ptr<TChartFootTitle> FSubFoot;
    std::unique_ptr<TChartTitle> FSubTitle;
    std::unique_ptr<TChartTitle> FTitle;
    std::unique_ptr<TChartWalls> FWalls;
    bool FScalesRestored = true;
    bool FWheelScrolled = false;
    std::unique_ptr<TPlotEventListener> FDataListener;
};

// The first active series of the panel, or none.
TChartSeries* FirstActiveSeries(TCustomAxisPanel& panel);

}  // namespace cb::chart
