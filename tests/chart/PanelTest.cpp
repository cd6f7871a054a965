#include "ChartTestSupport.h"

#include "chart/panel/CustomPlotPanel.h"
#include "chart/style/PlotFont.h"
#include "chart/style/PlotGradient.h"
#include "chart/style/PlotShadow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include "tests/common/TestSupport.h"
#include "chart/canvas/StylePaint.h"

using namespace charttest;

namespace {

// Fills its chart rectangle, so tests can see where it lies.
class FillPanel : public TCustomPlotPanel {
public:
    void DrawContents(const TRect&) override {
        ++drawings;
        Canvas()->Brush().SetColor(0x00A000);
        Canvas()->Brush().SetStyle(cb::gfx::bsSolid);
        Canvas()->FillRectangle(ChartRect());
    }
    int drawings = 0;
};

struct Counter : TPlotEventListener {
    int events = 0;
    void HandleEvent(TPlotEvent&) override { ++events; }
};

TColor Pixel(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

TEST(Panel, DrawsToBitmapInsideMargins) {
    FillPanel panel;  // 400 x 250, margins 3, 4, 3, 4 percent
    panel.SetBevelOuter(bvNone);
    auto bmp = panel.DrawToBitmap(clWhite, panel.PanelRect());
    ASSERT_EQ(bmp->Width(), 400);
    ASSERT_EQ(bmp->Height(), 250);
    EXPECT_EQ(panel.ChartRect(), (TRect{12, 10, 388, 240}));
    const QImage& img = bmp->Image();
    EXPECT_EQ(Pixel(img, 12, 10), 0x00A000u);
    EXPECT_EQ(Pixel(img, 387, 239), 0x00A000u);
    EXPECT_EQ(Pixel(img, 11, 100), clWhite);
    EXPECT_EQ(Pixel(img, 200, 245), clWhite);

    auto grey = panel.DrawToBitmap(clSilver, panel.PanelRect());
    EXPECT_EQ(Pixel(grey->Image(), 2, 2), clSilver);
}

TEST(Panel, PixelMarginsAndFrame) {
    FillPanel panel;
    panel.SetMarginUnits(muPixels);
    panel.SetBorderWidth(2);
    panel.SetBevelInner(bvLowered);  // outer raised by default: 2 + 1 + 1
    auto bmp = panel.DrawToBitmap(clWhite, panel.PanelRect());
    EXPECT_EQ(panel.ChartRect(), (TRect{3 + 4, 4 + 4, 400 - 3 - 4, 250 - 4 - 4}));
}

TEST(Panel, ChartRectNormalised) {
    FillPanel panel;
    panel.resize(20, 20);
    panel.SetMarginUnits(muPixels);
    panel.SetMargin(0, 15);
    panel.SetMargin(2, 15);
    panel.DrawToBitmap(clWhite, panel.PanelRect());
    EXPECT_EQ(panel.ChartRect().Width(), 1);
}

TEST(Panel, EmptyPanelDrawsNothing) {
    FillPanel panel;
    panel.resize(0, 0);
    std::unique_ptr<cb::gfx::TBitmap> bmp;
    EXPECT_NO_THROW(bmp = panel.DrawToBitmap(clWhite, panel.PanelRect()));
    EXPECT_EQ(panel.drawings, 0);
    EXPECT_NO_THROW(panel.ProportionalPrintMargins(0, 0, 1.0));
    EXPECT_NO_THROW(panel.CopyBitmapToClipboard());
}

TEST(Panel, CopiesToClipboard) {
    FillPanel panel;
    panel.CopyBitmapToClipboard();
    const QImage img = QGuiApplication::clipboard()->image();
    ASSERT_EQ(img.width(), 400);
    EXPECT_EQ(Pixel(img, 200, 125), 0x00A000u);
    EXPECT_EQ(Pixel(img, 1, 1), clWhite);
}

TEST(Panel, SavesBitmapFileReadBack) {
    cbtest::TempDir dir;
    FillPanel panel;
    const std::string file = dir.file("chart.bmp");
    panel.SaveBitmapFile(file);
    QImage img(QString::fromStdString(file));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.width(), 400);
    EXPECT_EQ(Pixel(img, 200, 125), 0x00A000u);
}

TEST(Panel, BufferedPaintReusesBuffer) {
    FillPanel panel;
    QImage target(400, 250, QImage::Format_RGB32);
    panel.render(&target);
    EXPECT_EQ(panel.drawings, 1);
    panel.render(&target);
    EXPECT_EQ(panel.drawings, 1);  // a clean buffer is copied, not redrawn
    EXPECT_EQ(Pixel(target, 200, 125), 0x00A000u);
    panel.SetMargin(0, 10);
    panel.render(&target);
    EXPECT_EQ(panel.drawings, 2);
    panel.SetAutoRepaint(false);
    panel.SetMargin(0, 20);
    panel.render(&target);
    EXPECT_EQ(panel.drawings, 2);  // no invalidation while auto repaint is off
}

TEST(Panel, View3DBroadcastsOnlyOnChange) {
    FillPanel panel;
    Counter listener;
    panel.Listeners().Add(&listener);
    panel.SetView3D(true);
    EXPECT_EQ(listener.events, 0);
    panel.SetView3D(false);
    EXPECT_EQ(listener.events, 1);
    panel.RemoveListener(&listener);
    panel.SetView3D(true);
    EXPECT_EQ(listener.events, 1);
}

TEST(Panel, PrintMargins) {
    FillPanel wide;  // 400 x 250
    const TRect m = wide.ProportionalPrintMargins(1000, 1000, 1.0);
    EXPECT_EQ(m.Left, 15);
    EXPECT_EQ(m.Right, 15);
    EXPECT_EQ(m.Top, m.Bottom);
    EXPECT_GT(m.Top, 15);
    FillPanel square;
    square.resize(200, 200);
    const TRect s = square.ProportionalPrintMargins(1000, 1400, 1.0);
    EXPECT_EQ(s.Top, 15);
    EXPECT_EQ(s.Bottom, 15);
    EXPECT_EQ(TCustomPlotPanel::PageRectFromMargins({15, 15, 15, 15}, 1000, 2000, 300, 300),
              (TRect{150, 300, 850, 1700}));
    TRect r{0, 0, 800, 500};
    int ww = 0, wh = 0;
    wide.SetPrintResolution(-100);
    wide.CalcPrintExtents(r, wide.PanelRect(), ww, wh);
    EXPECT_EQ(ww, 800);
    EXPECT_EQ(wh, 500);
    EXPECT_EQ(r, (TRect{0, 0, 800, 500}));
}

TEST(Attributes, ChangeNotificationOnlyOnChange) {
    int changes = 0;
    TPlotGradient g([&] { ++changes; });
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 0);
    g.SetMidColor(clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.MidColor(), clRed);
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(g.MidColor(), clNone);
    g.SetStartColor(clWhite);
    EXPECT_EQ(changes, 2);

