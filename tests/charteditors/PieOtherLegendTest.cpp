// The pie editor's "Le&gend..." button: the legend editor on the legend of
// the grouped slices, that legend drawn after the pie listing only them,
// Cancel giving it back, and the legend going along when a pie is copied.
#include "EditorTestSupport.h"
#include "UserActions.h"

#include "chart/component/PieOtherLegend.h"
#include "chart/series/pie/PieSeries.h"
#include "charteditors/StandardEditors.h"
#include "charteditors/dialog/LegendPage.h"
#include "charteditors/series/PieSeriesEditor.h"

#include <QCheckBox>
#include <QPushButton>

using namespace cb::chart;
using namespace cb::charteditors;

namespace {

struct PieOtherLegend : ::testing::Test {
    std::unique_ptr<TChart> chart = std::make_unique<TChart>();
    TPieSeries* pie = nullptr;
    void SetUp() override {
        RegisterStandardSeriesTypes();
        RegisterStandardEditors();
        chart->resize(500, 320);
        pie = chart->CreateSeries<TPieSeries>();
        const char* labels[] = {"fifty", "forty", "six", "three", "one"};
        int i = 0;
        for (double v : {50.0, 40.0, 6.0, 3.0, 1.0}) pie->AddValue(v, labels[i++]);
        pie->OtherSlice().SetStyle(poBelowPercent);
        pie->OtherSlice().SetValue(5);
    }
    // Clicks "Le&gend..." and lets act work on the legend editor.
    void EditLegend(TPieSeriesEditor* e, std::function<void(TFormPlotLegend*)> act) {
        bool opened = false;
        cbtest::OnNextModal([&](QWidget* w) {
            auto* form = dynamic_cast<TFormPlotLegend*>(w);
            ASSERT_NE(form, nullptr) << "expected the legend editor";
            opened = true;
            act(form);
        });
        cbtest::Click(e->Button2);
        EXPECT_TRUE(opened);
    }
};

TEST_F(PieOtherLegend, LegendButtonEditsTheLegendOfTheGroupedSlices) {
    auto e = cbtest::OpenEditor<TPieSeriesEditor>(pie->EditorClassName(), TEditedObject::Element(pie));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Button2->text(), "Le&gend...");
    EditLegend(e.get(), [](TFormPlotLegend* form) {
        EXPECT_FALSE(form->CBShow->isChecked());  // made hidden
        cbtest::Click(form->CBShow);
        cbtest::Screenshot(form, "pie-other-legend-editor");
        form->accept();
    });
    TChartLegend& legend = OtherSliceLegend(*pie);
    EXPECT_TRUE(legend.Visible());
    // Drawn after the pie: the grouped 3 and 1; the chart's legend lists
    // the other three and "Other".
    chart->show();
    (void)chart->grab();
    cbtest::Screenshot(chart.get(), "pie-other-legend");
    EXPECT_EQ(legend.TotalItems(), 2);
    EXPECT_EQ(chart->Legend().TotalItems(), 4);

    // Cancel gives the legend back as it was.
    EditLegend(e.get(), [](TFormPlotLegend* form) {
        cbtest::Click(form->CBShow);
        form->reject();
    });
    EXPECT_TRUE(OtherSliceLegend(*pie).Visible());
    EXPECT_EQ(OtherSliceLegend(*pie).LegendSeries(), pie);
}

TEST_F(PieOtherLegend, CopiedWithThePieAndRemadeOnAnotherChart) {
    OtherSliceLegend(*pie).SetVisible(true);
    OtherSliceLegend(*pie).SetVertMargin(17);
    auto* copy = chart->CreateSeries<TPieSeries>();
    copy->AssignSeries(*pie);
    ASSERT_NE(copy->OtherSlice().Legend(), nullptr);
    TChartLegend& copied = OtherSliceLegend(*copy);
    EXPECT_NE(&copied, &OtherSliceLegend(*pie));
    EXPECT_TRUE(copied.Visible());
    EXPECT_EQ(copied.VertMargin(), 17);
    EXPECT_EQ(copied.LegendSeries(), copy);
    // A pie without one frees the copy's.
    auto* plain = chart->CreateSeries<TPieSeries>();
    copy->AssignSeries(*plain);
    EXPECT_EQ(copy->OtherSlice().Legend(), nullptr);

    TChart other;
    pie->SetParentChart(&other);
    EXPECT_EQ(OtherSliceLegend(*pie).Chart(), &other);
    EXPECT_EQ(OtherSliceLegend(*pie).VertMargin(), 17);
    pie->SetParentChart(chart.get());
}

}  // namespace
