#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "tests/gif/GifTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace cb::gif;

namespace {

// The frame drawn opaquely on a screen of the image's size, as RGB bytes
// (what gif2rgb writes for a one-frame file).
std::string frameRgb(TGIFImage& img, int index) {
    const TGIFSubImage& f = img.Frame(index);
    const TGIFColorMap& map = f.ActiveColorMap();
    std::string rgb(std::size_t(f.Width()) * f.Height() * 3, '\0');
    for (int y = 0; y < f.Height(); ++y)
        for (int x = 0; x < f.Width(); ++x) {
            const int p = f.Pixel(x, y);
            const TGIFColor e = p < map.Count() ? map.Entry(p) : TGIFColor{0, 0, 0};
            for (int c = 0; c < 3; ++c) rgb[(std::size_t(y) * f.Width() + x) * 3 + c] = char(e[std::size_t(c)]);
        }
    return rgb;
}

std::vector<std::string> load(TGIFImage& img, const std::string& file) {
    std::vector<std::string> warnings;
    img.OnBlockWarning = [&](const void*, int, const std::string& m) { warnings.push_back(m); };
    img.LoadFromFile(file);
    return warnings;
}

}  // namespace

TEST(GifRead, MatchesGif2RgbAndPil) {
    const std::vector<std::string> names{"pil_basic.gif",     "pil_interlaced.gif", "one_pixel.gif",
                                         "transparent.gif",   "lzw_m2_table8.gif",  "lzw_m3_table5.gif",
                                         "lzw_256_clears.gif"};
    std::vector<std::string> files;
    for (const std::string& n : names) files.push_back(giftest::Fixture(n));
    const std::vector<std::string> pil = giftest::PilRgbAll(files);
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        TGIFImage img;
        EXPECT_TRUE(load(img, files[i]).empty());
        ASSERT_EQ(img.FrameCount(), 1);
        const std::string ours = frameRgb(img, 0);
        EXPECT_EQ(ours, giftest::Gif2Rgb(files[i]));
        if (names[i] != "transparent.gif") {
            EXPECT_EQ(ours, pil[i]);
        }
    }
}

TEST(GifRead, SubRectanglesOfAnOptimisedAnimation) {
    const std::string file = giftest::Fixture("anim_o3.gif");
    TGIFImage img;
    EXPECT_TRUE(load(img, file).empty());
    ASSERT_EQ(img.FrameCount(), 6);
    ASSERT_EQ(cbtest::runCommand("cd " + giftest::FixtureDir() + " && /usr/bin/gifsicle -e anim_o3.gif -o part"), 0);
    bool sawSubRect = false;
    for (int i = 0; i < img.FrameCount(); ++i) {
        const TGIFSubImage& f = img.Frame(i);
        sawSubRect |= f.Width() < img.Width();
        char part[32];
        std::snprintf(part, sizeof part, "/part.%03d", i);
        const std::string screen = giftest::Gif2Rgb(giftest::FixtureDir() + part);
        ASSERT_EQ(screen.size(), std::size_t(img.Width()) * img.Height() * 3);
        const std::string ours = frameRgb(img, i);
        for (int y = 0; y < f.Height(); ++y)
            ASSERT_EQ(
                ours.substr(std::size_t(y) * f.Width() * 3, std::size_t(f.Width()) * 3),
                screen.substr((std::size_t(y + f.Top()) * img.Width() + f.Left()) * 3, std::size_t(f.Width()) * 3))
                << "frame " << i << " row " << y;
    }
    EXPECT_TRUE(sawSubRect);
}

TEST(GifRead, TransparentIndexIsDrawnWithAlphaOnly) {
    TGIFImage img;
    load(img, giftest::Fixture("transparent.gif"));
    TGIFSubImage& f = img.Frame(0);
    ASSERT_TRUE(f.Transparent());
    const QImage& bmp = f.Bitmap();
    const QImage argb = bmp.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < f.Height(); ++y)
        for (int x = 0; x < f.Width(); ++x) {
            const int p = f.Pixel(x, y);
            EXPECT_EQ(qAlpha(argb.pixel(x, y)), p == 3 ? 0 : 255) << x << "," << y;
        }
    // Index 5 has the transparent entry's colour and stays visible.
    EXPECT_EQ(f.ActiveColorMap().ColorAt(5), f.ActiveColorMap().ColorAt(3));
}

TEST(GifRead, TruncatedDataKeepsTheRowsItHas) {
    TGIFImage whole, cut;
    load(whole, giftest::Fixture("lzw_m3_table5.gif"));
    const auto warnings = load(cut, giftest::Fixture("truncated.gif"));
    ASSERT_EQ(cut.FrameCount(), 1);
    EXPECT_EQ(warnings, std::vector<std::string>{"Premature end of data"});
    const auto& a = whole.Frame(0).Pixels();
    const auto& b = cut.Frame(0).Pixels();
    std::size_t same = 0;
    while (same < a.size() && a[same] == b[same]) ++same;
    EXPECT_GT(same, a.size() / 4);
    EXPECT_LT(same, a.size());
}

TEST(GifRead, SignatureAndTrailer) {
    const std::string good = cbtest::readFile(giftest::Fixture("one_pixel.gif"));
    struct Case {
        std::string bytes;
        bool loads;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {"abcd" + good, true, {}},
        {"abcde" + good, false, {}},
        {good.substr(0, good.size() - 1), true, {}},
        {good.substr(0, good.size() - 1) + "x", true, {"Invalid Image trailer"}},
    };
    for (const Case& c : cases) {
        TGIFImage img;
        std::vector<std::string> warnings;
        img.OnBlockWarning = [&](const void*, int, const std::string& m) { warnings.push_back(m); };
        cb::rtl::TStringStream s(c.bytes);
        if (c.loads) {
            EXPECT_NO_THROW(img.LoadFromStream(s));
            EXPECT_EQ(img.FrameCount(), 1);
            EXPECT_EQ(warnings, c.warnings);
        } else {
            EXPECT_THROW(img.LoadFromStream(s), GIFException);
            EXPECT_EQ(s.Position(), 0);
        }
    }
}

TEST(GifRead, HugeLogicalFrameFromATinyFileIsRefused) {
    // A 65535 x 65535 frame in 40 bytes.
    std::string g("GIF89a\xff\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00\xff\xff\xff\xff\x00\x02\x02\x4c\x01\x00;", 29);
    cb::rtl::TStringStream s(g);
    TGIFImage img;
    EXPECT_THROW(img.LoadFromStream(s), GIFException);
}
