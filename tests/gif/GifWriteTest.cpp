#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFPictureFormats.h"
#include "gif/GIFReduction.h"
#include "gif/KitGIFImage.h"
#include "tests/gif/GifTestSupport.h"

#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace cb::gif;

namespace {

QImage picture(int w, int h, int colours) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int k = (x * 7 + y * 13) % colours;
            img.setPixel(x, y, qRgb((k * 37) % 256, (k * 11) % 256, k % 256));
        }
    return img;
}

std::string rgbBytes(const QImage& img) {
    std::string s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            s += char(qRed(c));
            s += char(qGreen(c));
            s += char(qBlue(c));
        }
    return s;
}

std::string save(TGIFImage& gif, const std::string& name) {
    const std::string file = giftest::FixtureDir() + "/" + name;
    gif.SaveToFile(file);
    return file;
}

}  // namespace

TEST(GifWrite, ChartPictureOfAtMost256ColoursKeepsItsColours) {
    const QImage chart = picture(120, 70, 200);
    for (TGIFCompressionMethod method : {cmLZW, cmRLE}) {
        TGIFImage gif;
        gif.ReductionKind = rkNone;
        gif.CompressionMethod = method;
        gif.AddFrame(chart);
        const std::string file = save(gif, method == cmLZW ? "chart_lzw.gif" : "chart_rle.gif");
        const std::string bytes = cbtest::readFile(file);
        EXPECT_EQ(bytes.substr(0, 6), "GIF87a");
        EXPECT_EQ(std::uint8_t(bytes[10]) & 0x80, 0);  // no global table
        EXPECT_EQ(bytes.back(), ';');
        EXPECT_EQ(gif.Frame(0).ColorMap().Count(), 200);
        EXPECT_EQ(gif.Frame(0).ColorMap().ColorAt(0), cb::gfx::TColor(0));  // first colour met
        EXPECT_EQ(giftest::Gif2Rgb(file), rgbBytes(chart));
        EXPECT_EQ(giftest::PilRgb(file), rgbBytes(chart));
    }
}

TEST(GifWrite, MoreThan256ColoursAreQuantisedNotRefused) {
    const QImage chart = picture(90, 60, 257);
    for (TGIFDitherKind dither : {dkNearest, dkFloydSteinberg}) {
        TGIFImage gif;
        gif.ReductionKind = rkNone;
        gif.DitherKind = dither;
        ASSERT_NO_THROW(gif.AddFrame(chart));
        const TGIFSubImage& f = gif.Frame(0);
        EXPECT_LE(f.ColorMap().Count(), 256);
        const std::string file = save(gif, "chart257.gif");
        EXPECT_GT(cbtest::readFile(file).size(), 100u);
        const std::string ours = giftest::Gif2Rgb(file);
        ASSERT_EQ(ours.size(), std::size_t(90) * 60 * 3);
        // Close to the source everywhere.
        const std::string want = rgbBytes(chart);
        long long diff = 0;
        for (std::size_t i = 0; i < ours.size(); ++i)
            diff += std::abs(int(std::uint8_t(ours[i])) - int(std::uint8_t(want[i])));
        EXPECT_LT(double(diff) / double(ours.size()), 8.0);
    }
    // The colour table itself still refuses a 257th colour.
    TGIFImage gif;
    gif.AddFrame(picture(16, 16, 256));
    EXPECT_THROW(gif.Frame(0).ColorMap().AppendColor(0x123456), GIFException);
}

TEST(GifWrite, AlphaBecomesATransparentIndexAndGif89a) {
    QImage img(10, 6, QImage::Format_ARGB32);
    img.fill(qRgba(10, 20, 30, 255));
    for (int x = 0; x < 10; x += 2) img.setPixel(x, 2, qRgba(0, 0, 0, 0));
    img.setPixel(1, 1, qRgba(0, 0, 0, 255));  // opaque black stays black and visible
    TGIFImage gif;
    gif.ReductionKind = rkNone;
    gif.AddFrame(img);
    const std::string file = save(gif, "alpha.gif");
    EXPECT_EQ(cbtest::readFile(file).substr(0, 6), "GIF89a");
    TGIFImage back;
    back.LoadFromFile(file);
    TGIFSubImage& f = back.Frame(0);
    ASSERT_TRUE(f.Transparent());
    const QImage argb = f.Bitmap().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(argb.pixel(0, 2)), 0);
    EXPECT_EQ(argb.pixel(1, 1), qRgba(0, 0, 0, 255));
    EXPECT_EQ(argb.pixel(1, 2), qRgba(10, 20, 30, 255));
}

