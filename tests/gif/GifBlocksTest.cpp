#include "gif/GIFDIB.h"
#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFPainter.h"
#include "tests/gif/GifTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace cb::gif;

namespace {

// A frame of the image with the given pixels and a local table.
TGIFSubImage& addFrame(TGIFImage& img, int left, int top, int w, int h, const std::vector<std::uint8_t>& px,
                       const std::vector<TGIFColor>& table) {
    auto f = std::make_unique<TGIFSubImage>(&img);
    f->SetBounds(left, top, w, h);
    f->Pixels() = px;
    if (!table.empty()) f->ColorMap().FromColorTable(table.data(), int(table.size()));
    TGIFSubImage& ref = *f;
    img.AddFrame(std::move(f));
    return ref;
}

TGIFGraphicControlExtension& gceOf(TGIFSubImage& f) {
    if (!f.GraphicControlExtension()) f.AddExtension(std::make_unique<TGIFGraphicControlExtension>(&f));
    return *f.GraphicControlExtension();
}

const std::vector<TGIFColor> kRGBW{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

}  // namespace

TEST(GifColorMap, WritingFindingAndSorting) {
    TGIFImage img;
    TGIFSubImage& f = addFrame(img, 0, 0, 4, 2, {3, 3, 3, 1, 1, 3, 1, 3}, kRGBW);
    cb::rtl::TMemoryStream s;
    std::vector<TGIFColor> five(5, TGIFColor{1, 2, 3});
    f.ColorMap().FromColorTable(five.data(), 5);
    f.ColorMap().SaveToStream(s);
    EXPECT_EQ(s.Size(), 8 * 3);  // padded to 2^3 entries
    // The same colour twice: the last before sorting, the first after.
    std::vector<TGIFColor> dup{{9, 9, 9}, {1, 1, 1}, {9, 9, 9}, {2, 2, 2}};
    f.ColorMap().FromColorTable(dup.data(), 4);
    EXPECT_EQ(f.ColorMap().FindColor(0x090909), 2);
    // Pixels use 3 (5 times) and 1 (3 times); 0 and 2 are unused.
    f.Pixels() = {2, 2, 2, 1, 1, 2, 1, 2};
    auto& g = gceOf(f);
    g.SetTransparentColorIndex(1);
    g.SetTransparent(true);
    EXPECT_TRUE(f.ColorMap().Optimize());
    EXPECT_TRUE(f.ColorMap().Optimized());
    EXPECT_EQ(f.ColorMap().Count(), 2);
    EXPECT_EQ(f.ColorMap().Entry(0), (TGIFColor{9, 9, 9}));
    EXPECT_EQ(f.ColorMap().Entry(1), (TGIFColor{1, 1, 1}));
    EXPECT_EQ(f.Pixels(), (std::vector<std::uint8_t>{0, 0, 0, 1, 1, 0, 1, 0}));
    EXPECT_EQ(g.TransparentColorIndex(), 1);  // followed its colour
    EXPECT_EQ(f.ColorMap().FindColor(0x090909), 0);
    // Already in order: nothing moves, the flag is set; one entry: nothing at all.
    EXPECT_TRUE(f.ColorMap().Optimize());
    EXPECT_EQ(f.Pixels(), (std::vector<std::uint8_t>{0, 0, 0, 1, 1, 0, 1, 0}));
    f.ColorMap().FromColorTable(dup.data(), 1);
    EXPECT_FALSE(f.ColorMap().Optimize());
    EXPECT_FALSE(f.ColorMap().Optimized());
    // Out-of-range lookups.
    std::vector<std::string> warnings;
    img.OnBlockWarning = [&](const void*, int, const std::string& m) { warnings.push_back(m); };
    f.ColorMap().FromColorTable(kRGBW.data(), 4);
    EXPECT_EQ(f.ColorMap().ColorAt(300), cb::gfx::TColor(0x0000FF));
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
    f.ColorMap().Clear();
    EXPECT_THROW(f.ColorMap().ColorAt(0), GIFException);
    EXPECT_THROW(f.ColorMap().RemoveColor(0), GIFException);
}

TEST(GifExtensions, ReadingEdgeCases) {
    const auto loadFrame = [](const std::string& bytes, std::vector<std::string>* warnings = nullptr) {
        auto img = std::make_unique<TGIFImage>();
        if (warnings)
            img->OnBlockWarning = [warnings](const void*, int, const std::string& m) { warnings->push_back(m); };
        std::string g("GIF89a\x02\x00\x02\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff", 19);
        cb::rtl::TStringStream s(g + bytes);
        img->LoadFromStream(s);
        return img;
    };
    // ANIMEXTS1.0 reads into the loop class and is written back as it was read.
    auto img = loadFrame(std::string("!\xff\x0b"
                                     "ANIMEXTS1.0\x03\x01\x05\x00\x00;",
                                     20));
    ASSERT_EQ(img->FrameCount(), 1);
    auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(img->Frame(0).Extensions().at(0).get());
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->Loops, 5);
    cb::rtl::TMemoryStream out;
    loop->SaveToStream(out);
    EXPECT_NE(out.View().find("ANIMEXTS1.0"), std::string::npos);
    // A 10-byte identifier reads as unknown and is written with size 11.
    img = loadFrame(std::string("!\xff\x0a"
                                "ABCDEFGHIJ\x02xy\x00;",
                                18));
    auto* unknown = dynamic_cast<TGIFUnknownAppExtension*>(img->Frame(0).Extensions().at(0).get());
    ASSERT_NE(unknown, nullptr);
    cb::rtl::TMemoryStream out2;
    unknown->SaveToStream(out2);
    EXPECT_EQ(std::uint8_t(out2.View()[2]), 11);
    // A graphic control cut after 3 bytes warns; it is not an error.
    std::vector<std::string> warnings;
    img = loadFrame(std::string("!\xf9\x04\x01\x02", 5), &warnings);
    EXPECT_EQ(warnings, std::vector<std::string>{"Premature end of data"});
    // Unknown labels and short comments are errors.
    EXPECT_THROW(loadFrame(std::string("!\x42\x00;", 4)), GIFException);
    EXPECT_THROW(loadFrame(std::string("!\xfe\x05hi", 5)), GIFException);
    // An index beyond the table warns and stores 0.
    TGIFImage owner;
    TGIFSubImage& f = addFrame(owner, 0, 0, 1, 1, {0}, kRGBW);
    warnings.clear();
    owner.OnBlockWarning = [&](const void*, int, const std::string& m) { warnings.push_back(m); };
    gceOf(f).SetTransparentColorIndex(9);
    EXPECT_EQ(gceOf(f).TransparentColorIndex(), 0);
    EXPECT_EQ(warnings, std::vector<std::string>{"Invalid color index"});
}

