// Mouse, keyboard, wheel and drag-and-drop gestures on an offscreen grid,
// checked as the events they fire, in order.
#include "grid/ExtStringGrid.h"
#include "grid/markup/HTMLHintWindow.h"
#include "grid/paint/ArrowWindow.h"
#include "grid/paint/PopupButton.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

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

// A mouse move without buttons, delivered at once on every platform (the
// cursor itself is not moved).
void Hover(QWidget& w, QPoint at) {
    QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(w.mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
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

void Wheel(QWidget& w, int delta, Qt::KeyboardModifiers mods = {}) {
    const QPoint p(100, 100);
    QWheelEvent e(p, w.mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &e);
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

    std::vector<int> MarkedRows() {
        std::vector<int> rows;
        for (int r = 0; r < Grid.RowCount(); ++r)
            if (Grid.IsRowSelected(r)) rows.push_back(r);
        return rows;
    }

    TTestGrid Grid;
    std::vector<std::string> Log;
};

using Events = std::vector<std::string>;

const char* const ItemsType = "application/x-cubebrowser-dimension-item";

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

// Every gesture as a table: what it does, and the events it fires in order,
// followed by the state it leaves ("cell", "sel", "width", "marked").
TEST_F(GridInput, GesturesFireTheirEventsInOrder) {
    auto keyName = [](int key) { return QKeySequence(key).toString().toStdString(); };
    Grid.OnKeyDown = [&](QObject*, int& key, Qt::KeyboardModifiers) { Log.push_back("KeyDown " + keyName(key)); };
    Grid.OnKeyUp = [&](QObject*, int& key, Qt::KeyboardModifiers) { Log.push_back("KeyUp " + keyName(key)); };
    Grid.OnColumnSize = [&](QObject*, int col, bool&) { Log.push_back("ColumnSize " + std::to_string(col)); };
    Grid.OnEndColumnSize = [&](QObject*, int col) { Log.push_back("EndColumnSize " + std::to_string(col)); };
    Grid.OnStartDrag = [&](QObject*, std::unique_ptr<QMimeData>& data) {
        Log.push_back("StartDrag");
        data = std::make_unique<QMimeData>();
        data->setText("item");
    };
    Grid.OnEndDrag = [&](QObject*, Qt::DropAction) { Log.push_back("EndDrag"); };
    Grid.OnOleDrag = [&](QObject*, int row, int col, const std::string& text, bool&) {
        Log.push_back(Cell("OleDrag", row, col) + " " + text);
    };
    Grid.OnOleDragStart = [&](QObject*, int row, int col) { Log.push_back(Cell("OleDragStart", row, col)); };
    Grid.OnOleDragStop = [&](QObject*, Qt::DropAction) { Log.push_back("OleDragStop"); };
    Grid.OnExec = [&](QMimeData* data) { Log.push_back("drag " + data->text().toStdString()); };
    Grid.OnDragOver = [&](QObject*, const QMimeData*, int, int, bool&) { Log.push_back("DragOver"); };
    Grid.OnDragDrop = [&](QObject*, const QMimeData* d, int, int) {
        Log.push_back("DragDrop " + d->data(ItemsType).toStdString());
    };
    Grid.OnOleDrop = [&](QObject*, int row, int col, const std::string& text, bool&) {
        Log.push_back(Cell("OleDrop", row, col) + " " + text);
    };
    Grid.OnOleDropFile = [&](QObject*, int row, int col, const std::string& name, bool&) {
        Log.push_back(Cell("OleDropFile", row, col) + " " + name);
    };
    Grid.OnOleDropped = [&](QObject*, const TGridRect& r) {
        Log.push_back("OleDropped " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" +
                      std::to_string(r.Right) + "," + std::to_string(r.Bottom));
    };
    Grid.AcceptedDragTypes = {ItemsType};
    Grid.WheelScrollLines = 3;
    Grid.SetOptions(Grid.Options() | goColSizing);
    const int page = Grid.VisibleRowCount();
    const TRect divider = Grid.CellRect(2, 0);
    const QPoint edge(divider.Right - 1, 10);

    struct Case {
        const char* Name;
        std::function<void()> Setup;
        std::function<void()> Gesture;
        Events Want;
    } cases[] = {
        {"click",
         {},
         [&] { QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 3)); },
         {"RowChanging 1,3", "ColChanging 1,2", "MouseDown", "ClickCell 3,2", "Click", "MouseUp", "cell 2,3"}},
        {"double click",
         {},
         [&] {
             QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
             QTest::mouseDClick(&Grid, Qt::LeftButton, {}, At(2, 2));
             QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(2, 2));
         },
         {"RowChanging 1,2", "ColChanging 1,2", "MouseDown", "ClickCell 2,2", "Click", "MouseUp", "DblClick",
          "MouseDown", "DblClickCell 2,2", "MouseUp", "cell 2,2"}},
        {"right click",
         {},
         [&] { QTest::mouseClick(&Grid, Qt::RightButton, {}, At(4, 5)); },
         {"MouseDown right", "RightClickCell 5,4", "MouseUp", "cell 1,1"}},
        {"quick second right click",
         {},
         [&] {
             QTest::mouseClick(&Grid, Qt::RightButton, {}, At(4, 5));
             QTest::mouseDClick(&Grid, Qt::RightButton, {}, At(4, 5));
             QTest::mouseRelease(&Grid, Qt::RightButton, {}, At(4, 5));
         },
         {"MouseDown right", "RightClickCell 5,4", "MouseUp", "MouseDown right", "RightClickCell 5,4", "MouseUp",
          "cell 1,1"}},
        {"shift click",
         {},
         [&] { QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ShiftModifier, At(3, 4)); },
         {"RowChanging 1,4", "ColChanging 1,3", "MouseDown", "ClickCell 4,3", "Click", "MouseUp", "sel 1,1-3,4"}},
        {"ctrl click marks a second row",
         [&] { Grid.MouseActions.DisjunctRowSelect = true; },
         [&] {
             QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
             Log.clear();
             QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 5));
         },
         {"RowChanging 2,5", "MouseDown", "ClickCell 5,2", "Click", "MouseUp", "marked 2 5"}},
        {"arrow down",
         {},
         [&] { QTest::keyClick(&Grid, Qt::Key_Down); },
         {"KeyDown Down", "RowChanging 1,2", "KeyUp Down", "cell 1,2"}},
        {"arrow right",
         {},
         [&] { QTest::keyClick(&Grid, Qt::Key_Right); },
         {"KeyDown Right", "ColChanging 1,2", "KeyUp Right", "cell 2,1"}},
        {"shift arrow",
         {},
         [&] { QTest::keyClick(&Grid, Qt::Key_Down, Qt::ShiftModifier); },
         {"KeyDown Shift", "KeyDown Down", "RowChanging 1,2", "KeyUp Down", "KeyUp Shift", "sel 1,1-1,2"}},
        {"end",
         {},
         [&] { QTest::keyClick(&Grid, Qt::Key_End); },
         {"KeyDown End", "ColChanging 1,5", "KeyUp End", "cell 5,1"}},
        {"home",
         [&] { Grid.FocusCell(4, 1, true); },
         [&] { QTest::keyClick(&Grid, Qt::Key_Home); },
         {"KeyDown Home", "ColChanging 4,1", "KeyUp Home", "cell 1,1"}},
        {"page down",
         {},
         [&] { QTest::keyClick(&Grid, Qt::Key_PageDown); },
         {"KeyDown PgDown", Cell("RowChanging", 1, 1 + page), "KeyUp PgDown", Cell("cell", 1, 1 + page)}},
        {"page up",
         [&] { Grid.FocusCell(1, 1 + page, true); },
         [&] { QTest::keyClick(&Grid, Qt::Key_PageUp); },
         {"KeyDown PgUp", Cell("RowChanging", 1 + page, 1), "KeyUp PgUp", "cell 1,1"}},
        {"wheel notch", {}, [&] { Wheel(Grid, -120); }, {"RowChanging 1,4", "cell 1,4"}},
        {"column divider dragged",
         {},
         [&] {
             Hover(Grid, edge);
             QTest::mousePress(&Grid, Qt::LeftButton, {}, edge);
             QTest::mouseMove(&Grid, edge + QPoint(20, 0));
             QTest::mouseRelease(&Grid, Qt::LeftButton, {}, edge + QPoint(20, 0));
         },
         {"ColumnSize 2", "ColumnSize 2", "MouseDown", "ClickCell 0,2", "EndColumnSize 2", "MouseUp", "width 80",
          "cell 1,1"}},
        {"control drag after the threshold",
         [&] {
             Grid.OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
                 Log.push_back("MouseDown");
                 Grid.BeginDrag(false, 5);
             };
         },
         [&] {
             const QPoint p = At(3, 4);
             QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
             QTest::mouseMove(&Grid, p + QPoint(5, 0));
             Log.push_back("moved 5");
             QTest::mouseMove(&Grid, p + QPoint(6, 0));
             QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(6, 0));
         },
         {"RowChanging 1,4", "ColChanging 1,3", "MouseDown", "ClickCell 4,3", "moved 5", "StartDrag", "drag item",
          "EndDrag", "MouseUp", "cell 3,4"}},
        {"cell drag after the threshold",
         [&] {
             Grid.DragDropSettings.OleDropSource = true;
             Grid.FocusCell(2, 3, true);
         },
         [&] {
             const QPoint p = At(2, 3);
             QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
             QTest::mouseMove(&Grid, p + QPoint(3, 0));
             Log.push_back("moved 3");
             QTest::mouseMove(&Grid, p + QPoint(4, 0));
             QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(4, 0));
         },
         {"ClickCell 3,2", "moved 3", "OleDrag 3,2 r3c2", "OleDragStart 3,2", "drag r3c2\r\n", "OleDragStop", "MouseUp",
          "cell 2,3"}},
        {"click on a selected cell of a drag source",
         [&] {
             Grid.DragDropSettings.OleDropSource = true;
             Grid.FocusCell(2, 3, false);
         },
         [&] { QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(1, 2)); },
         {"ClickCell 2,1", "Click", "RowChanging 3,2", "ColChanging 2,1", "MouseUp", "cell 1,2"}},
        {"drop of the application's own item",
         {},
         [&] {
             QMimeData item;
             item.setData(ItemsType, "[Customer]");
             DragOnto(Grid, item, At(2, 3));
         },
         {"DragOver", "DragOver", "DragOver", "DragDrop [Customer]", "cell 1,1"}},
        {"drop of a file",
         [&] { Grid.DragDropSettings.OleDropTarget = true; },
         [&] {
             QMimeData file;
             file.setUrls({QUrl::fromLocalFile("/tmp/report.csv")});
             DragOnto(Grid, file, At(2, 3));
             Log.push_back(Grid.Imported.at(0));
         },
         {"OleDropFile 3,2 /tmp/report.csv", "OleDrop -1,-1 /tmp/report.csv", "csv:/tmp/report.csv", "cell 1,1"}},
        {"drop of a text",
         [&] { Grid.DragDropSettings.OleDropTarget = true; },
         [&] {
             QMimeData text;
             text.setText("a\tb");
             DragOnto(Grid, text, At(2, 3));
         },
         {"OleDrop 3,2 a\tb", "OleDropped 2,3-3,3", "sel 2,3-3,3"}},
    };
    for (const Case& c : cases) {
        Grid.MouseActions = {};
        Grid.DragDropSettings = {};
        Grid.Imported.clear();
        Grid.SetColWidths(2, 60);
        Grid.FocusCell(1, 1, true);
        Grid.ClearRowSelection();
        Record();
        if (c.Setup) c.Setup();
        Log.clear();
        c.Gesture();
        // The state the gesture left.
        const TGridRect s = Grid.Selection();
        if (s.Left != s.Right || s.Top != s.Bottom)
            Log.push_back("sel " + std::to_string(s.Left) + "," + std::to_string(s.Top) + "-" +
                          std::to_string(s.Right) + "," + std::to_string(s.Bottom));
        else
            Log.push_back(Cell("cell", Grid.Col(), Grid.Row()));
        if (Grid.ColWidths(2) != 60) Log.insert(Log.end() - 1, "width " + std::to_string(Grid.ColWidths(2)));
        if (Grid.MouseActions.DisjunctRowSelect) {
            std::string marked = "marked";
            for (int r : MarkedRows()) marked += " " + std::to_string(r);
            Log.back() = marked;
        }
        EXPECT_EQ(Log, c.Want) << c.Name;
    }
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
        {{"/tmp/report.csv.txt"}, {}},                       // ".csv" inside the name is not the extension
        {{"/tmp/book.xls.csv"}, {"csv:/tmp/book.xls.csv"}},  // one import, by the last extension
        {{"/tmp/a.csv", "/tmp/b.csv"}, {}},                  // only a single file is taken
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
    EXPECT_EQ(files, (std::vector<std::string>{"/tmp/report.CSV", "/tmp/report.csv.txt", "/tmp/book.xls.csv"}));

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

