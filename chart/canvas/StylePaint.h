#pragma once
// Paints the style objects that fill areas: gradients and drop shadows.
#include "chart/core/PlotTypes.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"

namespace cb::chart {

class TPlotCanvas;
class TCanvas3D;

// Fills the rectangle (rounded by cornerSize when above 0).
void PaintGradient(TPlotCanvas& canvas, const TCustomPlotGradient& gradient, const TRect& r, int cornerSize = 0);
// Fills a quadrilateral; at a depth its points are projected first.
void PaintGradientQuad(TPlotCanvas& canvas, const TCustomPlotGradient& gradient, const TPoint points[4]);
void PaintGradientQuad(TCanvas3D& canvas, const TCustomPlotGradient& gradient, const TPoint points[4], int z);
// Rings from the end colour outside to the start colour at the centre.
void PaintRadialGradient(TPlotCanvas& canvas, const TCustomPlotGradient& gradient, const TRect& r);

// Draws the shadow of the rectangle at depth z.
void PaintShadow(TCanvas3D& canvas, const TPlotShadow& shadow, const TRect& r, int z = 0);
// Shadow of a round shape.
void PaintShadowEllipse(TCanvas3D& canvas, const TPlotShadow& shadow, const TRect& r, int z = 0);

}  // namespace cb::chart
