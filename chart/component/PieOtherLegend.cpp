#include "chart/component/PieOtherLegend.h"

#include "chart/panel/CustomAxisPanel.h"
#include "chart/series/pie/PieSeries.h"

namespace cb::chart {

namespace {

class TPieOtherChartLegend : public TPieOtherLegend {
public:
    explicit TPieOtherChartLegend(TPieSeries& owner) : FOwner(owner), FLegend(make(owner.ParentChart())) {
        FLegend->Hide();
    }

    TChartLegend& Legend() { return *FLegend; }
    bool Visible() override { return FLegend->Visible(); }
    void Paint() override {
        FLegend->SetLegendSeries(&FOwner);
        FLegend->Paint();
    }
    void SetChart(TCustomAxisPanel* chart) override {
        if (FLegend->Chart() == chart) return;
        // A legend lists the series of the chart it was made for.
        std::unique_ptr<TChartLegend> moved = make(chart);
        moved->Assign(*FLegend);
        moved->SetLegendSeries(&FOwner);
        FLegend = std::move(moved);
    }
    std::unique_ptr<TPieOtherLegend> Clone(TPieSeries& owner) override {
        auto copy = std::make_unique<TPieOtherChartLegend>(owner);
        copy->FLegend->Assign(*FLegend);
        copy->FLegend->SetLegendSeries(&owner);
        return copy;
    }

private:
    std::unique_ptr<TChartLegend> make(TCustomAxisPanel* chart) const {
        auto legend = std::make_unique<TChartLegend>(chart);
        legend->SetLegendStyle(lsValues);
        legend->SetLegendSeries(&FOwner);
        return legend;
    }

    TPieSeries& FOwner;
    std::unique_ptr<TChartLegend> FLegend;
};

}  // namespace

TChartLegend& OtherSliceLegend(TPieSeries& pie) {
    TPieOtherSlice& slice = pie.OtherSlice();
    if (!dynamic_cast<TPieOtherChartLegend*>(slice.Legend()))
        slice.SetLegend(std::make_unique<TPieOtherChartLegend>(pie));
    return static_cast<TPieOtherChartLegend*>(slice.Legend())->Legend();
}

}  // namespace cb::chart
