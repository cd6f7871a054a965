#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/KitGIFImage.h"
#include "tests/gif/GifTestSupport.h"

#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace cb::gif;

namespace {

std::string screenRgb(TKitGIFImage& img) {
    const QImage& bmp = img.FrameAt(0).FrameBitmap();
    std::string s;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) {
            const QRgb c = bmp.color(bmp.pixelIndex(x, y));
            s += char(qRed(c));
            s += char(qGreen(c));
            s += char(qBlue(c));
        }
    return s;
}

void read(TKitGIFImage& img, const std::string& bytes, bool decode = true) {
    img.ReadGIF(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), decode);
}

// A 2 x 2 frame of a 2-colour global table, with extensions before it.
std::string gifWith(const std::string& beforeImage, const std::string& afterImage = "", const char* version = "GIF89a",
                    int w = 2, int h = 2) {
    std::string g = version;
    g += std::string("\x02\x00\x02\x00\x80\x00\x00", 7);
    g += std::string("\x00\x00\x00\xff\xff\xff", 6);
    g += beforeImage;
    g += ',';
    g += std::string("\x00\x00\x00\x00", 4);
    g += char(w);
    g += '\0';
    g += char(h);
    g += '\0';
    g += '\0';
    g += std::string("\x02\x02\x44\x01\x00", 5);  // clear, 0, 0 ... end
    g += afterImage;
    g += ';';
    return g;
}

std::string gce(int packed, int delay, int index) {
    return std::string("!\xf9\x04", 3) + char(packed) + char(delay & 255) + char(delay >> 8) + char(index) + '\0';
}

}  // namespace

TEST(KitGif, DecodesLikeGif2Rgb) {
    for (const char* name : {"pil_basic.gif", "pil_interlaced.gif", "lzw_m2_table8.gif", "lzw_256_clears.gif"}) {
        SCOPED_TRACE(name);
        TKitGIFImage img;
        read(img, cbtest::readFile(giftest::Fixture(name)), false);
        ASSERT_EQ(img.FrameCount(), 1);
        EXPECT_FALSE(img.FrameAt(0).HasBitmap());  // decoded on first use
        EXPECT_EQ(screenRgb(img), giftest::Gif2Rgb(giftest::Fixture(name)));
        EXPECT_FALSE(img.Damaged());
    }
}

TEST(KitGif, HeaderAndExtensions) {
    struct Case {
        std::string bytes;
        std::string error;  // empty: loads
    };
    const Case cases[] = {{gifWith("", "", "gif89A"), ""},
                          {gifWith("", "", "GIF88a"), "Unknown GIF version"},
                          {gifWith("!\x42\x00"), "Unrecognized extension block: 42"}};
    for (const Case& c : cases) {
        TKitGIFImage img;
        if (c.error.empty()) {
            EXPECT_NO_THROW(read(img, c.bytes));
        } else {
            try {
                read(img, c.bytes);
                ADD_FAILURE() << "no error";
            } catch (const EInvalidGraphicOperation& e) {
                EXPECT_EQ(e.Message(), c.error);
            }
        }
    }
    // Two graphic controls: the larger delay, the last disposal; index 2 is beyond the table.
    TKitGIFImage img;
    read(img, gifWith(gce(0x04 | 1, 7, 1) + gce(0x08, 3, 0)));
    EXPECT_EQ(img.FrameAt(0).DelayMs, 70);
    EXPECT_EQ(img.FrameAt(0).DisposalCode, 2);
    EXPECT_EQ(img.FrameAt(0).ClearColor, cb::gfx::clNone);
    read(img, gifWith(gce(1, 0, 2)));
    EXPECT_EQ(img.FrameAt(0).ClearColor, cb::gfx::clNone);
    read(img, gifWith(gce(1, 0, 1)));
    EXPECT_EQ(img.FrameAt(0).ClearColor, cb::gfx::TColor(0xFFFFFF));
    EXPECT_EQ(img.FrameAt(0).TransparentIndex, 1);
    // Zero size takes the logical screen.
    read(img, gifWith("", "", "GIF89a", 0, 0));
    EXPECT_EQ(img.FrameAt(0).Item().Width, 2);
    // Loop block: 65535 gives 30000; all 11 identifier bytes must match.
    const std::string loop = std::string("!\xff\x0bNETSCAPE2.0\x03\x01\xff\xff\x00", 19);
    read(img, gifWith(loop));
    EXPECT_TRUE(img.LoopEnabled());
    EXPECT_EQ(img.LoopCount(), 30000);
    std::string wrong = loop;
    wrong[13] = '1';  // "NETSCAPE2.1"
    read(img, gifWith(wrong));
    EXPECT_FALSE(img.LoopEnabled());
    // Plain text drops what was gathered; a trailing comment goes to the image.
    const std::string comment = std::string("!\xfe\x03one\x00", 7);
    const std::string text = std::string("!\x01\x0c", 3) + std::string(12, '\0') + std::string("\x02hi\x00", 4);
    read(img, gifWith(comment + gce(4, 5, 0) + text, std::string("!\xfe\x04last\x00", 8)));
    EXPECT_TRUE(img.FrameAt(0).Extensions().empty());
    EXPECT_EQ(img.Comment(), std::vector<std::string>{"last"});
}

