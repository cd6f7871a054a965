// Measuring cells and fitting columns and rows, exchanging rows, the stretch
// column, sizing that scales all columns, and the widths kept in the
// settings store or an INI file.
#include "grid/ExtStringGrid.h"
#include "grid/paint/GridImageList.h"
#include "tests/common/TestSupport.h"

#include "platform/os/RegistryIniFile.h"
#include "platform/os/RegistryStore.h"
#include "platform/rtl/IniFile.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace cb::grid;

namespace {

int TextWidthIn(const cb::gfx::TFont& font, const std::string& text) {
    cb::gfx::TCanvas canvas;
    canvas.Font().Assign(font);
    return canvas.TextWidth(text);
}

int GhHeight(const cb::gfx::TFont& font) {
    cb::gfx::TCanvas canvas;
    canvas.Font().Assign(font);
    return canvas.TextHeight("gh");
}

TEST(Measure, LinesOfACellAndItsFont) {
    TExtStringGrid grid;
    grid.SetCellText(1, 1, "first\r\nsecond line");
    const int gh = GhHeight(grid.Font());
    EXPECT_EQ(grid.MeasureCellContent(1, 1, false).cy, gh + 4);
    grid.SetMultilinecells(true);
    const auto size = grid.MeasureCellContent(1, 1, false);
    EXPECT_EQ(size.cy, 2 * gh + 4);
    EXPECT_EQ(size.cx, TextWidthIn(grid.Font(), "second line") + 4);

    // The cell's own font is the one measured.
    grid.SetCellFontSize(1, 1, 20);
    cb::gfx::TFont big;
    big.Assign(grid.Font());
    big.SetSize(20);
    EXPECT_EQ(grid.MeasureCellContent(1, 1, false).cx, TextWidthIn(big, "second line") + 4);
}

TEST(Measure, ColumnsFitTheirWidestCell) {
    TExtStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(4);
    grid.SetCellText(1, 1, "short");
    grid.SetCellText(1, 2, "a rather longer text");
    grid.SetCellFontStyle(1, 2, cb::gfx::fsBold);
    grid.SetCellText(1, 0, "head");  // the fixed font
    cb::gfx::TFont bold;
    bold.Assign(grid.Font());
    bold.SetStyle(cb::gfx::fsBold);
    grid.FitColumnWidth(1);
    // Two grid lines, the text and its margins, one more margin and 2.
    EXPECT_EQ(grid.ColWidths(1), 2 + TextWidthIn(bold, "a rather longer text") + 4 + 2 + 2);

    // An image 16 wide over empty text: 16 + 4 + 2 grid lines + 2 + 2.
    TGridImageList images(16, 16);
    images.Add(QImage(16, 16, QImage::Format_ARGB32));
    grid.GridImages = &images;
    grid.SetCellImageIndex(2, 1, 0, haLeft, vaTop);
    grid.FitColumnWidth(2);
    EXPECT_EQ(grid.ColWidths(2), 26);

    // An empty column fits to MinColumnWidth at least.
    grid.SetGridLineWidth(0);
    grid.FitColumnWidth(3);
    EXPECT_EQ(grid.ColWidths(3), 10);

    // Only growing keeps a wide column; the extra pixels come all the same.
    grid.SetColWidths(1, 300);
    grid.AutoSizeOnlyGrow = true;
    grid.FitColumnWidths(false, 10);
    EXPECT_EQ(grid.ColWidths(1), 310);

    // The owner has the last word.
    grid.AutoSizeOnlyGrow = false;
    grid.OnUpdateColumnSize = [](QObject*, int col, int& width) {
        if (col == 3) width = 77;
    };
    grid.FitColumnWidth(3);
    EXPECT_EQ(grid.ColWidths(3), 77);
}

TEST(Measure, AutoSizeAddsTenPixelsToEveryNormalColumn) {
    TExtStringGrid grid;
    grid.SetColCount(3);
    grid.SetColWidths(0, 40);
    grid.SetCellText(2, 1, "value");
    grid.SetAutoSize(true);
    EXPECT_EQ(grid.ColWidths(0), 40);
    EXPECT_EQ(grid.ColWidths(2), 2 + TextWidthIn(grid.Font(), "value") + 4 + 2 + 2 + 10);
}

TEST(Measure, RowsFitTheirTallestCell) {
    TExtStringGrid grid;
    grid.SetMultilinecells(true);
    grid.SetCellText(1, 2, "a\rb\rc");
    grid.FitRowHeight(2);
    EXPECT_EQ(grid.RowHeights(2), 2 + 3 * GhHeight(grid.Font()) + 4 + 2);
    EXPECT_EQ(grid.GetRowLineCount(2), 3);
    grid.SetRowHeightForLines(3, 2, 4);
    const int h = GhHeight(grid.Font());
    EXPECT_EQ(grid.RowHeights(3), std::max(4 + 2 * (h + h / 8), grid.MinRowHeight));
}

TEST(ExchangeRows, RowsTakeTheirHeightsAndObjects) {
    TExtStringGrid grid;
    grid.SetCellText(1, 1, "one");
    grid.SetCellText(1, 3, "three");
    grid.SetCellBrushColor(2, 1, 0xFF);
    grid.SetRowHeights(1, 40);
    grid.SortTrackedRow = 3;
    grid.ExchangeRows(1, 3);
    EXPECT_EQ(grid.Cells(1, 1), "three");
    EXPECT_EQ(grid.Cells(1, 3), "one");
    EXPECT_EQ(grid.RowHeights(3), 40);
    EXPECT_EQ(grid.RowHeights(1), grid.DefaultRowHeight());
    EXPECT_EQ(grid.GetCellBrushColor(2, 3), 0xFFu);
    EXPECT_EQ(grid.GetCellObject(2, 3)->OwnerRow, 3);
    EXPECT_EQ(grid.SortTrackedRow, 1);

    grid.SortSettings.SingleColumn = true;
    grid.SortSettings.Column = 1;
    grid.ExchangeRows(1, 3);
    EXPECT_EQ(grid.Cells(1, 1), "one");
    EXPECT_EQ(grid.GetCellBrushColor(2, 3), 0xFFu);  // other columns stay
}

// ---------------------------------------------------------------------------
// Widths with the window

struct Shown : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.SetScrollBars(ssNone);
        grid.SetColCount(3);
        grid.SetRowCount(3);
        grid.resize(300, 100);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
};

