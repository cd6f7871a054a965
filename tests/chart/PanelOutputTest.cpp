// Panel output to metafiles, the check glyph, the legacy border property,
// the double click, cursors and the gallery pictures.
#include "ChartTestSupport.h"

#include "chart/canvas/Metafile.h"
#include "chart/core/PlotHelpers.h"
#include "chart/core/PlotResources.h"
#include "chart/panel/CustomPlotPanel.h"
#include "chart/panel/PlotEvents.h"
#include "platform/rtl/Exception.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPixmap>

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/common/TestSupport.h"

using namespace charttest;

namespace {

constexpr TColor kChart = 0x00A000;

TColor PixelOf(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
}

// Fills its chart rectangle and notes how it was drawn.
class OutputPanel : public TCustomPlotPanel {
public:
    OutputPanel() { SetBevelOuter(bvNone); }
    void DrawContents(const TRect&) override {
        sawMetafiling = Canvas()->Metafiling();
        sawClipping = ClippingAllowed();
        if (fail) throw std::runtime_error("drawing failed");
        Canvas()->Brush().SetColor(kChart);
        Canvas()->Brush().SetStyle(cb::gfx::bsSolid);
        Canvas()->FillRectangle(ChartRect());
    }
    bool sawMetafiling = false;
    bool sawClipping = false;
    bool fail = false;
};

// The metafile replayed at its own size on white.
QImage Replay(const TMetafile& m) {
    cb::gfx::TBitmap bmp(m.Width(), m.Height());
    bmp.Canvas().StretchDraw({0, 0, m.Width(), m.Height()}, m);
    bmp.Canvas().ReleasePainter();
    return bmp.Image();
}

TEST(Metafile, RecordsThePanelAndReplays) {
    OutputPanel panel;  // 400 x 250, chart rectangle (12, 10, 388, 240)
    auto meta = panel.DrawToMetafile(true, panel.PanelRect());
    ASSERT_EQ(meta->Width(), 400);
    ASSERT_EQ(meta->Height(), 250);
    EXPECT_TRUE(meta->Enhanced());
    EXPECT_TRUE(panel.sawMetafiling);
    EXPECT_FALSE(panel.Canvas()->Metafiling());
    EXPECT_TRUE(panel.GetBuffered());
    QImage img = Replay(*meta);
    EXPECT_EQ(PixelOf(img, 200, 125), kChart);
    EXPECT_EQ(PixelOf(img, 12, 10), kChart);
    EXPECT_EQ(PixelOf(img, 11, 100), clWhite);
    EXPECT_EQ(PixelOf(img, 388, 100), clWhite);

    // Clipping follows the metafiling option.
    PlotPanelOptions().ClipWhenMetafiling = false;
    panel.DrawToMetafile(false, panel.PanelRect());
    PlotPanelOptions().ClipWhenMetafiling = true;
    EXPECT_FALSE(panel.sawClipping);

    // A rectangle away from the origin: its top-left becomes the origin.
    auto part = panel.DrawToMetafile(false, {100, 50, 300, 200});
    ASSERT_EQ(part->Width(), 200);
    EXPECT_FALSE(part->Enhanced());
    img = Replay(*part);
    EXPECT_EQ(PixelOf(img, 100, 75), kChart);  // chart rectangle (6, 6, 194, 144)
    EXPECT_EQ(PixelOf(img, 3, 3), clWhite);
    EXPECT_EQ(PixelOf(img, 196, 146), clWhite);

    // Saved and read back.
    cbtest::TempDir dir;
    meta->SaveToFile(dir.file("chart.pic"));
    TMetafile loaded;
    loaded.LoadFromFile(dir.file("chart.pic"));
    EXPECT_EQ(PixelOf(Replay(loaded), 200, 125), kChart);
    EXPECT_THROW(loaded.LoadFromFile(dir.file("missing.pic")), cb::rtl::EInOutError);
}

TEST(Metafile, EmptyRectangleAndFailure) {
    OutputPanel panel;
    auto meta = panel.DrawToMetafile(true, {10, 10, 10, 10});
    EXPECT_EQ(meta->Width(), 1);
    EXPECT_EQ(meta->Height(), 1);
    EXPECT_FALSE(panel.sawMetafiling);  // nothing was drawn

    panel.fail = true;
    EXPECT_THROW(panel.DrawToMetafile(true, panel.PanelRect()), std::runtime_error);
    EXPECT_FALSE(panel.Canvas()->Metafiling());
    EXPECT_TRUE(panel.GetBuffered());
    EXPECT_TRUE(panel.AutoRepaint());
}

TEST(Panel, AssignToBitmapUsesPanelColour) {
    OutputPanel panel;
    panel.SetColor(clSilver);
    cb::gfx::TBitmap bmp;
    panel.AssignTo(bmp);
    ASSERT_EQ(bmp.Width(), 400);
    EXPECT_EQ(PixelOf(bmp.Image(), 2, 2), clSilver);
    EXPECT_EQ(PixelOf(bmp.Image(), 200, 125), kChart);
}

TEST(Panel, LegacyBorderStyle) {
    const struct {
        const char* value;
        bool visible;
    } cases[] = {{"bsNone", false}, {"bsSingle", true}, {"bsNone", false}};
    OutputPanel panel;
    for (const auto& c : cases) {
        EXPECT_TRUE(panel.ReadLegacyProperty("BorderStyle", c.value));
        EXPECT_EQ(panel.Border().Visible(), c.visible) << c.value;
    }
    EXPECT_FALSE(panel.ReadLegacyProperty("Caption", "x"));
}

struct MouseDowns : TPlotEventListener {
    std::vector<unsigned> shifts;
    void HandleEvent(TPlotEvent& e) override {
        if (auto* m = dynamic_cast<TPlotMouseEvent*>(&e); m && m->Kind == meDown) shifts.push_back(m->Shift);
    }
};

TEST(Panel, CancelledDoubleClickEndsQuietly) {
    for (const bool cancel : {false, true}) {
        OutputPanel panel;
        MouseDowns downs;
        panel.Listeners().Add(&downs);
        int clicks = 0;
        panel.OnDblClick = [&] {
            ++clicks;
            if (cancel) panel.SetCancelMouse(true);
        };
        panel.SetCancelMouse(true);  // left over from an earlier event
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(20, 30), QPointF(20, 30), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &dbl);
        EXPECT_EQ(clicks, 1);
        if (cancel) {
            EXPECT_TRUE(downs.shifts.empty());
        } else {
            ASSERT_EQ(downs.shifts.size(), 1u);
            EXPECT_TRUE(downs.shifts[0] & ssDouble);
        }
    }
}