// ---------------------------------------------------------------------------
// Keyboard

TEST_F(GridInput, KeysMoveTheCurrentCell) {
    const int page = Grid.VisibleRowCount();
    struct Case {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
        THomeEndAction HomeEnd;
        TGridCoord From, To;
    } cases[] = {
        {"down", Qt::Key_Down, {}, heFirstLastColumn, {2, 2}, {2, 3}},
        {"up at the first row", Qt::Key_Up, {}, heFirstLastColumn, {2, 1}, {2, 1}},
        {"right", Qt::Key_Right, {}, heFirstLastColumn, {2, 2}, {3, 2}},
        {"left at the first column", Qt::Key_Left, {}, heFirstLastColumn, {1, 2}, {1, 2}},
        {"home by column", Qt::Key_Home, {}, heFirstLastColumn, {4, 5}, {1, 5}},
        {"end by column", Qt::Key_End, {}, heFirstLastColumn, {2, 5}, {5, 5}},
        {"home by row", Qt::Key_Home, {}, heFirstLastRow, {3, 9}, {3, 1}},
        {"end by row", Qt::Key_End, {}, heFirstLastRow, {3, 2}, {3, 29}},
        {"page down", Qt::Key_PageDown, {}, heFirstLastColumn, {2, 1}, {2, 1 + page}},
        {"page up near the top", Qt::Key_PageUp, {}, heFirstLastColumn, {2, 3}, {2, 1}},
        {"ctrl end", Qt::Key_End, Qt::ControlModifier, heFirstLastColumn, {2, 3}, {5, 29}},
    };
    for (const Case& c : cases) {
        Grid.Navigation.HomeEndKey = c.HomeEnd;
        Grid.FocusCell(c.From.X, c.From.Y, true);
        QTest::keyClick(&Grid, Qt::Key(c.Key), c.Mods);
        EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), c.To) << c.Name;
    }
}