TEST_F(Shown, TheStretchColumnFillsTheClientWidth) {
    grid.SetColWidths(0, 64);
    grid.SetColWidths(1, 64);
    grid.ColumnSize.SetStretch(true);
    EXPECT_EQ(grid.ColWidths(2), 300 - 128 - 1);
    grid.SetColWidths(0, 400);  // no room left
    EXPECT_EQ(grid.ColWidths(2), grid.DefaultColWidth());
    grid.SetColWidths(0, 100);
    grid.resize(400, 100);
    EXPECT_EQ(grid.ColWidths(2), 400 - 164 - 1);

    // A column the grid does not have is left alone.
    EXPECT_NO_THROW(grid.StretchColumnToFit(5));
    grid.ColumnSize.StretchColumn = 7;
    EXPECT_NO_THROW(grid.SetColCount(4));
}

TEST_F(Shown, ColumnsFollowTheGridWidth) {
    grid.ColumnSize.SynchWithGrid = true;
    grid.resize(200, 100);
    grid.SetColWidths(1, 100);
    grid.resize(300, 100);
    EXPECT_EQ(grid.ColWidths(1), 150);
}

TEST_F(Shown, SizingOneColumnScalesTheOthers) {
    grid.SetOptions(grid.Options() | goColSizing);
    grid.MouseActions.AllColumnSize = true;
    for (int c = 0; c < 3; ++c) grid.SetColWidths(c, 50);
    std::vector<std::string> events;
    grid.OnEndColumnSize = [&](QObject*, int col) { events.push_back("end " + std::to_string(col)); };
    grid.OnUpdateColumnSize = [&](QObject*, int col, int& width) {
        events.push_back("update " + std::to_string(col) + " " + std::to_string(width));
        width += 1;
    };
    const TRect r = grid.CellRect(2, 0);
    const QPoint edge(r.Right - 1, 5);
    QTest::mousePress(&grid, Qt::LeftButton, {}, edge);
    QTest::mouseMove(&grid, edge + QPoint(50, 0));
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, edge + QPoint(50, 0));
    EXPECT_EQ(grid.ColWidths(1), 100);
    EXPECT_EQ(grid.ColWidths(0), 50);  // fixed
    EXPECT_EQ(grid.ColWidths(2), 101);
    EXPECT_EQ(events, (std::vector<std::string>{"end 2", "update 2 100"}));
}

