#include "charteditors/controls/ChartScrollBar.h"

#include "chart/axis/ChartAxis.h"
#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/ChartSeries.h"

#include <cmath>

namespace cb::charteditors {

using cb::chart::TChartAxis;
using cb::chart::TCustomAxisPanel;

namespace {

// The whole data range of the axis, its own settings left as they were.
void FullRange(TChartAxis& axis, double& fullMin, double& fullMax) {
    const bool automatic = axis.Automatic();
    const double min = axis.Minimum(), max = axis.Maximum();
    axis.SetAutomatic(true);
    axis.FetchAutomaticLimits(fullMin, fullMax);
    axis.SetAutomatic(automatic);
    if (!automatic) axis.SetManualRange(min, max);
}

}  // namespace

TChartScrollBar::TChartScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
    setRange(0, 30000);
    setValue(0);
    setPageStep(3000);
    setSingleStep(300);
    setEnabled(false);
    FChart.OnGone = [this] { Detach(true); };
    connect(this, &QScrollBar::valueChanged, this, [this](int p) { Changed(p); });
}

TChartScrollBar::~TChartScrollBar() {
    FChart.OnGone = nullptr;
    SetChart(nullptr);
}

TCustomAxisPanel* TChartScrollBar::Chart() const {
    return FChart.As<TCustomAxisPanel>();
}

void TChartScrollBar::SetChart(TCustomAxisPanel* chart) {
    if (chart == Chart()) return;
    Detach(false);
    if (!chart) return;
    FChart.Set(TEditedObject::Part(chart, chart));
    FOldPageChange = chart->OnPageChange;
    FOldScroll = chart->OnScroll;
    FOldZoom = chart->OnZoom;
    FOldUndoZoom = chart->OnUndoZoom;
    chart->OnPageChange = [this](TCustomAxisPanel* sender) {
        RecalcPosition();
        if (FOldPageChange) FOldPageChange(sender);
    };
    auto follow = [this](std::function<void(cb::chart::TCustomPlotPanelExtended*)>* old) {
        return [this, old](cb::chart::TCustomPlotPanelExtended* sender) {
            RecalcPosition();
            if (*old) (*old)(sender);
        };
    };
    chart->OnScroll = follow(&FOldScroll);
    chart->OnZoom = follow(&FOldZoom);
    chart->OnUndoZoom = follow(&FOldUndoZoom);
    setEnabled(chart->NumberOfSeries() > 0);
    RecalcPosition();
}

void TChartScrollBar::Detach(bool chartGoing) {
    TCustomAxisPanel* chart = Chart();
    if (chart && !chartGoing) {
        chart->OnPageChange = std::move(FOldPageChange);
        chart->OnScroll = std::move(FOldScroll);
        chart->OnZoom = std::move(FOldZoom);
        chart->OnUndoZoom = std::move(FOldUndoZoom);
    }
    FOldPageChange = nullptr;
    FOldScroll = FOldZoom = FOldUndoZoom = nullptr;
    if (!chartGoing) FChart.Clear();
    setEnabled(false);
}

void TChartScrollBar::SetInverted(bool on) {
    if (FInverted == on) return;
    FInverted = on;
    RecalcPosition();
}

void TChartScrollBar::SetPageSize(int size) {
    if (FPageSize == size) return;
    FPageSize = size;
}

std::vector<TChartAxis*> TChartScrollBar::SelectedAxes() const {
    TCustomAxisPanel* chart = Chart();
    std::vector<TChartAxis*> axes;
    if (!chart) return axes;
    const bool horizontal = orientation() == Qt::Horizontal;
    if (FAxis != TScrollBarAxis::sbOther) axes.push_back(horizontal ? &chart->BottomAxis() : &chart->LeftAxis());
    if (FAxis != TScrollBarAxis::sbDefault) axes.push_back(horizontal ? &chart->TopAxis() : &chart->RightAxis());
    return axes;
}

bool TChartScrollBar::AxisHasSeries(TChartAxis* axis) const {
    TCustomAxisPanel* chart = Chart();
    for (int i = 0; i < chart->NumberOfSeries(); ++i)
        if (chart->SeriesAt(i)->IsLinkedToAxis(axis)) return true;
    return false;
}

void TChartScrollBar::RecalcPosition() {
    TCustomAxisPanel* chart = Chart();
    if (!chart) return;
    FSetting = true;
    for (TChartAxis* axis : SelectedAxes()) {
        if (!AxisHasSeries(axis)) continue;
        if (chart->MaxPointsPerPage() > 0) {
            setRange(1, std::max(1, chart->NumPages()));
            setSingleStep(1);
            setPageStep(1);
            setValue(chart->Page());
            SetPageSize(1);
        } else if (axis->Automatic()) {
            setValue((minimum() + maximum()) / 2);
            SetPageSize(maximum() - minimum() + 1);
        } else {
            double fullMin = 0, fullMax = 0;
            FullRange(*axis, fullMin, fullMax);
            if (fullMax - fullMin > 1e-10) {
                int p = int(std::round(((axis->Minimum() + axis->Maximum()) / 2 - fullMin) * maximum() /
                                       (fullMax - fullMin)));
                p = std::max(minimum(), std::min(p, maximum()));
                const bool vertical = orientation() == Qt::Vertical;
                if (vertical != FInverted) p = maximum() - p;
                SetPageSize(int(std::round((axis->Maximum() - axis->Minimum()) * (maximum() - minimum()) /
                                           (fullMax - fullMin))));
                setValue(p - FPageSize / 2);
            }
        }
    }
    FSetting = false;
}

void TChartScrollBar::Changed(int position) {
    TCustomAxisPanel* chart = Chart();
    if (!chart || FSetting) return;
    const bool vertical = orientation() == Qt::Vertical;
    const int p = vertical != FInverted ? maximum() - position : position;
    for (TChartAxis* axis : SelectedAxes()) {
        if (!AxisHasSeries(axis)) continue;
        if (chart->MaxPointsPerPage() > 0) {
            chart->SetPage(p);
            continue;
        }
        if (axis->Automatic()) continue;
        double fullMin = 0, fullMax = 0;
        FullRange(*axis, fullMin, fullMax);
        const int q = p + FPageSize / 2;
        const double centre = fullMin + (fullMax - fullMin) * q / std::max(1, maximum() - minimum());
        const double half = (axis->Maximum() - axis->Minimum()) / 2;
        axis->SetManualRange(centre - half, centre + half);
    }
}

}  // namespace cb::charteditors
