#include "grid/paint/GridImageList.h"

namespace cb::grid {

void TGridImageList::Add(const QImage& image) {
    QImage img = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (img.width() != FWidth || img.height() != FHeight)
        img = img.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    FImages.push_back(std::move(img));
}

void TGridImageList::Draw(TCanvas& canvas, const TRect& r, int index) const {
    if (index < 0 || index >= Count()) return;
    canvas.DrawImage(cb::gfx::Bounds(r.Left, r.Top, FWidth, FHeight), FImages[size_t(index)],
                     cb::gfx::Bounds(0, 0, FWidth, FHeight));
}

}  // namespace cb::grid
