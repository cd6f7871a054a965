#include "GfxSupport.h"

#include "platform/rtl/Exception.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

using namespace cb::gfx;
using gfxtest::px;

TEST(GfxBitmap, ScanLineLayoutIsBlueGreenRed) {
    for (TPixelFormat f : {pf24bit, pf32bit}) {
        TBitmap b(4, 3, f);
        b.Canvas().SetPixel(1, 2, RGB(10, 20, 30));
        const int bytes = f == pf24bit ? 3 : 4;
        const std::uint8_t* row = b.ScanLine(2);
        EXPECT_EQ(row[bytes + 0], 30) << f;
        EXPECT_EQ(row[bytes + 1], 20);
        EXPECT_EQ(row[bytes + 2], 10);
        std::uint8_t* w = b.ScanLine(0);
        w[0] = 255;
        w[1] = 0;
        w[2] = 0;  // blue
        EXPECT_EQ(px(b, 0, 0), clBlue);
        EXPECT_EQ(b.Canvas().Pixel(0, 0), clBlue);
        EXPECT_THROW(b.ScanLine(3), cb::rtl::Exception);
    }
}

TEST(GfxBitmap, ResizeKeepsPixelsAndAssignCopies) {
    TBitmap b(10, 10);
    b.Canvas().Brush().SetColor(clRed);
    b.Canvas().FillRect(Rect(0, 0, 10, 10));
    b.SetSize(20, 5);
    EXPECT_EQ(px(b, 9, 4), clRed);
    EXPECT_EQ(px(b, 10, 4), clWhite);
    TBitmap c;
    c.Assign(b);
    b.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(px(c, 0, 0), clRed);
    EXPECT_EQ(c.Width(), 20);
    EXPECT_THROW(b.SetSize(100000, 100000), cb::rtl::Exception);
}

TEST(GfxBitmap, BmpFilesReadByIndependentReader) {
    cbtest::TempDir dir;
    for (TPixelFormat f : {pf24bit, pf32bit}) {
        TBitmap b(5, 3, f);  // odd width: padded rows
        b.Canvas().SetPixel(0, 0, clRed);
        b.Canvas().SetPixel(4, 2, RGB(1, 2, 3));
        const std::string file = dir.file(f == pf24bit ? "b24.bmp" : "b32.bmp");
        b.SaveToFile(file);
        std::string out;
        const std::string cmd =
            "/usr/bin/python3 -c \"from PIL import Image; im=Image.open('" + file +
            "').convert('RGB'); print(im.size, im.getpixel((0,0)), im.getpixel((4,2)), im.getpixel((1,1)))\"";
        ASSERT_EQ(cbtest::runCommand(cmd, &out), 0);
        EXPECT_EQ(out, "(5, 3) (255, 0, 0) (1, 2, 3) (255, 255, 255)\n") << f;
        TBitmap back;
        back.LoadFromFile(file);
        EXPECT_EQ(back.Width(), 5);
        EXPECT_EQ(back.PixelFormat(), f);
        EXPECT_EQ(px(back, 0, 0), clRed);
        EXPECT_EQ(px(back, 4, 2), RGB(1, 2, 3));
    }
}

TEST(GfxBitmap, BadBmpInputIsRejected) {
    cbtest::TempDir dir;
    TBitmap good(2, 2);
    auto bytes = good.SaveToBmpBytes();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> data;
    };
    auto huge = bytes;
    huge[18] = 0xFF;
    huge[19] = 0xFF;
    huge[20] = 0xFF;
    huge[21] = 0x7F;  // absurd width
    auto truncated = bytes;
    truncated.resize(30);
    const Case cases[] = {{"empty", {}}, {"not bmp", {'P', 'K', 3, 4}}, {"huge", huge}, {"truncated", truncated}};
    for (const auto& cs : cases) {
        TBitmap b(3, 3);
        EXPECT_THROW(b.LoadFromBmpBytes(cs.data.data(), cs.data.size()), cb::rtl::EInOutError) << cs.what;
        EXPECT_EQ(b.Width(), 3) << cs.what;  // unchanged
    }
    TBitmap b;
    EXPECT_THROW(b.LoadFromFile(dir.file("missing.bmp")), cb::rtl::EInOutError);
}

TEST(GfxBitmap, TransparentColourFollowsMode) {
    TBitmap b(4, 4);
    b.Canvas().SetPixel(0, 3, clLime);
    EXPECT_EQ(b.TransparentColor(), clLime);  // bottom-left pixel
    b.SetTransparentColor(clRed);
    EXPECT_EQ(b.TransparentMode(), tmFixed);
    EXPECT_EQ(b.TransparentColor(), clRed);
}
