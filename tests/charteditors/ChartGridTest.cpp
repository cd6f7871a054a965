// The data grid and its navigator: the table of a chart's points, edited
// with the keyboard and the navigator; the chart follows.
#include "EditorTestSupport.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartGridNavigator.h"

#include <QApplication>
#include <QLineEdit>

using namespace cb::charteditors;
using cb::chart::TChartSeries;
using cb::chartexport::nbDelete;
using cb::chartexport::nbInsert;
using cb::chartexport::nbLast;
using cb::chartexport::nbNext;
using cb::chartexport::nbPrior;

namespace {

class ChartGrid : public ::testing::Test {
protected:
    void SetUp() override {
        chart = std::make_unique<cb::chart::TChart>();
        chart->resize(400, 300);
        line = chart->AdoptSeries(std::make_unique<cb::chart::TLineSeries>());
        line->SetTitle("Sales");
        for (int i = 0; i < 5; ++i) line->AddValue(10 + i, std::string(1, char('a' + i)));
        grid.resize(400, 260);
        grid.SetChart(chart.get());
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
    }
    // Moves to the cell and types text there, then Enter.
    void Type(int col, int row, const QString& text) {
        grid.setCurrentIndex(grid.model()->index(row, col));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr) << "no cell editor";
        editor->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        else
            QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    double Y(int i) { return line->YValues().Value(i); }

