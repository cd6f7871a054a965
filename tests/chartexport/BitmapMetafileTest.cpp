// Bitmap and metafile formats: BMP read by PIL at every depth, EMF and WMF
// turned into PNG by LibreOffice, and the formats' filter entries.
#include "ChartExportTestSupport.h"

#include "chartexport/metafile/EMFExportFormat.h"
#include "chartexport/raster/BMPExportFormat.h"
#include "chartexport/raster/ChartRaster.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// Centres of the panel's bars in a drawing of width x height.
std::vector<QPoint> BarCentres(const BarPanel& Panel, int Width, int Height) {
    std::vector<QPoint> points;
    for (const Bar& b : Panel.bars) {
        const TRect r = Panel.BarRect(b, Width, Height);
        points.push_back({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    points.push_back({Width - 3, 3});  // background
    return points;
}

QRgb At(const QJsonObject& Info, int I) {
    const QJsonArray p = Info["at"].toArray()[I].toArray();
    return qRgb(p[0].toInt(), p[1].toInt(), p[2].toInt());
}

// The channel that stands out: 0 red, 1 green, 2 blue, -1 none (grey).
int Dominant(QRgb C) {
    const int v[3] = {qRed(C), qGreen(C), qBlue(C)};
    for (int i = 0; i < 3; ++i)
        if (v[i] >= 96 && v[i] > v[(i + 1) % 3] + 64 && v[i] > v[(i + 2) % 3] + 64) return i;
    return -1;
}

// The bars are red, green and blue, the background white.
void ExpectBarColours(const QJsonObject& Info, const std::string& What) {
    SCOPED_TRACE(What);
    ASSERT_EQ(Info["at"].toArray().size(), 4);
    EXPECT_EQ(Dominant(At(Info, 0)), 0);
    EXPECT_EQ(Dominant(At(Info, 1)), 1);
    EXPECT_EQ(Dominant(At(Info, 2)), 2);
    EXPECT_GE(qGray(At(Info, 3)), 240);
}

// A spreadsheet document Ods with the metafile File placed on its page.
void PackMetafile(const std::string& File, const std::string& Ods) {
    const ToolRun pack = RunProgram("/usr/bin/python3", {"-c", R"(
import sys, zipfile
ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
      'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
      'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
      'xmlns:xlink="http://www.w3.org/1999/xlink" '
      'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"')
name = 'Pictures/chart.' + sys.argv[1].rsplit('.', 1)[1]
content = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content ' + ns + ' office:version="1.2">'
           '<office:body><office:spreadsheet><table:table table:name="S"><table:shapes>'
           '<draw:frame svg:x="1cm" svg:y="1cm" svg:width="10.58cm" svg:height="6.61cm">'
           '<draw:image xlink:href="' + name + '" xlink:type="simple" xlink:show="embed" xlink:actuate="onLoad"/>'
           '</draw:frame></table:shapes><table:table-row><table:table-cell/></table:table-row></table:table>'
           '</office:spreadsheet></office:body></office:document-content>')
manifest = ('<?xml version="1.0" encoding="UTF-8"?><manifest:manifest '
            'xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">'
            '<manifest:file-entry manifest:full-path="/" '
            'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
            '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
            '<manifest:file-entry manifest:full-path="' + name + '" manifest:media-type="image/x-emf"/>'
            '</manifest:manifest>')
z = zipfile.ZipFile(sys.argv[2], 'w')
z.writestr(zipfile.ZipInfo('mimetype'), 'application/vnd.oasis.opendocument.spreadsheet')
z.writestr('META-INF/manifest.xml', manifest)
z.writestr('content.xml', content)
z.write(sys.argv[1], name)
z.close()
)",
                                                         File, Ods});
    if (pack.code != 0) ADD_FAILURE() << pack.err;
}

// The documents printed to PDF beside them by LibreOffice, all in one run
// (its start is the slow part).
void PrintWithLibreOffice(const std::vector<std::string>& Documents, const std::string& Dir) {
    std::vector<std::string> args = {"-env:UserInstallation=file://" + Dir + "/profile", "--headless", "--convert-to",
                                     "pdf", "--outdir", Dir};
    args.insert(args.end(), Documents.begin(), Documents.end());
    const ToolRun convert = RunProgram("/usr/bin/soffice", args);
    if (convert.code != 0) ADD_FAILURE() << convert.err;
}

// The first page of Pdf as PNG: per bar colour (red, green, blue) the pixels
// of that colour and their mean x, and whether dark text pixels are there.
QJsonObject BarsOnPage(const std::string& Pdf) {
    const std::string page = Pdf.substr(0, Pdf.size() - 4) + "-page";
    const ToolRun png = RunProgram("/usr/bin/pdftoppm", {"-png", "-r", "96", "-f", "1", "-l", "1", Pdf, page});
    if (png.code != 0) ADD_FAILURE() << png.err;
    const ToolRun probe = RunProgram("/usr/bin/python3", {"-c", R"(
import json, sys
from PIL import Image
img = Image.open(sys.argv[1]).convert('RGB')
targets = [(255, 0, 0), (0, 192, 0), (0, 0, 255)]
counts, xs, dark = [0, 0, 0], [0, 0, 0], 0
for y in range(img.height):
    for x in range(img.width):
        p = img.getpixel((x, y))
        if max(p) < 80:
            dark += 1
        for i, t in enumerate(targets):
            if all(abs(a - b) <= 40 for a, b in zip(p, t)):
                counts[i] += 1
                xs[i] += x
print(json.dumps({'counts': counts, 'x': [xs[i] / max(counts[i], 1) for i in range(3)], 'text': dark > 200}))
)",
                                                          page + "-1.png"});
    if (probe.code != 0) ADD_FAILURE() << probe.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(probe.out)).object();
}

}  // namespace

