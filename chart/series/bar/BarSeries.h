#pragma once
// Bar series: values along the vertical axis, or along the horizontal one
// for horizontal bars (every rule of the vertical bars turned a quarter).
#include "chart/series/bar/CustomBarSeries.h"

namespace cb::chart {

struct TSeriesClass;

enum TBarOrientation {
    boVertical,
    boHorizontal
};

class TBarSeries : public TCustomBarSeries {
public:
    explicit TBarSeries(TBarOrientation orientation = boVertical);

    // Which way the bars grow. It is the series' kind, as "Bar" and
    // "Horizontal Bar" are two kinds in the gallery and in stored charts:
    // copying settings from another series keeps it.
    TBarOrientation Orientation() const { return vertical() ? boVertical : boHorizontal; }
    // The bars keep their values and positions, now along the other axis.
    void SetOrientation(TBarOrientation orientation);

    // The bar's width (vertical bars) or height (horizontal ones).
    int CustomBarWidth() const { return CustomBarSize(); }
    void SetCustomBarWidth(int v) { SetCustomBarSize(v); }
    int CustomBarHeight() const { return CustomBarSize(); }
    void SetCustomBarHeight(int v) { SetCustomBarSize(v); }

    int ScreenX(int index) override { return vertical() ? BarStart(index) : ValueEnd(index); }
    int ScreenY(int index) override { return vertical() ? ValueEnd(index) : BarStart(index); }
    int OriginX(int index) { return OriginEnd(index); }
    int OriginY(int index) { return OriginEnd(index); }
    double HighestX() override;
    double LowestX() override;
    double HighestY() override;
    double LowestY() override;
    void HorizontalMargins(int& left, int& right) override;
    void VerticalMargins(int& top, int& bottom) override;
    bool SharesZOrder() override;
    bool GroupDrawsForward(int index) override;
    int MarkExtent(int index) override;
    void DrawPointMark(int index, const std::string& text, TSeriesMarkPosition& position) override;

protected:
    void DrawTickLine(int pixel, TBarStyle style) override;

private:
    // The value list names, orders and gradient direction of the orientation.
    void applyOrientation();
    bool verticalGroupDrawsForward(int index);
    bool horizontalGroupDrawsForward(int index);
    void drawVerticalTickLine(int pixel, TBarStyle style);
    void drawHorizontalTickLine(int pixel, TBarStyle style);
    void placeVerticalMark(int index, TSeriesMarkPosition& position);
    void placeHorizontalMark(int index, TSeriesMarkPosition& position);
};

// The two kinds of bar series stored charts and the gallery name: "TBarSeries"
// and "THorizBarSeries".
const TSeriesClass& BarSeriesClass();
const TSeriesClass& HorizBarSeriesClass();

}  // namespace cb::chart
