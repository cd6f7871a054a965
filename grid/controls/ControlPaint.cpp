#include "grid/controls/ControlPaint.h"

#include "grid/paint/DrawUtils.h"
#include "grid/paint/FrameControls.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>

namespace cb::grid {

using namespace cb::gfx;

TControlButton::TControlButton(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

void TControlButton::enterEvent(QEnterEvent*) {
    FMouseInside = true;
    update();
}

void TControlButton::leaveEvent(QEvent*) {
    FMouseInside = false;
    update();
}

TThemePartState ButtonThemeState(bool down, bool mouseInside, bool enabled) {
    if (!enabled) return TThemePartState::Disabled;
    if (down) return TThemePartState::Pressed;
    return mouseInside ? TThemePartState::Hot : TThemePartState::Normal;
}

TRect DrawButtonFace(TCanvas& canvas, TRect r, TButtonLook look, TThemePart part, bool down, bool mouseInside,
                     bool enabled) {
    switch (look) {
    case TButtonLook::XP: {
        const char* cls = part == TThemePart::PushButton                               ? "BUTTON"
                          : part == TThemePart::ComboButton                            ? "COMBOBOX"
                          : part == TThemePart::SpinUp || part == TThemePart::SpinDown ? "SPIN"
                                                                                       : "SCROLLBAR";
        auto theme = OpenThemeData(cls);
        DrawThemeBackground(theme.get(), canvas, part, ButtonThemeState(down, mouseInside, enabled), r);
        return r;
    }
    case TButtonLook::Flat:
        canvas.Brush().SetColor(clBtnFace);
        canvas.DrawEdge(r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r.Left += 1;
        r.Top += 1;
        r.Right -= 1;
        r.Bottom -= 1;
        return r;
    case TButtonLook::Push:
        break;
    }
    DrawFrameButton(canvas, r, down, false);
    return TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
}

void DrawArrowGlyph(TCanvas& canvas, const TRect& r, int direction, bool enabled) {
    // direction: 0 left, 1 right, 2 up, 3 down
    int w = r.Right - r.Left, h = r.Bottom - r.Top;
    int size = std::max(2, std::min(w, h) / 3);
    int cx = r.Left + w / 2, cy = r.Top + h / 2;
    TPoint pts[3];
    switch (direction) {
    case 0:
        pts[0] = {cx - size / 2, cy};
        pts[1] = {cx + size / 2, cy - size};
        pts[2] = {cx + size / 2, cy + size};
        break;
    case 1:
        pts[0] = {cx + size / 2, cy};
        pts[1] = {cx - size / 2, cy - size};
        pts[2] = {cx - size / 2, cy + size};
        break;
    case 2:
        pts[0] = {cx, cy - size / 2 - 1};
        pts[1] = {cx - size, cy + size / 2};
        pts[2] = {cx + size, cy + size / 2};
        break;
    default:
        pts[0] = {cx, cy + size / 2 + 1};
        pts[1] = {cx - size, cy - size / 2};
        pts[2] = {cx + size, cy - size / 2};
        break;
    }
    TColor c = enabled ? clBtnText : clGrayText;
    canvas.Pen().SetColor(c);
    canvas.Brush().SetColor(c);
    canvas.Polygon(pts, 3);
}

void DrawCentredGlyph(TCanvas& canvas, const TBitmap& glyph, const TRect& r, bool down) {
    if (glyph.Empty()) return;
    int gw = glyph.Width(), gh = glyph.Height();
    int x = r.Left + (gw < r.Right - r.Left ? (r.Right - r.Left - gw) / 2 : 0);
    int y = r.Top + (gh < r.Bottom - r.Top ? (r.Bottom - r.Top - gh) / 2 : 0);
    if (down) {
        ++x;
        ++y;
    }
    DrawBitmapTransparent(canvas, glyph, glyph.TransparentColor(), Bounds(x, y, gw, gh));
}

}  // namespace cb::grid
