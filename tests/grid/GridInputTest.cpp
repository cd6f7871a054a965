// Mouse, keyboard, wheel and drag-and-drop gestures on an offscreen grid,
// checked as the events they fire, in order.
#include "grid/ExtStringGrid.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cb::grid;

namespace {

// A grid that records its drags instead of running the system's drag loop.
class TTestGrid : public TExtStringGrid {
public:
    std::vector<std::string> Drags;
    Qt::DropAction DragResult = Qt::MoveAction;
    std::vector<std::string> Imported;
    std::function<void(QMimeData*)> OnExec;

    using TExtStringGrid::TExtStringGrid;

    void ImportCSVFile(const std::string& name) override { Imported.push_back("csv:" + name); }

protected:
    Qt::DropAction ExecDrag(QMimeData* data, Qt::DropActions, Qt::DropAction) override {
        std::unique_ptr<QMimeData> owned(data);
        Drags.push_back(data->text().toStdString());
        if (OnExec) OnExec(data);
        return DragResult;
    }
};

std::string Cell(const char* name, int a, int b) {
    return std::string(name) + " " + std::to_string(a) + "," + std::to_string(b);
}

class GridInput : public ::testing::Test {
protected:
    void SetUp() override {
        Grid.SetColCount(6);
        Grid.SetRowCount(30);
        Grid.SetDefaultColWidth(60);
        Grid.SetDefaultRowHeight(20);
        for (int c = 0; c < 6; ++c) Grid.SetColWidths(c, 60);
        for (int r = 0; r < 30; ++r) Grid.SetRowHeights(r, 20);
        for (int r = 0; r < 30; ++r)
            for (int c = 0; c < 6; ++c) Grid.SetCells(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
        Grid.resize(400, 300);
        Grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Grid));
        Record();
    }

    // The centre of a cell in client pixels.
    QPoint At(int col, int row) const {
        const TRect r = Grid.CellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }

    void Record() {
        Grid.OnRowChanging = [this](QObject*, int from, int to, bool&) {
            Log.push_back(Cell("RowChanging", from, to));
        };
        Grid.OnColChanging = [this](QObject*, int from, int to, bool&) {
            Log.push_back(Cell("ColChanging", from, to));
        };
        Grid.OnMouseDown = [this](QObject*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
            Log.push_back(b == Qt::RightButton ? "MouseDown right" : "MouseDown");
        };
        Grid.OnMouseUp = [this](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
            Log.push_back("MouseUp");
        };
        Grid.OnClick = [this](QObject*) { Log.push_back("Click"); };
        Grid.OnDblClick = [this](QObject*) { Log.push_back("DblClick"); };
        Grid.OnClickCell = [this](QObject*, int row, int col) { Log.push_back(Cell("ClickCell", row, col)); };
        Grid.OnDblClickCell = [this](QObject*, int row, int col) { Log.push_back(Cell("DblClickCell", row, col)); };
        Grid.OnRightClickCell = [this](QObject*, int row, int col) { Log.push_back(Cell("RightClickCell", row, col)); };
    }

    TTestGrid Grid;
    std::vector<std::string> Log;
};

using Events = std::vector<std::string>;

TEST_F(GridInput, ClickMovesTheCellThenFiresClickCellAndReleaseFiresClickThenMouseUp) {
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 3));
    EXPECT_EQ(Log, (Events{"RowChanging 1,3", "ColChanging 1,2", "MouseDown", "ClickCell 3,2", "Click", "MouseUp"}));
    EXPECT_EQ(Grid.Col(), 2);
    EXPECT_EQ(Grid.Row(), 3);
}

TEST_F(GridInput, RefusedRowChangeKeepsTheCurrentCell) {
    Grid.OnRowChanging = [](QObject*, int, int, bool& allow) { allow = false; };
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(3, 4));
    EXPECT_EQ(Grid.Row(), 1);
    EXPECT_EQ(Grid.Col(), 1);
}

TEST_F(GridInput, DoubleClickFiresDblClickThenDblClickCellWithoutASecondClick) {
    // Qt delivers press, release, double click, release.
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
    QTest::mouseDClick(&Grid, Qt::LeftButton, {}, At(2, 2));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(2, 2));
    const Events want{"RowChanging 1,2", "ColChanging 1,2", "MouseDown", "ClickCell 2,2",    "Click",
                      "MouseUp",         "DblClick",        "MouseDown", "DblClickCell 2,2", "MouseUp"};
    EXPECT_EQ(Log, want);
}

