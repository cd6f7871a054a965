// Copy, cut, paste and smart fill; the grid's own clipboard format between
// two grids and as hostile input; plain text through the X clipboard with
// another program (xclip) under Xvfb.
#include "grid/ExtStringGrid.h"
#include "grid/data/CellStream.h"
#include "grid/data/GridClipboard.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace cb::grid;

namespace {

void Fill(TExtStringGrid& grid, int cols, int rows) {
    grid.SetColCount(cols);
    grid.SetRowCount(rows);
    grid.SetOptions(grid.Options() | goEditing);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r) grid.SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
}

std::vector<std::string> Column(const TExtStringGrid& grid, int col, int first, int last) {
    std::vector<std::string> out;
    for (int r = first; r <= last; ++r) out.push_back(grid.Cells(col, r));
    return out;
}

}  // namespace

TEST(ClipboardTest, TabTextOfRowsAndOneRow) {
    TExtStringGrid grid;
    Fill(grid, 4, 5);
    TGridClipboard clip(grid);
    EXPECT_EQ(clip.RectAsTabText({1, 1, 2, 3}, false), "1:1\t2:1\r\n1:2\t2:2\r\n1:3\t2:3\r\n");
    EXPECT_EQ(clip.RectAsTabText({1, 2, 3, 2}, false), "1:2\t2:2\t3:2");
    grid.SetCells(1, 1, "<b>bold</b>");
    grid.Navigation.CopyHTMLTagsToClipboard = false;
    EXPECT_EQ(clip.RectAsTabText({1, 1, 1, 1}, false), "bold");
    EXPECT_EQ(MeasureTabText("a\tb\r\nc\td\r\n").Rows, 2);
    EXPECT_EQ(MeasureTabText("a\tb\tc\nd").Cols, 3);
    EXPECT_EQ(MeasureTabText("a\nd").Rows, 2);
}

TEST(ClipboardTest, PastePastTheLastRowAndColumnGrowsFirst) {
    TExtStringGrid grid;
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetOptions(grid.Options() | goEditing);
    TGridClipboard clip(grid);
    EXPECT_EQ(clip.PasteTabText(1, 1, "a\tb\r\nc\td"), 4);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(2, 1), "b");
    EXPECT_EQ(grid.Cells(2, 2), "d") << "written after the grid grew, not lost";

    // Without growth the cells outside are left out, the rest written.
    grid.Navigation.AllowClipboardColGrow = grid.Navigation.AllowClipboardRowGrow = false;
    clip.PasteTabText(2, 2, "x\ty\nz");
    EXPECT_EQ(grid.Cells(2, 2), "x");
    EXPECT_EQ(grid.ColCount(), 3);

    // The event may change or refuse a cell; fixed cells are not written.
    grid.OnCanEditCell = [](QObject*, int row, int, bool& can) { can = row != 1; };
    clip.OnClipboardBeforePasteCell = [](QObject*, int col, int, std::string& value, bool& allow) {
        allow = col != 2;
        value = "<" + value + ">";
    };
    clip.PasteTabText(0, 1, "p\tq\tr\ns\tt\tu");
    EXPECT_EQ(grid.Cells(0, 2), "") << "a fixed column";
    EXPECT_EQ(grid.Cells(1, 1), "a") << "refused by OnCanEditCell";
    EXPECT_EQ(grid.Cells(1, 2), "<t>");
    EXPECT_EQ(grid.Cells(2, 2), "x") << "refused by the event";
}

