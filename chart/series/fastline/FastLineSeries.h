#pragma once
// Fast line: one pen and one polyline of move-to and line-to operations,
// optionally one segment per pixel column, breaks at null points, steps,
// and new points drawn straight onto the canvas without a repaint.
#include "chart/series/line/CustomSeries.h"

namespace cb::chart {

class TFastLineSeries : public TCustomLineSeries {
public:
    // Every setting of its own AssignSeries copies.
    struct TSettings {
        bool AutoRepaint = true;
        bool DrawAllPoints = true;
        bool IgnoreNulls = true;
        bool InvertedStairs = false;
        bool Stairs = false;
        bool operator==(const TSettings&) const = default;
    };

    TFastLineSeries();

    // False: an added point is drawn at once as one more segment.
    bool AutoRepaint() const { return FSettings.AutoRepaint; }
    void SetAutoRepaint(bool on) { FSettings.AutoRepaint = on; }
    bool DrawAllPoints() const { return FSettings.DrawAllPoints; }
    void SetDrawAllPoints(bool on) { StoreBooleanAndRepaint(FSettings.DrawAllPoints, on); }
    // False: the line breaks at null points.
    bool IgnoreNulls() const { return FSettings.IgnoreNulls; }
    void SetIgnoreNulls(bool on) { StoreBooleanAndRepaint(FSettings.IgnoreNulls, on); }
    bool InvertedStairs() const { return FSettings.InvertedStairs; }
    void SetInvertedStairs(bool on) { StoreBooleanAndRepaint(FSettings.InvertedStairs, on); }
    bool Stairs() const { return FSettings.Stairs; }
    void SetStairs(bool on) { StoreBooleanAndRepaint(FSettings.Stairs, on); }
    // The pen's colour becomes the series colour, and the other way round.
    void SetPen(const TChartPen& pen) override;
    void SetSeriesColor(TColor c) override;

    TPoint PointPixel(int index);
    void PrepareCanvas();
    void HorizontalMargins(int& left, int& right) override;
    void VerticalMargins(int& top, int& bottom) override;
    void DrawVisiblePoints() override;
    void DrawPoint(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;
    void PointAdded(TChartSeries* sender, int index) override;
    int PointAtPixel(int x, int y) override;
    void PaintLegendSymbol(int item, const TRect& r) override;
    void AdjustLegendBrush(int index, TColor& background, TBrushStyle& style) override;
    std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
    void ListSubGalleryStyles(const std::function<void(const std::string&)>& add) override;
    void ApplySubGalleryStyle(TChartSeries* series, int style) override;
    const TSettings& Settings() const { return FSettings; }
    void AssignSeries(const TChartSeries& source) override;

private:
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    int margin() const;

    TSettings FSettings;
    int FOldX = 0, FOldY = 0;
};

}  // namespace cb::chart