TEST(KitGif, DamageTolerance) {
    const std::string whole = cbtest::readFile(giftest::Fixture("lzw_m3_table5.gif"));
    const std::string cut = whole.substr(0, whole.size() / 2);
    TKitGIFImage::TolerateDamage = true;
    TKitGIFImage img;
    read(img, cut);
    ASSERT_EQ(img.FrameCount(), 1);
    EXPECT_TRUE(img.FrameAt(0).Damaged);
    TKitGIFImage full;
    read(full, whole);
    const QImage& a = full.FrameAt(0).FrameBitmap();
    const QImage& b = img.FrameAt(0).FrameBitmap();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.constScanLine(0)), 50),
              std::string(reinterpret_cast<const char*>(b.constScanLine(0)), 50));
    EXPECT_EQ(b.pixelIndex(49, 39), 0);  // rows not reached stay at index 0
    // A code size byte of 1 is clamped to 2 and marks the frame.
    std::string small = gifWith("");
    small[small.size() - 6] = 1;
    read(img, small);
    EXPECT_TRUE(img.FrameAt(0).Damaged);
    TKitGIFImage::TolerateDamage = false;
    EXPECT_THROW(read(img, cut), EInvalidGraphicOperation);
    EXPECT_THROW(read(img, small), EInvalidGraphicOperation);
    TKitGIFImage::TolerateDamage = true;
}

TEST(KitGif, SizeIsFixed) {
    TKitGIFImage img;
    EXPECT_EQ(img.Width(), 0);
    read(img, gifWith(""));
    img.SetActiveFrame(-1);
    EXPECT_EQ(img.Width(), 0);
    EXPECT_THROW(img.SetWidth(5), EInvalidGraphicOperation);
    EXPECT_THROW(img.SetHeight(5), EInvalidGraphicOperation);
}

TEST(KitGif, WritesCodeStreamsVerbatimAndEncodesBitmaps) {
    const std::string src = cbtest::readFile(giftest::Fixture("anim_o3.gif"));
    TKitGIFImage img;
    read(img, src);
    cb::rtl::TMemoryStream out;
    img.WriteGIF(out, false);
    const std::string file = giftest::FixtureDir() + "/kit_rewritten.gif";
    out.SaveToFile(file);
    // Same frames for an independent reader.
    std::string a, b;
    cbtest::runCommand("/usr/bin/convert " + giftest::Fixture("anim_o3.gif") + " -coalesce rgb:-", &a);
    cbtest::runCommand("/usr/bin/convert " + file + " -coalesce rgb:-", &b);
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b);
    // A built picture: 1-bit pictures start with the clear code 4 in 3 bits.
    QImage mono(9, 5, QImage::Format_Indexed8);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) mono.setPixel(x, y, (x + y) % 2);
    TKitGIFImage built;
    built.AppendFrame(mono);
    const std::string monoFile = giftest::FixtureDir() + "/kit_mono.gif";
    built.SaveToFile(monoFile);
    const std::string bytes = cbtest::readFile(monoFile);
    const std::size_t data = bytes.find(',') + 10;
    EXPECT_EQ(bytes[data], 2);
    EXPECT_EQ(std::uint8_t(bytes[data + 2]) & 7, 4);
    std::string want;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) want += std::string(3, char((x + y) % 2 ? 255 : 0));
    EXPECT_EQ(giftest::Gif2Rgb(monoFile), want);
    // True colour goes through the reducer; alpha keeps an index of its own.
    QImage argb(6, 4, QImage::Format_ARGB32);
    argb.fill(qRgba(0, 0, 0, 255));
    argb.setPixel(2, 2, qRgba(0, 0, 0, 0));
    TKitGIFImage t;
    t.AppendFrame(argb);
    const std::string tFile = giftest::FixtureDir() + "/kit_alpha.gif";
    t.SaveToFile(tFile);
    TKitGIFImage back;
    back.LoadFromFile(tFile);
    const QImage shown = back.FrameAt(0).FrameBitmap().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(shown.pixel(2, 2)), 0);
    EXPECT_EQ(shown.pixel(1, 1), qRgba(0, 0, 0, 255));  // black like the clear colour, still visible
}

