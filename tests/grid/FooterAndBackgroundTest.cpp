#include "grid/ExtStringGrid.h"
#include "tests/grid/GridTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace cb::grid;
using namespace cb::grid::test;
using cb::gfx::TColor;

namespace {

int DarkPixels(const QImage& img, const TRect& r) {
    int n = 0;
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, img.width()); ++x)
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, img.height()); ++y) n += IsDark(Px(img, x, y));
    return n;
}

QImage Solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

struct FooterGrid : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.resize(400, 200);
        grid.SetColCount(4);
        grid.SetRowCount(6);
        grid.SetColor(cb::gfx::clWhite);
        grid.Font().SetColor(cb::gfx::clBlack);
        grid.FixedFont().SetColor(cb::gfx::clBlack);
        grid.FloatingFooter.SetColor(0x00FFFF);
        for (int r = 1; r < 6; ++r) grid.SetCellText(2, r, "row" + std::to_string(r));
        grid.SetCellText(1, 5, "total");
    }
    TRect PanelCol(int col) const {
        int x = 0;
        for (int c = 0; c < col; ++c) x += grid.ColWidths(c);
        return {x, 0, x + grid.ColWidths(col) - 1, grid.FooterPanel()->height()};
    }
};

TEST_F(FooterGrid, VisibilitySetsFooterCountAndPanelHeight) {
    const int fullArea = grid.CellArea().Height();
    grid.FloatingFooter.SetVisible(true);
    EXPECT_EQ(grid.FixedFooters(), 1);
    EXPECT_TRUE(grid.FooterRowFixed());
    EXPECT_EQ(grid.FooterPanel()->height(), grid.DefaultRowHeight() - 1);
    EXPECT_EQ(grid.CellArea().Height(), fullArea - (grid.DefaultRowHeight() - 1));
    EXPECT_EQ(grid.FooterPanel()->y(), grid.CellArea().Bottom);

    grid.SetDefaultRowHeight(30);  // the panel follows the row height
    EXPECT_EQ(grid.FooterPanel()->height(), 29);

    grid.FloatingFooter.SetFooterStyle(fsColumnPreview);
    EXPECT_FALSE(grid.FooterRowFixed());
    EXPECT_EQ(grid.FixedFooters(), 1);

    grid.FloatingFooter.SetVisible(false);
    EXPECT_EQ(grid.FixedFooters(), 0);
    EXPECT_EQ(grid.CellArea().Height(), fullArea);
    EXPECT_TRUE(grid.FooterPanel()->isHidden());
}

TEST_F(FooterGrid, FixedLastRowShowsTheLastRowInThePanel) {
    grid.SetCellBrushColor(3, 5, 0xFF0000);
    grid.FloatingFooter.SetVisible(true);
    QImage img = grid.FooterPanel()->RenderToImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_GT(DarkPixels(img, PanelCol(1)), 0);  // "total"
    EXPECT_GT(DarkPixels(img, PanelCol(2)), 0);  // "row5"
    TRect own = PanelCol(3);
    EXPECT_EQ(Px(img, own.Left + 20, own.Bottom / 2), 0xFF0000u);  // the cell's own colour
    TRect fixed = PanelCol(0);
    EXPECT_EQ(Px(img, fixed.Left + 20, fixed.Bottom / 2), 0x00FFFFu);  // footer colour
    const int w = grid.FooterPanel()->FooterWidth();
    ASSERT_LT(w + 5, img.width());
    EXPECT_EQ(Px(img, w + 5, img.height() / 2), cb::gfx::clWhite);  // the grid colour beyond the columns

    // the grid itself leaves the last row blank
    QImage cells = grid.RenderToImage();
    TRect last = grid.GetPlainCellRect(2, 5);
    if (!last.IsEmpty()) {
        EXPECT_EQ(DarkPixels(cells, last), 0);
    }

    // fixed vertical lines down the columns' right edges
    grid.SetLook(glStandard);
    img = grid.FooterPanel()->RenderToImage();
    EXPECT_EQ(Px(img, fixed.Right, fixed.Bottom / 2), cb::gfx::clGray);  // x = right - 1 of the column
}

