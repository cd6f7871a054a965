// Panel background (colour, gradient, picture), zoom settings and the
// stored properties of older files.
#include "chart/component/Chart.h"
#include "chart/core/ColorPalettes.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>

using namespace cb::chart;

namespace {

TColor PixelAt(cb::gfx::TBitmap& b, int x, int y) {
    const QRgb c = b.Image().pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

std::unique_ptr<cb::gfx::TBitmap> Draw(TChart& chart, TColor background = clWhite) {
    auto b = chart.DrawToBitmap(background, chart.PanelRect());
    b->Canvas().ReleasePainter();
    return b;
}

// A picture: left half red, right half blue.
std::unique_ptr<cb::gfx::TBitmap> Picture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    auto b = std::make_unique<cb::gfx::TBitmap>();
    b->SetImage(img);
    return b;
}

}  // namespace

TEST(ChartBackground, NoColourFillsNothingAndGradientFills) {
    TChart chart;
    chart.resize(200, 150);
    chart.SetBevelOuter(bvNone);
    chart.SetColor(clNone);
    auto bmp = Draw(chart, clGreen);
    EXPECT_EQ(PixelAt(*bmp, 2, 2), clGreen);
    chart.Gradient().SetVisible(true);
    chart.Gradient().SetDirection(gdLeftRight);
    chart.Gradient().SetStartColor(clRed);
    chart.Gradient().SetEndColor(clBlue);
    bmp = Draw(chart, clGreen);
    const TColor left = PixelAt(*bmp, 1, 75), right = PixelAt(*bmp, 198, 75);
    // One end red, the other blue: the gradient covers the panel.
    EXPECT_GT(GetRValue(left) + GetBValue(right) + GetBValue(left) + GetRValue(right), 400);
    EXPECT_NE(GetRValue(left) > 200, GetRValue(right) > 200);
}

TEST(ChartBackground, PictureModes) {
    const auto pic = Picture(40, 20);
    {
        // Stretched over the whole panel.
        TChart chart;
        chart.resize(200, 100);
        chart.SetBevelOuter(bvNone);
        chart.BackImage().SetGraphic(pic.get());
        auto bmp = Draw(chart);
        EXPECT_EQ(PixelAt(*bmp, 10, 50), clRed);
        EXPECT_EQ(PixelAt(*bmp, 190, 50), clBlue);
    }
    {
        // Tiled: the pattern repeats every 40 pixels.
        TChart chart;
        chart.resize(200, 100);
        chart.SetBevelOuter(bvNone);
        chart.BackImage().SetGraphic(pic.get());
        chart.SetBackImageMode(pbmTile);
        auto bmp = Draw(chart);
        EXPECT_EQ(PixelAt(*bmp, 5, 5), clRed);
        EXPECT_EQ(PixelAt(*bmp, 25, 5), clBlue);
        EXPECT_EQ(PixelAt(*bmp, 45, 25), clRed);
    }
    {
        // Centred and larger than the panel: its middle shows.
        const auto big = Picture(400, 100);
        TChart chart;
        chart.resize(100, 100);
        chart.SetBevelOuter(bvNone);
        chart.BackImage().SetGraphic(big.get());
        chart.SetBackImageMode(pbmCenter);
        auto bmp = Draw(chart);
        EXPECT_EQ(PixelAt(*bmp, 40, 50), clRed);
        EXPECT_EQ(PixelAt(*bmp, 60, 50), clBlue);
    }
}

TEST(ChartBackground, BackImageTransparencyNeedsAPicture) {
    TChart chart;
    EXPECT_FALSE(chart.BackImageTransp());
    chart.SetBackImageTransp(true);
    EXPECT_FALSE(chart.BackImageTransp());
    const auto pic = Picture(4, 4);
    chart.BackImage().SetGraphic(pic.get());
    chart.SetBackImageTransp(true);
    EXPECT_TRUE(chart.BackImageTransp());
}

TEST(ChartBackground, ZoomSettingsAssignAndPen) {
    TPlotZoom a, b;
    a.MinimumPixels = 30;
    a.Animated = true;
    a.Pen().SetColor(clRed);
    b.Assign(a);
    EXPECT_EQ(b.MinimumPixels, 16);
    EXPECT_TRUE(b.Animated);
    EXPECT_EQ(b.Pen().Color(), clRed);
    // A source without a brush frees the target's.
    b.Brush();
    b.Assign(a);
    EXPECT_EQ(b.BrushIfAny(), nullptr);
    b.SetPen(nullptr);
    EXPECT_EQ(b.PenIfAny(), nullptr);
    EXPECT_EQ(b.Pen().Color(), clWhite);
}

TEST(ChartBackground, StoredPropertiesOfOlderFiles) {
    TChart chart;
    EXPECT_TRUE(chart.ReadLegacyProperty("AllowZoom", "False"));
    EXPECT_FALSE(chart.Zoom().Allow);
    EXPECT_TRUE(chart.ReadLegacyProperty("AnimatedZoomSteps", "5"));
    EXPECT_EQ(chart.Zoom().AnimatedSteps, 5);
    EXPECT_EQ(chart.PrintMarginsText(), "");
    EXPECT_TRUE(chart.ReadLegacyProperty("PrintMargins", "15 29 15 29"));
    EXPECT_EQ(chart.PrintMarginsText(), "15 29 15 29");
    EXPECT_THROW(chart.ReadLegacyProperty("PrintMargins", "15 x"), std::exception);
    chart.BeginLoading();
    EXPECT_TRUE(chart.ReadLegacyProperty("BackColor", "clWhite"));
    EXPECT_EQ(chart.BackWall().Color(), clWhite);
    EXPECT_EQ(chart.ColorPaletteIndexText(), "");
    EXPECT_TRUE(chart.ReadLegacyProperty("ColorPaletteIndex", "3"));
    EXPECT_EQ(chart.ColorPaletteIndexText(), "3");
    EXPECT_EQ(chart.ColorPalette(), ColorPaletteColors(3));
    EXPECT_TRUE(chart.ReadLegacyProperty("ColorPaletteIndex", "0"));
    EXPECT_EQ(chart.ColorPaletteIndexText(), "");
}

TEST(ChartBackground, FreeColours) {
    TChart chart;
    auto* a = chart.CreateSeries<TBarSeries>();
    auto* b = chart.CreateSeries<TBarSeries>();
    a->SetSeriesColor(clRed);
    b->SetSeriesColor(clBlue);
    EXPECT_TRUE(chart.IsColorFree(clRed, false, a));
    EXPECT_FALSE(chart.IsColorFree(clRed, false, b));
    chart.SetColor(clYellow);
    EXPECT_FALSE(chart.IsColorFree(clYellow, true, nullptr));
    EXPECT_TRUE(chart.IsColorFree(clYellow, false, nullptr));
}