TEST(GifOptimizer, MergeCropAndCleanUp) {
    // Two identical opaque frames: the second becomes transparent, is cropped away,
    // and its delay goes nowhere (the first is not transparent).
    TGIFImage img;
    const std::vector<std::uint8_t> px{0, 1, 2, 3, 3, 2, 1, 0};
    addFrame(img, 0, 0, 4, 2, px, kRGBW);
    TGIFSubImage& second = addFrame(img, 0, 0, 4, 2, px, kRGBW);
    gceOf(second).SetDelay(40);
    img.OptimizeFrames(ofMergeFrames | ofCropFrames, rkNone, 8, dkNearest);
    ASSERT_EQ(img.FrameCount(), 1);
    EXPECT_EQ(img.Frame(0).Pixels(), px);
    // A changed pixel survives merging and cropping as a 1 x 1 frame at its place.
    TGIFImage two;
    addFrame(two, 0, 0, 4, 2, px, kRGBW);
    std::vector<std::uint8_t> changed = px;
    changed[6] = 3;
    addFrame(two, 0, 0, 4, 2, changed, kRGBW);
    two.OptimizeFrames(ofMergeFrames | ofCropFrames, rkNone, 8, dkNearest);
    ASSERT_EQ(two.FrameCount(), 2);
    const TGIFSubImage& f = two.Frame(1);
    EXPECT_EQ(f.Left(), 2);
    EXPECT_EQ(f.Top(), 1);
    EXPECT_EQ(f.Width(), 1);
    EXPECT_EQ(f.Height(), 1);
    EXPECT_EQ(f.ActiveColorMap().ColorAt(f.Pixel(0, 0)), cb::gfx::TColor(0xFFFFFF));
    // One frame loses its comment, loop and idle graphic control: GIF87a.
    TGIFImage one;
    TGIFSubImage& only = addFrame(one, 0, 0, 4, 2, px, kRGBW);
    auto* c = static_cast<TGIFCommentExtension*>(only.AddExtension(std::make_unique<TGIFCommentExtension>(&only)));
    c->Text = {"note"};
    only.AddExtension(std::make_unique<TGIFAppExtNSLoop>(&only));
    gceOf(only).SetDelay(10);
    one.OptimizeFrames(ofCleanUp, rkNone, 8, dkNearest);
    EXPECT_TRUE(one.Frame(0).Extensions().empty());
    cb::rtl::TMemoryStream s;
    one.SaveToStream(s);
    EXPECT_EQ(s.View().substr(0, 6), "GIF87a");
    // Sorting drops an unused local colour.
    one.OptimizeFrames(ofSortColors, rkNone, 8, dkNearest);
    EXPECT_EQ(one.Frame(0).ColorMap().Count(), 4);
    one.Frame(0).Pixels() = {0, 0, 1, 1, 0, 0, 1, 1};
    one.OptimizeFrames(ofSortColors, rkNone, 8, dkNearest);
    EXPECT_EQ(one.Frame(0).ColorMap().Count(), 2);
    // Reducing colours with a custom palette is refused unless cleaning up.
    EXPECT_THROW(one.OptimizeFrames(ofReduceColors, rkCustomPalette, 8, dkNearest), GIFException);
    EXPECT_NO_THROW(one.OptimizeFrames(ofReduceColors | ofCleanUp, rkCustomPalette, 8, dkNearest));
}

