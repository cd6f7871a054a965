#pragma once
// The chart view's legend kept to a share of the chart: a legend above or
// below the plot takes at most a third of the chart's height, so the plot
// always keeps the larger part; the items that do not fit are shown a page
// at a time, turned with the strip's two buttons. The strip shows only
// while the legend holds more items than fit.
#include <QPointer>
#include <QWidget>

#include <vector>

class QLabel;
class QToolButton;

namespace cb::chart {
class TChart;
class TCustomAxisPanel;
}  // namespace cb::chart

namespace cb::app {

class TChartLegendPager : public QWidget {
    Q_OBJECT
public:
    // Hooks the chart's before- and after-draw events, and gives them back
    // when it goes before the chart.
    TChartLegendPager(QWidget* parent, cb::chart::TChart& chart);
    ~TChartLegendPager() override;

    // Rows a legend of items this high may take in a chart this high.
    static int RowsForHeight(int chartHeight, int itemHeight);

    void NextPage();
    void PreviousPage();
    // Back to the first item, as for new data.
    void FirstPage();
    // Items before or after those the legend showed when last drawn.
    bool HasPrevious() const;
    bool HasNext() const;
    // "Legend 1 - 24 of 56" as the strip shows it.
    QString ItemsText() const;

    QToolButton* btnPrevious;
    QToolButton* btnNext;
    QLabel* lblItems;

private:
    void BeforeDraw(cb::chart::TCustomAxisPanel* chart);
    void AfterDraw(cb::chart::TCustomAxisPanel* chart);
    void UpdateStrip();

    cb::chart::TChart& FChart;
    QPointer<QWidget> FChartAlive;  // the chart may go first among its siblings
    // What the legend showed when last drawn (first and last item, count).
    int FFirst = 0, FLast = -1, FCount = 0, FPageSize = 0;
    bool FUpdateQueued = false;
    // First items of the pages turned past (a page's size follows its texts).
    std::vector<int> FPageStarts;
};

}  // namespace cb::app
