#include "extras/BmpImage.h"
#include "extras/KitUtils.h"

#include "tests/common/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace cb::extras;
using namespace cb::gfx;

namespace {

// A block whose pixel (x, y) in stored rows comes from f.
TPixelBlock24 makeBlock(int w, int h, const std::function<TColor(int x, int y)>& f) {
    TPixelBlock24 b;
    b.Width = w;
    b.Height = h;
    b.Bits.assign(std::size_t(b.Stride()) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor c = f(x, y);
            b.Row(y)[3 * x] = std::uint8_t(GetBValue(c));
            b.Row(y)[3 * x + 1] = std::uint8_t(GetGValue(c));
            b.Row(y)[3 * x + 2] = std::uint8_t(GetRValue(c));
        }
    return b;
}

TColor entry(const TReducedImage& r, int y, int x) {
    const TRGBQuad& q = r.Table[r.Index(y, x)];
    return RGB(q.Red, q.Green, q.Blue);
}

TEST(ColorReduction, LevelTables) {
    EXPECT_EQ(LevelTable(4), (std::vector<std::uint8_t>{0, 85, 170, 255}));
    EXPECT_EQ(LevelTable(7), (std::vector<std::uint8_t>{0, 43, 85, 128, 170, 213, 255}));
    struct {
        int n, value, expected;
    } cases[] = {{4, 42, 0}, {4, 43, 1}, {4, 128, 2}, {6, 26, 1}, {6, 25, 0}, {7, 64, 1}, {8, 255, 7}, {8, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(NearestLevel(c.n, std::uint8_t(c.value)), c.expected) << c.n << " " << c.value;
}

TEST(ColorReduction, FixedPalettesMapEachPixel) {
    const TPixelBlock24 b = makeBlock(3, 2, [](int x, int y) {
        const TColor c[2][3] = {{RGB(250, 10, 130), RGB(30, 200, 90), RGB(77, 77, 77)},
                                {RGB(0, 0, 0), RGB(255, 255, 255), RGB(12, 140, 255)}};
        return c[y][x];
    });
    struct Case {
        TColorReduction method;
        int row, x;
        int index;
        TColor color;
        int important;
    } cases[] = {
        {rdCube666, 0, 0, 5 * 36 + 0 * 6 + 3, RGB(255, 0, 153), 216},
        {rdCube666, 1, 1, 215, RGB(255, 255, 255), 216},
        {rdCube784, 0, 1, 1 * 32 + 5 * 4 + 1, RGB(43, 182, 85), 224},
        {rdCube784, 1, 2, 0 * 32 + 4 * 4 + 3, RGB(0, 146, 255), 224},
        {rdGrayscale, 0, 2, 77, RGB(77, 77, 77), 0},
        {rdGrayscale, 1, 1, 255, RGB(255, 255, 255), 0},
        {rdChannelCycle, 0, 0, 250 >> 2, RGB(248, 0, 0), 0},          // (0 + 0) mod 3 = 0: red
        {rdChannelCycle, 0, 1, (200 >> 2) + 64, RGB(0, 200, 0), 0},   // 1: green
        {rdChannelCycle, 1, 1, (255 >> 2) + 128, RGB(0, 0, 252), 0},  // 2: blue
    };
    for (const Case& c : cases) {
        const TReducedImage r = ReduceColors(b, c.method);
        EXPECT_EQ(r.Index(c.row, c.x), c.index) << int(c.method);
        EXPECT_EQ(entry(r, c.row, c.x), c.color) << int(c.method);
        EXPECT_EQ(r.ImportantColors, c.important) << int(c.method);
    }
    EXPECT_EQ(ReduceCube666(b).Table[216], (TRGBQuad{128, 128, 128, 128}));
    EXPECT_EQ(ReduceChannelCycle(b).Table[200], (TRGBQuad{0, 0, 0, 0}));
}

TEST(ColorReduction, PopularityKeepsTheMostFrequentColours) {
    // 300 colours; colour i appears i + 1 times (stacked in rows of 300).
    const int n = 300;
    std::vector<TColor> pixels;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k <= i; ++k) pixels.push_back(RGB(i % 256, i / 256 * 40, 7));
    const int w = 300, h = int((pixels.size() + w - 1) / w);
    pixels.resize(std::size_t(w) * h, RGB(299 % 256, 40, 7));
    const TPixelBlock24 b = makeBlock(w, h, [&](int x, int y) { return pixels[std::size_t(y) * w + x]; });
    TPopularityStats stats;
    const TReducedImage r = ReducePopularity(b, &stats);
    EXPECT_EQ(stats.Entries, 300);
    EXPECT_EQ(stats.BlueMask, 0xFF);
    // The 44 rarest colours (0..43) are left out of the palette.
    std::set<TColor> palette;
    for (const TRGBQuad& q : r.Table) palette.insert(RGB(q.Red, q.Green, q.Blue));
    EXPECT_EQ(palette.size(), 256u);
    EXPECT_FALSE(palette.count(RGB(43, 0, 7)));
    EXPECT_TRUE(palette.count(RGB(44, 0, 7)));
    EXPECT_EQ(entry(r, h - 1, w - 1), RGB(299 % 256, 40, 7));  // most frequent keeps its colour
    EXPECT_EQ(r.Table[0], (TRGBQuad{7, 40, 43, 0}));           // 299 is the most frequent
    EXPECT_EQ(entry(r, 0, 0), RGB(0, 40, 7));                  // colour 0 maps to its nearest chosen
}

TEST(ColorReduction, PopularityDropsBlueBitFirstOnOverflow) {
    // 2100 distinct colours, pairs that differ in blue's lowest bit only.
    const TPixelBlock24 b = makeBlock(100, 21, [](int x, int y) {
        const int i = y * 100 + x, pair = i / 2;
        return RGB(pair % 256, pair / 256 * 20, 2 * (pair % 100) + (i & 1));
    });
    TPopularityStats stats;
    const TReducedImage r = ReducePopularity(b, &stats);
    EXPECT_EQ(stats.BlueMask, 0xFE);
    EXPECT_EQ(stats.RedMask, 0xFF);
    EXPECT_EQ(stats.GreenMask, 0xFF);
    EXPECT_EQ(stats.Entries, 1050);
    EXPECT_EQ(r.Index(0, 0), r.Index(0, 1));
}

TEST(ColorReduction, MedianCutEndsWithOneBoxPerOccupiedCell) {
    // 10 occupied cells, a few pixels each.
    const TPixelBlock24 b = makeBlock(10, 3, [](int x, int) { return RGB(x * 16 + 3, 255 - x * 16, x * 8); });
    const TReducedImage r = ReduceMedianCut(b);
    EXPECT_EQ(r.ImportantColors, 10);
    std::set<int> indices;
    for (int x = 0; x < 10; ++x) {
        indices.insert(r.Index(0, x));
        EXPECT_EQ(r.Index(1, x), r.Index(0, x));
        // One cell per box: the entry is the cell's value times 16 plus 15.
        const TColor c = entry(r, 0, x);
        EXPECT_EQ(GetRValue(c), (x * 16 + 3) / 16 * 16 + 15);
    }
    EXPECT_EQ(indices.size(), 10u);
    EXPECT_EQ(r.Table[10], TRGBQuad{});
}

TEST(ColorReduction, MedianCutNearBlackBecomesBlack) {
    const TPixelBlock24 b = makeBlock(4, 1, [](int x, int) { return x < 2 ? RGB(1, 0, 0) : RGB(250, 250, 250); });
    const TReducedImage r = ReduceMedianCut(b);
    EXPECT_EQ(entry(r, 0, 0), RGB(0, 0, 0));  // (0 + 15) div 1 = 15 on every channel
    EXPECT_EQ(entry(r, 0, 3), RGB(255, 255, 255));
}

TEST(ColorReduction, MedianCutSplitsLargeImagesInto256Boxes) {
    const TPixelBlock24 b = makeBlock(64, 64, [](int x, int y) { return RGB(x * 4, y * 4, (x + y) * 2); });
    const TReducedImage r = ReduceMedianCut(b);
    EXPECT_EQ(r.ImportantColors, 256);
    // Each pixel's entry lies near the pixel.
    for (int y = 0; y < 64; y += 9)
        for (int x = 0; x < 64; x += 7) {
            const TColor c = entry(r, y, x);
            EXPECT_NEAR(GetRValue(c), x * 4, 48);
            EXPECT_NEAR(GetGValue(c), y * 4, 48);
        }
}

TEST(ReducedStream, BmpImagesReadByAnIndependentReader) {
    TBitmap bmp(7, 5, pf24bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) bmp.Image().setPixel(x, y, qRgb(x * 36, y * 60, 200));
    cbtest::TempDir dir;
    struct Case {
        TKitPixelFormat format;
        TColorReduction method;
        const char* mode;
    } cases[] = {{kpf8bit, rdGrayscale, "L"},  {kpf8bit, rdCube666, "P"},    {kpf8bit, rdMedianCut, "P"},
                 {kpf4bit, rdPopularity, "P"}, {kpf1bit, rdPopularity, "1"}, {kpf24bit, rdGrayscale, "RGB"}};
    for (const Case& c : cases) {
        auto s = BitmapToReducedStream(bmp, c.format, c.method);
        EXPECT_EQ(s->Position(), 0);
        const std::string file = dir.file("image.bmp");
        s->SaveToFile(file);
        std::string out;
        ASSERT_EQ(
            cbtest::runCommand("/usr/bin/python3 -c \"from PIL import Image; im = Image.open('" + file +
                                   "'); print(im.size[0], im.size[1], im.mode, im.convert('RGB').getpixel((6, 0)))\"",
                               &out),
            0);
        std::string expectedPixel;
        if (c.method == rdGrayscale && c.format == kpf8bit) {
            const int g = (77 * 216 + 150 * 0 + 29 * 200) >> 8;
            expectedPixel = "(" + std::to_string(g) + ", " + std::to_string(g) + ", " + std::to_string(g) + ")";
        } else if (c.format == kpf24bit) {
            expectedPixel = "(216, 0, 200)";
        }
        EXPECT_EQ(out.rfind(std::string("7 5 ") + c.mode + " (", 0), 0u) << out;
        if (!expectedPixel.empty()) {
            EXPECT_NE(out.find(expectedPixel), std::string::npos) << out;
        }
    }
    TBitmap empty;
    EXPECT_THROW(BitmapToReducedStream(empty, kpf8bit, rdGrayscale), EInvalidGraphic);
}

TEST(BitmapHelpers, CutGlyphTileTakesColumnAndRow) {
    TBitmap sheet(96, 39);
    for (int y = 0; y < 39; ++y)
        for (int x = 0; x < 96; ++x) sheet.Image().setPixel(x, y, qRgb(x / 16 * 40, y / 13 * 100, 0));
    sheet.SetTransparentColor(clFuchsia);
    sheet.SetTransparent(true);
    struct {
        int columns, rows, tile, w, h, col, row;
    } cases[] = {{6, 3, 7, 16, 13, 1, 1}, {6, 3, 17, 16, 13, 5, 2}, {6, 3, -3, 16, 13, 0, 0}, {0, 0, 0, 96, 39, 0, 0}};
    for (const auto& c : cases) {
        TBitmap tile;
        CutGlyphTile(sheet, tile, c.columns, c.rows, c.tile);
        ASSERT_EQ(tile.Width(), c.w);
        ASSERT_EQ(tile.Height(), c.h);
        EXPECT_EQ(QColor(tile.Image().pixel(0, 0)), QColor(c.col * 40, c.row * 100, 0)) << c.tile;
        EXPECT_EQ(tile.TransparentColor(), clFuchsia);
        EXPECT_TRUE(tile.Transparent());
    }
    // In auto mode the tile keeps the sheet's bottom-left colour, not its own.
    TBitmap autoSheet(96, 39);
    autoSheet.Image().fill(qRgb(255, 0, 255));
    autoSheet.Image().setPixel(16, 25, qRgb(1, 2, 3));  // bottom-left pixel of tile 7
    TBitmap tile;
    CutGlyphTile(autoSheet, tile, 6, 3, 7);
    EXPECT_EQ(tile.TransparentMode(), tmFixed);
    EXPECT_EQ(tile.TransparentColor(), clFuchsia);
}

TEST(BitmapHelpers, TransparentStretchLeavesOutTheMaskColour) {
    TBitmap src(4, 4);
    src.Image().fill(qRgb(0, 0, 255));
    src.Image().setPixel(1, 1, qRgb(255, 0, 0));
    src.Image().setPixel(0, 3, qRgb(0, 0, 255));  // bottom-left: the default mask colour
    struct {
        TColor transparent;
        TColor atBlue;
    } cases[] = {{clDefault, clWhite}, {clBlue, clWhite}, {clNone, clBlue}, {clRed, clBlue}};
    for (const auto& c : cases) {
        TBitmap dest(8, 8);
        StretchTransparentBitmap(dest.Canvas(), 0, 0, 8, 8, src, 0, 0, 0, 0, c.transparent);
        dest.Canvas().ReleasePainter();
        auto px = [&](int x, int y) {
            const QRgb v = dest.Image().pixel(x, y);
            return RGB(qRed(v), qGreen(v), qBlue(v));
        };
        EXPECT_EQ(px(0, 0), c.atBlue);
        EXPECT_EQ(px(2, 2), c.transparent == clRed ? clWhite : clRed);  // pixel (1,1) doubled
        EXPECT_EQ(px(3, 3), c.transparent == clRed ? clWhite : clRed);
    }
    EXPECT_EQ(PaletteRGB(clRed), 0x020000FFu);
    EXPECT_EQ(PaletteRGB(clWindow) & 0xFF000000, 0x02000000u);
}

}  // namespace

namespace {

TEST(BitmapHelpers, ParentBackgroundWithTheSiblingsBelow) {
    auto filled = [](QWidget* w, QColor colour) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colour);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    };
    QWidget parent;
    parent.resize(100, 100);
    filled(&parent, Qt::green);
    auto* below = new QWidget(&parent);
    below->setGeometry(0, 0, 50, 100);
    filled(below, Qt::red);
    auto* control = new QWidget(&parent);
    control->setGeometry(20, 20, 60, 60);
    filled(control, Qt::yellow);
    auto* above = new QWidget(&parent);
    above->setGeometry(60, 20, 40, 60);
    filled(above, Qt::blue);
    auto* hidden = new QWidget(&parent);
    hidden->setGeometry(0, 0, 30, 30);
    filled(hidden, Qt::magenta);
    hidden->lower();
    hidden->hide();
    parent.show();

    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        cb::gfx::TCanvas canvas(&painter);
        PaintParentBackground(control, canvas);
    }
    struct {
        int x, y;
        QColor colour;
    } probes[] = {
        {5, 5, Qt::red},      // the sibling below shows through
        {29, 30, Qt::red},    // its right edge, at parent x 49
        {30, 30, Qt::green},  // the parent beyond it
        {45, 45, Qt::green},  // the sibling above is not painted
        {59, 59, Qt::green},
    };
    for (const auto& p : probes) EXPECT_EQ(image.pixelColor(p.x, p.y), p.colour) << p.x << "," << p.y;

    // Without a parent nothing is painted.
    QWidget orphan;
    QImage untouched(10, 10, QImage::Format_RGB32);
    untouched.fill(Qt::white);
    QPainter painter(&untouched);
    cb::gfx::TCanvas canvas(&painter);
    PaintParentBackground(&orphan, canvas);
    EXPECT_EQ(untouched.pixelColor(5, 5), QColor(Qt::white));
}

}  // namespace
