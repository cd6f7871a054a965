#pragma once
// The chart panel drawn into a 24-bit picture on the panel's colour.
#include <QImage>

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

// The panel drawn into (left, top, left + width, top + height), as RGB888.
QImage DrawChartImage(cb::chart::TCustomPlotPanel& panel, int left, int top, int width, int height);

}  // namespace cb::chartexport