TEST_F(FooterGrid, ColumnPreviewFollowsTheCurrentRow) {
    grid.FloatingFooter.SetColumn(2);
    grid.FloatingFooter.SetFooterStyle(fsColumnPreview);
    grid.FloatingFooter.SetVisible(true);
    grid.SetSelectionTextColor(0xFFFFFF);
    grid.FocusCell(1, 1, true);
    QImage a = grid.FooterPanel()->RenderToImage();
    const int w = grid.FooterPanel()->FooterWidth();
    const int h = a.height();
    EXPECT_EQ(Px(a, 0, h / 2), cb::gfx::clWhite);  // frame: white left, grey right
    EXPECT_EQ(Px(a, w - 1, h / 2), cb::gfx::clGray);
    TRect inside{2, 1, w - 2, h - 1};
    int rowOne = DarkPixels(a, inside);
    EXPECT_GT(rowOne, 0);  // drawn in black although the selection text is white
    grid.SetCellText(2, 3, "");
    grid.FocusCell(1, 3, true);
    EXPECT_EQ(DarkPixels(grid.FooterPanel()->RenderToImage(), inside), 0);
}

TEST_F(FooterGrid, CustomPreviewExpandsTheTemplate) {
    grid.FloatingFooter.SetFooterStyle(fsCustomPreview);
    grid.FloatingFooter.SetVisible(true);
    grid.FocusCell(1, 2, true);
    const int w = grid.FooterPanel()->FooterWidth();
    TRect inside{2, 1, w - 2, grid.FooterPanel()->height() - 1};
    grid.FloatingFooter.SetCustomTemplate("<#7>");
    EXPECT_EQ(DarkPixels(grid.FooterPanel()->RenderToImage(), inside), 0);  // empty cell outside the grid
    grid.FloatingFooter.SetCustomTemplate("Value <#2>");
    EXPECT_EQ(grid.FooterPanel()->ExpandTemplate("Value <#2>"), "Value row2");
    EXPECT_GT(DarkPixels(grid.FooterPanel()->RenderToImage(), inside), 0);
}

struct FilterGrid : TExtStringGrid {
    bool HasColumnFilterButton(int col) override { return col == 2; }
};

TEST(HeaderFilter, ButtonDrawnAtTheRightOfTheHeader) {
    FilterGrid grid;
    grid.resize(300, 150);
    grid.SetColCount(4);
    grid.SetRowCount(4);
    grid.SetSelection({3, 3, 3, 3});
    QImage img = grid.RenderToImage();
    for (int col : {1, 2}) {
        TRect c = grid.GetPlainCellRect(col, 0);
        TRect funnel{c.Right - 16 + 3, c.Top + 3, c.Right - 16 + 13, c.Top + 13};
        if (col == 2)
            EXPECT_GT(DarkPixels(img, funnel), 20) << col;
        else
            EXPECT_EQ(DarkPixels(img, funnel), 0) << col;
    }
    TRect normal = grid.GetPlainCellRect(2, 1);
    EXPECT_EQ(DarkPixels(img, {normal.Right - 13, normal.Top + 3, normal.Right - 3, normal.Top + 13}), 0);
}

struct BackGroundGrid : ::testing::Test {
    TExtStringGrid grid;
    void SetUp() override {
        grid.resize(400, 200);
        grid.SetColCount(5);
        grid.SetRowCount(5);
        grid.SetSelection({4, 4, 4, 4});
    }
    void SetPicture(const QImage& img) {
        cb::gfx::TBitmap b;
        b.SetImage(img);
        grid.BackGround.SetBitmap(b);
    }
    TColor At(const QImage& img, int col, int row, int dx, int dy) const {
        TRect r = grid.GetPlainCellRect(col, row);
        return Px(img, r.Left + dx, r.Top + dy);
    }
};

TEST_F(BackGroundGrid, FixedPictureCoversTheCellsItMatches) {
    struct Case {
        TBackGroundCells cells;
        bool onNormal, onFixed;
    } cases[] = {{bcNormal, true, false}, {bcFixed, false, true}, {bcAll, true, true}};
    SetPicture(Solid(400, 200, QColor(255, 0, 0)));
    grid.BackGround.SetDisplay(bdFixed);
    for (const Case& k : cases) {
        grid.BackGround.SetCells(k.cells);
        QImage img = grid.RenderToImage();
        EXPECT_EQ(At(img, 2, 2, 10, 8) == 0x0000FFu, k.onNormal) << k.cells;
        EXPECT_EQ(At(img, 0, 2, 10, 8) == 0x0000FFu, k.onFixed) << k.cells;
    }
    // placed at Left, Top with its own size
    SetPicture(Solid(10, 10, QColor(255, 0, 0)));
    grid.BackGround.SetCells(bcNormal);
    TRect c = grid.GetPlainCellRect(2, 2);
    grid.BackGround.SetLeft(c.Left + 20);
    grid.BackGround.SetTop(c.Top + 5);
    QImage img = grid.RenderToImage();
    EXPECT_EQ(At(img, 2, 2, 25, 10), 0x0000FFu);
    EXPECT_NE(At(img, 2, 2, 35, 10), 0x0000FFu);
    EXPECT_NE(At(img, 2, 2, 15, 10), 0x0000FFu);
    // a selected cell shows its selection instead
    grid.SetSelectionColor(0x00FF00);
    grid.SetSelection({2, 2, 3, 2});
    img = grid.RenderToImage();
    EXPECT_EQ(At(img, 2, 2, 25, 10), 0x00FF00u);
}

