#include "grid/ExtStringGrid.h"
#include "tests/grid/GridTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace cb::grid;
using namespace cb::grid::test;
using cb::gfx::TColor;

namespace {

// Leftmost and rightmost columns holding a dark pixel inside a rectangle;
// -1 when none.
std::pair<int, int> DarkSpan(const QImage& img, const TRect& r) {
    int lo = -1, hi = -1;
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            if (IsDark(Px(img, x, y))) {
                if (lo < 0) lo = x;
                hi = x;
                break;
            }
    return {lo, hi};
}

struct PaintGrid : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.resize(420, 260);
        grid.SetColCount(5);
        grid.SetRowCount(8);
        grid.SetColor(cb::gfx::clWhite);
        grid.Font().SetColor(cb::gfx::clBlack);
        grid.SetSelection({4, 7, 4, 7});  // out of the probed cells
    }
    TRect Cell(int c, int r) const { return grid.GetPlainCellRect(c, r); }
    static int MidX(const TRect& r) { return (r.Left + r.Right) / 2; }
    static int MidY(const TRect& r) { return (r.Top + r.Bottom) / 2; }
};

TEST_F(PaintGrid, CellColoursAndGridLines) {
    grid.SetCellBrushColor(2, 2, 0x0000FF);
    grid.SetCellBrushColor(0, 3, 0x00FF00);  // a fixed cell with its own colour keeps it
    QImage img = grid.RenderToImage();
    TRect c = Cell(2, 2);
    EXPECT_EQ(Px(img, MidX(c), MidY(c)), 0x0000FFu);
    EXPECT_EQ(Px(img, MidX(Cell(1, 2)), MidY(Cell(1, 2))), cb::gfx::clWhite);
    TRect f = Cell(0, 3);
    EXPECT_EQ(Px(img, MidX(f), MidY(f)), 0x00FF00u);
    TRect n = Cell(1, 4);
    EXPECT_EQ(Px(img, MidX(n), n.Bottom - 1), cb::gfx::clSilver);  // horizontal line
    EXPECT_EQ(Px(img, n.Right - 1, MidY(n)), cb::gfx::clSilver);   // vertical line

    grid.SetGridLineColor(0xFF0000);
    img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(n), n.Bottom - 1), 0xFF0000u);
}

TEST_F(PaintGrid, SelectionColourAndBands) {
    grid.SetSelection({2, 3, 3, 3});
    grid.SetSelectionColor(0x00FF0000);
    grid.Bands.SetPrimaryColor(0x00FFFF);
    grid.Bands.SetSecondaryColor(0xFF00FF);
    grid.Bands.SetActive(true);
    QImage img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(Cell(2, 3)), MidY(Cell(2, 3))), 0xFF0000u);
    EXPECT_EQ(Px(img, MidX(Cell(3, 3)), MidY(Cell(3, 3))), 0xFF0000u);
    EXPECT_EQ(Px(img, MidX(Cell(1, 1)), MidY(Cell(1, 1))), 0x00FFFFu);  // first normal row: primary
    EXPECT_EQ(Px(img, MidX(Cell(1, 2)), MidY(Cell(1, 2))), 0xFF00FFu);
    EXPECT_EQ(Px(img, MidX(Cell(1, 3)), MidY(Cell(1, 3))), 0x00FFFFu);

    grid.SetShowSelection(false);
    img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(Cell(2, 3)), MidY(Cell(2, 3))), 0x00FFFFu);
}

TEST_F(PaintGrid, DisjunctCellsAreDrawnSelected) {
    grid.MouseActions.DisjunctCellSelect = true;
    grid.SetSelectionColor(0x00FF0000);
    grid.SetCellSelected(3, 5, true);
    QImage img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(Cell(3, 5)), MidY(Cell(3, 5))), 0xFF0000u);
    EXPECT_EQ(Px(img, MidX(Cell(2, 5)), MidY(Cell(2, 5))), cb::gfx::clWhite);
}

TEST_F(PaintGrid, AlignmentPlacesTheText) {
    grid.resize(600, 260);
    grid.SetColWidths(1, 150);
    grid.SetColWidths(2, 150);
    grid.SetCellText(1, 2, "WW");
    grid.SetCellText(2, 2, "WW");
    grid.SetCellAlignment(2, 2, taRightJustify);
    grid.SetCellText(3, 2, "WW");
    grid.SetCellAlignment(3, 2, taCenter);
    QImage img = grid.RenderToImage();
    TRect l = Cell(1, 2), r = Cell(2, 2), c = Cell(3, 2);
    auto left = DarkSpan(img, {l.Left, l.Top, l.Right - 1, l.Bottom - 1});
    auto right = DarkSpan(img, {r.Left, r.Top, r.Right - 1, r.Bottom - 1});
    auto centre = DarkSpan(img, {c.Left, c.Top, c.Right - 1, c.Bottom - 1});
    ASSERT_GE(left.first, 0);
    ASSERT_GE(right.first, 0);
    ASSERT_GE(centre.first, 0);
    EXPECT_LE(left.first - l.Left, 4);
    EXPECT_LE(r.Right - right.second, 6);
    EXPECT_GT(right.first - r.Left, 100);
    int mid = (centre.first + centre.second) / 2;
    EXPECT_NEAR(mid, MidX(c), 3);
}

