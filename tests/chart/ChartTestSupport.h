#pragma once
// Offscreen rendering for the chart tests: a white bitmap with the screen
// canvas drawing on it directly, and pixel probes.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QImage>

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

}  // namespace charttest