TEST_F(BackGroundGrid, TilesFollowTheColumnsNotTheScreen) {
    // 64 pixels wide: red left half, blue right half
    QImage pic = Solid(64, 300, QColor(255, 0, 0));
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 32; x < 64; ++x) pic.setPixel(x, y, qRgb(0, 0, 255));
    SetPicture(pic);
    grid.BackGround.SetDisplay(bdTile);
    QImage img = grid.RenderToImage();
    for (int col : {1, 2, 3}) {
        EXPECT_EQ(At(img, col, 2, 10, 8), 0x0000FFu) << col;
        EXPECT_EQ(At(img, col, 2, 40, 8), 0xFF0000u) << col;
    }
    // a wider first column shifts the phase of the next by 70 mod 64 = 6
    grid.SetColWidths(1, 70);
    img = grid.RenderToImage();
    EXPECT_EQ(At(img, 2, 2, 24, 8), 0x0000FFu);
    EXPECT_EQ(At(img, 2, 2, 28, 8), 0xFF0000u);
    // counted from column 0 with bcAll
    grid.BackGround.SetCells(bcAll);
    img = grid.RenderToImage();
    EXPECT_EQ(At(img, 1, 2, 10, 8), 0x0000FFu);  // 64 mod 64 = 0
    EXPECT_EQ(At(img, 2, 2, 24, 8), 0x0000FFu);  // 134 mod 64 = 6 as before
    EXPECT_EQ(At(img, 2, 2, 28, 8), 0xFF0000u);
}

TEST(LookFrame, DrawnForTheSoftAndGradientLooksOnly) {
    struct Case {
        TGridLook look;
        bool flat;
        TBorderStyle border;
        bool framed;
    } cases[] = {{glSoft, false, bsSingle, true},      {glExt, false, bsSingle, true},
                 {glStandard, false, bsSingle, false}, {glClassic, false, bsSingle, false},
                 {glSoft, true, bsSingle, false},      {glSoft, false, bsNone, false}};
    for (const Case& k : cases) {
        QWidget form;
        QPalette pal = form.palette();
        pal.setColor(form.backgroundRole(), QColor(0, 255, 0));
        form.setPalette(pal);
        TExtStringGrid grid(&form);
        grid.resize(200, 120);
        grid.SetColCount(2);
        grid.SetRowCount(2);
        grid.SetLook(k.look);
        grid.SetFlat(k.flat);
        grid.SetBorderStyle(k.border);
        QImage img = grid.RenderToImage();
        const int y = img.height() / 2;
        EXPECT_EQ(Px(img, 1, y) == cb::gfx::clGray, k.framed) << k.look << k.flat << k.border;
        EXPECT_EQ(Px(img, 0, y) == 0x00FF00u, k.framed) << k.look << k.flat << k.border;
        EXPECT_EQ(Px(img, 100, 1) == cb::gfx::clGray, k.framed) << k.look << k.flat << k.border;
    }
}

}  // namespace

namespace {

TEST(FixedRightColumns, BlackLinesInTheFlatLookOnly) {
    for (bool flat : {false, true}) {
        TExtStringGrid grid;
        grid.resize(400, 150);
        grid.SetColCount(4);
        grid.SetRowCount(4);
        grid.SetFixedRightCols(1);
        grid.SetFlat(flat);
        grid.SetLook(glStandard);
        grid.SetSelection({1, 1, 1, 1});
        QImage img = grid.RenderToImage();
        TRect c = grid.GetPlainCellRect(3, 2);
        int blackOnLeft = 0;
        for (int x = c.Left - 2; x <= c.Left + 1; ++x)
            blackOnLeft += Px(img, x, (c.Top + c.Bottom) / 2) == cb::gfx::clBlack;
        EXPECT_EQ(blackOnLeft > 0, flat) << flat;
    }
}

}  // namespace