TEST_F(GridInput, RightClickReportsTheCellOrMinusOneOutsideWithoutMovingTheCurrentCell) {
    QTest::mouseClick(&Grid, Qt::RightButton, {}, At(4, 5));
    QTest::mouseClick(&Grid, Qt::RightButton, {}, QPoint(390, 290));  // beyond the last column
    EXPECT_EQ(Log, (Events{"MouseDown right", "RightClickCell 5,4", "MouseUp", "MouseDown right",
                           "RightClickCell -1,-1", "MouseUp"}));
    EXPECT_EQ(Grid.Row(), 1);
}

TEST_F(GridInput, ControlDragStartsOnlyAfterTheMouseMovedBeyondTheThreshold) {
    std::vector<std::string> drag;
    Grid.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { Grid.BeginDrag(false, 5); };
    Grid.OnStartDrag = [&](QObject*, std::unique_ptr<QMimeData>& data) {
        drag.push_back("start");
        data = std::make_unique<QMimeData>();
        data->setText(QString::fromStdString(Grid.Cells(Grid.Col(), Grid.Row())));
    };
    Grid.OnEndDrag = [&](QObject*, Qt::DropAction a) { drag.push_back(a == Qt::IgnoreAction ? "end ignored" : "end"); };

    // A click without moving is a click, not a drag.
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
    EXPECT_TRUE(drag.empty());
    EXPECT_FALSE(Grid.DragPending());

    const QPoint p = At(3, 4);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, p + QPoint(5, 0));
    EXPECT_TRUE(drag.empty());
    QTest::mouseMove(&Grid, p + QPoint(6, 0));
    EXPECT_EQ(drag, (std::vector<std::string>{"start", "end"}));
    EXPECT_EQ(Grid.Drags, (std::vector<std::string>{"r4c3"}));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(6, 0));

    // No data: no drag loop, and the end is still reported.
    Grid.OnStartDrag = [&](QObject*, std::unique_ptr<QMimeData>&) { drag.push_back("start"); };
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, p + QPoint(0, 20));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(0, 20));
    EXPECT_EQ(drag, (std::vector<std::string>{"start", "end", "start", "end ignored"}));
    EXPECT_EQ(Grid.Drags.size(), 1u);
}

// Sends a whole drag over the grid: enter, one move, and the drop.
struct TDropResult {
    bool EnterAccepted = false;
    bool MoveAccepted = false;
    bool DropAccepted = false;
};

TDropResult DragOnto(QWidget& target, const QMimeData& data, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    TDropResult r;
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(&target, &enter);
    r.EnterAccepted = enter.isAccepted();
    if (!r.EnterAccepted) return r;
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(&target, &move);
    r.MoveAccepted = move.isAccepted();
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, mods);
    QApplication::sendEvent(&target, &drop);
    r.DropAccepted = drop.isAccepted();
    return r;
}

TEST_F(GridInput, OwnItemDropIsDecidedByTheOwnerAndOtherDataIsRefused) {
    const char* itemType = "application/x-cubebrowser-dimension-item";
    Grid.AcceptedDragTypes = {itemType};
    std::vector<std::string> dropped;
    Grid.OnDragOver = [](QObject*, const QMimeData*, int, int y, bool& accept) { accept = y > 50; };
    Grid.OnDragDrop = [&](QObject*, const QMimeData* d, int, int) {
        dropped.push_back(d->data("application/x-cubebrowser-dimension-item").toStdString());
    };
    QMimeData item;
    item.setData(itemType, "[Customer]");
    item.setText("[Customer]");

    TDropResult r = DragOnto(Grid, item, QPoint(100, 120));
    EXPECT_TRUE(r.MoveAccepted);
    EXPECT_TRUE(r.DropAccepted);
    r = DragOnto(Grid, item, QPoint(100, 30));  // the owner refuses here
    EXPECT_FALSE(r.MoveAccepted);
    EXPECT_FALSE(r.DropAccepted);
    EXPECT_EQ(dropped, (std::vector<std::string>{"[Customer]"}));

    // Plain text, a file, or another program's item: not for a grid that
    // enables no drops of other programs; the cells stay as they are.
    QMimeData text;
    text.setText("a\tb\r\nc\td");
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile("/tmp/report.csv")});
    QMimeData other;
    other.setData("application/x-other-item", "x");
    for (const QMimeData* d : {&text, &file, &other}) EXPECT_FALSE(DragOnto(Grid, *d, QPoint(100, 120)).EnterAccepted);
    EXPECT_EQ(Grid.Cells(1, 5), "r5c1");
    EXPECT_EQ(dropped.size(), 1u);

    // Without an OnDragOver handler nobody accepts the item.
    Grid.OnDragOver = nullptr;
    EXPECT_FALSE(DragOnto(Grid, item, QPoint(100, 120)).DropAccepted);
}

