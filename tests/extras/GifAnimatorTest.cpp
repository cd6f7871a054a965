#include "extras/KitGIFAnimator.h"
#include "gif/KitGIFImage.h"
#include "tests/common/TestSupport.h"
#include "tests/gif/GifTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

using namespace cb::extras;

namespace {

const std::string& fixtureDir() {
    return giftest::FixtureDir();
}

// ImageMagick's coalesced frames, RGBA.
std::vector<QImage> coalesced(const std::string& file, int w, int h) {
    std::string raw;
    EXPECT_EQ(cbtest::runCommand("/usr/bin/convert " + file + " -coalesce -depth 8 rgba:-", &raw), 0);
    std::vector<QImage> frames;
    const std::size_t size = std::size_t(w) * h * 4;
    for (std::size_t at = 0; at + size <= raw.size(); at += size) {
        QImage img(w, h, QImage::Format_ARGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto* p = reinterpret_cast<const std::uint8_t*>(raw.data() + at + (std::size_t(y) * w + x) * 4);
                img.setPixel(x, y, qRgba(p[0], p[1], p[2], p[3]));
            }
        frames.push_back(img);
    }
    return frames;
}

void expectSame(const QImage& ours, const QImage& theirs, const std::string& what) {
    ASSERT_EQ(ours.size(), theirs.size()) << what;
    int bad = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
            const bool same = qAlpha(b) == 0 ? qAlpha(a) == 0 : a == b;
            if (!same && bad++ < 3)
                ADD_FAILURE() << what << " at " << x << "," << y << std::hex << " ours " << a << " theirs " << b;
        }
}

}  // namespace

TEST(GifAnimator, FramesMatchImageMagickCoalesced) {
    for (const char* name : {"anim_o3.gif", "anim_bg.gif", "anim_full.gif", "anim_restore.gif"}) {
        const std::string file = fixtureDir() + "/" + name;
        QWidget parent;
        TKitGIFAnimator anim(&parent);
        anim.Image().LoadFromFile(file);
        const int w = anim.Image().CanvasWidth(), h = anim.Image().CanvasHeight();
        const auto want = coalesced(file, w, h);
        ASSERT_EQ(int(want.size()), anim.Image().FrameCount()) << name;
        // In order (reusing the last picture), then backwards (composing afresh).
        for (int i = 0; i < int(want.size()); ++i)
            expectSame(anim.ComposeFrame(i), want[std::size_t(i)], std::string(name) + " frame " + std::to_string(i));
        for (int i = int(want.size()) - 1; i >= 0; --i)
            expectSame(anim.ComposeFrame(i), want[std::size_t(i)], std::string(name) + " jump " + std::to_string(i));
    }
}

TEST(GifAnimator, TicksDelaysAndLoop) {
    QWidget parent;
    TKitGIFAnimator anim(&parent);
    parent.show();
    anim.SetFrameIndex(3);  // before the image: ignored
    EXPECT_EQ(anim.FrameIndex(), 0);
    anim.Image().LoadFromFile(fixtureDir() + "/anim_restore.gif");
    EXPECT_EQ(anim.FrameIndex(), 0);
    EXPECT_EQ(anim.width(), 24);  // AutoSize
    // Delays of 50 ms (5 hundredths) stay; the timer takes frame 0's.
    EXPECT_EQ(anim.FrameDelay(0), 50);
    EXPECT_EQ(anim.FrameDelay(9), 0);
    EXPECT_EQ(anim.Timer().Interval(), 50u);
    int changes = 0, stops = 0;
    anim.OnFrameChanged = [&] { ++changes; };
    anim.OnStop = [&] { ++stops; };
    anim.SetLoop(false);
    anim.SetKitAnimate(true);
    EXPECT_TRUE(anim.Timer().Active());
    std::vector<int> seen;
    for (int i = 0; i < 4 && anim.KitAnimate(); ++i) {
        anim.Timer().FireNowForTest();
        seen.push_back(anim.FrameIndex());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0}));
    EXPECT_FALSE(anim.KitAnimate());
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(changes, 4);
    EXPECT_FALSE(anim.Timer().Active());
}

TEST(GifAnimator, OneFrameImageDoesNotTick) {
    QWidget parent;
    TKitGIFAnimator anim(&parent);
    parent.show();
    anim.Image().LoadFromFile(fixtureDir() + "/pil_basic.gif");
    EXPECT_EQ(anim.FrameDelay(0), 0);
    anim.SetKitAnimate(true);
    EXPECT_FALSE(anim.Timer().Active());  // interval 0
    anim.TimerTick();
    EXPECT_EQ(anim.FrameIndex(), 0);
}

TEST(GifAnimator, AFailingFrameIsReportedOnce) {
    const std::string whole = cbtest::readFile(fixtureDir() + "/anim_restore.gif");
    cb::gif::TKitGIFImage::TolerateDamage = false;
    QWidget parent;
    TKitGIFAnimator anim(&parent);
    // Damage frame 3's code size byte.
    std::string bad = whole;
    const std::size_t lastImage = bad.rfind(',');
    bad[lastImage + 10] = 12;
    anim.Image().ReadGIF(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size(), false);
    std::vector<int> reports;
    anim.OnFrameError = [&](int frame, const std::string&) { reports.push_back(frame); };
    anim.resize(24, 16);
    parent.show();
    anim.SetFrameIndex(3);
    for (int i = 0; i < 3; ++i) anim.grab();
    cb::gif::TKitGIFImage::TolerateDamage = true;
    EXPECT_EQ(reports, std::vector<int>{3});
}

TEST(GifAnimator, TransparentPixelsShowTheParent) {
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(250, 0, 250));
    parent.setPalette(pal);
    parent.resize(40, 40);
    TKitGIFAnimator anim(&parent);
    anim.Image().LoadFromFile(fixtureDir() + "/transparent.gif");
    const QImage shot = parent.grab().toImage();
    const auto& f = anim.Image().FrameAt(0);
    ASSERT_EQ(f.TransparentIndex, 3);
    const QImage& bmp = anim.Image().FrameAt(0).FrameBitmap();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool clear = bmp.pixelIndex(x, y) == 3;
            const QRgb c = shot.pixel(x, y);
            if (clear)
                EXPECT_EQ(c, qRgb(250, 0, 250)) << x << "," << y;
            else
                EXPECT_EQ(c, bmp.color(bmp.pixelIndex(x, y)) | 0xFF000000u) << x << "," << y;
        }
}

TEST(GifAnimator, DestroyedWhileAnimating) {
    QWidget parent;
    parent.show();
    auto anim = std::make_unique<TKitGIFAnimator>(&parent);
    anim->Image().LoadFromFile(fixtureDir() + "/anim_restore.gif");
    anim->SetKitAnimate(true);
    ASSERT_TRUE(anim->Timer().Active());
    int stops = 0;
    anim->OnStop = [&] { ++stops; };
    anim.reset();
    QCoreApplication::processEvents();
    QTest::qWait(80);     // a pending timer event would reach freed parts here
    EXPECT_EQ(stops, 0);  // events are cleared first
}
