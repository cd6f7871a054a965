#include "grid/CellGraphic.h"

#include "grid/paint/FilePicture.h"

#include "platform/gfx/Bitmap.h"

#include <cmath>

namespace cb::grid {

TCellGraphic::TCellGraphic() = default;

TCellGraphic::TCellGraphic(bool shared) : FShared(shared) {}

TCellGraphic::~TCellGraphic() = default;

void TCellGraphic::FreeObjects() {
    FBitmap.reset();
    FIcon.reset();
    FPicture.reset();
    FFilePicture.reset();
}

void TCellGraphic::Assign(const TCellGraphic& s) {
    TCellGraphicSettings::operator=(s);
}

void TCellGraphic::SetImageListIndex(int index, TCellHAlign hAlign, TCellVAlign vAlign) {
    CellType = ctImageList;
    CellIndex = index;
    CellHAlign = hAlign;
    CellVAlign = vAlign;
}

void TCellGraphic::TakeBitmap(std::unique_ptr<cb::gfx::TBitmap> bitmap) {
    FreeObjects();
    FBitmap = std::move(bitmap);
    CellCreated = true;
}

void TCellGraphic::TakeIcon(std::unique_ptr<cb::gfx::TBitmap> icon) {
    FreeObjects();
    FIcon = std::move(icon);
    CellCreated = true;
}

void TCellGraphic::TakePicture(std::unique_ptr<cb::gfx::TGraphic> picture) {
    FreeObjects();
    FPicture = std::move(picture);
    CellCreated = true;
}

void TCellGraphic::TakeFilePicture(std::unique_ptr<TFilePicture> picture) {
    FreeObjects();
    FFilePicture = std::move(picture);
    CellCreated = true;
}

cb::gfx::TSize TCellGraphic::GetPictureSize(int availWidth, int availHeight) const {
    int pw = 0;
    int ph = 0;
    if (CellType == ctPicture && FPicture) {
        pw = FPicture->Width();
        ph = FPicture->Height();
    } else if (CellType == ctFilePicture && FFilePicture) {
        pw = FFilePicture->Width();
        ph = FFilePicture->Height();
    } else {
        return {0, 0};
    }
    const int aw = availWidth - CellIndex;
    const int ah = availHeight - CellIndex;
    const bool larger = pw > aw || ph > ah;
    // Keeps the aspect; cap stops it from growing the picture.
    auto aspect = [&](bool cap) -> cb::gfx::TSize {
        double fw = pw > 0 ? double(aw) / pw : 1;
        double fh = ph > 0 ? double(ah) / ph : 1;
        if (cap) {
            fw = std::min(fw, 1.0);
            fh = std::min(fh, 1.0);
        }
        if (fw >= fh) return {int(std::lround(pw * fh)), ah};
        return {aw, int(std::lround(ph * fw))};
    };
    switch (CellAngle & 0xFF) {
    case 1:
        return {aw, ah};
    case 2:
        return aspect(false);
    case 3:
        return larger ? cb::gfx::TSize{aw, ah} : cb::gfx::TSize{pw, ph};
    case 4:
        return larger ? aspect(true) : cb::gfx::TSize{pw, ph};
    default:
        return {pw, ph};
    }
}

}  // namespace cb::grid
