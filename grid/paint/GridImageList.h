#pragma once
// TGridImageList: images of one size drawn by index, for GridImages and
// "IDX:" pictures of the mark-up.
#include "grid/markup/MarkupRenderer.h"

#include <QImage>

#include <vector>

namespace cb::grid {

class TGridImageList : public THTMLImageList {
public:
    TGridImageList(int width, int height) : FWidth(width), FHeight(height) {}

    // Scaled to the list's size when it differs.
    void Add(const QImage& image);
    const QImage& Image(int index) const { return FImages.at(size_t(index)); }

    int Count() const override { return int(FImages.size()); }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // At the rectangle's top-left; an index outside the list draws nothing.
    void Draw(TCanvas& canvas, const TRect& r, int index) const override;

private:
    int FWidth;
    int FHeight;
    std::vector<QImage> FImages;
};

}  // namespace cb::grid
