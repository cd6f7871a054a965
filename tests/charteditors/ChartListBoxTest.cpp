// The series list box lists, reorders, hides and deletes the chart's series
// and follows changes made elsewhere.
#include "EditorTestSupport.h"
#include "charteditors/controls/ChartListBox.h"

using namespace cb::charteditors;
using cb::chart::TChartSeries;

namespace {

struct ListBoxFixture : ::testing::Test {
    void SetUp() override {
        chart = cbtest::MakeSampleChart();
        list.resize(300, 400);
        list.SetChart(chart.get());
        list.show();
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int i = 0; i < list.count(); ++i) rows.push_back(list.item(i)->text().toStdString());
        return rows;
    }
    QPoint At(int row, int x) const { return {x, list.visualItemRect(list.item(row)).center().y()}; }

    std::unique_ptr<cb::chart::TChart> chart;
    TChartListBox list;
};

TEST_F(ListBoxFixture, ListsTheSeriesInChartOrder) {
    ASSERT_EQ(list.count(), chart->NumberOfSeries());
    for (int i = 0; i < list.count(); ++i) EXPECT_EQ(list.SeriesAtRow(i), chart->SeriesAt(i));
    EXPECT_EQ(list.currentRow(), 0);
    cbtest::Screenshot(&list, "series_list_box");
}

TEST_F(ListBoxFixture, TheCheckHidesAndShowsASeries) {
    TChartSeries* s = chart->SeriesAt(1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::CheckLeft + 6));
    EXPECT_FALSE(s->Active());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(1, TChartListBox::CheckLeft + 6));
    EXPECT_TRUE(s->Active());
}

TEST_F(ListBoxFixture, RadioStyleKeepsOnlyTheFirstActive) {
    list.SetCheckStyle(TCheckBoxesStyle::cbsRadio);
    EXPECT_TRUE(chart->SeriesAt(0)->Active());
    for (int i = 1; i < chart->NumberOfSeries(); ++i) EXPECT_FALSE(chart->SeriesAt(i)->Active()) << i;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, At(2, TChartListBox::CheckLeft + 6));
    EXPECT_FALSE(chart->SeriesAt(0)->Active());
    EXPECT_TRUE(chart->SeriesAt(2)->Active());
}

TEST_F(ListBoxFixture, MovesReorderTheChartsSeries) {
    TChartSeries* first = chart->SeriesAt(0);
    TChartSeries* second = chart->SeriesAt(1);
    std::pair<TChartSeries*, TChartSeries*> told{};
    list.OnChangeOrder = [&](TChartSeries* a, TChartSeries* b) { told = {a, b}; };
    list.setCurrentRow(0);
    list.MoveDown();
    EXPECT_EQ(chart->SeriesAt(0), second);
    EXPECT_EQ(chart->SeriesAt(1), first);
    EXPECT_EQ(list.SeriesAtRow(1), first);
    EXPECT_EQ(list.SelectedSeries(), first);
    EXPECT_EQ(told.first, first);
    list.MoveUp();
    EXPECT_EQ(chart->SeriesAt(0), first);
}

TEST_F(ListBoxFixture, DeleteAsksAndFreesTheSelectedSeries) {
    const int n = chart->NumberOfSeries();
    {
        cbtest::TConfirmAnswer no(false);
        list.setCurrentRow(0);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Delete);
        EXPECT_EQ(no.Asked, "Delete " + chart->SeriesAt(0)->Title() + " ?");
        EXPECT_EQ(chart->NumberOfSeries(), n);
    }
    cbtest::TConfirmAnswer yes(true);
    list.clearSelection();
    list.item(0)->setSelected(true);
    list.item(1)->setSelected(true);
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_EQ(yes.Asked, "Delete (Selected Series) ?");
    EXPECT_EQ(chart->NumberOfSeries(), n - 2);
    EXPECT_EQ(list.count(), n - 2);
}

TEST_F(ListBoxFixture, FollowsChangesMadeElsewhere) {
    TChartSeries* gone = chart->SeriesAt(2);
    TChartSeries* told = nullptr;
    list.OnRemovedSeries = [&](TChartSeries* s) { told = s; };
    delete gone;
    EXPECT_EQ(told, gone);
    EXPECT_EQ(list.count(), chart->NumberOfSeries());
    chart->SeriesAt(0)->SetTitle("Renamed");
    EXPECT_EQ(list.item(0)->text(), "Renamed");
    chart.reset();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.Chart(), nullptr);
}

}  // namespace
