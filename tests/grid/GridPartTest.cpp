// The grid's parts: key, mouse and drop events reach them before the grid,
// in order (editing first), a handled event goes no further, and an error a
// part throws is reported instead of escaping the event.
#include "grid/GridPart.h"
#include "grid/ExtStringGrid.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace cb::grid;

namespace {

// A part that logs what it is offered and handles what it is told to.
class TLogPart : public TGridPart {
public:
    TLogPart(std::string name, std::vector<std::string>& log) : FName(std::move(name)), FLog(log) {}
    int HandleKey = 0;  // this key is handled
    bool HandlePress = false;
    bool HandleDrop = false;
    bool Throw = false;
    bool KeyPress(QKeyEvent& e) override { return Note("key", e.key() == HandleKey); }
    bool MousePress(QMouseEvent&) override { return Note("press", HandlePress); }
    bool MouseDoubleClick(QMouseEvent&) override { return Note("dblclick", false); }
    bool DragMove(QDragMoveEvent& e) override {
        if (HandleDrop) e.acceptProposedAction();
        return Note("drag", HandleDrop);
    }
    bool Drop(QDropEvent& e) override {
        if (HandleDrop) e.acceptProposedAction();
        return Note("drop", HandleDrop);
    }
    void FocusOut(QFocusEvent&) override { FLog.push_back(FName + " focusout"); }

private:
    bool Note(const char* what, bool handled) {
        FLog.push_back(FName + " " + what);
        if (Throw) throw EExtGridError("part failed on " + std::string(what));
        return handled;
    }
    std::string FName;
    std::vector<std::string>& FLog;
};

class GridParts : public ::testing::Test {
protected:
    void SetUp() override {
        Grid.SetColCount(4);
        Grid.SetRowCount(10);
        for (int c = 0; c < 4; ++c) Grid.SetColWidths(c, 60);
        for (int r = 0; r < 10; ++r) Grid.SetRowHeights(r, 20);
        Grid.resize(300, 250);
        auto edit = std::make_unique<TLogPart>("edit", Log);
        auto data = std::make_unique<TLogPart>("data", Log);
        Edit = edit.get();
        Data = data.get();
        Grid.SetPart(TGridPartKind::Edit, std::move(edit));
        Grid.SetPart(TGridPartKind::Data, std::move(data));
        Grid.OnDropError = [this](QObject*, const std::string& message) { Errors.push_back(message); };
        Grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
    }

    QPoint At(int col, int row) const {
        const TRect r = Grid.CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    TExtStringGrid Grid;
    TLogPart* Edit = nullptr;
    TLogPart* Data = nullptr;
    std::vector<std::string> Log;
    std::vector<std::string> Errors;
};

TEST_F(GridParts, KeysGoToEditingThenDataThenTheGrid) {
    Grid.FocusCell(1, 1, true);
    // Unhandled: both parts hear it and the grid moves down.
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Log, (std::vector<std::string>{"edit key", "data key"}));
    EXPECT_EQ(Grid.Row(), 2);

    // Handled by the data part: the grid does not move.
    Log.clear();
    Data->HandleKey = Qt::Key_Down;
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Log, (std::vector<std::string>{"edit key", "data key"}));
    EXPECT_EQ(Grid.Row(), 2);

    // Handled by editing: the data part never sees it.
    Log.clear();
    Edit->HandleKey = Qt::Key_Down;
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Log, (std::vector<std::string>{"edit key"}));
    EXPECT_EQ(Grid.Row(), 2);
}

TEST_F(GridParts, AHandledPressDoesNotSelect) {
    Grid.FocusCell(1, 1, true);
    Edit->HandlePress = true;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 4));
    EXPECT_EQ(Log.front(), "edit press");
    EXPECT_EQ(Grid.Col(), 1);
    EXPECT_EQ(Grid.Row(), 1);

    Edit->HandlePress = false;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 4));
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 4);
}

TEST_F(GridParts, DropsGoToThePartsFirst) {
    QMimeData data;
    data.setText("a\tb");
    const QPoint at = At(1, 2);
    Data->HandleDrop = true;
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Grid, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Grid, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Log, (std::vector<std::string>{"edit drag", "data drag", "edit drop", "data drop"}));
    // The part took the drop: the grid wrote nothing.
    EXPECT_EQ(Grid.Cells(1, 2), "");
}

TEST_F(GridParts, APartsErrorIsReportedAndEndsTheEvent) {
    Grid.FocusCell(1, 1, true);
    Edit->Throw = true;
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Errors, (std::vector<std::string>{"part failed on key"}));
    EXPECT_EQ(Log, (std::vector<std::string>{"edit key"}));
    EXPECT_EQ(Grid.Row(), 1);
}

TEST_F(GridParts, EveryPartHearsTheFocusLeave) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&Grid, &out);
    EXPECT_EQ(Log, (std::vector<std::string>{"edit focusout", "data focusout"}));
}

TEST(GridPartsOwnership, PartsCanBeReplacedAndRemoved) {
    TExtStringGrid grid;
    std::vector<std::string> log;
    grid.SetPart(TGridPartKind::Data, std::make_unique<TLogPart>("data", log));
    EXPECT_NE(grid.Part(TGridPartKind::Data), nullptr);
    grid.SetPart(TGridPartKind::Data, nullptr);
    EXPECT_EQ(grid.Part(TGridPartKind::Data), nullptr);
}

}  // namespace