TEST_F(PaintGrid, FontColourOfACell) {
    grid.SetCellText(1, 1, "MMMM");
    grid.SetCellFontColor(1, 1, 0x0000FF);
    grid.SetCellFontStyle(1, 1, cb::gfx::fsBold);
    grid.SetSelection({4, 7, 4, 7});
    QImage img = grid.RenderToImage();
    TRect r = Cell(1, 1);
    bool red = false;
    for (int x = r.Left; x < r.Right - 1 && !red; ++x)
        for (int y = r.Top; y < r.Bottom - 1; ++y)
            if (Px(img, x, y) == 0x0000FFu) {
                red = true;
                break;
            }
    EXPECT_TRUE(red);
}

TEST_F(PaintGrid, MergedRangeIsDrawnOnceWithoutInnerLines) {
    grid.SetCellText(1, 1, "M");
    grid.SetCellBrushColor(1, 1, 0x00FF00);
    grid.MergeCellRange(1, 1, 3, 2);
    std::vector<std::pair<int, int>> drawn;
    grid.OnDrawCell = [&](QObject*, int col, int row, TRect, TGridDrawState) { drawn.push_back({col, row}); };
    QImage img = grid.RenderToImage();
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), std::make_pair(1, 1)), 1);
    for (int c = 2; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) EXPECT_EQ(std::count(drawn.begin(), drawn.end(), std::make_pair(c, r)), 0);
    TRect first = Cell(1, 1);
    // where the line between columns 1 and 2 and rows 1 and 2 would be
    EXPECT_EQ(Px(img, first.Right - 1, first.Bottom - 1), 0x00FF00u);
    TRect all = grid.GetMergedCellRect(1, 1);
    EXPECT_EQ(Px(img, all.Right - 1, MidY(all)), cb::gfx::clSilver);
    // text centred over the whole range by the base grid? no: left-aligned at the range's left
    auto span = DarkSpan(img, {all.Left, all.Top, all.Right - 1, all.Bottom - 1});
    EXPECT_LE(span.first - all.Left, 5);

    // scrolled so the base row is hidden: the first visible covered cell draws it
    grid.SetRowCount(60);
    grid.SetTopRow(2);
    drawn.clear();
    img = grid.RenderToImage();
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), std::make_pair(1, 1)), 1);
    TRect visible = Cell(2, 2);
    EXPECT_EQ(Px(img, MidX(visible), MidY(visible)), 0x00FF00u);
}

TEST_F(PaintGrid, RepaintSuspensionAndFixedLooks) {
    grid.BeginUpdate();
    EXPECT_EQ(grid.RepaintSuspendCount(), 1);
    grid.EndUpdate();
    EXPECT_EQ(grid.RepaintSuspendCount(), 0);

    grid.SetFixedColor(0xC0C0C0);
    grid.SetLook(glExt);
    QImage img = grid.RenderToImage();
    TRect h = Cell(2, 0);
    // gradient: lighter at the bottom than at the top
    TColor top = Px(img, MidX(h), h.Top + 3), bottom = Px(img, MidX(h), h.Bottom - 5);
    EXPECT_LT(cb::gfx::GetRValue(top), cb::gfx::GetRValue(bottom));
    grid.SetFlat(true);
    img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(h), h.Top + 3), 0xC0C0C0u);
}

TEST_F(PaintGrid, ActiveCellHeaders) {
    grid.SetFixedColor(0xC0C0C0);
    grid.SetActiveCellShow(true);
    grid.SetActiveCellColor(0x123456);
    grid.SetCol(2);
    grid.SetRow(3);
    grid.SetCellBrushColor(0, 3, 0x00FF00);  // own colour wins over the active colour
    QImage img = grid.RenderToImage();
    EXPECT_EQ(Px(img, MidX(Cell(2, 0)), MidY(Cell(2, 0))), 0x123456u);
    EXPECT_EQ(Px(img, MidX(Cell(3, 0)), MidY(Cell(3, 0))), 0xC0C0C0u);
    EXPECT_EQ(Px(img, MidX(Cell(0, 3)), MidY(Cell(0, 3))), 0x00FF00u);
}

// Multi-line cells of one grid do not change how another grid draws.
TEST(PaintWordWrap, SettingIsPerGrid) {
    auto make = [](bool multi) {
        auto g = std::make_unique<TExtStringGrid>();
        g->resize(300, 200);
        g->SetColor(cb::gfx::clWhite);
        g->Font().SetColor(cb::gfx::clBlack);
        g->SetRowHeights(1, 60);
        g->SetColWidths(1, 120);
        g->SetMultilinecells(multi);
        g->SetCellText(1, 1, "Top\r\nBottom");
        g->SetSelection({4, 4, 4, 4});
        return g;
    };
    auto a = make(true);
    auto b = make(false);
    QImage ia = a->RenderToImage();
    QImage ib = b->RenderToImage();
    TRect r = a->GetPlainCellRect(1, 1);
    TRect lower{r.Left, r.Top + 22, r.Right - 1, r.Bottom - 1};
    EXPECT_GE(DarkSpan(ia, lower).first, 0);
    EXPECT_EQ(DarkSpan(ib, lower).first, -1);
    EXPECT_EQ(b->WordWrapOffFlags(), unsigned(cb::gfx::DT_SINGLELINE));
    EXPECT_EQ(a->WordWrapOffFlags(), 0u);
}

}  // namespace
