#include "grid/paint/FrameControls.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QImage>
#include <QPainter>

#include <map>
#include <memory>
#include <string>

namespace cb::grid {

using namespace cb::gfx;

namespace {

// The 7 by 7 tick of a check box.
constexpr const char* kTick[7] = {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."};

void TickOnCanvas(TCanvas& canvas, int x, int y, TColor colour) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(colour);
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (kTick[row][col] == 'X') canvas.FillRect({x + col, y + row, x + col + 1, y + row + 1});
}

void TickOnImage(QPainter& p, int x, int y, QColor colour) {
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (kTick[row][col] == 'X') p.fillRect(x + col, y + row, 1, 1, colour);
}

const QColor kKey(255, 0, 255);

struct TGlyphLook {
    QColor Border, FillTop, FillBottom, Mark;
};

// The two families: the extended look and the one of the XP style.
TGlyphLook LookOf(bool xp, bool enabled) {
    if (!enabled)
        return {QColor(0xB0, 0xB0, 0xB0), QColor(0xF0, 0xF0, 0xF0), QColor(0xF0, 0xF0, 0xF0), QColor(0xA0, 0xA0, 0xA0)};
    if (xp)
        return {QColor(0x1C, 0x51, 0x80), QColor(0xDC, 0xDC, 0xD7), QColor(0xFF, 0xFF, 0xFF), QColor(0x21, 0xA1, 0x21)};
    return {QColor(0x00, 0x00, 0x80), QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xFF, 0xFF), QColor(0x00, 0x00, 0x80)};
}

// A square image on the key colour.
QImage Keyed(int size) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(kKey);
    return img;
}

QLinearGradient FillOf(const TGlyphLook& look, int top, int bottom) {
    QLinearGradient fill(0, top, 0, bottom);
    fill.setColorAt(0, look.FillTop);
    fill.setColorAt(1, look.FillBottom);
    return fill;
}

QImage CheckGlyph(bool xp, bool checked, bool enabled) {
    QImage img = Keyed(15);
    QPainter p(&img);
    const TGlyphLook look = LookOf(xp, enabled);
    const QLinearGradient fill = FillOf(look, 2, 13);
    p.fillRect(2, 2, 11, 11, fill);
    p.setPen(look.Border);
    p.drawRect(1, 1, 12, 12);
    if (checked) TickOnImage(p, 4, 4, look.Mark);
    return img;
}

QImage RadioGlyph(bool xp, bool checked, bool enabled) {
    QImage img = Keyed(16);
    QPainter p(&img);
    const TGlyphLook look = LookOf(xp, enabled);
    p.setPen(look.Border);
    p.setBrush(FillOf(look, 2, 14));
    p.drawEllipse(2, 2, 11, 11);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(look.Mark);
        p.drawEllipse(5, 5, 6, 6);
    }
    return img;
}

// A leaf node: a box with a plus (contracted) or a minus (expanded).
QImage LeafGlyph(bool contracted) {
    QImage img = Keyed(16);
    QPainter p(&img);
    p.fillRect(3, 3, 9, 9, contracted ? QColor(0xFF, 0xF4, 0xC0) : QColor(0xE0, 0xEC, 0xFF));
    p.setPen(QColor(0x40, 0x40, 0x80));
    p.drawRect(3, 3, 9, 9);
    p.drawLine(5, 8, 10, 8);
    if (contracted) p.drawLine(8, 5, 8, 10);
    return img;
}

std::unique_ptr<TBitmap> MakeGlyph(std::string_view name) {
    QImage img;
    auto numbered = [&](std::string_view prefix, int& n) {
        if (name.size() != prefix.size() + 2 || name.substr(0, prefix.size()) != prefix) return false;
        const char a = name[prefix.size()];
        const char b = name[prefix.size() + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9') return false;
        n = (a - '0') * 10 + (b - '0');
        return n >= 1 && n <= 8;
    };
    // 1 to 4: the extended look; 5 to 8: the XP look; checked, unchecked,
    // then both disabled.
    int n = 0;
    if (numbered("GRIDCHK", n))
        img = CheckGlyph(n > 4, (n - 1) % 2 == 0, (n - 1) % 4 < 2);
    else if (numbered("GRIDRAD", n))
        img = RadioGlyph(n > 4, (n - 1) % 2 == 0, (n - 1) % 4 < 2);
    else if (name == "GRIDLEAFOPEN")
        img = LeafGlyph(false);
    else if (name == "GRIDLEAFCLOSE")
        img = LeafGlyph(true);
    auto bitmap = std::make_unique<TBitmap>();
    if (!img.isNull()) bitmap->SetImage(img);
    return bitmap;
}

}  // namespace

void DrawFrameCheck(TCanvas& canvas, const TRect& r, bool checked, bool flat, bool enabled) {
    TRect box = r;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(enabled ? clWindow : clBtnFace);
    canvas.FillRect(box);
    if (flat) {
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(box);
    } else {
        canvas.DrawEdge(box, EDGE_SUNKEN, BF_RECT);
    }
    if (checked)
        TickOnCanvas(canvas, r.Left + (r.Width() - 7) / 2, r.Top + (r.Height() - 7) / 2,
                     enabled ? clWindowText : clGrayText);
}

void DrawFrameRadio(TCanvas& canvas, const TRect& r, bool checked, bool flat, bool enabled) {
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(enabled ? clWindow : clBtnFace);
    canvas.Pen().SetColor(flat ? clBtnShadow : clGray);
    canvas.Ellipse(r);
    if (!flat) {
        // Sunken: dark upper left, lit lower right, an inner ring likewise.
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.Arc(r.Left, r.Top, r.Right, r.Bottom, r.Left, r.Bottom, r.Right, r.Top);
        const TRect in{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        canvas.Pen().SetColor(cl3DDkShadow);
        canvas.Arc(in.Left, in.Top, in.Right, in.Bottom, in.Right, in.Top, in.Left, in.Bottom);
        canvas.Pen().SetColor(clBtnFace);
        canvas.Arc(in.Left, in.Top, in.Right, in.Bottom, in.Left, in.Bottom, in.Right, in.Top);
    }
    if (checked) {
        const int d = std::max(r.Width() * 2 / 5, 2);
        const int x = r.Left + (r.Width() - d) / 2;
        const int y = r.Top + (r.Height() - d) / 2;
        canvas.Brush().SetColor(enabled ? clWindowText : clGrayText);
        canvas.Pen().SetColor(enabled ? clWindowText : clGrayText);
        canvas.Ellipse(x, y, x + d, y + d);
    }
}

void DrawFrameButton(TCanvas& canvas, const TRect& r, bool pushed, bool flat) {
    TRect face = r;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(face);
    if (flat)
        canvas.DrawEdge(face, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    else
        canvas.DrawEdge(face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

const TBitmap& GridGlyph(std::string_view name) {
    static std::map<std::string, std::unique_ptr<TBitmap>, std::less<>> glyphs;
    auto it = glyphs.find(name);
    if (it == glyphs.end()) it = glyphs.emplace(std::string(name), MakeGlyph(name)).first;
    return *it->second;
}

}  // namespace cb::grid