TEST(Panel, LoadingDefersTheRoundRegionAndTakesTheCursor) {
    QWidget parent;
    parent.resize(400, 250);
    auto* panel = new OutputPanel;
    panel->setParent(&parent);
    panel->resize(400, 250);
    panel->BeginLoading();
    panel->SetBorderRound(40);
    EXPECT_TRUE(panel->mask().isEmpty());
    panel->setCursor(Qt::CrossCursor);
    panel->Loaded();
    EXPECT_FALSE(panel->Loading());
    EXPECT_FALSE(panel->mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(panel->mask().contains(QPoint(200, 125)));

    // Leaving restores the cursor taken after loading.
    panel->setCursor(ScreenCursor(crPlotHand));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(panel, &leave);
    EXPECT_EQ(panel->cursor().shape(), Qt::CrossCursor);
    panel->SetBorderRound(0);
    EXPECT_TRUE(panel->mask().isEmpty());
}

TEST(Cursors, HandIsOursUntilRemoved) {
    const QCursor hand = ScreenCursor(crPlotHand);
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    const QImage img = hand.pixmap().toImage();
    ASSERT_EQ(img.width(), 32);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);               // transparent corner
    EXPECT_EQ(img.pixel(15, 20) & 0xFFFFFF, 0xFFFFFFu);  // white palm
    EXPECT_GT(qAlpha(img.pixel(hand.hotSpot().x(), hand.hotSpot().y() + 1)), 0);
    EXPECT_EQ(ScreenCursor(crCross).shape(), Qt::CrossCursor);

    RemoveScreenCursor(crPlotHand);
    EXPECT_FALSE(HasScreenCursor(crPlotHand));
    EXPECT_EQ(ScreenCursor(crPlotHand).shape(), Qt::ArrowCursor);
    SetScreenCursor(crPlotHand, hand);
    EXPECT_EQ(ScreenCursor(crPlotHand).shape(), Qt::BitmapCursor);
}

// --- check glyph ---