    std::unique_ptr<cb::chart::TChart> chart;
    TChartSeries* line = nullptr;
    TChartGrid grid;
};

TEST(ChartGridLayout, WithoutChartOnlyTheNumberColumn) {
    TChartGrid grid;
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(grid.RowCount(), grid.HeaderRows() + 1);
}

TEST_F(ChartGrid, ColumnsFollowTheSeriesAndTheirXValues) {
    EXPECT_EQ(grid.ColCount(), 3);  // #, Text, Y
    EXPECT_EQ(grid.RowCount(), 2 + 5);
    EXPECT_EQ(grid.CellText(0, 1), "#");
    EXPECT_EQ(grid.CellText(1, 1), "Text");
    EXPECT_EQ(grid.CellText(2, 0), "Sales");
    EXPECT_EQ(grid.CellText(2, 1), "Y");
    EXPECT_EQ(grid.CellText(0, 4), "2");
    EXPECT_EQ(grid.CellText(1, 4), "c");
    EXPECT_EQ(grid.CellText(2, 4), "12");

    for (int i = 0; i < 5; ++i) line->XValues().SetValue(i, 10.0 * (i + 1));
    grid.RecalcDimensions();
    EXPECT_EQ(grid.ColCount(), 4) << "X values of their own get a column";
    EXPECT_EQ(grid.CellText(2, 1), "X");
    EXPECT_EQ(grid.CellText(2, 3), "20");
    grid.SetShowXValues(cgsNo);
    EXPECT_EQ(grid.ColCount(), 3);
    grid.SetShowColors(true);
    EXPECT_EQ(grid.ColorsColumn(), 1);
    EXPECT_EQ(grid.LabelsColumn(), 2);
    EXPECT_EQ(grid.ColumnList(3), &line->YValues());

    // Points added elsewhere show once the series says its data changed.
    line->AddValue(99);
    line->NotifyDataChanged();
    EXPECT_EQ(grid.RowCount(), 2 + 6);
    EXPECT_EQ(grid.CellText(3, 2), "99") << "X 5 sorts before X 10";
}

TEST_F(ChartGrid, TypedValuesAndLabelsGoIntoTheSeries) {
    Type(2, 3, "42.5");
    EXPECT_DOUBLE_EQ(Y(1), 42.5);
    EXPECT_TRUE(line->ManualData());
    Type(2, 3, "abc");
    EXPECT_DOUBLE_EQ(Y(1), 42.5) << "text that is no number changes nothing";
    Type(1, 2, "first");
    EXPECT_EQ(line->PointLabel(0), "first");
    cbtest::Screenshot(&grid, "data_grid");

    // Clearing a value makes the point null; its colour cell shows no colour.
    grid.SetShowColors(true);
    Type(3, 4, "");
    EXPECT_TRUE(line->IsEmptyPoint(2));
    EXPECT_EQ(grid.CellText(3, 4), "");
    EXPECT_FALSE(grid.model()->index(4, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(grid.model()->index(5, 1).data(Qt::BackgroundRole).isValid());
    Type(3, 4, "7");
    EXPECT_FALSE(line->IsEmptyPoint(2));
    EXPECT_DOUBLE_EQ(Y(2), 7);
}

TEST_F(ChartGrid, EscapeCancelsTheEdit) {
    grid.setCurrentIndex(grid.model()->index(2, 2));
    QTest::keyClick(&grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "77");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(grid.Editing());
    EXPECT_DOUBLE_EQ(Y(0), 10);
    EXPECT_EQ(grid.CellText(2, 2), "10");
}

TEST_F(ChartGrid, DownOnTheLastRowAppendsAndUpTakesItBack) {
    grid.setCurrentIndex(grid.model()->index(grid.RowCount() - 1, 2));
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(line->PointCount(), 6);
    EXPECT_TRUE(line->IsEmptyPoint(5));
    EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
    EXPECT_EQ(grid.RowCount(), 2 + 6);
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(line->PointCount(), 5);
    EXPECT_EQ(grid.RowCount(), 2 + 5);
    // A point with a value stays.
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(line->PointCount(), 5);
    EXPECT_EQ(grid.Row(), grid.RowCount() - 2);
}

TEST_F(ChartGrid, NavigatorMovesInsertsAndDeletes) {
    TChartGridNavigator nav;
    nav.SetGrid(&grid);
    EXPECT_FALSE(nav.Button(nbPrior)->isEnabled()) << "on the first row";
    EXPECT_TRUE(nav.Button(nbNext)->isEnabled());
    nav.BtnClick(nbLast);
    EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
    EXPECT_FALSE(nav.Button(nbNext)->isEnabled());
    EXPECT_TRUE(nav.Button(nbPrior)->isEnabled());
    nav.BtnClick(nbPrior);
    EXPECT_EQ(grid.Row(), grid.RowCount() - 2);

    nav.BtnClick(nbInsert);
    EXPECT_EQ(line->PointCount(), 6);
    EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
    Type(2, grid.RowCount() - 1, "5");
    EXPECT_DOUBLE_EQ(Y(5), 5);

    // Deleting point 1 renumbers the positions 0 .. n-1.
    grid.setCurrentIndex(grid.model()->index(3, 2));
    ASSERT_TRUE(nav.Button(nbDelete)->isEnabled());
    nav.BtnClick(nbDelete);
    EXPECT_EQ(line->PointCount(), 5);
    EXPECT_DOUBLE_EQ(Y(1), 12);
    for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(line->XValues().Value(i), i);
    EXPECT_EQ(grid.RowCount(), 2 + 5);
}

// A navigator that counts how often the grid tells it something.
class TCountingNavigator : public TChartGridNavigator {
public:
    void EnableButtons() override {
        ++Calls;
        TChartGridNavigator::EnableButtons();
    }
    int Calls = 0;
};

TEST_F(ChartGrid, ANavigatorThatLeavesTakesItsHooksAlong) {
    enum Leave { ToNone, ToAnotherGrid, Freed, Replaced };
    for (Leave how : {ToNone, ToAnotherGrid, Freed, Replaced}) {
        auto nav = std::make_unique<TCountingNavigator>();
        nav->SetGrid(&grid);
        ASSERT_TRUE(grid.UpdateHook);
        grid.RecalcDimensions();
        EXPECT_GT(nav->Calls, 0);
        TChartGrid other;
        TCountingNavigator second;
        switch (how) {
        case ToNone: nav->SetGrid(nullptr); break;
        case ToAnotherGrid: nav->SetGrid(&other); break;
        case Freed: nav.reset(); break;
        case Replaced: second.SetGrid(&grid); break;
        }
        if (how == Replaced) {
            EXPECT_EQ(nav->Grid(), nullptr);
            EXPECT_EQ(grid.Navigator(), &second);
            second.SetGrid(nullptr);
        }
        EXPECT_FALSE(grid.UpdateHook) << how;
        EXPECT_FALSE(grid.SelectCellHook) << how;
        EXPECT_EQ(grid.Navigator(), nullptr) << how;
        const int calls = nav ? nav->Calls : 0;
        grid.AppendRow();
        grid.setCurrentIndex(grid.model()->index(2, 2));
        if (nav) EXPECT_EQ(nav->Calls, calls) << how;
    }
}

TEST_F(ChartGrid, AGridThatGoesLeavesTheNavigatorWithoutOne) {
    TChartGridNavigator nav;
    {
        TChartGrid gone;
        gone.SetChart(chart.get());
        nav.SetGrid(&gone);
    }
    EXPECT_EQ(nav.Grid(), nullptr);
    nav.BtnClick(nbNext);
    nav.EnableButtons();
    EXPECT_FALSE(nav.Button(nbNext)->isEnabled());
}

TEST_F(ChartGrid, OneSeriesAloneAndAChartThatGoes) {
    TChartSeries* second = chart->AdoptSeries(std::make_unique<cb::chart::TLineSeries>());
    second->AddValue(1);
    grid.RecalcDimensions();
    EXPECT_EQ(grid.ColCount(), 4);
    grid.SetSeries(second);
    EXPECT_EQ(grid.Chart(), nullptr);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);
    delete second;
    EXPECT_EQ(grid.Series(), nullptr);
    EXPECT_EQ(grid.ColCount(), 1);
    grid.SetChart(chart.get());
    chart.reset();
    EXPECT_EQ(grid.Chart(), nullptr);
    EXPECT_EQ(grid.ColCount(), 1);
}

}  // namespace
