#include "chartexport/core/FlatPlotCanvas.h"

#include "platform/gfx/Canvas.h"

#include <vector>

namespace cb::chartexport {

bool TFlatPlotCanvas::PenClear() {
    return Pen().Style() == cb::gfx::psClear;
}

bool TFlatPlotCanvas::BrushClear() {
    return Brush().Style() == cb::gfx::bsClear;
}

// A dot is a line of no length in the pixel's colour.
void TFlatPlotCanvas::PutPixel(int x, int y, TColor c) {
    if (PenClear()) return;
    Pen().SetColor(c);
    MoveToPoint(x, y);
    LineToPoint(x, y);
}

void TFlatPlotCanvas::MoveToPoint(int x, int y) {
    FX = x;
    FY = y;
}

void TFlatPlotCanvas::DrawLine(int x0, int y0, int x1, int y1) {
    MoveToPoint(x0, y0);
    LineToPoint(x1, y1);
}

void TFlatPlotCanvas::DrawHorizontalLine(int x0, int x1, int y) {
    DrawLine(x0, y, x1, y);
}

void TFlatPlotCanvas::DrawVerticalLine(int x, int y0, int y1) {
    DrawLine(x, y0, x, y1);
}

void TFlatPlotCanvas::DrawEllipse(int x1, int y1, int x2, int y2) {
    DrawEllipseAtDepth(x1, y1, x2, y2, 0);
}

void TFlatPlotCanvas::OutputText(int x, int y, const std::string& text) {
    OutputTextAtDepth(x, y, 0, text);
}

void TFlatPlotCanvas::PutPixelAtDepth(int x, int y, int z, TColor c) {
    ProjectPoint(x, y, z);
    PutPixel(x, y, c);
}

void TFlatPlotCanvas::MoveToAtDepth(int x, int y, int z) {
    ProjectPoint(x, y, z);
    MoveToPoint(x, y);
}

void TFlatPlotCanvas::LineToAtDepth(int x, int y, int z) {
    ProjectPoint(x, y, z);
    LineToPoint(x, y);
}

void TFlatPlotCanvas::DrawHorizontalLineAtDepth(int x0, int x1, int y, int z) {
    MoveToAtDepth(x0, y, z);
    LineToAtDepth(x1, y, z);
}

void TFlatPlotCanvas::DrawVerticalLineAtDepth(int x, int y0, int y1, int z) {
    MoveToAtDepth(x, y0, z);
    LineToAtDepth(x, y1, z);
}

void TFlatPlotCanvas::DrawDepthLine(int x, int y, int z0, int z1) {
    MoveToAtDepth(x, y, z0);
    LineToAtDepth(x, y, z1);
}

void TFlatPlotCanvas::DrawLineAtDepth(int x0, int y0, int x1, int y1, int z) {
    MoveToAtDepth(x0, y0, z);
    LineToAtDepth(x1, y1, z);
}

void TFlatPlotCanvas::DrawPolylineAtDepth(std::span<const TPoint> points, int z) {
    std::vector<TPoint> p(points.begin(), points.end());
    for (TPoint& q : p) ProjectPoint(q.X, q.Y, z);
    DrawPolyline(p);
}

void TFlatPlotCanvas::DrawStoredQuad() {
    DrawPolygon(FStoredQuad);
}

}  // namespace cb::chartexport