    TPlotFont font([&] { ++changes; });
    EXPECT_EQ(font.ShadowIfAny(), nullptr);
    const TPlotShadow& sh = font.Shadow();
    EXPECT_EQ(sh.Color(), clSilver);
    EXPECT_EQ(sh.Size(), 0);
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Color(), clBlack);

    TChartHiddenPen pen;
    EXPECT_FALSE(pen.Visible());
    EXPECT_FALSE(pen.IsVisibleStored());
    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), cb::gfx::psDot);
}

TEST(Attributes, TextWidthAddsShadow) {
    Render r;
    TPlotFont font;
    r.canvas.AssignFont(font);
    const int plain = r.canvas.TextWidth("Cars");
    font.Shadow().SetHorizSize(-3);
    EXPECT_EQ(r.canvas.TextWidth("Cars"), plain + 3);
}

TEST(Attributes, SmoothShadowFadesOutward) {
    Render r;
    TPlotShadow shadow;
    shadow.SetColor(clBlack);
    shadow.SetSize(4);
    r.canvas.DisableRotation();
    PaintShadow(r.canvas, shadow, {20, 20, 60, 60});
    r.canvas.EnableRotation();
    const int first = cb::gfx::GetRValue(r.At(40, 60));
    const int last = cb::gfx::GetRValue(r.At(40, 63));
    EXPECT_LT(first, last);
    EXPECT_LT(last, 255);
    EXPECT_EQ(r.At(40, 64), clWhite);
    EXPECT_NE(r.At(61, 40), clWhite);
    TPlotShadow none;
    Render blank;
    PaintShadow(blank.canvas, none, {20, 20, 60, 60});
    EXPECT_EQ(blank.At(40, 61), clWhite);
}

}  // namespace
