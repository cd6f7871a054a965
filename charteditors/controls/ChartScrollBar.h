#pragma once
// A scroll bar that scrolls a chart along its horizontal or vertical axes,
// or pages through it in paging mode. Moving the bar sets the axes' ranges;
// scrolling, zooming or paging the chart moves the bar.
//
// Attaching takes over the chart's OnPageChange, OnScroll, OnZoom and
// OnUndoZoom: the bar's own handlers re-synchronise it and then call the
// handlers that were there before. Detaching (another chart, none, or the
// bar's end) gives the chart its handlers back, so the chart never calls a
// bar that is gone; a chart that goes first detaches the bar.
#include "charteditors/common/EditedObject.h"

#include <QScrollBar>

#include <functional>
#include <vector>

namespace cb::chart {
class TChartAxis;
class TCustomAxisPanel;
class TCustomPlotPanelExtended;
}  // namespace cb::chart

namespace cb::charteditors {

enum class TScrollBarAxis { sbDefault, sbOther, sbBoth };

class TChartScrollBar : public QScrollBar {
public:
    explicit TChartScrollBar(QWidget* parent = nullptr);
    ~TChartScrollBar() override;

    TScrollBarAxis Axis() const { return FAxis; }
    void SetAxis(TScrollBarAxis axis) { FAxis = axis; }
    cb::chart::TCustomAxisPanel* Chart() const;
    void SetChart(cb::chart::TCustomAxisPanel* chart);
    bool Inverted() const { return FInverted; }
    void SetInverted(bool on);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int size);
    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return pageStep(); }

    // The bar follows the axes (the chart scrolled, zoomed or paged).
    void RecalcPosition();

private:
    void Detach(bool chartGoing);
    void Changed(int position);
    std::vector<cb::chart::TChartAxis*> SelectedAxes() const;
    bool AxisHasSeries(cb::chart::TChartAxis* axis) const;

    TObjectGuard FChart;
    TScrollBarAxis FAxis = TScrollBarAxis::sbBoth;
    bool FInverted = false;
    int FPageSize = 0;
    bool FSetting = false;
    // The chart's handlers when the bar attached.
    std::function<void(cb::chart::TCustomAxisPanel*)> FOldPageChange;
    std::function<void(cb::chart::TCustomPlotPanelExtended*)> FOldScroll, FOldZoom, FOldUndoZoom;
};

}  // namespace cb::charteditors