TEST_F(GridInput, ShiftArrowsExtendTheSelectionAndCtrlASelectsOnlyWithRowSelect) {
    Grid.FocusCell(2, 2, true);
    QTest::keyClick(&Grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&Grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Grid.Selection(), (TGridRect{2, 2, 3, 3}));
    QTest::keyClick(&Grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid.Selection(), (TGridRect{2, 2, 3, 3}));
    Grid.SetOptions(Grid.Options() | goRowSelect);
    QTest::keyClick(&Grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid.Selection(), (TGridRect{1, 1, 5, 29}));
}

TEST_F(GridInput, TypedLookupJumpsToTheFirstRowWithThePrefix) {
    const char* names[] = {"apple", "Banana", "berry", "cherry", "Äpfel"};
    for (int r = 1; r <= 5; ++r) Grid.SetCells(1, r, names[r - 1]);
    Grid.Navigation.AutoGotoWhenSorted = true;
    Grid.Navigation.AutoGotoIncremental = true;
    Grid.FocusCell(1, 1, true);
    QTest::keyClicks(&Grid, "be");
    EXPECT_EQ(Grid.Row(), 3);
    QTest::keyClick(&Grid, Qt::Key_Backspace);
    EXPECT_EQ(Grid.LookupText(), "b");
    QTest::keyClicks(&Grid, "a");
    EXPECT_EQ(Grid.Row(), 2);  // compared without case
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(Grid.LookupText(), "");  // an arrow key starts a new lookup
    QTest::keyClicks(&Grid, "x");
    EXPECT_EQ(Grid.Row(), 3);  // no match: the row stays
    Grid.SetLookupText("");
    QKeyEvent umlaut(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("ä"));
    QApplication::sendEvent(&Grid, &umlaut);
    EXPECT_EQ(Grid.Row(), 5);  // upper-cased beyond ASCII
    EXPECT_EQ(Grid.FindRowByPrefix("CH"), 4);
    EXPECT_EQ(Grid.FindRowByPrefix("zz"), -1);
}

// ---------------------------------------------------------------------------
// Wheel

TEST_F(GridInput, OneWheelNotchMovesTheRowsOfOneNotchOnce) {
    Grid.WheelScrollLines = 3;
    Grid.FocusCell(2, 5, true);
    Wheel(Grid, -120);  // towards the user
    EXPECT_EQ(Grid.Row(), 8);
    Wheel(Grid, 120);
    EXPECT_EQ(Grid.Row(), 5);
    for (int i = 0; i < 4; ++i) Wheel(Grid, -30);  // a fine wheel: four steps make one notch
    EXPECT_EQ(Grid.Row(), 8);
    for (int i = 0; i < 20; ++i) Wheel(Grid, -120);
    EXPECT_EQ(Grid.Row(), 29);
    for (int i = 0; i < 20; ++i) Wheel(Grid, 120);
    EXPECT_EQ(Grid.Row(), 1);

    bool handled = true;
    Grid.OnMouseWheel = [&](QObject*, Qt::KeyboardModifiers, int, int, int, bool& h) { h = handled; };
    Wheel(Grid, -120);
    EXPECT_EQ(Grid.Row(), 1);
}

TEST_F(GridInput, CtrlWheelZoomsWithinTenSteps) {
    Grid.WheelScrollLines = 1;
    for (int i = 0; i < 11; ++i) Wheel(Grid, -120, Qt::ControlModifier);
    EXPECT_EQ(Grid.ZoomStep, 10);
    EXPECT_EQ(Grid.ColWidths(2), 70);
    EXPECT_EQ(Grid.Row(), 1);
    for (int i = 0; i < 10; ++i) Wheel(Grid, 120, Qt::ControlModifier);
    Grid.WheelScrollLines = 3;
    std::vector<int> steps;
    for (int i = 0; i < 4; ++i) {
        Wheel(Grid, -120, Qt::ControlModifier);
        steps.push_back(Grid.ZoomStep);
    }
    EXPECT_EQ(steps, (std::vector<int>{3, 6, 9, 9}));
}

// ---------------------------------------------------------------------------
// Disjunct selections

TEST_F(GridInput, CtrlAndShiftClicksMarkDisjunctRows) {
    Grid.MouseActions.DisjunctRowSelect = true;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 5));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 5}));
    // Shift extends from the last click, as in other programs; Ctrl adds.
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ShiftModifier, At(3, 7));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{5, 6, 7}));
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 2));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 5, 6, 7}));
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 6));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{2, 5, 7}));
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(1, 9));
    EXPECT_EQ(MarkedRows(), (std::vector<int>{9}));
}

TEST_F(GridInput, DisjunctCellsAreHeldOnceAndCtrlTogglesThemForGood) {
    Grid.MouseActions.DisjunctCellSelect = true;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 3));
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(4, 6));
    EXPECT_EQ(Grid.SelectedCells(), (std::vector<TGridCoord>{{2, 3}, {4, 6}}));
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 3));
    EXPECT_EQ(Grid.SelectedCells(), (std::vector<TGridCoord>{{4, 6}}));
    EXPECT_FALSE(Grid.IsCellSelectedDisjunct(2, 3));

    // A dragged range adds each of its cells once; a Ctrl click then takes
    // one out for good.
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(1, 1));
    QTest::mouseMove(&Grid, At(2, 2));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(2, 2));
    EXPECT_EQ(Grid.SelectedCells().size(), 4u);
    QTest::mouseClick(&Grid, Qt::LeftButton, Qt::ControlModifier, At(2, 2));
    EXPECT_FALSE(Grid.IsCellSelectedDisjunct(2, 2));
    EXPECT_EQ(Grid.SelectedCells().size(), 3u);
}

TEST_F(GridInput, CellIsSelectedByTheMarksOfItsModeOrTheSelection) {
    Grid.SetSelection({2, 2, 3, 4});
    Grid.SetRowSelected(7, true);
    Grid.SetColumnSelected(5, true);
    struct Case {
        bool Rows, Cols;
        int Col, Row;
        bool Want;
    } cases[] = {
        {false, false, 3, 4, true}, {false, false, 5, 7, false}, {false, false, 0, 3, false},
        {true, false, 3, 4, false}, {true, false, 1, 7, true},   {true, true, 1, 7, true},
        {false, true, 5, 1, true},  {false, true, 3, 4, false},  {true, false, 0, 7, false},
    };
    for (const Case& c : cases) {
        Grid.MouseActions.DisjunctRowSelect = c.Rows;
        Grid.MouseActions.DisjunctColSelect = c.Cols;
        EXPECT_EQ(Grid.IsCellSelected(c.Col, c.Row), c.Want)
            << c.Col << "," << c.Row << " rows " << c.Rows << " cols " << c.Cols;
    }
}

