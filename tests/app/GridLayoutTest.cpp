// The pivot grid layout on the sample cube and the small test cube: counts,
// header texts and blanks, indents, keys, styles from a theme, the mapping
// back to positions, failures, and a rendering probed pixel by pixel.
#include "app/core/theme/GridTheme.h"
#include "app/core/theme/GridViewImages.h"
#include "app/core/query/MDXDisplayManager.h"
#include "app/ui/dialogs/MDXProgressScreen.h"
#include "grid/ExtStringGrid.h"
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeFile.h"
#include "tests/app/MDXTestSupport.h"
#include "tests/common/TestCubes.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

using namespace cb::app;
using cb::grid::TExtStringGrid;

namespace {

constexpr const char* kCube = " FROM [Tavo_sample]";

QRgb Rgb(cb::gfx::TColor c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Colours and fonts that differ from part to part and depth to depth.
TGridDisplayTheme MakeTheme() {
    TGridDisplayTheme t;
    t.Name = "Probe";
    t.DimensionColor = 0x804000;
    t.DimensionFontName = "Arial";
    t.DimensionFontColor = 0xFFFFFF;
    t.DimensionFontSize = 9;
    t.DimensionFontBold = true;
    t.SelectionColor = 0x123456;
    t.BorderColor = 0x654321;
    t.DataColor = 0xE0FFFF;
    t.DataFontName = "Tahoma";
    t.DataFontColor = 0x000080;
    t.DataFontSize = 8;
    t.DataFontBold = false;
    for (int k = 0; k < TGridDisplayTheme::DepthCount; ++k) {
        TDepthStyle& d = t.Depths[size_t(k)];
        d.Color = 0x00C0C0u | (unsigned(k * 20) << 16);
        d.FontName = k % 2 ? "Arial" : "Tahoma";
        d.FontColor = unsigned(k);
        d.FontSize = 8 + k % 3;
        d.FontBold = k % 2 == 1;
    }
    return t;
}

// A test grid that can run a callback once the layout has written a given
// cell (its repaint check is asked on every cell write).
class THookGrid : public TExtStringGrid {
public:
    std::function<void()> OnWritten;
    int HookCol = 0, HookRow = 0;
    std::string HookText;

protected:
    bool RepaintAllowed() const override {
        if (OnWritten && !HookText.empty() && Cells(HookCol, HookRow) == HookText) {
            auto hook = std::move(const_cast<THookGrid*>(this)->OnWritten);
            const_cast<THookGrid*>(this)->OnWritten = nullptr;
            hook();
        }
        return TExtStringGrid::RepaintAllowed();
    }
};

class GridLayoutTest : public ::testing::Test {
protected:
    GridLayoutTest() : Theme(MakeTheme()) {
        Grid.SetFixedCols(0);
        Grid.SetFixedRows(0);
        Grid.resize(900, 500);
        Layout.SetGrid(&Grid);
        Layout.SetTheme(&Theme);
        Layout.OnProgress = cb::app::MakeLayoutProgressWindow();
    }

    bool Run(const std::string& mdx, const std::string& file = cbtest::SampleCubePath()) {
        Cellset = std::make_shared<cb::olap::Cellset>();
        Cellset->SetActiveConnection(cbtest::LocalCubeConnectionString(file));
        Cellset->Open(mdx);
        Layout.SetCellset(Cellset);
        return Layout.Render();
    }

    // The texts of the grid, row by row; data cells ("d") as "#" unless raw.
    std::vector<std::vector<std::string>> Texts(bool raw = false) const {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < Grid.RowCount(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < Grid.ColCount(); ++c)
                rows.back().push_back(!raw && Layout.GetCellKey(c, r) == "d" ? "#" : Grid.Cells(c, r));
        }
        return rows;
    }

    cbtest::TTestContext App;
    TGridDisplayTheme Theme;
    THookGrid Grid;
    TMDXDisplayManager Layout{App.Context()};
    std::shared_ptr<cb::olap::Cellset> Cellset;
};

using Table = std::vector<std::vector<std::string>>;

TEST_F(GridLayoutTest, HeaderTextsBlanksAndIndents) {
    struct Case {
        const char* name;
        std::string mdx;
        Table texts;
    };
    const std::vector<Case> cases = {
        {"default query",
         "SELECT {[Product].[All]} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube),
         {{"", "Measures"}, {"Product", "Revenue"}, {"All", "#"}}},
        // One measure under three years: every column names it.
        {"crossed columns and rows",
         "SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
         "CROSSJOIN({[Product].[All].[Bikes], [Product].[All].[Clothing]}, "
         "{[Channel].[All].[Online], [Channel].[All].[Retail Store]}) ON ROWS" +
             std::string(kCube),
         {{"", "", "Time", "Measures", ""},
          {"", "", "2022", "2023", "2024"},
          {"Product", "Channel", "Revenue", "Revenue", "Revenue"},
          {"  Bikes", "  Online", "#", "#", "#"},
          {"", "  Retail Store", "#", "#", "#"},
          {"  Clothing", "  Online", "#", "#", "#"},
          {"", "  Retail Store", "#", "#", "#"}}},
        // The one channel repeats under each product and still shows.
        {"inner member under changing outer",
         "SELECT {[Measures].[Units]} ON COLUMNS, CROSSJOIN({[Product].[All].[Bikes], [Product].[All].[Clothing]}, "
         "{[Channel].[All].[Online]}) ON ROWS" +
             std::string(kCube),
         {{"", "", "Measures"},
          {"Product", "Channel", "Units"},
          {"  Bikes", "  Online", "#"},
          {"  Clothing", "  Online", "#"}}},
        {"depths indent two blanks each",
         "SELECT {[Measures].[Revenue]} ON COLUMNS, {[Time].[All], [Time].[All].[2022], [Time].[All].[2022].[Q1], "
         "[Time].[All].[2022].[Q1].[January]} ON ROWS" +
             std::string(kCube),
         {{"", "Measures"},
          {"Time", "Revenue"},
          {"All", "#"},
          {"  2022", "#"},
          {"    Q1", "#"},
          {"      January", "#"}}},
        // Rows without dimensions: no data cells.
        {"empty rows",
         "SELECT {[Measures].[Revenue]} ON COLUMNS, {} ON ROWS" + std::string(kCube),
         {{"", "Measures"}, {"Drag Row Fields Here", "Revenue"}, {"", ""}}},
        // Columns without dimensions: the row headers start one row lower
        // and all fit.
        {"empty columns",
         "SELECT {} ON COLUMNS, {[Product].[All].[Bikes], [Product].[All].[Clothing]} ON ROWS" + std::string(kCube),
         {{"", "Drag Columns Fields Here"}, {"Product", ""}, {"  Bikes", ""}, {"  Clothing", ""}}},
        {"both empty",
         "SELECT {} ON COLUMNS, {} ON ROWS" + std::string(kCube),
         {{"", "Drag Columns Fields Here"}, {"Drag Row Fields Here", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Run(c.mdx));
        EXPECT_EQ(Texts(), c.texts);
        EXPECT_EQ(Layout.KeyColumnCount(), Grid.ColCount());
        EXPECT_EQ(Layout.KeyRowCount(), Grid.RowCount());
        EXPECT_FALSE(Grid.EnableHTML);  // a member caption such as "<b>x" is shown as written
    }
    EXPECT_TRUE(App.UI.Errors.empty());
}

TEST_F(GridLayoutTest, KeysCountsAndPositions) {
    ASSERT_TRUE(Run("SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
                    "CROSSJOIN({[Product].[All].[Bikes], [Product].[All].[Clothing]}, "
                    "{[Channel].[All].[Online], [Channel].[All].[Retail Store]}) ON ROWS" +
                    std::string(kCube)));
    EXPECT_EQ(Layout.ColumnDimensionCount(), 2);
    EXPECT_EQ(Layout.ColumnPositionCount(), 3);
    EXPECT_EQ(Layout.RowDimensionCount(), 2);
    EXPECT_EQ(Layout.RowPositionCount(), 4);
    EXPECT_EQ(Grid.ColCount(), 5);
    EXPECT_EQ(Grid.RowCount(), 7);

    const struct {
        int col, row;
        const char* key;
    } keys[] = {
        {0, 0, ""},
        {1, 1, ""},
        {2, 0, "[Time]"},
        {3, 0, "[Measures]"},
        {4, 0, ""},
        {0, 2, "[Product]"},
        {1, 2, "[Channel]"},
        {3, 1, "[Time].[All].[2023]"},
        {4, 2, "[Measures].[Revenue]"},
        {0, 3, "[Product].[All].[Bikes]"},
        {0, 4, "[Product].[All].[Bikes]"},  // blank repeat keeps its member
        {1, 6, "[Channel].[All].[Retail Store]"},
        {2, 3, "d"},
        {4, 6, "d"},
        {5, 0, "-1"},
        {0, 7, "-1"},
        {-1, 0, "-1"},
        {0, -1, "-1"},
    };
    for (const auto& k : keys) EXPECT_EQ(Layout.GetCellKey(k.col, k.row), k.key) << k.col << "," << k.row;

    // Data values are the formatted cells of (column position, row position).
    EXPECT_EQ(Grid.Cells(3, 5), Cellset->Item(1, 2)->FormattedValue());

    const struct {
        int grid, position;
    } columns[] = {{0, 0}, {2, 0}, {3, 1}, {4, 2}, {9, 2}}, rows[] = {{0, 0}, {3, 0}, {5, 2}, {6, 3}, {40, 3}};
    for (const auto& c : columns) EXPECT_EQ(Layout.GridColumnToPosition(c.grid), c.position) << c.grid;
    for (const auto& r : rows) EXPECT_EQ(Layout.GridRowToPosition(r.grid), r.position) << r.grid;

    // A smaller layout leaves no key of the larger one behind.
    ASSERT_TRUE(Run("SELECT {[Product].[All]} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube)));
    EXPECT_EQ(Layout.GetCellKey(0, 0), "");
    EXPECT_EQ(Layout.GetCellKey(1, 2), "d");
    EXPECT_EQ(Layout.GetCellKey(2, 0), "-1");
    EXPECT_EQ(Layout.GetCellKey(1, 3), "-1");
}

TEST_F(GridLayoutTest, PositionsWithoutDimensionsOnOneAxis) {
    ASSERT_TRUE(Run("SELECT {} ON COLUMNS, {[Product].[All].[Bikes], [Product].[All].[Clothing], "
                    "[Product].[All].[Components]} ON ROWS" +
                    std::string(kCube)));
    EXPECT_EQ(Layout.GetCellKey(0, 4), "[Product].[All].[Components]");
    EXPECT_EQ(Layout.GridRowToPosition(2), 0);
    EXPECT_EQ(Layout.GridRowToPosition(4), 2);

    ASSERT_TRUE(Run("SELECT {[Measures].[Revenue], [Measures].[Units]} ON COLUMNS, {} ON ROWS" + std::string(kCube)));
    // Without row headers the data columns start at column 1.
    EXPECT_EQ(Grid.Cells(2, 1), "Units");
    EXPECT_EQ(Layout.GridColumnToPosition(1), 0);
    EXPECT_EQ(Layout.GridColumnToPosition(2), 1);
}

TEST_F(GridLayoutTest, StylesFromTheTheme) {
    ASSERT_TRUE(Run("SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
                    "{[Product].[All], [Product].[All].[Bikes], [Product].[All].[Bikes].[Road Bikes]} ON ROWS" +
                    std::string(kCube)));
    EXPECT_EQ(Grid.SelectionColor(), Theme.SelectionColor);
    EXPECT_EQ(Grid.GridLineColor(), Theme.BorderColor);

    struct Style {
        cb::gfx::TColor brush;
        std::string font;
        cb::gfx::TColor fontColor;
        int size;
        bool bold;
    };
    auto depth = [&](int d) {
        const TDepthStyle& s = Theme.Depths[size_t(d)];
        return Style{s.Color, s.FontName, s.FontColor, s.FontSize, s.FontBold};
    };
    const Style dim{Theme.DimensionColor, Theme.DimensionFontName, Theme.DimensionFontColor, Theme.DimensionFontSize,
                    Theme.DimensionFontBold};
    const Style data{Theme.DataColor, Theme.DataFontName, Theme.DataFontColor, Theme.DataFontSize, Theme.DataFontBold};
    const struct {
        int col, row;
        Style style;
        cb::grid::TAlignment align;
        bool marker;
    } cells[] = {
        {1, 0, dim, cb::grid::taLeftJustify, true},  // column dimension name
        {2, 0, dim, cb::grid::taLeftJustify, true},
        {0, 2, dim, cb::grid::taLeftJustify, true},        // row dimension name
        {0, 1, dim, cb::grid::taLeftJustify, false},       // corner
        {1, 1, depth(1), cb::grid::taLeftJustify, false},  // year, depth 1
        {2, 1, depth(1), cb::grid::taLeftJustify, false},
        {1, 2, depth(0), cb::grid::taLeftJustify, false},  // measure, depth 0
        {0, 3, depth(0), cb::grid::taLeftJustify, false},  // All
        {0, 4, depth(1), cb::grid::taLeftJustify, false},  // Bikes
        {0, 5, depth(2), cb::grid::taLeftJustify, false},  // Road Bikes
        {1, 3, data, cb::grid::taRightJustify, false},
        {3, 5, data, cb::grid::taRightJustify, false},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row));
        EXPECT_EQ(Grid.GetCellBrushColor(c.col, c.row), c.style.brush);
        EXPECT_EQ(Grid.GetCellFontName(c.col, c.row), c.style.font);
        EXPECT_EQ(Grid.GetCellFontColor(c.col, c.row), c.style.fontColor);
        EXPECT_EQ(Grid.GetCellFontSize(c.col, c.row), c.style.size);
        EXPECT_EQ(Grid.GetCellFontStyle(c.col, c.row), c.style.bold ? cb::gfx::fsBold : 0u);
        EXPECT_EQ(Grid.GetCellAlignment(c.col, c.row), c.align);
        EXPECT_EQ(Grid.GetCellGraphicType(c.col, c.row) == cb::grid::ctImageList, c.marker);
        if (c.marker) {
            const cb::grid::TCellGraphic* g = Grid.GetCellGraphic(c.col, c.row);
            EXPECT_EQ(g->CellIndex, kHeaderMarkerImage);
            EXPECT_EQ(g->CellHAlign, cb::grid::haRight);
            EXPECT_EQ(g->CellVAlign, cb::grid::vaCenter);
        }
    }
    // Columns fit their widest text, markers included.
    for (int col = 0; col < Grid.ColCount(); ++col) {
        cb::gfx::TCanvas measure;
        for (int row = 0; row < Grid.RowCount(); ++row) {
            measure.Font().SetName(Grid.GetCellFontName(col, row));
            measure.Font().SetSize(Grid.GetCellFontSize(col, row));
            measure.Font().SetStyle(Grid.GetCellFontStyle(col, row));
            EXPECT_GT(Grid.ColWidths(col), measure.TextWidth(Grid.Cells(col, row))) << col << "," << row;
        }
    }
}

TEST_F(GridLayoutTest, EmptyCellsStayBlank) {
    cbtest::TempDir dir;
    const std::string file = dir.file("tiny.cub");
    cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), file);
    // Japan and Gloves have no facts.
    ASSERT_TRUE(Run("SELECT {[Measures].[Sales], [Measures].[Orders]} ON COLUMNS, "
                    "CROSSJOIN({[Geography].[All].[USA], [Geography].[All].[Japan]}, {[Product].[All].[Gloves], "
                    "[Product].[All].[Bikes]}) ON ROWS FROM [Tiny]",
                    file));
    EXPECT_EQ((Texts(true)), (Table{{"", "", "Measures", ""},
                                    {"Geography", "Product", "Sales", "Orders"},
                                    {"  USA", "  Gloves", "", ""},
                                    {"", "  Bikes", "750.00", "3"},
                                    {"  Japan", "  Gloves", "", ""},
                                    {"", "  Bikes", "", ""}}));
    EXPECT_EQ(Layout.GetCellKey(2, 2), "d");
}

TEST_F(GridLayoutTest, ErrorWhileWritingIsReportedAndTheGridComesBack) {
    Grid.show();
    Grid.HookCol = 1;
    Grid.HookRow = 0;
    Grid.HookText = "Measures";
    Grid.OnWritten = [] { throw cb::rtl::Exception("cell store refused"); };
    EXPECT_FALSE(
        Run("SELECT {[Product].[All].CHILDREN} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube)));
    ASSERT_EQ(App.UI.Errors.size(), 1u);
    EXPECT_NE(App.UI.Errors[0].find("cell store refused"), std::string::npos);
    EXPECT_NE(App.LogText().find("cell store refused"), std::string::npos);
    // What was written before stays; the grid is shown, the window gone.
    EXPECT_EQ(Layout.GetCellKey(0, 1), "[Product]");
    EXPECT_TRUE(Grid.isVisible());
    EXPECT_EQ(Grid.RepaintSuspendCount(), 0);
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(dynamic_cast<TfrmMDXProgressScreen*>(w), nullptr);

    // The next layout runs normally.
    EXPECT_TRUE(Run("SELECT {[Product].[All]} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube)));
    EXPECT_EQ(App.UI.Errors.size(), 1u);
}

TEST_F(GridLayoutTest, ClosedCellsetReachesTheCaller) {
    Grid.show();
    auto closed = std::make_shared<cb::olap::Cellset>();
    Layout.SetCellset(closed);
    EXPECT_THROW(Layout.Render(), cb::olap::EOlapError);
    EXPECT_TRUE(Grid.isVisible());
    EXPECT_FALSE(Layout.IsRendering());
    EXPECT_TRUE(App.UI.Errors.empty());
    EXPECT_TRUE(Run("SELECT {[Product].[All]} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube)));
}

TEST_F(GridLayoutTest, ProgressStepsAndAbortsWhenTheWatcherRemovesTheGridOrCellset) {
    const std::string mdx =
        "SELECT {[Product].[All].CHILDREN} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube);
    enum TCut {
        KeepAll,
        CutGrid,
        CutCellset
    };
    for (TCut cut : {KeepAll, CutGrid, CutCellset}) {
        SCOPED_TRACE(cut);
        auto grid = std::make_unique<TExtStringGrid>();
        TExtStringGrid* const filled = grid.get();
        TMDXDisplayManager layout(App.Context());
        layout.SetGrid(filled);
        layout.ProgressInterval = std::chrono::milliseconds(0);  // every step is told
        auto cellset = std::make_shared<cb::olap::Cellset>();
        cellset->SetActiveConnection(cbtest::LocalCubeConnectionString(cbtest::SampleCubePath()));
        cellset->Open(mdx);
        layout.SetCellset(cellset);
        std::vector<TLayoutStep> steps;
        std::vector<TExtStringGrid*> grids;
        layout.OnProgress = [&](TLayoutStep step, TExtStringGrid* g) {
            steps.push_back(step);
            grids.push_back(g);
            if (step != TLayoutStep::Progress) return;
            if (cut == CutGrid) grid.reset();
            if (cut == CutCellset && cellset->State() == cb::olap::Cellset::adStateOpen) cellset->Close();
        };
        EXPECT_EQ(layout.Render(), cut == KeepAll);
        ASSERT_GE(steps.size(), 3u);
        EXPECT_EQ(steps.front(), TLayoutStep::Start);
        EXPECT_EQ(steps.back(), TLayoutStep::Finish);
        for (size_t k = 1; k + 1 < steps.size(); ++k) EXPECT_EQ(steps[k], TLayoutStep::Progress);
        // An abort stops at the first step; nothing is reported.
        if (cut != KeepAll) {
            EXPECT_EQ(steps.size(), 3u);
        }
        EXPECT_EQ(grids.front(), filled);
        EXPECT_EQ(grids.back(), cut == CutGrid ? nullptr : filled);
        EXPECT_FALSE(layout.IsRendering());
        EXPECT_TRUE(App.UI.Errors.empty());
    }
}

TEST_F(GridLayoutTest, NestedLayoutIsRefused) {
    bool nested = true;
    Grid.HookCol = 1;
    Grid.HookRow = 0;
    Grid.HookText = "Measures";
    Grid.OnWritten = [&] { nested = Layout.Render(); };
    EXPECT_TRUE(
        Run("SELECT {[Product].[All].CHILDREN} ON ROWS, {[Measures].[Revenue]} ON COLUMNS" + std::string(kCube)));
    EXPECT_FALSE(nested);
    EXPECT_EQ(Grid.Cells(0, 2), "  Bikes");
    EXPECT_EQ(Layout.GetCellKey(1, 2), "d");
}

TEST_F(GridLayoutTest, RenderedColoursAndMarker) {
    Grid.show();
    ASSERT_TRUE(Run("SELECT CROSSJOIN({[Time].[All].CHILDREN}, {[Measures].[Revenue]}) ON COLUMNS, "
                    "{[Product].[All].[Bikes], [Product].[All].[Clothing]} ON ROWS" +
                    std::string(kCube)));
    cbtest::TempDir dir;
    const QString png = QString::fromStdString(dir.file("grid.png"));
    ASSERT_TRUE(Grid.grab().toImage().save(png, "PNG"));
    QImage image;
    ASSERT_TRUE(image.load(png));

    // Probes in each cell's lower left corner, clear of text and lines.
    auto probe = [&](int col, int row) {
        const cb::gfx::TRect r = Grid.CellRect(col, row);
        return image.pixel(r.Left + 2, r.Bottom - 3) & 0xFFFFFF;
    };
    const struct {
        int col, row;
        cb::gfx::TColor colour;
    } probes[] = {
        {0, 0, Theme.DimensionColor},  {1, 0, Theme.DimensionColor},  {0, 2, Theme.DimensionColor},
        {2, 1, Theme.Depths[1].Color}, {1, 2, Theme.Depths[0].Color}, {0, 3, Theme.Depths[1].Color},
        {1, 3, Theme.DataColor},       {3, 4, Theme.DataColor},
    };
    for (const auto& p : probes) EXPECT_EQ(probe(p.col, p.row), Rgb(p.colour) & 0xFFFFFF) << p.col << "," << p.row;

    // The marker: image 2 of the grid view's list, a grey arrow at the
    // right edge of a dimension-name cell, none in a caption cell.
    auto arrow = [&](int col, int row) {
        const cb::gfx::TRect r = Grid.CellRect(col, row);
        const int size = GridViewImages().Width();
        const int left = r.Right - size - 1;
        const int top = r.Top + (r.Bottom - r.Top - size) / 2;
        return image.pixel(left + 8, top + 7) & 0xFFFFFF;
    };
    EXPECT_EQ(arrow(1, 0), Rgb(cb::gfx::clGray) & 0xFFFFFF);
    EXPECT_EQ(arrow(0, 2), Rgb(cb::gfx::clGray) & 0xFFFFFF);
    EXPECT_NE(arrow(1, 1), Rgb(cb::gfx::clGray) & 0xFFFFFF);
}

}  // namespace
