#include "chart/canvas/Canvas3D.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

#include <QImage>
#include <vector>

#include <algorithm>

namespace cb::chart {

void TCanvas3D::AssignSettings(TCanvas3D& other) {
    SetMonochromeMode(other.IsMonochrome());
}

void TCanvas3D::DisableRotation() {
    if (FRotationLock == 0) Suspend3D();
    ++FRotationLock;
}

void TCanvas3D::EnableRotation() {
    if (FRotationLock <= 0) return;
    --FRotationLock;
    if (FRotationLock == 0) Resume3D();
}

TRect TCanvas3D::ProjectRect(const TRect& r, int z) {
    const TPoint a = ProjectToPoint(r.Left, r.Top, z);
    const TPoint b = ProjectToPoint(r.Right, r.Bottom, z);
    return {a.X, a.Y, b.X, b.Y};
}

void TCanvas3D::ProjectRectCorners(const TRect& r, int z, TPoint out[4]) {
    out[0] = ProjectToPoint(r.Left, r.Top, z);
    out[1] = ProjectToPoint(r.Right, r.Top, z);
    out[2] = ProjectToPoint(r.Right, r.Bottom, z);
    out[3] = ProjectToPoint(r.Left, r.Bottom, z);
}

TRect TCanvas3D::ProjectedBounds(const TRect& r, int z) {
    TPoint p[4];
    ProjectRectCorners(r, z, p);
    TRect b{p[0].X, p[0].Y, p[0].X, p[0].Y};
    for (const TPoint& q : p) {
        b.Left = std::min(b.Left, q.X);
        b.Top = std::min(b.Top, q.Y);
        b.Right = std::max(b.Right, q.X);
        b.Bottom = std::max(b.Bottom, q.Y);
    }
    ++b.Right;
    ++b.Bottom;
    return b;
}

void TCanvas3D::DrawPictureAtDepth(const TRect& r, const cb::gfx::TGraphic* picture, int z) {
    if (!picture || picture->Empty()) return;
    Pen().SetStyle(cb::gfx::psClear);
    cb::gfx::TBitmap temp;
    const cb::gfx::TBitmap* bmp = dynamic_cast<const cb::gfx::TBitmap*>(picture);
    if (!bmp) {
        temp.SetSize(picture->Width(), picture->Height());
        picture->Draw(temp.Canvas(), {0, 0, picture->Width(), picture->Height()});
        bmp = &temp;
    }
    const QImage& image = bmp->Image();
    const int w = bmp->Width();
    const int h = bmp->Height();
    const double hStep = double(r.Width()) / w;
    const double vStep = double(r.Height()) / h;
    // Copy the pixels first: drawing may share the bitmap's painter.
    std::vector<TColor> pixels(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            pixels[std::size_t(y) * w + x] = RGBColor(qRed(c), qGreen(c), qBlue(c));
        }
    const cb::gfx::TBrushStyle oldStyle = Brush().Style();
    Brush().SetStyle(cb::gfx::bsSolid);
    int y0 = r.Top;
    for (int row = 0; row < h; ++row) {
        const int y1 = Round((row + 1) * vStep) + r.Top;
        TPoint leftTop = ProjectToPoint(r.Left, y0, z);
        TPoint leftBottom = ProjectToPoint(r.Left, y1, z);
        for (int k = 0; k < w; ++k) {
            const int x1 = Round((k + 1) * hStep) + r.Left;
            const TPoint rightTop = ProjectToPoint(x1, y0, z);
            const TPoint rightBottom = ProjectToPoint(x1, y1, z);
            Brush().SetColor(pixels[std::size_t(row) * w + k]);
            const TPoint quad[4] = {leftTop, rightTop, rightBottom, leftBottom};
            DrawPolygon(quad);
            leftTop = rightTop;
            leftBottom = rightBottom;
        }
        y0 = y1;
    }
    Brush().SetStyle(oldStyle);
}

}  // namespace cb::chart