TEST(DisjunctCells, RowsAndColumnsBeyond65535AreNotAliased) {
    TExtStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(70000);
    grid.SetCellSelected(1, 65537, true);
    grid.SetCellSelected(1, 65537, true);
    EXPECT_TRUE(grid.IsCellSelectedDisjunct(1, 65537));
    EXPECT_FALSE(grid.IsCellSelectedDisjunct(1, 1));
    EXPECT_EQ(grid.SelectedCells().size(), 1u);
    grid.SetCellSelected(1, 65537, false);
    EXPECT_TRUE(grid.SelectedCells().empty());
}

// ---------------------------------------------------------------------------
// Sizing and moving

TEST_F(GridInput, DraggingAColumnDividerSizesTheColumn) {
    Grid.SetOptions(Grid.Options() | goColSizing);
    Grid.HintShowSizing = true;
    std::vector<std::string> events;
    Grid.OnColumnSize = [&](QObject*, int col, bool&) { events.push_back("size " + std::to_string(col)); };
    Grid.OnEndColumnSize = [&](QObject*, int col) { events.push_back("end " + std::to_string(col)); };
    const TRect r = Grid.CellRect(2, 0);
    const QPoint edge(r.Right - 1, (r.Top + r.Bottom) / 2);
    Hover(Grid, edge);
    EXPECT_EQ(Grid.cursor().shape(), Qt::SplitHCursor);
    events.clear();
    QTest::mousePress(&Grid, Qt::LeftButton, {}, edge);
    EXPECT_EQ(Grid.GridState(), gsColSizing);
    QTest::mouseMove(&Grid, edge + QPoint(20, 0));
    EXPECT_TRUE(Grid.HintWindow().isVisible());
    EXPECT_EQ(Grid.HintWindow().Caption(), "cw=<b>80</b>");
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, edge + QPoint(20, 0));
    EXPECT_EQ(Grid.ColWidths(2), 80);
    EXPECT_FALSE(Grid.HintWindow().isVisible());
    EXPECT_EQ(events, (std::vector<std::string>{"size 2", "end 2"}));
    EXPECT_EQ(Grid.Row(), 1) << "sizing does not move the current cell";

    // Released beyond the control's right edge: the width stays.
    const TRect r3 = Grid.CellRect(3, 0);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, QPoint(r3.Right - 1, 10));
    QTest::mouseMove(&Grid, QPoint(Grid.width() + 30, 10));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, QPoint(Grid.width() + 30, 10));
    EXPECT_EQ(Grid.ColWidths(3), 60);

    // A refusal keeps the border from sizing and from showing the sizing cursor.
    Grid.OnColumnSize = [](QObject*, int, bool& allow) { allow = false; };
    Hover(Grid, At(4, 5));
    Hover(Grid, edge + QPoint(20, 0));
    EXPECT_NE(Grid.cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, edge + QPoint(20, 0));
    EXPECT_NE(Grid.GridState(), gsColSizing);
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, edge + QPoint(20, 0));
}

TEST_F(GridInput, DoubleClickOnAHeaderBorderFitsTheColumn) {
    Grid.SetOptions(Grid.Options() | goColSizing);
    Grid.SetCells(2, 5, "a much longer text than the column holds");
    const TRect r = Grid.CellRect(2, 0);
    QTest::mouseDClick(&Grid, Qt::LeftButton, {}, QPoint(r.Right - 1, 10));
    EXPECT_GT(Grid.ColWidths(2), 150);
    EXPECT_TRUE(std::find(Log.begin(), Log.end(), "DblClickCell 0,2") == Log.end());
}

TEST_F(GridInput, ColumnMoveCarriesCellsAndTheSortColumnFollows) {
    Grid.SetOptions(Grid.Options() | goColMoving);
    Grid.SortSettings.Column = 2;
    Grid.SortSettings.IndexShow = true;
    Grid.SortIndexes.AddValue(int(2u | TSortIndexList::kDescending));
    Grid.SortIndexes.AddValue(4);
    Grid.SetColWidths(1, 45);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(1, 0));
    QTest::mouseMove(&Grid, At(3, 0));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(3, 0));
    EXPECT_EQ(Grid.Cells(3, 4), "r4c1");
    EXPECT_EQ(Grid.Cells(1, 4), "r4c2");
    EXPECT_EQ(Grid.ColWidths(3), 45);
    EXPECT_EQ(Grid.SortSettings.Column, 1);
    EXPECT_EQ(Grid.SortIndexes.Items(), (std::vector<int>{int(1u | TSortIndexList::kDescending), 4}));

    // The sort column stays with its cells wherever the moved column lands.
    struct Case {
        int From, To, Sort, Want;
    } cases[] = {
        {1, 3, 3, 2}, {1, 3, 1, 3}, {1, 3, 4, 4}, {3, 1, 1, 2}, {3, 1, 3, 1}, {3, 1, 2, 3},
    };
    for (const Case& c : cases) {
        Grid.SortSettings.Column = c.Sort;
        Grid.MoveColumn(c.From, c.To);
        EXPECT_EQ(Grid.SortSettings.Column, c.Want) << c.From << "->" << c.To << " sorted by " << c.Sort;
    }

    // OnColumnMove refusing on the first move cancels the move.
    Grid.OnColumnMove = [](QObject*, int, bool& allow) { allow = false; };
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(1, 0));
    QTest::mouseMove(&Grid, At(4, 0));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(4, 0));
    EXPECT_EQ(Grid.Cells(1, 4), "r4c2");
}

// ---------------------------------------------------------------------------
// Drags of cells

TEST_F(GridInput, CellDragStartsAfterMoreThanThreePixelsAndAMoveEmptiesTheSource) {
    Grid.DragDropSettings.OleDropSource = true;
    std::vector<std::string> events;
    Grid.OnOleDragStart = [&](QObject*, int row, int col) { events.push_back(Cell("start", row, col)); };
    Grid.OnOleDragStop = [&](QObject*, Qt::DropAction) { events.push_back("stop"); };
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 3));  // selects the cell
    Log.clear();
    const QPoint p = At(2, 3);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    EXPECT_EQ(Log, (Events{"ClickCell 3,2"})) << "a press on a selected cell waits for the move";
    QTest::mouseMove(&Grid, p + QPoint(3, 0));
    EXPECT_TRUE(Grid.Drags.empty());
    QTest::mouseMove(&Grid, p + QPoint(4, 0));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(4, 0));
    EXPECT_EQ(Grid.Drags, (std::vector<std::string>{"r3c2\r\n"}));
    EXPECT_EQ(events, (std::vector<std::string>{"start 3,2", "stop"}));
    EXPECT_EQ(Grid.Cells(2, 3), "");

    // A copy leaves the source as it was; so does a move with OleCopyAlways.
    Grid.SetCells(2, 3, "kept");
    Grid.DragResult = Qt::CopyAction;
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, p + QPoint(0, 8));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(0, 8));
    EXPECT_EQ(Grid.Cells(2, 3), "kept");

    // A press and release without a move selects the cell.
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(4, 4));
    Log.clear();
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(4, 4));
    EXPECT_EQ(Grid.Drags.size(), 2u);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{4, 4}));
}