TEST(GifWrite, EveryReductionAndDithererStaysInItsPalette) {
    QImage src(37, 21, QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) src.setPixel(x, y, qRgb(x * 7, y * 12, (x * y) % 256));
    for (int kind = rkWindows20; kind <= rkQuantize256; ++kind)
        for (int dither = dkNearest; dither <= dkBurkes; ++dither) {
            SCOPED_TRACE(std::to_string(kind) + "/" + std::to_string(dither));
            TGIFImage gif;
            gif.ReductionKind = TGIFReductionKind(kind);
            gif.DitherKind = TGIFDitherKind(dither);
            gif.QuantizeBits = 4;
            gif.AddFrame(src);
            const TGIFSubImage& f = gif.Frame(0);
            const std::vector<TGIFColor> palette = ReductionPalette(TGIFReductionKind(kind), src, 4, {});
            for (std::uint8_t p : f.Pixels()) {
                ASSERT_LT(p, f.ColorMap().Count());
                ASSERT_LT(std::size_t(p), palette.size());
            }
        }
}

TEST(GifWrite, ReductionEdgeCases) {
    QImage grey(2, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, qRgb(127, 127, 127));
    grey.setPixel(1, 0, qRgb(128, 128, 128));
    QImage mono = Reduce(grey, rkMonochrome, dkNearest, 8);
    EXPECT_EQ(mono.pixelIndex(0, 0), 0);
    EXPECT_EQ(mono.pixelIndex(1, 0), 1);
    grey.setPixel(0, 0, qRgb(47, 47, 47));
    grey.setPixel(1, 0, qRgb(48, 48, 48));
    QImage cube = Reduce(grey, rkNetscape, dkNearest, 8);
    EXPECT_EQ(cube.pixelIndex(0, 0), 0);
    EXPECT_EQ(cube.pixelIndex(1, 0), 43);
    EXPECT_TRUE(Reduce(grey, TGIFReductionKind(10), dkNearest, 8).isNull());
    EXPECT_EQ(Reduce(grey, rkNone, dkStucki, 8).format(), QImage::Format_RGB32);
    // Mid grey through Floyd-Steinberg alternates; the plain engine makes it white.
    QImage mid(8, 1, QImage::Format_RGB32);
    mid.fill(qRgb(128, 128, 128));
    const QImage fs = Reduce(mid, rkMonochrome, dkFloydSteinberg, 8);
    const QImage plain = Reduce(mid, rkMonochrome, dkNearest, 8);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(plain.pixelIndex(x, 0), 1);
        if (x > 0) {
            EXPECT_NE(fs.pixelIndex(x, 0), fs.pixelIndex(x - 1, 0)) << x;
        }
    }
    // Octree with 2 bits on three colours gives those colours exactly.
    QImage three(3, 1, QImage::Format_RGB32);
    three.setPixel(0, 0, qRgb(200, 10, 10));
    three.setPixel(1, 0, qRgb(10, 200, 10));
    three.setPixel(2, 0, qRgb(10, 10, 200));
    const auto p = ReductionPalette(rkQuantize, three, 2, {});
    ASSERT_EQ(p.size(), 4u);
    std::vector<TGIFColor> firstThree(p.begin(), p.begin() + 3);
    std::sort(firstThree.begin(), firstThree.end());
    EXPECT_EQ(firstThree, (std::vector<TGIFColor>{{10, 10, 200}, {10, 200, 10}, {200, 10, 10}}));
}

