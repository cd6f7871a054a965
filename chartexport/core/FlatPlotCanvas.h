#pragma once
// Base of the canvases that write a file (PDF, VML): no pixels to read, a
// background colour and mode of their own, and the depth calls projected
// onto the flat drawing calls of the canvas.
#include "chart/canvas/PlotCanvas3D.h"

#include <span>
#include <string>

namespace cb::chartexport {

class TFlatPlotCanvas : public cb::chart::TPlotCanvas3D {
public:
    using TColor = cb::chart::TColor;
    using TRect = cb::chart::TRect;
    using TPoint = cb::chart::TPoint;

    TColor GetBackgroundColor() override { return FBackColor; }
    int GetBackgroundMode() override { return FBackMode; }
    bool IsMonochrome() override { return false; }
    TColor GetPixelColor(int, int) override { return FBackColor; }
    void SetBackgroundColor(TColor c) override { FBackColor = c; }
    void SetBackgroundMode(int mode) override { FBackMode = mode; }
    void SetMonochromeMode(bool) override {}
    TColor GetPixelColorAtDepth(int, int, int) override { return FBackColor; }
    bool ShowBufferIfValid() override { return false; }

    // The flat calls that come down to others: a line is a move and a line
    // to, text and ellipses are drawn at depth 0.
    void PutPixel(int x, int y, TColor c) override;
    void MoveToPoint(int x, int y) override;
    void DrawLine(int x0, int y0, int x1, int y1) override;
    void DrawHorizontalLine(int x0, int x1, int y) override;
    void DrawVerticalLine(int x, int y0, int y1) override;
    void DrawEllipse(int x1, int y1, int x2, int y2) override;
    void OutputText(int x, int y, const std::string& text) override;

    void PutPixelAtDepth(int x, int y, int z, TColor c) override;
    void DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) override;
    void DrawVerticalLineAtDepth(int x, int y0, int y1, int z) override;
    void DrawDepthLine(int x, int y, int z0, int z1) override;
    void DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) override;
    void MoveToAtDepth(int x, int y, int z) override;
    void LineToAtDepth(int x, int y, int z) override;
    void DrawPolylineAtDepth(std::span<const TPoint> points, int z) override;
    void DrawStoredQuad() override;

protected:
    bool PenClear();
    bool BrushClear();
    // The pen position.
    int FX = 0, FY = 0;

private:
    TColor FBackColor = cb::chart::clWhite;
    int FBackMode = 1;
};

}  // namespace cb::chartexport