TEST(GifPainter, DisposalTimingAndLoops) {
    TGIFImage img;
    // Frame 0 is red with a transparent centre (index 2), frame 1 a green centre.
    std::vector<std::uint8_t> ring(16, 0);
    for (int i : {5, 6, 9, 10}) ring[std::size_t(i)] = 2;
    TGIFSubImage& a = addFrame(img, 0, 0, 4, 4, ring, kRGBW);
    TGIFSubImage& b = addFrame(img, 1, 1, 2, 2, std::vector<std::uint8_t>(4, 1), kRGBW);
    gceOf(a).SetDisposal(1);
    gceOf(a).SetTransparentColorIndex(2);
    gceOf(a).SetTransparent(true);
    gceOf(b).SetDisposal(2);
    gceOf(b).SetDelay(1);  // counts as 3 units
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&a);
    loop->Loops = 3;
    a.Extensions().insert(a.Extensions().begin(), std::move(loop));
    img.PaintBackground = 0xFFFFFF;
    QImage target(4, 4, QImage::Format_ARGB32);
    target.fill(Qt::white);
    std::vector<int> order;
    std::vector<QRgb> centre;
    std::vector<int> waits;
    img.OnFramePainted = [&](TGIFPainter* p) {
        order.push_back(p->ActiveFrame);
        waits.push_back(p->LastWait());
        centre.push_back(target.pixel(1, 1));
    };
    int loops = 0;
    img.OnLoopStart = [&](TGIFPainter*) { ++loops; };
    img.PaintOptions = gpTransparent | gpAnimate | gpLoop;  // synchronous
    img.SpeedPercent = 1000;                                // ten times faster
    TGIFPainter* owner = nullptr;
    owner = new TGIFPainter(&img, &target, {0, 0, 4, 4}, img.PaintOptions, &owner);
    owner->Start();
    EXPECT_EQ(owner, nullptr);  // freed itself
    EXPECT_EQ(order, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(loops, 2);
    EXPECT_EQ(centre[0], qRgb(255, 255, 255));
    EXPECT_EQ(centre[1], qRgb(0, 255, 0));
    // Frame 1's disposal restores the background, so frame 0 shows it again.
    EXPECT_EQ(centre[2], qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 255, 0));  // the last frame stays shown
    // Waits: 10 units after frame 0 (no delay), 3 after frame 1, at 12 ms x 100 / 1000.
    EXPECT_EQ(waits, (std::vector<int>{0, 12, 4, 12, 4, 12}));
}

TEST(GifPainter, AsynchronousPainterStopsAtOnce) {
    TGIFImage img;
    TGIFSubImage& a = addFrame(img, 0, 0, 2, 2, std::vector<std::uint8_t>(4, 0), kRGBW);
    addFrame(img, 0, 0, 2, 2, std::vector<std::uint8_t>(4, 1), kRGBW);
    gceOf(a).SetDelay(60000);
    QImage target(2, 2, QImage::Format_ARGB32);
    TGIFPainter* owner = nullptr;
    owner = new TGIFPainter(&img, &target, {0, 0, 2, 2}, kDefaultPaintOptions, &owner);
    owner->Start();
    QCoreApplication::processEvents();
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(img.Painters().size(), 1u);
    owner->Stop();
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(img.Painters().empty());
    QCoreApplication::processEvents();
}