TEST(KitGif, SharingCopiesOnWriteAndKeepsHandlers) {
    TKitGIFImage a, b;
    read(a, gifWith(""));
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    b.Assign(a);
    EXPECT_TRUE(b.Equals(a));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(bool(b.OnChange));
    b.MutableComment().push_back("mine");
    EXPECT_TRUE(a.Comment().empty());
    EXPECT_FALSE(b.Equals(a));
}

TEST(KitGif, LengthsAreCheckedAgainstTheData) {
    const std::string g = gifWith("");
    for (std::uint32_t n : {std::uint32_t(g.size()), std::uint32_t(g.size() + 1), 0xFFFFFFF0u}) {
        std::string form(4, '\0');
        for (int i = 0; i < 4; ++i) form[std::size_t(i)] = char(n >> (8 * i));
        form += g;
        cb::rtl::TStringStream s(form);
        QMimeData mime;
        mime.setData(kGIFImageMime, QByteArray(form.data(), qsizetype(form.size())));
        TKitGIFImage img;
        if (n == g.size()) {
            EXPECT_NO_THROW(img.ReadData(s));
            EXPECT_NO_THROW(img.LoadFromMimeData(mime));
            EXPECT_EQ(img.FrameCount(), 1);
        } else {
            EXPECT_THROW(img.ReadData(s), EInvalidGraphicOperation);
            EXPECT_THROW(img.LoadFromMimeData(mime), EInvalidGraphicOperation);
        }
    }
    // Round trip through clipboard data.
    TKitGIFImage img;
    read(img, gifWith(""));
    QMimeData mime;
    img.SaveToMimeData(mime);
    EXPECT_TRUE(mime.hasImage());
    TKitGIFImage back;
    back.LoadFromMimeData(mime);
    EXPECT_EQ(back.FrameCount(), 1);
}

// A picture without pixels says so; "too large" is kept for pictures past
// the pixel cap.
TEST(KitGif, ZeroSizeSaysItHasNoPixels) {
    const auto withScreen = [](int sw, int sh, int w, int h) {
        std::string g = gifWith("", "", "GIF89a", w, h);
        g[6] = char(sw);
        g[8] = char(sh);
        return g;
    };
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"screen and frame 0 x 0", withScreen(0, 0, 0, 0)},
        {"frame 3 x 0 on a 0 x 0 screen", withScreen(0, 0, 3, 0)},
        {"frame 0 x 3 on a 0 x 0 screen", withScreen(0, 0, 0, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TKitGIFImage kit;
        try {
            read(kit, c.bytes);
            kit.FrameAt(0).FrameBitmap();
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_NE(std::string(e.what()).find("no pixels"), std::string::npos) << e.what();
        }
        TGIFImage img;
        cb::rtl::TStringStream s(c.bytes);
        try {
            img.LoadFromStream(s);
            if (img.FrameCount() > 0) img.Bitmap();
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()).find("too large"), std::string::npos) << e.what();
        }
    }
}