TEST_F(GridInput, RowsDraggedWithinTheGridMove) {
    Grid.DragDropSettings.OleDropSource = true;
    Grid.DragDropSettings.OleDropTarget = true;
    Grid.DragDropSettings.OleRemoveRows = true;
    Grid.DragDropSettings.OleInsertRows = true;
    Grid.SetOptions(Grid.Options() | goRowSelect);
    // The drop lands above the dragged rows while the drag runs.
    Grid.OnExec = [this](QMimeData* data) { DragOnto(Grid, *data, At(1, 2)); };
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 6));
    const QPoint p = At(2, 6);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, p + QPoint(0, -10));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(0, -10));
    EXPECT_EQ(Grid.RowCount(), 30);
    EXPECT_EQ(Grid.Cells(1, 2), "r6c1");
    EXPECT_EQ(Grid.Cells(1, 3), "r2c1");
    EXPECT_EQ(Grid.Cells(1, 7), "r7c1") << "the original row 6 was removed";

    // Without inserting, the dropped text takes the place of row 2 and the
    // dragged row itself goes, not the row below it.
    Grid.DragDropSettings.OleInsertRows = false;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 9));
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(2, 9));
    QTest::mouseMove(&Grid, At(2, 9) + QPoint(0, -10));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(2, 9) + QPoint(0, -10));
    EXPECT_EQ(Grid.RowCount(), 29);
    EXPECT_EQ(Grid.Cells(1, 2), "r9c1");
    EXPECT_EQ(Grid.Cells(1, 8), "r8c1");
    EXPECT_EQ(Grid.Cells(1, 9), "r10c1") << "the row below the dragged one stays";
}

// ---------------------------------------------------------------------------
// Mark-up cells

// A client point over the link or control of a mark-up cell.
QPoint HitPoint(TExtStringGrid& grid, int col, int row) {
    const TRect r = grid.CellRect(col, row);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            THTMLRenderResult hit;
            if (grid.HitTestHTMLCell(col, row, x, y, hit)) return QPoint(x, y);
        }
    return QPoint(-1, -1);
}

TEST_F(GridInput, MarkupLinksAndControlsAnswerTheClick) {
    Grid.SetCells(1, 2, "<A href=\"cell://R9C4\">go</A>");
    Grid.SetCells(2, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"16\"> <B>done</B>");
    std::vector<std::string> events;
    Grid.OnAnchorClick = [&](QObject*, int, int, const std::string& a, bool&) { events.push_back(a); };
    Grid.OnControlClick = [&](QObject*, int row, int col, const std::string& id, const std::string& type,
                              const std::string& value) {
        events.push_back(Cell(type.c_str(), row, col) + " " + id + "=" + value);
    };
    const QPoint link = HitPoint(Grid, 1, 2);
    ASSERT_GE(link.x(), 0);
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, link);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{4, 9}));

    const QPoint box = HitPoint(Grid, 2, 2);
    ASSERT_GE(box.x(), 0);
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, box);
    EXPECT_NE(Grid.Cells(2, 2).find("VALUE=\"TRUE\""), std::string::npos) << Grid.Cells(2, 2);
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, box);
    EXPECT_NE(Grid.Cells(2, 2).find("VALUE=\"FALSE\""), std::string::npos) << Grid.Cells(2, 2);
    EXPECT_EQ(events, (std::vector<std::string>{"cell://R9C4", "CHECK 2,2 c1=TRUE", "CHECK 2,2 c1=FALSE"}));

    // Moving over the link fires the enter once and the exit on leaving it.
    std::vector<std::string> hover;
    Grid.OnAnchorEnter = [&](QObject*, int, int, const std::string& a) { hover.push_back("enter " + a); };
    Grid.OnAnchorExit = [&](QObject*, int, int, const std::string&) { hover.push_back("exit"); };
    Hover(Grid, link);
    Hover(Grid, link + QPoint(1, 0));
    Hover(Grid, At(4, 8));
    EXPECT_EQ(hover, (std::vector<std::string>{"enter cell://R9C4", "exit"}));

    // From one link of a cell straight onto the next: no exit between; a
    // cell address that is not R..C.. moves nowhere.
    Grid.SetColWidths(3, 150);
    Grid.SetCells(3, 4, "<A href=\"cell://5,2\">aaaa</A><A href=\"b\">bbbb</A>");
    hover.clear();
    std::vector<std::string> targets;
    const TRect r = Grid.CellRect(3, 4);
    for (int x = r.Left; x < r.Right; ++x) {
        THTMLRenderResult hit;
        if (Grid.HitTestHTMLCell(3, 4, x, (r.Top + r.Bottom) / 2, hit) &&
            (targets.empty() || targets.back() != hit.HitTarget)) {
            targets.push_back(hit.HitTarget);
            Hover(Grid, QPoint(x, (r.Top + r.Bottom) / 2));
        }
    }
    EXPECT_EQ(hover, (std::vector<std::string>{"enter cell://5,2", "enter b"}));
    Grid.FocusCell(1, 1, true);
    Grid.OnAnchorClick = nullptr;
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, QPoint(r.Left + 6, (r.Top + r.Bottom) / 2));
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{1, 1}));

    // A cursor set over a link shows once the mouse leaves the link.
    Hover(Grid, link);
    EXPECT_EQ(Grid.cursor().shape(), Qt::PointingHandCursor);
    Grid.SetCursor(Qt::IBeamCursor);
    EXPECT_EQ(Grid.cursor().shape(), Qt::PointingHandCursor);
    Hover(Grid, At(4, 8));
    EXPECT_EQ(Grid.cursor().shape(), Qt::IBeamCursor);
}

// ---------------------------------------------------------------------------
// Hints and hovering

