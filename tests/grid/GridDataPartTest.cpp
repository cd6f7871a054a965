// The data part wired into the grid's input: header clicks sort, the
// clipboard keys, the selection's resize handle and a dropped CSV file.
#include "grid/data/GridDataPart.h"
#include "grid/ExtStringGrid.h"
#include "tests/common/ModalSupport.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace cb::grid;

namespace {

struct Shown {
    TExtStringGrid grid;
    Shown(int cols, int rows) {
        grid.resize(500, 300);
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.show();
        (void)QTest::qWaitForWindowExposed(&grid);
    }
    QPoint CellCentre(int col, int row) const {
        TRect r = grid.GetPlainCellRect(col, row);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

void Drop(QWidget& target, const QMimeData& data, QPoint at) {
    const Qt::DropActions actions = Qt::CopyAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&target, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&target, &move);
    QDropEvent drop(QPointF(at), actions, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&target, &drop);
}

std::vector<std::string> Column(const TExtStringGrid& grid, int col) {
    std::vector<std::string> out;
    for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) out.push_back(grid.Cells(col, r));
    return out;
}

}  // namespace

TEST(GridDataPartTest, HeaderClicksSort) {
    Shown s(3, 5);
    TExtStringGrid& g = s.grid;
    const char* texts[] = {"10", "9", "100", "-1"};
    for (int r = 1; r <= 4; ++r) g.SetCells(1, r, texts[r - 1]);
    g.SortSettings.Show = true;
    int clicked = -1;
    g.OnClickSort = [&](QObject*, int col) { clicked = col; };
    QTest::mouseClick(&g, Qt::LeftButton, {}, s.CellCentre(1, 0));
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"-1", "9", "10", "100"}));
    EXPECT_EQ(clicked, 1);
    QTest::mouseClick(&g, Qt::LeftButton, {}, s.CellCentre(1, 0));
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"100", "10", "9", "-1"})) << "a second click flips";
    g.OnCanSort = [](QObject*, int, bool& doSort) { doSort = false; };
    QTest::mouseClick(&g, Qt::LeftButton, {}, s.CellCentre(1, 0));
    EXPECT_EQ(Column(g, 1).front(), "100") << "refused by OnCanSort";

    // Index mode: Shift-clicks on 2, 1, 2 give [2 descending, 1 ascending].
    g.OnCanSort = nullptr;
    g.SortSettings.IndexShow = true;
    QTest::mouseClick(&g, Qt::LeftButton, Qt::ShiftModifier, s.CellCentre(2, 0));
    QTest::mouseClick(&g, Qt::LeftButton, Qt::ShiftModifier, s.CellCentre(1, 0));
    QTest::mouseClick(&g, Qt::LeftButton, Qt::ShiftModifier, s.CellCentre(2, 0));
    ASSERT_EQ(g.SortIndexes.Count(), 2);
    EXPECT_EQ(unsigned(g.SortIndexes.Item(0)), 2u | TSortIndexList::kDescending);
    EXPECT_EQ(g.SortIndexes.Item(1), 1);
}

TEST(GridDataPartTest, ClipboardKeys) {
    Shown s(4, 4);
    TExtStringGrid& g = s.grid;
    g.SetOptions(g.Options() | goEditing);
    g.Navigation.AllowClipboardShortCuts = true;
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    g.SetSelection({1, 1, 2, 1});
    QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "a\tb");
    g.SetSelection({1, 3, 1, 3});
    QTest::keyClick(&g, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(g.Cells(2, 3), "b");
    g.SetSelection({1, 1, 2, 1});
    QTest::keyClick(&g, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(g.Cells(1, 1), "");
    bool asked = false;
    g.OnClipboardPaste = [&](QObject*, bool& allow) {
        asked = true;
        allow = false;
    };
    QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(asked);
    EXPECT_EQ(g.Cells(1, 1), "") << "refused by OnClipboardPaste";
    g.OnClipboardPaste = nullptr;
    QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g.Cells(1, 1), "a");
}