TEST(BMPFormat, EveryDepthAsPILReadsIt) {
    BarPanel panel(240, 160);
    cbtest::TempDir dir;
    const QImage bitmap = DrawChartImage(panel, 0, 0, 240, 160);
    struct Case {
        TBMPColors colors;
        bool mono;
        int bits;
        int maxdiff;  // from the chart's pixels; -1: colours only
    } cases[] = {
        {bc1bit, false, 1, -1},  {bc4bit, false, 4, -1},  {bc8bit, false, 8, -1},  {bc15bit, false, 16, 8},
        {bc16bit, false, 16, 8}, {bc24bit, false, 24, 0}, {bc32bit, false, 32, 0}, {bc24bit, true, 1, -1},
    };
    for (const Case& c : cases) {
        const std::string file = dir.file("chart" + std::to_string(c.colors) + (c.mono ? "m" : "") + ".bmp");
        SCOPED_TRACE(file);
        TBMPExportFormat f;
        f.Panel = &panel;
        f.Colors = c.colors;
        f.Monochrome = c.mono;
        f.SaveToFile(file);
        const std::string bytes = ReadFile(file);
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(std::uint8_t(bytes[28]), c.bits);
        if (c.maxdiff >= 0) {
            const QJsonObject info = ProbeImage(file, &bitmap);
            EXPECT_EQ(info["width"].toInt(), 240);
            EXPECT_EQ(info["height"].toInt(), 160);
            EXPECT_LE(info["maxdiff"].toInt(), c.maxdiff);
        }
        const QJsonObject at = ProbeImageAt(file, BarCentres(panel, 240, 160));
        if (c.bits == 1) {
            // Two colours: the bars dark or light by their brightness, the background white.
            EXPECT_EQ(At(at, 3), qRgb(255, 255, 255));
            for (int i = 0; i < 3; ++i) {
                const QRgb p = At(at, i);
                EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255));
            }
        } else {
            ExpectBarColours(at, file);
        }
    }
}

TEST(BMPFormat, DefaultIsTheScreensDepthAndSizeFollowsTheFormat) {
    BarPanel panel(200, 100);
    cbtest::TempDir dir;
    TBMPExportFormat f;
    f.Panel = &panel;
    f.Width = 300;
    f.Height = 150;
    f.SaveToFile(dir.file("default.bmp"));
    const std::string bytes = ReadFile(dir.file("default.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(std::uint8_t(bytes[28]), f.BitsPerPixel(false));
    const QJsonObject at = ProbeImageAt(dir.file("default.bmp"), BarCentres(panel, 300, 150));
    ExpectBarColours(at, "default");
    // A canvas that needs 24-bit bitmaps gets them whatever was chosen.
    f.Colors = bc8bit;
    EXPECT_EQ(f.BitsPerPixel(true), 24);
    f.Monochrome = true;
    EXPECT_EQ(f.BitsPerPixel(false), 1);
}

TEST(MetafileFormat, LibreOfficeDrawsEveryBar) {
    BarPanel panel(400, 250);
    cbtest::TempDir dir;
    // The spreadsheet reader lays each picture out on a page (it draws
    // metafiles the way its drawing program does); the pages become PNGs.
    std::vector<std::string> documents;
    for (bool enhanced : {true, false}) {
        TEMFExportFormat f;
        f.Panel = &panel;
        f.Enhanced = enhanced;
        const std::string name = std::string("chart.") + f.FileExtension();
        SCOPED_TRACE(name);
        f.SaveToFile(dir.file(name));
        const std::string bytes = ReadFile(dir.file(name));
        if (enhanced)
            EXPECT_EQ(bytes.substr(40, 4), " EMF");
        else
            EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));
        documents.push_back(dir.file(f.FileExtension() + ".ods"));
        PackMetafile(dir.file(name), documents.back());
    }
    PrintWithLibreOffice(documents, dir.path().string());
    for (const char* kind : {"emf", "wmf"}) {
        const std::string name = std::string("chart.") + kind;
        SCOPED_TRACE(name);
        const QJsonObject seen = BarsOnPage(dir.file(std::string(kind) + ".pdf"));
        const QJsonArray counts = seen["counts"].toArray(), xs = seen["x"].toArray();
        ASSERT_EQ(counts.size(), 3) << name;
        // Every series colour is there, in a bar of about its size, left to right.
        for (int i = 0; i < 3; ++i) EXPECT_GT(counts[i].toInt(), 1500) << i;
        EXPECT_LT(xs[0].toDouble(), xs[1].toDouble());
        EXPECT_LT(xs[1].toDouble(), xs[2].toDouble());
        EXPECT_TRUE(seen["text"].toBool()) << "the texts are drawn";
    }
}

TEST(MetafileFormat, PlainMetafileTakesTheSecondFilterEntry) {
    TEMFExportFormat f;
    int counter = 0;
    f.AssignFilterIndex(counter);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(f.FilterIndex(), 1);
    EXPECT_EQ(f.FileExtension(), "emf");
    EXPECT_FALSE(f.OwnsFilterIndex(3));
    EXPECT_TRUE(f.Enhanced);
    EXPECT_TRUE(f.OwnsFilterIndex(2));
    EXPECT_FALSE(f.Enhanced);
    EXPECT_EQ(f.FilterIndex(), 2);
    EXPECT_EQ(f.FileExtension(), "wmf");
}
