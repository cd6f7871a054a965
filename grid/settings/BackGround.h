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
    // Every setting Assign copies; the bitmap is copied beside.
    struct TSettings {
        int Top = 0;
        int Left = 0;
        TBackGroundDisplay Display = bdTile;
        TBackGroundCells Cells = bcNormal;
        bool operator==(const TSettings&) const = default;
    };

    TChangeEvent OnChange;
    int Top() const { return FSettings.Top; }
    void SetTop(int v);
    int Left() const { return FSettings.Left; }
    void SetLeft(int v);
    TBackGroundDisplay Display() const { return FSettings.Display; }
    void SetDisplay(TBackGroundDisplay v);
    const cb::gfx::TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const cb::gfx::TBitmap& b);
    TBackGroundCells Cells() const { return FSettings.Cells; }
    void SetCells(TBackGroundCells v);
    const TSettings& Settings() const { return FSettings; }
    // Copies the values (not the callback) and announces the change.
    void Assign(const TBackGround& source);

private:
    TSettings FSettings;
    cb::gfx::TBitmap FBitmap;
};

}  // namespace cb::grid
