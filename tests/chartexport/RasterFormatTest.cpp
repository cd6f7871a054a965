// JPEG and PNG formats, checked with PIL and pngcheck.
#include "ChartExportTestSupport.h"

#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/JPEGExportFormat.h"
#include "chartexport/raster/PNGExportFormat.h"

#include <QJsonArray>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

TEST(JPEGFormat, DefaultsAndSettingsAsReadByPIL) {
    BarPanel panel(320, 200);
    cbtest::TempDir dir;
    const QImage bitmap = DrawChartImage(panel, 0, 0, 320, 200);
    struct Case {
        const char* name;
        int quality;
        bool gray, progressive;
        const char* mode;
    } cases[] = {
        {"default.jpg", 0, false, false, "RGB"},  // quality 0: leave the format's default
        {"q100.jpg", 100, false, false, "RGB"},
        {"gray.jpg", 95, true, false, "L"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TJPEGExportFormat f;
        f.Panel = &panel;
        if (c.quality) f.Quality = c.quality;
        f.GrayScale = c.gray;
        f.SaveToFile(dir.file(c.name));
        const QJsonObject info = ProbeImage(dir.file(c.name), c.gray ? nullptr : &bitmap);
        ASSERT_FALSE(info.contains("error")) << info["error"].toString().toStdString();
        EXPECT_EQ(info["format"].toString(), "JPEG");
        EXPECT_EQ(info["width"].toInt(), 320);
        EXPECT_EQ(info["height"].toInt(), 200);
        EXPECT_EQ(info["mode"].toString(), c.mode);
        EXPECT_FALSE(info["progressive"].toBool());
        if (!c.gray) {
            EXPECT_LT(info["meandiff"].toDouble(), 3.0);
        }
        if (c.quality == 100) {
            // Every entry of every quantisation table is 1 at quality 100.
            for (const auto& table : info["qtables"].toObject()) EXPECT_EQ(table.toArray(), QJsonArray({1}));
        }
    }
}

TEST(JPEGFormat, ProgressiveAndFastDCT) {
    BarPanel panel(200, 120);
    const QImage bitmap = DrawChartImage(panel, 0, 0, 200, 120);
    TJPEGSettings s;
    s.ProgressiveEncoding = true;
    s.Performance = jpBestSpeed;
    s.Quality = 95;
    cbtest::TempDir dir;
    TJPEGImage(bitmap, s).SaveToFile(dir.file("p.jpg"));
    const QJsonObject info = ProbeImage(dir.file("p.jpg"), &bitmap);
    EXPECT_TRUE(info["progressive"].toBool());
    EXPECT_LT(info["meandiff"].toDouble(), 3.0);
}

TEST(JPEGFormat, SaveChartToJPEGFileNamesAndSizes) {
    BarPanel panel(240, 150);
    cbtest::TempDir dir;
    struct Case {
        std::string given, written;
        int w, h, expectW, expectH;
    } cases[] = {
        {"chart", "chart.jpg", 0, 0, 240, 150},
        {"pic.jpeg", "pic.jpeg", 100, 60, 100, 60},
        {"x.data", "x.data", -5, 80, 240, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        SaveChartToJPEGFile(panel, dir.file(c.given), c.w, c.h);
        ASSERT_TRUE(std::filesystem::exists(dir.file(c.written)));
        const QJsonObject info = ProbeImage(dir.file(c.written));
        EXPECT_EQ(info["width"].toInt(), c.expectW);
        EXPECT_EQ(info["height"].toInt(), c.expectH);
        for (const auto& table : info["qtables"].toObject()) EXPECT_EQ(table.toArray(), QJsonArray({1}));
    }
}

TEST(PNGFormat, EqualsTheBitmapPixelForPixelAndPassesPngcheck) {
    BarPanel panel(400, 250);
    const QImage bitmap = DrawChartImage(panel, 0, 0, 400, 250);
    cbtest::TempDir dir;
    for (int level : {9, 0}) {
        SCOPED_TRACE(level);
        TPNGExportFormat f;
        EXPECT_EQ(f.CompressionLevel, 9);
        f.CompressionLevel = level;
        f.Panel = &panel;
        const std::string file = dir.file("c" + std::to_string(level) + ".png");
        f.SaveToFile(file);
        const ToolRun check = RunProgram("/usr/bin/pngcheck", {"-v", file});
        EXPECT_EQ(check.code, 0) << check.out << check.err;
        EXPECT_NE(check.out.find("400 x 250 image, 24-bit RGB, non-interlaced"), std::string::npos) << check.out;
        const QJsonObject info = ProbeImage(file, &bitmap);
        EXPECT_EQ(info["mode"].toString(), "RGB");
        EXPECT_EQ(info["maxdiff"].toInt(), 0);
    }
}

TEST(PNGFormat, StripsCompressedOnSeveralThreadsMakeOneValidStream) {
    // Odd sizes, flat areas and noise, so that strips differ and matches
    // reach back across strip boundaries.
    QImage image(641, 777, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const bool noisy = (x / 40 + y / 50) % 3 == 0;
            image.setPixel(x, y, noisy ? 0xFF000000u | (seed >> 8) : qRgb(30, 90 + y % 7, 200));
        }
    cbtest::TempDir dir;
    std::size_t single = 0;
    for (int threads : {1, 3, 8}) {
        SCOPED_TRACE(threads);
        const std::string png = EncodePNG(image, 9, threads);
        if (threads == 1) single = png.size();
        const std::string file = dir.file("s" + std::to_string(threads) + ".png");
        cbtest::writeFile(file, png);
        const ToolRun check = RunProgram("/usr/bin/pngcheck", {"-v", file});
        EXPECT_EQ(check.code, 0) << check.out << check.err;
        const QJsonObject info = ProbeImage(file, &image);
        EXPECT_EQ(info["maxdiff"].toInt(), 0);
        // Each strip starts with the window before it: hardly any loss.
        EXPECT_LT(double(png.size()), single * 1.01);
    }
}

TEST(PNGFormat, TinyPictureRowsTopFirstInRGBOrder) {
    QImage image(3, 2, QImage::Format_RGB888);
    image.fill(Qt::white);
    image.setPixelColor(0, 0, QColor(0, 0, 255));  // top-left pure blue
    image.setPixelColor(2, 1, QColor(255, 0, 0));
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("t.png"), EncodePNG(image, 9));
    const QJsonObject info = ProbeImage(dir.file("t.png"), &image);
    EXPECT_EQ(info["width"].toInt(), 3);
    EXPECT_EQ(info["height"].toInt(), 2);
    EXPECT_EQ(info["maxdiff"].toInt(), 0);
}

TEST(RasterEncoders, LibraryErrorsBecomeClearExceptions) {
    // Each picture makes the library itself report an error (or is refused
    // before it is called); the process goes on.
    struct Case {
        const char* name;
        std::function<void()> encode;
        const char* message;
    } cases[] = {
        {"empty PNG", [] { EncodePNG(QImage(), 9); }, "PNG error: the picture is empty"},
        {"PNG over the width limit", [] { EncodePNG(QImage(1000001, 1, QImage::Format_RGB888), 9); },
         "PNG error: Invalid IHDR data"},
        {"JPEG over the dimension limit", [] { TJPEGImage(QImage(65501, 1, QImage::Format_RGB888), {}); },
         "JPEG error: Maximum supported image dimension is 65500 pixels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.encode();
            ADD_FAILURE() << "no error";
        } catch (const EExportError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    QImage ok(4, 4, QImage::Format_RGB888);
    ok.fill(Qt::red);
    EXPECT_FALSE(EncodePNG(ok, 9).empty());  // the libraries still work afterwards
    EXPECT_FALSE(TJPEGImage(ok, {}).Data().empty());
}

}  // namespace
