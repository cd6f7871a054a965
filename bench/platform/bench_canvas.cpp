// Paints a grid of 10,000 cells into a 1920 x 1080 image the way the grid
// control does (fill, grid lines, clipped text in the cell's own colour and
// font) and prints the time per frame.
#include "platform/gfx/Bitmap.h"

#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace cb::gfx;

namespace {

void paintCells(TCanvas& c, int frame) {
    static const char* kFonts[] = {"Arial", "Tahoma", "Times New Roman", "Courier New"};
    const int cols = 100, rows = 100, w = 19, h = 10;
    char text[32];
    for (int r = 0; r < rows; ++r) {
        for (int k = 0; k < cols; ++k) {
            const int i = r * cols + k + frame;
            const TRect cell = Bounds(k * w, r * h, w, h);
            c.Brush().SetColor(RGB(200 + i % 56, 220 + (i / 7) % 36, 255 - i % 40));
            c.FillRect(cell);
            c.Pen().SetColor(clSilver);
            c.MoveTo(cell.Right - 1, cell.Top);
            c.LineTo(cell.Right - 1, cell.Bottom);
            c.LineTo(cell.Left - 1, cell.Bottom);
            c.Font().BeginUpdate();
            c.Font().SetName(kFonts[i % 4]);
            c.Font().SetSize(7 + i % 3);
            c.Font().SetStyle(i % 5 == 0 ? TFontStyles(fsBold) : TFontStyles(0));
            c.Font().SetColor(i % 11 == 0 ? clRed : clWindowText);
            c.Font().EndUpdate();
            std::snprintf(text, sizeof text, "%d.%02d", i * 37 % 10000, i % 100);
            TRect tr = cell;
            c.SetBkMode(TRANSPARENT);
            c.DrawText(text, tr, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    TBitmap bmp(1920, 1080);
    TCanvas& c = bmp.Canvas();
    paintCells(c, 0);  // warm the font cache
    const int frames = argc > 1 ? std::atoi(argv[1]) : 10;
    const auto t0 = std::chrono::steady_clock::now();
    for (int f = 1; f <= frames; ++f) paintCells(c, f);
    c.ReleasePainter();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("bench_canvas: 10000 cells, %d frames, %.2f ms per frame, %.2f us per cell\n", frames, ms / frames,
                ms * 1000.0 / frames / 10000.0);
    return 0;
}