TEST(GridDataPartTest, ResizeHandleFillsASeries) {
    Shown s(3, 8);
    TExtStringGrid& g = s.grid;
    g.SetOptions(g.Options() | goRangeSelect);
    g.Navigation.AllowSmartClipboard = true;
    g.SetSelectionResizer(true);
    g.SetSelectionRectangle(true);
    g.SetCells(1, 1, "1");
    g.SetCells(1, 2, "3");
    g.SetSelection({1, 1, 1, 2});
    const TRect r = g.GetPlainCellRect(1, 2);
    const QPoint handle(r.Right - 2, r.Bottom - 2);
    QTest::mouseMove(&g, handle);
    ASSERT_EQ(g.MouseZone(), 5);
    QTest::mousePress(&g, Qt::LeftButton, {}, handle);
    QTest::mouseMove(&g, s.CellCentre(1, 5));
    QTest::mouseRelease(&g, Qt::LeftButton, {}, s.CellCentre(1, 5));
    EXPECT_EQ(Column(g, 1), (std::vector<std::string>{"1", "3", "5", "7", "9", "", ""}));
}

TEST(GridDataPartTest, DroppedCsvIsImported) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("drop.csv"), "x;y\n1;2\n");
    Shown s(2, 2);
    TExtStringGrid& g = s.grid;
    g.DragDropSettings.OleDropTarget = true;
    std::string error;
    g.OnDropError = [&](QObject*, const std::string& message) { error = message; };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("drop.csv")))});
    Drop(g, data, s.CellCentre(1, 1));
    EXPECT_EQ(error, "");
    EXPECT_EQ(g.Cells(1, 1), "2");
    EXPECT_EQ(g.RowCount(), 2);

    // A bad file: the error goes to OnDropError, the grid stays.
    cbtest::writeFile(dir.file("bad.csv"), "\"open\n");
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("bad.csv")))});
    Drop(g, data, s.CellCentre(1, 1));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    EXPECT_EQ(g.Cells(1, 1), "2");

    // A refused drop imports nothing.
    g.OnOleDropFile = [](QObject*, int, int, const std::string&, bool& allow) { allow = false; };
    cbtest::writeFile(dir.file("other.csv"), "a;b\n");
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("other.csv")))});
    Drop(g, data, s.CellCentre(1, 1));
    EXPECT_EQ(g.Cells(1, 1), "2");
}

// Without OnDropError the failure shows in a box, as written: the file's
// name may look like mark-up.
TEST(GridDataPartTest, DropErrorBoxShowsMarkUpAsText) {
    cbtest::TempDir dir;
    const std::string name = dir.file("<b>bad<i>.csv");
    cbtest::writeFile(name, "\"open\n");
    Shown s(2, 2);
    TExtStringGrid& g = s.grid;
    g.DragDropSettings.OleDropTarget = true;
    cbtest::TShownBox box;
    cbtest::CloseNextMessageBox(box);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(name))});
    Drop(g, data, s.CellCentre(1, 1));
    EXPECT_EQ(box.Format, Qt::PlainText);
    EXPECT_NE(box.Text.find("<b>bad<i>.csv"), std::string::npos) << box.Text;
}

// A grid that overrides the CSV import gets the dropped file, not the part.
TEST(GridDataPartTest, OverriddenImportTakesTheDrop) {
    struct TLogGrid : TExtStringGrid {
        std::string Imported;
        void ImportCSVFile(const std::string& name) override { Imported = name; }
    };
    TLogGrid g;
    g.resize(300, 200);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.show();
    g.DragDropSettings.OleDropTarget = true;
    const TRect cell = g.GetPlainCellRect(1, 1);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/nonexistent/in.csv")});
    Drop(g, data, QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2));
    EXPECT_EQ(g.Imported, "/nonexistent/in.csv");
}
