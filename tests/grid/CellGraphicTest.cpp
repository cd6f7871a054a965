// The graphics cells hold: creating and removing them, check box and radio
// state, sizes, and pixel probes of each kind as it is drawn.
#include "grid/ExtStringGrid.h"
#include "grid/paint/GridImageList.h"
#include "tests/grid/GridTestSupport.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace cb::grid;
using namespace cb::grid::test;
using cb::gfx::TColor;

namespace {

QImage Filled(QColor colour) {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(colour);
    return img;
}

TEST(CellGraphic, FindingCreatingAndRemoving) {
    TExtStringGrid grid;
    EXPECT_EQ(grid.GetCellGraphicType(1, 1), ctEmpty);
    EXPECT_FALSE(grid.CellHasProperties(1, 1));
    EXPECT_FALSE(grid.RemoveCellGraphic(1, 1));

    // No image list: nothing happens.
    grid.SetCellImageIndex(1, 1, 2, haRight, vaCenter);
    EXPECT_FALSE(grid.CellHasProperties(1, 1));
    TGridImageList images(16, 16);
    grid.GridImages = &images;
    grid.SetCellImageIndex(1, 1, 2, haRight, vaCenter);
    EXPECT_EQ(grid.GetCellGraphicType(1, 1), ctImageList);
    EXPECT_EQ(grid.GetCellGraphic(1, 1)->CellIndex, 2);
    EXPECT_EQ(grid.Cells(1, 1), "");
    EXPECT_EQ(grid.GetGraphicSortKey(1, 1), 2);
    EXPECT_TRUE(grid.RemoveCellGraphic(1, 1));
    EXPECT_EQ(grid.GetCellGraphicType(1, 1), ctEmpty);

    // A shared graphic (a virtual check box) is let go, never freed.
    TCellGraphic shared(true);
    shared.CellType = ctVirtCheckBox;
    grid.SetCellGraphicObject(1, 2, &shared);
    grid.SetCellGraphicObject(2, 2, &shared);
    EXPECT_TRUE(grid.IsCheckBoxCell(2, 2));
    EXPECT_TRUE(grid.RemoveCellGraphic(1, 2));
    EXPECT_EQ(grid.GetCellGraphic(1, 2), nullptr);
    grid.ClearAllCells();
    EXPECT_EQ(shared.CellType, ctVirtCheckBox);  // still alive
}

TEST(CellGraphic, CheckBoxes) {
    TExtStringGrid grid;
    grid.CreateCellGraphic(1, 1)->CellType = ctDataCheckBox;
    bool checked = true;
    EXPECT_TRUE(grid.GetCheckBoxState(1, 1, checked));
    EXPECT_FALSE(checked);  // empty text
    const struct {
        const char* before;
        const char* after;
    } toggles[] = {{"Y", "N"}, {"N", "Y"}, {"maybe", "Y"}};
    for (const auto& t : toggles) {
        grid.SetCellText(1, 1, t.before);
        EXPECT_TRUE(grid.ToggleCheckBox(1, 1, false));
        EXPECT_EQ(grid.Cells(1, 1), t.after);
    }

    TCellGraphic* box = grid.CreateCellGraphic(2, 1);
    box->CellType = ctCheckBox;
    EXPECT_TRUE(grid.ToggleCheckBox(2, 1, true));
    EXPECT_TRUE(box->CellBoolean);
    grid.OnCanEditCell = [](QObject*, int, int, bool& can) { can = false; };
    EXPECT_FALSE(grid.ToggleCheckBox(2, 1, true));
    EXPECT_TRUE(box->CellBoolean);
    grid.SetCheckBoxState(2, 1, false);
    EXPECT_FALSE(box->CellBoolean);
    EXPECT_FALSE(grid.ToggleCheckBox(3, 1, false));  // no check box
}

TEST(CellGraphic, RadioGroupsCycle) {
    TExtStringGrid grid;
    TCellGraphic* g = grid.CreateCellGraphic(1, 1);
    g->CellType = ctRadio;
    g->RadioItems = {"one", "two", "three"};
    g->CellIndex = -1;
    grid.SetCellText(1, 1, "three");
    grid.CycleRadio(1, 1, false);
    EXPECT_EQ(grid.Cells(1, 1), "one");
    EXPECT_EQ(g->CellIndex, -1);
    g->CellIndex = 1;
    grid.CycleRadio(1, 1, false);
    EXPECT_EQ(g->CellIndex, 2);
    EXPECT_EQ(grid.Cells(1, 1), "three");
    int index = 0;
    EXPECT_TRUE(grid.GetRadioIndex(1, 1, index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(grid.IsCheckOrRadioCell(1, 1));
    EXPECT_EQ(grid.GetRadioItems(1, 1)->size(), 3u);
}

TEST(CellGraphic, PictureSizeByStretchMode) {
    TCellGraphic g;
    g.CellType = ctPicture;
    g.TakePicture(std::make_unique<cb::gfx::TBitmap>(200, 100));
    const struct {
        int mode, margin, w, h;
    } cases[] = {{0, 0, 200, 100}, {1, 0, 100, 100}, {2, 0, 100, 50},
                 {3, 0, 100, 100}, {4, 0, 100, 50},  {1, 10, 90, 90}};
    for (const auto& c : cases) {
        g.CellAngle = c.mode;
        g.CellIndex = c.margin;
        const cb::gfx::TSize s = g.GetPictureSize(100, 100);
        EXPECT_EQ(s.cx, c.w) << c.mode;
        EXPECT_EQ(s.cy, c.h) << c.mode;
    }
    // A picture that fits keeps its size in the shrink-only modes.
    g.CellIndex = 0;
    for (int mode : {3, 4}) {
        g.CellAngle = mode;
        EXPECT_EQ(g.GetPictureSize(400, 400).cx, 200);
    }
}

TEST(CellGraphic, SizesOnScreen) {
    TExtStringGrid grid;
    TGridImageList images(16, 16);
    grid.GridImages = &images;
    grid.SetCellText(1, 1, "text");
    const struct {
        TCellType type;
        TCellHAlign h;
        TCellVAlign v;
        bool text;
        int w, hgt;
    } cases[] = {
        {ctImageList, haLeft, vaTop, true, 0, 16},  // beside text: no width
        {ctImageList, haBeforeText, vaTop, true, 16, 16},
        {ctImageList, haLeft, vaTop, false, 16, 16},  // empty text
        {ctCheckBox, haLeft, vaTop, true, 15, 15},
        {ctProgressPie, haLeft, vaTop, true, 20, 20},
        {ctComment, haLeft, vaTop, true, 0, 0},
        {ctCheckBox, haLeft, vaFull, true, 15, 21},  // the cell's height
    };
    for (const auto& c : cases) {
        grid.SetCellText(1, 1, c.text ? "text" : "");
        TCellGraphic* g = grid.CreateCellGraphic(1, 1);
        g->CellType = c.type;
        g->CellHAlign = c.h;
        g->CellVAlign = c.v;
        const cb::gfx::TSize s = grid.GetCellGraphicSize(1, 1);
        EXPECT_EQ(s.cx, c.w) << int(c.type);
        EXPECT_EQ(s.cy, c.hgt) << int(c.type);
    }
    TCellGraphic* b = grid.CreateCellGraphic(2, 1);
    b->CellType = ctButton;
    b->CellIndex = (12 << 16) | 30;
    b->CellValue = (3 << 16) | 4;
    EXPECT_EQ(grid.GetCellGraphicSize(2, 1).cx, 30);
    TRect r;
    ASSERT_TRUE(grid.GetButtonRect(2, 1, r));
    const TRect cell = grid.GetMergedCellRect(2, 1);
    EXPECT_EQ(r.Left, cell.Left + 4);
    EXPECT_EQ(r.Top, cell.Top + 3);
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 12);
}

// ---------------------------------------------------------------------------
// Drawing

class TProbeGrid : public TExtStringGrid {
public:
    using TExtStringGrid::CalcRotatedTextOrigin;
};

struct Drawn : ::testing::Test {
    TProbeGrid grid;
    TGridImageList images{16, 16};
    void SetUp() override {
        grid.resize(500, 200);
        grid.SetColCount(5);
        grid.SetRowCount(6);
        grid.SetColor(cb::gfx::clWhite);
        grid.SetSelection({4, 5, 4, 5});  // away from the probed cells
        for (int c = 0; c < 5; ++c) grid.SetColWidths(c, 104);
        images.Add(Filled(Qt::red));
        images.Add(Filled(Qt::green));
        images.Add(Filled(Qt::blue));
        grid.GridImages = &images;
    }
    TRect Cell(int col, int row) const { return grid.CellRect(col, row); }
    QImage Shot() { return grid.RenderToImage(); }
};

TEST_F(Drawn, CheckBoxesByStateAndAlignment) {
    TCellGraphic* on = grid.CreateCellGraphic(1, 1);
    on->CellType = ctCheckBox;
    on->CellBoolean = true;
    grid.CreateCellGraphic(1, 2)->CellType = ctCheckBox;
    // Right-aligned text keeps the box left of it.
    TCellGraphic* right = grid.CreateCellGraphic(2, 1);
    right->CellType = ctCheckBox;
    grid.SetCellText(2, 1, "Label");
    grid.SetCellAlignment(2, 1, taRightJustify);
    const QImage img = Shot();

    const TRect a = Cell(1, 1);
    const int s = grid.ControlLook.CheckSize();
    const int cx = a.Left + 1 + s / 2;
    const int cy = a.Top + 1 + s / 2;
    EXPECT_TRUE(IsDark(Px(img, cx, cy)));                           // the tick
    EXPECT_EQ(Px(img, cx, Cell(1, 2).Top + 1 + s / 2), 0xFFFFFFu);  // empty box
    EXPECT_NE(Px(img, a.Left + 1, cy), 0xFFFFFFu);                  // its frame

    // The box's left edge: the text width + 4 and one more pixel stay free.
    cb::gfx::TCanvas measure;
    measure.Font().Assign(grid.Font());
    const int textWidth = measure.TextWidth("Label");
    const TRect b = Cell(2, 1);
    const int boxLeft = b.Right - (textWidth + 4) - s - 1;
    EXPECT_NE(Px(img, boxLeft, b.Top + 1 + s / 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, boxLeft - 1, b.Top + 1 + s / 2), 0xFFFFFFu);
    EXPECT_EQ(Px(img, boxLeft + s + 1, b.Top + 1 + s / 2 - 7), 0xFFFFFFu);  // free above the text
}

TEST_F(Drawn, CheckBoxStylesWithGlyphs) {
    for (TControlStyle style : {csExt, csWinXP, csQuintar, csFlat}) {
        grid.ControlLook.SetControlStyle(style);
        TCellGraphic* on = grid.CreateCellGraphic(1, 1);
        on->CellType = ctCheckBox;
        on->CellBoolean = true;
        grid.CreateCellGraphic(1, 2)->CellType = ctCheckBox;
        const QImage img = Shot();
        auto ink = [&](int row) {
            int n = 0;
            const TRect r = Cell(1, row);
            for (int x = r.Left + 4; x < r.Left + 12; ++x)
                for (int y = r.Top + 4; y < r.Top + 12; ++y) n += IsDark(Px(img, x, y));
            return n;
        };
        EXPECT_GT(ink(1), ink(2)) << int(style);  // the tick shows only when checked
    }
}

TEST_F(Drawn, NodesShowPlusWhenContracted) {
    grid.SetRowCount(6);
    TCellGraphic* node = grid.CreateCellGraphic(0, 1);
    node->CellType = ctNode;
    node->CellIndex = 2;
    const TRect r = Cell(0, 1);
    const int left = r.Left + 4;
    const int top = r.Top + (r.Height() - 8) / 2;
    QImage img = Shot();
    EXPECT_TRUE(IsDark(Px(img, left + 3, top + 3)));   // minus
    EXPECT_FALSE(IsDark(Px(img, left + 3, top + 1)));  // no plus bar
    EXPECT_TRUE(IsDark(Px(img, left - 1, top + 3)));   // the box
    grid.ContractNode(1);
    img = Shot();
    EXPECT_TRUE(IsDark(Px(img, left + 3, top + 1)));

    // Leaf glyphs and tree lines.
    grid.CellNode.SetNodeType(cnLeaf);
    grid.CellNode.SetShowTree(true);
    grid.ExpandNode(1);
    grid.EnsureCellProperties(0, 2)->NodeLevel = 1;
    img = Shot();
    EXPECT_NE(Px(img, r.Left + 5, r.Top + 8), 0xFFFFFFu);  // the glyph
    const TRect child = Cell(0, 2);
    const int mid = child.Top + (child.Height() - 1) / 2;
    EXPECT_EQ(Px(img, child.Left + 16 - 4, mid), 0xC0C0C0u);  // the tree line
}

TEST_F(Drawn, ProgressBarsFillTheirShare) {
    TCellGraphic* bar = grid.CreateCellGraphic(1, 1);
    bar->CellType = ctProgress;
    bar->CellColor = 0x0000FF;    // red
    bar->CellColorTo = 0x00FF00;  // green
    grid.SetCellText(1, 1, "50");
    TCellGraphic* bad = grid.CreateCellGraphic(1, 2);
    bad->CellType = ctProgress;
    grid.SetCellText(1, 2, "half");
    QImage img;
    ASSERT_NO_THROW(img = Shot());
    const TRect r = Cell(1, 1);  // 104 wide: 100 inside the frame
    const int y = r.Top + 3;
    EXPECT_EQ(Px(img, r.Left + 2, y), 0x0000FFu);
    EXPECT_EQ(Px(img, r.Left + 51, y), 0x0000FFu);
    EXPECT_EQ(Px(img, r.Left + 52, y), 0x00FF00u);
    EXPECT_EQ(Px(img, r.Left + 101, y), 0x00FF00u);
    EXPECT_EQ(Px(img, r.Left + 1, y), 0x000000u);  // the frame
    // The label "50%" in the inverted colours across both parts.
    bool cyan = false, magenta = false;
    for (int x = r.Left + 2; x < r.Left + 102; ++x)
        for (int yy = r.Top + 2; yy < r.Bottom - 3; ++yy) {
            const TColor c = Px(img, x, yy);
            auto r8 = cb::gfx::GetRValue(c), g8 = cb::gfx::GetGValue(c), b8 = cb::gfx::GetBValue(c);
            cyan = cyan || (r8 < 100 && g8 > 180 && b8 > 180);
            magenta = magenta || (r8 > 180 && g8 < 100 && b8 > 180);
        }
    EXPECT_TRUE(cyan);
    EXPECT_TRUE(magenta);
    // A text that is no number draws no bar.
    EXPECT_EQ(Px(img, Cell(1, 2).Left + 2, Cell(1, 2).Top + 3), 0xFFFFFFu);
}

TEST_F(Drawn, ImageListImagesByPlacementAndData) {
    grid.SetCellText(1, 1, "Header");
    grid.SetCellImageIndex(1, 1, 2, haRight, vaCenter);
    TCellGraphic* data = grid.CreateCellGraphic(2, 1);
    data->CellType = ctDataImage;
    grid.SetCellText(2, 1, "1");
    TCellGraphic* bad = grid.CreateCellGraphic(2, 2);
    bad->CellType = ctDataImage;
    grid.SetCellText(2, 2, "x");
    TCellGraphic* many = grid.CreateCellGraphic(3, 1);
    many->CellType = ctImages;
    many->ImageIndexes = {0, 2};
    many->CellBoolean = true;
    QImage img;
    ASSERT_NO_THROW(img = Shot());

    const TRect r = Cell(1, 1);
    const int top = r.Top + (r.Height() - 16) / 2;
    EXPECT_EQ(Px(img, r.Right - 1 - 16, top + 8), 0xFF0000u);  // blue, 0x00BBGGRR
    EXPECT_EQ(Px(img, r.Right - 2, top + 8), 0xFF0000u);
    EXPECT_NE(Px(img, r.Right - 1 - 17, top + 8), 0xFF0000u);
    EXPECT_EQ(Px(img, Cell(2, 1).Left + 8, Cell(2, 1).Top + 8), 0x00FF00u);
    EXPECT_EQ(Px(img, Cell(2, 2).Left + 8, Cell(2, 2).Top + 8), 0xFFFFFFu);
    EXPECT_EQ(Px(img, Cell(3, 1).Left + 8, Cell(3, 1).Top + 8), 0x0000FFu);
    EXPECT_EQ(Px(img, Cell(3, 1).Left + 24, Cell(3, 1).Top + 8), 0xFF0000u);
}

TEST_F(Drawn, RadioItemsCommentsAndPies) {
    grid.SetRowHeights(1, 60);
    TCellGraphic* radio = grid.CreateCellGraphic(1, 1);
    radio->CellType = ctRadio;
    radio->RadioItems = {"A", "B", "C"};
    radio->CellIndex = -1;
    grid.SetCellText(1, 1, "B");
    grid.CreateCellGraphic(2, 1)->CellType = ctComment;
    TCellGraphic* pie = grid.CreateCellGraphic(3, 1);
    pie->CellType = ctProgressPie;
    pie->CellAngle = 50;
    pie->CellColor = 0x00FF00;
    const QImage img = Shot();

    cb::gfx::TCanvas measure;
    measure.Font().Assign(grid.Font());
    const int line = measure.TextHeight("gh");
    const TRect r = Cell(1, 1);
    const int centre = grid.ControlLook.RadioSize() / 2;
    auto dot = [&](int i) { return Px(img, r.Left + 2 + centre, r.Top + i * line + 2 + centre); };
    EXPECT_FALSE(IsDark(dot(0)));
    EXPECT_TRUE(IsDark(dot(1)));  // the item named by the text
    EXPECT_FALSE(IsDark(dot(2)));

    const TRect c = Cell(2, 1);
    EXPECT_EQ(Px(img, c.Right - 2, c.Top + 2), 0x0000FFu);  // red corner
    EXPECT_EQ(Px(img, c.Right - 6, c.Top + 5), 0xFFFFFFu);

    const TRect p = Cell(3, 1);
    EXPECT_EQ(Px(img, p.Left + 1 + 15, p.Top + 1 + 10), 0x00FF00u);  // the filled right half
    EXPECT_EQ(Px(img, p.Left + 1 + 5, p.Top + 1 + 10), 0xFFFFFFu);
}

TEST_F(Drawn, RotatedTextOrigin) {
    cb::gfx::TCanvas canvas;
    canvas.Font().Assign(grid.Font());
    const int w = canvas.TextWidth("Turned");
    const TRect r{10, 20, 110, 120};
    const TPoint o = grid.CalcRotatedTextOrigin(canvas, r, 90, vtaTop, taLeftJustify, "Turned");
    EXPECT_EQ(o.X, 10 - 2);
    EXPECT_EQ(o.Y, 20 + w - 2);
    const TPoint flat = grid.CalcRotatedTextOrigin(canvas, r, 0, vtaTop, taLeftJustify, "Turned");
    EXPECT_EQ(flat.X, 8);
    EXPECT_EQ(flat.Y, 18);
}

}  // namespace
