#pragma once
// The grid the editing tests drive: a 5 x 6 grid with one fixed row and
// column, editing and Tab moves on, shown and focused; the editor kind and
// the validator's answer are the test's to set, and the grid's editing
// events are recorded in order.
#include "grid/ExtStringGrid.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cb::grid::test {

// What OnCellValidate answers.
enum class TCheck { Accept, Refuse, Correct };
// How an edit of the current cell is opened without typing.
enum class TOpen { F2, DoubleClick, DirectEdit };

class EditingFixture : public ::testing::Test {
public:
    // Cell size and window size of the grid.
    EditingFixture(int colWidth = 70, int rowHeight = 22, QSize size = {400, 200})
        : FColWidth(colWidth), FRowHeight(rowHeight), FSize(size) {}

    void SetUp() override {
        Grid.SetColCount(5);
        Grid.SetRowCount(6);
        Grid.SetFixedCols(1);
        Grid.SetFixedRows(1);
        for (int c = 0; c < 5; ++c) Grid.SetColWidths(c, FColWidth);
        for (int r = 0; r < 6; ++r) Grid.SetRowHeights(r, FRowHeight);
        Grid.SetOptions(Grid.Options() | goEditing | goTabs);
        Grid.resize(FSize);
        Grid.OnGetEditorType = [this](QObject*, int, int, TEditorType& kind) {
            kind = Kind;
            Grid.ComboItems() = {"Red", "Green", "Blue"};
        };
        Grid.OnCellValidate = [this](QObject*, int col, int row, std::string& value, bool& valid) {
            Events.push_back("validate " + std::to_string(col) + "," + std::to_string(row) + " " + value);
            if (Check == TCheck::Refuse) valid = false;
            if (Check == TCheck::Correct) value = "fixed";
        };
        Grid.OnCellsChanged = [this](QObject*, const TGridRect& r) {
            Events.push_back("changed " + std::to_string(r.Left) + "," + std::to_string(r.Top));
        };
        Grid.OnEditingDone = [this](QObject*) { Events.push_back("done"); };
        Grid.OnDropError = [this](QObject*, const std::string& m) { Events.push_back("error " + m); };
        Grid.show();
        QApplication::setActiveWindow(&Grid);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
        Grid.setFocus();
    }

    QWidget* Focus() const { return QApplication::focusWidget(); }
    // Opens the editor on the current cell.
    void Open(TOpen how) {
        switch (how) {
        case TOpen::F2:
            QTest::keyClick(&Grid, Qt::Key_F2);
            break;
        case TOpen::DoubleClick:
            QTest::mouseDClick(&Grid, Qt::LeftButton, {}, At(Grid.Col(), Grid.Row()));
            break;
        case TOpen::DirectEdit:
            Grid.MouseActions.DirectEdit = true;
            QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(Grid.Col(), Grid.Row()));
            QCoreApplication::processEvents();
            Grid.MouseActions.DirectEdit = false;
            break;
        }
    }
    // The centre of a cell, in the grid's client pixels.
    QPoint At(int col, int row) const {
        const TRect r = Grid.CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    TExtStringGrid Grid;
    TEditorType Kind = edNormal;
    TCheck Check = TCheck::Accept;
    std::vector<std::string> Events;

private:
    int FColWidth, FRowHeight;
    QSize FSize;
};

}  // namespace cb::grid::test
