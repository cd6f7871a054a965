// Dense bar charts, where bars lie over one another, against reference
// pictures pixel for pixel: flat and in 3D, oblique and turned with
// perspective, boxes and other solids, a hatched series among solid ones.
// Labels are off so that fonts do not matter. Run with
// CB_UPDATE_REFERENCE=1 to write the references again.
#include "ChartTestSupport.h"

#include "chart/component/AxisPanel.h"
#include "chart/series/bar/BarSeries.h"

#include "platform/gfx/Bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

using namespace cb::chart;

namespace {

struct Case {
    const char* name;
    bool is3D, orthogonal, horizontal;
    TMultiBar multiBar;
    TBarStyle style;
    int seriesCount, points;
};

QImage Render(const Case& c) {
    TAxisPanel chart;
    chart.resize(480, 270);
    chart.SetView3D(c.is3D);
    chart.View3DOptions().SetOrthogonal(c.orthogonal);
    if (!c.orthogonal) {
        chart.View3DOptions().SetElevation(340);
        chart.View3DOptions().SetRotation(335);
        chart.View3DOptions().SetPerspective(30);
    }
    chart.LeftAxis().SetLabels(false);
    chart.BottomAxis().SetLabels(false);
    using namespace cb::gfx;
    const TColor colors[] = {clRed, clBlue, clGreen, clYellow, clFuchsia, clAqua, clMaroon, clNavy, clOlive, clTeal};
    for (int s = 0; s < c.seriesCount; ++s) {
        TBarSeries* bar = chart.CreateSeries<TBarSeries>();
        bar->SetOrientation(c.horizontal ? boHorizontal : boVertical);
        bar->SetSeriesColor(colors[s % 10]);
        bar->SetDepth(30);
        bar->SetMultiBar(c.multiBar);
        bar->SetBarStyle(c.style);
        bar->Marks().SetVisible(false);
        if (s == 1) bar->BarBrush().SetStyle(cb::gfx::bsDiagCross);
        for (int i = 0; i < c.points; ++i) bar->AddValue(100 + 50 * std::sin(i * 0.05 + s));
    }
    auto bmp = chart.DrawToBitmap(clWhite, chart.PanelRect());
    bmp->Canvas().ReleasePainter();
    return bmp->Image().convertToFormat(QImage::Format_RGB32);
}

TEST(DenseBarReference, SamePixelsAsTheReference) {
    const Case cases[] = {
        {"dense3d", true, true, false, mbSide, bsRectangle, 10, 300},
        {"dense3d_turned", true, false, false, mbSide, bsRectangle, 10, 300},
        {"dense3d_depths", true, true, false, mbNone, bsRectangle, 6, 120},
        {"dense3d_solids", true, false, false, mbSide, bsCilinder, 3, 60},
        {"dense3d_pyramids", true, true, false, mbSide, bsPyramid, 3, 60},
        {"dense3d_horizontal", true, true, true, mbSide, bsRectangle, 4, 120},
        {"dense2d", false, true, false, mbSide, bsRectangle, 10, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage now = Render(c);
        const QImage ref = charttest::ReferencePicture(c.name, now);
        ASSERT_FALSE(ref.isNull()) << c.name;
        ASSERT_EQ(ref.size(), now.size());
        int off = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x)
                if (ref.pixel(x, y) != now.pixel(x, y) && off++ == 0) {
                    firstX = x;
                    firstY = y;
                }
        EXPECT_EQ(off, 0) << "first at " << firstX << ", " << firstY;
        if (off) now.save(QString::fromStdString(testing::TempDir() + c.name + "_now.png"));
    }
}

}  // namespace