TEST_F(GridInput, TextDropFillsAndSelectsTheBlockOrInsertsRowsFirst) {
    Grid.DragDropSettings.OleDropTarget = true;
    TGridRect dropped{};
    Grid.OnOleDropped = [&](QObject*, const TGridRect& r) { dropped = r; };
    QMimeData text;
    text.setText(QString::fromUtf8("a\tb\tc\r\nd\te\tf\r\n"));

    const QPoint at = At(2, 3);
    TDropResult r = DragOnto(Grid, text, at);
    EXPECT_TRUE(r.DropAccepted);
    EXPECT_EQ(Grid.Cells(2, 3), "a");
    EXPECT_EQ(Grid.Cells(4, 4), "f");
    EXPECT_EQ(Grid.Cells(5, 3), "r3c5");
    EXPECT_EQ(Grid.Selection(), (TGridRect{2, 3, 4, 4}));
    EXPECT_EQ(dropped, (TGridRect{2, 3, 4, 4}));

    Grid.DragDropSettings.OleInsertRows = true;
    DragOnto(Grid, text, At(1, 6));
    EXPECT_EQ(Grid.RowCount(), 32);
    EXPECT_EQ(Grid.Cells(1, 6), "a");
    EXPECT_EQ(Grid.Cells(1, 8), "r6c1");  // the old row 6 moved down by two

    // Unicode text arrives as it was dragged; a drop on a fixed row is refused.
    Grid.DragDropSettings.OleInsertRows = false;
    text.setText(QString::fromUtf8("Zürich ✓"));
    DragOnto(Grid, text, At(1, 2));
    EXPECT_EQ(Grid.Cells(1, 2), "Zürich ✓");
    EXPECT_FALSE(DragOnto(Grid, text, At(2, 0)).DropAccepted);
    EXPECT_EQ(Grid.Cells(2, 0), "r0c2");

    // OnOleDrop can refuse; nothing is written.
    Grid.OnOleDrop = [](QObject*, int, int, const std::string&, bool& allow) { allow = false; };
    text.setText("refused");
    DragOnto(Grid, text, At(1, 2));
    EXPECT_EQ(Grid.Cells(1, 2), "Zürich ✓");
}

TEST_F(GridInput, FileDropsAreDecidedByTheExtensionAtTheEnd) {
    Grid.DragDropSettings.OleDropTarget = true;
    std::vector<std::string> files;
    Grid.OnOleDropFile = [&](QObject*, int, int, const std::string& name, bool&) { files.push_back(name); };
    struct Case {
        std::vector<const char*> Names;
        std::vector<std::string> Imported;
    } cases[] = {
        {{"/tmp/report.CSV"}, {"csv:/tmp/report.CSV"}},
        {{"/tmp/report.csv.txt"}, {}},       // ".csv" inside the name is not the extension
        {{"/tmp/a.csv", "/tmp/b.csv"}, {}},  // only a single file is taken
    };
    for (const Case& c : cases) {
        Grid.Imported.clear();
        QMimeData data;
        QList<QUrl> urls;
        for (const char* n : c.Names) urls.push_back(QUrl::fromLocalFile(n));
        data.setUrls(urls);
        EXPECT_TRUE(DragOnto(Grid, data, At(2, 2)).DropAccepted) << c.Names[0];
        EXPECT_EQ(Grid.Imported, c.Imported) << c.Names[0];
        EXPECT_EQ(Grid.Cells(2, 2), "r2c2") << "the file's address is not pasted as text";
    }
    EXPECT_EQ(files, (std::vector<std::string>{"/tmp/report.CSV", "/tmp/report.csv.txt"}));

    // Files not accepted by this grid: refused at entry.
    Grid.DragDropSettings.OleAcceptFiles = false;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/report.csv")});
    EXPECT_FALSE(DragOnto(Grid, data, At(2, 2)).EnterAccepted);

    // A workbook cannot be imported here: the failure is reported, not thrown.
    Grid.DragDropSettings.OleAcceptFiles = true;
    std::string error;
    Grid.OnDropError = [&](QObject*, const std::string& message) { error = message; };
    data.setUrls({QUrl::fromLocalFile("/tmp/book.xls")});
    DragOnto(Grid, data, At(2, 2));
    EXPECT_EQ(error, "Excel OLE server not found");
}

}  // namespace