TEST_F(GridInput, HintWindowShowsTheCellTextWithoutTakingTheFocus) {
    Grid.HintShowLargeText = true;
    Grid.HintColor = cb::gfx::RGB(255, 255, 225);
    Grid.SetCells(2, 3, "a text much wider than its column");
    Grid.activateWindow();
    Grid.setFocus();
    QWidget* const focused = QApplication::focusWidget();
    const QPoint p = At(2, 3);
    TPoint where;
    EXPECT_EQ(Grid.GetCellHint(At(3, 3).x(), At(3, 3).y(), where), "") << "a text that fits shows no hint";
    Grid.ShowCellHint(p.x(), p.y());
    THTMLHintWindow& hint = Grid.HintWindow();
    ASSERT_TRUE(hint.isVisible());
    EXPECT_EQ(hint.Caption(), "a text much wider than its column");
    EXPECT_EQ(hint.pos(), Grid.mapToGlobal(QPoint(Grid.CellRect(2, 3).Left, Grid.CellRect(2, 3).Top)));
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_FALSE(hint.isActiveWindow());

    // The toolkit's hint request over the cell shows the same hint.
    hint.hide();
    QHelpEvent help(QEvent::ToolTip, p, Grid.mapToGlobal(p));
    QApplication::sendEvent(&Grid, &help);
    EXPECT_TRUE(hint.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), focused);

    // The hint window shows mark-up: a plain text is escaped to show as it
    // stands; a mark-up cell shows its text without tags unless HTMLHint
    // asks for them.
    Grid.HintShowCells = true;
    struct Case {
        const char* Text;
        bool HTMLHint;
        const char* Hint;
    } cases[] = {
        {"a <br> b & c", false, "a &lt;br&gt; b &amp; c"},
        {"<B>bold</B> &lt;x&gt;", false, "bold &lt;x&gt;"},
        {"<B>bold</B>", true, "<B>bold</B>"},
    };
    for (const Case& c : cases) {
        Grid.SetCells(4, 6, c.Text);
        Grid.HTMLHint = c.HTMLHint;
        EXPECT_EQ(Grid.GetCellHint(At(4, 6).x(), At(4, 6).y(), where), c.Hint) << c.Text;
    }
    Grid.HintShowCells = false;
    Grid.HTMLHint = false;

    // OnGridHint may replace the text for any cell.
    Grid.OnGridHint = [](QObject*, int row, int col, std::string& h) { h = Cell("cell", row, col); };
    EXPECT_EQ(Grid.GetCellHint(At(3, 3).x(), At(3, 3).y(), where), "cell 3,3");

    // A picture of the hint over the grid, for a person to look at.
    QImage shot(Grid.size(), QImage::Format_RGB32);
    Grid.render(&shot);
    QPainter painter(&shot);
    painter.drawPixmap(Grid.mapFromGlobal(hint.pos()), hint.grab());
    painter.end();
    const QString shots = QString(CB_BIN_DIR) + "/../screenshots";
    QDir().mkpath(shots);
    EXPECT_TRUE(shot.save(shots + "/grid-hint.png"));
    Hover(Grid, At(4, 6));
    EXPECT_FALSE(hint.isVisible()) << "leaving the cell hides the hint";
}

TEST_F(GridInput, HoveringMovesTheCurrentCellButNotTheFocus) {
    QLineEdit other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    other.setFocus();
    Grid.Hovering = true;
    Grid.EnableBlink = true;
    const bool phase = Grid.BlinkPhase;
    QCursor::setPos(Grid.mapToGlobal(At(3, 5)));
    if (QApplication::widgetAt(QCursor::pos()) != &Grid) GTEST_SKIP() << "the platform places no cursor";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Grid.BlinkPhase != phase; }, 5000)) << "the timer flips the blink phase";
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{3, 5}));
    EXPECT_FALSE(Grid.hasFocus());
}

TEST_F(GridInput, TabWrapsOverTheNormalCellsAndSkipsMergedColumns) {
    Grid.SetOptions(Grid.Options() | goTabs);
    Grid.MergeCellRange(2, 3, 2, 1);
    Grid.FocusCell(2, 3, true);
    QTest::keyClick(&Grid, Qt::Key_Tab);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{4, 3}));
    QTest::keyClick(&Grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{3, 3}));
    Grid.FocusCell(5, 29, true);
    QTest::keyClick(&Grid, Qt::Key_Tab);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{1, 1}));
    QTest::keyClick(&Grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ((TGridCoord{Grid.Col(), Grid.Row()}), (TGridCoord{5, 29}));

    // With TabToNextAtEnd, Tab in the last cell wraps and hands the focus on.
    QWidget form;
    auto* grid = new TExtStringGrid(&form);
    auto* next = new QLineEdit(&form);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetOptions(grid->Options() | goTabs);
    grid->Navigation.TabToNextAtEnd = true;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    grid->setFocus();
    grid->FocusCell(2, 2, true);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{1, 1}));
    EXPECT_TRUE(next->hasFocus());
}

TEST_F(GridInput, InsertAndDeleteKeysAddAndRemoveRows) {
    Grid.Navigation.AllowInsertRow = true;
    Grid.Navigation.AllowDeleteRow = true;
    Grid.Navigation.InsertPosition = pInsertAfter;
    std::vector<std::string> events;
    Grid.OnAutoInsertRow = [&](QObject*, int row) { events.push_back("insert " + std::to_string(row)); };
    Grid.OnAutoDeleteRow = [&](QObject*, int row) { events.push_back("delete " + std::to_string(row)); };
    Grid.FocusCell(2, 3, true);
    QTest::keyClick(&Grid, Qt::Key_Insert);
    EXPECT_EQ(Grid.RowCount(), 31);
    EXPECT_EQ(Grid.Row(), 4);
    EXPECT_EQ(Grid.Cells(2, 4), "");
    QTest::keyClick(&Grid, Qt::Key_Delete);
    EXPECT_EQ(Grid.RowCount(), 30);
    EXPECT_EQ(Grid.Cells(2, 4), "r4c2");
    EXPECT_EQ(events, (std::vector<std::string>{"insert 4", "delete 4"}));

    // The only normal row is emptied, not removed.
    Grid.SetRowCount(2);
    Grid.FocusCell(2, 1, true);
    QTest::keyClick(&Grid, Qt::Key_Delete);
    EXPECT_EQ(Grid.RowCount(), 2);
    EXPECT_EQ(Grid.Cells(2, 1), "");
}

TEST_F(GridInput, HeaderPressesSelectWholeColumnsRowsOrEverything) {
    Grid.MouseActions.ColSelect = true;
    Grid.MouseActions.RowSelect = true;
    Grid.MouseActions.AllSelect = true;
    // Over a header the cursor is an arrow pointing at what a press selects:
    // its tip (the hot spot) at the bottom for a column, at the right for a
    // row, at the bottom right for everything.
    struct Zone {
        QPoint At;
        int Zone;
        bool TipRight, TipDown;
    } zones[] = {{At(2, 0), 1, false, true}, {At(0, 5), 2, true, false}, {At(0, 0), 3, true, true}};
    for (const Zone& z : zones) {
        Hover(Grid, z.At);
        EXPECT_EQ(Grid.MouseZone(), z.Zone);
        const QCursor c = Grid.cursor();
        ASSERT_EQ(c.shape(), Qt::BitmapCursor) << z.Zone;
        const QSize size = c.pixmap().size();
        EXPECT_EQ(c.hotSpot().x() > size.width() / 2 + 2, z.TipRight) << z.Zone;
        EXPECT_EQ(c.hotSpot().y() > size.height() / 2 + 2, z.TipDown) << z.Zone;
    }
    Hover(Grid, At(3, 5));
    EXPECT_EQ(Grid.MouseZone(), 0);
    EXPECT_NE(Grid.cursor().shape(), Qt::BitmapCursor);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(2, 0));
    QTest::mouseMove(&Grid, At(4, 0));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(4, 0));
    EXPECT_EQ(Grid.Selection(), (TGridRect{2, 1, 4, 29}));
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(0, 5));
    EXPECT_EQ(Grid.Selection(), (TGridRect{1, 5, 5, 5}));
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(0, 0));
    EXPECT_EQ(Grid.Selection(), (TGridRect{1, 1, 5, 29}));
}

