// The GIF format, read back with giftext and PIL.
#include "ChartExportTestSupport.h"

#include "chart/canvas/PlotCanvas.h"
#include "chartexport/raster/ChartRaster.h"
#include "chartexport/raster/GIFExportFormat.h"

#include <gtest/gtest.h>

#include "tests/common/TestSupport.h"

using namespace cb::chartexport;
using namespace cetest;

namespace {

// Every column in a colour of its own: far more than 256 colours.
class RainbowPanel : public BarPanel {
public:
    RainbowPanel() : BarPanel(400, 250) {}
    void DrawContents(const TRect& b) override {
        TPlotCanvas& c = *Canvas();
        c.Pen().SetStyle(cb::gfx::psClear);
        for (int x = 0; x < b.Width(); ++x) {
            c.Brush().SetColor(cb::gfx::RGB(x % 256, (x * 3) % 256, 255 - x % 256));
            c.FillRectangle({x, 0, x + 1, b.Height()});
        }
    }
};

TEST(GIFFormat, ChartsOfFewAndManyColoursAreWrittenAndRead) {
    BarPanel bars(400, 250);
    RainbowPanel rainbow;
    struct Case {
        const char* name;
        TCustomPlotPanel* panel;
        double meanDiff;  // exact without reduction, close after quantising
    } cases[] = {{"bars.gif", &bars, 0.5}, {"rainbow.gif", &rainbow, 12}};
    cbtest::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGIFExportFormat f;
        EXPECT_EQ(f.Reduction, cb::gif::rkNone);
        EXPECT_EQ(f.Compression, cb::gif::cmLZW);
        EXPECT_EQ(f.Dither, cb::gif::dkNearest);
        f.Panel = c.panel;
        const std::string file = dir.file(c.name);
        f.SaveToFile(file);
        const ToolRun text = RunProgram("/usr/bin/giftext", {file});
        EXPECT_EQ(text.code, 0) << text.err;
        EXPECT_NE(text.out.find("Width = 400, Height = 250"), std::string::npos) << text.out;
        const QImage expected = DrawChartImage(*c.panel, 0, 0, 400, 250);
        const QJsonObject info = ProbeImage(file, &expected);
        EXPECT_EQ(info["format"].toString(), "GIF");
        EXPECT_LT(info["meandiff"].toDouble(), c.meanDiff);
    }
}

}  // namespace
