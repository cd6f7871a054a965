#pragma once
// The graphic a cell may hold besides its text: a bitmap, icon or image of
// the grid's image list, a check box, a radio group, rotated text, a tree
// node, a set of images, a picture, a value bar, a comment marker or a
// button. The cell's property object holds it and frees it with itself,
// unless the graphic is shared by several cells (a virtual check box).
#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cb::gfx {
class TBitmap;
class TGraphic;
}  // namespace cb::gfx

namespace cb::grid {

class TFilePicture;

enum TCellType : std::uint8_t {
    ctBitmap,
    ctIcon,
    ctNone,
    ctImageList,
    ctCheckBox,
    ctDataCheckBox,
    ctRotated,
    ctDataImage,
    ctNode,
    ctRadio,
    ctEmpty,
    ctImages,
    ctPicture,
    ctFilePicture,
    ctValue,
    ctProgress,
    ctComment,
    ctButton,
    ctBitButton,
    ctVirtCheckBox,
    ctProgressPie
};

enum TCellVAlign : std::uint8_t {
    vaTop,
    vaBottom,
    vaCenter,
    vaUnderText,
    vaAboveText,
    vaFull
};

enum TCellHAlign : std::uint8_t {
    haLeft,
    haRight,
    haCenter,
    haBeforeText,
    haAfterText,
    haFull
};

// The plain settings of a cell graphic, copied whole by Assign; the
// objects and items stay with the graphic that made them.
struct TCellGraphicSettings {
    TCellType CellType = ctNone;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    // Image index, selected radio item (-1: the cell text names it), node
    // span, picture margin, or packed button size (width low, height high
    // 16 bits); the first text colour of a progress bar.
    int CellIndex = 0;
    bool CellTransparent = false;
    // Check state, node contracted, items side by side, button pressed,
    // progress bar text colours in use.
    bool CellBoolean = false;
    // Rotation in degrees; picture stretch mode (low byte); the second text
    // colour of a progress bar; the percentage of a progress pie.
    int CellAngle = 0;
    // Value of the value kinds; packed button offset (x low, y high).
    double CellValue = 0;
    std::int16_t CellErrFrom = 0;
    std::int16_t CellErrLen = 0;
    // Comment text; caption of a button.
    std::string CellText;
    // Bar (pie) and rest colours of the progress kinds.
    cb::gfx::TColor CellColor = cb::gfx::clNavy;
    cb::gfx::TColor CellColorTo = cb::gfx::clWhite;
    bool operator==(const TCellGraphicSettings&) const = default;
};

class TCellGraphic : public TCellGraphicSettings {
public:
    TCellGraphic();
    // A graphic several cells show; the cells never free it, its maker does
    // once no cell refers to it any more.
    explicit TCellGraphic(bool shared);
    TCellGraphic(const TCellGraphic&) = delete;
    TCellGraphic& operator=(const TCellGraphic&) = delete;
    virtual ~TCellGraphic();

    bool Shared() const { return FShared; }

    const TCellGraphicSettings& Settings() const { return *this; }
    // Copies the plain settings (not the objects).
    void Assign(const TCellGraphic& source);

    // An image of the grid's image list with its placement.
    void SetImageListIndex(int index, TCellHAlign hAlign, TCellVAlign vAlign);
    // The graphic owns the object given here, in place of any it had.
    void TakeBitmap(std::unique_ptr<cb::gfx::TBitmap> bitmap);
    void TakeIcon(std::unique_ptr<cb::gfx::TBitmap> icon);
    void TakePicture(std::unique_ptr<cb::gfx::TGraphic> picture);
    void TakeFilePicture(std::unique_ptr<TFilePicture> picture);

    // Size of a ctPicture or ctFilePicture fitted into an area by the
    // stretch mode in the low byte of CellAngle, less CellIndex of margin.
    cb::gfx::TSize GetPictureSize(int availWidth, int availHeight) const;

    // The grid made the graphic's objects and items (set by the Take
    // functions; a stream of cells keeps only such graphics).
    bool CellCreated = false;

    // Objects by kind (null when not given): the bitmap of ctBitmap and the
    // glyph of ctBitButton, the icon of ctIcon, the picture of ctPicture and
    // the file picture of ctFilePicture.
    cb::gfx::TBitmap* Bitmap() const { return FBitmap.get(); }
    cb::gfx::TBitmap* Icon() const { return FIcon.get(); }
    cb::gfx::TGraphic* Picture() const { return FPicture.get(); }
    TFilePicture* FilePicture() const { return FFilePicture.get(); }
    // The item captions of ctRadio and the image indexes of ctImages.
    std::vector<std::string> RadioItems;
    std::vector<int> ImageIndexes;

private:
    void FreeObjects();
    bool FShared = false;
    std::unique_ptr<cb::gfx::TBitmap> FBitmap;
    std::unique_ptr<cb::gfx::TBitmap> FIcon;
    std::unique_ptr<cb::gfx::TGraphic> FPicture;
    std::unique_ptr<TFilePicture> FFilePicture;
};

// Frees a graphic unless it is shared.
struct TCellGraphicRelease {
    void operator()(TCellGraphic* graphic) const {
        if (graphic && !graphic->Shared()) delete graphic;
    }
};
using TCellGraphicPtr = std::unique_ptr<TCellGraphic, TCellGraphicRelease>;

}  // namespace cb::grid