TEST_F(Shown, SizingEdges) {
    grid.SetOptions(grid.Options() | goColSizing | goRowSizing);
    const TRect r = grid.CellRect(2, 0);
    EXPECT_TRUE(grid.IsNearSizingEdge(r.Right - 2, 5));
    EXPECT_FALSE(grid.IsNearSizingEdge((r.Left + r.Right) / 2, 5));
    const TRect f = grid.CellRect(0, 2);
    EXPECT_TRUE(grid.IsNearSizingEdge(5, f.Bottom - 1));
}

// ---------------------------------------------------------------------------
// Stored widths

struct StoredWidths : ::testing::Test {
    cbtest::TempDir dir;
    void SetUp() override { cb::os::TRegistryStore::SetRootPath(dir.path().string()); }
    void TearDown() override { cb::os::TRegistryStore::SetRootPath(""); }
    std::unique_ptr<TExtStringGrid> Make(TColumnSizeLocation where, const std::string& key) {
        auto grid = std::make_unique<TExtStringGrid>();
        grid->SetColCount(3);
        grid->ColumnSize.Save = true;
        grid->ColumnSize.Location = where;
        grid->ColumnSize.Key = key;
        grid->ColumnSize.Section = "Grid";
        return grid;
    }
};

TEST_F(StoredWidths, KeptInBothStoresAndRestoredWhenShown) {
    const struct {
        TColumnSizeLocation where;
        std::string key;
    } stores[] = {{clIniFile, dir.file("widths.ini")}, {clRegistry, "Software\\Tavo\\GridTest"}};
    for (const auto& s : stores) {
        SCOPED_TRACE(s.key);
        {
            auto grid = Make(s.where, s.key);
            grid->SetColWidths(0, 64);
            grid->SetColWidths(1, 80);
            grid->SetColWidths(2, 20);
        }  // saved as the grid goes
        if (s.where == clIniFile) {
            cb::rtl::TIniFile ini(s.key);
            EXPECT_EQ(ini.ReadSectionValues("Grid"), (std::vector<std::string>{"Col0=64", "Col1=80", "Col2=20"}));
        } else {
            cb::os::TRegistryIniFile reg(s.key);
            EXPECT_EQ(reg.ReadInteger("Grid", "Col1", 0), 80);
        }
        auto grid = Make(s.where, s.key);
        EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
        grid->show();
        EXPECT_EQ(grid->ColWidths(0), 64);
        EXPECT_EQ(grid->ColWidths(1), 80);
        EXPECT_EQ(grid->ColWidths(2), 20);
        grid->ColumnSize.Save = false;
    }
}

TEST_F(StoredWidths, MissingAndUntrustedValues) {
    const std::string file = dir.file("few.ini");
    {
        cb::rtl::TIniFile ini(file);
        ini.WriteInteger("Grid", "Col0", 33);
        ini.WriteInteger("Grid", "Col2", -5);
        ini.WriteInteger("Grid", "Col7", 99);
    }
    auto grid = Make(clIniFile, file);
    grid->ColumnSize.Save = false;
    grid->SetColWidths(1, 90);
    grid->LoadColumnWidths();
    EXPECT_EQ(grid->ColWidths(0), 33);
    EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
    EXPECT_EQ(grid->ColWidths(2), 0);

    // Nothing without key or section.
    grid->ColumnSize.Section.clear();
    grid->SetColWidths(0, 50);
    grid->LoadColumnWidths();
    EXPECT_EQ(grid->ColWidths(0), 50);
}

}  // namespace