TEST_F(GridInput, MiddleButtonPansOneCellPerTickInItsDirection) {
    Grid.IntelliPan = ipVertical;
    Grid.FocusCell(3, 5, true);
    const QPoint anchor = At(3, 5);
    QTest::mouseClick(&Grid, Qt::MiddleButton, {}, anchor);
    ASSERT_TRUE(Grid.Panning());
    QCursor::setPos(Grid.mapToGlobal(anchor + QPoint(-80, 60)));
    if (QCursor::pos() != Grid.mapToGlobal(anchor + QPoint(-80, 60))) GTEST_SKIP() << "the platform places no cursor";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Grid.Row() > 5; }, 5000)) << "the pan timer moves the rows";
    EXPECT_EQ(Grid.Col(), 3) << "vertical panning leaves the column";
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, At(2, 2));
    EXPECT_FALSE(Grid.Panning());
    EXPECT_NE(Grid.cursor().shape(), Qt::SizeAllCursor) << "the cursor before panning is back";

    // A second middle click ends panning; a third starts it again.
    QTest::mouseClick(&Grid, Qt::MiddleButton, {}, anchor);
    ASSERT_TRUE(Grid.Panning());
    QTest::mouseClick(&Grid, Qt::MiddleButton, {}, anchor);
    EXPECT_FALSE(Grid.Panning());
    QTest::mouseClick(&Grid, Qt::MiddleButton, {}, anchor);
    EXPECT_TRUE(Grid.Panning());
    QTest::keyClick(&Grid, Qt::Key_Escape);
    EXPECT_FALSE(Grid.Panning());

    // A grid whose rows are all fixed does not pan.
    Grid.SetRowCount(1);
    Grid.SetFixedRowAlways(true);
    QTest::mouseClick(&Grid, Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_FALSE(Grid.Panning());
}

// Children of a class without Q_OBJECT, found by their C++ type.
template <class T>
std::vector<T*> ChildrenOf(QWidget& grid) {
    std::vector<T*> found;
    for (QWidget* w : grid.findChildren<QWidget*>())
        if (auto* t = dynamic_cast<T*>(w)) found.push_back(t);
    return found;
}

std::vector<TArrowWindow*> VisibleArrows(QWidget& grid) {
    std::vector<TArrowWindow*> shown;
    for (TArrowWindow* a : ChildrenOf<TArrowWindow>(grid))
        if (a->isVisible()) shown.push_back(a);
    return shown;
}

TEST_F(GridInput, EnhancedColumnMoveShowsTheCaptionAndArrowsWhileMoving) {
    Grid.SetOptions(Grid.Options() | goColMoving);
    Grid.EnhRowColMove = true;
    QTest::mousePress(&Grid, Qt::LeftButton, {}, At(1, 0));
    QTest::mouseMove(&Grid, At(2, 0));
    QTest::mouseMove(&Grid, At(3, 0));
    auto captions = ChildrenOf<TPopupButton>(Grid);
    ASSERT_EQ(captions.size(), 1u);
    EXPECT_TRUE(captions[0]->isVisible());
    EXPECT_EQ(captions[0]->Caption, "r0c1");
    EXPECT_EQ(captions[0]->width(), 60);
    const auto arrows = VisibleArrows(Grid);
    ASSERT_EQ(arrows.size(), 2u);
    // Both arrows sit at the right edge of the previous target, column 2.
    EXPECT_EQ(arrows[0]->x(), Grid.mapToGlobal(QPoint(Grid.CellRect(2, 0).Right - 5, 0)).x());
    EXPECT_EQ(Grid.cursor().shape(), Qt::DragMoveCursor);
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, At(3, 0));
    EXPECT_FALSE(captions[0]->isVisible());
    EXPECT_TRUE(VisibleArrows(Grid).empty());
    EXPECT_EQ(Grid.Cells(3, 2), "r2c1");
    EXPECT_NE(Grid.cursor().shape(), Qt::DragMoveCursor);
}

TEST_F(GridInput, DropMarkFollowsTheTargetCellAndGoesWithTheDrop) {
    Grid.DragDropSettings.OleDropTarget = true;
    QMimeData text;
    text.setText("x");
    const QPoint at = At(2, 3);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(&Grid, &enter);
    auto arrows = VisibleArrows(Grid);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0]->Dir(), TArrowDirection::Right);
    EXPECT_EQ(arrows[0]->pos(), Grid.mapToGlobal(QPoint(Grid.CellRect(2, 3).Left - 10, Grid.CellRect(2, 3).Top)));
    QDragMoveEvent overHeader(At(2, 0), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(&Grid, &overHeader);
    EXPECT_FALSE(overHeader.isAccepted());
    EXPECT_TRUE(VisibleArrows(Grid).empty()) << "a refused place shows no mark";
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, {});
    QApplication::sendEvent(&Grid, &drop);
    EXPECT_TRUE(VisibleArrows(Grid).empty());
    EXPECT_EQ(Grid.Cells(2, 3), "x");
}

TEST_F(GridInput, HeaderDragCarriesTheColumnToAHeaderOfAnotherGrid) {
    Grid.DragDropSettings.OleDropSource = true;
    Grid.DragDropSettings.OleColumnDragDrop = true;
    TExtStringGrid target;
    target.SetColCount(4);
    target.SetRowCount(5);
    target.resize(300, 200);
    target.DragDropSettings.OleDropTarget = true;
    target.DragDropSettings.OleColumnDragDrop = true;
    std::vector<std::string> drops;
    target.OnOleDropCol = [&](QObject*, int row, int col, int dragged) {
        drops.push_back(Cell("col", row, col) + " from " + std::to_string(dragged));
    };
    std::vector<TDropResult> results;
    Grid.OnExec = [&](QMimeData* data) {
        EXPECT_TRUE(data->hasFormat(GridColumnMimeType));
        results.push_back(DragOnto(target, *data, QPoint(target.CellRect(2, 0).Left + 5, 5)));
        results.push_back(
            DragOnto(target, *data, QPoint(target.CellRect(2, 3).Left + 5, target.CellRect(2, 3).Top + 5)));
    };
    const QPoint p = At(3, 0);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, p + QPoint(0, 4));
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, p + QPoint(0, 4));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0].DropAccepted);
    EXPECT_FALSE(results[1].DropAccepted) << "a column drag onto a data row is refused";
    EXPECT_EQ(drops, (std::vector<std::string>{"col 0,2 from 3"}));
    EXPECT_EQ(Grid.Cells(3, 0), "r0c3") << "the grid itself moves nothing";
}

TEST_F(GridInput, CtrlDuringADropAsksForACopy) {
    Grid.DragDropSettings.OleDropTarget = true;
    QMimeData text;
    text.setText("x");
    for (auto [mods, want] : {std::pair{Qt::KeyboardModifiers(Qt::ControlModifier), Qt::CopyAction},
                              std::pair{Qt::KeyboardModifiers(), Qt::MoveAction}}) {
        QDropEvent drop(QPointF(At(2, 2)), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, mods);
        QDragEnterEvent enter(At(2, 2), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, mods);
        QApplication::sendEvent(&Grid, &enter);
        QApplication::sendEvent(&Grid, &drop);
        EXPECT_EQ(drop.dropAction(), want);
    }
}

