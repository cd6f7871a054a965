// Small bar charts in 2D and 3D against reference pictures, with a
// tolerance: labels are off so that fonts do not matter. Run with
// CB_UPDATE_REFERENCE=1 to write the references again.
#include "ChartTestSupport.h"

#include "chart/component/AxisPanel.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace cb::chart;

namespace {

QImage Render(bool is3D) {
    TAxisPanel chart;
    chart.resize(160, 120);
    chart.SetView3D(is3D);
    chart.View3DOptions().SetOrthogonal(true);
    chart.LeftAxis().SetLabels(false);
    chart.BottomAxis().SetLabels(false);
    const TColor colors[] = {clRed, clBlue};
    const double values[2][4] = {{10, 30, 20, 40}, {25, 5, 35, 15}};
    for (int s = 0; s < 2; ++s) {
        auto* bar = chart.CreateSeries<TBarSeries>();
        bar->SetSeriesColor(colors[s]);
        bar->Marks().SetVisible(false);
        for (double v : values[s]) bar->AddValue(v);
    }
    auto bmp = chart.DrawToBitmap(clWhite, chart.PanelRect());
    bmp->Canvas().ReleasePainter();
    return bmp->Image().convertToFormat(QImage::Format_RGB32);
}

TEST(BarReference, MatchesWithinTolerance) {
    for (bool is3D : {false, true}) {
        const std::string path = is3D ? "bars3d" : "bars2d";
        const QImage now = Render(is3D);
        const QImage ref = charttest::ReferencePicture(path, now);
        ASSERT_FALSE(ref.isNull()) << path;
        ASSERT_EQ(ref.size(), now.size());
        int off = 0;
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x) {
                const QRgb a = ref.pixel(x, y), b = now.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 48 || std::abs(qGreen(a) - qGreen(b)) > 48 ||
                    std::abs(qBlue(a) - qBlue(b)) > 48)
                    ++off;
            }
        // At most 1 % of the pixels may differ clearly.
        EXPECT_LE(off, ref.width() * ref.height() / 100) << path;
    }
}

}  // namespace
