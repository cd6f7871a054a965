#include "extras/KitUtils.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

namespace cb::extras {

using namespace cb::gfx;

void CutGlyphTile(const TGraphic& source, TBitmap& dest, int columns, int rows, int tile) {
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    tile = std::max(tile, 0);
    const int w = source.Width() / columns;
    const int h = source.Height() / rows;
    const int left = (tile % columns) * w;
    const int top = (tile / columns) * h;
    dest.SetSize(w, h);
    if (const auto* bmp = dynamic_cast<const TBitmap*>(&source)) {
        if (w > 0 && h > 0) {
            QImage part = bmp->Image().copy(left, top, w, h);
            dest.SetImage(part);
        }
        // The sheet's colour (in auto mode its own bottom-left pixel), fixed
        // for the tile.
        dest.SetTransparentColor(bmp->TransparentColor());
    } else if (w > 0 && h > 0) {
        TCanvas& c = dest.Canvas();
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(0xC0C0C0);
        c.FillRect({0, 0, w, h});
        c.StretchDraw({-left, -top, -left + source.Width(), -top + source.Height()}, source);
        c.ReleasePainter();
    }
    dest.SetTransparent(source.Transparent());
}

void StretchTransparentBitmap(TCanvas& canvas, int destLeft, int destTop, int destWidth, int destHeight,
                              const TBitmap& bitmap, int srcLeft, int srcTop, int srcWidth, int srcHeight,
                              TColor transparent) {
    if (bitmap.Empty()) return;
    if (destWidth < 1) destWidth = bitmap.Width();
    if (destHeight < 1) destHeight = bitmap.Height();
    if (srcWidth < 1 || srcHeight < 1) {
        srcLeft = 0;
        srcTop = 0;
        srcWidth = bitmap.Width();
        srcHeight = bitmap.Height();
    }
    const TRect dest{destLeft, destTop, destLeft + destWidth, destTop + destHeight};
    const TRect src{srcLeft, srcTop, srcLeft + srcWidth, srcTop + srcHeight};
    const QImage& image = bitmap.Image();
    if (transparent == clNone) {
        canvas.DrawImage(dest, image, src);
        return;
    }
    if (transparent == clDefault) {
        const QRgb p = image.pixel(0, image.height() - 1);
        transparent = RGB(qRed(p), qGreen(p), qBlue(p));
    }
    const QRgb mask = qRgb(GetRValue(ColorToRGB(transparent)), GetGValue(ColorToRGB(transparent)),
                           GetBValue(ColorToRGB(transparent)));
    // The source part with the mask colour made see-through; scaled by
    // whole pixels, as colour-on-colour stretching does.
    QImage part = image.copy(srcLeft, srcTop, srcWidth, srcHeight).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < part.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if ((row[x] & 0xFFFFFF) == (mask & 0xFFFFFF)) row[x] = 0;
    }
    if (part.width() != destWidth || part.height() != destHeight)
        part = part.scaled(destWidth, destHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    canvas.DrawImage(dest, part, {0, 0, part.width(), part.height()});
}

void StretchTransparentRect(TCanvas& canvas, int destLeft, int destTop, int destWidth, int destHeight,
                            const TRect& source, const TBitmap& bitmap, TColor transparent) {
    StretchTransparentBitmap(canvas, destLeft, destTop, destWidth, destHeight, bitmap, source.Left, source.Top,
                             source.Width(), source.Height(), transparent);
}

void PaintParentBackground(QWidget* control, TCanvas& canvas) {
    if (!control || !control->parentWidget()) return;
    QPainter* p = canvas.Painter();
    if (!p) return;
    QWidget* parent = control->parentWidget();
    const QRect area = control->geometry();
    p->save();
    p->setClipRect(QRect(QPoint(0, 0), area.size()), Qt::IntersectClip);
    // The source region's top-left lands at the target offset.
    parent->render(p, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    // Siblings below the control in z-order that overlap it.
    for (QObject* o : parent->children()) {
        if (o == control) break;
        auto* sibling = qobject_cast<QWidget*>(o);
        if (!sibling || !sibling->isVisible() || sibling->isWindow() || !sibling->geometry().intersects(area)) continue;
        sibling->render(p, sibling->pos() - area.topLeft(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    p->restore();
}

TColor PaletteRGB(TColor color) {
    return (ColorToRGB(color) & 0x00FFFFFF) | 0x02000000;
}

}  // namespace cb::extras