TEST_F(GridInput, RowSizingShowsItsHeightAndTypedKeysAreNoShortcuts) {
    Grid.SetOptions(Grid.Options() | goRowSizing);
    Grid.HintShowSizing = true;
    const TRect r = Grid.CellRect(0, 4);
    const QPoint edge(10, r.Bottom - 1);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, edge);
    QTest::mouseMove(&Grid, edge + QPoint(0, 15));
    EXPECT_EQ(Grid.HintWindow().Caption(), "rh=<b>35</b>");
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, edge + QPoint(0, 15));
    EXPECT_EQ(Grid.RowHeights(4), 35);

    QKeyEvent typed(QEvent::ShortcutOverride, Qt::Key_S, Qt::NoModifier, "s");
    QApplication::sendEvent(&Grid, &typed);
    EXPECT_TRUE(typed.isAccepted());
    QKeyEvent withAlt(QEvent::ShortcutOverride, Qt::Key_S, Qt::AltModifier, "s");
    withAlt.ignore();
    QApplication::sendEvent(&Grid, &withAlt);
    EXPECT_FALSE(withAlt.isAccepted());
}

TEST_F(GridInput, RichTextIsTakenOnlyByAGridThatEnablesIt) {
    TExtStringGrid plain;
    plain.SetColCount(4);
    plain.SetRowCount(4);
    plain.resize(300, 200);
    plain.DragDropSettings.OleDropTarget = true;
    Grid.DragDropSettings.OleDropTarget = true;
    Grid.DragDropSettings.OleDropRTF = true;
    QMimeData rich;
    rich.setData(RichTextMimeType, "{\\rtf1 bold}");
    EXPECT_TRUE(DragOnto(Grid, rich, At(2, 2)).DropAccepted);
    EXPECT_EQ(Grid.Cells(2, 2), "{\\rtf1 bold}");
    // The other grid did not enable rich text: enabling it on one grid does
    // not open every grid of the program.
    const TRect r = plain.CellRect(1, 1);
    EXPECT_FALSE(DragOnto(plain, rich, QPoint(r.Left + 3, r.Top + 3)).EnterAccepted);
    rich.setText("plain words");
    EXPECT_TRUE(DragOnto(plain, rich, QPoint(r.Left + 3, r.Top + 3)).DropAccepted);
    EXPECT_EQ(plain.Cells(1, 1), "plain words");
}

TEST_F(GridInput, TheFirstColumnSizesByItsOwnLine) {
    Grid.MouseActions.SizeFixedCol = true;
    Grid.HintShowSizing = true;
    const QPoint edge(Grid.ColWidths(0) - 1, At(0, 4).y());
    Hover(Grid, edge);
    EXPECT_EQ(Grid.cursor().shape(), Qt::SplitHCursor);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, edge);
    QTest::mouseMove(&Grid, QPoint(90, edge.y()));
    EXPECT_EQ(Grid.HintWindow().Caption(), "cw=<b>90</b>");
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, QPoint(90, edge.y()));
    EXPECT_EQ(Grid.ColWidths(0), 90);
    EXPECT_FALSE(Grid.HintWindow().isVisible());
}

TEST_F(GridInput, KeysMarkDisjunctRows) {
    Grid.MouseActions.DisjunctRowSelect = true;
    Grid.FocusCell(2, 3, true);
    QTest::keyClick(&Grid, Qt::Key_Down);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4}));
    QTest::keyClick(&Grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&Grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4, 5, 6}));
    QTest::keyClick(&Grid, Qt::Key_Space);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4, 5}));
    QTest::keyClick(&Grid, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(MarkedRows(), (std::vector<int>{4, 5, 7}));
}

TEST_F(GridInput, InCellEditAndComboWriteTheirValueIntoTheTag) {
    Grid.SetCells(1, 2, "<B>n</B> <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"50\">");
    Grid.SetCells(2, 2, "<B>c</B> <CONTROL TYPE=\"COMBO\" ID=\"k1\" VALUE=\"Green\" WIDTH=\"50\">");
    Grid.SetColWidths(1, 90);
    Grid.SetColWidths(2, 90);
    Grid.SetRowHeights(2, 30);
    std::vector<std::string> done;
    Grid.OnControlEditDone = [&](QObject*, int row, int col, const std::string& id, const std::string&,
                                 const std::string& value) {
        done.push_back(Cell(id.c_str(), row, col) + "=" + value);
    };
    Grid.OnControlComboList = [](QObject*, int, int, const std::string&, const std::string&, const std::string&,
                                 std::vector<std::string>& values, bool& edit, int&) {
        values = {"Red", "Green", "Blue"};
        edit = false;
    };
    const QPoint editAt = HitPoint(Grid, 1, 2);
    ASSERT_GE(editAt.x(), 0);
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, editAt);
    auto edits = ChildrenOf<QLineEdit>(Grid);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_TRUE(edits[0]->isVisible());
    EXPECT_EQ(edits[0]->text(), "old");
    edits[0]->setText("new");
    QTest::keyClick(edits[0], Qt::Key_Return);
    EXPECT_FALSE(edits[0]->isVisible());
    EXPECT_NE(Grid.Cells(1, 2).find("VALUE=\"new\""), std::string::npos) << Grid.Cells(1, 2);

    const QPoint comboAt = HitPoint(Grid, 2, 2);
    ASSERT_GE(comboAt.x(), 0);
    QTest::mouseClick(&Grid, Qt::LeftButton, {}, comboAt);
    auto combos = ChildrenOf<QComboBox>(Grid);
    ASSERT_EQ(combos.size(), 1u);
    EXPECT_EQ(combos[0]->currentText(), "Green");
    EXPECT_EQ(combos[0]->count(), 3);
    combos[0]->hidePopup();
    combos[0]->setCurrentIndex(2);
    emit combos[0]->activated(2);
    EXPECT_NE(Grid.Cells(2, 2).find("VALUE=\"Blue\""), std::string::npos) << Grid.Cells(2, 2);
    EXPECT_EQ(done, (std::vector<std::string>{"e1 2,1=new", "k1 2,2=Blue"}));
}

TEST_F(GridInput, SelectingBeyondTheBottomScrollsAndGrowsTheSelection) {
    const QPoint p = At(2, 5);
    QTest::mousePress(&Grid, Qt::LeftButton, {}, p);
    QTest::mouseMove(&Grid, QPoint(p.x(), Grid.height() + 20));
    QTRY_VERIFY_WITH_TIMEOUT(Grid.Row() >= 16, 3000);
    EXPECT_GT(Grid.TopRow(), 1);
    EXPECT_EQ(Grid.Selection().Top, 5);
    EXPECT_EQ(Grid.Selection().Left, 2);
    QTest::mouseRelease(&Grid, Qt::LeftButton, {}, QPoint(p.x(), Grid.height() + 20));
    const int row = Grid.Row();
    QTest::qWait(150);
    EXPECT_EQ(Grid.Row(), row) << "the release stops the scrolling";
}

}  // namespace