TEST(ClipboardTest, CopyPasteAndCutThroughTheClipboard) {
    TExtStringGrid a, b;
    Fill(a, 4, 4);
    Fill(b, 3, 3);
    for (auto* g : {&a, &b}) g->Navigation.AllowFmtClipboard = true;
    // Styles, a merged range, an image-list graphic and a check box.
    a.SetCellBrushColor(1, 1, cb::gfx::clYellow);
    a.SetCellFontStyle(2, 1, cb::gfx::fsBold);
    a.SetCellFontName(2, 1, "DejaVu Serif");
    a.MergeCellRange(1, 2, 2, 1);
    TCellGraphic* images = a.CreateCellGraphic(1, 3);
    images->CellType = ctImageList;
    images->CellIndex = 7;
    TCellGraphic* box = a.CreateCellGraphic(2, 3);
    box->CellType = ctCheckBox;
    box->CellBoolean = true;
    TGridClipboard ca(a), cb(b);
    TGridCoord seen{-5, -5};
    cb.OnPasteNotify = [&](QObject*, TGridCoord origin, const TGridRect&, bool) { seen = origin; };
    ca.OnPasteNotify = cb.OnPasteNotify;

    a.SetSelection({1, 1, 2, 3});
    ca.CopySelection();
    // The merged range shows its base cell's text in both cells.
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "1:1\t2:1\r\n1:2\t1:2\r\n1:3\t2:3\r\n");
    b.SetSelection({2, 2, 2, 2});
    cb.PasteSelection();
    EXPECT_EQ(b.ColCount(), 4) << "grown for the block";
    EXPECT_EQ(b.RowCount(), 5);
    EXPECT_EQ(b.Cells(3, 2), "2:1");
    EXPECT_EQ(b.GetCellBrushColor(2, 2), cb::gfx::clYellow);
    EXPECT_EQ(b.GetCellFontStyle(3, 2), cb::gfx::fsBold);
    EXPECT_EQ(b.GetCellFontName(3, 2), "DejaVu Serif");
    EXPECT_EQ(b.GetMergedSpan(2, 3), a.GetMergedSpan(1, 2)) << "merged where it landed";
    EXPECT_TRUE(b.IsInMergedRange(3, 3));
    ASSERT_NE(b.GetCellGraphic(2, 4), nullptr);
    EXPECT_EQ(b.GetCellGraphic(2, 4)->CellType, ctImageList);
    EXPECT_EQ(b.GetCellGraphic(2, 4)->CellIndex, 7);
    bool checked = false;
    EXPECT_TRUE(b.GetCheckBoxState(3, 4, checked));
    EXPECT_TRUE(checked);
    EXPECT_EQ(seen.X, -1) << "from another grid";
    a.SetSelection({0, 0, 0, 0});
    ca.PasteSelection();
    EXPECT_EQ(seen.X, 1) << "from this grid: the copy's origin";

    // Cut empties the selection's writable cells; the paste brings them back.
    TExtStringGrid e;
    Fill(e, 4, 4);
    TGridClipboard ce(e);
    e.SetSelection({1, 1, 2, 1});
    ce.CutSelection();
    EXPECT_EQ(e.Cells(1, 1), "");
    EXPECT_EQ(e.Cells(2, 1), "");
    EXPECT_FALSE(ce.ClipboardFromCopy);
    e.SetSelection({1, 2, 1, 2});
    ce.PasteSelection();
    EXPECT_EQ(e.Cells(1, 2), "1:1");
    EXPECT_EQ(e.Cells(2, 2), "2:1");

    // Cut of marked rows.
    TExtStringGrid d;
    Fill(d, 3, 5);
    d.MouseActions.DisjunctRowSelect = true;
    d.SetRowSelected(2, true);
    d.SetRowSelected(4, true);
    TGridClipboard cd(d);
    cd.CutSelection();
    EXPECT_EQ(Column(d, 1, 1, 4), (std::vector<std::string>{"1:1", "", "1:3", ""}));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "0:2\t1:2\t2:2\r\n0:4\t1:4\t2:4\r\n");
}

TEST(ClipboardTest, FullGridPasteRestoresSizes) {
    TExtStringGrid a, b;
    Fill(a, 3, 2);
    a.SetColWidths(2, 111);
    a.SetRowHeights(1, 44);
    a.Navigation.AllowFmtClipboard = b.Navigation.AllowFmtClipboard = true;
    TGridClipboard ca(a), cb(b);
    ca.CopyRectToClipboard({0, 0, 2, 1}, false);
    b.SetColCount(7);
    b.SetRowCount(9);
    b.SetCells(6, 8, "gone");
    EXPECT_EQ(cb.PasteFromClipboardAt(4, 4), 6);
    EXPECT_EQ(b.ColCount(), 3);
    EXPECT_EQ(b.RowCount(), 2);
    EXPECT_EQ(b.ColWidths(2), 111);
    EXPECT_EQ(b.RowHeights(1), 44);
    EXPECT_EQ(b.Cells(2, 1), "2:1");
}

