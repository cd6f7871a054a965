// The data grid and its navigator: the table of a chart's points, edited
// with the keyboard and the navigator; the chart follows.
#include "EditorTestSupport.h"
#include "XYZSeriesSupport.h"
#include "chart/series/ChartValueList.h"
#include "chart/series/line/LineSeries.h"
#include "charteditors/controls/ChartGrid.h"
#include "charteditors/controls/ChartGridNavigator.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/Strings.h"

#include <QApplication>
#include <QImage>
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

// The matrix view: Y over the distinct X values (columns) and Z values
// (rows), in ascending order, whatever the values are; a missing point
// leaves its cell empty.
TEST_F(ChartGrid, MatrixViewShowsYOverXAndZ) {
    const struct {
        std::vector<double> xs, zs;
    } cases[] = {{{1, 2, 3}, {1, 2}}, {{0, 5, 10}, {-1, 0.5, 4}}};
    for (const auto& c : cases) {
        auto* xyz = static_cast<cbtest::TXYZPoints*>(chart->AdoptSeries(std::make_unique<cbtest::TXYZPoints>()));
        xyz->SetTitle("Surface");
        xyz->FillGrid(c.xs, c.zs);
        grid.SetGrid3DMode(true);
        SCOPED_TRACE(std::to_string(c.xs.size()) + " x " + std::to_string(c.zs.size()));
        EXPECT_EQ(grid.MatrixSeries(), xyz) << "the first series with Z values";
        ASSERT_EQ(grid.ColCount(), 1 + int(c.xs.size()));
        ASSERT_EQ(grid.RowCount(), 2 + int(c.zs.size()));
        EXPECT_FALSE(grid.ShowLabels());
        EXPECT_FALSE(grid.ShowColors());
        EXPECT_EQ(grid.CellText(0, 1), "#");
        EXPECT_EQ(grid.CellText(1, 0), "Surface");
        EXPECT_EQ(grid.CellText(2, 0), "");
        for (size_t k = 0; k < c.xs.size(); ++k) EXPECT_EQ(grid.CellText(int(k) + 1, 1), cb::rtl::FloatToStr(c.xs[k]));
        for (size_t r = 0; r < c.zs.size(); ++r) {
            EXPECT_EQ(grid.CellText(0, int(r) + 2), cb::rtl::FloatToStr(c.zs[r]));
            for (size_t k = 0; k < c.xs.size(); ++k) {
                const bool missing = k + 1 == c.xs.size() && r + 1 == c.zs.size();
                EXPECT_EQ(grid.CellText(int(k) + 1, int(r) + 2),
                          missing ? "" : cb::rtl::FormatFloat(xyz->ValueFormat(), 10 * c.xs[k] + c.zs[r]))
                    << k << "," << r;
            }
        }
        delete xyz;
        EXPECT_EQ(grid.MatrixSeries(), nullptr) << "the series went";
        EXPECT_EQ(grid.ColCount(), 2) << "the usual table again (labels stay off)";
        grid.SetGrid3DMode(false);
    }
    // A series leaving the chart leaves the usual table at once too.
    TChartSeries* other = chart->AdoptSeries(std::make_unique<cb::chart::TLineSeries>());
    other->AddValue(1);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.ColumnSeries(2), other);
    delete other;
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.ColumnSeries(2), nullptr);
}

TEST_F(ChartGrid, TypingIntoTheMatrixWritesThatPointsY) {
    auto* xyz = static_cast<cbtest::TXYZPoints*>(chart->AdoptSeries(std::make_unique<cbtest::TXYZPoints>()));
    xyz->FillGrid({1, 2, 3}, {1, 2});
    grid.SetGrid3DMode(true);
    ASSERT_EQ(grid.MatrixSeries(), xyz);
    Type(2, 3, "55");
    EXPECT_DOUBLE_EQ(xyz->YAt(2, 2), 55);
    EXPECT_EQ(grid.CellText(2, 3), "55");
    EXPECT_TRUE(xyz->ManualData());
    Type(1, 2, "abc");
    EXPECT_DOUBLE_EQ(xyz->YAt(1, 1), 11) << "text that is no number changes nothing";
    Type(3, 3, "7");
    EXPECT_EQ(xyz->PointCount(), 5) << "no point at X 3, Z 2: nothing is stored";
    EXPECT_EQ(grid.CellText(3, 3), "");
    Type(1, 2, "");
    EXPECT_EQ(grid.CellText(1, 2), "");
    EXPECT_EQ(xyz->PointCount(), 5);
    EXPECT_EQ(line->PointCount(), 5) << "the other series is left alone";

    // Points added elsewhere show; rows are Z values, not points: no row
    // is appended, inserted or deleted here.
    xyz->AddXYZ(4, 43, 3);
    xyz->NotifyDataChanged();
    EXPECT_EQ(grid.ColCount(), 1 + 4);
    EXPECT_EQ(grid.RowCount(), 2 + 3);
    EXPECT_EQ(grid.CellText(4, 4), "43");
    TChartGridNavigator nav;
    nav.SetGrid(&grid);
    grid.setCurrentIndex(grid.model()->index(grid.RowCount() - 1, 4));
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Up);
    grid.setCurrentIndex(grid.model()->index(2, 1));
    nav.BtnClick(nbInsert);
    nav.BtnClick(nbDelete);
    EXPECT_EQ(xyz->PointCount(), 6);
    EXPECT_EQ(line->PointCount(), 5);

    grid.SetGrid3DMode(false);
    EXPECT_EQ(grid.MatrixSeries(), nullptr);
    EXPECT_EQ(grid.ColumnList(2), &xyz->XValues()) << "# and Sales' Y, then the XYZ series' X, Y and Z";
    EXPECT_EQ(grid.ColumnList(4), xyz->Z);
}

