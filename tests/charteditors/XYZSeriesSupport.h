#pragma once
// A point series whose points carry their own Z value (a third value list),
// as the data grid's matrix view shows them.
#include "chart/series/ChartValueList.h"
#include "chart/series/line/PointSeries.h"

#include <vector>

namespace cbtest {

class TXYZPoints : public cb::chart::TPointSeries {
public:
    TXYZPoints() {
        FHasOwnZValues = true;
        Z = ValueLists().Make(this, "Z");
    }
    int AddXYZ(double x, double y, double z) {
        Z->SetParkedValue(z);
        return AddPoint(x, y);
    }
    // Every (x, z) of the two lists gets a point with Y = 10 x + z, but for
    // the last one.
    void FillGrid(const std::vector<double>& xs, const std::vector<double>& zs) {
        for (double z : zs)
            for (double x : xs)
                if (x != xs.back() || z != zs.back()) AddXYZ(x, 10 * x + z, z);
    }
    // The Y of the point at (x, z); -1 when there is none.
    double YAt(double x, double z) {
        for (int i = 0; i < PointCount(); ++i)
            if (XValues().Value(i) == x && Z->Value(i) == z) return YValues().Value(i);
        return -1;
    }
    cb::chart::TChartValueList* Z = nullptr;
};

}  // namespace cbtest