TEST(GifRender, DrawingScaledTiledAndDithered) {
    TGIFImage img;
    TGIFSubImage& f = addFrame(img, 0, 0, 2, 2, {0, 1, 2, 3}, kRGBW);
    // Scaled into a rectangle twice the size.
    EXPECT_EQ(f.ScaledRect({10, 10, 14, 14}).Right, 14);
    QImage canvasImg(25, 25, QImage::Format_ARGB32);
    canvasImg.fill(Qt::black);
    {
        QPainter p(&canvasImg);
        cb::gfx::TCanvas c(&p);
        f.Draw(c, {0, 0, 25, 25}, true, false);  // tiled at its own size
    }
    EXPECT_EQ(canvasImg.pixel(24, 24), qRgb(255, 0, 0));
    EXPECT_EQ(canvasImg.pixel(1, 1), qRgb(255, 255, 255));
    // Dithered rendering uses the cube.
    img.PaintOptions = gpDither;
    f.FreeBitmap();
    const QImage& d = f.Bitmap();
    EXPECT_EQ(d.color(d.pixelIndex(0, 0)), qRgb(255, 0, 0));
    EXPECT_EQ(d.pixelIndex(1, 1), 215);
    // A transparent index no pixel uses gives no mask.
    img.PaintOptions = kDefaultPaintOptions;
    auto& g = gceOf(f);
    g.SetTransparentColorIndex(3);
    g.SetTransparent(true);
    f.Pixels() = {0, 1, 2, 2};
    f.FreeBitmap();
    f.FreeMask();
    EXPECT_FALSE(f.HasMask());
    f.Pixels() = {0, 1, 2, 3};
    f.FreeBitmap();
    f.FreeMask();
    EXPECT_TRUE(f.HasMask());
}

TEST(GifDIB, WriterRowsAndErrors) {
    QImage target(3, 3, QImage::Format_RGB32);
    target.fill(Qt::blue);
    EXPECT_EQ(RowSize(1, 8), 4);
    EXPECT_EQ(RowSize(5, 24), 16);
    EXPECT_THROW(TDIBWriter(target, 4, 2, 2), GIFException);
    EXPECT_THROW(TDIBWriter(target, 8, 2, 0), GIFException);
    { TDIBWriter unused(target, 8, 2, 2); }
    EXPECT_EQ(target.width(), 3);  // nothing asked: the picture stays
    {
        TDIBWriter w(target, 8, 2, 2, kRGBW);
        std::uint8_t* top = w.ScanLine(0);
        top[0] = 1;
        EXPECT_EQ(top, w.Bits().data() + 4);  // row 0 is stored last
        w.ScanLine(1)[1] = 2;
        EXPECT_THROW(w.ScanLine(2), EInvalidGraphicOperation);
    }
    ASSERT_EQ(target.format(), QImage::Format_Indexed8);
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 255));
    TDIBReader r(target, 24);
    EXPECT_EQ(r.ScanLine(0)[1], 255);  // blue, green, red
}

TEST(GifColorMap, RenumberingKeepsValuesBeyondTheTable) {
    TGIFImage img;
    // Index 7 lies beyond the 4-entry table and must come through unchanged.
    TGIFSubImage& f = addFrame(img, 0, 0, 4, 1, {3, 3, 7, 1}, kRGBW);
    EXPECT_TRUE(f.ColorMap().Optimize());
    EXPECT_EQ(f.Pixels()[2], 7);
    EXPECT_EQ(f.ColorMap().Entry(f.Pixels()[0]), kRGBW[3]);
    EXPECT_EQ(f.ColorMap().Entry(f.Pixels()[3]), kRGBW[1]);
}

TEST(GifImage, AssigningKeepsTheDestinationsHandlers) {
    TGIFImage src, dst;
    addFrame(src, 0, 0, 2, 1, {0, 1}, kRGBW);
    src.CompressionMethod = cmRLE;
    int progress = 0;
    dst.OnProgress = [&](const void*, TProgressStage, int, bool, const std::string&) { ++progress; };
    dst.OnBlockWarning = [](const void*, int, const std::string&) {};
    dst.Assign(src);
    EXPECT_EQ(dst.FrameCount(), 1);
    EXPECT_EQ(dst.CompressionMethod, cmLZW);  // not copied
    EXPECT_GT(progress, 0);
    EXPECT_TRUE(bool(dst.OnProgress));
    EXPECT_TRUE(bool(dst.OnBlockWarning));
    EXPECT_FALSE(bool(src.OnProgress));
}

TEST(GifImage, DrawingAnAnimationStartsOnePainter) {
    TGIFImage img;
    addFrame(img, 0, 0, 2, 2, std::vector<std::uint8_t>(4, 0), kRGBW);
    addFrame(img, 0, 0, 2, 2, std::vector<std::uint8_t>(4, 1), kRGBW);
    QImage screen(4, 4, QImage::Format_ARGB32);
    QPainter p(&screen);
    cb::gfx::TCanvas c(&p);
    img.Draw(c, {0, 0, 4, 4});
    EXPECT_EQ(img.Painters().size(), 1u);
    img.Draw(c, {0, 0, 4, 4});
    EXPECT_EQ(img.Painters().size(), 1u);
    img.StopAllPainters();
    EXPECT_TRUE(img.Painters().empty());
    QCoreApplication::processEvents();
}
