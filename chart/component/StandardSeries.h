#pragma once
// The standard series types offered on the gallery's "Standard" page, and
// the extended ones.
namespace cb::chart {

// Line, Bar, Horizontal Bar, Area, Point, Pie, Fast Line, Horizontal Line
// and Horizontal Area, in that order; registering again changes nothing.
void RegisterStandardSeriesTypes();
// Pyramid on the "Extended" page.
void RegisterExtendedSeriesTypes();

// The ten series functions on the "Standard" page: Add, Subtract,
// Multiply, Divide, High, Low, Average, Median, Mode and y = f(x).
void RegisterStandardFunctionTypes();

}  // namespace cb::chart
