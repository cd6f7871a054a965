#pragma once
// The drag state shared by zooming and panning, and the zoom settings with
// the pen and brush of the zoom rectangle.
#include "chart/panel/PlotEvents.h"
#include "chart/style/ChartBrush.h"
#include "chart/style/ChartPen.h"

#include <memory>

namespace cb::chart {

enum TPanningMode {
    pmNone,
    pmHorizontal,
    pmVertical,
    pmBoth
};
enum TPlotZoomDirection {
    tzdHorizontal,
    tzdVertical,
    tzdBoth
};

// A drag: start corner (X0, Y0) and current corner (X1, Y1) in pixels.
class TZoomPanning {
public:
    bool Active = false;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    void Activate(int x, int y) {
        X0 = X1 = x;
        Y0 = Y1 = y;
        Active = true;
    }
    // X0 <= X1 and Y0 <= Y1.
    void Normalize();
};

// White unless told otherwise.
class TPlotZoomPen : public TChartPen {
public:
    explicit TPlotZoomPen(TChangeEvent onChange = {});
    bool IsColorStored() const { return Color() != clWhite; }
};

// White, clear.
class TPlotZoomBrush : public TChartBrush {
public:
    explicit TPlotZoomBrush(TChangeEvent onChange = {});
};

class TPlotZoom : public TZoomPanning {
public:
    TPlotZoom();
    ~TPlotZoom();
    TPlotZoom(const TPlotZoom&) = delete;
    TPlotZoom& operator=(const TPlotZoom&) = delete;

    bool Allow = true;
    bool Animated = false;
    int AnimatedSteps = 8;
    TPlotZoomDirection Direction = tzdBoth;
    // Keys (TPlotShiftFlag) that must be held to start.
    unsigned KeyShift = 0;
    int MinimumPixels = 16;
    TPlotMouseButton MouseButton = mbLeft;
    bool UpLeftZooms = false;

    // Made on first use; Set...(nullptr) frees them.
    TPlotZoomPen& Pen();
    TPlotZoomBrush& Brush();
    const TPlotZoomPen* PenIfAny() const { return FPen.get(); }
    const TPlotZoomBrush* BrushIfAny() const { return FBrush.get(); }
    void SetPen(const TChartPen* pen);
    void SetBrush(const TChartBrush* brush);

    // Everything but MinimumPixels and UpLeftZooms; a source without pen
    // (or brush) frees this one's.
    void Assign(const TPlotZoom& source);

private:
    std::unique_ptr<TPlotZoomPen> FPen;
    std::unique_ptr<TPlotZoomBrush> FBrush;
};

}  // namespace cb::chart
