#include "app/ui/views/ChartLegendPager.h"

#include "chart/canvas/Canvas3D.h"
#include "chart/component/Chart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QToolButton>

#include <algorithm>

namespace cb::app {

namespace {
constexpr int kShareDivisor = 3;  // the legend takes at most a third of the chart
constexpr int kMostRows = 100;    // and at most the view's 100 rows
}

TChartLegendPager::TChartLegendPager(QWidget* parent, cb::chart::TChart& chart) : QWidget(parent), FChart(chart), FChartAlive(&chart) {
    setObjectName("panLegendPages");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(4);
    btnPrevious = new QToolButton(this);
    btnPrevious->setObjectName("btnLegendPrevious");
    btnPrevious->setArrowType(Qt::LeftArrow);
    btnPrevious->setAutoRaise(true);
    btnPrevious->setToolTip("Previous Legend Page");
    lblItems = new QLabel(this);
    lblItems->setObjectName("lblLegendItems");
    btnNext = new QToolButton(this);
    btnNext->setObjectName("btnLegendNext");
    btnNext->setArrowType(Qt::RightArrow);
    btnNext->setAutoRaise(true);
    btnNext->setToolTip("Next Legend Page");
    layout->addStretch(1);
    layout->addWidget(btnPrevious);
    layout->addWidget(lblItems);
    layout->addWidget(btnNext);
    layout->addStretch(1);
    connect(btnPrevious, &QToolButton::clicked, this, [this] { PreviousPage(); });
    connect(btnNext, &QToolButton::clicked, this, [this] { NextPage(); });
    hide();

    FChart.OnBeforeDrawChart = [this](cb::chart::TCustomAxisPanel* c) { BeforeDraw(c); };
    FChart.OnAfterDraw = [this](cb::chart::TCustomAxisPanel* c) { AfterDraw(c); };
}

TChartLegendPager::~TChartLegendPager() {
    if (!FChartAlive) return;
    FChart.OnBeforeDrawChart = nullptr;
    FChart.OnAfterDraw = nullptr;
}

int TChartLegendPager::RowsForHeight(int chartHeight, int itemHeight) {
    // The legend's box is its rows and two pixels of frame.
    return std::clamp((chartHeight / kShareDivisor - 2) / std::max(1, itemHeight), 1, kMostRows);
}

void TChartLegendPager::BeforeDraw(cb::chart::TCustomAxisPanel* chart) {
    auto& legend = FChart.Legend();
    if (legend.IsVertical() || !chart->Canvas()) return;  // a side legend's rows end at the chart's bottom
    // The legend's item height, as its paint measures it.
    cb::chart::TCanvas3D& c = *chart->Canvas();
    c.AssignFont(legend.Font());
    int itemHeight = c.FontHeight();
    if (legend.CheckBoxesShown()) itemHeight = std::max(itemHeight, 17);
    itemHeight += legend.VertSpacing();
    legend.SetMaxNumRows(RowsForHeight(chart->ChartBounds().Height(), itemHeight));
}

void TChartLegendPager::AfterDraw(cb::chart::TCustomAxisPanel*) {
    auto& legend = FChart.Legend();
    const bool shown = legend.IsShown();
    FFirst = legend.FirstValue();
    FCount = shown ? FFirst + legend.TotalItems() : 0;
    FLast = shown ? legend.LastValue() : -1;
    FPageSize = std::max(1, legend.Columns() * legend.Rows());
    // The strip changes the layout: not while the chart paints.
    if (FUpdateQueued) return;
    FUpdateQueued = true;
    QMetaObject::invokeMethod(this, [this] { UpdateStrip(); }, Qt::QueuedConnection);
}

void TChartLegendPager::UpdateStrip() {
    FUpdateQueued = false;
    // Fewer items than the page started at (new data): back to the start.
    if (FFirst > 0 && FCount <= FFirst) {
        FirstPage();
        return;
    }
    const bool paged = HasPrevious() || HasNext();
    btnPrevious->setEnabled(HasPrevious());
    btnNext->setEnabled(HasNext());
    lblItems->setText(ItemsText());
    setVisible(paged && !FChart.isHidden());
}

bool TChartLegendPager::HasPrevious() const {
    return FFirst > 0 && FCount > 0;
}

bool TChartLegendPager::HasNext() const {
    return FLast >= FFirst && FLast < FCount - 1;
}

QString TChartLegendPager::ItemsText() const {
    if (FLast < FFirst) return QString();
    return QString("Legend %1 - %2 of %3").arg(FFirst + 1).arg(FLast + 1).arg(FCount);
}

void TChartLegendPager::NextPage() {
    if (!HasNext()) return;
    FPageStarts.push_back(FFirst);
    FChart.Legend().SetFirstValue(FLast + 1);
}

void TChartLegendPager::PreviousPage() {
    if (!HasPrevious()) return;
    int first = std::max(0, FFirst - FPageSize);
    if (!FPageStarts.empty()) {
        first = std::min(FPageStarts.back(), FFirst - 1);
        FPageStarts.pop_back();
    }
    FChart.Legend().SetFirstValue(std::max(0, first));
}

void TChartLegendPager::FirstPage() {
    FPageStarts.clear();
    FChart.Legend().SetFirstValue(0);
}

}  // namespace cb::app
