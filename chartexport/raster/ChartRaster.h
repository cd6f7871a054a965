#pragma once
// The chart panel drawn into a picture on the panel's colour.
#include <QImage>

namespace cb::chart {
class TCustomPlotPanel;
}

namespace cb::chartexport {

// The panel drawn into (left, top, left + width, top + height), as RGB32:
// 24 bits of colour in the layout the painter draws fastest; the encoders
// read it as it is.
QImage DrawChartImage(cb::chart::TCustomPlotPanel& panel, int left, int top, int width, int height);

}  // namespace cb::chartexport
