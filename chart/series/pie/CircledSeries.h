#pragma once
// Base of round series: fits a circle or ellipse into the chart rectangle,
// converts between angles and screen points, keeps fixed radii and the
// rotation, and switches the chart's 3D view while the series is shown.
#include "chart/canvas/View3DOptions.h"
#include "chart/series/ChartSeries.h"
#include "chart/style/PlotGradient.h"

#include <memory>

namespace cb::chart {

class TCircledSeries : public TChartSeries {
public:
    // Every setting AssignSeries copies whole; the rotation and the gradient
    // are copied beside.
    struct TSettings {
        TColor CircleBackColor = clDefault;
        bool Circled = false;
        int CustomXRadius = 0;
        int CustomYRadius = 0;
        bool operator==(const TSettings&) const = default;
    };

    TCircledSeries();
    ~TCircledSeries() override;

    TColor CircleBackColor() const { return FSettings.CircleBackColor; }
    void SetCircleBackColor(TColor c) { StoreColorAndRepaint(FSettings.CircleBackColor, c); }
    bool HasCircleBackColor() const {
        return FSettings.CircleBackColor != clDefault && FSettings.CircleBackColor != clNone;
    }
    bool Circled() const { return FSettings.Circled; }
    // Shared with every series of the chart of this class or an ancestor,
    // which also lose their custom radii.
    void SetCircled(bool on);
    int CustomXRadius() const { return FSettings.CustomXRadius; }
    void SetCustomXRadius(int v);
    int CustomYRadius() const { return FSettings.CustomYRadius; }
    void SetCustomYRadius(int v);
    int RotationAngle() const { return FRotationAngle; }
    // Stored modulo 360 keeping the sign (370 -> 10, -30 -> -30).
    virtual void SetRotationAngle(int degrees);
    TPlotGradient& Gradient() { return *FGradient; }

    // --- geometry of the last paint ---
    int XRadius() const { return FXRadius; }
    int YRadius() const { return FYRadius; }
    int CircleWidth() const { return FCircleWidth; }
    int CircleHeight() const { return FCircleHeight; }
    int CircleXCenter() const { return FCircleXCenter; }
    int CircleYCenter() const { return FCircleYCenter; }
    const TRect& CircleRect() const { return FCircleRect; }
    // For a chart that lays the circle out itself (and tests).
    void SetCircleRect(const TRect& r) { FCircleRect = r; }
    double Rotation() const { return FRotation; }
    TPoint AngleToPos(double angle, double xRadius, double yRadius) const;
    // 0..2 pi, the rotation removed.
    double PointToAngle(int x, int y) const;
    void NormalizeCircleRect();
    void ApplyRadii();
    void ReserveMarksRoom();
    void MakeCircular();
    // Width over height of a device pixel pair; pixels are square here.
    virtual double ScreenAspectRatio() const { return 1.0; }
    TColor EffectiveBackColor() const;

    // --- the 3D view switch ---
    virtual void SaveOrRestoreView3D(bool restore);
    virtual void ApplyPreferredView3D() {}
    void RestoreView3D();
    bool HasSavedView3D() const { return FSavedView != nullptr; }

    void SetActive(bool on) override;
    void SetParentChart(TCustomAxisPanel* chart) override;
    // Puts the chart's saved 3D view back.
    void LeftChart() override;
    void FireBeforeDrawValues() override;
    void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) override;
    bool IsLinkedToAxis(const TChartAxis* axis) const override {
        (void)axis;
        return true;
    }
    bool UsesAxes() const override { return false; }
    // s is an instance of this series' class.
    virtual bool HasInstance(const TChartSeries* s) const { return dynamic_cast<const TCircledSeries*>(s); }
    const TSettings& Settings() const { return FSettings; }
    void AssignSeries(const TChartSeries& source) override;

protected:
    void storeRotation(int degrees);
    bool FDestroyingSeries = false;

private:
    void shareWithClass(const std::function<void(TCircledSeries*)>& apply);

    TSettings FSettings;
    int FRotationAngle = 0;
    int FXRadius = 0, FYRadius = 0;
    std::unique_ptr<TView3DOptions> FSavedView;
    int FCircleWidth = 0, FCircleHeight = 0;
    int FCircleXCenter = 0, FCircleYCenter = 0;
    TRect FCircleRect;
    double FRotation = 0;
    std::unique_ptr<TPlotGradient> FGradient;
};

}  // namespace cb::chart