// The matrix view needs a series with Z values: the bound one, else the
// chart's first that has them; without one the grid stays the usual table.
TEST_F(ChartGrid, MatrixViewOfTheBoundSeriesOrNone) {
    grid.SetGrid3DMode(true);
    EXPECT_EQ(grid.MatrixSeries(), nullptr);
    EXPECT_EQ(grid.ColCount(), 3) << "#, Text, Y";
    EXPECT_EQ(grid.RowCount(), 2 + 5);
    auto* xyz = static_cast<cbtest::TXYZPoints*>(chart->AdoptSeries(std::make_unique<cbtest::TXYZPoints>()));
    xyz->FillGrid({1, 2}, {1, 2, 3});
    grid.SetSeries(xyz);
    EXPECT_EQ(grid.MatrixSeries(), xyz);
    EXPECT_EQ(grid.RowCount(), 2 + 3);
    EXPECT_FALSE(grid.ShowLabels());
    grid.SetSeries(line);
    EXPECT_EQ(grid.MatrixSeries(), nullptr) << "a bound series without Z values";
    EXPECT_EQ(grid.ColCount(), 2) << "#, Y";
}

// How many pixels of the cell's top-left 12 x 12 square (from 4, 4) are near
// the colour (0x00BBGGRR).
int SymbolPixels(const QImage& image, const QRect& cell, unsigned color) {
    const QColor want(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    int n = 0;
    for (int y = cell.top() + 4; y < cell.top() + 16; ++y)
        for (int x = cell.left() + 4; x < cell.left() + 16; ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - want.red()) < 40 && std::abs(c.green() - want.green()) < 40 &&
                 std::abs(c.blue() - want.blue()) < 40;
        }
    return n;
}

// Row 0 shows each series' legend symbol in its series' colour over the
// series' first column, and nowhere else; the matrix view over its first
// column only.
TEST_F(ChartGrid, HeadersShowEachSeriesLegendSymbol) {
    auto* xyz = static_cast<cbtest::TXYZPoints*>(chart->AdoptSeries(std::make_unique<cbtest::TXYZPoints>()));
    xyz->SetTitle("Surface");
    xyz->FillGrid({1, 2, 3}, {1, 2});
    line->SetSeriesColor(0x0000FF);
    xyz->SetSeriesColor(0xFF0000);
    grid.SetShowXValues(cgsYes);
    grid.resize(520, 200);
    QApplication::processEvents();
    const auto symbols = [&](int col, unsigned color) {
        const QImage image = grid.viewport()->grab().toImage();
        return SymbolPixels(image, grid.visualRect(grid.model()->index(0, col)), color);
    };
    // #, Text, Sales X, Sales Y, Surface X, Y, Z
    ASSERT_EQ(grid.ColCount(), 7);
    EXPECT_GE(symbols(2, 0x0000FF), 6);
    EXPECT_EQ(symbols(3, 0x0000FF), 0);
    EXPECT_GE(symbols(4, 0xFF0000), 6);
    for (int col : {1, 5, 6}) EXPECT_EQ(symbols(col, 0xFF0000) + symbols(col, 0x0000FF), 0) << col;
    cbtest::Screenshot(&grid, "data_grid_symbols");

    grid.SetGrid3DMode(true);
    QApplication::processEvents();
    ASSERT_EQ(grid.ColCount(), 4);
    EXPECT_GE(symbols(1, 0xFF0000), 6);
    for (int col : {2, 3}) EXPECT_EQ(symbols(col, 0xFF0000), 0) << col;
    cbtest::Screenshot(&grid, "data_grid_matrix");
}

}  // namespace