TEST(GifWrite, AnimationRoundTripThroughGifsicle) {
    TGIFImage gif;
    gif.ReductionKind = rkNone;
    for (int i = 0; i < 3; ++i) gif.AddFrame(picture(30, 20, 10 + i));
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&gif.Frame(0));
    loop->Loops = 3;
    gif.Frame(0).Extensions().insert(gif.Frame(0).Extensions().begin(), std::move(loop));
    auto* gce = static_cast<TGIFGraphicControlExtension*>(
        gif.Frame(1).AddExtension(std::make_unique<TGIFGraphicControlExtension>(&gif.Frame(1))));
    gce->SetDelay(25);
    gce->SetDisposal(2);
    auto* c = static_cast<TGIFCommentExtension*>(
        gif.Frame(2).AddExtension(std::make_unique<TGIFCommentExtension>(&gif.Frame(2))));
    c->Text = {std::string(300, 'x'), "", "end"};
    const std::string file = save(gif, "anim_ours.gif");
    std::string info;
    ASSERT_EQ(cbtest::runCommand("/usr/bin/gifsicle --info " + file, &info), 0);
    EXPECT_NE(info.find("3 images"), std::string::npos) << info;
    EXPECT_NE(info.find("loop count 3"), std::string::npos) << info;
    EXPECT_NE(info.find("delay 0.25s"), std::string::npos) << info;
    EXPECT_NE(info.find("disposal background"), std::string::npos) << info;
    TGIFImage back;
    back.LoadFromFile(file);
    ASSERT_EQ(back.FrameCount(), 3);
    const auto* comment = dynamic_cast<TGIFCommentExtension*>(back.Frame(2).Extensions()[0].get());
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->Text, (std::vector<std::string>{std::string(255, 'x'), std::string(45, 'x'), "end"}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(back.Frame(i).Pixels(), gif.Frame(i).Pixels());
    // Extensions after the last image survive as an empty frame.
    std::string bytes = cbtest::readFile(file);
    bytes.insert(bytes.size() - 1, std::string("!\xfe\x02hi\x00", 6));
    cb::rtl::TStringStream in(bytes);
    TGIFImage tail;
    tail.LoadFromStream(in);
    ASSERT_EQ(tail.FrameCount(), 4);
    EXPECT_TRUE(tail.Frame(3).Empty());
    cb::rtl::TMemoryStream out;
    tail.SaveToStream(out);
    EXPECT_NE(out.View().find(std::string("!\xfe\x02hi\x00", 6)), std::string::npos);
}

TEST(GifWrite, LoopBlockBytesAndAnEmptyImage) {
    TGIFSubImage frame(nullptr);
    TGIFAppExtNSLoop loop(&frame);
    loop.Loops = 0x0203;
    cb::rtl::TMemoryStream s;
    loop.SaveToStream(s);
    EXPECT_EQ(s.View(), std::string("!\xff\x0bNETSCAPE2.0\x03\x01\x03\x02\x00", 19));
    TGIFImage empty;
    cb::rtl::TMemoryStream out;
    EXPECT_THROW(empty.SaveToStream(out), GIFException);
}

TEST(GifWrite, ClipboardDataOfBothClassesAndTheirPrecedence) {
    const std::string file = giftest::Fixture("anim_o3.gif");
    ASSERT_NE(GIFPictureFormatForFile("X.GIF"), nullptr);
    EXPECT_EQ(GIFPictureFormatForFile("x.gif")->Description, "CompuServe GIF Image");
    EXPECT_EQ(GIFPictureFormatForFile("x.png"), nullptr);
    std::unique_ptr<cb::gfx::TGraphic> shown = GIFPictureFormatForFile(file)->Create();
    shown->LoadFromFile(file);
    EXPECT_EQ(shown->Width(), 48);
    // The block codec writes the plain type; the display class reads it.
    TGIFImage gif;
    gif.LoadFromFile(file);
    QMimeData mime;
    SaveToMimeData(gif, mime);
    EXPECT_TRUE(mime.hasFormat(kGIFFileMime));
    EXPECT_TRUE(mime.hasImage());
    TKitGIFImage kit;
    kit.LoadFromMimeData(mime);
    EXPECT_EQ(kit.FrameCount(), 6);
    // The display class writes the private type; the block codec reads it first.
    QMimeData both;
    kit.SaveToMimeData(both);
    both.setData(kGIFFileMime, "not a gif");
    TGIFImage back;
    LoadFromMimeData(back, both);
    EXPECT_EQ(back.FrameCount(), 6);
    // A length beyond the data is refused.
    QByteArray bad = both.data(kGIFImageMime);
    bad[3] = char(0x7F);
    QMimeData wrong;
    wrong.setData(kGIFImageMime, bad);
    EXPECT_THROW(LoadFromMimeData(back, wrong), GIFException);
}
