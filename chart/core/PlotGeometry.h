#pragma once
// Geometry and colour helpers shared by every drawing part of the engine.
#include "chart/core/PlotTypes.h"

#include <vector>

namespace cb::chart {

TPoint MakePoint(int x, int y);
TRect MakeRect(int left, int top, int right, int bottom);
// Edges included.
bool RectContainsPoint(const TRect& r, int x, int y);
TRect NormalizeRect(const TRect& r);
void GetRectExtent(const TRect& r, int& width, int& height);
// ((left + right) div 2, (top + bottom) div 2), truncating toward zero.
TPoint RectCenter(const TRect& r);
// Right and bottom one past the largest coordinate.
TRect PolygonBounds(const TPoint* points, int count);

// True when the three projected points turn away from the viewer.
bool IsBackFace(const TPoint& p0, const TPoint& p1, const TPoint& p2);
bool IsBackFacePoints(const TPoint* points);

void ExchangeDoubles(double& a, double& b);
void ExchangeIntegers(int& a, int& b);
double Hypotenuse(double a, double b);
// The end point moved back toward the start by d.
TPoint MovePointBack(const TPoint& start, const TPoint& end, int d);

TColor DarkenColor(TColor c, int amount);
TColor LightenColor(TColor c, int amount);
// Red, green and blue in bitmap order: out[0] blue, out[1] green, out[2] red.
void ColorToRGBTriple(TColor c, unsigned char out[3]);
// Each channel the average of the three (for monochrome output).
TColor ColorToGray(TColor c);

// Replaces the points by their convex hull, the pivot (smallest y, among
// those the largest x) last. False and unchanged for fewer than 3 points;
// exactly 3 points are left as they are.
bool ConvexHull(std::vector<TPoint>& points);

}  // namespace cb::chart