TEST(Glyphs, CheckGlyphStaysInItsSquareAndShowsTheTick) {
    auto draw = [](bool ticked, bool box) {
        cb::gfx::TBitmap bmp(30, 30);
        DrawCheckGlyph(8, 6, bmp.Canvas(), ticked, box);
        bmp.Canvas().ReleasePainter();
        return bmp.Image().copy();
    };
    const QImage off = draw(false, true), on = draw(true, true);
    const QImage radioOff = draw(false, false), radioOn = draw(true, false);
    auto differences = [](const QImage& a, const QImage& b) {
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    EXPECT_GT(differences(off, on), 0);
    EXPECT_GT(differences(radioOff, radioOn), 0);
    EXPECT_GT(differences(on, radioOn), 0);
    for (const QImage* img : {&off, &on, &radioOff, &radioOn}) {
        int inside = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                const bool in = x >= 8 && x < 8 + CheckGlyphSize && y >= 6 && y < 6 + CheckGlyphSize;
                const bool white = PixelOf(*img, x, y) == clWhite;
                if (!in)
                    EXPECT_TRUE(white) << x << ", " << y;
                else
                    inside += !white;
            }
        EXPECT_GT(inside, 0);
    }
}

// --- gallery pictures ---

bool Blank(const cb::gfx::TBitmap& b) {
    const QImage& img = b.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
    return true;
}

TEST(Resources, EveryEngineClassHasItsOwnPicture) {
    const char* names[] = {"TLineSeries",      "THorizLineSeries",     "TPointSeries",    "TAreaSeries",
                           "THorizAreaSeries", "TBarSeries",           "THorizBarSeries", "TPieSeries",
                           "TFastLineSeries",  "TChartShape",          "TGanttSeries",    "TBubbleSeries",
                           "TArrowSeries",     "TPyramidSeries",       "TCursorTool",     "TDragMarksTool",
                           "TAxisArrowTool",   "TDrawLineTool",        "TNearestTool",    "TColorBandTool",
                           "TColorLineTool",   "TRotateTool",          "TChartImageTool", "TMarksTipTool",
                           "TAnnotationTool",  "TSeriesAnimationTool", "TGridBandTool",   "TAxisScrollTool",
                           "TRectangleTool",   "TClipSeriesTool",      "TExtraLegendTool"};
    std::vector<QImage> seen;
    for (const char* name : names) {
        cb::gfx::TBitmap bmp;
        ASSERT_TRUE(LoadSeriesClassBitmap(name, "", bmp)) << name;
        EXPECT_EQ(bmp.Width(), GalleryBitmapSize) << name;
        EXPECT_FALSE(Blank(bmp)) << name;
        for (const QImage& other : seen) EXPECT_NE(other, bmp.Image()) << name << " looks like another class";
        seen.push_back(bmp.Image().copy());
    }
}

TEST(Resources, ModulesAreWalkedInOrder) {
    cbtest::TempDir dir;
    cb::gfx::TBitmap own(2, 2, cb::gfx::pf24bit);
    own.Canvas().SetPixel(0, 0, 0x0000FF);
    own.Canvas().ReleasePainter();
    own.SaveToFile(dir.file("TMYSERIES.bmp"));
    own.SaveToFile(dir.file("TBARSERIES.bmp"));

    int failing = 0;
    const int broken = RegisterBitmapResourceModule([&](const std::string&, cb::gfx::TBitmap&) -> bool {
        ++failing;
        throw std::runtime_error("cannot load");
    });
    const int folder = RegisterBitmapResourceModule(BitmapFolderModule(dir.path().string()));

    cb::gfx::TBitmap bmp;
    // Unknown class, known parent: the parent's picture from the engine.
    EXPECT_TRUE(LoadSeriesClassBitmap("TMyBarSeries", "TBarSeries", bmp));
    EXPECT_EQ(bmp.Width(), GalleryBitmapSize);
    // The engine's module comes first, so the folder's TBARSERIES is not used.
    EXPECT_TRUE(LoadSeriesClassBitmap("TBarSeries", "", bmp));
    EXPECT_EQ(bmp.Width(), GalleryBitmapSize);
    // A failing module is passed over.
    EXPECT_TRUE(LoadBitmapResource(bmp, "TMYSERIES", "TCUSTOMSERIES"));
    EXPECT_GT(failing, 0);
    ASSERT_EQ(bmp.Width(), 2);
    EXPECT_EQ(PixelOf(bmp.Image(), 0, 0), TColor(0x0000FF));

    // Neither name anywhere: the bitmap stays as it was.
    cb::gfx::TBitmap kept(3, 3);
    EXPECT_FALSE(LoadBitmapResource(kept, "TNOSUCH", "TNOPARENT"));
    EXPECT_EQ(kept.Width(), 3);

    UnregisterBitmapResourceModule(broken);
    UnregisterBitmapResourceModule(folder);
    EXPECT_FALSE(LoadBitmapResource(kept, "TMYSERIES", ""));
}

}  // namespace