TEST(ClipboardTest, SmartFill) {
    struct Case {
        const char* name;
        const char* pasted;
        TGridRect selection;
        std::vector<std::string> expected;  // column 1 (or row 1) from the top-left
    } cases[] = {
        {"one value", "7", {1, 1, 1, 4}, {"7", "7", "7", "7"}},
        {"integer series", "1\r\n3", {1, 1, 1, 6}, {"1", "3", "5", "7", "9", "11"}},
        {"float series", "1.5\r\n2", {1, 1, 1, 4}, {"1.50", "2.00", "2.50", "3.00"}},
        {"weekly dates",
         "01/03/2024\r\n08/03/2024",
         {1, 1, 1, 4},
         {"01/03/2024", "08/03/2024", "15/03/2024", "22/03/2024"}},
        {"monthly dates", "31/01/2024\r\n29/02/2024", {1, 1, 1, 3}, {"31/01/2024", "29/02/2024", "29/03/2024"}},
        {"words from a column",
         "red\r\ngreen\r\nblue\r\n",
         {1, 1, 1, 7},
         {"red", "green", "blue", "red", "green", "blue", "red"}},
        {"words from a row", "x\ty", {1, 1, 5, 1}, {"x", "y", "x", "y", "x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid grid;
        grid.SetColCount(7);
        grid.SetRowCount(9);
        grid.SetOptions(grid.Options() | goEditing);
        grid.Navigation.AllowSmartClipboard = true;
        QApplication::clipboard()->setText(c.pasted);
        grid.SetSelection(c.selection);
        TGridClipboard clip(grid);
        clip.PasteSelection();
        std::vector<std::string> got;
        if (c.selection.Left == c.selection.Right)
            got = Column(grid, 1, c.selection.Top, c.selection.Bottom);
        else
            for (int col = c.selection.Left; col <= c.selection.Right; ++col) got.push_back(grid.Cells(col, 1));
        EXPECT_EQ(got, c.expected);
    }
}

namespace {

// A valid stream of one cell with properties and a graphic.
std::string GoodStream(TCellType kind = ctCheckBox) {
    TExtStringGrid src;
    src.SetColCount(3);
    src.SetRowCount(3);
    src.SetCells(1, 1, "x");
    src.SetCellBrushColor(1, 1, cb::gfx::clRed);
    TCellGraphic* g = src.CreateCellGraphic(1, 1);
    g->CellType = kind;
    return WriteCellStream(src, {1, 1, 1, 1}, 1);
}

template <class T>
std::string Patched(std::string s, std::size_t at, T value) {
    std::memcpy(s.data() + at, &value, sizeof(T));
    return s;
}

}  // namespace

TEST(ClipboardTest, HostilePayloadsChangeNoCell) {
    const std::string good = GoodStream();
    // Offsets of the layout: magic 0, version 4, left 8, top 12, cols 16,
    // rows 20, widths 24, heights 28, full 32, id 33, first cell at 41:
    // col 41, row 45, text length 49, text 53, hasProps 54, props 55...
    const std::size_t cellAt = 41;
    struct Case {
        const char* name;
        std::string data;
    } cases[] = {
        {"empty", ""},
        {"other bytes", "hello world, not cells"},
        {"cut in the header", good.substr(0, 20)},
        {"cut in a cell", good.substr(0, good.size() - 9)},
        {"a billion columns", Patched(good, 16, std::int32_t(1000000000))},
        {"negative rows", Patched(good, 20, std::int32_t(-1))},
        {"a cell left of the block", Patched(good, cellAt, std::int32_t(0))},
        {"a cell below the block", Patched(good, cellAt + 4, std::int32_t(9))},
        {"a text longer than the rest", Patched(good, cellAt + 8, std::uint32_t(4000000))},
        {"a flag of 7", Patched(good, cellAt + 13, std::uint8_t(7))},
        {"a merged width past the block",
         Patched(Patched(good, cellAt + 14, std::uint8_t(1)), cellAt + 15, std::int32_t(50))},
        {"another version", Patched(good, 4, std::uint32_t(9))},
        {"trailing garbage", good + "\x01\x02\x03"},
        {"a second copy of the cell", good + good.substr(cellAt)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TExtStringGrid grid;
        grid.SetColCount(4);
        grid.SetRowCount(4);
        for (int col = 0; col < 4; ++col)
            for (int row = 0; row < 4; ++row) grid.SetCells(col, row, "k");
        EXPECT_THROW(ReadCellStream(grid, 0, 0, c.data, true, true), ECellStreamError);
        EXPECT_EQ(grid.ColCount(), 4);
        EXPECT_EQ(grid.RowCount(), 4);
        for (int col = 0; col < 4; ++col)
            for (int row = 0; row < 4; ++row) {
                EXPECT_EQ(grid.Cells(col, row), "k");
                EXPECT_FALSE(grid.CellHasProperties(col, row));
            }
    }
    // A graphic kind the grid does not know.
    std::string kindless = good;
    const std::string other = GoodStream(ctNode);
    std::size_t kindAt = 0;
    while (kindAt < good.size() && good[kindAt] == other[kindAt]) ++kindAt;
    ASSERT_EQ(std::uint8_t(good[kindAt]), std::uint8_t(ctCheckBox));
    kindless[kindAt] = char(200);
    TExtStringGrid grid;
    EXPECT_THROW(ReadCellStream(grid, 0, 0, kindless, true, true), ECellStreamError);
    EXPECT_EQ(grid.Cells(0, 0), "");
    // And the good one is read.
    ReadCellStream(grid, 2, 2, good, true, true);
    EXPECT_EQ(grid.Cells(2, 2), "x");
}

// --- the X clipboard, shared with another program ------------------------------

namespace {

// Runs a command while the event loop keeps serving the clipboard.
std::string RunServing(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(program, args);
    if (!input.isNull()) {
        p.write(input);
        p.closeWriteChannel();
    }
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(20);
    }
    return p.readAllStandardOutput().toStdString();
}

}  // namespace

// Runs under a real X server only (the parent test below starts one).
TEST(ClipboardX11, DISABLED_Child) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    TExtStringGrid grid;
    Fill(grid, 4, 4);
    TGridClipboard clip(grid);
    grid.SetSelection({1, 1, 2, 2});
    clip.CopySelection();
    EXPECT_EQ(RunServing("xclip", {"-o", "-selection", "clipboard"}), "1:1\t2:1\r\n1:2\t2:2\r\n");

    // Another program fills the clipboard; the paste grows the grid.
    RunServing("xclip", {"-i", "-selection", "clipboard"}, QByteArray("p\tq\tr\r\ns\tt\tu\r\n"));
    QTest::qWait(200);
    grid.SetSelection({3, 3, 3, 3});
    clip.PasteSelection();
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.Cells(5, 4), "u");

    // Our own format is offered to other programs beside the text.
    grid.Navigation.AllowFmtClipboard = true;
    clip.CopySelection();
    std::string targets = RunServing("xclip", {"-o", "-selection", "clipboard", "-t", "TARGETS"});
    EXPECT_NE(targets.find(GridCellsMimeType), std::string::npos) << targets;
    std::string stream = RunServing("xclip", {"-o", "-selection", "clipboard", "-t", GridCellsMimeType});
    EXPECT_EQ(stream.substr(0, 4), "CBGC");
}

TEST(ClipboardX11, RoundTripsWithAnotherProgram) {
    // A free display number, an X server on it, this program again there.
    int display = 90 + int(getpid() % 100);
    pid_t xvfb = fork();
    if (xvfb == 0) {
        std::string d = ":" + std::to_string(display);
        execl("/usr/bin/Xvfb", "Xvfb", d.c_str(), "-screen", "0", "800x600x24", "-nolisten", "tcp", (char*)nullptr);
        _exit(127);
    }
    ASSERT_GT(xvfb, 0);
    QTest::qWait(700);
    std::string cmd = "DISPLAY=:" + std::to_string(display) + " QT_QPA_PLATFORM=xcb '" +
                      QCoreApplication::applicationFilePath().toStdString() +
                      "' --gtest_also_run_disabled_tests --gtest_filter=ClipboardX11.DISABLED_Child 2>&1";
    std::string out;
    int rc = cbtest::runCommand(cmd, &out);
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}
