#pragma once
// Offscreen rendering for the chart tests: a white bitmap with the screen
// canvas drawing on it directly, and pixel probes.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/component/AxisPanel.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QImage>

#include <cstdlib>
#include <memory>
#include <string>

namespace charttest {

using namespace cb::chart;

struct Render {
    cb::gfx::TBitmap bitmap;
    TPlotCanvas3D canvas;
    TView3DOptions options;

    explicit Render(int w = 100, int h = 100, bool is3D = false, bool orthogonal = true) : bitmap(w, h) {
        options.SetOrthogonal(orthogonal);
        options.SetPerspective(0);
        canvas.SetBuffered(false);
        canvas.BeginDraw(&bitmap.Canvas(), &options, clWhite, is3D, {0, 0, w, h});
        canvas.SetProjectionCenter(0, {0, 0, w, h}, {0, 0, w, h});
        canvas.RestoreDefaults();
    }
    // Colour at (x, y) as 0x00BBGGRR.
    TColor At(int x, int y) {
        bitmap.Canvas().ReleasePainter();
        const QRgb c = bitmap.Image().pixel(x, y);
        return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
    }
    void Fill(TColor c) {
        canvas.Pen().SetStyle(cb::gfx::psClear);
        canvas.Brush().SetColor(c);
        canvas.Brush().SetStyle(cb::gfx::bsSolid);
        canvas.Pen().SetStyle(cb::gfx::psSolid);
    }
};

// A chart widget drawn into a white bitmap, with pixel probes.
struct TestChart {
    TAxisPanel chart;
    std::unique_ptr<cb::gfx::TBitmap> bitmap;

    explicit TestChart(int w = 400, int h = 300, bool is3D = false) {
        chart.resize(w, h);
        chart.SetView3D(is3D);
    }
    cb::gfx::TBitmap& Draw() {
        bitmap = chart.DrawToBitmap(clWhite, chart.PanelRect());
        bitmap->Canvas().ReleasePainter();
        return *bitmap;
    }
    TColor At(int x, int y) const {
        const QRgb c = bitmap->Image().pixel(x, y);
        return cb::gfx::RGB(qRed(c), qGreen(c), qBlue(c));
    }
    // Pixels of colour c in the rectangle.
    int Count(TColor c, const TRect& r) const {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (At(x, y) == c) ++n;
        return n;
    }
    int Count(TColor c) const { return Count(c, {0, 0, bitmap->Width(), bitmap->Height()}); }
    void Save(const std::string& path) const { bitmap->Image().save(QString::fromStdString(path)); }
};

// The reference picture tests/data/chart/<name>.png as RGB32, written from
// now first when CB_UPDATE_REFERENCE is set; null when there is none.
inline QImage ReferencePicture(const std::string& name, const QImage& now) {
    const QString path = QString::fromStdString(std::string(CB_TEST_DATA_DIR) + "/chart/" + name + ".png");
    if (std::getenv("CB_UPDATE_REFERENCE") && !now.save(path)) return {};
    const QImage ref(path);
    return ref.isNull() ? ref : ref.convertToFormat(QImage::Format_RGB32);
}

}  // namespace charttest
