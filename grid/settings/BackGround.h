#pragma once
// The picture behind the cells.
#include "grid/util/GridTypes.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Property.h"

namespace cb::grid {

using cb::rtl::TChangeEvent;

enum TBackGroundDisplay {
    bdTile,
    bdFixed
};
enum TBackGroundCells {
    bcNormal,
    bcFixed,
    bcAll
};

class TBackGround {
public:
    TChangeEvent OnChange;
    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay v);
    const cb::gfx::TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const cb::gfx::TBitmap& b);
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells v);
    // Copies the values (not the callback) and announces the change.
    void Assign(const TBackGround& source);

private:
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    cb::gfx::TBitmap FBitmap;
    TBackGroundCells FCells = bcNormal;
};

}  // namespace cb::grid
