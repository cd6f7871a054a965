#include "grid/paint/DrawUtils.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <string>

namespace cb::grid {

TColor HalveColor(TColor color) {
    TColor c = cb::gfx::ColorToRGB(color);
    return cb::gfx::RGB(cb::gfx::GetRValue(c) >> 1, cb::gfx::GetGValue(c) >> 1, cb::gfx::GetBValue(c) >> 1);
}

void DrawBitmapTransparent(cb::gfx::TCanvas& canvas, const cb::gfx::TBitmap& bitmap, TColor background,
                           const TRect& rect) {
    if (bitmap.Empty()) return;
    TColor key = cb::gfx::FromQColor(QColor(bitmap.Image().pixel(0, 0)));
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Brush().SetColor(background);
    canvas.FillRect(cb::gfx::Bounds(rect.Left, rect.Top, bitmap.Width(), bitmap.Height()));
    canvas.DrawTransparent(rect.Left, rect.Top, bitmap, key);
}

void DrawPieProgress(cb::gfx::TCanvas& canvas, const TRect& r, TColor fill, int percent) {
    const double pi = 3.14159265358979323846;
    int cx = r.Left + r.Width() / 2;
    int cy = r.Top + r.Height() / 2;
    double a = std::clamp(percent, 0, 100) / 100.0 * 2 * pi;
    int ex = cx + int(std::lround((r.Width() + 1) / 2.0 * std::sin(a)));
    int ey = cy - int(std::lround((r.Height() + 1) / 2.0 * std::cos(a)));
    canvas.Pen().SetColor(cb::gfx::clGray);
    canvas.Pen().SetWidth(1);
    if (percent > 0) {
        canvas.Brush().SetStyle(cb::gfx::bsSolid);
        canvas.Brush().SetColor(fill);
        if (percent >= 100)
            canvas.Ellipse(r);
        else
            canvas.Pie(r.Left, r.Top, r.Right, r.Bottom, ex, ey, cx, r.Top);
    }
    canvas.Brush().SetStyle(cb::gfx::bsClear);
    canvas.Ellipse(r);
    canvas.MoveTo(cx, r.Top);
    canvas.LineTo(cx, cy);
    canvas.LineTo(ex, ey);
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
}

void DrawErrorUnderline(cb::gfx::TCanvas& canvas, std::string_view text, int length, int start, int offset,
                        const TRect& rect) {
    if (length <= 0 || text.empty()) return;
    auto xOf = [&](int index) {
        if (index >= int(text.size())) return canvas.TextWidth(text.substr(0, text.size() - 1)) + 4;
        return canvas.TextWidth(text.substr(0, size_t(std::max(index, 0))));
    };
    int sx = xOf(start);
    int ex = xOf(start + length - 1);
    int baseY = rect.Top + canvas.TextHeight("X") + offset;
    canvas.Pen().SetColor(cb::gfx::clRed);
    canvas.Pen().SetWidth(2);
    int x = rect.Left + sx;
    bool up = false;
    canvas.MoveTo(x, baseY + 3);
    while (x < rect.Left + ex) {
        x += 3;
        up = !up;
        canvas.LineTo(x, up ? baseY : baseY + 3);
    }
    canvas.LineTo(x + 3, up ? baseY + 3 : baseY);
    canvas.Pen().SetWidth(1);
}

}  // namespace cb::grid
